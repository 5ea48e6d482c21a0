// Arithmetic of the report windows' panels.
#include "reports/preview/PanelGeometry.h"

#include <algorithm>

namespace reports {

bool ScrollAxis::scrollBy(int delta)
{
    const int before = offset;
    int next = offset + delta;
    if (visible - next > content) next = visible - content;
    if (next > 0) next = 0;
    offset = next;
    return offset != before;
}

namespace floating {

QPoint dragTarget(QPoint wanted, QSize panel, QSize parentClient, int captionHeight)
{
    // The upper limits first, as a panel larger than its parent keeps its caption reachable.
    const int x = std::max(std::min(wanted.x(), parentClient.width() - 20), 20 - panel.width());
    const int y = std::max(std::min(wanted.y(), parentClient.height() - 15), 10 - captionHeight);
    return QPoint(x, y);
}

QRect cancelButtonRect(int panelWidth, int captionHeight, int innerBevel)
{
    const int side = std::max(captionHeight - 7, 0);
    return QRect(panelWidth - 6 - innerBevel - side, 4 + innerBevel, side, side);
}

} // namespace floating

} // namespace reports
