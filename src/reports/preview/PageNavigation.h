// Paging through a run's output in the preview: the printed range, the current page, the
// page chooser and what the two page panels show.
#pragma once

#include <QString>

#include <optional>

namespace reports {

// Pages are numbered from 0. The buttons move within the printed range StartPage..EndPage
// (1-based, EndPage cut to the page count); the chooser reaches any page of the output.
// With no page in the range nothing moves, the chooser goes nowhere and printing is off.
class PageNavigation
{
public:
    PageNavigation(int startPage, int endPage, int pageCount);

    // The count grows while a run is still laying out pages.
    void setPageCount(int pageCount);
    int pageCount() const { return m_count; }
    // First and last page index of the range; first > last when it holds no page.
    int firstIndex() const { return m_start - 1; }
    int lastIndex() const;
    bool isEmpty() const { return firstIndex() > lastIndex(); }

    // The page shown (0-based); -1 while none is.
    int current() const { return m_current; }
    // Shows a page of the output; false (nothing changes) for an index outside it.
    bool setCurrent(int index);
    // Opening: the range's first page, when there is one.
    void showFirstOfRange();

    bool canGoBack() const { return !isEmpty() && firstIndex() < m_current; }
    bool canGoForward() const { return !isEmpty() && lastIndex() > m_current; }
    // The target of each move, or none when the button would do nothing.
    std::optional<int> first() const;
    std::optional<int> prior() const;
    std::optional<int> next() const;
    std::optional<int> last() const;
    // The chooser's page for a typed text: a number outside the output is clamped to it, a
    // text that is not a number means StartPage. None when it stays or no page is in range.
    std::optional<int> chosen(const QString& text) const;

    // What the panels show: current + 1 and the page count, both 0 without a page in range.
    QString currentText() const;
    QString countText() const;

private:
    int m_start;
    int m_end;
    int m_count;
    int m_current = -1;
};

} // namespace reports
