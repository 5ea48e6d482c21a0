// One element of a report section: a text, column value, label, parameter, variable, user
// function, line, rectangle, ellipse, picture or detail variant, with its place and looks.
#pragma once

#include "reports/expressions/OperandValue.h"
#include "reports/model/ReportFont.h"

#include "platform/text/DateTime.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

namespace reports {

class ReportModel;

// Element kinds as template lines store them.
enum ElementKind : int {
    ekText = 1, ekColumn = 2, ekLabel = 3, ekParameter = 4, ekVariable = 5, ekFunction = 6,
    ekLine = 7, ekRectangle = 8, ekRoundRect = 9, ekEllipse = 10, ekPicture = 11, ekDetail = 15,
};

// Variables (the reference of kind 5); 5 + 2i and 6 + 2i belong to group i.
enum Variable : int {
    varPrintDate = 0, varPrintTime = 1, varRecordNumber = 2, varPageNumber = 3, varPageCount = 4,
};

// Text flags of text kinds (the flags field without its alignment bits).
inline constexpr int tfRtf = 8;
inline constexpr int tfWordWrap = 16;
inline constexpr int tfJustify = 32;
inline constexpr int tfVariableHeight = 64;

// Lines of frames and graphic kinds.
inline constexpr int lnLeft = 1;
inline constexpr int lnTop = 2;
inline constexpr int lnRight = 4;
inline constexpr int lnBottom = 8;
inline constexpr int lnRisingOrStretch = 16;
inline constexpr int lnFallingOrAspect = 32;
inline constexpr int lnEllipse = 64;

// What reading an element line needs beyond the line and the report's columns: the
// template's version and the position of a user function named in it (-1 when none).
struct ElementLineContext
{
    std::array<int, 3> Version{4, 0, 0};
    std::function<int(const QString&)> FunctionIndex;
};

// Owned by its section; the report it belongs to outlives it.
class TVoReportElement
{
public:
    static constexpr qsizetype MaxText = 255;
    static constexpr qsizetype MaxName = 32;

    explicit TVoReportElement(ReportModel* report);

    // Sets the element from a template line; missing or malformed fields keep defaults.
    // Version and functions are those of its report.
    void LoadFromLine(const QString& line);
    void LoadFromLine(const QString& line, const ElementLineContext& context);
    // The template line of the element under a section tag; empty for kinds without one.
    QString FormatElementLine(const QString& tag) const;

    // The text the element prints for the current record.
    QString ValueText();

    // Loads the first loadable picture of a comma-separated list (operand references take
    // the current values), trying each also in the template's directory.
    void SetPictureFile(const QString& text);
    // A column's picture; a null image frees the picture.
    void SetPictureFromField(const QImage& picture);
    void SetMemoText(const QString& text);

    // A width above 1 forces the solid style; a style is taken only at width 1.
    void SetPenWidth(int width);
    void SetPenStyle(int style);

    bool RtfText() const { return TextFlags & tfRtf; }
    bool WordWrap() const { return TextFlags & tfWordWrap; }
    bool Justify() const { return TextFlags & tfJustify; }
    bool VariableHeight() const { return TextFlags & tfVariableHeight; }
    bool LeftLine() const { return Lines & lnLeft; }
    bool TopLine() const { return Lines & lnTop; }
    bool RightLine() const { return Lines & lnRight; }
    bool BottomLine() const { return Lines & lnBottom; }
    bool Stretch() const { return Lines & lnRisingOrStretch; }
    bool KeepAspect() const { return Lines & lnFallingOrAspect; }
    bool EllipseLine() const { return Lines & lnEllipse; }

    ReportModel* Report;         // not owned
    QString MemoText;            // a memo column's text for the current record
    bool HasMemo = false;
    txt::DateTime Stamp;         // creation or run start; variables 0 and 1 print it
    QString Text;                // kinds 1 and 5: text or format; kind 11: picture files
    QString RefName;             // name of the referenced column or function, if by name
    int TextFlags = 0;           // tfRtf | tfWordWrap | tfJustify | tfVariableHeight | 128
    int Lines = 0;               // lnLeft ... lnEllipse
    uint32_t PenColor = 0;
    int PenStyle = 0;            // 0 solid .. 6 inside frame
    int PenWidth = 1;
    uint32_t BrushColor = 0xFFFFFF;
    int BrushStyle = 0;          // 0 solid .. 7 diagonal cross
    QImage Picture;              // null when none
    QString PictureFile;
    int Kind = 0;
    int Reference = 0;
    int Left = 0;                // hundredths of an inch, relative to the section
    int Top = 0;
    int Width = 0;
    int Height = 0;
    ReportFont Font;
    int Alignment = 0;           // 0 left, 1 right, 2 centre
    int LineHeight = 0;          // 0: from the font
    TOperandValue Value;         // column value of the record; the counter of variables

private:
    QString variableText() const;
    void readReference(const QString& reference, const ElementLineContext& context);
    void takeTextFields(const QString& fontName, const std::array<int, 6>& fields);
    void takeGraphicFields(const std::array<int, 6>& fields);
};

} // namespace reports
