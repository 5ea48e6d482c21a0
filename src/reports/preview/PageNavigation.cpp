// Paging through a run's output in the preview.
#include "reports/preview/PageNavigation.h"

#include <algorithm>

namespace reports {

PageNavigation::PageNavigation(int startPage, int endPage, int pageCount)
    : m_start(std::max(startPage, 1)), m_end(endPage), m_count(std::max(pageCount, 0))
{
}

void PageNavigation::setPageCount(int pageCount)
{
    m_count = std::max(pageCount, 0);
    if (m_current >= m_count) m_current = m_count - 1;
}

int PageNavigation::lastIndex() const
{
    return std::min(m_end, m_count) - 1;
}

bool PageNavigation::setCurrent(int index)
{
    if (index < 0 || index >= m_count) return false;
    m_current = index;
    return true;
}

void PageNavigation::showFirstOfRange()
{
    if (!isEmpty()) m_current = firstIndex();
}

std::optional<int> PageNavigation::first() const
{
    if (!canGoBack()) return std::nullopt;
    return firstIndex();
}

std::optional<int> PageNavigation::prior() const
{
    if (!canGoBack()) return std::nullopt;
    return m_current - 1;
}

std::optional<int> PageNavigation::next() const
{
    if (!canGoForward()) return std::nullopt;
    return m_current + 1;
}

std::optional<int> PageNavigation::last() const
{
    if (!canGoForward()) return std::nullopt;
    return lastIndex();
}

std::optional<int> PageNavigation::chosen(const QString& text) const
{
    if (isEmpty()) return std::nullopt;
    bool ok = false;
    const int typed = text.trimmed().toInt(&ok);
    const qint64 wanted = ok ? typed : m_start;
    const int index = int(std::clamp<qint64>(wanted - 1, 0, m_count - 1));
    if (index == m_current) return std::nullopt;
    return index;
}

QString PageNavigation::currentText() const
{
    return QString::number(isEmpty() || m_current < 0 ? 0 : m_current + 1);
}

QString PageNavigation::countText() const
{
    return QString::number(isEmpty() ? 0 : m_count);
}

} // namespace reports
