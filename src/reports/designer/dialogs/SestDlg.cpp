// The template settings dialog.
#include "reports/designer/dialogs/SestDlg.h"

#include "platform/Exceptions.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"
#include "reports/designer/DesignerTypes.h"
#include "reports/designer/dialogs/DlgFormatPapiru.h"
#include "reports/model/ReportTexts.h"
#include "reports/output/PageGeometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace reports::designer {

namespace {

constexpr int numberWidth = 64;   // edits and spin boxes of numbers

// The paint box: the dialog paints it.
class PaperBox : public QWidget
{
public:
    PaperBox(QWidget* parent, std::function<void(QWidget&)> paint) : QWidget(parent), m_paint(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent*) override { m_paint(*this); }

private:
    std::function<void(QWidget&)> m_paint;
};

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* lineEdit(QWidget* parent, const char* name)
{
    return named(new QLineEdit(parent), name);
}

QLineEdit* numberEdit(QWidget* parent, const char* name)
{
    QLineEdit* e = lineEdit(parent, name);
    e->setFixedWidth(numberWidth);
    return e;
}

QLineEdit* readOnlyEdit(QWidget* parent, const char* name, const QString& text)
{
    QLineEdit* e = lineEdit(parent, name);
    e->setText(text);
    e->setReadOnly(true);
    QPalette grey = e->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    e->setPalette(grey);
    return e;
}

QSpinBox* spin(QWidget* parent, const char* name, int min, int max)
{
    auto* s = named(new QSpinBox(parent), name);
    s->setRange(min, max);
    s->setMinimumWidth(numberWidth);
    return s;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text)
{
    return named(new QCheckBox(text, parent), name);
}

// A radio group: a titled box of buttons stacked one per line.
template <size_t N>
QGroupBox* radioGroup(QWidget* parent, const char* name, const QString& caption, const std::array<QString, N>& items,
                      std::array<QRadioButton*, N>& buttons)
{
    auto* box = named(new QGroupBox(caption, parent), name);
    auto* column = new QVBoxLayout(box);
    for (size_t i = 0; i < N; ++i) {
        buttons[i] = new QRadioButton(items[i], box);
        buttons[i]->setObjectName(QString::fromLatin1(name) + QString::number(i));
        column->addWidget(buttons[i]);
    }
    return box;
}

// A page whose content keeps to its top.
QVBoxLayout* pageColumn(QWidget* page)
{
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(8, 8, 8, 8);
    return column;
}

template <size_t N>
int itemIndex(const std::array<QRadioButton*, N>& buttons)
{
    for (size_t i = 0; i < N; ++i)
        if (buttons[i]->isChecked()) return int(i);
    return -1;
}

template <size_t N>
void setItemIndex(const std::array<QRadioButton*, N>& buttons, int index)
{
    buttons[size_t(std::clamp(index, 0, int(N) - 1))]->setChecked(true);
}

// An emptied spin edit counts `empty`.
int spinValue(const QSpinBox* box, int empty)
{
    return box->cleanText().trimmed().isEmpty() ? empty : box->value();
}

// VzorTisku: white, with the pixels of equal x and y parity cyan.
QBrush printPattern()
{
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) image.setPixel(x, y, (x % 2 == y % 2) ? qRgb(0, 255, 255) : qRgb(255, 255, 255));
    return QBrush(image);
}

const std::array<QString, 5> bandNames = {
    QStringLiteral("Začátek sestavy"), QStringLiteral("Hlava stránky"), QStringLiteral("Tělo sestavy"),
    QStringLiteral("Konec sestavy"), QStringLiteral("Pata stránky")};
constexpr std::array<const char*, 5> bandBoxNames = {"CBOddZ", "CBOddH", "CBOddT", "CBOddK", "CBOddP"};
constexpr std::array<const char*, 5> bandEditNames = {"EditHZ", "EditHH", "EditHT", "EditHK", "EditHP"};

} // namespace

PaperPreview layOutPaperPreview(const ReportSettingsData& p, QSize box, const QString& bodyHeight)
{
    PaperPreview preview;
    const int w = p.orientation == 1 ? p.paperHeight : p.paperWidth;
    const int h = p.orientation == 1 ? p.paperWidth : p.paperHeight;
    const int columns = std::max(p.columns, 1);
    const int printableW = w - p.leftMargin - p.rightMargin;
    preview.paperSize = QString::number(w) + QStringLiteral(" x ") + QString::number(h);
    preview.printableSize = QString::number(printableW) + QStringLiteral(" x ")
                            + QString::number(h - p.topMargin - p.bottomMargin);
    preview.labelSize = QString::number((printableW - (columns - 1) * p.columnGap) / columns) + QStringLiteral(" x ")
                        + QString::number(txt::strToIntDef(bodyHeight, 0));
    if (w <= 0 || h <= 0) return preview;   // a user format read without a size

    const double s = w > h ? (box.width() - 3.0) / w : (box.height() - 3.0) / h;
    const auto round = [](double v) { return txt::roundHalfEven(v); };
    int x0 = round((box.width() - w * s - 3) / 2);
    int y0 = round((box.height() - h * s - 3) / 2);
    int x1 = round(w * s + x0);
    int y1 = round(h * s + y0);
    preview.sheet = QRect(x0, y0, x1 - x0, y1 - y0);
    x0 += round(p.leftMargin * s + 1);
    y0 += round(p.topMargin * s + 1);
    x1 -= round(p.rightMargin * s + 1);
    y1 -= round(p.bottomMargin * s + 1);
    preview.printable = QRect(x0, y0, x1 - x0, y1 - y0);

    const int rows = columns == 1 ? 1 : 4;
    const int cellH = (y1 - y0) / rows;
    const int cellW = (x1 - x0 + round(p.columnGap * s + 1)) / columns;
    const int gap = round(p.columnGap * s - 1);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            preview.cells.emplace_back(x0 + c * cellW, y0 + r * cellH, cellW - gap, cellH);
    return preview;
}

TSestDlg::TSestDlg(const ReportSettingsData& settings, TListFormatu& formats, const QString& iniName, QWidget* parent)
    : QDialog(parent), m_data(settings), m_formats(formats), m_iniName(iniName), m_formatEditor(&EditPaperFormat)
{
    setObjectName(QStringLiteral("SestDlg"));
    setWindowTitle(QStringLiteral("Nastavení oddílů a skupin"));
    // A list never built would be written back without the user's formats.
    if (m_formats.count() < TListFormatu::builtInCount) {
        m_formats.clear();
        m_formats.BuildPaperFormats(m_iniName);
    }
    auto* column = new QVBoxLayout(this);
    // sized by its content and not resizable, as a dialog box
    column->setSizeConstraint(QLayout::SetFixedSize);
    Notebook = named(new QStackedWidget(this), "Notebook");
    column->addWidget(Notebook);
    const std::array<void (TSestDlg::*)(QWidget*), 5> builders = {
        &TSestDlg::buildReportPage, &TSestDlg::buildPaperPage, &TSestDlg::buildRasterPage,
        &TSestDlg::buildSectionsPage, &TSestDlg::buildGroupsPage};
    for (const auto build : builders) {
        auto* page = new QWidget(Notebook);
        Notebook->addWidget(page);
        (this->*build)(page);
    }
    TabSet = named(new QTabBar(this), "TabSet");
    TabSet->setShape(QTabBar::RoundedSouth);
    TabSet->setExpanding(false);
    for (const char* tab : {"Sestava", "Papír", "Rastr", "Oddíly", "Skupiny"}) TabSet->addTab(QString::fromUtf8(tab));
    column->addWidget(TabSet);
    connect(TabSet, &QTabBar::currentChanged, this, [this] { TabSetClick(); });
    buildButtons();
    fill();
}

void TSestDlg::buildReportPage(QWidget* page)
{
    auto* g = new QGroupBox(QStringLiteral("Sestava:"), page);
    QVBoxLayout* column = pageColumn(page);
    column->addWidget(g);
    column->addStretch();
    auto* grid = new QGridLayout(g);
    const auto row = [&](int r, const QString& caption) { grid->addWidget(new QLabel(caption, g), r, 0); };
    row(0, QStringLiteral("Soubor:"));
    EReportName = readOnlyEdit(g, "EReportName", m_data.reportName);
    grid->addWidget(EReportName, 0, 1, 1, 4);
    EReportDir = readOnlyEdit(g, "EReportDir", m_data.reportDir);
    grid->addWidget(EReportDir, 1, 1, 1, 4);
    row(2, QStringLiteral("Počet tištěných kopií:"));
    ENumCopies = readOnlyEdit(g, "ENumCopies", QString::number(m_data.copies));
    grid->addWidget(ENumCopies, 2, 1);
    row(3, QStringLiteral("Tištěné stránky:"));
    EStartPage = readOnlyEdit(g, "EStartPage", QString::number(m_data.startPage));
    grid->addWidget(EStartPage, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("až"), g), 3, 2);
    EEndPage = readOnlyEdit(g, "EEndPage", QString::number(m_data.endPage));
    grid->addWidget(EEndPage, 3, 3);
    row(4, QStringLiteral("Maximální počet záznamů:"));
    EMaxRecords = readOnlyEdit(g, "EMaxRecords", QString::number(m_data.maxRecords));
    grid->addWidget(EMaxRecords, 4, 1);
    row(5, QStringLiteral("Popis:"));
    ENazev = lineEdit(g, "ENazev");
    ENazev->setMaxLength(64);
    ENazev->setMinimumWidth(240);
    grid->addWidget(ENazev, 5, 1, 1, 4);
    for (QLineEdit* e : {ENumCopies, EStartPage, EEndPage, EMaxRecords}) e->setFixedWidth(numberWidth + 16);
    grid->setColumnStretch(4, 1);
}

void TSestDlg::buildPaperPage(QWidget* page)
{
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 8, 8, 8);
    auto* preview = new QVBoxLayout;
    PaintBoxPapiru = named(new PaperBox(page, [this](QWidget& box) { paintPaper(box); }), "PaintBoxPapiru");
    PaintBoxPapiru->setFixedSize(140, 150);
    preview->addWidget(PaintBoxPapiru);
    InfoRozmer = named(new QLabel(page), "InfoRozmer");
    InfoRozmerT = named(new QLabel(page), "InfoRozmerT");
    preview->addWidget(InfoRozmer);
    preview->addWidget(InfoRozmerT);
    preview->addStretch();
    grid->addLayout(preview, 0, 0, 2, 1);

    auto* margins = new QGroupBox(QStringLiteral("Okraje papíru:"), page);
    auto* form = new QFormLayout(margins);
    SEOkrajLevy = spin(margins, "SEOkrajLevy", 0, 410);
    SEOkrajPravy = spin(margins, "SEOkrajPravy", 0, 410);
    SEOkrajHorni = spin(margins, "SEOkrajHorni", 0, 500);
    SEOkrajDolni = spin(margins, "SEOkrajDolni", 0, 500);
    form->addRow(QStringLiteral("Levý:"), SEOkrajLevy);
    form->addRow(QStringLiteral("Pravý:"), SEOkrajPravy);
    form->addRow(QStringLiteral("Horní:"), SEOkrajHorni);
    form->addRow(QStringLiteral("Dolní:"), SEOkrajDolni);
    grid->addWidget(margins, 0, 1);

    auto* division = new QGroupBox(QStringLiteral("Dělení papíru:"), page);
    auto* divisionForm = new QFormLayout(division);
    SEPocSloup = spin(division, "SEPocSloup", 1, 99);
    SEMeziSloup = spin(division, "SEMeziSloup", 0, 999);
    InfoRozmerS = named(new QLabel(division), "InfoRozmerS");
    divisionForm->addRow(QStringLiteral("Počet sloupců tisku:"), SEPocSloup);
    divisionForm->addRow(QStringLiteral("Mezera mezi sloupci:"), SEMeziSloup);
    divisionForm->addRow(QStringLiteral("Rozměr štítku:"), InfoRozmerS);
    grid->addWidget(division, 1, 1);
    // The editor's text as well as the value: an emptied box changes no value but counts.
    for (QSpinBox* box : {SEOkrajLevy, SEOkrajPravy, SEOkrajHorni, SEOkrajDolni, SEPocSloup, SEMeziSloup}) {
        connect(box, &QSpinBox::valueChanged, this, [this] { ZmenaPapiru(); });
        connect(box->findChild<QLineEdit*>(), &QLineEdit::textEdited, this, [this] { ZmenaPapiru(); });
    }
    grid->addWidget(buildFormatGroup(page), 2, 0, 1, 2);
}

QGroupBox* TSestDlg::buildFormatGroup(QWidget* page)
{
    auto* g = new QGroupBox(QStringLiteral("Formát papíru:"), page);
    auto* row = new QHBoxLayout(g);
    RGOrientace = radioGroup(g, "RGOrientace", QStringLiteral("Orientace:"),
                             std::array{QStringLiteral("na výšku"), QStringLiteral("na šířku")}, orientationButtons);
    row->addWidget(RGOrientace);
    auto* right = new QVBoxLayout;
    CBFormaty = named(new QComboBox(g), "CBFormaty");
    CBFormaty->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    right->addWidget(CBFormaty);
    auto* buttons = new QHBoxLayout;
    ButtonEditFormat = named(new QPushButton(reportText(65044), g), "ButtonEditFormat");
    ButtonInsertFormat = named(new QPushButton(QStringLiteral("Přidej"), g), "ButtonInsertFormat");
    ButtonDeleteFormat = named(new QPushButton(QStringLiteral("Vynech"), g), "ButtonDeleteFormat");
    for (QPushButton* b : {ButtonEditFormat, ButtonInsertFormat, ButtonDeleteFormat}) buttons->addWidget(b);
    right->addLayout(buttons);
    right->addStretch();
    row->addLayout(right, 1);
    ButtonDeleteFormat->setEnabled(false);
    for (QRadioButton* b : orientationButtons)
        connect(b, &QRadioButton::toggled, this, [this](bool isOn) { if (isOn) ZmenaPapiru(); });
    connect(CBFormaty, &QComboBox::activated, this, [this] { CBFormatyChange(); });
    connect(ButtonEditFormat, &QPushButton::clicked, this, [this] { ButtonEditFormatClick(); });
    connect(ButtonInsertFormat, &QPushButton::clicked, this, [this] { ButtonInsertFormatClick(); });
    connect(ButtonDeleteFormat, &QPushButton::clicked, this, [this] { ButtonDeleteFormatClick(); });
    return g;
}

void TSestDlg::buildRasterPage(QWidget* page)
{
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(8, 8, 8, 8);
    RgTypRastru = radioGroup(page, "RgTypRastru", QStringLiteral("Typ rastru"),
                             std::array{QStringLiteral("Grafický rastr"), QStringLiteral("Znakový rastr")},
                             rasterTypeButtons);
    row->addWidget(RgTypRastru, 0, Qt::AlignTop);
    NotebookRastr = named(new QStackedWidget(page), "NotebookRastr");
    row->addWidget(NotebookRastr, 1);
    auto* graphic = new QWidget(NotebookRastr);
    auto* form = new QFormLayout(graphic);
    EditRastrX = numberEdit(graphic, "EditRastrX");
    EditRastrY = numberEdit(graphic, "EditRastrY");
    form->addRow(QStringLiteral("Rastr X:"), EditRastrX);
    form->addRow(QStringLiteral("Rastr Y:"), EditRastrY);
    auto* character = new QGroupBox(QStringLiteral("Znakový rastr"), NotebookRastr);
    auto* characterColumn = new QVBoxLayout(character);
    RgRoztecZn = radioGroup(character, "RgRoztecZn", QStringLiteral("Rozteč znaků"),
                            std::array{QStringLiteral("10 znaků/palec"), QStringLiteral("12 znaků/palec"),
                                       QStringLiteral("17 znaků/palec")},
                            pitchButtons);
    RgRadkovani = radioGroup(character, "RgRadkovani", QStringLiteral("Řádkování"),
                             std::array{QStringLiteral("6 řádků/palec"), QStringLiteral("4 řádky/palec"),
                                        QStringLiteral("3 řádky/palec")},
                             spacingButtons);
    characterColumn->addWidget(RgRoztecZn);
    characterColumn->addWidget(RgRadkovani);
    characterColumn->addStretch();
    RgRadkovani->hide();
    NotebookRastr->addWidget(graphic);
    NotebookRastr->addWidget(character);
    for (QRadioButton* b : rasterTypeButtons)
        connect(b, &QRadioButton::toggled, this, [this](bool isOn) { if (isOn) RgTypRastruClick(); });
    for (auto* b : pitchButtons)
        connect(b, &QRadioButton::clicked, this, [this] { RgRadkovaniClick(); });
    for (auto* b : spacingButtons)
        connect(b, &QRadioButton::clicked, this, [this] { RgRadkovaniClick(); });
}

void TSestDlg::buildSectionsPage(QWidget* page)
{
    QVBoxLayout* column = pageColumn(page);
    auto* g = new QGroupBox(QStringLiteral("Nastavení oddílů:"), page);
    auto* grid = new QGridLayout(g);
    for (size_t i = 0; i < bandNames.size(); ++i) {
        CBOdd[i] = checkBox(g, bandBoxNames[i], bandNames[i]);
        grid->addWidget(CBOdd[i], int(i), 0);
        grid->addWidget(new QLabel(QStringLiteral("Výška:"), g), int(i), 1);
        EditH[i] = numberEdit(g, bandEditNames[i]);
        grid->addWidget(EditH[i], int(i), 2);
    }
    grid->setColumnStretch(0, 1);
    column->addWidget(g);
    connect(EditH[biBody], &QLineEdit::textChanged, this, [this] { updatePaperInfo(); });
    auto* paging = new QGroupBox(QStringLiteral("Stránkování:"), page);
    auto* pagingColumn = new QVBoxLayout(paging);
    CbNtNs = checkBox(paging, "CbNtNs", QStringLiteral("Nové tělo na novou stránku"));
    CbNsZac = checkBox(paging, "CbNsZac", QStringLiteral("Odstránkovat po začátku sestavy"));
    CbNsKon = checkBox(paging, "CbNsKon", QStringLiteral("Odstránkovat před koncem sestavy"));
    CbNePrvniHlava = checkBox(paging, "CbNePrvniHlava", QStringLiteral("Na první stránce netisknout hlavu"));
    for (QCheckBox* b : {CbNtNs, CbNsZac, CbNsKon, CbNePrvniHlava}) {
        pagingColumn->addWidget(b);
        connect(b, &QCheckBox::toggled, this, [this] { ZmenaSkupPol(); });
    }
    column->addWidget(paging);
    column->addStretch();
}

void TSestDlg::buildGroupsPage(QWidget* page)
{
    auto* g = new QGroupBox(QStringLiteral("Nastavení skupin:"), page);
    pageColumn(page)->addWidget(g);
    auto* grid = new QGridLayout(g);
    LBSkupPol = named(new QListWidget(g), "LBSkupPol");
    LBSkupPol->setFixedWidth(120);
    grid->addWidget(LBSkupPol, 0, 0, 8, 2);
    SBInsSk = named(new QPushButton(QStringLiteral("Ins"), g), "SBInsSk");
    SBDelSk = named(new QPushButton(QStringLiteral("Del"), g), "SBDelSk");
    SBDelSk->setEnabled(false);
    for (QPushButton* b : {SBInsSk, SBDelSk}) b->setMaximumWidth(58);
    grid->addWidget(SBInsSk, 8, 0);
    grid->addWidget(SBDelSk, 8, 1);
    grid->addWidget(new QLabel(QStringLiteral("Skupinová"), g), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("položka:"), g), 1, 2);
    CBSkupPol = named(new QComboBox(g), "CBSkupPol");
    CBSkupPol->setMinimumWidth(160);
    grid->addWidget(CBSkupPol, 0, 3, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Výška oddílu:"), g), 2, 3);
    CBOddS = checkBox(g, "CBOddS", QStringLiteral("Začátek"));
    EditHS = numberEdit(g, "EditHS");
    grid->addWidget(CBOddS, 3, 2);
    grid->addWidget(EditHS, 3, 3);
    CBOddU = checkBox(g, "CBOddU", QStringLiteral("Konec"));
    EditHU = numberEdit(g, "EditHU");
    grid->addWidget(CBOddU, 4, 2);
    grid->addWidget(EditHU, 4, 3);
    CBNsNs = checkBox(g, "CBNsNs", QStringLiteral("Novou skupinu na novou stránku"));
    CBSkPodle = checkBox(g, "CBSkPodle", QStringLiteral("Skupinová položka podle názvu"));
    grid->addWidget(CBNsNs, 5, 2, 1, 2);
    grid->addWidget(CBSkPodle, 6, 2, 1, 2);
    grid->setRowStretch(7, 1);   // the list grows, the controls keep together at the top
    connect(SBInsSk, &QPushButton::clicked, this, [this] { SBInsSkClick(); });
    connect(SBDelSk, &QPushButton::clicked, this, [this] { SBDelSkClick(); });
    connect(LBSkupPol, &QListWidget::currentRowChanged, this, [this] { LBSkupPolClick(); });
    connect(CBSkupPol, &QComboBox::currentIndexChanged, this, [this] { ZmenaSkupPol(); });
    for (QCheckBox* b : {CBOddS, CBOddU, CBNsNs, CBSkPodle})
        connect(b, &QCheckBox::toggled, this, [this] { ZmenaSkupPol(); });
    for (QLineEdit* e : {EditHS, EditHU})
        connect(e, &QLineEdit::textChanged, this, [this] { ZmenaSkupPol(); });
}

void TSestDlg::buildButtons()
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    OKBtn = named(new QPushButton(QStringLiteral("&Konec"), this), "OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = named(new QPushButton(QStringLiteral("Storno"), this), "CancelBtn");
    row->addWidget(OKBtn);
    row->addWidget(CancelBtn);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
}

void TSestDlg::fill()
{
    ENazev->setText(m_data.description);
    const int format = m_formats.FindOrAddFormat(m_data.paperWidth, m_data.paperHeight);
    NaplnFormaty();
    CBFormaty->setCurrentIndex(format);
    UkazPapir();
    setItemIndex(rasterTypeButtons, m_data.isCharacterRaster ? 1 : 0);
    RgTypRastruClick();
    setItemIndex(spacingButtons, m_data.lineSpacingCode);
    setItemIndex(pitchButtons, m_data.pitchCode);
    EditRastrX->setText(QString::number(m_data.rasterX));
    EditRastrY->setText(QString::number(m_data.rasterY));
    for (size_t i = 0; i < m_data.bands.size(); ++i) {
        CBOdd[i]->setChecked(m_data.bands[i].isVisible);
        EditH[i]->setText(QString::number(m_data.bands[i].height));
    }
    for (const int band : {biPageHead, biPageFoot}) {
        CBOdd[size_t(band)]->setEnabled(!m_data.skipsPageHeadAndFoot);
        EditH[size_t(band)]->setEnabled(!m_data.skipsPageHeadAndFoot);
    }
    CbNtNs->setChecked(m_data.isBodyOnNewPage);
    CbNsZac->setChecked(m_data.isBreakAfterStart);
    CbNsKon->setChecked(m_data.isBreakBeforeEnd);
    CbNePrvniHlava->setChecked(m_data.isNoHeadOnFirstPage);
    CBSkupPol->addItems(m_data.columnReferences);
    for (int g = 0; g < int(m_data.groups.size()); ++g) LBSkupPol->addItem(groupName(g));
    LBSkupPol->setCurrentRow(-1);
    updatePaperInfo();
}

QString TSestDlg::groupName(int position) const
{
    return reportText(text_id::Skupina) + u' ' + QString::number(m_data.groups[size_t(position)].index + 1);
}

void TSestDlg::selectTab(int tab)
{
    if (tab < 0 || tab >= TabSet->count()) return;
    TabSet->setCurrentIndex(tab);
    TabSetClick();
    TabSet->setEnabled(false);
}

void TSestDlg::selectGroup(int group)
{
    if (group >= 0 && group < LBSkupPol->count()) LBSkupPol->setCurrentRow(group);
}

void TSestDlg::TabSetClick()
{
    Notebook->setCurrentIndex(TabSet->currentIndex());
}

// --- paper ----------------------------------------------------------------------------------

void TSestDlg::NaplnFormaty()
{
    const QSignalBlocker blocker(CBFormaty);
    CBFormaty->clear();
    for (int i = 0; i < m_formats.count(); ++i) CBFormaty->addItem(m_formats.FormatAt(i).Nazev);
}

void TSestDlg::UkazPapir()
{
    Plneni = true;
    SEOkrajLevy->setValue(m_data.leftMargin);
    SEOkrajPravy->setValue(m_data.rightMargin);
    SEOkrajHorni->setValue(m_data.topMargin);
    SEOkrajDolni->setValue(m_data.bottomMargin);
    SEPocSloup->setValue(m_data.columns);
    SEMeziSloup->setValue(m_data.columnGap);
    setItemIndex(orientationButtons, m_data.orientation);
    Plneni = false;
}

void TSestDlg::PrevezmiFormat(const TFormatPapiru& format)
{
    m_data.paperWidth = format.Sirka;
    m_data.paperHeight = format.Vyska;
}

void TSestDlg::ZmenaPapiru()
{
    if (Plneni) return;
    m_data.orientation = std::max(itemIndex(orientationButtons), 0);
    m_data.leftMargin = spinValue(SEOkrajLevy, 0);
    m_data.rightMargin = spinValue(SEOkrajPravy, 0);
    m_data.topMargin = spinValue(SEOkrajHorni, 0);
    m_data.bottomMargin = spinValue(SEOkrajDolni, 0);
    m_data.columns = std::max(spinValue(SEPocSloup, 1), 1);
    m_data.columnGap = spinValue(SEMeziSloup, 0);
    updatePaperInfo();
}

void TSestDlg::updatePaperInfo()
{
    const PaperPreview preview = layOutPaperPreview(m_data, PaintBoxPapiru->size(), EditH[biBody]->text());
    InfoRozmer->setText(preview.paperSize);
    InfoRozmerT->setText(preview.printableSize);
    InfoRozmerS->setText(preview.labelSize);
    PaintBoxPapiru->update();
}

void TSestDlg::paintPaper(QWidget& box)
{
    const PaperPreview preview = layOutPaperPreview(m_data, box.size(), EditH[biBody]->text());
    InfoRozmer->setText(preview.paperSize);
    InfoRozmerT->setText(preview.printableSize);
    InfoRozmerS->setText(preview.labelSize);
    if (preview.sheet.isEmpty()) return;
    QPainter painter(&box);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(128, 128, 128));
    painter.drawRect(preview.sheet.translated(3, 3));
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(preview.sheet);
    painter.setPen(Qt::blue);
    painter.setBrush(printPattern());
    for (const QRect& cell : preview.cells) painter.drawRect(cell);
}

void TSestDlg::CBFormatyChange()
{
    const int index = CBFormaty->currentIndex();
    if (index < 0 || index >= m_formats.count()) return;
    PrevezmiFormat(m_formats.FormatAt(index));
    SEOkrajLevy->setMaximum(PaperWidth() / 2);
    SEOkrajPravy->setMaximum(PaperWidth() / 2);
    SEOkrajHorni->setMaximum(PaperHeight() / 2);
    SEOkrajDolni->setMaximum(PaperHeight() / 2);
    const bool isUserFormat = index >= TListFormatu::builtInCount;
    ButtonDeleteFormat->setEnabled(isUserFormat);
    ButtonEditFormat->setText(reportText(isUserFormat ? 65043 : 65044));   // "Oprav" / "Ukaž"
    ZmenaPapiru();
}

void TSestDlg::saveFormats()
{
    try {
        m_formats.SaveUserFormats(m_iniName);
    } catch (const Exception& e) {
        ui::services().messageBox(e.message(), QString(), ui::MsgType::Error, ui::Ok);
    }
}

void TSestDlg::ButtonEditFormatClick()
{
    const int index = CBFormaty->currentIndex();
    if (index < 0 || index >= m_formats.count()) return;
    TFormatPapiru format = m_formats.FormatAt(index);
    const bool isEditable = index >= TListFormatu::builtInCount;   // built-in formats are only shown
    if (m_formatEditor(format, isEditable, this) != 1 || !isEditable) return;
    m_formats.FormatAt(index) = format;
    m_formats.FormatAt(index).Nazev.truncate(TListFormatu::maxNameLength);
    saveFormats();
    NaplnFormaty();
    CBFormaty->setCurrentIndex(index);
    CBFormatyChange();
}

void TSestDlg::ButtonInsertFormatClick()
{
    const int index = CBFormaty->currentIndex();
    TFormatPapiru format{reportText(65045), 0, 0};   // "uživ. formát"
    if (index >= 0 && index < m_formats.count()) {
        format.Sirka = m_formats.FormatAt(index).Sirka;
        format.Vyska = m_formats.FormatAt(index).Vyska;
    }
    if (m_formatEditor(format, true, this) != 1) return;
    m_formats.add(format);
    saveFormats();
    NaplnFormaty();
    CBFormaty->setCurrentIndex(CBFormaty->count() - 1);
    CBFormatyChange();
}

void TSestDlg::ButtonDeleteFormatClick()
{
    const int index = CBFormaty->currentIndex();
    if (index < TListFormatu::builtInCount || index >= m_formats.count()) return;
    if (!ui::services().question(reportText(65046))) return;   // "Zrušit vybraný uživatelský formát?"
    m_formats.removeUserFormat(index);
    saveFormats();
    NaplnFormaty();
    CBFormaty->setCurrentIndex(0);
    CBFormatyChange();
}

// --- raster ---------------------------------------------------------------------------------

void TSestDlg::RgTypRastruClick()
{
    NotebookRastr->setCurrentIndex(std::max(itemIndex(rasterTypeButtons), 0));
}

void TSestDlg::RgRadkovaniClick()
{
    // Hundredths of an inch per character at 10, 12 and 17 characters per inch, and per line
    // at 6, 4 and 3 lines per inch.
    constexpr std::array<const char*, 3> pitch = {"10", "8", "6"};
    constexpr std::array<const char*, 3> spacing = {"16", "24", "32"};
    const int p = itemIndex(pitchButtons);
    if (p >= 0) EditRastrX->setText(QString::fromLatin1(pitch[size_t(p)]));
    const int s = itemIndex(spacingButtons);
    EditRastrY->setText(QString::fromLatin1(s >= 0 ? spacing[size_t(s)] : "16"));
}

// --- groups ---------------------------------------------------------------------------------

void TSestDlg::SBInsSkClick()
{
    GroupSettingsData group;
    group.index = int(m_data.groups.size());
    m_data.groups.push_back(group);
    LBSkupPol->addItem(groupName(int(m_data.groups.size()) - 1));
    LBSkupPol->setCurrentRow(LBSkupPol->count() - 1);
    LBSkupPolClick();
}

void TSestDlg::LBSkupPolClick()
{
    AktSkupina = -1;
    const int row = LBSkupPol->currentRow();
    SBDelSk->setEnabled(row >= 0 && row == int(m_data.groups.size()) - 1);
    if (row < 0 || row >= int(m_data.groups.size())) return;
    const GroupSettingsData& g = m_data.groups[size_t(row)];
    CBSkupPol->setCurrentIndex(g.item < CBSkupPol->count() ? g.item : -1);
    CBOddS->setChecked(g.isStartShown);
    CBOddU->setChecked(g.isEndShown);
    EditHS->setText(QString::number(g.startHeight));
    EditHU->setText(QString::number(g.endHeight));
    CBNsNs->setChecked(g.isNewPage);
    AktSkupina = row;
}

void TSestDlg::ZmenaSkupPol()
{
    if (AktSkupina < 0 || AktSkupina >= int(m_data.groups.size())) return;
    GroupSettingsData& g = m_data.groups[size_t(AktSkupina)];
    g.item = std::max(CBSkupPol->currentIndex(), 0);
    g.isStartShown = CBOddS->isChecked();
    g.isEndShown = CBOddU->isChecked();
    g.startHeight = txt::strToIntDef(EditHS->text(), 24);
    g.endHeight = txt::strToIntDef(EditHU->text(), 24);
    g.isNewPage = CBNsNs->isChecked();
}

void TSestDlg::SBDelSkClick()
{
    if (m_data.groups.empty()) return;
    if (!ui::services().question(reportText(65042))) return;
    const QSignalBlocker blocker(LBSkupPol);
    m_data.groups.pop_back();
    delete LBSkupPol->takeItem(LBSkupPol->count() - 1);
    LBSkupPol->setCurrentRow(-1);
    AktSkupina = -1;
    SBDelSk->setEnabled(false);
}

// --- closing --------------------------------------------------------------------------------

bool TSestDlg::FormCloseQuery()
{
    if (itemIndex(rasterTypeButtons) == 1) return true;   // the character raster is not checked
    ReportSettingsData& p = m_data;
    if (MarginsWithinPrintableArea(p.orientation, p.leftMargin, p.topMargin, p.rightMargin, p.bottomMargin))
        return true;
    switch (ui::services().messageBox(reportText(65047), QStringLiteral("Potvrzení"), ui::MsgType::Confirmation,
                                      ui::YesNoCancel)) {
    case ui::Answer::Yes:
        AdjustMarginsToPrinter(p.leftMargin, p.topMargin, p.rightMargin, p.bottomMargin);
        UkazPapir();
        updatePaperInfo();
        return true;
    case ui::Answer::No:
        return true;
    default:
        return false;
    }
}

void TSestDlg::OKBtnClick()
{
    if (FormCloseQuery()) done(1);
}

ReportSettingsData TSestDlg::settings() const
{
    ReportSettingsData r = m_data;
    r.description = ENazev->text();
    r.isCharacterRaster = itemIndex(rasterTypeButtons) == 1;
    r.lineSpacingCode = std::max(itemIndex(spacingButtons), 0);
    r.pitchCode = std::max(itemIndex(pitchButtons), 0);
    r.rasterX = txt::strToIntDef(EditRastrX->text(), 8);
    r.rasterY = txt::strToIntDef(EditRastrY->text(), 8);
    for (size_t i = 0; i < r.bands.size(); ++i) {
        r.bands[i].isVisible = CBOdd[i]->isChecked();
        r.bands[i].height = txt::strToIntDef(EditH[i]->text(), m_data.bands[i].height);
    }
    r.isBodyOnNewPage = CbNtNs->isChecked();
    r.isBreakAfterStart = CbNsZac->isChecked();
    r.isBreakBeforeEnd = CbNsKon->isChecked();
    r.isNoHeadOnFirstPage = CbNePrvniHlava->isChecked();
    return r;
}

std::optional<ReportSettingsData> ShowSettingsDialog(const ReportSettingsData& settings, TListFormatu& formats,
                                                     const QString& iniName, int tab, int group, QWidget* parent)
{
    TSestDlg dialog(settings, formats, iniName, parent);
    dialog.selectTab(tab);
    dialog.selectGroup(group);
    if (dialog.exec() != 1) return std::nullopt;
    return dialog.settings();
}

} // namespace reports::designer
