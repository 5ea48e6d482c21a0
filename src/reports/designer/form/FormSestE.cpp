// TFormSestE: the designer window put together and its modal run over a report.
#include "reports/designer/form/FormSestE.h"

#include "reports/designer/surface/Papir.h"
#include "reports/engine/SestavaTyp.h"
#include "reports/preview/InfoWindow.h"

#include <QShowEvent>

namespace reports::designer {

// The paper is made before the controller it reports to: it keeps the reference and calls
// nothing until it is shown, by which time the controller exists.
TFormSestE::TFormSestE(TSestavaTyp& report, QWidget* parent, const QString& iniName)
    : DesignerWindow(parent), m_sestava(report), m_report(report), m_dialogs(this, report.Formaty, iniName),
      m_paper(new TPapir(m_controller, report.measurer())),
      m_view(std::make_unique<DesignerWindowView>(*this, *m_paper)),
      m_controller(m_report, *m_view, m_dialogs, ReadEditorSettings(iniName))
{
    // Editing keys act while the paper has the focus; a click on it gives it the focus.
    m_paper->setFocusPolicy(Qt::StrongFocus);
    setPaper(m_paper);
    connectDesigner(*this, m_controller);
}

TFormSestE::~TFormSestE() = default;

bool TFormSestE::OpenReport(const WindowPlacement& placement)
{
    m_controller.SetBackground(m_sestava.BackgroundPicture, m_sestava.PrintBackground);
    if (!m_controller.OpenReport()) return false;
    if (!placement.bounds.isEmpty()) setGeometry(placement.bounds);
    if (placement.windowState == 2) setWindowState(windowState() | Qt::WindowMaximized);
    return true;
}

void TFormSestE::showEvent(QShowEvent* event)
{
    DesignerWindow::showEvent(event);
    m_paper->setFocus();
}

int ShowDesigner(TSestavaTyp& report, const WindowPlacement& placement)
{
    TFormSestE form(report, placement.owner);
    if (!form.OpenReport(placement)) return 0;
    SkryjLogo();
    return form.exec();
}

} // namespace reports::designer
