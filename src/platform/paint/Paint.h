// The class library's colours, pens, brushes and fonts mapped onto QPainter in one place.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>

#include <cstdint>

namespace paint {

// A colour value of the class library: 0x00BBGGRR. System colours (high byte set) are not
// used by the report and graphics code; their low bytes are taken as they stand.
using ColorRef = uint32_t;

QColor toQColor(ColorRef color);
ColorRef fromQColor(const QColor& color);

// Pen styles of the class library, in their ordinal order.
enum class PenStyle { Solid = 0, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };
// Brush styles of the class library, in their ordinal order.
enum class BrushStyle { Solid = 0, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };

// An ordinal out of range is taken as solid.
PenStyle penStyleFromOrdinal(int ordinal);
BrushStyle brushStyleFromOrdinal(int ordinal);

// A pen of a device width in pixels (0 or less draws the thinnest line). Inside-frame pens draw
// solid; the caller shrinks the figure by half the width, as the class library did.
QPen makePen(ColorRef color, double width, PenStyle style);
// Hatched brushes draw their lines in the colour on a transparent background.
QBrush makeBrush(ColorRef color, BrushStyle style);

// Font style bits of templates and settings.
enum FontStyleBit : int { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

// A font as the class library described it: face name, size in points, style bits, colour.
struct FontDescription {
    QString name;
    double pointSize = 10;
    int style = 0;
    ColorRef color = 0;
    int charset = 1;

    bool operator==(const FontDescription&) const = default;
};

// The installed face for a stored name: the " CE" suffix of the old central-European font
// variants is dropped ("Arial CE" is "Arial"); the same face holds those letters today.
QString faceName(const QString& storedName);
// The face with the same glyph widths that stands in when `face` itself is not installed
// (Arial: Liberation Sans, Times New Roman: Liberation Serif, Courier New: Liberation Mono), so
// text takes the width it was laid out for; empty for other faces.
QString metricSubstitute(const QString& face);

// A QFont for the font description (its face, then the face's metric substitute), to draw on a device of `deviceDpi` dots per inch whose painter reads
// point sizes at `logicalDpi`: the point size is rescaled so the text comes out as tall as
// the description's points say.
QFont makeFont(const FontDescription& description, double deviceDpi, double logicalDpi);

} // namespace paint
