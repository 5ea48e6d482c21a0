// The list of forest units of the SQL database ("Seznam LHC").
#pragma once

#include "app/sources/sql/LhcDatabase.h"

#include <QDialog>

class QTableWidget;

namespace app {

// TFU_DTB_LES: the units of the connected database; the current row on closing is the chosen unit.
class TFU_DTB_LES : public QDialog
{
    Q_OBJECT

public:
    explicit TFU_DTB_LES(QString databaseName, QWidget* parent = nullptr);

    // Rereads the list, staying on the unit of `key` (or the first after it) when given.
    void OpenLhcList(std::optional<sqlsrc::UnitKey> key = std::nullopt);
    // The unit of the current row; nullopt when the list is empty.
    std::optional<sqlsrc::UnitKey> currentUnit() const;
    QTableWidget* GU_LHC() const { return m_grid; }
    const QString& databaseName() const { return m_databaseName; }

private:
    QString m_databaseName;
    QTableWidget* m_grid;
    std::vector<sqlsrc::UnitRow> m_rows;
};

} // namespace app

namespace sqlsrc {

// Shows the list modally over the connected database and answers its current row on closing.
std::optional<UnitKey> ChooseUnitInList(const QString& databaseName);

} // namespace sqlsrc
