// The user function dialog.
#include "reports/designer/dialogs/FunkceDlg.h"

#include "platform/text/Numbers.h"
#include "reports/designer/dialogs/VFontDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace reports::designer {

namespace {

QLineEdit* lineEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QComboBox* choice(QWidget* parent, const char* name, const QStringList& items)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    return box;
}

// A choice's index, or `old` when none is chosen.
int indexOr(int index, int old)
{
    return index >= 0 ? index : old;
}

} // namespace

TFunkceDlg::TFunkceDlg(ExpressionLists lists, QWidget* parent) : QDialog(parent), m_lists(std::move(lists))
{
    setObjectName(QStringLiteral("FunkceDlg"));
    setWindowTitle(QStringLiteral("Nastavení parametrů funkce"));
    EditFnNaz = lineEdit(this, "EditFnNaz");
    EditFnPop = lineEdit(this, "EditFnPop");
    CBFnTyp = choice(this, "CBFnTyp", {QStringLiteral("Číselná"), QStringLiteral("Řetězcová")});
    EditFnVyr = lineEdit(this, "EditFnVyr");
    SpeedButton1 = dialogButton(this, "SpeedButton1", QStringLiteral("..."));
    EditFnPoh = lineEdit(this, "EditFnPoh");
    CBFnPhn = choice(this, "CBFnPhn", {});
    NotebookFormat = new QStackedWidget(this);
    NotebookFormat->setObjectName(QStringLiteral("NotebookFormat"));
    NotebookFormat->addWidget(buildNumericPage());
    NotebookFormat->addWidget(new QWidget(NotebookFormat));
    OKBtn = dialogButton(this, "OKBtn", QStringLiteral("&Konec"));
    OKBtn->setDefault(true);
    CancelBtn = dialogButton(this, "CancelBtn", QStringLiteral("Storno"));
    HelpBtn = hiddenHelpButton(this);

    auto* expression = new QHBoxLayout;
    expression->addWidget(EditFnVyr);
    expression->addWidget(SpeedButton1);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Název:"), EditFnNaz);
    form->addRow(QStringLiteral("Popis:"), EditFnPop);
    form->addRow(QStringLiteral("Typ:"), CBFnTyp);
    form->addRow(QStringLiteral("Výpočetní výraz:"), expression);
    form->addRow(QStringLiteral("Počáteční hodnota:"), EditFnPoh);
    form->addRow(QStringLiteral("Nastavit na začátku"), CBFnPhn);
    form->addRow(NotebookFormat);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {OKBtn, CancelBtn, HelpBtn}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(CBFnTyp, &QComboBox::currentIndexChanged, this, [this] { CBFnTypChange(); });
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* TFunkceDlg::buildNumericPage()
{
    auto* page = new QWidget;
    RGDalZpr = new RadioGroup("RGDalZpr", QStringLiteral("Další zpracování:"),
                              {QStringLiteral("(Žádné)"), QStringLiteral("Počet"), QStringLiteral("Součet"),
                               QStringLiteral("Průměr"), QStringLiteral("Minimum"), QStringLiteral("Maximum"),
                               QStringLiteral("Směrodat.odch."), QStringLiteral("Relat.sm.odch.")},
                              page);
    CbFnFrm = choice(page, "CbFnFrm", {QStringLiteral("General"), QStringLiteral("Exponent"), QStringLiteral("Fixed"),
                                       QStringLiteral("Number"), QStringLiteral("Currency")});
    EditFnSir = lineEdit(page, "EditFnSir");
    EditFnDes = lineEdit(page, "EditFnDes");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Formát:"), CbFnFrm);
    form->addRow(QStringLiteral("Celkový počet znaků:"), EditFnSir);
    form->addRow(QStringLiteral("Počet desetinných míst:"), EditFnDes);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(RGDalZpr);
    layout->addLayout(form);
    return page;
}

void TFunkceDlg::fill(const FunctionSettings& f, int groupCount)
{
    CBFnPhn->clear();
    CBFnPhn->addItems({QStringLiteral("Sestavy"), QStringLiteral("Stránky")});
    // Bounded: a group count from a damaged template must not fill the list for ever.
    constexpr int maxGroups = 1000;
    for (int i = 1; i <= std::min(groupCount, maxGroups); ++i)
        CBFnPhn->addItem(QStringLiteral("Skupiny") + u' ' + QString::number(i));
    EditFnNaz->setText(f.Name);
    EditFnPop->setText(f.Popis);
    CBFnTyp->setCurrentIndex(f.Typ >= 0 && f.Typ < CBFnTyp->count() ? f.Typ : -1);
    CBFnTypChange();
    EditFnVyr->setText(f.Vyraz);
    EditFnPoh->setText(f.PocatecniHodnota);
    CBFnPhn->setCurrentIndex(f.Nulovat >= 0 && f.Nulovat < CBFnPhn->count() ? f.Nulovat : -1);
    RGDalZpr->setItemIndex(f.Zpracovani);
    EditFnSir->setText(QString::number(f.Sirka));
    EditFnDes->setText(QString::number(f.Desetiny));
    CbFnFrm->setCurrentIndex(f.Format >= 0 && f.Format < CbFnFrm->count() ? f.Format : -1);
}

FunctionSettings TFunkceDlg::take(const FunctionSettings& old) const
{
    FunctionSettings f = old;
    f.Name = EditFnNaz->text();
    f.Popis = EditFnPop->text();
    f.Typ = indexOr(CBFnTyp->currentIndex(), old.Typ);
    f.Vyraz = EditFnVyr->text();
    f.PocatecniHodnota = EditFnPoh->text();
    f.Nulovat = indexOr(CBFnPhn->currentIndex(), old.Nulovat);
    f.Zpracovani = indexOr(RGDalZpr->itemIndex(), old.Zpracovani);
    f.Sirka = txt::strToIntDef(EditFnSir->text(), old.Sirka);
    f.Desetiny = txt::strToIntDef(EditFnDes->text(), old.Desetiny);
    f.Format = indexOr(CbFnFrm->currentIndex(), old.Format);
    return f;
}

void TFunkceDlg::CBFnTypChange()
{
    NotebookFormat->setCurrentIndex(CBFnTyp->currentIndex() == 1 ? 1 : 0);
}

void TFunkceDlg::SpeedButton1Click()
{
    if (const std::optional<QString> built = TSest_FnEditVyraz::Execute(EditFnVyr->text(), m_lists, this))
        EditFnVyr->setText(*built);
}

int UpravFunkci(QWidget* owner, const ExpressionLists& lists, int groupCount, FunctionSettings& function)
{
    TFunkceDlg dialog(lists, owner);
    dialog.fill(function, groupCount);
    if (dialog.exec() != QDialog::Accepted) return 2;
    function = dialog.take(function);
    return 1;
}

} // namespace reports::designer
