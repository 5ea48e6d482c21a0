// Companion and index files of a table, found ignoring case.
#include "platform/db/paradox/TableFiles.h"

#include "platform/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace db::paradox;

namespace {

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

struct IndexCase { const char* file; bool isIndex; };

class IndexFiles : public ::testing::TestWithParam<IndexCase> {};

} // namespace

TEST_P(IndexFiles, AreRecognisedInAnyCase)
{
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("LHC.DB")));
    touch(dir.filePath(QString::fromLatin1(GetParam().file)));
    EXPECT_EQ(hasIndexFiles(dir.filePath(QStringLiteral("LHC.DB"))), GetParam().isIndex);
    EXPECT_EQ(hasIndexFiles(dir.filePath(QStringLiteral("lhc.db"))), GetParam().isIndex);
}

INSTANTIATE_TEST_SUITE_P(Names, IndexFiles,
                         ::testing::Values(IndexCase{"lhc.px", true}, IndexCase{"LHC.X01", true},
                                           IndexCase{"Lhc.y0a", true}, IndexCase{"lhc.XG0", true},
                                           IndexCase{"LHC.MB", false}, IndexCase{"LHC2.PX", false},
                                           IndexCase{"LHC.X1", false}, IndexCase{"LHC.PXX", false}),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(info.param.file);
                             name.replace(u'.', u'_');
                             return name.toStdString();
                         });

TEST(TableFiles, CompanionIsFoundIgnoringCase)
{
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("Porost.db")));
    touch(dir.filePath(QStringLiteral("POROST.mB")));
    EXPECT_EQ(companionFile(dir.filePath(QStringLiteral("Porost.db")), QStringLiteral("MB")),
              dir.filePath(QStringLiteral("POROST.mB")));
    EXPECT_TRUE(companionFile(dir.filePath(QStringLiteral("Porost.db")), QStringLiteral("PX")).isEmpty());
}

// One save of a table at a time, also within one process; the lock file goes with the lock, and
// one left by a crash holds nothing.
TEST(TableFiles, TheSaveLockExcludesASecondHolderAndLeavesNoFile)
{
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("LHC.DB"));
    touch(table);
    const QString lockFile = TableLock::pathFor(table);
    EXPECT_EQ(TableLock::pathFor(dir.filePath(QStringLiteral("./LHC.DB"))), lockFile);
    {
        const TableLock held(table);
        EXPECT_TRUE(QFile::exists(lockFile));
        try {
            const TableLock second(table);
            ADD_FAILURE() << "a second holder got the lock";
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("právě ji ukládá jiný program"))) << qPrintable(e.message());
        }
    }
    EXPECT_FALSE(QFile::exists(lockFile));
    touch(lockFile);   // left by a crash
    {
        const TableLock taken(table);
    }
    EXPECT_FALSE(QFile::exists(lockFile));
}
