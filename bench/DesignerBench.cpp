// The template designer on a page of 1 000 elements of every kind at 100 %: a click, one drag
// frame of one element and of all of them, each with its repaint, against a full repaint; and
// 1 000 recorded moves undone and redone one by one, with the memory each recorded step adds.
#include "BenchSupport.h"

#include "platform/ui/Services.h"
#include "reports/designer/form/FormSestE.h"
#include "reports/designer/surface/Papir.h"
#include "reports/engine/SestavaTyp.h"
#include "reports/model/TemplateFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

using namespace reports;
using namespace reports::designer;

constexpr int elementCount = 1000;
constexpr int frames = 50;             // timed frames per measurement
constexpr int cellWidth = 40, cellHeight = 20;
const int kindTools[] = {tcText, tcColumn, tcLabel + 1, tcParameter, tcVariable + 1, tcFunction + 2,
                         tcLines, tcRectangle, tcRoundRect, tcEllipse, tcPicture};

// Counts the paint events of the paper and the pixels they cover.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    qint64 pixels = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) pixels += qint64(r.width()) * r.height();
        }
        return false;
    }
};

// The designer over a report whose template has 1 000 elements of every kind in a grid on
// the body, the whole paper visible in its window.
class Page
{
public:
    explicit Page(int undoDepth)
    {
        QFile ini(m_dir.filePath(QStringLiteral("SESTDLL.INI")));
        ini.open(QIODevice::WriteOnly);
        ini.write(QStringLiteral("[EditorSestav]\r\nPocetUndo=%1\r\nRastrZarovnavat=0\r\n[Oddily]\r\nImplSirka=%2\r\n"
                                 "ImplVyska=%3\r\n")
                      .arg(undoDepth).arg(cellWidth - 4).arg(cellHeight - 4).toLatin1());
        ini.close();
        QFile seed(QStringLiteral(GENKLAS_SOURCE_DIR "/data/sevran.pts"));
        seed.open(QIODevice::ReadOnly);
        m_report.SetColumns({QStringLiteral("ODD"), QStringLiteral("DIL"), QStringLiteral("POR")});
        m_report.SetPredloha(TemplateLinesFromBytes(seed.readAll()));
        form = std::make_unique<TFormSestE>(m_report, nullptr, ini.fileName());
        form->OpenReport({QRect(), 0, 0});
        fill();
        form->paper().installEventFilter(&counter);
        const QSize paper = form->paper().size();
        form->setGeometry(0, 0, paper.width() + 400, paper.height() + 300);
        form->show();
        QElapsedTimer wait;
        wait.start();
        while (!(form->windowHandle() && form->windowHandle()->isExposed()) && wait.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        QApplication::processEvents();
    }

    DesignerController& controller() { return form->controller(); }
    TPapir& paper() { return form->paper(); }
    std::vector<ElementId> bodyIds() const
    {
        std::vector<ElementId> ids;
        for (const DocumentElement& e : form->controller().Document().State().Band(biBody)) ids.push_back(e.Id);
        return ids;
    }
    void mouse(QEvent::Type type, QPoint p)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(p), paper().mapToGlobal(QPointF(p)), button, held, {});
        QApplication::sendEvent(&paper(), &event);
    }
    // Paints what the last step left dirty, now.
    static void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

    std::unique_ptr<TFormSestE> form;
    PaintCounter counter;

private:
    // Inserts the elements through the tools, then reloads the result as the base entry.
    void fill()
    {
        DesignerController& c = form->controller();
        const int perRow = form->controller().Document().PaperWidth() / cellWidth;
        c.bandHeightChanged(biBody, (elementCount / perRow + 1) * cellHeight);
        for (int i = 0; i < elementCount; ++i) {
            c.ChooseTool(kindTools[i % std::size(kindTools)]);
            c.InsertElement(biBody, (i % perRow) * cellWidth, (i / perRow) * cellHeight);
        }
        m_report.SetPredloha(c.Document().Write());
        c.LoadReportTemplate();
    }

    QTemporaryDir m_dir;
    TSestavaTyp m_report;
};

double timed(const std::function<void()>& step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    Page::flush();
    return clock.nsecsElapsed() / 1e6;
}

void BM_SelectAndDrag(benchmark::State& state)
{
    Page page(10);
    const std::vector<ElementId> ids = page.bodyIds();
    for (auto _ : state) {
        std::vector<double> full, click, one, all, paints;
        for (int i = 0; i < frames; ++i)
            full.push_back(timed([&] { page.paper().repaint(); }));
        const int paintsBefore = page.counter.paints;
        for (int i = 0; i < frames; ++i) {
            const QPoint p = page.paper().elementRect(ids[std::size_t(i * 7 % ids.size())]).center();
            click.push_back(timed([&] {
                page.mouse(QEvent::MouseButtonPress, p);
                page.mouse(QEvent::MouseButtonRelease, p);
            }));
        }
        const int clickPaints = page.counter.paints - paintsBefore;
        // One element dragged back and forth, frame by frame.
        const auto dragFrames = [&](std::vector<double>& out) {
            const QPoint from = page.paper().elementRect(ids[500]).center();
            page.mouse(QEvent::MouseButtonPress, from);
            const int paintsBefore = page.counter.paints;
            for (int i = 0; i < frames; ++i)
                out.push_back(timed([&] { page.mouse(QEvent::MouseMove, from + QPoint(8 + 4 * (i % 2), 6)); }));
            paints.push_back(double(page.counter.paints - paintsBefore) / frames);
            page.mouse(QEvent::MouseButtonRelease, from);
            Page::flush();
        };
        page.controller().DeselectAll();
        dragFrames(one);
        for (ElementId id : ids) page.controller().addToSelection(id);
        Page::flush();
        dragFrames(all);
        page.controller().DeselectAll();
        state.SetIterationTime(median(click) / 1000.0);
        state.counters["full_repaint_ms"] = median(full);
        // The share of the paper the window shows: a full repaint paints all of it at 1.
        const QSize shown = page.paper().visibleRegion().boundingRect().size();
        state.counters["paper_shown"] = double(shown.width()) * shown.height() / (page.paper().width() * page.paper().height());
        state.counters["elements"] = double(ids.size());
        state.counters["click_ms"] = median(click);
        state.counters["click_paints"] = double(clickPaints) / frames;
        state.counters["drag_one_paints"] = paints.at(0);
        state.counters["drag_all_paints"] = paints.at(1);
        state.counters["drag_one_ms"] = median(one);
        state.counters["drag_all_ms"] = median(all);
        state.counters["drag_one_share"] = median(one) / median(full);
        state.counters["drag_all_share"] = median(all) / median(full);
    }
}
BENCHMARK(BM_SelectAndDrag)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The bytes an undo entry's state holds apart from what earlier entries hold: elements and
// band vectors not seen before (their shared pointers' targets), as allocated.
struct StateBytes {
    std::set<const void*> seen;
    std::size_t add(const DocumentState& s)
    {
        std::size_t bytes = 0;
        for (const auto& band : s.Bands) {
            if (!seen.insert(band.get()).second) continue;
            bytes += sizeof(BandElements) + band->capacity() * sizeof(DocumentElement);
            for (const DocumentElement& e : *band)
                if (seen.insert(e.Element.get()).second) bytes += sizeof(TVoReportElement);
        }
        if (seen.insert(s.Settings.get()).second) bytes += sizeof(TemplateSettings);
        if (seen.insert(s.Functions.get()).second) bytes += sizeof(*s.Functions) + s.Functions->capacity() * sizeof(FunctionSettings);
        return bytes;
    }
};

void BM_UndoRedo(benchmark::State& state)
{
    for (auto _ : state) {
        Page page(elementCount);
        const std::vector<ElementId> ids = page.bodyIds();
        std::vector<double> moves, undos, redos;
        for (int i = 0; i < elementCount; ++i) {
            const QPoint from = page.paper().elementRect(ids[std::size_t(i)]).center();
            moves.push_back(timed([&] {
                page.mouse(QEvent::MouseButtonPress, from);
                page.mouse(QEvent::MouseMove, from + QPoint(3, 2));
                page.mouse(QEvent::MouseButtonRelease, from + QPoint(3, 2));
            }));
        }
        const TListVariant& list = page.controller().Document().Variants();
        const int steps = list.Count() - 1;
        // A deep copy: every element, band vector, settings and functions once.
        const std::size_t whole = StateBytes{}.add(list.Snapshot(0));
        StateBytes history;
        history.add(list.Snapshot(0));
        std::size_t added = 0;
        for (int i = 1; i < list.Count(); ++i) added += history.add(list.Snapshot(i));
        for (int i = 0; i < steps; ++i) undos.push_back(timed([&] { page.controller().Undo(); }));
        for (int i = 0; i < steps; ++i) redos.push_back(timed([&] { page.controller().Redo(); }));
        state.SetIterationTime(median(undos) / 1000.0);
        state.counters["steps"] = steps;
        state.counters["move_ms"] = median(moves);
        state.counters["move_max_ms"] = *std::max_element(moves.begin(), moves.end());
        state.counters["undo_ms"] = median(undos);
        state.counters["undo_max_ms"] = *std::max_element(undos.begin(), undos.end());
        state.counters["redo_ms"] = median(redos);
        state.counters["redo_max_ms"] = *std::max_element(redos.begin(), redos.end());
        state.counters["copy_bytes"] = double(whole);
        state.counters["step_bytes"] = steps ? double(added) / steps : 0;
        state.counters["step_share"] = steps ? double(added) / steps / double(whole) : 0;
    }
}
BENCHMARK(BM_UndoRedo)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::RecordingServices recorder;
    ui::setServices(&recorder);
    printLoadAverage();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ui::setServices(nullptr);
    return 0;
}
