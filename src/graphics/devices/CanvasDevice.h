// Canvas device: draws through a QPainter (not owned) on whatever it paints.
#pragma once

#include "graphics/devices/Device.h"

#include <QPainter>
#include <QPoint>

// TCanvasDevice: draws on a painter. No antialiasing; polygons fill odd-even (holes rely on
// it); filled rectangles leave out their right and bottom edge. Lines are projected in doubles,
// clipped to the page's clip rectangle (the whole page unless a clipped run narrowed it), then
// rounded. Text angles run
// counter-clockwise in degrees.
class TCanvasDevice : public TDevice
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    QPainter* Canvas() const { return m_canvas; }
    // Canvas := painter; with one, AdjustPage. The painter must outlive its use here.
    virtual void SetCanvas(QPainter* painter);
    double TextAngle() const { return m_textAngle; }
    // The last world pen position in pixels (rounded).
    PixelPoint PenPosition() const;
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor color);

    const QBrush* Brush() const override { return &m_brush; }
    const QFont* Font() const override { return &m_font; }
    const QPen* Pen() const override { return &m_pen; }
    TColor GetPixel(double x, double y) override;
    void SetBrush(const QBrush& brush) override;
    void SetFont(const QFont& font) override;
    void SetPen(const QPen& pen) override;
    void SetPixel(double x, double y, TColor color) override;
    void Clear() override;
    void FillRect(const WorldRect& r) override;
    void FrameRect(const WorldRect& r) override;
    void SetTextAngle(double degrees) override;
    void LineTo(double x, double y) override;
    void MoveTo(double x, double y) override;
    void LineToPixel(qint32 x, qint32 y) override;
    void MoveToPixel(qint32 x, qint32 y) override;
    // Outer ring first, then each hole with points; more than maxPolyPolygonRings rings raise
    // ERangeError.
    PolyPolygon BuildPolyPolygon(TElement* entity) override;
    // Clipped segment by segment into runs, so a cut polyline is never closed along the edge.
    void DrawPolyline(TElement* entity) override;
    void DrawPolygon(TElement* entity) override;
    // With a Holes container of one or more children: outer ring and holes in one odd-even
    // fill; otherwise DrawPolygon.
    void DrawArea(TElement* entity) override;
    void Rectangle(const WorldRect& r) override;
    void TextOut(double x, double y, const QString& s) override;
    void TextOutPixel(qint32 x, qint32 y, const QString& s) override;
    qint32 TextWidth(const QString& s) override;
    qint32 TextHeight(const QString& s) override;
    void Draw(double x, double y, const QImage& image) override;
    void StretchDraw(double srcX, double srcY, double x, double y, double w, double h, double srcW, double srcH,
                     const QImage& image) override;
    void StretchDrawPixel(qint32 x, qint32 y, qint32 w, qint32 h, qint32 srcX, qint32 srcY, qint32 srcW, qint32 srcH,
                          const QImage& image) override;
    void BeginOutput() override { Clear(); }
    // Page and clip rectangle := the paint device's whole rectangle; resolution from its DPI;
    // the projection recomputed on it.
    void AdjustPage() override;

protected:
    // The painter to draw on is there (descendants may begin one here).
    virtual bool ensureCanvas() { return m_canvas != nullptr; }
    // Hands pen, brush and font to the painter again (after it was restarted).
    void applyState();
    // Draws the segment from the pen position to p clipped to the active clip rectangle.
    void drawClippedLine(PixelPointF from, PixelPointF to);
    PixelPointF m_penF;          // the last world pen position, in unrounded pixels
    QPoint m_canvasPos;          // the painter's current position (MoveTo/LineTo of the canvas)

private:
    std::vector<PixelPoint> ringOf(TElement* element);

    QPainter* m_canvas = nullptr;
    double m_textAngle = 0.0;
    QPen m_pen{Qt::black};
    QBrush m_brush{Qt::white};
    QFont m_font;
    TColor m_fontColor = 0;
};

// TBitmapDevice: a canvas device over an image it may own. Drawing runs through its own painter.
class TBitmapDevice : public TCanvasDevice
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void BeforeDestruction() override;

    QImage* Bitmap() const { return m_bitmap; }
    bool OwnsBitmap() const { return static_cast<bool>(m_owned); }
    // Frees an owned bitmap, takes `image` (not owned; nil for none) and paints on it.
    void SetBitmap(QImage* image);
    // The same, owning the image.
    void SetOwnedBitmap(std::unique_ptr<QImage> image);
    // Ends painting, so the image may be read or copied whole.
    void Flush();

private:
    void attach(QImage* image);
    void detach();

    std::unique_ptr<QImage> m_owned;
    QImage* m_bitmap = nullptr;
    std::unique_ptr<QPainter> m_painter;
};
