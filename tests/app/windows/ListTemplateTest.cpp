// The list's report template sevran.pts over the computed sample list: parsing, pages, totals.
#include "app/calculation/RecognisedStandsTable.h"
#include "app/support/ListPageChecks.h"
#include "app/support/SampleList.h"
#include "app/support/TableDump.h"
#include "app/windows/RecognisedStandsList.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"
#include "platform/db/sql/Query.h"
#include "platform/files/Files.h"
#include "platform/text/DateTime.h"
#include "reports/component/Sestava.h"
#include "reports/expressions/Expression.h"
#include "reports/model/PageSettings.h"
#include "reports/model/TemplateFile.h"
#include "reports/output/PageDump.h"
#include "reports/output/TextMeasurer.h"
#include "reports/support/FixedMeasurer.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace reports;

const QString templatePath = QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data/sevran.pts");

QByteArray templateBytes()
{
    QFile f(templatePath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The version-97 sample unit computed into TGENKL.DB once for all tests; each test works on its own copy.
class ListTemplate : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        s_table = testapp::computeSampleList(s_dir->path());
        s_computed = !s_table.isEmpty();
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_computed);
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QFile::copy(s_table, m_dir.filePath(QStringLiteral("TGENKL.DB"))));
        resetPageSettings();
        txt::SetDateTimeClock([] { return txt::encodeDate(2024, 3, 15) + txt::encodeTime(9, 30, 0, 0); });
        m_report.setMeasurer(&m_measurer);
        m_report.SetReportName(QStringLiteral("sevran.pts"));
        m_report.ReportDirIgnore = false;
        m_report.SetReportDir(files::extractFilePath(templatePath));
        m_source.SetDataSet(&m_list.Query1());
        m_report.SetDataSource(&m_source);
    }
    void TearDown() override
    {
        m_list.Query1().Close();
        txt::SetDateTimeClock({});
        resetPageSettings();
    }

    // The list window's own report query (print order, field settings), and the
    // template read from data/.
    void open()
    {
        m_list.SetDataDir(m_dir.path() + QStringLiteral("/"));
        m_list.openReportQuery();
        m_report.ColumnsFromData();
        ASSERT_TRUE(m_report.NactiPredlohu(false));
    }

    QTemporaryDir m_dir;
    app::RecognisedStandsList m_list;
    db::DataSource m_source;
    test::FixedMeasurer m_measurer;
    TSestava m_report;

    static inline QTemporaryDir* s_dir = nullptr;
    static inline bool s_computed = false;
    static inline QString s_table;
};

// Every line is taken by the model and written back as it stands; every name finds its column
// or function, and the body shows the grid's columns in order.
TEST_F(ListTemplate, ParsesWhollyAndWritesBackItsBytes)
{
    open();
    const QByteArray bytes = templateBytes();
    EXPECT_EQ(TemplateBytes(m_report.WriteTemplate()), bytes);
    const QStringList lines = m_report.Predloha;
    m_report.Predloha.clear();   // what the model alone writes: no line was passed over
    EXPECT_EQ(m_report.WriteTemplate(), lines);

    const PageSettings& page = pageSettings();
    EXPECT_EQ(std::tuple(page.Orientation, page.PaperFormatWidth, page.PaperFormatHeight),
              std::tuple(1, 826, 1169));
    EXPECT_EQ(std::tuple(page.LeftMargin, page.RightMargin, page.TopMargin, page.BottomMargin),
              std::tuple(50, 50, 70, 70));
    QStringList groupColumns;
    for (int g = 0; g < m_report.Groups.Count(); ++g)
        groupColumns << m_report.ColumnName(m_report.Groups.GroupAt(g)->Column);
    EXPECT_EQ(groupColumns, (QStringList{"LHC_KOD", "Okres", "LES_OBL", "NAJEMCE"}));

    SetOperandHost(&m_report);
    for (int f = 0; f < m_report.Funkce.Count(); ++f) {
        TOperandValue value;
        int position = 0;
        EXPECT_EQ(EvaluateExpression(m_report.Funkce.FunctionAt(f)->Vyraz, value, position), 0)
            << m_report.Funkce.FunctionAt(f)->Name.toStdString();
    }
    ReleaseOperandHost(&m_report);

    QStringList body;
    for (int s = 0; s < m_report.Sections.Count(); ++s) {
        const TOddilSestavy& section = m_report.Sections.SectionAt(s);
        for (int e = 0; e < section.ElementCount(); ++e) {
            const TVoReportElement& el = section.ElementAt(e);
            const QString what = QStringLiteral("section %1 element %2").arg(section.Index).arg(e);
            if (el.Kind == ekColumn) {
                EXPECT_EQ(m_report.ColumnIndex(el.RefName), el.Reference) << what.toStdString();
                EXPECT_GE(el.Reference, 0) << what.toStdString();
            }
            if (el.Kind == ekFunction)
                EXPECT_EQ(m_report.Funkce.IndexOfName(el.RefName), el.Reference) << what.toStdString();
            if (el.Kind >= ekText && el.Kind <= ekFunction)
                EXPECT_EQ(std::tuple(el.Font.Name, el.Font.Charset), std::tuple(QStringLiteral("Arial CE"), 238));
            if (section.Index != siBody) continue;
            body << el.RefName;
            const bool isNumber = m_list.Query1().FieldByName(el.RefName).DataType() != db::FieldType::ftString;
            EXPECT_EQ(el.Alignment, isNumber ? 1 : 0) << el.RefName.toStdString();
            EXPECT_EQ(el.Font.Size, 8);
        }
    }
    EXPECT_EQ(body, app::RecognisedStandsList::gridColumns());
}

TEST_F(ListTemplate, LaysTheSampleListOutAsCommitted)
{
    open();
    ASSERT_EQ(m_report.RunReport(true), 0);
    EXPECT_FALSE(m_report.WasClipped());
    EXPECT_EQ(m_report.RecordsPrinted, m_list.Query1().RecordCount());
    testapp::expectGoldenText(QStringLiteral("sevran_pages.txt"), DumpPages(m_report.Output));
}

// Districts, regions and lessees (some rows without one) spread over the sample list's rows.
void spreadGroups(const QString& tablePath)
{
    db::Table table;
    table.SetTableName(tablePath);
    table.Open();
    const QStringList lessees = {QString(), QStringLiteral("Lesní družstvo obcí Vysočina"), QStringLiteral("Jan Novák")};
    for (table.First(); !table.Eof(); table.Next()) {
        const int odd = table.FieldByName("ODD").AsInteger();
        table.Edit();
        table.FieldByName("Okres").AsInteger(odd % 3 == 0 ? 11 : 10);
        table.FieldByName("LES_OBL").AsString(odd % 2 == 0 ? QStringLiteral("17") : QStringLiteral("16"));
        table.FieldByName("NAJEMCE").AsString(lessees[(odd / 2) % 3]);
        table.Post();
    }
}

// On a text-only printer (the template's own line spacing) every row of every page has a
// character line of its own with its texts whole: each record's values, the totals and the
// foot of each page.
TEST_F(ListTemplate, CharacterPagesGiveEveryRowALineOfItsOwn)
{
    open();
    ASSERT_EQ(m_report.RunReport(true), 0);
    const int pages = m_report.Output.PageCount();
    QStringList all, faults;
    for (int p = 0; p < pages; ++p) {
        const QStringList lines = testapp::characterLines(m_report.Output, p, m_report.Raster.LineSpacing);
        faults += testapp::characterLineFaults(m_report.Output, p, lines);
        const QString foot = QStringLiteral("Datum tisku: 15.3.2024 Strana %1 z %2").arg(p + 1).arg(pages);
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const QString& l) { return testapp::wordsOf(l) == testapp::wordsOf(foot); }), 1)
            << "page " << p + 1;
        all += lines;
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
    const QList<QStringList> records = testapp::recordWords(m_list.Query1(), app::RecognisedStandsList::gridColumns());
    ASSERT_EQ(records.size(), m_list.Query1().RecordCount());
    const QStringList missing = testapp::recordsWithoutLine(records, all);
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u'\n').toStdString();
    const QStringList total = all.filter(QRegularExpression(QStringLiteral("^\\s*Celkem za celý seznam")));
    ASSERT_EQ(total.size(), 1);
    EXPECT_EQ(testapp::wordsOf(total[0]).mid(4, 3),
              (QStringList{QStringLiteral("Počet"), QStringLiteral("řádků:"), QString::number(records.size())}));
}

// In the installed fonts no text of the list is cut: headings, values, group heads with long
// lessees, totals and foot. Each column has a heading of its own, and those of areas and
// volumes name their unit.
TEST_F(ListTemplate, TextsFitTheirElementsInTheInstalledFonts)
{
    spreadGroups(m_dir.filePath(QStringLiteral("TGENKL.DB")));
    reports::FontMetricsMeasurer fonts;
    m_report.setMeasurer(&fonts);
    open();
    ASSERT_EQ(m_report.RunReport(true), 0);
    const QStringList cut = testapp::cutTexts(m_report.Output);
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();

    // Headings: the head's texts standing over each body element.
    const TOddilSestavy& head = m_report.Sections.SectionAt(siPageHead);
    const TOddilSestavy& body = m_report.Sections.SectionAt(siBody);
    QStringList headings;
    for (int b = 0; b < body.ElementCount(); ++b) {
        const TVoReportElement& column = body.ElementAt(b);
        QStringList parts;
        for (int h = 0; h < head.ElementCount(); ++h) {
            const TVoReportElement& e = head.ElementAt(h);
            if (e.Kind == ekText && e.Left == column.Left && e.Width == column.Width) parts << e.Text;
        }
        const QString heading = parts.join(u' ');
        EXPECT_FALSE(heading.isEmpty()) << column.RefName.toStdString();
        EXPECT_FALSE(headings.contains(heading)) << heading.toStdString();
        headings << heading;
        if (m_list.Query1().FieldByName(column.RefName).DataType() == db::FieldType::ftFloat) {
            EXPECT_TRUE(heading.contains(QRegularExpression(QStringLiteral("\\((ha|m3|%)\\)$")))) << heading.toStdString();
        }
    }
}

// Sums of a group end: the group's key and the four values it prints.
struct GroupTotal
{
    QStringList key;
    double plocha = 0, zasoba = 0, tezba = 0;
    int rows = 0;
};

// Every group end and the report end give the sums local SQL gives for the same rows, over a
// list of several districts, regions and lessees, and over an empty list; every lessee group
// opens with its lessee.
TEST_F(ListTemplate, TotalsEqualTheSumsOfTheirRows)
{
    spreadGroups(m_dir.filePath(QStringLiteral("TGENKL.DB")));
    const QStringList keyFields = {"LHC_KOD", "Okres", "LES_OBL", "NAJEMCE"};
    const int groups = int(keyFields.size());
    const auto sqlTotals = [this, &keyFields](int level) {
        const QString keys = QStringList(keyFields.mid(0, level)).join(u',');
        db::Query q;
        q.SetDatabaseName(m_dir.path() + QStringLiteral("/"));
        q.SQL().Add(QStringLiteral("select %1 coalesce(sum(Plocha), 0), coalesce(sum(DR_ZAS_CEL), 0), "
                                       "coalesce(sum(DR_TO), 0), count(*) from TGENKL")
                        .arg(level ? keys + u',' : QString()));
        if (level) q.SQL().Add(QStringLiteral("group by %1 order by %1").arg(keys));
        q.Open();
        QList<GroupTotal> out;
        for (q.First(); !q.Eof(); q.Next()) {
            GroupTotal t;
            for (int k = 0; k < level; ++k) t.key << q.Fields(k).AsString();
            t.plocha = q.Fields(level).AsFloat();
            t.zasoba = q.Fields(level + 1).AsFloat();
            t.tezba = q.Fields(level + 2).AsFloat();
            t.rows = q.Fields(level + 3).AsInteger();
            out << t;
        }
        return out;
    };

    for (const bool isEmpty : {false, true}) {
        SCOPED_TRACE(isEmpty ? "empty list" : "sample list");
        if (isEmpty) {
            m_list.Query1().Close();
            db::Table table;
            app::recreateRecognisedStandsTable(table, m_dir.path() + QStringLiteral("/"));
        }
        open();
        // level 0..3 the groups, 4 the report end
        QList<GroupTotal> printed[5];
        QStringList lesseeHeads;
        m_report.OnTiskOddilu = [&](TSestava& report, int index, bool&) {
            if (index == 5 + 2 * (groups - 1))
                lesseeHeads << report.Funkce.FunctionAt(report.Funkce.IndexOfName(QStringLiteral("Najemce")))->ValueText();
            const bool isGroupEnd = index >= 6 && index % 2 == 0;
            if (!isGroupEnd && index != siReportEnd) return;
            const int level = isGroupEnd ? (index - 6) / 2 : groups;
            GroupTotal t;
            for (int k = 0; k < (isGroupEnd ? level + 1 : 0); ++k)
                t.key << report.ColumnText(report.ColumnIndex(keyFields[k]));
            const QStringList names = {"Plocha", "Zasoba", "Tezba", "Pocet"};
            const QString suffix = QStringList{"LHC", "Okres", "Oblast", "Najemce", "Celkem"}[level];
            double v[4];
            for (int n = 0; n < 4; ++n)
                v[n] = report.Funkce.FunctionAt(report.Funkce.IndexOfName(names[n] + suffix))->Hodnota.Number;
            t.plocha = v[0], t.zasoba = v[1], t.tezba = v[2], t.rows = int(v[3]);
            printed[level] << t;
        };
        ASSERT_EQ(m_report.RunReport(true), 0);
        for (int level = 0; level <= groups; ++level) {
            QList<GroupTotal> expected = sqlTotals(level == groups ? 0 : level + 1);
            if (isEmpty && level < groups) expected.clear();   // no record, no group
            ASSERT_EQ(printed[level].size(), expected.size()) << "level " << level;
            for (int i = 0; i < expected.size(); ++i) {
                const GroupTotal &p = printed[level][i], &e = expected[i];
                EXPECT_EQ(p.key.join(u'|').toStdString(), e.key.join(u'|').toStdString()) << "level " << level;
                EXPECT_NEAR(p.plocha, e.plocha, 1e-9);
                EXPECT_NEAR(p.zasoba, e.zasoba, 1e-9);
                EXPECT_NEAR(p.tezba, e.tezba, 1e-9);
                EXPECT_EQ(p.rows, e.rows);
            }
        }
        QStringList expectedHeads;
        for (const GroupTotal& t : sqlTotals(groups)) {
            const QString lessee = t.key.last().trimmed();
            expectedHeads << (lessee.isEmpty() ? QStringLiteral("bez nájemce") : QStringLiteral("Nájemce: ") + lessee);
        }
        EXPECT_EQ(lesseeHeads, expectedHeads);
        if (!isEmpty) {
            EXPECT_GT(printed[1].size(), 1);
            EXPECT_GT(printed[2].size(), printed[1].size());
            EXPECT_GT(printed[3].size(), printed[2].size());
            EXPECT_TRUE(expectedHeads.contains(QStringLiteral("bez nájemce")));
        } else {
            EXPECT_EQ(m_report.Output.PageCount(), 1);
        }
    }
}

} // namespace
