// What the print preview does, apart from its widgets: the run laid out in slices while the
// window is up, paging and zoom over the finished pages, and printing the pages shown.
#pragma once

#include "reports/engine/ReportRun.h"
#include "reports/preview/PageImageCache.h"
#include "reports/preview/PageNavigation.h"
#include "reports/preview/PdfPrinting.h"
#include "reports/preview/PrintDialogTyp.h"

namespace reports {

class TSestavaTyp;

// One preview of a report's output. While the run (not owned) goes on, the pages finished so
// far can be paged and zoomed, printing is off, and closing stops the run. The run's own
// progress window carries "Přerušit"; its flag ends the run at the next slice with the pages
// kept.
class PreviewSession
{
public:
    // Longest slice of the run between the window's events.
    static constexpr int sliceMs = 15;

    PreviewSession(TSestavaTyp& report, ReportRun* run, int zoomStep, ReportRun::Clock clock = ReportRun::steadyClockMs);

    bool isRunning() const { return m_run && !m_run->isFinished(); }
    ReportRun* run() const { return m_run; }
    // One slice of the run; true once it has ended. The count grows, and the range's first
    // page is shown as soon as it is finished.
    bool runSlice();
    // Esc, "Ukončení" or closing: a run still going is stopped and its data go back.
    void close();

    PageNavigation& navigation() { return m_navigation; }
    const PageNavigation& navigation() const { return m_navigation; }
    // The page count panel: the pages so far and "…" while the run goes on.
    QString countText() const;
    // "Tisk sestavy": after the run, with a page in the range.
    bool canPrint() const { return !isRunning() && !m_navigation.isEmpty(); }

    int zoomStep() const { return m_zoomStep; }
    // A zoom step outside 0..10 is ignored.
    void setZoomStep(int step);
    PreviewGeometry geometry() const;
    // The current page drawn at the zoom; a blank sheet while no page is shown. On a sheet too
    // large for one image, the part around `visible` (panel pixels) at its offset().
    const QImage& pageImage(double pixelRatio, const QRect& visible = {});
    const PageImageCache& cache() const { return m_cache; }

    // The print dialog's proposal: StartPage … min(EndPage, count), the copies, the current
    // page box, the background box when there is a picture, and the printer chosen last.
    TPrintDialogTyp printSettings() const;
    // Prints what the dialog gave back: the range or the page shown, on the chosen queue
    // (character output on a text-only one) or into a PDF file; the choice becomes the
    // current printer. Answers the report's print
    // status: 0 done, 2 no printer, 3 aborted, 6 not done.
    int print(const TPrintDialogTyp& chosen);
    // Names the PDF file of "Soubor PDF…".
    PdfNameChooser pdfName;
    // Whether the background goes to print (the dialog's box).
    bool printBackground() const { return m_printBackground; }

private:
    void afterSlice();

    TSestavaTyp& m_report;
    ReportRun* m_run;
    ReportRun::Clock m_clock;
    PageNavigation m_navigation;
    PageImageCache m_cache;
    int m_zoomStep;
    bool m_printBackground;
};

} // namespace reports
