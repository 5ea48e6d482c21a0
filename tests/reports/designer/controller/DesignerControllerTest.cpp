#include "reports/designer/controller/DesignerController.h"
#include "reports/designer/controller/SestavaReport.h"

#include "reports/component/Sestava.h"

#include "reports/engine/ReportWindows.h"
#include "reports/engine/SestavaTyp.h"
#include "reports/model/ReportModel.h"
#include "reports/model/ReportTables.h"

#include "platform/ui/Services.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace reports;
using namespace reports::designer;

namespace {

enum Box : int { sbX = 0, sbY = 1 };   // the size boxes EditX, EditY

class FakeReport : public DesignerReport
{
public:
    FakeReport() { model.SetColumns(names); }
    ReportModel& Model() override { return model; }
    int ColumnCount() const override { return int(names.size()); }
    QString ColumnName(int i) const override { return names.value(i); }
    QString ColumnLabel(int i) const override { return QStringLiteral("Popis ") + names.value(i); }
    int ColumnDisplayWidth(int i) const override { return i == 1 ? 100 : 10; }
    int ColumnAlignment(int) const override { return 128 | 1; }
    int ColumnDataType(int i) const override { return i < int(types.size()) ? types[std::size_t(i)] : ctString; }
    QStringList Parameters() const override { return parameters; }
    QString ColumnText(int i) const override
    {
        if (failing) throw std::runtime_error("column");
        return QStringLiteral("hodnota %1").arg(i);
    }
    double ColumnValue(int i) const override { return 10.0 + i; }
    QString ColumnMemo(int i) const override { return QStringLiteral("poznámka %1 záznamu %2").arg(i).arg(record); }
    QImage ColumnPicture(int) const override { return QImage(record, record, QImage::Format_RGB32); }
    int StepData(int dir) override
    {
        steps.push_back(dir);
        return noData ? srBof | srEof : (dir == sdFirst || (dir == sdPrior && record == 2) ? srBof : 0);
    }
    int DataFlags() override { return noData ? srBof | srEof : srEof; }
    bool PrintsCurrentRecordOnly() const override { return false; }
    bool SkipsHeadFoot() const override { return false; }
    QString Popis() const override { return QStringLiteral("Sestava"); }
    QString FileName() const override { return QStringLiteral("/tmp/sest/test.pts"); }
    ReportRunValues RunValues() const override { return {}; }
    int DetailCount() const override { return variant ? 1 : 0; }
    QStringList DetailPredloha(int) const override { return variant ? variant->predloha : QStringList(); }
    void EditDetail(int index, const WindowPlacement&) override { editDetail(index); }
    QStringList Predloha() const override { return predloha; }
    void SetPredloha(const QStringList& lines) override { predloha = lines; }
    SaveResult Save() override { saved.push_back(predloha); return saveResult; }
    SaveResult SaveAs() override { return Save(); }
    QStringList PictureFiles() override { return {}; }
    int Preview(const WindowPlacement&, int percent) override
    {
        outputs.push_back(predloha);
        lastPercent = percent;
        return previewResult;
    }
    int Print() override { outputs.push_back(predloha); return 0; }

    QStringList names{QStringLiteral("NAZEV"), QStringLiteral("POPIS"), QStringLiteral("PLOCHA")};
    QStringList parameters{QStringLiteral("1,5"), QStringLiteral("text")};
    ReportModel model;
    QStringList predloha;
    std::vector<int> types;
    FakeReport* variant = nullptr;
    std::function<void(int)> editDetail;
    std::vector<int> steps;
    int record = 1;
    bool noData = false;
    bool failing = false;
    SaveResult saveResult = SaveResult::Saved;
    std::vector<QStringList> saved;
    std::vector<QStringList> outputs;
    int previewResult = 0;
    int lastPercent = 0;
};

class FakeView : public DesignerView
{
public:
    void showSurface(const SurfaceView& view) override { surface = view; }
    void setPaperCursor(bool c) override { cross = c; }
    void setCaption(const QString& d, const QString& f) override { caption = d + u'|' + f; }
    void setToolPages(const ToolPages& p) override { pages = p; }
    void setActiveTool(int c) override { tool = c; }
    void setFunctionButtons(bool, bool) override {}
    void setChooser(bool, int) override {}
    void showElementProperties(const ElementProperties& p) override { properties = p; controls = true; }
    void enableElementControls(bool e) override { controls = e; }
    void setStackingEnabled(bool) override {}
    void showPosition(int, int) override {}
    void showSize(int, int) override {}
    void restoreSizeBoxes() override { ++restored; }
    void showCoordinates(int, int) override {}
    void setPictureFiles(const QStringList&) override {}
    void setUndoState(bool u, const QString& h, bool r, const QString&) override { canUndo = u; undoHint = h; canRedo = r; }
    void setPasteState(bool, bool mode) override { pasteMode = mode; }
    void setZoomStep(int) override {}
    void setDataFlags(int f) override { flags = f; }
    void setPrintEnabled(bool) override {}
    WindowPlacement placement() const override { return {}; }
    void closeWindow(int r) override { closed = r; }

    SurfaceView surface;
    ElementProperties properties;
    bool controls = false, cross = false, canUndo = false, canRedo = false, pasteMode = false;
    QString caption, undoHint;
    ToolPages pages;
    int tool = -5, restored = 0, flags = -1, closed = -1;
};

class FakeDialogs : public DesignerDialogs
{
public:
    std::optional<ReportSettingsData> settings(const ReportSettingsData& d, int tab, int group) override
    {
        shownTab = tab;
        shownGroup = group;
        shownSettings = d;
        if (editSettings) editSettings(shownSettings);
        return settingsOk ? std::optional(shownSettings) : std::nullopt;
    }
    std::optional<ElementDialogData> element(const ElementDialogData& d) override
    {
        ElementDialogData edited = d;
        if (editElement) editElement(edited);
        return elementOk ? std::optional(edited) : std::nullopt;
    }
    std::optional<ReportFont> font(const ReportFont&) override { return std::nullopt; }
    std::optional<FunctionSettings> function(const FunctionSettings&, const ExpressionLists&, int) override
    {
        ++functionRuns;
        return functionResult;
    }
    std::optional<NastaveniEditoru> editorSettings(const NastaveniEditoru&) override { return std::nullopt; }
    WizardOutcome wizard(const QStringList& names, bool, const std::function<void()>&) override
    {
        WizardOutcome o{wizardResult, {}};
        o.Choice.selected = names.mid(0, 2);
        return o;
    }

    ReportSettingsData shownSettings;
    int shownTab = -9, shownGroup = -9;
    std::function<void(ReportSettingsData&)> editSettings;
    bool settingsOk = false;
    std::function<void(ElementDialogData&)> editElement;
    bool elementOk = false;
    std::optional<FunctionSettings> functionResult;
    int functionRuns = 0;
    int wizardResult = 2;
};

const QStringList sampleTemplate = {
    QStringLiteral("I,0,\"Pokusná\""),
    QStringLiteral("I,3,2,1,200,0"),
    QStringLiteral("I,4,0,0,1,30,1,40,0"),
    QStringLiteral("F,0,Soucet,\"\",0,\"0\",0,\"#3\",2,15,2,2"),
    QStringLiteral("T,1,0,10,10,100,20,Arial CE,10,0,0,0,0,238,\"Ahoj\",0"),
    QStringLiteral("T,7,0,0,50,200,3,,1,0,0,8,15,0"),
    QStringLiteral("T,8,0,20,60,50,30,,1,0,0,15,15,0"),
    QStringLiteral("T,5,2,300,0,50,20,Arial CE,10,0,0,0,0,238,\"\",0"),
};

class DesignerControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = &ui::services();
        ui::setServices(&services);
        report.predloha = sampleTemplate;
    }
    void TearDown() override { ui::setServices(m_saved); }

    DesignerController& open(NastaveniEditoru settings = {})
    {
        controller = std::make_unique<DesignerController>(report, view, dialogs, settings);
        EXPECT_TRUE(controller->OpenReport());
        return *controller;
    }
    const TemplateDocument& doc() const { return controller->Document(); }
    ElementId idAt(int band, int position) const { return doc().State().Band(band)[std::size_t(position)].Id; }
    const TVoReportElement& element(ElementId id) const { return *doc().State().Element(id); }
    int steps() const { return doc().Variants().Count(); }

    FakeReport report;
    FakeView view;
    FakeDialogs dialogs;
    ui::RecordingServices services;
    std::unique_ptr<DesignerController> controller;

private:
    ui::Services* m_saved = nullptr;
};

TEST_F(DesignerControllerTest, OpeningShowsToolPagesStepsToFirstAndRunsWizardOnEmptyTemplate)
{
    DesignerController& c = open();
    EXPECT_EQ(view.pages.Columns, report.names);
    EXPECT_EQ(view.pages.ParameterCount, 2);
    EXPECT_EQ(view.pages.GroupCount, 1);
    EXPECT_EQ(view.pages.Functions, QStringList{QStringLiteral("Soucet")});
    EXPECT_EQ(report.steps, std::vector<int>{sdFirst});
    EXPECT_EQ(view.flags, srBof);
    EXPECT_EQ(view.surface.bands.size(), 7u);
    EXPECT_EQ(view.surface.bands[5].caption, QStringLiteral("Začátek skupiny 1"));
    EXPECT_EQ(view.surface.bands[6].caption, QStringLiteral("Konec skupiny 1"));
    EXPECT_EQ(view.surface.bands[6].height, 40);
    EXPECT_EQ(view.caption, QStringLiteral("Pokusná|/tmp/sest/test.pts"));
    EXPECT_FALSE(c.IsModified());

    // an empty template: cancelling the wizard keeps the designer closed
    report.predloha.clear();
    DesignerController cancelled(report, view, dialogs, {});
    EXPECT_FALSE(cancelled.OpenReport());
    dialogs.wizardResult = 1;
    controller.reset();
    DesignerController designed(report, view, dialogs, {});
    EXPECT_TRUE(designed.OpenReport());
    EXPECT_GT(designed.Document().State().ElementCount(), 0);
    EXPECT_TRUE(designed.IsModified());
}

TEST_F(DesignerControllerTest, ToolsInsertWithTheirDefaultsAndWidthRules)
{
    NastaveniEditoru settings;
    settings.ImplSirka = 120;
    settings.ImplVyskaFontu = 12;
    DesignerController& c = open(settings);
    c.ChooseTool(tcText);
    EXPECT_EQ(c.activeTool(), tcText);
    c.bandClicked(biBody, 30, 40);
    const TVoReportElement& text = element(doc().ActiveId());
    EXPECT_EQ(QRect(text.Left, text.Top, text.Width, text.Height), QRect(30, 40, 120, 20));
    EXPECT_EQ(text.Font.Size, 12);
    EXPECT_EQ(c.activeTool(), tcArrow);
    EXPECT_EQ(doc().Variants().Caption(doc().Variants().CurrentIndex()), QStringLiteral("vložení prvku"));

    // a 100 characters wide column gets at most half the paper; the alignment loses bit 128
    c.ChooseTool(tcColumn + 1);
    c.bandClicked(biBody, 0, 0);
    EXPECT_EQ(element(doc().ActiveId()).Width, doc().PaperWidth() / 2);
    EXPECT_EQ(element(doc().ActiveId()).Alignment, 1);
    c.ChooseTool(tcColumn);
    c.bandClicked(biBody, 0, 0);
    EXPECT_EQ(element(doc().ActiveId()).Width, 10 * 3 * 12 / 4);
    c.ChooseTool(tcDetail);
    c.bandClicked(biBody, 77, 5);
    EXPECT_EQ(element(doc().ActiveId()).Left, 0);
    EXPECT_EQ(element(doc().ActiveId()).Width, doc().PaperWidth());
}

TEST_F(DesignerControllerTest, BandClickWithoutToolOnlyClearsTheSelection)
{
    DesignerController& c = open();
    c.selectOnly(idAt(biBody, 0));
    const int before = doc().State().ElementCount();
    c.bandClicked(biBody, 5, 5);
    EXPECT_EQ(doc().ActiveId(), NoElement);
    EXPECT_EQ(doc().State().ElementCount(), before);
    EXPECT_EQ(steps(), 1);
    EXPECT_FALSE(view.controls);
}

TEST_F(DesignerControllerTest, PasteModePastesAtTheClickAndEnds)
{
    DesignerController& c = open();
    c.selectOnly(idAt(biBody, 0));
    c.Copy();
    c.Paste();
    EXPECT_EQ(c.activeTool(), -1);
    EXPECT_TRUE(view.pasteMode);
    c.bandClicked(biReportStart, 15, 5);
    ASSERT_EQ(doc().State().Band(biReportStart).size(), 1u);
    EXPECT_EQ(element(idAt(biReportStart, 0)).Left, 15);
    EXPECT_EQ(doc().ActiveId(), idAt(biReportStart, 0));
    EXPECT_FALSE(c.IsPasteMode());
    EXPECT_EQ(c.activeTool(), tcArrow);
}

TEST_F(DesignerControllerTest, SelectionCommandsAndDragsAreOneStepWithoutNegativePositions)
{
    DesignerController& c = open();
    const ElementId text = idAt(biBody, 0), line = idAt(biBody, 1), frame = idAt(biBody, 2);
    c.selectOnly(text);
    c.addToSelection(frame);
    int count = 0;
    c.Dispatch(scSelectedCount, 0, count);
    EXPECT_EQ(count, 2);
    c.addToSelection(line);
    c.removeFromSelection(line);
    EXPECT_EQ(doc().SelectedIds(), (std::set<ElementId>{text, frame}));

    // the dragged text got (-10, +5) after its limit; the frame follows by that, the surface's
    // raw delta (-30) would put it below 0
    c.elementsDragged({{text, QRect(0, 15, 100, 20)}, {frame, QRect(-10, 65, 50, 30)}});
    EXPECT_EQ(steps(), 2);
    EXPECT_EQ(element(frame).Left, 10);
    EXPECT_EQ(element(frame).Top, 65);
    c.elementsDragged({{text, QRect(-40, 15, 100, 20)}, {frame, QRect(-30, 65, 50, 30)}});
    EXPECT_EQ(element(text).Left, 0);
    EXPECT_EQ(element(frame).Left, 10);
    c.Undo();
    EXPECT_EQ(element(text).Left, 10);
    EXPECT_EQ(element(frame).Left, 20);
}

TEST_F(DesignerControllerTest, GroupBandHeightChangesItsGroupInOneStep)
{
    DesignerController& c = open();
    c.bandHeightChanged(groupEndBand(0), 55);
    EXPECT_EQ(doc().Settings().Groups[0].EndHeight, 55);
    EXPECT_EQ(doc().Settings().Groups[0].StartHeight, 30);
    EXPECT_EQ(view.undoHint, QStringLiteral("Zrušit změna výšky oddílu"));
    EXPECT_EQ(view.surface.bands[6].height, 55);
}

TEST_F(DesignerControllerTest, DeleteAsksAsTheSettingsSay)
{
    NastaveniEditoru settings;
    settings.MazaniJedne = true;
    settings.MazaniVice = true;
    DesignerController& c = open(settings);
    c.selectOnly(idAt(biBody, 0));
    services.script({ui::Answer::No});
    c.DeleteSelected();
    EXPECT_EQ(doc().State().Band(biBody).size(), 4u);
    EXPECT_EQ(services.messages.back().text, QStringLiteral("Smazat vybraný prvek?"));
    c.addToSelection(idAt(biBody, 1));
    services.script({ui::Answer::Yes});
    c.DeleteSelected();
    EXPECT_EQ(services.messages.back().text, QStringLiteral("Smazat všechny vybrané prvky?"));
    EXPECT_EQ(doc().State().Band(biBody).size(), 2u);
    EXPECT_FALSE(view.controls);
}

TEST_F(DesignerControllerTest, PropertyHandlersActOnTheSelectedElementsOfTheirKinds)
{
    DesignerController& c = open();
    const ElementId text = idAt(biBody, 0), line = idAt(biBody, 1), frame = idAt(biBody, 2);
    c.selectOnly(line);
    c.addToSelection(frame);
    c.addToSelection(text);
    c.SetPenColor(9);
    EXPECT_EQ(element(line).PenColor, ColorIndexTable[9]);
    EXPECT_NE(element(frame).PenColor, ColorIndexTable[9]);
    c.SetFillStyle(3);
    EXPECT_EQ(element(frame).BrushStyle, 3);
    EXPECT_EQ(element(line).BrushStyle, 0);
    c.SetAlignment(2);
    EXPECT_EQ(element(text).Alignment, 2);
    EXPECT_EQ(element(line).Alignment, 0);
}

TEST_F(DesignerControllerTest, TypedValuesAndKeyboardMovesKeepLimits)
{
    DesignerController& c = open();
    const ElementId text = idAt(biBody, 0);
    c.selectOnly(text);
    c.SizeTyped(sbX, QStringLiteral("10"));
    EXPECT_EQ(steps(), 1);
    c.SizeTyped(sbX, QStringLiteral("1O"));
    EXPECT_EQ(view.restored, 1);
    EXPECT_EQ(element(text).Left, 10);
    c.SizeTyped(sbY, QStringLiteral("-40"));
    EXPECT_EQ(element(text).Top, 0);
    c.SizeTyped(sbX, QStringLiteral("99999"));
    EXPECT_EQ(element(text).Left, doc().PaperWidth() - 100);
    EXPECT_EQ(view.properties.rect.left(), doc().PaperWidth() - 100);
    c.KeyMove(-1, 1, false, false);
    EXPECT_EQ(element(text).Top, 1);
    c.KeyMove(0, 1, false, true);
    EXPECT_EQ(element(text).Top, 9);
    c.KeyMove(1, 0, true, false);
    c.KeyMove(1, 0, true, false);
    EXPECT_EQ(element(text).Width, 101);   // held at the paper's right edge
    EXPECT_EQ(element(text).Left + 101, doc().PaperWidth());
}

TEST_F(DesignerControllerTest, TypingIsOneStepClosedOnCommit)
{
    DesignerController& c = open();
    c.selectOnly(idAt(biBody, 0));
    c.TextEdited(QStringLiteral("A"));
    c.TextEdited(QStringLiteral("Ab"));
    EXPECT_EQ(steps(), 2);
    c.TextCommitted(QStringLiteral("Abc"));
    EXPECT_EQ(steps(), 2);
    EXPECT_EQ(element(idAt(biBody, 0)).Text, QStringLiteral("Abc"));
    c.TextEdited(QStringLiteral("Abcd"));
    EXPECT_EQ(steps(), 3);
}

TEST_F(DesignerControllerTest, SurfaceCommandsDispatchByNumberAndIgnoreUnknownOnes)
{
    DesignerController& c = open();
    const QStringList bytes = doc().Write();
    for (const int command : {3, 10, 15, 18, 20, 1124, 5000}) {
        int result = 7;
        c.Dispatch(command, 1, result);
        EXPECT_EQ(result, 7) << command;
    }
    EXPECT_EQ(doc().Write(), bytes);
    EXPECT_EQ(steps(), 1);
    int answer = 0;
    c.ChooseTool(tcEllipse);
    c.Dispatch(scActiveTool, 0, answer);
    EXPECT_EQ(answer, tcEllipse);
    int y = 12;
    c.Dispatch(scBandClick + int(biReportEnd), 8, y);
    EXPECT_EQ(doc().State().Band(biReportEnd).size(), 1u);
    c.Dispatch(scActiveElement, 0, answer);
    EXPECT_EQ(ElementId(answer), idAt(biReportEnd, 0));
}

TEST_F(DesignerControllerTest, OperandRequestsAnswerFromTheReportAndTheFunctions)
{
    open();
    const auto request = [this](int code, const QString* name = nullptr) {
        TOperandValue value{okText, -1, QStringLiteral("vstup")};
        OperandMessage m{code, name, &value, 99};
        OperandHost()->MessageValueRequest(m);
        return std::pair(m.Result, value);
    };
    const QString plocha = QStringLiteral("plocha"), soucet = QStringLiteral("SOUCET"), none = QStringLiteral("x");
    EXPECT_EQ(OperandHost(), controller.get());
    EXPECT_EQ(request(OperandMessage::ColumnIndex, &plocha).first, 2);
    EXPECT_EQ(request(OperandMessage::ColumnIndex, &none).first, -1);
    EXPECT_EQ(request(OperandMessage::FunctionIndex, &soucet).first, 0);
    EXPECT_EQ(request(OperandMessage::NoRequest).first, -1);
    EXPECT_EQ(request(OperandMessage::Parameter).second.Number, 1.5);
    EXPECT_EQ(request(OperandMessage::Parameter + 1).second.Text, QStringLiteral("text"));
    EXPECT_EQ(request(OperandMessage::Parameter + 1).second.Number, 0);
    EXPECT_EQ(request(OperandMessage::Column + 1).second.Number, 11.0);
    EXPECT_EQ(request(OperandMessage::Column + 1).second.Text, QStringLiteral("hodnota 1"));
    // beyond the parameters, columns and functions the record stays as it came
    const TOperandValue untouched{okText, -1, QStringLiteral("vstup")};
    EXPECT_EQ(request(OperandMessage::Parameter + 2).second, untouched);
    EXPECT_EQ(request(OperandMessage::Column + 3).second, untouched);
    EXPECT_EQ(request(OperandMessage::Function + 1).second, untouched);

    // a function added in the designer answers its current value
    FunctionSettings added;
    added.Name = QStringLiteral("Nova");
    added.PocatecniHodnota = QStringLiteral("4");
    dialogs.functionResult = added;
    controller->AddFunction();
    EXPECT_EQ(request(OperandMessage::Function + 1).second.Number, 4.0);

    report.failing = true;
    const auto failed = request(OperandMessage::Column);
    EXPECT_EQ(failed.second.Number, 0);
    EXPECT_TRUE(failed.second.Text.isEmpty());
    controller.reset();
    EXPECT_EQ(OperandHost(), nullptr);
}

TEST_F(DesignerControllerTest, SteppingSetsFlagsAndCountsRowsInEveryDirection)
{
    DesignerController& c = open();
    const auto counterText = [this] {
        for (const SurfaceElement& e : view.surface.bands[biBody].elements) {
            if (e.element->Kind == ekVariable) return e.text;
        }
        return QString();
    };
    EXPECT_EQ(counterText(), QStringLiteral("0"));   // the first step came before the template
    c.StepData(sdNext);
    EXPECT_EQ(view.flags, 0);
    report.record = 2;
    c.StepData(sdPrior);
    EXPECT_EQ(view.flags, srBof);
    EXPECT_EQ(counterText(), QStringLiteral("2"));
    report.noData = true;
    c.StepData(sdNext);
    EXPECT_EQ(view.flags, srBof | srEof);
}

TEST_F(DesignerControllerTest, PreviewAndPrintTakeTheDocumentAndLeaveTheReportsTemplate)
{
    DesignerController& c = open();
    c.selectOnly(idAt(biBody, 0));
    c.TextEdited(QStringLiteral("Nový"));
    c.Preview();
    c.Print();
    ASSERT_EQ(report.outputs.size(), 2u);
    EXPECT_EQ(report.outputs[0], doc().Write());
    EXPECT_EQ(report.outputs[1], doc().Write());
    EXPECT_EQ(report.predloha, sampleTemplate);
    EXPECT_EQ(report.lastPercent, 100);
    EXPECT_EQ(view.closed, -1);
    report.previewResult = 1;
    services.script({ui::Answer::No});
    c.Preview();
    EXPECT_EQ(view.closed, 2);
}

TEST_F(DesignerControllerTest, FailedSaveKeepsTheDesignerOpenWithOneMessage)
{
    DesignerController& c = open();
    c.selectOnly(idAt(biBody, 0));
    c.KeyMove(1, 0, false, false);
    report.saveResult = SaveResult::FailedReported;
    services.script({ui::Answer::Yes});
    c.RequestClose();
    EXPECT_EQ(view.closed, -1);
    EXPECT_EQ(services.messages.size(), 1u);   // the question; the report told its own failure
    EXPECT_TRUE(c.IsModified());
    EXPECT_TRUE(doc().Variants().CanUndo());

    report.saveResult = SaveResult::Failed;
    services.clear();
    EXPECT_FALSE(c.Save());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("Předlohou se nepodařilo uložit."));
    EXPECT_TRUE(doc().Variants().CanUndo());
}

TEST_F(DesignerControllerTest, CloseAnswersZeroAfterANormalCloseAndThreeAfterDiscarding)
{
    DesignerController& c = open();
    c.RequestClose();
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(c.EditResult(), 0);

    c.SnapAll();
    c.KeyMove(0, 1, false, false);
    services.script({ui::Answer::Cancel});
    view.closed = -1;
    c.RequestClose();
    EXPECT_EQ(view.closed, -1);
    services.script({ui::Answer::No});
    c.RequestClose();
    EXPECT_EQ(view.closed, 2);
    EXPECT_EQ(c.EditResult(), 3);

    services.script({ui::Answer::Yes});
    c.RequestClose();
    EXPECT_EQ(c.EditResult(), 0);
    EXPECT_EQ(report.saved.back(), doc().Write());
    EXPECT_FALSE(doc().Variants().CanUndo());
}

TEST_F(DesignerControllerTest, SettingsDialogAppliesOnlyOnOkAsOneStep)
{
    DesignerController& c = open();
    const QStringList bytes = doc().Write();
    dialogs.editSettings = [](ReportSettingsData& d) {
        d.groups.push_back({1, 2, true, 25, true, 26, false});
        d.description = QStringLiteral("Jiná");
    };
    c.bandDoubleClicked(groupStartBand(0));
    EXPECT_EQ(doc().Write(), bytes);
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(dialogs.shownTab, 4);   // "Skupiny" with the band's group
    EXPECT_EQ(dialogs.shownGroup, 0);

    dialogs.settingsOk = true;
    c.ShowSettingsDialog();
    EXPECT_EQ(steps(), 2);
    EXPECT_EQ(doc().Settings().Groups.size(), 2u);
    EXPECT_EQ(doc().State().Band(groupStartBand(1)).size(), 0u);
    EXPECT_EQ(doc().Settings().Popis, QStringLiteral("Jiná"));
    EXPECT_EQ(view.pages.GroupCount, 2);
    EXPECT_EQ(view.undoHint, QStringLiteral("Zrušit nastavení oddílů a skupin"));
}

TEST_F(DesignerControllerTest, FunctionDialogCancelChangesNothing)
{
    DesignerController& c = open();
    const QStringList bytes = doc().Write();
    c.AddFunction();
    c.ChooseTool(tcFunction);
    c.EditFunction();
    EXPECT_EQ(dialogs.functionRuns, 2);
    EXPECT_EQ(doc().Write(), bytes);
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(c.activeTool(), tcArrow);

    FunctionSettings renamed = doc().Functions()[0];
    renamed.Name = QStringLiteral("Celkem");
    dialogs.functionResult = renamed;
    c.ChooseTool(tcFunction);
    c.EditFunction();
    EXPECT_EQ(view.undoHint, QStringLiteral("Zrušit oprava funkce"));
    EXPECT_EQ(view.pages.Functions, QStringList{QStringLiteral("Celkem")});
    services.script({ui::Answer::Yes});
    c.ChooseTool(tcFunction);
    c.DeleteFunction();
    EXPECT_TRUE(doc().Functions().empty());
}

TEST_F(DesignerControllerTest, ElementDialogTakesItsFunctionChangesInOneStepAndCancelNothing)
{
    NastaveniEditoru byName;
    byName.SledPodle = true;
    DesignerController& c = open(byName);
    c.ChooseTool(tcFunction);
    c.bandClicked(biReportEnd, 0, 0);
    const ElementId id = doc().ActiveId();
    ASSERT_EQ(element(id).RefName, QStringLiteral("Soucet"));
    const QStringList bytes = doc().Write();
    const int before = steps();
    dialogs.editElement = [](ElementDialogData& d) {
        d.Functions[0].Name = QStringLiteral("Celkem");
        d.Left = 40;
    };
    c.EditElement();
    EXPECT_EQ(doc().Write(), bytes);   // cancelled: "Funkce ..." changed nothing either

    dialogs.elementOk = true;
    c.EditElement();
    EXPECT_EQ(steps(), before + 1);
    EXPECT_EQ(doc().Functions()[0].Name, QStringLiteral("Celkem"));
    EXPECT_EQ(element(id).RefName, QStringLiteral("Celkem"));
    EXPECT_EQ(element(id).Left, 40);
    EXPECT_EQ(view.pages.Functions, QStringList{QStringLiteral("Celkem")});
    c.Undo();
    EXPECT_EQ(doc().Write(), bytes);
}

TEST_F(DesignerControllerTest, GroupBandsAndMemoAndPictureColumnsShowTheCurrentRecord)
{
    report.types = {ctString, ctMemo, ctGraphic};
    report.predloha << QStringLiteral("T,2,1,0,30,100,20,Arial CE,10,0,0,0,0,238,\"\",0")
                    << QStringLiteral("T,2,2,0,60,100,20,Arial CE,10,0,0,0,0,238,\"\",0");
    DesignerController& c = open();
    const auto shown = [this](int position) { return view.surface.bands[biBody].elements[std::size_t(position)].element; };
    EXPECT_EQ(view.surface.bands[groupStartBand(0)].label, QStringLiteral("hodnota 0"));
    EXPECT_EQ(view.surface.bands[groupEndBand(0)].label, QStringLiteral("hodnota 0"));
    EXPECT_TRUE(view.surface.bands[biBody].label.isEmpty());
    EXPECT_EQ(shown(4)->MemoText, QStringLiteral("poznámka 1 záznamu 1"));
    EXPECT_TRUE(shown(4)->HasMemo);
    EXPECT_EQ(shown(5)->Picture.width(), 1);
    EXPECT_TRUE(shown(0)->MemoText.isEmpty());

    report.record = 2;
    c.StepData(sdNext);
    EXPECT_EQ(shown(4)->MemoText, QStringLiteral("poznámka 1 záznamu 2"));
    EXPECT_EQ(shown(5)->Picture.width(), 2);
    // the document's elements and the undo list hold no live values
    EXPECT_FALSE(element(idAt(biBody, 4)).HasMemo);
    EXPECT_TRUE(element(idAt(biBody, 5)).Picture.isNull());
    EXPECT_EQ(steps(), 1);
    // an edit keeps showing the current record
    c.selectOnly(idAt(biBody, 4));
    c.KeyMove(1, 0, false, false);
    EXPECT_EQ(shown(4)->MemoText, QStringLiteral("poznámka 1 záznamu 2"));
    EXPECT_EQ(shown(4)->Left, 1);
}

TEST_F(DesignerControllerTest, VariantDesignerSavesThroughItsOwnerAndItsEditIsOneStep)
{
    FakeReport variant;
    variant.model.SetParentReport(&report.model);
    variant.predloha = {QStringLiteral("I,3,2,1,40,0"), QStringLiteral("T,1,0,10,0,100,20,Arial,10,0,0,0,0,238,\"detail\",0")};
    report.variant = &variant;
    report.predloha << QStringLiteral("T,15,0,0,90,200,20,,1,0,0,0,0,0")
                    << QStringLiteral("D0,I,3,2,1,40,0")
                    << QStringLiteral("D0,T,1,0,10,0,100,20,Arial,10,0,0,0,0,238,\"detail\",0");
    DesignerController& owner = open();
    const QString moved = QStringLiteral("D0,T,1,0,11,0,100,20,Arial,10,0,0,0,0,238,\"detail\",0");
    report.editDetail = [&](int index) {
        EXPECT_EQ(index, 0);
        FakeView variantView;
        DesignerController designer(variant, variantView, dialogs, {});
        EXPECT_EQ(designer.Owner(), &owner);
        ASSERT_TRUE(designer.OpenReport());
        designer.selectOnly(designer.Document().State().Band(biBody)[0].Id);
        designer.KeyMove(1, 0, false, false);
        EXPECT_TRUE(designer.Save());
        EXPECT_FALSE(designer.IsModified());
        // a failed save of the owner: the owner alone says so
        designer.KeyMove(1, 0, false, false);
        report.saveResult = SaveResult::Failed;
        services.clear();
        EXPECT_FALSE(designer.Save());
        EXPECT_EQ(services.messages.size(), 1u);
        EXPECT_TRUE(designer.IsModified());
    };
    owner.selectOnly(idAt(biBody, 4));
    owner.EditElement();
    ASSERT_EQ(report.saved.size(), 2u);   // both saves went through the owner
    EXPECT_TRUE(report.saved[0].contains(moved));
    EXPECT_EQ(OperandHost(), &owner);
    EXPECT_EQ(DesignerController::OwnerOf(&report.model), nullptr);
    // the second edit failed to save, yet it is in the owner's template as a step
    EXPECT_TRUE(owner.IsModified());
    EXPECT_EQ(view.undoHint, QStringLiteral("Zrušit změna detailu"));
    EXPECT_TRUE(doc().Write().contains(QStringLiteral("D0,T,1,0,12,0,100,20,Arial,10,0,0,0,0,238,\"detail\",0")));
    EXPECT_EQ(doc().Write().filter(QStringLiteral("D0,T,")).size(), 1);
}

TEST_F(DesignerControllerTest, CancelledSaveAsIsNoFailure)
{
    class Windows : public ReportWindows
    {
    public:
        int showPreview(TSestavaTyp&, ReportRun*, const WindowPlacement&, int) override { return 0; }
        int showDesigner(TSestavaTyp&, const WindowPlacement&) override { return 0; }
        std::unique_ptr<RunProgress> createProgress(TSestavaTyp&) override { return nullptr; }
        QString chooseTemplateFile(const QString&) override { return chosen; }
        QString chosen;
    } windows;
    setReportWindows(&windows);
    TSestava sestava;
    sestava.ReportDirIgnore = false;
    sestava.SetReportDir(QStringLiteral("/tmp/"));
    sestava.SetReportName(QStringLiteral("zadna.pts"));
    SestavaReport adapter(sestava);
    DesignerController c(adapter, view, dialogs, {});
    EXPECT_FALSE(c.SaveAs());
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(reportWindows(), &windows);

    // a chosen file that cannot be written: the report's own message only
    windows.chosen = QStringLiteral("/nonexistent-genklas-dir/nova.pts");
    EXPECT_FALSE(c.SaveAs());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("Soubor s předlohou se nepodařilo uložit."));
    setReportWindows(nullptr);
}

} // namespace
