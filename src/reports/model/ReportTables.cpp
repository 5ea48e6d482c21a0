// Tables and small routines shared by the report generator.
#include "reports/model/ReportTables.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace reports {
namespace {

const QString printerFontPrefix = QStringLiteral("Roman ");

// The characters per inch of a text-printer font name: the two characters after "Roman ",
// 10 when they are not a number.
int printerFontCpi(QStringView name)
{
    const QStringView digits = name.mid(printerFontPrefix.size(), 2);
    bool ok = false;
    const int cpi = digits.toInt(&ok);
    return ok && cpi > 0 ? cpi : 10;
}

int roundClamped(double v)
{
    if (!std::isfinite(v))
        return 0;
    v = std::nearbyint(v);   // the default rounding mode: halves to even
    if (v >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(v);
}

// Zoom steps in hundredths, so that midpoints compare exactly.
constexpr std::array<int, 11> zoomPercents = {32, 40, 50, 64, 75, 83, 100, 120, 150, 200, 300};

} // namespace

int ColorIndex(uint32_t color)
{
    const auto it = std::find(ColorIndexTable.begin(), ColorIndexTable.end(), color);
    return it == ColorIndexTable.end() ? 0 : int(it - ColorIndexTable.begin());
}

uint32_t ColorByIndex(int index)
{
    return index >= 0 && index < int(ColorIndexTable.size()) ? ColorIndexTable[index] : 0;
}

int CharsetIndex(int charset)
{
    const auto it = std::find(CharsetTable.begin(), CharsetTable.end(), charset);
    return it == CharsetTable.end() ? 7 : int(it - CharsetTable.begin());
}

int CharsetByIndex(int index)
{
    return index >= 0 && index < int(CharsetTable.size()) ? CharsetTable[index] : 1;
}

int ZoomStepForPercent(int percent)
{
    const int64_t twice = int64_t(percent) * 2;   // percent / 50 in hundredths
    int i = 0;
    while (i < 10 && twice >= zoomPercents[i] + zoomPercents[i + 1])
        ++i;
    return i;
}

bool IsPrinterFont(QStringView name)
{
    return name.startsWith(printerFontPrefix);
}

int PrinterFontSize(QStringView name, int size)
{
    if (!IsPrinterFont(name))
        return size;
    switch (printerFontCpi(name)) {
    case 12: return 10;
    case 17: return 8;
    default: return 11;
    }
}

float PrinterFontCharWidth(QStringView name, float defaultWidth)
{
    return IsPrinterFont(name) ? 100.0f / float(printerFontCpi(name)) : defaultWidth;
}

float PrinterFontLineHeight(QStringView name, float defaultHeight)
{
    return IsPrinterFont(name) ? 16.666666f : defaultHeight;
}

void MapPrinterFont(ReportFont& font)
{
    if (!IsPrinterFont(font.Name))
        return;
    font.Size = PrinterFontSize(font.Name, font.Size);
    font.Name = QStringLiteral("Courier New CE");
    font.FixedPitch = true;
}

int ScaleRound(float a, float b)
{
    // In double: the single-precision product of 50 and 0.83 is 41.5 and would round up.
    return roundClamped(double(a) * double(b));
}

int DivRound(float a, float b)
{
    return roundClamped(double(a / b));
}

int CompareInt(int a, int b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

int RoundToRaster(double value, double step)
{
    if (step == 0 || !std::isfinite(step))
        return roundClamped(value);
    return roundClamped(double(roundClamped(value / step)) * step);
}

PictureBox PictureRect(PictureBox rect, bool stretch, float factorX, float factorY,
                       bool keepAspect, int align, int pictureWidth, int pictureHeight)
{
    const int w = ScaleRound(float(pictureWidth), factorX);
    const int h = ScaleRound(float(pictureHeight), factorY);
    const auto placeWidth = [&](int width) {
        if (align == 1) {
            rect.Left = rect.Right - width;
        } else if (align == 2) {
            rect.Left = int((int64_t(rect.Left) + rect.Right - width) / 2);
            rect.Right = rect.Left + width;
        } else {
            rect.Right = rect.Left + width;
        }
    };
    if (!stretch) {
        rect.Bottom = rect.Top + h;
        placeWidth(w);
        return rect;
    }
    const int64_t rw = int64_t(rect.Right) - rect.Left;
    const int64_t rh = int64_t(rect.Bottom) - rect.Top;
    if (!keepAspect || rw == 0 || rh == 0 || w == 0 || h == 0)
        return rect;
    if (double(w) / double(rw) < double(h) / double(rh))
        placeWidth(int(rh * w / h));
    else
        rect.Bottom = int(rect.Top + rw * h / w);
    return rect;
}

} // namespace reports
