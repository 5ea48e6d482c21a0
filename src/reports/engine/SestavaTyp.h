// The report at run time: the template model with its output, run settings, data stepping
// and the hooks a host may veto sections and items with.
#pragma once

#include "reports/model/ReportModel.h"
#include "reports/output/CodePages.h"
#include "reports/output/PaperFormats.h"
#include "reports/output/ReportOutput.h"

#include <functional>
#include <memory>

namespace reports {

class TextMeasurer;

// The progress window of a run: the record number shown and the user's abort button.
class RunProgress
{
public:
    virtual ~RunProgress() = default;
    virtual void setRecord(int number) = 0;
    virtual bool aborted() const = 0;
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
    // The data hold no record at all (an empty data set); lists and events never are.
    virtual bool DataIsEmpty() { return false; }

    // --- hooks ------------------------------------------------------------------------------
    virtual void DoTiskOddilu(const TOddilSestavy& section, bool& print);
    virtual void DoTiskPrvku(const TVoReportElement& element, bool& print);
    virtual void DoVypoctiFunkce() {}
    bool IsCharacterRaster() const { return Raster.On; }

    // --- the run ----------------------------------------------------------------------------
    // Lays the data out into Output (Part of the record loop). Answers 3 when the user
    // aborted in the progress window, else 0. A top-level run clears the output first and
    // trims it to StartPage..EndPage afterwards.
    int RunReport(bool topLevel = true);
    // The measurer text is laid out with (not owned); the real one by default.
    void setMeasurer(const TextMeasurer* measurer) { m_measurer = measurer; }
    const TextMeasurer& measurer() const;
    // Creates the progress window of a top-level run; none: never aborted.
    std::function<std::unique_ptr<RunProgress>()> progressFactory;

    // A section of the template was taller than its page and cut at the foot line in the
    // last run.
    bool WasClipped() const { return m_clipped; }
    void setClipped() { m_clipped = true; }

    // Loads a picture file: the parent's answer for a detail variant, else the file itself.
    bool NactiObraz(const QString& name, QImage& picture) override;

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
    const TextMeasurer* m_measurer = nullptr;
    bool m_clipped = false;
};

} // namespace reports
