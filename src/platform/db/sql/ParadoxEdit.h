// Changes of a Paradox table file made by SQL: ALTER TABLE ... ADD and the edits of a live result.
#pragma once

#include "platform/db/TableStorage.h"
#include "platform/db/sql/SqlText.h"

#include <QString>

namespace db::sql {

struct LiveSource;

// The backup that ALTER TABLE keeps beside a table: the extension gets a "~" ("TGENKL.DB" ->
// "TGENKL.~DB", "LHC.MB" -> "LHC.~MB").
QString backupPath(const QString& path);

// Adds the field to the table file: the table is rewritten with the new field last (NULL in every
// row), rows and blobs kept, in the file's own format (raised to the newest one when the new
// field's type needs it); the old .DB (and .MB) are copied to their backups first (an older
// backup is replaced). Raises EDatabaseError when something of this process holds the table
// open (an open db::Table, a live result), when the table is never written (keyed, index files,
// encrypted), when the field exists already, or when the file cannot be read or written.
void alterTableAdd(const QString& path, const AlterTableAdd& alter);

// Field values of one record by field index. QString for alpha and memo, numbers as numbers,
// dates as the run time's date-time, QByteArray for bytes and binary blobs; invalid = NULL.
using FieldValues = detail::FieldValues;

// Edits of a live result, by the record id of its source's shared rows; each is saved at once.
// A failed save takes the edit back and raises EDatabaseError.
void updateRecord(const LiveSource& live, int record, const FieldValues& values);
void deleteRecord(const LiveSource& live, int record);
// Appends a record (unset fields NULL); answers its record id.
int appendRecord(const LiveSource& live, const FieldValues& values);

} // namespace db::sql
