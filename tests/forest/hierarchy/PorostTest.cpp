// Tests of stands: region code, text lines, organisation levels, categories, cadastral table.
#include "HierarchyTestSupport.h"

#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/NonStockedLand.h"

using namespace hierarchytest;

using PorostTest = HierarchyFixture;

TEST_F(PorostTest, RegionCodeIsNormalisedOnWrite)
{
    auto porost = Create<TPorost>();
    porost->SetPropAsString("LES_OBL", "3a");
    EXPECT_EQ(porost->GetPropAsString("LES_OBL"), " 3a");
    porost->SetPropAsString("LES_OBL", "XXX");
    EXPECT_EQ(porost->LES_OBL(), "XXX");
    porost->SetPropAsString("LES_OBL", "35");
    EXPECT_EQ(porost->LES_OBL(), "35");
    porost->SetPropAsString("LES_OBL", "AB");
    EXPECT_EQ(porost->LES_OBL(), " ab");
}

TEST_F(PorostTest, TextLinesJoinedWithMarkersAndSplitAgain)
{
    auto porost = Create<TPorost>();
    EXPECT_EQ(porost->GetPropAsString("POR_TEXT_Vse"), "");
    EXPECT_EQ(porost->GetPropAsString("POR_TEXT_1Radek"), "");
    porost->POR_TEXT()->Lines = {" a ", "b", "c", "d", "e", "f", "g", "h"};
    EXPECT_EQ(porost->GetPropAsString("POR_TEXT_Vse"), "a b c@$&d@$&e f@$&g h");
    EXPECT_EQ(porost->GetPropAsString("POR_TEXT_Vse_BezZavin"), "a  b  c  d  e  f  g  h");
    EXPECT_EQ(porost->GetPropAsString("POR_TEXT_1Radek"), " a ");
    porost->SetPropAsString("POR_TEXT_Vse", "x@$&y");
    EXPECT_EQ(porost->POR_TEXT()->Lines, QStringList({"x", "y"}));
}

TEST_F(PorostTest, OrganisationLevelsWrittenAsDigits)
{
    auto porost = Create<TPorost>();
    EXPECT_EQ(porost->GetPropAsString("ORG_UROVEN1"), "");
    porost->SetPropAsString("ORG_UROVEN2", "x15");
    EXPECT_EQ(porost->GetPropAsString("ORG_UROVEN1"), "0");
    EXPECT_EQ(porost->GetPropAsString("ORG_UROVEN2"), "15");
    porost->SetPropAsString("ORG_UROVEN1", "2");
    EXPECT_EQ(porost->GetPropAsString("ORG_UROVEN1"), "2");
    EXPECT_EQ(TJinyPozemek::Org_UrovenMN(porost.get())->PocetPrvku(), 2);
}

TEST_F(PorostTest, MainCategoryAndTheCategorySetCreatedOnFirstRead)
{
    auto porost = Create<TPorost>();
    EXPECT_EQ(porost->CountOfClass(TKategorieMN::StaticClass()), 0);
    EXPECT_EQ(porost->GetPropAsString("HlavniKATEGORIE"), "");
    EXPECT_EQ(porost->CountOfClass(TKategorieMN::StaticClass()), 1);
    TJinyPozemek::KategorieMN(porost.get())->SetNovaKategorieVcetnePrekryvu("10a/02");
    EXPECT_EQ(porost->HlavniKATEGORIE(), "10a");
}

TEST_F(PorostTest, TwoCategorySetsWarnAndTheLastIsUsed)
{
    auto porost = Create<TPorost>();
    porost->AddNew<TKategorieMN>();
    TKategorieMN* second = porost->AddNew<TKategorieMN>();
    EXPECT_EQ(TJinyPozemek::KategorieMN(porost.get()), second);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, "Pozor dvě KategorieMN");
}

TEST_F(PorostTest, CadastralTableSumsAreasByTerritory)
{
    TEtaz* etaz = storey(1.5);
    TPorost* porost = etaz->OwnerPorostniSkupina()->OwnerPorost();
    etaz->OwnerPorostniSkupina()->SetKU_KOD(600);
    select<TPorostniSkupina>(porost->PorostniSkupinaMN(), "2")->SetKU_KOD(600);
    porost->PorostniSkupina()->SetPlocha(0.5);
    select<TPorostniSkupina>(porost->PorostniSkupinaMN(), "3")->SetKU_KOD(700);
    EXPECT_EQ(porost->GetPropAsInteger("PocetKatastruZeSkupin"), 2);
    EXPECT_EQ(porost->CadastralTable()->Row(1)->Klasifikator(), "600");
    EXPECT_DOUBLE_EQ(porost->CadastralTable()->Row(1)->ProPlocha(), 2.0);
    // Counting again starts afresh.
    EXPECT_EQ(porost->PocetKatastruZeSkupin(), 2);
    EXPECT_DOUBLE_EQ(porost->CadastralTable()->Row(1)->ProPlocha(), 2.0);
}

TEST_F(PorostTest, CadastralTableGrowsBeyondFortyTerritories)
{
    auto porost = Create<TPorost>();
    for (int i = 1; i <= 45; ++i)
        select<TPorostniSkupina>(porost->PorostniSkupinaMN(), QString::number(i))->SetKU_KOD(1000 + i);
    EXPECT_EQ(porost->PocetKatastruZeSkupin(), 45);
    EXPECT_EQ(porost->CadastralTable()->RowCount(), 45);
    EXPECT_EQ(porost->CadastralTable()->Row(45)->Klasifikator(), "1045");
}

TEST_F(PorostTest, LongTerritoryTextIsCutWithMessage)
{
    auto row = Create<TRadekPole>();
    row->SetPropAsString("Klasifikator", QString(31, QLatin1Char('k')));
    EXPECT_EQ(row->Klasifikator().size(), 30);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, "Pozor uřezávám Klasifikátor");
}

TEST_F(PorostTest, OwnerNameAndManagerWithoutCodebooksAreEmptyOrStored)
{
    auto porost = Create<TPorost>();
    porost->SetMAJ_KOD(5);
    porost->SetPropAsString("OLH_98", "12");
    EXPECT_EQ(porost->GetPropAsString("MAJ_NAZ"), "");
    EXPECT_EQ(porost->GetPropAsString("OLH_98"), "12");
    EXPECT_EQ(porost->GetPropAsString("OLH"), "12");
    EXPECT_EQ(porost->GetPropAsString("OLH_LIC"), "");
}
