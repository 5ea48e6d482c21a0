// What the design surface shows (a plain view the designer fills) and the commands it sends
// back (SurfaceHost).
#pragma once

#include "reports/designer/DesignerTypes.h"
#include "reports/designer/surface/SurfaceGeometry.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <vector>

namespace reports {
class TVoReportElement;
}

namespace reports::designer {

// One element as the surface shows it. The element is not owned: the designer keeps it alive
// and unchanged while the view that names it is shown.
struct SurfaceElement {
    ElementId id = NoElement;
    const TVoReportElement* element = nullptr;
    // The text a text kind shows in the designer (its design-time value text).
    QString text;
    bool active = false;      // the active element: eight handles
    bool selected = false;    // in the selection; with more than one selected, corners
};

// One band (section) of the paper.
struct SurfaceBand {
    int index = 0;            // BandIndex: 0-4, then 5 + 2g and 6 + 2g
    QString caption;
    QString label;            // drawn after the caption (a group's value in the current record)
    bool visible = true;
    int height = 0;           // model units, without the caption strip
    int columns = 1;          // the body's columns and their gap, model units
    int columnGap = 0;
    int detailCount = 0;      // detail variants shown as tabs; 0 none
    int currentDetail = 1;    // 1-based
    QPoint backgroundOffset;  // model units
    std::vector<SurfaceElement> elements;   // z-order: the first lies at the back
};

struct SurfaceView {
    int paperWidth = 0;       // model units
    double zoom = 1.0;
    Raster raster;
    QImage background;        // drawn under every band at its offset; null for none
    std::vector<SurfaceBand> bands;   // by band index: bands[i].index == i
};

// The final model rectangle of one dragged element.
struct ElementMove {
    ElementId id = NoElement;
    QRect rect;
};

// The designer as the surface sees it: one call per surface command (SurfaceCommand gives
// their numbers). Positions and sizes are model units. A call may replace the surface's view
// before it returns.
class SurfaceHost
{
public:
    virtual ~SurfaceHost() = default;
    // During a drag: the element's position, and its size while resizing.
    virtual void showPosition(int left, int top) = 0;
    virtual void showSize(int width, int height) = 0;
    // A click that ends an insert tool.
    virtual void pressArrow() = 0;
    // A press without Shift: the element becomes the active one; a multiple selection it
    // belongs to stays, any other is cleared.
    virtual void selectOnly(ElementId id) = 0;
    virtual void removeFromSelection(ElementId id) = 0;
    virtual void addToSelection(ElementId id) = 0;
    // A drag ended with a change: the dragged element first, then the others of its multiple
    // selection; sent once at the release (one undo step).
    virtual void elementsDragged(const std::vector<ElementMove>& moves) = 0;
    virtual void bandDoubleClicked(int band) = 0;
    virtual void elementDoubleClicked(ElementId id) = 0;
    // The mouse position for the status line; (-1, -1) for none.
    virtual void showCoordinates(int x, int y) = 0;
    // A band-height drag ended with a changed height; sent once at the release.
    virtual void bandHeightChanged(int band, int height) = 0;
    // The insert tool's code; 0 the arrow, -1 paste mode.
    virtual int activeTool() const = 0;
    // A press on a band's area: where to insert, or (0, 0) without a tool.
    virtual void bandClicked(int band, int x, int y) = 0;
};

} // namespace reports::designer
