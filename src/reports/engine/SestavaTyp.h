// The report at run time: the template model with its output, run settings, data stepping
// and the hooks a host may veto sections and items with.
#pragma once

#include "reports/engine/ReportWindows.h"
#include "reports/model/ReportModel.h"
#include "reports/output/CodePages.h"
#include "reports/output/PaperFormats.h"
#include "reports/output/ReportOutput.h"

#include <functional>
#include <memory>

namespace reports {

class Printer;
class ReportRun;
class TextMeasurer;

// The progress window of a run: the record number shown and the user's abort button.
class RunProgress
{
public:
    virtual ~RunProgress() = default;
    virtual void setRecord(int number) = 0;
    virtual bool aborted() const = 0;
    // The laid-out pages are going to the printer now.
    virtual void setSending() {}
};

// Directions of StepData and bits of its answer.
enum StepDir : int { sdFirst = 0, sdPrior = 1, sdNext = 2, sdLast = 3 };
inline constexpr int srBof = 1;
inline constexpr int srEof = 2;

// TSestavaTyp: answers the data questions from its own lists (one record) unless a
// descendant reads a data set. Owns its output pages.
class TSestavaTyp : public ReportModel
{
public:
    TSestavaTyp();
    ~TSestavaTyp() override;

    // --- data -----------------------------------------------------------------------------
    // Fetches the current record's values (nothing here).
    virtual void GetData() {}
    // Moves in the data (StepDir) and answers srBof | srEof as they hold afterwards.
    // Here: GetData and both bits (a single record).
    virtual int StepData(int dir);
    // Where the data stand now, as StepData answers it, without moving. Here both bits.
    virtual int DataFlags() { return srBof | srEof; }
    // The data hold no record at all (an empty data set); lists and events never are.
    virtual bool DataIsEmpty() { return false; }
    // Notes the record the data stand on, and goes back to it (a stopped run); here nothing.
    virtual void SaveDataPosition() {}
    virtual void RestoreDataPosition() {}

    // --- hooks ------------------------------------------------------------------------------
    virtual void DoTiskOddilu(const TOddilSestavy& section, bool& print);
    virtual void DoTiskPrvku(const TVoReportElement& element, bool& print);
    virtual void DoVypoctiFunkce() {}

    // --- the run ----------------------------------------------------------------------------
    // Lays the data out into Output through the record loop. Answers 3 when the user
    // aborted in the progress window, else 0. A top-level run clears the output first and
    // trims it to StartPage..EndPage afterwards.
    int RunReport(bool topLevel = true);
    // The same top-level run begun and handed over, so that a window can lay the records
    // out in slices between its events and show the pages finished so far (ReportRun).
    std::unique_ptr<ReportRun> StartRun();
    // A detail variant's run inside its parent's run, from the output's current position.
    int RunDetail(ReportRun& parentRun);
    // The measurer text is laid out with (not owned); the real one by default.
    void setMeasurer(const TextMeasurer* measurer) { m_measurer = measurer; }
    const TextMeasurer& measurer() const;
    // Creates the progress window of a top-level run; none: never aborted.
    std::function<std::unique_ptr<RunProgress>()> progressFactory;

    // --- operations on the laid-out pages (answers: 0 done, 1 preview closed by its
    // button, 2 no printer, 3 aborted, 6 not done) ------------------------------------------
    // Shows the output in the preview window at the zoom step nearest `zoomPercent`.
    virtual int PreviewEx(const WindowPlacement& placement, int zoomPercent);
    int Preview() { return PreviewEx({}, 100); }
    // The preview over a run begun with StartRun and laid out up to the range's first page;
    // the window lays out the rest. Null: the output as it stands.
    int ShowPreview(const WindowPlacement& placement, int zoomPercent, ReportRun* run);
    // Prints the output on printer `index` (-1 the default; a port names another queue): in
    // character mode on a text-only printer, graphically on any other. A job the printing
    // system refuses gives a message naming the queue and 6.
    virtual int PrintEx(int index, const QString& port);
    int PrintOn(int index) { return PrintEx(index, QString()); }
    // Pages first..last of the output as they stand, in `copies` copies, under a job title;
    // the answers of PrintEx.
    int PrintPages(int index, const QString& port, int first, int last, int copies, const QString& title);
    // The default printer; without any printer the message 65151 and 2.
    int Print();
    // Writes the output in character mode to a file in ExportLanguage's code page.
    virtual int PrintCharacterPages(const QString& destination);
    // Opens the designer; 0 when it closed with OK, else 3.
    virtual int EditEx(const WindowPlacement& placement);
    int Edit() { return EditEx({}); }
    // Opens the designer owned by a window (not owned; may be null), maximised, without the
    // wait window and without loading the background; 0 when it closed with OK, 6 when it did
    // not open the report, else 3.
    virtual int EditModal(QWidget* owner);

    // The background picture file, loaded before preview, print and edit; printed under every
    // page when PrintBackground is set.
    QString Background;
    bool PrintBackground = false;
    QImage BackgroundPicture;
    void LoadBackground();

    // A section of the template was taller than its page and cut at the foot line in the
    // last run.
    bool WasClipped() const { return m_clipped; }
    void setClipped() { m_clipped = true; }

    // Loads a picture file: the parent's answer for a detail variant, else the file itself.
    bool NactiObraz(const QString& name, QImage& picture) override;
    // The picture files a template may name: the parent's list for a detail variant, else the
    // graphic files in the template's directory.
    virtual QStringList NactiSeznamObrazu();

    // --- settings ---------------------------------------------------------------------------
    int PrintCopies = 1;
    int StartPage = 1;
    int EndPage = 9999;
    int MaxRecords = 0;                  // 0: all
    TSestLanguage ExportLanguage = TSestLanguage::slUndefined;
    bool TiskJedenZaznam = false;        // print the current record only
    int RecordsPrinted = 0;
    TSestVystup Output;
    TListFormatu Formaty;

private:
    int printOn(Printer& printer, int first, int last, int copies, const QString& title);
    // The designer's modal result (0 not opened, -1 not created, with message 65150); the
    // report is the operand host again afterwards.
    int showDesigner(const WindowPlacement& placement);

    const TextMeasurer* m_measurer = nullptr;
    // The real measurer, made on first use; it lives with the report, inside the
    // application's lifetime.
    mutable std::unique_ptr<TextMeasurer> m_ownMeasurer;
    bool m_clipped = false;
};

} // namespace reports
