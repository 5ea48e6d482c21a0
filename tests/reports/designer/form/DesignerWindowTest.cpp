// The designer window: initial controls, key routing by focus, closing, data and undo buttons.
#include "reports/designer/form/DesignerWindow.h"

#include "reports/preview/ReportPanels.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStackedWidget>

#include <gtest/gtest.h>

namespace {

using namespace reports;
using namespace reports::designer;

class DesignerWindowTest : public ::testing::Test
{
protected:
    DesignerWindowTest()
    {
        m_paper = new QWidget;
        m_paper->setFocusPolicy(Qt::StrongFocus);
        m_window.setPaper(m_paper);
        const std::pair<void (DesignerWindow::*)(), const char*> heardSignals[] = {
            {&DesignerWindow::undoRequested, "undo"},     {&DesignerWindow::redoRequested, "redo"},
            {&DesignerWindow::deleteRequested, "delete"}, {&DesignerWindow::cutRequested, "cut"},
            {&DesignerWindow::copyRequested, "copy"},     {&DesignerWindow::pasteRequested, "paste"},
            {&DesignerWindow::closeRequested, "close"},
        };
        for (const auto& [signal, name] : heardSignals)
            QObject::connect(&m_window, signal, [this, name] { m_heard.push_back(name); });
        QObject::connect(&m_window, &DesignerWindow::keyMove, [this](int dx, int dy, bool resize, bool raster) {
            m_heard.push_back(QStringLiteral("move %1 %2 %3%4").arg(dx).arg(dy).arg(resize).arg(raster).toStdString());
        });
        m_window.show();
    }

    // Presses a key on a widget of the window and answers what the window made of it.
    std::vector<std::string> press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        m_heard.clear();
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &event);
        return m_heard;
    }

    DesignerWindow m_window;
    QWidget* m_paper = nullptr;
    std::vector<std::string> m_heard;
};

using Heard = std::vector<std::string>;

TEST_F(DesignerWindowTest, StartsWithTheEditingButtonsDisabledAndZoomAtHundred)
{
    const std::pair<TSestButton*, const char*> hints[] = {
        {m_window.SBNova1, "Nová předloha"}, {m_window.SBMazat, "Vymazat prvek"}, {m_window.SBUndo1, "Zrušit"},
        {m_window.SBPreview1, "Ukázka před tiskem"}, {m_window.SBCut, "Vystřihnout"}, {m_window.SBCopy, "Kopírovat"},
        {m_window.SBPaste, "Vložit"}, {m_window.SBUloz1, "Uložit předlohu"}, {m_window.SBKonfPrv, "Nastavit prvek"},
        {m_window.SBRedo1, "Zpět"}, {m_window.SBTisk1, "Tisknout sestavu"},
        {m_window.SBSestNast1, "Nastavit předlohu"}, {m_window.SBKonfig1, "Nastavit prostředí"},
        {m_window.SBKonec1, "Ukončit opravu předlohy"}};
    const QStringList disabled = {"SBMazat", "SBUndo1", "SBCut", "SBCopy", "SBPaste", "SBKonfPrv", "SBRedo1"};
    for (const auto& [button, hint] : hints) {
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(hint)) << hint;
        EXPECT_EQ(button->isEnabled(), !disabled.contains(button->objectName())) << hint;
        EXPECT_EQ(m_window.findChild<TSestButton*>(button->objectName()), button);
    }
    EXPECT_FALSE(m_window.PmUndo->isEnabled());
    EXPECT_FALSE(m_window.PmMazat->isEnabled());
    EXPECT_FALSE(m_window.VyrovnatVybrane->isEnabled());
    EXPECT_TRUE(m_window.VyrovnatVse->isEnabled());
    EXPECT_EQ(m_window.CBMeritka1->count(), 11);
    EXPECT_EQ(m_window.CBMeritka1->currentText(), QStringLiteral("100 %"));
    EXPECT_EQ(m_window.CBMeritka1->itemText(5), QStringLiteral("83 %"));
    EXPECT_EQ(m_window.objects().currentPage(), opPrazdny);
    EXPECT_TRUE(m_window.tools().PanelCbVyberuPrvku->isHidden());
    std::vector<int> lengths;
    for (const char* name : {"EditX", "EditY", "EditW", "EditH"})
        lengths.push_back(m_window.findChild<QLineEdit*>(QString::fromLatin1(name))->maxLength());
    EXPECT_EQ(lengths, (std::vector<int>{4, 4, 4, 3}));
}

TEST_F(DesignerWindowTest, EditingKeysActOnlyWhileThePaperHasTheFocus)
{
    QLineEdit* box = m_window.objects().EditX;
    m_window.enableElementControls(true);
    box->setFocus();
    EXPECT_EQ(press(box, Qt::Key_Z, Qt::ControlModifier), Heard{});
    EXPECT_EQ(press(box, Qt::Key_Delete), Heard{});
    EXPECT_EQ(press(box, Qt::Key_Left, Qt::ControlModifier), Heard{});

    m_paper->setFocus();
    EXPECT_EQ(press(m_paper, Qt::Key_Z, Qt::ControlModifier), Heard{"undo"});
    EXPECT_EQ(press(m_paper, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier), Heard{"redo"});
    EXPECT_EQ(press(m_paper, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier), Heard{});
    EXPECT_EQ(press(m_paper, Qt::Key_Backspace, Qt::AltModifier), Heard{"undo"});
    EXPECT_EQ(press(m_paper, Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier), Heard{"redo"});
    EXPECT_EQ(press(m_paper, Qt::Key_Delete), Heard{"delete"});
    EXPECT_EQ(press(m_paper, Qt::Key_Delete, Qt::ShiftModifier), Heard{"cut"});
    EXPECT_EQ(press(m_paper, Qt::Key_C, Qt::ControlModifier), Heard{"copy"});
    EXPECT_EQ(press(m_paper, Qt::Key_V, Qt::ShiftModifier), Heard{"paste"});
    EXPECT_EQ(press(m_paper, Qt::Key_X, Qt::ControlModifier), Heard{"cut"});
    EXPECT_EQ(press(m_paper, Qt::Key_C), Heard{});
    EXPECT_EQ(press(m_paper, Qt::Key_Insert, Qt::ControlModifier), Heard{"copy"});
    EXPECT_EQ(press(m_paper, Qt::Key_Insert, Qt::ShiftModifier), Heard{"paste"});
    EXPECT_EQ(press(m_paper, Qt::Key_Insert, Qt::ShiftModifier | Qt::ControlModifier), Heard{});
    EXPECT_EQ(press(m_paper, Qt::Key_Left, Qt::ControlModifier), Heard{"move -1 0 00"});
    EXPECT_EQ(press(m_paper, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier), Heard{"move 0 1 01"});
    EXPECT_EQ(press(m_paper, Qt::Key_Right, Qt::ShiftModifier), Heard{"move 1 0 10"});
    EXPECT_EQ(press(m_paper, Qt::Key_Up), Heard{});
    EXPECT_EQ(press(m_paper, Qt::Key_F1), Heard{});
}

TEST_F(DesignerWindowTest, EscapeAsksToCloseFromAnyFocusAndOnlyTheControllerCloses)
{
    QLineEdit* box = m_window.objects().EditW;
    m_window.enableElementControls(true);
    box->setFocus();
    EXPECT_EQ(press(box, Qt::Key_Escape), Heard{"close"});
    EXPECT_EQ(press(m_window.CBMeritka1, Qt::Key_Escape), Heard{"close"});
    EXPECT_TRUE(m_window.isVisible());
    m_heard.clear();
    m_window.close();
    EXPECT_EQ(m_heard, Heard{"close"});
    EXPECT_TRUE(m_window.isVisible());
    m_window.closeWindow(3);
    EXPECT_FALSE(m_window.isVisible());
    EXPECT_EQ(m_window.result(), 3);
}

TEST_F(DesignerWindowTest, DataButtonsFollowTheStepFlagsAndUndoButtonsTheirState)
{
    std::vector<int> steps;
    QObject::connect(&m_window, &DesignerWindow::dataStepRequested, [&](int step) { steps.push_back(step); });
    m_window.BtnL1->click();
    m_window.BtnP1->click();
    EXPECT_EQ(steps, (std::vector<int>{3, 1}));
    const auto enabled = [this] {
        return std::vector<bool>{m_window.BtnF1->isEnabled(), m_window.BtnP1->isEnabled(),
                                 m_window.BtnN1->isEnabled(), m_window.BtnL1->isEnabled()};
    };
    m_window.setDataFlags(1);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true, true}));
    m_window.setDataFlags(2);
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false, false}));
    m_window.setDataFlags(3);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, false}));

    m_window.setUndoState(true, QStringLiteral("Zrušit posun prvku"), false, QStringLiteral("Znovu změny"));
    EXPECT_TRUE(m_window.SBUndo1->isEnabled() && m_window.PmUndo->isEnabled());
    EXPECT_FALSE(m_window.SBRedo1->isEnabled() || m_window.PmRedo->isEnabled());
    EXPECT_EQ(m_window.SBUndo1->toolTip(), QStringLiteral("Zrušit posun prvku"));
    EXPECT_EQ(m_window.PmUndo->text(), QStringLiteral("Zrušit změny"));

    m_window.updateCaption(QStringLiteral("Výpis porostů"), QStringLiteral("POROSTY.PTS"));
    EXPECT_EQ(m_window.windowTitle(), QStringLiteral("Oprava předlohy tiskové sestavy - Výpis porostů (POROSTY.PTS)"));
}

} // namespace
