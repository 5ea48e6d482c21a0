// The selection window of one forest unit ("Výběry"): lists, copy, move and delete of its items.
#include "app/windows/SelectionWindow.h"

#include "app/windows/SqlDialogs.h"
#include "platform/Exceptions.h"
#include "platform/ui/Services.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

namespace {

sqlsrc::SelectionDialogs programDialogs(QWidget* parent)
{
    sqlsrc::SelectionDialogs d;
    d.targetKey = [parent](sqlsrc::UnitKey prefill) -> std::optional<sqlsrc::UnitKey> {
        TFVybLHCID dialog(parent);
        dialog.setKey(prefill);
        dialog.exec();
        return dialog.Confirmed() ? dialog.key() : std::nullopt;
    };
    d.targetOddId = [parent](int odd, const QList<int>& found) {
        TFVyODDID dialog(odd, found, parent);
        dialog.exec();
        return dialog.oddId();
    };
    d.confirmEnd = [parent] {
        TFUkonTrans dialog(parent);
        dialog.exec();
        return dialog.Confirmed();
    };
    return d;
}

QStringList columnsOf(sqlsrc::SelectionKind kind)
{
    using K = sqlsrc::SelectionKind;
    QStringList c = {QStringLiteral("ODD"), QStringLiteral("ODD_ID")};
    if (kind >= K::Stand)
        c << QStringLiteral("DIL") << QStringLiteral("POR");
    if (kind == K::StandGroup)
        c << QStringLiteral("PSK");
    if (kind == K::BareLand)
        c << QStringLiteral("BZL") << QStringLiteral("BZL_ID");
    if (kind == K::OtherLand)
        c << QStringLiteral("JP") << QStringLiteral("JP_ID");
    return c;
}

QStringList cellsOf(const sqlsrc::SelectedRow& r)
{
    QStringList c = {QString::number(r.odd), QString::number(r.oddId)};
    if (r.kind >= sqlsrc::SelectionKind::Stand)
        c << r.dil << r.por;
    if (r.kind == sqlsrc::SelectionKind::StandGroup)
        c << r.psk;
    if (r.kind == sqlsrc::SelectionKind::BareLand || r.kind == sqlsrc::SelectionKind::OtherLand)
        c << QString::number(r.number) << QString::number(r.numberId);
    return c;
}

} // namespace

TFDtbVyb::TFDtbVyb(std::unique_ptr<sqlsrc::UnitSelection> selection, const sqlsrc::UnitRow& unit,
                   std::optional<sqlsrc::SelectionDialogs> dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_owned(std::move(selection)), m_selection(m_owned.get()), m_unit(unit.key),
      m_grid(new QTableWidget(this)), m_targetKod(new QLabel(this)), m_targetId(new QLabel(this)),
      m_targetName(new QLabel(this)), m_odd(new QLabel(this)), m_oddId(new QLabel(this)),
      m_deleted(new QLabel(QStringLiteral("Mazáno"), this)), m_log(new QPlainTextEdit(this))
{
    m_session = std::make_unique<sqlsrc::SelectionSession>(*m_selection, dialogs ? *dialogs : programDialogs(this));
    build(unit, QStringLiteral("Výběry"));
}

TFDtbVyb::TFDtbVyb(TFDtbVyb& owner, const sqlsrc::UnitRow& unit)
    : QWidget(&owner, Qt::Window), m_selection(owner.m_selection), m_unit(unit.key), m_owner(&owner),
      m_grid(new QTableWidget(this)),
      m_targetKod(new QLabel(this)), m_targetId(new QLabel(this)), m_targetName(new QLabel(this)),
      m_odd(new QLabel(this)), m_oddId(new QLabel(this)), m_deleted(new QLabel(QStringLiteral("Mazáno"), this)),
      m_log(new QPlainTextEdit(this))
{
    build(unit, QStringLiteral("Kontrola"));
}

void TFDtbVyb::build(const sqlsrc::UnitRow& unit, const QString& caption)
{
    setWindowTitle(QStringLiteral("%1 %2-%3 %4").arg(caption).arg(unit.key.kod).arg(unit.key.id).arg(unit.name));
    m_grid->setObjectName(QStringLiteral("DBVyber"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);

    auto* keys = new QGridLayout;
    const auto label = [this](const QString& text) { return new QLabel(text, this); };
    keys->addWidget(label(QStringLiteral("LHC_KOD :")), 0, 0);
    keys->addWidget(label(QString::number(unit.key.kod)), 0, 1);
    keys->addWidget(label(QStringLiteral("LHC_KOD_ID:")), 0, 2);
    keys->addWidget(label(QString::number(unit.key.id)), 0, 3);
    keys->addWidget(label(QStringLiteral("LHC_NAZ:")), 0, 4);
    keys->addWidget(label(unit.name), 0, 5);
    keys->addWidget(label(QStringLiteral("LHC do kterého se bude kopírovat :")), 1, 0);
    keys->addWidget(m_targetKod, 1, 1);
    keys->addWidget(label(QStringLiteral("ID:")), 1, 2);
    keys->addWidget(m_targetId, 1, 3);
    keys->addWidget(m_targetName, 1, 5);
    keys->addWidget(label(QStringLiteral("Přiřazení ODD_ID :")), 2, 0);
    keys->addWidget(label(QStringLiteral("ODD:")), 2, 2);
    keys->addWidget(m_odd, 2, 3);
    keys->addWidget(label(QStringLiteral("ODD_ID:")), 2, 4);
    keys->addWidget(m_oddId, 2, 5);
    keys->addWidget(m_deleted, 3, 0);

    using K = sqlsrc::SelectionKind;
    auto* lists = new QHBoxLayout;
    auto* actions = new QHBoxLayout;
    const auto button = [this](const QString& caption, const char* name, QHBoxLayout* row, auto handler) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        row->addWidget(b);
        connect(b, &QPushButton::clicked, this, handler);
        m_buttons << b;
    };
    button(QStringLiteral("Výběr ODD"), "ButODD", lists, [this] { guarded([this] { showList(K::Compartment); }); });
    button(QStringLiteral("Výběr POR"), "ButPOR", lists, [this] { guarded([this] { showList(K::Stand); }); });
    button(QStringLiteral("Výběr PSK"), "ButPSK", lists, [this] { guarded([this] { showList(K::StandGroup); }); });
    button(QStringLiteral("Výběr BZL"), "Button1", lists, [this] { guarded([this] { showList(K::BareLand); }); });
    button(QStringLiteral("Výběr JP"), "Button2", lists, [this] { guarded([this] { showList(K::OtherLand); }); });
    button(QStringLiteral("Kopíruj do jiného LHC"), "ButCopy", actions, [this] { ButCopyClick(); });
    button(QStringLiteral("Přesuň do jiného LHC"), "ButMove", actions, [this] { ButMoveClick(); });
    button(QStringLiteral("Smaž"), "ButDelete", actions, [this] { ButDeleteClick(true); });
    button(QStringLiteral("Smaž por.půdu"), "ButDeleteBezBZL", actions, [this] { ButDeleteClick(false); });
    button(QStringLiteral("LHC do něhož se kopíruje"), "ButDestinLHC", actions, [this] { ButDestinLHCClick(); });
    button(QStringLiteral("Ukonči transakci"), "ButTrans", actions, [this] { ButTransClick(); });
    if (!m_session) {
        // A check window deletes, but neither copies nor ends the transaction.
        for (const char* name : {"ButCopy", "ButMove", "ButDestinLHC", "ButTrans"})
            findChild<QPushButton*>(QLatin1String(name))->hide();
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(keys);
    layout->addLayout(lists);
    layout->addLayout(actions);
    layout->addWidget(m_grid);
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(10000);
    m_log->setVisible(bool(m_session));
    layout->addWidget(m_log);
    resize(700, 500);
    m_deleted->hide();
    showState();
    guarded([this] { showList(K::Compartment); });
}

TFDtbVyb::~TFDtbVyb()
{
    closeCheckWindow();
}

void TFDtbVyb::closeCheckWindow()
{
    delete m_check.data();
}

void TFDtbVyb::setBusy(bool busy)
{
    m_grid->setEnabled(!busy);
    for (QPushButton* b : m_buttons)
        b->setEnabled(!busy);
}

template<class F>
void TFDtbVyb::guarded(F work)
{
    if (!m_grid->isEnabled())
        return;
    // The check window and its owner share one connection: neither starts work while the other runs.
    const QPointer<TFDtbVyb> partner = m_owner ? m_owner : m_check.data();
    setBusy(true);
    if (partner)
        partner->setBusy(true);
    try {
        work();
    } catch (const Exception& e) {
        ui::services().showMessage(e.message().left(2000));
    }
    setBusy(false);
    if (partner)
        partner->setBusy(false);
    showState();
    if (m_owner)
        m_owner->showState();
}

void TFDtbVyb::showList(sqlsrc::SelectionKind kind)
{
    const int at = kind == m_kind ? m_grid->currentRow() : 0;
    m_kind = kind;
    m_rows = m_selection->list(kind, m_unit);
    const QStringList columns = columnsOf(kind);
    m_grid->clear();
    m_grid->setColumnCount(int(columns.size()));
    m_grid->setHorizontalHeaderLabels(columns);
    m_grid->setRowCount(int(m_rows.size()));
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const QStringList cells = cellsOf(m_rows[size_t(r)]);
        for (int c = 0; c < int(cells.size()); ++c)
            m_grid->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    if (!m_rows.empty())
        m_grid->selectRow(std::clamp(at, 0, int(m_rows.size()) - 1));
}

sqlsrc::SelectedRow TFDtbVyb::currentItem() const
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= int(m_rows.size()))
        return {};
    return m_rows[size_t(row)];
}

void TFDtbVyb::ButCopyClick()
{
    if (!m_session)
        return;
    guarded([this] {
        const std::optional<sqlsrc::UnitKey> before = m_session->target();
        m_session->copy(currentItem());
        if (m_session->target() != before)
            closeCheckWindow();
    });
}

void TFDtbVyb::ButMoveClick()
{
    if (!m_session)
        return;
    guarded([this] {
        const std::optional<sqlsrc::UnitKey> before = m_session->target();
        if (m_session->move(currentItem()))
            showList(m_kind);
        if (m_session->target() != before)
            closeCheckWindow();
    });
}

void TFDtbVyb::ButDeleteClick(bool alsoLand)
{
    // A check window deletes from its unit (the owner's target) in the owner's transaction.
    sqlsrc::SelectionSession* session = m_session ? m_session.get() : m_owner ? m_owner->m_session.get() : nullptr;
    if (!session)
        return;
    guarded([this, session, alsoLand] {
        if (session->removeFrom(m_unit, currentItem(), alsoLand)) {
            m_deleted->show();
            showList(m_kind);
        }
    });
}

void TFDtbVyb::ButDestinLHCClick()
{
    if (!m_session)
        return;
    if (m_check) {
        m_check->showNormal();
        m_check->raise();
        m_check->activateWindow();
        return;
    }
    guarded([this] {
        if (!m_session->target() && !m_session->chooseTarget())
            return;
        auto* check = new TFDtbVyb(*this, {*m_session->target(), m_session->targetName()});
        check->setAttribute(Qt::WA_DeleteOnClose);
        m_check = check;
        check->show();
    });
}

void TFDtbVyb::ButTransClick()
{
    if (!m_session)
        return;
    guarded([this] {
        m_session->endTransaction();
        closeCheckWindow();
        showList(m_kind);
    });
}

void TFDtbVyb::showState()
{
    if (!m_session)
        return;
    const std::optional<sqlsrc::UnitKey> target = m_session->target();
    m_targetKod->setText(target ? QString::number(target->kod) : QString());
    m_targetId->setText(target ? QString::number(target->id) : QString());
    m_targetName->setText(target ? m_session->targetName() : QString());
    m_odd->setText(m_session->settledOdd() ? QString::number(*m_session->settledOdd()) : QString());
    m_oddId->setText(m_session->settledOddId());
    m_deleted->setVisible(m_session->deleted());
    if (m_log->toPlainText() != m_session->log().join(QLatin1Char('\n'))) {
        m_log->setPlainText(m_session->log().join(QLatin1Char('\n')));
        m_log->moveCursor(QTextCursor::End);
    }
}

void TFDtbVyb::closeEvent(QCloseEvent* event)
{
    if (!m_grid->isEnabled()) {
        event->ignore();
        return;
    }
    if (m_session)
        guarded([this] {
            m_session->endTransaction();
            closeCheckWindow();
        });
    event->accept();
}

TFDtbVyb* OpenSelectionWindow(const db::Database& login, const sqlsrc::UnitRow& unit, QWidget* parent)
{
    std::unique_ptr<sqlsrc::UnitSelection> selection = sqlsrc::UnitSelection::open(login, unit.key);
    if (!selection)
        return nullptr;
    auto* window = new TFDtbVyb(std::move(selection), unit, std::nullopt, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

} // namespace app
