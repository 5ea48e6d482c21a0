// The small drawing surface output items render through, and its QPainter implementation.
#pragma once

#include "platform/paint/Paint.h"
#include "reports/model/ReportFont.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QStringView>

class QPainter;

namespace reports {

struct PenSpec {
    paint::ColorRef color = 0;
    double width = 1;   // device pixels; 0 the thinnest line
    paint::PenStyle style = paint::PenStyle::Solid;
};

struct BrushSpec {
    paint::ColorRef color = 0xFFFFFF;
    paint::BrushStyle style = paint::BrushStyle::Solid;
};

enum class Shape { Rectangle, RoundRectangle, Ellipse };

// A page surface. Coordinates are hundredths of an inch from the page origin (fractions
// allowed); the surface maps them to its device at scaleX/scaleY device pixels per hundredth.
class Canvas
{
public:
    virtual ~Canvas() = default;
    virtual double scaleX() const = 0;
    virtual double scaleY() const = 0;
    // Text with its baseline starting at `baseline`.
    virtual void drawText(QPointF baseline, QStringView text, const ReportFont& font) = 0;
    virtual void drawLine(QPointF from, QPointF to, const PenSpec& pen) = 0;
    // `corner`: the rounding of a round rectangle, hundredths of an inch.
    virtual void drawShape(Shape shape, const QRectF& rect, const PenSpec& pen, const BrushSpec& brush, double corner) = 0;
    virtual void drawImage(const QRectF& target, const QImage& image) = 0;
};

// The device font of a report font: text-printer fonts become their fixed-pitch face, a blank
// name the default face of template elements.
paint::FontDescription deviceFont(const ReportFont& font);

// A canvas over a QPainter whose page origin lies at `origin` device pixels.
class PainterCanvas : public Canvas
{
public:
    PainterCanvas(QPainter& painter, QPointF origin, double scaleX, double scaleY);

    double scaleX() const override { return m_scaleX; }
    double scaleY() const override { return m_scaleY; }
    void drawText(QPointF baseline, QStringView text, const ReportFont& font) override;
    void drawLine(QPointF from, QPointF to, const PenSpec& pen) override;
    void drawShape(Shape shape, const QRectF& rect, const PenSpec& pen, const BrushSpec& brush, double corner) override;
    void drawImage(const QRectF& target, const QImage& image) override;

private:
    QPointF map(QPointF p) const { return {m_origin.x() + p.x() * m_scaleX, m_origin.y() + p.y() * m_scaleY}; }
    QRectF map(const QRectF& r) const { return QRectF(map(r.topLeft()), map(r.bottomRight())); }

    QPainter& m_painter;
    QPointF m_origin;
    double m_scaleX;
    double m_scaleY;
    ReportFont m_font;   // the font last set on the painter
    bool m_hasFont = false;
};

} // namespace reports
