// The wizard's generator: the lines of both layouts, wrapping, cut widths and the row limit.
#include "reports/designer/wizard/NewReportGenerator.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using namespace reports::designer;

// Columns c0..c<n-1> of `width` characters, labelled L0.., right-aligned with the top bit set.
std::vector<WizardColumn> columns(int n, int width)
{
    std::vector<WizardColumn> result;
    for (int i = 0; i < n; ++i)
        result.push_back({QStringLiteral("c%1").arg(i), QStringLiteral("L%1").arg(i), width, 0x81});
    return result;
}

WizardChoice choose(int n, bool isRowStyle)
{
    WizardChoice c;
    for (int i = 0; i < n; ++i) c.selected << QStringLiteral("c%1").arg(i);
    c.isRowStyle = isRowStyle;
    c.PW = 726;
    c.PH = 1029;
    return c;
}

WizardDefaults defaults()
{
    WizardDefaults d;
    d.ImplNazevFontu = QStringLiteral("Arial CE");
    d.ImplBarvaFontu = 3;
    d.ImplStylFontu = 1;
    return d;
}

QStringList generate(const std::vector<WizardColumn>& cols, const WizardChoice& c)
{
    QStringList lines{QStringLiteral("X,kept")};
    generateNewReport(lines, cols, c, defaults());
    return lines;
}

TEST(NewReportGenerator, ThreeColumnsFitOneRow)
{
    const QStringList expected = {
        "I,3,0,1,96", "I,3,1,1,28", "I,3,2,1,20", "I,3,3,0,16", "I,3,4,1,32", "X,kept",
        "Z,1,0,0,40,726,40,Times New Roman CE,24,0,1,2,0,1,\"Nadpis sestavy\"",
        "Z,5,0,654,0,72,20,Times New Roman CE,10,0,2,0,0,1",
        "Z,1,0,598,0,56,20,Times New Roman CE,10,0,2,0,0,1,\"Datum:\"",
        "H,3,0,0,0,90,20,Arial CE,10,3,1,1,0,0", "T,2,0,0,0,90,20,Arial CE,10,3,1,1,0,0",
        "H,3,1,90,0,90,20,Arial CE,10,3,1,1,0,0", "T,2,1,90,0,90,20,Arial CE,10,3,1,1,0,0",
        "H,3,2,180,0,90,20,Arial CE,10,3,1,1,0,0", "T,2,2,180,0,90,20,Arial CE,10,3,1,1,0,0",
        "H,7,0,0,20,726,3,,1,0,0,8,15,0",
        "P,1,0,582,8,96,20,Times New Roman CE,10,0,2,1,0,1,\"Stránka číslo:\"",
        "P,5,3,678,8,32,20,Times New Roman CE,10,0,2,1,0,1"};
    EXPECT_EQ(generate(columns(3, 10), choose(3, false)), expected);
}

TEST(NewReportGenerator, NinthColumnWrapsAndAddsTheBodySeparator)
{
    const QStringList lines = generate(columns(9, 10), choose(9, false));
    EXPECT_EQ(lines.mid(1, 2), QStringList({"I,3,1,1,56", "I,3,2,1,48"}));
    EXPECT_TRUE(lines.contains("T,2,7,630,0,90,20,Arial CE,10,3,1,1,0,0"));
    EXPECT_TRUE(lines.contains("T,2,8,0,20,90,20,Arial CE,10,3,1,1,0,0"));
    const qsizetype separator = lines.indexOf("T,7,0,0,40,726,3,,1,0,0,8,15,0");
    ASSERT_GT(separator, 0);
    EXPECT_EQ(lines[separator + 1], "H,7,0,0,48,726,3,,1,0,0,8,15,0");
}

TEST(NewReportGenerator, WideColumnsAreCutToTheirRoom)
{
    // 200 characters of 7 plus 20 would be 1420 wide.
    const QStringList cols = generate(columns(1, 200), choose(1, false));
    EXPECT_TRUE(cols.contains("T,2,0,0,0,726,20,Arial CE,10,3,1,1,0,0"));
    // Rows leave the label (7 x 12 = 84) and a gap of 8.
    const QStringList rows = generate(columns(1, 200), choose(1, true));
    EXPECT_TRUE(rows.contains("T,3,0,0,0,84,20,Arial CE,10,3,1,1,0,0"));
    EXPECT_TRUE(rows.contains("T,2,0,92,0,634,20,Arial CE,10,3,1,1,0,0"));
    EXPECT_EQ(rows.mid(0, 3), QStringList({"I,3,0,1,96", "I,3,1,1,16", "I,3,2,1,36"}));
    EXPECT_TRUE(rows.contains("H,7,0,0,5,726,3,,1,0,0,8,15,0"));
    EXPECT_TRUE(rows.contains("T,7,0,0,28,726,3,,1,0,0,8,15,0"));
}

TEST(NewReportGenerator, RowLayoutStopsWhereThePageEnds)
{
    const QStringList lines = generate(columns(60, 5), choose(60, true));
    EXPECT_EQ(lines.filter(QRegularExpression("^T,2,")).size(), 44);
    EXPECT_TRUE(lines.contains("T,2,43,92,860,55,20,Arial CE,10,3,1,1,0,0"));
    EXPECT_TRUE(lines.contains("T,7,0,0,888,726,3,,1,0,0,8,15,0"));
}

TEST(NewReportGenerator, LabelsAsTextByNameAndUnknownNames)
{
    std::vector<WizardColumn> cols = columns(2, 10);
    cols[1].label = QStringLiteral("Plocha \"ha\"");
    WizardChoice c = choose(2, false);
    c.selected.insert(1, QStringLiteral("neznámá"));
    c.labelsAsText = true;
    c.isByName = true;
    const QStringList lines = generate(cols, c);
    EXPECT_TRUE(lines.contains("H,1,0,90,0,90,20,Arial CE,10,3,1,1,0,0,\"Plocha \"\"ha\"\"\""));
    EXPECT_TRUE(lines.contains("T,2,c1,90,0,90,20,Arial CE,10,3,1,1,0,0"));
    EXPECT_EQ(lines.filter(QRegularExpression("^T,2,")).size(), 2);

    c.isRowStyle = true;
    c.hasLabels = false;
    const QStringList rows = generate(cols, c);
    EXPECT_TRUE(rows.filter(QRegularExpression("^T,[13],")).isEmpty());
    EXPECT_TRUE(rows.contains("T,2,c1,92,20,90,20,Arial CE,10,3,1,1,0,0"));
}

} // namespace
