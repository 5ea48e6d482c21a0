// The list of forest units of the SQL database ("Seznam LHC").
#include "app/windows/LhcListWindow.h"

#include "app/sources/sql/ApostropheScan.h"
#include "app/sources/sql/UnitMaintenance.h"
#include "app/sources/sql/SqlSource.h"
#include "app/windows/SelectionWindow.h"
#include "app/windows/SqlDialogs.h"
#include "platform/Exceptions.h"
#include "platform/db/sql/Database.h"
#include "platform/ui/Services.h"

#include <QHBoxLayout>

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextCursor>
#include <QVBoxLayout>

namespace app {

TFU_DTB_LES::TFU_DTB_LES(QString databaseName, QWidget* parent)
    : QDialog(parent), m_databaseName(std::move(databaseName)), m_grid(new QTableWidget(this)),
      m_delete(new QPushButton(QStringLiteral("Zrus LHC"), this)),
      m_show(new QPushButton(QStringLiteral("Zobraz jen LHC"), this)),
      m_copy(new QPushButton(QStringLiteral("Kopíruj LHC"), this)),
      m_renumber(new QPushButton(QStringLiteral("Přečísluj  LHC "), this)),
      m_selections(new QPushButton(QStringLiteral("LHC výběry"), this)),
      m_carka(new QPushButton(QStringLiteral("VybČárka"), this)),
      m_log(new QPlainTextEdit(this))
{
    askKey = [this](sqlsrc::UnitKey start) -> std::optional<sqlsrc::UnitKey> {
        TFVybLHCID dialog(this);
        dialog.setKey(start);
        dialog.exec();
        return dialog.key();
    };
    setWindowTitle(QStringLiteral("Seznam LHC"));
    m_grid->setObjectName(QStringLiteral("GU_LHC"));
    m_grid->setColumnCount(3);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("LHC_KOD"), QStringLiteral("LHC_KOD_ID"), QStringLiteral("LHC_NAZ")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_delete, m_show, m_copy, m_renumber, m_selections, m_carka}) {
        b->setAutoDefault(false);   // Enter never starts an operation, above all not a deletion
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    layout->addWidget(m_grid);
    m_log->setReadOnly(true);
    m_log->hide();
    layout->addWidget(m_log);
    connect(m_delete, &QPushButton::clicked, this, &TFU_DTB_LES::Button5Click);
    connect(m_show, &QPushButton::clicked, this, [this] { guarded([this] { OpenLhcList(); }); });
    connect(m_copy, &QPushButton::clicked, this, &TFU_DTB_LES::ButCopyLHCClick);
    connect(m_renumber, &QPushButton::clicked, this, &TFU_DTB_LES::Button3Click);
    connect(m_selections, &QPushButton::clicked, this, [this] { ButVyberyClick(); });
    connect(m_carka, &QPushButton::clicked, this, &TFU_DTB_LES::ButCarkaClick);
    // Enter anywhere in the window (the grid passes it on) chooses the unit, as a double-click does.
    auto* close = new QPushButton(QStringLiteral("OK"), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    layout->addWidget(close);
    resize(600, 400);
}

TFDtbVyb* TFU_DTB_LES::ButVyberyClick()
{
    const std::optional<sqlsrc::UnitRow> row = currentRow();
    db::Database* database = db::Database::find(m_databaseName);
    if (!row || !database)
        return nullptr;
    return OpenSelectionWindow(*database, *row, this);
}

void TFU_DTB_LES::ButCarkaClick()
{
    if (m_grid->isHidden()) {
        m_log->hide();
        m_grid->show();
        return;
    }
    db::Database* database = db::Database::find(m_databaseName);
    if (!database)
        return;
    guarded([&] { m_log->setPlainText(sqlsrc::ApostropheConditions(*database).join(QLatin1Char('\n'))); });
    m_grid->hide();
    m_log->show();
}

void TFU_DTB_LES::OpenLhcList(std::optional<sqlsrc::UnitKey> key)
{
    if (!key)
        key = currentUnit();
    m_rows = sqlsrc::ListUnits(m_databaseName);
    m_grid->setRowCount(int(m_rows.size()));
    int at = -1;
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const sqlsrc::UnitRow& row = m_rows[size_t(r)];
        m_grid->setItem(r, 0, new QTableWidgetItem(QString::number(row.key.kod)));
        m_grid->setItem(r, 1, new QTableWidgetItem(QString::number(row.key.id)));
        m_grid->setItem(r, 2, new QTableWidgetItem(row.name));
        if (at < 0 && key && std::pair(row.key.kod, row.key.id) >= std::pair(key->kod, key->id))
            at = r;
    }
    if (!m_rows.empty())
        m_grid->selectRow(at < 0 ? (key ? int(m_rows.size()) - 1 : 0) : at);
    ui::services().setStatusText(QStringLiteral("Tabulka LHC nastavena."));
}

std::optional<sqlsrc::UnitKey> TFU_DTB_LES::currentUnit() const
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= int(m_rows.size()))
        return std::nullopt;
    return m_rows[size_t(row)].key;
}

std::optional<sqlsrc::UnitRow> TFU_DTB_LES::currentRow() const
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= int(m_rows.size()))
        return std::nullopt;
    return m_rows[size_t(row)];
}

void TFU_DTB_LES::showLog(const QStringList& lines)
{
    m_log->setPlainText(lines.join(QLatin1Char('\n')));
    m_log->moveCursor(QTextCursor::End);
    m_log->ensureCursorVisible();
}

template<class F>
void TFU_DTB_LES::guarded(F work)
{
    if (!m_grid->isEnabled())
        return;
    const QList<QWidget*> parts = {m_grid, m_delete, m_show, m_copy, m_renumber, m_selections, m_carka};
    for (QWidget* w : parts)
        w->setEnabled(false);
    try {
        work();
    } catch (const Exception& e) {
        ui::services().showMessage(e.message());
    }
    for (QWidget* w : parts)
        w->setEnabled(true);
}

void TFU_DTB_LES::Button5Click()
{
    guarded([this] {
        // The unit key is read once, before anything runs.
        const std::optional<sqlsrc::UnitRow> row = currentRow();
        db::Database* database = db::Database::find(m_databaseName);
        if (!row || !database)
            return;
        const QString question = QStringLiteral("LHC_KOD:%1 ID:%2  %3\nbude nenávratně smazán (bez možnosti rollbacku). "
                                                "Mám to opravdu učinit ?")
                                     .arg(row->key.kod)
                                     .arg(row->key.id)
                                     .arg(row->name);
        if (!ui::services().askBeforeDeleting(question))
            return;
        sqlsrc::UnitMaintenance(*database).deleteUnit(row->key);
        OpenLhcList(row->key);
    });
}

void TFU_DTB_LES::Button3Click()
{
    guarded([this] {
        const std::optional<sqlsrc::UnitRow> row = currentRow();
        db::Database* database = db::Database::find(m_databaseName);
        if (!row || !database)
            return;
        sqlsrc::UnitMaintenance maintenance(*database);
        for (;;) {
            const std::optional<sqlsrc::UnitKey> key = askKey(row->key);
            if (!key)
                return;
            const sqlsrc::Outcome outcome = maintenance.renumberUnit(row->key, *key);
            if (outcome == sqlsrc::Outcome::KeyTaken)
                continue;
            OpenLhcList(outcome == sqlsrc::Outcome::Done ? *key : row->key);
            return;
        }
    });
}

void TFU_DTB_LES::ButCopyLHCClick()
{
    guarded([this] {
        const std::optional<sqlsrc::UnitRow> row = currentRow();
        db::Database* database = db::Database::find(m_databaseName);
        if (!row || !database)
            return;
        db::Database target(QStringLiteral("LHP_NOVA"));
        if (!sqlsrc::LoginLhpDatabase(target, sqlsrc::loginDialog()))
            return;
        sqlsrc::UnitMaintenance maintenance(*database);
        for (;;) {
            const std::optional<sqlsrc::UnitKey> key = askKey(row->key);
            if (!key)
                return;
            QStringList log;
            m_log->clear();
            m_log->show();
            const sqlsrc::Outcome outcome = maintenance.copyUnit(row->key, target, *key, &log);
            showLog(log);
            if (outcome == sqlsrc::Outcome::KeyTaken)
                continue;
            OpenLhcList(outcome == sqlsrc::Outcome::Done ? *key : row->key);
            return;
        }
    });
}

} // namespace app

namespace sqlsrc {

std::optional<UnitKey> ChooseUnitInList(const QString& databaseName)
{
    app::TFU_DTB_LES window(databaseName);
    window.OpenLhcList();
    // OK, Enter or a double-click chooses the current row; Escape or the close box nothing.
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.currentUnit();
}

} // namespace sqlsrc
