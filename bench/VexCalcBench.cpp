// The calculation over a generated version-97 unit of 1 000 compartments, against a raw read of
// every row of every source table through db::Table in the same run.
#include "CalculationRun.h"

#include "app/AppRegistration.h"
#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"
#include "tools/samples/SampleData.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The unit, written once for the whole run.
struct BenchUnit {
    QTemporaryDir dir;
    QString programDir;
    QString dataDir;
    int speciesRows = 0;

    BenchUnit()
    {
        programDir = dir.path();
        dataDir = programDir + QStringLiteral("/lhc/DATA");
        const QString source = QStringLiteral(GENKLAS_SOURCE_DIR "/data");
        samples::writeCodebooks(source, programDir);
        samples::UnitOptions options;
        options.compartments = 1000;
        options.groupsPerStand = 10;
        options.speciesPerStorey = 10;
        options.seed = 1000;
        samples::writeUnit(source, programDir + QStringLiteral("/lhc"), options);
        IniFile vkm(programDir + QStringLiteral("/vkm.ini"));
        vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("DATA"), QStringLiteral("PATH=") + dataDir);
        vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("MANAGER"), QStringLiteral("NE"));
        files::setProgramDirectory(programDir);
        db::Table dr;
        dr.SetTableName(dataDir + QStringLiteral("/DREVINA.DB"));
        dr.Open();
        speciesRows = dr.RecordCount();
    }
};

BenchUnit& unit()
{
    static BenchUnit u;
    return u;
}

// (a) Every field of every row of every stand table, read through db::Table.
void BM_RawRead(benchmark::State& state)
{
    const QString dataDir = unit().dataDir;
    const QStringList tables = QDir(dataDir).entryList({QStringLiteral("*.DB")}, QDir::Files);
    for (auto _ : state) {
        qint64 values = 0;
        for (const QString& name : tables) {
            db::Table t;
            t.SetTableName(dataDir + QLatin1Char('/') + name);
            t.Open();
            for (t.First(); !t.Eof(); t.Next())
                for (int i = 0; i < t.FieldCount(); ++i)
                    values += t.Fields(i).Value().isValid() ? 1 : 0;
            t.Close();
        }
        benchmark::DoNotOptimize(values);
    }
    state.counters["species"] = unit().speciesRows;
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond)->Iterations(3);

// (b) The whole calculation into TGENKL.DB: the source opened, every compartment loaded and
// walked, every row written.
void BM_Calculation(benchmark::State& state)
{
    bench::timeCalculation(state, SourceKinds::Vex97, unit().dataDir, unit().programDir);
}
BENCHMARK(BM_Calculation)->Unit(benchmark::kMillisecond)->Iterations(3);

// (c) The source alone: every compartment loaded into the forest model, nothing written.
void BM_LoadOnly(benchmark::State& state)
{
    ui::RecordingServices quiet;
    ui::setServices(&quiet);
    for (auto _ : state) {
        Owned<TLesniCelek> forest = Create<TLesniCelek>();
        forest->setProgramDir(unit().programDir);
        forest->setSource(app::createSource(SourceKinds::Vex97, {unit().dataDir, unit().programDir}));
        app::Source* source = forest->source();
        int compartments = source->loadFirstCompartment(*forest) ? 1 : 0;
        while (!source->endOfData() && source->loadNextCompartment(*forest))
            ++compartments;
        state.counters["compartments"] = compartments;
    }
    ui::setServices(nullptr);
}
BENCHMARK(BM_LoadOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

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
