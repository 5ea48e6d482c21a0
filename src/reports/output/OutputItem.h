// One placed item of an output page: where it stands, what it shows and how it is drawn.
#pragma once

#include "reports/model/ReportFont.h"
#include "reports/output/TextLayout.h"

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>

namespace reports {

class Canvas;
class TVoReportElement;
struct PenSpec;

// How an item draws: a copy of its element's attributes when it was placed, so that pages
// stand on their own after the run (elements change with every record).
struct ItemStyle {
    int Kind = 1;            // element kind 1-11
    ReportFont Font;
    int Alignment = 0;       // 0 left, 1 right, 2 centre
    int TextFlags = 0;       // 8 RTF, 16 word wrap, 32 justify, 64 variable height
    int Frame = 0;           // text frame sides: 1 left, 2 top, 4 right, 8 bottom
    int LineHeight = 0;      // hundredths of an inch; 0 from the font
    int PenColor = 0;        // 0x00BBGGRR
    int PenStyle = 0;
    int PenWidth = 1;        // hundredths of an inch
    int Lines = 0;           // edges 1-8, 16 rising diagonal / stretch, 32 falling / aspect, 64 ellipse
    int BrushColor = 0xFFFFFF;
    int BrushStyle = 0;

    bool isText() const { return Kind >= 1 && Kind <= 6; }
    bool isGraphic() const { return Kind >= 7 && Kind <= 11; }
};

// The attributes an element's items draw with.
ItemStyle styleOf(const TVoReportElement& e);

// Loads a picture by name for drawing only (the report's NactiObraz).
using PictureLoader = std::function<QImage(const QString&)>;

// TVystPrvek: positions in hundredths of an inch relative to the printable area.
struct TVystPrvek {
    ItemStyle Style;
    QRect Rect;
    QString ItemText;
    // Lines of the text, broken once when the item was placed and shared by the items of a
    // text that continues over pages; FirstLine..LastLine are this item's part.
    std::shared_ptr<const TRadky> ItemLines;
    int FirstLine = 0;
    int LastLine = -1;
    bool HasMemo = false;
    QImage ItemPicture;
    QString ItemPictureName;
    bool HasPicture = false;
    int Layer = 0;

    // Draws at the page origin of the canvas.
    void Draw(Canvas& canvas, const PictureLoader& loader) const;
};

// The lines of a line element (kind 7) in `rect`, drawn inwards by half the pen, with a pen
// of `penPixels` device pixels in the element's style and colour.
void DrawLineElement(const ItemStyle& style, Canvas& canvas, const QRectF& rect, double penPixels);
// A rectangle, rounded rectangle or ellipse (kinds 8-10) in `rect` with the element's brush,
// drawn inwards by half the pen.
void DrawShapeElement(const ItemStyle& style, Canvas& canvas, const QRectF& rect, const PenSpec& pen);

} // namespace reports
