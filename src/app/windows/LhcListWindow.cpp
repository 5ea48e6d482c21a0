// The list of forest units of the SQL database ("Seznam LHC").
#include "app/windows/LhcListWindow.h"

#include "platform/Exceptions.h"
#include "platform/ui/Services.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace app {

TFU_DTB_LES::TFU_DTB_LES(QString databaseName, QWidget* parent)
    : QDialog(parent), m_databaseName(std::move(databaseName)), m_grid(new QTableWidget(this))
{
    setWindowTitle(QStringLiteral("Seznam LHC"));
    m_grid->setObjectName(QStringLiteral("GU_LHC"));
    m_grid->setColumnCount(3);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("LHC_KOD"), QStringLiteral("LHC_KOD_ID"), QStringLiteral("LHC_NAZ")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    auto* close = new QPushButton(QStringLiteral("OK"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    layout->addWidget(close);
    resize(600, 400);
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

} // namespace app

namespace sqlsrc {

std::optional<UnitKey> ChooseUnitInList(const QString& databaseName)
{
    app::TFU_DTB_LES window(databaseName);
    window.OpenLhcList();
    window.exec();
    return window.currentUnit();
}

} // namespace sqlsrc
