// Copying, moving and deleting compartments, stands, stand groups and land of one unit.
#include "app/sources/sql/UnitSelection.h"

#include "app/sources/sql/LhcDatabase.h"
#include "app/sources/sql/RowCopy.h"
#include "app/sources/sql/SqlSchema.h"
#include "forest/base/StatusText.h"
#include "platform/Exceptions.h"
#include "platform/db/sql/Query.h"
#include "platform/ui/Services.h"

#include <QSqlError>
#include <QSqlQuery>

namespace sqlsrc {

namespace {

const char* const kGroupTables[] = {"POROST_SKUP", "PS_V_KU", "ETAZ", "DREV_ZALES", "DREVINA", "SKODY"};

// "where (LHC_KOD=:LHC_KOD)and..." over the keys of the kind; every value bound by bindWhere.
QString whereOf(SelectionKind kind)
{
    QString w = QStringLiteral("where (LHC_KOD=:LHC_KOD)and(LHC_KOD_ID=:LHC_KOD_ID)");
    if (kind >= SelectionKind::Compartment)
        w += QStringLiteral("and(ODD=:ODD)and(ODD_ID=:ODD_ID)");
    if (kind >= SelectionKind::Stand)
        w += QStringLiteral("and(DIL=:DIL)and(POR=:POR)");
    if (kind == SelectionKind::StandGroup)
        w += QStringLiteral("and(PSK=:PSK)");
    if (kind == SelectionKind::BareLand)
        w += QStringLiteral("and(BZL=:NUM)and(BZL_ID=:NUMID)");
    if (kind == SelectionKind::OtherLand)
        w += QStringLiteral("and(JP=:NUM)and(JP_ID=:NUMID)");
    return w;
}

void bindWhere(db::Query& q, SelectionKind kind, const SelectedRow& row, UnitKey unit, const QString& oddId)
{
    q.ParamByName(QStringLiteral("LHC_KOD")).setAsInteger(unit.kod);
    q.ParamByName(QStringLiteral("LHC_KOD_ID")).setAsInteger(unit.id);
    if (kind >= SelectionKind::Compartment) {
        q.ParamByName(QStringLiteral("ODD")).setAsInteger(row.odd);
        q.ParamByName(QStringLiteral("ODD_ID")).setAsInteger(oddId.isEmpty() ? row.oddId : oddId.toInt());
    }
    if (kind >= SelectionKind::Stand) {
        q.ParamByName(QStringLiteral("DIL")).setAsString(row.dil);
        q.ParamByName(QStringLiteral("POR")).setAsString(row.por);
    }
    if (kind == SelectionKind::StandGroup)
        q.ParamByName(QStringLiteral("PSK")).setAsString(row.psk);
    if (kind == SelectionKind::BareLand || kind == SelectionKind::OtherLand) {
        q.ParamByName(QStringLiteral("NUM")).setAsInteger(row.number);
        q.ParamByName(QStringLiteral("NUMID")).setAsInteger(row.numberId);
    }
}

struct ListDef {
    const char* select;
    const char* order;
};

ListDef listOf(SelectionKind kind)
{
    switch (kind) {
    case SelectionKind::Compartment:
        return {"select distinct ODD,ODD_ID from POROST", "order by  ODD,ODD_ID"};
    case SelectionKind::Stand:
        return {"select ODD,ODD_ID,DIL,POR  from POROST", "order by  ODD,ODD_ID,DIL,POR"};
    case SelectionKind::StandGroup:
        return {"select ODD,ODD_ID,DIL,POR,PSK  from POROST_SKUP", "order by  ODD,ODD_ID,DIL,POR,PSK"};
    case SelectionKind::BareLand:
        return {"select ODD,ODD_ID,DIL,POR,BZL,BZL_ID  from BEZLESI", "order by  ODD,ODD_ID,DIL,POR,BZL,BZL_ID"};
    case SelectionKind::OtherLand:
        return {"select ODD,ODD_ID,DIL,POR,JP,JP_ID  from JINE_POZ", "order by  ODD,ODD_ID,DIL,POR,JP,JP_ID"};
    case SelectionKind::None:
        break;
    }
    return {nullptr, nullptr};
}

void runPlain(db::Database& database, const QString& statement)
{
    QSqlQuery q(database.sqlDatabase());
    if (!q.exec(statement))
        throw EDatabaseError(q.lastError().text());
}

} // namespace

QString UnitSelection::connectionName(UnitKey unit)
{
    return QStringLiteral("ORAC%1I%2").arg(unit.kod).arg(unit.id);
}

bool UnitSelection::isOpen(UnitKey unit)
{
    return db::Database::find(connectionName(unit)) != nullptr;
}

UnitSelection::UnitSelection(UnitKey unit) : m_unit(unit), m_database(connectionName(unit)) {}

UnitSelection::~UnitSelection()
{
    if (m_database.Connected() && engineOf(m_database) == Engine::Postgres) {
        if (m_database.InTransaction())
            m_database.Rollback();
        QSqlQuery q(m_database.sqlDatabase());
        q.prepare(QStringLiteral("SELECT pg_advisory_unlock(?, ?)"));
        q.addBindValue(m_unit.kod);
        q.addBindValue(m_unit.id);
        q.exec();
    }
    m_database.Close();   // an open transaction is rolled back; a dead program's lock the server frees
}

std::unique_ptr<UnitSelection> UnitSelection::open(const db::Database& login, UnitKey unit)
{
    std::unique_ptr<UnitSelection> selection(new UnitSelection(unit));
    db::Database& d = selection->m_database;
    d.SetAliasName(login.AliasName());
    d.SetDriverName(login.DriverName());
    d.SetLoginPrompt(false);
    d.Params() = login.Params();
    try {
        d.Open();
        if (engineOf(d) == Engine::Postgres) {
            QSqlQuery q(d.sqlDatabase());
            q.prepare(QStringLiteral("SELECT pg_try_advisory_lock(?, ?)"));
            q.addBindValue(unit.kod);
            q.addBindValue(unit.id);
            if (!q.exec() || !q.next() || !q.value(0).toBool())
                throw EDatabaseError(QStringLiteral("LHC je otevřeno jinde."));
        }
        configureConnection(d);
        d.StartTransaction();
    } catch (const Exception&) {
        ui::services().showMessage(QStringLiteral("Nelze připojit databázi. Pravděpodobně se snažíš otevří podruhé stejný LHC."));
        return nullptr;
    }
    return selection;
}

std::vector<SelectedRow> UnitSelection::list(SelectionKind kind, UnitKey unit)
{
    const ListDef def = listOf(kind);
    std::vector<SelectedRow> rows;
    if (!def.select)
        return rows;
    db::Query q;
    q.SetDatabaseName(m_database.DatabaseName());
    q.SQL().Add(QLatin1String(def.select));
    q.SQL().Add(whereOf(SelectionKind::None));
    q.SQL().Add(QLatin1String(def.order));
    bindWhere(q, SelectionKind::None, {}, unit, QString());
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
        SelectedRow r;
        r.kind = kind;
        r.odd = q.FieldByName(QStringLiteral("ODD")).AsInteger();
        r.oddId = q.FieldByName(QStringLiteral("ODD_ID")).AsInteger();
        if (kind >= SelectionKind::Stand) {
            r.dil = q.FieldByName(QStringLiteral("DIL")).AsString();
            r.por = q.FieldByName(QStringLiteral("POR")).AsString();
        }
        if (kind == SelectionKind::StandGroup)
            r.psk = q.FieldByName(QStringLiteral("PSK")).AsString();
        if (kind == SelectionKind::BareLand || kind == SelectionKind::OtherLand) {
            r.number = q.Fields(4).AsInteger();
            r.numberId = q.Fields(5).AsInteger();
        }
        rows.push_back(r);
    }
    return rows;
}

template<class F>
bool UnitSelection::underSavepoint(F work)
{
    try {
        runPlain(m_database, QStringLiteral("SAVEPOINT operace"));
    } catch (const Exception& e) {
        ui::services().showMessage(e.message());
        return false;
    }
    try {
        work();
        runPlain(m_database, QStringLiteral("RELEASE SAVEPOINT operace"));
        return true;
    } catch (const Exception& e) {
        try {
            runPlain(m_database, QStringLiteral("ROLLBACK TO SAVEPOINT operace"));
            runPlain(m_database, QStringLiteral("RELEASE SAVEPOINT operace"));
        } catch (const Exception&) {
            m_database.Rollback();
            m_database.StartTransaction();
        }
        ui::services().showMessage(e.message().left(2000) + QStringLiteral("\nNic se nezměnilo."));
        return false;
    }
}

bool UnitSelection::exists(const char* table, const SelectedRow& row, UnitKey unit, const QString& oddId)
{
    db::Query q;
    q.SetDatabaseName(m_database.DatabaseName());
    q.SQL().Add(QStringLiteral("Select count(*) from ") + QLatin1String(table));
    const SelectionKind kind = std::string_view(table) == "POROST" && row.kind > SelectionKind::Stand ? SelectionKind::Stand : row.kind;
    q.SQL().Add(whereOf(kind));
    bindWhere(q, kind, row, unit, oddId);
    q.Open();
    q.First();
    return q.Fields(0).AsInteger() > 0;
}

bool UnitSelection::standIsEmpty(const SelectedRow& stand, UnitKey unit)
{
    SelectedRow r = stand;
    r.kind = stand.dil.isEmpty() && stand.por.isEmpty() ? SelectionKind::Compartment : SelectionKind::Stand;
    for (const char* t : {"POROST_SKUP", "BEZLESI", "JINE_POZ"})
        if (exists(t, r, unit, QString()))
            return false;
    return true;
}

void UnitSelection::copyTable(const char* table, const SelectedRow& row, SelectionKind kind, UnitKey target, const QString& oddId)
{
    db::Query source;
    source.SetDatabaseName(m_database.DatabaseName());
    source.SQL().Add(QStringLiteral("select * from ") + QLatin1String(table));
    source.SQL().Add(whereOf(kind));
    bindWhere(source, kind, row, m_unit, QString());
    CopyQueryRows(source, QLatin1String(table), m_database, target, oddId, RowRetry::OddIdMinusOne, m_log);
}

void UnitSelection::deleteTable(const char* table, const SelectedRow& row, SelectionKind kind, UnitKey unit)
{
    ShowStatusText(QStringLiteral("Mažu ") + QLatin1String(table));
    db::Query q;
    q.SetDatabaseName(m_database.DatabaseName());
    q.SQL().Add(QStringLiteral("delete from ") + QLatin1String(table));
    q.SQL().Add(whereOf(kind));
    bindWhere(q, kind, row, unit, QString());
    q.ExecSQL();
}

bool UnitSelection::copy(const SelectedRow& row, UnitKey target, const QString& oddId)
{
    if (row.kind == SelectionKind::None) {
        ui::services().showMessage(QStringLiteral("Chyba při výběru pole"));
        return false;
    }
    bool refused = false;
    const bool done = underSavepoint([&] {
        const QString targetOddId = oddId.isEmpty() ? QString::number(row.oddId) : oddId;
        const SelectionKind kind = row.kind;
        if (kind == SelectionKind::Stand && exists("POROST", row, target, targetOddId)) {
            ui::services().showMessage(QStringLiteral("Nelze kopírovat, porost už existuje."));
            refused = true;
            return;
        }
        if (kind <= SelectionKind::Stand) {
            for (const char* t : {"POROST", "BEZLESI", "JINE_POZ", "PREKRYV"})
                copyTable(t, row, kind, target, oddId);
            for (const char* t : kGroupTables)
                copyTable(t, row, kind, target, oddId);
            m_changed = true;
            return;
        }
        static const char* const tableOf[] = {"", "", "", "POROST_SKUP", "BEZLESI", "JINE_POZ"};
        static const char* const taken[] = {"", "", "", "Nelze kopírovat, PSK už existuje.", "Nelze kopírovat, BZL už existuje.",
                                            "Nelze kopírovat, JP už existuje."};
        if (exists(tableOf[int(kind)], row, target, targetOddId)) {
            ui::services().showMessage(QString::fromUtf8(taken[int(kind)]));
            refused = true;
            return;
        }
        if (!exists("POROST", row, target, targetOddId))
            copyTable("POROST", row, SelectionKind::Stand, target, oddId);
        if (kind == SelectionKind::StandGroup)
            for (const char* t : kGroupTables)
                copyTable(t, row, kind, target, oddId);
        else
            copyTable(tableOf[int(kind)], row, kind, target, oddId);
        m_changed = true;
    });
    return done && !refused;
}

bool UnitSelection::remove(const SelectedRow& row, bool alsoLand, UnitKey unit)
{
    switch (row.kind) {
    case SelectionKind::None:
        ui::services().showMessage(QStringLiteral("Chyba při výběru pole"));
        return false;
    case SelectionKind::BareLand:
    case SelectionKind::OtherLand:
        if (!alsoLand) {
            ui::services().showMessage(row.kind == SelectionKind::BareLand ? QStringLiteral("Bezlesí není porostní půda.")
                                                                           : QStringLiteral("Jiný pozemek není porostní půda."));
            return false;
        }
        break;
    default:
        break;
    }
    return underSavepoint([&] {
        if (row.kind == SelectionKind::BareLand) {
            deleteTable("BEZLESI", row, row.kind, unit);
        } else if (row.kind == SelectionKind::OtherLand) {
            deleteTable("JINE_POZ", row, row.kind, unit);
        } else {
            // A stand group's keys select only stand-group tables.
            for (const char* t : kGroupTables)
                deleteTable(t, row, row.kind, unit);
            if (alsoLand && row.kind <= SelectionKind::Stand)
                for (const char* t : {"BEZLESI", "JINE_POZ", "PREKRYV", "POROST"})
                    deleteTable(t, row, row.kind, unit);
        }
        m_changed = true;
    });
}

bool UnitSelection::removeStandRows(const SelectedRow& stand, UnitKey unit)
{
    return underSavepoint([&] {
        for (const char* t : {"POROST", "PREKRYV"})
            deleteTable(t, stand, SelectionKind::Stand, unit);
        m_changed = true;
    });
}

bool UnitSelection::move(const SelectedRow& row, UnitKey target, const QString& oddId)
{
    // Both steps or neither: the delete runs only after the copy succeeded.
    try {
        runPlain(m_database, QStringLiteral("SAVEPOINT presun"));
    } catch (const Exception& e) {
        ui::services().showMessage(e.message());
        return false;
    }
    const bool changed = m_changed;
    if (copy(row, target, oddId) && remove(row, true)) {
        runPlain(m_database, QStringLiteral("RELEASE SAVEPOINT presun"));
        return true;
    }
    runPlain(m_database, QStringLiteral("ROLLBACK TO SAVEPOINT presun"));
    runPlain(m_database, QStringLiteral("RELEASE SAVEPOINT presun"));
    m_changed = changed;
    return false;
}

void UnitSelection::endTransaction(bool commit)
{
    if (!m_database.InTransaction())
        return;
    if (commit)
        m_database.Commit();
    else
        m_database.Rollback();
    m_changed = false;
    m_database.StartTransaction();
}

} // namespace sqlsrc
