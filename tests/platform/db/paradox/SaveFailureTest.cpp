// A table save that fails at any step leaves a readable pair (.DB, .MB): the old one or the new one.
#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/ParadoxWriter.h"
#include "platform/db/paradox/PxlibCheck.h"
#include "platform/files/FileOps.h"
#include "support/FailingFileOps.h"
#include "support/ParadoxFixture.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

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
// `check` then sees the files, while the table is still open, and the save's error (empty when
// it saved).
void saveWith(const QString& dir, files::FileOps& ops, const std::function<void(const QString& error)>& check)
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
    QString error;
    {
        const files::ScopedFileOps scoped(ops);
        try {
            t.FlushBuffers();
        } catch (const EDatabaseError& e) {
            error = e.message();
        }
    }
    check(error);
}

void writeOld(const QString& path, const Rows& old)
{
    QList<QVariantList> rows;
    for (const QStringList& row : old)
        rows.append({row[0].toInt(), row[1].isEmpty() ? QVariant() : QVariant(row[1])});
    test::writeParadoxTable(path, kFields, rows);
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What another program saved over the old table: its rows and files.
struct TheirSave
{
    Rows rows;
    QByteArray db;
    QByteArray mb;
};

TheirSave theirSaveOver(const Rows& old)
{
    QTemporaryDir dir;
    TheirSave theirs{old, {}, {}};
    theirs.rows.append({"7", QString(700, u'j')});
    writeOld(dir.filePath(QStringLiteral("PAR.DB")), theirs.rows);
    theirs.db = bytesOf(dir.filePath(QStringLiteral("PAR.DB")));
    theirs.mb = bytesOf(dir.filePath(QStringLiteral("PAR.MB")));
    return theirs;
}

// Writes their files in place, as a program that knows nothing of our lock does.
void writeInPlace(const QString& dir, const TheirSave& theirs)
{
    for (const auto& [name, bytes] : {std::pair{QStringLiteral("PAR.DB"), theirs.db}, std::pair{QStringLiteral("PAR.MB"), theirs.mb}}) {
        QFile f(QDir(dir).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
}

// A save of the table by a second copy of this program: the old rows without the last one.
// Answers its error, empty when it saved.
QString saveAsSecondCopy(const QString& path)
{
    const ParadoxFile file(path);
    TableContent content;
    content.fields = file.fields();
    content.header = file.headerBytes();
    content.recordCount = file.recordCount() - 1;
    content.records = file.records().left(qsizetype(content.recordCount) * file.recordSize());
    try {
        writeTable(path, content);
    } catch (const EDatabaseError& e) {
        return e.message();
    }
    return QString();
}

// Real file operations that let another writer in once, before or after the n-th operation,
// with the real operations in place for it. It learns whether the step is our rename of the .DB.
class IntrudingFileOps : public files::FileOps
{
public:
    IntrudingFileOps(int at, bool isAfter, const QString& table, std::function<void(bool isBeforeOurRename)> intrude)
        : m_at(at), m_isAfter(isAfter), m_table(table), m_intrude(std::move(intrude))
    {
    }

    using FileOps::writeFile;
    void writeFile(const QString& path, std::span<const QByteArrayView> pieces) override
    {
        step(false, [&] { FileOps::writeFile(path, pieces); });
    }
    qint64 append(const QString& path, QByteArrayView data) override
    {
        qint64 start = -1;
        step(false, [&] { start = FileOps::append(path, data); });
        return start;
    }
    void resize(const QString& path, qint64 size) override
    {
        step(false, [&] { FileOps::resize(path, size); });
    }
    void replace(const QString& from, const QString& to) override
    {
        step(to == m_table, [&] { FileOps::replace(from, to); });
    }
    void remove(const QString& path) override
    {
        step(false, [&] { FileOps::remove(path); });
    }

    bool hasIntruded() const { return m_hasIntruded; }
    // Our new .DB was in place when the other writer came.
    bool cameAfterOurRename() const { return m_cameAfterOurRename; }

private:
    template <typename Op>
    void step(bool isOurRename, Op op)
    {
        const bool isHere = ++m_calls == m_at;
        if (isHere && !m_isAfter)
            intrude(isOurRename);
        op();
        m_isRenamed = m_isRenamed || isOurRename;
        if (isHere && m_isAfter)
            intrude(false);
    }
    void intrude(bool isBeforeOurRename)
    {
        files::FileOps real;
        const files::ScopedFileOps scoped(real);
        m_hasIntruded = true;
        m_cameAfterOurRename = m_isRenamed;
        m_intrude(isBeforeOurRename);
    }

    int m_at;
    bool m_isAfter;
    QString m_table;
    std::function<void(bool)> m_intrude;
    int m_calls = 0;
    bool m_isRenamed = false;
    bool m_hasIntruded = false;
    bool m_cameAfterOurRename = false;
};

} // namespace

// Another program saves the table at any step of ours: our save is refused with the message, or
// theirs came after ours; either way their rows are what both readers find. Right before our
// rename, after our last check, nothing can keep out a program that ignores our lock, so there
// a second copy of this program saves, and the lock refuses it.
TEST(SaveFailure, AnotherWriterAtAnyStepOfASaveLosesNothing)
{
    for (const Rows& old : {kOldWithBlobFile, kOldInLeaders}) {
        const TheirSave theirs = theirSaveOver(old);
        bool hasIntruded = true;
        for (int step = 1; step <= 12 && hasIntruded; ++step) {
            for (const bool isAfter : {false, true}) {
                QTemporaryDir dir;
                const QString path = dir.filePath(QStringLiteral("PAR.DB"));
                const QString mbPath = dir.filePath(QStringLiteral("PAR.MB"));
                writeOld(path, old);
                QString secondCopyError = QStringLiteral("neukládala");
                IntrudingFileOps ops(step, isAfter, path, [&](bool isBeforeOurRename) {
                    if (isBeforeOurRename)
                        secondCopyError = saveAsSecondCopy(path);
                    else
                        writeInPlace(dir.path(), theirs);
                });
                const QString where = QStringLiteral("%1 %2 step %3")
                                          .arg(old == kOldInLeaders ? "no .MB" : ".MB", isAfter ? "after" : "before").arg(step);
                saveWith(dir.path(), ops, [&](const QString& error) {
                    hasIntruded = ops.hasIntruded();
                    Rows expected = changed(old);
                    if (secondCopyError != QStringLiteral("neukládala")) {
                        EXPECT_TRUE(secondCopyError.contains(QStringLiteral("právě ji ukládá jiný program")))
                            << qPrintable(where + ": " + secondCopyError);
                        EXPECT_TRUE(error.isEmpty()) << qPrintable(where + ": " + error);
                    } else if (hasIntruded) {
                        expected = theirs.rows;
                        EXPECT_EQ(error.isEmpty(), ops.cameAfterOurRename()) << qPrintable(where + ": " + error);
                        EXPECT_TRUE(error.isEmpty() || error.contains(QStringLiteral("mezitím změnil jiný program")))
                            << qPrintable(where + ": " + error);
                    }
                    EXPECT_EQ(readOurs(path), expected) << qPrintable(where);
                    EXPECT_EQ(readPxlib(path, mbPath), expected) << qPrintable(where);
                });
            }
        }
        EXPECT_FALSE(hasIntruded) << "the save has more than 12 steps";
    }
}

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
                saveWith(dir.path(), ops, [&](const QString& error) {
                    EXPECT_EQ(!error.isEmpty(), ops.hasFailed()) << qPrintable(where);
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
    saveWith(dir.path(), real, [](const QString& error) { EXPECT_TRUE(error.isEmpty()) << qPrintable(error); });
    ASSERT_TRUE(mb.open(QIODevice::ReadOnly));
    EXPECT_EQ(mb.read(before.size()), before);
    EXPECT_EQ(readOurs(path), changed(kOldWithBlobFile));
}
