// Tests of the unit header: its computed values and the "always" chain of current levels.
#include "HierarchyTestSupport.h"

#include "forest/hierarchy/NonStockedLand.h"

using namespace hierarchytest;

using LhcTest = HierarchyFixture;

TEST_F(LhcTest, EtatSumsFellingsAndUhulKodReadsZeroWhenEmpty)
{
    header->SetPropAsInteger("ETAT_TO", 1200);
    header->SetPropAsInteger("ETAT_TV", 300);
    EXPECT_EQ(header->GetPropAsInteger("ETAT"), 1500);
    EXPECT_EQ(header->GetPropAsString("UHUL_KOD"), "0");
    header->SetPropAsString("UHUL_KOD", "123");
    EXPECT_EQ(header->GetPropAsString("UHUL_KOD"), "123");
}

TEST_F(LhcTest, AlwaysChainCreatesEveryLevelWithKeyVzdy)
{
    TDrevina* drevina = header->AktualniDrevinaVzdy();
    ASSERT_NE(drevina, nullptr);
    EXPECT_EQ(drevina->GetName(), "DREV Vzdy");
    EXPECT_EQ(header->Oddeleni()->GetName(), "ODD Vzdy");
    EXPECT_EQ(header->AktualniDilecVzdy()->GetName(), "DIL Vzdy");
    EXPECT_EQ(header->AktualniPorostVzdy()->GetName(), "POR Vzdy");
    EXPECT_EQ(header->AktualniPorostniSkupinaVzdy()->GetName(), "SKUP vzdy");
    EXPECT_EQ(header->AktualniEtazVzdy()->GetName(), "ETAZ vzdy");
    // Asking again answers the same elements, nothing new is created.
    EXPECT_EQ(header->AktualniDrevinaVzdy(), drevina);
    EXPECT_EQ(header->AktualniEtazVzdy()->DrevinaMN()->PocetPrvku(), 1);
    EXPECT_EQ(header->AktualniJinyPozemekVzdy()->GetName(), "JINE Vzdy");
    EXPECT_EQ(header->AktualniBezlesiVzdy()->GetName(), "BZL Vzdy");
    EXPECT_EQ(header->AktualniPorostVzdy()->JinyPozemek(), header->AktualniJinyPozemekVzdy());
}

TEST_F(LhcTest, UnitBuiltThroughTheChainIsWalkedWithItsDesignations)
{
    header->OddeleniMN()->NovyPrvek("7");
    header->Oddeleni()->SetODD(7);
    header->AktualniDilecVzdy()->SetDIL("b");
    header->AktualniPorostVzdy()->SetPOR("2");
    header->AktualniPorostniSkupinaVzdy()->SetPSK("3");
    header->AktualniEtazVzdy()->SetETAZ("1");
    header->AktualniDrevinaVzdy()->SetDR_ZKR("SM ");
    header->AktualniPorostVzdy()->JinyPozemekMN()->NovyPrvek("1");
    header->AktualniPorostVzdy()->JinyPozemek()->SetPropAsInteger("JP", 4);

    TOddeleni* odd = header->Oddeleni();
    TDilec* dil = odd->DilecAt(0);
    TPorost* por = dil->PorostAt(0);
    TPorostniSkupina* psk = por->PorostniSkupinaAt(0);
    TEtaz* etaz = psk->EtazAt(0);
    TDrevina* drev = etaz->DrevinaAt(0);
    ASSERT_NE(drev, nullptr);
    EXPECT_EQ(dil->CeleOznaceni(), "ODD 7b");
    EXPECT_EQ(por->CeleOznaceni(), "Porost: ODD 7b2");
    EXPECT_EQ(psk->CeleOznaceni(), "Porost: ODD 7b2 Skup:  3 ");
    EXPECT_EQ(etaz->CeleOznaceni(), "Porost: ODD 7b2 Skup:  3  Etáž:  1 ");
    EXPECT_EQ(drev->GetPropAsString("CeleOznaceni"), "Porost: ODD 7b2 Skup:  3  Etáž:  1  Drev: SM");
    EXPECT_EQ(por->JinyPozemek()->GetPropAsString("CeleOznaceni"), "Porost: ODD 7b2 JinPoz: 4");
    EXPECT_EQ(drev->OwnerEtaz(), etaz);
    EXPECT_EQ(etaz->OwnerPorostniSkupina(), psk);
    EXPECT_EQ(psk->OwnerPorost(), por);
    EXPECT_EQ(por->OwnerDilec(), dil);
    EXPECT_EQ(dil->OwnerOddeleni(), odd);
    EXPECT_EQ(odd->OwnerLHC(), header.get());
}

TEST_F(LhcTest, CompartmentSetKeepsOneCompartment)
{
    header->SetPropAsInteger("LHC_KOD", 501);
    header->SetPropAsString("LHC_NAZ", "Les");
    header->OddeleniMN()->NovyPrvek("1");
    header->OddeleniMN()->NovyPrvek("2");
    EXPECT_EQ(header->OddeleniMN()->PocetPrvku(), 1);
    EXPECT_EQ(header->Oddeleni()->GetName(), "ODD 2");
    EXPECT_EQ(header->Oddeleni()->OwnerLHC_KOD(), 501);
    EXPECT_EQ(header->Oddeleni()->GetPropAsString("OwnerLHC_NAZ"), "Les");
    auto odd = Create<TOddeleni>();
    EXPECT_EQ(odd->OwnerLHC_KOD(), 0);
    EXPECT_EQ(odd->OwnerLHC_NAZ(), "");
}

TEST_F(LhcTest, StockSumsOverTheSubtree)
{
    TDrevina* first = header->AktualniDrevinaVzdy();
    first->SetDR_ZAS_CEL(100);
    first->SetDR_TV(4);
    first->SetDR_TO(6);
    TEtaz* etaz = header->AktualniEtazVzdy();
    etaz->DrevinaMN()->NovyPrvek("BK");
    etaz->Drevina()->SetDR_ZAS_CEL(50);
    header->AktualniPorostniSkupinaVzdy()->EtazMN()->NovyPrvek("2");
    header->AktualniEtazVzdy()->DrevinaMN()->NovyPrvek("SM");
    header->AktualniDrevinaVzdy()->SetDR_ZAS_CEL(25);
    EXPECT_EQ(header->GetPropAsInteger("ZasobaCelkem"), 175);
    EXPECT_EQ(header->AktualniPorostVzdy()->GetPropAsInteger("TezbyVychovne"), 4);
    EXPECT_EQ(header->AktualniOddeleniVzdy()->GetPropAsInteger("TezbyCelkem"), 10);
    EXPECT_EQ(etaz->GetPropAsInteger("ZasobaCelkem"), 150);
}

TEST_F(LhcTest, ForeignCurrentElementStopsTheChainWithAnError)
{
    auto foreign = Create<TPorost>();
    header->OddeleniMN()->SetAktualniPrvek(foreign.get());
    EXPECT_EQ(header->Oddeleni(), nullptr);
    EXPECT_THROW(header->AktualniDilecVzdy(), EConvertError);
}
