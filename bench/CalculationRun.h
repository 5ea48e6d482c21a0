// The timed step shared by the calculation benchmarks: one source opened and its whole
// calculation written into TGENKL.DB in the program directory.
#pragma once

#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "platform/ui/Services.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>

namespace bench {

// Runs the calculation of the source `kind` over `dataDir` once per iteration; `prepare` sets
// what a source needs on the unit before its header is read.
inline void timeCalculation(benchmark::State& state, quint8 kind, const QString& dataDir,
                            const QString& programDir,
                            const std::function<void(TLesniCelek&)>& prepare = {})
{
    ui::RecordingServices quiet;
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

} // namespace bench
