// The preview's page geometry at a zoom: the panel, the printable area on it, where the panel
// sits in the view, and the scroll position that keeps the view's centre through a zoom.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace reports {

// The sheet in hundredths of an inch (landscape already swapped) and its margins.
struct SheetMeasures {
    int width = 826;
    int height = 1169;
    int left = 50;
    int top = 70;
    int right = 50;
    int bottom = 70;

    // The shared page settings as the run laid the pages out.
    static SheetMeasures current();
};

// At zoom 1.00 one hundredth of an inch is one preview pixel.
class PreviewGeometry
{
public:
    PreviewGeometry(const SheetMeasures& sheet, float zoom);

    float zoom() const { return m_zoom; }
    // The white panel: the whole sheet.
    QSize panelSize() const { return m_panel; }
    // The printable area on the panel (OblastStrany); right and bottom exclusive.
    QRect pageRect() const { return m_page; }
    // The panel's corner in a view of `viewport`: centred in a direction where it is
    // narrower, else at 0 (the view scrolls).
    QPoint panelOffset(QSize viewport) const;
    // Largest scroll position in the view.
    QPoint maxScroll(QSize viewport) const;
    // The scroll position at this zoom that shows the point that was at the centre of the
    // view at `from` with scroll position `scroll` at the centre again, within the limits.
    QPoint keepCentre(const PreviewGeometry& from, QSize viewport, QPoint scroll) const;

private:
    float m_zoom;
    QSize m_panel;
    QRect m_page;
};

} // namespace reports
