// Tests of bare land, other land and other areas: prefixed aliases, area quality, texts.
#include "HierarchyTestSupport.h"

#include "forest/hierarchy/NonStockedLand.h"

using namespace hierarchytest;

using NonStockedLandTest = HierarchyFixture;

TEST_F(NonStockedLandTest, AreaQualityChoosesTheArea)
{
    auto jp = Create<TJinyPozemek>();
    jp->SetPropAsString("JP_P0", "2");
    jp->SetPropAsString("JP_V", "3");
    jp->SetPropAsInteger("JP_KVAL_Vypocet", 1);
    EXPECT_EQ(jp->GetPropAsString("JP_P"), "3");
    EXPECT_EQ(jp->KVAL_P(), 1);
    jp->SetPropAsInteger("JP_KVAL_Vypocet", 3);
    EXPECT_EQ(jp->GetPropAsString("JP_P"), "2");
    auto bzl = Create<TBezlesi>();
    bzl->SetPropAsString("BZL_P0", "1,5");
    bzl->SetPropAsInteger("BZL_KVAL_Vypocet", 2);
    EXPECT_DOUBLE_EQ(bzl->Plocha(), 1.5);
    EXPECT_EQ(bzl->GetPropAsString("BZL_P_st"), "  1,50");
}

TEST_F(NonStockedLandTest, PrefixedNamesShareTheFields)
{
    auto bzl = Create<TBezlesi>();
    bzl->SetPropAsString("BZL_DRUH", "7");
    EXPECT_EQ(bzl->GetPropAsString("VYUZITI"), "7");
    bzl->SetPropAsInteger("MAJ_KOD_BZL", 3);
    EXPECT_EQ(bzl->GetPropAsInteger("MAJ_KOD"), 3);
    bzl->SetPropAsInteger("KAT_PAR_KOD_BZL", 8);
    EXPECT_EQ(bzl->GetPropAsInteger("POT_VLAST"), 8);
    bzl->SetPropAsInteger("KU_KOD_BZL", 600);
    EXPECT_EQ(bzl->KU_KOD(), 600);
    auto jp = Create<TJinyPozemek>();
    jp->SetPropAsString("DRUH_POZ_JP", "2");
    EXPECT_EQ(jp->GetPropAsString("DRUH_POZ"), "2");
    jp->SetPropAsInteger("LES_URAD_JP", 71);
    EXPECT_EQ(jp->LES_URAD(), 71);
    auto ost = Create<TOstatni>();
    ost->SetPropAsString("OST_V", "4");
    EXPECT_DOUBLE_EQ(ost->Vymera(), 4.0);
    EXPECT_FALSE(ost->HasProperty("MAJ_KOD_OST"));
}

TEST_F(NonStockedLandTest, DesignationsBuiltOnTheStand)
{
    TPorost* porost = header->AktualniPorostVzdy();
    porost->SetPOR("3");
    porost->BezlesiMN()->NovyPrvek("1");
    porost->Bezlesi()->SetPropAsInteger("BZL", 1);
    porost->OstatniMN()->NovyPrvek("2");
    porost->Ostatni()->SetPropAsInteger("OST", 2);
    EXPECT_EQ(porost->Bezlesi()->GetPropAsString("CeleOznaceni"), "Porost: ODD Vzdy3 Bezlesí: 1");
    EXPECT_EQ(porost->Ostatni()->GetPropAsString("CeleOznaceni"), "Porost: ODD Vzdy3 Ostatni: 2");
    EXPECT_EQ(Create<TBezlesi>()->GetPropAsString("CeleOznaceni"), " Bezlesí: 0");
}
