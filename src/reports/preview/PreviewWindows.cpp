// The report windows of the widget layer behind the core's window factory.
#include "reports/preview/PreviewWindows.h"

#include "reports/model/ReportTexts.h"
#include "reports/preview/FormSestP.h"
#include "reports/preview/InfoWindow.h"
#include "reports/preview/PrintDialog.h"
#include "reports/print/QtPrinter.h"

#include <QApplication>
#include <QFileDialog>
#include <QPrintDialog>

namespace reports {

namespace {

// Runs the system's print dialog on a queue's kept options; only the options stay (the page
// range and copies are the report's own dialog's).
void editQueueOptions(QtPrinterSystem& printers, int index, QWidget* parent)
{
    const QStringList names = printers.printerNames();
    if (index < 0 || index >= names.size()) return;
    QPrintDialog dialog(&printers.queueOptions(names.at(index)), parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.exec();
}

} // namespace

QString FileDialogFilter(const QString& filter)
{
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0) return filter;
    const QString description = filter.left(bar);
    const QString masks = filter.mid(bar + 1).split(u';', Qt::SkipEmptyParts).join(u' ');
    return description.contains(masks, Qt::CaseInsensitive) ? description : description + " (" + masks + ')';
}

PreviewWindows::PreviewWindows(QtPrinterSystem* printers)
{
    if (printers)
        setQueuePropertiesEditor([printers](int index, QWidget* parent) { editQueueOptions(*printers, index, parent); });
}

PreviewWindows::~PreviewWindows()
{
    setQueuePropertiesEditor(nullptr);
}

int PreviewWindows::showPreview(TSestavaTyp& report, ReportRun* run, const WindowPlacement& placement, int zoomStep)
{
    return preview ? preview(report, run, placement, zoomStep) : 0;
}

int PreviewWindows::showDesigner(TSestavaTyp& report, const WindowPlacement& placement)
{
    if (!designer) return 0;
    if (placement.owner) return designer(report, placement);
    ZobrazLogo();
    struct Hide {
        ~Hide() { SkryjLogo(); }
    } hide;
    return designer(report, placement);
}

std::unique_ptr<RunProgress> PreviewWindows::createProgress(TSestavaTyp&)
{
    // Beside a modal window (the preview it prints from) "Přerušit" is in reach only when the
    // progress window is that window's child; it is freed before the modal window closes.
    return std::make_unique<TFormInfo>(QApplication::activeModalWidget());
}

QString PreviewWindows::chooseTemplateFile(const QString& startDirectory)
{
    return QFileDialog::getSaveFileName(nullptr, reportText(65146), startDirectory, FileDialogFilter(reportText(65145)));
}

int ShowPreviewWindow(TSestavaTyp& report, ReportRun* run, const WindowPlacement& placement, int zoomStep)
{
    return ShowReportPreview(report, run, placement, zoomStep, placement.isEditEnabled);
}

std::unique_ptr<PreviewWindows> installReportWindows(QtPrinterSystem& printers)
{
    struct Installed : PreviewWindows {
        explicit Installed(QtPrinterSystem& p) : PreviewWindows(&p)
        {
            setPrinterSystem(&p);
            setReportWindows(this);
            // "Oprava předlohy" is enabled only in the designer's own preview.
            preview = [this](TSestavaTyp& report, ReportRun* run, const WindowPlacement& placement, int zoomStep) {
                return ShowReportPreview(report, run, placement, zoomStep, placement.isEditEnabled, runClock);
            };
        }
        ~Installed() override
        {
            setReportWindows(nullptr);
            setPrinterSystem(nullptr);
        }
    };
    return std::make_unique<Installed>(printers);
}

} // namespace reports
