// The new-report wizard's dialog.
#include "reports/designer/wizard/DlgNovaSestava.h"

#include "platform/ui/Services.h"
#include "reports/model/ReportTexts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace reports::designer {

namespace {

template <typename T>
T* named(T* widget, const char* name, const QRect& geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
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
    setFixedSize(430, 330);
    buildLists(columnNames);
    buildOptions();
    buildButtons();
    CBPopisyPolozek->setChecked(true);
    CBSledovatPodle->setChecked(isByName);
    SetButtons();
}

void TDlgNovaSestava::buildLists(const QStringList& columnNames)
{
    (new QLabel(QStringLiteral("Dostupné položky:"), this))->setGeometry(8, 6, 160, 16);
    SrcList = named(new QListWidget(this), "SrcList", QRect(8, 24, 160, 200));
    SrcList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SrcList->addItems(columnNames);
    (new QLabel(QStringLiteral("Vybrané položky:"), this))->setGeometry(224, 6, 160, 16);
    DstList = named(new WizardTargetList(this), "DstList", QRect(224, 24, 160, 200));
    DstList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    IncludeBtn = named(new QPushButton(QStringLiteral(">"), this), "IncludeBtn", QRect(178, 50, 36, 24));
    IncAllBtn = named(new QPushButton(QStringLiteral(">>"), this), "IncAllBtn", QRect(178, 80, 36, 24));
    ExcludeBtn = named(new QPushButton(QStringLiteral("<"), this), "ExcludeBtn", QRect(178, 120, 36, 24));
    ExAllBtn = named(new QPushButton(QStringLiteral("<<"), this), "ExAllBtn", QRect(178, 150, 36, 24));
    connect(IncludeBtn, &QPushButton::clicked, this, [this] { IncludeBtnClick(); });
    connect(IncAllBtn, &QPushButton::clicked, this, [this] { IncAllBtnClick(); });
    connect(ExcludeBtn, &QPushButton::clicked, this, [this] { ExcludeBtnClick(); });
    connect(ExAllBtn, &QPushButton::clicked, this, [this] { ExcAllBtnClick(); });
    connect(SrcList, &QListWidget::itemDoubleClicked, this, [this] { IncludeBtnClick(); });
    connect(DstList, &QListWidget::itemDoubleClicked, this, [this] { ExcludeBtnClick(); });
}

void TDlgNovaSestava::buildOptions()
{
    auto* style = new QLabel(QStringLiteral("Styl předlohy:"), this);
    style->setGeometry(8, 234, 90, 16);
    SBSloupec = named(new QRadioButton(QStringLiteral("Sloupce"), this), "SBSloupec", QRect(100, 232, 80, 20));
    SBRadek = named(new QRadioButton(QStringLiteral("Řádky"), this), "SBRadek", QRect(180, 232, 80, 20));
    auto* group = new QButtonGroup(this);
    group->addButton(SBSloupec);
    group->addButton(SBRadek);
    SBSloupec->setChecked(true);
    CBPopisyPolozek = named(new QCheckBox(QStringLiteral("Popisy položek"), this), "CBPopisyPolozek",
                            QRect(8, 258, 130, 20));
    CBPopisyTextem = named(new QCheckBox(QStringLiteral("Popisy textem"), this), "CBPopisyTextem",
                           QRect(140, 258, 130, 20));
    CBSledovatPodle = named(new QCheckBox(QStringLiteral("Pol. podle názvu"), this), "CBSledovatPodle",
                            QRect(272, 258, 150, 20));
}

void TDlgNovaSestava::buildButtons()
{
    BitBtn1 = named(new QPushButton(QStringLiteral("&Formát papíru"), this), "BitBtn1", QRect(8, 294, 110, 26));
    OKBtn = named(new QPushButton(QStringLiteral("&Navrhnout"), this), "OKBtn", QRect(140, 294, 90, 26));
    OKBtn->setDefault(true);
    RucneBtn = named(new QPushButton(QStringLiteral("&Ručně"), this), "RucneBtn", QRect(236, 294, 90, 26));
    HelpBtn = named(new QPushButton(QStringLiteral("Storno"), this), "HelpBtn", QRect(332, 294, 90, 26));
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
