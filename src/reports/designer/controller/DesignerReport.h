// The report as the designer sees it: its columns, parameters and current record, data
// stepping, its template, saving, preview and print.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace reports {
class ReportModel;
struct WindowPlacement;
} // namespace reports

namespace reports::designer {

// How a save ended. FailedReported: the report has already told the user why. Cancelled:
// the user chose no file; nothing is said.
enum class SaveResult { Saved, Failed, FailedReported, Cancelled };

// What the run settings of the report hold (shown by the settings dialog only).
struct ReportRunValues
{
    int Copies = 1;
    int StartPage = 1;
    int EndPage = 9999;
    int MaxRecords = 0;
};

// Not owned by the designer; outlives it.
class DesignerReport
{
public:
    virtual ~DesignerReport() = default;

    // The model element lines are read against (column names, pictures, detail variant).
    virtual ReportModel& Model() = 0;

    // --- columns and parameters ---------------------------------------------------------
    virtual int ColumnCount() const = 0;
    virtual QString ColumnName(int index) const = 0;
    virtual QString ColumnLabel(int index) const = 0;
    // Display width in characters.
    virtual int ColumnDisplayWidth(int index) const = 0;
    // The field's alignment code (bit 128 may be set).
    virtual int ColumnAlignment(int index) const = 0;
    virtual int ColumnDataType(int index) const = 0;
    virtual QStringList Parameters() const = 0;

    // --- the current record -------------------------------------------------------------
    virtual QString ColumnText(int index) const = 0;
    virtual double ColumnValue(int index) const = 0;
    virtual QString ColumnMemo(int index) const = 0;
    virtual QImage ColumnPicture(int index) const = 0;
    // Moves in the data (0 first, 1 prior, 2 next, 3 last); answers srBof | srEof.
    virtual int StepData(int dir) = 0;
    // Where the data stand (srBof | srEof), without moving.
    virtual int DataFlags() = 0;
    virtual bool PrintsCurrentRecordOnly() const = 0;

    // --- the template -------------------------------------------------------------------
    virtual bool SkipsHeadFoot() const = 0;
    virtual QString Popis() const = 0;
    virtual QString FileName() const = 0;
    virtual ReportRunValues RunValues() const = 0;
    virtual int DetailCount() const = 0;
    virtual QStringList Predloha() const = 0;
    // The report parses the lines and keeps them as its template.
    virtual void SetPredloha(const QStringList& lines) = 0;
    // Saves the report's template; save-as asks for the file first.
    virtual SaveResult Save() = 0;
    virtual SaveResult SaveAs() = 0;
    // The picture files a picture element may name.
    virtual QStringList PictureFiles() = 0;

    // --- detail variants -----------------------------------------------------------------
    // The template lines of variant `index` as the report holds them (none without variants).
    virtual QStringList DetailPredloha(int /*index*/) const { return {}; }
    // Opens the variant's own designer modally; while it is open, the designer of this report
    // is its owner (DesignerController::OwnerOf).
    virtual void EditDetail(int /*index*/, const WindowPlacement& /*placement*/) {}

    // --- output of the report's template as it stands -----------------------------------
    // Runs and shows the preview, whose "Oprava předlohy" returns to the designer; 1 when it
    // closed with its end button.
    virtual int Preview(const WindowPlacement& placement, int zoomPercent) = 0;
    virtual int Print() = 0;
};

} // namespace reports::designer
