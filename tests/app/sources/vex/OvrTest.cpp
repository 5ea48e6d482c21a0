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

TEST_F(Ovr, StandGroupAreasAreRoundedToHundredthsAndWrittenAtOnce)
{
    make(Version::V97);
    auto ovr = open(Version::V97);
    db::Table& sk = ovr->TB_SK();
    ASSERT_FALSE(sk.IsEmpty());
    const double id = sk.FieldByName(QStringLiteral("ID")).AsFloat();
    for (const auto& [given, stored] : {std::pair{0.125, 0.12}, std::pair{0.375, 0.38}}) {
        sk.Edit();
        sk.FieldByName(QStringLiteral("PSK_P")).AsFloat(given);
        sk.FieldByName(QStringLiteral("PSK")).AsString(QString());
        sk.Post();
        EXPECT_DOUBLE_EQ(sk.FieldByName(QStringLiteral("PSK_P")).AsFloat(), stored);
        EXPECT_EQ(sk.FieldByName(QStringLiteral("PSK")).AsString(), QStringLiteral("vv"));
        bool found = false;
        for (const QVariantList& r : tableRows(dataTable(QStringLiteral("PS.DB"))))
            if (r[2].toDouble() == id) {
                found = true;
                EXPECT_DOUBLE_EQ(r[15].toDouble(), stored);
            }
        EXPECT_TRUE(found);
    }
}

TEST_F(Ovr, AManagementSetBringsItsRotationAndAmelioratingShare)
{
    make(Version::V97);
    auto ovr = open(Version::V97);
    db::Table& etaz = ovr->TB_ETAZ();
    ASSERT_FALSE(etaz.IsEmpty());
    etaz.Edit();
    etaz.FieldByName(QStringLiteral("HS")).AsInteger(57);
    EXPECT_EQ(etaz.FieldByName(QStringLiteral("OBMYTI")).AsInteger(), 130);
    EXPECT_EQ(etaz.FieldByName(QStringLiteral("OBN_DOBA")).AsInteger(), 40);
    EXPECT_EQ(etaz.FieldByName(QStringLiteral("POC_OBNOVY")).AsInteger(), 110);
    EXPECT_EQ(etaz.FieldByName(QStringLiteral("MZD")).AsInteger(), 35);
    etaz.FieldByName(QStringLiteral("HS")).AsInteger(99);   // not a set of TAB_HS: nothing copied
    EXPECT_EQ(etaz.FieldByName(QStringLiteral("OBMYTI")).AsInteger(), 130);
    etaz.Cancel();
}

TEST_F(Ovr, AnUnknownSpeciesIsRefusedWithItsDesignation)
{
    make(Version::V97);
    auto ovr = open(Version::V97);
    db::Table& dr = ovr->TB_DR();
    ASSERT_FALSE(dr.IsEmpty());
    const QString before = dr.FieldByName(QStringLiteral("DR_ZKR")).AsString();
    dr.Edit();
    dr.FieldByName(QStringLiteral("DR_ZKR")).AsString(QStringLiteral("QQ"));
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].startsWith(QStringLiteral("Chybně dřevina 1A")));
    EXPECT_TRUE(messageTexts()[0].endsWith(QStringLiteral(" \"QQ\"")));
    EXPECT_EQ(dr.FieldByName(QStringLiteral("DR_ZKR")).AsString(), before);
    dr.Cancel();
    recorder().clear();
    dr.Edit();
    dr.FieldByName(QStringLiteral("DR_ZKR")).AsString(QStringLiteral("bk"));
    EXPECT_TRUE(messageTexts().isEmpty());
    dr.Cancel();
}

TEST_F(Ovr, ANewThinningProposalTakesItsUrgencyFromTheStoreysAge)
{
    make(Version::V97);
    auto ovr = open(Version::V97);
    for (const auto& [age, urgency] : {std::pair{40, 1}, std::pair{41, 2}}) {
        db::Table& etaz = ovr->TB_ETAZ();
        etaz.Edit();
        etaz.FieldByName(QStringLiteral("VEK")).AsInteger(age);
        etaz.Post();
        ovr->SetNavrhRanges();
        const int before = ovr->TB_NAVRH().RecordCount();
        ovr->TB_NAVRH().Insert();
        PostIfEditing(ovr->TB_NAVRH());
        ASSERT_EQ(ovr->TB_NAVRH().RecordCount(), before + 1);
        db::Table& navrh = ovr->TB_NAVRH();
        navrh.Last();
        EXPECT_EQ(navrh.FieldByName(QStringLiteral("N_Nalehavost")).AsInteger(), urgency);
        EXPECT_EQ(navrh.FieldByName(QStringLiteral("N_Druh_vykonu")).AsInteger(), 11);
        EXPECT_GT(navrh.FieldByName(QStringLiteral("ID")).AsInteger(), 0);
    }
}

TEST_F(Ovr, AfforestationRowsOfOtherKindsOrUnknownSpeciesAreNotStored)
{
    make(Version::V97);
    auto ovr = open(Version::V97);
    db::Table& zal = ovr->TB_ZAL();
    ovr->SetNavrhRanges();
    const int before = zal.RecordCount();
    auto add = [&](int kind, const QString& species, double area) {
        zal.Insert();
        zal.FieldByName(QStringLiteral("N_Druh_vykonu")).AsInteger(kind);
        zal.FieldByName(QStringLiteral("N_Zkratka_dreviny")).AsString(species);
        zal.FieldByName(QStringLiteral("N_Plocha")).AsFloat(area);
        zal.FieldByName(QStringLiteral("ID")).AsFloat(7000 + kind);
        zal.Post();
        PostIfEditing(zal);
    };
    add(6, QStringLiteral("BK"), 0.5);
    EXPECT_EQ(zal.RecordCount(), before);
    add(2, QStringLiteral("XX"), 0.5);
    EXPECT_EQ(zal.RecordCount(), before);
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].startsWith(QStringLiteral("Chybně zales.dřevina ")));
    add(3, QStringLiteral("JD"), 0.125);
    ASSERT_EQ(zal.RecordCount(), before + 1);
    bool found = false;
    for (zal.First(); !zal.Eof(); zal.Next())
        if (zal.FieldByName(QStringLiteral("ID")).AsInteger() == 7003) {
            found = true;
            EXPECT_DOUBLE_EQ(zal.FieldByName(QStringLiteral("N_Plocha")).AsFloat(), 0.12);
            EXPECT_EQ(zal.FieldByName(QStringLiteral("ZpZadTV")).AsString(), QStringLiteral("2"));
        }
    EXPECT_TRUE(found);
}

TEST_F(Ovr, ASecondDamageOfOneKindOnASpeciesIsRefused)
{
    make(Version::V97);
    auto ovr = open(Version::V97);
    db::Table& damage = ovr->Tb_Poskoz();
    const int before = damage.RecordCount();
    damage.Insert();
    damage.FieldByName(QStringLiteral("Druh_poskozeni")).AsInteger(4);
    damage.FieldByName(QStringLiteral("Stupen_poskozeni")).AsInteger(1);
    damage.Post();
    ASSERT_EQ(damage.RecordCount(), before + 1);
    EXPECT_DOUBLE_EQ(damage.FieldByName(QStringLiteral("Vazba")).AsFloat(),
                     ovr->TB_DR().FieldByName(QStringLiteral("ID")).AsFloat());
    damage.Insert();
    damage.FieldByName(QStringLiteral("Druh_poskozeni")).AsInteger(4);
    damage.Post();
    PostIfEditing(damage);
    EXPECT_EQ(damage.RecordCount(), before + 1);
    EXPECT_EQ(messageTexts(), QStringList({QStringLiteral(
                                  "U jedné dřeviny se nemůže vyskytovat dvakrát stejny druh poškozeni. Ruším poslední řádek.")}));
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
