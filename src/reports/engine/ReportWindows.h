// The windows a report opens (preview, designer, progress, save dialog), behind one interface.
#pragma once

#include <QRect>
#include <QString>

#include <memory>

class QWidget;

namespace reports {

class ReportRun;
class RunProgress;
class TSestavaTyp;

// Placement of a report window: bounds (empty: default), position code and window state
// (2 maximised).
struct WindowPlacement {
    QRect bounds;
    int position = 0;
    int windowState = 2;
    // A preview opened by the designer: its "Oprava předlohy" leads back there.
    bool isEditEnabled = false;
    // The window that owns this one (not owned); null: the application's.
    QWidget* owner = nullptr;
};

// Provided by the widget layers (preview, designer, progress window); tests install a fake.
// Without one installed a report opens no window: previews and edits answer 0 and 3.
class ReportWindows
{
public:
    virtual ~ReportWindows() = default;
    // Shows the laid-out pages modally at a zoom step (0..10); answers the modal result.
    // `run` (not owned, may be null): a run still laying pages out, which the window drives
    // to its end in slices between its events, or stops when it closes first.
    virtual int showPreview(TSestavaTyp& report, ReportRun* run, const WindowPlacement& placement, int zoomStep) = 0;
    // Opens the report's template in the designer modally; answers the modal result, 0 when
    // the designer did not open the report, or -1 when it could not be created.
    virtual int showDesigner(TSestavaTyp& report, const WindowPlacement& placement) = 0;
    // The progress window of a run or print (record number, abort button).
    virtual std::unique_ptr<RunProgress> createProgress(TSestavaTyp& report) = 0;
    // A save dialog for templates; empty when cancelled.
    virtual QString chooseTemplateFile(const QString& startDirectory) = 0;
};

ReportWindows* reportWindows();
// Installs the windows (not owned); null removes them.
void setReportWindows(ReportWindows* windows);

} // namespace reports
