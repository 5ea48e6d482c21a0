// A named database connection: an SQL database through QtSql, or a directory of Paradox tables.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

struct sqlite3_stmt;

namespace db {

struct AliasInfo;

// A connection reached by its `DatabaseName`, which queries name. It connects through the alias
// `AliasName` (see Aliases): a QtSql driver opens an SQL database; the driver STANDARD (or a
// parameter line "PATH=<dir>") makes it a directory of Paradox tables, over which queries run
// local SQL. Login parameters come from the lines "USER NAME=" and "PASSWORD=" of `Params`;
// other lines ("SQLPASSTHRU MODE=...") are kept and ignored. A missing SQLite file is created
// only when allowed (setCanCreateFile, once the user agreed); otherwise Open refuses it and
// leaves no file behind.
//
// Database names are unique among connected databases of the process (compared ignoring case):
// connecting a second one of a connected name raises EDatabaseError. Every Database registers
// itself while it exists, so a query finds it by name (Database::find). Not copyable; the owner
// (a form or a test) keeps it alive while queries use it.
class Database
{
public:
    explicit Database(const QString& databaseName = QString());
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QString DatabaseName() const { return m_databaseName; }
    // Raises EDatabaseError while connected.
    void SetDatabaseName(const QString& name);
    QString AliasName() const { return m_aliasName; }
    void SetAliasName(const QString& alias);
    // A QtSql driver name used instead of the alias's one ("QSQLITE", "QPSQL", "STANDARD").
    QString DriverName() const { return m_driverName; }
    void SetDriverName(const QString& driver);
    // Parameter lines "NAME=value"; edit while disconnected.
    QStringList& Params() { return m_params; }
    const QStringList& Params() const { return m_params; }
    // The value of the parameter line `name` (ignoring case), empty when missing.
    QString paramValue(const QString& name) const;
    // Kept for the forms that set it; no login dialog is ever shown.
    bool LoginPrompt() const { return m_loginPrompt; }
    void SetLoginPrompt(bool on) { m_loginPrompt = on; }

    // The SQLite file this database names when it does not exist; empty when it exists or the
    // database is no SQLite file. Raises EDatabaseError for an unknown alias.
    QString missingFile() const;
    bool canCreateFile() const { return m_canCreateFile; }
    void setCanCreateFile(bool on) { m_canCreateFile = on; }

    bool Connected() const { return m_connected; }
    void SetConnected(bool on);
    // Connects; raises EDatabaseError (duplicate name, unknown alias, refused login, a missing
    // SQLite file that may not be created).
    void Open();
    // Disconnects; an open transaction is rolled back. Never raises.
    void Close();

    // Transactions of an SQL database; a directory database has none (they raise).
    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return m_inTransaction; }

    // True for a directory of Paradox tables (valid while connected or once the alias is known).
    bool isDirectory() const;
    // The directory of a directory database; empty otherwise.
    QString directory() const;
    // The QtSql connection of an SQL database (valid while connected).
    QSqlDatabase sqlDatabase() const;
    // A statement prepared on this connection for the text, kept while connected; `fresh`
    // tells whether it still has to be prepared.
    QSqlQuery& preparedQuery(const QString& text, bool& fresh);
    void forgetPrepared(const QString& text);
    // The text prepared by SQLite itself on this connection, kept while connected; nullptr when
    // the connection is no SQLite one or SQLite does not take the text as one statement. Queries
    // read their rows through it without the driver's conversions.
    sqlite3_stmt* sqliteStatement(const QString& text);

    // The existing database of this name (ignoring case), the connected one first; nullptr when none.
    static Database* find(const QString& databaseName);

private:
    // The alias with the driver and PATH line of this database applied.
    AliasInfo resolvedAlias() const;
    void connectSql(const AliasInfo& alias);
    void checkSql(const char* operation) const;

    QString m_databaseName;
    QString m_aliasName;
    QString m_driverName;
    QStringList m_params;
    bool m_loginPrompt = true;
    bool m_canCreateFile = false;
    bool m_connected = false;
    bool m_inTransaction = false;
    bool m_isDirectory = false;
    QString m_directory;
    QString m_connectionName;   // QtSql connection of an SQL database while connected
    std::map<QString, std::unique_ptr<QSqlQuery>> m_prepared;   // by statement text
    struct Finalize {
        void operator()(sqlite3_stmt* statement) const;
    };
    // Finalized before the connection closes, which SQLite refuses while a statement lives.
    std::map<QString, std::unique_ptr<sqlite3_stmt, Finalize>> m_sqlite;   // by statement text
};

// Lets db::Table find the directory of a database name: a Database or alias of the driver
// STANDARD answers its directory. Called by the Database constructor and Aliases::setAliasFile;
// main() may call it at start-up too. Idempotent.
void installDatabasePathResolver();

} // namespace db
