// The report at run time.
#include "reports/engine/SestavaTyp.h"

#include "platform/files/Files.h"
#include "platform/paint/PictureLoader.h"
#include "platform/ui/Services.h"
#include "reports/engine/ReportRun.h"
#include "reports/model/ReportTables.h"
#include "reports/model/ReportTexts.h"
#include "reports/output/Printer.h"
#include "reports/output/TextMeasurer.h"

namespace reports {

TSestavaTyp::TSestavaTyp()
{
    Formaty.BuildPaperFormats(ReportSettingsFile);
    Output.setPictureLoader([this](const QString& name) {
        QImage picture;
        return NactiObraz(name, picture) ? picture : QImage();
    });
}

TSestavaTyp::~TSestavaTyp()
{
    ReleaseOperandHost(this);
}

int TSestavaTyp::StepData(int)
{
    GetData();
    return srBof | srEof;
}

void TSestavaTyp::DoTiskOddilu(const TOddilSestavy&, bool&) {}

void TSestavaTyp::DoTiskPrvku(const TVoReportElement&, bool&) {}

const TextMeasurer& TSestavaTyp::measurer() const
{
    if (m_measurer) return *m_measurer;
    if (!m_ownMeasurer) m_ownMeasurer = std::make_unique<FontMetricsMeasurer>();
    return *m_ownMeasurer;
}

bool TSestavaTyp::NactiObraz(const QString& name, QImage& picture)
{
    if (ParentReport()) return ReportModel::NactiObraz(name, picture);
    if (!files::fileExists(files::resolvePath(name))) return false;
    picture = paint::loadPicture(name);
    return true;
}

QStringList TSestavaTyp::NactiSeznamObrazu()
{
    if (auto* parent = dynamic_cast<TSestavaTyp*>(ParentReport())) return parent->NactiSeznamObrazu();
    // The graphic file masks of the class library's picture class, and the two decoded here.
    static const char* const masks[] = {"*.bmp", "*.ico", "*.wmf", "*.emf", "*.jpg", "*.jpeg", "*.gif"};
    const QString directory = files::extractFilePath(GetFileName());
    QStringList names;
    for (const char* mask : masks) names += files::findFiles(directory + QLatin1String(mask));
    names.removeDuplicates();
    return names;
}

int TSestavaTyp::RunReport(bool topLevel)
{
    m_clipped = false;
    return ReportRun(*this, topLevel).run();
}

std::unique_ptr<ReportRun> TSestavaTyp::StartRun()
{
    m_clipped = false;
    auto run = std::make_unique<ReportRun>(*this, true);
    run->begin();
    return run;
}

int TSestavaTyp::RunDetail(ReportRun& parentRun)
{
    return ReportRun(*this, parentRun).run();
}

namespace {

// The abort flag of a progress window, or none.
TSestVystup::AbortFlag abortOf(const std::unique_ptr<RunProgress>& progress)
{
    if (!progress) return {};
    RunProgress* p = progress.get();
    return [p] { return p->aborted(); };
}

std::unique_ptr<RunProgress> openProgress(TSestavaTyp& report)
{
    return reportWindows() ? reportWindows()->createProgress(report) : nullptr;
}

} // namespace

void TSestavaTyp::LoadBackground()
{
    BackgroundPicture = QImage();
    if (Background.isEmpty()) return;
    QImage picture;
    if (NactiObraz(Background, picture)) BackgroundPicture = picture;
}

int TSestavaTyp::PreviewEx(const WindowPlacement& placement, int zoomPercent)
{
    return ShowPreview(placement, zoomPercent, nullptr);
}

int TSestavaTyp::ShowPreview(const WindowPlacement& placement, int zoomPercent, ReportRun* run)
{
    LoadBackground();
    // An unfinished run sets the range when it ends.
    if (!run || run->isFinished()) Output.SetRange(StartPage, EndPage, PrintCopies);
    Output.SetBackground(BackgroundPicture, PrintBackground);
    const int result = reportWindows() ? reportWindows()->showPreview(*this, run, placement, ZoomStepForPercent(zoomPercent)) : 0;
    // A window that left the run unfinished closed over it.
    if (run && !run->isFinished()) run->stop();
    return result == 1 ? 1 : 0;
}

int TSestavaTyp::Print()
{
    if (!printerSystem() || printerSystem()->printerNames().isEmpty()) {
        ui::services().messageBox(reportText(65151), QString(), ui::MsgType::Error, ui::Ok);
        return 2;
    }
    return PrintOn(-1);
}

int TSestavaTyp::PrintEx(int index, const QString& port)
{
    const std::unique_ptr<Printer> printer = printerSystem() ? printerSystem()->open(index, port) : nullptr;
    if (!printer) {
        ui::services().messageBox(reportText(65151), QString(), ui::MsgType::Error, ui::Ok);
        return 2;
    }
    if (PrintBackground) LoadBackground();
    Output.SetRange(StartPage, EndPage, PrintCopies);
    Output.SetBackground(BackgroundPicture, PrintBackground);
    return printOn(*printer, Output.firstPage(), Output.lastPage(), PrintCopies, Popis);
}

int TSestavaTyp::PrintPages(int index, const QString& port, int first, int last, int copies, const QString& title)
{
    const std::unique_ptr<Printer> printer = printerSystem() ? printerSystem()->open(index, port) : nullptr;
    if (!printer) {
        ui::services().messageBox(reportText(65151), QString(), ui::MsgType::Error, ui::Ok);
        return 2;
    }
    return printOn(*printer, first, last, copies, title);
}

int TSestavaTyp::printOn(Printer& printer, int first, int last, int copies, const QString& title)
{
    const std::unique_ptr<RunProgress> progress = openProgress(*this);
    if (progress) progress->setSending();
    Output.setLineSpacing(Raster.LineSpacing);
    const TSestVystup::AbortFlag abort = abortOf(progress);
    const bool printed = printer.isTextOnly()
        ? Output.PrintCharacter(printer, first, last, abort, title, copies, ExportLanguage)
        : Output.PrintGraphic(printer, first, last, abort, title, copies);
    if (abort && abort()) return 3;
    if (printed) return 0;
    // A queue that refused the job, a missing print command, a painter that would not begin.
    ui::services().messageBox(QStringLiteral("Tiskárna \"%1\" tiskovou úlohu nepřijala.").arg(printer.name()), QString(),
                              ui::MsgType::Error, ui::Ok);
    return 6;
}

int TSestavaTyp::PrintCharacterPages(const QString& destination)
{
    const std::unique_ptr<RunProgress> progress = openProgress(*this);
    Output.SetRange(StartPage, EndPage, PrintCopies);
    Output.setLineSpacing(Raster.LineSpacing);
    const TSestVystup::AbortFlag abort = abortOf(progress);
    Output.WriteCharacter(destination, Output.firstPage(), Output.lastPage(), abort, PrintCopies, ExportLanguage);
    return abort && abort() ? 3 : 0;
}

int TSestavaTyp::EditEx(const WindowPlacement& placement)
{
    LoadBackground();
    const int result = showDesigner(placement);
    return result == 1 ? 0 : 3;
}

int TSestavaTyp::EditModal(QWidget* owner)
{
    WindowPlacement placement;
    placement.owner = owner;
    const int result = showDesigner(placement);
    return result == 1 ? 0 : result <= 0 ? 6 : 3;
}

int TSestavaTyp::showDesigner(const WindowPlacement& placement)
{
    const int result = reportWindows() ? reportWindows()->showDesigner(*this, placement) : 0;
    if (result < 0) ui::services().messageBox(reportText(65150), QString(), ui::MsgType::Error, ui::Ok);
    SetOperandHost(this);
    return result;
}

} // namespace reports
