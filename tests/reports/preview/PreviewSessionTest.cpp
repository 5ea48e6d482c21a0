// The preview over a run still laying pages out: growing count, paging, stopping, the kept
// pages, page images, and printing the pages shown.
#include "reports/preview/PreviewSession.h"

#include "reports/preview/PreviewFixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace reports;

bool hasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return true;
    return false;
}

class PreviewSessionTest : public test::PreviewFixture
{
};

TEST_F(PreviewSessionTest, ShowsTheFirstPageAtOnceAndTheCountGrowsToTheEnd)
{
    const auto run = startRun();
    PreviewSession session(m_report, run.get(), 5, clock());
    EXPECT_TRUE(session.isRunning());
    EXPECT_EQ(session.navigation().current(), 0);
    EXPECT_TRUE(hasInk(session.pageImage(1.0)));
    EXPECT_FALSE(session.canPrint());
    int seen = session.navigation().pageCount();
    EXPECT_LT(seen, pages);
    bool grew = false;
    while (!session.runSlice()) {
        EXPECT_TRUE(session.countText().endsWith(QStringLiteral("…")));
        EXPECT_FALSE(session.canPrint());
        EXPECT_GE(session.navigation().pageCount(), seen);
        grew |= session.navigation().pageCount() > seen;
        seen = session.navigation().pageCount();
        if (session.navigation().next()) session.navigation().setCurrent(*session.navigation().next());
    }
    EXPECT_TRUE(grew);
    EXPECT_EQ(session.navigation().pageCount(), pages);
    EXPECT_EQ(session.countText(), QString::number(pages));
    EXPECT_TRUE(session.canPrint());
    EXPECT_EQ(m_report.RecordsPrinted, records);
}

TEST_F(PreviewSessionTest, ClosingMidRunStopsWithinASliceAndGoesBackToTheRecord)
{
    m_report.current = 0;
    const auto run = startRun();
    PreviewSession session(m_report, run.get(), 5, clock());
    const int before = m_report.RecordsPrinted;
    session.runSlice();
    // A slice ends once 15 ms have passed on the clock: one step a millisecond here.
    EXPECT_LE(m_report.RecordsPrinted - before, PreviewSession::sliceMs + 1);
    EXPECT_GT(m_report.current, 0);
    session.close();
    EXPECT_FALSE(session.isRunning());
    EXPECT_EQ(m_report.restored, 1);
    EXPECT_EQ(m_report.current, m_report.saved);
    EXPECT_LT(m_report.RecordsPrinted, records);
}

TEST_F(PreviewSessionTest, InterruptKeepsThePagesLaidOut)
{
    const auto run = startRun();
    PreviewSession session(m_report, run.get(), 5, clock());
    session.runSlice();
    session.runSlice();
    m_windows.abort = true;
    EXPECT_TRUE(session.runSlice());
    const int kept = session.navigation().pageCount();
    EXPECT_GT(kept, 1);
    EXPECT_LT(kept, pages);
    EXPECT_EQ(kept, m_report.Output.PageCount());
    EXPECT_EQ(m_report.restored, 0);
    EXPECT_TRUE(session.canPrint());
    EXPECT_EQ(session.countText(), QString::number(kept));
}

TEST_F(PreviewSessionTest, OpensOnTheRangeAndProposesItWithTheCopies)
{
    m_report.StartPage = 3;
    m_report.EndPage = 5;
    m_report.PrintCopies = 2;
    const auto run = startRun();
    EXPECT_FALSE(run->isFinished());
    PreviewSession session(m_report, run.get(), 5, clock());
    EXPECT_EQ(session.navigation().current(), 2);
    while (!session.runSlice()) {}
    EXPECT_EQ(session.navigation().pageCount(), 5);
    const TPrintDialogTyp proposed = session.printSettings();
    EXPECT_EQ(proposed.FromPage, 3);
    EXPECT_EQ(proposed.ToPage, 5);
    EXPECT_EQ(proposed.Copies, 2);
    EXPECT_TRUE(proposed.CurrentPageVisible);
    EXPECT_FALSE(proposed.TemplateGroupVisible);

    TPrintDialogTyp chosen = proposed;
    chosen.PrinterIndex = 0;
    EXPECT_EQ(session.print(chosen), 0);
    EXPECT_EQ(m_laser->events, (QStringList{QStringLiteral("begin Tisková sestava"), "page", "page", "page", "end",
                                            QStringLiteral("begin Tisková sestava"), "page", "page", "page", "end"}));
}

TEST_F(PreviewSessionTest, NoPageInTheRangeShowsAndPrintsNothing)
{
    m_report.StartPage = 900;
    const auto run = startRun();
    PreviewSession session(m_report, run.get(), 5, clock());
    EXPECT_FALSE(session.isRunning());
    EXPECT_EQ(session.navigation().current(), -1);
    EXPECT_EQ(session.navigation().currentText(), QStringLiteral("0"));
    EXPECT_EQ(session.countText(), QStringLiteral("0"));
    EXPECT_FALSE(session.canPrint());
    TPrintDialogTyp chosen = session.printSettings();
    chosen.PrinterIndex = 0;
    EXPECT_EQ(session.print(chosen), 6);
    EXPECT_TRUE(m_laser->events.isEmpty());
}

class PreviewPrintTest : public PreviewSessionTest
{
protected:
    void SetUp() override
    {
        PreviewSessionTest::SetUp();
        m_report.rows.resize(130);   // 10 pages
        m_run = startRun();
        m_session = std::make_unique<PreviewSession>(m_report, m_run.get(), 5, clock());
        while (!m_session->runSlice()) {}
        m_chosen = m_session->printSettings();
        m_chosen.PrinterIndex = 0;
    }
    std::unique_ptr<ReportRun> m_run;
    std::unique_ptr<PreviewSession> m_session;
    TPrintDialogTyp m_chosen;
};

TEST_F(PreviewPrintTest, CurrentPageGoesToATextOnlyQueueAsCharacters)
{
    m_session->navigation().setCurrent(3);
    m_chosen.CurrentPage = true;
    m_chosen.PrinterIndex = 1;
    EXPECT_EQ(m_session->print(m_chosen), 0);
    EXPECT_EQ(m_needle->events.size(), 1);
    EXPECT_TRUE(m_needle->events.value(0).startsWith(QStringLiteral("raw Tisková sestava")));
    EXPECT_TRUE(m_needle->rawBytes.contains("str. 4"));
    EXPECT_FALSE(m_needle->rawBytes.contains("str. 3"));
    EXPECT_FALSE(m_needle->rawBytes.contains("str. 5"));
}

TEST_F(PreviewPrintTest, AbortOnTheSecondPageEndsTheJobWithoutTheNextCopy)
{
    m_chosen.Copies = 2;
    m_laser->onPage = [this](int page) { m_windows.abort = page == 2; };
    EXPECT_EQ(m_session->print(m_chosen), 3);
    EXPECT_EQ(m_laser->events, (QStringList{QStringLiteral("begin Tisková sestava"), "page", "page", "abort"}));
}

TEST_F(PreviewPrintTest, RefusedJobGivesTheMessageAndNotDone)
{
    m_laser->refuseJob = true;
    EXPECT_EQ(m_session->print(m_chosen), 6);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_TRUE(m_ui.messages.front().text.contains(QStringLiteral("laser")));
}

TEST_F(PreviewPrintTest, PdfFileGetsTheRange)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sestava.pdf"));
    m_session->pdfName = [&] { return path; };
    m_chosen.PdfFile = true;
    m_chosen.FromPage = 2;
    m_chosen.ToPage = 3;
    EXPECT_EQ(m_session->print(m_chosen), 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF-"));
}

TEST_F(PreviewPrintTest, PageImagesAreKeptPerZoomAndCoverTheBackgroundOverTheSheet)
{
    m_report.BackgroundPicture = QImage(10, 10, QImage::Format_RGB32);
    m_report.BackgroundPicture.fill(Qt::red);
    const QImage& image = m_session->pageImage(1.0);
    const QSize panel = m_session->geometry().panelSize();
    EXPECT_EQ(image.size(), panel);
    // Stretched over the sheet as printed, not drawn at the picture's own 10 pixels.
    EXPECT_EQ(image.pixel(panel.width() - 2, panel.height() - 2), qRgb(255, 0, 0));
    const int drawn = m_session->cache().drawn();
    m_session->pageImage(1.0);
    EXPECT_EQ(m_session->cache().drawn(), drawn);
    m_session->setZoomStep(10);
    EXPECT_EQ(m_session->pageImage(2.0).size(), m_session->geometry().panelSize() * 2);
    EXPECT_EQ(m_session->cache().drawn(), drawn + 1);
}

} // namespace
