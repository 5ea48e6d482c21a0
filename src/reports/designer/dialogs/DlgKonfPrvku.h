// The element dialog (TDlgKonfPrvku), "Nastavení vlastností prvku", and the data it edits.
#pragma once

#include "reports/expressions/UserFunctions.h"
#include "reports/model/ReportFont.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QToolButton;

namespace reports::designer {

class FontChooser;
class RadioGroup;

// One textual element (kinds 1 to 6) as the element dialog shows it, with what the dialog
// needs of the report. The dialog returns it changed; the report parts are input only,
// except the user functions, which "Funkce ..." may edit.
struct ElementDialogData
{
    // The element.
    int Kind = 1;
    int Reference = 0;            // column, parameter, variable or function index
    bool ByName = false;          // follows its column or function by name
    ReportFont Font;
    int Alignment = 0;            // 0 left, 1 right, 2 centre
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Roztec = 0;               // the element's further integer value, shown as is
    std::array<bool, 4> Ramecek{};  // frame lines: left, top, right, bottom
    bool WordWrap = false;        // the options of a column value (kind 2)
    bool Justify = false;
    bool VariableHeight = false;
    bool Rtf = false;
    bool Stretch = false;
    bool KeepAspect = false;
    QString Text;                 // carried unchanged
    // The report.
    QStringList Columns;          // column names
    std::vector<int> ColumnTypes; // data type of each column (15 blob, 16 memo, 17 graphic)
    int ParameterCount = 0;
    int GroupCount = 0;
    bool SledPodle = false;       // the editor setting, for the function dialog
    std::vector<FunctionSettings> Functions;

    bool operator==(const ElementDialogData&) const = default;
};

// Shows an element's font, position, reference, options and frame, and gives them back.
// Only kind 2 takes options back (those of the page shown); kind 4 keeps its reference.
class TDlgKonfPrvku : public QDialog
{
public:
    // Pages of NotebookDalsi.
    enum DalsiPage : int { pgText = 0, pgDbMemo = 1, pgDbGraphic = 2, pgPromenna = 3, pgFunkce = 4 };

    explicit TDlgKonfPrvku(const ElementDialogData& data, QWidget* parent = nullptr);

    // An element whose column or function no longer exists cannot be edited.
    static bool IsValid(const ElementDialogData& data);
    // The reference list of a kind: column, variable or function texts; empty for 1 and 4.
    static QStringList ReferenceTexts(const ElementDialogData& data);
    // The options page a column's data type selects.
    static DalsiPage PageOfColumnType(int type);

    // The element as the controls hold it.
    ElementDialogData Data() const;

    // The edited element on OK; nothing on cancel or for an invalid element (not shown).
    static std::optional<ElementDialogData> Execute(const ElementDialogData& data, QWidget* parent = nullptr);

    void CbIndexChange();
    void CBRtfClick();
    void TabSetChange(int index);
    void SBFunkceClick();

    QTabBar* TabSet = nullptr;
    QStackedWidget* Notebook = nullptr;
    QLineEdit* EdL = nullptr;
    QLineEdit* EdH = nullptr;
    QLineEdit* EdS = nullptr;
    QLineEdit* EdV = nullptr;
    QComboBox* CBZarovnani = nullptr;
    QLineEdit* ERoztec = nullptr;
    QComboBox* CbIndex = nullptr;
    QLineEdit* EdTyp = nullptr;
    RadioGroup* RGPodle = nullptr;
    QStackedWidget* NotebookDalsi = nullptr;
    QCheckBox* CbPretahSl1 = nullptr;
    QCheckBox* CBZarBlok1 = nullptr;
    QCheckBox* CBPromenVys1 = nullptr;
    QCheckBox* CBPretahSl = nullptr;
    QCheckBox* CBZarBlok = nullptr;
    QCheckBox* CBPromenVys = nullptr;
    QCheckBox* CBRtf = nullptr;
    QCheckBox* CBStretch = nullptr;
    QCheckBox* CBPomerStr = nullptr;
    QPushButton* SBFunkce = nullptr;
    std::array<QToolButton*, 4> SBCarT{};   // SBCarT1 .. SBCarT4
    FontChooser* Pismo = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

private:
    QWidget* buildBasicPage();
    QWidget* buildTypeGroup();
    QWidget* buildOptions();
    QWidget* buildFrameGroup();
    void fill();

    ElementDialogData m_data;
};

} // namespace reports::designer
