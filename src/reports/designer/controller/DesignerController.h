// TFormSestE's logic below the widgets: opening and saving the template, tools, selection,
// property edits, dialogs, undo, the surface's commands, operand requests, data stepping,
// preview, print and close.
#pragma once

#include "reports/designer/controller/DesignerDialogs.h"
#include "reports/designer/controller/DesignerReport.h"
#include "reports/designer/controller/DesignerView.h"
#include "reports/designer/document/TemplateDocument.h"
#include "reports/designer/settings/NastaveniEditoru.h"
#include "reports/designer/surface/SurfaceView.h"
#include "reports/expressions/OperandHost.h"
#include "reports/expressions/UserFunctions.h"

#include <QImage>

#include <cstdint>
#include <map>
#include <memory>

namespace reports::designer {

// Owns the document; the report, view and dialogs are not owned and outlive it. While it
// lives it is the operand host of expressions. Every document change is shown at once
// (surface, properties, undo buttons).
class DesignerController : public SurfaceHost, public OperandRequestHandler
{
public:
    DesignerController(DesignerReport& report, DesignerView& view, DesignerDialogs& dialogs,
                       const NastaveniEditoru& settings);
    ~DesignerController() override;
    DesignerController(const DesignerController&) = delete;
    DesignerController& operator=(const DesignerController&) = delete;

    // --- opening and the template --------------------------------------------------------
    // Tool pages, first record, the report's template (the wizard when it is empty); false
    // when the wizard was cancelled and the designer is not to be shown.
    bool OpenReport();
    // The report's template as the new base entry.
    void LoadReportTemplate();
    void DisablePrint();
    void SetBackground(const QImage& picture, bool print);

    const TemplateDocument& Document() const { return *m_document; }
    const SurfaceView& Surface() const { return m_surface; }
    const NastaveniEditoru& EditorSettings() const { return m_settings; }
    bool IsModified() const { return m_document->IsModified(); }
    int ActiveTool() const { return m_tool; }
    bool IsPasteMode() const { return m_pasteMode; }
    int ZoomStep() const { return m_zoomStep; }

    // --- file --------------------------------------------------------------------------------
    bool Save();
    bool SaveAs();
    // "Nová předloha": after confirming, a new template from the wizard.
    void NewTemplate();
    // Runs the wizard on an emptied template; answers its modal result.
    int CreateNewTemplate();
    // Whether the window may close; asks to save a changed template. A failed save keeps it.
    bool CloseQuery();
    // "Konec oprav", Escape: the close query, then the window ends.
    void RequestClose();
    // What the report's edit answers: 0 after a normal close, 3 after discarding changes.
    int EditResult() const { return m_editResult; }

    // --- undo --------------------------------------------------------------------------------
    void Undo();
    void Redo();

    // --- tools -------------------------------------------------------------------------------
    void ChooseTool(int command);
    // Back to the arrow.
    void ChooseArrow();
    void ChooseTab(int tab);
    // An item of the element chooser: the column's value or label tool.
    void ChooseColumn(int item);

    // --- editing -------------------------------------------------------------------------------
    void InsertElement(int band, int x, int y);
    void PasteAt(int band, int x, int y);
    void SetActiveElement(ElementId id);
    void DeselectAll();
    void DeleteSelected();
    void Copy();
    void Cut();
    // Toggles paste mode.
    void Paste();
    void BringToFront();
    void SendToBack();
    // Enter in a size box (SizeBox order); a text that is not an integer restores the box.
    void SizeTyped(int box, const QString& text);
    // Typing in the text box merges into one step, closed on Enter or focus loss.
    void TextEdited(const QString& text);
    void TextCommitted(const QString& text);
    void SetAlignment(int alignment);
    void SetTextFrameLine(int side, bool on);
    void SetRtfFrameLine(int side, bool on);
    void SetLineFlag(int flag, bool on);
    void SetPenColor(int colorIndex);
    void SetPenStyle(int style);
    void SetPenWidth(int width);
    void SetFramePenColor(int colorIndex);
    void SetFramePenWidth(int width);
    void SetFillColor(int colorIndex);
    void SetFillStyle(int style);
    void SetJustify(bool on);
    void SetVariableHeight(bool on);
    void SetStretch(bool on);
    void SetKeepAspect(bool on);
    void SetPictureFile(const QString& name);
    void RequestPictureList();
    // dx, dy of -1, 0, 1: resize by 1, move by a raster step, or move by 1.
    void KeyMove(int dx, int dy, bool resize, bool rasterStep);
    void SnapAll();
    void SnapSelected();
    void SetZoomStep(int step);

    // --- dialogs -----------------------------------------------------------------------------
    // The settings dialog on `tab` (-1 none chosen) with `group` selected.
    void ShowSettingsDialog(int tab = -1, int group = -1);
    void EditGroupSettings(int band);
    // The element dialog, or the font dialog for a multi-selection.
    void EditElement();
    void FontDialog();
    void EditFunction();
    void AddFunction();
    void DeleteFunction();
    void EditorSettingsDialog();

    // --- surface commands --------------------------------------------------------------------
    // One surface command by its number; unknown ones are ignored. `result` carries the
    // second argument in and the answer out.
    void Dispatch(int command, int argument, int& result);
    void showPosition(int left, int top) override;
    void showSize(int width, int height) override;
    void pressArrow() override;
    void selectOnly(ElementId id) override;
    void removeFromSelection(ElementId id) override;
    void addToSelection(ElementId id) override;
    void elementsDragged(const std::vector<ElementMove>& moves) override;
    void bandDoubleClicked(int band) override;
    void elementDoubleClicked(ElementId id) override;
    void showCoordinates(int x, int y) override;
    void bandHeightChanged(int band, int height) override;
    int activeTool() const override;
    void bandClicked(int band, int x, int y) override;

    // --- operand requests, data, output --------------------------------------------------------
    void MessageValueRequest(OperandMessage& message) override;
    // 0 first, 1 prior, 2 next, 3 last record.
    void StepData(int step);
    void Preview();
    void Print();

private:
    void refresh();
    void buildSurface();
    void showProperties();
    void showUndoState();
    void showToolPages();
    void showPasteState();
    void syncFunctions();
    void refreshValues();
    QString displayText(ElementId id, const TVoReportElement& e) const;
    bool finishSave(SaveResult result);
    InsertDefaults insertDefaults() const;
    ReportSettingsData settingsData() const;
    ElementDialogData elementData(const TVoReportElement& e) const;
    ExpressionLists expressionLists() const;
    QString typingKey() const;
    void endPasteMode();
    void setProperty(PropertyScope scope, ElementProperty property, int value);
    int functionOfTool() const;

    DesignerReport& m_report;
    DesignerView& m_view;
    DesignerDialogs& m_dialogs;
    NastaveniEditoru m_settings;
    std::unique_ptr<TemplateDocument> m_document;
    SurfaceView m_surface;
    QImage m_background;
    bool m_printBackground = false;
    int m_tool = tcArrow;
    int m_tab = 0;
    bool m_pasteMode = false;
    int m_zoomStep = NastaveniEditoru::StartZoomStep;
    int m_typingSerial = 0;
    int m_editResult = 3;
    ToolPages m_toolPages;
    bool m_toolPagesShown = false;
    // Live values of the current record: row counters of variables, the user functions.
    std::map<ElementId, std::int64_t> m_counters;
    TListFunkci m_functions;
    std::shared_ptr<const std::vector<FunctionSettings>> m_functionsOf;
};

} // namespace reports::designer
