// One run of a report: the record loop, groups, user functions, page heads and feet, body
// columns and growing texts laid out into the output pages.
#pragma once

#include "reports/output/OutputItem.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace reports {

class TSestavaTyp;
class TSestVystup;
class TOddilSestavy;
class TVoReportElement;
class RunProgress;

// Lives for one RunReport. Positions are hundredths of an inch inside the printable area.
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
    int run();

private:
    // --- record loop (ReportRun.cpp) ---
    void startReport();
    void fetchRecord();
    void computeFunctions();
    bool detectGroupChanges();
    void nextRecordStep();
    void printBody();
    void closePage(bool continuing = false, int offset = 0);
    void beginPage(bool continuing = false, int offset = 0);
    bool bodyFits(int extra) const;
    void finishRow();
    void printGroupStarts();
    void printGroupEnds();
    void finishReport();
    void fillPageCounts();
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
