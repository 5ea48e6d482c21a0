// A coarse grid over one band that finds the elements near a rectangle without visiting all.
#pragma once

#include <QRect>

#include <vector>

namespace reports::designer {

// Cells of a fixed model size, each listing the z-order positions of the elements whose
// rectangle reaches into it; elements beyond the band's edge go to the edge cells.
class ElementGrid
{
public:
    static constexpr int cellSize = 64;   // model units

    // `rects` by z-order position; `width` x `height` the band's area in model units.
    void build(const std::vector<QRect>& rects, int width, int height);
    // The z-order positions of the elements whose cells meet `area`, ascending, each once.
    std::vector<int> near(const QRect& area) const;

private:
    int column(int x) const;
    int row(int y) const;

    int m_columns = 0;
    int m_rows = 0;
    int m_count = 0;
    std::vector<std::vector<int>> m_cells;
};

} // namespace reports::designer
