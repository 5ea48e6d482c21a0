// "Výpočet" over generated IS HÚL (variants 97 and 98) and old-record units of 250, 1 000 and
// 2 000 compartments (about 50 species a compartment), against a raw read of the same files in the
// same run.
//
// Baseline (BM_RawRead): every record of the files the source reads, read and split into values --
// IS HÚL: PP.FST, BZL.FST and JP.FST (variant 98 also LHC.FST and the codebooks Cis_05x.FST and
// Maj.FST) through the interchange reader; old records: every record of the unit's *.nnV files
// through the record reader, cut into its 65 fields.
//
// BM_Calculation is the button: the source chosen and its header loaded beforehand (outside the
// timing), then RunCalculation timed. The old-record format numbers compartments with three
// digits, so its "2 000" unit has 999 compartments with twice the stand groups (about the species
// of the 2 000-compartment unit).
//
// Every benchmark repeats its run and reports the median; the counters give the peak resident
// memory of the process during the timed run and the machine's one-minute load at its end. The
// closing table gives each median as a multiple of the raw read of the same unit.
#include "CalculationRun.h"

#include "app/AppRegistration.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "app/sources/ishul/FstDataReader.h"
#include "app/sources/oldlhp/UnivStareLHP.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "tools/ishul/IsHulSampleWriter.h"
#include "tools/oldlhp/OldLhpSampleWriter.h"
#include "tools/samples/SampleData.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

constexpr int repetitions = 5;
constexpr int oldRecords = 160;   // the source argument of the old-record unit

// The units of one size, written once: IS HÚL 97 and 98 from a generated version-97 unit, the
// old records generated alike.
struct BenchUnits {
    QTemporaryDir dir;
    QString programDir;
    QString ishul97;
    QString ishul98;
    QString lhpDir;
    int vexSpecies = 0;
    int lhpSpecies = 0;

    explicit BenchUnits(int compartments)
    {
        programDir = dir.path();
        const QString source = QStringLiteral(GENKLAS_SOURCE_DIR "/data");
        samples::UnitOptions options;
        options.compartments = compartments;
        options.groupsPerStand = 10;
        options.speciesPerStorey = 10;
        options.seed = quint32(compartments + 1997);
        const QString dataDir = samples::writeGeneratedInstallation(source, programDir, options);
        files::setProgramDirectory(programDir);
        ui::RecordingServices quiet;
        ui::setServices(&quiet);
        ishul97 = programDir + QStringLiteral("/ishul97");
        ishul98 = programDir + QStringLiteral("/ishul98");
        for (const bool v98 : {false, true}) {
            Owned<TLesniCelek> unit = Create<TLesniCelek>();
            unit->setProgramDir(programDir);
            unit->setSource(app::createSource(SourceKinds::Vex97, {dataDir, programDir}));
            unit->LoadHeader();
            samples::writeIsHulUnit(*unit, source, v98 ? ishul98 : ishul97, v98);
        }
        ui::setServices(nullptr);
        db::Table dr;
        dr.SetTableName(dataDir + QStringLiteral("/DREVINA.DB"));
        dr.Open();
        vexSpecies = dr.RecordCount();
        // Old records: at most 999 compartments, the rest of the size in stand groups; 13 groups
        // a stand at most give these units about the species of the version-97 unit.
        samples::UnitOptions lhp = options;
        lhp.compartments = std::min(compartments, 999);
        lhp.groupsPerStand = 13 * compartments / lhp.compartments;
        const samples::OldLhpUnit records = samples::generateOldLhpUnit(source, lhp);
        lhpSpecies = int(records.rows.size());
        lhpDir = programDir + QStringLiteral("/lhp160");
        samples::writeOldLhpUnit(records, lhpDir);
    }
};

BenchUnits& units(const benchmark::State& state)
{
    static std::map<int, std::unique_ptr<BenchUnits>> all;
    std::unique_ptr<BenchUnits>& u = all[int(state.range(1))];
    if (!u)
        u = std::make_unique<BenchUnits>(int(state.range(1)));
    files::setProgramDirectory(u->programDir);
    return *u;
}

QString dirOf(const benchmark::State& state)
{
    const BenchUnits& u = units(state);
    return state.range(0) == 97 ? u.ishul97 : state.range(0) == 98 ? u.ishul98 : u.lhpDir;
}

quint8 kindOf(const benchmark::State& state)
{
    return state.range(0) == 97 ? SourceKinds::IsHul97
        : state.range(0) == 98  ? SourceKinds::IsHul98
                                : SourceKinds::OldLhpRecords;
}

QStringList filesOf(const QString& dir, const QStringList& patterns)
{
    QStringList names = QDir(dir).entryList(patterns, QDir::Files, QDir::Name);
    for (QString& n : names)
        n = dir + QLatin1Char('/') + n;
    return names;
}

// Every record of every interchange file of the unit, read and split into values.
qint64 readInterchange(const QString& dir)
{
    qint64 values = 0;
    for (const QString& path : filesOf(dir, {QStringLiteral("*.FST")})) {
        auto reader = TPrenasecZeStandarduData::CreateOn(path);
        for (reader->ReadRecord(); !reader->Konec(); reader->ReadRecord())
            values += reader->PocetHodnotHlavicky();
    }
    return values;
}

// Every record of the unit's files, cut into its 65 fields.
qint64 readOldRecords(const QString& dir)
{
    QStringList names = filesOf(dir, {QStringLiteral("*.*V")});
    TUnivStareLHP reader;
    reader.SetFileName(names.takeFirst());
    reader.SetFollowingFiles(names);
    reader.Open();
    qint64 length = 0;
    for (; !reader.Eof(); reader.Next()) {
        for (int f = 1; f <= TUnivStareLHP::FieldCount; ++f)
            length += reader.D(f).size();
    }
    return length;
}

void BM_RawRead(benchmark::State& state)
{
    const QString dir = dirOf(state);
    bench::resetPeakMemory();
    for (auto _ : state)
        benchmark::DoNotOptimize(state.range(0) == oldRecords ? readOldRecords(dir) : readInterchange(dir));
    bench::reportMachine(state);
    state.counters["species"] = state.range(0) == oldRecords ? units(state).lhpSpecies : units(state).vexSpecies;
}

void BM_Calculation(benchmark::State& state)
{
    const BenchUnits& u = units(state);
    bench::timeCalculationClick(state, kindOf(state), dirOf(state), u.programDir);
}

void unitSizes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"source", "compartments"});
    for (const int source : {97, 98, oldRecords})
        for (const int compartments : {250, 1000, 2000})
            b->Args({source, compartments});
    b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(repetitions)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_RawRead)->Apply(unitSizes);
BENCHMARK(BM_Calculation)->Apply(unitSizes)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    RegisterAppUnits();
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter("BM_RawRead");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
