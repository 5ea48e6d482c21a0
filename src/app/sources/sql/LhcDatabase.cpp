// The connection to the SQL database of forest units: alias set-up, login, the unit list.
#include "app/sources/sql/LhcDatabase.h"

#include "app/sources/sql/SqlSchema.h"
#include "platform/Exceptions.h"
#include "platform/db/sql/Aliases.h"
#include "platform/db/sql/Query.h"
#include "platform/ui/Services.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace sqlsrc {

void setUpAliases(const QString& programDir)
{
    const QString aliasFile = programDir + QStringLiteral("/aliases.ini");
    db::Aliases::setAliasFile(QFileInfo::exists(aliasFile) ? aliasFile : QString());
    db::Aliases::setProgramDirectory(programDir);
}

void configureConnection(db::Database& database)
{
    if (engineOf(database) != Engine::Sqlite)
        return;
    QSqlQuery q(database.sqlDatabase());
    for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA busy_timeout=5000"})
        if (!q.exec(QLatin1String(pragma)))
            throw EDatabaseError(q.lastError().text());
}

namespace {

// A missing SQLite file is named and may be created only after "Ano"; false for "Ne".
bool agreedToMissingFile(db::Database& database)
{
    database.setCanCreateFile(false);
    const QString missing = database.missingFile();
    if (missing.isEmpty())
        return true;
    if (!ui::services().askYesNo(
            QStringLiteral("Soubor databáze \"%1\" neexistuje.\nMám založit prázdnou databázi?").arg(missing)))
        return false;
    database.setCanCreateFile(true);
    return true;
}

} // namespace

bool LoginLhpDatabase(db::Database& database, const LoginDialog& dialog, const QString& alias)
{
    if (database.Connected())
        return true;
    for (;;) {
        const std::optional<LoginAnswer> answer = dialog(alias, QStringLiteral("LHP"));
        if (!answer)
            return false;
        database.SetAliasName(answer->alias);
        database.SetLoginPrompt(false);
        database.Params().clear();
        database.Params() << QStringLiteral("SQLPASSTHRU MODE=SHARED NOAUTOCOMMIT")
                          << QStringLiteral("USER NAME=") + answer->user
                          << QStringLiteral("PASSWORD=") + answer->password;
        try {
            if (!agreedToMissingFile(database))
                return false;
            database.Open();
            configureConnection(database);
            const QString problem = ensureSchema(database);
            if (!problem.isEmpty()) {
                database.Close();
                ui::services().showMessage(problem);
                return false;
            }
        } catch (const Exception& e) {
            database.Close();
            ui::services().showMessage(e.message());
        }
        if (database.Connected())
            return true;
        ui::services().showMessage(QStringLiteral("Databázi nelze připojit. Zkuste to znovu."));
    }
}

namespace {

UnitRow rowOf(const db::Query& q)
{
    return UnitRow{{q.FieldByName(QStringLiteral("LHC_KOD")).AsInteger(), q.FieldByName(QStringLiteral("LHC_KOD_ID")).AsInteger()},
                   q.FieldByName(QStringLiteral("LHC_NAZ")).AsString()};
}

} // namespace

std::vector<UnitRow> ListUnits(const QString& databaseName)
{
    db::Query q;
    q.SetDatabaseName(databaseName);
    q.SQL().Add(QStringLiteral("select * from LHC"));
    q.SQL().Add(QStringLiteral("order by LHC_KOD , LHC_KOD_ID"));
    q.Open();
    std::vector<UnitRow> rows;
    for (q.First(); !q.Eof(); q.Next())
        rows.push_back(rowOf(q));
    return rows;
}

std::optional<UnitRow> FindUnit(const QString& databaseName, UnitKey key)
{
    db::Query q;
    q.SetDatabaseName(databaseName);
    q.SQL().Add(QStringLiteral("select * from LHC"));
    q.SQL().Add(QStringLiteral("where (LHC_KOD=:KOD)and(LHC_KOD_ID=:ID)"));
    q.ParamByName(QStringLiteral("KOD")).setAsInteger(key.kod);
    q.ParamByName(QStringLiteral("ID")).setAsInteger(key.id);
    q.Open();
    q.First();
    if (q.Eof())
        return std::nullopt;
    return rowOf(q);
}

} // namespace sqlsrc
