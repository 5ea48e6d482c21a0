// Tests of the INI tool and the item lists read from INI sections.
#include "forest/base/IniLists.h"
#include "forest/support/ForestTestSupport.h"
#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/text/Cp1250.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using foresttest::recorder;

class IniLists : public foresttest::ForestFixture
{
protected:
    void SetUp() override
    {
        ForestFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        files::setConfigDirectory(dir.path() + "/config");
        QDir().mkpath(dir.path() + "/config");
        path = dir.path() + "/PHS.INI";
        write(path, "[Jina]\r\nP1=X=ANO\r\n[PolozkyStandardu_ExportDoStandardu]\r\nP1=ODD=ANO\r\nP2=DIL=NE\r\n"
                    "P3=ŘÁD=ANO=1\r\n");
    }
    void TearDown() override { files::setConfigDirectory(QString()); }

    static void write(const QString& file, const QString& text)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Cp1250::encode(text));
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(IniLists, LinesSplitAtTheFirstEqualsSign)
{
    Owned<TLesniStringListElement> list;
    LoadIniSectionList(list, path, "PolozkyStandardu_ExportDoStandardu");
    ASSERT_TRUE(list);
    ASSERT_NE(list->StringListElement(), nullptr);
    EXPECT_TRUE(recorder().messages.empty());
    EXPECT_EQ(list->StringListElement()->Count(), 3);
    EXPECT_EQ(list->StringListElement()->ValueByName("ŘÁD"), "ANO=1");

    list->SetAktualniPolozka("odd");
    EXPECT_TRUE(list->AktualniJeVSeznamuAMaAno());
    EXPECT_EQ(list->AktualniPolozka(), "ODD");
    EXPECT_TRUE(list->AktualniJeVSeznamu());
    list->SetAktualniPolozka("dil");
    EXPECT_TRUE(list->AktualniJeVSeznamu());
    EXPECT_FALSE(list->AktualniJeVSeznamuAMaAno());
    list->SetAktualniPolozka("POR");
    EXPECT_FALSE(list->AktualniJeVSeznamu());
    list->SetAktualniPolozka("");
    EXPECT_FALSE(list->AktualniJeVSeznamu());
    EXPECT_FALSE(list->AktualniJeVSeznamuAMaAno());
}

TEST_F(IniLists, MissingFileOrSectionShowsTheMessage)
{
    Owned<TLesniStringListElement> list;
    LoadIniSectionList(list, "C:\\Nikde\\UnivExp.ini", "PolozkyStandarduPP_FST");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->StringListElement(), nullptr);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text,
              "Chybí soubor \"C:\\Nikde\\UnivExp.ini\" nebo v něm sekce \"PolozkyStandarduPP_FST\".");
    list->SetAktualniPolozka("ODD");
    EXPECT_FALSE(list->AktualniJeVSeznamu());
    EXPECT_FALSE(list->AktualniJeVSeznamuAMaAno());

    LoadIniSectionList(list, path, "Chybi");
    EXPECT_EQ(list->StringListElement(), nullptr);
    EXPECT_EQ(recorder().messages.size(), 2u);
}

TEST_F(IniLists, ToolResolvesBareNamesInTheSettingsDirectory)
{
    Owned<TIniFileTool> tool = Create<TIniFileTool>();
    tool->SetFileName("X.INI");
    EXPECT_EQ(tool->FileName(), dir.path() + "/config/X.INI");
    tool->SetSection("S");
    tool->SetIdent("K");
    tool->SetValue("1");
    EXPECT_FALSE(QFile::exists(dir.path() + "/config/X.INI"));
    EXPECT_EQ(tool->Value(), "");
    EXPECT_FALSE(tool->MakeValuesElement());

    tool->SetFileName("C:\\missing\\Y.INI");   // a directory that does not exist: unchanged
    EXPECT_EQ(tool->FileName(), dir.path() + "/config/X.INI");
}

TEST_F(IniLists, ToolReadsAndWritesAnExistingFile)
{
    Owned<TIniFileTool> tool = Create<TIniFileTool>();
    TElement& e = *tool;
    e.SetPropAsString("FileName", path);
    e.SetPropAsString("Section", "Jina");
    e.SetPropAsString("Ident", "P1");
    EXPECT_EQ(e.GetPropAsString("Value"), "X=ANO");
    e.SetPropAsString("Ident", "P9");
    e.SetPropAsString("DefaultValue", "nic");
    EXPECT_EQ(tool->Value(), "nic");
    tool->SetValue("nové");
    EXPECT_EQ(tool->Value(), "nové");

    Owned<TStringListElement> idents = tool->MakeIdentsElement();
    ASSERT_TRUE(idents);
    ASSERT_EQ(idents->Count(), 2);
    EXPECT_EQ(idents->NameAt(1), "P9");
    auto* published = dynamic_cast<TStringListElement*>(GetObjectPropByName(tool.get(), "ValuesElement"));
    ASSERT_NE(published, nullptr);
    EXPECT_EQ(published->ValueByName("X"), "ANO");
}

TEST_F(IniLists, ToolTakesAnExistingRelativeNameFromTheCurrentDirectory)
{
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    Owned<TIniFileTool> tool = Create<TIniFileTool>();
    tool->SetFileName("PHS.INI");
    tool->SetSection("Jina");
    tool->SetIdent("P1");
    const QString value = tool->Value();
    QDir::setCurrent(cwd);
    EXPECT_EQ(tool->FileName(), "PHS.INI");
    EXPECT_EQ(value, "X=ANO");
}

TEST_F(IniLists, TwoToolsOnOneFileKeepEachOthersWrites)
{
    Owned<TIniFileTool> first = Create<TIniFileTool>();
    Owned<TIniFileTool> second = Create<TIniFileTool>();
    for (TIniFileTool* tool : {first.get(), second.get()}) {
        tool->SetFileName(path);
        tool->SetSection("Jina");
    }
    first->SetIdent("A");
    second->SetIdent("B");
    first->SetValue("1");
    second->SetValue("2");
    first->SetValue("3");
    EXPECT_EQ(first->Value(), "3");
    EXPECT_EQ(second->Value(), "2");
    first->SetIdent("P1");
    EXPECT_EQ(first->Value(), "X=ANO");
}

TEST_F(IniLists, FailedWriteReachesTheCallerAndChangesNothing)
{
    // A file that exists on a file system that cannot be written.
    Owned<TIniFileTool> tool = Create<TIniFileTool>();
    tool->SetFileName("/proc/version");
    ASSERT_EQ(tool->FileName(), "/proc/version");
    tool->SetSection("S");
    tool->SetIdent("K");
    EXPECT_THROW(tool->SetValue("x"), EFileError);
    EXPECT_EQ(tool->Value(), "");
}

} // namespace
