// Painting elements of the design surface through the output's canvas, and their marks.
#include "reports/designer/surface/ElementPainter.h"

#include "reports/model/ReportElement.h"
#include "reports/model/ReportTables.h"
#include "reports/output/Canvas.h"
#include "reports/output/OutputItem.h"
#include "reports/output/TextLayout.h"

#include <QPainter>

#include <algorithm>

namespace reports::designer {

namespace {

const QColor markGrey(128, 128, 128);
const QColor lightGrey(192, 192, 192);

TextSettings textSettings(const TVoReportElement& e, bool memo)
{
    TextSettings s;
    s.font = e.Font;
    s.alignment = e.Justify() && memo ? 3 : e.Alignment;
    s.rtf = memo && e.RtfText();
    s.wordWrap = e.WordWrap();
    s.charWidth = PrinterFontCharWidth(e.Font.Name, 0);
    s.lineHeight = e.LineHeight > 0 ? e.LineHeight : PrinterFontLineHeight(e.Font.Name, 0);
    return s;
}

bool showsMemo(const TVoReportElement& e)
{
    return e.Kind == ekColumn && e.HasMemo;
}

bool showsPicture(const TVoReportElement& e)
{
    return e.Kind == ekPicture || (e.Kind == ekColumn && !e.HasMemo && !e.Picture.isNull());
}

void drawGraphic(const TVoReportElement& e, Canvas& canvas, const QRectF& r, double zoom)
{
    const ItemStyle style = styleOf(e);
    if (e.Kind == ekLine) {
        const bool solid = paint::penStyleFromOrdinal(e.PenStyle) == paint::PenStyle::Solid;
        DrawLineElement(style, canvas, r, solid ? zoomedPen(e.PenWidth, zoom) : e.PenWidth);
    } else if (e.Kind >= ekRectangle && e.Kind <= ekEllipse) {
        const PenSpec pen = e.PenWidth > 0
                                ? PenSpec{paint::ColorRef(e.PenColor), double(zoomedPen(e.PenWidth, zoom)), paint::PenStyle::Solid}
                                : PenSpec{paint::ColorRef(e.PenColor), 0, paint::PenStyle::Clear};
        DrawShapeElement(style, canvas, r, pen);
    } else if (e.Kind == ekDetail) {
        canvas.drawShape(Shape::Rectangle, r, {0, 0, paint::PenStyle::Clear}, {0, paint::BrushStyle::DiagCross}, 0);
    }
}

// A 5 x 5 handle at (x, y) of the client rectangle.
void drawHandle(QPainter& painter, const QRect& pixels, int x, int y, bool filled)
{
    painter.setBrush(filled ? markGrey : QColor(Qt::white));
    painter.drawRect(pixels.x() + x, pixels.y() + y, handleSize - 1, handleSize - 1);
}

} // namespace

struct ElementPainter::Layout {
    QString text;
    int width = 0;
    bool memo = false;
    ReportFont font;
    int alignment = 0;
    int textFlags = 0;
    int lineHeight = 0;
    std::shared_ptr<const TRadky> lines;
};

ElementPainter::ElementPainter(const TextMeasurer& measurer) : m_measurer(measurer) {}

ElementPainter::~ElementPainter() = default;

void ElementPainter::retain(const std::unordered_set<ElementId>& shown)
{
    std::erase_if(m_layouts, [&](const auto& entry) { return !shown.contains(entry.first); });
}

std::shared_ptr<const TRadky> ElementPainter::layout(ElementId id, const TVoReportElement& e, const QString& shownText,
                                                     int width, bool memo)
{
    const QString& text = memo ? e.MemoText : shownText;
    std::unique_ptr<Layout>& kept = m_layouts[id];
    if (kept && kept->text == text && kept->width == width && kept->memo == memo && kept->font == e.Font
        && kept->alignment == e.Alignment && kept->textFlags == e.TextFlags && kept->lineHeight == e.LineHeight)
        return kept->lines;
    kept = std::make_unique<Layout>(Layout{text, width, memo, e.Font, e.Alignment, e.TextFlags, e.LineHeight,
                                           std::make_shared<TRadky>(MeasureText(m_measurer, width, text, textSettings(e, memo)))});
    return kept->lines;
}

void ElementPainter::draw(QPainter& painter, ElementId id, const TVoReportElement& e, const QString& text, QSize size,
                          const QRect& pixels, double zoom)
{
    if (pixels.isEmpty()) return;
    painter.save();
    painter.setClipRect(pixels, Qt::IntersectClip);
    PainterCanvas canvas(painter, pixels.topLeft(), zoom, zoom);
    const QRectF r(0, 0, size.width(), size.height());
    TVystPrvek item;
    item.Style = styleOf(e);
    item.Rect = QRect(0, 0, size.width(), size.height());
    if (showsPicture(e)) {
        item.ItemPicture = e.Picture;
        item.HasPicture = !e.Picture.isNull();
        item.Draw(canvas, {});
    } else if (item.Style.isText()) {
        const bool memo = showsMemo(e);
        if (memo) painter.fillRect(pixels, Qt::white);
        item.ItemLines = layout(id, e, text, size.width(), memo);
        int height = 0, last = 0;
        item.ItemLines->FitLines(0, size.height(), height, last);
        item.LastLine = std::clamp(last, 0, item.ItemLines->count() - 1);
        item.Draw(canvas, {});
    } else {
        drawGraphic(e, canvas, r, zoom);
    }
    painter.restore();
}

int zoomedPen(int penWidth, double zoom)
{
    return roundPixels((double(penWidth) - 1) * zoom) + 1;
}

void drawMarks(QPainter& painter, const QRect& pixels, bool inMultipleSelection, bool active)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    const int w = pixels.width(), h = pixels.height(), s = handleSize;
    if (!inMultipleSelection && !active) {
        painter.setPen(QPen(lightGrey, 0));
        painter.drawRect(pixels.adjusted(0, 0, -1, -1));
        painter.restore();
        return;
    }
    painter.setPen(QPen(markGrey, 0));
    painter.drawRect(pixels.adjusted(0, 0, -1, -1));
    const bool filled = active;
    for (const QPoint corner : {QPoint(0, 0), QPoint(w - s, 0), QPoint(0, h - s), QPoint(w - s, h - s)})
        drawHandle(painter, pixels, corner.x(), corner.y(), filled);
    if (!inMultipleSelection) {
        const int midX = (w - s) / 2, midY = (h - s) / 2;
        for (const QPoint middle : {QPoint(midX, 0), QPoint(0, midY), QPoint(w - s, midY), QPoint(midX, h - s)})
            drawHandle(painter, pixels, middle.x(), middle.y(), true);
    }
    painter.restore();
}

} // namespace reports::designer
