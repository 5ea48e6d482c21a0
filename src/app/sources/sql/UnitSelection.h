// Copying, moving and deleting compartments, stands, stand groups and land of one unit.
#pragma once

#include "app/sources/sql/SqlLoader.h"
#include "platform/db/sql/Database.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace sqlsrc {

enum class SelectionKind : quint8 { None = 0, Compartment = 1, Stand = 2, StandGroup = 3, BareLand = 4, OtherLand = 5 };

// One row of a selection list: the item's keys (those the kind has).
struct SelectedRow {
    SelectionKind kind = SelectionKind::None;
    qint32 odd = 0;
    qint32 oddId = 0;
    QString dil;
    QString por;
    QString psk;
    qint32 number = 0;     // BZL or JP
    qint32 numberId = 0;   // BZL_ID or JP_ID
};

// The selection window's work on one source unit through its own connection "ORAC<k>I<id>",
// which a second window on the unit in this program cannot make; on PostgreSQL the connection
// also holds an advisory lock on the unit key, so a second program is refused too. All changes
// run in one transaction the user ends (endTransaction); every operation runs under a savepoint
// and is undone whole when any statement fails, with a message that nothing changed.
class UnitSelection
{
public:
    // Connects like `login` (alias and parameter lines); nil after the message
    // "Nelze připojit databázi. Pravděpodobně se snažíš otevří podruhé stejný LHC.".
    static std::unique_ptr<UnitSelection> open(const db::Database& login, UnitKey unit);
    ~UnitSelection();

    UnitKey unit() const { return m_unit; }
    static QString connectionName(UnitKey unit);
    // Whether a selection window of this program holds the unit.
    static bool isOpen(UnitKey unit);

    std::vector<SelectedRow> list(SelectionKind kind) { return list(kind, m_unit); }
    // The items of another unit as this connection sees them (its uncommitted changes included).
    std::vector<SelectedRow> list(SelectionKind kind, UnitKey unit);
    // Whether a stand of `unit` (its ODD, ODD_ID and, when given, DIL and POR) has no stand group
    // and no land left.
    bool standIsEmpty(const SelectedRow& stand) { return standIsEmpty(stand, m_unit); }
    bool standIsEmpty(const SelectedRow& stand, UnitKey unit);
    // The window's own connection (reads see its uncommitted changes).
    db::Database& database() { return m_database; }
    // Copies the item with everything below it into the target unit (which must exist). A
    // non-empty `oddId` puts the copied rows under that ODD_ID; a row the target refuses is
    // tried once more under ODD_ID -1, and a row still refused undoes the whole copy.
    bool copy(const SelectedRow& row, UnitKey target, const QString& oddId = QString());
    // Deletes the item; without `alsoLand` only stand-group data (bare and other land refuse).
    bool remove(const SelectedRow& row, bool alsoLand = true) { return remove(row, alsoLand, m_unit); }
    // The same in another unit through this connection (the target shown in the check window).
    bool remove(const SelectedRow& row, bool alsoLand, UnitKey unit);
    // Deletes a stand's POROST and PREKRYV rows (offered once the stand holds nothing else).
    bool removeStandRows(const SelectedRow& stand, UnitKey unit);
    // A copy, then the delete of the source item only when the copy succeeded.
    bool move(const SelectedRow& row, UnitKey target, const QString& oddId = QString());
    // Where copies log the rows the target refused (nil: nowhere).
    void setLog(QStringList* log) { m_log = log; }
    // Commits or rolls back everything since the last end.
    void endTransaction(bool commit);
    bool hasChanges() const { return m_changed; }

private:
    explicit UnitSelection(UnitKey unit);
    bool exists(const char* table, const SelectedRow& row, UnitKey unit, const QString& oddId);
    void copyTable(const char* table, const SelectedRow& row, SelectionKind kind, UnitKey target, const QString& oddId);
    void deleteTable(const char* table, const SelectedRow& row, SelectionKind kind, UnitKey unit);
    template<class F>
    bool underSavepoint(F work);

    UnitKey m_unit;
    db::Database m_database;
    bool m_changed = false;
    QStringList* m_log = nullptr;
};

} // namespace sqlsrc
