// Tests of the choice of the interchange directory and its memory in vkm.ini.
#include "app/sources/ishul/IsHulDirectory.h"

#include "platform/ini/IniFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Asked {
    QString start;
    QString caption;
    QString mask;
};

TEST(IsHulDirectory, StartsAtTheRememberedDirectoryAndRemembersTheChoice)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("fst"));
    IniFile(dir.filePath("vkm.ini")).writeString("DATABASE", "IS_HUL", dir.filePath("fst"));
    Asked asked;
    const auto chooser = [&](const QString& start, const QString& caption, const QString& mask, bool) {
        asked = {start, caption, mask};
        return dir.filePath("new");
    };
    EXPECT_EQ(ishul::FindIsHulDirectory(dir.path(), chooser), dir.filePath("new"));
    EXPECT_EQ(asked.start, dir.filePath("fst"));
    EXPECT_EQ(asked.caption, QStringLiteral("Vyhledej adresář IS HÚL ."));
    EXPECT_EQ(asked.mask, "*.FST");
    EXPECT_EQ(IniFile(dir.filePath("vkm.ini")).readString("DATABASE", "IS_HUL", ""), dir.filePath("new"));
}

TEST(IsHulDirectory, AVanishedDirectoryStartsAtTheRootAndCancelChangesNothing)
{
    QTemporaryDir dir;
    IniFile(dir.filePath("vkm.ini")).writeString("DATABASE", "IS_HUL", dir.filePath("gone"));
    QString start;
    const auto cancel = [&](const QString& s, const QString&, const QString&, bool) {
        start = s;
        return QStringLiteral("NicSeNavybralo");
    };
    EXPECT_EQ(ishul::FindIsHulDirectory(dir.path(), cancel), "NicSeNavybralo");
    EXPECT_EQ(start, "C:\\");
    EXPECT_EQ(IniFile(dir.filePath("vkm.ini")).readString("DATABASE", "IS_HUL", ""), dir.filePath("gone"));
}

} // namespace
