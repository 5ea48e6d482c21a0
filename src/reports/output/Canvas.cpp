// QPainter canvas of output pages.
#include "reports/output/Canvas.h"

#include "reports/model/ReportTables.h"

#include <QPaintDevice>
#include <QPainter>

namespace reports {

paint::FontDescription deviceFont(const ReportFont& font)
{
    ReportFont mapped = font;
    // A name of blanks names no face; Qt cannot even record such a font into a picture.
    if (mapped.Name.trimmed().isEmpty()) mapped.Name = ReportFont().Name;
    MapPrinterFont(mapped);
    return {mapped.Name, double(mapped.Size), mapped.Style & FontStyleMask, mapped.Color, mapped.Charset};
}

PainterCanvas::PainterCanvas(QPainter& painter, QPointF origin, double scaleX, double scaleY)
    : m_painter(painter), m_origin(origin), m_scaleX(scaleX), m_scaleY(scaleY)
{
}

void PainterCanvas::drawText(QPointF baseline, QStringView text, const ReportFont& font)
{
    if (!m_hasFont || !(font == m_font)) {
        const paint::FontDescription f = deviceFont(font);
        const int logicalDpi = m_painter.device() ? m_painter.device()->logicalDpiY() : 96;
        QFont qfont = paint::makeFont(f, m_scaleY * 100, logicalDpi);
        if (IsPrinterFont(font.Name)) qfont.setStyleHint(QFont::TypeWriter);
        m_painter.setFont(qfont);
        m_painter.setPen(paint::toQColor(f.color));
        m_font = font;
        m_hasFont = true;
    }
    m_painter.drawText(map(baseline), text.toString());
}

void PainterCanvas::drawLine(QPointF from, QPointF to, const PenSpec& pen)
{
    m_painter.setPen(paint::makePen(pen.color, pen.width, pen.style));
    m_hasFont = false;
    m_painter.drawLine(map(from), map(to));
}

void PainterCanvas::drawShape(Shape shape, const QRectF& rect, const PenSpec& pen, const BrushSpec& brush, double corner)
{
    m_painter.setPen(paint::makePen(pen.color, pen.width, pen.style));
    m_painter.setBrush(paint::makeBrush(brush.color, brush.style));
    m_hasFont = false;
    const QRectF r = map(rect);
    switch (shape) {
    case Shape::Rectangle: m_painter.drawRect(r); break;
    case Shape::RoundRectangle: m_painter.drawRoundedRect(r, corner * m_scaleX, corner * m_scaleY); break;
    case Shape::Ellipse: m_painter.drawEllipse(r); break;
    }
    m_painter.setBrush(Qt::NoBrush);
}

void PainterCanvas::drawImage(const QRectF& target, const QImage& image)
{
    if (!image.isNull()) m_painter.drawImage(map(target), image);
}

} // namespace reports
