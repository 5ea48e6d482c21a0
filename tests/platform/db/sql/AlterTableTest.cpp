// Tests of ALTER TABLE ... ADD on Paradox tables through a query.
#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/sql/ParadoxEdit.h"
#include "platform/db/sql/Query.h"
#include "support/FailingFileOps.h"
#include "support/ParadoxFixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QList<test::FixtureField> etazFields = {
    {QStringLiteral("VAZBA"), QStringLiteral("N")},
    {QStringLiteral("ETAZ"), QStringLiteral("A"), 3},
    {QStringLiteral("POZN"), QStringLiteral("M"), 10},
};

const QList<QVariantList> etazRows = {
    {1.0, QStringLiteral("1"), QStringLiteral("poznámka delší než úvodní část v záznamu")},
    {2.0, QStringLiteral("2 ž"), QVariant()},
};

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct AlterCase { const char* name; const char* sql; const char* field; db::FieldType type; int size; };

class AlterTable : public ::testing::TestWithParam<AlterCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        dbPath = dir.filePath(QStringLiteral("ETAZ.DB"));
        test::writeParadoxTable(dbPath, etazFields, etazRows);
    }

    void exec(const QString& sql)
    {
        db::Query q;
        q.SetDatabaseName(dir.path());
        q.SQL().SetText(sql);
        q.ExecSQL();
    }

    QTemporaryDir dir;
    QString dbPath;
};

TEST_P(AlterTable, AddsFieldKeepingRowsAndBackup)
{
    const QByteArray before = fileBytes(dbPath);
    const QByteArray blobsBefore = fileBytes(dir.filePath(QStringLiteral("ETAZ.MB")));
    exec(QString::fromUtf8(GetParam().sql));

    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("ETAZ.~DB"))), before);
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("ETAZ.~MB"))), blobsBefore);

    db::Table t;
    t.SetDatabaseName(dir.path());
    t.SetTableName(QStringLiteral("etaz"));
    t.Open();
    ASSERT_EQ(t.FieldCount(), 4);
    const db::Field& added = t.Fields(3);
    EXPECT_EQ(added.FieldName(), QString::fromLatin1(GetParam().field));
    EXPECT_EQ(added.DataType(), GetParam().type);
    EXPECT_EQ(added.Size(), GetParam().size);
    ASSERT_EQ(t.RecordCount(), 2);
    EXPECT_TRUE(added.IsNull());
    EXPECT_EQ(t.FieldByName(QStringLiteral("POZN")).AsString(), etazRows[0][2].toString());
    t.Next();
    EXPECT_EQ(t.FieldByName(QStringLiteral("ETAZ")).AsString(), QStringLiteral("2 ž"));
    EXPECT_EQ(t.FieldByName(QStringLiteral("VAZBA")).AsFloat(), 2.0);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, AlterTable,
    ::testing::Values(AlterCase{"Char", "ALTER TABLE ETAZ  ADD Vyuziti CHAR(2)", "Vyuziti", db::FieldType::ftString, 2},
                      AlterCase{"IntegerOnTwoLines", "ALTER TABLE ETAZ\nADD PROC_HS INTEGER", "PROC_HS",
                                db::FieldType::ftInteger, 0},
                      AlterCase{"QuotedName", "alter table \"etaz\" add column Kategorie char(14);", "Kategorie",
                                db::FieldType::ftString, 14}),
    [](const ::testing::TestParamInfo<AlterCase>& info) { return std::string(info.param.name); });

TEST_F(AlterTable, ExistingFieldMissingTableAndOtherFormsAreRefused)
{
    const QByteArray before = fileBytes(dbPath);
    EXPECT_THROW(exec(QStringLiteral("ALTER TABLE ETAZ ADD etaz CHAR(2)")), EDatabaseError);
    EXPECT_EQ(fileBytes(dbPath), before);
    EXPECT_THROW(exec(QStringLiteral("ALTER TABLE NENI ADD X INTEGER")), EDatabaseError);
    EXPECT_THROW(exec(QStringLiteral("ALTER TABLE ETAZ DROP ETAZ")), EDatabaseError);
    EXPECT_THROW(exec(QStringLiteral("ALTER TABLE ETAZ ADD X FLOAT")), EDatabaseError);
}

TEST_F(AlterTable, TableWithIndexFilesIsRefused)
{
    QFile index(dir.filePath(QStringLiteral("etaz.px")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("x");
    index.close();
    const QByteArray before = fileBytes(dbPath);
    EXPECT_THROW(exec(QStringLiteral("ALTER TABLE ETAZ ADD PROC_HS INTEGER")), EDatabaseError);
    EXPECT_EQ(fileBytes(dbPath), before);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("ETAZ.~DB"))));
}

// The open table's rows would overwrite the restructured file at its next save.
TEST_F(AlterTable, IsRefusedWhileATableHoldsTheFile)
{
    db::Table open;
    open.SetDatabaseName(dir.path());
    open.SetTableName(QStringLiteral("ETAZ"));
    open.Open();
    const QByteArray before = fileBytes(dbPath);
    try {
        exec(QStringLiteral("ALTER TABLE ETAZ ADD PROC_HS INTEGER"));
        FAIL() << "restructured an open table";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("otevřena"))) << qPrintable(e.message());
    }
    EXPECT_EQ(fileBytes(dbPath), before);
    open.Close();
    exec(QStringLiteral("ALTER TABLE ETAZ ADD PROC_HS INTEGER"));
    EXPECT_GE(db::paradox::ParadoxFile(dbPath).fieldIndex(QStringLiteral("PROC_HS")), 0);
}

// A restructuring that fails at any step leaves the old table or the new one, memos readable.
TEST_F(AlterTable, EveryFailedStepLeavesTheOldOrTheNewTable)
{
    bool hasSucceeded = false;
    for (int step = 1; step <= 8 && !hasSucceeded; ++step) {
        test::writeParadoxTable(dbPath, etazFields, etazRows);
        const QByteArray before = fileBytes(dbPath);
        test::FailingFileOps ops(step, true);
        {
            const files::ScopedFileOps scoped(ops);
            try {
                exec(QStringLiteral("ALTER TABLE ETAZ ADD PROC_HS INTEGER"));
            } catch (const EDatabaseError&) {
            }
        }
        hasSucceeded = !ops.hasFailed();
        const db::paradox::ParadoxFile table(dbPath);
        EXPECT_EQ(table.fields().size(), hasSucceeded ? 4 : 3) << "step " << step;
        EXPECT_EQ(table.memoText(0, 2), etazRows[0][2].toString()) << "step " << step;
        if (!hasSucceeded) {
            EXPECT_EQ(fileBytes(dbPath), before) << "step " << step;
        }
    }
    EXPECT_TRUE(hasSucceeded);
}

} // namespace
