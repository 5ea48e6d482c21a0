// Painting one element of the design surface as the page output draws it, and its marks.
#pragma once

#include "reports/designer/surface/SurfaceView.h"

#include <QRect>

#include <memory>
#include <unordered_map>
#include <unordered_set>

class QPainter;

namespace reports {
class TextMeasurer;
class TRadky;
}

namespace reports::designer {

// Draws elements in their model rectangle x zoom through the output's canvas. Text layouts
// are kept per element and made anew only when what they depend on changes, so a repaint
// lays out only the elements that changed.
class ElementPainter
{
public:
    explicit ElementPainter(const TextMeasurer& measurer);
    ~ElementPainter();

    // Draws the element with the model size `size` (its own, or the one a drag gave it) at
    // `pixels`, the zoomed rectangle on the painter; the drawing stays inside it.
    // `text`: what a text kind shows.
    void draw(QPainter& painter, ElementId id, const TVoReportElement& e, const QString& text, QSize size,
              const QRect& pixels, double zoom);
    // Forgets the layouts of elements no longer shown.
    void retain(const std::unordered_set<ElementId>& shown);

private:
    struct Layout;
    std::shared_ptr<const TRadky> layout(ElementId id, const TVoReportElement& e, const QString& text, int width, bool memo);

    const TextMeasurer& m_measurer;
    std::unordered_map<ElementId, std::unique_ptr<Layout>> m_layouts;
};

// Selection marks over an element's pixel rectangle: a grey frame with four corners (filled
// for the active one) in a multiple selection, eight filled handles for the active element,
// else a light grey frame.
void drawMarks(QPainter& painter, const QRect& pixels, bool inMultipleSelection, bool active);

// Pen width, pixels, of lines and shapes at a zoom: Round((width - 1) x zoom) + 1.
int zoomedPen(int penWidth, double zoom);

} // namespace reports::designer
