// Formatted text layout: lines broken once, measured in layout units, replayed on any canvas.
#pragma once

#include "reports/model/ReportFont.h"
#include "reports/output/RtfReader.h"

#include <QRectF>
#include <QString>

#include <vector>

namespace reports {

class Canvas;
class TextMeasurer;

// Layout units: 1/72 of a hundredth of an inch (1/7200 inch). A twip is 5 units.
inline constexpr int layoutUnitsPerHundredth = 72;
// The margin left at each side of a text and the base every height adds up from.
inline constexpr int layoutMargin = 144;

// One laid-out line.
struct TRadek {
    int Sirka = 0;      // width up to the break point
    int Vyska = 0;      // height: the tallest font on the line
    int Znaku = 0;      // characters on the line
    int Odsazeni = 0;   // x offset from the paragraph's alignment
    int Spad = 0;       // descent of the tallest font: the baseline lies this far above the bottom
    bool Zalomeno = false;     // ended by wrapping
    bool PrvniRadek = false;   // first line of its paragraph
    QString Text;                        // the line's own characters (tabs as blanks)
    std::vector<int> Pozice;             // x of each character from the line start
    // Font of each character, index into TRadky::fonts; empty when every character has font 0
    // (plain texts: most lines of a report).
    std::vector<unsigned short> Fonts;

    int fontAt(int k) const { return Fonts.empty() ? 0 : Fonts[size_t(k)]; }
};

// The lines of one text and the fonts they use.
class TRadky
{
public:
    std::vector<TRadek> lines;
    std::vector<ReportFont> fonts;

    int count() const { return int(lines.size()); }
    // Hundredths of an inch: 0 for a single empty line, else (144 + sum of heights) div 72.
    int TotalHeight() const;
    // Adds line heights from `first` to a base of 144 while the sum stays within maxHeight
    // hundredths; `last` is the last line that fits (first - 1 when none), `height` the sum
    // div 72. True when every line from `first` fits.
    bool FitLines(int first, int maxHeight, int& height, int& last) const;
    // Sum of the heights of lines from..to, layout units.
    int SumHeights(int from, int to) const;
    // The line of an index; an index outside gives line 0.
    const TRadek& LineAt(int index) const;
};

// What an element's text is laid out with.
struct TextSettings {
    ReportFont font;
    int alignment = 0;     // 0 left, 1 right, 2 centre, 3 justified
    bool rtf = false;
    bool wordWrap = true;
    double charWidth = 0;    // hundredths of an inch; above 0 replaces the measured advance
    double lineHeight = 0;   // hundredths of an inch; above 0 replaces the font's height
};

// Longest text laid out, in characters (longer texts are cut there).
inline constexpr int maxLayoutText = 1 << 20;

// The measuring pass: breaks the text into lines for a rectangle `width` hundredths wide.
TRadky MeasureText(const TextMeasurer& measurer, int width, const QString& text, const TextSettings& settings);

// The drawing pass: lines first..last of a layout into `rect` (hundredths of an inch), each
// character at its recorded position, baselines at the bottoms of their lines.
void DrawLines(Canvas& canvas, const QRectF& rect, const TRadky& lines, int first, int last);

// Measures the text for the rectangle and draws the lines that fit its height.
void DrawTextBlock(Canvas& canvas, const TextMeasurer& measurer, const QRectF& rect, const QString& text,
                   const TextSettings& settings);

} // namespace reports
