// Reading INI files: every key of 50, 100 and 200 sections walked through the file's object.
#include "platform/ini/IniFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

namespace {

constexpr int keysPerSection = 20;

// A settings file of `sections` sections, last changed an hour ago as settings files are.
QString writeSettings(const QTemporaryDir& dir, int sections)
{
    const QString path = dir.path() + QStringLiteral("/settings.ini");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return path;
    for (int s = 0; s < sections; ++s) {
        file.write(QStringLiteral("[Sekce%1]\r\n").arg(s).toLatin1());
        for (int k = 0; k < keysPerSection; ++k)
            file.write(QStringLiteral("Klic%1 = hodnota %2\r\n").arg(k).arg(s * keysPerSection + k).toLatin1());
        file.write("\r\n");
    }
    file.close();
    timespec hourAgo{};
    clock_gettime(CLOCK_REALTIME, &hourAgo);
    hourAgo.tv_sec -= 3600;
    const timespec times[2] = {hourAgo, hourAgo};
    utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    return path;
}

void BM_IniWalkEveryKey(benchmark::State& state)
{
    const QTemporaryDir dir;
    const int sections = int(state.range(0));
    const IniFile ini(writeSettings(dir, sections));
    qint64 values = 0;
    for (auto _ : state) {
        for (const QString& section : ini.readSections())
            for (const QString& key : ini.readSection(section))
                values += ini.readString(section, key, QString()).size();
    }
    benchmark::DoNotOptimize(values);
    state.counters["keys"] = sections * keysPerSection;
    state.SetComplexityN(sections);
}
BENCHMARK(BM_IniWalkEveryKey)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
