// The template settings dialog: report identity, paper, raster, sections and groups.
#pragma once

#include "reports/output/PaperFormats.h"

#include <QDialog>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabBar;

namespace reports::designer {

// One group as the dialog shows it (record I,4).
struct GroupSettingsData {
    int index = 0;            // the group's number, written back as read
    int item = 0;             // the group column: index into the dialog's column list
    bool isStartShown = false;
    int startHeight = 24;
    bool isEndShown = false;
    int endHeight = 24;
    bool isNewPage = false;   // a new group starts a new page
};

struct BandSettingsData {
    bool isVisible = true;
    int height = 0;
};

// Everything the dialog shows and gives back; lengths in hundredths of an inch.
struct ReportSettingsData {
    // "Sestava": shown only, except the description.
    QString reportName;
    QString reportDir;
    int copies = 1;
    int startPage = 1;
    int endPage = 0;
    int maxRecords = 0;
    QString description;      // Popis (record I,0)
    // "Papír": the format sizes as stored (portrait); the shown paper swaps them in landscape.
    int orientation = 0;      // 0 portrait, 1 landscape
    int paperWidth = 826;
    int paperHeight = 1169;
    int leftMargin = 50;
    int rightMargin = 50;
    int topMargin = 70;
    int bottomMargin = 70;
    int columns = 1;          // body columns, 1 or more
    int columnGap = 0;
    // "Rastr".
    bool isCharacterRaster = false;
    int rasterX = 8;
    int rasterY = 8;
    int lineSpacingCode = 0;  // 6, 4, 3 lines per inch
    int pitchCode = 1;        // 10, 12, 17 characters per inch
    // "Oddíly": bands 0-4 and the report's paging flags.
    bool skipsPageHeadAndFoot = false;   // shown only: head and foot cannot be set
    std::array<BandSettingsData, 5> bands;
    bool isBodyOnNewPage = false;        // CbNtNs
    bool isBreakAfterStart = false;      // CbNsZac
    bool isBreakBeforeEnd = false;       // CbNsKon
    bool isNoHeadOnFirstPage = false;    // CbNePrvniHlava
    // "Skupiny".
    QStringList columnReferences;        // the group column choices (shown only)
    std::vector<GroupSettingsData> groups;
};

// The paper preview's drawing, from the dialog's paper state and the paint box size.
struct PaperPreview {
    QRect sheet;
    QRect printable;
    std::vector<QRect> cells;
    QString paperSize;        // InfoRozmer
    QString printableSize;    // InfoRozmerT
    QString labelSize;        // InfoRozmerS
};
// A body height that is not a number counts 0.
PaperPreview layOutPaperPreview(const ReportSettingsData& paper, QSize box, const QString& bodyHeight);

// Runs the format dialog on a format; answers its modal result (1 OK).
using PaperFormatEditor = std::function<int(TFormatPapiru& format, bool isEditable, QWidget* parent)>;

// "Nastavení oddílů a skupin". Works on its own copy of the settings; the caller takes
// settings() after "&Konec" (modal result 1) and applies it as one step. "Storno" leaves the
// copy unused. User paper formats are the exception: each change goes to the format list and
// to section FormatyPapiru of `iniName` at once.
class TSestDlg : public QDialog
{
public:
    TSestDlg(const ReportSettingsData& settings, TListFormatu& formats, const QString& iniName,
             QWidget* parent = nullptr);

    // Opens on page `tab` (0 "Sestava" ... 4 "Skupiny") with the tab set disabled.
    void selectTab(int tab);
    // Selects group `group` of the list, as a click would.
    void selectGroup(int group);
    // The format dialog the format buttons run (tests replace it).
    void setPaperFormatEditor(PaperFormatEditor editor) { m_formatEditor = std::move(editor); }

    // The settings as the dialog holds them now.
    ReportSettingsData settings() const;

    // Handlers the controls call.
    void TabSetClick();
    void SBInsSkClick();
    void SBDelSkClick();
    void LBSkupPolClick();
    void ZmenaSkupPol();
    void ZmenaPapiru();
    void CBFormatyChange();
    void ButtonEditFormatClick();
    void ButtonInsertFormatClick();
    void ButtonDeleteFormatClick();
    void RgTypRastruClick();
    void RgRadkovaniClick();
    // The margin check of closing with "&Konec"; false keeps the dialog open.
    bool FormCloseQuery();

    QTabBar* TabSet = nullptr;
    QStackedWidget* Notebook = nullptr;
    QLineEdit* EReportName = nullptr;
    QLineEdit* EReportDir = nullptr;
    QLineEdit* ENumCopies = nullptr;
    QLineEdit* EStartPage = nullptr;
    QLineEdit* EEndPage = nullptr;
    QLineEdit* EMaxRecords = nullptr;
    QLineEdit* ENazev = nullptr;
    QWidget* PaintBoxPapiru = nullptr;
    QLabel* InfoRozmer = nullptr;
    QLabel* InfoRozmerT = nullptr;
    QLabel* InfoRozmerS = nullptr;
    QSpinBox* SEOkrajLevy = nullptr;
    QSpinBox* SEOkrajPravy = nullptr;
    QSpinBox* SEOkrajHorni = nullptr;
    QSpinBox* SEOkrajDolni = nullptr;
    QSpinBox* SEPocSloup = nullptr;
    QSpinBox* SEMeziSloup = nullptr;
    QGroupBox* RGOrientace = nullptr;
    std::array<QRadioButton*, 2> orientationButtons{};
    QComboBox* CBFormaty = nullptr;
    QPushButton* ButtonEditFormat = nullptr;
    QPushButton* ButtonInsertFormat = nullptr;
    QPushButton* ButtonDeleteFormat = nullptr;
    QGroupBox* RgTypRastru = nullptr;
    std::array<QRadioButton*, 2> rasterTypeButtons{};
    QStackedWidget* NotebookRastr = nullptr;
    QLineEdit* EditRastrX = nullptr;
    QLineEdit* EditRastrY = nullptr;
    QGroupBox* RgRoztecZn = nullptr;
    std::array<QRadioButton*, 3> pitchButtons{};
    QGroupBox* RgRadkovani = nullptr;
    std::array<QRadioButton*, 3> spacingButtons{};
    std::array<QCheckBox*, 5> CBOdd{};      // CBOddZ, CBOddH, CBOddT, CBOddK, CBOddP
    std::array<QLineEdit*, 5> EditH{};      // EditHZ, EditHH, EditHT, EditHK, EditHP
    QCheckBox* CbNtNs = nullptr;
    QCheckBox* CbNsZac = nullptr;
    QCheckBox* CbNsKon = nullptr;
    QCheckBox* CbNePrvniHlava = nullptr;
    QListWidget* LBSkupPol = nullptr;
    QPushButton* SBInsSk = nullptr;
    QPushButton* SBDelSk = nullptr;
    QComboBox* CBSkupPol = nullptr;
    QCheckBox* CBOddS = nullptr;
    QLineEdit* EditHS = nullptr;
    QCheckBox* CBOddU = nullptr;
    QLineEdit* EditHU = nullptr;
    QCheckBox* CBNsNs = nullptr;
    QCheckBox* CBSkPodle = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    void buildReportPage(QWidget* page);
    void buildPaperPage(QWidget* page);
    QGroupBox* buildFormatGroup(QWidget* page);
    void buildRasterPage(QWidget* page);
    void buildSectionsPage(QWidget* page);
    void buildGroupsPage(QWidget* page);
    void buildButtons();
    void fill();
    void NaplnFormaty();
    void UkazPapir();
    void PrevezmiFormat(const TFormatPapiru& format);
    void updatePaperInfo();
    void paintPaper(QWidget& box);
    void saveFormats();
    QString groupName(int position) const;
    void OKBtnClick();

    ReportSettingsData m_data;    // the dialog's copy; groups change here only
    TListFormatu& m_formats;
    QString m_iniName;
    PaperFormatEditor m_formatEditor;
    int AktSkupina = -1;          // position of the group shown, -1 none
    bool Plneni = false;          // the dialog writes its own paper controls
};

// Shows the dialog (on page `tab` when 0 or more) and answers the settings after "&Konec",
// nothing after "Storno".
std::optional<ReportSettingsData> ShowSettingsDialog(const ReportSettingsData& settings, TListFormatu& formats,
                                                     const QString& iniName, int tab = -1, int group = -1,
                                                     QWidget* parent = nullptr);

} // namespace reports::designer
