// The record loop: golden page dumps of the layout cases, page totals, termination, empty data.
#include "reports/engine/SestavaTyp.h"

#include "reports/engine/ReportRun.h"

#include "reports/model/PageSettings.h"
#include "reports/output/PageDump.h"
#include "reports/support/ListReport.h"
#include "support/Golden.h"

#include "platform/text/Cp1250.h"
#include "platform/ui/Services.h"

#include <QRandomGenerator>
#include <QRegularExpression>

#include <map>

#include <gtest/gtest.h>

namespace {

using namespace reports;

// Printable area 726 x 300 (paper 826 x 440 less the start margins).
const QString page = QStringLiteral("I,2,0,826,440,50,50,70,70,1,0");

// A text element line of a section.
QString text(const QString& tag, int kind, const QString& ref, int left, int top, int width, int height,
             const QString& value = {}, int flags = 0)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,Arial,10,0,0,%8,0,238,\"%9\",0")
        .arg(tag).arg(kind).arg(ref).arg(left).arg(top).arg(width).arg(height).arg(flags).arg(value);
}

QString section(int index, int height, int flag = 0)
{
    return QStringLiteral("I,3,%1,1,%2,%3").arg(index).arg(height).arg(flag);
}

// F line of a numeric sum of column n (1-based) reset by `reset`.
QString sum(const QString& name, int column, int reset)
{
    return QStringLiteral("F,0,%1,\"\",0,\"0\",%2,\"#%3\",2,15,0,2").arg(name).arg(reset).arg(column);
}

// Texts of the items of a page whose rectangle has the given width, in top order.
QStringList textsOfWidth(const TSestVystup& out, int pageIndex, int width)
{
    std::vector<std::pair<int, QString>> found;
    const TStranaPrvku& p = out.PageAt(pageIndex);
    for (int i = 0; i < p.count(); ++i)
        if (p.item(i).Rect.width() == width) found.push_back({p.item(i).Rect.top(), p.item(i).ItemText});
    std::stable_sort(found.begin(), found.end(), [](auto& a, auto& b) { return a.first < b.first; });
    QStringList texts;
    for (auto& f : found) texts << f.second;
    return texts;
}

// The same over every page, page after page.
QStringList textsOfWidth(const TSestVystup& out, int width)
{
    QStringList texts;
    for (int p = 0; p < out.PageCount(); ++p) texts += textsOfWidth(out, p, width);
    return texts;
}

class ReportRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetPageSettings();
        m_ui.clear();
        ui::setServices(&m_ui);
    }
    void TearDown() override
    {
        ui::setServices(nullptr);
        resetPageSettings();
    }

    // Rows "group, amount" with the given group of each row and amounts 1, 2, 3...
    static QList<QStringList> rows(const QStringList& groups)
    {
        QList<QStringList> out;
        for (int i = 0; i < groups.size(); ++i) out << QStringList{groups[i], QString::number(i + 1)};
        return out;
    }

    QString run(test::ListReport& report, const QString& golden)
    {
        EXPECT_EQ(report.RunReport(), 0);
        const QString dump = DumpPages(report.Output);
        test_support::expectGolden(QStringLiteral("reports/pages_%1.txt").arg(golden), dump.toUtf8());
        expectNoOverlap(report);
        return dump;
    }

    // No item but the foot's reaches below the foot line.
    static void expectNoOverlap(const test::ListReport& report)
    {
        const int footLine = report.Output.PageHeight - report.Sections.SectionAt(siPageFoot).PrintedHeight();
        for (int p = 0; p < report.Output.PageCount(); ++p)
            for (int i = 0; i < report.Output.PageAt(p).count(); ++i) {
                const QRect r = report.Output.PageAt(p).item(i).Rect;
                if (r.top() < footLine) {
                    EXPECT_LE(r.top() + r.height(), footLine) << "page " << p + 1 << " item " << i;
                }
            }
    }

    ui::RecordingServices m_ui;
};

// Head 30, body 20, page foot 30 with the page sum; group end 40 with the group sum.
QStringList groupTemplate(bool newPage)
{
    return {page,
            section(1, 30), section(2, 20), section(4, 30),
            QStringLiteral("I,4,0,0,1,20,1,40,%1").arg(newPage ? 1 : 0),
            sum(QStringLiteral("Strana"), 2, 1), sum(QStringLiteral("Skupina"), 2, 2),
            text(QStringLiteral("H"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Hlavička")),
            text(QStringLiteral("T"), 2, QStringLiteral("0"), 0, 0, 100, 17),
            text(QStringLiteral("T"), 2, QStringLiteral("1"), 200, 0, 101, 17),
            text(QStringLiteral("P"), 6, QStringLiteral("0"), 200, 5, 102, 17),
            text(QStringLiteral("P"), 5, QStringLiteral("3"), 600, 5, 50, 17, QStringLiteral("str. %d")),
            text(QStringLiteral("S0"), 2, QStringLiteral("0"), 0, 0, 100, 17),
            text(QStringLiteral("U0"), 6, QStringLiteral("1"), 200, 10, 103, 17)};
}

// Sums the amounts of the bodies on each page against the page's foot, and each group's
// amounts against its end section.
// Sums the amounts of the bodies (items 101 wide, 606 in the dump) on each page of the dump
// against the page sum of its foot (102 wide, 612 in the dump).
void expectTotals(const TSestVystup& out, const QList<QStringList>& data)
{
    const QRegularExpression item(QStringLiteral("^  k\\d+ \\d+,\\d+ (\\d+)x\\d+ L\\d+ lines \\S+ \\|(.*)\\|$"));
    QList<int> bodySums;
    QList<QStringList> feet;
    for (const QString& line : DumpPages(out).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("page "))) {
            bodySums << 0;
            feet << QStringList();
            continue;
        }
        const QRegularExpressionMatch m = item.match(line);
        ASSERT_TRUE(m.hasMatch()) << line.toStdString();
        if (m.captured(1) == QLatin1String("606")) bodySums.last() += m.captured(2).toInt();
        if (m.captured(1) == QLatin1String("612")) feet.last() << m.captured(2);
    }
    int total = 0;
    for (int p = 0; p < bodySums.size(); ++p) {
        total += bodySums[p];
        ASSERT_EQ(feet[p].size(), 1) << "page " << p + 1;
        EXPECT_EQ(feet[p][0], QString::number(bodySums[p])) << "page " << p + 1;
    }
    int expected = 0;
    for (const QStringList& r : data) expected += r[1].toInt();
    EXPECT_EQ(total, expected);
}

TEST_F(ReportRunTest, GroupSumsWithAGroupEndThatNoLongerFits)
{
    test::ListReport report;
    report.setTemplate(groupTemplate(false));
    // Group A ends where its end section no longer fits the first page.
    report.rows = rows(QStringList(10, QStringLiteral("A")) + QStringList(5, QStringLiteral("B")));
    const QString dump = run(report, QStringLiteral("group_end_overflow"));
    ASSERT_GE(report.Output.PageCount(), 2);
    expectTotals(report.Output, report.rows);
    // Group totals: A = 1..10, B = 11..15.
    EXPECT_EQ(textsOfWidth(report.Output, 103), (QStringList{QStringLiteral("55"), QStringLiteral("65")}));
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(ReportRunTest, NewPageGroupsStartOnAFreshPage)
{
    test::ListReport report;
    report.setTemplate(groupTemplate(true));
    report.rows = rows({QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    run(report, QStringLiteral("new_page"));
    ASSERT_EQ(report.Output.PageCount(), 3);
    for (int p = 0; p < 3; ++p) EXPECT_EQ(textsOfWidth(report.Output, p, 100).value(0), QString(QChar(u'A' + p)));
    expectTotals(report.Output, report.rows);
}

TEST_F(ReportRunTest, NestedGroupsCountTheirGroupsAndRecords)
{
    test::ListReport report;
    report.setTemplate({page, section(2, 20),
                        QStringLiteral("I,4,0,0,1,20,1,20,0"), QStringLiteral("I,4,1,1,1,20,1,20,0"),
                        text(QStringLiteral("T"), 2, QStringLiteral("2"), 0, 0, 100, 17),
                        text(QStringLiteral("T"), 5, QStringLiteral("7"), 300, 0, 104, 17),
                        text(QStringLiteral("S0"), 2, QStringLiteral("0"), 0, 0, 100, 17),
                        text(QStringLiteral("S1"), 5, QStringLiteral("8"), 100, 0, 105, 17, QStringLiteral("skupina %d")),
                        text(QStringLiteral("U1"), 1, QStringLiteral("0"), 100, 0, 100, 17, QStringLiteral("konec 2")),
                        text(QStringLiteral("U0"), 1, QStringLiteral("0"), 0, 0, 100, 17, QStringLiteral("konec 1"))});
    report.rows = {{"A", "x", "1"}, {"A", "x", "2"}, {"A", "y", "3"}, {"B", "y", "4"}, {"B", "z", "5"}};
    run(report, QStringLiteral("nested_groups"));
    // Inner group numbers restart in every outer group; record numbers in every inner group.
    EXPECT_EQ(textsOfWidth(report.Output, 105), (QStringList{QStringLiteral("skupina 1"), QStringLiteral("skupina 2"), QStringLiteral("skupina 1"),
                                  QStringLiteral("skupina 2")}));
    EXPECT_EQ(textsOfWidth(report.Output, 104), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("1"),
                                    QStringLiteral("1")}));
}

TEST_F(ReportRunTest, TwoColumnsFinishTheRowAtAGroupChange)
{
    test::ListReport report;
    report.setTemplate({QStringLiteral("I,2,0,826,440,50,50,70,70,2,20"), section(2, 20),
                        QStringLiteral("I,4,0,0,1,20,0,0,0"),
                        text(QStringLiteral("T"), 2, QStringLiteral("1"), 0, 0, 101, 17),
                        text(QStringLiteral("S0"), 2, QStringLiteral("0"), 0, 0, 100, 17)});
    report.rows = rows({QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("B"),
                        QStringLiteral("B")});
    run(report, QStringLiteral("two_columns"));
    // Second column at (726 + 20) / 2 = 373; B's start below the unfinished row of A.
    const TStranaPrvku& p = report.Output.PageAt(0);
    QList<QPoint> bodies;
    for (int i = 0; i < p.count(); ++i)
        if (p.item(i).Rect.width() == 101) bodies << p.item(i).Rect.topLeft();
    std::sort(bodies.begin(), bodies.end(), [](QPoint a, QPoint b) { return a.y() < b.y() || (a.y() == b.y() && a.x() < b.x()); });
    EXPECT_EQ(bodies, (QList<QPoint>{{0, 20}, {373, 20}, {0, 40}, {0, 80}, {373, 80}}));
}

TEST_F(ReportRunTest, PagingFlagsOfTheFixedSections)
{
    test::ListReport report;
    // Z alone on page 1, no head on page 1, a page per record, K alone on the last page.
    report.setTemplate({page, section(0, 40, 1), section(1, 30, 1), section(2, 20, 1), section(3, 40, 1),
                        section(4, 30),
                        text(QStringLiteral("Z"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Úvod")),
                        text(QStringLiteral("H"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Hlavička")),
                        text(QStringLiteral("T"), 2, QStringLiteral("1"), 0, 0, 101, 17),
                        text(QStringLiteral("K"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Závěr")),
                        text(QStringLiteral("P"), 5, QStringLiteral("3"), 0, 5, 300, 17, QStringLiteral("str. %d/")),
                        text(QStringLiteral("P"), 5, QStringLiteral("4"), 300, 5, 50, 17)});
    report.rows = rows({QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("A")});
    run(report, QStringLiteral("paging_flags"));
    ASSERT_EQ(report.Output.PageCount(), 5);
    EXPECT_EQ(textsOfWidth(report.Output, 0, 300), (QStringList{QStringLiteral("Úvod"), QStringLiteral("str. 1/")}));
    EXPECT_EQ(textsOfWidth(report.Output, 1, 101), QStringList{QStringLiteral("1")});
    EXPECT_EQ(textsOfWidth(report.Output, 3, 101), QStringList{QStringLiteral("3")});
    EXPECT_EQ(textsOfWidth(report.Output, 4, 300),
              (QStringList{QStringLiteral("Hlavička"), QStringLiteral("Závěr"), QStringLiteral("str. 5/")}));
    for (int p = 0; p < 5; ++p) EXPECT_EQ(textsOfWidth(report.Output, p, 50), QStringList{QStringLiteral("5")});
}

TEST_F(ReportRunTest, MemoOverThreePagesBeforeFixedSegments)
{
    test::ListReport report;
    report.setTemplate({page, section(1, 30), section(2, 60), section(4, 30),
                        text(QStringLiteral("H"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Hlavička")),
                        text(QStringLiteral("T"), 2, QStringLiteral("0"), 0, 0, 200, 17, {}, 16 | 64),
                        text(QStringLiteral("T"), 2, QStringLiteral("1"), 0, 20, 101, 17),
                        text(QStringLiteral("T"), 1, QStringLiteral("0"), 0, 40, 300, 17, QStringLiteral("pod textem")),
                        text(QStringLiteral("P"), 5, QStringLiteral("3"), 0, 5, 300, 17)});
    report.types = {ctMemo, ctString};
    QStringList words;
    for (int i = 1; i <= 40; ++i) words << QStringLiteral("řádek%1").arg(i, 2, 10, QChar(u'0'));
    report.rows = {{words.join(u'\n'), QStringLiteral("7")}, {QStringLiteral("krátký"), QStringLiteral("8")}};
    run(report, QStringLiteral("memo_three_pages"));
    ASSERT_GE(report.Output.PageCount(), 3);
    // Every memo line once, in order, over the pages.
    QStringList shown;
    for (int p = 0; p < report.Output.PageCount(); ++p)
        for (int i = 0; i < report.Output.PageAt(p).count(); ++i) {
            const TVystPrvek& item = report.Output.PageAt(p).item(i);
            if (item.HasMemo && item.ItemLines)
                for (int k = item.FirstLine; k <= item.LastLine; ++k) shown << item.ItemLines->lines[size_t(k)].Text;
        }
    EXPECT_EQ(shown, words + QStringList{QStringLiteral("krátký")});
    // The fixed segments below the memo follow its end on the third page.
    const int last = report.Output.PageCount() - 1;
    EXPECT_FALSE(textsOfWidth(report.Output, 2, 101).isEmpty() && textsOfWidth(report.Output, last, 101).isEmpty());
}

TEST_F(ReportRunTest, APageBelowHeadFootAndOneLineTerminatesAndWarnsOnce)
{
    test::ListReport report;
    // Printable height 300: head 150 + foot 150 leave no room for a body of 20.
    report.setTemplate({page, section(1, 150), section(2, 20), section(4, 150),
                        text(QStringLiteral("H"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Hlavička")),
                        text(QStringLiteral("T"), 2, QStringLiteral("1"), 0, 0, 101, 17),
                        text(QStringLiteral("P"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Pata"))});
    report.rows = rows({QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("A")});
    run(report, QStringLiteral("page_too_small"));
    EXPECT_EQ(report.Output.PageCount(), 1);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, QStringLiteral("Oddíl sestavy je vyšší než stránka a byl oříznut."));
    EXPECT_EQ(m_ui.messages[0].type, ui::MsgType::Warning);
}

TEST_F(ReportRunTest, EmptyDataPrintsNoBodyAndInitialFunctionValues)
{
    test::ListReport report;
    QStringList t = groupTemplate(false);
    t << section(0, 20) << section(3, 20)
      << text(QStringLiteral("Z"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Úvod"))
      << text(QStringLiteral("K"), 6, QStringLiteral("0"), 0, 0, 106, 17);
    report.setTemplate(t);
    run(report, QStringLiteral("empty_set"));
    ASSERT_EQ(report.Output.PageCount(), 1);
    EXPECT_TRUE(textsOfWidth(report.Output, 0, 101).isEmpty());
    EXPECT_TRUE(textsOfWidth(report.Output, 0, 103).isEmpty());
    EXPECT_EQ(textsOfWidth(report.Output, 0, 106), QStringList{QStringLiteral("0")});
    EXPECT_EQ(textsOfWidth(report.Output, 0, 102), QStringList{QStringLiteral("0")});
    EXPECT_EQ(report.RecordsPrinted, 0);
}

TEST_F(ReportRunTest, CharacterRasterSnapsSectionsToLines)
{
    test::ListReport report;
    // Raster on, 6 lines per inch: every section ends on the nearest multiple of 16.667
    // (head 25 -> 17, then each body of 20 one line further).
    report.setTemplate({page, QStringLiteral("I,6,1,8,8,0,0"), section(1, 25), section(2, 20),
                        text(QStringLiteral("H"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Hlavička")),
                        text(QStringLiteral("T"), 2, QStringLiteral("1"), 0, 0, 101, 17)});
    report.rows = rows({QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("A")});
    run(report, QStringLiteral("raster"));
    EXPECT_EQ(textsOfWidth(report.Output, 0, 101).size(), 3);
    QList<int> tops;
    const TStranaPrvku& p = report.Output.PageAt(0);
    for (int i = 0; i < p.count(); ++i)
        if (p.item(i).Rect.width() == 101) tops << p.item(i).Rect.top();
    std::sort(tops.begin(), tops.end());
    EXPECT_EQ(tops, (QList<int>{17, 33, 50}));
}

TEST_F(ReportRunTest, LimitsOfRecordsAndPages)
{
    test::ListReport report;
    report.setTemplate(groupTemplate(false));
    report.rows = rows(QStringList(100, QStringLiteral("A")));
    report.MaxRecords = 5;
    ASSERT_EQ(report.RunReport(), 0);
    EXPECT_EQ(report.RecordsPrinted, 5);
    report.MaxRecords = 0;
    report.EndPage = 2;
    ASSERT_EQ(report.RunReport(), 0);
    EXPECT_EQ(report.Output.PageCount(), 2);
    EXPECT_LT(report.RecordsPrinted, 100);
    report.EndPage = 9999;
    report.TiskJedenZaznam = true;
    report.current = 42;
    ASSERT_EQ(report.RunReport(), 0);
    EXPECT_EQ(report.RecordsPrinted, 1);
    EXPECT_EQ(textsOfWidth(report.Output, 0, 101), QStringList{QStringLiteral("43")});
}

class AbortAfter : public RunProgress
{
public:
    explicit AbortAfter(int record) : m_record(record) {}
    void setRecord(int n) override { m_shown = n; }
    bool aborted() const override { return m_shown >= m_record; }

private:
    int m_record;
    int m_shown = 0;
};

TEST_F(ReportRunTest, AbortInTheProgressWindowAnswers3)
{
    test::ListReport report;
    report.setTemplate(groupTemplate(false));
    report.rows = rows(QStringList(50, QStringLiteral("A")));
    report.progressFactory = [] { return std::make_unique<AbortAfter>(4); };
    EXPECT_EQ(report.RunReport(), 3);
    EXPECT_EQ(report.RecordsPrinted, 3);
}

// Breaks that come before a record's body is printed (a first body below a tall report
// start, a report end that needs a new page) never count the record on the page it left.
TEST_F(ReportRunTest, PageTotalsOnEveryBreakPath)
{
    test::ListReport report;
    QStringList t = groupTemplate(false);
    t << section(0, 215) << section(3, 60, 1)
      << text(QStringLiteral("Z"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Úvod"))
      << text(QStringLiteral("K"), 6, QStringLiteral("1"), 0, 0, 107, 17);
    report.setTemplate(t);
    report.rows = rows({QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("B")});
    run(report, QStringLiteral("page_totals"));
    expectTotals(report.Output, report.rows);
    EXPECT_EQ(textsOfWidth(report.Output, 0, 102), QStringList{QStringLiteral("0")});
}

// Columns 0 lays out as one column; a detail element without its variant is passed over.
TEST_F(ReportRunTest, NoColumnsAndDetailsWithoutVariants)
{
    test::ListReport report;
    report.setTemplate({QStringLiteral("I,2,0,826,440,50,50,70,70,0,0"), section(2, 20),
                        text(QStringLiteral("T"), 2, QStringLiteral("1"), 0, 0, 101, 17),
                        QStringLiteral("T,15,3,0,0,100,20")});
    report.rows = rows({QStringLiteral("A"), QStringLiteral("A")});
    ASSERT_EQ(report.RunReport(), 0);
    EXPECT_EQ(textsOfWidth(report.Output, 0, 101), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(report.Output.PageAt(0).count(), 2);
}

// A detail variant lays its own rows out where its element stands, over pages with the
// parent's head and foot, and the body's fixed part follows below it.
TEST_F(ReportRunTest, DetailVariantGrowsTheBody)
{
    test::ListReport parent;
    test::ListReport detail;
    detail.SetColumns({QStringLiteral("POLOZKA")});
    detail.SetParentReport(&parent);
    parent.setTemplate({page, section(1, 30), section(2, 45), section(4, 30),
                        text(QStringLiteral("H"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Hlavička")),
                        QStringLiteral("T,15,0,0,0,300,20"),
                        text(QStringLiteral("T"), 2, QStringLiteral("1"), 0, 25, 101, 17),
                        text(QStringLiteral("P"), 5, QStringLiteral("3"), 0, 5, 300, 17),
                        QStringLiteral("D0,") + section(2, 17),
                        QStringLiteral("D0,") + text(QStringLiteral("T"), 2, QStringLiteral("0"), 20, 0, 108, 17)});
    for (int i = 1; i <= 20; ++i) detail.rows << QStringList{QStringLiteral("d%1").arg(i)};
    parent.rows = rows({QStringLiteral("A"), QStringLiteral("A")});
    run(parent, QStringLiteral("detail_variant"));
    for (int p = 0; p < parent.Output.PageCount(); ++p)
        EXPECT_EQ(textsOfWidth(parent.Output, p, 300).value(0), QStringLiteral("Hlavička")) << p;
    EXPECT_EQ(textsOfWidth(parent.Output, 108).size(), 40);
    EXPECT_EQ(textsOfWidth(parent.Output, 101), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_GE(parent.Output.PageCount(), 3);
}

// The real font metrics lay the same report out with the same totals (sizes differ).
TEST_F(ReportRunTest, RealFontMetricsKeepTheTotals)
{
    test::ListReport report;
    report.setMeasurer(nullptr);
    report.setTemplate(groupTemplate(false));
    report.rows = rows(QStringList(30, QStringLiteral("A")) + QStringList(20, QStringLiteral("B")));
    ASSERT_EQ(report.RunReport(), 0);
    expectNoOverlap(report);
    expectTotals(report.Output, report.rows);
}

// Templates with hostile numbers (sizes, positions, flags, columns at the ends of the integer
// range) lay out without a fault and end.
TEST_F(ReportRunTest, HostileTemplateNumbersNeverFault)
{
    const QStringList base = groupTemplate(false) << QStringLiteral("I,6,1,8,8,1,1")
                                                  << text(QStringLiteral("T"), 2, QStringLiteral("0"), 0, 20, 100, 17, {}, 16 | 64);
    const char* const extremes[] = {"2147483647", "-2147483648", "0", "-1", "99999", "1000000000"};
    QRandomGenerator rng(99);
    for (int round = 0; round < 600; ++round) {
        QStringList lines = base;
        for (int k = 0; k < 4; ++k) {
            QString& line = lines[rng.bounded(int(lines.size()))];
            QStringList fields = line.split(u',');
            const int at = rng.bounded(1, int(fields.size()));
            if (fields[at].startsWith(u'"')) continue;
            fields[at] = QString::fromLatin1(extremes[rng.bounded(6)]);
            line = fields.join(u',');
        }
        resetPageSettings();
        test::ListReport report;
        report.setTemplate(lines);
        report.rows = rows(QStringList(8, QStringLiteral("A")) + QStringList(4, QStringLiteral("B")));
        ASSERT_EQ(report.RunReport(), 0) << lines.join(u'\n').toStdString();
        ASSERT_LE(report.Output.PageCount(), TSestVystup::maxPages);
    }
}

} // namespace

namespace {

// Texts of the page-count items (51 wide) of every page.
QStringList pageCounts(const TSestVystup& out)
{
    return textsOfWidth(out, 51);
}

QStringList groupTemplateWithCount()
{
    return groupTemplate(false) << text(QStringLiteral("P"), 5, QStringLiteral("4"), 660, 5, 51, 17);
}

// Counts OnVypoctiFunkce per record.
class CountingReport : public test::ListReport
{
public:
    std::map<int, int> computed;
    void DoVypoctiFunkce() override { ++computed[current]; }
};

} // namespace

// Pages kept after an abort count themselves, not the counter's start value.
TEST_F(ReportRunTest, PageCountsAfterAnAbortShowThePagesKept)
{
    test::ListReport report;
    report.setTemplate(groupTemplateWithCount());
    report.rows = rows(QStringList(50, QStringLiteral("A")));
    report.progressFactory = [] { return std::make_unique<AbortAfter>(30); };
    ASSERT_EQ(report.RunReport(), 3);
    ASSERT_EQ(report.Output.PageCount(), 3);
    EXPECT_EQ(pageCounts(report.Output), QStringList(2, QStringLiteral("3")));
}

// Recomputing a pending record's functions after a break fires no second event.
TEST_F(ReportRunTest, FunctionsEventFiresOncePerRecordOverBreaks)
{
    CountingReport report;
    QStringList t = groupTemplate(false);
    t << section(0, 215) << text(QStringLiteral("Z"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Úvod"));
    report.setTemplate(t);
    report.rows = rows(QStringList(20, QStringLiteral("A")) + QStringList(20, QStringLiteral("B")));
    ASSERT_EQ(report.RunReport(), 0);
    ASSERT_GE(report.Output.PageCount(), 3);
    expectTotals(report.Output, report.rows);
    for (const auto& [record, count] : report.computed) EXPECT_EQ(count, 1) << "record " << record + 1;
    EXPECT_EQ(int(report.computed.size()), 40);
}

// A body taller than its page, with an (empty) growing memo column, is cut once on its page
// as a body without one is: one page a record, never a continuation page.
TEST_F(ReportRunTest, AnOversizedBodyWithAGrowingColumnIsCutOnItsPage)
{
    const QStringList body{text(QStringLiteral("T"), 2, QStringLiteral("0"), 0, 0, 200, 17, {}, 64),
                           text(QStringLiteral("T"), 2, QStringLiteral("1"), 0, 20, 101, 17),
                           text(QStringLiteral("T"), 1, QStringLiteral("0"), 0, 230, 300, 17, QStringLiteral("řez")),
                           text(QStringLiteral("T"), 1, QStringLiteral("0"), 0, 380, 300, 17, QStringLiteral("mimo"))};
    test::ListReport report;
    report.setTemplate(QStringList{page, section(1, 30), section(2, 400), section(4, 30),
                                   text(QStringLiteral("H"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Hlavička")),
                                   text(QStringLiteral("P"), 5, QStringLiteral("3"), 0, 5, 300, 17)}
                       + body);
    report.types = {ctMemo, ctString};
    QList<QStringList> data;
    for (int i = 1; i <= 130; ++i) data << QStringList{QString(), QString::number(i)};
    report.rows = data;
    run(report, QStringLiteral("oversized_memo_body"));
    ASSERT_EQ(report.Output.PageCount(), 130);
    for (int p = 0; p < 130; ++p)
        EXPECT_EQ(textsOfWidth(report.Output, p, 101), QStringList{QString::number(p + 1)}) << p;
    EXPECT_EQ(m_ui.messages.size(), 1u);

    // Head and foot leave no room: every record on the one page, as without the memo.
    m_ui.clear();
    test::ListReport squeezed;
    squeezed.setTemplate(QStringList{page, section(1, 150), section(2, 20), section(4, 150),
                                     text(QStringLiteral("H"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Hlavička"))}
                         + body.mid(0, 2));
    squeezed.types = {ctMemo, ctString};
    squeezed.rows = {{QStringLiteral("a\nb\nc"), QStringLiteral("1")}, {QString(), QStringLiteral("2")}};
    ASSERT_EQ(squeezed.RunReport(), 0);
    EXPECT_EQ(squeezed.Output.PageCount(), 1);
    EXPECT_EQ(m_ui.messages.size(), 1u);
}

// A memo line taller than the page is cut at the foot line like any other item.
TEST_F(ReportRunTest, AForcedMemoLineStopsAtTheFoot)
{
    test::ListReport report;
    QString tall = text(QStringLiteral("T"), 2, QStringLiteral("0"), 0, 0, 200, 20, {}, 16 | 64);
    tall.chop(1);
    report.setTemplate({page, section(1, 30), section(2, 20), section(4, 30),
                        text(QStringLiteral("H"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Hlavička")),
                        tall + QStringLiteral("400"),
                        text(QStringLiteral("P"), 5, QStringLiteral("3"), 0, 5, 300, 17)});
    report.types = {ctMemo};
    report.rows = {{QStringLiteral("a\nb\nc")}};
    ASSERT_EQ(report.RunReport(), 0);
    EXPECT_EQ(report.Output.PageCount(), 3);
    expectNoOverlap(report);
    EXPECT_EQ(m_ui.messages.size(), 1u);
}

// The stepped run lays out what the blocking run does, shows finished pages as it goes with
// their page counts empty, and lets no events run inside a step.
TEST_F(ReportRunTest, SteppedRunMatchesTheBlockingRun)
{
    test::ListReport report;
    report.setTemplate(groupTemplateWithCount());
    report.rows = rows(QStringList(30, QStringLiteral("A")) + QStringList(30, QStringLiteral("B")));
    ASSERT_EQ(report.RunReport(), 0);
    const QString blocking = DumpPages(report.Output);
    EXPECT_GT(m_ui.processEventsCount, 0);

    m_ui.clear();
    const std::unique_ptr<ReportRun> stepped = report.StartRun();
    int finished = 0;
    while (stepped->step()) {
        EXPECT_GE(stepped->finishedPages(), finished);
        finished = stepped->finishedPages();
        EXPECT_LE(finished, report.Output.PageCount());
        for (int p = 0; p < finished; ++p) EXPECT_EQ(textsOfWidth(report.Output, p, 51), QStringList{QString()});
    }
    EXPECT_FALSE(stepped->isFinished());
    EXPECT_GE(finished, 4);
    EXPECT_EQ(stepped->finish(), 0);
    EXPECT_EQ(stepped->finish(), 0);
    EXPECT_TRUE(stepped->isFinished());
    EXPECT_EQ(stepped->finishedPages(), report.Output.PageCount());
    EXPECT_EQ(DumpPages(report.Output), blocking);
    EXPECT_EQ(m_ui.processEventsCount, 0);
}

// Slices end once their budget is spent on the clock; an abort keeps the pages laid out.
TEST_F(ReportRunTest, SlicesKeepTheirBudgetAndAbortKeepsPages)
{
    test::ListReport report;
    report.setTemplate(groupTemplateWithCount());
    report.rows = rows(QStringList(60, QStringLiteral("A")));
    std::int64_t now = 0;
    const ReportRun::Clock clock = [&] { return now += 4; };   // 4 ms between readings
    const std::unique_ptr<ReportRun> run = report.StartRun();
    EXPECT_FALSE(run->runSlice(15, clock));
    EXPECT_EQ(report.RecordsPrinted, 4);   // read at 8, 12, 16 and 20 ms of a slice ending at 19
    EXPECT_FALSE(run->runSlice(15, clock));
    EXPECT_EQ(report.RecordsPrinted, 8);
    while (report.Output.PageIndex < 2) ASSERT_FALSE(run->runSlice(15, clock));
    EXPECT_EQ(run->abort(), 3);
    EXPECT_TRUE(run->isFinished());
    const int printed = report.RecordsPrinted;
    EXPECT_TRUE(run->runSlice(15, clock));
    EXPECT_EQ(report.RecordsPrinted, printed);
    const int pages = report.Output.PageCount();
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(pageCounts(report.Output), QStringList(pages - 1, QString::number(pages)));

    // A slice finishes a run whose records are done.
    const std::unique_ptr<ReportRun> whole = report.StartRun();
    while (!whole->runSlice(15, clock)) {}
    EXPECT_EQ(report.RecordsPrinted, 60);
    EXPECT_EQ(pageCounts(report.Output), QStringList(report.Output.PageCount(), QString::number(report.Output.PageCount())));
}

// Freeing a long report's pages takes longer than laying out a page: a new run sets the last
// run's pages aside and frees them a page per record, and a finished run has freed them all.
TEST_F(ReportRunTest, ANewRunFreesTheLastRunsPagesBetweenItsRecords)
{
    test::ListReport report;
    report.setTemplate(groupTemplateWithCount());
    report.rows = rows(QStringList(60, QStringLiteral("A")));
    ASSERT_EQ(report.RunReport(), 0);
    const int pages = report.Output.PageCount();
    ASSERT_GE(pages, 3);
    EXPECT_FALSE(report.Output.ReleaseCleared(0));

    std::int64_t now = 0;
    const ReportRun::Clock clock = [&] { return now += 1; };
    const std::unique_ptr<ReportRun> run = report.StartRun();
    run->runToPage(1);
    EXPECT_TRUE(report.Output.ReleaseCleared(0));   // the first page came before any freeing
    for (int record = 1; record <= pages; ++record) {
        ASSERT_FALSE(run->runSlice(1, clock));   // one record, one page freed
        EXPECT_EQ(report.Output.ReleaseCleared(0), record < pages) << "record " << record;
    }
    ASSERT_EQ(report.RunReport(), 0);   // a blocking run frees what another run set aside
    EXPECT_FALSE(report.Output.ReleaseCleared(0));
    EXPECT_EQ(report.Output.PageCount(), pages);
}

namespace {

// A raster report (6 lines per inch, 26 rows a sheet) whose body is a long memo, in `font`.
QStringList characterTemplate(const QString& font)
{
    QStringList lines{page, QStringLiteral("I,6,1,8,8,0,0"), section(1, 25), section(2, 20), section(4, 34),
                      text(QStringLiteral("H"), 1, QStringLiteral("0"), 0, 0, 300, 17, QStringLiteral("Hlavička")),
                      text(QStringLiteral("T"), 2, QStringLiteral("0"), 0, 0, 300, 20, {}, 16 | 64),
                      text(QStringLiteral("P"), 5, QStringLiteral("3"), 0, 0, 300, 17, QStringLiteral("Strana %d z")),
                      text(QStringLiteral("P"), 5, QStringLiteral("4"), 300, 0, 51, 17),
                      text(QStringLiteral("P"), 1, QStringLiteral("0"), 0, 17, 300, 17, QStringLiteral("konec"))};
    for (QString& line : lines) line.replace(QLatin1String(",Arial,"), u',' + font + u',');
    return lines;
}

} // namespace

// Character output places every laid-out line on a row of its own by its position: a memo
// laid out in lines lower than a row never runs into the foot's rows or off the sheet.
TEST_F(ReportRunTest, CharacterOutputKeepsEveryMemoLineAboveTheFoot)
{
    QStringList words;
    for (int i = 1; i <= 40; ++i) words << QStringLiteral("řádek%1").arg(i, 2, 10, QChar(u'0'));
    for (const char* font : {"Roman 12cpi", "Arial"}) {
        SCOPED_TRACE(font);
        test::ListReport report;
        report.setTemplate(characterTemplate(QString::fromLatin1(font)));
        report.types = {ctMemo};
        report.rows = {{words.join(u'\n')}};
        ASSERT_EQ(report.RunReport(), 0);
        report.Output.setLineSpacing(report.Raster.LineSpacing);
        const QByteArray bytes = report.Output.CharacterBytes(1, 9999, {}, 1, TSestLanguage::slUndefined);
        const QString name = QString::fromLatin1(font).toLower().replace(u' ', u'_');
        test_support::expectGolden(QStringLiteral("reports/character_memo_%1.txt").arg(name), bytes);

        const QStringList rows = Cp1250::decode(bytes).split(QStringLiteral("\r\n"));
        const int pages = report.Output.PageCount();
        ASSERT_EQ(rows.size(), pages * 26 + 1);
        QStringList shown;
        for (int p = 0; p < pages; ++p) {
            const QStringList sheet = rows.mid(p * 26, 26);
            const qsizetype foot = sheet.indexOf(QRegularExpression(QStringLiteral("^ *Strana %1 z +%2 *$").arg(p + 1).arg(pages)));
            ASSERT_GE(foot, 0) << "page " << p + 1;
            EXPECT_TRUE(sheet[foot + 1].trimmed() == QLatin1String("konec")) << "page " << p + 1;
            for (qsizetype r = 0; r < foot; ++r)
                if (sheet[r].trimmed().startsWith(QStringLiteral("řádek"))) shown << sheet[r].trimmed();
        }
        EXPECT_EQ(shown, words);
    }
}

namespace {

// A page broken by the step to the next record: how the rows fall and which group they form.
struct RecordBreakCase {
    const char* name;
    QStringList groups;   // group of each row; empty: the template has no group
    bool newPage = false;
    friend void PrintTo(const RecordBreakCase& c, std::ostream* os) { *os << c.name; }
};

class RecordBreak : public ReportRunTest, public ::testing::WithParamInterface<RecordBreakCase>
{
};

// Head and foot each name the record in a column element: the head the record of the page's
// first body, the foot the record of its last.
TEST_P(RecordBreak, HeadShowsTheNewRecordAndFootTheOld)
{
    const RecordBreakCase& c = GetParam();
    const bool grouped = !c.groups.isEmpty();
    QStringList t{page, section(1, 30), section(2, 20), section(4, 30),
                  text(QStringLiteral("H"), 2, QStringLiteral("1"), 0, 5, 109, 17),
                  text(QStringLiteral("T"), 2, QStringLiteral("1"), 0, 0, 101, 17),
                  text(QStringLiteral("P"), 2, QStringLiteral("1"), 0, 5, 110, 17)};
    if (grouped)
        t << QStringLiteral("I,4,0,0,1,20,1,20,%1").arg(c.newPage ? 1 : 0)
          << text(QStringLiteral("S0"), 2, QStringLiteral("0"), 0, 0, 100, 17)
          << text(QStringLiteral("U0"), 1, QStringLiteral("0"), 0, 0, 100, 17, QStringLiteral("konec"));
    test::ListReport report;
    report.setTemplate(t);
    report.rows = rows(grouped ? c.groups : QStringList(30, QStringLiteral("A")));
    ASSERT_EQ(report.RunReport(), 0);
    ASSERT_GE(report.Output.PageCount(), 2);
    for (int p = 0; p < report.Output.PageCount(); ++p) {
        const QStringList bodies = textsOfWidth(report.Output, p, 101);
        ASSERT_FALSE(bodies.isEmpty()) << "page " << p + 1;
        EXPECT_EQ(textsOfWidth(report.Output, p, 109).join(u',').toStdString(), bodies.first().toStdString())
            << "head of page " << p + 1;
        EXPECT_EQ(textsOfWidth(report.Output, p, 110).join(u',').toStdString(), bodies.last().toStdString())
            << "foot of page " << p + 1;
    }
}

// 300 printable: head 30 and foot 30 leave 240, a group start and eleven bodies.
INSTANTIATE_TEST_SUITE_P(
    ReportRunTest, RecordBreak,
    ::testing::Values(RecordBreakCase{"WithoutGroups", {}},
                      // A ends with the page's room: its end still fits, B's start and first
                      // body do not.
                      RecordBreakCase{"GroupChangeAtTheBreak", QStringList(10, QStringLiteral("A")) + QStringList(14, QStringLiteral("B"))},
                      RecordBreakCase{"BreakWithinAGroup", QStringList(16, QStringLiteral("A")) + QStringList(16, QStringLiteral("B"))},
                      RecordBreakCase{"NewPageGroups", QStringList(3, QStringLiteral("A")) + QStringList(4, QStringLiteral("B")) +
                                                           QStringList(2, QStringLiteral("C")), true}),
    [](const ::testing::TestParamInfo<RecordBreakCase>& info) { return std::string(info.param.name); });

} // namespace
