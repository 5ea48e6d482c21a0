// The designer's editor settings record and its sections EditorSestav and Oddily of SESTDLL.INI.
#pragma once

#include "reports/output/PaperFormats.h"

#include <QString>

namespace reports::designer {

// Working preferences of the designer and the defaults of newly inserted elements; one
// record for the program's lifetime, read when the designer starts.
struct NastaveniEditoru
{
    static constexpr int StartZoomStep = 6;       // the designer always starts at 100 %
    static constexpr qsizetype MaxFontName = 32;

    // Section EditorSestav.
    int ImplMeritko = StartZoomStep;  // zoom step 0..10; never written
    int RastrX = 8;                   // raster steps, hundredths of an inch
    int RastrY = 8;
    bool RastrZobrazovat = true;      // show the raster dots
    bool RastrZarovnavat = true;      // snap to the raster
    bool MazaniJedne = false;         // confirm deleting one element
    bool MazaniVice = true;           // confirm deleting several
    int PocetUndo = 10;               // undo depth
    bool UndoSave = false;            // keep the undo list after a save
    bool VybSezna = false;            // pick columns from a list
    bool SledPodle = false;           // new column elements follow the column by name
    // Section Oddily: the defaults of a new element.
    int ImplSirka = 200;
    int ImplVyska = 20;
    int ImplZarovnani = 0;            // 0 left, 1 right, 2 centre
    int ImplBarvaFontu = 0;           // index into ColorIndexTable
    int ImplVyskaFontu = 10;          // points
    QString ImplNazevFontu = QStringLiteral("Arial CE");
    int ImplStylFontu = 0;            // FontBold | FontItalic | FontUnderline | FontStrikeOut
    int ImplSkriptFontu = 1;          // charset number, kept as read
    // The designer's zoom factors, those of step ImplMeritko.
    float ZoomX = 1.0f;
    float ZoomY = 1.0f;

    // Sets the step (outside 0..10: the start step) and both factors from the zoom table.
    void setZoomStep(int step);

    bool operator==(const NastaveniEditoru&) const = default;
};

inline const QString EditorSettingsFile = ReportSettingsFile;

// Reads both sections; missing keys, values that are not numbers and a missing or unreadable
// file give the defaults, and nothing is written. A negative font size is taken as pixels
// (× −72 div 100), a size below 8 becomes 8, the font name is cut to 32 characters. The zoom
// step is the start step whatever the file holds.
NastaveniEditoru ReadEditorSettings(const QString& iniName = EditorSettingsFile);

// Writes every key of both sections except ImplMeritko, keeping every other byte of the file.
// The keys reach the file in one replace: when any step fails the old file stays whole and
// EFileError is raised.
void WriteEditorSettings(const NastaveniEditoru& settings, const QString& iniName = EditorSettingsFile);

} // namespace reports::designer
