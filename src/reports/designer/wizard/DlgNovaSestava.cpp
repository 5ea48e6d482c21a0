// The new-report wizard's dialog.
#include "reports/designer/wizard/DlgNovaSestava.h"

#include "platform/ui/Services.h"
#include "reports/model/ReportTexts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace reports::designer {

namespace {

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

void WizardTargetList::moveItem(int from, int to)
{
    if (from < 0 || to < 0 || from >= count() || to >= count() || from == to) return;
    QListWidgetItem* item = takeItem(from);
    insertItem(to, item);
    setCurrentItem(item);
}

void WizardTargetList::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    const QListWidgetItem* item = itemAt(event->position().toPoint());
    m_dragged = event->button() == Qt::LeftButton && item ? row(item) : -1;
}

void WizardTargetList::mouseReleaseEvent(QMouseEvent* event)
{
    const QListWidgetItem* target = itemAt(event->position().toPoint());
    const int from = m_dragged;
    m_dragged = -1;
    if (from >= 0 && target && row(target) != from) {
        moveItem(from, row(target));
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

TDlgNovaSestava::TDlgNovaSestava(const QStringList& columnNames, bool isByName, std::function<void()> paperFormat,
                                 QWidget* parent)
    : QDialog(parent), m_paperFormat(std::move(paperFormat))
{
    setObjectName(QStringLiteral("DlgNovaSestava"));
    setWindowTitle(QStringLiteral("Návrh nové předlohy"));
    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    buildLists(columnNames);
    buildOptions();
    buildButtons();
    CBPopisyPolozek->setChecked(true);
    CBSledovatPodle->setChecked(isByName);
    SetButtons();
}

void TDlgNovaSestava::buildLists(const QStringList& columnNames)
{
    auto* grid = new QGridLayout;
    static_cast<QVBoxLayout*>(layout())->addLayout(grid);
    grid->addWidget(new QLabel(QStringLiteral("Dostupné položky:"), this), 0, 0);
    SrcList = named(new QListWidget(this), "SrcList");
    SrcList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SrcList->addItems(columnNames);
    grid->addWidget(SrcList, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Vybrané položky:"), this), 0, 2);
    DstList = named(new WizardTargetList(this), "DstList");
    DstList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->addWidget(DstList, 1, 2);
    for (QListWidget* list : {static_cast<QListWidget*>(SrcList), static_cast<QListWidget*>(DstList)})
        list->setFixedSize(170, 200);
    auto* moves = new QVBoxLayout;
    IncludeBtn = named(new QPushButton(QStringLiteral(">"), this), "IncludeBtn");
    IncAllBtn = named(new QPushButton(QStringLiteral(">>"), this), "IncAllBtn");
    ExcludeBtn = named(new QPushButton(QStringLiteral("<"), this), "ExcludeBtn");
    ExAllBtn = named(new QPushButton(QStringLiteral("<<"), this), "ExAllBtn");
    moves->addStretch();
    for (QPushButton* b : {IncludeBtn, IncAllBtn, ExcludeBtn, ExAllBtn}) {
        b->setFixedWidth(40);
        moves->addWidget(b);
    }
    moves->addStretch();
    grid->addLayout(moves, 1, 1);
    connect(IncludeBtn, &QPushButton::clicked, this, [this] { IncludeBtnClick(); });
    connect(IncAllBtn, &QPushButton::clicked, this, [this] { IncAllBtnClick(); });
    connect(ExcludeBtn, &QPushButton::clicked, this, [this] { ExcludeBtnClick(); });
    connect(ExAllBtn, &QPushButton::clicked, this, [this] { ExcAllBtnClick(); });
    connect(SrcList, &QListWidget::itemDoubleClicked, this, [this] { IncludeBtnClick(); });
    connect(DstList, &QListWidget::itemDoubleClicked, this, [this] { ExcludeBtnClick(); });
}

void TDlgNovaSestava::buildOptions()
{
    auto* column = static_cast<QVBoxLayout*>(layout());
    auto* style = new QHBoxLayout;
    style->addWidget(new QLabel(QStringLiteral("Styl předlohy:"), this));
    SBSloupec = named(new QRadioButton(QStringLiteral("Sloupce"), this), "SBSloupec");
    SBRadek = named(new QRadioButton(QStringLiteral("Řádky"), this), "SBRadek");
    style->addWidget(SBSloupec);
    style->addWidget(SBRadek);
    style->addStretch();
    column->addLayout(style);
    auto* group = new QButtonGroup(this);
    group->addButton(SBSloupec);
    group->addButton(SBRadek);
    SBSloupec->setChecked(true);
    auto* labels = new QHBoxLayout;
    CBPopisyPolozek = named(new QCheckBox(QStringLiteral("Popisy položek"), this), "CBPopisyPolozek");
    CBPopisyTextem = named(new QCheckBox(QStringLiteral("Popisy textem"), this), "CBPopisyTextem");
    CBSledovatPodle = named(new QCheckBox(QStringLiteral("Pol. podle názvu"), this), "CBSledovatPodle");
    for (QCheckBox* b : {CBPopisyPolozek, CBPopisyTextem, CBSledovatPodle}) labels->addWidget(b);
    labels->addStretch();
    column->addLayout(labels);
}

void TDlgNovaSestava::buildButtons()
{
    auto* row = new QHBoxLayout;
    BitBtn1 = named(new QPushButton(QStringLiteral("&Formát papíru"), this), "BitBtn1");
    OKBtn = named(new QPushButton(QStringLiteral("&Navrhnout"), this), "OKBtn");
    OKBtn->setDefault(true);
    RucneBtn = named(new QPushButton(QStringLiteral("&Ručně"), this), "RucneBtn");
    HelpBtn = named(new QPushButton(QStringLiteral("Storno"), this), "HelpBtn");
    row->addWidget(BitBtn1);
    row->addStretch();
    for (QPushButton* b : {OKBtn, RucneBtn, HelpBtn}) row->addWidget(b);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { if (m_paperFormat) m_paperFormat(); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(RucneBtn, &QPushButton::clicked, this, [this] { done(7); });
    connect(HelpBtn, &QPushButton::clicked, this, [this] { done(2); });
}

// Walks the source from its last item to its first, so several items moved at once arrive
// at the end of the target in reverse order.
void TDlgNovaSestava::moveSelected(QListWidget* source, QListWidget* target)
{
    int first = -1;
    for (int i = source->count() - 1; i >= 0; --i) {
        if (!source->item(i)->isSelected()) continue;
        first = i;
        QListWidgetItem* item = source->takeItem(i);
        item->setSelected(false);
        target->addItem(item);
    }
    source->setFocus();
    const int select = std::min(std::max(first, 0), source->count() - 1);
    source->clearSelection();
    if (select >= 0) {
        source->setCurrentRow(select);
        source->item(select)->setSelected(true);
    }
    SetButtons();
}

void TDlgNovaSestava::moveAll(QListWidget* source, QListWidget* target)
{
    while (source->count() > 0) {
        QListWidgetItem* item = source->takeItem(0);
        item->setSelected(false);
        target->addItem(item);
    }
    SetButtons();
}

void TDlgNovaSestava::IncludeBtnClick() { moveSelected(SrcList, DstList); }
void TDlgNovaSestava::ExcludeBtnClick() { moveSelected(DstList, SrcList); }
void TDlgNovaSestava::IncAllBtnClick() { moveAll(SrcList, DstList); }
void TDlgNovaSestava::ExcAllBtnClick() { moveAll(DstList, SrcList); }

void TDlgNovaSestava::SetButtons()
{
    IncludeBtn->setEnabled(SrcList->count() > 0);
    IncAllBtn->setEnabled(SrcList->count() > 0);
    ExcludeBtn->setEnabled(DstList->count() > 0);
    ExAllBtn->setEnabled(DstList->count() > 0);
}

void TDlgNovaSestava::OKBtnClick()
{
    if (DstList->count() == 0) {
        ui::services().messageBox(reportText(65089), QString(), ui::MsgType::Information, ui::Ok);
        return;
    }
    done(1);
}

WizardChoice TDlgNovaSestava::choice() const
{
    WizardChoice c;
    for (int i = 0; i < DstList->count(); ++i) c.selected << DstList->item(i)->text();
    c.isRowStyle = SBRadek->isChecked();
    c.hasLabels = CBPopisyPolozek->isChecked();
    c.labelsAsText = CBPopisyTextem->isChecked();
    c.isByName = CBSledovatPodle->isChecked();
    return c;
}

} // namespace reports::designer
