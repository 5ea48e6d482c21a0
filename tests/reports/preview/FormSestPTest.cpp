// The preview window over a run still going: opening page, count, print button, Esc; the
// window's keys from the focused child, the page column's menu and printing from the window.
#include "reports/preview/FormSestP.h"

#include "reports/preview/InfoWindow.h"
#include "reports/preview/PreviewFixture.h"
#include "reports/preview/PreviewWindows.h"
#include "reports/preview/PrintDialog.h"
#include "reports/preview/ReportComboBoxes.h"
#include "reports/preview/ReportPanels.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace reports;

class FormSestPTest : public test::PreviewFixture
{
protected:
    // The window over ten finished pages, shown and active, as the user meets it.
    std::unique_ptr<TFormSestP> finishedForm(Qt::WindowModality modality = Qt::NonModal)
    {
        m_report.rows.resize(130);
        m_report.RunReport();
        auto form = std::make_unique<TFormSestP>(m_report, nullptr);
        form->setWindowModality(modality);
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
    // A key typed on the keyboard: it goes to the widget that has the focus.
    static void type(QWidget& focused, QKeyCombination key)
    {
        focused.setFocus();
        ASSERT_EQ(QApplication::focusWidget(), &focused);
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    }
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
    TFormSestP form(m_report, run.get(), nullptr, clock());
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

TEST_F(FormSestPTest, PagingKeysReachTheWindowFromTheFocusedChild)
{
    const auto form = finishedForm();
    QWidget* const children[] = {form->ScrollBox, form->Preview, form->SBPrevPgDn, form->zoomButtons[3]};
    int page = 1;
    for (QWidget* child : children) {
        SCOPED_TRACE(child->metaObject()->className());
        type(*child, Qt::Key_PageDown);
        EXPECT_EQ(form->PanelPrevCisloStrany->text(), QString::number(++page));
    }
    type(*form->ScrollBox, Qt::Key_PageUp);
    EXPECT_EQ(form->PanelPrevCisloStrany->text(), QString::number(--page));
    type(*form->Preview, Qt::CTRL | Qt::Key_PageDown);
    EXPECT_EQ(form->PanelPrevCisloStrany->text(), QStringLiteral("10"));
    type(*form->ScrollBox, Qt::CTRL | Qt::Key_PageUp);
    EXPECT_EQ(form->PanelPrevCisloStrany->text(), QStringLiteral("1"));
}

TEST_F(FormSestPTest, ArrowsScrollThePageFromAButtonAndTheEditKeepsThem)
{
    const auto form = finishedForm();
    form->NastavMeritko(10);
    QScrollBar* h = form->ScrollBox->horizontalScrollBar();
    QScrollBar* v = form->ScrollBox->verticalScrollBar();
    ASSERT_GT(h->maximum(), 32);
    h->setValue(32);
    v->setValue(0);
    type(*form->zoomButtons[10], Qt::Key_Right);
    EXPECT_EQ(h->value(), 48);
    EXPECT_EQ(QApplication::focusWidget(), form->zoomButtons[10]);
    type(*form->SBPrevTisk, Qt::Key_Left);
    EXPECT_EQ(h->value(), 32);
    type(*form->SBPrevTisk, Qt::Key_Down);
    EXPECT_EQ(v->value(), 16);

    form->PopupMenuStrany->actions().value(0)->trigger();   // "Zobrazit stránku ..."
    ASSERT_EQ(QApplication::focusWidget(), form->EditS);
    form->EditS->setCursorPosition(1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(form->EditS->cursorPosition(), 0);
    EXPECT_EQ(h->value(), 32);
}

TEST_F(FormSestPTest, PageColumnOffersItsMenuOnItsButtonsAndNumbers)
{
    const auto form = finishedForm();
    const auto rightClick = [&](QWidget* w) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(w, &event);
        const bool shown = form->PopupMenuStrany->isVisible();
        form->PopupMenuStrany->hide();
        return shown;
    };
    EXPECT_TRUE(rightClick(form->PanelPrevCisloStrany));
    EXPECT_TRUE(rightClick(form->PanelPrevPocetStran));
    EXPECT_TRUE(rightClick(form->SBPrevPgDn));
    EXPECT_FALSE(form->SBPrevPgFi->isEnabled());
    EXPECT_TRUE(rightClick(form->SBPrevPgFi));
    EXPECT_FALSE(rightClick(form->zoomButtons[0]));
    EXPECT_FALSE(rightClick(form->Preview));
}

// Prints from the window through its print dialog on the entry `choose` picks (the PDF entry
// for -1), pages 1 to `last`; answers the printer the dialog proposed.
QString printFrom(TFormSestP& form, int choose, int last)
{
    QString proposed;
    test::printThroughDialog(form, [&](TSestPrintDlg& dialog) {
        proposed = dialog.ComboBoxPrinter->currentText();
        dialog.SpinEditOd->setValue(1);
        dialog.SpinEditDo->setValue(last);
        if (choose < 0) dialog.ComboBoxPrinter->NastavPdf();
        else dialog.ComboBoxPrinter->NastavTiskarnu(choose);
    });
    return proposed;
}

TEST_F(FormSestPTest, PrintingShowsTheSendingWindowWithItsButtonInReach)
{
    PreviewWindows windows;
    setReportWindows(&windows);
    const auto form = finishedForm(Qt::ApplicationModal);   // as the component shows it
    QStringList shown;
    m_laser->onPage = [&](int page) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* info = dynamic_cast<TFormInfo*>(w); info && info->isVisible()) {
                shown << info->windowTitle() + ": " + info->LabelText->text();
                // "Přerušit" clicked through the window system, which holds back clicks on
                // windows that the modal preview blocks.
                if (page == 1)
                    QTest::mouseClick(info->windowHandle(), Qt::LeftButton, {},
                                      info->Button1->mapTo(info, info->Button1->rect().center()));
            }
    };
    printFrom(*form, 0, 3);
    EXPECT_EQ(shown, QStringList{QString::fromUtf8("Informace: Odesílám data do tiskárny ...")});
    // Stopped before the first page was drawn.
    EXPECT_EQ(form->lastPrintStatus(), 3);
    EXPECT_EQ(m_laser->events, (QStringList{QStringLiteral("begin Tisková sestava"), "page", "abort"}));
}

TEST_F(FormSestPTest, PrintDialogProposesThePrinterChosenLast)
{
    const auto form = finishedForm();
    form->session().pdfName = [] { return QString(); };   // the file dialog cancelled
    EXPECT_EQ(printFrom(*form, 1, 1), QStringLiteral("laser"));   // the default
    EXPECT_EQ(printFrom(*form, -1, 1), QStringLiteral("jehlicka"));
    EXPECT_EQ(printFrom(*form, 0, 1), QString::fromUtf8("Soubor PDF…"));
    EXPECT_EQ(printFrom(*form, 0, 1), QStringLiteral("laser"));
    EXPECT_EQ(form->lastPrintStatus(), 0);
    EXPECT_EQ(m_needle->events.size(), 1);
    EXPECT_EQ(m_laser->events.count(QStringLiteral("end")), 2);
}

} // namespace
