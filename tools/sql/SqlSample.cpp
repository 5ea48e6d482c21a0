// The sample SQL database of forest units: unit 1 as the version-97 sample loads, unit 2 made here.
#include "tools/sql/SqlSample.h"

#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "app/sources/sql/SqlSchema.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "forest/hierarchy/Poskozeni.h"
#include "forest/hierarchy/Zalesneni.h"
#include "platform/Exceptions.h"
#include "platform/db/sql/Aliases.h"
#include "platform/db/sql/Database.h"
#include "platform/files/FileOps.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cerrno>
#include <map>

#include <fcntl.h>
#include <unistd.h>

namespace sqlsample {

namespace {

using Values = std::map<QString, QVariant>;

// A published property's value; invalid when the element has no such property.
QVariant propertyValue(TPersistent& o, const QString& name)
{
    const int index = IndexOfProp(&o, name);
    if (index < 0)
        return QVariant();
    const PPropInfo p = o.ClassType()->Prop(index);
    if (!p->HasRead())
        return QVariant();
    const PropValue v = p->Read(o);
    switch (p->Kind) {
    case tkInteger:
    case tkEnumeration:
    case tkChar:
        return v.Ordinal;
    case tkInt64:
        return v.Int64;
    case tkFloat:
        return v.Float;
    case tkString:
    case tkLString:
    case tkWString:
        return v.Text;
    default:
        return QVariant();
    }
}

// Inserts a row of the table: each column from `fixed`, else the element's property of its name.
void insertRow(db::Database& database, const char* table, TPersistent* element, const Values& fixed)
{
    const sqlsrc::TableDef* def = sqlsrc::findTable(QLatin1String(table));
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (const sqlsrc::ColumnDef& c : def->columns) {
        const QString name = QLatin1String(c.name);
        const auto it = fixed.find(name);
        QVariant value = it != fixed.end() ? it->second : element ? propertyValue(*element, name) : QVariant();
        if (!value.isValid())
            continue;
        names << name;
        marks << QStringLiteral("?");
        values << value;
    }
    QSqlQuery q(database.sqlDatabase());
    if (!q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(QLatin1String(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))))
        throw EDatabaseError(q.lastError().text());
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw EDatabaseError(QStringLiteral("%1: %2").arg(QLatin1String(table), q.lastError().text()));
}

template<class T, class F>
void each(TEntity* set, F f)
{
    for (int i = 0; set && i < set->Count(); ++i)
        if (auto* item = dynamic_cast<T*>(set->Items(i)))
            f(*item);
}

Values with(Values v, const QString& name, const QVariant& value)
{
    v[name] = value;
    return v;
}

void writeStand(TPorost& stand, db::Database& database, const Values& standKey)
{
    Values row = standKey;
    row[QStringLiteral("OLH")] = propertyValue(stand, QStringLiteral("OLH_98"));
    row[QStringLiteral("POR_TEXT")] = stand.POR_TEXT()->Lines.join(QLatin1Char(' '));
    int level = 0;
    each<TOrg_Uroven>(TJinyPozemek::Org_UrovenMN(&stand), [&](TOrg_Uroven& o) {
        if (++level <= 3)
            row[QStringLiteral("OR_UR%1_KOD").arg(level)] = o.ORG_UROVEN();
    });
    insertRow(database, "POROST", &stand, row);
    each<TPorostniSkupina>(stand.PorostniSkupinaMN(), [&](TPorostniSkupina& g) {
        const Values groupKey = with(standKey, QStringLiteral("PSK"), g.PSK());
        insertRow(database, "POROST_SKUP", &g, groupKey);
        each<TEtaz>(g.EtazMN(), [&](TEtaz& e) {
            const Values storeyKey = with(groupKey, QStringLiteral("ETAZ"), e.ETAZ());
            insertRow(database, "ETAZ", &e, storeyKey);
            each<TDrevina>(e.DrevinaMN(), [&](TDrevina& d) {
                const Values speciesKey = with(storeyKey, QStringLiteral("DR_ZKR"), propertyValue(d, QStringLiteral("DR_ZKR")));
                insertRow(database, "DREVINA", &d,
                          with(speciesKey, QStringLiteral("OBJ_SOUSI"), propertyValue(d, QStringLiteral("PROC_SOUS"))));
                each<TPoskozeni>(d.PoskozeniMN(), [&](TPoskozeni& p) { insertRow(database, "SKODY", &p, speciesKey); });
            });
            each<TZalesneni>(e.ZalesneniMN(), [&](TZalesneni& z) { insertRow(database, "DREV_ZALES", &z, storeyKey); });
        });
    });
    each<TKategorie>(TJinyPozemek::KategorieMN(&stand), [&](TKategorie& k) { insertRow(database, "PREKRYV", &k, standKey); });
    each<TBezlesi>(stand.BezlesiMN(), [&](TBezlesi& b) {
        insertRow(database, "BEZLESI", &b, with(standKey, QStringLiteral("BZL_ID"), 0));
    });
    each<TJinyPozemek>(stand.JinyPozemekMN(), [&](TJinyPozemek& j) {
        Values row = with(standKey, QStringLiteral("JP_ID"), 0);
        row[QStringLiteral("MAJ_KOD")] = propertyValue(j, QStringLiteral("MAJ_KOD_JP"));
        insertRow(database, "JINE_POZ", &j, row);
    });
}

Values unitValues(sqlsrc::UnitKey key)
{
    return {{QStringLiteral("LHC_KOD"), key.kod}, {QStringLiteral("LHC_KOD_ID"), key.id}};
}

// Leaves write-ahead logging, so that the file alone holds the database; the error text, empty
// when done. SQLite refuses (answering the old mode) while another connection has the file open.
QString useRollbackJournal(const QSqlDatabase& database)
{
    QSqlQuery q(database);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")) || !q.next())
        return q.lastError().text();
    const QString mode = q.value(0).toString();
    return mode.compare(QLatin1String("delete"), Qt::CaseInsensitive) == 0 ? QString() : QStringLiteral("journal_mode ") + mode;
}

// Holds the existing database exclusively (no other connection may read or write it) from the
// first step until the new one has replaced it; nothing when there is none.
class OldDatabaseLock
{
public:
    explicit OldDatabaseLock(const QString& path)
        : m_path(path), m_connection(QStringLiteral("LHP_VZOREK_ZAMEK_%1").arg(quintptr(this)))
    {
        if (!QFile::exists(path))
            return;
        {
            QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
            d.setDatabaseName(path);
            d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
            if (!d.open())
                refuse(d.lastError().text());
            m_open = true;
            // Leaving WAL succeeds only with no other connection; the exclusive lock keeps it so.
            // The read plays back a journal a crashed writer left, so none stays beside the file.
            const QString problem = useRollbackJournal(d);
            if (!problem.isEmpty())
                refuse(problem);
            QSqlQuery q(d);
            if (!q.exec(QStringLiteral("BEGIN EXCLUSIVE")) || !q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
                refuse(q.lastError().text());
        }
        for (const char* suffix : {"-wal", "-journal"})
            if (QFile::exists(path + QLatin1String(suffix)))
                refuse(QStringLiteral("zůstal soubor %1").arg(path + QLatin1String(suffix)));
    }
    ~OldDatabaseLock()
    {
        if (!m_open)
            return;
        {
            QSqlDatabase d = QSqlDatabase::database(m_connection, false);
            QSqlQuery(d).exec(QStringLiteral("ROLLBACK"));
            d.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
    }
    OldDatabaseLock(const OldDatabaseLock&) = delete;
    OldDatabaseLock& operator=(const OldDatabaseLock&) = delete;

    bool existed() const { return m_open; }

private:
    [[noreturn]] void refuse(const QString& why) const
    {
        throw EDatabaseError(QStringLiteral("Databáze \"%1\" je otevřena jiným programem, nechávám ji beze změny (%2).")
                                 .arg(m_path, why));
    }

    QString m_path;
    QString m_connection;
    bool m_open = false;
};

// Puts `from` in place as `to` only when `to` does not exist, then syncs the directory.
void linkAsNew(const QString& from, const QString& to)
{
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        if (errno == EEXIST)
            throw EDatabaseError(QStringLiteral("Databázi \"%1\" mezitím vytvořil jiný program, nechávám ji beze změny.").arg(to));
        throw EDatabaseError(QStringLiteral("Nelze vytvořit databázi \"%1\".").arg(to));
    }
    const int dir = ::open(QFile::encodeName(QFileInfo(to).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

void writeCompartment(TOddeleni& compartment, db::Database& database, sqlsrc::UnitKey key)
{
    Values oddKey = unitValues(key);
    oddKey[QStringLiteral("ODD")] = compartment.ODD();
    const QVariant oddId = propertyValue(compartment, QStringLiteral("ODD_ID"));
    oddKey[QStringLiteral("ODD_ID")] = oddId.toInt() == 0 ? 1 : oddId.toInt();
    each<TDilec>(compartment.DilecMN(), [&](TDilec& dilec) {
        each<TPorost>(dilec.PorostMN(), [&](TPorost& stand) {
            Values standKey = with(oddKey, QStringLiteral("DIL"), dilec.DIL());
            standKey[QStringLiteral("POR")] = propertyValue(stand, QStringLiteral("POR"));
            writeStand(stand, database, standKey);
        });
    });
}

void writeUnitFromSource(app::Source& source, TLesniCelek& unit, db::Database& database, sqlsrc::UnitKey key)
{
    source.buildCompartmentList(unit);
    if (source.loadFirstCompartment(unit)) {
        for (;;) {
            writeCompartment(*unit.LHC()->Oddeleni(), database, key);
            if (source.endOfData() || !source.loadNextCompartment(unit))
                break;
        }
    }
    TLHC& lhc = *unit.LHC();
    Values header = unitValues(key);
    header[QStringLiteral("ETAT_TC")] = propertyValue(lhc, QStringLiteral("ETAT_TV")).toInt()
                                        + propertyValue(lhc, QStringLiteral("ETAT_TO")).toInt();
    insertRow(database, "LHC", &lhc, header);
}

void writeSecondUnit(db::Database& database, sqlsrc::UnitKey key)
{
    const Values unitKey = unitValues(key);
    insertRow(database, "LHC", nullptr,
              with(with(with(unitKey, QStringLiteral("LHC_NAZ"), QStringLiteral("Obecní les U Jana's")),
                        QStringLiteral("ETAT_TC"), 900),
                   QStringLiteral("ETAT_TO"), 600));
    // Compartment 3 under two ODD_IDs; stand "1'a" with an apostrophe in its key.
    for (const int oddId : {1, 2}) {
        Values stand = unitKey;
        stand[QStringLiteral("ODD")] = 3;
        stand[QStringLiteral("ODD_ID")] = oddId;
        stand[QStringLiteral("DIL")] = QStringLiteral("a");
        stand[QStringLiteral("POR")] = oddId == 1 ? QStringLiteral("1'a") : QStringLiteral("2");
        stand[QStringLiteral("MAJ_KOD")] = 1;
        stand[QStringLiteral("POR_TEXT")] = QStringLiteral("Porost u \"Jana's\" cesty");
        stand[QStringLiteral("OR_UR1_KOD")] = 1;
        stand[QStringLiteral("OR_UR2_KOD")] = 1;
        insertRow(database, "POROST", nullptr, stand);
        const Values group = with(stand, QStringLiteral("PSK"), QStringLiteral("1"));
        insertRow(database, "POROST_SKUP", nullptr,
                  with(with(with(group, QStringLiteral("PSK_P"), 2.5 * oddId), QStringLiteral("PSK_TEXT"),
                            QStringLiteral("it's ok")),
                       QStringLiteral("SLT"), QStringLiteral("5S")));
        const Values storey = with(group, QStringLiteral("ETAZ"), QStringLiteral("1"));
        insertRow(database, "ETAZ", nullptr,
                  with(with(with(storey, QStringLiteral("VEK"), 40 + 30 * oddId), QStringLiteral("ZAKM"), 9),
                       QStringLiteral("ETAZ_PS"), 0.9));
        const char* const species[] = {"SM", "BK"};
        for (int s = 0; s < 2; ++s) {
            Values d = with(storey, QStringLiteral("DR_ZKR"), QLatin1String(species[s]));
            d[QStringLiteral("ZAST")] = s == 0 ? 70 : 30;
            d[QStringLiteral("VYSKA")] = 18 + 4 * oddId;
            d[QStringLiteral("TLOUSTKA")] = 20 + 6 * oddId;
            d[QStringLiteral("BON_R")] = 2;
            d[QStringLiteral("DR_TO")] = 10 * oddId;
            d[QStringLiteral("GEN_KLAS")] = QStringLiteral("B");
            insertRow(database, "DREVINA", nullptr, d);
        }
    }
}

sqlsrc::UnitKey writeSqlSample(const QString& vexDataDir, const QString& programDir, const SampleStep& afterStep)
{
    const auto step = [&](const char* name) {
        if (afterStep)
            afterStep(QLatin1String(name));
    };
    const QString path = programDir + QStringLiteral("/LHP.sqlite");
    const OldDatabaseLock old(path);
    step("locked");
    // The new database is made beside the old one (one file system, so it can be renamed).
    QTemporaryDir work(programDir + QStringLiteral("/.LHP.sqlite-XXXXXX"));
    if (!work.isValid())
        throw EDatabaseError(QStringLiteral("Nelze vytvořit dočasný adresář v \"%1\".").arg(programDir));
    const QString written = work.filePath(QStringLiteral("LHP.sqlite"));
    const QString oldAliasFile = db::Aliases::aliasFile();
    const QString oldProgramDir = db::Aliases::programDirectory();
    db::Aliases::setAliasFile(QString());
    db::Aliases::setProgramDirectory(work.path());
    struct Restore {
        QString file, dir;
        ~Restore()
        {
            db::Aliases::setAliasFile(file);
            db::Aliases::setProgramDirectory(dir);
        }
    } restore{oldAliasFile, oldProgramDir};
    sqlsrc::UnitKey first;
    {
        db::Database database(QStringLiteral("LHP_VZOREK"));
        database.SetDriverName(QStringLiteral("QSQLITE"));
        database.SetAliasName(QStringLiteral("LHP"));
        database.setCanCreateFile(true);
        database.Open();
        const QString problem = sqlsrc::ensureSchema(database);
        if (!problem.isEmpty())
            throw EDatabaseError(problem);
        step("schema");
        database.StartTransaction();
        Owned<TLesniCelek> unit = Create<TLesniCelek>();
        unit->setProgramDir(programDir);
        const auto source = app::createSource(SourceKinds::Vex97, {vexDataDir, programDir});
        source->loadHeader(*unit);
        first = {unit->LHC()->LHC_KOD(), 0};
        writeUnitFromSource(*source, *unit, database, first);
        step("unit 1");
        writeSecondUnit(database, {2, 0});
        step("unit 2");
        database.Commit();
        step("commit");
        const QString journal = useRollbackJournal(database.sqlDatabase());
        if (!journal.isEmpty())
            throw EDatabaseError(QStringLiteral("Nelze uzavřít databázi \"%1\": %2").arg(written, journal));
        database.Close();
    }
    step("closed");
    if (old.existed())
        files::fileOps().replace(written, path);
    else
        linkAsNew(written, path);
    return first;
}

} // namespace sqlsample
