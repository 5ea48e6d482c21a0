// Time from the program's start to a shown main window: registration, source choice and header, tables directory, window.
#include "app/AppRegistration.h"
#include "app/sources/LesniCelek.h"
#include "app/windows/CalculationForm.h"
#include "app/windows/MainWindow.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

QTemporaryDir* g_programDir = nullptr;
// The version-97 sample unit beside the built program, or "ALIAS" (no files read) without it.
QString g_choice;

// One start: the main window's first showing on the chosen unit (its header read), until the
// window is shown and its pending events have run.
void startOnce()
{
    app::TFGenKl window(g_programDir->path());
    TLesniCelek* unit = window.calculationForm()->calculation().LesniCelek();
    unit->setProgramDir(g_programDir->path());
    unit->setDirectoryChooser([](const QString&, const QString&, const QString&, bool) { return g_choice; });
    window.FormShow();
    window.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.isVisible());
}

void BM_MainWindowShown(benchmark::State& state)
{
    for (auto _ : state)
        startOnce();
}
BENCHMARK(BM_MainWindowShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    ui::RecordingServices quiet;   // the "cannot read yet" message of the alias source is not shown
    ui::setServices(&quiet);
    RegisterAppUnits();
    QTemporaryDir programDir;
    g_programDir = &programDir;
    IniFile(programDir.filePath("vkm.ini")).writeString("Database", "Data", "PATH=" + programDir.path());
    // As in the sample installation: the data module does not ask for the data directory.
    IniFile(programDir.filePath("vkm.ini")).writeString("DATABASE", "MANAGER", "NE");
    const QString built = QCoreApplication::applicationDirPath() + "/../src/app";
    const bool hasSample = QDir(built + "/vzorky/vex97/DATA").exists();
    g_choice = hasSample ? built + "/vzorky/vex97/DATA" : QStringLiteral("ALIAS");
    if (hasSample)
        QFile::link(built + "/ciselnik", programDir.filePath("ciselnik"));
    std::printf("unit: %s\n", qPrintable(g_choice));
    startOnce();
    std::printf("first start to a shown main window: %.1f ms (target below 500 ms)\n", clock.nsecsElapsed() / 1e6);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    ui::setServices(nullptr);
    return 0;
}
