// The timed step shared by the calculation benchmarks: one source opened and its whole
// calculation written into TGENKL.DB in the program directory.
#pragma once

#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "platform/ui/Services.h"

#include <QFile>

#include <malloc.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bench {

// The services of a timed calculation: messages are recorded, and the status line holds its
// latest text as the window's status bar does (keeping every text would grow over the records
// and the repetitions, and time the receiver instead of the calculation).
class QuietServices : public ui::RecordingServices
{
public:
    void setStatusText(const QString& text) override { statusText = text; }
    QString statusText;
};

// Runs the calculation of the source `kind` over `dataDir` once per iteration; `prepare` sets
// what a source needs on the unit before its header is read.
inline void timeCalculation(benchmark::State& state, quint8 kind, const QString& dataDir,
                            const QString& programDir,
                            const std::function<void(TLesniCelek&)>& prepare = {})
{
    QuietServices quiet;
    ui::setServices(&quiet);
    for (auto _ : state) {
        app::Calculation calc;
        calc.setTablesDir(programDir + QStringLiteral("/"));
        calc.LesniCelek()->setProgramDir(programDir);
        if (prepare)
            prepare(*calc.LesniCelek());
        calc.LesniCelek()->setSource(app::createSource(kind, {dataDir, programDir}));
        calc.LesniCelek()->LoadHeader();
        if (!calc.RunCalculation({}))
            state.SkipWithError("the calculation failed");
        state.counters["rows"] = calc.rowsWritten();
    }
    if (!quiet.messages.empty())
        std::fprintf(stderr, "first message: %s\n", qPrintable(quiet.messages[0].text));
    ui::setServices(nullptr);
}

// Resets the process's peak resident memory (VmHWM), so that the next reading is the peak of
// what runs after it.
inline void resetPeakMemory()
{
    malloc_trim(0);   // what set-up freed is not counted
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// Peak resident memory of the process in MB since the last reset (VmHWM of /proc/self/status).
inline double peakMemoryMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// The machine's one-minute load average.
inline double loadAverage()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    return load.open(QIODevice::ReadOnly) ? load.readAll().split(' ').value(0).toDouble() : 0;
}

// CPU time of the calling thread in milliseconds.
inline double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Peak memory and load as counters of the run.
inline void reportMachine(benchmark::State& state)
{
    state.counters["peak_MB"] = peakMemoryMb();
    state.counters["load"] = loadAverage();
}

// "Výpočet" as the button runs it: the unit made, its source chosen and its header loaded before
// the timing (the main window does that when it is shown), then RunCalculation alone timed by
// hand (the benchmark needs UseManualTime). Peak memory is that of the timed run.
inline void timeCalculationClick(benchmark::State& state, quint8 kind, const QString& dataDir,
                                 const QString& programDir)
{
    QuietServices quiet;
    ui::setServices(&quiet);
    for (auto _ : state) {
        auto calc = std::make_unique<app::Calculation>();
        calc->setTablesDir(programDir + QStringLiteral("/"));
        calc->LesniCelek()->setProgramDir(programDir);
        calc->LesniCelek()->setSource(app::createSource(kind, {dataDir, programDir}));
        calc->LesniCelek()->LoadHeader();
        resetPeakMemory();
        const double cpuStart = threadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        const bool done = calc->RunCalculation({});
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        state.counters["cpu_ms"] = threadCpuMs() - cpuStart;
        reportMachine(state);
        if (!done)
            state.SkipWithError("the calculation failed");
        state.counters["rows"] = calc->rowsWritten();
        calc.reset();
    }
    if (!quiet.messages.empty())
        std::fprintf(stderr, "first message: %s\n", qPrintable(quiet.messages[0].text));
    ui::setServices(nullptr);
}

// The console report, then a table of the medians of every benchmark as multiples of the
// baseline benchmark's median for the same arguments, with their peak memory and load; with a
// figure benchmark, its multiples of the baseline once more, unit by unit, as the figure the
// benchmark gives.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    explicit RatioReporter(std::string baseline, std::string figure = {})
        : m_baseline(std::move(baseline)), m_figure(std::move(figure))
    {
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median")
                continue;
            const auto counter = [&run](const char* name) {
                const auto it = run.counters.find(name);
                return it == run.counters.end() ? 0.0 : double(it->second);
            };
            const double ms = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
            // Manual timing reports the CPU time of the timed step as a counter.
            const double cpu = run.counters.count("cpu_ms") ? counter("cpu_ms")
                : run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
            m_medians.push_back({run.run_name.function_name, run.run_name.args, ms, cpu, counter("peak_MB"), counter("load")});
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::map<std::string, const Median*> baselines;
        for (const Median& m : m_medians) {
            if (m.function == m_baseline)
                baselines[m.args] = &m;
        }
        std::printf("\nMedians, real and CPU time, as multiples of %s of the same unit:\n", m_baseline.c_str());
        std::printf("  %-20s %-30s %8s %6s %8s %6s %8s %5s\n", "benchmark", "unit", "real ms", "ratio", "CPU ms",
                    "ratio", "peak MB", "load");
        for (const Median& m : m_medians) {
            const auto base = baselines.find(m.args);
            const Median* b = base == baselines.end() ? nullptr : base->second;
            const double ratio = b && b->ms > 0 ? m.ms / b->ms : 0;
            const double cpuRatio = b && b->cpuMs > 0 ? m.cpuMs / b->cpuMs : 0;
            std::printf("  %-20s %-30s %8.1f %6.2f %8.1f %6.2f %8.1f %5.1f\n", m.function.c_str(), m.args.c_str(),
                        m.ms, ratio, m.cpuMs, cpuRatio, m.peakMb, m.load);
        }
        if (m_figure.empty())
            return;
        std::printf("\nThe figure: %s as a multiple of %s, medians (real / CPU):\n", m_figure.c_str(), m_baseline.c_str());
        for (const Median& m : m_medians) {
            const auto base = baselines.find(m.args);
            if (m.function != m_figure || base == baselines.end() || base->second->ms <= 0 || base->second->cpuMs <= 0)
                continue;
            std::printf("  %-30s %6.2f / %5.2f   load %.1f\n", m.args.c_str(), m.ms / base->second->ms,
                        m.cpuMs / base->second->cpuMs, m.load);
        }
    }

private:
    struct Median {
        std::string function;
        std::string args;
        double ms;
        double cpuMs;
        double peakMb;
        double load;
    };
    std::string m_baseline;
    std::string m_figure;
    std::vector<Median> m_medians;
};

} // namespace bench
