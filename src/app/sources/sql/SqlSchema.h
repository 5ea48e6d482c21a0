// The tables of the SQL database of forest units and their DDL for SQLite and PostgreSQL.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace db {
class Database;
}

namespace sqlsrc {

enum class ColumnKind { Integer, Text, Float };

struct ColumnDef {
    const char* name;
    ColumnKind kind;
};

// One table of a unit: its columns and the columns of its one (non-unique) index. No primary or
// foreign keys: repeated rows can occur and the loader takes the last one of a key.
struct TableDef {
    const char* name;
    std::vector<ColumnDef> columns;
    QStringList indexColumns;
};

enum class Engine { Sqlite, Postgres };

// Every table of a unit, in the order of deletion (the header table LHC last).
const std::vector<TableDef>& unitTables();
const TableDef* findTable(const QString& name);

// CREATE TABLE and CREATE INDEX statements for the engine.
QStringList ddl(Engine engine);

// The engine behind a connected database.
Engine engineOf(const db::Database& database);

// An empty database gets the tables. A database holding only some of them, or a table without
// one of its columns, is left as it is: the answer is a Czech message naming what is missing
// (empty when the database is complete). Raises EDatabaseError when a statement fails.
QString ensureSchema(db::Database& database);

} // namespace sqlsrc
