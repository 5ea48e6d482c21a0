// Tests of db::Database over SQLite: aliases, unique names, transactions and bound parameters.
#include "platform/Exceptions.h"
#include "platform/db/sql/Aliases.h"
#include "platform/db/sql/Database.h"
#include "platform/db/sql/Query.h"
#include "platform/files/Files.h"
#include "support/PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <functional>
#include <typeinfo>

namespace {

// A program directory with the default alias LHP pointing at LHP.sqlite in it.
class SqlDatabase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db::Aliases::setAliasFile(QString());
        db::Aliases::setProgramDirectory(dir.path());
        database.SetAliasName(QStringLiteral("LHP"));
        database.SetLoginPrompt(false);
        database.setCanCreateFile(true);
        database.Params() << QStringLiteral("SQLPASSTHRU MODE=SHARED NOAUTOCOMMIT")
                          << QStringLiteral("USER NAME=LHP") << QStringLiteral("PASSWORD=zyq");
        database.Open();
        exec(QStringLiteral("CREATE TABLE LHC (LHC_KOD INTEGER, LHC_KOD_ID INTEGER, LHC_NAZ VARCHAR(40))"));
    }

    void TearDown() override
    {
        database.Close();
        db::Aliases::setProgramDirectory(QString());
    }

    int exec(const QString& text, const QVariantList& values = {})
    {
        db::Query q;
        q.SetDatabaseName(QStringLiteral("LHP_ORAC"));
        q.SQL().Add(text);
        for (int i = 0; i < values.size(); ++i)
            q.Params().Items(i).setValue(values[i]);
        q.ExecSQL();
        return q.RowsAffected();
    }

    void openQuery(db::Query& q, const QString& text)
    {
        q.SetDatabaseName(QStringLiteral("LHP_ORAC"));
        q.SQL().Add(text);
        q.Open();
    }

    // Names in the file as a second, independent connection sees them.
    QStringList namesOnDisk()
    {
        QStringList names;
        {
            QSqlDatabase check = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
            check.setDatabaseName(dir.filePath(QStringLiteral("LHP.sqlite")));
            EXPECT_TRUE(check.open());
            QSqlQuery q(QStringLiteral("SELECT LHC_NAZ FROM LHC ORDER BY LHC_KOD"), check);
            while (q.next())
                names << q.value(0).toString();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("check"));
        return names;
    }

    QTemporaryDir dir;
    db::Database database{QStringLiteral("LHP_ORAC")};
};

TEST_F(SqlDatabase, DefaultAliasIsSqliteFileBesideTheProgram)
{
    EXPECT_TRUE(database.Connected());
    EXPECT_FALSE(database.isDirectory());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("LHP.sqlite"))));
    EXPECT_EQ(database.paramValue(QStringLiteral("user name")), QStringLiteral("LHP"));
}

TEST_F(SqlDatabase, RollbackLeavesDatabaseUntouched)
{
    exec(QStringLiteral("INSERT INTO LHC VALUES (1, 0, 'První')"));
    exec(QStringLiteral("INSERT INTO LHC VALUES (2, 0, 'Druhý')"));

    database.StartTransaction();
    EXPECT_TRUE(database.InTransaction());
    EXPECT_EQ(exec(QStringLiteral("DELETE FROM LHC WHERE LHC_KOD = :k"), {1}), 1);
    exec(QStringLiteral("UPDATE LHC SET LHC_NAZ = :n"), {QStringLiteral("Změněno")});
    exec(QStringLiteral("INSERT INTO LHC VALUES (3, 0, 'Třetí')"));
    database.Rollback();

    EXPECT_FALSE(database.InTransaction());
    EXPECT_EQ(namesOnDisk(), (QStringList{QStringLiteral("První"), QStringLiteral("Druhý")}));
}

TEST_F(SqlDatabase, CommitMakesChangesVisibleToOtherConnections)
{
    database.StartTransaction();
    exec(QStringLiteral("INSERT INTO LHC VALUES (7, 1, 'Sedm')"));
    database.Commit();
    EXPECT_EQ(namesOnDisk(), QStringList{QStringLiteral("Sedm")});
}

// A parameterised statement is kept prepared between runs: new values still count, it holds no
// lock that stops a schema change, it follows the changed table, and survives a reconnect.
TEST_F(SqlDatabase, KeptStatementFollowsValuesSchemaAndReconnect)
{
    exec(QStringLiteral("INSERT INTO LHC VALUES (1, 0, 'První')"));
    exec(QStringLiteral("INSERT INTO LHC VALUES (2, 0, 'Druhý')"));
    db::Query q;
    q.SetDatabaseName(QStringLiteral("LHP_ORAC"));
    q.SQL().Add(QStringLiteral("SELECT * FROM LHC WHERE LHC_KOD = :k"));
    const auto nameOf = [&](int code) {
        q.Close();
        q.ParamByName(QStringLiteral("k")).setAsInteger(code);
        q.Open();
        return q.Eof() ? QString() : q.FieldByName(QStringLiteral("LHC_NAZ")).AsString();
    };
    EXPECT_EQ(nameOf(1), QStringLiteral("První"));
    EXPECT_EQ(nameOf(2), QStringLiteral("Druhý"));
    EXPECT_EQ(nameOf(3), QString());

    exec(QStringLiteral("DROP TABLE LHC"));
    exec(QStringLiteral("CREATE TABLE LHC (LHC_NAZ VARCHAR(40), LHC_KOD INTEGER)"));
    exec(QStringLiteral("INSERT INTO LHC VALUES ('Nový', 1)"));
    EXPECT_EQ(nameOf(1), QStringLiteral("Nový"));

    q.Close();
    database.Close();
    database.Open();
    EXPECT_EQ(nameOf(1), QStringLiteral("Nový"));
    exec(QStringLiteral("UPDATE LHC SET LHC_NAZ = :n WHERE LHC_KOD = :k"), {QStringLiteral("Jiný"), 1});
    EXPECT_EQ(exec(QStringLiteral("UPDATE LHC SET LHC_NAZ = :n WHERE LHC_KOD = :k"), {QStringLiteral("Třetí"), 1}), 1);
    EXPECT_EQ(nameOf(1), QStringLiteral("Třetí"));
}

TEST_F(SqlDatabase, TransactionMisuseRaises)
{
    EXPECT_THROW(database.Commit(), EDatabaseError);
    EXPECT_THROW(database.Rollback(), EDatabaseError);
    database.StartTransaction();
    EXPECT_THROW(database.StartTransaction(), EDatabaseError);
    database.Close();   // an open transaction is rolled back
    EXPECT_FALSE(database.InTransaction());
}

TEST_F(SqlDatabase, SecondConnectOfConnectedNameFails)
{
    db::Database second(QStringLiteral("lhp_orac"));
    second.SetAliasName(QStringLiteral("LHP"));
    EXPECT_THROW(second.Open(), EDatabaseError);
    EXPECT_FALSE(second.Connected());
    EXPECT_EQ(db::Database::find(QStringLiteral("LHP_orac")), &database);

    database.Close();
    second.Open();
    EXPECT_TRUE(second.Connected());
    EXPECT_EQ(db::Database::find(QStringLiteral("LHP_ORAC")), &second);
}

// Values that would break or change a statement pasted together from text.
struct BoundText { const char* name; const char* text; };

class BoundParameters : public SqlDatabase, public ::testing::WithParamInterface<BoundText> {};

TEST_P(BoundParameters, RoundTripUnchanged)
{
    const QString text = QString::fromUtf8(GetParam().text);
    exec(QStringLiteral("INSERT INTO LHC (LHC_KOD, LHC_KOD_ID, LHC_NAZ) VALUES (:kod, :id, :naz)"), {5, 0, text});
    exec(QStringLiteral("INSERT INTO LHC (LHC_KOD, LHC_KOD_ID, LHC_NAZ) VALUES (6, 0, 'jiný')"));

    db::Query q;
    q.SetDatabaseName(QStringLiteral("LHP_ORAC"));
    q.SQL().Add(QStringLiteral("select * from LHC"));
    q.SQL().Add(QStringLiteral("where LHC_NAZ = :naz -- ':ignored'"));
    ASSERT_EQ(q.Params().Count(), 1);
    q.ParamByName(QStringLiteral("NAZ")).setAsString(text);
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName(QStringLiteral("lhc_naz")).AsString(), text);
    EXPECT_EQ(q.FieldByName(QStringLiteral("LHC_KOD")).AsInteger(), 5);
    EXPECT_EQ(namesOnDisk().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BoundParameters,
    ::testing::Values(BoundText{"Apostrophes", "O'Brien's ''les''"},
                      BoundText{"StatementText", "x'); DELETE FROM LHC; --"},
                      BoundText{"ColonName", "a :naz b"}),
    [](const ::testing::TestParamInfo<BoundText>& info) { return std::string(info.param.name); });

// Dates go in as dates and come back as date fields of the same day and time.
void expectDatesRoundTrip(const QString& databaseName)
{
    const auto run = [&](const QString& text, const std::function<void(db::Query&)>& bind) {
        db::Query q;
        q.SetDatabaseName(databaseName);
        q.SQL().Add(text);
        bind(q);
        q.ExecSQL();
    };
    run(QStringLiteral("CREATE TABLE TERMIN (ID INTEGER, DEN DATE, KDY TIMESTAMP, CAS TIME)"), [](db::Query&) {});
    const QString insert = QStringLiteral("INSERT INTO TERMIN (ID, DEN, KDY, CAS) VALUES (:id, :den, :kdy, :cas)");
    run(insert, [](db::Query& q) {
        q.ParamByName(QStringLiteral("id")).setAsInteger(1);
        q.ParamByName(QStringLiteral("den")).setAsDate(45351);                  // 29.2.2024
        q.ParamByName(QStringLiteral("kdy")).setAsDateTime(45351.75);           // 29.2.2024 18:00
        q.ParamByName(QStringLiteral("cas")).setAsTime(0.25);                   // 6:00
    });
    run(insert, [](db::Query& q) {
        q.ParamByName(QStringLiteral("id")).setAsInteger(2);
        q.ParamByName(QStringLiteral("den")).setAsDate(-1);                     // 29.12.1899
        q.ParamByName(QStringLiteral("kdy")).setAsDateTime(-1.25);              // 29.12.1899 6:00
        q.ParamByName(QStringLiteral("cas")).Clear();
    });

    db::Query q;
    q.SetDatabaseName(databaseName);
    q.SQL().Add(QStringLiteral("SELECT ID, DEN, KDY, CAS FROM TERMIN WHERE DEN = :den OR KDY = :kdy ORDER BY ID"));
    q.ParamByName(QStringLiteral("den")).setAsDate(45351);
    q.ParamByName(QStringLiteral("kdy")).setAsDateTime(-1.25);
    q.Open();
    ASSERT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(q.FieldByName(QStringLiteral("DEN")).DataType(), db::FieldType::ftDate);
    EXPECT_EQ(q.FieldByName(QStringLiteral("KDY")).DataType(), db::FieldType::ftDateTime);
    EXPECT_EQ(q.FieldByName(QStringLiteral("CAS")).DataType(), db::FieldType::ftTime);
    EXPECT_EQ(q.FieldByName(QStringLiteral("DEN")).AsString(), QStringLiteral("29.2.2024"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("KDY")).AsDateTime(), 45351.75);
    EXPECT_EQ(q.FieldByName(QStringLiteral("CAS")).AsString(), QStringLiteral("6:00:00"));
    q.Next();
    EXPECT_EQ(q.FieldByName(QStringLiteral("DEN")).AsDateTime(), -1);
    EXPECT_EQ(q.FieldByName(QStringLiteral("KDY")).AsString(), QStringLiteral("29.12.1899 6:00:00"));
    EXPECT_TRUE(q.FieldByName(QStringLiteral("CAS")).IsNull());
}

TEST_F(SqlDatabase, DatesRoundTripAsDates)
{
    expectDatesRoundTrip(QStringLiteral("LHP_ORAC"));
    // SQLite's own date functions read what was stored.
    db::Query q;
    q.SetDatabaseName(QStringLiteral("LHP_ORAC"));
    q.SQL().Add(QStringLiteral("SELECT date(DEN, '+1 day') AS DALSI, strftime('%H', KDY) AS HODINA FROM TERMIN WHERE ID = 1"));
    q.Open();
    EXPECT_EQ(q.FieldByName(QStringLiteral("DALSI")).AsString(), QStringLiteral("2024-03-01"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("HODINA")).AsString(), QStringLiteral("18"));
}

// SQLite keeps any value in any column. A column whose values do not all fit its declared
// type shows them as they are: day numbers of older versions still read as dates, and
// nothing read raises.
TEST_F(SqlDatabase, StoredValuesShowWhateverTheirColumnDeclares)
{
    exec(QStringLiteral("CREATE TABLE SMES (N INTEGER, R REAL, D DATE, S DATE, V INTEGER)"));
    exec(QStringLiteral("INSERT INTO SMES VALUES (5000000000, 1.5, '2024-02-29', 45351, 1)"));
    exec(QStringLiteral("INSERT INTO SMES VALUES (7, 'x', 'neděle', 45352.5, 'abc')"));
    db::Query q;
    q.SetDatabaseName(QStringLiteral("LHP_ORAC"));
    q.SQL().Add(QStringLiteral("SELECT N, R, D, S, V FROM SMES ORDER BY N DESC"));
    q.Open();
    const std::vector<QStringList> expected = {{"5000000000", "1.5", "2024-02-29", "29.2.2024", "1"},
                                               {"7", "x", "neděle", "1.3.2024", "abc"}};
    for (const QStringList& row : expected) {
        for (int f = 0; f < q.FieldCount(); ++f) {
            db::Field& field = q.Fields(f);
            SCOPED_TRACE(field.FieldName().toStdString());
            EXPECT_EQ(field.AsString(), row.at(f));
            EXPECT_EQ(field.asStringOf(field.Value()), field.AsString());
            EXPECT_EQ(field.DisplayText(), field.AsString());
        }
        q.Next();
    }
    EXPECT_EQ(q.FieldByName(QStringLiteral("N")).DataType(), db::FieldType::ftFloat);
    EXPECT_EQ(q.FieldByName(QStringLiteral("S")).DataType(), db::FieldType::ftDate);
    EXPECT_EQ(q.FieldByName(QStringLiteral("V")).DataType(), db::FieldType::ftString);
}

// Numbers and texts of a browsed row are read without a QVariant: every column answers AsInteger,
// AsFloat and AsString as the conversions of its Value() do, for integers, reals, NULLs, texts
// (padded, empty, a number in a text column) and dates.
TEST_F(SqlDatabase, NumberAndTextReadsAgreeWithTheirValues)
{
    exec(QStringLiteral("CREATE TABLE CISLA (I INTEGER, R REAL, F REAL, B INTEGER, D DATE, T TEXT, S SMALLINT, M)"));
    exec(QStringLiteral("INSERT INTO CISLA VALUES (7, 2.5, 3, 5000000000, 45351, '12  ', -4, ''), (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),"
                        " (-2147483647, -3.5, 1e10, 1, '2024-02-29', ' x', 0, 5)"));
    db::Query q;
    openQuery(q, QStringLiteral("SELECT * FROM CISLA ORDER BY rowid"));
    auto outcome = [](auto read) -> QString {
        try {
            return QString::number(double(read()), 'g', 17);
        } catch (const Exception& e) {
            return QString::fromLatin1(typeid(e).name());
        }
    };
    int rows = 0;
    for (q.First(); !q.Eof(); q.Next(), ++rows) {
        for (int f = 0; f < q.FieldCount(); ++f) {
            const db::Field& field = q.Fields(f);
            SCOPED_TRACE(field.FieldName().toStdString() + " " + std::to_string(rows));
            EXPECT_EQ(outcome([&] { return field.AsInteger(); }), outcome([&] { return field.asIntegerOf(field.Value()); }));
            EXPECT_EQ(outcome([&] { return field.AsFloat(); }), outcome([&] { return field.asFloatOf(field.Value()); }));
            const QString text = field.AsString();
            EXPECT_EQ(text, field.asStringOf(field.Value()));
            EXPECT_EQ(text.isNull(), field.asStringOf(field.Value()).isNull());
        }
    }
    EXPECT_EQ(rows, 3);
    q.First();
    EXPECT_EQ(q.FieldByName(QStringLiteral("R")).AsInteger(), 2);
    EXPECT_EQ(q.FieldByName(QStringLiteral("F")).AsFloat(), 3.0);
}

// Every row past the first is read from the statement itself: each value reads as the driver
// gives it, whatever the column holds (numbers and texts in one column, NULLs, texts that are
// not UTF-8, integers beyond 32 bits).
TEST_F(SqlDatabase, EveryRowReadsAsTheDriverGivesIt)
{
    exec(QStringLiteral("CREATE TABLE SMES (ID INTEGER, M TEXT, V INTEGER, R REAL)"));
    exec(QStringLiteral("INSERT INTO SMES VALUES (1, 'první', 1, 0.5), (2, NULL, 5000000000, NULL), (3, '', NULL, 2)"));
    exec(QStringLiteral("INSERT INTO SMES VALUES (4, CAST(x'41c3' AS TEXT), -7, 1e300), (5, 'žluť', 3, -0.0)"));
    exec(QStringLiteral("INSERT INTO SMES VALUES (6, CAST(x'eda080' AS TEXT), 12, 3), (7, 'x', 2, 'abc')"));
    const QString select = QStringLiteral("SELECT ID, M, V, R, V + 0 AS SOUCET, M || '' AS SPOJ FROM SMES ORDER BY ID");
    db::Query q;
    openQuery(q, select);
    QSqlQuery driver(database.sqlDatabase());
    ASSERT_TRUE(driver.exec(select));
    int rows = 0;
    qsizetype longest = 0;
    for (q.First(); !q.Eof(); q.Next(), ++rows) {
        ASSERT_TRUE(driver.next());
        for (int f = 0; f < q.FieldCount(); ++f) {
            SCOPED_TRACE(q.Fields(f).FieldName().toStdString() + " row " + std::to_string(rows));
            // Texts are held as UTF-8: a lone surrogate the driver gives reads as a replacement.
            const QString text = QString::fromUtf8(driver.value(f).toString().toUtf8());
            EXPECT_EQ(q.Fields(f).IsNull(), driver.value(f).isNull());
            EXPECT_EQ(q.Fields(f).AsString(), text);
            if (f == 1)
                longest = std::max(longest, text.size());
        }
    }
    EXPECT_EQ(rows, 7);
    EXPECT_EQ(q.FieldByName(QStringLiteral("V")).DataType(), db::FieldType::ftFloat);
    EXPECT_EQ(q.FieldByName(QStringLiteral("R")).DataType(), db::FieldType::ftString);
    EXPECT_EQ(q.FieldByName(QStringLiteral("M")).Size(), longest);
}

// The SQLite driver's field type of a column it types as `meta`.
db::FieldType driverFieldType(QMetaType meta)
{
    switch (meta.id()) {
    case QMetaType::Int:
    case QMetaType::LongLong: return db::FieldType::ftInteger;
    case QMetaType::Double: return db::FieldType::ftFloat;
    case QMetaType::QByteArray: return db::FieldType::ftBlob;
    case QMetaType::Bool: return db::FieldType::ftBoolean;
    default: return db::FieldType::ftString;
    }
}

// Columns are typed as the driver types them, by the declared type's name or, for an
// expression, by its first value; dates by their declared names. With no row, as without.
TEST_F(SqlDatabase, ColumnsAreTypedAsTheDriverTypesThem)
{
    exec(QStringLiteral("CREATE TABLE TYPY (A INTEGER, B int, C BIGINT, D NUMERIC(10,2), E Real, F DOUBLE PRECISION,"
                        " G BLOB, H BOOLEAN, I VARCHAR(40), J DATE, K, L \"Ž\"\"x\" TEXT)"));
    exec(QStringLiteral("INSERT INTO TYPY VALUES (1, 2, 3, 4.5, 5.5, 6.5, x'00', 1, 'i', '2024-02-29', 'k', 'l')"));
    for (const char* where : {"", " WHERE A = 0"}) {
        SCOPED_TRACE(where);
        const QString select = QStringLiteral("SELECT *, length(I) AS DELKA, 1.5 AS R, 'x' AS T, NULL AS N, x'01' AS BY FROM TYPY")
            + QLatin1String(where);
        db::Query q;
        openQuery(q, select);
        QSqlQuery driver(database.sqlDatabase());
        ASSERT_TRUE(driver.exec(select));
        ASSERT_EQ(q.FieldCount(), driver.record().count());
        for (int f = 0; f < q.FieldCount(); ++f) {
            const QSqlField field = driver.record().field(f);
            SCOPED_TRACE(field.name().toStdString());
            EXPECT_EQ(q.Fields(f).FieldName(), field.name());
            const bool isDate = field.name() == QLatin1String("J");
            EXPECT_EQ(q.Fields(f).DataType(), isDate ? db::FieldType::ftDate : driverFieldType(field.metaType()));
        }
    }
}

// A step that fails after the first row raises what the driver reports, and leaves the
// statement free for the next run.
TEST_F(SqlDatabase, FailingRowRaisesTheDriversError)
{
    exec(QStringLiteral("CREATE TABLE T (X INTEGER)"));
    exec(QStringLiteral("INSERT INTO T VALUES (1), (2), (3)"));
    const QString select = QStringLiteral("SELECT CASE WHEN X > :od THEN abs(X - 2 - 9223372036854775807 - 1) ELSE X END AS Y FROM T");
    QSqlQuery driver(database.sqlDatabase());
    ASSERT_TRUE(driver.prepare(select));
    driver.bindValue(QStringLiteral(":od"), 1);
    ASSERT_TRUE(driver.exec());
    while (driver.next()) {
    }
    ASSERT_TRUE(driver.lastError().isValid());
    const QString expected = QStringLiteral("Chyba SQL: ") + driver.lastError().text();
    driver.finish();

    db::Query q;
    q.SetDatabaseName(QStringLiteral("LHP_ORAC"));
    q.SQL().Add(select);
    q.ParamByName(QStringLiteral("od")).setAsInteger(1);
    try {
        q.Open();
        ADD_FAILURE() << "the overflow was not reported";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), expected);
    }
    q.ParamByName(QStringLiteral("od")).setAsInteger(5);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 3);
}

// Keys of values: equal exactly when the values are, texts by characters and numbers by value,
// whatever their stored form.
TEST_F(SqlDatabase, ValueKeysAreEqualExactlyWhenTheValuesAre)
{
    exec(QStringLiteral("CREATE TABLE K (ID INTEGER, T TEXT, N INTEGER, F REAL, D DATE, M)"));
    exec(QStringLiteral("INSERT INTO K VALUES (1, 'ab', 1, 1, '2024-02-29', 1), (2, 'ab', 1, 1.0, 45351, '1')"));
    exec(QStringLiteral("INSERT INTO K VALUES (3, 'a', 2, 1.5, '2024-03-01', 'ab'), (4, 'abc', NULL, NULL, NULL, NULL)"));
    exec(QStringLiteral("INSERT INTO K VALUES (5, 'Ab', 2, 0.0, 45352, 1.0), (6, 'ab ', 3, -0.0, '2024-02-29', x'6162')"));
    db::Query q;
    openQuery(q, QStringLiteral("SELECT ID, T, N, F, D, M FROM K ORDER BY ID"));
    const auto key = [&q](int row, std::initializer_list<const char*> columns) {
        std::string k;
        for (const char* c : columns)
            if (!q.appendValueKey(k, row, q.FieldByName(QLatin1String(c)).Index()))
                return std::string("NULL");
        return k;
    };
    for (const char* column : {"T", "N", "F", "D", "M"}) {
        SCOPED_TRACE(column);
        for (int a = 0; a < q.RecordCount(); ++a) {
            for (int b = 0; b < q.RecordCount(); ++b) {
                const QVariant va = q.rowValue(a, q.FieldByName(QLatin1String(column)).Index());
                const QVariant vb = q.rowValue(b, q.FieldByName(QLatin1String(column)).Index());
                const bool equal = !va.isNull() && !vb.isNull() && va.typeId() == vb.typeId() && va == vb
                    && !(va.typeId() == QMetaType::Double && std::signbit(va.toDouble()) != std::signbit(vb.toDouble()));
                EXPECT_EQ(key(a, {column}) == key(b, {column}) && key(a, {column}) != "NULL", equal) << a << " " << b;
            }
        }
    }
    // Keys of several parts compare part by part; a NULL part leaves no key.
    EXPECT_NE(key(0, {"T", "M"}), key(2, {"T", "M"}));
    EXPECT_EQ(key(0, {"T", "N"}), key(1, {"T", "N"}));
    EXPECT_EQ(key(3, {"T", "N"}), "NULL");
}

// The zone of the process for one test: Czech summer time shifts any date a driver takes
// through UTC.
class TimeZoneScope
{
public:
    explicit TimeZoneScope(const char* zone) : m_old(qgetenv("TZ")), m_hadOld(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZoneScope()
    {
        if (m_hadOld)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_old;
    bool m_hadOld;
};

TEST(PostgreSql, DatesRoundTripAsDates)
{
    const TimeZoneScope zone("Europe/Prague");
    const test::PostgresServer server;
    if (!server.isRunning())
        GTEST_SKIP() << "PostgreSQL test skipped: " << server.whyNot().toStdString();
    QTemporaryDir dir;
    const QString iniPath = dir.filePath(QStringLiteral("aliasy.ini"));
    QFile ini(iniPath);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[PGTEST]\r\nDRIVER=QPSQL\r\nDATABASE=postgres\r\nHOST=%1\r\nPORT=%2\r\n")
                  .arg(server.host()).arg(server.port()).toUtf8());
    ini.close();
    db::Aliases::setAliasFile(iniPath);
    {
        db::Database database(QStringLiteral("PG_TEST"));
        database.SetAliasName(QStringLiteral("PGTEST"));
        database.SetLoginPrompt(false);
        database.Params() << QStringLiteral("USER NAME=") + test::PostgresServer::user();
        database.Open();
        expectDatesRoundTrip(QStringLiteral("PG_TEST"));
    }
    db::Aliases::setAliasFile(QString());
}

TEST(Aliases, FileMapsAliasToDriverAndDirectory)
{
    QTemporaryDir dir;
    const QString iniPath = dir.filePath(QStringLiteral("aliasy.ini"));
    QFile ini(iniPath);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("; aliases\r\n[db_km]\r\ndriver = STANDARD\r\nDATABASE=/data/vex\r\nDATABASE=/ignored\r\n"
              "[Jiny]\r\nDRIVER=QSQLITE\r\nDATABASE=jiny.sqlite\r\nPORT=5432\r\n");
    ini.close();
    db::Aliases::setAliasFile(iniPath);
    db::Aliases::setProgramDirectory(dir.path());

    const auto km = db::Aliases::find(QStringLiteral("DB_KM"));
    ASSERT_TRUE(km);
    EXPECT_TRUE(km->isDirectory());
    EXPECT_EQ(km->database, QStringLiteral("/data/vex"));
    const auto other = db::Aliases::find(QStringLiteral("jiny"));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->database, dir.filePath(QStringLiteral("jiny.sqlite")));
    EXPECT_EQ(other->port, 5432);
    EXPECT_TRUE(db::Aliases::find(QStringLiteral("LHP")));   // the default stays
    EXPECT_FALSE(db::Aliases::find(QStringLiteral("NEZNAMY")));

    db::Database unknown(QStringLiteral("X"));
    unknown.SetAliasName(QStringLiteral("NEZNAMY"));
    EXPECT_THROW(unknown.Open(), EDatabaseError);

    db::Aliases::setAliasFile(QString());
    db::Aliases::setProgramDirectory(QString());
}

// The names in a directory, hidden ones included, as one readable text.
std::string entries(const QString& dir)
{
    return QDir(dir)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)
        .join(QLatin1Char('|'))
        .toStdString();
}

// Neither a connection nor a query naming the alias makes a missing file (nor its -wal and
// -shm); once allowed it is made, and a name that needs escaping still opens the same file.
TEST(SqliteFile, AMissingFileIsCreatedOnlyWhenAllowed)
{
    QTemporaryDir top;
    const QString dir = top.filePath(QStringLiteral("data č #1?"));
    ASSERT_TRUE(QDir().mkpath(dir));
    db::Aliases::setAliasFile(QString());
    db::Aliases::setProgramDirectory(dir);
    const QString file = dir + QStringLiteral("/LHP.sqlite");
    {
        db::Database database(QStringLiteral("SOUBOR"));
        database.SetAliasName(QStringLiteral("LHP"));
        EXPECT_EQ(database.missingFile(), file);
        EXPECT_THROW(database.Open(), EDatabaseError);
        EXPECT_FALSE(database.Connected());
        db::Query byAlias;
        byAlias.SetDatabaseName(QStringLiteral("LHP"));
        byAlias.SQL().Add(QStringLiteral("SELECT 1"));
        EXPECT_THROW(byAlias.Open(), EDatabaseError);
        EXPECT_EQ(entries(dir), "");

        database.setCanCreateFile(true);
        database.Open();
        {
            QSqlQuery q(database.sqlDatabase());
            ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE T (A INTEGER)")) && q.exec(QStringLiteral("INSERT INTO T VALUES (7)")));
        }
        database.Close();
        EXPECT_EQ(database.missingFile(), QString());

        database.setCanCreateFile(false);
        database.Open();
        QSqlQuery again(database.sqlDatabase());
        ASSERT_TRUE(again.exec(QStringLiteral("SELECT A FROM T")) && again.next());
        EXPECT_EQ(again.value(0).toInt(), 7);
    }
    EXPECT_EQ(entries(dir), "LHP.sqlite");

    // Unset, the program's directory is the one of platform/files.
    db::Aliases::setProgramDirectory(QString());
    files::setProgramDirectory(top.path());
    EXPECT_EQ(db::Aliases::find(QStringLiteral("LHP"))->database, top.filePath(QStringLiteral("LHP.sqlite")));
    files::setProgramDirectory(QString());
}

} // namespace
