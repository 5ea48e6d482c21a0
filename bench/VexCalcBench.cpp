// "Výpočet" over generated version-97 and version-98 units of 250, 1 000 and 2 000 compartments
// (about 50 species a compartment), against a raw read of the same files in the same run.
//
// Baseline (BM_RawRead): every .DB file that the source opens -- the stand tables and ID.DB of
// the unit's DATA directory, the tables of its PHS directory and the codebooks in "ciselnik"
// beside the program -- opened through db::Table (the file read and validated), every field of
// every row read as a value, closed.
//
// BM_OpenAndCalculate is the figure the benchmark gives for the Paradox sources: a unit object
// made, its source opened (TOvr::FormCreate reads every table of the three directories) and its
// header loaded, then the whole calculation: every compartment loaded and walked, every row
// written into TGENKL.DB. It does what the raw read does and the calculation besides.
// BM_Calculation times the calculation alone, the source opened and its header loaded
// beforehand (as the main window does when it is shown).
//
// Every benchmark repeats its run and reports the median; the counters give the peak resident
// memory of the process during the timed run and the machine's one-minute load at its end. The
// closing table gives each median as a multiple of the raw read of the same unit, and the
// figure once more unit by unit.
#include "CalculationRun.h"

#include "app/AppRegistration.h"
#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "tools/samples/SampleData.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int repetitions = 5;

// One generated unit with its own program directory (codebooks, vkm.ini).
struct BenchUnit {
    QTemporaryDir dir;
    QString programDir;
    QString dataDir;
    QStringList sourceFiles;   // every .DB the source opens
    int speciesRows = 0;

    BenchUnit(vex::Version version, int compartments)
    {
        programDir = dir.path();
        samples::UnitOptions options;
        options.version = version;
        options.compartments = compartments;
        options.groupsPerStand = 10;
        options.speciesPerStorey = 10;
        options.seed = quint32(compartments + (version == vex::Version::V98 ? 98 : 97));
        options.lhcRow = version == vex::Version::V98 ? 1 : 0;
        dataDir = samples::writeGeneratedInstallation(QStringLiteral(GENKLAS_SOURCE_DIR "/data"), programDir, options);
        for (const QString& sub : {QStringLiteral("/lhc/DATA"), QStringLiteral("/lhc/PHS"), QStringLiteral("/ciselnik")}) {
            QDirIterator it(programDir + sub, {QStringLiteral("*.DB"), QStringLiteral("*.db")}, QDir::Files);
            while (it.hasNext())
                sourceFiles.append(it.next());
        }
        db::Table dr;
        dr.SetTableName(dataDir + QStringLiteral("/DREVINA.DB"));
        dr.Open();
        speciesRows = dr.RecordCount();
    }
};

// The unit of a benchmark's arguments (version 97 or 98, compartments), written on first use.
BenchUnit& unit(const benchmark::State& state)
{
    static std::map<std::pair<int, int>, std::unique_ptr<BenchUnit>> units;
    const std::pair<int, int> key(int(state.range(0)), int(state.range(1)));
    std::unique_ptr<BenchUnit>& u = units[key];
    if (!u)
        u = std::make_unique<BenchUnit>(key.first == 98 ? vex::Version::V98 : vex::Version::V97, key.second);
    files::setProgramDirectory(u->programDir);
    return *u;
}

quint8 kindOf(const benchmark::State& state)
{
    return state.range(0) == 98 ? SourceKinds::Vex98 : SourceKinds::Vex97;
}

void BM_RawRead(benchmark::State& state)
{
    const BenchUnit& u = unit(state);
    bench::resetPeakMemory();
    for (auto _ : state) {
        qint64 values = 0;
        for (const QString& path : u.sourceFiles) {
            db::Table t;
            t.SetTableName(path);
            t.Open();
            for (t.First(); !t.Eof(); t.Next())
                for (int i = 0; i < t.FieldCount(); ++i)
                    values += t.Fields(i).Value().isValid() ? 1 : 0;
            t.Close();
        }
        benchmark::DoNotOptimize(values);
    }
    bench::reportMachine(state);
    state.counters["species"] = u.speciesRows;
}

void BM_Calculation(benchmark::State& state)
{
    const BenchUnit& u = unit(state);
    bench::timeCalculationClick(state, kindOf(state), u.dataDir, u.programDir);
}

void BM_OpenAndCalculate(benchmark::State& state)
{
    const BenchUnit& u = unit(state);
    bench::resetPeakMemory();
    bench::timeCalculation(state, kindOf(state), u.dataDir, u.programDir);
    bench::reportMachine(state);
}

void unitSizes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"version", "compartments"});
    for (const int version : {97, 98})
        for (const int compartments : {250, 1000, 2000})
            b->Args({version, compartments});
    b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(repetitions)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_RawRead)->Apply(unitSizes);
BENCHMARK(BM_OpenAndCalculate)->Apply(unitSizes);
BENCHMARK(BM_Calculation)->Apply(unitSizes)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    RegisterAppUnits();
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter("BM_RawRead", "BM_OpenAndCalculate");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
