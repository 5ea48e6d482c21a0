// Tests of the file-system elements over a temporary directory.
#include "framework/elements/FileElements.h"

#include "framework/core/ClassRegistry.h"
#include "platform/Exceptions.h"
#include "platform/text/DateTime.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& content = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QStringList childNames(const TEntity& e)
{
    QStringList names;
    for (int i = 0; i < e.Count(); ++i)
        names << e.Items(i)->GetName();
    names.sort(Qt::CaseInsensitive);
    return names;
}

template<class T>
T* childNamed(const TEntity& e, const QString& name)
{
    return dynamic_cast<T*>(e.FindElementByName(name));
}

class FileTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        root = m_dir.path() + "/";
        writeFile(root + "a.txt", "hello");
        writeFile(root + "UNIT1.PAS", "[Unit_Description]\r\nDescription=Porosty\r\nVersion=2.1\r\n");
        writeFile(root + "unit2.pas");
        QDir(root).mkpath("sub/inner");
        writeFile(root + "sub/d.txt");
        writeFile(root + "sub/inner/e.txt");
    }

    Owned<TDirectoryElement> listed(const QString& path) const
    {
        auto dir = Create<TDirectoryElement>();
        dir->SetFileName(path);
        return dir;
    }

    QTemporaryDir m_dir;
    QString root;
};

// --- name parts ---------------------------------------------------------------------------------

struct NameCase {
    const char* name;
    const char* fileName;
    const char* ext;
    const char* path;
    const char* plainName;
};

class FileNameParts : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(FileNameParts, ReadWithoutChangingFileName)
{
    const NameCase& c = GetParam();
    auto f = Create<TFileElement>();
    f->SetFileName(c.fileName);
    EXPECT_EQ(f->GetPropAsString("FileExt"), c.ext);
    EXPECT_EQ(f->GetPropAsString("FilePath"), c.path);
    EXPECT_EQ(f->GetName(), c.plainName);
    EXPECT_EQ(f->FileName(), c.fileName);
}

INSTANTIATE_TEST_SUITE_P(
    FileElement, FileNameParts,
    ::testing::Values(NameCase{"WindowsPath", "C:\\DATA\\LHC.DB", "DB", "C:\\DATA\\", "LHC.DB"},
                      NameCase{"EndsInDot", "/tmp/x/name.", "", "/tmp/x/", "name."},
                      NameCase{"DotInDirectoryOnly", "/tmp/a.b/name", "", "/tmp/a.b/", "name"},
                      NameCase{"DriveRoot", "C:\\", "", "C:\\", ""},
                      NameCase{"BareName", "file.pas", "pas", "\\", "file.pas"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- listing ------------------------------------------------------------------------------------

TEST_F(FileTree, ListsTheWholeTreeWithPascalUnitsAndTheirDescriptions)
{
    auto dir = listed(m_dir.path());
    EXPECT_EQ(childNames(*dir), QStringList({"a.txt", "sub", "UNIT1.PAS", "unit2.pas"}));
    auto* unit = childNamed<TPascalUnitElement>(*dir, "UNIT1.PAS");
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->GetPropAsString("Description"), "Porosty");
    EXPECT_EQ(unit->GetPropAsString("Version"), "2.1");
    unit->SetPropAsString("Description", "jiný");   // read only in effect
    EXPECT_EQ(unit->GetPropAsString("Description"), "Porosty");
    auto* lower = childNamed<TFileElement>(*dir, "unit2.pas");
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(dynamic_cast<TPascalUnitElement*>(lower), nullptr);

    auto* file = childNamed<TFileElement>(*dir, "a.txt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->FileSize(), 5);

    auto* sub = childNamed<TDirectoryElement>(*dir, "sub");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(childNames(*sub), QStringList({"d.txt", "inner"}));
}

TEST_F(FileTree, DirOnlyListsSubdirectoriesRecursively)
{
    auto dir = Create<TDirectoryElement>();
    dir->SetPropAsBoolean("DirOnly", true);
    dir->SetFileName(m_dir.path());
    ASSERT_EQ(childNames(*dir), QStringList({"sub"}));
    auto* sub = childNamed<TDirectoryElement>(*dir, "sub");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(childNames(*sub), QStringList({"inner"}));
}

TEST_F(FileTree, StoredWindowsPathResolvesIgnoringCase)
{
    auto dir = listed(m_dir.path() + "\\SUB\\INNER");
    EXPECT_EQ(childNames(*dir), QStringList({"e.txt"}));
    auto* e = childNamed<TFileElement>(*dir, "e.txt");
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->Exists());
}

TEST_F(FileTree, LinkBackIntoTheTreeEndsTheListing)
{
    ASSERT_TRUE(QFile::link(m_dir.path(), root + "sub/inner/loop"));
    auto dir = listed(m_dir.path());
    auto* sub = childNamed<TDirectoryElement>(*dir, "sub");
    ASSERT_NE(sub, nullptr);
    auto* inner = childNamed<TDirectoryElement>(*sub, "inner");
    ASSERT_NE(inner, nullptr);
    auto* loop = childNamed<TDirectoryElement>(*inner, "loop");
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->Count(), 0);
}

// --- changes on disk ---------------------------------------------------------------------------

TEST_F(FileTree, NameWriteRenamesOnDiskOnlyWhenItCan)
{
    auto f = Create<TFileElement>();
    f->SetFileName(root + "a.txt");
    f->SetName("b.txt");
    EXPECT_EQ(f->FileName(), root + "b.txt");
    EXPECT_EQ(f->Entry().Name, "b.txt");
    EXPECT_TRUE(QFile::exists(root + "b.txt"));
    EXPECT_FALSE(QFile::exists(root + "a.txt"));

    f->SetPropAsString("Name", "unit2.pas");   // taken: the rename fails
    EXPECT_EQ(f->FileName(), root + "b.txt");
    EXPECT_TRUE(QFile::exists(root + "b.txt"));

    f->SetPropAsString("FileExt", "dat");
    EXPECT_EQ(f->FileName(), root + "b.dat");
    EXPECT_TRUE(QFile::exists(root + "b.dat"));
}

TEST_F(FileTree, NameWriteWithoutFileNameTouchesNothing)
{
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    auto f = Create<TFileElement>();
    f->SetName("a.txt");
    f->SetName("renamed.txt");
    EXPECT_EQ(f->FileName(), "");
    EXPECT_TRUE(QFile::exists(root + "a.txt"));
    EXPECT_FALSE(QFile::exists(root + "renamed.txt"));
    QDir::setCurrent(cwd);
}

TEST_F(FileTree, FileTimeWriteSetsTheDiskTime)
{
    auto f = Create<TFileElement>();
    f->SetFileName(root + "a.txt");
    const txt::DateTime when = txt::encodeDate(2001, 5, 17) + txt::encodeTime(14, 30, 20, 0);
    f->SetPropAsString("FileTimeString", txt::dateTimeToStr(when));
    EXPECT_DOUBLE_EQ(f->FileTime(), when);
    const QDateTime onDisk = QFileInfo(root + "a.txt").lastModified();
    EXPECT_EQ(onDisk, QDateTime(QDate(2001, 5, 17), QTime(14, 30, 20)));

    f->SetPropAsString("FileTimeString", "není datum");
    EXPECT_DOUBLE_EQ(f->FileTime(), when);
}

TEST_F(FileTree, ReadOnlyReachesTheDiskOtherBitsStayInTheElement)
{
    auto f = Create<TFileElement>();
    f->SetFileName(root + "a.txt");
    f->SetPropAsBoolean("AttrReadOnly", true);
    EXPECT_FALSE(QFileInfo(root + "a.txt").permissions() & QFileDevice::WriteOwner);
    f->SetPropAsBoolean("AttrArchive", true);
    f->SetPropAsBoolean("AttrHidden", true);
    EXPECT_EQ(f->Attributes(), faReadOnly | faHidden | faArchive);
    f->SetPropAsBoolean("AttrReadOnly", false);
    EXPECT_TRUE(QFileInfo(root + "a.txt").permissions() & QFileDevice::WriteOwner);
    EXPECT_EQ(f->GetPropAsString("Attributes"), QString::number(faHidden | faArchive));
}

// --- packed file dates --------------------------------------------------------------------------

TEST(FileDate, PacksInTwoSecondSteps)
{
    const txt::DateTime when = txt::encodeDate(2026, 12, 6) + txt::encodeTime(23, 59, 59, 0);
    const qint32 packed = DateTimeToFileDate(when);
    EXPECT_EQ(static_cast<quint32>(packed) >> 16, ((2026u - 1980u) << 9) | (12u << 5) | 6u);
    EXPECT_EQ(static_cast<quint32>(packed) & 0xFFFF, (23u << 11) | (59u << 5) | 29u);
    EXPECT_DOUBLE_EQ(FileDateToDateTime(packed), when - txt::encodeTime(0, 0, 1, 0));
    EXPECT_EQ(DateTimeToFileDate(txt::encodeDate(1979, 12, 31)), 0);
    EXPECT_EQ(FileDateToDateTime(0), 0.0);
}

// --- drives, holders ----------------------------------------------------------------------------

TEST(Drives, OnlyTheSystemDriveExists)
{
    auto computer = Create<TLocalComputerElement>();
    ASSERT_EQ(computer->Count(), 1);
    auto* drive = dynamic_cast<TLogicalDriveElement*>(computer->Items(0));
    ASSERT_NE(drive, nullptr);
    EXPECT_EQ(drive->GetName(), "C HD");
}

TEST(FileModel, PathWriteKeepsTheFileNamePart)
{
    auto m = Create<TFilePathModel>();
    m->SetPropAsString("FileName", "C:\\DATA\\LHC.DB");
    EXPECT_EQ(m->GetPropAsString("Path"), "C:\\DATA\\");
    m->SetPropAsString("Path", "/srv/les");
    EXPECT_EQ(m->GetFileName(), "/srv/les/LHC.DB");
}

// Reads a file and raises when it holds "bad".
class TCheckedFile : public TFileBasedEntity
{
public:
    void ReadFile(const QString& name) override
    {
        QFile f(name);
        if (!f.open(QIODevice::ReadOnly) || f.readAll() == "bad")
            throw EInOutError("bad file");
        ++reads;
    }
    int reads = 0;
};

TEST_F(FileTree, FileBasedEntityRecordsTheOutcome)
{
    writeFile(root + "bad.txt", "bad");
    TCheckedFile e;
    e.SetFileName("");
    EXPECT_EQ(e.Error(), feNoName);
    e.SetFileName(root + "missing.txt");
    EXPECT_EQ(e.Error(), feNotFound);
    e.SetFileName(root + "bad.txt");
    EXPECT_EQ(e.Error(), feReadFailed);
    e.SetFileName(root + "a.txt");
    EXPECT_EQ(e.Error(), feNone);
    EXPECT_EQ(e.reads, 1);
    EXPECT_EQ(e.GetFileName(), root + "a.txt");
}

} // namespace
