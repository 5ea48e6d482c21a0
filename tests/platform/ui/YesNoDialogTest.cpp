// The yes/no window: its layout, its modal results and the services' question through it.
#include "platform/ui/QtServices.h"
#include "platform/ui/YesNoDialog.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Clicks a button of the yes/no window once the modal loop runs.
void clickWhenShown(bool yes)
{
    QTimer::singleShot(0, [yes] {
        auto* dialog = qobject_cast<ui::YesNoDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        (yes ? dialog->yesButton() : dialog->noButton())->click();
    });
}

} // namespace

TEST(YesNoDialog, HoldsTheQuestionAboveTheTwoButtons)
{
    const QString question = QString::fromUtf8("Přepsat výpočet?\nDruhý řádek");
    ui::YesNoDialog dialog(question);
    EXPECT_EQ(dialog.windowTitle(), "Dialog");
    EXPECT_EQ(dialog.size(), QSize(310, 175));
    EXPECT_EQ(dialog.memo()->toPlainText(), question);
    EXPECT_EQ(dialog.memo()->geometry(), QRect(16, 24, 281, 81));
    EXPECT_EQ(dialog.memo()->font().pixelSize(), 13);
    EXPECT_TRUE(dialog.memo()->font().bold());
    EXPECT_EQ(dialog.yesButton()->text(), "&Ano");
    EXPECT_EQ(dialog.yesButton()->geometry(), QRect(75, 127, 75, 44));
    EXPECT_EQ(dialog.noButton()->text(), "&Ne");
    EXPECT_EQ(dialog.noButton()->geometry(), QRect(168, 127, 75, 44));
}

TEST(YesNoDialog, QtServicesAskThroughIt)
{
    ui::QtServices services;
    clickWhenShown(true);
    EXPECT_TRUE(services.askYesNo("Ano?"));
    clickWhenShown(false);
    EXPECT_FALSE(services.askYesNo("Ne?"));
}

// Enter goes to the button that has the focus when the window opens.
TEST(YesNoDialog, ADeletionQuestionOpensWithNeAndOthersWithAno)
{
    ui::QtServices services;
    QString focused;
    auto pressEnter = [&] {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<ui::YesNoDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
            auto* button = qobject_cast<QPushButton*>(target);
            focused = button ? button->text() : QString();
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
        });
    };
    pressEnter();
    EXPECT_FALSE(services.askBeforeDeleting("Smazat?"));
    EXPECT_EQ(focused, "&Ne");
    pressEnter();
    EXPECT_TRUE(services.askYesNo("Uložit?"));
    EXPECT_EQ(focused, "&Ano");
}
