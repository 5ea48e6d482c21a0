// Tests of the report model: groups and sections, element values, pictures, detail
// variants and the answers to operand requests.
#include "reports/model/ReportModel.h"

#include "reports/expressions/Expression.h"
#include "reports/model/PageSettings.h"

#include "platform/Exceptions.h"
#include "platform/text/Numbers.h"

#include <gtest/gtest.h>

#include <set>

using namespace reports;

namespace {

// A report whose pictures "exist" by name and whose columns have types.
class TestReport : public ReportModel
{
public:
    bool NactiObraz(const QString& name, QImage& picture) override
    {
        asked.push_back(name);
        if (!existing.count(name))
            return false;
        picture = QImage(2, 3, QImage::Format_RGB32);
        return true;
    }
    QString GetFileName() const override { return QStringLiteral("/sablony/seznam.pts"); }
    int ColumnDataType(int index) const override
    {
        return index >= 0 && index < int(types.size()) ? types[std::size_t(index)] : ctUnknown;
    }
    QString ColumnMemo(int) const override { return QStringLiteral("dlouhý text"); }

    std::set<QString> existing;
    std::vector<QString> asked;
    std::vector<int> types;
};

class ReportModelTest : public ::testing::Test
{
protected:
    void SetUp() override { resetPageSettings(); }
    void TearDown() override { resetPageSettings(); }
    TVoReportElement& element(const char* line)
    {
        return report.AddElementFromLine(report.Sections.SectionAt(siBody), QString::fromUtf8(line));
    }
    TestReport report;
};

} // namespace

TEST_F(ReportModelTest, GroupsAppendTheirSectionsInOrder)
{
    report.SetPredloha({QStringLiteral("I,4,0,1,1,20,1,30,0"), QStringLiteral("I,4,1,2,0,5,1,6,1")});
    ASSERT_EQ(report.Sections.Count(), 9);   // 0-4, then 5 and 6 for group 0, 7 and 8 for group 1
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(report.Sections.SectionAt(i).Index, i);
    EXPECT_EQ(report.Groups.NameAt(1), QStringLiteral("Skupina 2"));
    EXPECT_EQ(report.Groups.GroupAt(0)->EndSection->PrintedHeight(), 30);
    EXPECT_EQ(report.Groups.GroupAt(1)->StartSection->PrintedHeight(), 0);
    EXPECT_EQ(report.Groups.GroupAt(2), nullptr);

    report.SetPredloha({QStringLiteral("I,4,0,1,1,20,1,30,0"), QStringLiteral("I,4,1,1,1,20,1,30,0"),
                        QStringLiteral("I,4,2,1,1,20,1,30,0")});
    ASSERT_EQ(report.Sections.Count(), 11);
    report.SetPredloha({QStringLiteral("I,0,\"bez skupin\"")});
    EXPECT_EQ(report.Groups.Count(), 0);
    EXPECT_EQ(report.Sections.Count(), 5);
}

TEST_F(ReportModelTest, TooManyGroupsAreIgnored)
{
    QStringList lines;
    for (int i = 0; i < ReportModel::MaxGroups + 10; ++i)
        lines << QStringLiteral("I,4,%1,0,1,1,1,1,0").arg(i);
    report.SetPredloha(lines);
    EXPECT_EQ(report.Groups.Count(), ReportModel::MaxGroups);
    report.ClearTemplate();
    EXPECT_EQ(report.Sections.Count(), 5);
    EXPECT_TRUE(report.Predloha.isEmpty());
}

TEST_F(ReportModelTest, VariableFormatsItsCounter)
{
    TVoReportElement& page = element("T,5,3,0,0,1,1,Arial,8,0,0,0,0,238,\"Strana %d\",0");
    page.Value.Number = 7;
    EXPECT_EQ(page.ValueText(), QStringLiteral("Strana 7"));
    page.Text.clear();
    EXPECT_EQ(page.ValueText(), QStringLiteral("7"));
    page.Text = QStringLiteral("%s!");   // a directive that does not match prints the number
    EXPECT_EQ(page.ValueText(), QStringLiteral("7!"));
    page.Value.Number = 1e300;
    EXPECT_EQ(page.ValueText(), QStringLiteral("0!"));

    TVoReportElement& date = element("T,5,0,0,0,1,1,Arial,8,0,0,0,0,238,\"yyyy-mm-dd\",0");
    date.Stamp = txt::encodeDate(2026, 3, 9) + txt::encodeTime(8, 5, 0, 0);
    EXPECT_EQ(date.ValueText(), QStringLiteral("2026-03-09"));
    date.Text.clear();
    EXPECT_EQ(date.ValueText(), QStringLiteral("9.3.2026"));
    date.Reference = varPrintTime;
    EXPECT_EQ(date.ValueText(), QStringLiteral("8:05:00"));
}

TEST_F(ReportModelTest, ValueTextsByKind)
{
    report.SetColumns({QStringLiteral("ODD"), QStringLiteral("POZN")});
    report.ColumnLabels = {QStringLiteral("Oddělení")};
    report.Parametry = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                        QStringLiteral("e")};
    report.types = {ctInteger, ctMemo};
    EXPECT_EQ(element("T,4,4,0,0,1,1").ValueText(), QStringLiteral("e"));
    EXPECT_EQ(element("T,4,5,0,0,1,1").ValueText(), QString());
    EXPECT_EQ(element("T,3,0,0,0,1,1").ValueText(), QStringLiteral("Oddělení"));
    EXPECT_EQ(element("T,3,1,0,0,1,1").ValueText(), QString());
    EXPECT_EQ(element("T,6,0,0,0,1,1").ValueText(), QString());   // no functions
    EXPECT_EQ(element("T,8,0,0,0,1,1").ValueText(), QString());

    TVoReportElement& memo = element("T,2,1,0,0,1,1");
    report.ColumnValueRecord(1, memo.Value);
    EXPECT_EQ(memo.ValueText(), QStringLiteral("Položka 2"));
    EXPECT_TRUE(memo.HasMemo);
    EXPECT_EQ(memo.MemoText, QStringLiteral("dlouhý text"));
}

TEST_F(ReportModelTest, PictureFromListTriesTheTemplateDirectory)
{
    report.existing = {QStringLiteral("/sablony/druhy.bmp")};
    TVoReportElement& e = element("T,11,0,0,0,10,10,,1,0,0,16,15,0,\"prvni.bmp, druhy.bmp\"");
    EXPECT_EQ(e.PictureFile, QStringLiteral("/sablony/druhy.bmp"));
    EXPECT_FALSE(e.Picture.isNull());
    const std::vector<QString> asked = {QStringLiteral("prvni.bmp"), QStringLiteral("/sablony/prvni.bmp"),
                                        QStringLiteral("druhy.bmp"), QStringLiteral("/sablony/druhy.bmp")};
    EXPECT_EQ(report.asked, asked);
    // the list is written back as read
    EXPECT_TRUE(e.FormatElementLine(QStringLiteral("T")).endsWith(QStringLiteral(",\"prvni.bmp, druhy.bmp\"")));

    report.existing.clear();
    e.SetPictureFile(QStringLiteral("x.gif,y.gif"));
    EXPECT_TRUE(e.Picture.isNull());
    EXPECT_EQ(e.PictureFile, QStringLiteral("x.gif"));

    e.SetPictureFromField(QImage(1, 1, QImage::Format_RGB32));
    EXPECT_FALSE(e.Picture.isNull());
    EXPECT_TRUE(e.PictureFile.isEmpty());
    e.SetPictureFromField(QImage());
    EXPECT_TRUE(e.Picture.isNull());
}

TEST_F(ReportModelTest, DetailVariantsFollowTheirParent)
{
    auto variant = std::make_unique<ReportModel>();
    ReportModel other;
    variant->SetParentReport(&report);
    EXPECT_TRUE(variant->IsDetailVariant());
    EXPECT_EQ(report.Details.VariantAt(0), variant.get());
    report.SetParentReport(variant.get());   // a cycle
    EXPECT_FALSE(report.IsDetailVariant());
    variant->SetParentReport(&other);
    EXPECT_EQ(report.Details.Count(), 0);
    EXPECT_EQ(other.Details.Count(), 1);
    variant.reset();
    EXPECT_EQ(other.Details.Count(), 0);

    ReportModel child;
    {
        ReportModel parent;
        child.SetParentReport(&parent);
    }
    EXPECT_FALSE(child.IsDetailVariant());
}

TEST_F(ReportModelTest, DestroyedReportReleasesTheOperandHost)
{
    {
        ReportModel running;
        SetOperandHost(&running);
    }
    EXPECT_EQ(OperandHost(), nullptr);
    SetOperandHost(&report);
    {
        ReportModel other;
    }
    EXPECT_EQ(OperandHost(), &report);
    SetOperandHost(nullptr);
}

// --- operand requests ------------------------------------------------------------------------

namespace {

OperandMessage valueRequest(int code, TOperandValue& v)
{
    OperandMessage m;
    m.WParam = code;
    m.Value = &v;
    m.Result = 77;
    return m;
}

} // namespace

TEST_F(ReportModelTest, ParametersAnswerAsTextWithTheirNumber)
{
    txt::setDecimalSeparator(QLatin1Char(','));
    report.Parametry = {QStringLiteral("12,5")};
    TOperandValue v;
    OperandMessage m = valueRequest(2000, v);
    report.MessageValueRequest(m);
    EXPECT_EQ(v.Kind, okText);
    EXPECT_EQ(v.Number, 12.5);
    EXPECT_EQ(v.Text, QStringLiteral("12,5"));
    EXPECT_EQ(m.Result, 77);

    TOperandValue untouched;
    untouched.Text = QStringLiteral("keep");
    m = valueRequest(2001, untouched);
    report.MessageValueRequest(m);
    EXPECT_EQ(untouched.Text, QStringLiteral("keep"));
}

TEST_F(ReportModelTest, ColumnsAnswerByDataType)
{
    txt::setDecimalSeparator(QLatin1Char(','));
    report.SetColumns({QStringLiteral("ODD"), QStringLiteral("DATUM"), QStringLiteral("NAZEV")});
    report.ColumnValues = {QStringLiteral("12"), QStringLiteral("45000"), QStringLiteral("Bor")};
    report.types = {ctSmallint, ctDate, ctString};
    const auto ask = [&](int code) {
        TOperandValue v;
        OperandMessage m = valueRequest(code, v);
        report.MessageValueRequest(m);
        return v;
    };
    EXPECT_EQ(ask(4000).Kind, okNumber);
    const TOperandValue date = ask(4001);
    EXPECT_EQ(date.Kind, okEmpty);
    EXPECT_EQ(date.Number, 45000);
    EXPECT_EQ(date.Text, QStringLiteral("45000"));
    EXPECT_EQ(ask(4002).Kind, okText);
    EXPECT_EQ(ask(4009).Text, QStringLiteral("Položka ?"));

    OperandMessage byName;
    const QString name = QStringLiteral("nazev");
    byName.WParam = OperandMessage::ColumnIndex;
    byName.Name = &name;
    report.MessageValueRequest(byName);
    EXPECT_EQ(byName.Result, 2);
}

TEST_F(ReportModelTest, FunctionsAndOtherCodes)
{
    report.SetPredloha({QStringLiteral("F,0,Soucet,\"\",1,\"abc\",0,\"'x'\",0,15,2,2")});
    TRadekFunkce& f = *report.Funkce.FunctionAt(0);
    f.RequestReset(-1);
    f.Calculate();
    TOperandValue v;
    OperandMessage m = valueRequest(6000, v);
    report.MessageValueRequest(m);
    EXPECT_EQ(v, f.Hodnota);

    const QString name = QStringLiteral("SOUCET");
    OperandMessage index;
    index.WParam = OperandMessage::FunctionIndex;
    index.Name = &name;
    report.MessageValueRequest(index);
    EXPECT_EQ(index.Result, 0);

    OperandMessage none;
    none.WParam = 1;
    report.MessageValueRequest(none);
    EXPECT_EQ(none.Result, -1);
    for (const int code : {7, 6001, 8000, 9999}) {
        TOperandValue w;
        OperandMessage other = valueRequest(code, w);
        report.MessageValueRequest(other);
        EXPECT_EQ(other.Result, 77);
        EXPECT_EQ(w, TOperandValue{});
    }
}

TEST_F(ReportModelTest, FaultWhileAnsweringGivesTheClearedValue)
{
    struct FailingReport : ReportModel {
        QString ColumnText(int) const override { throw EDatabaseError(QStringLiteral("chyba")); }
    } failing;
    TOperandValue v;
    v.Number = 5;
    OperandMessage m = valueRequest(4000, v);
    failing.MessageValueRequest(m);
    EXPECT_EQ(v, TOperandValue{});
}

TEST_F(ReportModelTest, ExpressionsReachTheReportAsHost)
{
    report.SetColumns({QStringLiteral("ODD")});
    report.ColumnValues = {QStringLiteral("7")};
    report.types = {ctInteger};
    SetOperandHost(&report);
    TOperandValue v;
    int pos = 0;
    EXPECT_EQ(EvaluateExpression(QStringLiteral("#odd * 2"), v, pos), 0);
    EXPECT_EQ(v.Number, 14);
    SetOperandHost(nullptr);
}
