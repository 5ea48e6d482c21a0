// The SQL source over generated SQLite units of 250, 1 000 and 2 000 compartments (about 50
// species a compartment): the calculation against its baseline, one SELECT * of the unit's rows
// of every table the loader reads, through one connection to the same database, in the same run.
//
// Each unit is written by a child process of this program before anything is timed, so the
// process that times holds no trace of the writing; its peak memory (counter peak_MB, the
// process's ru_maxrss) is that of the runs alone. Run one size per process for the peak of that
// size, e.g. --benchmark_filter='/1000$'.
#include "CalculationRun.h"

#include "app/AppRegistration.h"
#include "app/sources/sql/SqlSchema.h"
#include "app/sources/sql/SqlSource.h"
#include "app/sources/sql/UnitMaintenance.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "platform/db/sql/Aliases.h"
#include "platform/db/sql/Database.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "tools/samples/SampleData.h"
#include "tools/sql/SqlSample.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <map>

namespace {

// The tables the loader reads, in the order it first reads them.
const char* const kLoaderTables[] = {"LHC", "POROST", "POROST_SKUP", "ETAZ", "DREVINA", "SKODY", "DREV_ZALES",
                                     "PREKRYV", "BEZLESI", "JINE_POZ"};

constexpr const char* kWriteUnit = "--write-unit";

// Child mode: writes a unit of `compartments` under `programDir` (codebooks, vkm.ini and
// LHP.sqlite beside the program) and prints its key.
int writeUnit(const QString& programDir, int compartments)
{
    RegisterAppUnits();
    ui::RecordingServices quiet;
    ui::setServices(&quiet);
    samples::UnitOptions options;
    options.compartments = compartments;
    options.groupsPerStand = 11;
    options.speciesPerStorey = 10;
    options.seed = 1000;
    const QString dataDir =
        samples::writeGeneratedInstallation(QStringLiteral(GENKLAS_SOURCE_DIR "/data"), programDir, options);
    files::setProgramDirectory(programDir);
    const sqlsrc::UnitKey key = sqlsample::writeSqlSample(dataDir, programDir);
    std::printf("%d %d\n", key.kod, key.id);
    ui::setServices(nullptr);
    return 0;
}

// A unit written by a child process, and a connection to its database.
struct BenchUnit {
    QTemporaryDir dir;
    QString programDir;
    QString dataDir;
    sqlsrc::UnitKey key;
    int speciesRows = 0;
    std::unique_ptr<db::Database> database;

    explicit BenchUnit(int compartments)
    {
        programDir = dir.path();
        dataDir = programDir + QStringLiteral("/lhc/DATA");
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QLatin1String(kWriteUnit), programDir, QString::number(compartments)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            qFatal("the unit of %d compartments was not written: %s", compartments, child.readAllStandardError().constData());
        const QList<QByteArray> answer = child.readAllStandardOutput().trimmed().split(' ');
        key = {answer.value(0).toInt(), answer.value(1).toInt()};
        files::setProgramDirectory(programDir);
        select();
        database = std::make_unique<db::Database>(QStringLiteral("BENCH_%1").arg(compartments));
        database->SetAliasName(QStringLiteral("LHP"));
        database->Open();
        QSqlQuery q(database->sqlDatabase());
        q.exec(QStringLiteral("SELECT COUNT(*) FROM DREVINA WHERE LHC_KOD=%1 AND LHC_KOD_ID=%2").arg(key.kod).arg(key.id));
        speciesRows = q.next() ? q.value(0).toInt() : 0;
    }

    // Makes this unit the one the alias LHP and the source's dialogs reach.
    void select() const
    {
        files::setProgramDirectory(programDir);
        db::Aliases::setAliasFile(QString());
        db::Aliases::setProgramDirectory(programDir);
        sqlsrc::loginDialog() = [](const QString&, const QString&) {
            return std::optional<sqlsrc::LoginAnswer>(sqlsrc::LoginAnswer{QStringLiteral("LHP"), QStringLiteral("LHP"), QString()});
        };
        const sqlsrc::UnitKey chosen = key;
        sqlsrc::unitChooser() = [chosen](const QString&) { return std::optional<sqlsrc::UnitKey>(chosen); };
    }
};

// The units written so far; main drops them while the SQL drivers still exist.
std::map<int, std::unique_ptr<BenchUnit>>& units()
{
    static std::map<int, std::unique_ptr<BenchUnit>> all;
    return all;
}

// The unit of that size, written on first use (outside any timing).
BenchUnit& unitOf(int compartments)
{
    std::unique_ptr<BenchUnit>& u = units()[compartments];
    if (!u)
        u = std::make_unique<BenchUnit>(compartments);
    u->select();
    return *u;
}

// Peak memory of the process, the unit's species rows and the machine's one-minute load.
void countPeakMemory(benchmark::State& state, const BenchUnit& u)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["species"] = u.speciesRows;
    state.counters["load"] = bench::loadAverage();
}

// Baseline: one SELECT * of the unit's rows per table, every value fetched.
void BM_RawSelect(benchmark::State& state)
{
    BenchUnit& u = unitOf(int(state.range(0)));
    for (auto _ : state) {
        qint64 values = 0;
        for (const char* table : kLoaderTables) {
            QSqlQuery q(u.database->sqlDatabase());
            q.setForwardOnly(true);
            q.prepare(QStringLiteral("SELECT * FROM %1 WHERE LHC_KOD=? AND LHC_KOD_ID=?").arg(QLatin1String(table)));
            q.addBindValue(u.key.kod);
            q.addBindValue(u.key.id);
            q.exec();
            const int columns = int(sqlsrc::findTable(QLatin1String(table))->columns.size());
            while (q.next())
                for (int i = 0; i < columns; ++i)
                    values += q.value(i).isValid() ? 1 : 0;
        }
        benchmark::DoNotOptimize(values);
    }
    countPeakMemory(state, u);
}
BENCHMARK(BM_RawSelect)->Unit(benchmark::kMillisecond)->Arg(250)->Arg(1000)->Arg(2000)->Repetitions(5)
    ->ReportAggregatesOnly(true)->Iterations(1);

// "Výpočet": the whole calculation into TGENKL.DB through the SQL source (connection, login
// answer, unit header, every compartment, the table written).
void BM_Calculation(benchmark::State& state)
{
    BenchUnit& u = unitOf(int(state.range(0)));
    bench::timeCalculation(state, SourceKinds::SqlDatabase, u.dataDir, u.programDir);
    countPeakMemory(state, u);
}
BENCHMARK(BM_Calculation)->Unit(benchmark::kMillisecond)->Arg(250)->Arg(1000)->Arg(2000)->Repetitions(5)
    ->ReportAggregatesOnly(true)->Iterations(1);

// A copy of the unit under another key in one transaction, deleted again outside the timing.
void BM_CopyUnit(benchmark::State& state)
{
    BenchUnit& u = unitOf(int(state.range(0)));
    ui::RecordingServices quiet;
    ui::setServices(&quiet);
    sqlsrc::UnitMaintenance maintenance(*u.database);
    const sqlsrc::UnitKey copy{u.key.kod, 99};
    for (auto _ : state) {
        if (maintenance.copyUnit(u.key, *u.database, copy) != sqlsrc::Outcome::Done)
            state.SkipWithError("the copy failed");
        state.PauseTiming();
        maintenance.deleteUnit(copy);
        state.ResumeTiming();
    }
    ui::setServices(nullptr);
}
BENCHMARK(BM_CopyUnit)->Unit(benchmark::kMillisecond)->Arg(1000)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], kWriteUnit) == 0)
        return writeUnit(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    RegisterAppUnits();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    units().clear();
    return 0;
}
