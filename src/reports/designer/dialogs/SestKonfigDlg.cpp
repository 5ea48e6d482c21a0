// The editor settings dialog.
#include "reports/designer/dialogs/SestKonfigDlg.h"

#include "platform/Exceptions.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"
#include "reports/designer/dialogs/VFontDlg.h"
#include "reports/model/ReportTables.h"
#include "reports/output/Printer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

namespace reports::designer {

namespace {

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLineEdit* numberEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaximumWidth(80);
    return edit;
}

// The label a numeric box carries in the dialog, for the message on a bad value.
QString boxCaption(const QLineEdit* edit)
{
    return edit->property("caption").toString();
}

void setCaption(QLineEdit* edit, const QString& caption)
{
    edit->setProperty("caption", caption);
}

bool holdsNumber(const QLineEdit* edit)
{
    int32_t value = 0;
    return txt::tryStrToInt(edit->text(), value);
}

} // namespace

PrinterSetup systemPrinterSetup()
{
    const PrinterSystem* system = printerSystem();
    if (!system || system->printerNames().isEmpty()) return {};
    return [](QWidget* parent) {
        const PrinterSystem* system = printerSystem();
        if (!system) return;
        const QStringList names = system->printerNames();
        QPrinter printer;
        const Printer* selected = selectedPrinter();
        if (selected) printer.setPrinterName(selected->name());
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted) return;
        const qsizetype index = names.indexOf(printer.printerName());
        if (index >= 0) SelectPrinter(int(index));
    };
}

TSestKonfigDlg::TSestKonfigDlg(const NastaveniEditoru& settings, const QString& iniName,
                               PrinterSetup printerSetup, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_iniName(iniName), m_printerSetup(std::move(printerSetup))
{
    setObjectName(QStringLiteral("SestKonfigDlg"));
    setWindowTitle(QStringLiteral("Prostředí editoru sestav"));
    Notebook = new QStackedWidget(this);
    Notebook->setObjectName(QStringLiteral("Notebook"));
    TabSet = new QTabBar(this);
    TabSet->setObjectName(QStringLiteral("TabSet"));
    TabSet->setShape(QTabBar::RoundedSouth);
    Notebook->addWidget(buildEditorPage());
    TabSet->addTab(QStringLiteral("Prostředí editoru"));
    Notebook->addWidget(buildDefaultsPage());
    TabSet->addTab(QStringLiteral("Předvolené hodnoty"));
    Notebook->addWidget(buildAboutPage());
    TabSet->addTab(QStringLiteral("O programu"));
    connect(TabSet, &QTabBar::currentChanged, Notebook, &QStackedWidget::setCurrentIndex);

    OKBtn = dialogButton(this, "OKBtn", QStringLiteral("&Konec"));
    OKBtn->setDefault(true);
    CancelBtn = dialogButton(this, "CancelBtn", QStringLiteral("Storno"));
    HelpBtn = hiddenHelpButton(this);
    BitBtn1 = dialogButton(this, "BitBtn1", QStringLiteral("&Tiskárna.."));
    BitBtn1->setEnabled(bool(m_printerSetup));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {OKBtn, CancelBtn, HelpBtn, BitBtn1}) buttons->addWidget(b);
    buttons->addStretch();
    auto* pages = new QVBoxLayout;
    pages->addWidget(Notebook);
    pages->addWidget(TabSet);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(pages);
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        if (m_printerSetup) m_printerSetup(this);
    });
    connect(SBPismo, &QPushButton::clicked, this, [this] { SBPismoClick(); });
    connect(CBZarov, &QComboBox::currentIndexChanged, this, [this] { ImplChange(); });
    connect(EImplW, &QLineEdit::textChanged, this, [this] { ImplChange(); });
    connect(EImplH, &QLineEdit::textChanged, this, [this] { ImplChange(); });
    fill();
}

QWidget* TSestKonfigDlg::buildEditorPage()
{
    auto* group = new QGroupBox(QStringLiteral("Prostředí editoru:"));
    CBZobrRastr = checkBox(group, "CBZobrRastr", QStringLiteral("Zobrazovat rastr"));
    CBZarovRastr = checkBox(group, "CBZarovRastr", QStringLiteral("Zarovnávat do rastru"));
    EditRastrX = numberEdit(group, "EditRastrX");
    setCaption(EditRastrX, QStringLiteral("Rastr X:"));
    EditRastrY = numberEdit(group, "EditRastrY");
    setCaption(EditRastrY, QStringLiteral("Rastr Y:"));
    CBMazaniJedne = checkBox(group, "CBMazaniJedne", QStringLiteral("Potvrdit mazání jedné položky"));
    CBMazaniVice = checkBox(group, "CBMazaniVice", QStringLiteral("Potvrdit mazání více položek"));
    CBUndoSave = checkBox(group, "CBUndoSave", QStringLiteral("Sledovat změny i po uložení na disk"));
    EditPocetUndo = numberEdit(group, "EditPocetUndo");
    setCaption(EditPocetUndo, QStringLiteral("Maximální počet kroků sledování změn:"));
    CBVyberZeSeznamu = checkBox(group, "CBVyberZeSeznamu", QStringLiteral("Vybírat položky tabulky ze seznamu"));
    auto* form = new QFormLayout(group);
    form->addRow(CBZobrRastr);
    form->addRow(CBZarovRastr);
    form->addRow(boxCaption(EditRastrX), EditRastrX);
    form->addRow(boxCaption(EditRastrY), EditRastrY);
    form->addRow(CBMazaniJedne);
    form->addRow(CBMazaniVice);
    form->addRow(CBUndoSave);
    form->addRow(boxCaption(EditPocetUndo), EditPocetUndo);
    form->addRow(CBVyberZeSeznamu);
    return group;
}

QWidget* TSestKonfigDlg::buildDefaultsPage()
{
    auto* group = new QGroupBox(QStringLiteral("Počáteční vlastnosti vkládaných položek:"));
    EImplW = numberEdit(group, "EImplW");
    setCaption(EImplW, QStringLiteral("Šířka položky:"));
    EImplH = numberEdit(group, "EImplH");
    setCaption(EImplH, QStringLiteral("Výška položky:"));
    CBZarov = new QComboBox(group);
    CBZarov->setObjectName(QStringLiteral("CBZarov"));
    CBZarov->addItems({QStringLiteral("Vlevo"), QStringLiteral("Vpravo"), QStringLiteral("Uprostřed")});
    SBPismo = dialogButton(group, "SBPismo", QStringLiteral("Předvolené písmo ..."));
    PanelUkazky = new QFrame(group);
    PanelUkazky->setObjectName(QStringLiteral("PanelUkazky"));
    PanelUkazky->setFixedSize(320, 120);
    PanelUkazky->setFrameShape(QFrame::Panel);
    PanelUkazky->setAutoFillBackground(true);
    PanelUkazky->setPalette(QPalette(Qt::white, Qt::white));
    SesLabel = new QLabel(QStringLiteral("ÁBČDábčd"), PanelUkazky);
    SesLabel->setObjectName(QStringLiteral("SesLabel"));
    CBSledPodle = checkBox(group, "CBSledPodle", QStringLiteral("Sledovat podle názvu"));
    auto* form = new QFormLayout(group);
    form->addRow(boxCaption(EImplW), EImplW);
    form->addRow(boxCaption(EImplH), EImplH);
    form->addRow(QStringLiteral("Zarovnání textu:"), CBZarov);
    form->addRow(SBPismo);
    form->addRow(PanelUkazky);
    form->addRow(CBSledPodle);
    return group;
}

QWidget* TSestKonfigDlg::buildAboutPage()
{
    const QString version = QCoreApplication::applicationVersion();
    auto* label = new QLabel(QStringLiteral("Generátor sestav") + (version.isEmpty() ? QString() : QStringLiteral(", verze ") + version));
    label->setObjectName(QStringLiteral("LabelVerze"));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void TSestKonfigDlg::fill()
{
    const NastaveniEditoru& s = m_settings;
    EditRastrX->setText(QString::number(s.RastrX));
    EditRastrY->setText(QString::number(s.RastrY));
    EditPocetUndo->setText(QString::number(s.PocetUndo));
    CBZobrRastr->setChecked(s.RastrZobrazovat);
    CBZarovRastr->setChecked(s.RastrZarovnavat);
    CBMazaniJedne->setChecked(s.MazaniJedne);
    CBMazaniVice->setChecked(s.MazaniVice);
    CBUndoSave->setChecked(s.UndoSave);
    CBVyberZeSeznamu->setChecked(s.VybSezna);
    CBSledPodle->setChecked(s.SledPodle);
    EImplW->setText(QString::number(s.ImplSirka));
    EImplH->setText(QString::number(s.ImplVyska));
    CBZarov->setCurrentIndex(s.ImplZarovnani);
    m_sampleFont.Name = s.ImplNazevFontu;
    m_sampleFont.Size = s.ImplVyskaFontu;
    m_sampleFont.Color = ColorByIndex(s.ImplBarvaFontu);
    m_sampleFont.Style = s.ImplStylFontu & FontStyleMask;
    m_sampleFont.Charset = s.ImplSkriptFontu;
    showSampleFont(*SesLabel, m_sampleFont);
    ImplChange();
}

void TSestKonfigDlg::ImplChange()
{
    int32_t width = SesLabel->width();
    int32_t height = SesLabel->height();
    txt::tryStrToInt(EImplW->text(), width);
    txt::tryStrToInt(EImplH->text(), height);
    // A typed size is bounded so the sample stays a widget Qt can lay out.
    constexpr int32_t maxSample = 10000;
    width = std::clamp(width, 0, maxSample);
    height = std::clamp(height, 0, maxSample);
    SesLabel->setGeometry((PanelUkazky->width() - width) / 2, (PanelUkazky->height() - height) / 2, width, height);
    static constexpr Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    const int align = CBZarov->currentIndex();
    SesLabel->setAlignment((align >= 0 && align < 3 ? alignments[align] : Qt::AlignLeft) | Qt::AlignVCenter);
}

void TSestKonfigDlg::SBPismoClick()
{
    const std::optional<ReportFont> font = TVFontDlg::Execute(m_sampleFont, this);
    if (!font) return;
    m_sampleFont = *font;
    showSampleFont(*SesLabel, m_sampleFont);
    ImplChange();
}

QLineEdit* TSestKonfigDlg::badNumber() const
{
    for (QLineEdit* edit : {EditRastrX, EditRastrY, EditPocetUndo, EImplW, EImplH})
        if (!holdsNumber(edit)) return edit;
    return nullptr;
}

void TSestKonfigDlg::OKBtnClick()
{
    // Every box is checked before any value is taken, so a bad one changes nothing.
    if (QLineEdit* bad = badNumber()) {
        ui::services().messageBox(QStringLiteral("Hodnota \"%1\" v poli \"%2\" není celé číslo.")
                                      .arg(bad->text(), boxCaption(bad).chopped(1)),
                                  QStringLiteral("Chyba"), ui::MsgType::Error, ui::Ok);
        TabSet->setCurrentIndex(bad == EImplW || bad == EImplH ? 1 : 0);
        bad->setFocus();
        bad->selectAll();
        return;
    }
    NastaveniEditoru s = m_settings;
    s.RastrX = txt::strToInt(EditRastrX->text());
    s.RastrY = txt::strToInt(EditRastrY->text());
    s.PocetUndo = txt::strToInt(EditPocetUndo->text());
    s.ImplSirka = txt::strToInt(EImplW->text());
    s.ImplVyska = txt::strToInt(EImplH->text());
    s.RastrZobrazovat = CBZobrRastr->isChecked();
    s.RastrZarovnavat = CBZarovRastr->isChecked();
    s.MazaniJedne = CBMazaniJedne->isChecked();
    s.MazaniVice = CBMazaniVice->isChecked();
    s.UndoSave = CBUndoSave->isChecked();
    s.VybSezna = CBVyberZeSeznamu->isChecked();
    s.SledPodle = CBSledPodle->isChecked();
    s.ImplZarovnani = CBZarov->currentIndex();
    s.ImplBarvaFontu = ColorIndex(m_sampleFont.Color);
    s.ImplVyskaFontu = m_sampleFont.Size;
    s.ImplNazevFontu = m_sampleFont.Name.left(NastaveniEditoru::MaxFontName);
    s.ImplStylFontu = m_sampleFont.Style;
    try {
        WriteEditorSettings(s, m_iniName);
    } catch (const Exception& e) {
        ui::services().messageBox(e.message(), QStringLiteral("Chyba"), ui::MsgType::Error, ui::Ok);
        return;
    }
    m_settings = s;
    accept();
}

std::optional<NastaveniEditoru> TSestKonfigDlg::Execute(const NastaveniEditoru& settings, const QString& iniName,
                                                        PrinterSetup printerSetup, QWidget* parent)
{
    TSestKonfigDlg dialog(settings, iniName, std::move(printerSetup), parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Nastaveni();
}

} // namespace reports::designer
