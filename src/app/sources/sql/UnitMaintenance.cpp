// Deleting, renumbering and copying whole forest units of the SQL database.
#include "app/sources/sql/UnitMaintenance.h"

#include "app/sources/sql/RowCopy.h"
#include "app/sources/sql/SqlSchema.h"
#include "app/sources/sql/UnitSelection.h"
#include "forest/base/StatusText.h"
#include "platform/Exceptions.h"
#include "platform/db/sql/Database.h"
#include "platform/db/sql/Query.h"
#include "platform/ui/Services.h"

namespace sqlsrc {

namespace {

const QString kUnitWhere = QStringLiteral("where ((LHC_KOD = :KOD) and ( LHC_KOD_ID = :ID))");

void bindKey(db::Query& q, UnitKey key, const QString& kod = QStringLiteral("KOD"), const QString& id = QStringLiteral("ID"))
{
    q.ParamByName(kod).setAsInteger(key.kod);
    q.ParamByName(id).setAsInteger(key.id);
}

} // namespace

QStringList UnitMaintenance::copyOrder()
{
    QStringList order;
    for (const TableDef& t : unitTables())
        order.prepend(QLatin1String(t.name));
    return order;
}

bool UnitMaintenance::unitExists(db::Database& database, UnitKey key)
{
    db::Query q;
    q.SetDatabaseName(database.DatabaseName());
    q.SQL().Add(QStringLiteral("Select count(*) from LHC"));
    q.SQL().Add(QStringLiteral("where (LHC_KOD=:KOD)and(LHC_KOD_ID=:ID)"));
    bindKey(q, key);
    q.Open();
    q.First();
    return q.Fields(0).AsInteger() > 0;
}

bool UnitMaintenance::openInSelection(std::initializer_list<UnitKey> keys)
{
    for (const UnitKey key : keys) {
        if (UnitSelection::isOpen(key)) {
            ui::services().showMessage(QStringLiteral("LHC_KOD %1 ID %2 je otevřeno v okně výběrů. Nejdříve okno výběrů zavři.")
                                           .arg(key.kod)
                                           .arg(key.id));
            return true;
        }
    }
    return false;
}

template<class F>
bool UnitMaintenance::inTransaction(db::Database& database, UnitKey key, F work)
{
    if (m_busy)
        return false;
    m_busy = true;
    try {
        database.StartTransaction();
        work();
        database.Commit();
        m_busy = false;
        return true;
    } catch (const Exception& e) {
        if (database.InTransaction())
            database.Rollback();
        m_busy = false;
        ui::services().showMessage(QStringLiteral("%1\nLHC_KOD %2 ID %3 zůstalo beze změny.")
                                       .arg(e.message().left(2000))
                                       .arg(key.kod)
                                       .arg(key.id));
        return false;
    }
}

bool UnitMaintenance::deleteUnit(UnitKey key)
{
    if (openInSelection({key}))
        return false;
    return inTransaction(m_database, key, [&] {
        for (const TableDef& t : unitTables()) {
            const QString table = QLatin1String(t.name);
            ShowStatusText(QStringLiteral("Mazání řádků LHC %1 v tabulce  %2 ").arg(key.kod).arg(table));
            db::Query q;
            q.SetDatabaseName(m_database.DatabaseName());
            q.SQL().Add(QStringLiteral("DELETE FROM ") + table);
            q.SQL().Add(kUnitWhere);
            bindKey(q, key);
            q.ExecSQL();
        }
        ShowStatusText(QStringLiteral("LHC smazáno"));
    });
}

Outcome UnitMaintenance::renumberUnit(UnitKey from, UnitKey to)
{
    if (openInSelection({from, to}))
        return Outcome::Failed;
    if (unitExists(m_database, to)) {
        ui::services().showMessage(QStringLiteral("Nelze přejmenovat. LHC_KOD \"%1\", LHC_KOD_ID \"%2\" již existuje. Zadej znovu.")
                                       .arg(to.kod)
                                       .arg(to.id));
        return Outcome::KeyTaken;
    }
    const bool done = inTransaction(m_database, from, [&] {
        for (const TableDef& t : unitTables()) {
            const QString table = QLatin1String(t.name);
            ShowStatusText(QStringLiteral("Přečíslovávám LHC v tabulce ") + table);
            db::Query q;
            q.SetDatabaseName(m_database.DatabaseName());
            q.SQL().Add(QStringLiteral("Update ") + table);
            q.SQL().Add(QStringLiteral("set LHC_KOD=:NKOD, LHC_KOD_ID=:NID"));
            q.SQL().Add(QStringLiteral("where (LHC_KOD=:KOD)and(LHC_KOD_ID=:ID)"));
            bindKey(q, to, QStringLiteral("NKOD"), QStringLiteral("NID"));
            bindKey(q, from);
            q.ExecSQL();
        }
        ShowStatusText(QStringLiteral("Přečíslování LHC provedeno "));
    });
    return done ? Outcome::Done : Outcome::Failed;
}

Outcome UnitMaintenance::copyUnit(UnitKey from, db::Database& target, UnitKey to, QStringList* log)
{
    if (openInSelection({from, to}))
        return Outcome::Failed;
    if (unitExists(target, to)) {
        ui::services().showMessage(QStringLiteral("Nelze zkopírovat. LHC_KOD \"%1\", LHC_KOD_ID \"%2\" již existuje. Zadej znovu.")
                                       .arg(to.kod)
                                       .arg(to.id));
        return Outcome::KeyTaken;
    }
    const bool done = inTransaction(target, from, [&] {
        for (const QString& table : copyOrder()) {
            ShowStatusText(QStringLiteral("Kopíruju tabulku ") + table);
            db::Query source;
            source.SetDatabaseName(m_database.DatabaseName());
            source.SQL().Add(QStringLiteral("SELECT * FROM ") + table);
            source.SQL().Add(QStringLiteral("where ( LHC_KOD=:KOD)and ( LHC_KOD_ID=:ID)"));
            bindKey(source, from);
            CopyQueryRows(source, table, target, to, QString(), RowRetry::None, log);
        }
        ShowStatusText(QStringLiteral("Hotovo - zkopírováno LHC"));
    });
    if (log)
        *log << (done ? QStringLiteral("Proveden commit. Hotovo - zkopírováno LHC.")
                      : QStringLiteral("Kopírování se nezdařilo, proveden rollback: cílová databáze zůstala beze změny."));
    return done ? Outcome::Done : Outcome::Failed;
}

} // namespace sqlsrc
