// A database of forest units on SQLite or on a throw-away PostgreSQL server, for the SQL-source tests.
#pragma once

#include "app/sources/sql/SqlSchema.h"
#include "app/sources/sql/SqlSource.h"

#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace testsql {

using Row = std::vector<std::pair<const char*, QVariant>>;

// Per test: an empty database reached by the alias LHP, a connection "TEST_FILL" to it with the
// tables, and the source's login and unit choice answered by the test. Skips (visibly) the
// PostgreSQL variant when no server can be started.
class SqlDatabaseTest : public ::testing::TestWithParam<sqlsrc::Engine>
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Inserts a row (values bound) through the fill connection.
    void insert(const char* table, const Row& row);
    // Runs one statement through the fill connection; fails the test when it fails.
    void exec(const QString& statement);
    // Makes the database refuse a statement on a table (when the condition on NEW or OLD holds).
    void refuse(const char* event, const char* table, const QString& condition = QString());
    // Number of rows of a table (of one unit when kod is given).
    int count(const char* table, int kod = -1, int id = 0);
    // A connection to the database under the alias LHP, open.
    std::unique_ptr<db::Database> connectSource(const QString& name = QStringLiteral("LHP_ORAC")) const;
    // The login answer the source gets.
    sqlsrc::LoginAnswer login() const;
    QString dataDir() const { return m_dir.path(); }

    // Answers of the source's dialogs.
    std::optional<sqlsrc::UnitKey> chosen;
    int loginCalls = 0;
    bool cancelLogin = false;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<db::Database> m_fill;
    sqlsrc::LoginDialog m_oldLogin;
    sqlsrc::UnitChooser m_oldChooser;
    QString m_user;
};

std::string engineName(const ::testing::TestParamInfo<sqlsrc::Engine>& info);

} // namespace testsql
