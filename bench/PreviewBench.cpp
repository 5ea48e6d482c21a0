// The list's print preview over 10 000 generated stands (sevran.pts, the ordered Query1, real
// fonts): first page painted while the run goes on, page turns at 83 % and 300 %, and the
// longest slice of the run between the window's events.
#include "BenchSupport.h"

#include "app/calculation/RecognisedStandsTable.h"
#include "app/windows/RecognisedStandsList.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"
#include "reports/engine/SestavaTyp.h"
#include "reports/model/ReportTables.h"
#include "reports/output/ReportOutput.h"
#include "reports/preview/FormSestP.h"
#include "reports/preview/PreviewWindows.h"
#include "reports/preview/ReportPanels.h"
#include "reports/print/QtPrinter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

namespace {

using namespace reports;

constexpr int standCount = 10000;
constexpr int turns = 5;

// TGENKL.DB with `rows` species rows over 2 units, 3 districts and 4 regions.
void writeStands(const QString& dir, int rows)
{
    db::Table table;
    app::recreateRecognisedStandsTable(table, dir);
    table.Open();
    const char* species[] = {"SM", "BO", "BK", "DB", "MD", "JD"};
    for (int i = 0; i < rows; ++i) {
        const int stand = i / 3;
        table.Append();
        table.FieldByName("LHC_KOD").AsInteger(100 + i * 2 / rows);
        table.FieldByName("LHC_NAZEV").AsString(QStringLiteral("Lesní hospodářský celek %1").arg(i * 2 / rows));
        table.FieldByName("Okres").AsInteger(10 + i % 3);
        table.FieldByName("Okr_Nazev").AsString(QStringLiteral("Okres %1").arg(i % 3));
        table.FieldByName("LES_OBL").AsString(QString::number(16 + stand % 4));
        table.FieldByName("L_OBL_Naz").AsString(QStringLiteral("Oblast %1").arg(stand % 4));
        table.FieldByName("NAJEMCE").AsString(stand % 7 == 0 ? QStringLiteral("Lesy obce") : QString());
        table.FieldByName("ODD").AsInteger(1 + stand / 20);
        table.FieldByName("DIL").AsString(QString(QChar(u'A' + stand % 5)));
        table.FieldByName("POR").AsString(QString::number(1 + stand % 9));
        table.FieldByName("PSK").AsString(QString::number(1 + stand % 4));
        table.FieldByName("ETAZ").AsString(QString::number(1 + i % 2));
        table.FieldByName("Stary_Kod").AsString(QStringLiteral("%1%2").arg(stand / 20).arg(stand % 5));
        table.FieldByName("Fenotyp").AsString(i % 2 ? QStringLiteral("A") : QStringLiteral("B"));
        table.FieldByName("DR_ZKR").AsString(QLatin1String(species[i % 6]));
        table.FieldByName("VEK").AsInteger(20 + i % 120);
        table.FieldByName("PSK_P").AsFloat(1 + (stand % 400) / 100.0);
        table.FieldByName("ETAZ_PP").AsFloat(1 + (stand % 300) / 100.0);
        table.FieldByName("Plocha").AsFloat((i % 250) / 100.0 + 0.01);
        table.FieldByName("LVS").AsInteger(1 + i % 8);
        table.FieldByName("HS").AsInteger(20 + i % 60);
        table.FieldByName("DR_ZAS_CEL").AsFloat(10 + i % 900);
        table.FieldByName("DR_TO").AsFloat(i % 90);
        table.FieldByName("TO_PROC").AsFloat((i % 30) / 2.0);
        table.FieldByName("OBMYTI").AsInteger(100 + i % 40);
        table.FieldByName("OBN_DOBA").AsInteger(20 + i % 20);
        table.Post();
    }
    table.Close();
}

double msSince(const QElapsedTimer& clock, qint64 startNs)
{
    return (clock.nsecsElapsed() - startNs) / 1e6;
}

// One preview over the list, timed from an application event filter: paints of the page panel,
// the run's slice timer, and the gaps of a 1 ms probe timer while the run goes on.
class PreviewProbe : public QObject
{
public:
    QElapsedTimer clock;
    qint64 start = 0;
    double shownMs = -1;
    double firstPaintMs = -1;
    bool runningAtFirstPaint = false;
    double layoutEndMs = -1;
    double longestSliceMs = 0;
    double longestStallMs = 0;
    std::vector<double> turn83, turn300, draw83, draw300;
    int pages = 0;

    TFormSestP* form = nullptr;
    const TSestVystup* output = nullptr;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && shownMs < 0 && dynamic_cast<TFormSestP*>(watched))
            shownMs = msSince(clock, start);
        if (event->type() == QEvent::Paint && dynamic_cast<TPanelCanvasSest*>(watched)) {
            static_cast<QWidget*>(watched)->removeEventFilter(this);
            watched->event(event);   // the paint itself, then its end is taken
            afterPaint(static_cast<QWidget*>(watched));
            static_cast<QWidget*>(watched)->installEventFilter(this);
            return true;
        }
        if (event->type() == QEvent::Timer && form && qobject_cast<QTimer*>(watched) && watched->parent() == form
            && form->session().isRunning()) {
            const qint64 t = clock.nsecsElapsed();
            watched->removeEventFilter(this);
            watched->event(event);
            watched->installEventFilter(this);
            longestSliceMs = std::max(longestSliceMs, msSince(clock, t));
            return true;
        }
        return false;
    }

    void run(app::RecognisedStandsList& list)
    {
        output = &list.Sestava1().Output;
        qApp->installEventFilter(this);
        QTimer probe;
        probe.setInterval(1);
        qint64 lastTick = -1;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            if (form && form->session().isRunning()) {
                // Gaps after the window's opening paint: the run's slices and what the window does between them.
                if (lastTick >= start + qint64(firstPaintMs * 1e6))
                    longestStallMs = std::max(longestStallMs, (now - lastTick) / 1e6);
            } else if (form && layoutEndMs < 0) {
                layoutEndMs = msSince(clock, start);
                probe.stop();
                QTimer::singleShot(0, [this] { nextTurn(); });
            }
            lastTick = now;
        });
        probe.start();
        WindowPlacement maximised;
        maximised.windowState = 2;
        clock.start();
        start = clock.nsecsElapsed();
        list.Sestava1().PreviewEx(maximised, 83);
        qApp->removeEventFilter(this);
    }

private:
    void afterPaint(QWidget* panel)
    {
        if (!form) form = dynamic_cast<TFormSestP*>(panel->window());
        if (!form) return;
        const int current = form->session().navigation().current();
        if (firstPaintMs < 0 && current >= 0) {
            firstPaintMs = msSince(clock, start);
            runningAtFirstPaint = form->session().isRunning();
        }
        if (m_turnStart >= 0 && current == m_expected) {
            (m_zoom300 ? turn300 : turn83).push_back(msSince(clock, m_turnStart));
            m_turnStart = -1;
            QTimer::singleShot(0, [this] { nextTurn(); });
        }
    }

    // Page turns at 83 %, then at 300 %, each followed by the same page drawn straight into an image.
    void nextTurn()
    {
        pages = form->session().navigation().pageCount();
        std::vector<double>& done = m_zoom300 ? turn300 : turn83;
        if (int(done.size()) == turns && !m_zoom300) {
            m_zoom300 = true;
            form->NastavMeritko(ZoomStepForPercent(300));
        } else if (int(done.size()) == turns) {
            form->SBPrevKonec->click();
            return;
        }
        if (!done.empty() || m_zoom300) referenceDraw();
        m_expected = form->session().navigation().current() + 1;
        m_turnStart = clock.nsecsElapsed();
        QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QCoreApplication::sendEvent(form, &key);
    }

    // The page shown, drawn as the cache draws it, with no widget in between.
    void referenceDraw()
    {
        const reports::PreviewSession& session = form->session();
        const qint64 t = clock.nsecsElapsed();
        const QImage image = session.cache().draw(session.navigation().current(), session.geometry(),
                                                  form->devicePixelRatioF(), QImage());
        (m_zoom300 ? draw300 : draw83).push_back(msSince(clock, t));
    }

    qint64 m_turnStart = -1;
    int m_expected = -1;
    bool m_zoom300 = false;
};

// The generated list, its template beside the program and the report windows: set up once.
struct ListSetup
{
    QTemporaryDir program;
    QTemporaryDir data;
    reports::QtPrinterSystem printers;
    std::unique_ptr<PreviewWindows> windows;
    app::RecognisedStandsList list;

    ListSetup()
    {
        files::setProgramDirectory(program.path());
        QFile::copy(QStringLiteral(GENKLAS_SOURCE_DIR "/data/sevran.pts"), program.filePath(QStringLiteral("sevran.pts")));
        writeStands(data.path() + QLatin1Char('/'), standCount);
        list.SetDataDir(data.path() + QLatin1Char('/'));
        windows = installReportWindows(printers);
    }
};

ListSetup& setup()
{
    static ListSetup s;
    return s;
}

void BM_ListPreview(benchmark::State& state)
{
    ListSetup& s = setup();
    for (auto _ : state) {
        state.PauseTiming();
        s.list.openReportQuery();
        PreviewProbe probe;
        state.ResumeTiming();
        probe.run(s.list);
        state.PauseTiming();
        s.list.Query1().Close();
        state.SetIterationTime(probe.layoutEndMs / 1000.0);
        state.counters["first_page_ms"] = probe.firstPaintMs;
        state.counters["window_shown_ms"] = probe.shownMs;
        state.counters["running_at_first_paint"] = probe.runningAtFirstPaint;
        state.counters["layout_ms"] = probe.layoutEndMs;
        state.counters["first_page_share"] = probe.firstPaintMs / std::max(probe.layoutEndMs, 1e-9);
        state.counters["longest_slice_ms"] = probe.longestSliceMs;
        state.counters["longest_stall_ms"] = probe.longestStallMs;
        state.counters["turn83_ms"] = median(probe.turn83);
        state.counters["draw83_ms"] = median(probe.draw83);
        state.counters["turn300_ms"] = median(probe.turn300);
        state.counters["draw300_ms"] = median(probe.draw300);
        state.counters["pages"] = probe.pages;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ListPreview)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    txt::setDecimalSeparator(QLatin1Char(','));
    ui::RecordingServices recorder;
    ui::setServices(&recorder);
    printLoadAverage();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ui::setServices(nullptr);
    return 0;
}
