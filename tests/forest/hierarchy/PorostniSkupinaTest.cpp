// Tests of stand groups: designations, storey designations, owner data, area aliases.
#include "HierarchyTestSupport.h"

using namespace hierarchytest;

using PorostniSkupinaTest = HierarchyFixture;

TEST_F(PorostniSkupinaTest, DesignationPartsAreNormalised)
{
    auto group = Create<TPorostniSkupina>();
    group->SetPropAsString("PSK", "1a/2");
    EXPECT_EQ(group->PSK(), " 1a/ 2 ");
    group->SetPropAsString("PSK", "1\\a");
    EXPECT_EQ(group->PSK(), " 1 / a ");
}

TEST_F(PorostniSkupinaTest, DesignationFromStoreys)
{
    TEtaz* first = storey();
    TPorostniSkupina* group = first->OwnerPorostniSkupina();
    select<TEtaz>(group->EtazMN(), "2")->SetETAZ("2");
    EXPECT_EQ(group->GetPropAsString("PSKzEtazi"), " 1 / 2 ");
    EXPECT_EQ(group->GetPropAsString("PSKzEtaziProKont"), " 1/ 2");
}

TEST_F(PorostniSkupinaTest, AreaAliasesShareFieldsAndOwnerComesFromStand)
{
    TPorostniSkupina* group = storey()->OwnerPorostniSkupina();
    group->SetPropAsString("PSK_P0", "2,5");
    EXPECT_DOUBLE_EQ(group->Plocha0(), 2.5);
    group->SetPropAsString("PSK_V", "3");
    EXPECT_EQ(group->GetPropAsString("Vymera"), "3");
    group->SetPropAsString("PSK_P", "1,25");
    EXPECT_DOUBLE_EQ(group->Plocha(), 1.25);
    group->SetPouzivatPlochuJakoVymeru(true);
    EXPECT_EQ(group->GetPropAsString("PSK_P"), "3");
    group->SetPropAsInteger("KAT_PAR_KOD", 4);
    EXPECT_EQ(group->GetPropAsInteger("POT_VLAST"), 4);
    group->SetPropAsInteger("LES_URAD_Z_KU_KOD", 7123456);
    EXPECT_EQ(group->LES_URAD(), 71);
    group->OwnerPorost()->SetMAJ_KOD(9);
    EXPECT_EQ(group->GetPropAsInteger("MAJ_KOD"), 9);
    EXPECT_EQ(Create<TPorostniSkupina>()->MAJ_KOD(), 0);
}

TEST_F(PorostniSkupinaTest, GroupSetNormalisesKeys)
{
    TPorost* porost = storey()->OwnerPorostniSkupina()->OwnerPorost();
    TPorostniSkupinaMN* set = porost->PorostniSkupinaMN();
    EXPECT_EQ(set->Items(0)->GetName(), "SKUP  1a");
    set->SetJmenoAktualnihoPrvku("1A");
    EXPECT_EQ(set->AktualniPrvek(), set->Items(0));
    set->NovyNeboAktualniPrvek("2");
    set->NovyNeboAktualniPrvek("1A");
    EXPECT_EQ(set->AktualniPrvek(), set->Items(0));
    EXPECT_EQ(set->PocetPrvku(), 2);
    EXPECT_EQ(set->JmenoStarehoPrvku(), " 2 ");
}
