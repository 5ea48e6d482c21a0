// Companion and index files of a table, found ignoring case.
#include "platform/db/paradox/TableFiles.h"

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
