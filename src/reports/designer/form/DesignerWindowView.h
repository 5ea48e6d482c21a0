// The designer window and its paper as the controller's view, the real dialogs, and the
// wiring of the window's intents to the controller.
#pragma once

#include "reports/designer/controller/DesignerDialogs.h"
#include "reports/designer/controller/DesignerView.h"

class QWidget;

namespace reports {
class TListFormatu;
}

namespace reports::designer {

class DesignerController;
class DesignerWindow;
class TPapir;

// Shows what the controller says on the window and the paper; both outlive it.
class DesignerWindowView : public DesignerView
{
public:
    DesignerWindowView(DesignerWindow& window, TPapir& paper) : m_window(window), m_paper(paper) {}

    void showSurface(const SurfaceView& view) override;
    void setPaperCursor(bool cross) override;
    void setCaption(const QString& description, const QString& templateFile) override;
    void setToolPages(const ToolPages& pages) override;
    void setActiveTool(int command) override;
    void setFunctionButtons(bool editEnabled, bool deleteVisible) override;
    void setChooser(bool visible, int item) override;
    void showElementProperties(const ElementProperties& element) override;
    void enableElementControls(bool enabled) override;
    void setStackingEnabled(bool enabled) override;
    void showPosition(int left, int top) override;
    void showSize(int width, int height) override;
    void restoreSizeBoxes() override;
    void showCoordinates(int x, int y) override;
    void setPictureFiles(const QStringList& files) override;
    void setUndoState(bool canUndo, const QString& undoHint, bool canRedo, const QString& redoHint) override;
    void setPasteState(bool enabled, bool pasteMode) override;
    void setZoomStep(int step) override;
    void setDataFlags(int flags) override;
    void setPrintEnabled(bool enabled) override;
    WindowPlacement placement() const override;
    void closeWindow(int result) override;

private:
    DesignerWindow& m_window;
    TPapir& m_paper;
};

// The modal dialogs of the designer, owned by `parent`; paper formats go to `formats` and
// the settings file `iniName`.
class DesignerWindowDialogs : public DesignerDialogs
{
public:
    DesignerWindowDialogs(QWidget* parent, TListFormatu& formats, const QString& iniName = EditorSettingsFile)
        : m_parent(parent), m_formats(formats), m_iniName(iniName) {}

    std::optional<ReportSettingsData> settings(const ReportSettingsData& data, int tab, int group) override;
    std::optional<ElementDialogData> element(const ElementDialogData& data) override;
    std::optional<ReportFont> font(const ReportFont& font) override;
    std::optional<FunctionSettings> function(const FunctionSettings& function, const ExpressionLists& lists,
                                             int groupCount) override;
    std::optional<NastaveniEditoru> editorSettings(const NastaveniEditoru& settings) override;
    WizardOutcome wizard(const QStringList& columnNames, bool byName, const std::function<void()>& paperFormat) override;

private:
    QWidget* m_parent;
    TListFormatu& m_formats;
    QString m_iniName;
};

// Every intent of the window, its tools and its object toolbar goes to the controller.
void connectDesigner(DesignerWindow& window, DesignerController& controller);

} // namespace reports::designer
