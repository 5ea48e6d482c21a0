// Tests of the codebook texts of the hierarchy: codebook tables of the unit's container and the
// codebook root's sets, found through the owners.
#include "HierarchyTestSupport.h"

#include "forest/codebooks/CiselLumex.h"
#include "forest/codebooks/Ciselnik.h"
#include "platform/db/Table.h"
#include "support/ParadoxFixture.h"

#include <QTemporaryDir>

#include <list>

using namespace hierarchytest;

namespace {

class CodebookTextsTest : public HierarchyFixture
{
protected:
    void SetUp() override
    {
        HierarchyFixture::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        container = header->AddNew<tciselnik>();
        assign(Codebook::tb_LDU, "LDU.DB", {{"Kod", "I"}, {"POPIS", "A", 40}}, {{71, "71 - Brno"}});
        assign(Codebook::tb_DrevCis, "DREV.DB",
               {{"CKOD", "A", 3}, {"NKOD", "A", 3}, {"POPIS_CS", "A", 20}, {"POP_NEMEC", "A", 20},
                {"Cislo_SLHP", "A", 4}},
               {{"BK", " 51", "buk", "Buche", "12"}, {"SM", "1", "smrk", "Fichte", ""}});
        assign(Codebook::TB_Mel_Drev, "MEL.DB", {{"Cislo_HS", "I"}, {"Mel_DR1", "A", 3}, {"LT", "A", 20}, {"MZD", "I"}},
               {{3, "SM", "5B 5S", 95}}, 2);
    }
    void TearDown() override
    {
        header = nullptr;   // the container goes before the tables it was given
        HierarchyFixture::TearDown();
    }

    void assign(Codebook codebook, const QString& file, const QList<test::FixtureField>& fields,
                const QList<QVariantList>& rows, int keyFields = 0)
    {
        test::FixtureOptions options;
        options.keyFields = keyFields;
        test::writeParadoxTable(m_dir.filePath(file), fields, rows, options);
        db::Table& table = m_tables.emplace_back();
        table.SetDatabaseName(m_dir.path());
        table.SetTableName(file);
        table.Open();
        container->SetTable(codebook, &table);
    }

    TCiselLumex* root()
    {
        auto* element = header->AddNew<TCiselLumex>();
        element->SetName("CiselLumex");
        return element;
    }

    QTemporaryDir m_dir;
    std::list<db::Table> m_tables;
    tciselnik* container = nullptr;
};

} // namespace

TEST_F(CodebookTextsTest, NamesFromTheContainersTables)
{
    TEtaz* etaz = storey();
    TPorostniSkupina* group = etaz->OwnerPorostniSkupina();
    group->SetLES_URAD(71);
    EXPECT_EQ(group->GetPropAsString("LES_URAD_Nazev"), "71 - Brno");
    group->SetLES_URAD(72);
    EXPECT_EQ(group->GetPropAsString("LES_URAD_Nazev"), "72");   // missing code: the code itself
    EXPECT_EQ(group->GetPropAsString("TER_TYP_Nazev"), "");      // no table: empty
}

TEST_F(CodebookTextsTest, SpeciesCodeAndNamesFromTheSpeciesCodebook)
{
    TDrevina* bk = species(storey(), "BK");
    EXPECT_EQ(bk->DR_KOD(), 51);
    EXPECT_EQ(bk->GetPropAsString("DR_ZKR_nazev"), "buk");
    EXPECT_EQ(bk->GetPropAsString("DR_ZKR_nazev_nemecky"), "Buche");
    EXPECT_EQ(bk->Cislo_SLHP(), 12);
    TDrevina* sm = species(storey(), "SM");
    EXPECT_EQ(sm->Cislo_SLHP(), 0);
    // A species the codebook lacks: the species table's code, no conversion error.
    TDrevina* jd = species(storey(), "JD");
    EXPECT_EQ(jd->DR_KOD(), 10);
    EXPECT_EQ(jd->Cislo_SLHP(), 0);
    EXPECT_EQ(jd->GetPropAsString("DR_ZKR_nazev"), "JD");
}

TEST_F(CodebookTextsTest, MinimumFellingAgeThroughTheContainer)
{
    TEtaz* etaz = storey();
    etaz->SetHS(3);
    etaz->OwnerPorostniSkupina()->SetLT("5S");
    EXPECT_EQ(etaz->GetPropAsInteger("MZDDleHS"), 95);
}

TEST_F(CodebookTextsTest, RootSetsBeatTheTables)
{
    TCiselLumex* codebooks = root();
    TEtaz* etaz = storey();
    TPorostniSkupina* group = etaz->OwnerPorostniSkupina();
    TPorost* porost = group->OwnerPorost();
    porost->SetMAJ_KOD(5);
    porost->SetPropAsString("OLH_98", "stored");
    EXPECT_EQ(porost->GetPropAsString("OLH_98"), "stored");
    codebooks->MajetkyMN()->NovyPrvek("5");
    TElement* owner = codebooks->MajetkyMN()->AktualniPrvek();
    owner->SetPropAsString("MAJ_KOD_C", "5");
    owner->SetPropAsString("MAJ_NAZ_C", "Obec Lhota");
    owner->SetPropAsString("ODB_SPR_C", "44");
    EXPECT_EQ(porost->GetPropAsString("MAJ_NAZ"), "Obec Lhota");
    EXPECT_EQ(porost->GetPropAsString("OLH_98"), "44");
    codebooks->KatastryMN()->NovyPrvek("600");
    codebooks->KatastryMN()->AktualniPrvek()->SetPropAsString("Kod", "600");
    codebooks->KatastryMN()->AktualniPrvek()->SetPropAsString("Popis", "Lhota");
    group->SetKU_KOD(600);
    EXPECT_EQ(group->GetPropAsString("KU_NAZ"), "Lhota");
    codebooks->OrgUroven1MN()->NovyPrvek("2");
    codebooks->OrgUroven1MN()->AktualniPrvek()->SetPropAsString("Kod", "2");
    codebooks->OrgUroven1MN()->AktualniPrvek()->SetPropAsString("Popis", "Polesí 2");
    porost->SetPropAsString("ORG_UROVEN1", "2");
    EXPECT_EQ(porost->GetPropAsString("ORG_UROVEN1_nazev"), "Polesí 2");
}
