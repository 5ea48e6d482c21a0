// The print dialog window (TSestPrintDlg): printer, page range, copies, template and options.
#pragma once

#include "reports/preview/PrintDialogTyp.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace reports {

class PrinterSystem;
class TComboBoxPredloha;
class TComboBoxPrinter;

// Edits the options of queue `index` in the system's print dialog ("Vlastnosti...").
using QueuePropertiesEditor = std::function<void(int index, QWidget* parent)>;
// The editor the dialog's properties button runs (none: the button is disabled).
void setQueuePropertiesEditor(QueuePropertiesEditor editor);

// The window behind TPrintDialogTyp::Execute; it reads the settings when created and writes
// them back through takeResults(). Modal results: 1 "Náhled", 6 "Upravit...", 8 "Tisk".
class TSestPrintDlg : public QDialog
{
public:
    TSestPrintDlg(const TPrintDialogTyp& settings, const PrinterSystem* system, QWidget* parent = nullptr);

    // The choices back into the settings (for a non-zero answer).
    void takeResults(TPrintDialogTyp& settings) const;

    TComboBoxPrinter* ComboBoxPrinter = nullptr;
    QLabel* LabelDevice = nullptr;
    QLabel* LabelPort = nullptr;
    QPushButton* BtnProperty = nullptr;
    QCheckBox* CheckBoxToFile = nullptr;
    QSpinBox* SpinEditOd = nullptr;
    QSpinBox* SpinEditDo = nullptr;
    QSpinBox* SpinEditKopie = nullptr;
    QCheckBox* CheckBoxActualPage = nullptr;
    QCheckBox* CheckBoxOneRecord = nullptr;
    TComboBoxPredloha* ComboBoxPredloha = nullptr;
    QPushButton* BtnEdit = nullptr;
    QCheckBox* CheckBoxSetDefault = nullptr;
    QPushButton* BtnPrint = nullptr;
    QPushButton* BtnPreview = nullptr;
    QPushButton* BtnCancel = nullptr;
    QCheckBox* CheckBoxPrintBackground = nullptr;
    QGroupBox* GroupBoxPrinter = nullptr;
    QGroupBox* GroupBoxPages = nullptr;
    QGroupBox* GroupBoxForm = nullptr;

private:
    void buildPrinterGroup();
    void buildPagesGroup();
    void buildTemplateGroup();
    void buildButtons();
    void apply(const TPrintDialogTyp& settings);
    void ComboBoxPrinterChange();
    void BtnPropertyClick();
    void CheckBoxActualPageClick();

    bool m_propertiesEnabled = true;
};

} // namespace reports
