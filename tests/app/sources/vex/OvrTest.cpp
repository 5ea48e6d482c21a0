// Tests of the data module: the data directory, the dialog, upgrades and the peer tables.
#include "app/sources/vex/Ovr.h"
#include "app/sources/vex/VexFixture.h"

#include "platform/db/paradox/TableFiles.h"

#include <QDir>

namespace vextest {
namespace {

using vex::TOvr;
using vex::Version;

class Ovr : public VexUnitTest
{
protected:
    void make(Version version)
    {
        samples::UnitOptions o;
        o.version = version;
        o.compartments = 2;
        o.lhcRow = version == Version::V98 ? 1 : 0;
        makeUnit(o);
    }

    std::unique_ptr<TOvr> open(Version version, vex::DirectoryChooser chooser = {}, vex::CodebookFiller filler = {})
    {
        vex::OvrOptions options;
        options.programDir = programDir;
        options.chooseDirectory = std::move(chooser);
        options.fillCodebook = std::move(filler);
        auto ovr = std::make_unique<TOvr>(version, options);
        ovr->FormCreate();
        return ovr;
    }

    void setManager(const QString& value)
    {
        IniFile vkm(programDir + QStringLiteral("/vkm.ini"));
        vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("MANAGER"), value);
    }

    // Writes the bare-land table in its older structure (without its kind column).
    void oldBareLand()
    {
        editTable(QStringLiteral("BEZLESI.DB"), [](QList<QVariantList>& rows, const db::FieldDefs&) {
            for (QVariantList& r : rows)
                r.removeLast();
        });
        db::FieldDefs defs = vex::parseFields(vex::layoutOf(Version::V97, QStringLiteral("Tb_BZL")).declared);
        db::FieldDefs older;
        for (int i = 0; i + 1 < defs.Count(); ++i)
            older.Add(defs[i].Name, defs[i].DataType, defs[i].Size);
        samples::writeTable(dataTable(QStringLiteral("BEZLESI.DB")), older, {});
    }
};

TEST_F(Ovr, OnlyManagerNESkipsTheDirectoryDialog)
{
    make(Version::V97);
    for (const QString& manager : {QStringLiteral("ne"), QStringLiteral("Ne"), QStringLiteral("ANO")}) {
        setManager(manager);
        QStringList asked;
        auto ovr = open(Version::V97, [&](const QString& start, const QString& caption) {
            asked.append(start + QLatin1Char('|') + caption);
            return dataDir();
        });
        ASSERT_EQ(asked.size(), 1) << manager.toStdString();
        EXPECT_EQ(asked[0], dataDir() + QStringLiteral("|Vyhledej adresář dat vexu97."));
        EXPECT_EQ(ovr->DB_zrPath(), QStringLiteral("PATH=") + dataDir());
        EXPECT_TRUE(ovr->TB_ODD().Active());
    }
}

TEST_F(Ovr, ACancelledDialogOpensNothingAndStoresNothing)
{
    make(Version::V97);
    setManager(QStringLiteral("ANO"));
    const QByteArray before = fileBytes(programDir + QStringLiteral("/vkm.ini"));
    auto ovr = open(Version::V97, [](const QString&, const QString&) { return vex::kNothingChosen; });
    EXPECT_TRUE(ovr->Cancelled());
    EXPECT_FALSE(ovr->TB_ODD().Active());
    EXPECT_EQ(messageTexts(), QStringList({QStringLiteral("Neuspěšné otevření souboru s údaji.")}));
    EXPECT_EQ(fileBytes(programDir + QStringLiteral("/vkm.ini")), before);
}

TEST_F(Ovr, Version98FromTheForestUnitNeverAsks)
{
    make(Version::V98);
    setManager(QStringLiteral("ANO"));
    vex::OvrOptions options;
    options.programDir = programDir;
    options.skipDirectoryDialog = true;
    bool asked = false;
    options.chooseDirectory = [&](const QString&, const QString&) {
        asked = true;
        return vex::kNothingChosen;
    };
    TOvr ovr(Version::V98, options);
    ovr.FormCreate();
    EXPECT_FALSE(asked);
    EXPECT_TRUE(ovr.TB_ODD().Active());
    EXPECT_EQ(TOvr::directoryOf(ovr.DB_phPath()), unitDir() + QStringLiteral("/PHS"));
}

TEST_F(Ovr, AnOlderBareLandTableIsExtendedOnce)
{
    make(Version::V97);
    oldBareLand();
    auto ovr = open(Version::V97);
    EXPECT_TRUE(ovr->Tb_BZL().Active());
    EXPECT_NE(ovr->Tb_BZL().FindField(QStringLiteral("Vyuziti")), nullptr);
    EXPECT_EQ(messageTexts(),
              QStringList({QStringLiteral("V tabulce bezlesí vyplňte kolonku Vyuziti. Použijte program Kortel.")}));
}

TEST_F(Ovr, APeerTableWithIndexFilesIsReadButNeverWritten)
{
    make(Version::V97);
    oldBareLand();
    const QString bzl = dataTable(QStringLiteral("BEZLESI.DB"));
    const QString index = dataTable(QStringLiteral("BEZLESI.PX"));
    {
        QFile px(index);
        ASSERT_TRUE(px.open(QIODevice::WriteOnly));
        px.write(QByteArray(2048, '\x01'));
    }
    const QString odd = dataTable(QStringLiteral("ODDELENI.DB"));
    {
        QFile x(dataTable(QStringLiteral("oddeleni.x02")));
        ASSERT_TRUE(x.open(QIODevice::WriteOnly));
        x.write("index");
    }
    const QByteArray bzlBefore = fileBytes(bzl);
    const QByteArray oddBefore = fileBytes(odd);
    EXPECT_EQ(loadAll().size(), 2);
    dropSource();
    EXPECT_EQ(fileBytes(bzl), bzlBefore);
    EXPECT_EQ(fileBytes(odd), oddBefore);
    EXPECT_EQ(fileBytes(index), QByteArray(2048, '\x01'));
    EXPECT_TRUE(messageTexts().isEmpty()) << messageTexts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(Ovr, MissingOrganisationLevelsAreCreatedAndOffered)
{
    make(Version::V97);
    QFile::remove(unitDir() + QStringLiteral("/PHS/ORGUR2.DB"));
    QStringList offered;
    auto ovr = open(Version::V97, {}, [&](const QString& label, db::Table& t) {
        offered.append(label);
        EXPECT_TRUE(t.Active());
    });
    EXPECT_EQ(offered, QStringList({QStringLiteral("Zapiš čiselník revírů")}));
    EXPECT_TRUE(ovr->table(QStringLiteral("TB_OrgUr2")).Active());
    EXPECT_TRUE(files::fileExists(unitDir() + QStringLiteral("/PHS/ORGUR2.DB")));
}

TEST_F(Ovr, AnOrganisationLevelFileThatDoesNotOpenIsNeverReplaced)
{
    make(Version::V97);
    const QString path = unitDir() + QStringLiteral("/PHS/ORGUR1.DB");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("not a table");
    }
    bool offered = false;
    auto ovr = open(Version::V97, {}, [&](const QString&, db::Table&) { offered = true; });
    EXPECT_FALSE(offered);
    EXPECT_FALSE(ovr->table(QStringLiteral("TB_OrgUr1")).Active());
    EXPECT_EQ(fileBytes(path), QByteArray("not a table"));
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].contains(QStringLiteral("ORGUR1.DB")));
}

TEST_F(Ovr, AnOrganisationLevelThatCannotBeCreatedIsReportedAndTheRestOpens)
{
    make(Version::V97);
    const QString path = unitDir() + QStringLiteral("/PHS/ORGUR2.DB");
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/blocked")));   // a directory where the file would go
    auto ovr = open(Version::V97, {}, [](const QString&, db::Table&) { ADD_FAILURE() << "nothing to fill"; });
    EXPECT_FALSE(ovr->table(QStringLiteral("TB_OrgUr2")).Active());
    EXPECT_TRUE(ovr->TB_ODD().Active());
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].startsWith(QStringLiteral("Tabulku ORGUR2.DB nelze vytvořit")));
}

TEST_F(Ovr, TwoModulesOverOneOlderTableExtendItOnce)
{
    make(Version::V97);
    oldBareLand();
    auto first = open(Version::V97);
    auto second = open(Version::V97);
    EXPECT_TRUE(second->Tb_BZL().Active());
    EXPECT_NE(second->Tb_BZL().FindField(QStringLiteral("Vyuziti")), nullptr);
    EXPECT_EQ(messageTexts().size(), 1);
}

TEST_F(Ovr, PathLinesOfTheConnections)
{
    make(Version::V97);
    IniFile vkm(programDir + QStringLiteral("/vkm.ini"));
    vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("DATA"), QStringLiteral("PATH=") + dataDir());
    auto ovr = open(Version::V97);
    EXPECT_EQ(ovr->DB_phPath(), QStringLiteral("PATH=") + unitDir() + QStringLiteral("/PHS"));
    EXPECT_EQ(ovr->DB_cisPath(), QStringLiteral("PATH=") + programDir + QStringLiteral("/CISELNIK"));
    EXPECT_EQ(TOvr::directoryOf(QStringLiteral("path=\\wkm\\data\\zdroj")), QStringLiteral("\\wkm\\data\\zdroj"));
}

} // namespace
} // namespace vextest
