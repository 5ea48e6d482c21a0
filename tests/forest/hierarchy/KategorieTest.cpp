// Tests of categories and organisation levels of a stand.
#include "HierarchyTestSupport.h"

#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/NonStockedLand.h"

using namespace hierarchytest;

using KategorieTest = HierarchyFixture;

TEST_F(KategorieTest, CategoriesWithOverlapsReplacedAndJoined)
{
    auto set = Create<TKategorieMN>();
    set->SetPropAsString("NovaKategorieVcetnePrekryvu", "31/99");
    set->SetPropAsString("NovaKategorieVcetnePrekryvu", "10a/02");
    EXPECT_EQ(set->PocetPrvku(), 2);
    EXPECT_EQ(set->Items(0)->GetName(), "KTG 10a");
    EXPECT_EQ(set->GetPropAsString("KategorieVcetnePrekryvu"), "10a/02");
    EXPECT_EQ(set->GetPropAsInteger("KATEGORIEint"), 101);
    set->SetPropAsInteger("KATEGORIEint", 7);
    EXPECT_EQ(set->KATEGORIEint(), 7);
    EXPECT_EQ(Create<TKategorieMN>()->KATEGORIEint(), 0);
}

TEST_F(KategorieTest, CategoryNumberOfLetteredCodes)
{
    auto set = Create<TKategorieMN>();
    set->SetNovaKategorieVcetnePrekryvu("21c");
    EXPECT_EQ(set->KATEGORIEint(), 213);
    set->SetNovaKategorieVcetnePrekryvu("32B");
    EXPECT_EQ(set->KATEGORIEint(), 322);
}

TEST_F(KategorieTest, OrganisationLevelSetAlwaysAddsANewLevel)
{
    auto set = Create<TOrg_UrovenMN>();
    set->NovyPrvek("1");
    set->NovyPrvek("1");
    EXPECT_EQ(set->PocetPrvku(), 2);
    EXPECT_EQ(set->Org_Uroven(), set->Items(1));
    EXPECT_EQ(set->Items(1)->GetName(), "ORGU 1");
}

TEST_F(KategorieTest, DesignationsOnTheStand)
{
    TPorost* porost = header->AktualniPorostVzdy();
    TJinyPozemek::KategorieMN(porost)->SetNovaKategorieVcetnePrekryvu("10a");
    TJinyPozemek::Org_UrovenMN(porost)->NovyPrvek("3");
    TJinyPozemek::Org_UrovenMN(porost)->Org_Uroven()->SetORG_UROVEN(3);
    EXPECT_TRUE(TJinyPozemek::KategorieMN(porost)->Kategorie()->CeleOznaceni().endsWith(" Ktg: 10a"));
    EXPECT_TRUE(TJinyPozemek::Org_UrovenMN(porost)->Org_Uroven()->CeleOznaceni().endsWith(" Org_U: 3"));
    EXPECT_TRUE(TJinyPozemek::KategorieMN(porost)->Kategorie()->CeleOznaceni().startsWith("Porost: "));
}
