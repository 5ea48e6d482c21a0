// What the designer's logic tells its window to show.
#pragma once

#include "reports/designer/form/ElementProperties.h"
#include "reports/designer/surface/SurfaceView.h"

#include <QString>
#include <QStringList>

namespace reports {
struct WindowPlacement;
}

namespace reports::designer {

// The buttons of the element tool pages the report and template call for.
struct ToolPages
{
    QStringList Columns;          // column names: value and label buttons
    int ParameterCount = 0;
    int GroupCount = 0;
    QStringList Functions;        // function names
    int DetailCount = 0;
    bool operator==(const ToolPages&) const = default;
};

// A passive window: it shows what it is given and reports user intents to the controller.
class DesignerView
{
public:
    virtual ~DesignerView() = default;

    // The paper.
    virtual void showSurface(const SurfaceView& view) = 0;
    // The cross cursor while a tool or paste mode waits for a band click.
    virtual void setPaperCursor(bool cross) = 0;
    virtual void setCaption(const QString& description, const QString& templateFile) = 0;

    // --- element tools --------------------------------------------------------------------
    virtual void setToolPages(const ToolPages& pages) = 0;
    // The pressed tool (0 the arrow).
    virtual void setActiveTool(int command) = 0;
    virtual void setFunctionButtons(bool editEnabled, bool deleteVisible) = 0;
    virtual void setChooser(bool visible, int item) = 0;

    // --- object toolbar -------------------------------------------------------------------
    virtual void showElementProperties(const ElementProperties& element) = 0;
    virtual void enableElementControls(bool enabled) = 0;
    virtual void setStackingEnabled(bool enabled) = 0;
    virtual void showPosition(int left, int top) = 0;
    virtual void showSize(int width, int height) = 0;
    // The size boxes get back the values last shown.
    virtual void restoreSizeBoxes() = 0;
    // -1 leaves a box empty.
    virtual void showCoordinates(int x, int y) = 0;
    virtual void setPictureFiles(const QStringList& files) = 0;

    // --- tool bar -------------------------------------------------------------------------
    virtual void setUndoState(bool canUndo, const QString& undoHint, bool canRedo, const QString& redoHint) = 0;
    virtual void setPasteState(bool enabled, bool pasteMode) = 0;
    virtual void setZoomStep(int step) = 0;
    // 1 at the first record, 2 at the last, 3 both.
    virtual void setDataFlags(int flags) = 0;
    virtual void setPrintEnabled(bool enabled) = 0;

    // --- window ---------------------------------------------------------------------------
    // Where the preview opens.
    virtual WindowPlacement placement() const = 0;
    // Ends the window with a modal result: 1 closed normally, 2 changes discarded.
    virtual void closeWindow(int result) = 0;
};

} // namespace reports::designer
