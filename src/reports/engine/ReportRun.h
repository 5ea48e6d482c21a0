// One run of a report: the record loop, groups, user functions, page heads and feet, body
// columns and growing texts laid out into the output pages.
#pragma once

#include "reports/output/OutputItem.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace reports {

class TSestavaTyp;
class TSestVystup;
class TOddilSestavy;
class TVoReportElement;
class RunProgress;

// Lives for one run. Positions are hundredths of an inch inside the printable area.
//
// A run goes in steps on the GUI thread: begin() lays out everything before the first body,
// each step() one record, finish() what follows the last one. A step never lets pending
// events run, so whoever drives the run decides when they may (the blocking run between
// steps, a preview between slices). The report and its output must outlive the run.
//
// Invariants the layout keeps (beyond the template's own rules):
// - nothing but the page foot reaches below PageHeight - foot height: what does not fit on
//   a fresh page is placed there anyway and cut at the foot line (WasClipped);
// - a page is never closed while it holds nothing below its head, so every step makes
//   progress and a run ends;
// - a growing text places every line once, at least one line a page;
// - page-scope functions on a foot cover exactly the bodies that start on that page, and
//   report and group functions count each record once: a record whose functions were
//   computed before a page break was forced is taken back for the foot and computed again
//   after the break.
class ReportRun
{
public:
    // Positions and sizes are held within this many hundredths of an inch (a million inches),
    // so that hostile template numbers cannot overflow the page arithmetic.
    static constexpr long long maxCoordinate = 100000000;
    static int bounded(long long v) { return int(std::clamp(v, -maxCoordinate, maxCoordinate)); }

    ReportRun(TSestavaTyp& report, bool topLevel);
    // A detail variant's run into its parent's output; its page breaks print the parent's
    // foot and head.
    ReportRun(TSestavaTyp& variant, ReportRun& parent);
    ~ReportRun();
    // The whole run at once, pending events let run between records; answers as finish().
    int run();

    // --- stepped run --------------------------------------------------------------------------
    // Milliseconds of a monotonic clock.
    using Clock = std::function<std::int64_t()>;
    static std::int64_t steadyClockMs();

    // Up to the first body: output cleared, report start, head and group starts laid out.
    void begin();
    // Lays out the next record; false once the records are done (finish() is then due).
    bool step();
    // Group and report ends, the last foot and the page counts, then the range; shows the
    // clip warning. Answers 3 when aborted, else 0; a second call only answers.
    int finish();
    // Steps until `budgetMs` has passed on `clock` (at least one step), and finishes when
    // the records are done. Answers isFinished().
    bool runSlice(int budgetMs, const Clock& clock = steadyClockMs);
    bool isFinished() const { return m_finished; }
    // The progress window while the run goes on (a window taking the run over keeps it in
    // reach of the user); null once finished.
    RunProgress* progress() const { return m_progress.get(); }
    // Steps until `pages` pages are finished or the run ends, letting pending events run
    // between steps as run() does (before a window takes the run over).
    void runToPage(int pages);
    // Pages whose foot is laid out (all pages once finished); page-count items stay empty
    // until the end.
    int finishedPages() const;
    // Ends the run now, keeping the pages laid out so far; their page counts show how many
    // were kept. Answers 3.
    int abort();
    // Escape: abort, and the data go back to the record they stood on at begin().
    int stop();

private:
    // --- record loop (ReportRun.cpp) ---
    void startReport();
    void fetchRecord();
    void computeFunctions();
    bool detectGroupChanges();
    void nextRecordStep();
    void printBody();
    void closePage(bool continuing = false, int offset = 0);
    // A new page: its head placed, then its page functions started.
    void beginPage(bool continuing = false, int offset = 0);
    void placePageHead(bool continuing = false, int offset = 0);
    void restartPageFunctions();
    bool bodyFits(int extra) const;
    void finishRow();
    void printGroupStarts();
    void printGroupEnds();
    void finishReport();
    // Gives the page-count items their text for `pages` pages.
    void fillPageCounts(int pages);
    int footHeight() const;
    int headHeight() const;
    int footLine() const;
    bool aborted() const;
    bool isEmpty() const { return m_empty; }

    // --- sections (SectionLayout.cpp) ---
    // Prints a section that flows down the page (all but head and foot) at Output.Y.
    void printFlowSection(TOddilSestavy& section);
    // Prints the head or foot at y on page PageIndex + PageOffset + offset; answers its end.
    int printFixedSection(TOddilSestavy& section, int y, int offset);
    bool mayPrint(TOddilSestavy& section);
    void placeBody(TOddilSestavy& body);
    void placeBands(TOddilSestavy& body);
    void placeElements(const std::vector<TVoReportElement*>& elements, int x, int y, int page, bool isFoot);
    // An item for an element placed at (left, top); lines laid out once; null when vetoed.
    bool makeItem(TVoReportElement& element, int left, int top, TVystPrvek& item);
    TVystPrvek* addItem(TVystPrvek item, int page, bool isFoot);
    // Lays a growing text out from y on page `page`, continuing over pages; answers the end
    // (page offset from the section's first page, y on that page).
    std::pair<int, int> layoutGrowingText(TVoReportElement& element, int y, int pageOffset);
    // Runs the element's detail variant into this output from y; answers where it ended, as
    // layoutGrowingText does.
    std::pair<int, int> runDetailVariant(TVoReportElement& element, int y, int pageOffset);
    // The variant a detail element names, or null.
    TSestavaTyp* variantOf(const TVoReportElement& element) const;
    // Column elements of variable height and detail elements with their variant.
    bool isGrowing(const TVoReportElement& element) const;
    int advance(int y, int height) const;

    TSestavaTyp& m_report;
    TSestVystup& m_out;
    const bool m_top;
    ReportRun* const m_parentRun = nullptr;   // the run a detail variant lays out in
    std::unique_ptr<RunProgress> m_progress;
    bool m_running = false;
    bool m_stopped = false;
    bool m_empty = false;
    bool m_begun = false;
    bool m_loopDone = false;     // no further record to step
    bool m_finished = false;
    bool m_abortRequested = false;
    int m_result = 0;
    int m_counter = 1;           // record number shown in the progress window
    // Page-count items with the format of their element, filled in at the end.
    std::vector<std::pair<TVystPrvek*, TVoReportElement*>> m_pageCountItems;

    // Function state before the record whose body is pending (computed, not yet printed).
    struct FunctionState;
    std::vector<FunctionState> m_beforeRecord;
    bool m_recordPending = false;
    bool m_recomputeAfterBreak = false;
    // Something below the head stands on the current page (a break would help).
    bool m_pageHasContent = false;
    int m_headEnd = 0;
};

} // namespace reports
