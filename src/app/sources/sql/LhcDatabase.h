// The connection to the SQL database of forest units: alias set-up, login, the unit list.
#pragma once

#include "app/sources/sql/SqlLoader.h"
#include "platform/db/sql/Database.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace sqlsrc {

// What the login dialog answers when confirmed. The password is only handed to the connection.
struct LoginAnswer {
    QString alias;
    QString user;
    QString password;
};

// Shows the login dialog with the given alias and user filled in; nullopt when cancelled.
using LoginDialog = std::function<std::optional<LoginAnswer>(const QString& alias, const QString& user)>;

// One row of the unit list.
struct UnitRow {
    UnitKey key;
    QString name;
};

// Points the alias table at the program's directory: "aliases.ini" there when it exists, and
// the default LHP.sqlite and relative SQLite files there too (never in the data directory of
// vkm.ini, which a Paradox choice points at another program's data).
void setUpAliases(const QString& programDir);

// SQLite: readers beside one writer (WAL), and a writer waits up to 5 s for another's lock.
void configureConnection(db::Database& database);

// Connects `database` through the login dialog, repeating after a failure with the engine's
// error and "Databázi nelze připojit. Zkuste to znovu."; true when connected. A connected
// database answers true at once. A database of another layout is reported, never altered, and
// left disconnected; an empty one gets the tables. An SQLite file that does not exist is named
// and created only when the user answers "Ano"; "Ne" ends the login as cancelled.
bool LoginLhpDatabase(db::Database& database, const LoginDialog& dialog, const QString& alias = QStringLiteral("LHP"));

// The units, ordered by LHC_KOD and LHC_KOD_ID, read without holding a transaction.
std::vector<UnitRow> ListUnits(const QString& databaseName);

// The unit of a key; nullopt when there is none.
std::optional<UnitRow> FindUnit(const QString& databaseName, UnitKey key);

} // namespace sqlsrc
