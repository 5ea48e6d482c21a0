// Copying rows of a query into a table of a unit under another key, values bound.
#pragma once

#include "app/sources/sql/SqlLoader.h"

#include <QString>
#include <QStringList>

namespace db {
class Database;
class Query;
}

namespace sqlsrc {

// How a copy treats a row the target refuses.
enum class RowRetry {
    None,          // the copy fails (whole units)
    OddIdMinusOne  // tried once more under ODD_ID -1, then the copy fails (selections)
};

// Inserts every row of `source` (open or not; it is opened) into `table` of `target`, naming
// the source's columns in the INSERT (each checked to be a plain identifier): LHC_KOD and
// LHC_KOD_ID get the target key, ODD_ID gets `oddId` when given, every other column its own
// value. Runs inside the target's open transaction; every row runs under a savepoint, so a
// refused row leaves the transaction usable. A row still refused raises EDatabaseError naming
// the table and the row; the caller rolls back. Log lines go to `log` when given: a whole
// unit's copy (RowRetry::None) logs its start, the row count at every 100th row and at the end;
// a selection's copy logs the rows refused. Answers the number of rows copied.
int CopyQueryRows(db::Query& source, const QString& table, db::Database& target, UnitKey key,
                  const QString& oddId = QString(), RowRetry retry = RowRetry::None, QStringList* log = nullptr);

// Whether the text is a plain SQL identifier (letters, digits and "_", not starting with a digit, at most 64).
bool isPlainIdentifier(const QString& name);

} // namespace sqlsrc
