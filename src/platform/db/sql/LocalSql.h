// Local SQL over Paradox tables: SQLite (in memory) with a virtual-table module over the table files.
#pragma once

#include "platform/db/sql/Params.h"
#include "platform/db/sql/ResultSet.h"

#include <QString>

#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db::detail {
class StorageHold;
class TableStorage;
}

namespace db::sql {

// A Paradox table made visible to SQLite under the name the statement used for it.
struct LocalTable
{
    QString sqlName;   // as SQLite reported it: a plain name or a path from a quoted literal
    QString path;      // the .DB file
    std::shared_ptr<detail::StorageHold> hold;   // the shared rows of the file
    detail::TableStorage& storage() const;
};

// What a live result needs to write its edits back: the one source table, held while the result
// lives, and per result row its record id in the table's shared rows (stable while they are held,
// whatever other rows are deleted or saved meanwhile).
struct LiveSource
{
    QString path;
    std::vector<int> records;
    std::shared_ptr<detail::StorageHold> hold;
};

// One run of local SQL. Tables are named as in the engine's local SQL: by name (a file
// <name>.DB in `directory`, letter case ignored) or by a path in apostrophes
// ('C:\DATA\LHC.DB', resolved as a stored path, relative ones from `directory`). SQLite itself
// decides which names are tables: every "no such table" it reports is looked up as a file and
// attached as a virtual table, then the statement is prepared again. Only regular files are
// tables. A table is seen through the rows of the file that this process shares (an open
// db::Table's posted rows included) and never written through SQL statements; values are
// compared and sorted as SQLite does (texts by their UTF-8 bytes, so "Č" sorts after "Z").
// `ALTER TABLE <t> ADD <field> CHAR(n)|INTEGER` restructures the file (ParadoxEdit.h).
class LocalSql
{
public:
    explicit LocalSql(const QString& directory);
    ~LocalSql();
    LocalSql(const LocalSql&) = delete;
    LocalSql& operator=(const LocalSql&) = delete;

    // Runs a query into `result`. With `live` non-null, the result is live when it comes from one
    // writable table (no index files, not encrypted) with plain columns: `live` then holds the
    // source (else its path stays empty).
    void open(const QString& sql, const Params& params, ResultSet& result, LiveSource* live);
    // Runs a statement that gives no rows (ALTER TABLE among them); answers the rows affected.
    int exec(const QString& sql, const Params& params);

    // The .DB file that a table name or path denotes; empty when none exists.
    QString resolveTable(const QString& name) const;

private:
    sqlite3_stmt* prepare(const QString& sql);
    bool attachMissingTable(const QString& message);
    void bind(sqlite3_stmt* stmt, const Params& params);
    void fetch(sqlite3_stmt* stmt, ResultSet& result, int firstColumn, std::vector<int>* records);
    void describeColumns(sqlite3_stmt* stmt, ResultSet& result, int firstColumn);
    bool isLiveStatement(sqlite3_stmt* stmt) const;
    const LocalTable* tableOfSqlName(const QString& sqlName) const;
    [[noreturn]] void raise(const QString& context) const;

    QString m_directory;
    sqlite3* m_db = nullptr;
    // Owned here; the virtual tables point at them while the connection lives.
    std::vector<std::unique_ptr<LocalTable>> m_tables;
};

} // namespace db::sql
