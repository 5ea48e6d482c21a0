// The list window of recognised stands: grid, navigator and the four editable fields.
#include "app/windows/ListWindow.h"

#include "platform/Exceptions.h"
#include "platform/db/DataSetModel.h"
#include "platform/ui/LineEditLink.h"
#include "platform/ui/Services.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace app {

namespace {

constexpr char editPrefix[] = "DBEdit_";
// QLineEdit's own margin either side of its text.
constexpr int lineEditTextMargin = 2;
// The height the window asks for when the screen allows it.
constexpr int preferredHeight = 600;

// The width a line edit needs to show a text of the given width whole.
int lineEditWidth(const QLineEdit& edit, int textWidth)
{
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
    const QMargins text = edit.textMargins();
    const QMargins content = edit.contentsMargins();
    const int inner = textWidth + 2 * lineEditTextMargin + 1 + text.left() + text.right() + content.left() + content.right();
    return edit.style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, edit.fontMetrics().height()), &edit)
        .width();
}

QLineEdit* boundEdit(QWidget* parent, db::DataSource* source, const char* field, bool editable)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(editPrefix) + QLatin1String(field));
    new ui::LineEditLink(edit, source, QString::fromLatin1(field));
    if (!editable) {
        edit->setReadOnly(true);
        edit->setEnabled(false);
    }
    return edit;
}

// Runs an action of the window; an error (a database error, a text that does not convert) is
// shown, not raised into the event loop, and answers false.
bool guarded(const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const Exception& e) {
        ui::services().messageBox(e.message(), QString(), ui::MsgType::Error, ui::Ok);
        return false;
    }
}

} // namespace

ListWindowGeometry listWindowGeometry(const ListWindowExtent& extent, const QSize& available)
{
    const int width = extent.grid + extent.sidePanel + extent.frame;
    if (width > available.width())
        return {available, true};
    return {QSize(width, std::min(extent.height, available.height())), false};
}

int widestValue(const db::DataSet& dataSet, const QString& fieldName, const std::function<int(const QString&)>& measure)
{
    const db::Field* field = dataSet.Active() ? dataSet.FindField(fieldName) : nullptr;
    if (!field)
        return 0;
    QSet<QString> measured;
    int widest = 0;
    const int rows = dataSet.RecordCount();
    for (int row = 0; row < rows; ++row) {
        const QString text = dataSet.rowValue(row, field->Index()).toString();
        if (!measured.contains(text)) {
            measured.insert(text);
            widest = std::max(widest, measure(text));
        }
    }
    return widest;
}

TFGKDB::TFGKDB(QWidget* parent)
    : QDialog(parent), m_model(new db::DataSetModel(this)), m_grid(new QTableView(this)),
      m_report(new QPushButton(QStringLiteral("Sestava"), this)),
      m_close(new QPushButton(QStringLiteral("&Konec"), this))
{
    setWindowTitle(QStringLiteral("Seznam uznaných porostů"));
    m_model->setDataSet(&m_list.Query2());
    m_model->setColumns(RecognisedStandsList::gridColumns());
    m_model->setReadOnly(true);
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TFGKDB::gridRowChosen);
    // The grid shows the dataset's current row whoever moved it.
    connect(m_model, &db::DataSetModel::currentRowChanged, this, &TFGKDB::showCurrentRow);
    connect(m_close, &QPushButton::clicked, this, &TFGKDB::BitBtn2Click);
    m_report->setObjectName(QStringLiteral("BitBtn1"));
    m_report->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    connect(m_report, &QPushButton::clicked, this, &TFGKDB::BitBtn1Click);

    auto* top = new QHBoxLayout;
    top->addWidget(m_report);
    top->addWidget(buildNavigator());
    top->addStretch();
    top->addWidget(m_close);
    auto* body = new QHBoxLayout;
    body->addWidget(m_grid, 1);
    m_sidePanel = buildSidePanel();
    body->addWidget(m_sidePanel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);
    m_body = body;
}

TFGKDB::~TFGKDB() = default;

QWidget* TFGKDB::buildNavigator()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    db::Query& q = m_list.Query2();
    const struct {
        const char* text;
        const char* hint;
        std::function<void()> action;
    } buttons[] = {
        {"|<", "První záznam", [&q] { q.First(); }},
        {"<", "Předchozí záznam", [&q] { q.Prior(); }},
        {">", "Další záznam", [&q] { q.Next(); }},
        {">|", "Poslední záznam", [&q] { q.Last(); }},
        {"Oprava", "Opravit záznam", [&q] {
             q.Edit();
             q.UpdateRecord();
         }},
        {"Uložit", "Uložit změny", [&q] { q.Post(); }},
        {"Zrušit", "Zrušit změny", [&q] { q.Cancel(); }},
        {"Obnovit", "Obnovit data", [&q] { q.Refresh(); }},
    };
    for (const auto& b : buttons) {
        auto* button = new QToolButton(bar);
        button->setText(QString::fromUtf8(b.text));
        button->setToolTip(QString::fromUtf8(b.hint));
        // The moves, "Uložit" and "Obnovit" store the record and with it the text of the
        // focused edit (UpdateRecord); "Zrušit" drops both.
        const std::function<void()> action = b.action;
        connect(button, &QToolButton::clicked, this, [action] { guarded(action); });
        row->addWidget(button);
    }
    return bar;
}

QWidget* TFGKDB::buildSidePanel()
{
    auto* panel = new QWidget(this);
    auto* form = new QFormLayout(panel);
    db::DataSource* source = &m_list.DataSource2();
    const auto sideEdit = [&](const char* field, bool editable) {
        m_sideEdits.push_back(boundEdit(panel, source, field, editable));
        return m_sideEdits.back();
    };
    form->addRow(QStringLiteral("LHC:"), sideEdit("LHC_KOD", false));
    form->addRow(QString(), sideEdit("LHC_NAZEV", false));
    form->addRow(QStringLiteral("Okres:"), sideEdit("Okres", false));
    form->addRow(QString(), sideEdit("Okr_Nazev", false));
    form->addRow(QStringLiteral("Lesní oblast:"), sideEdit("LES_OBL", false));
    form->addRow(QString(), sideEdit("L_OBL_Naz", false));
    auto* heading = new QLabel(QStringLiteral("Položky k editaci:"), panel);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    form->addRow(heading);
    const struct {
        const char* label;
        const char* field;
    } editable[] = {{"Nájemce lesa", "NAJEMCE"},
                    {"Staré označení", "Stary_Kod"},
                    {"Fenotyp", "Fenotyp"},
                    {"Lesní vegetační stupeň", "LVS"}};
    for (const auto& e : editable)
        form->addRow(QString::fromUtf8(e.label), sideEdit(e.field, true));
    return panel;
}

void TFGKDB::fitToContents()
{
    const db::DataSet& rows = m_list.Query2();
    for (QLineEdit* edit : m_sideEdits) {
        const QFontMetrics metrics = edit->fontMetrics();
        const int text = widestValue(rows, edit->objectName().mid(int(qstrlen(editPrefix))),
                                     [&metrics](const QString& value) { return metrics.horizontalAdvance(value); });
        edit->setMinimumWidth(lineEditWidth(*edit, text));
    }
    m_sidePanel->layout()->activate();
    m_grid->resizeColumnsToContents();
    ListWindowExtent extent;
    extent.grid = m_grid->verticalHeader()->sizeHint().width() + m_grid->horizontalHeader()->length() +
                  2 * m_grid->frameWidth() + m_grid->verticalScrollBar()->sizeHint().width();
    extent.sidePanel = m_sidePanel->sizeHint().width();
    const QMargins margins = layout()->contentsMargins();
    extent.frame = margins.left() + margins.right() + std::max(0, m_body->spacing());
    extent.height = std::max(sizeHint().height(), preferredHeight);
    const ListWindowGeometry geometry = listWindowGeometry(extent, screen()->availableGeometry().size());
    if (geometry.maximised) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        setWindowState(windowState() & ~Qt::WindowMaximized);
        resize(geometry.size);
    }
}

void TFGKDB::ShowList(bool modal)
{
    m_list.open();
    fitToContents();
    ui::services().processEvents();
    if (modal)
        exec();
    else
        show();
}

void TFGKDB::gridRowChosen(const QModelIndex& index)
{
    db::Query& q = m_list.Query2();
    if (!index.isValid() || !q.Active() || q.currentRow() == index.row())
        return;
    // A record that cannot be stored keeps the dataset where it is: the grid goes back to it
    // once its own selection change is over.
    if (!guarded([&] { q.SetRecNo(index.row() + 1); }))
        QMetaObject::invokeMethod(this, &TFGKDB::showCurrentRow, Qt::QueuedConnection);
}

void TFGKDB::showCurrentRow()
{
    const db::Query& q = m_list.Query2();
    const int row = q.Active() ? q.currentRow() : -1;
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex current = m_grid->currentIndex();
    const int column = current.isValid() ? current.column() : std::max(0, m_grid->columnAt(0));
    const QModelIndex index = m_model->index(row, column);
    if (current != index)
        m_grid->setCurrentIndex(index);
    m_grid->scrollTo(index);
}

void TFGKDB::BitBtn1Click()
{
    // One preview at a time: the button stays disabled until the preview has closed.
    m_report->setEnabled(false);
    guarded([this] { m_list.PrintReport(); });
    m_report->setEnabled(true);
}

void TFGKDB::BitBtn2Click()
{
    // A record that cannot be stored keeps the window open for its correction.
    if (!guarded([this] { m_list.close(); }))
        return;
    hide();
    if (isModal())
        done(QDialog::Accepted);
}

void TFGKDB::closeEvent(QCloseEvent* event)
{
    if (!guarded([this] { m_list.close(); })) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace app
