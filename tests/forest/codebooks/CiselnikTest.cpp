// Tests of the codebook container: file codebooks opened once beside the program, assigned tables, views.
#include "forest/codebooks/Ciselnik.h"
#include "forest/codebooks/CodeLookup.h"
#include "forest/codebooks/DatabaseMelDrevClass.h"
#include "forest/support/ForestTestSupport.h"
#include "framework/elements/DatabaseClasses.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "support/ParadoxFixture.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

using foresttest::recorder;

const QList<test::FixtureField> nameFields = {{"KOD", "A", 4}, {"POPIS", "A", 40}};

class Ciselnik : public foresttest::ForestFixture
{
protected:
    void SetUp() override
    {
        ForestFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        files::setProgramDirectory(dir.path());
    }
    void TearDown() override { files::setProgramDirectory(QString()); }

    // The codebook directory, named in another letter case than the program asks for.
    QString codebookDir()
    {
        QDir(dir.path()).mkdir("CISELNIK");
        return dir.filePath("CISELNIK");
    }

    QTemporaryDir dir;
    Owned<tciselnik> container = Create<tciselnik>();
};

TEST_F(Ciselnik, MissingDirectoryIsSilentAndNotRetried)
{
    for (int i = 0; i < codebookCount; ++i)
        EXPECT_EQ(container->Table(static_cast<Codebook>(i)), nullptr) << codebookInfo(static_cast<Codebook>(i)).tableProperty;
    EXPECT_EQ(LookupCodeName(container->Table(Codebook::tb_LeOb), "KOD", "5", "POPIS", false), "");
    test::writeParadoxTable(codebookDir() + "/CIS_LEOB.DB", nameFields, {{"5", "Krkonoše"}});
    EXPECT_EQ(container->Table(Codebook::tb_LeOb), nullptr);
    EXPECT_TRUE(recorder().messages.empty());
    EXPECT_EQ(recorder().beepCount, 0);
}

TEST_F(Ciselnik, FileCodebookOpensOnceReadOnlyInAnyLetterCase)
{
    test::writeParadoxTable(codebookDir() + "/cis_leob.DB", nameFields, {{"5", "Krkonoše"}, {"6", "Jizerské hory"}});
    db::Table* table = container->Table(Codebook::tb_LeOb);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(container->Table(Codebook::tb_LeOb), table);
    EXPECT_TRUE(table->isReadOnlyStorage());
    EXPECT_EQ(LookupCodeName(table, "KOD", "6", "POPIS", false), "Jizerské hory");
    EXPECT_EQ(LookupCodeName(table, "KOD", "7", "POPIS", false), "7");
}

TEST_F(Ciselnik, DamagedFileAnswersNil)
{
    QFile damaged(codebookDir() + "/Cis_LeOb.db");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a table");
    damaged.close();
    EXPECT_EQ(container->Table(Codebook::tb_LeOb), nullptr);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(Ciselnik, AssignedTablesAreAnsweredAsAssigned)
{
    test::writeParadoxTable(codebookDir() + "/CIS_LEOB.DB", nameFields, {{"5", "ze souboru"}});
    test::writeParadoxTable(dir.filePath("OLH.DB"), nameFields, {{"1", "Novák"}});
    db::Table olh;
    olh.SetTableName(dir.filePath("OLH.DB"));
    EXPECT_EQ(container->Table(Codebook::tb_OLH), nullptr);
    container->SetTable(Codebook::tb_OLH, &olh);
    EXPECT_EQ(container->Table(Codebook::tb_OLH), &olh);
    container->SetTable(Codebook::tb_LeOb, &olh);   // a file codebook assigned from outside
    EXPECT_EQ(container->Table(Codebook::tb_LeOb), &olh);
    EXPECT_FALSE(olh.Active());
    container->SetTable(Codebook::tb_OLH, nullptr);
    container->SetTable(Codebook::tb_LeOb, nullptr);
}

TEST_F(Ciselnik, ViewsAreMadeOnceFromTheTableHeld)
{
    EXPECT_EQ(container->View(Codebook::tb_LeOb), nullptr);   // never opened: no view
    test::writeParadoxTable(codebookDir() + "/CIS_LEOB.DB", nameFields, {{"5", "Krkonoše"}});
    ASSERT_NE(container->Table(Codebook::tb_LeOb), nullptr);
    TDatabaseClass* view = container->View(Codebook::tb_LeOb);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(container->View(Codebook::tb_LeOb), view);
    EXPECT_EQ(view->GetName(), "LES_OBL");
    EXPECT_EQ(view->AdressField(), "KOD");
    EXPECT_EQ(view->NameField(), "KOD");
    EXPECT_EQ(container->IndexOf(view), 0);
    EXPECT_EQ(GetObjectPropByName(container.get(), "Tb_LeObClass"), view);
    ASSERT_NE(view->FindElementByName("5"), nullptr);
    EXPECT_EQ(view->FindElementByName("5")->GetPropAsString("POPIS"), "Krkonoše");
}

TEST_F(Ciselnik, SpeciesViewIsAddressedByName)
{
    test::writeParadoxTable(codebookDir() + "/CIS_DREV.DB", {{"CKOD", "A", 3}, {"NKOD", "S"}, {"POPIS_CS", "A", 30}},
                            {{"SM", 1, "smrk ztepilý"}});
    ASSERT_NE(container->Table(Codebook::tb_DrevCis), nullptr);
    TDatabaseClass* view = container->View(Codebook::tb_DrevCis);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetName(), "DREVINY");
    EXPECT_EQ(view->AdressField(), "");
    EXPECT_EQ(view->NameField(), "CKOD");
}

TEST_F(Ciselnik, MixtureViewJoinsSpeciesAndForestTypes)
{
    test::writeParadoxTable(dir.filePath("MEL_DREV.DB"),
                            {{"Cislo_HS", "S"}, {"Mel_DR1", "A", 3}, {"Mel_DR2", "A", 3}, {"Mel_DR3", "A", 3},
                             {"Mel_DR4", "A", 3}, {"LT", "A", 20}},
                            {{1, "SM", "  ", "BK", QVariant(), "1a 2b  3c;"}, {2, QVariant(), "JD", QVariant(), QVariant(), ""}});
    db::Table mixture;
    mixture.SetTableName(dir.filePath("MEL_DREV.DB"));
    container->SetTable(Codebook::TB_Mel_Drev, &mixture);
    auto* view = dynamic_cast<TDatabaseMel_DrevClass*>(container->View(Codebook::TB_Mel_Drev));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetName(), "Mel_Drev");
    ASSERT_TRUE(view->OpenDataSource());
    view->DataSet()->First();
    EXPECT_EQ(view->DR_ZKR(), "SM&BK");
    EXPECT_EQ(view->GetPropAsString("LT_SLT"), "1a&2b&3c");
    view->DataSet()->Next();
    EXPECT_EQ(view->DR_ZKR(), "&JD");   // Mel_DR1 is taken even when empty
    EXPECT_EQ(view->LT_SLT(), "");
    container->SetTable(Codebook::TB_Mel_Drev, nullptr);
}

TEST_F(Ciselnik, CodebooksByPropertyName)
{
    Codebook c = Codebook::Tb_HS;
    ASSERT_TRUE(codebookByName("TB_ODVOZ_TEZ", c));
    EXPECT_EQ(c, Codebook::TB_ODVOZ_TEZ);
    ASSERT_TRUE(codebookByName("tb_zvl_stat", c));
    EXPECT_EQ(c, Codebook::tb_ZVL_Stat);
    EXPECT_FALSE(codebookByName("Tb_Neni", c));
    EXPECT_STREQ(codebookInfo(Codebook::tb_DrevCis).fileName, "CIS_DREV.DB");
    EXPECT_EQ(codebookInfo(Codebook::tb_Majetky).fileName, nullptr);
}

// Every codebook's table is a published property of type TTable beside its view: read by name
// it opens a file codebook as the container does, written by name it assigns a table.
TEST_F(Ciselnik, TablesArePublishedByName)
{
    const TClass cls = tciselnik::StaticClass();
    for (int i = 0; i < codebookCount; ++i) {
        const CodebookInfo& info = codebookInfo(static_cast<Codebook>(i));
        const int index = IndexOfProp(container.get(), QLatin1String(info.tableProperty));
        ASSERT_GE(index, 0) << info.tableProperty;
        EXPECT_EQ(cls->Prop(index)->Kind, tkClass) << info.tableProperty;
        EXPECT_EQ(cls->Prop(index)->TypeName(), "TTable") << info.tableProperty;
        EXPECT_EQ(IndexOfProp(container.get(), QLatin1String(info.viewProperty)), index + 1) << info.viewProperty;
    }

    test::writeParadoxTable(codebookDir() + "/Cis_LeOb.db", nameFields, {{"5", "Krkonoše"}});
    db::Table* opened = GetForeignPropByName<db::Table>(container.get(), "TB_LEOB");
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened, container->Table(Codebook::tb_LeOb));
    EXPECT_EQ(GetObjectPropByName(container.get(), "tb_LeOb"), nullptr);   // not a framework object

    db::Table olh;
    EXPECT_TRUE(SetForeignPropByName(container.get(), "tb_OLH", &olh));
    EXPECT_EQ(container->Table(Codebook::tb_OLH), &olh);
    EXPECT_EQ(GetForeignPropByName<db::Table>(container.get(), "tb_OLH"), &olh);
    EXPECT_FALSE(SetForeignPropByName(container.get(), "tb_Neni", &olh));
    EXPECT_TRUE(SetForeignPropByName<db::Table>(container.get(), "tb_OLH", nullptr));
    EXPECT_EQ(container->Table(Codebook::tb_OLH), nullptr);
}

TEST_F(Ciselnik, DamagedCodebookFilesNeverCrash)
{
    // Deterministic mutations of a small codebook: flipped bytes, cuts and insertions. The
    // container answers nil or a table; a lookup answers a text or raises a database error.
    const QString path = codebookDir() + "/CIS_TETY.DB";
    test::writeParadoxTable(path, nameFields, {{"1", "rovina"}, {"2", "svah"}, {"3", "hřbet"}});
    QFile original(path);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray good = original.readAll();
    original.close();
    QRandomGenerator random(20261207);
    for (int round = 0; round < 600; ++round) {
        QByteArray bytes = good;
        switch (round % 3) {
        case 0:
            for (int i = 0; i < 4; ++i)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            break;
        case 1:
            bytes.truncate(random.bounded(int(bytes.size())));
            break;
        default:
            bytes.insert(random.bounded(int(bytes.size())), QByteArray(random.bounded(1, 64), char(random.bounded(256))));
        }
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        Owned<tciselnik> fresh = Create<tciselnik>();
        db::Table* table = fresh->Table(Codebook::tb_TeTy);
        if (!table)
            continue;
        try {
            LookupCodeName(table, "KOD", "2", "POPIS", false);
        } catch (const EDatabaseError&) {
        }
    }
    EXPECT_TRUE(recorder().messages.empty());
}

} // namespace
