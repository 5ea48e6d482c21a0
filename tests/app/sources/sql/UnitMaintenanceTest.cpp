// Tests of deleting, renumbering and copying units and of the row copy, on SQLite and PostgreSQL.
#include "app/sources/sql/SqlFixture.h"

#include "app/sources/sql/RowCopy.h"
#include "app/sources/sql/SelectionSession.h"
#include "app/sources/sql/UnitMaintenance.h"
#include "app/sources/sql/UnitSelection.h"
#include "platform/Exceptions.h"
#include "platform/db/sql/Database.h"
#include "platform/db/sql/Query.h"
#include "platform/ui/Services.h"

#include <QFile>
#include <QList>

#include <algorithm>
#include <QSqlQuery>

namespace {

using sqlsrc::Outcome;
using sqlsrc::UnitKey;

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

class UnitMaintenanceTest : public testsql::SqlDatabaseTest
{
protected:
    void SetUp() override
    {
        SqlDatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        database = connectSource();
        fillUnit(1, QStringLiteral("Jedna's"));
        fillUnit(2, QStringLiteral("Dva"));
    }
    void TearDown() override
    {
        database.reset();
        SqlDatabaseTest::TearDown();
    }

    // One row in every table of the unit.
    void fillUnit(int kod, const QString& name)
    {
        for (const sqlsrc::TableDef& t : sqlsrc::unitTables()) {
            testsql::Row row;
            for (const sqlsrc::ColumnDef& c : t.columns) {
                const QString n = QLatin1String(c.name);
                QVariant v = c.kind == sqlsrc::ColumnKind::Text ? QVariant(QStringLiteral("x'%1").arg(n))
                                                                 : QVariant(c.kind == sqlsrc::ColumnKind::Float ? 1.5 : 3);
                if (n == QLatin1String("LHC_KOD"))
                    v = kod;
                else if (n == QLatin1String("LHC_KOD_ID"))
                    v = 0;
                else if (n == QLatin1String("LHC_NAZ"))
                    v = name;
                row.emplace_back(c.name, v);
            }
            insert(t.name, row);
        }
    }
    // Rows of the unit over all its tables.
    int unitRows(int kod, int id = 0)
    {
        int total = 0;
        for (const sqlsrc::TableDef& t : sqlsrc::unitTables())
            total += count(t.name, kod, id);
        return total;
    }
    void expectUnchangedMessage()
    {
        ASSERT_FALSE(recorder().messages.empty());
        EXPECT_TRUE(recorder().messages.back().text.contains(QStringLiteral("zůstalo beze změny")))
            << recorder().messages.back().text.toStdString();
    }

    std::unique_ptr<db::Database> database;
};

TEST_P(UnitMaintenanceTest, DeleteRemovesEveryTableOfTheUnitOnly)
{
    const int perUnit = int(sqlsrc::unitTables().size());
    ASSERT_EQ(unitRows(1), perUnit);
    sqlsrc::UnitMaintenance m(*database);
    EXPECT_TRUE(m.deleteUnit({1, 0}));
    EXPECT_EQ(unitRows(1), 0);
    EXPECT_EQ(count("PARC_PL_JP", 1), 0);
    EXPECT_EQ(unitRows(2), perUnit);
}

TEST_P(UnitMaintenanceTest, RenumberMovesEveryTableAndRefusesATakenKey)
{
    sqlsrc::UnitMaintenance m(*database);
    EXPECT_EQ(m.renumberUnit({1, 0}, {2, 0}), Outcome::KeyTaken);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text,
              QStringLiteral("Nelze přejmenovat. LHC_KOD \"2\", LHC_KOD_ID \"0\" již existuje. Zadej znovu."));
    EXPECT_EQ(m.renumberUnit({1, 0}, {1, 5}), Outcome::Done);
    EXPECT_EQ(unitRows(1, 0), 0);
    EXPECT_EQ(unitRows(1, 5), int(sqlsrc::unitTables().size()));
}

TEST_P(UnitMaintenanceTest, CopyGivesEveryRowTheNewKeyAndADeleteAfterwardsActsOnTheSource)
{
    sqlsrc::UnitMaintenance m(*database);
    QStringList log;
    EXPECT_EQ(m.copyUnit({1, 0}, *database, {9, 1}, &log), Outcome::Done);
    EXPECT_EQ(unitRows(9, 1), int(sqlsrc::unitTables().size()));
    EXPECT_EQ(unitRows(1, 0), int(sqlsrc::unitTables().size()));
    EXPECT_FALSE(database->InTransaction());
    // Texts with apostrophes arrive as they were.
    db::Query q;
    q.SetDatabaseName(database->DatabaseName());
    q.SQL().Add(QStringLiteral("select LHC_NAZ from LHC where LHC_KOD=9"));
    q.Open();
    EXPECT_EQ(q.Fields(0).AsString(), QStringLiteral("Jedna's"));
    q.Close();
    EXPECT_EQ(m.copyUnit({1, 0}, *database, {9, 1}), Outcome::KeyTaken);

    EXPECT_TRUE(m.deleteUnit({1, 0}));
    EXPECT_EQ(unitRows(1, 0), 0);
    EXPECT_EQ(unitRows(9, 1), int(sqlsrc::unitTables().size()));
}

TEST_P(UnitMaintenanceTest, TheCopyLogsEachTableWithItsRowCountAndTheOutcome)
{
    for (int odd = 2; odd <= 250; ++odd)
        insert("POROST", {{"LHC_KOD", 1}, {"LHC_KOD_ID", 0}, {"ODD", odd}, {"ODD_ID", 1}});
    sqlsrc::UnitMaintenance m(*database);
    QStringList log;
    ASSERT_EQ(m.copyUnit({1, 0}, *database, {9, 1}, &log), Outcome::Done);
    const qsizetype start = log.indexOf(QStringLiteral("V tabulce POROST začínám kopírovat."));
    ASSERT_GE(start, 0) << log.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(log.mid(start, 5), (QStringList{QStringLiteral("V tabulce POROST začínám kopírovat."),
                                              QStringLiteral("V tabulce POROST zkopírováno řádků: 100"),
                                              QStringLiteral("V tabulce POROST zkopírováno řádků: 200"),
                                              QStringLiteral("V tabulce POROST zkopírováno řádků: 250"),
                                              QStringLiteral("V tabulce POROST jsem všechno zkopíroval.")}));
    EXPECT_TRUE(log.contains(QStringLiteral("V tabulce SKODY zkopírováno řádků: 1")));
    EXPECT_EQ(log.back(), QStringLiteral("Proveden commit. Hotovo - zkopírováno LHC."));

    log.clear();
    refuse("INSERT", "SKODY");
    EXPECT_EQ(m.copyUnit({1, 0}, *database, {8, 0}, &log), Outcome::Failed);
    EXPECT_TRUE(log.contains(QStringLiteral("V tabulce SKODY začínám kopírovat.")));
    EXPECT_EQ(log.back(), QStringLiteral("Kopírování se nezdařilo, proveden rollback: cílová databáze zůstala beze změny."));
}

TEST_P(UnitMaintenanceTest, AFailureOnALateTableLeavesTheUnitIntact)
{
    const int perUnit = int(sqlsrc::unitTables().size());
    sqlsrc::UnitMaintenance m(*database);
    refuse("DELETE", "LHC");
    EXPECT_FALSE(m.deleteUnit({1, 0}));
    EXPECT_EQ(unitRows(1), perUnit);
    expectUnchangedMessage();

    refuse("UPDATE", "MAJETEK");
    EXPECT_EQ(m.renumberUnit({1, 0}, {7, 0}), Outcome::Failed);
    EXPECT_EQ(unitRows(1), perUnit);
    EXPECT_EQ(unitRows(7), 0);

    // The copy's last table fails: nothing of the target remains, its LHC row included.
    refuse("INSERT", "SKODY");
    EXPECT_EQ(m.copyUnit({1, 0}, *database, {8, 0}), Outcome::Failed);
    EXPECT_EQ(unitRows(8), 0);
    EXPECT_EQ(unitRows(1), perUnit);
    EXPECT_FALSE(database->InTransaction());
    expectUnchangedMessage();
}

TEST_P(UnitMaintenanceTest, ARefusedRowIsRetriedUnderOddIdMinusOneAndElseFailsTheCopy)
{
    refuse("INSERT", "POROST", QStringLiteral("NEW.ODD_ID <> -1"));
    database->StartTransaction();
    db::Query source;
    source.SetDatabaseName(database->DatabaseName());
    source.SQL().Add(QStringLiteral("select * from POROST where LHC_KOD=1"));
    QStringList log;
    EXPECT_EQ(sqlsrc::CopyQueryRows(source, QStringLiteral("POROST"), *database, {5, 0}, QString(),
                                    sqlsrc::RowRetry::OddIdMinusOne, &log),
              1);
    EXPECT_TRUE(log.contains(QStringLiteral("Zkusím to nahrát s ODD_ID=-1")));
    // Without the retry the refused row fails the copy, and the transaction stays usable.
    EXPECT_THROW(sqlsrc::CopyQueryRows(source, QStringLiteral("POROST"), *database, {6, 0}), EDatabaseError);
    database->Commit();
    EXPECT_EQ(count("POROST", 5), 1);
    EXPECT_EQ(count("POROST", 6), 0);
    db::Query q;
    q.SetDatabaseName(database->DatabaseName());
    q.SQL().Add(QStringLiteral("select ODD_ID from POROST where LHC_KOD=5"));
    q.Open();
    EXPECT_EQ(q.Fields(0).AsInteger(), -1);
}

TEST_P(UnitMaintenanceTest, TheCopyNamesItsColumnsForATargetOfAnotherColumnOrder)
{
    if (GetParam() != sqlsrc::Engine::Sqlite)
        GTEST_SKIP() << "one engine is enough for the column order";
    QFile ini(dataDir() + QStringLiteral("/aliases.ini"));
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write("[CIL]\r\nDRIVER=QSQLITE\r\nDATABASE=cil.sqlite\r\n");
    ini.close();
    db::Database target(QStringLiteral("CIL_DB"));
    target.SetAliasName(QStringLiteral("CIL"));
    target.setCanCreateFile(true);
    target.Open();
    ASSERT_EQ(sqlsrc::ensureSchema(target), QString());
    QSqlQuery q(target.sqlDatabase());
    ASSERT_TRUE(q.exec(QStringLiteral("DROP TABLE MAJETEK")));
    ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE MAJETEK (MAJ_NAZ TEXT, MAJ_KOD INTEGER, LHC_KOD_ID INTEGER, LHC_KOD INTEGER)")));
    sqlsrc::UnitMaintenance m(*database);
    ASSERT_EQ(m.copyUnit({1, 0}, target, {1, 0}), Outcome::Done);
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT MAJ_NAZ, MAJ_KOD, LHC_KOD FROM MAJETEK")) && q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("x'MAJ_NAZ"));
    EXPECT_EQ(q.value(1).toInt(), 3);
    EXPECT_EQ(q.value(2).toInt(), 1);
}

TEST(RowCopy, OnlyPlainIdentifiersAreNamed)
{
    EXPECT_TRUE(sqlsrc::isPlainIdentifier(QStringLiteral("LHC_KOD")));
    EXPECT_FALSE(sqlsrc::isPlainIdentifier(QStringLiteral("A;DROP")));
    EXPECT_FALSE(sqlsrc::isPlainIdentifier(QStringLiteral("1A")));
    EXPECT_FALSE(sqlsrc::isPlainIdentifier(QString(65, QLatin1Char('A'))));
}

INSTANTIATE_TEST_SUITE_P(Engines, UnitMaintenanceTest,
                         ::testing::Values(sqlsrc::Engine::Sqlite, sqlsrc::Engine::Postgres), testsql::engineName);

} // namespace

namespace {

using sqlsrc::SelectedRow;
using sqlsrc::SelectionKind;
using sqlsrc::UnitSelection;

using UnitSelectionTest = UnitMaintenanceTest;

SelectedRow rowOf(SelectionKind kind, const QString& psk = QString())
{
    SelectedRow r;
    r.kind = kind;
    r.odd = 3;
    r.oddId = 3;
    r.dil = QStringLiteral("x'DIL");
    r.por = QStringLiteral("x'POR");
    r.psk = psk;
    r.number = 3;
    r.numberId = 3;
    return r;
}

TEST_P(UnitSelectionTest, OneWindowPerUnitAndOnPostgreSqlOneProgram)
{
    auto first = UnitSelection::open(*database, {1, 0});
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(UnitSelection::open(*database, {1, 0}), nullptr);
    ASSERT_FALSE(recorder().messages.empty());
    EXPECT_EQ(recorder().messages.back().text,
              QStringLiteral("Nelze připojit databázi. Pravděpodobně se snažíš otevří podruhé stejný LHC."));
    EXPECT_NE(UnitSelection::open(*database, {2, 0}), nullptr);
    if (GetParam() == sqlsrc::Engine::Postgres) {
        // Another program's connection cannot take the unit's lock until the window closes.
        QSqlQuery q(database->sqlDatabase());
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT pg_try_advisory_lock(1, 0)")) && q.next());
        EXPECT_FALSE(q.value(0).toBool());
        first.reset();
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT pg_try_advisory_lock(1, 0)")) && q.next());
        EXPECT_TRUE(q.value(0).toBool());
        q.exec(QStringLiteral("SELECT pg_advisory_unlock(1, 0)"));
    }
}

TEST_P(UnitSelectionTest, AStandGroupCopiedWithoutItsStandBringsTheStandAndNoUndoesIt)
{
    exec(QStringLiteral("DELETE FROM POROST WHERE LHC_KOD=2"));
    exec(QStringLiteral("DELETE FROM POROST_SKUP WHERE LHC_KOD=2"));
    auto selection = UnitSelection::open(*database, {1, 0});
    ASSERT_NE(selection, nullptr);
    const std::vector<SelectedRow> groups = selection->list(SelectionKind::StandGroup);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].psk, QStringLiteral("x'PSK"));
    ASSERT_TRUE(selection->copy(groups[0], {2, 0}));
    EXPECT_TRUE(selection->hasChanges());
    EXPECT_FALSE(selection->copy(groups[0], {2, 0}));   // now present
    EXPECT_EQ(recorder().messages.back().text, QStringLiteral("Nelze kopírovat, PSK už existuje."));
    selection->endTransaction(false);   // "NE"
    EXPECT_EQ(count("POROST", 2), 0);
    ASSERT_TRUE(selection->copy(groups[0], {2, 0}));
    selection->endTransaction(true);
    EXPECT_EQ(count("POROST", 2), 1);
    EXPECT_EQ(count("POROST_SKUP", 2), 1);
    EXPECT_EQ(count("SKODY", 2), 2);
}

TEST_P(UnitSelectionTest, DeletingAStandGroupTouchesOnlyStandGroupTables)
{
    auto selection = UnitSelection::open(*database, {1, 0});
    ASSERT_NE(selection, nullptr);
    ASSERT_TRUE(selection->remove(rowOf(SelectionKind::StandGroup, QStringLiteral("x'PSK"))));
    EXPECT_FALSE(selection->remove(rowOf(SelectionKind::BareLand), false));
    EXPECT_EQ(recorder().messages.back().text, QStringLiteral("Bezlesí není porostní půda."));
    selection->endTransaction(true);
    EXPECT_EQ(count("POROST_SKUP", 1), 0);
    EXPECT_EQ(count("SKODY", 1), 0);
    EXPECT_EQ(count("BEZLESI", 1), 1);
    EXPECT_EQ(count("POROST", 1), 1);
}

TEST_P(UnitSelectionTest, AMoveWhoseCopyFailsDeletesNothing)
{
    exec(QStringLiteral("DELETE FROM POROST WHERE LHC_KOD=2"));
    refuse("INSERT", "SKODY");
    auto selection = UnitSelection::open(*database, {1, 0});
    ASSERT_NE(selection, nullptr);
    EXPECT_FALSE(selection->move(rowOf(SelectionKind::Stand), {2, 0}));
    EXPECT_FALSE(selection->hasChanges());
    selection->endTransaction(true);
    EXPECT_EQ(unitRows(1), int(sqlsrc::unitTables().size()));
    EXPECT_EQ(count("POROST", 2), 0);
}

TEST_P(UnitSelectionTest, WholeUnitOperationsRefuseAUnitOpenInASelectionWindow)
{
    const int perUnit = int(sqlsrc::unitTables().size());
    auto selection = UnitSelection::open(*database, {1, 0});
    ASSERT_NE(selection, nullptr);
    const QString refusal = QStringLiteral("LHC_KOD 1 ID 0 je otevřeno v okně výběrů. Nejdříve okno výběrů zavři.");
    sqlsrc::UnitMaintenance m(*database);
    EXPECT_FALSE(m.deleteUnit({1, 0}));
    ASSERT_FALSE(recorder().messages.empty());
    EXPECT_EQ(recorder().messages.back().text, refusal);
    EXPECT_EQ(m.renumberUnit({1, 0}, {1, 5}), Outcome::Failed);
    EXPECT_EQ(m.copyUnit({1, 0}, *database, {9, 0}), Outcome::Failed);
    // The open unit is not a target either.
    exec(QStringLiteral("DELETE FROM LHC WHERE LHC_KOD=1"));
    EXPECT_EQ(m.renumberUnit({2, 0}, {1, 0}), Outcome::Failed);
    EXPECT_EQ(m.copyUnit({2, 0}, *database, {1, 0}), Outcome::Failed);
    EXPECT_EQ(recorder().messages.back().text, refusal);
    EXPECT_EQ(unitRows(1), perUnit - 1);
    EXPECT_EQ(unitRows(1, 5) + unitRows(9), 0);
    EXPECT_EQ(unitRows(2), perUnit);
    EXPECT_FALSE(m.busy());

    // Another unit is free, and the unit itself once its window closed.
    EXPECT_TRUE(m.deleteUnit({2, 0}));
    selection.reset();
    EXPECT_TRUE(m.deleteUnit({1, 0}));
    EXPECT_EQ(unitRows(1), 0);
}

TEST_P(UnitSelectionTest, ADeleteInAnotherUnitActsOnItAloneAndUndoesItselfWhenALateTableFails)
{
    const int perUnit = int(sqlsrc::unitTables().size());
    refuse("DELETE", "POROST", QStringLiteral("OLD.LHC_KOD = 2"));
    auto selection = UnitSelection::open(*database, {1, 0});
    ASSERT_NE(selection, nullptr);
    // A compartment's POROST row goes last: its refusal undoes the tables before it.
    EXPECT_FALSE(selection->remove(rowOf(SelectionKind::Compartment), true, {2, 0}));
    ASSERT_FALSE(recorder().messages.empty());
    EXPECT_TRUE(recorder().messages.back().text.endsWith(QStringLiteral("Nic se nezměnilo.")));
    EXPECT_FALSE(selection->hasChanges());
    EXPECT_EQ(selection->list(SelectionKind::StandGroup, {2, 0}).size(), 1u);
    ASSERT_TRUE(selection->remove(rowOf(SelectionKind::StandGroup, QStringLiteral("x'PSK")), false, {2, 0}));
    EXPECT_FALSE(selection->standIsEmpty(rowOf(SelectionKind::Stand), {2, 0}));   // its land is left
    selection->endTransaction(true);
    EXPECT_EQ(count("POROST_SKUP", 2), 0);
    EXPECT_EQ(count("SKODY", 2), 0);
    EXPECT_EQ(count("POROST", 2), 1);
    EXPECT_EQ(unitRows(1), perUnit);
}

// Dialog answers of a selection window, counted.
struct ScriptedDialogs {
    std::vector<UnitKey> keys;   // answers of the key dialog, then cancel
    QString oddId;
    bool commit = true;
    int oddIdAsked = 0;
    QList<int> oddIdsFound;
    int endAsked = 0;

    sqlsrc::SelectionDialogs dialogs()
    {
        sqlsrc::SelectionDialogs d;
        d.targetKey = [this](UnitKey) -> std::optional<UnitKey> {
            if (keys.empty())
                return std::nullopt;
            const UnitKey k = keys.front();
            keys.erase(keys.begin());
            return k;
        };
        d.targetOddId = [this](int, const QList<int>& found) {
            ++oddIdAsked;
            oddIdsFound = found;
            return oddId;
        };
        d.confirmEnd = [this] {
            ++endAsked;
            return commit;
        };
        return d;
    }
};

TEST_P(UnitSelectionTest, TheTargetAndTheSettledOddIdHoldUntilTheTransactionEnds)
{
    refuse("INSERT", "BEZLESI", QStringLiteral("NEW.ODD_ID <> -1"));
    auto selection = UnitSelection::open(*database, {1, 0});
    ASSERT_NE(selection, nullptr);
    ScriptedDialogs answers;
    answers.keys = {{7, 0}, {2, 0}};
    answers.oddId = QStringLiteral("5");
    answers.commit = false;
    sqlsrc::SelectionSession session(*selection, answers.dialogs());

    ASSERT_TRUE(session.copy(rowOf(SelectionKind::StandGroup, QStringLiteral("x'PSK"))));
    EXPECT_TRUE(std::any_of(recorder().messages.begin(), recorder().messages.end(), [](const auto& m) {
        return m.text == QStringLiteral("Nelze zkopírovat. LHC_KOD \"7\", LHC_KOD_ID \"0\" neexistuje. Zadej znovu.");
    }));
    ASSERT_EQ(session.target(), std::optional<UnitKey>(UnitKey{2, 0}));
    EXPECT_EQ(session.targetName(), QStringLiteral("Dva"));
    EXPECT_EQ(answers.oddIdsFound, QList<int>{3});
    EXPECT_EQ(recorder().statusTexts.last(), QStringLiteral("Hotovo - Kopírování porostní skupiny proběhlo."));
    // Same compartment number: no second question, same ODD_ID; a refused row is logged and retried.
    ASSERT_TRUE(session.copy(rowOf(SelectionKind::BareLand)));
    EXPECT_EQ(answers.oddIdAsked, 1);
    EXPECT_TRUE(session.log().contains(QStringLiteral("Zkusím to nahrát s ODD_ID=-1")));
    EXPECT_EQ(session.settledOddId(), QStringLiteral("5"));
    {
        db::Query q;
        q.SetDatabaseName(selection->database().DatabaseName());
        q.SQL().Add(QStringLiteral("select count(*) from POROST where LHC_KOD=2 and ODD_ID=5"));
        q.Open();
        EXPECT_EQ(q.Fields(0).AsInteger(), 1);   // the stand came with its group, once
    }

    session.endTransaction();   // "NE"
    EXPECT_EQ(answers.endAsked, 1);
    EXPECT_FALSE(session.target());
    EXPECT_FALSE(session.settledOdd());
    EXPECT_TRUE(session.log().isEmpty());
    EXPECT_EQ(recorder().statusTexts.last(), QStringLiteral("Změny z poslední transakce byly opět smazány."));
    EXPECT_EQ(unitRows(2), int(sqlsrc::unitTables().size()));
    // Nothing chosen nor deleted: committed without asking.
    session.endTransaction();
    EXPECT_EQ(answers.endAsked, 1);
    // A cancelled target choice copies nothing.
    EXPECT_FALSE(session.copy(rowOf(SelectionKind::Stand)));
}

TEST_P(UnitSelectionTest, AStandLeftEmptyIsOfferedForDeletion)
{
    auto selection = UnitSelection::open(*database, {1, 0});
    ASSERT_NE(selection, nullptr);
    ScriptedDialogs answers;
    sqlsrc::SelectionSession session(*selection, answers.dialogs());
    ASSERT_TRUE(session.remove(rowOf(SelectionKind::StandGroup, QStringLiteral("x'PSK")), false));
    ASSERT_TRUE(session.remove(rowOf(SelectionKind::BareLand), true));
    const size_t before = recorder().messages.size();   // land is left: no offer yet
    recorder().script({ui::Answer::No});
    ASSERT_TRUE(session.remove(rowOf(SelectionKind::OtherLand), true));
    ASSERT_EQ(recorder().messages.size(), before + 1);
    EXPECT_EQ(recorder().messages.back().text,
              QStringLiteral("Porost  3x'DILx'POR  neobsahuje žádnou POROST_SKUP,BEZLESI ani JINY_POZ.\nMám jej smazat ?"));
    EXPECT_EQ(selection->list(SelectionKind::Stand).size(), 1u);
    EXPECT_EQ(recorder().statusTexts.last(), QStringLiteral("Hotovo - Mazání jiného pozemku proběhlo."));
    // Offered again after the next delete in the stand; "Ano" deletes its POROST and PREKRYV rows.
    recorder().script({ui::Answer::Yes});
    ASSERT_TRUE(session.remove(rowOf(SelectionKind::StandGroup, QStringLiteral("x'PSK")), false));
    EXPECT_TRUE(selection->list(SelectionKind::Stand).empty());
    EXPECT_TRUE(session.deleted());
    session.endTransaction();
    EXPECT_EQ(answers.endAsked, 1);
    EXPECT_EQ(count("POROST", 1), 0);
    EXPECT_EQ(count("PREKRYV", 1), 0);
    EXPECT_EQ(unitRows(2), int(sqlsrc::unitTables().size()));
}

TEST_P(UnitSelectionTest, AMoveDeletesTheSourceOnlyAfterTheCopy)
{
    exec(QStringLiteral("DELETE FROM POROST WHERE LHC_KOD=2"));
    exec(QStringLiteral("DELETE FROM POROST_SKUP WHERE LHC_KOD=2"));
    exec(QStringLiteral("DELETE FROM BEZLESI WHERE LHC_KOD=2"));
    exec(QStringLiteral("DELETE FROM JINE_POZ WHERE LHC_KOD=2"));
    auto selection = UnitSelection::open(*database, {1, 0});
    ASSERT_NE(selection, nullptr);
    ScriptedDialogs answers;
    answers.keys = {{2, 0}};
    sqlsrc::SelectionSession session(*selection, answers.dialogs());
    ASSERT_TRUE(session.move(rowOf(SelectionKind::Stand)));
    EXPECT_EQ(answers.oddIdAsked, 0);   // the target has no such compartment
    session.endTransaction();
    EXPECT_EQ(count("POROST", 1), 0);
    EXPECT_EQ(count("POROST", 2), 1);
    EXPECT_EQ(count("SKODY", 1), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, UnitSelectionTest, ::testing::Values(sqlsrc::Engine::Sqlite, sqlsrc::Engine::Postgres),
                         testsql::engineName);

} // namespace
