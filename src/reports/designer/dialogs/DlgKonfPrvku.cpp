// The element dialog.
#include "reports/designer/dialogs/DlgKonfPrvku.h"

#include "platform/text/Numbers.h"
#include "reports/designer/DesignerTypes.h"
#include "reports/designer/dialogs/FunkceDlg.h"
#include "reports/designer/dialogs/Sest_FnEditVyraz.h"
#include "reports/designer/dialogs/VFontDlg.h"
#include "reports/model/ReportElement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace reports::designer {

namespace {

constexpr int memoType = 16;
constexpr int blobType = 15;
constexpr int graphicType = 17;
// Bound on the groups a variable list offers (a damaged template may claim any number).
constexpr int maxGroups = 1000;

QLineEdit* numberEdit(QWidget* parent, const char* name, int value)
{
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QCheckBox* option(QWidget* parent, const char* name, const QString& text, bool checked)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    return box;
}

QWidget* page(std::initializer_list<QWidget*> widgets)
{
    auto* p = new QWidget;
    auto* column = new QVBoxLayout(p);
    for (QWidget* w : widgets) {
        w->setParent(p);
        column->addWidget(w);
    }
    column->addStretch();
    return p;
}

bool refersToColumn(int kind) { return kind == ekColumn || kind == ekLabel; }
bool hasReferenceList(int kind) { return refersToColumn(kind) || kind == ekVariable || kind == ekFunction; }

ExpressionLists builderLists(const ElementDialogData& d)
{
    ExpressionLists lists{d.Columns, d.ParameterCount, {}, d.SledPodle};
    for (const FunctionSettings& f : d.Functions) lists.Functions.append(f.Name);
    return lists;
}

} // namespace

bool TDlgKonfPrvku::IsValid(const ElementDialogData& d)
{
    if (refersToColumn(d.Kind)) return d.Reference >= 0 && d.Reference < d.Columns.size();
    if (d.Kind == ekFunction) return d.Reference >= 0 && d.Reference < int(d.Functions.size());
    return d.Kind >= ekText && d.Kind <= ekFunction;
}

QStringList TDlgKonfPrvku::ReferenceTexts(const ElementDialogData& d)
{
    QStringList texts;
    if (refersToColumn(d.Kind))
        for (int i = 0; i < d.Columns.size(); ++i) texts.append(ListItemText(u'#', i, d.Columns[i]));
    if (d.Kind == ekFunction)
        for (int i = 0; i < int(d.Functions.size()); ++i) texts.append(ListItemText(u'#', i, d.Functions[size_t(i)].Name));
    if (d.Kind == ekVariable) {
        texts = {QStringLiteral("Datum tisku"), QStringLiteral("Čas tisku"), QStringLiteral("Číslo řádku"),
                 QStringLiteral("Číslo stránky"), QStringLiteral("Počet stran")};
        for (int g = 1; g <= std::min(d.GroupCount, maxGroups); ++g) {
            texts.append(QStringLiteral("Číslo ř. ve sk.") + QString::number(g));
            texts.append(QStringLiteral("Číslo skupiny ") + QString::number(g));
        }
    }
    return texts;
}

TDlgKonfPrvku::DalsiPage TDlgKonfPrvku::PageOfColumnType(int type)
{
    if (type == memoType) return pgDbMemo;
    if (type == blobType || type == graphicType) return pgDbGraphic;
    return pgText;
}

TDlgKonfPrvku::TDlgKonfPrvku(const ElementDialogData& data, QWidget* parent) : QDialog(parent), m_data(data)
{
    setObjectName(QStringLiteral("DlgKonfPrvku"));
    setWindowTitle(QStringLiteral("Nastavení vlastností prvku"));
    Notebook = new QStackedWidget(this);
    Notebook->setObjectName(QStringLiteral("Notebook"));
    TabSet = new QTabBar(this);
    TabSet->setObjectName(QStringLiteral("TabSet"));
    TabSet->setShape(QTabBar::RoundedSouth);
    Notebook->addWidget(buildBasicPage());
    TabSet->addTab(QStringLiteral("Základní vlastnosti"));
    Pismo = new FontChooser(Notebook);
    Pismo->setObjectName(QStringLiteral("Pismo"));
    Notebook->addWidget(Pismo);
    TabSet->addTab(QStringLiteral("Písmo prvku"));

    OKBtn = dialogButton(this, "OKBtn", QStringLiteral("OK"));
    OKBtn->setDefault(true);
    CancelBtn = dialogButton(this, "CancelBtn", QStringLiteral("Storno"));
    HelpBtn = hiddenHelpButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {OKBtn, CancelBtn, HelpBtn}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Notebook);
    layout->addWidget(TabSet);
    layout->addLayout(buttons);

    connect(TabSet, &QTabBar::currentChanged, this, [this](int index) { TabSetChange(index); });
    connect(CbIndex, &QComboBox::currentIndexChanged, this, [this] { CbIndexChange(); });
    connect(CBRtf, &QCheckBox::toggled, this, [this] { CBRtfClick(); });
    connect(SBFunkce, &QPushButton::clicked, this, [this] { SBFunkceClick(); });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    fill();
}

QWidget* TDlgKonfPrvku::buildBasicPage()
{
    auto* basic = new QGroupBox(QStringLiteral("Základní vlastnosti prvku:"));
    const ElementDialogData& d = m_data;
    EdL = numberEdit(basic, "EdL", d.Left);
    EdH = numberEdit(basic, "EdH", d.Top);
    EdS = numberEdit(basic, "EdS", d.Width);
    EdV = numberEdit(basic, "EdV", d.Height);
    CBZarovnani = new QComboBox(basic);
    CBZarovnani->setObjectName(QStringLiteral("CBZarovnani"));
    CBZarovnani->addItems({QStringLiteral("Vlevo"), QStringLiteral("Vpravo"), QStringLiteral("Uprostřed")});
    ERoztec = numberEdit(basic, "ERoztec", d.Roztec);
    auto* form = new QFormLayout(basic);
    form->addRow(QStringLiteral("Levý:"), EdL);
    form->addRow(QStringLiteral("Horní:"), EdH);
    form->addRow(QStringLiteral("Šířka:"), EdS);
    form->addRow(QStringLiteral("Výška:"), EdV);
    form->addRow(QStringLiteral("Zarovnání:"), CBZarovnani);
    form->addRow(QStringLiteral("Rozteč znaků:"), ERoztec);

    auto* p = new QWidget;
    auto* grid = new QHBoxLayout(p);
    auto* left = new QVBoxLayout;
    left->addWidget(basic);
    left->addWidget(buildFrameGroup());
    auto* right = new QVBoxLayout;
    right->addWidget(buildTypeGroup());
    right->addWidget(buildOptions());
    grid->addLayout(left);
    grid->addLayout(right);
    return p;
}

QWidget* TDlgKonfPrvku::buildTypeGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Typ prvku:"));
    CbIndex = new QComboBox(group);
    CbIndex->setObjectName(QStringLiteral("CbIndex"));
    EdTyp = new QLineEdit(kindName(m_data.Kind), group);
    EdTyp->setObjectName(QStringLiteral("EdTyp"));
    EdTyp->setReadOnly(true);
    EdTyp->setStyleSheet(QStringLiteral("background: lightgray"));
    RGPodle = new RadioGroup("RGPodle", QStringLiteral("Sledovat podle:"),
                             {QStringLiteral("Pořadového čísla"), QStringLiteral("Názvu položky")}, group);
    auto* column = new QVBoxLayout(group);
    column->addWidget(CbIndex);
    column->addWidget(EdTyp);
    column->addWidget(RGPodle);
    return group;
}

QWidget* TDlgKonfPrvku::buildOptions()
{
    auto* group = new QGroupBox(QStringLiteral("Další vlastnosti:"));
    const ElementDialogData& d = m_data;
    NotebookDalsi = new QStackedWidget(group);
    NotebookDalsi->setObjectName(QStringLiteral("NotebookDalsi"));
    CbPretahSl1 = option(nullptr, "CbPretahSl1", QStringLiteral("Víceřádkový text"), d.WordWrap);
    CbPretahSl1->setVisible(false);
    CBZarBlok1 = option(nullptr, "CBZarBlok1", QStringLiteral("Zarovnat do bloku"), d.Justify);
    CBPromenVys1 = option(nullptr, "CBPromenVys1", QStringLiteral("Proměnná výška"), d.VariableHeight);
    NotebookDalsi->addWidget(page({CbPretahSl1, CBZarBlok1, CBPromenVys1}));
    CBPretahSl = option(nullptr, "CBPretahSl", QStringLiteral("Přetahovat slova"), d.WordWrap);
    CBZarBlok = option(nullptr, "CBZarBlok", QStringLiteral("Zarovnat do bloku"), d.Justify);
    CBPromenVys = option(nullptr, "CBPromenVys", QStringLiteral("Proměnná výška"), d.VariableHeight);
    CBRtf = option(nullptr, "CBRtf", QStringLiteral("RTF formát textu"), d.Rtf);
    NotebookDalsi->addWidget(page({CBPretahSl, CBZarBlok, CBPromenVys, CBRtf}));
    CBStretch = option(nullptr, "CBStretch", QStringLiteral("Velikost podle okna"), d.Stretch);
    CBPomerStr = option(nullptr, "CBPomerStr", QStringLiteral("Zachovat poměr stran"), d.KeepAspect);
    NotebookDalsi->addWidget(page({CBStretch, CBPomerStr}));
    NotebookDalsi->addWidget(page({}));
    SBFunkce = dialogButton(nullptr, "SBFunkce", QStringLiteral("Funkce ..."));
    NotebookDalsi->addWidget(page({SBFunkce}));
    auto* column = new QVBoxLayout(group);
    column->addWidget(NotebookDalsi);
    return group;
}

QWidget* TDlgKonfPrvku::buildFrameGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Rámování:"));
    auto* row = new QHBoxLayout(group);
    static constexpr std::array<const char*, 4> names = {"SBCarT1", "SBCarT2", "SBCarT3", "SBCarT4"};
    static constexpr std::array<const char*, 4> sides = {"Levá", "Horní", "Pravá", "Dolní"};
    for (size_t i = 0; i < SBCarT.size(); ++i) {
        SBCarT[i] = new QToolButton(group);
        SBCarT[i]->setObjectName(QLatin1String(names[i]));
        SBCarT[i]->setToolTip(QString::fromUtf8(sides[i]));
        SBCarT[i]->setText(QString::fromUtf8(sides[i]).left(1));
        SBCarT[i]->setCheckable(true);
        SBCarT[i]->setChecked(m_data.Ramecek[i]);
        row->addWidget(SBCarT[i]);
    }
    return group;
}

void TDlgKonfPrvku::fill()
{
    const ElementDialogData& d = m_data;
    Pismo->setFont(d.Font);
    CBZarovnani->setCurrentIndex(d.Alignment >= 0 && d.Alignment < 3 ? d.Alignment : -1);
    {
        const QSignalBlocker blocker(CbIndex);
        CbIndex->addItems(ReferenceTexts(d));
        CbIndex->setCurrentIndex(d.Reference >= 0 && d.Reference < CbIndex->count() ? d.Reference : -1);
    }
    CbIndex->setEnabled(hasReferenceList(d.Kind));
    RGPodle->setEnabled(refersToColumn(d.Kind) || d.Kind == ekFunction);
    RGPodle->setItemIndex(d.ByName ? 1 : 0);
    DalsiPage shown = pgText;
    if (d.Kind == ekColumn && d.Reference >= 0 && d.Reference < int(d.ColumnTypes.size()))
        shown = PageOfColumnType(d.ColumnTypes[size_t(d.Reference)]);
    else if (d.Kind == ekFunction) shown = pgFunkce;
    else if (d.Kind == ekVariable) shown = pgPromenna;
    NotebookDalsi->setCurrentIndex(shown);
    CBRtfClick();
}

void TDlgKonfPrvku::CbIndexChange()
{
    // Only a column value shows the options of its column's type.
    if (m_data.Kind != ekColumn || NotebookDalsi->currentIndex() == pgFunkce) return;
    const int index = CbIndex->currentIndex();
    const int type = index >= 0 && index < int(m_data.ColumnTypes.size()) ? m_data.ColumnTypes[size_t(index)] : 0;
    NotebookDalsi->setCurrentIndex(PageOfColumnType(type));
}

void TDlgKonfPrvku::CBRtfClick()
{
    const bool isRtf = CBRtf->isChecked();
    if (isRtf) CBPretahSl->setChecked(true);
    CBPretahSl->setEnabled(!isRtf);
    CBZarovnani->setEnabled(!isRtf);
}

void TDlgKonfPrvku::TabSetChange(int index)
{
    // An RTF text keeps its own fonts.
    if (index == 1 && CBRtf->isChecked()) {
        const QSignalBlocker blocker(TabSet);
        TabSet->setCurrentIndex(0);
        return;
    }
    Notebook->setCurrentIndex(index);
}

void TDlgKonfPrvku::SBFunkceClick()
{
    const int index = CbIndex->currentIndex();
    if (m_data.Kind != ekFunction || index < 0 || index >= int(m_data.Functions.size())) return;
    FunctionSettings& function = m_data.Functions[size_t(index)];
    if (UpravFunkci(this, builderLists(m_data), m_data.GroupCount, function) == 1)
        CbIndex->setItemText(index, ListItemText(u'#', index, function.Name));
}

ElementDialogData TDlgKonfPrvku::Data() const
{
    ElementDialogData d = m_data;
    d.Font = Pismo->Pismo();
    d.Alignment = CBZarovnani->currentIndex() >= 0 ? CBZarovnani->currentIndex() : m_data.Alignment;
    if (d.Kind != ekParameter && CbIndex->currentIndex() >= 0) d.Reference = CbIndex->currentIndex();
    if (refersToColumn(d.Kind) || d.Kind == ekFunction) d.ByName = RGPodle->itemIndex() == 1;
    if (d.Kind == ekColumn) {
        switch (NotebookDalsi->currentIndex()) {
        case pgText:
            d.WordWrap = CbPretahSl1->isChecked();
            d.Justify = CBZarBlok1->isChecked();
            d.VariableHeight = CBPromenVys1->isChecked();
            break;
        case pgDbMemo:
            d.WordWrap = CBPretahSl->isChecked();
            d.Justify = CBZarBlok->isChecked();
            d.VariableHeight = CBPromenVys->isChecked();
            d.Rtf = CBRtf->isChecked();
            break;
        case pgDbGraphic:
            d.Stretch = CBStretch->isChecked();
            d.KeepAspect = CBPomerStr->isChecked();
            break;
        default:
            break;
        }
    }
    for (size_t i = 0; i < SBCarT.size(); ++i) d.Ramecek[i] = SBCarT[i]->isChecked();
    d.Left = txt::strToIntDef(EdL->text(), m_data.Left);
    d.Top = txt::strToIntDef(EdH->text(), m_data.Top);
    d.Width = txt::strToIntDef(EdS->text(), m_data.Width);
    d.Height = txt::strToIntDef(EdV->text(), m_data.Height);
    d.Roztec = txt::strToIntDef(ERoztec->text(), 0);
    return d;
}

std::optional<ElementDialogData> TDlgKonfPrvku::Execute(const ElementDialogData& data, QWidget* parent)
{
    if (!IsValid(data)) return std::nullopt;
    TDlgKonfPrvku dialog(data, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Data();
}

} // namespace reports::designer
