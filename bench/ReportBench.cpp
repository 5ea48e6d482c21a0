// Layout of a list report: 10 000 and 40 000 records, real font metrics, time and heap growth;
// one page of 2 000 to 16 000 items.
#include "reports/engine/SestavaTyp.h"
#include "reports/model/PageSettings.h"
#include "reports/output/TextLayout.h"
#include "reports/output/TextMeasurer.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

using namespace reports;

constexpr int columnCount = 12;

// Rows of 12 columns; column 0 changes every 25 records (the group).
class BenchReport : public TSestavaTyp
{
public:
    explicit BenchReport(int rows) : m_rows(rows) {}
    int StepData(int dir) override
    {
        m_eof = false;
        if (dir == sdFirst) m_current = 0;
        else if (dir == sdPrior) m_current = std::max(m_current - 1, 0);
        else if (dir == sdNext && m_current + 1 < m_rows) ++m_current;
        else if (dir == sdNext) m_eof = true;
        return (m_current == 0 ? srBof : 0) | (m_eof ? srEof : 0);
    }
    QString ColumnText(int index) const override
    {
        if (index == 0) return QStringLiteral("Skupina %1").arg(m_current / 25);
        return index == 1 ? QString::number(m_current % 97 + 1)
                          : QStringLiteral("H%1-%2").arg(m_current).arg(index);
    }
    double ColumnValue(int index) const override { return index == 1 ? m_current % 97 + 1 : 0; }
    int ColumnDataType(int index) const override { return index == 1 ? ctInteger : ctString; }

private:
    int m_rows;
    int m_current = 0;
    bool m_eof = false;
};

QString element(const QString& tag, int kind, int ref, int left, int top, int width, const QString& text = {})
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,17,Arial,9,0,0,0,2,238,\"%7\",0")
        .arg(tag).arg(kind).arg(ref).arg(left).arg(top).arg(width).arg(text);
}

// Page head, group head and foot on one column, a 12-column body, a page foot with the
// page number and a page sum.
QStringList listTemplate()
{
    QStringList t{QStringLiteral("I,1,4,0,0"), QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0"),
                  QStringLiteral("I,3,1,1,30,0"), QStringLiteral("I,3,2,1,18,0"), QStringLiteral("I,3,4,1,25,0"),
                  QStringLiteral("I,4,0,0,1,20,1,20,0"),
                  QStringLiteral("F,0,Strana,\"\",0,\"0\",1,\"#2\",2,15,0,2"),
                  element(QStringLiteral("H"), 1, 0, 0, 0, 700, QStringLiteral("Seznam uznaných porostů")),
                  element(QStringLiteral("S0"), 2, 0, 0, 0, 300),
                  element(QStringLiteral("U0"), 1, 0, 0, 0, 300, QStringLiteral("Konec skupiny"))};
    for (int c = 0; c < columnCount; ++c) t << element(QStringLiteral("T"), 2, c, c * 60, 0, 58);
    t << element(QStringLiteral("P"), 5, 3, 600, 4, 100, QStringLiteral("Strana %d"))
      << element(QStringLiteral("P"), 6, 0, 0, 4, 100);
    return t;
}

QStringList columnNames()
{
    QStringList names;
    for (int c = 0; c < columnCount; ++c) names << QStringLiteral("C%1").arg(c);
    return names;
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

void BM_ListLayout(benchmark::State& state)
{
    resetPageSettings();
    const FontMetricsMeasurer measurer;
    size_t growth = 0;
    int pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto report = std::make_unique<BenchReport>(int(state.range(0)));
        report->setMeasurer(&measurer);
        report->SetColumns(columnNames());
        report->SetPredloha(listTemplate());
        const size_t before = heapInUse();
        state.ResumeTiming();
        report->RunReport();
        state.PauseTiming();
        growth = heapInUse() - before;
        pages = report->Output.PageCount();
        report.reset();
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
    state.counters["heap_MB"] = double(growth) / (1024 * 1024);
    state.counters["bytes_per_record"] = double(growth) / double(state.range(0));
}
BENCHMARK(BM_ListLayout)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

// One record whose body holds `n` elements, all on the first page: the cost of placing the
// items of one page, which grows with the items alone.
void BM_PageItems(benchmark::State& state)
{
    resetPageSettings();
    const FontMetricsMeasurer measurer;
    const int n = int(state.range(0));
    QStringList t = listTemplate().mid(0, 7);
    for (int e = 0; e < n; ++e)
        t << element(QStringLiteral("T"), e % 4 == 0 ? 2 : 1, e % columnCount, e % 60 * 12, e / 60 % 15, 40,
                     QStringLiteral("x"));
    int items = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto report = std::make_unique<BenchReport>(1);
        report->setMeasurer(&measurer);
        report->SetColumns(columnNames());
        report->SetPredloha(t);
        state.ResumeTiming();
        report->RunReport();
        state.PauseTiming();
        items = report->Output.PageAt(0).count();
        report.reset();
        state.ResumeTiming();
    }
    state.counters["items"] = items;
    state.SetComplexityN(n);
}
BENCHMARK(BM_PageItems)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(16000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// Baseline: the same cell texts laid out alone, without the record loop and pages.
void BM_MeasureCellsOnly(benchmark::State& state)
{
    const FontMetricsMeasurer measurer;
    TextSettings settings;
    settings.font.Name = QStringLiteral("Arial");
    settings.font.Size = 9;
    BenchReport data(int(state.range(0)));
    for (auto _ : state) {
        int step = data.StepData(sdFirst);
        do {
            for (int c = 0; c < columnCount; ++c)
                benchmark::DoNotOptimize(MeasureText(measurer, 58, data.ColumnText(c), settings));
            step = data.StepData(sdNext);
        } while (!(step & srEof));
    }
}
BENCHMARK(BM_MeasureCellsOnly)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
