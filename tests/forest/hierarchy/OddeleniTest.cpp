// Tests of compartments: default sub-compartment and stand, look-ups by key, identifier.
#include "HierarchyTestSupport.h"

#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/NonStockedLand.h"

using namespace hierarchytest;

using OddeleniTest = HierarchyFixture;

TEST_F(OddeleniTest, EnsureDilecAndPorostCreatesDashElements)
{
    TOddeleni* odd = header->AktualniOddeleniVzdy();
    odd->EnsureDilecAndPorost();
    ASSERT_NE(odd->Dilec(), nullptr);
    EXPECT_EQ(odd->Dilec()->GetName(), "DIL -");
    EXPECT_EQ(odd->Dilec()->DIL(), "-");
    EXPECT_EQ(odd->Dilec()->Porost()->GetName(), "POR -");
    EXPECT_EQ(odd->Dilec()->Porost()->POR(), "-");
    odd->EnsureDilecAndPorost();
    EXPECT_EQ(odd->DilecMN()->PocetPrvku(), 1);
}

TEST_F(OddeleniTest, EnsureDilecAndPorostSelectsTheFirstElements)
{
    TOddeleni* odd = header->AktualniOddeleniVzdy();
    TDilec* a = select<TDilec>(odd->DilecMN(), "a");
    select<TPorost>(a->PorostMN(), "1");
    select<TPorost>(a->PorostMN(), "2");
    select<TDilec>(odd->DilecMN(), "b");
    odd->EnsureDilecAndPorost();
    EXPECT_EQ(odd->Dilec(), a);
    EXPECT_EQ(a->Porost(), a->PorostAt(0));
}

TEST_F(OddeleniTest, LookUpByKeyKeepsTheSelection)
{
    TOddeleni* odd = header->AktualniOddeleniVzdy();
    TDilec* a = select<TDilec>(odd->DilecMN(), "a");
    TDilec* b = select<TDilec>(odd->DilecMN(), "b");
    EXPECT_EQ(odd->DilecJmenem("a"), a);
    EXPECT_EQ(odd->Dilec(), b);
    EXPECT_EQ(odd->DilecJmenem("z"), nullptr);
    odd->DilecMN()->SetAktualniPrvek(nullptr);
    EXPECT_EQ(odd->DilecJmenem("b"), b);
    EXPECT_EQ(odd->Dilec(), nullptr);
}

TEST_F(OddeleniTest, IdentifierFromOrganisationLevels)
{
    TOddeleni* odd = header->AktualniOddeleniVzdy();
    EXPECT_EQ(odd->Id_z_Orgur(), 0);
    TPorost* porost = header->AktualniPorostVzdy();
    TOrg_UrovenMN* levels = TJinyPozemek::Org_UrovenMN(porost);
    for (const qint32 level : {2, 15, 7}) {
        levels->NovyPrvek(QString::number(level));
        levels->Org_Uroven()->SetORG_UROVEN(level);
    }
    EXPECT_EQ(levels->PocetPrvku(), 3);
    EXPECT_EQ(odd->Id_z_Orgur(), 2015007);
    header->SetPropAsString("PUVOD_DAT", "LHP 160");
    EXPECT_EQ(odd->Id_z_Orgur(), 2);
}

TEST_F(OddeleniTest, CompartmentNumberAliases)
{
    auto odd = Create<TOddeleni>();
    odd->SetPropAsInteger("ODD_ID", 44);
    EXPECT_EQ(odd->GetPropAsInteger("RId"), 44);
}
