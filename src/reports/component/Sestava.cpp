// The report component: template file, events and operations.
#include "reports/component/Sestava.h"

#include "platform/Exceptions.h"
#include "platform/db/DataSet.h"
#include "platform/db/sql/Aliases.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "reports/engine/ReportRun.h"
#include "reports/model/ReportTexts.h"
#include "reports/model/TemplateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace reports {

namespace {

// No template comes near this; a larger file is not one.
constexpr qint64 maxTemplateBytes = 16LL * 1024 * 1024;

QString withPlaceholder(int textId, const QString& value)
{
    QString text = reportText(textId);
    return text.replace(QLatin1String("%s"), value);
}

// The lines of an existing template file; nullopt, after saying why, when it cannot be read
// (a directory, a device, an I/O error) or is not a template. The file is only read.
std::optional<QStringList> readTemplateFile(const QString& path, const QString& name)
{
    const auto fail = [&name](const QString& text) {
        ui::services().messageBox(text.arg(name), QString(), ui::MsgType::Error, ui::Ok);
        return std::nullopt;
    };
    QFile file(path);
    if (!files::fileExists(path) || !file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Soubor s předlohou \"%1\" nelze přečíst."));
    const QByteArray bytes = file.read(maxTemplateBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("Soubor s předlohou \"%1\" nelze přečíst."));
    if (bytes.size() > maxTemplateBytes || !IsTemplateText(bytes))
        return fail(QStringLiteral("Soubor \"%1\" není předloha tiskové sestavy."));
    return TemplateLinesFromBytes(bytes);
}

// Keeps the data set's position and controls over an operation (steps 3 and 5).
class DataSetCare
{
public:
    DataSetCare(db::DataSet* set, bool disableControls, bool closeAfter)
        : m_set(set && set->Active() ? set : nullptr), m_disable(disableControls), m_close(closeAfter)
    {
        if (!m_set) return;
        m_bookmark = m_set->GetBookmark();
        if (m_disable) m_set->DisableControls();
    }
    ~DataSetCare()
    {
        if (!m_set) return;
        try {
            if (m_set->BookmarkValid(m_bookmark)) m_set->GotoBookmark(m_bookmark);
            if (m_disable) m_set->EnableControls();
            if (m_close) m_set->Close();
        } catch (const Exception&) {
        }
    }
    DataSetCare(const DataSetCare&) = delete;
    DataSetCare& operator=(const DataSetCare&) = delete;

private:
    db::DataSet* m_set;
    db::Bookmark m_bookmark;
    bool m_disable;
    bool m_close;
};

} // namespace

TSestava::TSestava() = default;
TSestava::~TSestava() = default;

void TSestava::SetReportName(const QString& name)
{
    m_reportName = name.isEmpty() ? name : files::changeFileExt(name, u".pts");
}

void TSestava::SetReportAlias(const QString& alias)
{
    m_reportAlias = alias;
    if (!alias.isEmpty()) m_reportDir.clear();
}

void TSestava::SetReportDir(const QString& dir)
{
    m_reportDir = dir.isEmpty() ? dir : files::includeTrailingBackslash(dir);
    if (!dir.isEmpty()) m_reportAlias.clear();
}

QString TSestava::ResolveFileName() const
{
    if (!m_reportAlias.isEmpty()) {
        QString path;
        try {
            path = db::Aliases::aliasPath(m_reportAlias);
        } catch (const Exception& e) {
            ui::services().messageBox(withPlaceholder(65147, e.message()), QString(), ui::MsgType::Error, ui::Ok);
        }
        if (!path.isEmpty()) return files::includeTrailingBackslash(path) + m_reportName;
        ui::services().messageBox(withPlaceholder(65148, m_reportAlias), QString(), ui::MsgType::Warning, ui::Ok);
    }
    if (ReportDirIgnore) return files::includeTrailingBackslash(files::programDirectory()) + m_reportName;
    return m_reportDir + m_reportName;
}

void TSestava::SetPredloha(const QStringList& text)
{
    TSestavaD::SetPredloha(text);
    if (OnSetPredloha) OnSetPredloha(*this);
}

bool TSestava::NactiObraz(const QString& name, QImage& picture)
{
    return OnNactiObraz ? OnNactiObraz(*this, name, picture) : TSestavaD::NactiObraz(name, picture);
}

QStringList TSestava::NactiSeznamObrazu()
{
    if (!OnNactiSeznamObrazu) return TSestavaD::NactiSeznamObrazu();
    QStringList items;
    OnNactiSeznamObrazu(*this, items);
    return items;
}

void TSestava::DoTiskOddilu(const TOddilSestavy& section, bool& print)
{
    if (OnTiskOddilu) OnTiskOddilu(*this, section.Index, print);
}

void TSestava::DoVypoctiFunkce()
{
    if (OnVypoctiFunkce) OnVypoctiFunkce(*this);
}

bool TSestava::NactiPredlohu(bool mayCreate)
{
    if (OnNactiPredlohu) return OnNactiPredlohu(*this);
    if (IsStored) {
        SetPredloha(QStringList(Predloha));
        return true;
    }
    const QString name = ResolveFileName();
    const QString path = files::resolvePath(name);
    if (QFileInfo::exists(path)) {
        if (const std::optional<QStringList> lines = readTemplateFile(path, name)) {
            SetPredloha(*lines);
            return true;
        }
    } else if (mayCreate) {
        if (ui::services().messageBox(withPlaceholder(65143, name), QString(), ui::MsgType::Confirmation, ui::YesNo)
            != ui::Answer::Yes)
            return false;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            ui::services().messageBox(withPlaceholder(65142, name), QString(), ui::MsgType::Error, ui::Ok);
            return false;
        }
        SetPredloha({});
        return true;
    } else {
        ui::services().messageBox(withPlaceholder(65143, name), QString(), ui::MsgType::Error, ui::Ok);
    }
    if (OnError) OnError(*this, 6);
    return false;
}

bool TSestava::saveTo(const QString& name)
{
    const QString path = files::resolvePath(name);
    const QString backup = files::changeFileExt(path, u".BAK");
    // The new text goes to a temporary file first; the old template becomes the backup only
    // once the new one is complete, so a failure leaves the old file in place.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    const QByteArray bytes = TemplateBytes(Predloha);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return false;
    if (QFile::exists(path)) {
        QFile::remove(backup);
        if (!QFile::copy(path, backup)) return false;
    }
    return file.commit();
}

bool TSestava::UlozPredlohu()
{
    if (OnUlozPredlohu) {
        const bool ok = OnUlozPredlohu(*this);
        if (!ok && OnError) OnError(*this, 6);
        return ok;
    }
    if (IsStored) return true;
    if (saveTo(GetFileName())) return true;
    ui::services().messageBox(reportText(65144), QString(), ui::MsgType::Error, ui::Ok);
    if (OnError) OnError(*this, 6);
    return false;
}

bool TSestava::UlozPredlohuJako()
{
    QString file = GetFileName();
    if (OnUlozPredlohuJako) {
        if (!OnUlozPredlohuJako(*this, file)) {
            if (OnError) OnError(*this, 6);
            return false;
        }
        SetReportName(file);
        return true;
    }
    const QString chosen = reportWindows() ? reportWindows()->chooseTemplateFile(files::extractFilePath(file)) : QString();
    if (chosen.isEmpty()) return false;
    const QString dir = m_reportDir.isEmpty() ? QString() : QDir(files::resolvePath(m_reportDir)).absolutePath() + u'/';
    if (m_reportDir.isEmpty()) {
        SetReportDir(files::extractFilePath(chosen));
        m_reportName = files::extractFileName(chosen);
    } else if (chosen.toLower().startsWith(dir.toLower())) {
        m_reportName = chosen.mid(dir.size());
    } else {
        m_reportName = chosen;
        m_reportDir.clear();
        ReportDirIgnore = false;
    }
    return UlozPredlohu();
}

bool TSestava::CheckReady()
{
    if (!TSestavaD::CheckReady()) return false;
    if (Predloha.isEmpty() && !IsStored && !OnNactiPredlohu && m_reportName.isEmpty()) {
        ui::services().messageBox(reportText(65141), QString(), ui::MsgType::Error, ui::Ok);
        return false;
    }
    return true;
}

int TSestava::operate(Operation operation, const std::function<int()>& body)
{
    const auto fire = [this](const std::function<void(TSestava&)>& event) {
        if (event) event(*this);
    };
    fire(operation == Operation::Preview ? BeforePreview : operation == Operation::Print ? BeforePrint : BeforeEdit);
    int status = 6;
    if (CheckReady()) {
        db::DataSet* set = OnGetData ? nullptr : (DataSource() ? DataSource()->dataSet() : nullptr);
        const DataSetCare care(set, Details.Count() == 0, openedByCheck());
        if (operation == Operation::Edit && OnGetData) OnGetData(*this);
        ColumnsFromData();
        status = NactiPredlohu(true) ? body() : 6;
    }
    if (status != 0 && OnError) OnError(*this, status);
    fire(operation == Operation::Preview ? AfterPreview : operation == Operation::Print ? AfterPrint : AfterEdit);
    return status;
}

int TSestava::PreviewEx(const WindowPlacement& placement, int zoomPercent)
{
    return operate(Operation::Preview, [&] {
        // The range's first page is laid out before the window opens, the rest in its loop.
        const std::unique_ptr<ReportRun> run = StartRun();
        run->runToPage(StartPage);
        return ShowPreview(placement, zoomPercent, run.get());
    });
}

int TSestava::PrintEx(int index, const QString& port)
{
    return operate(Operation::Print, [&] {
        const int run = RunReport(true);
        return run == 0 ? TSestavaD::PrintEx(index, port) : run;
    });
}

int TSestava::PrintCharacterPages(const QString& destination)
{
    return operate(Operation::Print, [&] {
        const int run = RunReport(true);
        return run == 0 ? TSestavaD::PrintCharacterPages(destination) : run;
    });
}

int TSestava::EditEx(const WindowPlacement& placement)
{
    return operate(Operation::Edit, [&] { return TSestavaD::EditEx(placement); });
}

} // namespace reports
