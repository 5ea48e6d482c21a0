// The font dialog and its shared font controls.
#include "reports/designer/dialogs/VFontDlg.h"

#include "platform/paint/Paint.h"
#include "platform/text/Numbers.h"
#include "reports/model/ReportTables.h"
#include "reports/output/Canvas.h"
#include "reports/output/Printer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <array>

namespace reports::designer {

namespace {

constexpr int defaultSize = 12;
constexpr std::array<int, 16> offeredSizes = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 28, 36, 48};
// Names of CharsetTable's sets, in its order.
constexpr std::array<const char*, 8> scriptNames = {
    "Západní", "Řecké", "Turecké", "Baltské", "Středoevropské", "Cyrilice", "Symbol", "Výchozí"};
static_assert(scriptNames.size() == CharsetTable.size());

QCheckBox* styleBox(QWidget* parent, const char* name, const QString& text)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QComboBox* comboBox(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

QPushButton* dialogButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QPushButton* hiddenHelpButton(QWidget* parent)
{
    QPushButton* help = dialogButton(parent, "HelpBtn", QStringLiteral("&Nápověda"));
    help->setVisible(false);
    return help;
}

QFont sampleFont(const ReportFont& font, const QWidget& widget)
{
    const double dpi = widget.logicalDpiY();
    return paint::makeFont(deviceFont(font), dpi, dpi);
}

void showSampleFont(QLabel& label, const ReportFont& font)
{
    label.setFont(sampleFont(font, label));
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, paint::toQColor(font.Color));
    label.setPalette(palette);
}

RadioGroup::RadioGroup(const char* name, const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), m_buttons(new QButtonGroup(this))
{
    setObjectName(QLatin1String(name));
    auto* column = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], this);
        m_buttons->addButton(radio, i);
        column->addWidget(radio);
    }
}

int RadioGroup::itemIndex() const
{
    return m_buttons->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton* b = m_buttons->button(index)) b->setChecked(true);
    else if (QAbstractButton* checked = m_buttons->checkedButton()) {
        m_buttons->setExclusive(false);
        checked->setChecked(false);
        m_buttons->setExclusive(true);
    }
}

FontChooser::FontChooser(QWidget* parent) : QWidget(parent)
{
    CBPisma = comboBox(this, "CBPisma");
    CBVyska = comboBox(this, "CBVyska");
    CBVyska->setEditable(true);
    CBBarva = comboBox(this, "CBBarva");
    CbSkript = comboBox(this, "CbSkript");
    CbSkript->setEnabled(true);
    CBBold = styleBox(this, "CBBold", QStringLiteral("Tučné"));
    CBItalic = styleBox(this, "CBItalic", QStringLiteral("Kurzíva"));
    CbUnderline = styleBox(this, "CbUnderline", QStringLiteral("Podtržení"));
    CBStrikeout = styleBox(this, "CBStrikeout", QStringLiteral("Přeškrtnutí"));
    LabelUkazkaF = new QLabel(FontSampleText, this);
    LabelUkazkaF->setObjectName(QStringLiteral("LabelUkazkaF"));
    LabelUkazkaF->setAlignment(Qt::AlignCenter);
    LabelUkazkaF->setMinimumSize(200, 60);
    fillLists();

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Typ písma:"), this), 0, 0);
    grid->addWidget(CBPisma, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Velikost:"), this), 0, 1);
    grid->addWidget(CBVyska, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Barva:"), this), 2, 0);
    grid->addWidget(CBBarva, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("Skript:"), this), 2, 1);
    grid->addWidget(CbSkript, 3, 1);
    auto* styles = new QVBoxLayout;
    for (QCheckBox* box : {CBBold, CBItalic, CbUnderline, CBStrikeout}) styles->addWidget(box);
    grid->addLayout(styles, 0, 2, 4, 1);
    grid->addWidget(LabelUkazkaF, 4, 0, 1, 3);

    connect(CBPisma, &QComboBox::currentIndexChanged, this, [this] { CBPismaChange(); });
    connect(CBVyska, &QComboBox::currentTextChanged, this, [this] { CBPismaChange(); });
    connect(CBBarva, &QComboBox::currentIndexChanged, this, [this] { CBPismaChange(); });
    connect(CbSkript, &QComboBox::currentIndexChanged, this, [this] { CBPismaChange(); });
    for (QCheckBox* box : {CBBold, CBItalic, CbUnderline, CBStrikeout})
        connect(box, &QCheckBox::toggled, this, [this] { CBPismaChange(); });
}

void FontChooser::fillLists()
{
    CBPisma->addItems(FillPrinterFonts());
    for (int size : offeredSizes) CBVyska->addItem(QString::number(size));
    for (uint32_t color : ColorIndexTable) {
        QPixmap swatch(24, 12);
        swatch.fill(paint::toQColor(color));
        CBBarva->addItem(QIcon(swatch), QString());
    }
    for (const char* name : scriptNames) CbSkript->addItem(QString::fromUtf8(name));
}

void FontChooser::selectName(const QString& name)
{
    int at = CBPisma->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at < 0) {
        // Templates move between offices: a face missing here is offered as written.
        CBPisma->insertItem(0, name);
        at = 0;
    }
    CBPisma->setCurrentIndex(at);
}

void FontChooser::setFont(const ReportFont& font)
{
    {
        const QSignalBlocker b1(CBPisma), b2(CBVyska), b3(CBBarva), b4(CbSkript);
        const QSignalBlocker b5(CBBold), b6(CBItalic), b7(CbUnderline), b8(CBStrikeout);
        selectName(font.Name);
        CBVyska->setCurrentText(QString::number(font.Size));
        CBBarva->setCurrentIndex(ColorIndex(font.Color));
        m_readScriptIndex = CharsetIndex(font.Charset);
        m_readCharset = font.Charset;
        CbSkript->setCurrentIndex(m_readScriptIndex);
        CBBold->setChecked(font.isBold());
        CBItalic->setChecked(font.isItalic());
        CbUnderline->setChecked(font.isUnderline());
        CBStrikeout->setChecked(font.isStrikeOut());
    }
    m_pismo = font;
    CBPismaChange();
}

void FontChooser::CBPismaChange()
{
    if (CBPisma->currentIndex() >= 0) m_pismo.Name = CBPisma->currentText();
    m_pismo.Size = txt::strToIntDef(CBVyska->currentText(), defaultSize);
    m_pismo.Style = (CBBold->isChecked() ? FontBold : 0) | (CBItalic->isChecked() ? FontItalic : 0)
                    | (CbUnderline->isChecked() ? FontUnderline : 0) | (CBStrikeout->isChecked() ? FontStrikeOut : 0);
    if (CBBarva->currentIndex() >= 0) m_pismo.Color = ColorByIndex(CBBarva->currentIndex());
    const int script = CbSkript->currentIndex();
    if (script >= 0) m_pismo.Charset = script == m_readScriptIndex ? m_readCharset : CharsetByIndex(script);

    ReportFont shown = m_pismo;
    MapPrinterFont(shown);
    showSampleFont(*LabelUkazkaF, shown);
    if (shown.Size != m_pismo.Size) {
        m_pismo.Size = shown.Size;
        const QSignalBlocker blocker(CBVyska);
        CBVyska->setCurrentText(QString::number(shown.Size));
    }
}

TVFontDlg::TVFontDlg(const ReportFont& font, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("VFontDlg"));
    setWindowTitle(QStringLiteral("Volba typu písma"));
    Chooser = new FontChooser(this);
    OKBtn = dialogButton(this, "OKBtn", QStringLiteral("OK"));
    OKBtn->setDefault(true);
    CancelBtn = dialogButton(this, "CancelBtn", QStringLiteral("Storno"));
    HelpBtn = hiddenHelpButton(this);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {OKBtn, CancelBtn, HelpBtn}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Chooser);
    layout->addLayout(buttons);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    Chooser->setFont(font);
}

std::optional<ReportFont> TVFontDlg::Execute(const ReportFont& font, QWidget* parent)
{
    TVFontDlg dialog(font, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Pismo();
}

} // namespace reports::designer
