// Deleting, renumbering and copying whole forest units of the SQL database.
#pragma once

#include "app/sources/sql/SqlLoader.h"

#include <QStringList>

#include <initializer_list>

namespace db {
class Database;
}

namespace sqlsrc {

enum class Outcome {
    Done,
    KeyTaken,   // the new key is in use (reported; ask again)
    Failed      // reported; the unit is unchanged
};

// Each operation runs in one transaction over every table of the unit, PARC_PL_JP included,
// and is rolled back on any error with a message saying that the unit is unchanged. An
// operation refuses to start while another runs (its window's buttons are then disabled) and
// on a unit open in a selection window of this program (reported; Failed).
class UnitMaintenance
{
public:
    explicit UnitMaintenance(db::Database& database) : m_database(database) {}

    bool busy() const { return m_busy; }
    bool deleteUnit(UnitKey key);
    Outcome renumberUnit(UnitKey from, UnitKey to);
    // Copies the unit into `target` (this database or another) under the key `to`, its LHC row
    // first; `log` gets each table's progress and the outcome.
    Outcome copyUnit(UnitKey from, db::Database& target, UnitKey to, QStringList* log = nullptr);

    // Whether a database holds the unit's LHC row.
    static bool unitExists(db::Database& database, UnitKey key);
    // The tables in the order rows are copied (LHC first).
    static QStringList copyOrder();

private:
    // Reports and returns true when one of the keys is open in a selection window.
    static bool openInSelection(std::initializer_list<UnitKey> keys);
    template<class F>
    bool inTransaction(db::Database& database, UnitKey key, F work);

    db::Database& m_database;
    bool m_busy = false;
};

} // namespace sqlsrc
