// The designer's questions answered by the report it edits.
#include "reports/designer/controller/SestavaReport.h"

#include "reports/component/Sestava.h"
#include "reports/engine/ReportRun.h"
#include "reports/engine/ReportWindows.h"

namespace reports::designer {
namespace {

constexpr int defaultDisplayWidth = 10;

} // namespace

ReportModel& SestavaReport::Model() { return m_report; }
int SestavaReport::ColumnCount() const { return m_report.ColumnCount(); }
QString SestavaReport::ColumnName(int index) const { return m_report.ColumnName(index); }
QString SestavaReport::ColumnLabel(int index) const { return m_report.ColumnLabel(index); }

int SestavaReport::ColumnDisplayWidth(int index) const
{
    const auto* data = dynamic_cast<const TSestavaD*>(&m_report);
    return data ? data->ColumnWidth(index) : defaultDisplayWidth;
}

int SestavaReport::ColumnAlignment(int index) const
{
    const auto* data = dynamic_cast<const TSestavaD*>(&m_report);
    return data ? data->ColumnAlignment(index) : 0;
}

int SestavaReport::ColumnDataType(int index) const { return m_report.ColumnDataType(index); }
QStringList SestavaReport::Parameters() const { return m_report.Parametry; }
QString SestavaReport::ColumnText(int index) const { return m_report.ColumnText(index); }
double SestavaReport::ColumnValue(int index) const { return m_report.ColumnValue(index); }
QString SestavaReport::ColumnMemo(int index) const { return m_report.ColumnMemo(index); }
QImage SestavaReport::ColumnPicture(int index) const { return m_report.ColumnPicture(index); }
int SestavaReport::StepData(int dir) { return m_report.StepData(dir); }
int SestavaReport::DataFlags() { return m_report.DataFlags(); }
bool SestavaReport::PrintsCurrentRecordOnly() const { return m_report.TiskJedenZaznam; }
bool SestavaReport::SkipsHeadFoot() const { return m_report.IsDetailVariant(); }
QString SestavaReport::Popis() const { return m_report.Popis; }
QString SestavaReport::FileName() const { return m_report.GetFileName(); }

ReportRunValues SestavaReport::RunValues() const
{
    return {m_report.PrintCopies, m_report.StartPage, m_report.EndPage, m_report.MaxRecords};
}

int SestavaReport::DetailCount() const { return m_report.Details.Count(); }
QStringList SestavaReport::Predloha() const { return m_report.Predloha; }
void SestavaReport::SetPredloha(const QStringList& lines) { m_report.SetPredloha(lines); }

// The component tells the user itself when its own file cannot be written; an event handler
// that refuses, or a report without a file, leaves the message to the designer.
SaveResult SestavaReport::Save()
{
    auto* component = dynamic_cast<TSestava*>(&m_report);
    if (!component)
        return SaveResult::Failed;
    const bool reports = !component->OnUlozPredlohu && !component->IsStored;
    if (component->UlozPredlohu())
        return SaveResult::Saved;
    return reports ? SaveResult::FailedReported : SaveResult::Failed;
}

namespace {

// The file chooser's answer for one save-as: an empty one was a cancel.
class ChooserWatch : public ReportWindows
{
public:
    explicit ChooserWatch(ReportWindows& windows) : m_windows(windows) { setReportWindows(this); }
    ~ChooserWatch() override { setReportWindows(&m_windows); }
    ChooserWatch(const ChooserWatch&) = delete;
    ChooserWatch& operator=(const ChooserWatch&) = delete;

    int showPreview(TSestavaTyp& report, ReportRun* run, const WindowPlacement& placement, int zoomStep) override
    {
        return m_windows.showPreview(report, run, placement, zoomStep);
    }
    int showDesigner(TSestavaTyp& report, const WindowPlacement& placement) override
    {
        return m_windows.showDesigner(report, placement);
    }
    std::unique_ptr<RunProgress> createProgress(TSestavaTyp& report) override { return m_windows.createProgress(report); }
    QString chooseTemplateFile(const QString& startDirectory) override
    {
        const QString chosen = m_windows.chooseTemplateFile(startDirectory);
        m_cancelled = chosen.isEmpty();
        return chosen;
    }
    bool cancelled() const { return m_cancelled; }

private:
    ReportWindows& m_windows;
    bool m_cancelled = false;
};

} // namespace

SaveResult SestavaReport::SaveAs()
{
    auto* component = dynamic_cast<TSestava*>(&m_report);
    if (!component)
        return SaveResult::Failed;
    if (component->OnUlozPredlohuJako)
        return component->UlozPredlohuJako() ? SaveResult::Saved : SaveResult::Failed;
    // without windows no file can be chosen
    if (!reportWindows())
        return SaveResult::Cancelled;
    const ChooserWatch watch(*reportWindows());
    if (component->UlozPredlohuJako())
        return SaveResult::Saved;
    // a file was chosen and its write failed: the component said so
    return watch.cancelled() ? SaveResult::Cancelled : SaveResult::FailedReported;
}

QStringList SestavaReport::DetailPredloha(int index) const
{
    const ReportModel* variant = m_report.Details.VariantAt(index);
    return variant ? variant->Predloha : QStringList();
}

void SestavaReport::EditDetail(int index, const WindowPlacement& placement)
{
    if (auto* variant = dynamic_cast<TSestavaTyp*>(m_report.Details.VariantAt(index)))
        variant->EditModal(placement.owner);
}

QStringList SestavaReport::PictureFiles() { return m_report.NactiSeznamObrazu(); }

int SestavaReport::Preview(const WindowPlacement& placement, int zoomPercent)
{
    const std::unique_ptr<ReportRun> run = m_report.StartRun();
    run->runToPage(m_report.StartPage);
    WindowPlacement designers = placement;
    designers.isEditEnabled = true;
    return m_report.ShowPreview(designers, zoomPercent, run.get());
}

int SestavaReport::Print()
{
    const int status = m_report.RunReport();
    return status != 0 ? status : m_report.Print();
}

} // namespace reports::designer
