// The template designer's window (TFormSestE's controls): tool bar, zoom, data buttons,
// element tools, object toolbar, the paper's scroll box and the pop-up menu.
#pragma once

#include "reports/designer/form/ElementProperties.h"
#include "reports/designer/form/ElementToolPanel.h"
#include "reports/designer/form/ObjectToolbar.h"

#include <QDialog>

class QAction;
class QComboBox;
class QMenu;
class QScrollArea;

namespace reports {
class TSestButton;
}

namespace reports::designer {

// A passive view. It holds no template, selection or undo state: the controller sets what it
// shows through the typed setters and hears every user intent through the signals here and
// on tools() and objects(). Keys are routed for the whole window (whatever has the focus):
// Escape asks to close, F1 does nothing, and the editing keys act only while the paper has
// the focus. Closing the window (Escape, the close box, "Konec oprav") only asks through
// closeRequested(); the controller ends it with closeWindow().
class DesignerWindow : public QDialog
{
    Q_OBJECT

public:
    explicit DesignerWindow(QWidget* parent = nullptr);
    ~DesignerWindow() override;

    ElementToolPanel& tools() { return *m_tools; }
    ObjectToolbar& objects() { return *m_objects; }

    // The paper (not owned before the call; the scroll box owns it after). Editing keys act
    // only while it or a child of it has the focus.
    void setPaper(QWidget* paper);
    QWidget* paper() const { return m_paper; }

    // "Oprava předlohy tiskové sestavy - <description> (<file>)".
    void updateCaption(const QString& description, const QString& templateFile);
    // The zoom box's item (0..10); emits nothing.
    void setZoomStep(int step);
    int zoomStep() const;
    // The answer of a data step: 1 at the first record, 2 at the last, 3 both.
    void setDataFlags(int flags);
    void setPrintEnabled(bool enabled);
    // Shows the element on the object toolbar and enables the element controls.
    void showElementProperties(const ElementProperties& element);
    // Size boxes, stacking, delete, cut, copy, element dialog and "Vyrovnat vybrané";
    // disabling also shows the empty object page.
    void enableElementControls(bool enabled);
    void setUndoState(bool canUndo, const QString& undoHint, bool canRedo, const QString& redoHint);
    // SBPaste enabled (the store holds something) and down (paste mode).
    void setPasteState(bool enabled, bool pasteMode);
    // Forwarded to the object toolbar.
    void showPosition(int left, int top) { m_objects->showPosition(left, top); }
    void showSize(int width, int height) { m_objects->showSize(width, height); }
    void restoreSizeBoxes() { m_objects->restoreSizeBoxes(); }
    void showCoordinates(int x, int y) { m_objects->showCoordinates(x, y); }

    // Ends the window with a result; the only way it closes.
    void closeWindow(int result = 0);

    // Tool bar
    QWidget* PanelTool = nullptr;
    TSestButton* SBNova1 = nullptr;
    TSestButton* SBMazat = nullptr;
    TSestButton* SBUndo1 = nullptr;
    TSestButton* SBPreview1 = nullptr;
    TSestButton* SBCut = nullptr;
    TSestButton* SBCopy = nullptr;
    TSestButton* SBPaste = nullptr;
    TSestButton* SBUloz1 = nullptr;
    TSestButton* SBKonfPrv = nullptr;
    TSestButton* SBRedo1 = nullptr;
    TSestButton* SBTisk1 = nullptr;
    TSestButton* SBSestNast1 = nullptr;
    TSestButton* SBKonfig1 = nullptr;
    TSestButton* SBKonec1 = nullptr;
    QComboBox* CBMeritka1 = nullptr;
    TSestButton* BtnF1 = nullptr;
    TSestButton* BtnP1 = nullptr;
    TSestButton* BtnN1 = nullptr;
    TSestButton* BtnL1 = nullptr;
    QScrollArea* ScrollBox = nullptr;
    // Pop-up menu
    QMenu* PopupMenuFunkci = nullptr;
    QAction* PmMazat = nullptr;
    QAction* PmUndo = nullptr;
    QAction* PmRedo = nullptr;
    QAction* VyrovnatVse = nullptr;
    QAction* VyrovnatVybrane = nullptr;

signals:
    void newRequested();
    void saveRequested();
    void saveAsRequested();
    void previewRequested();
    void printRequested();
    void settingsRequested();         // "Nastavit předlohy"
    void editorSettingsRequested();   // "Nastavit prostředí"
    void elementDialogRequested();    // "Nastavit prvek"
    void closeRequested();
    void undoRequested();
    void redoRequested();
    void deleteRequested();
    void cutRequested();
    void copyRequested();
    void pasteRequested();
    void snapAllRequested();
    void snapSelectedRequested();
    void zoomStepChosen(int step);
    // 0 first, 1 prior, 2 next, 3 last record.
    void dataStepRequested(int step);
    // Ctrl+arrow (by 1), Shift+Ctrl+arrow (by one raster step) or Shift+arrow (resize by 1)
    // on the paper; dx, dy are -1, 0 or 1.
    void keyMove(int dx, int dy, bool resize, bool rasterStep);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void reject() override;

private:
    void buildToolBar();
    void buildMenu();
    bool paperHasFocus() const;
    bool windowKey(const QKeyEvent& key);
    bool paperKey(const QKeyEvent& key);

    ElementToolPanel* m_tools = nullptr;
    ObjectToolbar* m_objects = nullptr;
    QWidget* m_paper = nullptr;
    bool m_mayClose = false;
};

} // namespace reports::designer
