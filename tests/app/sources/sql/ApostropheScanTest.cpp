// Tests of the scan for stand-group texts with apostrophes, on SQLite and PostgreSQL.
#include "app/sources/sql/SqlFixture.h"

#include "app/sources/sql/ApostropheScan.h"
#include "platform/db/sql/Database.h"
#include "platform/db/sql/Query.h"

namespace {

class ApostropheScanTest : public testsql::SqlDatabaseTest
{
protected:
    void SetUp() override
    {
        SqlDatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        database = connectSource();
    }
    void TearDown() override
    {
        database.reset();
        SqlDatabaseTest::TearDown();
    }
    void group(int kod, int id, int odd, const QString& psk, const QString& text)
    {
        insert("POROST_SKUP", {{"LHC_KOD", kod}, {"LHC_KOD_ID", id}, {"ODD", odd}, {"ODD_ID", 0},
                               {"DIL", QStringLiteral("a")}, {"POR", QStringLiteral("1")}, {"PSK", psk}, {"PSK_TEXT", text}});
    }

    std::unique_ptr<db::Database> database;
};

TEST_P(ApostropheScanTest, ListsTheGroupsOfTheScannedUnitsWhoseTextHoldsAnApostrophe)
{
    group(100000, 0, 7, QStringLiteral("1"), QStringLiteral("smrk 'mladý'"));
    group(100000, 0, 7, QStringLiteral("2"), QStringLiteral("bez"));
    group(1000099, 0, 2, QStringLiteral("o'1"), QStringLiteral("'"));
    group(99999, 0, 1, QStringLiteral("1"), QStringLiteral("před rozsahem '"));
    group(1000100, 0, 1, QStringLiteral("1"), QStringLiteral("za rozsahem '"));
    group(100000, 1, 1, QStringLiteral("1"), QStringLiteral("jiné ID '"));
    group(100001, 0, 1, QStringLiteral("1"), QString());

    const QStringList lines = sqlsrc::ApostropheConditions(*database);
    ASSERT_EQ(lines.size(), 2) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("or( LHC_KOD=100000 and ODD=7 and DIL='a' and POR='1' and PSK='1' )"));
    EXPECT_EQ(lines[1], QStringLiteral("or( LHC_KOD=1000099 and ODD=2 and DIL='a' and POR='1' and PSK='o''1' )"));

    // Each line selects exactly its group, the one with an apostrophe in its key too.
    for (const QString& line : lines) {
        db::Query q;
        q.SetDatabaseName(database->DatabaseName());
        q.SQL().Add(QStringLiteral("select count(*) from POROST_SKUP where (1=0)"));
        q.SQL().Add(line);
        q.Open();
        q.First();
        EXPECT_EQ(q.Fields(0).AsInteger(), 1) << line.toStdString();
    }
}

TEST_P(ApostropheScanTest, AnEmptyDatabaseGivesNoLines)
{
    EXPECT_TRUE(sqlsrc::ApostropheConditions(*database).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, ApostropheScanTest,
                         ::testing::Values(sqlsrc::Engine::Sqlite, sqlsrc::Engine::Postgres), testsql::engineName);

} // namespace
