// Small vocabulary the designer's document, surface and windows share: element ids, band
// indexes, tool codes and the kind each tool inserts.
#pragma once

#include <QChar>
#include <QString>

#include <cstdint>

namespace reports::designer {

// Identity of one element of the designed template; never changed and never reused while
// the designer is open (undo restores an element under its old id).
using ElementId = std::uint64_t;
inline constexpr ElementId NoElement = 0;

// Band indexes: the five fixed sections, then a start and an end band per group.
enum BandIndex : int {
    biReportStart = 0, biPageHead = 1, biBody = 2, biReportEnd = 3, biPageFoot = 4,
    biFirstGroup = 5,
};
inline constexpr int groupStartBand(int group) { return biFirstGroup + 2 * group; }
inline constexpr int groupEndBand(int group) { return biFirstGroup + 1 + 2 * group; }
// The group of a group band (index 5 or more), -1 for a fixed section.
inline constexpr int groupOfBand(int band) { return band >= biFirstGroup ? (band - biFirstGroup) / 2 : -1; }

// Section letter of a new element's line: "ZHTKPSU" by band for bands 0 to 6; above, an odd
// index is a group start ("S") and an even one a group end ("U").
QChar sectionLetter(int band);

// Commands the design surface sends the designer, numbered as the designer's message
// dispatch numbers them (band clicks are scBandClick + band index).
enum SurfaceCommand : int {
    scShowPosition = 1, scShowSize = 2, scPressArrow = 4, scSelectOnly = 5, scActiveElement = 6,
    scRemoveFromSelection = 7, scAddToSelection = 8, scMoveSelected = 9, scRecordChange = 10,
    scBandDoubleClick = 11, scElementDoubleClick = 12, scShowCoordinates = 13,
    scBandHeight = 14, scActiveTool = 16, scSelectedCount = 17, scSave = 19, scBandClick = 128,
    scLastBandClick = 2127,
};

// Tools: 0 the arrow, 1 to 6 the graphic kinds, then one range of 2000 per referencing kind.
enum ToolCode : int {
    tcArrow = 0, tcText = 1, tcLines = 2, tcRectangle = 3, tcRoundRect = 4, tcEllipse = 5,
    tcPicture = 6, tcColumn = 2000, tcLabel = 4000, tcParameter = 6000, tcVariable = 8000,
    tcFunction = 10000, tcDetail = 12000, tcEnd = 14000,
};

// The element kind and reference a tool inserts; kind 0 for the arrow and unknown codes.
struct ToolElement {
    int kind = 0;
    int reference = 0;
};
ToolElement toolElement(int toolCode);
// The tool that inserts an element of the kind and reference; 0 for kinds without a tool.
int toolCodeOf(int kind, int reference);
// The name of a kind ("Text", "Položka tabulky", ...), "Neznámý" for any other.
QString kindName(int kind);

} // namespace reports::designer
