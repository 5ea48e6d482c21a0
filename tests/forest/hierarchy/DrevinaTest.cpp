// Tests of tree species: genetic class, mean-tree volume, site class, conversions and controls.
#include "HierarchyTestSupport.h"

using namespace hierarchytest;

using DrevinaTest = HierarchyFixture;

struct GeneticCase {
    const char* name;
    const char* stored;
    const char* abbreviation;
    qint32 age;
    const char* expected;
};

class GeneticClass : public HierarchyFixture, public ::testing::WithParamInterface<GeneticCase>
{
};

TEST_P(GeneticClass, ReadsStoredOrDerivesFromAge)
{
    const GeneticCase& c = GetParam();
    TDrevina* d = species(storey(1.0, c.age), c.abbreviation);
    d->SetPropAsString("GEN_KLAS", c.stored);
    EXPECT_EQ(d->GetPropAsString("GEN_KLAS"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Species, GeneticClass,
    ::testing::Values(GeneticCase{"StoredAKept", "A", "BK", 10, "A"}, GeneticCase{"StoredBKept", "B", "BK", 200, "B"},
                      GeneticCase{"StoredDKept", "D", "SM", 200, "D"},
                      GeneticCase{"LowerCaseNotKept", "a", "SM", 10, ""},
                      GeneticCase{"StoredCRecomputed", "C", "SM", 10, ""},
                      GeneticCase{"Beech60", "", "BK", 60, ""}, GeneticCase{"Beech61", "", "BK", 61, "C"},
                      GeneticCase{"Alder30", "", "OL", 30, ""}, GeneticCase{"Alder31", "", "OL", 31, "C"},
                      GeneticCase{"Birch31", "", "BRP", 31, "C"}, GeneticCase{"Fir40", "", "JDO", 40, ""},
                      GeneticCase{"Fir41", "", "JDO", 41, "C"}, GeneticCase{"Douglas41", "", "DG", 41, "C"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DrevinaTest, GeneticClassWithoutStoreyIsEmpty)
{
    auto d = Create<TDrevina>();
    d->SetDR_ZKR("BK");
    EXPECT_EQ(d->GEN_KLAS(), "");
}

TEST_F(DrevinaTest, MeanTreeVolumeAndStemCount)
{
    TDrevina* d = species(storey(), "SM");   // species code 1: volume group 1
    d->SetTLOUSTKA(30);
    d->SetVYSKA(25);
    EXPECT_NEAR(d->HMOT(), 0.836, 0.0005);
    d->SetDR_ZAS_CEL(836);
    EXPECT_EQ(d->GetPropAsInteger("POCET_KMENUVypocteny"), 1000);
    d->SetTLOUSTKA(6);
    EXPECT_DOUBLE_EQ(d->HMOT(), 0.0);
    EXPECT_EQ(d->POCET_KMENUVypocteny(), 0);
}

TEST_F(DrevinaTest, SpeciesCodeFallsBackToTheSpeciesTableWithoutCodebook)
{
    TDrevina* d = species(storey(), "BK");
    EXPECT_EQ(d->DR_KOD(), 50);
    EXPECT_EQ(d->Cislo_SLHP(), 0);
    d->SetDR_ZKR("QQQ");
    EXPECT_EQ(d->DR_KOD(), 0);
    d->SetTLOUSTKA(30);
    d->SetVYSKA(25);
    EXPECT_GT(d->HMOT(), 0.0);   // volume group of code 0, no conversion error
}

TEST_F(DrevinaTest, SiteClassWrittenAsRelativeClass)
{
    TDrevina* d = species(storey(), "SM");   // K = 36
    for (qint32 v = 1; v <= 9; ++v) {
        d->SetPropAsInteger("BON_A", v);
        EXPECT_EQ(d->BON_A(), 36 - 2 * v) << v;
        EXPECT_EQ(d->GetPropAsInteger("BON_RVyhl"), v) << v;
    }
    d->SetPropAsInteger("BON_A", 28);
    EXPECT_EQ(d->BON_A(), 28);
    d->SetDR_ZKR("QQQ");
    d->SetPropAsInteger("BON_A", 3);
    EXPECT_EQ(d->BON_A(), 0);
}

TEST_F(DrevinaTest, RelativeSiteClassStoredOrFromTable)
{
    TDrevina* d = species(storey(1.0, 20), "SM");
    d->SetPropAsInteger("BON_A", 10);
    EXPECT_EQ(d->GetPropAsInteger("BON_R"), 9);
    d->SetPropAsInteger("BON_R", 4);
    EXPECT_EQ(d->BON_R(), 4);
}

TEST_F(DrevinaTest, ImmissionZoneTexts)
{
    auto d = Create<TDrevina>();
    EXPECT_EQ(d->GetPropAsString("IMISE"), "0");
    d->SetPropAsString("IMISE", "0 / 1");
    EXPECT_EQ(d->GetPropAsString("IMISE"), "0/1");
    d->SetPropAsString("IMISE", " B ");
    EXPECT_EQ(d->GetPropAsString("IMISE"), "B");
    // Only a text that reads 0/1 without its blanks is the zone 01.
    d->SetPropAsString("IMISE", "0/ 12");
    EXPECT_EQ(d->GetPropAsString("IMISE"), "0/12");
    d->SetPropAsString("IMISE", "0/");
    EXPECT_EQ(d->GetPropAsString("IMISE"), "0/");
    d->SetPropAsString("IMISE", " 0/1 ");
    EXPECT_EQ(d->GetPropAsString("IMISE"), "0/1");
}

TEST_F(DrevinaTest, DeadWoodVolumeAndShare)
{
    auto d = Create<TDrevina>();
    d->SetDR_ZAS_CEL(200);
    d->SetPROC_SOUS(15);
    EXPECT_EQ(d->GetPropAsInteger("OBJ_SOUS"), 30);
    d->SetPropAsInteger("OBJ_SOUS", 50);
    EXPECT_EQ(d->PROC_SOUS(), 25);
}

TEST_F(DrevinaTest, DeadWoodWrittenWithoutStockStoresZeroShare)
{
    auto d = Create<TDrevina>();
    d->SetPROC_SOUS(15);
    d->SetPropAsInteger("OBJ_SOUS", 50);
    EXPECT_EQ(d->PROC_SOUS(), 0);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(DrevinaTest, StockAndThinningMethods)
{
    auto d = Create<TDrevina>();
    d->SetPropAsString("ZPZADZAS", "7");
    EXPECT_EQ(d->GetPropAsString("ZpZadZasT"), "dleNevim");
    d->SetPropAsString("ZPZADZAS", "x");
    EXPECT_EQ(d->ZpZadZasT(), TZpZadZas::dleNevim);
    d->SetPropAsString("ZpZadZasT", "DleKrZak");
    EXPECT_EQ(d->GetPropAsString("ZPZADZAS"), "4");
    EXPECT_EQ(d->GetPropAsString("ZpZadTVT"), "TVDleProc");
    d->SetPropAsString("ZpZadTVT", "TVDleCEL");
    EXPECT_EQ(d->GetPropAsString("ZpZadTV"), "3");
    d->SetPropAsString("ZpZadTV", "2");
    EXPECT_EQ(d->ZpZadTVT(), TZpZadTV::TVDleHA);
}

TEST_F(DrevinaTest, ControlThinningVolumeByMethod)
{
    TEtaz* etaz = storey();
    TDrevina* d = species(etaz, "SM");
    d->SetDR_ZAS_HA(300);
    d->SetN_ProcentoTV(10);
    d->SetN_ObjemHaTV(17);
    d->SetDR_TV(90);
    d->SetPropAsString("ZpZadTV", "1");
    EXPECT_EQ(d->KontrolniN_ObjemHaTV(), 30);
    d->SetPropAsString("ZpZadTV", "2");
    EXPECT_EQ(d->KontrolniN_ObjemHaTV(), 17);
    d->SetPropAsString("ZpZadTV", "3");
    etaz->SetTV_P(1.5);
    EXPECT_EQ(d->KontrolniN_ObjemHaTV(), 60);
    etaz->SetTV_P(0.0);   // no thinning area: 0, no division by zero
    EXPECT_EQ(d->GetPropAsInteger("KontrolniN_ObjemHaTV"), 0);
    etaz->SetTV_P(0.001);
    EXPECT_EQ(d->KontrolniN_ObjemHaTV(), 0);
}

TEST_F(DrevinaTest, ControlStockFallsBackToTablesWithMessage)
{
    TDrevina* d = species(storey(2.0), "SM");
    d->SetDR_ZAS_HA(300);
    d->SetDR_ZAS_CEL(500);
    d->SetPropAsString("ZPZADZAS", "1");
    EXPECT_EQ(d->KontrolniDR_ZAS_HA(), 300);
    EXPECT_EQ(d->KontrolniDR_ZAS_CEL(), 600);
    d->SetPropAsString("ZPZADZAS", "2");
    EXPECT_EQ(d->KontrolniDR_ZAS_HA(), 250);
    EXPECT_EQ(d->KontrolniDR_ZAS_CEL(), 500);
    EXPECT_TRUE(recorder().messages.empty());
    d->SetPropAsString("ZPZADZAS", "9");
    EXPECT_EQ(d->KontrolniDR_ZAS_HA(), d->VypoctenaDR_ZAS_HAzTabulek());
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_TRUE(recorder().messages[0].text.endsWith("Drev: SMChybný zp.zad.zas.-Počítám DR_ZAS_HA z tabulek."));
}

TEST_F(DrevinaTest, ThinningRecalculationByMethod)
{
    TEtaz* etaz = storey();
    etaz->SetTV_P(2.0);
    TDrevina* d = species(etaz, "SM");
    d->SetDR_ZAS_HA(300);
    d->SetN_ProcentoTV(10);
    d->RecalculateThinning();
    EXPECT_EQ(d->N_ObjemHaTV(), 30);
    EXPECT_EQ(d->DR_TV(), 60);
    d->SetZpZadTVT(TZpZadTV::TVDleCEL);
    d->SetDR_TV(90);
    d->RecalculateThinning();
    EXPECT_EQ(d->N_ObjemHaTV(), 45);
    EXPECT_EQ(d->N_ProcentoTV(), 15);
    EXPECT_EQ(d->DR_TV(), 90);
}

TEST_F(DrevinaTest, FellingSumsByNeedleAndBroadLeaves)
{
    TEtaz* etaz = storey();
    species(etaz, "SM")->SetDR_TV(10);
    species(etaz, "BK")->SetDR_TV(7);
    species(etaz, "BO")->SetDR_TO(5);
    EXPECT_EQ(etaz->DrevinaMN()->GetPropAsInteger("TV_jehlicnata"), 10);
    EXPECT_EQ(etaz->DrevinaMN()->GetPropAsInteger("TV_listnata"), 7);
    EXPECT_EQ(etaz->DrevinaMN()->GetPropAsInteger("TO_jehlicnata"), 5);
    EXPECT_EQ(etaz->DrevinaMN()->GetPropAsInteger("TO_listnata"), 0);
}

TEST_F(DrevinaTest, AdjustedSourceReadsMixturesAndImmissionZones)
{
    header->SetSourceKind(6);
    TDrevina* d = species(storey(), "SM");
    d->SetPROC_SOUS(100);
    EXPECT_EQ(d->DR_ZKR(), "SOJ");
    d->SetDR_ZKR("BK");
    EXPECT_EQ(d->DR_ZKR(), "SOL");
    d->SetPropAsString("IMISE", "4a");
    EXPECT_EQ(d->GetPropAsString("IMISE"), "4");
    d->SetPropAsString("IMISE", "hol");
    EXPECT_EQ(d->GetPropAsString("IMISE"), "0");
    TPorost* porost = d->OwnerEtaz()->OwnerPorostniSkupina()->OwnerPorost();
    porost->SetPropAsString("LES_OBL", "35x");
    EXPECT_EQ(porost->LES_OBL(), "35 ");
}

TEST_F(DrevinaTest, ThinningPercentageAndSelectionTreeNumber)
{
    TEtaz* etaz = storey(1.0, 45);
    etaz->SetZAKM(10);
    TDrevina* d = species(etaz, "KOS", 100);   // growth group 13: no thinning table
    EXPECT_EQ(d->GetPropAsInteger("SpocteneN_ProcentoTV"), 99);
    d->SetPropAsString("VYB_STR", "V");
    EXPECT_EQ(d->GetPropAsInteger("VYB_STRInt"), 99);
    d->SetPropAsInteger("VYB_STRInt", 7);
    EXPECT_EQ(d->GetPropAsString("VYB_STR"), "7");
    d->SetPropAsString("VYB_STR", "x");
    EXPECT_EQ(d->VYB_STRInt(), 0);
}

TEST_F(DrevinaTest, RelativeSiteClassReadFromHeightRoundsHalfToEven)
{
    TDrevina* d = species(storey(), "SM");   // K = 36: 27 gives 4.5
    d->SetPropAsInteger("BON_A", 27);
    EXPECT_EQ(d->BON_RVyhl(), 4);
    d->SetPropAsInteger("BON_A", 25);
    EXPECT_EQ(d->BON_RVyhl(), 6);   // 5.5
    d->SetPropAsInteger("BON_A", 51);
    EXPECT_EQ(d->BON_RVyhl(), 0);   // outside 10..50
}

// Every species with its own age limit: no class at the limit, "C" one year above it.
TEST_F(DrevinaTest, EveryAgeLimitOfTheGeneticClass)
{
    const std::pair<const char*, qint32> limits[] = {
        {"OL", 30}, {"OLZ", 30}, {"OLS", 30}, {"BR", 30}, {"BRX", 30}, {"BRP", 30}, {"OS", 30},
        {"DG", 40}, {"JDO", 40}, {"VJ", 40},  {"SM", 60},  {"JD", 60},  {"OLX", 60},
    };
    TEtaz* etaz = storey();
    for (const auto& [abbreviation, limit] : limits) {
        TDrevina* d = species(etaz, abbreviation);
        etaz->SetVEK(limit);
        EXPECT_EQ(d->GEN_KLAS(), "") << abbreviation;
        etaz->SetVEK(limit + 1);
        EXPECT_EQ(d->GEN_KLAS(), "C") << abbreviation;
    }
}
