// Tests of the stand-group recalculation: areas, stocks by method, shares, stocking, felling.
#include "HierarchyTestSupport.h"

#include "forest/hierarchy/Zalesneni.h"

using namespace hierarchytest;

using StandGroupRecalculationTest = HierarchyFixture;

TEST_F(StandGroupRecalculationTest, AreaQualityChoosesTheGroupArea)
{
    TPorostniSkupina* group = storey()->OwnerPorostniSkupina();
    group->SetVymera(1.5);
    group->SetPlocha0(2.5);
    group->SetPropAsInteger("PSK_KVAL_Vypocet", 1);
    EXPECT_DOUBLE_EQ(group->Plocha(), 1.5);
    EXPECT_EQ(group->KVAL_P(), 1);
    group->SetPropAsInteger("PSK_KVAL_Vypocet", 2);
    EXPECT_DOUBLE_EQ(group->Plocha(), 2.5);
}

TEST_F(StandGroupRecalculationTest, StoreyAreasSharedByStocking)
{
    TEtaz* first = storey(2.0);
    TPorostniSkupina* group = first->OwnerPorostniSkupina();
    group->SetPlocha0(2.0);
    first->SetZAKM(6);
    TEtaz* second = select<TEtaz>(group->EtazMN(), "2");
    second->SetZAKM(4);
    group->SetPSK_KVAL_Vypocet(2);
    EXPECT_DOUBLE_EQ(first->ETAZ_PP(), 1.2);
    EXPECT_DOUBLE_EQ(second->ETAZ_PP(), 0.8);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(StandGroupRecalculationTest, ZeroStockingSharesTheAreaEquallyWithMessage)
{
    TEtaz* first = storey();
    TPorostniSkupina* group = first->OwnerPorostniSkupina();
    group->SetPlocha0(1.0);
    TEtaz* second = select<TEtaz>(group->EtazMN(), "2");
    TEtaz* third = select<TEtaz>(group->EtazMN(), "3");
    group->SetPSK_KVAL_Vypocet(2);
    EXPECT_NEAR(first->ETAZ_PP(), 0.34, 1e-9);
    EXPECT_NEAR(second->ETAZ_PP(), 0.33, 1e-9);
    EXPECT_NEAR(third->ETAZ_PP(), 0.33, 1e-9);
    for (TEtaz* etaz : {first, second, third})
        EXPECT_GE(etaz->ETAZ_PP(), 0.0);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, "V porostní skupině " + group->CeleOznaceni() + " je zakmenění=0");
}

TEST_F(StandGroupRecalculationTest, MarkedAreasFollowTheGroup)
{
    TEtaz* etaz = storey();
    TPorostniSkupina* group = etaz->OwnerPorostniSkupina();
    group->SetPlocha0(3.0);
    etaz->SetZAKM(10);
    etaz->SetPropAsBoolean("TV_PMenit", true);
    etaz->SetPropAsBoolean("PlochaZalesneniMenit", true);
    etaz->SetPRO_P(0.5);
    etaz->ZalesneniMN()->NovyPrvek("SM");
    etaz->Zalesneni()->SetZAL_DR_P(100);
    group->SetPSK_KVAL_Vypocet(2);
    EXPECT_DOUBLE_EQ(etaz->TV_P(), 3.0);
    EXPECT_DOUBLE_EQ(etaz->PRO_P(), 0.5);
    EXPECT_DOUBLE_EQ(etaz->ZAL_P(), 3.0);
}

TEST_F(StandGroupRecalculationTest, GivenStockPerHectareGivesTotalsSharesAndStocking)
{
    TEtaz* etaz = storey(1.5);
    TPorostniSkupina* group = etaz->OwnerPorostniSkupina();
    group->SetPlocha0(1.5);
    etaz->SetZAKM(3);
    TDrevina* sm = species(etaz, "SM", 50);
    TDrevina* bk = species(etaz, "BK", 50);
    for (TDrevina* d : {sm, bk}) {
        d->SetZpZadZasT(TZpZadZas::dleVsHA);
        d->SetDR_ZAS_HA(300);
    }
    sm->SetZAS_TAB_HA(300);
    bk->SetZAS_TAB_HA(600);
    group->SetPSK_KVAL_Vypocet(2);
    EXPECT_EQ(sm->DR_ZAS_CEL(), 450);
    EXPECT_EQ(bk->DR_ZAS_CEL(), 450);
    // Reduced areas 1.5 and 0.75: stocking 2.25 / 1.5 × 10, shares 2 : 1.
    EXPECT_EQ(etaz->ZAKM(), 15);
    EXPECT_EQ(sm->ZAST(), 67);
    EXPECT_EQ(bk->ZAST(), 33);
    EXPECT_DOUBLE_EQ(etaz->ETAZ_PP(), 1.5);
}

TEST_F(StandGroupRecalculationTest, GivenStocksWithoutTableStockKeepSharesAndStocking)
{
    TEtaz* etaz = storey(1.0);
    etaz->OwnerPorostniSkupina()->SetPlocha0(1.0);
    etaz->SetZAKM(7);
    TDrevina* d = species(etaz, "SM", 80);
    d->SetZpZadZasT(TZpZadZas::dleVsCel);
    d->SetDR_ZAS_CEL(250);
    etaz->OwnerPorostniSkupina()->SetPSK_KVAL_Vypocet(2);
    EXPECT_EQ(d->DR_ZAS_HA(), 250);
    EXPECT_EQ(etaz->ZAKM(), 7);
    EXPECT_EQ(d->ZAST(), 80);
}

TEST_F(StandGroupRecalculationTest, MixedMethodsTakeTheStoreyMethod)
{
    TEtaz* etaz = storey(2.0);
    etaz->OwnerPorostniSkupina()->SetPlocha0(2.0);
    etaz->SetM_Z_ZASOBY(1);
    TDrevina* given = species(etaz, "SM", 50);
    given->SetZpZadZasT(TZpZadZas::dleVsHA);
    TDrevina* byShare = species(etaz, "BK", 50);
    byShare->SetZpZadZasT(TZpZadZas::dleZast);
    byShare->SetDR_ZAS_CEL(800);
    byShare->SetZAS_TAB_HA(400);
    given->SetDR_ZAS_CEL(400);
    given->SetZAS_TAB_HA(400);
    etaz->OwnerPorostniSkupina()->SetPSK_KVAL_Vypocet(2);
    EXPECT_EQ(given->ZpZadZasT(), TZpZadZas::dleVsCel);
    EXPECT_EQ(byShare->ZpZadZasT(), TZpZadZas::dleVsCel);
    EXPECT_EQ(byShare->DR_ZAS_HA(), 400);
    EXPECT_EQ(byShare->ZAST(), 67);
    EXPECT_EQ(given->ZAST(), 33);
    EXPECT_EQ(etaz->ZAKM(), 15);
}

TEST_F(StandGroupRecalculationTest, WholeAreaFelledTakesTheWholeStock)
{
    TEtaz* etaz = storey(2.0);
    etaz->OwnerPorostniSkupina()->SetPlocha0(2.0);
    etaz->SetTO_P(2.0);
    TDrevina* d = species(etaz, "SM");
    d->SetZpZadZasT(TZpZadZas::dleVsCel);
    d->SetDR_ZAS_CEL(640);
    d->SetDR_TO(10);
    etaz->OwnerPorostniSkupina()->SetPSK_KVAL_Vypocet(2);
    EXPECT_EQ(d->DR_TO(), d->DR_ZAS_CEL());
    EXPECT_EQ(d->DR_TO(), 640);
}

TEST_F(StandGroupRecalculationTest, StoreyOfATinyGroupIsLeftAlone)
{
    TEtaz* etaz = storey(0.0005);
    TDrevina* d = species(etaz, "SM");
    d->SetZpZadZasT(TZpZadZas::dleVsHA);
    d->SetDR_ZAS_HA(300);
    d->SetDR_ZAS_CEL(7);
    etaz->RecalculateStocks();
    EXPECT_EQ(d->DR_ZAS_CEL(), 7);
}

TEST_F(StandGroupRecalculationTest, StocksByShareComeFromTheYieldTables)
{
    TEtaz* etaz = storey(2.0);
    etaz->OwnerPorostniSkupina()->SetPlocha0(2.0);
    etaz->SetZAKM(10);
    TDrevina* d = species(etaz, "SM");
    d->SetPropAsString("ZPZADZAS", "0");
    d->SetTLOUSTKA(30);
    d->SetVYSKA(28);
    etaz->OwnerPorostniSkupina()->SetPSK_KVAL_Vypocet(2);
    EXPECT_EQ(d->DR_ZAS_HA(), 619);
    EXPECT_EQ(d->DR_ZAS_CEL(), 1238);
    EXPECT_EQ(d->VypoctenaTabulkovaZasoba(), 619);
    EXPECT_GT(d->POCET_KMENU(), 0);
    EXPECT_DOUBLE_EQ(d->VYCETNI_ZAKLADNA(), 48.0);
}
