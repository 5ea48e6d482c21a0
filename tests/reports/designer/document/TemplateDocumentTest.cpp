// Tests of the template document: transfer to bytes, undo of every edit, ids and sharing.
#include "reports/designer/document/TemplateDocument.h"

#include "reports/model/PageSettings.h"
#include "reports/model/ReportModel.h"
#include "reports/model/TemplateFile.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace reports;
using namespace reports::designer;

namespace {

QStringList goldenLines()
{
    QFile file(QStringLiteral(GENKLAS_GOLDEN_DIR "/reports/every_element.pts"));
    return file.open(QIODevice::ReadOnly) ? TemplateLinesFromBytes(file.readAll()) : QStringList();
}

// The golden template with its groups numbered from 1, as some offices' files are.
QStringList numberedFromOne()
{
    QStringList lines = goldenLines();
    lines.replaceInStrings(QStringLiteral("I,4,0,0,"), QStringLiteral("I,4,1,0,"));
    lines.replaceInStrings(QStringLiteral("I,4,1,2,"), QStringLiteral("I,4,2,2,"));
    return lines;
}

class DocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetPageSettings();
        report.SetColumns({QStringLiteral("ODD"), QStringLiteral("DIL"), QStringLiteral("POR"), QStringLiteral("PLOCHA")});
        doc.Load(goldenLines());
    }
    void TearDown() override { resetPageSettings(); }

    ElementId at(int band, int position) const { return doc.State().Band(band)[std::size_t(position)].Id; }
    const TVoReportElement& element(ElementId id) const { return *doc.State().Element(id); }
    void select(std::initializer_list<ElementId> ids)
    {
        doc.DeselectAll();
        for (const ElementId id : ids)
            doc.AddToSelection(id);
    }

    ReportModel report;
    TemplateDocument doc{report};
};

} // namespace

TEST_F(DocumentTest, WritesTheTemplateByteForByteAsTheReportDoes)
{
    const QStringList golden = goldenLines();
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(TemplateBytes(doc.Write()), TemplateBytes(golden));
    report.SetPredloha(golden);
    EXPECT_EQ(doc.Write(), report.WriteTemplate());
    // the unknown line and the detail lines stay where the report keeps them
    EXPECT_EQ(doc.Write().last(), QStringLiteral("X,neznámý řádek"));
    EXPECT_EQ(doc.State().BandCount(), 9);
    EXPECT_EQ(element(at(biBody, 2)).RefName, QStringLiteral("Soucet"));

    const QStringList fromOne = numberedFromOne();
    doc.Load(fromOne);
    EXPECT_EQ(doc.Write(), fromOne);
}

TEST_F(DocumentTest, GroupBandsFollowThePositionNotTheNumber)
{
    doc.Load(numberedFromOne());
    // the first group (number 1) owns bands 5 and 6; its S0 elements are there
    EXPECT_EQ(doc.State().Band(groupStartBand(0)).size(), 2u);
    ASSERT_TRUE(doc.SetBandHeight(groupStartBand(0), 44));
    EXPECT_TRUE(doc.Write().contains(QStringLiteral("I,4,1,0,1,44,1,30,1")));
    ASSERT_TRUE(doc.SetBandHeight(groupEndBand(1), 12));
    EXPECT_TRUE(doc.Write().contains(QStringLiteral("I,4,2,2,1,20,0,12,0")));
}

namespace {

struct UndoCase
{
    const char* name;
    std::function<bool(TemplateDocument&, const std::function<ElementId(int, int)>&)> edit;
};

class UndoToBytes : public DocumentTest, public ::testing::WithParamInterface<UndoCase>
{
};

using At = std::function<ElementId(int, int)>;

FunctionSettings newFunction()
{
    FunctionSettings f;
    f.Name = QStringLiteral("Pocet");
    f.Popis = QStringLiteral("Počet řádků");
    f.Zpracovani = TRadekFunkce::Count;
    return f;
}

const UndoCase undoCases[] = {
    {"InsertText", [](TemplateDocument& d, const At& at) -> bool { return d.InsertFromTool(biBody, 10, 5, tcText, {}) != NoElement; }},
    {"InsertColumn", [](TemplateDocument& d, const At& at) -> bool { return d.InsertFromTool(biBody, 10, 5, tcColumn + 1, {}, {40, 129}) != NoElement; }},
    {"InsertLines", [](TemplateDocument& d, const At& at) -> bool { return d.InsertFromTool(biReportEnd, 0, 0, tcLines, {}) != NoElement; }},
    {"InsertFunctionByName", [](TemplateDocument& d, const At& at) -> bool {
         InsertDefaults byName;
         byName.FollowByName = true;
         return d.InsertFromTool(groupEndBand(1), 3, 3, tcFunction + 1, byName) != NoElement; }},
    {"InsertDetail", [](TemplateDocument& d, const At& at) -> bool { return d.InsertFromTool(biReportStart, 50, 5, tcDetail, {}) != NoElement; }},
    {"DeleteActive", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biBody, 1)); return d.DeleteSelection(); }},
    {"DeleteSelected", [](TemplateDocument& d, const At& at) -> bool {
         d.AddToSelection(at(biBody, 0));
         d.AddToSelection(at(biPageHead, 2));
         return d.DeleteSelection(); }},
    {"TypedLeft", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biBody, 0)); return d.SetGeometry(GeometryField::Left, 70); }},
    {"TypedHeight", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biBody, 0)); return d.SetGeometry(GeometryField::Height, 5); }},
    {"KeyboardMove", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biBody, 1)); return d.MoveByKeyboard(8.333333, 0); }},
    {"KeyboardResize", [](TemplateDocument& d, const At& at) -> bool {
         d.AddToSelection(at(biBody, 0));
         d.AddToSelection(at(biBody, 1));
         return d.ResizeByKeyboard(1, -1); }},
    {"SnapAll", [](TemplateDocument& d, const At& at) -> bool { return d.SnapToRaster(false); }},
    {"SnapSelected", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biBody, 4)); return d.MoveElements({{at(biBody, 4), 3, 17, 401, 1}}) && d.SnapToRaster(true); }},
    {"LinePenColor", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biBody, 4)); return d.SetProperty(PropertyScope::Line, ElementProperty::PenColor, 9); }},
    {"LinePenStyle", [](TemplateDocument& d, const At& at) -> bool {
         d.SetActive(at(biBody, 4));
         return d.SetProperty(PropertyScope::Line, ElementProperty::PenWidth, 1)
             && d.SetProperty(PropertyScope::Line, ElementProperty::PenStyle, 2); }},
    {"LineDiagonal", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biBody, 4)); return d.SetLines(PropertyScope::Line, 16, true); }},
    {"FrameSides", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biPageHead, 0)); return d.SetLines(PropertyScope::Text, 1, true); }},
    {"ShapeFill", [](TemplateDocument& d, const At& at) -> bool {
         d.SetActive(at(groupEndBand(0), 0));
         return d.SetProperty(PropertyScope::Shape, ElementProperty::FillColor, 3); }},
    {"ShapeFillStyle", [](TemplateDocument& d, const At& at) -> bool {
         d.SetActive(at(groupEndBand(0), 1));
         return d.SetProperty(PropertyScope::Shape, ElementProperty::FillStyle, 5); }},
    {"ShapePenWidth", [](TemplateDocument& d, const At& at) -> bool {
         d.SetActive(at(groupStartBand(1), 0));
         return d.SetProperty(PropertyScope::Shape, ElementProperty::PenWidth, 4); }},
    {"Alignment", [](TemplateDocument& d, const At& at) -> bool {
         d.AddToSelection(at(biPageHead, 1));
         d.AddToSelection(at(biPageHead, 2));
         return d.SetProperty(PropertyScope::Text, ElementProperty::Alignment, 2); }},
    {"TextFlags", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biBody, 0)); return d.SetTextFlags(32, true); }},
    {"Text", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biReportStart, 0)); return d.SetText(QStringLiteral("Nový \"text\", čárka")); }},
    {"Font", [](TemplateDocument& d, const At& at) -> bool {
         d.SetActive(at(biPageHead, 0));
         ReportFont f;
         f.Name = QStringLiteral("Courier New CE");
         f.Size = 11;
         return d.SetFont(f); }},
    {"PictureFile", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(groupEndBand(1), 0)); return d.SetPictureFile(QStringLiteral("les.bmp")); }},
    {"ToFront", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biBody, 0)); return d.Restack(true); }},
    {"ToBack", [](TemplateDocument& d, const At& at) -> bool { d.SetActive(at(biPageHead, 2)); return d.Restack(false); }},
    {"Cut", [](TemplateDocument& d, const At& at) -> bool {
         d.AddToSelection(at(biPageHead, 1));
         d.AddToSelection(at(biPageHead, 2));
         return d.Cut(); }},
    {"Paste", [](TemplateDocument& d, const At& at) -> bool {
         d.SetActive(at(biBody, 2));
         d.Copy();
         return d.Paste(groupStartBand(1), 20, 2).size() == 1; }},
    {"DragMove", [](TemplateDocument& d, const At& at) -> bool { return d.MoveElements({{at(biBody, 1), 120, 2, 60, 18}}); }},
    {"DragLeftEdge", [](TemplateDocument& d, const At& at) -> bool { return d.MoveElements({{at(biBody, 1), 90, 0, 70, 18}}); }},
    {"DragRightEdge", [](TemplateDocument& d, const At& at) -> bool { return d.MoveElements({{at(biBody, 1), 100, 0, 75, 18}}); }},
    {"DragTopEdge", [](TemplateDocument& d, const At& at) -> bool { return d.MoveElements({{at(biBody, 1), 100, 1, 60, 17}}); }},
    {"DragBottomEdge", [](TemplateDocument& d, const At& at) -> bool { return d.MoveElements({{at(biBody, 1), 100, 0, 60, 19}}); }},
    {"DragCorner", [](TemplateDocument& d, const At& at) -> bool { return d.MoveElements({{at(biBody, 1), 100, 0, 66, 22}}); }},
    {"DragThree", [](TemplateDocument& d, const At& at) -> bool {
         return d.MoveElements({{at(biBody, 0), 5, 1, 30, 18}, {at(biBody, 1), 105, 1, 60, 18},
                                {at(biBody, 2), 205, 1, 80, 18}}); }},
    {"BandHeight", [](TemplateDocument& d, const At& at) -> bool { return d.SetBandHeight(biBody, 33); }},
    {"GroupBandHeight", [](TemplateDocument& d, const At& at) -> bool { return d.SetBandHeight(groupEndBand(0), 31); }},
    {"GroupAdd", [](TemplateDocument& d, const At& at) -> bool { return d.AddGroup({2, 3, true, 15, false, 0, false}); }},
    {"GroupRemove", [](TemplateDocument& d, const At& at) -> bool { return d.RemoveGroup(0); }},
    {"FunctionAdd", [](TemplateDocument& d, const At& at) -> bool { return d.AddFunction(newFunction()); }},
    {"FunctionEdit", [](TemplateDocument& d, const At& at) -> bool { return d.EditFunction(0, newFunction()); }},
    {"FunctionDelete", [](TemplateDocument& d, const At& at) -> bool { return d.DeleteLastFunction(); }},
    {"ElementWithFunctions", [](TemplateDocument& d, const At& at) -> bool {
         std::vector<FunctionSettings> functions = d.Functions();
         functions[0].Name = QStringLiteral("Celkem");
         return d.EditElement(at(biBody, 2), chElementSettings, functions, [](TVoReportElement& e) { e.Left = 7; }); }},
    {"DetailLines", [](TemplateDocument& d, const At& at) -> bool {
         return d.ReplaceDetailLines(0, {QStringLiteral("T,1,0,5,0,100,20,Arial,10,0,0,0,0,238,\"nový\",0")}); }},
    {"SettingsApply", [](TemplateDocument& d, const At& at) -> bool {
         SettingsChange c{d.Settings(), {1}};
         c.Settings.Popis = QStringLiteral("Jiný popis");
         c.Settings.Page.Orientation = 1;
         c.Settings.Columns = 2;
         c.Settings.Sections[biReportEnd] = {true, 12};
         c.Settings.PagingFlags[0] = true;
         c.Settings.Raster.CellWidth = 5;
         c.Settings.Groups = {d.Settings().Groups[1]};
         return d.ApplySettings(c); }},
};


} // namespace

TEST_P(UndoToBytes, UndoGivesTheOriginalAndRedoTheEditedBytes)
{
    const QStringList before = doc.Write();
    const std::vector<ElementId> idsBefore = doc.State().Ids();
    const int steps = doc.Variants().Count();
    ASSERT_TRUE(GetParam().edit(doc, [this](int band, int position) { return at(band, position); }));
    const QStringList after = doc.Write();
    const std::vector<ElementId> idsAfter = doc.State().Ids();
    EXPECT_NE(after, before);
    EXPECT_GT(doc.Variants().Count(), steps);
    while (doc.Variants().CurrentIndex() > 0)
        ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.Write(), before);
    EXPECT_EQ(doc.State().Ids(), idsBefore);
    while (doc.Redo()) {
    }
    EXPECT_EQ(doc.Write(), after);
    EXPECT_EQ(doc.State().Ids(), idsAfter);
}

INSTANTIATE_TEST_SUITE_P(Document, UndoToBytes, ::testing::ValuesIn(undoCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentTest, DeletedElementComesBackUnderItsIdAndTakesLaterSteps)
{
    const ElementId id = at(biBody, 2);
    ASSERT_TRUE(doc.DeleteElements({id}));
    EXPECT_FALSE(doc.State().Find(id).isValid());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.State().Find(id), (ElementPlace{biBody, 2}));
    ASSERT_TRUE(doc.MoveElements({{id, 1, 2, 3, 4}}));
    ASSERT_TRUE(doc.Undo());
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(element(id).Left, 1);
    EXPECT_EQ(doc.State().Find(id), (ElementPlace{biBody, 2}));
    // an id once given is never given again
    const ElementId inserted = doc.InsertFromTool(biBody, 0, 0, tcText, {});
    EXPECT_GT(inserted, doc.State().Ids().back() - 1);
    for (const ElementId old : doc.Variants().Snapshot(0).Ids())
        EXPECT_NE(old, inserted);
}

TEST_F(DocumentTest, RepeatedChangesOfOneBoxMergeIntoOneStep)
{
    const QStringList before = doc.Write();
    const ElementId a = at(biBody, 0), b = at(biBody, 1), c = at(biBody, 2);
    for (int i = 1; i <= 50; ++i)
        ASSERT_TRUE(doc.MoveElements({{a, i, 0, 30, 18}, {b, 100 + i, 0, 60, 18}, {c, 200 + i, 0, 80, 18}},
                                     QStringLiteral("tazeni")));
    EXPECT_EQ(doc.Variants().Count(), 2);
    EXPECT_EQ(doc.Variants().UndoHint(), QStringLiteral("Zrušit posun prvku"));
    // the same box on other elements is a step of its own
    doc.SetActive(a);
    ASSERT_TRUE(doc.SetGeometry(GeometryField::Left, 7, QStringLiteral("EditX")));
    ASSERT_TRUE(doc.SetGeometry(GeometryField::Left, 8, QStringLiteral("EditX")));
    doc.SetActive(b);
    ASSERT_TRUE(doc.SetGeometry(GeometryField::Left, 9, QStringLiteral("EditX")));
    EXPECT_EQ(doc.Variants().Count(), 4);
    // typing the value it has records nothing
    EXPECT_FALSE(doc.SetGeometry(GeometryField::Left, 9, QStringLiteral("EditX")));
    doc.Undo();
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(doc.Write(), before);
}

TEST_F(DocumentTest, OneElementStepSharesEverythingElse)
{
    const DocumentState before = doc.State();
    ASSERT_TRUE(doc.MoveElements({{at(biBody, 1), 1, 1, 10, 10}}));
    const DocumentState& after = doc.State();
    for (int band = 0; band < after.BandCount(); ++band) {
        if (band != biBody)
            EXPECT_EQ(after.Bands[std::size_t(band)], before.Bands[std::size_t(band)]) << band;
    }
    for (std::size_t i = 0; i < after.Band(biBody).size(); ++i) {
        if (i != 1)
            EXPECT_EQ(after.Band(biBody)[i].Element, before.Band(biBody)[i].Element) << i;
    }
    EXPECT_NE(after.Band(biBody)[1].Element, before.Band(biBody)[1].Element);
    EXPECT_EQ(after.Settings, before.Settings);
    EXPECT_EQ(after.Functions, before.Functions);
    EXPECT_EQ(after.KeptLines, before.KeptLines);
}

TEST_F(DocumentTest, StackingIsAStep)
{
    doc.SetActive(at(biBody, 0));
    ASSERT_TRUE(doc.Restack(true));
    EXPECT_EQ(doc.Variants().UndoHint(), QStringLiteral("Zrušit nastavení prvku"));
    EXPECT_FALSE(doc.Restack(true));   // already in front
}

TEST_F(DocumentTest, PasteAndTypedValuesKeepElementsInsideTheBand)
{
    doc.AddToSelection(at(biPageHead, 1));
    doc.AddToSelection(at(biPageHead, 2));   // left 700, the active one at 600
    ASSERT_TRUE(doc.Copy());
    const std::vector<ElementId> pasted = doc.Paste(biBody, 0, 5);
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_EQ(element(pasted[0]).Left, 0);
    EXPECT_EQ(element(pasted[1]).Left, 100);
    EXPECT_EQ(doc.SelectedIds().size(), 2u);
    EXPECT_EQ(doc.ActiveId(), pasted[0]);

    const std::vector<ElementId> left = doc.Paste(biBody, -500, -40);
    EXPECT_EQ(element(left[0]).Left, 0);
    EXPECT_EQ(element(left[0]).Top, 0);

    doc.SetActive(at(biBody, 1));   // 60 wide in a band 20 high
    ASSERT_TRUE(doc.SetGeometry(GeometryField::Left, -30));
    EXPECT_EQ(element(at(biBody, 1)).Left, 0);
    ASSERT_TRUE(doc.SetGeometry(GeometryField::Left, doc.PaperWidth()));
    EXPECT_EQ(element(at(biBody, 1)).Left, doc.PaperWidth() - 60);
    ASSERT_TRUE(doc.SetGeometry(GeometryField::Height, 1));
    EXPECT_EQ(element(at(biBody, 1)).Height, 3);
    ASSERT_TRUE(doc.SetGeometry(GeometryField::Top, 50));
    EXPECT_EQ(element(at(biBody, 1)).Top, 17);
}

TEST_F(DocumentTest, RenamedFunctionTakesItsElementsAlong)
{
    FunctionSettings renamed = doc.Functions()[0];
    renamed.Name = QStringLiteral("Plocha");
    ASSERT_TRUE(doc.EditFunction(0, renamed));
    EXPECT_TRUE(doc.Write().contains(QStringLiteral("T,6,Plocha,200,0,80,18,Times New Roman CE,9,9,2,1,0,238,\"\",0")));
    report.SetPredloha(doc.Write());
    EXPECT_EQ(report.Sections.SectionAt(siBody).ElementAt(2).Reference, 0);
    EXPECT_EQ(report.Sections.SectionAt(siBody).ElementAt(2).RefName, QStringLiteral("Plocha"));
}

TEST_F(DocumentTest, ElementDialogTakesItsFunctionsInTheSameStep)
{
    const ElementId bound = at(biBody, 2);
    std::vector<FunctionSettings> functions = doc.Functions();
    functions[0].Name = QStringLiteral("Celkem");
    const int steps = doc.Variants().Count();
    ASSERT_TRUE(doc.EditElement(bound, chElementSettings, functions, [](TVoReportElement& e) { e.Top = 4; }));
    EXPECT_EQ(doc.Variants().Count(), steps + 1);
    EXPECT_EQ(doc.Functions()[0].Name, QStringLiteral("Celkem"));
    EXPECT_EQ(element(bound).RefName, QStringLiteral("Celkem"));
    EXPECT_EQ(element(bound).Top, 4);
    // a function change alone is a step too; a list of another length is not taken
    functions[0].Popis = QStringLiteral("Jinak");
    ASSERT_TRUE(doc.EditElement(bound, chElementSettings, functions, [](TVoReportElement&) {}));
    functions.pop_back();
    EXPECT_FALSE(doc.EditElement(bound, chElementSettings, functions, [](TVoReportElement&) {}));
    EXPECT_EQ(doc.Functions().size(), 2u);
}

TEST_F(DocumentTest, KeyboardLimitsNeverGiveNegativePositions)
{
    ASSERT_TRUE(doc.SetBandHeight(biBody, 14));
    doc.SetActive(at(biBody, 1));
    ASSERT_EQ(element(at(biBody, 1)).Height, 18);
    doc.MoveByKeyboard(0, 1);
    EXPECT_EQ(element(at(biBody, 1)).Top, 0);
    doc.SetGeometry(GeometryField::Top, 9);
    EXPECT_EQ(element(at(biBody, 1)).Top, 0);
}

TEST_F(DocumentTest, DetailLinesAreReplacedWhereTheVariantStood)
{
    const QStringList variant = {QStringLiteral("I,3,2,1,30,0"), QStringLiteral("T,7,0,0,0,50,3,,1,0,0,8,15,0")};
    ASSERT_TRUE(doc.ReplaceDetailLines(0, variant));
    const QStringList lines = doc.Write();
    const qsizetype first = lines.indexOf(QStringLiteral("D0,I,3,2,1,30,0"));
    ASSERT_GE(first, 0);
    EXPECT_EQ(lines[first + 1], QStringLiteral("D0,T,7,0,0,0,50,3,,1,0,0,8,15,0"));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^D0,"))).size(), 2);
    EXPECT_EQ(lines.last(), QStringLiteral("X,neznámý řádek"));
    EXPECT_EQ(doc.Variants().Caption(doc.Variants().CurrentIndex()), QStringLiteral("změna detailu"));
    EXPECT_FALSE(doc.ReplaceDetailLines(0, variant));
    // a variant that had no lines gets them at the end
    ASSERT_TRUE(doc.ReplaceDetailLines(1, {QStringLiteral("T,1,0,0,0,10,10,Arial,10,0,0,0,0,238,\"\",0")}));
    EXPECT_TRUE(doc.Write().last().startsWith(QStringLiteral("D1,T,1,")));
}

TEST_F(DocumentTest, SettingsKeepTheBandsOfTheGroupsTheyKeep)
{
    const auto secondStart = doc.State().Bands[std::size_t(groupStartBand(1))];
    SettingsChange change{doc.Settings(), {1, -1}};
    change.Settings.Groups = {doc.Settings().Groups[1], GroupSettings{}};
    ASSERT_TRUE(doc.ApplySettings(change));
    EXPECT_EQ(doc.State().BandCount(), 9);
    EXPECT_EQ(doc.State().Bands[std::size_t(groupStartBand(0))], secondStart);
    EXPECT_TRUE(doc.State().Band(groupStartBand(1)).empty());
    // a source named twice never holds one element twice
    SettingsChange twice{doc.Settings(), {0, 0}};
    ASSERT_TRUE(doc.ApplySettings(twice));
    EXPECT_TRUE(doc.State().Band(groupEndBand(1)).empty());
    EXPECT_FALSE(doc.ApplySettings({doc.Settings(), {0, 1}}));
}

TEST_F(DocumentTest, ColumnToolWidthAndNamedReference)
{
    doc.Load(goldenLines());
    InsertDefaults d;
    d.FollowByName = true;
    const ElementId wide = doc.InsertFromTool(biBody, 0, 0, tcColumn + 3, d, {100, 129});
    EXPECT_EQ(element(wide).Width, doc.PaperWidth() / 2);
    EXPECT_EQ(element(wide).Alignment, 1);
    EXPECT_EQ(element(wide).RefName, QStringLiteral("PLOCHA"));
    EXPECT_EQ(doc.InsertFromTool(biBody, 0, 0, tcArrow, d), NoElement);
    EXPECT_EQ(doc.InsertFromTool(99, 0, 0, tcText, d), NoElement);
    const ElementId detail = doc.InsertFromTool(biBody, 40, 0, tcDetail + 1, d);
    EXPECT_EQ(element(detail).Left, 0);
    EXPECT_EQ(element(detail).Width, doc.PaperWidth());
}
