// The new-report wizard's dialog: the columns to print, in order, and the style.
#pragma once

#include "reports/designer/wizard/NewReportGenerator.h"

#include <QDialog>
#include <QListWidget>

#include <functional>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace reports::designer {

// The target list: a press on an item and a release on another moves the first there.
class WizardTargetList : public QListWidget
{
public:
    explicit WizardTargetList(QWidget* parent) : QListWidget(parent) {}
    // Moves item `from` to position `to` (both existing items).
    void moveItem(int from, int to);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_dragged = -1;
};

// "Návrh nové předlohy". Modal results: 1 "&Navrhnout" (with at least one chosen column),
// 7 "&Ručně" (design by hand), 2 "Storno".
class TDlgNovaSestava : public QDialog
{
public:
    // `columnNames` in column order; `isByName` from the editor setting SledPodle;
    // `paperFormat` runs the settings dialog on its paper page ("&Formát papíru").
    TDlgNovaSestava(const QStringList& columnNames, bool isByName, std::function<void()> paperFormat,
                    QWidget* parent = nullptr);

    // The choice as the dialog holds it; the caller adds the page's PW and PH.
    WizardChoice choice() const;

    void IncludeBtnClick();
    void ExcludeBtnClick();
    void IncAllBtnClick();
    void ExcAllBtnClick();
    void OKBtnClick();

    QListWidget* SrcList = nullptr;
    WizardTargetList* DstList = nullptr;
    QPushButton* IncludeBtn = nullptr;
    QPushButton* IncAllBtn = nullptr;
    QPushButton* ExcludeBtn = nullptr;
    QPushButton* ExAllBtn = nullptr;
    QRadioButton* SBSloupec = nullptr;
    QRadioButton* SBRadek = nullptr;
    QCheckBox* CBPopisyPolozek = nullptr;
    QCheckBox* CBPopisyTextem = nullptr;
    QCheckBox* CBSledovatPodle = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* RucneBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

private:
    void buildLists(const QStringList& columnNames);
    void buildOptions();
    void buildButtons();
    void moveSelected(QListWidget* source, QListWidget* target);
    void moveAll(QListWidget* source, QListWidget* target);
    void SetButtons();

    std::function<void()> m_paperFormat;
};

} // namespace reports::designer
