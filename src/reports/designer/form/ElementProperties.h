// What the designer window's object toolbar shows of one element, and which of its pages does.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <array>

namespace reports::designer {

// Plain values of the active element, filled by the controller from the document.
struct ElementProperties {
    int kind = 0;            // element kind (ekText ... ekDetail)
    QRect rect;              // left, top, width, height in template units
    int alignment = 0;       // 0 left, 1 right, 2 centred
    // Line flags: left, top, right, bottom, rising diagonal, falling diagonal, ellipse. The
    // first four are the frame lines of textual kinds.
    std::array<bool, 7> lines{};
    int penColorIndex = 0;   // into the 16-colour table
    int penStyle = 0;        // 0 solid, 1 dashed, 2 dotted, 3 dash-dot
    int penWidth = 1;
    int brushColorIndex = 0;
    int brushStyle = 0;      // fill style, the item index of the style box
    QString pictureFile;     // as stored; the toolbar shows the name without its path
    bool stretch = false;
    bool keepAspect = false;
    bool rtf = false;        // an RTF column value
    bool justify = false;
    bool variableHeight = false;
    QString text;            // the element's text, or its hint for referencing kinds
    bool textEditable = true;
};

// Pages of the object toolbar, in the notebook's order.
enum ObjectPage : int { opPrazdny = 0, opTexty, opCary, opRamy, opObraz, opRtf };
inline constexpr std::array<const char*, 6> objectPageNames = {"Prazdny", "Texty", "Cary", "Ramy", "Obraz", "RTF"};

// The page that shows an element: a column value by its RTF flag, lines, frames (rectangle,
// rounded rectangle, ellipse), picture, nothing for a detail variant, texts for the rest.
ObjectPage objectPageOf(int kind, bool rtf);

// The names of the 16 template colours, in the colour table's order.
QStringList colorNames();

// The last component of a stored file name; both "/" and "\" separate.
QString fileNameOnly(const QString& path);

} // namespace reports::designer
