// Drawing one output item: texts from their lines, lines, shapes and pictures.
#include "reports/output/OutputItem.h"

#include "reports/model/ReportElement.h"
#include "reports/model/ReportTables.h"
#include "reports/output/Canvas.h"

#include <algorithm>
#include <cmath>

namespace reports {

namespace {

constexpr int edgeLeft = 1, edgeTop = 2, edgeRight = 4, edgeBottom = 8;
constexpr int risingDiagonal = 16, fallingDiagonal = 32, ellipseLine = 64;

// The frame sides of a text or picture element, with a thin solid pen.
void drawFrame(Canvas& canvas, const QRectF& r, int sides, paint::ColorRef color)
{
    const PenSpec pen{color, 1, paint::PenStyle::Solid};
    if (sides & edgeLeft) canvas.drawLine(r.topLeft(), r.bottomLeft(), pen);
    if (sides & edgeTop) canvas.drawLine(r.topLeft(), r.topRight(), pen);
    if (sides & edgeRight) canvas.drawLine(r.topRight(), r.bottomRight(), pen);
    if (sides & edgeBottom) canvas.drawLine(r.bottomLeft(), r.bottomRight(), pen);
}

// The rectangle drawn inwards by half a pen of `penPixels` device pixels.
QRectF inset(const QRectF& r, double penPixels, const Canvas& canvas)
{
    const double dx = penPixels / 2 / std::max(canvas.scaleX(), 1e-9);
    const double dy = penPixels / 2 / std::max(canvas.scaleY(), 1e-9);
    return r.adjusted(dx, dy, -dx, -dy);
}

void drawText(const TVystPrvek& item, Canvas& canvas, const QRectF& r)
{
    if (item.ItemLines) DrawLines(canvas, r, *item.ItemLines, item.FirstLine, item.LastLine);
    drawFrame(canvas, r, item.Style.Frame, 0);
}

} // namespace

void DrawLineElement(const ItemStyle& s, Canvas& canvas, const QRectF& r, double penPixels)
{
    const PenSpec pen{paint::ColorRef(s.PenColor), penPixels, paint::penStyleFromOrdinal(s.PenStyle)};
    const QRectF in = inset(r, penPixels, canvas);
    if (s.Lines & edgeLeft) canvas.drawLine(in.topLeft(), in.bottomLeft(), pen);
    if (s.Lines & edgeTop) canvas.drawLine(in.topLeft(), in.topRight(), pen);
    if (s.Lines & edgeRight) canvas.drawLine(in.topRight(), in.bottomRight(), pen);
    if (s.Lines & edgeBottom) canvas.drawLine(in.bottomLeft(), in.bottomRight(), pen);
    if (s.Lines & risingDiagonal) canvas.drawLine(in.bottomLeft(), in.topRight(), pen);
    if (s.Lines & fallingDiagonal) canvas.drawLine(in.topLeft(), in.bottomRight(), pen);
    if (s.Lines & ellipseLine)
        canvas.drawShape(Shape::Ellipse, in, pen, {0, paint::BrushStyle::Clear}, 0);
}

void DrawShapeElement(const ItemStyle& s, Canvas& canvas, const QRectF& r, const PenSpec& pen)
{
    const BrushSpec brush{paint::ColorRef(s.BrushColor), paint::brushStyleFromOrdinal(s.BrushStyle)};
    const QRectF in = inset(r, std::max(pen.width, 1.0), canvas);
    const Shape shape = s.Kind == 8 ? Shape::Rectangle : s.Kind == 9 ? Shape::RoundRectangle : Shape::Ellipse;
    canvas.drawShape(shape, in, pen, brush, std::min(in.height() / 2, 40.0));
}

namespace {

// Pen widths of shapes count in 1/600 inch from 0 (width 1 is the thinnest line), as the
// page metafiles measured them.
PenSpec shapePen(const ItemStyle& s, const Canvas& canvas)
{
    if (s.PenWidth <= 0) return {paint::ColorRef(s.PenColor), 0, paint::PenStyle::Clear};
    return {paint::ColorRef(s.PenColor), (s.PenWidth - 1) * canvas.scaleX() / 6, paint::PenStyle::Solid};
}

void drawPicture(const TVystPrvek& item, Canvas& canvas, const QRectF& r, const PictureLoader& loader)
{
    const QImage image = !item.ItemPicture.isNull() || item.ItemPictureName.isEmpty() || !loader
                             ? item.ItemPicture
                             : loader(item.ItemPictureName);
    if (!image.isNull()) {
        const ItemStyle& s = item.Style;
        const PictureBox box = PictureRect({item.Rect.left(), item.Rect.top(), item.Rect.left() + item.Rect.width(),
                                            item.Rect.top() + item.Rect.height()},
                                           s.Lines & risingDiagonal, 1.0f, 1.0f, s.Lines & fallingDiagonal, s.Alignment,
                                           image.width(), image.height());
        canvas.drawImage(QRectF(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top), image);
    }
    if (item.Style.Kind == 11) drawFrame(canvas, r, item.Style.Lines & 15, paint::ColorRef(item.Style.PenColor));
}

} // namespace

ItemStyle styleOf(const TVoReportElement& e)
{
    ItemStyle s;
    s.Kind = e.Kind;
    s.Font = e.Font;
    s.Alignment = e.Alignment;
    s.TextFlags = e.TextFlags;
    s.Frame = e.Lines;
    s.LineHeight = e.LineHeight;
    s.PenColor = int(e.PenColor);
    s.PenStyle = e.PenStyle;
    s.PenWidth = e.PenWidth;
    s.Lines = e.Lines;
    s.BrushColor = int(e.BrushColor);
    s.BrushStyle = e.BrushStyle;
    return s;
}

void TVystPrvek::Draw(Canvas& canvas, const PictureLoader& loader) const
{
    const QRectF r(Rect);
    if (Style.Kind == 11 || (Style.Kind == 2 && HasPicture)) return drawPicture(*this, canvas, r, loader);
    if (Style.isText()) return drawText(*this, canvas, r);
    if (Style.Kind == 7) return DrawLineElement(Style, canvas, r, std::lround((Style.PenWidth - 1) * canvas.scaleX()) + 1);
    if (Style.Kind >= 8 && Style.Kind <= 10) return DrawShapeElement(Style, canvas, r, shapePen(Style, canvas));
}

} // namespace reports
