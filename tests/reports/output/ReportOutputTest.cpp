// Output pages: range, printing with copies and abort, character output and PDF.
#include "reports/output/ReportOutput.h"

#include "platform/Exceptions.h"
#include "reports/model/PageSettings.h"
#include "reports/output/PdfExport.h"
#include "reports/output/TextMeasurer.h"
#include "reports/support/FakePrinter.h"
#include "reports/support/FixedMeasurer.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace reports;

class ReportOutputTest : public ::testing::Test
{
protected:
    void SetUp() override { resetPageSettings(); }
    void TearDown() override { resetPageSettings(); }

    // Pages each holding one text item "Strana n" laid out in a 12-point font.
    void fill(int pages, const TextMeasurer& m = test::FixedMeasurer())
    {
        m_output.Clear();
        for (int p = 0; p < pages; ++p) {
            TVystPrvek i;
            i.Style.Kind = 1;
            i.Style.Font.Name = QStringLiteral("Arial");
            i.Style.Font.Size = 12;
            i.ItemText = QStringLiteral("Strana %1").arg(p + 1);
            i.Rect = QRect(100, 10 + p * 10, 200, 20);
            TextSettings s;
            s.font = i.Style.Font;
            auto lines = std::make_shared<TRadky>(MeasureText(m, i.Rect.width(), i.ItemText, s));
            i.LastLine = lines->count() - 1;
            i.ItemLines = lines;
            m_output.AddItem(std::move(i), p);
        }
    }

    TSestVystup m_output;
};

TEST_F(ReportOutputTest, RangeTrimsPagesAfterTheLast)
{
    fill(5);
    m_output.SetRange(2, 9999, 1);
    EXPECT_EQ(m_output.PageCount(), 5);
    EXPECT_EQ(m_output.currentPage(), 1);
    m_output.SetRange(1, 3, 2);
    EXPECT_EQ(m_output.PageCount(), 3);
    EXPECT_EQ(m_output.copies(), 2);
    EXPECT_FALSE(m_output.AddItem(TVystPrvek{}, TSestVystup::maxPages));
}

TEST_F(ReportOutputTest, GraphicCopiesEachOpenOneDocument)
{
    fill(3);
    test::FakePrinter printer;
    bool abort = false;
    const auto flag = [&] { return abort; };
    ASSERT_TRUE(m_output.PrintGraphic(printer, 1, 3, flag, QStringLiteral("Seznam"), 2));
    const QStringList oneCopy{QStringLiteral("begin Seznam"), QStringLiteral("page"), QStringLiteral("page"),
                              QStringLiteral("page"), QStringLiteral("end")};
    EXPECT_EQ(printer.events, oneCopy + oneCopy);
    // Something was drawn on the page, inside the margins.
    const QImage& first = printer.pages[0];
    int dark = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) dark += qGray(first.pixel(x, y)) < 128;
    EXPECT_GT(dark, 0);
}

TEST_F(ReportOutputTest, AbortOnTheSecondPageOfTheFirstCopyEndsTheJob)
{
    fill(3);
    test::FakePrinter printer;
    bool abort = false;
    const auto flag = [&] { return abort; };
    printer.onPage = [&](int page) { abort = page == 2; };
    EXPECT_FALSE(m_output.PrintGraphic(printer, 1, 3, flag, QStringLiteral("Seznam"), 2));
    EXPECT_EQ(printer.events, (QStringList{QStringLiteral("begin Seznam"), QStringLiteral("page"),
                                           QStringLiteral("page"), QStringLiteral("abort")}));
}

TEST_F(ReportOutputTest, RangesAreClippedAndAnEmptyRangeOpensNoJob)
{
    fill(3);
    test::FakePrinter printer;
    bool abort = false;
    const auto flag = [&] { return abort; };
    ASSERT_TRUE(m_output.PrintGraphic(printer, 2, 99, flag, QStringLiteral("x"), 1));
    EXPECT_EQ(printer.events.count(QStringLiteral("page")), 2);
    printer.events.clear();
    EXPECT_TRUE(m_output.PrintGraphic(printer, 5, 9, flag, QStringLiteral("x"), 1));
    EXPECT_TRUE(m_output.PrintGraphic(printer, 3, 2, flag, QStringLiteral("x"), 1));
    EXPECT_TRUE(printer.events.isEmpty());
    m_output.Clear();
    EXPECT_TRUE(m_output.PrintGraphic(printer, 1, 9999, flag, QStringLiteral("x"), 1));
    EXPECT_TRUE(m_output.PrintCharacter(printer, 1, 9999, flag, QStringLiteral("x"), 1, TSestLanguage::slCP852));
    EXPECT_TRUE(printer.events.isEmpty());
}

// A printer gets each page's rows up to its last text, then a form feed, so every page starts
// on a new sheet whatever form length the printer is set to.
TEST_F(ReportOutputTest, CharacterOutputTakesEachLineAtItsRowAndEndsEachPageWithAFormFeed)
{
    fill(2);
    test::FakePrinter printer;
    bool abort = false;
    const auto flag = [&] { return abort; };
    m_output.setLineSpacing(0);
    ASSERT_TRUE(m_output.PrintCharacter(printer, 1, 2, flag, QStringLiteral("Seznam"), 2, TSestLanguage::slASCII));
    EXPECT_EQ(printer.events, QStringList{QStringLiteral("raw Seznam %1").arg(printer.rawBytes.size())});
    const QList<QByteArray> pages = printer.rawBytes.split('\f');
    ASSERT_EQ(pages.size(), 5);   // two copies of two pages, each page closed by a form feed
    EXPECT_TRUE(pages[4].isEmpty());
    for (int p = 0; p < 4; ++p) {
        const QList<QByteArray> lines = pages[p].split('\n');
        // Text at row round((70 + 10) * 6 / 100) = 5, column 150 * 10 / 100; page 2's text 10
        // lower is still on row 5. Rows 0..5 each end in CR LF, nothing after the last text.
        ASSERT_EQ(lines.size(), 7) << p;
        for (int r = 0; r < 5; ++r) EXPECT_EQ(lines[r], QByteArray("\r")) << p << ' ' << r;
        EXPECT_EQ(lines[5], QByteArray(15, ' ') + "Strana " + QByteArray::number(p % 2 + 1) + QByteArray(20 - 8, ' ') + '\r');
        EXPECT_TRUE(lines[6].isEmpty());
    }
}

// Lines laid out lower than a row (15 against 16.67) go to the rows of their positions, one
// row each, and never into the rows of the item below: twelve lines in 10.8 rows lose one.
TEST_F(ReportOutputTest, CharacterLinesKeepToTheRowsOfTheirItem)
{
    TVystPrvek memo;
    memo.Style.Kind = 2;
    memo.Style.Font.Name = QStringLiteral("Arial");
    memo.Style.Font.Size = 10;
    memo.ItemText = QStringLiteral("a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl");
    TextSettings s;
    s.font = memo.Style.Font;
    s.wordWrap = true;
    memo.ItemLines = std::make_shared<TRadky>(MeasureText(test::FixedMeasurer(), 200, memo.ItemText, s));
    ASSERT_EQ(memo.ItemLines->count(), 12);
    memo.LastLine = 11;
    memo.Rect = QRect(0, 0, 200, 180);   // from row round(70 * 6 / 100) = 4
    TVystPrvek foot = memo;
    foot.ItemLines.reset();
    foot.ItemText = QStringLiteral("pata");
    foot.Rect = QRect(100, 180, 200, 17);   // row round(250 * 6 / 100) = 15
    m_output.AddItem(std::move(memo), 0);
    m_output.AddItem(std::move(foot), 0);
    m_output.setLineSpacing(0);
    const QList<QByteArray> rows = m_output.CharacterBytes(1, 1, {}, 1, TSestLanguage::slASCII).split('\n');
    QByteArray shown;
    for (int r = 4; r <= 15; ++r) shown += rows[r].trimmed() + '|';
    EXPECT_EQ(shown, QByteArray("a|b|c|d|e|f|g|h|i|j|k|pata|"));
}

TEST_F(ReportOutputTest, CharacterFilesAreWrittenWholeOrRaise)
{
    fill(1);
    QTemporaryDir dir;
    bool abort = false;
    const auto flag = [&] { return abort; };
    const QString path = dir.path() + QStringLiteral("/out.txt");
    ASSERT_TRUE(m_output.WriteCharacter(path, 1, 1, flag, 2, TSestLanguage::slCP1250));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray written = f.readAll();
    EXPECT_EQ(written.count("Strana 1"), 2);
    // A file keeps every row of the page (70 at 6 lines per inch) and no form feed.
    EXPECT_EQ(written.count("\r\n"), 2 * 70);
    EXPECT_FALSE(written.contains('\f'));
    EXPECT_THROW(m_output.WriteCharacter(dir.path() + QStringLiteral("/missing/out.txt"), 1, 1, flag, 1,
                                         TSestLanguage::slCP1250),
                 EFileError);
}

TEST_F(ReportOutputTest, PdfHoldsOnePagePerOutputPage)
{
    fill(4);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/out.pdf");
    ASSERT_TRUE(WritePdf(m_output, path, 2, 9999, QStringLiteral("Seznam")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 3);
    EXPECT_FALSE(WritePdf(m_output, path, 5, 9, QStringLiteral("Seznam")));
    // A second writer replaces the file whole.
    ASSERT_TRUE(WritePdf(m_output, path, 1, 1, QStringLiteral("Seznam")));
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    const QByteArray second = again.readAll();
    EXPECT_EQ(QString::fromLatin1(second).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 1);
    EXPECT_TRUE(second.trimmed().endsWith("%%EOF"));
    EXPECT_THROW(WritePdf(m_output, dir.path() + QStringLiteral("/no/out.pdf"), 1, 1, {}), EFileError);
}

// The text of every page comes back out of the PDF (with the system's pdftotext).
TEST_F(ReportOutputTest, PdfPagesCarryTheirText)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    fill(3, FontMetricsMeasurer());
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/out.pdf");
    ASSERT_TRUE(WritePdf(m_output, path, 1, 3, QStringLiteral("Seznam")));
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 3);
    for (int p = 0; p < 3; ++p) EXPECT_TRUE(pages[p].contains(QStringLiteral("Strana %1").arg(p + 1))) << pages[p].toStdString();
}

TEST_F(ReportOutputTest, RenderedPagePictureStretchesIntoThePreview)
{
    fill(2);
    m_output.SelectPage(1);
    EXPECT_EQ(m_output.currentPage(), 1);
    EXPECT_EQ(m_output.pagePicture().boundingRect().width(), m_output.PageWidth * 6);
    m_output.SelectPage(7);
    EXPECT_EQ(m_output.currentPage(), 1);
    QImage image(200, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    m_output.DrawPage(painter, QRectF(0, 0, 200, 300));
    painter.end();
    int dark = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) dark += qGray(image.pixel(x, y)) < 160;
    EXPECT_GT(dark, 0);
}

} // namespace
