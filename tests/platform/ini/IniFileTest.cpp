// INI files: case-blind lookups, first duplicate wins, byte-exact rewrites, numbers and errors.
#include "platform/ini/IniFile.h"

#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/text/Cp1250.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString pathOf(const QString& name) const { return m_dir.path() + u'/' + name; }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(pathOf(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray read(const QString& name) const
    {
        QFile f(pathOf(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // An INI file holding `bytes`, opened by its full path.
    IniFile iniWith(const QByteArray& bytes) const
    {
        write(QStringLiteral("test.ini"), bytes);
        return IniFile(pathOf(QStringLiteral("test.ini")));
    }

    // Sets the modification time of a file, in nanoseconds where the file system keeps them.
    void setModified(const QString& name, const timespec& when) const
    {
        const timespec times[2] = {when, when};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(pathOf(name)).constData(), times, 0), 0);
    }

    struct stat statOf(const QString& name) const
    {
        struct stat st {};
        ::stat(QFile::encodeName(pathOf(name)).constData(), &st);
        return st;
    }

    QTemporaryDir m_dir;
};

// windows-1250, CRLF: comment, blank lines, a line without "=", Czech section and keys.
const QByteArray czechFile =
    "; Nastaven\xED editoru\r\n"
    "\r\n"
    "[EditorSestav]\r\n"
    "Raster = 5\r\n"
    "bez rovnitka\r\n"
    "\x8A\xED\xF8ka=120\r\n"
    "Popis=Lesn\xED hospod\xE1\xF8sk\xFD celek\r\n"
    "; konec\r\n"
    "\r\n"
    "[Odd\xEDly]\r\n"
    "Po\xE8" "et=3\r\n";

} // namespace

TEST_F(IniFileTest, FindsSectionsAndKeysInAnyLetterCase)
{
    const IniFile ini = iniWith(czechFile);
    EXPECT_EQ(ini.readString(QStringLiteral("editorsestav"), QStringLiteral("RASTER"), QString()), QStringLiteral("5"));
    EXPECT_EQ(ini.readString(QStringLiteral("EDITORSESTAV"), QStringLiteral("ŠÍŘKA"), QString()), QStringLiteral("120"));
    EXPECT_EQ(ini.readString(QStringLiteral("ODDÍLY"), QStringLiteral("počet"), QString()), QStringLiteral("3"));
    EXPECT_TRUE(ini.valueExists(QStringLiteral("EDITORSESTAV"), QStringLiteral("šířka")));
    EXPECT_FALSE(ini.valueExists(QStringLiteral("EditorSestav"), QStringLiteral("bez rovnitka")));
    EXPECT_EQ(ini.readSections(), (QStringList{"EditorSestav", "Oddíly"}));
    EXPECT_EQ(ini.readSection(QStringLiteral("editorsestav")), (QStringList{"Raster", "Šířka", "Popis"}));
}

TEST_F(IniFileTest, RewritesOneKeyAndKeepsEveryOtherByte)
{
    IniFile ini = iniWith(czechFile);
    ini.writeString(QStringLiteral("EDITORSESTAV"), QStringLiteral("ŠÍŘKA"), QStringLiteral("150"));
    QByteArray expected = czechFile;
    expected.replace("\x8A\xED\xF8ka=120", "\x8A\xED\xF8ka=150");
    EXPECT_EQ(read(QStringLiteral("test.ini")), expected);

    ini.writeString(QStringLiteral("editorsestav"), QStringLiteral("raster"), QStringLiteral("10"));
    expected.replace("Raster = 5", "Raster =10");
    EXPECT_EQ(read(QStringLiteral("test.ini")), expected);
}

TEST_F(IniFileTest, NewKeyFollowsTheLastKeyOfItsSection)
{
    IniFile ini = iniWith(czechFile);
    ini.writeString(QStringLiteral("editorsestav"), QStringLiteral("Název"), QStringLiteral("Řádek"));
    QByteArray expected = czechFile;
    expected.replace("celek\r\n", "celek\r\nN\xE1zev=\xD8\xE1" "dek\r\n");
    EXPECT_EQ(read(QStringLiteral("test.ini")), expected);
    EXPECT_EQ(ini.readString(QStringLiteral("EditorSestav"), QStringLiteral("NÁZEV"), QString()), QStringLiteral("Řádek"));
}

TEST_F(IniFileTest, EveryCzechLetterRoundTripsInKeysAndValues)
{
    const QString upper = QStringLiteral("ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
    const QString lower = QStringLiteral("áčďéěíňóřšťúůýž");
    IniFile ini = iniWith("");
    ini.writeString(QStringLiteral("Oddíly"), upper, lower + upper);
    EXPECT_EQ(ini.readString(QStringLiteral("ODDÍLY"), lower, QString()), lower + upper);
    EXPECT_EQ(read(QStringLiteral("test.ini")), Cp1250::encode(QStringLiteral("[Oddíly]\r\n") + upper + u'=' + lower + upper + QStringLiteral("\r\n")));
}

TEST_F(IniFileTest, NewSectionIsAppendedWithTheFileLineEnd)
{
    IniFile ini = iniWith("[A]\nx=1");
    ini.writeString(QStringLiteral("B"), QStringLiteral("y"), QStringLiteral("2"));
    EXPECT_EQ(read(QStringLiteral("test.ini")), QByteArray("[A]\nx=1\n[B]\ny=2\n"));
    ini.writeString(QStringLiteral("a"), QStringLiteral("z"), QStringLiteral("3"));
    EXPECT_EQ(read(QStringLiteral("test.ini")), QByteArray("[A]\nx=1\nz=3\n[B]\ny=2\n"));
}

TEST_F(IniFileTest, ValueIsEverythingAfterTheFirstEqualsSign)
{
    const IniFile ini = iniWith("[S]\r\n  Vzorec  =  a = b + c  \r\nPrazdny=\r\nUvozovky=\" mezera \"\r\nJedna='x'\r\n");
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("vzorec"), QString()), QStringLiteral("a = b + c"));
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("Prazdny"), QStringLiteral("def")), QString());
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("Uvozovky"), QString()), QStringLiteral(" mezera "));
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("Jedna"), QString()), QStringLiteral("x"));
    EXPECT_EQ(ini.readSectionValues(QStringLiteral("s")),
              (QStringList{"Vzorec=a = b + c", "Prazdny=", "Uvozovky= mezera ", "Jedna=x"}));
}

TEST_F(IniFileTest, FirstDuplicateWins)
{
    IniFile ini = iniWith("[S]\r\nK=first\r\nk=second\r\nL=1\r\n[s]\r\nK=third\r\nM=2\r\n");
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("first"));
    EXPECT_EQ(ini.readSectionValues(QStringLiteral("S")), (QStringList{"K=first", "L=1"}));
    EXPECT_EQ(ini.readSections(), QStringList{"S"});
    EXPECT_FALSE(ini.valueExists(QStringLiteral("S"), QStringLiteral("M")));

    ini.writeString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("new"));
    EXPECT_EQ(read(QStringLiteral("test.ini")), QByteArray("[S]\r\nK=new\r\nk=second\r\nL=1\r\n[s]\r\nK=third\r\nM=2\r\n"));

    // Deleting the key leaves no later duplicate to show through.
    ini.deleteKey(QStringLiteral("s"), QStringLiteral("k"));
    EXPECT_FALSE(ini.valueExists(QStringLiteral("S"), QStringLiteral("K")));
    EXPECT_EQ(read(QStringLiteral("test.ini")), QByteArray("[S]\r\nL=1\r\n[s]\r\nK=third\r\nM=2\r\n"));
}

TEST_F(IniFileTest, EraseSectionRemovesItsLinesAndDuplicates)
{
    IniFile ini = iniWith(";hlava\n[A]\nx=1\n;pozn\n[B]\ny=2\n[a]\nz=3\n");
    ini.eraseSection(QStringLiteral("a"));
    EXPECT_EQ(read(QStringLiteral("test.ini")), QByteArray(";hlava\n[B]\ny=2\n"));
    EXPECT_FALSE(ini.sectionExists(QStringLiteral("A")));
}

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsCreatedOnFirstWrite)
{
    IniFile ini(pathOf(QStringLiteral("novy.ini")));
    const IniFile reader(pathOf(QStringLiteral("NOVY.INI")));
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_TRUE(ini.readBool(QStringLiteral("S"), QStringLiteral("K"), true));
    EXPECT_FALSE(ini.sectionExists(QStringLiteral("S")));
    ini.deleteKey(QStringLiteral("S"), QStringLiteral("K"));
    ini.eraseSection(QStringLiteral("S"));
    EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("novy.ini"))));

    ini.writeBool(QStringLiteral("Sekce"), QStringLiteral("Zapnuto"), true);
    ini.writeInteger(QStringLiteral("Sekce"), QStringLiteral("Pocet"), -12);
    EXPECT_EQ(read(QStringLiteral("novy.ini")), QByteArray("[Sekce]\r\nZapnuto=1\r\nPocet=-12\r\n"));
    // Another object on the same file sees the writes.
    EXPECT_EQ(reader.readInteger(QStringLiteral("sekce"), QStringLiteral("pocet"), 0), -12);
    ini.writeInteger(QStringLiteral("Sekce"), QStringLiteral("Pocet"), 3);
    EXPECT_EQ(reader.readInteger(QStringLiteral("sekce"), QStringLiteral("pocet"), 0), 3);
}

TEST_F(IniFileTest, LineBreaksInWrittenTextsStayOnOneLine)
{
    IniFile ini = iniWith("[S]\r\n");
    ini.writeString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("a\r\n[X]\r\nb"));
    EXPECT_FALSE(ini.sectionExists(QStringLiteral("X")));
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("a  [X]  b"));
}

// A lone CR ends a line, as CRLF and LF do: in the file read and in the names asked for.
TEST_F(IniFileTest, LoneCarriageReturnEndsTheLine)
{
    IniFile ini = iniWith("[A]\rK=1\r[B]\rK=2\rJ=x\r");
    EXPECT_EQ(ini.readSections(), (QStringList{"A", "B"}));
    EXPECT_EQ(ini.readString(QStringLiteral("b"), QStringLiteral("k"), QString()), QStringLiteral("2"));
    ini.writeString(QStringLiteral("A"), QStringLiteral("K"), QStringLiteral("3"));
    EXPECT_EQ(read(QStringLiteral("test.ini")), QByteArray("[A]\rK=3\r[B]\rK=2\rJ=x\r"));

    ini.writeString(QStringLiteral("S\rT"), QStringLiteral("a\rb"), QStringLiteral("v"));
    EXPECT_EQ(ini.readString(QStringLiteral("S\rT"), QStringLiteral("a\rb"), QString()), QStringLiteral("v"));
    ini.writeString(QStringLiteral("S\rT"), QStringLiteral("a\rb"), QStringLiteral("w"));
    EXPECT_EQ(ini.readSectionValues(QStringLiteral("S\rT")), QStringList{QStringLiteral("a b=w")});
    EXPECT_FALSE(ini.sectionExists(QStringLiteral("T")));
}

TEST_F(IniFileTest, BareNameLivesInTheConfigDirectory)
{
    const QString config = pathOf(QStringLiteral("config/genklas"));
    files::setConfigDirectory(config);
    IniFile ini(QStringLiteral("SESTDLL.INI"));
    ini.writeInteger(QStringLiteral("FormatyPapiru"), QStringLiteral("PocetFormatu"), 2);
    files::setConfigDirectory(QString());
    EXPECT_EQ(ini.fileName(), QStringLiteral("SESTDLL.INI"));
    EXPECT_TRUE(QFile::exists(config + QStringLiteral("/SESTDLL.INI")));
}

TEST_F(IniFileTest, StoredPathResolvesIgnoringCase)
{
    QDir(m_dir.path()).mkdir(QStringLiteral("data"));
    write(QStringLiteral("data/vkm.ini"), "[DATABASE]\r\nDATA=C:\\LHP\\DATA\r\n");
    IniFile ini(QDir::toNativeSeparators(m_dir.path()).replace(u'/', u'\\') + QStringLiteral("\\DATA\\VKM.INI"));
    EXPECT_EQ(ini.readString(QStringLiteral("Database"), QStringLiteral("Data"), QString()), QStringLiteral("C:\\LHP\\DATA"));
    ini.writeString(QStringLiteral("Database"), QStringLiteral("Data"), QStringLiteral("D:\\"));
    EXPECT_EQ(read(QStringLiteral("data/vkm.ini")), QByteArray("[DATABASE]\r\nDATA=D:\\\r\n"));
    EXPECT_EQ(QDir(pathOf(QStringLiteral("data"))).entryList(QDir::Files), QStringList{"vkm.ini"});
}

TEST_F(IniFileTest, UnwritableFileRaisesNamingIt)
{
    const QString name = pathOf(QStringLiteral("chybi/nastaveni.ini"));
    IniFile ini(name);
    try {
        ini.writeString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("V"));
        FAIL() << "no error raised";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Nelze zapsat do souboru \"%1\"").arg(name));
    }
}

TEST_F(IniFileTest, UnreadableFileIsNotReplacedOnWrite)
{
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    const QByteArray original = "[S]\r\nA=1\r\n";
    IniFile ini = iniWith(original);
    QFile::setPermissions(pathOf(QStringLiteral("test.ini")), QFileDevice::WriteOwner);
    EXPECT_THROW(ini.writeString(QStringLiteral("S"), QStringLiteral("B"), QStringLiteral("2")), EFileError);
    QFile::setPermissions(pathOf(QStringLiteral("test.ini")), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(read(QStringLiteral("test.ini")), original);
}

// Another program's change is seen at the next read, however little of the file's state it
// changed: the parsed file is kept only while size, modification time and inode stay.
TEST_F(IniFileTest, ChangesOfAnotherProgramAreSeenAtTheNextRead)
{
    const QString name = QStringLiteral("test.ini");
    const timespec noon{1577880000, 100000000};   // 2020-01-01 12:00:00.1 UTC
    IniFile ini = iniWith("[S]\r\nK=1\r\n");
    const IniFile other(pathOf(name));
    setModified(name, noon);
    EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 1);
    EXPECT_EQ(other.readSection(QStringLiteral("s")), QStringList{QStringLiteral("K")});

    // Rewritten in place, same size, within the same second.
    const ino_t inode = statOf(name).st_ino;
    write(name, "[S]\r\nK=2\r\n");
    setModified(name, {noon.tv_sec, noon.tv_nsec + 100000000});
    ASSERT_EQ(statOf(name).st_ino, inode);
    if (statOf(name).st_mtim.tv_nsec == 0) GTEST_SKIP() << "the file system keeps whole seconds";
    EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 2);
    EXPECT_EQ(other.readString(QStringLiteral("s"), QStringLiteral("k"), QString()), QStringLiteral("2"));

    // Longer, with the modification time put back.
    write(name, "[S]\r\nK=30\r\n");
    setModified(name, {noon.tv_sec, noon.tv_nsec + 100000000});
    EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 30);

    // Replaced by a rename with a file of the same size and time.
    write(QStringLiteral("new.ini"), "[T]\r\nK=40\r\n");
    setModified(QStringLiteral("new.ini"), {noon.tv_sec, noon.tv_nsec + 100000000});
    ASSERT_EQ(std::rename(QFile::encodeName(pathOf(QStringLiteral("new.ini"))).constData(),
                          QFile::encodeName(pathOf(name)).constData()), 0);
    EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 0);
    EXPECT_TRUE(other.sectionExists(QStringLiteral("T")));
    EXPECT_TRUE(ini.valueExists(QStringLiteral("t"), QStringLiteral("k")));
    EXPECT_EQ(ini.readSections(), QStringList{QStringLiteral("T")});
}

// A file changed just now may change again within one tick of the file system's clock, so
// that not even the nanoseconds differ: it is not kept until it has been still for a while.
TEST_F(IniFileTest, FileChangedJustNowIsReadAgain)
{
    const QString name = QStringLiteral("test.ini");
    const IniFile ini = iniWith("[S]\r\nK=1\r\n");
    EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 1);
    const struct stat before = statOf(name);
    write(name, "[S]\r\nK=2\r\n");
    setModified(name, before.st_mtim);
    ASSERT_EQ(statOf(name).st_ino, before.st_ino);
    EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 2);
}

// text nullptr: the key is missing; integer: readInteger with the default -1; boolean: readBool with the default true.
struct NumberCase { const char* label; const char* text; int integer; bool boolean; };

class IniNumberTest : public IniFileTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(IniNumberTest, ReadsIntegersAndBooleans)
{
    const NumberCase& c = GetParam();
    const QByteArray body = c.text ? QByteArray("[S]\r\nK=") + c.text + "\r\n" : QByteArray("[S]\r\n");
    const IniFile ini = iniWith(body);
    EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), -1), c.integer);
    EXPECT_EQ(ini.readBool(QStringLiteral("S"), QStringLiteral("K"), true), c.boolean);
}

INSTANTIATE_TEST_SUITE_P(Ini, IniNumberTest, ::testing::Values(
    NumberCase{"BlanksTrimmed", "  -5  ", -5, true},
    NumberCase{"Zero", "0", 0, false},
    NumberCase{"DollarHex", "$1F", 31, true},
    NumberCase{"NotANumber", "ano", -1, true},
    NumberCase{"BeyondThirtyTwoBits", "4294967296", -1, true},
    NumberCase{"Missing", nullptr, -1, true}),
    [](const auto& info) { return std::string(info.param.label); });

// A file whose state on disk (inode, size, modification time) has not changed since it was
// read is not read again: a rewrite that keeps all three goes unseen until the state changes.
TEST_F(IniFileTest, AFileWhoseStateIsUnchangedIsNotReadAgain)
{
    const QString name = QStringLiteral("test.ini");
    const timespec noon{1577880000, 100000000};   // 2020-01-01 12:00:00.1 UTC
    const IniFile ini = iniWith("[S]\r\nK=1\r\n");
    setModified(name, noon);
    EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 1);
    write(name, "[S]\r\nK=2\r\n");
    setModified(name, noon);
    EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 1);
    setModified(name, {noon.tv_sec + 1, noon.tv_nsec});
    EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 2);
}
