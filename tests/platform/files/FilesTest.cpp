// Stored paths resolve against what exists; masks, directories and file operations.
#include "platform/files/Files.h"

#include "platform/Exceptions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs `action`, expects EFileError and answers its message.
template <typename F>
QString fileErrorOf(F action)
{
    try {
        action();
    } catch (const EFileError& e) {
        return e.message();
    }
    ADD_FAILURE() << "no EFileError raised";
    return {};
}

class FilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        root = m_dir.path();
        QDir(root).mkpath(QStringLiteral("ciselnik"));
        writeFile(root + QStringLiteral("/ciselnik/CIS_LT.db"), "x");
    }
    // The temporary root written with "\" as a stored path would have it.
    QString stored(const QString& rest) const { return QDir::toNativeSeparators(root).replace(u'/', u'\\') + rest; }

    QTemporaryDir m_dir;
    QString root;
};

} // namespace

TEST_F(FilesTest, ResolvesEachComponentIgnoringCase)
{
    const QString expected = root + QStringLiteral("/ciselnik/CIS_LT.db");
    EXPECT_EQ(files::resolvePath(stored(QStringLiteral("\\CISELNIK\\Cis_LT.DB"))), expected);
    EXPECT_EQ(files::resolvePath(QStringLiteral("C:") + stored(QStringLiteral("\\Ciselnik\\cis_lt.db"))), expected);
    EXPECT_TRUE(files::fileExists(stored(QStringLiteral("\\CISELNIK\\Cis_LT.DB"))));
    EXPECT_TRUE(files::directoryExists(stored(QStringLiteral("\\CISELNIK\\"))));
    EXPECT_FALSE(files::fileExists(root + QStringLiteral("/CISELNIK")));
    EXPECT_FALSE(files::directoryExists(root + QStringLiteral("/ciselnik/cis_lt.db")));
    // The unresolved remainder stays as given.
    EXPECT_EQ(files::resolvePath(stored(QStringLiteral("\\CISELNIK\\Nove\\Cis_LT.DB"))),
              root + QStringLiteral("/ciselnik/Nove/Cis_LT.DB"));
    EXPECT_EQ(files::resolvePath(stored(QStringLiteral("\\Ciselnik\\"))), root + QStringLiteral("/ciselnik/"));
    EXPECT_FALSE(files::fileExists(stored(QStringLiteral("\\CISELNIK\\Cis_LX.DB"))));
    EXPECT_FALSE(files::fileExists(QString()));
}

TEST_F(FilesTest, ExactNameWinsOverOtherCase)
{
    writeFile(root + QStringLiteral("/ciselnik/cis_lt.DB"), "y");
    EXPECT_EQ(files::resolvePath(root + QStringLiteral("/ciselnik/cis_lt.DB")), root + QStringLiteral("/ciselnik/cis_lt.DB"));
    EXPECT_EQ(files::resolvePath(root + QStringLiteral("/ciselnik/CIS_LT.db")), root + QStringLiteral("/ciselnik/CIS_LT.db"));
}

TEST_F(FilesTest, RelativePathsStayRelative)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root));
    const QString resolved = files::resolvePath(QStringLiteral("CISELNIK\\Cis_LT.DB"));
    const QStringList found = files::findFiles(QStringLiteral("CISELNIK\\*.DB"));
    QDir::setCurrent(previous);
    EXPECT_EQ(resolved, QStringLiteral("ciselnik/CIS_LT.db"));
    EXPECT_EQ(found, QStringList{QStringLiteral("CIS_LT.db")});
}

struct MaskCase { const char* label; const char* name; const char* mask; bool matches; };

class MaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskTest, MatchesAsTheFileSearch)
{
    const MaskCase& c = GetParam();
    EXPECT_EQ(files::matchesMask(QString::fromUtf8(c.name), QString::fromUtf8(c.mask)), c.matches)
        << c.name << " ~ " << c.mask;
}

INSTANTIATE_TEST_SUITE_P(Files, MaskTest, ::testing::Values(
    MaskCase{"StarDotStarV", "12345.DBV", "*.*V", true},
    MaskCase{"StarDotStarVOtherEnd", "12345.DBX", "*.*V", false},
    MaskCase{"StarDotStarVWithoutDot", "DBV", "*.*V", false},
    MaskCase{"FstLongerExtension", "pp.fstx", "*.FST", false},
    MaskCase{"QuestionNotEmpty", "CIS_05.FST", "CIS_05?.FST", false},
    MaskCase{"StarDotStarAll", "README", "*.*", true},
    MaskCase{"NameDotStarNoExt", "LHC", "LHC.*", true},
    MaskCase{"CzechLetterCase", "číselník.db", "ČÍSELNÍK.*", true},
    MaskCase{"Backtracking", "aXbXc.txt", "*X*.txt", true},
    MaskCase{"EmptyMask", "A", "", false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(FilesTest, FindsByMaskSortedIgnoringCase)
{
    for (const char* name : {"b.DBV", "A.dbv", "c.DB"})
        writeFile(root + u'/' + QString::fromLatin1(name), "");
    QDir(root).mkdir(QStringLiteral("sub.DBV"));

    EXPECT_EQ(files::findFiles(stored(QStringLiteral("\\*.*V"))), (QStringList{"A.dbv", "b.DBV"}));
    EXPECT_EQ(files::findFiles(stored(QStringLiteral("\\*.*V")), files::EntryKind::Directories),
              QStringList{"sub.DBV"});
    EXPECT_EQ(files::findFiles(stored(QStringLiteral("\\*.*")), files::EntryKind::All),
              (QStringList{"A.dbv", "b.DBV", "c.DB", "ciselnik", "sub.DBV"}));
    EXPECT_EQ(files::findFiles(stored(QStringLiteral("\\CISELNIK\\cis_*.DB"))), QStringList{"CIS_LT.db"});
    EXPECT_TRUE(files::findFiles(stored(QStringLiteral("\\missing\\*.*"))).isEmpty());
}

TEST_F(FilesTest, CreatesOneLevelOrAllLevels)
{
    EXPECT_TRUE(files::createDir(stored(QStringLiteral("\\CISELNIK\\novy"))));
    EXPECT_TRUE(QFileInfo(root + QStringLiteral("/ciselnik/novy")).isDir());
    EXPECT_FALSE(files::createDir(stored(QStringLiteral("\\a\\b"))));
    EXPECT_TRUE(files::forceDirectories(stored(QStringLiteral("\\a\\b"))));
    EXPECT_TRUE(QFileInfo(root + QStringLiteral("/a/b")).isDir());
}

TEST_F(FilesTest, RenamesWithoutOverwriting)
{
    writeFile(root + QStringLiteral("/other.db"), "other");
    const QString target = stored(QStringLiteral("\\OTHER.DB"));
    const QString message = fileErrorOf([&] { files::renameFile(stored(QStringLiteral("\\ciselnik\\cis_lt.db")), target); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("Nelze přejmenovat soubor \""))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("cis_lt.db"))) << message.toStdString();
    EXPECT_EQ(readFile(root + QStringLiteral("/other.db")), "other");

    files::renameFile(stored(QStringLiteral("\\CISELNIK\\cis_lt.db")), stored(QStringLiteral("\\Ciselnik\\novy.db")));
    EXPECT_EQ(readFile(root + QStringLiteral("/ciselnik/novy.db")), "x");
    // A rename may change only the letter case.
    files::renameFile(root + QStringLiteral("/ciselnik/novy.db"), root + QStringLiteral("/ciselnik/NOVY.db"));
    EXPECT_EQ(QDir(root + QStringLiteral("/ciselnik")).entryList(QDir::Files), QStringList{"NOVY.db"});
}

TEST_F(FilesTest, DeletesAndNamesTheFileOnFailure)
{
    const QString missing = stored(QStringLiteral("\\nic.db"));
    EXPECT_EQ(fileErrorOf([&] { files::deleteFile(missing); }), QStringLiteral("Nelze smazat soubor \"%1\"").arg(missing));
    EXPECT_EQ(fileErrorOf([&] { files::deleteFile(stored(QStringLiteral("\\ciselnik"))); }),
              QStringLiteral("Nelze smazat soubor \"%1\"").arg(stored(QStringLiteral("\\ciselnik"))));

    files::deleteFile(stored(QStringLiteral("\\CISELNIK\\Cis_LT.DB")));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("/ciselnik/CIS_LT.db")));
}

TEST_F(FilesTest, CopiesContentAndTimeAndGuardsTheTarget)
{
    const QString source = root + QStringLiteral("/ciselnik/CIS_LT.db");
    const QDateTime stamp(QDate(2001, 5, 17), QTime(10, 20, 30));
    {
        QFile f(source);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    const QString target = root + QStringLiteral("/kopie.db");
    files::copyFile(stored(QStringLiteral("\\CISELNIK\\CIS_LT.DB")), target);
    EXPECT_EQ(readFile(target), "x");
    EXPECT_EQ(QFileInfo(target).lastModified(), stamp);

    writeFile(source, "new");
    EXPECT_TRUE(fileErrorOf([&] { files::copyFile(source, target, false); }).contains(source));
    EXPECT_EQ(readFile(target), "x");
    files::copyFile(source, stored(QStringLiteral("\\KOPIE.DB")), true);
    EXPECT_EQ(readFile(target), "new");
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("/KOPIE.DB")));
}

struct NamePartsCase { const char* label; const char* path; const char* dir; const char* name; const char* ext; };

class NamePartsTest : public ::testing::TestWithParam<NamePartsCase> {};

TEST_P(NamePartsTest, SplitsOnBothSeparators)
{
    const NamePartsCase& c = GetParam();
    const QString path = QString::fromUtf8(c.path);
    EXPECT_EQ(files::extractFilePath(path), QString::fromUtf8(c.dir));
    EXPECT_EQ(files::extractFileName(path), QString::fromUtf8(c.name));
    EXPECT_EQ(files::extractFileExt(path), QString::fromUtf8(c.ext));
}

INSTANTIATE_TEST_SUITE_P(Files, NamePartsTest, ::testing::Values(
    NamePartsCase{"Backslashes", "C:\\LHP\\data\\PP.FST", "C:\\LHP\\data\\", "PP.FST", ".FST"},
    NamePartsCase{"Mixed", "C:\\LHP/data\\x.y.z", "C:\\LHP/data\\", "x.y.z", ".z"},
    NamePartsCase{"DriveOnly", "C:PP.FST", "C:", "PP.FST", ".FST"},
    NamePartsCase{"DotInDirectory", "C:\\a.b\\name", "C:\\a.b\\", "name", ""},
    NamePartsCase{"TrailingDot", "name.", "", "name.", "."},
    NamePartsCase{"Empty", "", "", "", ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(FileNames, ChangesExtensionAndClosesDirectory)
{
    EXPECT_EQ(files::changeFileExt(u"C:\\a.b\\name", u".DB"), QStringLiteral("C:\\a.b\\name.DB"));
    EXPECT_EQ(files::changeFileExt(u"name.px", u""), QStringLiteral("name"));
    EXPECT_EQ(files::includeTrailingBackslash(u"C:\\LHP"), QStringLiteral("C:\\LHP\\"));
    EXPECT_EQ(files::includeTrailingBackslash(u"/home/les"), QStringLiteral("/home/les/"));
    EXPECT_EQ(files::includeTrailingBackslash(u""), QStringLiteral("\\"));
}

TEST(FileDirectories, OverridesAndDefaults)
{
    const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/xdg-test");
    EXPECT_EQ(files::configDirectory(), QStringLiteral("/tmp/xdg-test/genklas"));
    qputenv("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(files::configDirectory(), QDir::homePath() + QStringLiteral("/.config/genklas"));
    files::setConfigDirectory(QStringLiteral("/tmp/cfg"));
    EXPECT_EQ(files::configDirectory(), QStringLiteral("/tmp/cfg"));
    files::setConfigDirectory(QString());
    if (savedXdg.isNull()) qunsetenv("XDG_CONFIG_HOME"); else qputenv("XDG_CONFIG_HOME", savedXdg);

}
