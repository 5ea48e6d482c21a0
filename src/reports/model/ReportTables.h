// Tables and small routines shared by templates, output, preview and designer: colours,
// character sets, zoom steps, text-printer fonts, rounding and the picture rectangle.
#pragma once

#include "reports/model/ReportFont.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

namespace reports {

// The 16 colours templates store by index, as 0x00BBGGRR.
inline constexpr std::array<uint32_t, 16> ColorIndexTable = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
// Index of a colour in the table, 0 (black) when it is not there.
int ColorIndex(uint32_t color);
// Colour of an index; an index outside 0..15 gives black.
uint32_t ColorByIndex(int index);

// The 8 Windows character sets templates may name: ANSI, Greek, Turkish, Baltic, East
// European, Russian, Symbol, default.
inline constexpr std::array<int, 8> CharsetTable = {0, 161, 162, 186, 238, 204, 2, 1};
// Index of a set in the table, 7 when it is not there.
int CharsetIndex(int charset);
// Set of an index, 1 (default) for an index outside the table.
int CharsetByIndex(int index);

// Zoom factors of the preview and the designer, index 0..10.
inline constexpr std::array<float, 11> ZoomSteps = {
    0.32f, 0.4f, 0.5f, 0.64f, 0.75f, 0.83f, 1.0f, 1.2f, 1.5f, 2.0f, 3.0f};
// The step nearest to percent / 100; a tie goes up. 83 gives 5, 100 gives 6.
int ZoomStepForPercent(int percent);

// Text-printer fonts "Roman 10cpi", "Roman 12cpi", "Roman 17cpi": fixed grids of 10, 12 or
// 17 characters per inch at six lines per inch.
bool IsPrinterFont(QStringView name);
// Points: 12 cpi 10, 17 cpi 8, any other 11; other fonts keep `size`.
int PrinterFontSize(QStringView name, int size);
// Hundredths of an inch per character (100 / cpi); `defaultWidth` for other fonts.
float PrinterFontCharWidth(QStringView name, float defaultWidth);
// Hundredths of an inch per line (six lines per inch); `defaultHeight` for other fonts.
float PrinterFontLineHeight(QStringView name, float defaultHeight);
// A text-printer font becomes the fixed-pitch screen font of its size; others stay.
void MapPrinterFont(ReportFont& font);

// A·B and A/B on single-precision operands, to the nearest integer with halves to even.
// A result that is not finite (B = 0) gives 0; one beyond 32 bits is clamped.
int ScaleRound(float a, float b);
int DivRound(float a, float b);
int CompareInt(int a, int b);
// The multiple of step nearest to value; a step of 0 leaves value.
int RoundToRaster(double value, double step);

// Rectangle edges in device units; right and bottom are exclusive.
struct PictureBox
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const PictureBox&) const = default;
};
// Where a picture of width x height is drawn into rect: unstretched at its size times the
// factors and placed by align (1 right, 2 centred, otherwise left); stretched keeping the
// aspect ratio, shrunk along one side (width placed by align, height from the top);
// stretched otherwise, the whole rectangle.
PictureBox PictureRect(PictureBox rect, bool stretch, float factorX, float factorY,
                       bool keepAspect, int align, int pictureWidth, int pictureHeight);

} // namespace reports
