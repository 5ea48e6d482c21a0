// A table save that fails at any step leaves a readable pair (.DB, .MB): the old one or the new one.
#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/PxlibCheck.h"
#include "platform/files/FileOps.h"
#include "support/FailingFileOps.h"
#include "support/ParadoxFixture.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace db::paradox;

namespace {

const QList<test::FixtureField> kFields = {{QStringLiteral("ID"), QStringLiteral("I")},
                                           {QStringLiteral("Pozn"), QStringLiteral("M"), 10}};

using Rows = QList<QStringList>;

// Old tables: with a .MB to append to, and with memos that all fit their leaders (no .MB yet).
const Rows kOldWithBlobFile = {{"1", "krátká"}, {"2", QString(300, u'ř')}, {"3", QString(5000, u'v')}};
const Rows kOldInLeaders = {{"1", "krátká"}, {"2", "kus"}, {"3", ""}};

// The rows after the changes saveWith() makes.
Rows changed(const Rows& old)
{
    return {{"1", QString(400, u'n')}, old[1], {"3", "x"}, {"4", QString(3000, u'č')}};
}

Rows readOurs(const QString& path)
{
    const ParadoxFile table(path);
    Rows rows;
    for (int r = 0; r < table.recordCount(); ++r)
        rows.append({QString::number(table.value(r, 0).toInt()), table.memoText(r, 1)});
    return rows;
}

Rows readPxlib(const QString& path, const QString& mbPath)
{
    test::PxlibReader px(path);
    if (!px.isOpen())
        return {{"pxlib nečte tabulku"}};
    px.attachBlobFile(mbPath);
    Rows rows;
    for (int r = 0; r < px.recordCount(); ++r)
        rows.append({px.value(r, 0).toString(), CodePage::forNumber(1250).decode(px.value(r, 1).toByteArray())});
    return rows;
}

// Opens the old table, makes the changes of changed() and saves them with `ops` in place;
// `check` then sees the files, while the table is still open, and whether the save raised.
void saveWith(const QString& dir, files::FileOps& ops, const std::function<void(bool hasRaised)>& check)
{
    db::Table t;
    t.SetDatabaseName(dir);
    t.SetTableName(QStringLiteral("PAR"));
    t.Open();
    const Rows after = changed(kOldInLeaders);
    t.Edit();
    t.Fields(1).AsString(after[0][1]);
    t.Post();
    t.Last();
    t.Edit();
    t.Fields(1).AsString(after[2][1]);
    t.Post();
    t.Append();
    t.Fields(0).AsInteger(4);
    t.Fields(1).AsString(after[3][1]);
    t.Post();
    bool hasRaised = false;
    {
        const files::ScopedFileOps scoped(ops);
        try {
            t.FlushBuffers();
        } catch (const EDatabaseError&) {
            hasRaised = true;
        }
    }
    check(hasRaised);
}

void writeOld(const QString& path, const Rows& old)
{
    QList<QVariantList> rows;
    for (const QStringList& row : old)
        rows.append({row[0].toInt(), row[1].isEmpty() ? QVariant() : QVariant(row[1])});
    test::writeParadoxTable(path, kFields, rows);
}

} // namespace

TEST(SaveFailure, EveryStepLeavesTheOldOrTheNewPairForBothReaders)
{
    for (const Rows& old : {kOldWithBlobFile, kOldInLeaders}) {
        for (const bool isTorn : {false, true}) {
            bool hasSucceeded = false;
            for (int step = 1; step <= 12 && !hasSucceeded; ++step) {
                QTemporaryDir dir;
                const QString path = dir.filePath(QStringLiteral("PAR.DB"));
                writeOld(path, old);
                test::FailingFileOps ops(step, isTorn);
                const QString where = QStringLiteral("%1 step %2%3")
                                          .arg(old == kOldInLeaders ? "no .MB" : ".MB").arg(step).arg(isTorn ? " torn" : "");
                saveWith(dir.path(), ops, [&](bool hasRaised) {
                    EXPECT_EQ(hasRaised, ops.hasFailed()) << qPrintable(where);
                    hasSucceeded = !ops.hasFailed();
                    const Rows ours = readOurs(path);
                    EXPECT_EQ(ours, hasSucceeded ? changed(old) : old) << qPrintable(where);
                    EXPECT_EQ(readPxlib(path, dir.filePath(QStringLiteral("PAR.MB"))), ours) << qPrintable(where);
                    // No temporary file is left behind.
                    for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
                        EXPECT_TRUE(name == QStringLiteral("PAR.DB") || name == QStringLiteral("PAR.MB")) << qPrintable(where + name);
                });
            }
            EXPECT_TRUE(hasSucceeded);
        }
    }
}

// The .MB only grows by the blobs a save adds: every blob the old .DB addresses stays in place.
TEST(SaveFailure, ASaveAppendsToTheBlobFileAndKeepsItsOldBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PAR.DB"));
    writeOld(path, kOldWithBlobFile);
    QFile mb(dir.filePath(QStringLiteral("PAR.MB")));
    ASSERT_TRUE(mb.open(QIODevice::ReadOnly));
    const QByteArray before = mb.readAll();
    mb.close();
    files::FileOps real;
    saveWith(dir.path(), real, [](bool hasRaised) { EXPECT_FALSE(hasRaised); });
    ASSERT_TRUE(mb.open(QIODevice::ReadOnly));
    EXPECT_EQ(mb.read(before.size()), before);
    EXPECT_EQ(readOurs(path), changed(kOldWithBlobFile));
}
