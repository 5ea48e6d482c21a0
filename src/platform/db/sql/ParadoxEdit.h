// Changes of a Paradox table file made by SQL: ALTER TABLE ... ADD and the edits of a live result.
#pragma once

#include "platform/db/sql/SqlText.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace db::sql {

// The backup that ALTER TABLE keeps beside a table: the extension gets a "~" ("TGENKL.DB" ->
// "TGENKL.~DB", "LHC.MB" -> "LHC.~MB").
QString backupPath(const QString& path);

// Adds the field to the table file: the table is rewritten with the new field last (NULL in every
// row), rows and blobs kept; the old .DB (and .MB) are copied to their backups first (an older
// backup is replaced). Raises EDatabaseError when the table has index files, when the field
// exists already, or when the file cannot be read or written. An encrypted table is written
// back unencrypted.
void alterTableAdd(const QString& path, const AlterTableAdd& alter);

// Field values of one record by field index. QString for alpha and memo, numbers as numbers,
// dates as the run time's date-time, QByteArray for bytes and binary blobs; invalid = NULL.
using FieldValues = QList<QPair<int, QVariant>>;

// Writes the values into record `recordNumber` (0-based physical position) of the file.
// Tables with index files are refused (EDatabaseError).
void updateRecord(const QString& path, int recordNumber, const FieldValues& values);
// Removes the record; later records move up by one.
void deleteRecord(const QString& path, int recordNumber);
// Appends a record (unset fields NULL); answers its record number.
int appendRecord(const QString& path, const FieldValues& values);

} // namespace db::sql
