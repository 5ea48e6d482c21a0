// The report windows of the widget layer behind the core's window factory.
#pragma once

#include "reports/engine/ReportRun.h"
#include "reports/engine/ReportWindows.h"

#include <functional>
#include <memory>

class QWidget;

namespace reports {

class QtPrinterSystem;

// Progress window, template save dialog, the designer's wait window and the queue properties
// of the print dialog. The preview and the designer windows are handed in as functions, so
// each comes with its own part; without one the operation shows nothing and answers 0.
class PreviewWindows : public ReportWindows
{
public:
    using PreviewFunction = std::function<int(TSestavaTyp&, ReportRun*, const WindowPlacement&, int zoomStep)>;
    using DesignerFunction = std::function<int(TSestavaTyp&, const WindowPlacement&)>;

    // `printers` (not owned, may be null): the queues whose options "Vlastnosti..." edits.
    explicit PreviewWindows(QtPrinterSystem* printers = nullptr);
    ~PreviewWindows() override;

    PreviewFunction preview;
    DesignerFunction designer;
    // Times the slices in which the installed preview lays out the rest of a run.
    ReportRun::Clock runClock = ReportRun::steadyClockMs;

    int showPreview(TSestavaTyp& report, ReportRun* run, const WindowPlacement& placement, int zoomStep) override;
    // The wait window stays up while the designer is being built: the designer function hides
    // it (SkryjLogo) before its modal loop; it is hidden on every way out in any case. A
    // designer owned by another window (a detail variant's, from its parent's designer) shows
    // none.
    int showDesigner(TSestavaTyp& report, const WindowPlacement& placement) override;
    std::unique_ptr<RunProgress> createProgress(TSestavaTyp& report) override;
    QString chooseTemplateFile(const QString& startDirectory) override;
};

// The preview window over a report's pages; "Oprava předlohy" is enabled when the placement
// says the designer opened it.
int ShowPreviewWindow(TSestavaTyp& report, ReportRun* run, const WindowPlacement& placement, int zoomStep);

// Installs the windows and the printer system for the program's life: main() keeps the
// answer until it ends, and its destruction uninstalls both.
std::unique_ptr<PreviewWindows> installReportWindows(QtPrinterSystem& printers);

// The Qt file-dialog filter of a filter text in "description|mask" form.
QString FileDialogFilter(const QString& filter);

} // namespace reports
