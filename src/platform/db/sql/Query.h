// A query: SQL lines run on an SQL database (QtSql) or as local SQL over Paradox tables.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/sql/LocalSql.h"
#include "platform/db/sql/Params.h"
#include "platform/db/sql/ResultSet.h"

#include <QString>
#include <QStringList>

class QSqlQuery;
struct sqlite3_stmt;

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace db {

class Database;

// The SQL text of a query as lines (the class library's string list: Clear, Add, Text).
// Every change closes the query and rebuilds its parameter list.
class SqlLines
{
public:
    void Clear();
    void Add(const QString& line);
    // The lines, each followed by a line break.
    QString Text() const;
    void SetText(const QString& text);
    int Count() const { return int(m_lines.size()); }
    const QString& operator[](int index) const { return m_lines.at(index); }
    const QStringList& lines() const { return m_lines; }

private:
    friend class Query;
    void changed();

    QStringList m_lines;
    std::function<void()> m_onChange;
};

// A dataset over the result of an SQL statement, fetched into memory when opened.
//
// `DatabaseName` decides the engine: the name of a Database (or of an alias) reaching an SQL
// database runs the statement there through QtSql; a Database or alias of the driver STANDARD,
// a directory, or an empty name runs local SQL over the Paradox tables of that directory
// (LocalSql: tables by name or by quoted path). Parameters ":name" of the text are always bound
// (Params, ParamByName), never pasted into it. On an SQL database date parameters
// (setAsDate, setAsTime, setAsDateTime) bind as ISO texts the database reads as dates, and
// columns of a date type (declared DATE, TIME, TIMESTAMP or DATETIME on SQLite) read back as
// date fields; a day number stored by older versions reads as that day. A column holding a
// value its type cannot take shows its values as text, so reading a stored value never raises.
//
// `RequestLive` over local SQL: a result that comes from one table with plain columns can be
// edited; each Post (and Delete, Append) writes the record back to the table file, by its
// identity in the rows this process shares of that file, at once. Other results are read-only
// (CanModify false), as are results of an SQL database.
class Query : public DataSet
{
public:
    Query();
    ~Query() override;

    SqlLines& SQL() { return m_sql; }
    const SqlLines& SQL() const { return m_sql; }
    QString DatabaseName() const { return m_databaseName; }
    // Closes the query.
    void SetDatabaseName(const QString& name);
    bool RequestLive() const { return m_requestLive; }
    void SetRequestLive(bool live);

    db::Params& Params() { return m_params; }
    const db::Params& Params() const { return m_params; }
    Param& ParamByName(const QString& name) { return m_params.ParamByName(name); }

    // Appends to `key` bytes that stand for the value of the field in the row at 0-based position
    // `row` as the field gives it (Field::Value of the stored row): two values append the same
    // bytes exactly when both are texts of the same characters, both bytes of the same bytes, or
    // both numbers (dates, booleans) of the same value. Each part carries its kind, and texts and
    // bytes their length, so keys built of several parts compare part by part. Answers false,
    // appending nothing, for NULL, which equals nothing.
    bool appendValueKey(std::string& key, int row, int field) const;

    // Runs a statement that gives no rows (INSERT, UPDATE, DELETE, ALTER TABLE ...).
    void ExecSQL();
    // Rows changed by the last ExecSQL.
    int RowsAffected() const { return m_rowsAffected; }

protected:
    void openSource() override;
    void closeSource() override;
    int sourceRecordCount() const override { return m_result.rowCount(); }
    QVariant sourceValue(int record, int field) const override;
    bool sourceNumber(int record, int field, double& value, bool& isNull) const override;
    bool sourceText(int record, int field, QString& text) const override;
    bool sourceRecordDeleted(int record) const override;
    bool sourceCanModify() const override { return !m_live.path.isEmpty(); }
    int writeRecord(int record, const std::vector<QVariant>& values) override;
    void removeRecord(int record) override;
    void refreshSource() override;

private:
    QString statementText() const;
    // The SQL database the name reaches, connected; nullptr for local SQL (then `directory` is set).
    Database* sqlDatabase(QString& directory);
    void runStatement();
    void openSql(Database& database);
    int execSql(Database& database);
    void fetchSql(QSqlQuery& query);
    bool fetchSqlite(sqlite3_stmt* statement);
    bool bindSqlite(sqlite3_stmt* statement) const;
    void declareSqliteColumns(sqlite3_stmt* statement, int columns, bool hasRow);
    FieldType declaredFieldType(const char* declared);
    void addSqliteValue(sqlite3_stmt* statement, int column);
    void settleColumn(int column);
    int textLength(int row, int column) const;
    void declareFields();

    SqlLines m_sql;
    QString m_databaseName;
    bool m_requestLive = false;
    db::Params m_params;
    QStringList m_paramNames;            // parameters the statement names, in order
    int m_rowsAffected = 0;
    sql::ResultSet m_result;
    sql::LiveSource m_live;              // path empty: not live
    std::vector<bool> m_deleted;         // records removed from a live result
    std::unique_ptr<Database> m_ownDatabase;   // connection made for an alias no Database names
    std::vector<std::pair<std::string, FieldType>> m_declaredTypes;   // declared SQLite column types seen
};

} // namespace db
