// Tests of the general forest element: codebook, root, export list and source kind through owners.
#include "forest/base/IniLists.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/codebooks/Ciselnik.h"
#include "forest/support/ForestTestSupport.h"

namespace {

using foresttest::TTestMN;
using foresttest::TTestPrvek;

class ObecnyLesniPrvek : public foresttest::ForestFixture
{
protected:
    // unit > set > item > set > item, as compartment > ... > storey.
    void SetUp() override
    {
        ForestFixture::SetUp();
        unit->Add(upper);
        upper->NovyPrvek("1");
        stand = dynamic_cast<TTestPrvek*>(upper->AktualniPrvek());
        stand->Add(lower);
        lower->NovyPrvek("a");
        storey = dynamic_cast<TTestPrvek*>(lower->AktualniPrvek());
    }

    Owned<TObecnyLesniPrvek> unit = Create<TObecnyLesniPrvek>();
    TTestMN* upper = Create<TTestMN>().release();
    TTestMN* lower = Create<TTestMN>().release();
    TTestPrvek* stand = nullptr;
    TTestPrvek* storey = nullptr;
};

TEST_F(ObecnyLesniPrvek, SourceKindComesFromTheOwnersAndStays)
{
    EXPECT_EQ(Create<TObecnyLesniPrvek>()->SourceKind(), 7);
    EXPECT_EQ(storey->SourceKind(), 7);
    stand->SetSourceKind(2);
    EXPECT_EQ(storey->SourceKind(), 2);

    // Moved under another owner of kind 5, it keeps what it found.
    Owned<TTestMN> other = Create<TTestMN>();
    other->SetSourceKind(5);
    Owned<TElement> keep(storey);
    lower->Remove(storey);
    other->Add(keep.release());
    EXPECT_EQ(storey->SourceKind(), 2);
}

TEST_F(ObecnyLesniPrvek, SourceKindAsksDeeperOwnersWhenNoneHasItStored)
{
    unit->SetSourceKind(1);
    EXPECT_EQ(lower->StoredSourceKind(), 7);
    EXPECT_EQ(storey->SourceKind(), 1);
    EXPECT_EQ(lower->StoredSourceKind(), 1);
}

TEST_F(ObecnyLesniPrvek, CodebookIsFoundThroughTheOwners)
{
    EXPECT_EQ(storey->Ciselnik(), nullptr);
    tciselnik* first = unit->AddNew<tciselnik>();
    tciselnik* last = unit->AddNew<tciselnik>();
    EXPECT_EQ(storey->Ciselnik(), last);
    EXPECT_NE(first, last);
    TElement& e = *storey;
    EXPECT_EQ(GetObjectPropByName(&e, "Ciselnik"), last);
}

// The answer is kept between questions, but never past a change of the tree.
TEST_F(ObecnyLesniPrvek, CodebookFollowsEveryChangeOfTheTree)
{
    tciselnik* top = unit->AddNew<tciselnik>();
    EXPECT_EQ(storey->Ciselnik(), top);
    tciselnik* nearer = stand->AddNew<tciselnik>();
    EXPECT_EQ(storey->Ciselnik(), nearer);
    EXPECT_EQ(lower->Ciselnik(), nearer);
    stand->RemoveAndFree(nearer);
    EXPECT_EQ(storey->Ciselnik(), top);
    // Freed where it is held: it leaves the unit, and the answer with it.
    FreeObject(top);
    EXPECT_EQ(storey->Ciselnik(), nullptr);
    // Moved out of the tree, the storey has no codebook any more.
    tciselnik* again = unit->AddNew<tciselnik>();
    EXPECT_EQ(storey->Ciselnik(), again);
    Owned<TElement> keep(storey);
    lower->Remove(storey);
    EXPECT_EQ(storey->Ciselnik(), nullptr);
}

TEST_F(ObecnyLesniPrvek, TheLastForestOwnerAnswersEvenNil)
{
    unit->AddNew<tciselnik>();
    // A second owner without any codebook above it answers last.
    Owned<TTestMN> stray = Create<TTestMN>();
    stray->TObecnyLesniPrvek::Add(storey);
    EXPECT_EQ(storey->Ciselnik(), nullptr);
    stray->Remove(storey);
    EXPECT_NE(storey->Ciselnik(), nullptr);
}

TEST_F(ObecnyLesniPrvek, CodebookRootNameIsCaseSensitive)
{
    Owned<TOwnerEntity> wrong = Create<TOwnerEntity>();
    wrong->SetName("ciselLumex");
    unit->Add(wrong.get());
    EXPECT_EQ(storey->ciselLumexOwnEnt(), nullptr);
    TOwnerEntity* root = unit->AddNew<TOwnerEntity>();
    root->SetName("CiselLumex");
    EXPECT_EQ(storey->ciselLumexOwnEnt(), root);
}

TEST_F(ObecnyLesniPrvek, ExportListNameIgnoresCase)
{
    TLesniStringListElement* list = unit->AddNew<TLesniStringListElement>();
    list->SetName("seznamexportstandard");
    EXPECT_EQ(storey->SeznamExportStandard(), list);
}

TEST_F(ObecnyLesniPrvek, OwnerCycleEndsTheSearch)
{
    // A model file can make an element an owner of its own owner.
    Owned<TTestMN> a = Create<TTestMN>();
    Owned<TTestMN> b = Create<TTestMN>();
    a->TObecnyLesniPrvek::Add(b.get());
    b->TObecnyLesniPrvek::Add(a.get());
    EXPECT_EQ(a->Ciselnik(), nullptr);
    EXPECT_EQ(a->SourceKind(), 7);
    b->Remove(a.get());
}

TEST_F(ObecnyLesniPrvek, CloneCopiesStoredProperties)
{
    storey->zast = 40;
    storey->popis = "smrk";
    Owned<TObecnyLesniPrvek> copy = storey->Clone();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->ClassType(), TTestPrvek::StaticClass());
    EXPECT_EQ(copy->GetPropAsInteger("ZAST"), 40);
    EXPECT_EQ(copy->GetPropAsString("POPIS"), "smrk");
    EXPECT_EQ(copy->GetName(), storey->GetName());
}

} // namespace
