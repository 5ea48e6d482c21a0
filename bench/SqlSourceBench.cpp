// The SQL source over a generated SQLite unit of 1 000 compartments: a raw SELECT * of every
// table of the unit as the baseline, the whole calculation, and a copy of the unit.
#include "CalculationRun.h"

#include "app/AppRegistration.h"
#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "app/sources/sql/SqlSchema.h"
#include "app/sources/sql/SqlSource.h"
#include "app/sources/sql/UnitMaintenance.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "platform/db/sql/Aliases.h"
#include "platform/db/sql/Database.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"
#include "tools/samples/SampleData.h"
#include "tools/sql/SqlSample.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The unit: generated in the sibling program's layout, then written into LHP.sqlite.
struct BenchUnit {
    QTemporaryDir dir;
    QString programDir;
    QString dataDir;
    sqlsrc::UnitKey key;
    int speciesRows = 0;
    std::unique_ptr<db::Database> database;

    BenchUnit()
    {
        programDir = dir.path();
        dataDir = programDir + QStringLiteral("/lhc/DATA");
        const QString source = QStringLiteral(GENKLAS_SOURCE_DIR "/data");
        samples::writeCodebooks(source, programDir);
        samples::UnitOptions options;
        options.compartments = 1000;
        options.groupsPerStand = 5;
        options.speciesPerStorey = 10;
        options.seed = 1000;
        samples::writeUnit(source, programDir + QStringLiteral("/lhc"), options);
        IniFile vkm(programDir + QStringLiteral("/vkm.ini"));
        vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("DATA"), QStringLiteral("PATH=") + dataDir);
        vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("MANAGER"), QStringLiteral("NE"));
        files::setProgramDirectory(programDir);
        key = sqlsample::writeSqlSample(dataDir, programDir);
        db::Aliases::setAliasFile(QString());
        db::Aliases::setProgramDirectory(programDir);
        database = std::make_unique<db::Database>(QStringLiteral("BENCH"));
        database->SetAliasName(QStringLiteral("LHP"));
        database->Open();
        QSqlQuery q(database->sqlDatabase());
        q.exec(QStringLiteral("SELECT COUNT(*) FROM DREVINA WHERE LHC_KOD=%1").arg(key.kod));
        speciesRows = q.next() ? q.value(0).toInt() : 0;
        sqlsrc::loginDialog() = [](const QString&, const QString&) {
            return std::optional<sqlsrc::LoginAnswer>(sqlsrc::LoginAnswer{QStringLiteral("LHP"), QStringLiteral("LHP"), QString()});
        };
        const sqlsrc::UnitKey chosen = key;
        sqlsrc::unitChooser() = [chosen](const QString&) { return std::optional<sqlsrc::UnitKey>(chosen); };
    }
};

BenchUnit& unit()
{
    static BenchUnit u;
    return u;
}

// (a) Every value of every row of the unit in every table.
void BM_RawSelect(benchmark::State& state)
{
    for (auto _ : state) {
        qint64 values = 0;
        for (const sqlsrc::TableDef& t : sqlsrc::unitTables()) {
            QSqlQuery q(unit().database->sqlDatabase());
            q.setForwardOnly(true);
            q.prepare(QStringLiteral("SELECT * FROM %1 WHERE LHC_KOD=? AND LHC_KOD_ID=?").arg(QLatin1String(t.name)));
            q.addBindValue(unit().key.kod);
            q.addBindValue(unit().key.id);
            q.exec();
            while (q.next())
                for (int i = 0; i < int(t.columns.size()); ++i)
                    values += q.value(i).isValid() ? 1 : 0;
        }
        benchmark::DoNotOptimize(values);
    }
    state.counters["species"] = unit().speciesRows;
}
BENCHMARK(BM_RawSelect)->Unit(benchmark::kMillisecond)->Iterations(3);

// (b) The whole calculation into TGENKL.DB through the SQL source.
void BM_Calculation(benchmark::State& state)
{
    bench::timeCalculation(state, SourceKinds::SqlDatabase, unit().dataDir, unit().programDir);
}
BENCHMARK(BM_Calculation)->Unit(benchmark::kMillisecond)->Iterations(3);

// (c) A copy of the unit under another key in one transaction, deleted again outside the timing.
void BM_CopyUnit(benchmark::State& state)
{
    ui::RecordingServices quiet;
    ui::setServices(&quiet);
    sqlsrc::UnitMaintenance maintenance(*unit().database);
    const sqlsrc::UnitKey copy{unit().key.kod, 99};
    for (auto _ : state) {
        if (maintenance.copyUnit(unit().key, *unit().database, copy) != sqlsrc::Outcome::Done)
            state.SkipWithError("the copy failed");
        state.PauseTiming();
        maintenance.deleteUnit(copy);
        state.ResumeTiming();
    }
    ui::setServices(nullptr);
}
BENCHMARK(BM_CopyUnit)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    RegisterAppUnits();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
