// Placing a section's elements: fixed sections, body columns, growing texts over pages.
#include "reports/engine/ReportRun.h"

#include "platform/Exceptions.h"
#include "platform/text/Format.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"
#include "reports/engine/SestavaTyp.h"
#include "reports/expressions/OperandHost.h"
#include "reports/model/ReportTables.h"
#include "reports/output/TextLayout.h"

#include <algorithm>

namespace reports {

namespace {

std::vector<TVoReportElement*> elementsOf(const TOddilSestavy& section)
{
    std::vector<TVoReportElement*> out;
    out.reserve(size_t(section.ElementCount()));
    for (int i = 0; i < section.ElementCount(); ++i) out.push_back(&section.ElementAt(i));
    return out;
}


// On the character raster a line of any font takes a raster line (a text-printer font its
// own), so texts grow and spill over pages as the character rows do.
TextSettings textSettings(const TVoReportElement& e, const ReportModel& report)
{
    TextSettings s;
    s.font = e.Font;
    s.alignment = e.Justify() ? 3 : e.Alignment;
    s.rtf = e.RtfText();
    s.wordWrap = e.WordWrap();
    s.charWidth = PrinterFontCharWidth(e.Font.Name, 0);
    const float rasterLine = report.IsCharacterRaster() ? report.Raster.LineHeight : 0;
    s.lineHeight = e.LineHeight > 0 ? e.LineHeight : PrinterFontLineHeight(e.Font.Name, rasterLine);
    return s;
}

// A vertical band of growing elements of the body.
struct Band {
    int top;
    int bottom;
    std::vector<TVoReportElement*> items;
};

// Sorts the growing elements into bands; an element that encloses a band without holding its
// edges and lies in no gap stays a fixed element (answered false).
bool addToBands(std::vector<Band>& bands, TVoReportElement* e)
{
    const int top = e->Top;
    const int bottom = ReportRun::bounded((long long)top + std::max(e->Height, 1));
    for (Band& b : bands)
        if ((b.top <= top && top < b.bottom) || (b.top < bottom && bottom <= b.bottom)) {
            b.items.push_back(e);
            return true;
        }
    size_t at = 0;
    while (at < bands.size() && bands[at].bottom <= top) ++at;
    if (at < bands.size() && bands[at].top < bottom) return false;
    bands.insert(bands.begin() + qsizetype(at), Band{top, bottom, {e}});
    return true;
}

} // namespace

TSestavaTyp* ReportRun::variantOf(const TVoReportElement& e) const
{
    return e.Kind == ekDetail ? dynamic_cast<TSestavaTyp*>(m_report.Details.VariantAt(e.Reference)) : nullptr;
}

bool ReportRun::isGrowing(const TVoReportElement& e) const
{
    return (e.Kind == ekColumn && e.VariableHeight()) || variantOf(e);
}

int ReportRun::advance(int y, int height) const
{
    y = bounded((long long)y + height);
    if (!m_report.IsCharacterRaster() || m_report.Raster.LineHeight <= 0) return y;
    const double step = m_report.Raster.LineHeight;
    return txt::roundHalfEven(double(txt::roundHalfEven(y / step)) * step);
}

bool ReportRun::mayPrint(TOddilSestavy& section)
{
    if (m_stopped) return false;
    bool print = true;
    m_report.DoTiskOddilu(section, print);
    return print;
}

void ReportRun::printFlowSection(TOddilSestavy& section)
{
    if (!mayPrint(section)) return;
    const bool body = section.Index == siBody;
    const bool midRow = body && std::max(m_report.Columns, 1) > 1 && m_out.CurrentColumn > 1;
    if (section.Index != siReportStart && !midRow && (long long)footLine() - m_out.Y < section.PrintedHeight()
        && m_pageHasContent) {
        closePage();
        if (!m_stopped) beginPage();
    }
    if (m_stopped) return;
    // A section that starts below the foot line shows nothing: the page stays as empty as it
    // was, so the next section does not break to yet another page.
    if (m_out.Y < footLine()) m_pageHasContent = true;
    if (body) {
        placeBody(section);
    } else {
        placeElements(elementsOf(section), 0, m_out.Y, m_out.PageIndex + m_out.PageOffset, false);
        m_out.Y = advance(m_out.Y, section.Height);
    }
}

int ReportRun::printFixedSection(TOddilSestavy& section, int y, int offset)
{
    if (!mayPrint(section)) return y;
    placeElements(elementsOf(section), 0, y, m_out.PageIndex + m_out.PageOffset + offset, section.Index == siPageFoot);
    return advance(y, section.Height);
}

void ReportRun::placeBody(TOddilSestavy& body)
{
    const int columns = std::max(m_report.Columns, 1);
    const int page = m_out.PageIndex + m_out.PageOffset;
    if (columns > 1) {
        placeElements(elementsOf(body), m_out.X, m_out.Y, page, false);
        if (m_out.CurrentColumn < columns) {
            ++m_out.CurrentColumn;
            m_out.X = bounded(m_out.X + ((long long)m_out.PageWidth + m_report.ColumnGap) / columns);
        } else {
            m_out.CurrentColumn = 1;
            m_out.X = 0;
            m_out.Y = advance(m_out.Y, body.Height);
        }
        return;
    }
    const std::vector<TVoReportElement*> all = elementsOf(body);
    if (std::none_of(all.begin(), all.end(), [this](const TVoReportElement* e) { return isGrowing(*e); })) {
        placeElements(all, 0, m_out.Y, page, false);
        m_out.Y = advance(m_out.Y, body.Height);
        return;
    }
    placeBands(body);
}

void ReportRun::placeBands(TOddilSestavy& body)
{
    const std::vector<TVoReportElement*> all = elementsOf(body);
    std::vector<Band> bands;
    std::vector<TVoReportElement*> fixed;
    for (TVoReportElement* e : all)
        if (!isGrowing(*e) || !addToBands(bands, e)) fixed.push_back(e);
    const int n = int(bands.size());
    // Segment k runs from the bottom of band k - 1 to the bottom of band k; the last one to
    // the section's height.
    std::vector<std::vector<TVoReportElement*>> segments(size_t(n + 1));
    for (TVoReportElement* e : fixed) {
        int k = 0;
        while (k < n && bands[size_t(k)].bottom <= e->Top) ++k;
        segments[size_t(k)].push_back(e);
    }
    int pageOff = 0;      // pages beyond PageIndex + PageOffset
    int base = m_out.Y;   // page position of the section's top
    for (int k = 0; k <= n; ++k) {
        const int segTop = k == 0 ? 0 : bands[size_t(k - 1)].bottom;
        const int segBottom = k < n ? bands[size_t(k)].bottom : body.Height;
        // A segment taller than a fresh page's room is cut here: a continuation page would
        // not hold it either.
        const bool fitsFreshPage = (long long)segBottom - segTop <= (long long)footLine() - m_headEnd;
        if ((long long)base + segBottom > footLine() && (long long)base + segTop > m_headEnd && fitsFreshPage) {
            closePage(true, pageOff);
            ++pageOff;
            beginPage(true, pageOff);
            base = bounded((long long)m_headEnd - segTop);
        }
        placeElements(segments[size_t(k)], 0, base, m_out.PageIndex + m_out.PageOffset + pageOff, false);
        if (k == n) break;
        std::pair<int, int> furthest{pageOff, base};
        for (TVoReportElement* e : bands[size_t(k)].items) {
            const int top = bounded((long long)base + e->Top);
            const auto [endPage, endY] = e->Kind == ekDetail ? runDetailVariant(*e, top, pageOff)
                                                             : layoutGrowingText(*e, top, pageOff);
            furthest = std::max(furthest, std::pair<int, int>{endPage, bounded((long long)endY - e->Top - e->Height)});
        }
        std::tie(pageOff, base) = furthest;
    }
    m_out.PageOffset += pageOff;
    m_out.Y = advance(base, body.Height);
}

std::pair<int, int> ReportRun::runDetailVariant(TVoReportElement& element, int y, int pageOffset)
{
    TSestavaTyp* variant = variantOf(element);
    if (!variant) return {pageOffset, bounded((long long)y + element.Height)};
    // The variant lays out on this output from the element's place; the parent's position
    // comes back afterwards, the variant's end is answered.
    const int pageIndex = m_out.PageIndex;
    const int pageOffsetBefore = m_out.PageOffset;
    const int yBefore = m_out.Y;
    const int xBefore = m_out.X;
    const int columnBefore = m_out.CurrentColumn;
    m_out.PageIndex = pageIndex + pageOffsetBefore + pageOffset;
    m_out.PageOffset = 0;
    m_out.Y = y;
    m_out.X = 0;
    m_out.CurrentColumn = 1;
    variant->setMeasurer(&m_report.measurer());
    variant->RunDetail(*this);
    if (variant->WasClipped()) m_report.setClipped();
    const int endPage = m_out.PageIndex + m_out.PageOffset - (pageIndex + pageOffsetBefore);
    const int endY = m_out.Y;
    m_out.PageIndex = pageIndex;
    m_out.PageOffset = pageOffsetBefore;
    m_out.Y = yBefore;
    m_out.X = xBefore;
    m_out.CurrentColumn = columnBefore;
    SetOperandHost(&m_report);
    return {endPage, endPage == pageOffset ? std::max(endY, bounded((long long)y + element.Height)) : endY};
}

std::pair<int, int> ReportRun::layoutGrowingText(TVoReportElement& element, int y, int pageOffset)
{
    TVystPrvek item;
    const int bottom = bounded((long long)y + element.Height);
    if (!makeItem(element, element.Left, y, item)) return {pageOffset, bottom};
    const std::shared_ptr<const TRadky> lines = item.ItemLines;
    const int total = lines ? lines->TotalHeight() : 0;
    const int page = m_out.PageIndex + m_out.PageOffset;
    if (!lines || total <= element.Height) {
        addItem(std::move(item), page + pageOffset, false);
        return {pageOffset, bottom};
    }
    item.LastLine = lines->count() - 1;
    // Without room below the head no page holds a line: the text is cut here.
    if (total <= (long long)footLine() - y || footLine() <= m_headEnd) {
        item.Rect.setHeight(total);
        addItem(std::move(item), page + pageOffset, false);
        return {pageOffset, bounded((long long)y + total)};
    }
    // Spill over pages: the lines that fit here, then at least one line on every new page.
    bool fresh = y <= m_headEnd;
    int first = 0;
    while (true) {
        int height = 0;
        int last = first - 1;
        lines->FitLines(first, bounded((long long)footLine() - y), height, last);
        const bool forced = last < first && fresh;
        if (forced) {
            // One line a page keeps the text moving; addItem cuts it at the foot line, as it
            // cuts any item, so its end is no lower.
            last = first;
            height = (layoutMargin + lines->lines[size_t(first)].Vyska) / layoutUnitsPerHundredth;
        }
        if (last >= first) {
            TVystPrvek part = item;
            part.Rect = QRect(item.Rect.left(), y, item.Rect.width(), height);
            part.FirstLine = first;
            part.LastLine = last;
            addItem(std::move(part), page + pageOffset, false);
            first = last + 1;
        }
        if (first >= lines->count()) return {pageOffset, bounded(std::min<long long>((long long)y + height, std::max(footLine(), y)))};
        closePage(true, pageOffset);
        ++pageOffset;
        beginPage(true, pageOffset);
        y = m_headEnd;
        fresh = true;
    }
}

void ReportRun::placeElements(const std::vector<TVoReportElement*>& elements, int x, int y, int page, bool isFoot)
{
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        TVoReportElement& e = **it;
        if (e.Kind == ekDetail) continue;   // variants run only in a single-column body
        TVystPrvek item;
        if (!makeItem(e, bounded((long long)x + e.Left), bounded((long long)y + e.Top), item)) continue;
        const bool pageCount = e.Kind == ekVariable && e.Reference == varPageCount;
        if (pageCount) {
            // Empty until the run ends and the count is known (a preview shows pages before).
            item.ItemText.clear();
            item.ItemLines.reset();
        }
        TVystPrvek* stored = addItem(std::move(item), page, isFoot);
        if (stored && pageCount) m_pageCountItems.push_back({stored, &e});
    }
}

bool ReportRun::makeItem(TVoReportElement& e, int left, int top, TVystPrvek& item)
{
    item.Style = styleOf(e);
    item.Rect = QRect(bounded(left), bounded(top), int(std::clamp<long long>(e.Width, 0, maxCoordinate)),
                      int(std::clamp<long long>(e.Height, 0, maxCoordinate)));
    const bool columnPicture = e.Kind == ekColumn && m_report.ColumnDataType(e.Reference) == ctGraphic;
    if (item.Style.isText() && !columnPicture) {
        const QString value = e.ValueText();
        item.HasMemo = e.Kind == ekColumn && e.HasMemo;
        item.ItemText = item.HasMemo ? e.MemoText : value;
        auto lines = std::make_shared<TRadky>(MeasureText(m_report.measurer(), e.Width, item.ItemText, textSettings(e, m_report)));
        int height = 0;
        int last = 0;
        lines->FitLines(0, e.Height, height, last);
        item.LastLine = std::clamp(last, 0, lines->count() - 1);
        item.ItemLines = std::move(lines);
    } else if (columnPicture || e.Kind == ekPicture) {
        item.ItemPicture = e.Picture;
        item.ItemPictureName = e.PictureFile;
        item.HasPicture = !e.Picture.isNull();
    }
    bool print = true;
    m_report.DoTiskPrvku(e, print);
    return print;
}

TVystPrvek* ReportRun::addItem(TVystPrvek item, int page, bool isFoot)
{
    if (!isFoot) {
        const int line = footLine();
        if (item.Rect.top() >= line && item.Rect.height() > 0) {
            m_report.setClipped();
            return nullptr;
        }
        if ((long long)item.Rect.top() + item.Rect.height() > line) {
            m_report.setClipped();
            item.Rect.setHeight(std::max(line - item.Rect.top(), 0));
            if (item.ItemLines) {
                int height = 0;
                int last = 0;
                item.ItemLines->FitLines(item.FirstLine, item.Rect.height(), height, last);
                item.LastLine = std::min(item.LastLine, last);
            }
        }
    }
    return m_out.AddItem(std::move(item), page);
}

void ReportRun::fillPageCounts(int pages)
{
    for (auto& [item, element] : m_pageCountItems) {
        QString text;
        try {
            text = element->Text.isEmpty() ? QString::number(pages) : txt::format(element->Text, {pages});
        } catch (const Exception&) {
            text = QString::number(pages);   // a format that does not fit prints the plain number
        }
        item->ItemText = text;
        auto lines = std::make_shared<TRadky>(MeasureText(m_report.measurer(), item->Rect.width(), text, textSettings(*element, m_report)));
        item->FirstLine = 0;
        item->LastLine = lines->count() - 1;
        item->ItemLines = std::move(lines);
    }
    m_pageCountItems.clear();
}

} // namespace reports
