// Offscreen tests of the selection window of a unit, on SQLite and PostgreSQL.
#include "app/sources/sql/SqlFixture.h"

#include "app/windows/SelectionWindow.h"
#include "platform/db/sql/Database.h"
#include "platform/ui/Services.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>

namespace {

using sqlsrc::SelectionKind;

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

class SelectionWindowTest : public testsql::SqlDatabaseTest
{
protected:
    void SetUp() override
    {
        SqlDatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        database = connectSource();
        for (int kod : {1, 2}) {
            insert("LHC", {{"LHC_KOD", kod}, {"LHC_KOD_ID", 0}, {"LHC_NAZ", QStringLiteral("Celek %1").arg(kod)}});
            insert("POROST", {{"LHC_KOD", kod}, {"LHC_KOD_ID", 0}, {"ODD", 4}, {"ODD_ID", 0},
                              {"DIL", QStringLiteral("a")}, {"POR", QStringLiteral("1")}});
        }
        insert("POROST_SKUP", {{"LHC_KOD", 1}, {"LHC_KOD_ID", 0}, {"ODD", 4}, {"ODD_ID", 0}, {"DIL", QStringLiteral("a")},
                               {"POR", QStringLiteral("1")}, {"PSK", QStringLiteral("o'1")}});
    }
    void TearDown() override
    {
        window.reset();
        database.reset();
        SqlDatabaseTest::TearDown();
    }
    void openWindow()
    {
        auto selection = sqlsrc::UnitSelection::open(*database, {1, 0});
        ASSERT_NE(selection, nullptr);
        sqlsrc::SelectionDialogs d;
        d.targetKey = [this](sqlsrc::UnitKey) -> std::optional<sqlsrc::UnitKey> { return target; };
        d.targetOddId = [this](int, const QList<int>&) {
            ++oddIdAsked;
            return QStringLiteral("9");
        };
        d.confirmEnd = [this] {
            buttonsEnabledWhileAsked = window->findChild<QPushButton*>(QStringLiteral("ButCopy"))->isEnabled();
            ++endAsked;
            return commit;
        };
        window = std::make_unique<app::TFDtbVyb>(std::move(selection), sqlsrc::UnitRow{{1, 0}, QStringLiteral("Celek 1")}, d);
        window->show();
    }
    void click(const char* name)
    {
        auto* b = window->findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }

    std::unique_ptr<db::Database> database;
    std::unique_ptr<app::TFDtbVyb> window;
    std::optional<sqlsrc::UnitKey> target;
    bool commit = false;
    int oddIdAsked = 0;
    int endAsked = 0;
    bool buttonsEnabledWhileAsked = true;
};

TEST_P(SelectionWindowTest, ListsCopiesAndUndoesThroughTheEndOfTheTransaction)
{
    openWindow();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Výběry 1-0 Celek 1"));
    EXPECT_EQ(window->kind(), SelectionKind::Compartment);
    ASSERT_EQ(window->DBVyber()->rowCount(), 1);
    click("ButPSK");
    ASSERT_EQ(window->DBVyber()->columnCount(), 5);
    ASSERT_EQ(window->DBVyber()->rowCount(), 1);
    EXPECT_EQ(window->DBVyber()->item(0, 4)->text(), QStringLiteral("o'1"));

    target = sqlsrc::UnitKey{2, 0};
    click("ButCopy");
    EXPECT_EQ(window->LLHC_KODcopy()->text(), QStringLiteral("2"));
    EXPECT_EQ(window->LLHC_NAZcopy()->text(), QStringLiteral("Celek 2"));
    EXPECT_EQ(oddIdAsked, 1);   // compartment 4 is in the target
    EXPECT_EQ(window->LODD_ID()->text(), QStringLiteral("9"));

    // The check window reads the target through this window's connection: the copy shows.
    click("ButDestinLHC");
    app::TFDtbVyb* check = window->CheckWindow();
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->windowTitle(), QStringLiteral("Kontrola 2-0 Celek 2"));
    EXPECT_TRUE(check->findChild<QPushButton*>(QStringLiteral("ButCopy"))->isHidden());
    check->findChild<QPushButton*>(QStringLiteral("ButPSK"))->click();
    ASSERT_EQ(check->DBVyber()->rowCount(), 1);
    EXPECT_EQ(check->DBVyber()->item(0, 1)->text(), QStringLiteral("9"));
    check->ButCopyClick();   // changes nothing
    EXPECT_EQ(oddIdAsked, 1);

    click("ButTrans");   // refused: the copy is undone
    EXPECT_EQ(window->CheckWindow(), nullptr);
    EXPECT_EQ(endAsked, 1);
    EXPECT_FALSE(buttonsEnabledWhileAsked);
    EXPECT_TRUE(window->LLHC_KODcopy()->text().isEmpty());
    EXPECT_EQ(count("POROST_SKUP", 2), 0);
    EXPECT_EQ(count("POROST", 2), 1);
}

TEST_P(SelectionWindowTest, ADeleteShowsMazanoAndClosingCommitsOnAno)
{
    openWindow();
    ASSERT_FALSE(HasFatalFailure());
    click("ButPSK");
    EXPECT_TRUE(window->LMazano()->isHidden());
    static_cast<ui::RecordingServices&>(ui::services()).script({ui::Answer::Yes});   // delete the emptied stand
    click("ButDelete");
    EXPECT_FALSE(window->LMazano()->isHidden());
    EXPECT_EQ(window->DBVyber()->rowCount(), 0);
    commit = true;
    window->close();
    EXPECT_EQ(endAsked, 1);
    window.reset();
    EXPECT_EQ(count("POROST_SKUP", 1), 0);
    EXPECT_EQ(count("POROST", 1), 0);
    EXPECT_EQ(count("POROST", 2), 1);
    // The unit is free again once the window is gone.
    EXPECT_FALSE(sqlsrc::UnitSelection::isOpen({1, 0}));
}

TEST_P(SelectionWindowTest, OneWindowPerUnitUntilItCloses)
{
    const sqlsrc::UnitRow unit{{1, 0}, QStringLiteral("Celek 1")};
    QPointer<app::TFDtbVyb> first = app::OpenSelectionWindow(*database, unit);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(app::OpenSelectionWindow(*database, unit), nullptr);
    EXPECT_EQ(static_cast<ui::RecordingServices&>(ui::services()).messages.back().text,
              QStringLiteral("Nelze připojit databázi. Pravděpodobně se snažíš otevří podruhé stejný LHC."));
    first->close();   // nothing changed: no question
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    QPointer<app::TFDtbVyb> again = app::OpenSelectionWindow(*database, unit);
    ASSERT_NE(again, nullptr);
    delete again.data();
}

// Calls back at every status text, so a test sees the windows while an operation runs.
class WatchingServices : public ui::RecordingServices
{
public:
    std::function<void()> onStatus;
    void setStatusText(const QString& text) override
    {
        RecordingServices::setStatusText(text);
        if (onStatus)
            onStatus();
    }
};

TEST_P(SelectionWindowTest, TheCheckWindowDeletesFromTheTargetInTheOwnersTransaction)
{
    insert("POROST_SKUP", {{"LHC_KOD", 1}, {"LHC_KOD_ID", 0}, {"ODD", 4}, {"ODD_ID", 0}, {"DIL", QStringLiteral("a")},
                           {"POR", QStringLiteral("1")}, {"PSK", QStringLiteral("2")}});
    for (const QString& psk : {QStringLiteral("o'1"), QStringLiteral("2")})
        insert("SKODY", {{"LHC_KOD", 1}, {"LHC_KOD_ID", 0}, {"ODD", 4}, {"ODD_ID", 0}, {"DIL", QStringLiteral("a")},
                         {"POR", QStringLiteral("1")}, {"PSK", psk}, {"ETAZ", QStringLiteral("1")}, {"DR_ZKR", QStringLiteral("SM")}});
    // The damage table comes last among a group's tables.
    refuse("DELETE", "SKODY", QStringLiteral("OLD.LHC_KOD = 2 AND OLD.PSK = 'o''1'"));
    openWindow();
    ASSERT_FALSE(HasFatalFailure());
    target = sqlsrc::UnitKey{2, 0};
    click("ButPSK");
    ASSERT_EQ(window->DBVyber()->rowCount(), 2);
    click("ButCopy");
    window->DBVyber()->selectRow(1);
    click("ButCopy");
    click("ButDestinLHC");
    app::TFDtbVyb* check = window->CheckWindow();
    ASSERT_NE(check, nullptr);
    EXPECT_FALSE(check->findChild<QPushButton*>(QStringLiteral("ButDelete"))->isHidden());
    EXPECT_TRUE(check->findChild<QPushButton*>(QStringLiteral("ButTrans"))->isHidden());
    check->findChild<QPushButton*>(QStringLiteral("ButPSK"))->click();
    ASSERT_EQ(check->DBVyber()->rowCount(), 2);
    EXPECT_TRUE(check->LMazano()->isHidden());

    check->DBVyber()->selectRow(1);   // "o'1": its damage row is refused
    check->ButDeleteClick(true);
    ASSERT_FALSE(recorder().messages.empty());
    EXPECT_TRUE(recorder().messages.back().text.endsWith(QStringLiteral("Nic se nezměnilo.")));
    EXPECT_EQ(check->DBVyber()->rowCount(), 2);
    EXPECT_TRUE(check->LMazano()->isHidden());

    // While the delete runs neither window takes a click.
    WatchingServices watching;
    int busySeen = 0;
    int idleSeen = 0;
    watching.onStatus = [&] {
        const bool idle = window->findChild<QPushButton*>(QStringLiteral("ButCopy"))->isEnabled()
                          || window->DBVyber()->isEnabled() || check->DBVyber()->isEnabled()
                          || check->findChild<QPushButton*>(QStringLiteral("ButDelete"))->isEnabled();
        ++(idle ? idleSeen : busySeen);
    };
    ui::RecordingServices& installed = recorder();
    ui::setServices(&watching);
    check->DBVyber()->selectRow(0);   // "2"
    check->ButDeleteClick(true);
    ui::setServices(&installed);
    EXPECT_GT(busySeen, 0);
    EXPECT_EQ(idleSeen, 0);
    EXPECT_TRUE(watching.messages.empty());   // the stand keeps "o'1": no question
    ASSERT_EQ(check->DBVyber()->rowCount(), 1);
    EXPECT_EQ(check->DBVyber()->item(0, 4)->text(), QStringLiteral("o'1"));
    EXPECT_FALSE(check->LMazano()->isHidden());
    EXPECT_TRUE(window->findChild<QPushButton*>(QStringLiteral("ButCopy"))->isEnabled());

    commit = true;
    window->close();
    EXPECT_EQ(endAsked, 1);
    window.reset();
    EXPECT_EQ(count("POROST_SKUP", 2), 1);
    EXPECT_EQ(count("SKODY", 2), 1);
    EXPECT_EQ(count("POROST_SKUP", 1), 2);
    EXPECT_EQ(count("SKODY", 1), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, SelectionWindowTest,
                         ::testing::Values(sqlsrc::Engine::Sqlite, sqlsrc::Engine::Postgres), testsql::engineName);

} // namespace
