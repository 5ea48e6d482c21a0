// The designer's element tools: the tab set, one notebook page of tool buttons per tab in a
// scrolling panel, the arrow button, the element chooser and the function buttons.
#pragma once

#include <QStringList>
#include <QWidget>

class QComboBox;
class QStackedWidget;
class QTabBar;
class QToolButton;

namespace reports {
class TPosuvnyPanelSest;
class TSestButton;
} // namespace reports

namespace reports::designer {

// Tabs of TabSetPrvku; tDetaily exists only while the report has detail variants.
enum ToolTab : int { tPolozky = 0, tPopisy, tParametry, tPromenne, tFunkce, tGraficke, tDetaily };

// A passive view: it makes the tool buttons it is told to, shows which tool is down, and
// reports every click as a signal. It never chooses a tool on its own beyond pressing the
// clicked button (or the arrow) down. All widgets are owned through Qt parents.
class ElementToolPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ElementToolPanel(QWidget* parent = nullptr);

    // Column value and column label buttons (Command 2000 + i, 4000 + i) and the chooser's items.
    void setColumns(const QStringList& names);
    // Parameter buttons, Command 6000 + i.
    void setParameterCount(int count);
    // Two buttons per group g on "Proměnné": Command 8005 + 2g and 8006 + 2g.
    void setGroupCount(int count);
    // One button per user function f, Command 10000 + f.
    void setFunctions(const QStringList& names);
    // The hint of function f's button after a rename.
    void setFunctionName(int index, const QString& name);
    // The tab "Detaily" and its buttons (Command 12000 + d) while count > 0.
    void setDetailCount(int count);

    // Presses the tool button of `command` and raises the others; 0 presses the arrow.
    void setActiveTool(int command);
    // The Command of the pressed tool button, 0 when the arrow is down.
    int pressedTool() const;
    // The tool button of a Command, null when there is none.
    TSestButton* toolButton(int command) const;
    // The hint of the tool button of a Command (an element's hint); empty when none.
    QString toolHint(int command) const;

    int currentTab() const;
    // Selects a tab and shows its page (emits tabChanged when it changes).
    void setCurrentTab(int tab);
    void setChooserVisible(bool visible);
    // The chooser's item; -1 shows none.
    void setChooserItem(int item);
    // "Oprav" enabled while a function tool is chosen, "Vynech" shown for the last function.
    void setFunctionButtons(bool editEnabled, bool deleteVisible);
    // Sizes the sliding panel to the rightmost button of the current page.
    void layoutElementPanel();

    QTabBar* TabSetPrvku = nullptr;
    TSestButton* SipkaButton1 = nullptr;
    QToolButton* SBPrvkyVlevo = nullptr;
    QToolButton* SBPrvkyVpravo = nullptr;
    TPosuvnyPanelSest* PanelPrvkuPosuvny = nullptr;
    QStackedWidget* NotebookPrvku = nullptr;
    QWidget* PanelCbVyberuPrvku = nullptr;
    QComboBox* CBVyberPrvku = nullptr;
    QToolButton* SBFnEdit = nullptr;
    QToolButton* SBFnInsert = nullptr;
    QToolButton* SBFnDelete = nullptr;

signals:
    void toolChosen(int command);
    void arrowChosen();
    void tabChanged(int tab);
    void chooserItemChosen(int item);
    void functionEditRequested();
    void functionAddRequested();
    void functionDeleteRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTabs();
    void buildFixedTools();
    TSestButton* addTool(int page, int command, QRect geometry, const QString& caption, const QString& hint);
    // Removes the tool buttons of a page whose Command lies in [from, to).
    void removeTools(int page, int from, int to);
    // Places the tools of a page of numbered tools side by side in command order from `left`.
    void placeNumbered(int page, int left);
    void toolClicked(TSestButton* button);
    QWidget* page(int index) const;

    QWidget* m_window = nullptr;   // the visible part of the sliding panel
};

} // namespace reports::designer
