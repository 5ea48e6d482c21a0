// Drawing device interface: a page, a projection and drawing operations in world or page pixels.
#pragma once

#include "framework/core/Elements.h"
#include "graphics/geometry/Page.h"
#include "graphics/geometry/Projection.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QString>

#include <vector>

// Outer ring and holes of an area in page pixels: Counts[i] points of ring i, in order.
struct PolyPolygon {
    std::vector<PixelPoint> Points;
    std::vector<qint32> Counts;
};

// The most rings (outer ring and holes) one area may hand to the device.
inline constexpr int maxPolyPolygonRings = 10001;

// TDevice: the abstract drawing target of the interpreters. It owns its page and projection
// (children created with it). World arguments pass through the projection; "Pixel" operations
// take page pixels. Every operation is a no-op (or answers 0, nil, empty) here; the canvas
// devices draw, the text devices write.
class TDevice : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void AfterConstruction() override;

    T_Page* Page() const { return m_page.get(); }
    TPageProjection* Projection() const { return m_projection.get(); }

    virtual const QBrush* Brush() const { return nullptr; }
    virtual const QFont* Font() const { return nullptr; }
    virtual const QPen* Pen() const { return nullptr; }
    virtual TColor GetPixel(double, double) { return 0; }
    virtual void SetBrush(const QBrush&) {}
    virtual void SetFont(const QFont&) {}
    virtual void SetPen(const QPen&) {}
    // Pen width := max(1, the world width in pixels); nothing without a pen.
    virtual void SetPenWidth(double width);
    virtual void SetPixel(double, double, TColor) {}
    virtual void SetVisible(bool) {}
    virtual void SetTitle(const QString&) {}
    virtual void Clear() {}
    virtual void FillRect(const WorldRect&) {}
    virtual void FrameRect(const WorldRect&) {}
    virtual void Write(const QString&) {}
    virtual void WriteLn(const QString&) {}
    virtual void SetTextAngle(double) {}
    virtual void LineTo(double, double) {}
    virtual void MoveTo(double, double) {}
    virtual void LineToPixel(qint32, qint32) {}
    virtual void MoveToPixel(qint32, qint32) {}
    virtual PolyPolygon BuildPolyPolygon(TElement*) { return {}; }
    virtual void DrawPolyline(TElement*) {}
    virtual void DrawPolygon(TElement*) {}
    virtual void DrawArea(TElement*) {}
    virtual void Rectangle(const WorldRect&) {}
    virtual void TextOut(double, double, const QString&) {}
    virtual void TextOutPixel(qint32, qint32, const QString&) {}
    virtual qint32 TextWidth(const QString&) { return 0; }
    virtual qint32 TextHeight(const QString&) { return 0; }
    double TextWidthWorld(const QString& s);
    double TextHeightWorld(const QString& s);
    virtual void Draw(double, double, const QImage&) {}
    // Source values are ignored by the canvas devices (the printer device honours them).
    virtual void StretchDraw(double, double, double, double, double, double, double, double, const QImage&) {}
    virtual void StretchDrawPixel(qint32, qint32, qint32, qint32, qint32, qint32, qint32, qint32, const QImage&) {}
    virtual void BeginOutput() {}
    virtual void EndOutput() {}
    virtual void AdjustPage() {}

protected:
    // A new page and projection replacing the old ones (children).
    void makePageAndProjection();

private:
    WeakRef<T_Page> m_page;
    WeakRef<TPageProjection> m_projection;
};
