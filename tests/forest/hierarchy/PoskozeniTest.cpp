// Tests of damage records: degree in tens, text and designation.
#include "HierarchyTestSupport.h"

#include "forest/hierarchy/Poskozeni.h"

using namespace hierarchytest;

using PoskozeniTest = HierarchyFixture;

TEST_F(PoskozeniTest, DegreeInTensIsAtLeastOne)
{
    auto p = Create<TPoskozeni>();
    for (const auto& [degree, tens] : {std::pair{4, 1}, {25, 2}, {35, 4}, {0, 1}, {100, 10}}) {
        p->SetPOSKOZ_R(degree);
        EXPECT_EQ(p->GetPropAsInteger("POSKOZ_R10"), tens) << degree;
    }
    p->SetPropAsInteger("POSKOZ_R10", 3);
    EXPECT_EQ(p->POSKOZ_R(), 30);
}

TEST_F(PoskozeniTest, DamageTextsJoinedOnTheSpecies)
{
    TDrevina* d = species(storey(), "SM");
    d->PoskozeniMN()->NovyPrvek("1");
    d->Poskozeni()->SetPropAsInteger("POSKOZ_D", 4);
    d->Poskozeni()->SetPropAsInteger("POSKOZ_R", 20);
    d->PoskozeniMN()->NovyPrvek("2");
    d->Poskozeni()->SetPropAsInteger("POSKOZ_D", 5);
    d->Poskozeni()->SetPropAsInteger("POSKOZ_R", 5);
    // Without codebooks the kind names are empty.
    EXPECT_EQ(d->GetPropAsString("Poskozeni_Slovne_Prelamane"), " -20%@$& -5%");
    EXPECT_TRUE(d->Poskozeni()->CeleOznaceni().endsWith(" Drev: SM Posk: 5"));
}
