// The template side of a report: the template text, its sections, groups, user functions
// and detail variants, the template settings, the column and parameter questions that the
// template and expressions ask, and the answers to operand requests.
#pragma once

#include "reports/expressions/OperandHost.h"
#include "reports/expressions/UserFunctions.h"
#include "reports/model/ReportSections.h"
#include "reports/model/TemplateRecords.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <array>

namespace reports {

// Field types of data columns (the class library's ordinals).
enum ColumnType : int {
    ctUnknown = 0, ctString = 1, ctSmallint = 2, ctInteger = 3, ctWord = 4, ctBoolean = 5,
    ctFloat = 6, ctCurrency = 7, ctBCD = 8, ctDate = 9, ctTime = 10, ctDateTime = 11,
    ctBlob = 15, ctMemo = 16, ctGraphic = 17, ctFmtMemo = 18, ctTypedBinary = 21,
};

// Paging flags of the fixed sections (the fourth value of their I,3 records).
enum PagingFlag : int {
    pfBreakAfterStart = 0,    // Z: a page break after the report start
    pfNoHeadOnFirst = 1,      // H: no page head on the first page
    pfPagePerRecord = 2,      // T: every record after the first starts a new page
    pfBreakBeforeEnd = 3,     // K: a page break before the report end
};

// The base of every report. The column questions answer from the report's own lists here;
// a report over a data set answers them from its fields. Not copyable: sections, elements
// and variants point back at it.
class ReportModel : public OperandRequestHandler
{
public:
    static constexpr int MaxGroups = TemplateSettings::MaxGroups;
    static constexpr qsizetype MaxDescription = TemplateSettings::MaxDescription;

    ReportModel();
    ~ReportModel() override;
    ReportModel(const ReportModel&) = delete;
    ReportModel& operator=(const ReportModel&) = delete;

    // --- template ---------------------------------------------------------------------
    // Replaces the model by the one the text describes.
    virtual void SetPredloha(const QStringList& text);
    // Discards the elements, the groups with their sections and the template text.
    void ClearTemplate();
    // Parses Predloha into the model (settings, functions, elements, detail variants).
    void ReadTemplate();
    // The whole template: settings, functions and elements from the model, then the detail
    // variant lines and any lines of no known kind as they were read.
    QStringList WriteTemplate() const;
    // The values the settings records write: the model's, the shared page and the groups.
    TemplateSettings CurrentSettings() const;

    TPolSkup& AddGroup(int number, int column, bool newPage, int endHeight, bool endPrinted,
                       int startHeight, bool startPrinted);
    void RemoveGroup(int position);
    TVoReportElement& AddElementFromLine(TOddilSestavy& section, const QString& line);

    ReportModel* ParentReport() const { return m_parent; }
    // Leaves the old parent's variant list and joins the new one's; a parent that would make
    // a cycle is refused.
    void SetParentReport(ReportModel* parent);
    bool IsDetailVariant() const { return m_parent != nullptr; }
    // The character raster of I,6 is on: text-only printers lay out on its grid.
    bool IsCharacterRaster() const { return Raster.On; }

    // --- data questions ---------------------------------------------------------------
    virtual int ColumnCount() const;
    // Position of the name among the column names, letter case ignored; -1 when absent.
    virtual int ColumnIndex(const QString& name) const;
    virtual QString ColumnName(int index) const;
    virtual QString ColumnLabel(int index) const;
    virtual QString ColumnText(int index) const;
    virtual double ColumnValue(int index) const;
    virtual int ColumnDataType(int index) const;
    virtual QString ColumnMemo(int index) const;
    virtual QImage ColumnPicture(int index) const;
    void ColumnValueRecord(int index, TOperandValue& value) const;
    // Takes the column names; the values become the placeholders "Položka n".
    virtual void SetColumns(const QStringList& names);
    // Loads a picture file; the parent's answer for a detail variant.
    virtual bool NactiObraz(const QString& name, QImage& picture);
    // The template file's full name; empty here.
    virtual QString GetFileName() const;

    // Operand requests of expressions (codes of OperandMessage). Never raises.
    void MessageValueRequest(OperandMessage& message) override;

    // --- the model --------------------------------------------------------------------
    QStringList Predloha;
    QStringList Parametry;          // parameter i is line i
    QStringList ColumnNames;
    QStringList ColumnLabels;
    QStringList ColumnValues;
    TListOddilu Sections;
    TListFunkci Funkce;
    TListSkupin Groups;
    TListDetailu Details;
    std::array<int, 3> Version{4, 0, 0};
    int Columns = 1;
    int ColumnGap = 0;
    std::array<bool, 4> PagingFlags{};   // PagingFlag
    QString Popis;
    int DesignerSetting = 0;             // record I,5, kept and written back
    CharacterRaster Raster;

private:
    void readSettings();
    void readFunctions();
    void readSections();
    void readDetailVariants();
    TOddilSestavy* sectionOfBand(int band) const;
    void takeSettings(const TemplateSettings& settings);
    void writeFunctions(QStringList& out) const;
    void writeElements(QStringList& out) const;

    ReportModel* m_parent = nullptr;
};

} // namespace reports
