// What the print preview does, apart from its widgets.
#include "reports/preview/PreviewSession.h"

#include "reports/engine/SestavaTyp.h"
#include "reports/model/ReportTables.h"
#include "reports/output/Printer.h"
#include "reports/preview/PrinterList.h"

#include <algorithm>

namespace reports {

namespace {

const QString jobTitle = QStringLiteral("Tisková sestava");

int pagesSoFar(const TSestavaTyp& report, const ReportRun* run)
{
    return run && !run->isFinished() ? run->finishedPages() : report.Output.PageCount();
}

} // namespace

PreviewSession::PreviewSession(TSestavaTyp& report, ReportRun* run, int zoomStep, ReportRun::Clock clock)
    : m_report(report), m_run(run), m_clock(std::move(clock)),
      m_navigation(report.StartPage, report.EndPage, pagesSoFar(report, run)), m_cache(report.Output),
      m_zoomStep(std::clamp(zoomStep, 0, int(ZoomSteps.size()) - 1)), m_printBackground(report.PrintBackground)
{
    m_navigation.showFirstOfRange();
}

bool PreviewSession::runSlice()
{
    if (!isRunning()) return true;
    m_run->runSlice(sliceMs, m_clock);
    afterSlice();
    return !isRunning();
}

void PreviewSession::close()
{
    if (!isRunning()) return;
    m_run->stop();
    afterSlice();
}

void PreviewSession::afterSlice()
{
    m_navigation.setPageCount(pagesSoFar(m_report, m_run));
    if (m_navigation.current() < 0) m_navigation.showFirstOfRange();
    // A finished run has filled in its page counts.
    if (!isRunning()) m_cache.clear();
}

QString PreviewSession::countText() const
{
    if (!isRunning()) return m_navigation.countText();
    return QString::number(m_navigation.pageCount()) + QStringLiteral(" …");
}

void PreviewSession::setZoomStep(int step)
{
    if (step >= 0 && step < int(ZoomSteps.size())) m_zoomStep = step;
}

PreviewGeometry PreviewSession::geometry() const
{
    return PreviewGeometry(SheetMeasures::current(), ZoomSteps[size_t(m_zoomStep)]);
}

const QImage& PreviewSession::pageImage(double pixelRatio, const QRect& visible)
{
    return m_cache.image(m_navigation.current(), geometry(), pixelRatio, m_report.BackgroundPicture, visible);
}

TPrintDialogTyp PreviewSession::printSettings() const
{
    TPrintDialogTyp settings;
    settings.TemplateGroupVisible = false;
    settings.PreviewEnabled = false;
    settings.FromPage = m_report.StartPage;
    settings.ToPage = std::min(m_report.EndPage, m_navigation.pageCount());
    settings.Copies = std::max(m_report.Output.copies(), 1);
    settings.CurrentPageVisible = true;
    settings.BackgroundVisible = !m_report.BackgroundPicture.isNull();
    settings.PrintBackground = m_printBackground;
    // The current printer: the one chosen last in this run, while it is still there.
    if (const PrinterSystem* system = printerSystem(); system && !system->currentPrinter.isEmpty()) {
        settings.PdfFile = system->currentPrinter == pdfItemText();
        settings.PrinterIndex = system->printerNames().indexOf(system->currentPrinter);
    }
    return settings;
}

int PreviewSession::print(const TPrintDialogTyp& chosen)
{
    if (!canPrint()) return 6;
    if (PrinterSystem* system = printerSystem())
        system->currentPrinter = chosen.PdfFile ? pdfItemText() : system->printerNames().value(chosen.PrinterIndex);
    const int shown = m_navigation.current() + 1;
    const int first = chosen.CurrentPage ? shown : chosen.FromPage;
    const int last = chosen.CurrentPage ? shown : chosen.ToPage;
    m_printBackground = chosen.PrintBackground;
    m_report.Output.SetBackground(m_report.BackgroundPicture, m_printBackground);
    if (chosen.PdfFile) {
        bool named = false;
        const auto choose = [&] {
            const QString name = pdfName ? pdfName() : QString();
            named = !name.isEmpty();
            return name;
        };
        // A cancelled file dialog prints nothing and is no fault.
        return PrintToPdf(m_report.Output, first, last, jobTitle, choose) || !named ? 0 : 6;
    }
    return m_report.PrintPages(chosen.PrinterIndex, QString(), first, last, std::max(chosen.Copies, 1), jobTitle);
}

} // namespace reports
