// The tables of the SQL database of forest units and their DDL for SQLite and PostgreSQL.
#include "app/sources/sql/SqlSchema.h"

#include "platform/Exceptions.h"
#include "platform/db/sql/Database.h"

#include <QSqlQuery>
#include <QSqlError>
#include <QSqlRecord>

namespace sqlsrc {

namespace {

constexpr ColumnKind I = ColumnKind::Integer;
constexpr ColumnKind T = ColumnKind::Text;
constexpr ColumnKind F = ColumnKind::Float;

std::vector<ColumnDef> keyed(std::vector<ColumnDef> key, std::initializer_list<ColumnDef> rest)
{
    key.insert(key.end(), rest.begin(), rest.end());
    return key;
}

const std::vector<ColumnDef> kUnit = {{"LHC_KOD", I}, {"LHC_KOD_ID", I}};
const std::vector<ColumnDef> kStand = keyed(kUnit, {{"ODD", I}, {"ODD_ID", I}, {"DIL", T}, {"POR", T}});
const std::vector<ColumnDef> kGroup = keyed(kStand, {{"PSK", T}});
const std::vector<ColumnDef> kStorey = keyed(kGroup, {{"ETAZ", T}});
const std::vector<ColumnDef> kSpecies = keyed(kStorey, {{"DR_ZKR", T}});

const QStringList kUnitIndex = {QStringLiteral("LHC_KOD"), QStringLiteral("LHC_KOD_ID")};
const QStringList kStandIndex = kUnitIndex + QStringList{QStringLiteral("ODD"), QStringLiteral("ODD_ID"),
                                                         QStringLiteral("DIL"), QStringLiteral("POR")};
const QStringList kGroupIndex = kStandIndex + QStringList{QStringLiteral("PSK")};
const QStringList kStoreyIndex = kGroupIndex + QStringList{QStringLiteral("ETAZ")};
const QStringList kSpeciesIndex = kStoreyIndex + QStringList{QStringLiteral("DR_ZKR")};

std::vector<TableDef> makeTables()
{
    return {
        {"SKODY", keyed(kSpecies, {{"POSKOZ_D", I}, {"POSKOZ_R", I}, {"POSKOZ_ST", I}}), kSpeciesIndex},
        {"DREVINA",
         keyed(kStorey, {{"DR_ZKR", T}, {"DR_PUVOD", T}, {"GEN_KLAS", T}, {"VYB_STR", T}, {"DR_KVAL", T}, {"IMISE", T},
                         {"ZAST", I}, {"VYSKA", I}, {"TLOUSTKA", I}, {"DR_ZAS_HA", I}, {"DR_ZAS_CEL", I}, {"DR_TV", I},
                         {"DR_TO", I}, {"BON_R", I}, {"BON_A", I}, {"OBJ_SOUSI", I}}),
         kSpeciesIndex},
        {"DREV_ZALES", keyed(kStorey, {{"ZAL_DR", T}, {"ZAL_DRUH", T}, {"ZAL_DR_P", I}, {"ZAL_P", F}}),
         kStoreyIndex + QStringList{QStringLiteral("ZAL_DR")}},
        {"ETAZ",
         keyed(kGroup, {{"ETAZ", T}, {"HOSP_TV", T}, {"PRO_NAL", T}, {"TV_NAL", T}, {"TO_DUVOD", T}, {"TO_NAL", T},
                        {"TVYB_NAL", T}, {"ETAZ_PS", F}, {"ETAZ_PP", F}, {"PRO_P", F}, {"TV_P", F}, {"TO_P", F},
                        {"TVYB_P", F}, {"VEK", I}, {"ZAKM", I}, {"HS", I}, {"OBMYTI", I}, {"OBN_DOBA", I},
                        {"PRO_POC", I}, {"TV_POC", I}, {"ZP_TEZ_ST", I}, {"TER_TYP_ST", I}, {"NALEH_ST", I}}),
         kStoreyIndex},
        {"PS_V_KU", keyed(kGroup, {{"KU_KOD", I}, {"PSK_P", F}}), kGroupIndex},
        {"PARC_PL_JP", keyed(kStand, {{"JP", I}, {"KU_KOD", I}, {"PARC_C", T}}),
         kStandIndex + QStringList{QStringLiteral("JP")}},
        {"POROST_SKUP",
         keyed(kStand, {{"PSK", T}, {"KVAL_P", I}, {"LES_URAD", I}, {"PRIB_VZD", I}, {"SLT", T}, {"TER_TYP", T},
                        {"LT", T}, {"PSK_TEXT", T}, {"PSK_P0", F}, {"PSK_V", F}, {"PSK_P", F}}),
         kGroupIndex},
        {"PREKRYV", keyed(kStand, {{"KATEGORIE", T}}), kStandIndex + QStringList{QStringLiteral("KATEGORIE")}},
        {"JINE_POZ",
         keyed(kStand, {{"JP", I}, {"JP_ID", I}, {"KU_KOD", I}, {"KVAL_P", I}, {"LES_URAD", I}, {"MAJ_KOD", I},
                        {"DRUH_POZ", T}, {"JP_DRUH", T}, {"JP_VYUZ", T}, {"JP_P0", F}, {"JP_V", F}, {"JP_P", F}}),
         kStandIndex + QStringList{QStringLiteral("JP"), QStringLiteral("JP_ID")}},
        {"BEZLESI",
         keyed(kStand, {{"BZL", I}, {"BZL_ID", I}, {"KVAL_P", I}, {"KU_KOD", I}, {"BZL_P0", F}, {"BZL_V", F},
                        {"BZL_P", F}, {"BZL_DRUH", T}, {"BZL_VYUZ", T}}),
         kStandIndex + QStringList{QStringLiteral("BZL"), QStringLiteral("BZL_ID")}},
        {"POROST",
         keyed(kStand, {{"MAJ_KOD", I}, {"LES_OBL", T}, {"PAS_OHR", T}, {"OLH", T}, {"OR_UR1_KOD", I},
                        {"OR_UR2_KOD", I}, {"OR_UR3_KOD", I}, {"HIST_ROZD", T}, {"POR_TEXT", T}, {"HIST_LHC", I},
                        {"HIST_LHPOD", T}, {"KATEG_ST", T}, {"DRUH_UZIV_ST", I}, {"TER_SK_POR_ST", T}}),
         kStandIndex},
        {"MAJETEK", keyed(kUnit, {{"MAJ_KOD", I}, {"MAJ_NAZ", T}}), kUnitIndex},
        {"LHC",
         keyed(kUnit, {{"LHC_NAZ", T}, {"LHP_OD", T}, {"LHP_DO", T}, {"ETAT_TC", I}, {"ETAT_TO", I}}), kUnitIndex},
    };
}

QString typeName(ColumnKind kind, Engine engine)
{
    switch (kind) {
    case ColumnKind::Integer:
        return QStringLiteral("INTEGER");
    case ColumnKind::Float:
        return engine == Engine::Postgres ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("REAL");
    case ColumnKind::Text:
        break;
    }
    return engine == Engine::Postgres ? QStringLiteral("VARCHAR(250)") : QStringLiteral("TEXT");
}

} // namespace

const std::vector<TableDef>& unitTables()
{
    static const std::vector<TableDef> tables = makeTables();
    return tables;
}

const TableDef* findTable(const QString& name)
{
    for (const TableDef& t : unitTables())
        if (name.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QStringList ddl(Engine engine)
{
    QStringList statements;
    for (const TableDef& t : unitTables()) {
        QStringList columns;
        for (const ColumnDef& c : t.columns)
            columns << QLatin1String(c.name) + QLatin1Char(' ') + typeName(c.kind, engine);
        statements << QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(t.name), columns.join(QStringLiteral(", ")));
        statements << QStringLiteral("CREATE INDEX %1_KLIC ON %1 (%2)")
                          .arg(QLatin1String(t.name), t.indexColumns.join(QStringLiteral(", ")));
    }
    return statements;
}

Engine engineOf(const db::Database& database)
{
    return database.sqlDatabase().driverName() == QLatin1String("QPSQL") ? Engine::Postgres : Engine::Sqlite;
}

QString ensureSchema(db::Database& database)
{
    QSqlDatabase sql = database.sqlDatabase();
    const QStringList present = sql.tables();
    auto has = [&present](const char* name) {
        for (const QString& p : present)
            if (p.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    QStringList missing;
    bool any = false;
    for (const TableDef& t : unitTables()) {
        if (!has(t.name)) {
            missing << QLatin1String(t.name);
            continue;
        }
        any = true;
        // PostgreSQL keeps unquoted names in lower case.
        const QString stored = engineOf(database) == Engine::Postgres ? QString::fromLatin1(t.name).toLower()
                                                                      : QString::fromLatin1(t.name);
        const QSqlRecord record = sql.record(stored);
        for (const ColumnDef& c : t.columns)
            if (record.indexOf(QLatin1String(c.name)) < 0)
                missing << QStringLiteral("%1.%2").arg(QLatin1String(t.name), QLatin1String(c.name));
    }
    if (!any) {
        QSqlQuery q(sql);
        const bool own = !database.InTransaction();
        if (own)
            database.StartTransaction();
        try {
            for (const QString& statement : ddl(engineOf(database)))
                if (!q.exec(statement))
                    throw EDatabaseError(QStringLiteral("Tabulky databáze LHC nelze založit: ") + q.lastError().text());
        } catch (...) {
            if (own)
                database.Rollback();
            throw;
        }
        if (own)
            database.Commit();
        return QString();
    }
    if (missing.isEmpty())
        return QString();
    return QStringLiteral("Databáze LHC není úplná, chybí: %1. Databáze se nemění.").arg(missing.join(QStringLiteral(", ")));
}

} // namespace sqlsrc
