// Offscreen tests of the small dialogs and the unit list of the SQL database of forest units.
#include "app/windows/LhcListWindow.h"

#include "app/sources/sql/ApostropheScan.h"
#include "app/windows/LoginWindow.h"
#include "app/windows/SelectionWindow.h"
#include "app/windows/SqlDialogs.h"

#include "app/sources/sql/SqlFixture.h"
#include "platform/db/sql/Database.h"
#include "platform/ui/QtServices.h"
#include "platform/ui/Services.h"
#include "platform/ui/YesNoDialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

TEST(SqlDialogs, TheKeyDialogTrimsAndRefusesWhatIsNoInteger)
{
    recorder().clear();
    app::TFVybLHCID dialog;
    dialog.show();
    dialog.ELHC_KOD()->setText(QStringLiteral(" 12a"));
    dialog.ELHC_KOD_ID()->setText(QStringLiteral("3"));
    dialog.ButOKClick();
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("Zadání není v pořádku."));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.key());

    dialog.ELHC_KOD()->setText(QStringLiteral(" 12 "));
    dialog.ButOKClick();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ELHC_KOD()->text(), QStringLiteral("12"));
    ASSERT_TRUE(dialog.key());
    EXPECT_EQ(*dialog.key(), (sqlsrc::UnitKey{12, 3}));
    EXPECT_FALSE(app::parseUnitKey(QStringLiteral(""), QStringLiteral("1")));
    EXPECT_FALSE(app::parseUnitKey(QStringLiteral("99999999999"), QStringLiteral("1")));
}

TEST(SqlDialogs, TheOddIdChoiceTakesAnIntegerOrNothing)
{
    recorder().clear();
    app::TFVyODDID dialog(12, {2, 5});
    EXPECT_EQ(dialog.EODD_IDNove()->text(), QStringLiteral("2"));
    dialog.show();
    dialog.EODD_IDNove()->setText(QStringLiteral("2) or (1=1"));
    dialog.Button1Click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("Zadání není v pořádku."));
    dialog.EODD_IDNove()->setText(QStringLiteral(" 7 "));
    dialog.Button1Click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.oddId(), QStringLiteral("7"));
    EXPECT_EQ(app::parseOddId(QStringLiteral("  ")), QString());
}

TEST(SqlDialogs, TransactionEndAndLogin)
{
    app::TFUkonTrans end;
    end.show();
    end.close();
    EXPECT_FALSE(end.Confirmed());
    end.show();
    end.ButOK()->click();
    EXPECT_TRUE(end.Confirmed());

    app::TFVybBase login;
    EXPECT_EQ(login.EPassword()->echoMode(), QLineEdit::Password);
    login.show();
    login.ButStornoClick();
    EXPECT_FALSE(login.Confirmed());
    login.show();
    login.ButOKClick();
    EXPECT_TRUE(login.Confirmed());
}

class LhcListWindowTest : public testsql::SqlDatabaseTest
{
protected:
    void SetUp() override
    {
        SqlDatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (int kod : {1, 2}) {
            insert("LHC", {{"LHC_KOD", kod}, {"LHC_KOD_ID", 0}, {"LHC_NAZ", QStringLiteral("Celek %1").arg(kod)}});
            insert("POROST", {{"LHC_KOD", kod}, {"LHC_KOD_ID", 0}, {"ODD", 1}, {"ODD_ID", 1}});
        }
        database = std::make_unique<db::Database>(QStringLiteral("LHP_ORAC"));
        database->SetAliasName(QStringLiteral("LHP"));
        database->Params() << QStringLiteral("USER NAME=") + login().user;
        database->Open();
    }
    void TearDown() override
    {
        database.reset();
        SqlDatabaseTest::TearDown();
    }
    std::unique_ptr<db::Database> database;
};

TEST_P(LhcListWindowTest, DeleteAsksAndRenumberAsksAgainForATakenKey)
{
    app::TFU_DTB_LES window(QStringLiteral("LHP_ORAC"));
    window.OpenLhcList();
    ASSERT_EQ(window.GU_LHC()->rowCount(), 2);
    EXPECT_EQ(window.currentUnit(), (sqlsrc::UnitKey{1, 0}));

    recorder().script({ui::Answer::No});
    window.Button5Click();
    EXPECT_EQ(count("POROST", 1), 1);

    std::vector<sqlsrc::UnitKey> answers = {{2, 0}, {4, 0}};
    bool enabledMeanwhile = true;
    window.askKey = [&](sqlsrc::UnitKey start) -> std::optional<sqlsrc::UnitKey> {
        EXPECT_EQ(start, (sqlsrc::UnitKey{1, 0}));
        enabledMeanwhile = enabledMeanwhile && (window.GU_LHC()->isEnabled() || window.Preciskuj()->isEnabled());
        if (answers.empty())
            return std::nullopt;
        const sqlsrc::UnitKey next = answers.front();
        answers.erase(answers.begin());
        return next;
    };
    window.Button3Click();
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_EQ(count("POROST", 4), 1);
    EXPECT_EQ(count("LHC", 1), 0);
    EXPECT_EQ(window.currentUnit(), (sqlsrc::UnitKey{4, 0}));
    EXPECT_TRUE(window.GU_LHC()->isEnabled());

    recorder().script({ui::Answer::Yes});
    window.Button5Click();
    EXPECT_EQ(count("POROST", 4), 0);
    EXPECT_EQ(count("LHC", 4), 0);
    EXPECT_EQ(window.GU_LHC()->rowCount(), 1);
}

TEST_P(LhcListWindowTest, CopyGoesToTheLoggedInTargetUnderAFreeKey)
{
    app::TFU_DTB_LES window(QStringLiteral("LHP_ORAC"));
    window.OpenLhcList();
    window.askKey = [](sqlsrc::UnitKey) -> std::optional<sqlsrc::UnitKey> { return sqlsrc::UnitKey{1, 7}; };
    window.ButCopyLHCClick();
    EXPECT_EQ(count("POROST", 1, 7), 1);
    EXPECT_EQ(count("LHC", 1, 7), 1);
    EXPECT_EQ(window.GU_LHC()->rowCount(), 3);
    EXPECT_EQ(window.currentUnit(), (sqlsrc::UnitKey{1, 7}));
    // The copy's log stays in the window's pane beside the list.
    EXPECT_FALSE(window.RichEdit1()->isHidden());
    EXPECT_FALSE(window.GU_LHC()->isHidden());
    const QStringList log = window.RichEdit1()->toPlainText().split(QLatin1Char('\n'));
    EXPECT_TRUE(log.contains(QStringLiteral("V tabulce POROST začínám kopírovat.")));
    EXPECT_TRUE(log.contains(QStringLiteral("V tabulce POROST zkopírováno řádků: 1")));
    EXPECT_EQ(log.back(), QStringLiteral("Proveden commit. Hotovo - zkopírováno LHC."));
    // The scan still takes the list's place, and a second click brings the list back.
    window.ButCarkaClick();
    EXPECT_TRUE(window.GU_LHC()->isHidden());
    EXPECT_FALSE(window.RichEdit1()->toPlainText().contains(QStringLiteral("začínám kopírovat")));
    window.ButCarkaClick();
    EXPECT_FALSE(window.GU_LHC()->isHidden());
}

TEST_P(LhcListWindowTest, EnterChoosesTheUnitAndNeverStartsADeletion)
{
    const app::TFU_DTB_LES window(QStringLiteral("LHP_ORAC"));
    for (QPushButton* b : window.findChildren<QPushButton*>())
        EXPECT_TRUE(b->text() == QStringLiteral("OK") || !b->autoDefault()) << b->text().toStdString();
    // Enter in the list, then Enter with the focus moved onto "Zrus LHC": each chooses the unit.
    for (const bool onDeleteButton : {false, true}) {
        recorder().clear();
        QTimer::singleShot(0, [&] {
            auto* list = qobject_cast<app::TFU_DTB_LES*>(QApplication::activeModalWidget());
            ASSERT_NE(list, nullptr);
            list->GU_LHC()->setCurrentCell(1, 0);
            (onDeleteButton ? static_cast<QWidget*>(list->ZrusLhc()) : list->GU_LHC())->setFocus();
            // A list that Enter left open is closed later, so that the test fails instead of waiting.
            QTimer::singleShot(5000, list, &QDialog::reject);
            QTest::keyClick(list->focusWidget(), Qt::Key_Return);
        });
        EXPECT_EQ(sqlsrc::ChooseUnitInList(QStringLiteral("LHP_ORAC")), (sqlsrc::UnitKey{2, 0}));
        EXPECT_TRUE(recorder().messages.empty());
        EXPECT_EQ(count("LHC", 2), 1);
    }
    // Escape chooses nothing.
    QTimer::singleShot(0, [&] {
        QWidget* list = QApplication::activeModalWidget();
        ASSERT_NE(list, nullptr);
        QTest::keyClick(list->focusWidget() ? list->focusWidget() : list, Qt::Key_Escape);
    });
    EXPECT_FALSE(sqlsrc::ChooseUnitInList(QStringLiteral("LHP_ORAC")));
}

TEST_P(LhcListWindowTest, TheDeletionQuestionOpensWithNeAndEnterAnswersNo)
{
    ui::QtServices services;
    ui::Services* previous = &ui::services();
    ui::setServices(&services);
    app::TFU_DTB_LES window(QStringLiteral("LHP_ORAC"));
    window.OpenLhcList();
    QString focused;
    QTimer::singleShot(0, [&] {
        auto* question = qobject_cast<ui::YesNoDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(question, nullptr);
        focused = question->focusWidget() ? question->focusWidget()->property("text").toString() : QString();
        QTest::keyClick(question->focusWidget() ? question->focusWidget() : question, Qt::Key_Return);
    });
    window.ZrusLhc()->click();
    ui::setServices(previous);
    EXPECT_EQ(focused, QStringLiteral("&Ne"));
    EXPECT_EQ(count("LHC", 1), 1);
    EXPECT_EQ(count("POROST", 1), 1);
}

TEST_P(LhcListWindowTest, SelectionsOpenOncePerUnitAndTheScanReplacesTheList)
{
    app::TFU_DTB_LES window(QStringLiteral("LHP_ORAC"));
    window.OpenLhcList();
    QPointer<app::TFDtbVyb> selection = window.ButVyberyClick();
    ASSERT_NE(selection, nullptr);
    EXPECT_EQ(window.ButVyberyClick(), nullptr);   // the unit is open in a selection window
    selection->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(selection, nullptr);

    window.ButCarkaClick();
    EXPECT_FALSE(window.RichEdit1()->isHidden());
    EXPECT_TRUE(window.GU_LHC()->isHidden());
    EXPECT_EQ(window.RichEdit1()->toPlainText(),
              sqlsrc::ApostropheConditions(*db::Database::find(QStringLiteral("LHP_ORAC"))).join(QLatin1Char('\n')));
    window.ButCarkaClick();
    EXPECT_TRUE(window.RichEdit1()->isHidden());
    EXPECT_FALSE(window.GU_LHC()->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Engines, LhcListWindowTest,
                         ::testing::Values(sqlsrc::Engine::Sqlite, sqlsrc::Engine::Postgres), testsql::engineName);

} // namespace
