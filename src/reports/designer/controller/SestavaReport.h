// The designer's view of a running report (TSestavaTyp and its descendants).
#pragma once

#include "reports/designer/controller/DesignerReport.h"

namespace reports {
class TSestavaTyp;
}

namespace reports::designer {

// Adapts the report the designer edits; the report outlives it. Column widths and
// alignments come from the data set's fields where the report reads one.
class SestavaReport : public DesignerReport
{
public:
    explicit SestavaReport(TSestavaTyp& report) : m_report(report) {}

    ReportModel& Model() override;
    int ColumnCount() const override;
    QString ColumnName(int index) const override;
    QString ColumnLabel(int index) const override;
    int ColumnDisplayWidth(int index) const override;
    int ColumnAlignment(int index) const override;
    int ColumnDataType(int index) const override;
    QStringList Parameters() const override;
    QString ColumnText(int index) const override;
    double ColumnValue(int index) const override;
    QString ColumnMemo(int index) const override;
    QImage ColumnPicture(int index) const override;
    int StepData(int dir) override;
    int DataFlags() override;
    bool PrintsCurrentRecordOnly() const override;
    bool SkipsHeadFoot() const override;
    QString Popis() const override;
    QString FileName() const override;
    ReportRunValues RunValues() const override;
    int DetailCount() const override;
    QStringList Predloha() const override;
    void SetPredloha(const QStringList& lines) override;
    SaveResult Save() override;
    SaveResult SaveAs() override;
    QStringList PictureFiles() override;
    QStringList DetailPredloha(int index) const override;
    void EditDetail(int index, const WindowPlacement& placement) override;
    int Preview(const WindowPlacement& placement, int zoomPercent) override;
    int Print() override;

private:
    TSestavaTyp& m_report;
};

} // namespace reports::designer
