// The print dialog window.
#include "reports/preview/PrintDialog.h"

#include "reports/output/Printer.h"
#include "reports/preview/ReportComboBoxes.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace reports {

namespace {

constexpr int clientWidth = 450;
const PrintDialogGroupHeights groupHeights;

QueuePropertiesEditor& propertiesEditor()
{
    static QueuePropertiesEditor editor;
    return editor;
}

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry, QWidget* buddy = nullptr)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    if (buddy) l->setBuddy(buddy);
    return l;
}

QSpinBox* pageSpin(QWidget* parent, const QRect& geometry)
{
    auto* spin = new QSpinBox(parent);
    spin->setRange(1, 9999);
    spin->setGeometry(geometry);
    return spin;
}

QCheckBox* checkBox(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* box = new QCheckBox(text, parent);
    box->setGeometry(geometry);
    return box;
}

QPushButton* button(QDialog* dialog, QWidget* parent, const QString& text, const QRect& geometry, int result)
{
    auto* b = new QPushButton(text, parent);
    b->setGeometry(geometry);
    QObject::connect(b, &QPushButton::clicked, dialog, [dialog, result] { dialog->done(result); });
    return b;
}

} // namespace

void setQueuePropertiesEditor(QueuePropertiesEditor editor)
{
    propertiesEditor() = std::move(editor);
}

TSestPrintDlg::TSestPrintDlg(const TPrintDialogTyp& settings, const PrinterSystem* system, QWidget* parent)
    : QDialog(parent)
{
    GroupBoxPrinter = new QGroupBox(QStringLiteral("Tiskárna"), this);
    ComboBoxPrinter = new TComboBoxPrinter(GroupBoxPrinter, system);
    GroupBoxPages = new QGroupBox(QStringLiteral("Rozsah stránek:"), this);
    GroupBoxForm = new QGroupBox(QStringLiteral("Tiskový formulář:"), this);
    buildPrinterGroup();
    buildPagesGroup();
    buildTemplateGroup();
    buildButtons();
    apply(settings);
}

void TSestPrintDlg::buildPrinterGroup()
{
    QWidget* g = GroupBoxPrinter;
    ComboBoxPrinter->setGeometry(70, 18, 270, 22);
    label(g, QStringLiteral("Ná&zev:"), QRect(10, 21, 58, 16), ComboBoxPrinter);
    BtnProperty = new QPushButton(QStringLiteral("&Vlastnosti..."), g);
    BtnProperty->setGeometry(350, 17, 90, 24);
    label(g, QStringLiteral("Typ:"), QRect(10, 48, 58, 16));
    LabelDevice = label(g, QString(), QRect(70, 48, 370, 16));
    label(g, QStringLiteral("Kde:"), QRect(10, 68, 58, 16));
    LabelPort = label(g, QString(), QRect(70, 68, 220, 16));
    CheckBoxToFile = checkBox(g, QStringLiteral("Tisknout do &souboru"), QRect(300, 68, 140, 18));
    connect(ComboBoxPrinter, &QComboBox::currentIndexChanged, this, [this] { ComboBoxPrinterChange(); });
    connect(BtnProperty, &QPushButton::clicked, this, [this] { BtnPropertyClick(); });
}

void TSestPrintDlg::buildPagesGroup()
{
    QWidget* g = GroupBoxPages;
    SpinEditOd = pageSpin(g, QRect(100, 18, 70, 22));
    label(g, QStringLiteral("&Od stránky:"), QRect(10, 21, 88, 16), SpinEditOd);
    SpinEditDo = pageSpin(g, QRect(280, 18, 70, 22));
    label(g, QStringLiteral("&Do stránky:"), QRect(190, 21, 88, 16), SpinEditDo);
    SpinEditKopie = pageSpin(g, QRect(100, 48, 70, 22));
    label(g, QStringLiteral("&Počet kopií:"), QRect(10, 51, 88, 16), SpinEditKopie);
    CheckBoxActualPage = checkBox(g, QStringLiteral("&Tisknout &aktuální stránku"), QRect(190, 44, 250, 18));
    CheckBoxOneRecord = checkBox(g, QStringLiteral("Tisknout pouze &jeden záznam"), QRect(190, 61, 250, 18));
    connect(CheckBoxActualPage, &QCheckBox::toggled, this, [this] { CheckBoxActualPageClick(); });
}

void TSestPrintDlg::buildTemplateGroup()
{
    QWidget* g = GroupBoxForm;
    ComboBoxPredloha = new TComboBoxPredloha(g);
    ComboBoxPredloha->setGeometry(70, 18, 270, 22);
    label(g, QStringLiteral("Náz&ev:"), QRect(10, 21, 58, 16), ComboBoxPredloha);
    BtnEdit = button(this, g, QStringLiteral("&Upravit..."), QRect(350, 17, 90, 24), 6);
    CheckBoxSetDefault = checkBox(g, QStringLiteral("Nastavit jako výchozí &formulář"), QRect(70, 40, 270, 16));
}

void TSestPrintDlg::buildButtons()
{
    BtnPrint = button(this, this, QStringLiteral("&Tisk"), QRect(186, 0, 80, 25), 8);
    BtnPrint->setDefault(true);
    BtnPreview = button(this, this, QStringLiteral("&Náhled"), QRect(274, 0, 80, 25), 1);
    BtnCancel = button(this, this, QStringLiteral("Storno"), QRect(362, 0, 80, 25), 0);
    CheckBoxPrintBackground = checkBox(this, QStringLiteral("Tisknout pozadí"), QRect(10, 0, 160, 18));
}

void TSestPrintDlg::apply(const TPrintDialogTyp& s)
{
    setWindowTitle(s.Titulek);
    TemplateList& templates = ComboBoxPredloha->templates();
    templates.setReportDir(s.ReportDir);
    templates.reportDirIgnore = s.ReportDirIgnore;
    templates.setReportMask(s.ReportMask);
    ComboBoxPredloha->VyberSoubor(s.NazevPredlohy);

    SpinEditOd->setValue(s.FromPage);
    SpinEditDo->setValue(s.ToPage);
    SpinEditKopie->setValue(s.Copies);
    if (s.PdfFile) ComboBoxPrinter->NastavPdf();
    else ComboBoxPrinter->setCurrentIndex(ComboBoxPrinter->printers().proposedItem(s.PrinterIndex));

    m_propertiesEnabled = s.PropertiesEnabled;
    BtnEdit->setEnabled(s.EditEnabled);
    BtnPreview->setEnabled(s.PreviewEnabled);
    BtnPrint->setEnabled(s.PrintEnabled);

    const PrintDialogLayout layout = LayOutPrintDialog(s, groupHeights);
    GroupBoxPrinter->setGeometry(0, layout.printerTop, clientWidth, groupHeights.printer);
    GroupBoxPages->setGeometry(0, layout.pagesTop, clientWidth, groupHeights.pages);
    GroupBoxForm->setGeometry(0, layout.templateTop, clientWidth, groupHeights.templates);
    GroupBoxPrinter->setVisible(s.PrinterGroupVisible);
    GroupBoxPages->setVisible(s.PagesGroupVisible);
    GroupBoxForm->setVisible(s.TemplateGroupVisible);
    for (QPushButton* b : {BtnPrint, BtnPreview, BtnCancel}) b->move(b->x(), layout.buttonsTop);
    CheckBoxPrintBackground->move(CheckBoxPrintBackground->x(), layout.backgroundTop);
    setFixedSize(clientWidth, layout.clientHeight);

    CheckBoxActualPage->setVisible(s.CurrentPageVisible);
    CheckBoxOneRecord->setVisible(s.OneRecordVisible);
    CheckBoxToFile->setVisible(s.ToFileVisible);
    CheckBoxSetDefault->setVisible(s.SetDefaultVisible);
    CheckBoxPrintBackground->setVisible(s.BackgroundVisible);
    CheckBoxToFile->setChecked(s.ToFile);
    CheckBoxActualPage->setChecked(s.CurrentPage);
    CheckBoxOneRecord->setChecked(s.OneRecord);
    CheckBoxSetDefault->setChecked(s.SetDefault);
    CheckBoxPrintBackground->setChecked(s.PrintBackground);
    CheckBoxActualPageClick();
    ComboBoxPrinterChange();
}

void TSestPrintDlg::takeResults(TPrintDialogTyp& s) const
{
    s.NazevPredlohy = ComboBoxPredloha->VybranySoubor();
    s.FromPage = SpinEditOd->value();
    s.ToPage = SpinEditDo->value();
    s.Copies = SpinEditKopie->value();
    s.PdfFile = ComboBoxPrinter->isPdfSelected();
    s.PrinterIndex = ComboBoxPrinter->IndexTiskarny();
    s.ToFile = CheckBoxToFile->isChecked();
    s.CurrentPage = CheckBoxActualPage->isChecked();
    s.OneRecord = CheckBoxOneRecord->isChecked();
    s.SetDefault = CheckBoxSetDefault->isChecked();
    s.PrintBackground = CheckBoxPrintBackground->isChecked();
}

void TSestPrintDlg::ComboBoxPrinterChange()
{
    const PrinterList& printers = ComboBoxPrinter->printers();
    const int item = ComboBoxPrinter->currentIndex();
    LabelDevice->setText(printers.makeAndModel(item));
    LabelPort->setText(printers.location(item));
    BtnProperty->setEnabled(m_propertiesEnabled && propertiesEditor() && printers.queueOfItem(item) >= 0);
}

void TSestPrintDlg::BtnPropertyClick()
{
    const int queue = ComboBoxPrinter->IndexTiskarny();
    if (queue < 0 || !propertiesEditor()) return;
    propertiesEditor()(queue, this);
    ComboBoxPrinterChange();
}

void TSestPrintDlg::CheckBoxActualPageClick()
{
    const bool range = !CheckBoxActualPage->isChecked();
    SpinEditOd->setEnabled(range);
    SpinEditDo->setEnabled(range);
}

int TPrintDialogTyp::Execute(QWidget* parent)
{
    TSestPrintDlg dialog(*this, printerSystem(), parent);
    const int answer = PrintDialogAnswer(dialog.exec());
    if (answer != Cancelled) dialog.takeResults(*this);
    return answer;
}

} // namespace reports
