// Tests of storeys: designations, regeneration-felling percentage, felling-age flags.
#include "HierarchyTestSupport.h"

#include "forest/hierarchy/Zalesneni.h"

using namespace hierarchytest;

using EtazTest = HierarchyFixture;

struct DesignationCase {
    const char* name;
    const char* written;
    const char* stored;
};

class EtazDesignation : public foresttest::ForestFixture, public ::testing::WithParamInterface<DesignationCase>
{
};

TEST_P(EtazDesignation, SetterNormalises)
{
    auto etaz = Create<TEtaz>();
    etaz->SetPropAsString("ETAZ", GetParam().written);
    EXPECT_EQ(etaz->ETAZ(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Storey, EtazDesignation,
                         ::testing::Values(DesignationCase{"One", "1", " 1 "}, DesignationCase{"DigitLetter", "1a", " 1a"},
                                           DesignationCase{"TwoDigits", "12", "12 "},
                                           DesignationCase{"BlanksBetween", "A  B", " ab"},
                                           DesignationCase{"ThreeLetters", "xyz", "xyz"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EtazTest, StoreySetNormalisesKeys)
{
    TEtaz* etaz = storey();
    TEtazMN* set = etaz->OwnerPorostniSkupina()->EtazMN();
    EXPECT_EQ(etaz->GetName(), "ETAZ  1 ");
    set->SetJmenoAktualnihoPrvku("1");
    EXPECT_EQ(set->AktualniPrvek(), etaz);
    set->NovyPrvek("1");
    EXPECT_EQ(set->AktualniPrvek(), nullptr);
    EXPECT_EQ(set->PocetPrvku(), 1);
    set->NovyNeboAktualniPrvek(" 1");
    EXPECT_EQ(set->AktualniPrvek(), etaz);
    set->NovyNeboAktualniPrvek("2");
    EXPECT_EQ(set->PocetPrvku(), 2);
    EXPECT_EQ(set->AktualniPrvek()->GetName(), "ETAZ  2 ");
    EXPECT_EQ(set->JmenoStarehoPrvku(), " 2 ");
}

TEST_F(EtazTest, RegenerationFellingPercentage)
{
    auto etaz = Create<TEtaz>();
    etaz->SetOBMYTI(100);
    etaz->SetVEK(95);
    EXPECT_EQ(etaz->GetPropAsInteger("M_TEZ_PROC"), 0);   // OBN_DOBA 0: no column
    etaz->SetOBN_DOBA(20);
    EXPECT_EQ(etaz->GetPropAsInteger("M_TEZ_PROC"), 67);
    EXPECT_EQ(etaz->GetPropAsInteger("PROC_HS"), 67);
    // 25 and 15 both round to the second column (halves to even).
    etaz->SetOBN_DOBA(25);
    EXPECT_EQ(etaz->ProcentoTODleObmObn(), 67);
    etaz->SetOBN_DOBA(15);
    EXPECT_EQ(etaz->ProcentoTODleObmObn(), 67);
    etaz->SetOBN_DOBA(10);
    EXPECT_EQ(etaz->ProcentoTODleObmObn(), 86);   // row 4 column 1 stays above column 2
    etaz->SetOBN_DOBA(5);
    EXPECT_EQ(etaz->ProcentoTODleObmObn(), 0);
    etaz->SetOBN_DOBA(60);
    EXPECT_EQ(etaz->ProcentoTODleObmObn(), 0);
    etaz->SetOBN_DOBA(20);
    etaz->SetVEK(300);
    EXPECT_EQ(etaz->ProcentoTODleObmObn(), 100);   // row limited to 7
    etaz->SetVEK(0);
    EXPECT_EQ(etaz->ProcentoTODleObmObn(), 0);   // row limited to 0
}

TEST_F(EtazTest, StoredFellingPercentageBeatsTheComputedOne)
{
    auto etaz = Create<TEtaz>();
    etaz->SetOBMYTI(100);
    etaz->SetVEK(95);
    etaz->SetOBN_DOBA(20);
    etaz->SetPropAsInteger("M_TEZ_PROC", 0);
    EXPECT_EQ(etaz->M_TEZ_PROC(), 0);
    etaz->SetPropAsInteger("M_TEZ_PROC", -1);
    EXPECT_EQ(etaz->M_TEZ_PROC(), 67);
}

TEST_F(EtazTest, FellingAgeAndAgeClass)
{
    auto etaz = Create<TEtaz>();
    EXPECT_TRUE(etaz->MusiBytMZD());   // age 0 without species
    etaz->SetVEK(50);
    EXPECT_FALSE(etaz->MusiBytMZD());
    etaz->SetTO_P(0.005);
    EXPECT_TRUE(etaz->MusiBytMZD());
    EXPECT_EQ(etaz->GetPropAsInteger("VekovyStupen"), 5);
    etaz->SetVEK(1);
    EXPECT_EQ(etaz->VekovyStupen(), 1);
    etaz->SetVEK(10);
    EXPECT_EQ(etaz->VekovyStupen(), 1);
    etaz->SetVEK(0);
    EXPECT_EQ(etaz->VekovyStupen(), 0);
}

TEST_F(EtazTest, MinimumFellingAgeText)
{
    auto etaz = Create<TEtaz>();
    EXPECT_EQ(etaz->GetPropAsString("MZDs"), "0");
    etaz->SetPropAsString("MZDs", "");
    EXPECT_EQ(etaz->GetPropAsInteger("MZD"), -1);
    EXPECT_EQ(etaz->GetPropAsInteger("MZDi"), 0);
    EXPECT_EQ(etaz->GetPropAsString("MZDs"), "");
    etaz->SetPropAsString("MZDs", "110");
    EXPECT_EQ(etaz->GetPropAsInteger("MZDi"), 110);
}

TEST_F(EtazTest, ComputedTextsOfFellingData)
{
    TEtaz* etaz = storey();
    etaz->SetPropAsString("TO_ZPUSOB", "0");
    EXPECT_EQ(etaz->GetPropAsString("TO_ZPUSOB"), "");
    etaz->SetPropAsString("PRO_NAL", " 1 2");
    EXPECT_EQ(etaz->GetPropAsInteger("PRO_NALi"), 12);
    etaz->SetPropAsString("TV_NAL", "x");
    EXPECT_EQ(etaz->GetPropAsInteger("TV_NALi"), 0);
    EXPECT_EQ(etaz->GetPropAsString("ZAL_DRUH"), "-");
    etaz->ZalesneniMN()->NovyPrvek("SM");
    etaz->Zalesneni()->SetPropAsString("ZAL_DRUH", "U");
    EXPECT_EQ(etaz->GetPropAsString("ZAL_DRUH_ETAZ"), "U");
    EXPECT_EQ(etaz->GetPropAsString("ODVOZ_TEZ"), "D");
    etaz->OwnerPorostniSkupina()->OwnerPorost()->SetPropAsString("ZVL_STATUT", "1 0");
    EXPECT_EQ(etaz->GetPropAsString("ODVOZ_TEZ"), "I");
    etaz->SetETAZ("2x");
    EXPECT_TRUE(etaz->JeIndex_vxyz());
}

TEST_F(EtazTest, StockingFromReducedAreasAndFellingKind)
{
    TEtaz* etaz = storey(2.0);
    TDrevina* sm = species(etaz, "SM", 60);
    sm->SetDR_ZAS_CEL(400);
    sm->SetZAS_TAB_HA(400);
    sm->SetDR_TV(10);
    sm->SetDR_TO(20);
    EXPECT_DOUBLE_EQ(etaz->RedukovanaPlochaEtDleZasoby(), 1.0);
    EXPECT_DOUBLE_EQ(etaz->PocitaneZakmeneniFlo(), 5.0);
    EXPECT_EQ(etaz->GetPropAsInteger("Etaz_ZAS_CELK"), 400);
    EXPECT_EQ(etaz->DruhVykonu(), 10);
    EXPECT_EQ(etaz->NejmensiTabulkovaZasoba(), 400);
    EXPECT_EQ(Create<TEtaz>()->NejmensiTabulkovaZasoba(), 0);
    EXPECT_DOUBLE_EQ(Create<TEtaz>()->PocitaneZakmeneniFlo(), 0.0);
}

TEST_F(EtazTest, SharesAndComputedStockingRounded)
{
    TEtaz* etaz = storey(1.0);
    TDrevina* sm = species(etaz, "SM", 55);
    TDrevina* bk = species(etaz, "BK", 40);
    EXPECT_EQ(etaz->GetPropAsInteger("ZastoupeniDrevin"), 95);
    sm->SetDR_ZAS_CEL(250);
    sm->SetZAS_TAB_HA(400);
    bk->SetDR_ZAS_CEL(250);
    bk->SetZAS_TAB_HA(400);
    EXPECT_EQ(etaz->GetPropAsInteger("PocitaneZakmeneniInt"), 12);   // 12.5 to even
}
