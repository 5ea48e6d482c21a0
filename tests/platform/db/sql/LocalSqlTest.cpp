// Tests of local SQL over generated Paradox tables: names and paths, WHERE/ORDER BY, live edits.
#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/sql/Database.h"
#include "platform/db/sql/Query.h"
#include "support/ParadoxFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QList<test::FixtureField> genklFields = {
    {QStringLiteral("LHC_KOD"), QStringLiteral("I")},   {QStringLiteral("OKRES"), QStringLiteral("S")},
    {QStringLiteral("NAJEMCE"), QStringLiteral("A"), 30}, {QStringLiteral("PSK_P"), QStringLiteral("N")},
    {QStringLiteral("MODEL"), QStringLiteral("L")},     {QStringLiteral("POZNAMKA"), QStringLiteral("M"), 10},
};

QList<QVariantList> genklRows()
{
    return {
        {7, 2, QStringLiteral("Zeman"), 1.5, true, QStringLiteral("krátká")},
        {3, 1, QStringLiteral("Čáp"), 2.25, false, QString(QStringLiteral("dlouhá poznámka ")).repeated(20)},
        {7, 1, QStringLiteral("adam"), QVariant(), QVariant(), QVariant()},
        {3, 2, QStringLiteral("O'Neill"), 0.5, true, QStringLiteral("x")},
    };
}

// A query on the tables of `dir`.
void prepare(db::Query& q, const QTemporaryDir& dir, const QString& sql, bool live = false)
{
    q.SetDatabaseName(dir.path());
    q.SetRequestLive(live);
    q.SQL().Add(sql);
}

class LocalSql : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        test::writeParadoxTable(path(QStringLiteral("tgenkl.db")), genklFields, genklRows());
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // Column values of a query, top to bottom.
    static QStringList column(db::Query& q, const char* field)
    {
        QStringList values;
        for (q.First(); !q.Eof(); q.Next())
            values << q.FieldByName(QLatin1String(field)).AsString();
        return values;
    }

    QTemporaryDir dir;
};

TEST_F(LocalSql, SelectsByTableNameIgnoringCase)
{
    db::Query q;
    prepare(q, dir, QStringLiteral("Select * from TGENKL "));
    q.Open();
    EXPECT_EQ(q.RecordCount(), 4);
    ASSERT_EQ(q.FieldCount(), 6);
    EXPECT_EQ(q.Fields(0).FieldName(), QStringLiteral("LHC_KOD"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("LHC_KOD")).DataType(), db::FieldType::ftInteger);
    EXPECT_EQ(q.FieldByName(QStringLiteral("POZNAMKA")).DataType(), db::FieldType::ftMemo);
    EXPECT_TRUE(q.FieldByName(QStringLiteral("MODEL")).AsBoolean());
    q.Next();
    EXPECT_EQ(q.FieldByName(QStringLiteral("POZNAMKA")).AsString(),
              QString(QStringLiteral("dlouhá poznámka ")).repeated(20));   // read from the .MB
    q.Next();
    EXPECT_TRUE(q.FieldByName(QStringLiteral("PSK_P")).IsNull());
    EXPECT_TRUE(q.FieldByName(QStringLiteral("MODEL")).IsNull());
}

// Czech text sorts as SQLite compares texts: by UTF-8 bytes, so lower case after upper case and
// "Č" after every ASCII letter (not in Czech alphabetical order).
TEST_F(LocalSql, WhereAndOrderByCompareAsSqlite)
{
    db::Query q;
    prepare(q, dir, QStringLiteral("SELECT * FROM tgenkl"));
    q.SQL().Add(QStringLiteral("order by NAJEMCE"));
    q.Open();
    EXPECT_EQ(column(q, "NAJEMCE"),
              (QStringList{QStringLiteral("O'Neill"), QStringLiteral("Zeman"), QStringLiteral("adam"),
                           QStringLiteral("Čáp")}));

    q.SQL().Clear();
    q.SQL().Add(QStringLiteral("select * from TGENKL where PSK_P > 1 or PSK_P is null"));
    q.SQL().Add(QStringLiteral("order by LHC_KOD, OKRES"));
    q.Open();
    EXPECT_EQ(column(q, "NAJEMCE"),
              (QStringList{QStringLiteral("Čáp"), QStringLiteral("adam"), QStringLiteral("Zeman")}));
}

TEST_F(LocalSql, BindsParametersIntoLocalSql)
{
    db::Query q;
    prepare(q, dir, QStringLiteral("select LHC_KOD, NAJEMCE || '!' AS X from TGENKL where NAJEMCE = :n or NAJEMCE = :m"));
    q.ParamByName(QStringLiteral("n")).setAsString(QStringLiteral("O'Neill"));
    q.ParamByName(QStringLiteral("m")).setAsString(QStringLiteral("Čáp"));
    q.Open();
    EXPECT_EQ(column(q, "X"), (QStringList{QStringLiteral("Čáp!"), QStringLiteral("O'Neill!")}));
    EXPECT_EQ(q.FieldByName(QStringLiteral("X")).DataType(), db::FieldType::ftString);
    EXPECT_EQ(q.FieldByName(QStringLiteral("X")).Size(), 8);
}

// Paths in apostrophes, with "\" separators and in another letter case than on disk.
class QuotedPath : public LocalSql, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(QuotedPath, NamesTheTableFile)
{
    QString sql = QString::fromLatin1(GetParam());
    sql.replace(QLatin1String("<dir>"), QDir::toNativeSeparators(dir.path()).replace(QLatin1Char('/'), QLatin1Char('\\')));
    db::Query q;
    q.SQL().Add(sql);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Forms, QuotedPath,
                         ::testing::Values("SELECT * from '<dir>\\TGENKL.DB' where OKRES = 1",
                                           "select * from '<dir>\\TGenkl' t where t.OKRES = 2",
                                           "select a.* from '<dir>\\tgenkl.db' a join '<dir>\\TGENKL.DB' b "
                                           "on a.rowid = b.rowid where a.LHC_KOD = 3"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.index == 0 ? "WithExtension"
                                                : info.index == 1 ? "WithoutExtension" : "TwoSpellingsJoined");
                         });

TEST_F(LocalSql, DirectoryDatabaseAndPostedRowsOfOpenTable)
{
    db::Database km(QStringLiteral("DB_KM"));
    km.Params() << QStringLiteral("PATH=") + dir.path();
    db::Table table;
    table.SetDatabaseName(QStringLiteral("db_km"));
    table.SetTableName(QStringLiteral("TGENKL"));
    table.Open();
    table.Append();
    table.FieldByName(QStringLiteral("NAJEMCE")).AsString(QStringLiteral("Nový"));
    table.Post();

    db::Query q;
    q.SetDatabaseName(QStringLiteral("DB_km"));
    q.SQL().Add(QStringLiteral("select count(*) AS N from TGENKL"));
    q.Open();
    EXPECT_TRUE(km.Connected());
    EXPECT_EQ(q.FieldByName(QStringLiteral("N")).AsInteger(), 5);
}

// A fresh Table on the file: the values of one field in physical order.
QStringList fileColumn(const QString& path, const char* field)
{
    db::Table t;
    t.SetTableName(path);
    t.Open();
    QStringList values;
    for (t.First(); !t.Eof(); t.Next())
        values << t.FieldByName(QLatin1String(field)).AsString();
    return values;
}

TEST_F(LocalSql, LiveEditWritesBackByRecordNumber)
{
    db::Query q;
    prepare(q, dir, QStringLiteral("Select * from TGENKL order by NAJEMCE desc"), true);
    q.Open();
    ASSERT_TRUE(q.CanModify());
    EXPECT_EQ(q.FieldByName(QStringLiteral("NAJEMCE")).AsString(), QStringLiteral("Čáp"));   // physical row 2
    q.Edit();
    q.FieldByName(QStringLiteral("NAJEMCE")).AsString(QStringLiteral("Čápová"));
    q.FieldByName(QStringLiteral("OKRES")).AsInteger(9);
    q.Post();
    q.Next();   // "adam", physical row 3
    q.Delete();
    q.Append();
    q.FieldByName(QStringLiteral("NAJEMCE")).AsString(QStringLiteral("Přidaný"));
    q.Post();
    q.Close();

    EXPECT_EQ(fileColumn(path(QStringLiteral("TGENKL.DB")), "NAJEMCE"),
              (QStringList{QStringLiteral("Zeman"), QStringLiteral("Čápová"), QStringLiteral("O'Neill"),
                           QStringLiteral("Přidaný")}));
    EXPECT_EQ(fileColumn(path(QStringLiteral("TGENKL.DB")), "OKRES"),
              (QStringList{QStringLiteral("2"), QStringLiteral("9"), QStringLiteral("2"), QString()}));
    // The memo of the edited row survives the rewrite.
    EXPECT_EQ(fileColumn(path(QStringLiteral("TGENKL.DB")), "POZNAMKA")[1],
              QString(QStringLiteral("dlouhá poznámka ")).repeated(20));
}

TEST_F(LocalSql, ResultsOfExpressionsAndGroupsAreReadOnly)
{
    for (const char* sql : {"select distinct LHC_KOD from TGENKL", "select NAJEMCE || 'x' from TGENKL"}) {
        db::Query q;
        prepare(q, dir, QString::fromLatin1(sql), true);
        q.Open();
        EXPECT_FALSE(q.CanModify()) << sql;
    }
}

} // namespace

namespace {

// One field type edited through a live result and read back from the file.
struct LiveType { const char* name; test::FixtureField field; QVariant before; QVariant after; };

class LiveEditOfType : public ::testing::TestWithParam<LiveType>
{
protected:
    QTemporaryDir dir;
};

TEST_P(LiveEditOfType, RoundTripsThroughFile)
{
    const LiveType& c = GetParam();
    const QString path = dir.filePath(QStringLiteral("TYPY.DB"));
    test::writeParadoxTable(path, {{QStringLiteral("ID"), QStringLiteral("I")}, c.field},
                            {{1, c.before}, {2, c.before}});
    {
        db::Query q;
        prepare(q, dir, QStringLiteral("select * from TYPY where ID = :id"), true);
        q.ParamByName(QStringLiteral("ID")).setAsInteger(2);
        q.Open();
        ASSERT_EQ(q.RecordCount(), 1);
        q.Edit();
        q.Fields(1).Value(c.after);
        q.Post();
        q.Refresh();
        EXPECT_EQ(q.Fields(1).Value(), c.after);
    }
    db::Table t;
    t.SetTableName(path);
    t.Open();
    EXPECT_EQ(t.Fields(1).Value(), c.before);
    t.Next();
    EXPECT_EQ(t.Fields(1).Value(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Types, LiveEditOfType,
    ::testing::Values(
        LiveType{"Alpha", {QStringLiteral("T"), QStringLiteral("A"), 20}, QStringLiteral("před"), QStringLiteral("Příliš žluťoučký")},
        LiveType{"Number", {QStringLiteral("T"), QStringLiteral("N")}, 1.25, -0.1},
        LiveType{"Date", {QStringLiteral("T"), QStringLiteral("D")}, 36526.0, 45000.0},
        LiveType{"ToNull", {QStringLiteral("T"), QStringLiteral("A"), 5}, QStringLiteral("x"), QVariant()},
        LiveType{"Memo", {QStringLiteral("T"), QStringLiteral("M"), 10}, QStringLiteral("krátká"),
                 QString(QStringLiteral("dlouhý text poznámky ")).repeated(30)}),
    [](const ::testing::TestParamInfo<LiveType>& info) { return std::string(info.param.name); });

TEST(QuerySql, ChangingTextClosesAndKeepsParameterValues)
{
    QTemporaryDir dir;
    test::writeParadoxTable(dir.filePath(QStringLiteral("A.DB")), {{QStringLiteral("K"), QStringLiteral("I")}}, {{1}, {2}, {3}});
    db::Query q;
    prepare(q, dir, QStringLiteral("select * from A where K >= :od"));
    q.ParamByName(QStringLiteral("od")).setAsInteger(2);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 2);
    q.SQL().Add(QStringLiteral("and K <= :DO"));
    EXPECT_FALSE(q.Active());
    ASSERT_EQ(q.Params().Count(), 2);
    EXPECT_EQ(q.ParamByName(QStringLiteral("OD")).Value(), QVariant(2));
    EXPECT_THROW(q.Open(), EDatabaseError);   // :DO has no value
    q.ParamByName(QStringLiteral("do")).setAsInteger(2);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 1);
}

} // namespace

namespace {

TEST(LocalSqlWrites, IndexedTableGivesReadOnlyResultAndSqlNeverWritesFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K.DB"));
    test::writeParadoxTable(path, {{QStringLiteral("K"), QStringLiteral("I")}}, {{1}, {2}});
    QFile px(dir.filePath(QStringLiteral("K.PX")));
    ASSERT_TRUE(px.open(QIODevice::WriteOnly));
    px.close();

    db::Query q;

    prepare(q, dir, QStringLiteral("select * from K"), true);
    q.Open();
    EXPECT_FALSE(q.CanModify());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    for (const char* sql : {"update K set K = 5", "delete from K", "insert into K values (3)"}) {
        db::Query change;
        change.SetDatabaseName(dir.path());
        change.SQL().Add(QString::fromLatin1(sql));
        EXPECT_THROW(change.ExecSQL(), EDatabaseError) << sql;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

// A live result and an open Table write through the same rows: neither save drops the other's.
TEST_F(LocalSql, LiveEditsAndAnOpenTableKeepEachOthersChanges)
{
    db::Table table;
    table.SetDatabaseName(dir.path());
    table.SetTableName(QStringLiteral("TGENKL"));
    table.Open();
    db::Query q;
    prepare(q, dir, QStringLiteral("select * from TGENKL"), true);
    q.Open();
    ASSERT_TRUE(q.CanModify());
    q.Edit();
    q.FieldByName(QStringLiteral("NAJEMCE")).AsString(QStringLiteral("Živý"));
    q.Post();
    table.Next();
    table.Edit();
    table.FieldByName(QStringLiteral("OKRES")).AsInteger(8);
    table.Post();
    table.Close();
    q.Close();
    EXPECT_EQ(fileColumn(path(QStringLiteral("TGENKL.DB")), "NAJEMCE")[0], QStringLiteral("Živý"));
    EXPECT_EQ(fileColumn(path(QStringLiteral("TGENKL.DB")), "OKRES")[1], QStringLiteral("8"));
}

// A save that drops a deleted row renumbers the file; a live edit still reaches its own row.
TEST_F(LocalSql, LiveEditFollowsItsRowWhenASaveRenumbersTheFile)
{
    db::Query q;
    prepare(q, dir, QStringLiteral("select * from TGENKL"), true);
    q.Open();
    {
        db::Table table;
        table.SetDatabaseName(dir.path());
        table.SetTableName(QStringLiteral("TGENKL"));
        table.Open();
        table.Delete();   // "Zeman", the first row
        table.FlushBuffers();
    }
    q.Next();   // "Čáp"
    q.Edit();
    q.FieldByName(QStringLiteral("NAJEMCE")).AsString(QStringLiteral("Čápová"));
    q.Post();
    q.Close();
    EXPECT_EQ(fileColumn(path(QStringLiteral("TGENKL.DB")), "NAJEMCE"),
              (QStringList{QStringLiteral("Čápová"), QStringLiteral("adam"), QStringLiteral("O'Neill")}));
}

// Rows posted through a Table that goes away while a live result still holds the file are saved
// when the last holder lets go.
TEST_F(LocalSql, RowsOfADestroyedTableAreSavedByTheLastHolder)
{
    db::Query q;
    prepare(q, dir, QStringLiteral("select * from TGENKL"), true);
    q.Open();
    {
        db::Table table;
        table.SetDatabaseName(dir.path());
        table.SetTableName(QStringLiteral("TGENKL"));
        table.Open();
        table.Append();
        table.FieldByName(QStringLiteral("NAJEMCE")).AsString(QStringLiteral("Poslední"));
        table.Post();
    }
    q.Close();
    EXPECT_EQ(fileColumn(path(QStringLiteral("TGENKL.DB")), "NAJEMCE").value(4), QStringLiteral("Poslední"));
}

// Devices and pipes are no tables: /dev/zero would be read without end.
TEST_F(LocalSql, OnlyRegularFilesAreTables)
{
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path(QStringLiteral("NULY.DB"))));
    for (const char* sql : {"select * from NULY", "select * from '/dev/zero'"}) {
        db::Query q;
        prepare(q, dir, QString::fromLatin1(sql));
        EXPECT_THROW(q.Open(), EDatabaseError) << sql;
    }
    db::Table t;
    t.SetTableName(path(QStringLiteral("NULY.DB")));
    EXPECT_THROW(t.Open(), EDatabaseError);
}

} // namespace
