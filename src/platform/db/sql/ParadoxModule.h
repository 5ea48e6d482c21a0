// The SQLite virtual-table module "paradox": a read-only view of one Paradox table's records.
#pragma once

#include "platform/db/paradox/ParadoxTypes.h"

#include <memory>
#include <vector>

struct sqlite3;

namespace db::sql {

struct LocalTable;

// Registers the module on `db`. `CREATE VIRTUAL TABLE temp."<name>" USING paradox(<i>)` then shows
// (*tables)[i]: one column per field with the field's name, rowid = record id + 1 (the id in
// the table's shared rows, deleted ones skipped). Values
// are decoded from the raw records only when SQLite asks for them: alpha and memo as UTF-8 text,
// short/long/autoinc/logical as integers, number/currency/BCD/date/time/timestamp as reals
// (dates as days since 1899-12-30), bytes and binary blobs as blobs, NULL as NULL.
// `tables` must outlive the connection.
void registerParadoxModule(sqlite3* db, const std::vector<std::unique_ptr<LocalTable>>* tables);

// The class library's field type number of a Paradox field (1 string, 2 smallint, 3 integer, ...).
int dataTypeOf(const paradox::FieldDef& field);
// The field size the class library shows: characters of an alpha field, decimals of a BCD, else 0.
int dataSizeOf(const paradox::FieldDef& field);

} // namespace db::sql
