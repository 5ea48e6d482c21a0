// The designer window as the controller's view, the real dialogs and the window's wiring.
#include "reports/designer/form/DesignerWindowView.h"

#include "reports/designer/controller/DesignerController.h"
#include "reports/designer/dialogs/FunkceDlg.h"
#include "reports/designer/dialogs/SestKonfigDlg.h"
#include "reports/designer/dialogs/VFontDlg.h"
#include "reports/designer/form/DesignerWindow.h"
#include "reports/designer/surface/Papir.h"
#include "reports/designer/wizard/DlgNovaSestava.h"
#include "reports/engine/ReportWindows.h"

namespace reports::designer {

void DesignerWindowView::showSurface(const SurfaceView& view) { m_paper.setView(view); }
void DesignerWindowView::setPaperCursor(bool cross) { m_paper.setPaperCursor(cross ? Qt::CrossCursor : Qt::ArrowCursor); }

void DesignerWindowView::setCaption(const QString& description, const QString& templateFile)
{
    m_window.updateCaption(description, templateFile);
}

void DesignerWindowView::setToolPages(const ToolPages& pages)
{
    ElementToolPanel& tools = m_window.tools();
    tools.setColumns(pages.Columns);
    tools.setParameterCount(pages.ParameterCount);
    tools.setGroupCount(pages.GroupCount);
    tools.setFunctions(pages.Functions);
    tools.setDetailCount(pages.DetailCount);
    tools.layoutElementPanel();
}

void DesignerWindowView::setActiveTool(int command) { m_window.tools().setActiveTool(command); }

void DesignerWindowView::setFunctionButtons(bool editEnabled, bool deleteVisible)
{
    m_window.tools().setFunctionButtons(editEnabled, deleteVisible);
}

void DesignerWindowView::setChooser(bool visible, int item)
{
    m_window.tools().setChooserVisible(visible);
    m_window.tools().setChooserItem(item);
}

void DesignerWindowView::showElementProperties(const ElementProperties& element) { m_window.showElementProperties(element); }
void DesignerWindowView::enableElementControls(bool enabled) { m_window.enableElementControls(enabled); }
void DesignerWindowView::setStackingEnabled(bool enabled) { m_window.objects().setStackingEnabled(enabled); }
void DesignerWindowView::showPosition(int left, int top) { m_window.showPosition(left, top); }
void DesignerWindowView::showSize(int width, int height) { m_window.showSize(width, height); }
void DesignerWindowView::restoreSizeBoxes() { m_window.restoreSizeBoxes(); }
void DesignerWindowView::showCoordinates(int x, int y) { m_window.showCoordinates(x, y); }
void DesignerWindowView::setPictureFiles(const QStringList& files) { m_window.objects().setPictureFiles(files); }

void DesignerWindowView::setUndoState(bool canUndo, const QString& undoHint, bool canRedo, const QString& redoHint)
{
    m_window.setUndoState(canUndo, undoHint, canRedo, redoHint);
}

void DesignerWindowView::setPasteState(bool enabled, bool pasteMode) { m_window.setPasteState(enabled, pasteMode); }
void DesignerWindowView::setZoomStep(int step) { m_window.setZoomStep(step); }
void DesignerWindowView::setDataFlags(int flags) { m_window.setDataFlags(flags); }
void DesignerWindowView::setPrintEnabled(bool enabled) { m_window.setPrintEnabled(enabled); }

WindowPlacement DesignerWindowView::placement() const
{
    WindowPlacement placement{m_window.geometry(), 0, 2};
    placement.owner = &m_window;
    return placement;
}

void DesignerWindowView::closeWindow(int result) { m_window.closeWindow(result); }

// --- dialogs ---------------------------------------------------------------------------------

std::optional<ReportSettingsData> DesignerWindowDialogs::settings(const ReportSettingsData& data, int tab, int group)
{
    return ShowSettingsDialog(data, m_formats, m_iniName, tab, group, m_parent);
}

std::optional<ElementDialogData> DesignerWindowDialogs::element(const ElementDialogData& data)
{
    return TDlgKonfPrvku::Execute(data, m_parent);
}

std::optional<ReportFont> DesignerWindowDialogs::font(const ReportFont& font)
{
    return TVFontDlg::Execute(font, m_parent);
}

std::optional<FunctionSettings> DesignerWindowDialogs::function(const FunctionSettings& function,
                                                                const ExpressionLists& lists, int groupCount)
{
    FunctionSettings edited = function;
    if (UpravFunkci(m_parent, lists, groupCount, edited) != 1)
        return std::nullopt;
    return edited;
}

std::optional<NastaveniEditoru> DesignerWindowDialogs::editorSettings(const NastaveniEditoru& settings)
{
    return TSestKonfigDlg::Execute(settings, m_iniName, systemPrinterSetup(), m_parent);
}

WizardOutcome DesignerWindowDialogs::wizard(const QStringList& columnNames, bool byName,
                                            const std::function<void()>& paperFormat)
{
    TDlgNovaSestava dialog(columnNames, byName, paperFormat, m_parent);
    const int result = dialog.exec();
    return {result, dialog.choice()};
}

// --- wiring ------------------------------------------------------------------------------------

void connectDesigner(DesignerWindow& w, DesignerController& c)
{
    DesignerController* d = &c;
    QObject::connect(&w, &DesignerWindow::newRequested, &w, [d] { d->NewTemplate(); });
    QObject::connect(&w, &DesignerWindow::saveRequested, &w, [d] { d->Save(); });
    QObject::connect(&w, &DesignerWindow::saveAsRequested, &w, [d] { d->SaveAs(); });
    QObject::connect(&w, &DesignerWindow::previewRequested, &w, [d] { d->Preview(); });
    QObject::connect(&w, &DesignerWindow::printRequested, &w, [d] { d->Print(); });
    QObject::connect(&w, &DesignerWindow::settingsRequested, &w, [d] { d->ShowSettingsDialog(); });
    QObject::connect(&w, &DesignerWindow::editorSettingsRequested, &w, [d] { d->EditorSettingsDialog(); });
    QObject::connect(&w, &DesignerWindow::elementDialogRequested, &w, [d] { d->EditElement(); });
    QObject::connect(&w, &DesignerWindow::closeRequested, &w, [d] { d->RequestClose(); });
    QObject::connect(&w, &DesignerWindow::undoRequested, &w, [d] { d->Undo(); });
    QObject::connect(&w, &DesignerWindow::redoRequested, &w, [d] { d->Redo(); });
    QObject::connect(&w, &DesignerWindow::deleteRequested, &w, [d] { d->DeleteSelected(); });
    QObject::connect(&w, &DesignerWindow::cutRequested, &w, [d] { d->Cut(); });
    QObject::connect(&w, &DesignerWindow::copyRequested, &w, [d] { d->Copy(); });
    QObject::connect(&w, &DesignerWindow::pasteRequested, &w, [d] { d->Paste(); });
    QObject::connect(&w, &DesignerWindow::snapAllRequested, &w, [d] { d->SnapAll(); });
    QObject::connect(&w, &DesignerWindow::snapSelectedRequested, &w, [d] { d->SnapSelected(); });
    QObject::connect(&w, &DesignerWindow::zoomStepChosen, &w, [d](int step) { d->SetZoomStep(step); });
    QObject::connect(&w, &DesignerWindow::dataStepRequested, &w, [d](int step) { d->StepData(step); });
    QObject::connect(&w, &DesignerWindow::keyMove, &w,
                     [d](int dx, int dy, bool resize, bool raster) { d->KeyMove(dx, dy, resize, raster); });

    ElementToolPanel* t = &w.tools();
    QObject::connect(t, &ElementToolPanel::toolChosen, &w, [d](int command) { d->ChooseTool(command); });
    QObject::connect(t, &ElementToolPanel::arrowChosen, &w, [d] { d->ChooseArrow(); });
    QObject::connect(t, &ElementToolPanel::tabChanged, &w, [d](int tab) { d->ChooseTab(tab); });
    QObject::connect(t, &ElementToolPanel::chooserItemChosen, &w, [d](int item) { d->ChooseColumn(item); });
    QObject::connect(t, &ElementToolPanel::functionEditRequested, &w, [d] { d->EditFunction(); });
    QObject::connect(t, &ElementToolPanel::functionAddRequested, &w, [d] { d->AddFunction(); });
    QObject::connect(t, &ElementToolPanel::functionDeleteRequested, &w, [d] { d->DeleteFunction(); });

    ObjectToolbar* o = &w.objects();
    QObject::connect(o, &ObjectToolbar::sizeTyped, &w, [d](int box, const QString& text) { d->SizeTyped(box, text); });
    QObject::connect(o, &ObjectToolbar::frontRequested, &w, [d] { d->BringToFront(); });
    QObject::connect(o, &ObjectToolbar::backRequested, &w, [d] { d->SendToBack(); });
    QObject::connect(o, &ObjectToolbar::textEdited, &w, [d](const QString& text) { d->TextEdited(text); });
    QObject::connect(o, &ObjectToolbar::textCommitted, &w, [d](const QString& text) { d->TextCommitted(text); });
    QObject::connect(o, &ObjectToolbar::alignmentChanged, &w, [d](int a) { d->SetAlignment(a); });
    QObject::connect(o, &ObjectToolbar::textFrameLineToggled, &w, [d](int side, bool on) { d->SetTextFrameLine(side, on); });
    QObject::connect(o, &ObjectToolbar::rtfFrameLineToggled, &w, [d](int side, bool on) { d->SetRtfFrameLine(side, on); });
    QObject::connect(o, &ObjectToolbar::lineFlagToggled, &w, [d](int flag, bool on) { d->SetLineFlag(flag, on); });
    QObject::connect(o, &ObjectToolbar::penColorChanged, &w, [d](int v) { d->SetPenColor(v); });
    QObject::connect(o, &ObjectToolbar::penStyleChanged, &w, [d](int v) { d->SetPenStyle(v); });
    QObject::connect(o, &ObjectToolbar::penWidthChanged, &w, [d](int v) { d->SetPenWidth(v); });
    QObject::connect(o, &ObjectToolbar::framePenColorChanged, &w, [d](int v) { d->SetFramePenColor(v); });
    QObject::connect(o, &ObjectToolbar::framePenWidthChanged, &w, [d](int v) { d->SetFramePenWidth(v); });
    QObject::connect(o, &ObjectToolbar::fillColorChanged, &w, [d](int v) { d->SetFillColor(v); });
    QObject::connect(o, &ObjectToolbar::fillStyleChanged, &w, [d](int v) { d->SetFillStyle(v); });
    QObject::connect(o, &ObjectToolbar::justifyToggled, &w, [d](bool on) { d->SetJustify(on); });
    QObject::connect(o, &ObjectToolbar::variableHeightToggled, &w, [d](bool on) { d->SetVariableHeight(on); });
    QObject::connect(o, &ObjectToolbar::stretchToggled, &w, [d](bool on) { d->SetStretch(on); });
    QObject::connect(o, &ObjectToolbar::keepAspectToggled, &w, [d](bool on) { d->SetKeepAspect(on); });
    QObject::connect(o, &ObjectToolbar::pictureFileChosen, &w, [d](const QString& name) { d->SetPictureFile(name); });
    QObject::connect(o, &ObjectToolbar::pictureListRequested, &w, [d] { d->RequestPictureList(); });
    QObject::connect(o, &ObjectToolbar::fontDialogRequested, &w, [d] { d->FontDialog(); });
}

} // namespace reports::designer
