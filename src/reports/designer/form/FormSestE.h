// TFormSestE: the designer window put together — the window, its paper, the controller over
// the report, the window and the real dialogs — and its modal run over a report.
#pragma once

#include "reports/designer/controller/DesignerController.h"
#include "reports/designer/controller/SestavaReport.h"
#include "reports/designer/form/DesignerWindow.h"
#include "reports/designer/form/DesignerWindowView.h"

#include <memory>

namespace reports {
class TSestavaTyp;
struct WindowPlacement;
} // namespace reports

namespace reports::designer {

class TPapir;

// Edits one report's template; the report outlives the form. The paper lives in the scroll
// box and sends its commands to the controller; the window's intents reach the controller
// through connectDesigner.
class TFormSestE : public DesignerWindow
{
public:
    // `iniName`: the settings file of the editor settings and paper formats.
    explicit TFormSestE(TSestavaTyp& report, QWidget* parent = nullptr, const QString& iniName = EditorSettingsFile);
    ~TFormSestE() override;

    DesignerController& controller() { return m_controller; }
    TPapir& paper() { return *m_paper; }

    // Background, the report's template (the wizard when it has none), then the placement;
    // false when the wizard was cancelled and the form is not to be shown.
    bool OpenReport(const WindowPlacement& placement);

protected:
    void showEvent(QShowEvent* event) override;

private:
    TSestavaTyp& m_sestava;
    SestavaReport m_report;
    DesignerWindowDialogs m_dialogs;
    TPapir* m_paper;                        // owned by the scroll box
    std::unique_ptr<DesignerWindowView> m_view;
    DesignerController m_controller;
};

// Opens the report's template in the designer modally, owned by the placement's owner; answers
// the modal result (1 closed normally, 2 changes discarded), 0 when the wizard was cancelled.
int ShowDesigner(TSestavaTyp& report, const WindowPlacement& placement);

} // namespace reports::designer
