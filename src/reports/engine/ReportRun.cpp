// The record loop of a report run: records, groups, functions and page breaks.
#include "reports/engine/ReportRun.h"

#include "platform/text/Format.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"
#include "reports/engine/ReportWindows.h"
#include "reports/engine/SestavaTyp.h"
#include "reports/expressions/OperandHost.h"
#include "reports/model/ReportTables.h"

#include <algorithm>
#include <chrono>

namespace reports {

namespace {

const QString clippedWarning = QStringLiteral("Oddíl sestavy je vyšší než stránka a byl oříznut.");

// Calls f for every element of every section.
template <typename F>
void forEachElement(const ReportModel& report, F f)
{
    for (int s = 0; s < report.Sections.Count(); ++s) {
        const TOddilSestavy& section = report.Sections.SectionAt(s);
        for (int e = 0; e < section.ElementCount(); ++e) f(section.ElementAt(e));
    }
}

// Calls f for every variable element of the given number.
template <typename F>
void forEachVariable(const ReportModel& report, int variable, F f)
{
    forEachElement(report, [&](TVoReportElement& e) {
        if (e.Kind == ekVariable && e.Reference == variable) f(e);
    });
}

} // namespace

struct ReportRun::FunctionState {
    TOperandValue Hodnota;
    int Pocet;
    double Suma;
    double SumaCtvercu;
    bool NulovatPriste;
};

ReportRun::ReportRun(TSestavaTyp& report, bool topLevel) : m_report(report), m_out(report.Output), m_top(topLevel) {}

ReportRun::ReportRun(TSestavaTyp& variant, ReportRun& parent)
    : m_report(variant), m_out(parent.m_out), m_top(false), m_parentRun(&parent)
{
}

ReportRun::~ReportRun() = default;

bool ReportRun::aborted() const
{
    return m_abortRequested || (m_progress && m_progress->aborted());
}

int ReportRun::footHeight() const
{
    const ReportModel* owner = m_report.ParentReport() ? m_report.ParentReport() : &m_report;
    return owner->Sections.SectionAt(siPageFoot).PrintedHeight();
}

int ReportRun::headHeight() const
{
    const ReportModel* owner = m_report.ParentReport() ? m_report.ParentReport() : &m_report;
    return owner->Sections.SectionAt(siPageHead).PrintedHeight();
}

int ReportRun::footLine() const
{
    return bounded((long long)m_out.PageHeight - footHeight());
}

int ReportRun::run()
{
    begin();
    while (step())
        if (m_top) ui::services().processEvents();
    return finish();
}

std::int64_t ReportRun::steadyClockMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void ReportRun::begin()
{
    if (std::exchange(m_begun, true)) return;
    if (m_top && m_report.progressFactory) m_progress = m_report.progressFactory();
    else if (m_top && reportWindows()) m_progress = reportWindows()->createProgress(m_report);
    if (m_top) m_report.SaveDataPosition();
    SetOperandHost(&m_report);
    m_running = true;
    m_report.RecordsPrinted = 0;
    if (m_report.TiskJedenZaznam) m_report.GetData();
    else m_report.StepData(sdFirst);
    m_empty = !m_report.TiskJedenZaznam && m_report.DataIsEmpty();
    if (m_top) {
        if (m_progress) m_progress->setRecord(1);
        m_out.Clear();
    }
    m_report.Funkce.RequestReset(-1);
    if (m_empty) {
        // No record: the functions keep their initial values.
        for (int i = 0; i < m_report.Funkce.Count(); ++i) m_report.Funkce.FunctionAt(i)->Reset();
    } else {
        fetchRecord();
        computeFunctions();
    }
    startReport();

    TOddilSestavy& start = m_report.Sections.SectionAt(siReportStart);
    if (m_top && start.Printed && m_report.PagingFlags[pfBreakAfterStart]) {
        if (!m_stopped && !aborted()) {
            closePage();
            beginPage();
        }
    } else if (!m_report.IsDetailVariant()) {
        TOddilSestavy& head = m_report.Sections.SectionAt(siPageHead);
        if (head.Printed && !m_report.PagingFlags[pfNoHeadOnFirst]) m_out.Y = printFixedSection(head, m_out.Y, 0);
        m_headEnd = m_out.Y;
    }
    if (m_parentRun) {
        m_headEnd = m_parentRun->m_headEnd;
        m_pageHasContent = m_out.Y > m_headEnd;
    }
    if (!aborted() && !m_empty) printGroupStarts();
    m_counter = 1;
    m_loopDone = m_empty;
}

bool ReportRun::step()
{
    begin();
    if (m_loopDone || m_finished) return false;
    SetOperandHost(&m_report);
    if (!m_running) nextRecordStep();
    if (m_running && !bodyFits(0) && m_pageHasContent) {
        closePage();
        if (!m_stopped && !aborted()) beginPage();
    }
    printBody();
    ++m_report.RecordsPrinted;
    if (m_report.TiskJedenZaznam || (m_report.MaxRecords >= 1 && m_report.RecordsPrinted >= m_report.MaxRecords)) {
        m_loopDone = true;
        return false;
    }
    const int answer = m_report.StepData(sdNext);
    ++m_counter;
    if (m_progress) m_progress->setRecord(m_counter);
    m_loopDone = m_stopped || aborted() || (answer & srEof);
    return !m_loopDone;
}

bool ReportRun::runSlice(int budgetMs, const Clock& clock)
{
    const std::int64_t end = clock() + budgetMs;
    while (step()) {
        m_out.ReleaseCleared(1);   // the last run's pages, a page per record
        if (clock() >= end) return false;
    }
    finish();
    return true;
}

void ReportRun::runToPage(int pages)
{
    while (!m_finished && finishedPages() < pages) {
        if (!step()) finish();
        else if (m_top) ui::services().processEvents();
    }
}

int ReportRun::finishedPages() const
{
    if (m_finished) return m_out.PageCount();
    return std::clamp(m_out.PageIndex, 0, std::min(m_out.PageCount(), std::max(m_report.EndPage, 0)));
}

int ReportRun::abort()
{
    m_abortRequested = true;
    return finish();
}

int ReportRun::stop()
{
    const int answer = abort();
    if (m_top) m_report.RestoreDataPosition();
    return answer;
}

int ReportRun::finish()
{
    begin();
    if (std::exchange(m_finished, true)) return m_result;
    m_loopDone = true;
    SetOperandHost(&m_report);
    if (!m_empty && !aborted()) printGroupEnds();

    TOddilSestavy& end = m_report.Sections.SectionAt(siReportEnd);
    if (m_top && end.Printed && m_report.PagingFlags[pfBreakBeforeEnd] && !m_stopped && !aborted() && m_pageHasContent) {
        closePage();
        beginPage();
    }
    const bool wasAborted = aborted();
    if (!wasAborted) finishReport();
    if (m_top) m_out.ReleaseCleared();
    m_progress.reset();
    if (m_top) {
        m_out.SetRange(m_report.StartPage, m_report.EndPage, m_report.PrintCopies);
        // The pages kept are counted; a finished run counted its own.
        if (wasAborted) fillPageCounts(m_out.PageCount());
        if (m_report.WasClipped()) ui::services().messageBox(clippedWarning, QString(), ui::MsgType::Warning, ui::Ok);
    }
    if (m_top) m_out.SelectPage(0);
    m_result = wasAborted ? 3 : 0;
    return m_result;
}

void ReportRun::startReport()
{
    m_running = true;
    m_pageCountItems.clear();
    m_stopped = false;
    const txt::DateTime stamp = txt::now();
    forEachElement(m_report, [&](TVoReportElement& e) {
        if (e.Kind != ekVariable) return;
        if (e.Reference == varPrintDate || e.Reference == varPrintTime) e.Stamp = stamp;
        else e.Value.Number = 1;
    });
    TOddilSestavy& start = m_report.Sections.SectionAt(siReportStart);
    if (!start.Printed) return;
    for (int i = 0; i < start.ElementCount(); ++i)
        if (start.ElementAt(i).Kind == ekPicture) start.ElementAt(i).SetPictureFile(start.ElementAt(i).Text);
    printFlowSection(start);
}

void ReportRun::fetchRecord()
{
    forEachElement(m_report, [&](TVoReportElement& e) {
        if (e.Kind == ekColumn) {
            m_report.ColumnValueRecord(e.Reference, e.Value);
            const int type = m_report.ColumnDataType(e.Reference);
            if (type == ctMemo) e.SetMemoText(m_report.ColumnMemo(e.Reference));
            else if (type == ctGraphic) e.SetPictureFromField(m_report.ColumnPicture(e.Reference));
        } else if (e.Kind == ekVariable && e.Reference == varRecordNumber) {
            e.Value.Number += 1;
        } else if (e.Kind == ekPicture) {
            e.SetPictureFile(e.Text);
        }
    });
    for (int i = 0; i < m_report.Groups.Count(); ++i) {
        TPolSkup& group = *m_report.Groups.GroupAt(i);
        group.LastValue = m_report.ColumnText(group.Column);
        forEachVariable(m_report, 5 + 2 * i, [](TVoReportElement& e) { e.Value.Number += 1; });
    }
}

void ReportRun::computeFunctions()
{
    TListFunkci& functions = m_report.Funkce;
    m_beforeRecord.clear();
    for (int i = 0; i < functions.Count(); ++i) {
        const TRadekFunkce& f = *functions.FunctionAt(i);
        m_beforeRecord.push_back({f.Hodnota, f.Pocet, f.Suma, f.SumaCtvercu, f.NulovatPriste});
    }
    SetOperandHost(&m_report);
    functions.CalculateAll();
    m_report.DoVypoctiFunkce();
    m_recordPending = true;
}

bool ReportRun::detectGroupChanges()
{
    for (int i = 0; i < m_report.Groups.Count(); ++i) {
        TPolSkup& group = *m_report.Groups.GroupAt(i);
        if (m_report.ColumnText(group.Column) == group.LastValue) continue;
        for (int j = i; j < m_report.Groups.Count(); ++j) m_report.Groups.GroupAt(j)->Changed = true;
        return true;
    }
    return false;
}

void ReportRun::nextRecordStep()
{
    int extra = 0;
    bool pageBreak = false;
    const int groups = m_report.Groups.Count();
    if (detectGroupChanges()) {
        finishRow();
        m_report.StepData(sdPrior);
        for (int i = groups - 1; i >= 0; --i) {
            TPolSkup& group = *m_report.Groups.GroupAt(i);
            if (!group.Changed) continue;
            if (group.EndSection->Printed) printFlowSection(*group.EndSection);
            m_report.Funkce.RequestReset(2 + i);
            pageBreak |= group.NewPage;
            extra = bounded((long long)extra + group.StartSection->PrintedHeight());
        }
        m_report.StepData(sdNext);
    }
    // The closed page's foot shows the old record and the page without the new one; the new
    // page's head shows the new record, with the page functions started by it.
    const bool breakWanted = pageBreak || m_report.PagingFlags[pfPagePerRecord] || !bodyFits(extra);
    const bool breakNow = breakWanted && m_pageHasContent && !m_stopped;
    if (breakNow) {
        closePage();
        m_report.Funkce.RequestReset(1);
    }
    fetchRecord();
    computeFunctions();
    if (breakNow && !m_stopped) placePageHead();   // the record opening the page started them
    for (int i = 0; i < groups; ++i) {
        TPolSkup& group = *m_report.Groups.GroupAt(i);
        if (!group.Changed) continue;
        forEachVariable(m_report, 5 + 2 * i, [](TVoReportElement& e) { e.Value.Number = 1; });
        forEachVariable(m_report, 6 + 2 * i, [](TVoReportElement& e) { e.Value.Number += 1; });
        forEachVariable(m_report, 6 + 2 * (i + 1), [](TVoReportElement& e) { e.Value.Number = 0; });
        group.Changed = false;
        if (group.StartSection->Printed) printFlowSection(*group.StartSection);
    }
    if (m_out.PageIndex + 1 > m_report.EndPage) m_stopped = true;
}

void ReportRun::printBody()
{
    TOddilSestavy& body = m_report.Sections.SectionAt(siBody);
    if (body.Printed) printFlowSection(body);
    if (m_top) {
        m_out.PageIndex += m_out.PageOffset;
        m_out.PageOffset = 0;
    }
    m_running = false;
    m_recordPending = false;
}

void ReportRun::closePage(bool continuing, int offset)
{
    if (m_stopped) return;
    if (m_parentRun) return m_parentRun->closePage(true, offset);
    if (m_report.IsDetailVariant()) return;
    if (m_top && !continuing && m_recordPending) {
        // The pending record's body goes to the next page: the foot shows the functions
        // without it, and they are computed again after the break.
        for (int i = 0; i < m_report.Funkce.Count() && i < int(m_beforeRecord.size()); ++i) {
            TRadekFunkce& f = *m_report.Funkce.FunctionAt(i);
            const FunctionState& s = m_beforeRecord[size_t(i)];
            f.Hodnota = s.Hodnota;
            f.Pocet = s.Pocet;
            f.Suma = s.Suma;
            f.SumaCtvercu = s.SumaCtvercu;
            f.NulovatPriste = s.NulovatPriste;
        }
        m_recomputeAfterBreak = true;
    }
    TOddilSestavy& foot = m_report.Sections.SectionAt(siPageFoot);
    if (foot.Printed) printFixedSection(foot, footLine(), offset);
}

void ReportRun::beginPage(bool continuing, int offset)
{
    if (m_stopped) return;
    placePageHead(continuing, offset);
    restartPageFunctions();
}

void ReportRun::placePageHead(bool continuing, int offset)
{
    if (!continuing) {
        ++m_out.PageIndex;
        m_out.Y = 0;
    }
    forEachVariable(m_report, varPageNumber, [](TVoReportElement& e) { e.Value.Number += 1; });
    int head = 0;
    if (m_parentRun) {
        m_parentRun->beginPage(true, offset);
        head = m_parentRun->m_headEnd;
    } else if (m_report.IsDetailVariant()) {
        head = headHeight();
    }
    else if (m_report.Sections.SectionAt(siPageHead).Printed)
        head = printFixedSection(m_report.Sections.SectionAt(siPageHead), 0, offset);
    if (!continuing) {
        m_out.Y = head;
        m_pageHasContent = false;
    }
    m_headEnd = head;
}

void ReportRun::restartPageFunctions()
{
    if (std::exchange(m_recomputeAfterBreak, false)) {
        // The record's event fired when it was first computed.
        m_report.Funkce.RequestReset(1);
        SetOperandHost(&m_report);
        m_report.Funkce.CalculateAll();
    } else {
        // Page functions start again at once, so a foot with no body below it shows their
        // initial values.
        for (int i = 0; i < m_report.Funkce.Count(); ++i) {
            TRadekFunkce& f = *m_report.Funkce.FunctionAt(i);
            if (f.Nulovat != 1) continue;
            f.RequestReset(1);
            f.Reset();
        }
    }
}

bool ReportRun::bodyFits(int extra) const
{
    return (long long)footLine() - m_out.Y >= (long long)extra + m_report.Sections.SectionAt(siBody).PrintedHeight();
}

void ReportRun::finishRow()
{
    if (std::max(m_report.Columns, 1) <= 1 || m_out.CurrentColumn <= 1) return;
    m_out.CurrentColumn = 1;
    m_out.X = 0;
    m_out.Y = advance(m_out.Y, m_report.Sections.SectionAt(siBody).PrintedHeight());
}

void ReportRun::printGroupStarts()
{
    for (int i = 0; i < m_report.Groups.Count(); ++i) {
        TOddilSestavy& start = *m_report.Groups.GroupAt(i)->StartSection;
        if (start.Printed) printFlowSection(start);
    }
}

void ReportRun::printGroupEnds()
{
    finishRow();
    for (int i = m_report.Groups.Count() - 1; i >= 0; --i) {
        TOddilSestavy& end = *m_report.Groups.GroupAt(i)->EndSection;
        if (end.Printed) printFlowSection(end);
    }
}

void ReportRun::finishReport()
{
    TOddilSestavy& end = m_report.Sections.SectionAt(siReportEnd);
    if (end.Printed) printFlowSection(end);
    if (m_top) {
        m_out.Y = footLine();
        TOddilSestavy& foot = m_report.Sections.SectionAt(siPageFoot);
        if (foot.Printed && !m_stopped) printFixedSection(foot, m_out.Y, 0);
    }
    fillPageCounts(m_out.PageIndex + 1);
}

} // namespace reports
