// A named database connection: registry, alias resolution, QtSql connection and transactions.
#include "platform/db/sql/Database.h"

#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/db/sql/Aliases.h"
#include "platform/text/Case.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <vector>

namespace db {

namespace {

// Every existing Database, in creation order (not owned).
std::vector<Database*>& registry()
{
    static std::vector<Database*> all;
    return all;
}

int nextConnectionNumber()
{
    static int number = 0;
    return ++number;
}

// An SQLite database kept in a named file (an empty name is a private temporary database).
bool isSqliteFile(const AliasInfo& alias)
{
    return alias.driver.compare(QLatin1String("QSQLITE"), Qt::CaseInsensitive) == 0 && !alias.database.isEmpty();
}

bool sameName(const QString& a, const QString& b)
{
    return txt::sameTextLetters(txt::trim(a), txt::trim(b));
}

// The directory of a database name for db::Table; empty when the name is no directory database.
QString directoryOfDatabase(const QString& name)
{
    if (const Database* database = Database::find(name))
        return database->isDirectory() ? database->directory() : QString();
    const std::optional<AliasInfo> alias = Aliases::find(name);
    return alias && alias->isDirectory() ? alias->database : QString();
}

} // namespace

void installDatabasePathResolver()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    setDatabasePathResolver(directoryOfDatabase);
}

Database::Database(const QString& databaseName) : m_databaseName(databaseName)
{
    installDatabasePathResolver();
    registry().push_back(this);
}

Database::~Database()
{
    Close();
    auto& all = registry();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void Database::SetDatabaseName(const QString& name)
{
    if (m_connected)
        throw EDatabaseError(QStringLiteral("Nelze změnit jméno připojené databáze %1.").arg(m_databaseName));
    m_databaseName = name;
}

void Database::SetAliasName(const QString& alias)
{
    if (m_connected)
        throw EDatabaseError(QStringLiteral("Nelze změnit alias připojené databáze %1.").arg(m_databaseName));
    m_aliasName = alias;
}

void Database::SetDriverName(const QString& driver)
{
    if (m_connected)
        throw EDatabaseError(QStringLiteral("Nelze změnit ovladač připojené databáze %1.").arg(m_databaseName));
    m_driverName = driver;
}

QString Database::paramValue(const QString& name) const
{
    for (const QString& line : m_params) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0 && sameName(line.left(eq), name))
            return line.mid(eq + 1);
    }
    return QString();
}

void Database::SetConnected(bool on)
{
    if (on)
        Open();
    else
        Close();
}

void Database::Open()
{
    if (m_connected)
        return;
    if (txt::trim(m_databaseName).isEmpty())
        throw EDatabaseError(QStringLiteral("Databáze nemá jméno."));
    for (const Database* other : registry()) {
        if (other != this && other->m_connected && sameName(other->m_databaseName, m_databaseName))
            throw EDatabaseError(QStringLiteral("Databáze se jménem %1 je už připojena.").arg(m_databaseName));
    }

    const AliasInfo alias = resolvedAlias();
    if (alias.driver.isEmpty())
        throw EDatabaseError(QStringLiteral("Databáze %1 nemá alias ani ovladač.").arg(m_databaseName));

    if (alias.isDirectory()) {
        m_isDirectory = true;
        m_directory = alias.database;
    } else {
        m_isDirectory = false;
        m_directory.clear();
        connectSql(alias);
    }
    m_connected = true;
    m_inTransaction = false;
}

AliasInfo Database::resolvedAlias() const
{
    AliasInfo alias;
    if (!m_aliasName.isEmpty()) {
        const std::optional<AliasInfo> found = Aliases::find(m_aliasName);
        if (!found)
            throw EDatabaseError(QStringLiteral("Neznámý alias databáze: %1").arg(m_aliasName));
        alias = *found;
    }
    if (!m_driverName.isEmpty())
        alias.driver = m_driverName;
    const QString path = paramValue(QStringLiteral("PATH"));
    if (!path.isEmpty() && (alias.driver.isEmpty() || alias.isDirectory())) {
        alias.driver = QStringLiteral("STANDARD");
        alias.database = path;
    }
    return alias;
}

QString Database::missingFile() const
{
    const AliasInfo alias = resolvedAlias();
    return isSqliteFile(alias) && !QFileInfo::exists(alias.database) ? alias.database : QString();
}

void Database::connectSql(const AliasInfo& alias)
{
    const bool mustExist = isSqliteFile(alias) && !m_canCreateFile;
    if (mustExist && !QFileInfo::exists(alias.database))
        throw EDatabaseError(QStringLiteral("Soubor databáze \"%1\" neexistuje.").arg(alias.database));
    const QString connectionName = QStringLiteral("genklas-db-%1").arg(nextConnectionNumber());
    {
        QSqlDatabase sql = QSqlDatabase::addDatabase(alias.driver, connectionName);
        if (!sql.isValid()) {
            sql = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName);
            throw EDatabaseError(QStringLiteral("Databázový ovladač %1 není k dispozici.").arg(alias.driver));
        }
        if (mustExist) {
            // Opened read-write without create: a file removed since the check above is not
            // made again (nor its -wal and -shm).
            sql.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
            sql.setDatabaseName(QUrl::fromLocalFile(alias.database).toString(QUrl::FullyEncoded)
                                + QStringLiteral("?mode=rw"));
        } else {
            sql.setDatabaseName(alias.database);
        }
        if (!alias.host.isEmpty())
            sql.setHostName(alias.host);
        if (alias.port >= 0)
            sql.setPort(alias.port);
        sql.setUserName(paramValue(QStringLiteral("USER NAME")));
        sql.setPassword(paramValue(QStringLiteral("PASSWORD")));
        if (!sql.open()) {
            const QString reason = sql.lastError().text();
            sql = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName);
            throw EDatabaseError(QStringLiteral("Nelze připojit databázi %1: %2").arg(m_databaseName, reason));
        }
    }
    m_connectionName = connectionName;
}

void Database::Close()
{
    if (!m_connected)
        return;
    m_prepared.clear();
    m_sqlite.clear();
    if (!m_connectionName.isEmpty()) {
        {
            QSqlDatabase sql = QSqlDatabase::database(m_connectionName, false);
            if (m_inTransaction)
                sql.rollback();
            sql.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
        m_connectionName.clear();
    }
    m_connected = false;
    m_inTransaction = false;
}

void Database::checkSql(const char* operation) const
{
    if (!m_connected)
        throw EDatabaseError(QStringLiteral("Databáze %1 není připojena (%2).")
                                 .arg(m_databaseName, QLatin1String(operation)));
    if (m_isDirectory)
        throw EDatabaseError(QStringLiteral("Databáze %1 nepodporuje transakce.").arg(m_databaseName));
}

void Database::StartTransaction()
{
    checkSql("StartTransaction");
    if (m_inTransaction)
        throw EDatabaseError(QStringLiteral("Transakce databáze %1 už probíhá.").arg(m_databaseName));
    QSqlDatabase sql = sqlDatabase();
    if (!sql.transaction())
        throw EDatabaseError(QStringLiteral("Nelze zahájit transakci: %1").arg(sql.lastError().text()));
    m_inTransaction = true;
}

void Database::Commit()
{
    checkSql("Commit");
    if (!m_inTransaction)
        throw EDatabaseError(QStringLiteral("Databáze %1 nemá otevřenou transakci.").arg(m_databaseName));
    QSqlDatabase sql = sqlDatabase();
    if (!sql.commit())
        throw EDatabaseError(QStringLiteral("Nelze potvrdit transakci: %1").arg(sql.lastError().text()));
    m_inTransaction = false;
}

void Database::Rollback()
{
    checkSql("Rollback");
    if (!m_inTransaction)
        throw EDatabaseError(QStringLiteral("Databáze %1 nemá otevřenou transakci.").arg(m_databaseName));
    QSqlDatabase sql = sqlDatabase();
    m_inTransaction = false;
    if (!sql.rollback())
        throw EDatabaseError(QStringLiteral("Nelze odvolat transakci: %1").arg(sql.lastError().text()));
}

bool Database::isDirectory() const
{
    if (m_connected)
        return m_isDirectory;
    if (!paramValue(QStringLiteral("PATH")).isEmpty())
        return true;
    if (!m_driverName.isEmpty())
        return AliasInfo{QString(), m_driverName, {}, {}, -1}.isDirectory();
    const std::optional<AliasInfo> alias = Aliases::find(m_aliasName);
    return alias && alias->isDirectory();
}

QString Database::directory() const
{
    if (m_connected)
        return m_directory;
    const QString path = paramValue(QStringLiteral("PATH"));
    if (!path.isEmpty())
        return path;
    const std::optional<AliasInfo> alias = Aliases::find(m_aliasName);
    return alias && alias->isDirectory() ? alias->database : QString();
}

QSqlDatabase Database::sqlDatabase() const
{
    if (m_connectionName.isEmpty())
        return QSqlDatabase();
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlQuery& Database::preparedQuery(const QString& text, bool& fresh)
{
    constexpr size_t kMaxPrepared = 64;
    auto found = m_prepared.find(text);
    fresh = found == m_prepared.end();
    if (fresh) {
        if (m_prepared.size() >= kMaxPrepared)
            m_prepared.clear();
        found = m_prepared.emplace(text, std::make_unique<QSqlQuery>(sqlDatabase())).first;
    }
    return *found->second;
}

void Database::forgetPrepared(const QString& text)
{
    m_prepared.erase(text);
}

void Database::Finalize::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

sqlite3_stmt* Database::sqliteStatement(const QString& text)
{
    constexpr size_t kMaxPrepared = 64;
    if (const auto found = m_sqlite.find(text); found != m_sqlite.end())
        return found->second.get();
    const QSqlDatabase sql = sqlDatabase();
    const QVariant handle = sql.driver() ? sql.driver()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    sqlite3* connection = *static_cast<sqlite3* const*>(handle.constData());
    const QByteArray utf8 = text.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (!connection || sqlite3_prepare_v2(connection, utf8.constData(), int(utf8.size()), &statement, &tail) != SQLITE_OK)
        return nullptr;
    std::unique_ptr<sqlite3_stmt, Finalize> kept(statement);
    if (!statement || !QByteArray(tail).trimmed().isEmpty())
        return nullptr;
    if (m_sqlite.size() >= kMaxPrepared)
        m_sqlite.clear();
    return m_sqlite.emplace(text, std::move(kept)).first->second.get();
}

Database* Database::find(const QString& databaseName)
{
    Database* found = nullptr;
    for (Database* db : registry()) {
        if (!sameName(db->m_databaseName, databaseName))
            continue;
        if (db->m_connected)
            return db;
        if (!found)
            found = db;
    }
    return found;
}

} // namespace db
