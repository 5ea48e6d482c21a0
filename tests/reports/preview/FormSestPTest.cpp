// The preview window over a run still going: opening page, count, print button, Esc.
#include "reports/preview/FormSestP.h"

#include "reports/preview/PreviewFixture.h"
#include "reports/preview/ReportPanels.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

using namespace reports;

class FormSestPTest : public test::PreviewFixture
{
};

TEST_F(FormSestPTest, OpensOnTheRangeStartAndPrintsOnlyAfterTheRun)
{
    m_report.StartPage = 3;
    const auto run = startRun();
    TFormSestP form(m_report, run.get());
    form.NastavMeritko(5);
    form.show();
    EXPECT_EQ(form.PanelPrevCisloStrany->text(), QStringLiteral("3"));
    EXPECT_TRUE(form.PanelPrevPocetStran->text().endsWith(QStringLiteral("…")));
    EXPECT_FALSE(form.SBPrevTisk->isEnabled());
    form.Preview->grab();
    EXPECT_GE(form.session().cache().drawn(), 1);
    while (form.session().isRunning()) {
        QApplication::processEvents();
        if (form.session().isRunning()) {
            EXPECT_FALSE(form.SBPrevTisk->isEnabled());
        }
    }
    QApplication::processEvents();
    EXPECT_TRUE(form.SBPrevTisk->isEnabled());
    EXPECT_EQ(form.PanelPrevPocetStran->text(), QString::number(pages));
    EXPECT_EQ(form.Preview->size(), form.session().geometry().panelSize());
}

TEST_F(FormSestPTest, EscapeMidRunStopsAndCloses)
{
    const auto run = startRun();
    TFormSestP form(m_report, run.get());
    form.SBPrevEdit->setEnabled(false);
    form.show();
    QApplication::processEvents();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&form, &esc);
    EXPECT_EQ(form.result(), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(run->isFinished());
    EXPECT_EQ(m_report.restored, 1);
    EXPECT_LT(m_report.RecordsPrinted, records);
}

TEST_F(FormSestPTest, PagingKeysMoveWithinTheFinishedPages)
{
    m_report.rows.resize(130);
    m_report.EndPage = 4;
    m_report.RunReport();
    TFormSestP finished(m_report, nullptr);
    QKeyEvent last(QEvent::KeyPress, Qt::Key_PageDown, Qt::ControlModifier);
    QApplication::sendEvent(&finished, &last);
    EXPECT_EQ(finished.PanelPrevCisloStrany->text(), QStringLiteral("4"));
    EXPECT_FALSE(finished.SBPrevPgDn->isEnabled());
    QKeyEvent up(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QApplication::sendEvent(&finished, &up);
    EXPECT_EQ(finished.PanelPrevCisloStrany->text(), QStringLiteral("3"));
    EXPECT_TRUE(finished.SBPrevTisk->isEnabled());
}

} // namespace
