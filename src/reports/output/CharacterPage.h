// The character grid of a report page for text-only printers, and its lines in a code page.
#pragma once

#include "reports/output/CodePages.h"

#include <QByteArray>
#include <QRect>
#include <QString>

#include <array>
#include <vector>

namespace reports {

class Canvas;

// One row of the grid: 24 texts, numbered pitch * 8 + style (pitch 0 = 10, 1 = 12, 2 = 17
// characters per inch; style bits 1 bold, 2 italic, 4 underline). Each slot holds the
// characters placed at that pitch and style, padded with blanks.
struct TZnakovyRadek {
    std::array<QString, 24> texts;
};

// A page laid out on a character grid. Positions come in hundredths of an inch.
class TZnakovePole
{
public:
    // A text whose end column reaches this is dropped.
    static constexpr int maxColumns = 256;

    // Lines per inch of a line spacing code: 1 four, 2 three, any other six.
    static int linesPerInch(int radkovani);
    // Characters per inch of a pitch (0, 1, 2).
    static int charsPerInch(int pitch);
    // Pitch of a font size in points: below 9 pitch 2, below 11 pitch 1, else 0.
    static int pitchOfSize(double points);
    // Grid row of a y position (halves to even) and column of an x position or width.
    int rowOf(double y) const;
    static int columnOf(double x, int pitch);

    // Empties the grid and makes VyskaStrany * lines per inch / 100 rows (bounded).
    void Priprav(int vyskaStrany, int radkovani);
    void VymazTexty();
    int rowCount() const { return int(m_rows.size()); }
    const TZnakovyRadek& row(int i) const { return m_rows.at(size_t(i)); }

    // Places one text line: row of Rect.Top plus RowOffset rows, columns from Rect.Left over
    // the width, at the pitch of FontSize, aligned 0 left, 1 right, 2 centre. A text whose
    // end column lies outside 0..255 or whose row is outside the page is dropped; columns
    // left of the page edge are cut off.
    void VlozText(const QRect& rect, const QString& text, int align, int style, double fontSize, int rowOffset);

    // The page as bytes: one line per row ending CR LF, each the first non-empty pitch of the
    // row with every style slot of that pitch laid over the others (bold text kept), encoded
    // to windows-1250 and then converted to the language's code page (none for slUndefined).
    QByteArray ZapisStranu(TSestLanguage language) const;
    // The page for a printer: the lines of ZapisStranu up to the last row that holds a
    // character, then a form feed, so the next page starts on a new sheet whatever form
    // length the printer is set to.
    QByteArray printerPage(TSestLanguage language) const;

    // Draws the grid (preview): each slot in its text-printer font, bold for odd styles.
    void Kresli(Canvas& canvas) const;

private:
    std::vector<TZnakovyRadek> m_rows;
    int m_vyskaStrany = 0;
    int m_radkovani = 0;
};

} // namespace reports
