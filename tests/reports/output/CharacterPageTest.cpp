// Character grid: rows and columns, alignment, dropped texts, code pages and written bytes.
#include "reports/output/CharacterPage.h"

#include "platform/text/Cp1250.h"
#include "reports/support/FixedMeasurer.h"
#include "support/Golden.h"

#include <gtest/gtest.h>

namespace {

using reports::TSestLanguage;
using reports::TZnakovePole;

QByteArray bytes(std::initializer_list<int> codes)
{
    QByteArray out;
    for (const int c : codes) out += char(c);
    return out;
}

TEST(CodePages, AccentedLettersConvertByTheTable)
{
    const QByteArray zlutoucky = Cp1250::encode(QStringLiteral("Žluťoučký"));
    EXPECT_EQ(reports::ConvertCodePage(TSestLanguage::slCP1250, TSestLanguage::slCP867, zlutoucky),
              bytes({146, 108, 117, 159, 111, 117, 135, 107, 152}));
    EXPECT_EQ(reports::ConvertCodePage(TSestLanguage::slCP1250, TSestLanguage::slASCII, zlutoucky), QByteArray("Zlutoucky"));
    EXPECT_EQ(reports::ConvertCodePage(TSestLanguage::slCP852, TSestLanguage::slCP1250, bytes({172, 253})),
              Cp1250::encode(QStringLiteral("Čř")));
    // Not in the table (the euro sign of 1250) and plain ASCII pass unchanged.
    EXPECT_EQ(reports::ConvertChar(TSestLanguage::slCP1250, TSestLanguage::slCP852, 128), 128);
    EXPECT_EQ(reports::ConvertChar(TSestLanguage::slCP1250, TSestLanguage::slCP852, 'a'), 'a');
    EXPECT_EQ(reports::ConvertChar(TSestLanguage::slCP1250, TSestLanguage::slUndefined, 200), 200);
}

TEST(CharacterPage, RowsFollowTheLineSpacing)
{
    TZnakovePole page;
    const std::pair<int, int> cases[] = {{0, 70}, {1, 46}, {2, 35}, {7, 70}};
    for (const auto& [spacing, rows] : cases) {
        page.Priprav(1169, spacing);
        EXPECT_EQ(page.rowCount(), rows) << spacing;
    }
    page.Priprav(-5, 0);
    EXPECT_EQ(page.rowCount(), 0);
}

TEST(CharacterPage, ColumnsFollowThePitchOfTheFontSize)
{
    TZnakovePole page;
    page.Priprav(1169, 0);
    page.VlozText(QRect(100, 0, 200, 20), QStringLiteral("x"), 0, 0, 12, 0);
    page.VlozText(QRect(100, 0, 200, 20), QStringLiteral("y"), 1, 0, 10, 0);
    page.VlozText(QRect(100, 0, 200, 20), QStringLiteral("z"), 0, 0, 8, 0);
    EXPECT_EQ(page.row(0).texts[0], QString(10, u' ') + u'x' + QString(19, u' '));   // columns 11-30
    EXPECT_EQ(page.row(0).texts[8], QString(35, u' ') + u'y');                       // ends at column 36
    EXPECT_EQ(page.row(0).texts[16].size(), 17 + 34);
}

TEST(CharacterPage, AlignmentCutsToTheWidth)
{
    TZnakovePole page;
    page.Priprav(1169, 0);
    page.VlozText(QRect(0, 0, 40, 10), QStringLiteral("abcdef"), 2, 0, 12, 0);
    EXPECT_EQ(page.row(0).texts[0], QStringLiteral("bcde"));
    page.VlozText(QRect(0, 0, 60, 10), QStringLiteral("abc"), 2, 0, 12, 1);
    EXPECT_EQ(page.row(1).texts[0], QStringLiteral(" abc  "));
    page.VlozText(QRect(0, 0, 40, 10), QStringLiteral("abcdef"), 1, 0, 12, 2);
    EXPECT_EQ(page.row(2).texts[0], QStringLiteral("cdef"));
    page.VlozText(QRect(0, 0, 40, 10), QStringLiteral("abcdef"), 0, 0, 12, 3);
    EXPECT_EQ(page.row(3).texts[0], QStringLiteral("abcd"));
}

TEST(CharacterPage, TextsOutsideTheGridAreDroppedOrClipped)
{
    TZnakovePole page;
    page.Priprav(100, 0);   // 6 rows
    page.VlozText(QRect(2500, 0, 100, 10), QStringLiteral("far right"), 0, 0, 12, 0);
    page.VlozText(QRect(0, 0, 100, 10), QStringLiteral("below"), 0, 0, 12, 6);
    page.VlozText(QRect(0, 0, 100, 10), QString(), 0, 0, 12, 0);
    for (int r = 0; r < page.rowCount(); ++r)
        for (const QString& s : page.row(r).texts) EXPECT_TRUE(s.isEmpty()) << r;
    // A negative start column loses the characters left of the edge.
    page.VlozText(QRect(-30, 0, 60, 10), QStringLiteral("abcdef"), 0, 0, 12, 0);
    EXPECT_EQ(page.row(0).texts[0], QStringLiteral("def"));
}

// One page in every code page, a bold word kept beside plain text, empty rows as bare CR LF.
TEST(CharacterPage, WrittenPagesMatchTheirGoldenBytes)
{
    TZnakovePole page;
    page.Priprav(50, 0);   // 3 rows
    page.VlozText(QRect(0, 0, 300, 16), QStringLiteral("Žluťoučký kůň"), 0, 0, 12, 0);
    page.VlozText(QRect(150, 0, 100, 16), QStringLiteral("TUČNĚ"), 0, 1, 12, 0);
    page.VlozText(QRect(0, 33, 300, 16), QStringLiteral("Ďábelské ódy"), 1, 0, 10, 0);
    const std::pair<TSestLanguage, const char*> pages[] = {
        {TSestLanguage::slCP1250, "cp1250"}, {TSestLanguage::slCP852, "cp852"},
        {TSestLanguage::slCP867, "cp867"}, {TSestLanguage::slASCII, "ascii"}};
    for (const auto& [language, name] : pages)
        test_support::expectGolden(QStringLiteral("reports/character_%1.txt").arg(QLatin1String(name)),
                                   page.ZapisStranu(language));
    const QByteArray ascii = page.ZapisStranu(TSestLanguage::slASCII);
    EXPECT_TRUE(ascii.startsWith("Zlutoucky kun  TUCNE")) << ascii.toStdString();
    EXPECT_TRUE(ascii.contains("     \r\n\r\n"));
    EXPECT_TRUE(ascii.endsWith("Dabelske ody\r\n"));
    EXPECT_EQ(ascii.count("\r\n"), 3);
    EXPECT_FALSE(ascii.contains('\f'));
}

TEST(CharacterPage, TextsShareARowAndThePreviewDrawsBoldText)
{
    TZnakovePole page;
    page.Priprav(100, 0);
    page.VlozText(QRect(0, 0, 50, 10), QStringLiteral("left"), 0, 0, 12, 0);
    page.VlozText(QRect(100, 0, 50, 10), QStringLiteral("right"), 0, 0, 12, 0);
    page.VlozText(QRect(200, 0, 50, 10), QStringLiteral("B"), 0, 1, 12, 0);
    EXPECT_EQ(page.ZapisStranu(TSestLanguage::slUndefined).left(22), QByteArray("left      right     B "));
    reports::test::RecordingCanvas canvas;
    page.Kresli(canvas);
    EXPECT_EQ(canvas.drawnText(), QStringLiteral("leftrightB"));
    EXPECT_TRUE(canvas.calls.last().endsWith(QLatin1String("Roman 10cpi bold")));
    EXPECT_FALSE(canvas.calls.first().endsWith(QLatin1String("bold")));
}

} // namespace
