// The expression builder.
#include "reports/designer/dialogs/Sest_FnEditVyraz.h"

#include "platform/ui/Services.h"
#include "reports/designer/dialogs/VFontDlg.h"
#include "reports/expressions/Expression.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace reports::designer {

namespace {

constexpr std::array<const char*, 25> builtIns = {
    "ABS()", "INT()", "SGN()", "MAX(,)", "MIN(,)", "IIF(,,)", "LEFT(,)", "RIGHT(,)", "SUBSTR(,,)",
    "UPPER()", "LOWER()", "LTRIM()", "RTRIM()", "ALLTRIM()", "FORMAT(,)", "SIN()", "COS()", "TAN()",
    "COTG()", "EXP()", "LOG()", "ASIN()", "ACOS()", "ATAN()", "ACOTG()"};

struct OperatorButton {
    const char* text;
    int tag;      // caret advance after the insert
};
constexpr std::array<OperatorButton, 15> operators = {{
    {"()", 1}, {"+", 1}, {"-", 1}, {"*", 1}, {"/", 1}, {"^", 1}, {"=", 1}, {"<", 1}, {">", 1},
    {"<>", 2}, {"<=", 2}, {">=", 2}, {" NOT ", 5}, {" AND ", 5}, {" OR ", 4}}};
constexpr int inTag = 5;
const QString inText = QStringLiteral(" IN[]");

} // namespace

QString ListItemText(QChar marker, int index, const QString& name)
{
    return marker + (QString::number(index + 1) + QStringLiteral("  ")).left(3) + name;
}

QString ItemToken(const QString& itemText, bool byName)
{
    if (byName && !itemText.startsWith(u'&')) return itemText.left(1) + itemText.mid(4);
    return itemText.left(4).trimmed();
}

TSest_FnEditVyraz::TSest_FnEditVyraz(const QString& expression, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Sest_FnEditVyraz"));
    setWindowTitle(QStringLiteral("Tvorba výrazu pro výpočet funkce"));
    auto* grid = new QGridLayout;
    const std::array<std::pair<const char*, QString>, 4> lists = {{
        {"LBPolozky", QStringLiteral("Položky tabulky:")}, {"LBParametry", QStringLiteral("Parametry:")},
        {"LBFunkce", QStringLiteral("Uživatelské funkce:")}, {"LBOperatory", QStringLiteral("Ostatní:")}}};
    std::array<QListWidget*, 4> boxes{};
    for (size_t i = 0; i < lists.size(); ++i) {
        grid->addWidget(new QLabel(lists[i].second, this), 0, int(i));
        boxes[i] = addList(lists[i].first);
        grid->addWidget(boxes[i], 1, int(i));
    }
    LBPolozky = boxes[0];
    LBParametry = boxes[1];
    LBFunkce = boxes[2];
    LBOperatory = boxes[3];
    for (const char* name : builtIns) LBOperatory->addItem(QString::fromLatin1(name));

    EditVyraz = new QLineEdit(expression, this);
    EditVyraz->setObjectName(QStringLiteral("EditVyraz"));
    BitBtn1 = dialogButton(this, "BitBtn1", QStringLiteral("Kontrola"));
    BitBtnVlozit = dialogButton(this, "BitBtnVlozit", QStringLiteral("Vložit"));
    BitBtnVlozit->setEnabled(false);
    CBPodle = new QCheckBox(QStringLiteral("Položky podle názvu"), this);
    CBPodle->setObjectName(QStringLiteral("CBPodle"));
    OKBtn = dialogButton(this, "OKBtn", QStringLiteral("&Konec"));
    CancelBtn = dialogButton(this, "CancelBtn", QStringLiteral("Storno"));
    HelpBtn = hiddenHelpButton(this);

    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{CBPodle, BitBtnVlozit, BitBtn1, OKBtn, CancelBtn, HelpBtn})
        buttons->addWidget(w);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buildOperators());
    layout->addWidget(new QLabel(QStringLiteral("Výpočetní výraz:"), this));
    layout->addWidget(EditVyraz);
    layout->addLayout(buttons);

    connect(BitBtnVlozit, &QPushButton::clicked, this, [this] { Vlozit(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { Kontrola(); });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QListWidget* TSest_FnEditVyraz::addList(const char* name)
{
    auto* list = new QListWidget(this);
    list->setObjectName(QLatin1String(name));
    list->installEventFilter(this);
    connect(list, &QListWidget::currentRowChanged, this, [this, list](int row) { remember(list, row); });
    connect(list, &QListWidget::itemClicked, this, [this, list](QListWidgetItem* item) { remember(list, list->row(item)); });
    connect(list, &QListWidget::itemDoubleClicked, this, [this, list](QListWidgetItem* item) {
        remember(list, list->row(item));
        Vlozit();
    });
    return list;
}

QWidget* TSest_FnEditVyraz::buildOperators()
{
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->addWidget(new QLabel(QStringLiteral("Operátory:"), box));
    for (size_t i = 0; i < operators.size(); ++i) {
        auto* b = new QPushButton(QString::fromLatin1(operators[i].text), box);
        b->setObjectName(QStringLiteral("SBOperator%1").arg(i + 1));
        b->setProperty("Tag", operators[i].tag);
        connect(b, &QPushButton::clicked, this, [this, b] { OperatorClick(b); });
        row->addWidget(b);
    }
    BitBtnIn = dialogButton(box, "BitBtnIn", QStringLiteral(" IN "));
    BitBtnIn->setProperty("Tag", inTag);
    connect(BitBtnIn, &QPushButton::clicked, this, [this] { OperatorClick(BitBtnIn); });
    row->addWidget(BitBtnIn);
    return box;
}

void TSest_FnEditVyraz::NaplnSeznamy(const ExpressionLists& lists)
{
    LBPolozky->clear();
    LBParametry->clear();
    LBFunkce->clear();
    for (int i = 0; i < lists.Columns.size(); ++i) LBPolozky->addItem(ListItemText(u'#', i, lists.Columns[i]));
    for (int i = 0; i < lists.ParameterCount; ++i)
        LBParametry->addItem(ListItemText(u'&', i, QStringLiteral("Parametr ") + QString::number(i + 1)));
    for (int i = 0; i < lists.Functions.size(); ++i) LBFunkce->addItem(ListItemText(u'@', i, lists.Functions[i]));
    CBPodle->setChecked(lists.ByName);
    forget();
}

QString TSest_FnEditVyraz::Vyraz() const
{
    return EditVyraz->text();
}

void TSest_FnEditVyraz::remember(QListWidget* list, int index)
{
    m_list = list;
    m_index = index;
    BitBtnVlozit->setEnabled(true);
}

void TSest_FnEditVyraz::forget()
{
    m_list = nullptr;
    m_index = -1;
    BitBtnVlozit->setEnabled(false);
}

bool TSest_FnEditVyraz::eventFilter(QObject* watched, QEvent* event)
{
    auto* list = qobject_cast<QListWidget*>(watched);
    if (list && event->type() == QEvent::FocusIn) remember(list, list->currentRow());
    if (list && event->type() == QEvent::FocusOut) list->clearSelection();
    return QDialog::eventFilter(watched, event);
}

void TSest_FnEditVyraz::insertAtCaret(const QString& text, int caretAdvance)
{
    if (EditVyraz->hasSelectedText()) EditVyraz->del();
    const int at = EditVyraz->cursorPosition();
    EditVyraz->insert(text);
    EditVyraz->setFocus();
    EditVyraz->setCursorPosition(at + caretAdvance);
}

void TSest_FnEditVyraz::Vlozit()
{
    if (!m_list || m_index < 0 || m_index >= m_list->count()) return;
    const QString item = m_list->item(m_index)->text();
    QListWidget* list = m_list;
    if (list == LBOperatory) insertAtCaret(item, int(item.indexOf(u'(')) + 1);
    else {
        const QString token = ItemToken(item, CBPodle->isChecked());
        insertAtCaret(token, int(token.size()));
    }
    list->clearSelection();
    forget();
}

void TSest_FnEditVyraz::OperatorClick(const QPushButton* button)
{
    insertAtCaret(button == BitBtnIn ? inText : button->text(), button->property("Tag").toInt());
    forget();
}

void TSest_FnEditVyraz::Kontrola()
{
    TOperandValue value;
    int errorPos = 0;
    const int code = EvaluateExpression(EditVyraz->text(), value, errorPos);
    if (code == 0) {
        ui::services().messageBox(ExpressionCheckText(0, 0), QStringLiteral("Informace"), ui::MsgType::Information, ui::Ok);
        return;
    }
    ui::services().messageBox(ExpressionCheckText(code, errorPos), QStringLiteral("Chyba"), ui::MsgType::Warning, ui::Ok);
    EditVyraz->setFocus();
    EditVyraz->deselect();
    EditVyraz->setCursorPosition(errorPos);
}

std::optional<QString> TSest_FnEditVyraz::Execute(const QString& expression, const ExpressionLists& lists, QWidget* parent)
{
    TSest_FnEditVyraz dialog(expression, parent);
    dialog.NaplnSeznamy(lists);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Vyraz();
}

} // namespace reports::designer
