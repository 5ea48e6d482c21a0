// The report component a form holds (TSestava): template file, events and the checks and
// data-set care around preview, print, character output and edit.
#pragma once

#include "reports/component/SestavaD.h"

#include <functional>

namespace reports {

class TSestava : public TSestavaD
{
public:
    TSestava();
    ~TSestava() override;

    // --- template file ----------------------------------------------------------------------
    QString ReportName() const { return m_reportName; }
    // The extension becomes ".pts".
    void SetReportName(const QString& name);
    QString ReportAlias() const { return m_reportAlias; }
    // A non-empty alias clears ReportDir.
    void SetReportAlias(const QString& alias);
    QString ReportDir() const { return m_reportDir; }
    // A trailing backslash is added; a non-empty directory clears ReportAlias.
    void SetReportDir(const QString& dir);
    bool ReportDirIgnore = true;   // at run time the program's directory replaces ReportDir
    bool IsStored = false;         // the template lives in the form, not in a file

    // The template file's full name: the alias's path, else the program's or the report's
    // directory, + ReportName.
    QString ResolveFileName() const;
    QString GetFileName() const override { return ResolveFileName(); }
    // Loads the template; with mayCreate a missing file may be created empty after asking.
    // False when no template was loaded.
    bool NactiPredlohu(bool mayCreate);
    // Saves Predloha: through a temporary file renamed over the template, the previous file
    // kept with the extension ".BAK". False (and 65144 shown) when it cannot be saved.
    bool UlozPredlohu();
    bool UlozPredlohuJako();
    void SetPredloha(const QStringList& text) override;
    bool NactiObraz(const QString& name, QImage& picture) override;
    QStringList NactiSeznamObrazu() override;
    bool CheckReady() override;
    void DoTiskOddilu(const TOddilSestavy& section, bool& print) override;
    void DoVypoctiFunkce() override;

    // --- operations: checks, data-set position kept, events fired --------------------------
    int PreviewEx(const WindowPlacement& placement, int zoomPercent) override;
    int PrintEx(int index, const QString& port) override;
    int PrintCharacterPages(const QString& destination) override;
    int EditEx(const WindowPlacement& placement) override;

    // --- events -------------------------------------------------------------------------------
    std::function<bool(TSestava&)> OnUlozPredlohu;
    std::function<bool(TSestava&, QString& file)> OnUlozPredlohuJako;
    std::function<bool(TSestava&)> OnNactiPredlohu;
    std::function<void(TSestava&)> OnSetPredloha;
    std::function<bool(TSestava&, const QString& name, QImage& picture)> OnNactiObraz;
    std::function<void(TSestava&, QStringList& items)> OnNactiSeznamObrazu;
    std::function<void(TSestava&)> OnVypoctiFunkce;
    std::function<void(TSestava&, int index, bool& print)> OnTiskOddilu;
    std::function<void(TSestava&)> BeforeEdit, BeforePreview, BeforePrint, AfterEdit, AfterPreview, AfterPrint;
    std::function<bool(TSestava&, int status)> OnError;

private:
    enum class Operation { Preview, Print, Edit };
    // Steps 1-6 of every operation around `body`, which answers the status.
    int operate(Operation operation, const std::function<int()>& body);
    bool saveTo(const QString& path);

    QString m_reportName;
    QString m_reportAlias;
    QString m_reportDir;
};

} // namespace reports
