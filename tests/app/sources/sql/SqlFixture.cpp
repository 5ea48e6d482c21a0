// A database of forest units on SQLite or on a throw-away PostgreSQL server, for the SQL-source tests.
#include "app/sources/sql/SqlFixture.h"

#include "platform/db/sql/Aliases.h"
#include "platform/db/sql/Database.h"
#include "platform/ui/Services.h"
#include "support/PostgresServer.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace testsql {

namespace {

// One server for the whole run, started on first use.
test::PostgresServer& server()
{
    static test::PostgresServer instance(54331);
    return instance;
}

int nextDatabaseNumber()
{
    static int number = 0;
    return ++number;
}

} // namespace

std::string engineName(const ::testing::TestParamInfo<sqlsrc::Engine>& info)
{
    return info.param == sqlsrc::Engine::Postgres ? std::string("PostgreSql")
                                                   : std::string("Sqlite");
}

void SqlDatabaseTest::SetUp()
{
    static_cast<ui::RecordingServices&>(ui::services()).clear();
    ASSERT_TRUE(m_dir.isValid());
    const QString iniPath = m_dir.filePath(QStringLiteral("aliases.ini"));
    QFile ini(iniPath);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    if (GetParam() == sqlsrc::Engine::Postgres) {
        if (!server().isRunning())
            GTEST_SKIP() << "PostgreSQL variant skipped: " << server().whyNot().toStdString();
        const QString name = QStringLiteral("lhp%1").arg(nextDatabaseNumber());
        {
            QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("pg_admin"));
            admin.setHostName(server().host());
            admin.setPort(server().port());
            admin.setUserName(test::PostgresServer::user());
            admin.setDatabaseName(QStringLiteral("postgres"));
            ASSERT_TRUE(admin.open()) << admin.lastError().text().toStdString();
            QSqlQuery q(admin);
            ASSERT_TRUE(q.exec(QStringLiteral("CREATE DATABASE ") + name)) << q.lastError().text().toStdString();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("pg_admin"));
        ini.write(QStringLiteral("[LHP]\r\nDRIVER=QPSQL\r\nDATABASE=%1\r\nHOST=%2\r\nPORT=%3\r\n")
                      .arg(name, server().host())
                      .arg(server().port())
                      .toUtf8());
        m_user = test::PostgresServer::user();
    } else {
        ini.write("[LHP]\r\nDRIVER=QSQLITE\r\nDATABASE=LHP.sqlite\r\n");
        m_user = QStringLiteral("LHP");
    }
    ini.close();
    db::Aliases::setAliasFile(iniPath);
    db::Aliases::setProgramDirectory(m_dir.path());

    m_fill = std::make_unique<db::Database>(QStringLiteral("TEST_FILL"));
    m_fill->SetAliasName(QStringLiteral("LHP"));
    m_fill->SetLoginPrompt(false);
    m_fill->setCanCreateFile(true);
    m_fill->Params() << QStringLiteral("USER NAME=") + m_user;
    m_fill->Open();
    ASSERT_EQ(sqlsrc::ensureSchema(*m_fill), QString());

    m_oldLogin = sqlsrc::loginDialog();
    m_oldChooser = sqlsrc::unitChooser();
    sqlsrc::loginDialog() = [this](const QString&, const QString&) -> std::optional<sqlsrc::LoginAnswer> {
        ++loginCalls;
        if (cancelLogin)
            return std::nullopt;
        return login();
    };
    sqlsrc::unitChooser() = [this](const QString&) { return chosen; };
}

void SqlDatabaseTest::TearDown()
{
    if (m_oldLogin)
        sqlsrc::loginDialog() = m_oldLogin;
    if (m_oldChooser)
        sqlsrc::unitChooser() = m_oldChooser;
    m_fill.reset();
    db::Aliases::setAliasFile(QString());
    db::Aliases::setProgramDirectory(QString());
}

std::unique_ptr<db::Database> SqlDatabaseTest::connectSource(const QString& name) const
{
    auto database = std::make_unique<db::Database>(name);
    database->SetAliasName(QStringLiteral("LHP"));
    database->Params() << QStringLiteral("USER NAME=") + login().user;
    database->Open();
    return database;
}

sqlsrc::LoginAnswer SqlDatabaseTest::login() const
{
    return {QStringLiteral("LHP"), m_user, QString()};
}

void SqlDatabaseTest::insert(const char* table, const Row& row)
{
    QStringList names;
    QStringList marks;
    for (const auto& [name, value] : row) {
        names << QLatin1String(name);
        marks << QStringLiteral("?");
    }
    QSqlQuery q(m_fill->sqlDatabase());
    ASSERT_TRUE(q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                              .arg(QLatin1String(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))));
    for (const auto& [name, value] : row)
        q.addBindValue(value);
    ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
}

void SqlDatabaseTest::exec(const QString& statement)
{
    QSqlQuery q(m_fill->sqlDatabase());
    ASSERT_TRUE(q.exec(statement)) << statement.toStdString() << ": " << q.lastError().text().toStdString();
}

void SqlDatabaseTest::refuse(const char* event, const char* table, const QString& condition)
{
    if (GetParam() == sqlsrc::Engine::Postgres) {
        const QString test = condition.isEmpty() ? QStringLiteral("true") : condition;
        exec(QStringLiteral("CREATE OR REPLACE FUNCTION refuse_%1() RETURNS trigger AS $$ BEGIN IF %2 THEN "
                            "RAISE EXCEPTION 'odmitnuto'; END IF; RETURN COALESCE(NEW, OLD); END $$ LANGUAGE plpgsql")
                 .arg(QLatin1String(table), test));
        exec(QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE %2 ON %1 FOR EACH ROW EXECUTE FUNCTION refuse_%1()")
                 .arg(QLatin1String(table), QLatin1String(event)));
    } else {
        exec(QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE %2 ON %1 %3 BEGIN SELECT RAISE(ABORT, 'odmitnuto'); END")
                 .arg(QLatin1String(table), QLatin1String(event),
                      condition.isEmpty() ? QString() : QStringLiteral("WHEN ") + condition));
    }
}

int SqlDatabaseTest::count(const char* table, int kod, int id)
{
    QSqlQuery q(m_fill->sqlDatabase());
    QString text = QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table));
    if (kod >= 0)
        text += QStringLiteral(" WHERE LHC_KOD=%1 AND LHC_KOD_ID=%2").arg(kod).arg(id);
    if (!q.exec(text) || !q.next()) {
        ADD_FAILURE() << q.lastError().text().toStdString();
        return -1;
    }
    return q.value(0).toInt();
}

} // namespace testsql
