// The element grid of a band.
#include "reports/designer/surface/ElementGrid.h"

#include <algorithm>

namespace reports::designer {

namespace {

// Grids beyond this many cells a side would cost more than they save.
constexpr int maxCellsPerSide = 256;

} // namespace

int ElementGrid::column(int x) const
{
    return std::clamp(x / cellSize, 0, m_columns - 1);
}

int ElementGrid::row(int y) const
{
    return std::clamp(y / cellSize, 0, m_rows - 1);
}

void ElementGrid::build(const std::vector<QRect>& rects, int width, int height)
{
    m_columns = std::clamp(width / cellSize + 1, 1, maxCellsPerSide);
    m_rows = std::clamp(height / cellSize + 1, 1, maxCellsPerSide);
    m_count = int(rects.size());
    m_cells.assign(size_t(m_columns) * size_t(m_rows), {});
    for (int i = 0; i < m_count; ++i) {
        const QRect& r = rects[size_t(i)];
        const int c1 = column(r.x() + std::max(r.width(), 1) - 1), r1 = row(r.y() + std::max(r.height(), 1) - 1);
        for (int y = row(r.y()); y <= r1; ++y)
            for (int x = column(r.x()); x <= c1; ++x) m_cells[size_t(y) * size_t(m_columns) + size_t(x)].push_back(i);
    }
}

std::vector<int> ElementGrid::near(const QRect& area) const
{
    std::vector<int> found;
    if (m_cells.empty() || area.isEmpty()) return found;
    const int c1 = column(area.x() + area.width() - 1), r1 = row(area.y() + area.height() - 1);
    for (int y = row(area.y()); y <= r1; ++y)
        for (int x = column(area.x()); x <= c1; ++x) {
            const auto& cell = m_cells[size_t(y) * size_t(m_columns) + size_t(x)];
            found.insert(found.end(), cell.begin(), cell.end());
        }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

} // namespace reports::designer
