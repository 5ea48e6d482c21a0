// Colour, pen, brush and font mapping of the class library onto QPainter.
#include "platform/paint/Paint.h"

#include <array>
#include <utility>

namespace paint {

QColor toQColor(ColorRef color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

ColorRef fromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return ColorRef(rgb.red()) | ColorRef(rgb.green()) << 8 | ColorRef(rgb.blue()) << 16;
}

PenStyle penStyleFromOrdinal(int ordinal)
{
    return ordinal >= 0 && ordinal <= int(PenStyle::InsideFrame) ? PenStyle(ordinal) : PenStyle::Solid;
}

BrushStyle brushStyleFromOrdinal(int ordinal)
{
    return ordinal >= 0 && ordinal <= int(BrushStyle::DiagCross) ? BrushStyle(ordinal) : BrushStyle::Solid;
}

namespace {

constexpr std::array<Qt::PenStyle, 7> penStyles = {
    Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen, Qt::SolidLine,
};
static_assert(penStyles.size() == size_t(PenStyle::InsideFrame) + 1);

// Windows hatch names: "forward" diagonal runs down to the right (\), "backward" up (/).
constexpr std::array<Qt::BrushStyle, 8> brushStyles = {
    Qt::SolidPattern, Qt::NoBrush, Qt::HorPattern, Qt::VerPattern,
    Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern,
};
static_assert(brushStyles.size() == size_t(BrushStyle::DiagCross) + 1);

} // namespace

QPen makePen(ColorRef color, double width, PenStyle style)
{
    QPen pen(toQColor(color));
    pen.setStyle(penStyles[size_t(style)]);
    pen.setWidthF(width > 0 ? width : 0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QBrush makeBrush(ColorRef color, BrushStyle style)
{
    return QBrush(toQColor(color), brushStyles[size_t(style)]);
}

QString faceName(const QString& storedName)
{
    QString name = storedName.trimmed();
    if (name.endsWith(QLatin1String(" CE"), Qt::CaseInsensitive)) name.chop(3);
    return name.trimmed();
}

QString metricSubstitute(const QString& face)
{
    static constexpr std::array<std::pair<const char*, const char*>, 3> substitutes = {{
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
    }};
    for (const auto& [name, substitute] : substitutes)
        if (face.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return QString::fromLatin1(substitute);
    return {};
}

QFont makeFont(const FontDescription& description, double deviceDpi, double logicalDpi)
{
    const QString face = faceName(description.name);
    QFont font(face);
    // An installed face wins; else the substitute comes before fontconfig's own fallback.
    if (const QString substitute = metricSubstitute(face); !substitute.isEmpty()) font.setFamilies({face, substitute});
    const double points = description.pointSize > 0 ? description.pointSize : 1;
    font.setPointSizeF(logicalDpi > 0 ? points * deviceDpi / logicalDpi : points);
    font.setBold(description.style & Bold);
    font.setItalic(description.style & Italic);
    font.setUnderline(description.style & Underline);
    font.setStrikeOut(description.style & StrikeOut);
    return font;
}

} // namespace paint
