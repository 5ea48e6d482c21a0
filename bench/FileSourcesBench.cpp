// The calculation over generated IS HÚL and old-record units of 1 000 compartments, against a
// raw read of every record of their files (read and split into values) in the same run.
#include "CalculationRun.h"

#include "app/AppRegistration.h"
#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "app/sources/ishul/FstDataReader.h"
#include "app/sources/oldlhp/UnivStareLHP.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"
#include "tools/ishul/IsHulSampleWriter.h"
#include "tools/oldlhp/OldLhpSampleWriter.h"
#include "tools/samples/SampleData.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The units, written once for the whole run: IS HÚL from a generated version-97 unit, the old
// records generated alike.
struct BenchUnits {
    QTemporaryDir dir;
    QString programDir;
    QString ishulDir;
    QString lhpDir;

    BenchUnits()
    {
        programDir = dir.path();
        const QString dataDir = programDir + QStringLiteral("/lhc/DATA");
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
        ui::RecordingServices quiet;
        ui::setServices(&quiet);
        Owned<TLesniCelek> unit = Create<TLesniCelek>();
        unit->setProgramDir(programDir);
        unit->setSource(app::createSource(SourceKinds::Vex97, {dataDir, programDir}));
        unit->LoadHeader();
        ishulDir = programDir + QStringLiteral("/ishul");
        samples::writeIsHulUnit(*unit, source, ishulDir, false);
        lhpDir = programDir + QStringLiteral("/lhp160");
        samples::writeOldLhpUnit(samples::generateOldLhpUnit(source, options), lhpDir);
        ui::setServices(nullptr);
    }
};

BenchUnits& units()
{
    static BenchUnits u;
    return u;
}

// (a) IS HÚL: every record of the three files read and split into values.
void BM_IsHulRawRead(benchmark::State& state)
{
    qint64 records = 0;
    for (auto _ : state) {
        records = 0;
        for (const char* name : {"PP.FST", "BZL.FST", "JP.FST"}) {
            auto reader = TPrenasecZeStandarduData::CreateOn(units().ishulDir + QLatin1Char('/') + QLatin1String(name));
            for (reader->ReadRecord(); !reader->Konec(); reader->ReadRecord())
                ++records;
        }
        benchmark::DoNotOptimize(records);
    }
    state.counters["records"] = double(records);
}
BENCHMARK(BM_IsHulRawRead)->Unit(benchmark::kMillisecond)->Iterations(3);

// (a) Old records: every record of the unit's files read and cut into its 65 fields.
void BM_OldLhpRawRead(benchmark::State& state)
{
    qint64 records = 0;
    for (auto _ : state) {
        records = 0;
        QStringList names = QDir(units().lhpDir).entryList({QStringLiteral("*.*V")}, QDir::Files, QDir::Name);
        for (QString& n : names)
            n = units().lhpDir + QLatin1Char('/') + n;
        TUnivStareLHP reader;
        reader.SetFileName(names.takeFirst());
        reader.SetFollowingFiles(names);
        reader.Open();
        qint64 length = 0;
        for (; !reader.Eof(); reader.Next()) {
            for (int f = 1; f <= TUnivStareLHP::FieldCount; ++f)
                length += reader.D(f).size();
            ++records;
        }
        benchmark::DoNotOptimize(length);
    }
    state.counters["records"] = double(records);
}
BENCHMARK(BM_OldLhpRawRead)->Unit(benchmark::kMillisecond)->Iterations(3);

// (b) The whole calculation into TGENKL.DB over a source kind.
void calculation(benchmark::State& state, quint8 kind, const QString& dir)
{
    bench::timeCalculation(state, kind, dir, units().programDir, [&](TLesniCelek& unit) {
        unit.SetAdresarStandardu(dir);
        unit.SetadresarObecnychDatLHP(dir);
    });
}

void BM_IsHulCalculation(benchmark::State& state)
{
    calculation(state, SourceKinds::IsHul97, units().ishulDir);
}
BENCHMARK(BM_IsHulCalculation)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OldLhpCalculation(benchmark::State& state)
{
    calculation(state, SourceKinds::OldLhpRecords, units().lhpDir);
}
BENCHMARK(BM_OldLhpCalculation)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    RegisterAppUnits();
    units();   // the units are written before any timing starts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
