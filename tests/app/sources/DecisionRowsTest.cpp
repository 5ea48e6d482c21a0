// Tests of decision rows and map-rectangle holders.
#include "app/sources/DecisionRows.h"

#include "app/AppRegistration.h"
#include "app/sources/LesniCelek.h"
#include "forest/codebooks/CiselLumex.h"
#include "forest/codebooks/CodebookSets.h"
#include "framework/core/ClassRegistry.h"
#include "framework/elements/PlaneGraphics.h"

#include <gtest/gtest.h>

namespace {

TEST(DecisionRow, TypeNameComesFromTheUnitsDecisionTypes)
{
    Owned<TLesniCelek> unit = Create<TLesniCelek>();
    auto* set = unit->AddNew<TRadekRozhodnutiMN>();
    set->NovyPrvek("1");
    auto* row = dynamic_cast<TRadekRozhodnuti*>(set->AktualniPrvek());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->GetName(), "R_ROZHOD 1");
    TKodPopisMN* types = unit->CiselLumex()->TypyRozhodnutiMN();
    ASSERT_NE(types, nullptr);
    TKodPopis* third = nullptr;
    for (int i = 0; i < types->Count(); ++i)
        if (auto* item = dynamic_cast<TKodPopis*>(types->Items(i)); item && item->Kod == "3")
            third = item;
    ASSERT_NE(third, nullptr);
    ASSERT_FALSE(third->Popis.isEmpty());
    row->TypRozh = 3;
    EXPECT_EQ(row->TypRozh_nazev(), third->Popis);
    EXPECT_EQ(row->GetPropAsString("TypRozh_nazev"), third->Popis);
    row->TypRozh = 99;
    EXPECT_EQ(row->TypRozh_nazev(), "");
}

TEST(DecisionRow, TypeNameWithoutCodebookRootIsEmpty)
{
    Owned<TRadekRozhodnuti> row = Create<TRadekRozhodnuti>();
    row->TypRozh = 3;
    EXPECT_EQ(row->TypRozh_nazev(), "");
}

TEST(DecisionRow, DesignationJoinsTheKeys)
{
    Owned<TRadekRozhodnuti> row = Create<TRadekRozhodnuti>();
    row->SetPropAsString("ODD", "7");
    row->SetPropAsString("DIL", "b");
    row->SetPropAsString("POR", "2");
    row->SetPropAsString("PSK", "1");
    EXPECT_EQ(row->GetPropAsString("OddDilPorPsk"), "7b21");
}

TEST(Rectangles, TheEntityIsMadeOnceAndKept)
{
    Owned<TObdelniky> holder = Create<TObdelniky>();
    TRectEntity* first = holder->RecEnti();
    EXPECT_EQ(holder->RecEnti(), first);
    EXPECT_EQ(holder->Count(), 1);
    Owned<TObdelniky> other = Create<TObdelniky>();
    TRectEntity* child = other->AddNew<TRectEntity>();
    EXPECT_EQ(other->RecEnti(), child);
    EXPECT_EQ(other->Count(), 1);
}

TEST(Rectangles, SetsNameTheirItemsAndClassesAreCreatedByName)
{
    RegisterAppUnits();
    Owned<TObdelnikyMN> set = Create<TObdelnikyMN>();
    set->NovyPrvek("A");
    ASSERT_NE(set->AktualniPrvek(), nullptr);
    EXPECT_EQ(set->AktualniPrvek()->GetName(), "OBDEL A");
    for (const char* name : {"TRadekRozhodnuti", "TRadekRozhodnutiMN", "TObdelniky", "TObdelnikyMN", "TLesniCelek"})
        EXPECT_NE(FindLumexClass(QString::fromLatin1(name)), nullptr) << name;
}

} // namespace
