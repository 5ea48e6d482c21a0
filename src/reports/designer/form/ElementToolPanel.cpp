// The designer's element tool panel.
#include "reports/designer/form/ElementToolPanel.h"

#include "reports/designer/DesignerTypes.h"
#include "reports/preview/ReportPanels.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace reports::designer {

namespace {

constexpr int toolTop = 1;
constexpr int toolHeight = 22;
constexpr int pageHeight = toolHeight + 2 * toolTop;
constexpr int narrowWidth = 13;   // numbered buttons, overlapping by one pixel
constexpr int narrowStep = 12;
constexpr int numberPadding = 6;   // beside a numbered tool's caption, both sides together
constexpr int wideWidth = 25;
constexpr int wideStep = 24;
constexpr int panelStep = 8;

constexpr std::array<const char*, 7> tabNames = {"Položky", "Popisy", "Parametry", "Proměnné",
                                                 "Funkce", "Grafické prvky", "Detaily"};
constexpr std::array<const char*, 6> graphicHints = {"Grafický text", "Úsečky", "Hranatý rámeček",
                                                     "Zaoblený rámeček", "Elipsa", "Obrázek"};
constexpr std::array<const char*, 5> variableHints = {"Datum tisku", "Čas tisku", "Číslo řádku v sestavě",
                                                      "Číslo strany", "Celkový počet stran"};
constexpr std::array<const char*, 5> variableCaptions = {"D", "Č", "Ř", "S", "P"};

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

// The tool buttons of a page. TSestButton has no meta-object of its own, so findChildren
// would take every tool button for one.
std::vector<TSestButton*> toolsOf(const QWidget* page)
{
    std::vector<TSestButton*> tools;
    for (QObject* child : page->children())
        if (auto* tool = dynamic_cast<TSestButton*>(child)) tools.push_back(tool);
    return tools;
}

// The glyph of a graphic tool: the shape it inserts.
QIcon shapeIcon(int command)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5));
    const QRectF box(2.5, 3.5, 11, 9);
    switch (command) {
    case tcText: painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("T")); break;
    case tcLines: painter.drawLine(QPointF(2, 13), QPointF(14, 3)); break;
    case tcRectangle: painter.drawRect(box); break;
    case tcRoundRect: painter.drawRoundedRect(box, 3, 3); break;
    case tcEllipse: painter.drawEllipse(box); break;
    default:
        painter.drawRect(box);
        painter.drawLine(QPointF(3, 12), QPointF(7, 7));
        painter.drawLine(QPointF(7, 7), QPointF(13, 12));
        break;
    }
    return QIcon(pixmap);
}

} // namespace

ElementToolPanel::ElementToolPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PanelPrvku"));
    buildTabs();
    buildFixedTools();
    setActiveTool(tcArrow);
}

void ElementToolPanel::buildTabs()
{
    SipkaButton1 = new TSestButton(this, tcArrow);
    SipkaButton1->setObjectName(QStringLiteral("SipkaButton1"));
    SipkaButton1->setToolTip(QStringLiteral("Výběr prvků"));
    SipkaButton1->setArrowType(Qt::NoArrow);
    SipkaButton1->setText(QStringLiteral("↖"));
    SipkaButton1->setCheckable(true);
    connect(SipkaButton1, &QToolButton::clicked, this, [this] {
        setActiveTool(tcArrow);
        emit arrowChosen();
    });
    SBPrvkyVlevo = new QToolButton(this);
    SBPrvkyVlevo->setObjectName(QStringLiteral("SBPrvkyVlevo"));
    SBPrvkyVlevo->setArrowType(Qt::LeftArrow);
    SBPrvkyVpravo = new QToolButton(this);
    SBPrvkyVpravo->setObjectName(QStringLiteral("SBPrvkyVpravo"));
    SBPrvkyVpravo->setArrowType(Qt::RightArrow);

    m_window = new QWidget(this);
    m_window->setFixedHeight(pageHeight);
    m_window->installEventFilter(this);
    PanelPrvkuPosuvny = new TPosuvnyPanelSest(m_window);
    PanelPrvkuPosuvny->setObjectName(QStringLiteral("PanelPrvkuPosuvny"));
    NotebookPrvku = new QStackedWidget(PanelPrvkuPosuvny);
    NotebookPrvku->setObjectName(QStringLiteral("NotebookPrvku"));
    for (const char* name : tabNames) {
        auto* sheet = new QWidget(NotebookPrvku);
        sheet->setObjectName(text(name));
        NotebookPrvku->addWidget(sheet);
    }
    PanelPrvkuPosuvny->setButtons(SBPrvkyVlevo, SBPrvkyVpravo, nullptr, nullptr);
    PanelPrvkuPosuvny->setAutoHide(true);

    PanelCbVyberuPrvku = new QWidget(this);
    PanelCbVyberuPrvku->setObjectName(QStringLiteral("PanelCbVyberuPrvku"));
    CBVyberPrvku = new QComboBox(PanelCbVyberuPrvku);
    CBVyberPrvku->setObjectName(QStringLiteral("CBVyberPrvku"));
    CBVyberPrvku->setMinimumContentsLength(16);
    (new QHBoxLayout(PanelCbVyberuPrvku))->addWidget(CBVyberPrvku);
    PanelCbVyberuPrvku->layout()->setContentsMargins(0, 0, 0, 0);
    PanelCbVyberuPrvku->hide();
    connect(CBVyberPrvku, &QComboBox::activated, this, &ElementToolPanel::chooserItemChosen);

    TabSetPrvku = new QTabBar(this);
    TabSetPrvku->setObjectName(QStringLiteral("TabSetPrvku"));
    TabSetPrvku->setShape(QTabBar::RoundedSouth);
    TabSetPrvku->setExpanding(false);
    for (int tab = tPolozky; tab < tDetaily; ++tab) TabSetPrvku->addTab(text(tabNames[size_t(tab)]));
    connect(TabSetPrvku, &QTabBar::currentChanged, this, [this](int tab) {
        NotebookPrvku->setCurrentIndex(tab);
        layoutElementPanel();
        emit tabChanged(tab);
    });

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(SipkaButton1);
    row->addWidget(SBPrvkyVlevo);
    row->addWidget(m_window, 1);
    row->addWidget(SBPrvkyVpravo);
    row->addWidget(PanelCbVyberuPrvku);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row);
    column->addWidget(TabSetPrvku);
}

void ElementToolPanel::buildFixedTools()
{
    for (int i = 0; i < int(variableHints.size()); ++i)
        addTool(tPromenne, tcVariable + i, {wideStep * i, toolTop, wideWidth, toolHeight},
                text(variableCaptions[size_t(i)]), text(variableHints[size_t(i)]));
    for (int command = tcText; command <= tcPicture; ++command) {
        TSestButton* tool = addTool(tGraficke, command, {wideStep * (command - 1), toolTop, wideWidth, toolHeight},
                                    text(graphicHints[size_t(command - 1)]), text(graphicHints[size_t(command - 1)]));
        tool->setIcon(shapeIcon(command));
        tool->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    const auto functionButton = [this](QToolButton*& button, const char* name, const char* hint, const char* glyph,
                                       int slot, void (ElementToolPanel::*signal)()) {
        button = new QToolButton(page(tFunkce));
        button->setObjectName(QString::fromLatin1(name));
        button->setText(text(glyph));
        button->setToolTip(text(hint));
        button->setAutoRaise(true);
        button->setGeometry(narrowStep * slot, toolTop, narrowWidth, toolHeight);
        connect(button, &QToolButton::clicked, this, signal);
    };
    functionButton(SBFnEdit, "SBFnEdit", "Oprav", "…", 0, &ElementToolPanel::functionEditRequested);
    functionButton(SBFnInsert, "SBFnInsert", "Přidej", "+", 1, &ElementToolPanel::functionAddRequested);
    functionButton(SBFnDelete, "SBFnDelete", "Vynech", "−", 2, &ElementToolPanel::functionDeleteRequested);
    setFunctionButtons(false, false);
}

TSestButton* ElementToolPanel::addTool(int pageIndex, int command, QRect geometry, const QString& caption,
                                       const QString& hint)
{
    auto* tool = new TSestButton(page(pageIndex), command);
    tool->setText(caption);
    tool->setToolTip(hint);
    tool->setCheckable(true);
    tool->setGeometry(geometry);
    QFont small = tool->font();
    small.setPointSize(7);
    tool->setFont(small);
    tool->show();
    connect(tool, &QToolButton::clicked, this, [this, tool] { toolClicked(tool); });
    return tool;
}

// Neighbours share their border pixel; each is as wide as the largest number of the row needs.
void ElementToolPanel::placeNumbered(int pageIndex, int left)
{
    std::vector<TSestButton*> tools = toolsOf(page(pageIndex));
    std::sort(tools.begin(), tools.end(), [](const TSestButton* a, const TSestButton* b) { return a->command() < b->command(); });
    int width = narrowWidth;
    for (const TSestButton* tool : tools)
        width = std::max(width, tool->fontMetrics().horizontalAdvance(tool->text()) + numberPadding);
    for (size_t i = 0; i < tools.size(); ++i)
        tools[i]->setGeometry(left + int(i) * (width - 1), toolTop, width, toolHeight);
}

void ElementToolPanel::removeTools(int pageIndex, int from, int to)
{
    for (TSestButton* tool : toolsOf(page(pageIndex)))
        if (tool->command() >= from && tool->command() < to) delete tool;
}

void ElementToolPanel::toolClicked(TSestButton* button)
{
    const int command = button->command();
    setActiveTool(command);
    emit toolChosen(command);
}

QWidget* ElementToolPanel::page(int index) const
{
    return NotebookPrvku->widget(index);
}

void ElementToolPanel::setColumns(const QStringList& names)
{
    removeTools(tPolozky, tcColumn, tcLabel);
    removeTools(tPopisy, tcLabel, tcParameter);
    for (int i = 0; i < names.size(); ++i) {
        const QString caption = QString::number(i + 1);
        addTool(tPolozky, tcColumn + i, {}, caption, QStringLiteral("Položka ") + names[i]);
        addTool(tPopisy, tcLabel + i, {}, caption, QStringLiteral("Popis položky ") + names[i]);
    }
    placeNumbered(tPolozky, 0);
    placeNumbered(tPopisy, 0);
    const QSignalBlocker quiet(CBVyberPrvku);
    CBVyberPrvku->clear();
    CBVyberPrvku->addItems(names);
    CBVyberPrvku->setCurrentIndex(-1);
    layoutElementPanel();
}

void ElementToolPanel::setParameterCount(int count)
{
    removeTools(tParametry, tcParameter, tcVariable);
    for (int i = 0; i < count; ++i)
        addTool(tParametry, tcParameter + i, {}, QString::number(i + 1), QStringLiteral("Parametr %1").arg(i + 1));
    placeNumbered(tParametry, 0);
    layoutElementPanel();
}

void ElementToolPanel::setGroupCount(int count)
{
    constexpr int firstGroupTool = tcVariable + 5;
    removeTools(tPromenne, firstGroupTool, tcFunction);
    for (int g = 0; g < count; ++g) {
        addTool(tPromenne, firstGroupTool + 2 * g, {48 * g + 120, toolTop, wideWidth, toolHeight},
                QStringLiteral("ř%1").arg(g + 1), QStringLiteral("Číslo řádku ve skupině %1").arg(g + 1));
        addTool(tPromenne, firstGroupTool + 1 + 2 * g, {48 * g + 144, toolTop, wideWidth, toolHeight},
                QStringLiteral("s%1").arg(g + 1), QStringLiteral("Pořadové číslo skupiny %1").arg(g + 1));
    }
    layoutElementPanel();
}

void ElementToolPanel::setFunctions(const QStringList& names)
{
    removeTools(tFunkce, tcFunction, tcDetail);
    for (int f = 0; f < names.size(); ++f) {
        const int count = f + 1;
        addTool(tFunkce, tcFunction + f, {}, QString::number(count), QStringLiteral("Funkce ") + names[f]);
    }
    placeNumbered(tFunkce, 3 * narrowStep);   // after the edit, insert and delete buttons
    layoutElementPanel();
}

void ElementToolPanel::setFunctionName(int index, const QString& name)
{
    if (TSestButton* tool = toolButton(tcFunction + index)) tool->setToolTip(QStringLiteral("Funkce ") + name);
}

void ElementToolPanel::setDetailCount(int count)
{
    removeTools(tDetaily, tcDetail, tcEnd);
    const bool hasTab = TabSetPrvku->count() > tDetaily;
    if (count > 0 && !hasTab) TabSetPrvku->addTab(text(tabNames[tDetaily]));
    if (count <= 0 && hasTab) TabSetPrvku->removeTab(tDetaily);
    for (int d = 0; d < count; ++d)
        addTool(tDetaily, tcDetail + d, {wideStep * d, toolTop, wideWidth, toolHeight}, QString::number(d + 1),
                QStringLiteral("Detail %1").arg(d + 1));
    layoutElementPanel();
}

void ElementToolPanel::setActiveTool(int command)
{
    for (int i = 0; i < NotebookPrvku->count(); ++i)
        for (TSestButton* tool : toolsOf(page(i)))
            tool->setChecked(tool->command() == command);
    SipkaButton1->setChecked(command == tcArrow);
}

int ElementToolPanel::pressedTool() const
{
    for (int i = 0; i < NotebookPrvku->count(); ++i)
        for (TSestButton* tool : toolsOf(page(i)))
            if (tool->isChecked()) return tool->command();
    return tcArrow;
}

TSestButton* ElementToolPanel::toolButton(int command) const
{
    for (int i = 0; i < NotebookPrvku->count(); ++i)
        for (TSestButton* tool : toolsOf(page(i)))
            if (tool->command() == command) return tool;
    return nullptr;
}

QString ElementToolPanel::toolHint(int command) const
{
    const TSestButton* tool = toolButton(command);
    return tool ? tool->toolTip() : QString();
}

int ElementToolPanel::currentTab() const
{
    return TabSetPrvku->currentIndex();
}

void ElementToolPanel::setCurrentTab(int tab)
{
    TabSetPrvku->setCurrentIndex(tab);
}

void ElementToolPanel::setChooserVisible(bool visible)
{
    PanelCbVyberuPrvku->setVisible(visible);
}

void ElementToolPanel::setChooserItem(int item)
{
    const QSignalBlocker quiet(CBVyberPrvku);
    CBVyberPrvku->setCurrentIndex(item >= 0 && item < CBVyberPrvku->count() ? item : -1);
}

void ElementToolPanel::setFunctionButtons(bool editEnabled, bool deleteVisible)
{
    SBFnEdit->setEnabled(editEnabled);
    SBFnDelete->setVisible(deleteVisible);
}

void ElementToolPanel::layoutElementPanel()
{
    int right = 0;
    for (const QWidget* child : page(NotebookPrvku->currentIndex())->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isHidden()) right = std::max(right, child->geometry().right() + 1);
    const int height = m_window->height();
    NotebookPrvku->setGeometry(0, 0, right, height);
    PanelPrvkuPosuvny->setContents(right, height, panelStep);
}

bool ElementToolPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Resize) layoutElementPanel();
    return QWidget::eventFilter(watched, event);
}

} // namespace reports::designer
