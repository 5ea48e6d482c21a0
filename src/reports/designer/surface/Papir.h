// The design surface: one widget painting the paper's bands, their elements and the marks,
// and turning the mouse into the designer's commands.
#pragma once

#include "reports/designer/surface/ElementGrid.h"
#include "reports/designer/surface/ElementPainter.h"
#include "reports/designer/surface/SurfaceView.h"

#include <QWidget>

#include <optional>
#include <unordered_map>

namespace reports {
class TextMeasurer;
}

namespace reports::designer {

// TPapir: the paper. It paints what the view holds and decides nothing about the template:
// selection, inserts and every change go to the host. During a drag it shows the moving
// geometry itself and reports the result once at the release. Bands and elements are not
// widgets. The host and the measurer outlive the paper.
class TPapir : public QWidget
{
public:
    TPapir(SurfaceHost& host, const TextMeasurer& measurer, QWidget* parent = nullptr);
    ~TPapir() override;

    // Shows a view; only what changed is repainted when the bands keep their geometry.
    void setView(SurfaceView view);
    const SurfaceView& view() const { return m_view; }
    // The cursor over the bands' free area ("the paper's cursor").
    void setPaperCursor(const QCursor& cursor);

    // Pixel rectangles on the paper: a band with its caption strip (empty when hidden) and
    // an element as shown now (during a drag, where it is dragged to).
    QRect bandRect(int band) const;
    QRect elementRect(ElementId id) const;
    // Where a band's caption strip ends its tabs (0 without tabs), pixels.
    int tabsEnd(int band) const;
    int currentDetail(int band) const;

protected:
    // Every event goes through here: an error of painting or of an edit the mouse started is
    // shown as a message and never leaves the handler.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Where a shown element stands, and how it was when the view came.
    struct Placed {
        ElementId id = NoElement;
        const TVoReportElement* element = nullptr;
        QRect rect;                 // model units
        bool active = false;
        bool multi = false;         // in a multiple selection
        bool selected = false;
        QString text;
        bool operator==(const Placed&) const = default;
    };
    struct BandLayout {
        int top = 0;                // pixels
        int pixelHeight = 0;
        int height = 0;             // model units, as shown
        int columnPixels = 0;       // the body's column width when it has columns, else 0
        int tabsEnd = 0;
        int currentDetail = 1;
        std::vector<Placed> placed; // z-order
        ElementGrid grid;
    };
    struct Moving {
        ElementId id = NoElement;
        int band = 0;
        int z = 0;
        QRect start;
        QRect now;
    };
    struct ElementDrag {
        QPoint press;
        int zone = 0;
        std::vector<Moving> moving;   // the dragged element first
    };
    struct HeightDrag {
        int band = 0;
        int saved = 0;
        int pressY = 0;
    };
    struct RubberBand {
        int band = 0;
        QPoint from;                  // band pixels
        QPoint to;
    };
    struct Hit {
        int band = -1;
        int z = -1;
    };

    void layOut();
    void stack();
    bool sameGeometry(const SurfaceView& a, const SurfaceView& b) const;
    // Finds the moving elements again in a new view.
    void relocateDrag();
    void repaintChanged(const std::vector<BandLayout>& old);
    // Repaints the rectangles, or their bounds when there are many.
    void repaintRects(const std::vector<QRect>& rects);
    std::vector<Placed> placeElements(const SurfaceBand& band) const;

    Hit hitAt(QPoint p) const;
    QRect modelRect(int band, int z) const;
    QRect pixelRect(int band, const QRect& model) const;
    std::optional<std::pair<int, int>> locate(ElementId id) const;

    void pressElement(const Hit& hit, Qt::KeyboardModifiers modifiers, QPoint p);
    void startDrag(ElementId id, QPoint p);
    void pressBand(int band, Qt::KeyboardModifiers modifiers, QPoint p);
    void dragTo(QPoint p);
    void dragHeightTo(QPoint p);
    void finishDrag();
    void finishRubber();
    void hover(QPoint p);
    void setSurfaceCursor(SurfaceCursor cursor);

    void paintBand(QPainter& painter, int band, const QRect& clip);
    void paintBandFace(QPainter& painter, int band, const QRect& area);
    void paintCaption(QPainter& painter, int band, const QRect& area);
    void paintElements(QPainter& painter, int band, const QRect& clip);
    QRect rubberPixels() const;

    SurfaceHost& m_host;
    ElementPainter m_painter;
    SurfaceView m_view;
    std::vector<BandLayout> m_bands;
    int m_paperPixels = 0;
    std::optional<ElementDrag> m_drag;
    std::optional<HeightDrag> m_heightDrag;
    std::optional<int> m_dragHeight;       // the dragged band's height, model units
    std::optional<RubberBand> m_rubber;
    std::unordered_map<ElementId, QRect> m_overrides;   // model rects of the moving elements
    std::optional<SurfaceCursor> m_cursor;
    QCursor m_paperCursor;
};

} // namespace reports::designer
