// The editor settings dialog (TSestKonfigDlg), "Prostředí editoru sestav".
#pragma once

#include "reports/designer/settings/NastaveniEditoru.h"
#include "reports/model/ReportFont.h"

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;

namespace reports::designer {

// Runs the system's printer setup; none leaves "&Tiskárna.." disabled.
using PrinterSetup = std::function<void(QWidget* parent)>;
// The printer setup of the installed printer system (QPrintDialog on the selected printer),
// or none when the system has no printer.
PrinterSetup systemPrinterSetup();

// Shows and edits an editor settings record. "&Konec" checks every numeric box first: one
// that does not hold a number is named in a message and the dialog stays with the record
// unchanged; otherwise the record takes the controls and is written to the settings file
// (a failed write is shown, and the dialog stays). "Storno" writes nothing.
class TSestKonfigDlg : public QDialog
{
public:
    TSestKonfigDlg(const NastaveniEditoru& settings, const QString& iniName = EditorSettingsFile,
                   PrinterSetup printerSetup = {}, QWidget* parent = nullptr);

    // The record as the dialog holds it: the given one, after "&Konec" the edited one.
    const NastaveniEditoru& Nastaveni() const { return m_settings; }

    // The edited and written record on "&Konec", nothing on "Storno".
    static std::optional<NastaveniEditoru> Execute(const NastaveniEditoru& settings,
                                                   const QString& iniName = EditorSettingsFile,
                                                   PrinterSetup printerSetup = systemPrinterSetup(),
                                                   QWidget* parent = nullptr);

    // Sizes and aligns the sample label from the width, height and alignment boxes; a box
    // that does not hold a number leaves its dimension.
    void ImplChange();
    void SBPismoClick();
    void OKBtnClick();

    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;
    QPushButton* BitBtn1 = nullptr;           // "&Tiskárna.."
    QTabBar* TabSet = nullptr;
    QStackedWidget* Notebook = nullptr;
    QCheckBox* CBZobrRastr = nullptr;
    QCheckBox* CBZarovRastr = nullptr;
    QLineEdit* EditRastrX = nullptr;
    QLineEdit* EditRastrY = nullptr;
    QCheckBox* CBMazaniJedne = nullptr;
    QCheckBox* CBMazaniVice = nullptr;
    QCheckBox* CBUndoSave = nullptr;
    QLineEdit* EditPocetUndo = nullptr;
    QCheckBox* CBVyberZeSeznamu = nullptr;
    QLineEdit* EImplW = nullptr;
    QLineEdit* EImplH = nullptr;
    QComboBox* CBZarov = nullptr;
    QPushButton* SBPismo = nullptr;
    QFrame* PanelUkazky = nullptr;
    QLabel* SesLabel = nullptr;
    QCheckBox* CBSledPodle = nullptr;

private:
    QWidget* buildEditorPage();
    QWidget* buildDefaultsPage();
    QWidget* buildAboutPage();
    void fill();
    // The first numeric box that does not hold a number, null when all do.
    QLineEdit* badNumber() const;

    NastaveniEditoru m_settings;
    ReportFont m_sampleFont;
    QString m_iniName;
    PrinterSetup m_printerSetup;
};

} // namespace reports::designer
