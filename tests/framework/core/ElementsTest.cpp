// Tests of the element tree: shared ownership, owner lists, walks, copies, Clear and aliases.
#include "framework/support/ElementsTestSupport.h"

#include "framework/core/Elements.h"
#include "framework/core/World.h"
#include "framework/models/ToolModel.h"
#include "framework/tools/Groupper.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>

using namespace lumextest;

namespace {

using ElementsTest = ElementsFixture;

// With an owner list or without one (it then reports no owners), every holder is counted.
TEST_F(ElementsTest, SharedChildIsFreedOnlyByItsLastHolder)
{
    for (const bool aware : {true, false}) {
        destroyedCount() = 0;
        auto first = Create<TOwnerEntity>();
        auto second = Create<TEntity>();
        TElement* child = aware ? static_cast<TElement*>(first->AddNew<TOwnedProbe>()) : first->AddNew<TPlainProbe>();
        second->Add(child);
        EXPECT_EQ(child->OwnersCount(), aware ? 2 : 0);
        EXPECT_EQ(child->HolderCount(), 2);

        first->RemoveAndFree(child);
        EXPECT_EQ(destroyedCount(), 0);
        EXPECT_EQ(first->Count(), 0);
        EXPECT_EQ(second->Items(0), child);
        second->Clear();
        EXPECT_EQ(destroyedCount(), 1);
    }
}

// A container that lets its shared children go.
class TAgreeingEntity : public TOwnerEntity
{
public:
    LUMEX_TEST_CLASS(TAgreeingEntity, TOwnerEntity)
    bool AgreesToFree(TElement*) override { return true; }
};

TEST_F(ElementsTest, SharedChildIsFreedWhenEveryOwnerAgrees)
{
    auto first = Create<TAgreeingEntity>();
    auto second = Create<TAgreeingEntity>();
    TOwnedProbe* child = first->AddNew<TOwnedProbe>();
    second->Add(child);
    first->RemoveAndFree(child);
    EXPECT_EQ(destroyedCount(), 1);
    EXPECT_EQ(second->Count(), 0);   // the freed child left the other owner too

    // A holder outside the owner list cannot agree: the child stays.
    auto plain = Create<TEntity>();
    TOwnedProbe* kept = first->AddNew<TOwnedProbe>();
    second->Add(kept);
    plain->Add(kept);
    first->RemoveAndFree(kept);
    EXPECT_EQ(destroyedCount(), 1);
    EXPECT_EQ(kept->OwnersCount(), 2);
}

TEST_F(ElementsTest, FreedElementLeavesEveryContainer)
{
    auto first = Create<TEntity>();
    auto second = Create<TOwnerEntity>();
    Owned<TOwnedProbe> child = Create<TOwnedProbe>();
    Owned<TPlainProbe> plain = Create<TPlainProbe>();
    for (TEntity* entity : {static_cast<TEntity*>(first.get()), static_cast<TEntity*>(second.get())}) {
        entity->Add(child.get());
        entity->Add(plain.get());
    }
    child.reset();
    plain.reset();
    EXPECT_EQ(first->Count(), 0);
    EXPECT_EQ(second->Count(), 0);
}

TEST_F(ElementsTest, SameChildAddedTwiceCountsTwice)
{
    auto entity = Create<TEntity>();
    TOwnedProbe* child = entity->AddNew<TOwnedProbe>();
    entity->Add(child);
    EXPECT_EQ(entity->Count(), 2);
    EXPECT_EQ(child->OwnersCount(), 2);

    entity->RemoveAndFree(child);
    EXPECT_EQ(destroyedCount(), 0);
    EXPECT_EQ(child->OwnersCount(), 1);
    entity->RemoveAndFree(child);
    EXPECT_EQ(destroyedCount(), 1);
    EXPECT_TRUE(entity->IsEmpty());

    // Clear frees a child listed twice once.
    TOwnedProbe* twice = entity->AddNew<TOwnedProbe>();
    entity->Add(twice);
    entity->Clear();
    EXPECT_EQ(destroyedCount(), 2);
    EXPECT_TRUE(entity->IsEmpty());
}

TEST_F(ElementsTest, InsertItemKeepsTheHolderCountRight)
{
    auto entity = Create<TEntity>();
    auto other = Create<TEntity>();
    TOwnedProbe* replaced = other->AddNew<TOwnedProbe>();
    entity->Add(replaced);
    Owned<TOwnedProbe> newcomer = Create<TOwnedProbe>();
    entity->InsertItem(0, newcomer.get());
    // No owner bookkeeping, but the slots are counted.
    EXPECT_EQ(replaced->OwnersCount(), 2);
    EXPECT_EQ(replaced->HolderCount(), 1);
    EXPECT_EQ(newcomer->OwnersCount(), 0);
    EXPECT_EQ(newcomer->HolderCount(), 1);
    // Clearing frees neither: `other` still holds the replaced child, the Owned the newcomer.
    entity->Clear();
    EXPECT_EQ(destroyedCount(), 0);
    EXPECT_EQ(newcomer->HolderCount(), 0);
    newcomer.reset();
    EXPECT_EQ(destroyedCount(), 1);
    EXPECT_EQ(other->Items(0), replaced);
    EXPECT_THROW(entity->InsertItem(1, replaced), EListError);
}

TEST_F(ElementsTest, InsertIntoANewEntityAcceptsOnlyTheFirstPlace)
{
    auto entity = Create<TEntity>();
    Owned<TOwnedProbe> child = Create<TOwnedProbe>();
    entity->Insert(3, child.get());
    EXPECT_EQ(entity->Count(), 0);
    EXPECT_EQ(child->OwnersCount(), 0);
    entity->Insert(0, child.get());
    EXPECT_EQ(entity->Count(), 1);
    EXPECT_EQ(child->GetOwner(0), entity.get());
}

// Clear and ForgetAll leave an empty list, not a missing one.
TEST_F(ElementsTest, EmptiedEntityBehavesAsAnyEmptyList)
{
    for (const bool forget : {false, true}) {
        SCOPED_TRACE(forget ? "ForgetAll" : "Clear");
        destroyedCount() = 0;
        auto entity = Create<TEntity>();
        auto* first = entity->AddNew<TOwnedProbe>();
        auto* second = entity->AddNew<TOwnedProbe>();
        if (forget)
            entity->ForgetAll();
        else
            entity->Clear();
        EXPECT_THROW(entity->Items(0), EListError);
        Owned<TOwnedProbe> late = Create<TOwnedProbe>();
        EXPECT_THROW(entity->Insert(1, late.get()), EListError);
        entity->Insert(0, late.get());
        ASSERT_EQ(entity->Count(), 1);
        EXPECT_EQ(entity->Items(0), late.get());
        late.release();
        if (forget) {   // forgotten, not freed
            EXPECT_EQ(destroyedCount(), 0);
            FreeObject(first);
            FreeObject(second);
        }
    }
}

TEST_F(ElementsTest, FindElementByNameIgnoresCzechLetterCase)
{
    auto entity = Create<TEntity>();
    auto* smrk = entity->AddNew<TOwnerElement>();
    smrk->SetName(QStringLiteral("Čárka Řeřicha"));
    EXPECT_EQ(entity->FindElementByName(QStringLiteral("čÁRKA řeřICHA")), smrk);
    EXPECT_EQ(entity->FindElementByName(QStringLiteral("Carka Rericha")), nullptr);
    EXPECT_EQ(entity->FindElementByName(QStringLiteral("TOWNERELEMENT")), nullptr);

    auto* unnamed = entity->AddNew<TOwnerEntity>();
    EXPECT_EQ(entity->FindElementByName(QStringLiteral("townerentity")), unnamed);
}

TEST_F(ElementsTest, OwnerSearchesByClassAndName)
{
    auto root = Create<TOwnerEntity>();
    root->SetName(QStringLiteral("Les"));
    auto* direct = root->AddNew<TOwnerElement>();
    EXPECT_EQ(direct->GetOwnerByName(QStringLiteral("Les")), root.get());
    EXPECT_EQ(direct->GetOwnerByName(QStringLiteral("LES")), nullptr);
    auto* middle = root->AddNew<TEntity>();
    auto* leaf = middle->AddNew<TOwnerElement>();
    EXPECT_EQ(leaf->GetOwnerOfClass(TEntity::StaticClass()), middle);
    EXPECT_EQ(leaf->GetOwnerOfClass(TOwnerEntity::StaticClass()), nullptr);
    // TEntity keeps no owner list, so the search stops there.
    EXPECT_EQ(leaf->FindOwnerOfClass(TOwnerEntity::StaticClass()), nullptr);
    EXPECT_EQ(leaf->FindOwnerOfClass(TOwnerElement::StaticClass()), leaf);

}

TEST_F(ElementsTest, OwnerAwareEntityReportsABadOwnerEntry)
{
    auto entity = Create<TOwnerEntity>();
    entity->SetName(QStringLiteral("Les"));
    Owned<TOwnerElement> notAnEntity = Create<TOwnerElement>();
    entity->AddOwner(notAnEntity.get());
    EXPECT_EQ(entity->GetOwner(0), nullptr);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("TOwnerEntity(Les).GetOwner: Objekt vlastníka není TEntity"));

    notAnEntity.reset();   // the entry turns nil
    EXPECT_EQ(entity->GetOwner(0), nullptr);
    EXPECT_EQ(recorder().messages.back().text, QStringLiteral("TOwnerEntity(Les).GetOwner: Objekt vlastníka je prázdný"));
}

TEST_F(ElementsTest, WalksVisitASharedChildOncePerWalkAndEndOnCycles)
{
    auto root = Create<TEntity>();
    auto* left = root->AddNew<TOwnerEntity>();
    auto* right = root->AddNew<TOwnerEntity>();
    auto* shared = left->AddNew<TOwnerElement>();
    right->Add(shared);
    // root counts 2, left 1, right 1: the shared leaf is no entity, so it is only marked.
    EXPECT_EQ(root->WholeCount(), 4);
    EXPECT_EQ(root->WholeSize(), root->Size() + left->Size() + right->Size() + shared->Size());
    EXPECT_EQ(shared->ID(), TraversalMark());

    right->Add(root.get());   // right holds root, which holds right
    EXPECT_EQ(root->WholeCount(), 5);
    EXPECT_EQ(root->WholeSize(), root->Size() + left->Size() + right->Size() + shared->Size());
    right->Remove(root.get());
}

TEST_F(ElementsTest, TraversalMarksAvoidRealValues)
{
    qint32 previous = 0;
    for (int i = 0; i < 5000; ++i) {
        NewTraversalMark();
        const qint32 mark = TraversalMark();
        EXPECT_GE(mark, -31999);
        EXPECT_LE(mark, -3);
        EXPECT_NE(mark, previous);
        previous = mark;
    }
    // A fresh element (ID -1) is never taken as already visited.
    auto root = Create<TEntity>();
    root->AddNew<TElement>();
    EXPECT_EQ(root->WholeCount(), 1);
}

TEST_F(ElementsTest, MakeCopyCopiesPlainChildrenAndSharesOwnerAwareOnes)
{
    auto source = Create<TNameEntity>();
    source->SetName(QStringLiteral("Zdroj"));
    auto* plain = source->AddNew<TPlainProbe>();
    auto* aware = source->AddNew<TOwnedProbe>();

    Owned<TElement> copy = source->MakeCopy();
    auto* entity = dynamic_cast<TNameEntity*>(copy.get());
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(entity->GetName(), QStringLiteral("Obálka: Zdroj"));
    EXPECT_EQ(entity->ID(), 0);
    ASSERT_EQ(entity->Count(), 2);
    EXPECT_NE(entity->Items(0), plain);
    EXPECT_EQ(entity->Items(0)->ClassType(), TPlainProbe::StaticClass());
    EXPECT_EQ(entity->Items(1), aware);
    EXPECT_EQ(aware->OwnersCount(), 2);

    copy.reset();
    EXPECT_EQ(destroyedCount(), 1);   // the copied plain element only
    EXPECT_EQ(aware->OwnersCount(), 1);
}

TEST_F(ElementsTest, ClearLetsEventsRunOnlyAbove200Children)
{
    for (const int children : {200, 201}) {
        auto entity = Create<TEntity>();
        for (int i = 0; i < children; ++i)
            entity->AddNew<TElement>();
        recorder().clear();
        entity->Clear();
        EXPECT_EQ(recorder().processEventsCount, children > 200 ? 1 : 0) << children;
        EXPECT_EQ(recorder().waitDepth, 0);
    }
}

// A child that, when destroyed, frees a sibling it knows of in the same entity.
class TSiblingFreer : public TOwnerElement
{
public:
    ~TSiblingFreer() override { FreeObject(sibling); }
    LUMEX_TEST_CLASS(TSiblingFreer, TOwnerElement)
    TElement* sibling = nullptr;
};

TEST_F(ElementsTest, ClearSurvivesChildrenThatRemoveOtherChildren)
{
    auto entity = Create<TOwnerEntity>();
    auto* victim = entity->AddNew<TPlainProbe>();
    auto* freer = entity->AddNew<TSiblingFreer>();
    freer->sibling = victim;
    entity->AddNew<TOwnedProbe>();
    entity->Clear();
    EXPECT_EQ(destroyedCount(), 2);
    EXPECT_TRUE(entity->IsEmpty());
}

// A child whose destruction adds to its former entity and clears it again.
class TReclearer : public TOwnerElement
{
public:
    ~TReclearer() override
    {
        auto* freer = entity->AddNew<TSiblingFreer>();
        freer->sibling = sibling;
        entity->Clear();
    }
    LUMEX_TEST_CLASS(TReclearer, TOwnerElement)
    TEntity* entity = nullptr;
    TElement* sibling = nullptr;
};

TEST_F(ElementsTest, NestedClearSurvivesChildrenFreedFromTheOuterList)
{
    auto entity = Create<TOwnerEntity>();
    auto* victim = entity->AddNew<TPlainProbe>();
    auto* reclearer = entity->AddNew<TReclearer>();
    reclearer->entity = entity.get();
    reclearer->sibling = victim;
    entity->Clear();
    EXPECT_EQ(destroyedCount(), 1);
    EXPECT_TRUE(entity->IsEmpty());
}

TEST_F(ElementsTest, QuickEntityKeepsSlotsOfFreedChildren)
{
    auto table = Create<TQuickEntity>();
    auto holder = Create<TOwnerEntity>();
    auto* first = holder->AddNew<TOwnedProbe>();
    auto* second = holder->AddNew<TOwnedProbe>();
    table->Add(first);
    table->Add(second);
    EXPECT_EQ(first->OwnersCount(), 1);   // the quick entity is no owner

    holder->RemoveAndFree(first);   // the table does not keep it alive
    EXPECT_EQ(destroyedCount(), 1);
    ASSERT_EQ(table->Count(), 2);
    EXPECT_EQ(table->Items(0), nullptr);
    EXPECT_EQ(table->Items(1), second);

    table->ForgetAll();
    EXPECT_EQ(table->Count(), 0);
    EXPECT_EQ(holder->Items(0), second);

    // Clear frees only what nobody else holds.
    table->Add(second);
    table->Add(Create<TOwnedProbe>().release());
    table->Clear();
    EXPECT_EQ(destroyedCount(), 2);
    EXPECT_EQ(holder->Items(0), second);
}

// A child slot of some class, set through its published object property.
struct SlotCase {
    const char* name;
    std::function<Owned<TElement>()> owner;
    const char* property;
    std::function<TElement*()> child;
};

template<class T>
std::function<TElement*()> make()
{
    return [] { return Create<T>().release(); };
}

class ChildSlot : public ElementsFixture, public ::testing::WithParamInterface<SlotCase>
{
};

TEST_P(ChildSlot, ReplacingFreesTheOldChildButNotTheSameOne)
{
    const SlotCase& c = GetParam();
    const Owned<TElement> owner = c.owner();
    const QString property = QString::fromLatin1(c.property);
    TElement* first = c.child();
    const WeakRef<TElement> firstRef = first;
    owner->SetPropAsInteger(property, ObjectHandle(first));
    owner->SetPropAsInteger(property, ObjectHandle(first));   // the same element: kept, not doubled
    ASSERT_FALSE(firstRef.isDangling());
    EXPECT_EQ(first->HolderCount(), 1);
    EXPECT_EQ(GetObjectPropByName(owner.get(), property), first);

    TElement* second = c.child();
    owner->SetPropAsInteger(property, ObjectHandle(second));
    EXPECT_TRUE(firstRef.isDangling());
    EXPECT_EQ(GetObjectPropByName(owner.get(), property), second);
    EXPECT_EQ(second->HolderCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Elements, ChildSlot,
    ::testing::Values(SlotCase{"WorldMainTool", [] { return Owned<TElement>(Create<TWorld>().release()); }, "MainTool",
                               make<TTool>()},
                      SlotCase{"ToolSelfModel", [] { return Owned<TElement>(Create<TTool>().release()); }, "SelfModel",
                               make<TToolModel>()},
                      SlotCase{"GroupperCriterion", [] { return Owned<TElement>(Create<TGroupper>().release()); },
                               "Criterion", make<TPropsAndClass>()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ElementsTest, AliasesFindAndReplaceTheirTargets)
{
    auto tool = Create<TOwnerEntity>();
    auto* param = Create<TOwnedProbe>().release();
    param->SetName(QStringLiteral("vlastni"));
    tool->SetAliased(QStringLiteral("Vstup"), param);
    EXPECT_EQ(tool->FindAliased(QStringLiteral("VSTUP")), param);
    EXPECT_EQ(tool->FindAliased(QStringLiteral("vlastni")), param);
    EXPECT_EQ(tool->FindAliased(QStringLiteral("jiny")), nullptr);

    tool->SetAliased(QStringLiteral("Vstup"), param);   // the same element: kept, not doubled
    EXPECT_EQ(destroyedCount(), 0);
    EXPECT_EQ(tool->IndexOf(param), 1);
    EXPECT_EQ(param->OwnersCount(), 1);

    auto* replacement = Create<TOwnedProbe>().release();
    tool->SetAliased(QStringLiteral("Vstup"), replacement);
    EXPECT_EQ(destroyedCount(), 1);
    EXPECT_EQ(tool->FindAliased(QStringLiteral("Vstup")), replacement);
}

TEST_F(ElementsTest, CreateChildUsesTheRegisteredName)
{
    auto entity = Create<TEntity>();
    TElement* child = entity->CreateChild(QStringLiteral("TOwnedProbe"), QStringLiteral("x"));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->ClassType(), TOwnedProbe::StaticClass());
    EXPECT_EQ(child->GetName(), QStringLiteral("x"));
    EXPECT_EQ(entity->CreateChild(QStringLiteral("OwnedProbe"), QStringLiteral("y")), nullptr);
    EXPECT_TRUE(recorder().messages.empty());
}

} // namespace
