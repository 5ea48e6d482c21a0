// The loader's two readings of the levels below the stands give the same model, on SQLite and PostgreSQL.
#include "app/sources/sql/SqlFixture.h"
#include "app/support/ModelDump.h"

#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "app/sources/sql/SqlLoader.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "platform/Exceptions.h"
#include "platform/db/sql/Database.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "tools/samples/SampleData.h"
#include "tools/sql/SqlSample.h"

#include <QSqlQuery>

#include <algorithm>
#include <cstring>

namespace {

using testsql::Row;
using testsql::SqlDatabaseTest;

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

// What one reading of a unit gives: the header, every compartment in turn, the status texts.
struct Reading {
    QStringList model;
    QStringList statusTexts;
    int compartments = 0;
};

class SqlLoaderTest : public SqlDatabaseTest
{
protected:
    Reading read(sqlsrc::ChildReading how, sqlsrc::UnitKey key)
    {
        const QString name = how == sqlsrc::ChildReading::PerParent ? QStringLiteral("LHP_PER_PARENT")
                                                                   : QStringLiteral("LHP_PER_COMPARTMENT");
        const auto database = connectSource(name);
        if (how == sqlsrc::ChildReading::PerParent && GetParam() == sqlsrc::Engine::Postgres) {
            // A per-parent query answered through the level's index: the order the other reading keeps.
            QSqlQuery q(database->sqlDatabase());
            EXPECT_TRUE(q.exec(QStringLiteral("SET enable_seqscan = off")));
            EXPECT_TRUE(q.exec(QStringLiteral("SET enable_bitmapscan = off")));
        }
        recorder().clear();
        Reading reading;
        Owned<TLesniCelek> unit = Create<TLesniCelek>();
        sqlsrc::LoaderQueries queries(name, how);
        EXPECT_TRUE(sqlsrc::LoadLhcHeaderFromSql(*unit->LHC(), queries, key));
        reading.model << testapp::dumpModel(unit->LHC());
        sqlsrc::OpenStandsFromSql(queries, key);
        while (!queries.stands.Eof()) {
            Owned<TOddeleni> compartment;
            sqlsrc::LoadCompartmentFromSql(compartment, queries, key);
            reading.model << testapp::dumpModel(compartment.get());
            ++reading.compartments;
        }
        reading.statusTexts = recorder().statusTexts;
        return reading;
    }

    void expectSameReadings(sqlsrc::UnitKey key, int compartments)
    {
        const Reading perParent = read(sqlsrc::ChildReading::PerParent, key);
        const Reading perCompartment = read(sqlsrc::ChildReading::PerCompartment, key);
        EXPECT_EQ(perParent.compartments, compartments);
        EXPECT_EQ(perCompartment.compartments, perParent.compartments);
        ASSERT_EQ(perCompartment.model.size(), perParent.model.size());
        for (int i = 0; i < perParent.model.size(); ++i)
            ASSERT_EQ(perCompartment.model[i].toStdString(), perParent.model[i].toStdString()) << "line " << i;
        EXPECT_EQ(perCompartment.statusTexts, perParent.statusTexts);
    }

    Row key(int odd, int oddId, const char* dil, const QString& por) const
    {
        return {{"LHC_KOD", 5}, {"LHC_KOD_ID", 0}, {"ODD", odd}, {"ODD_ID", oddId}, {"DIL", QLatin1String(dil)},
                {"POR", por}};
    }
    static Row with(Row row, const Row& more)
    {
        row.insert(row.end(), more.begin(), more.end());
        return row;
    }
};

TEST_P(SqlLoaderTest, RepeatedKeysApostrophesBlankStoreysAndNullsReadAlike)
{
    insert("LHC", {{"LHC_KOD", 5}, {"LHC_KOD_ID", 0}, {"LHC_NAZ", QStringLiteral("Zkouška")}});
    // Stands of two compartments inserted alternately, one compartment under two ODD_IDs.
    const Row a = key(1, 1, "a", QStringLiteral("1'x"));
    const Row b = key(2, 1, "a", QStringLiteral("1"));
    const Row c = key(1, 1, "b", QStringLiteral("2"));
    const Row d = key(1, 2, "a", QStringLiteral("1"));
    for (const Row& stand : {a, b, c, d})
        insert("POROST", with(stand, {{"OR_UR1_KOD", 3}, {"POR_TEXT", QStringLiteral("it's")}}));
    // Groups out of key order, one key repeated (its storeys and species come twice), one with an apostrophe.
    for (const char* psk : {"2", "1'", "1", "2"})
        insert("POROST_SKUP", with(a, {{"PSK", QLatin1String(psk)}, {"PSK_P", 1.5}}));
    insert("POROST_SKUP", with(b, {{"PSK", QStringLiteral("1")}}));
    insert("POROST_SKUP", with(d, {{"PSK", QStringLiteral("7")}}));
    // Storeys " 1 " and "1" of one group, written the same by the model, and their species.
    const Row g = with(a, {{"PSK", QStringLiteral("2")}});
    for (const char* etaz : {"1", " 1 ", "2"})
        insert("ETAZ", with(g, {{"ETAZ", QLatin1String(etaz)}, {"VEK", int(std::strlen(etaz)) * 10}}));
    int zast = 10;
    for (const char* etaz : {" 1 ", "1", "2"})
        for (const char* dr : {"SM", "BK", "SM", "DB'"})
            insert("DREVINA", with(g, {{"ETAZ", QLatin1String(etaz)}, {"DR_ZKR", QLatin1String(dr)}, {"ZAST", zast++},
                                       {"GEN_KLAS", QStringLiteral("A")}}));
    const Row sm = with(g, {{"ETAZ", QStringLiteral("1")}, {"DR_ZKR", QStringLiteral("SM")}});
    for (int damage : {4, 2, 4})
        insert("SKODY", with(sm, {{"POSKOZ_D", damage}, {"POSKOZ_R", damage * 3}}));
    insert("DREV_ZALES", with(g, {{"ETAZ", QStringLiteral("1")}, {"ZAL_DR", QStringLiteral("JD")}, {"ZAL_P", 0.2}}));
    insert("DREV_ZALES", with(g, {{"ETAZ", QStringLiteral("1")}, {"ZAL_DR", QStringLiteral("BK")}, {"ZAL_P", 0.1}}));
    // A species row without its storey key, and one of a storey that does not exist: neither is read.
    insert("DREVINA", with(g, {{"DR_ZKR", QStringLiteral("JV")}}));
    insert("DREVINA", with(g, {{"ETAZ", QStringLiteral("9")}, {"DR_ZKR", QStringLiteral("JV")}}));
    for (const char* kat : {"32a", "10", "32a"})
        insert("PREKRYV", with(c, {{"KATEGORIE", QLatin1String(kat)}}));
    insert("BEZLESI", with(c, {{"BZL", 2}, {"BZL_ID", 1}, {"BZL_P", 0.5}}));
    insert("BEZLESI", with(c, {{"BZL", 1}, {"BZL_ID", 2}, {"BZL_P", 0.7}}));
    insert("JINE_POZ", with(d, {{"JP", 3}, {"JP_ID", 1}, {"MAJ_KOD", 17}}));
    // The same keys under another unit stay out.
    Row other = with(g, {{"ETAZ", QStringLiteral("1")}, {"DR_ZKR", QStringLiteral("KL")}});
    other[0].second = 6;
    insert("DREVINA", other);

    expectSameReadings({5, 0}, 3);
    // The reading is not empty: the repeated group loads its species twice, so SM holds damage rows of both runs.
    const Reading r = read(sqlsrc::ChildReading::PerCompartment, {5, 0});
    const auto lines = [&r](const char* text) {
        return std::count_if(r.model.begin(), r.model.end(),
                             [text](const QString& l) { return l.trimmed().startsWith(QLatin1String(text)); });
    };
    EXPECT_EQ(lines("TPoskozeni '"), 2);
    EXPECT_GT(lines("DR_ZKR=DB'"), 0);
    EXPECT_EQ(lines("DR_ZKR=KL"), 0);
    EXPECT_EQ(lines("DR_ZKR=JV"), 0);
}

TEST_P(SqlLoaderTest, TheSampleUnitsReadAlike)
{
    const QString programDir = dataDir() + QStringLiteral("/program");
    files::setProgramDirectory(programDir);
    samples::writeSampleInstallation(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data"), programDir);
    const QString vexData = programDir + QStringLiteral("/vzorky/vex97/DATA");
    const auto database = connectSource(QStringLiteral("LHP_SAMPLE"));
    database->StartTransaction();
    Owned<TLesniCelek> unit = Create<TLesniCelek>();
    unit->setProgramDir(programDir);
    const auto source = app::createSource(SourceKinds::Vex97, {vexData, programDir});
    source->loadHeader(*unit);
    const sqlsrc::UnitKey first{unit->LHC()->LHC_KOD(), 0};
    sqlsample::writeUnitFromSource(*source, *unit, *database, first);
    sqlsample::writeSecondUnit(*database, {2, 0});
    database->Commit();
    QSqlQuery q(database->sqlDatabase());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT COUNT(*) FROM (SELECT DISTINCT ODD, ODD_ID FROM POROST WHERE LHC_KOD=%1) t")
                           .arg(first.kod)));
    ASSERT_TRUE(q.next());
    const int compartments = q.value(0).toInt();
    ASSERT_GT(compartments, 1);

    expectSameReadings(first, compartments);
    expectSameReadings({2, 0}, 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlLoaderTest, ::testing::Values(sqlsrc::Engine::Sqlite, sqlsrc::Engine::Postgres),
                         testsql::engineName);

} // namespace
