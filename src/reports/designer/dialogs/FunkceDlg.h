// The user function dialog (TFunkceDlg), "Nastavení parametrů funkce", and UpravFunkci.
#pragma once

#include "reports/designer/dialogs/Sest_FnEditVyraz.h"
#include "reports/expressions/UserFunctions.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace reports::designer {

class RadioGroup;

// Edits the ten settings of one user function; the expression builder offers `lists`.
class TFunkceDlg : public QDialog
{
public:
    explicit TFunkceDlg(ExpressionLists lists, QWidget* parent = nullptr);

    // Offers "Sestavy", "Stránky" and one reset point per group, then shows the settings.
    void fill(const FunctionSettings& function, int groupCount);
    // The settings the controls hold; width and decimals that are not numbers, and choices
    // left empty, keep those of `old`.
    FunctionSettings take(const FunctionSettings& old) const;

    void CBFnTypChange();
    void SpeedButton1Click();

    QLineEdit* EditFnNaz = nullptr;
    QLineEdit* EditFnPop = nullptr;
    QComboBox* CBFnTyp = nullptr;
    QLineEdit* EditFnVyr = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QLineEdit* EditFnPoh = nullptr;
    QComboBox* CBFnPhn = nullptr;
    QStackedWidget* NotebookFormat = nullptr;   // numeric page, empty text page
    RadioGroup* RGDalZpr = nullptr;
    QComboBox* CbFnFrm = nullptr;
    QLineEdit* EditFnSir = nullptr;
    QLineEdit* EditFnDes = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

private:
    QWidget* buildNumericPage();

    ExpressionLists m_lists;
};

// Edits a copy of `function` in the function dialog. 1 when confirmed, with `function`
// rewritten; 2 otherwise, with `function` as it was.
int UpravFunkci(QWidget* owner, const ExpressionLists& lists, int groupCount, FunctionSettings& function);

} // namespace reports::designer
