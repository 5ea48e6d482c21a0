// The parts of the template text that the report and the designer both read and write:
// settings records, function lines, section tags and the lines kept as they were read.
#pragma once

#include "reports/expressions/UserFunctions.h"
#include "reports/model/PageSettings.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace reports {

// The character raster of text-only printers (record I,6).
struct CharacterRaster
{
    bool On = false;
    int CellWidth = 8;        // hundredths of an inch; the rounded character width while on
    int CellHeight = 8;       // the rounded line height while on
    int LineSpacing = 0;      // 1: 4 lines per inch, 2: 3 per inch, other: 6 per inch
    int Pitch = 1;            // 1: 12 characters per inch, 2: 17 per inch, other: 10 per inch
    float CharWidth = 0;      // 0 while off
    float LineHeight = 0;
    bool operator==(const CharacterRaster&) const = default;
};

// The printed flag and height of one fixed section (record I,3).
struct SectionSettings
{
    bool Printed = false;
    int Height = 0;
    bool operator==(const SectionSettings&) const = default;
};

// One group as its I,4 record holds it, in the record's order.
struct GroupSettings
{
    int Number = 0;           // written back as read; bands follow the group's position
    int Column = 0;
    bool StartPrinted = false;
    int StartHeight = 0;
    bool EndPrinted = false;
    int EndHeight = 0;
    bool NewPage = false;
    bool operator==(const GroupSettings&) const = default;
};

// Everything the I records hold.
struct TemplateSettings
{
    static constexpr int MaxGroups = 255;
    static constexpr qsizetype MaxDescription = 64;

    QString Popis;                           // I,0
    std::array<int, 3> Version{4, 0, 0};     // I,1 as read; always written as 4, 0, 0
    PageSettings Page;                       // I,2 page values
    int Columns = 1;                         // I,2 body columns and their gap
    int ColumnGap = 0;
    std::array<SectionSettings, 5> Sections{};
    std::array<bool, 4> PagingFlags{};       // PagingFlag of ReportModel.h
    std::vector<GroupSettings> Groups;       // I,4 in record order, at most MaxGroups
    int DesignerSetting = 0;                 // I,5
    CharacterRaster Raster;                  // I,6
    bool operator==(const TemplateSettings&) const = default;
};

// What one settings line changed: its record number (-1 when none was taken) and, for an
// I,3 record, the section.
struct SettingsLineRead
{
    int Record = -1;
    int Section = -1;
};

// A settings (I) or function (F) record: longer than one character, beginning with the letter.
bool IsRecordLine(const QString& line, QChar letter);
// Applies one I line to the settings. Without takesPage (a report that keeps its parent's
// page) the page values of I,2 are passed over; columns and gap are read all the same.
SettingsLineRead ReadSettingsLine(const QString& line, TemplateSettings& settings, bool takesPage);
// I,0 to I,6 in the writer's order: one I,3 per fixed section, one I,4 per group.
void WriteSettingsLines(const TemplateSettings& settings, QStringList& out);

// One F line's ten settings; a float format above 4 becomes 2.
FunctionSettings ReadFunctionLine(const QString& line);
// The F line of the function at a position.
QString FunctionLine(int index, const FunctionSettings& function);

// The tag a band's elements are written under: Z H T K P, then S<g> and U<g> for the start
// and end band of the group at position g.
QString BandTag(int band);
// The band an element line's tag names, -1 when none: H and P are none when head and foot are
// skipped; S<g> / U<g> need a group at position g, written in plain decimal.
int BandOfTag(const QString& tag, int groupCount, bool skipsHeadFoot);
// The first field of a line.
QString LineTag(const QString& line);
// A line no reader takes, written back as it was read: a D line, an I record beyond 0-6, an
// element of a band that does not exist, a line of no known kind.
bool IsKeptLine(const QString& line, int groupCount, bool skipsHeadFoot);

} // namespace reports
