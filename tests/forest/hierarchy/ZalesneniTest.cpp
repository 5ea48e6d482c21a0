// Tests of afforestation: the area shared by shares and the shares computed from areas.
#include "HierarchyTestSupport.h"

#include "forest/hierarchy/Zalesneni.h"

using namespace hierarchytest;

namespace {

TZalesneni* item(TZalesneniMN* set, const QString& species, qint32 share, double area = 0.0)
{
    set->NovyPrvekVzdy(species);
    auto* z = set->Zalesneni();
    z->SetPropAsString("ZAL_DR", species);
    z->SetZAL_DR_P(share);
    z->SetZAL_P(area);
    return z;
}

} // namespace

using ZalesneniTest = HierarchyFixture;

TEST_F(ZalesneniTest, AreaSharedByPercentagesTheFirstLargestTakesTheRest)
{
    auto set = Create<TZalesneniMN>();
    TZalesneni* a = item(set.get(), "SM", 33);
    TZalesneni* b = item(set.get(), "BK", 33);
    TZalesneni* c = item(set.get(), "BO", 33);
    set->SetPropAsString("PlochaZalesneni", "1");
    EXPECT_NEAR(a->ZAL_P(), 0.34, 1e-9);
    EXPECT_NEAR(b->ZAL_P(), 0.33, 1e-9);
    EXPECT_NEAR(c->ZAL_P(), 0.33, 1e-9);
    EXPECT_NEAR(set->PlochaZalesneni(), 1.0, 1e-9);
    EXPECT_EQ(set->GetPropAsInteger("ProcentoZalesneni"), 99);
    EXPECT_NEAR(set->AreaOf(true), 0.67, 1e-9);
    EXPECT_NEAR(set->AreaOf(false), 0.33, 1e-9);
}

TEST_F(ZalesneniTest, EmptySetIgnoresTheArea)
{
    auto set = Create<TZalesneniMN>();
    set->SetPlochaZalesneni(1.0);
    EXPECT_DOUBLE_EQ(set->PlochaZalesneni(), 0.0);
}

TEST_F(ZalesneniTest, SharesFromAreasForEveryPositiveTotal)
{
    auto set = Create<TZalesneniMN>();
    TZalesneni* a = item(set.get(), "SM", 0, 0.5);
    TZalesneni* b = item(set.get(), "BK", 0, 0.25);
    TZalesneni* c = item(set.get(), "BO", 0, 0.25);
    set->PercentagesFromAreas();
    EXPECT_EQ(a->ZAL_DR_P(), 50);
    EXPECT_EQ(b->ZAL_DR_P(), 25);
    EXPECT_EQ(c->ZAL_DR_P(), 25);
    // Thirds: 33 each, the first largest takes the missing 1.
    a->SetZAL_P(1.0);
    b->SetZAL_P(1.0);
    c->SetZAL_P(1.0);
    set->PercentagesFromAreas();
    EXPECT_EQ(a->ZAL_DR_P(), 34);
    EXPECT_EQ(b->ZAL_DR_P(), 33);
}

TEST_F(ZalesneniTest, SharesStayWithoutArea)
{
    auto set = Create<TZalesneniMN>();
    TZalesneni* a = item(set.get(), "SM", 60, 0.0);
    set->PercentagesFromAreas();
    EXPECT_EQ(a->ZAL_DR_P(), 60);
}

TEST_F(ZalesneniTest, ItemDesignationAndStoreyAfforestationKind)
{
    TEtaz* etaz = storey();
    TZalesneni* z = item(etaz->ZalesneniMN(), "SM", 100, 0.2);
    EXPECT_TRUE(z->GetPropAsBoolean("Jehlicnaty_ZAL"));
    EXPECT_EQ(z->GetPropAsString("ZAL_P_st"), "  0,20");
    EXPECT_TRUE(z->CeleOznaceni().endsWith(" Etáž:  1  Zales: SM"));
    EXPECT_DOUBLE_EQ(etaz->ZAL_P(), 0.2);
}
