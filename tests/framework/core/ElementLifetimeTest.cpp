// Tests of holding and releasing elements shared by many containers, in any order.
#include "framework/support/ElementsTestSupport.h"

#include "framework/core/Elements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

using namespace lumextest;

namespace {

using ElementLifetimeTest = ElementsFixture;

// More holders than fit the small holding list: the element moves to the table on the way.
constexpr int manyHolders = 40;

std::vector<Owned<TEntity>> entities(int count)
{
    std::vector<Owned<TEntity>> result;
    for (int i = 0; i < count; ++i)
        result.push_back(Create<TOwnerEntity>());
    return result;
}

// Release orders: as taken, reversed, and from the middle outwards, alternating sides.
std::vector<std::vector<int>> releaseOrders(int count)
{
    std::vector<int> inOrder, reversed, fromMiddle;
    for (int i = 0; i < count; ++i) {
        inOrder.push_back(i);
        reversed.push_back(count - 1 - i);
    }
    for (int step = 0; step < count; ++step)
        fromMiddle.push_back((count - 1) / 2 + (step % 2 ? (step + 1) / 2 : -step / 2));
    return {inOrder, reversed, fromMiddle};
}

TEST_F(ElementLifetimeTest, SharedElementIsFreedOnceByItsLastHolderInAnyOrder)
{
    for (const auto& order : releaseOrders(manyHolders)) {
        destroyedCount() = 0;
        auto holders = entities(manyHolders);
        TElement* shared = Create<TOwnedProbe>().release();
        for (auto& holder : holders)
            holder->Add(shared);
        ASSERT_EQ(shared->HolderCount(), manyHolders);
        for (size_t k = 0; k + 1 < order.size(); ++k) {
            holders[static_cast<size_t>(order[k])]->RemoveAndFree(shared);
            ASSERT_EQ(destroyedCount(), 0);
            ASSERT_EQ(shared->HolderCount(), manyHolders - 1 - static_cast<int>(k));
            ASSERT_EQ(shared->OwnersCount(), shared->HolderCount());
        }
        // The owners left are the one not yet released.
        EXPECT_EQ(shared->GetOwner(0), holders[static_cast<size_t>(order.back())].get());
        holders[static_cast<size_t>(order.back())]->Clear();
        EXPECT_EQ(destroyedCount(), 1);
    }
}

// The owner list keeps the order of the owners that are left, however many left before.
TEST_F(ElementLifetimeTest, OwnerListKeepsItsOrderWhileOwnersLeave)
{
    auto holders = entities(manyHolders * 2);
    auto shared = Create<TOwnedProbe>();
    for (auto& holder : holders)
        holder->Add(shared.get());
    // The first half leaves from the front, then every other one of the rest.
    for (int i = 0; i < manyHolders; ++i)
        holders[static_cast<size_t>(i)]->Remove(shared.get());
    for (int i = manyHolders; i < manyHolders * 2; i += 2)
        holders[static_cast<size_t>(i)]->Remove(shared.get());
    ASSERT_EQ(shared->OwnersCount(), manyHolders / 2);
    for (int k = 0; k < manyHolders / 2; ++k)
        EXPECT_EQ(shared->GetOwner(k), holders[static_cast<size_t>(manyHolders + 1 + 2 * k)].get());
    EXPECT_THROW(shared->InsertOwner(manyHolders, holders[0].get()), EListError);
    shared->InsertOwner(1, holders[0].get());
    EXPECT_EQ(shared->GetOwner(0), holders[static_cast<size_t>(manyHolders + 1)].get());
    EXPECT_EQ(shared->GetOwner(1), holders[0].get());
    EXPECT_EQ(shared->GetOwner(2), holders[static_cast<size_t>(manyHolders + 3)].get());
    EXPECT_TRUE(shared->HasOwner(holders[0].get()));
    EXPECT_FALSE(shared->HasOwner(holders[2].get()));
}

// One container holding the element several times among many others: each release takes one slot.
TEST_F(ElementLifetimeTest, RepeatedHoldingsOfOneContainerAreReleasedOneAtATime)
{
    auto holders = entities(manyHolders);
    auto twice = Create<TEntity>();
    TElement* shared = Create<TOwnedProbe>().release();
    twice->Add(shared);
    for (auto& holder : holders)
        holder->Add(shared);
    twice->Add(shared);
    for (auto& holder : holders)
        holder->RemoveAndFree(shared);
    EXPECT_EQ(shared->HolderCount(), 2);
    EXPECT_EQ(shared->OwnersCount(), 2);
    twice->RemoveAndFree(shared);
    EXPECT_EQ(destroyedCount(), 0);
    EXPECT_EQ(twice->Count(), 1);
    twice->RemoveAndFree(shared);
    EXPECT_EQ(destroyedCount(), 1);
    EXPECT_EQ(twice->Count(), 0);
}

// An element freed while many containers hold it leaves every one of them.
TEST_F(ElementLifetimeTest, FreedElementLeavesEveryHolder)
{
    for (const bool aware : {true, false}) {
        auto holders = entities(manyHolders);
        auto quick = Create<TQuickEntity>();
        auto shared = aware ? Owned<TElement>(Create<TOwnedProbe>()) : Owned<TElement>(Create<TPlainProbe>());
        for (auto& holder : holders)
            holder->Add(shared.get());
        quick->Add(shared.get());
        holders[3]->Add(shared.get());
        shared = nullptr;
        for (auto& holder : holders)
            EXPECT_EQ(holder->Count(), 0);
        ASSERT_EQ(quick->Count(), 1);   // a weak holder keeps the slot, now nil
        EXPECT_EQ(quick->Items(0), nullptr);
    }
}

// An owner freed while listed reads nil; removing nil takes out the first such entry only.
TEST_F(ElementLifetimeTest, FreedOwnerEntriesReadNilAndLeaveOneByOne)
{
    auto kept = Create<TOwnerEntity>();
    auto shared = Create<TOwnedProbe>();
    auto gone = Create<TEntity>();
    auto alsoGone = Create<TEntity>();
    shared->AddOwner(gone.get());
    shared->AddOwner(kept.get());
    shared->AddOwner(alsoGone.get());
    gone = nullptr;
    alsoGone = nullptr;
    ASSERT_EQ(shared->OwnersCount(), 3);
    EXPECT_EQ(shared->GetOwner(0), nullptr);
    shared->RemoveOwner(nullptr);
    ASSERT_EQ(shared->OwnersCount(), 2);
    EXPECT_EQ(shared->GetOwner(0), kept.get());
    EXPECT_EQ(shared->GetOwner(1), nullptr);
    shared->RemoveOwner(kept.get());
    EXPECT_EQ(shared->GetOwner(0), nullptr);
}

// In a long owner list an owner listed twice leaves by its first entry, one listed once by its
// only one wherever it stands, and an entry put in the middle is found as well.
TEST_F(ElementLifetimeTest, LongOwnerListTakesOutTheFirstEntryOfAnOwner)
{
    auto holders = entities(manyHolders);
    auto twice = Create<TOwnerEntity>();
    auto inserted = Create<TOwnerEntity>();
    auto shared = Create<TOwnedProbe>();
    shared->AddOwner(twice.get());
    for (auto& holder : holders)
        shared->AddOwner(holder.get());
    shared->AddOwner(twice.get());
    shared->InsertOwner(manyHolders / 2, inserted.get());
    shared->RemoveOwner(twice.get());
    ASSERT_EQ(shared->OwnersCount(), manyHolders + 2);
    EXPECT_EQ(shared->GetOwner(0), holders[0].get());
    EXPECT_EQ(shared->GetOwner(manyHolders / 2 - 1), inserted.get());
    EXPECT_EQ(shared->GetOwner(manyHolders + 1), twice.get());
    shared->RemoveOwner(inserted.get());
    for (int i = manyHolders - 1; i >= 0; --i) {
        shared->RemoveOwner(holders[static_cast<size_t>(i)].get());
        ASSERT_EQ(shared->GetOwner(i), twice.get());
    }
    ASSERT_EQ(shared->OwnersCount(), 1);
    shared->RemoveOwner(holders[0].get());   // no longer listed: nothing changes
    EXPECT_EQ(shared->GetOwner(0), twice.get());
    shared->RemoveOwner(twice.get());
    EXPECT_TRUE(shared->HasNoOwner());
    EXPECT_FALSE(shared->HasOwner(twice.get()));
}

// Handles over several thousand objects, some freed in runs: the live are found, the freed and
// numbers never given find nothing, and no number is given twice.
// An owner-aware container that records its name when it is destroyed.
class TNamedProbe : public TOwnerEntity
{
public:
    ~TNamedProbe() override { freedNames().push_back(GetName()); }
    static std::vector<QString>& freedNames()
    {
        static std::vector<QString> names;
        return names;
    }
    LUMEX_TEST_CLASS(TNamedProbe, TOwnerEntity)
};

// A few holders (the element's own slot and the small list) leaving and coming back in any
// order: each is listed once, and the element dies with the last slot.
TEST_F(ElementLifetimeTest, FewHoldersAreListedOnceWhateverOrderTheyLeaveIn)
{
    std::vector<int> order = {0, 1, 2};
    do {
        destroyedCount() = 0;
        auto holders = entities(3);
        TElement* shared = Create<TOwnedProbe>().release();
        for (auto& holder : holders)
            holder->Add(shared);
        TEntity* left = holders[static_cast<size_t>(order[0])].get();
        TEntity* twice = holders[static_cast<size_t>(order[1])].get();
        left->Remove(shared);
        left->Add(shared);
        twice->Add(shared);
        std::vector<TEntity*> listed = shared->Holders();
        std::sort(listed.begin(), listed.end());
        std::vector<TEntity*> all = {holders[0].get(), holders[1].get(), holders[2].get()};
        std::sort(all.begin(), all.end());
        ASSERT_EQ(listed, all);
        for (const int k : order)
            holders[static_cast<size_t>(k)]->RemoveAndFree(shared);
        ASSERT_EQ(destroyedCount(), 0);
        ASSERT_EQ(shared->Holders(), std::vector<TEntity*>{twice});
        twice->RemoveAndFree(shared);
        EXPECT_EQ(destroyedCount(), 1);
    } while (std::next_permutation(order.begin(), order.end()));
}

// A subtree with a shared grandchild, its branches freed in any order: every element once.
TEST_F(ElementLifetimeTest, SubtreeFreedInAnyOrderFreesEveryElementOnce)
{
    std::vector<int> order = {0, 1, 2};
    do {
        TNamedProbe::freedNames().clear();
        auto root = Create<TNamedProbe>();
        root->SetName("root");
        std::vector<TNamedProbe*> branches;
        for (int b = 0; b < 3; ++b) {
            branches.push_back(root->AddNew<TNamedProbe>());
            branches.back()->SetName(QStringLiteral("b%1").arg(b));
            for (int l = 0; l < 2; ++l)
                branches.back()->AddNew<TNamedProbe>()->SetName(QStringLiteral("b%1l%2").arg(b).arg(l));
        }
        TNamedProbe* shared = branches[0]->AddNew<TNamedProbe>();
        shared->SetName("shared");
        branches[2]->Add(shared);
        for (const int b : order)
            root->RemoveAndFree(branches[static_cast<size_t>(b)]);
        EXPECT_EQ(root->Count(), 0);
        root = nullptr;
        std::vector<QString> freed = TNamedProbe::freedNames();
        std::sort(freed.begin(), freed.end());
        const std::vector<QString> expected = {"b0", "b0l0", "b0l1", "b1", "b1l0", "b1l1", "b2", "b2l0", "b2l1",
                                               "root", "shared"};
        EXPECT_EQ(freed, expected);
    } while (std::next_permutation(order.begin(), order.end()));
}

// Answers kept per tree generation stay right: any change of children or owners, and any
// freed element, gives a new generation.
TEST_F(ElementLifetimeTest, TreeGenerationChangesWithEveryChangeOfTheTree)
{
    auto parent = Create<TOwnerEntity>();
    auto other = Create<TOwnerEntity>();
    TElement* child = Create<TOwnedProbe>().release();
    std::vector<quint64> seen = {TreeGeneration()};
    const auto changed = [&seen] {
        const quint64 now = TreeGeneration();
        const bool isNew = std::find(seen.begin(), seen.end(), now) == seen.end();
        seen.push_back(now);
        return isNew;
    };
    parent->Add(child);
    EXPECT_TRUE(changed());
    EXPECT_EQ(parent->IndexOf(child), 0);
    EXPECT_FALSE(changed());   // reading changes nothing
    other->Insert(0, child);
    EXPECT_TRUE(changed());
    other->Remove(child);
    EXPECT_TRUE(changed());
    child->InsertOwner(0, other.get());
    EXPECT_TRUE(changed());
    child->RemoveOwner(other.get());
    EXPECT_TRUE(changed());
    auto spare = Create<TPlainProbe>();
    parent->InsertItem(0, spare.get());   // in the child's place, the child not freed
    EXPECT_TRUE(changed());
    parent->InsertItem(0, child);
    EXPECT_TRUE(changed());
    parent->Clear();
    EXPECT_TRUE(changed());
    TElement* plain = Create<TPlainProbe>().release();
    other->Add(plain);
    EXPECT_TRUE(changed());
    other->ForgetAll();
    EXPECT_TRUE(changed());
    FreeObject(plain);
    EXPECT_TRUE(changed());
}

// A short owner list grows past its first places and shrinks again, keeping its order.
TEST_F(ElementLifetimeTest, ShortOwnerListKeepsItsOrderAcrossItsFirstPlaces)
{
    auto holders = entities(4);
    auto shared = Create<TOwnedProbe>();
    holders[0]->Add(shared.get());
    holders[1]->Add(shared.get());
    shared->InsertOwner(1, holders[2].get());
    shared->InsertOwner(3, holders[3].get());
    const auto owners = [&] {
        std::vector<TElement*> result;
        for (int i = 0; i < shared->OwnersCount(); ++i)
            result.push_back(shared->GetOwner(i));
        return result;
    };
    EXPECT_EQ(owners(), (std::vector<TElement*>{holders[0].get(), holders[2].get(), holders[1].get(), holders[3].get()}));
    shared->RemoveOwner(holders[0].get());
    shared->RemoveOwner(holders[1].get());
    EXPECT_EQ(owners(), (std::vector<TElement*>{holders[2].get(), holders[3].get()}));
    shared->InsertOwner(0, holders[0].get());
    EXPECT_EQ(owners(), (std::vector<TElement*>{holders[2].get(), holders[3].get(), holders[0].get()}));
    shared->RemoveOwner(holders[3].get());
    shared->RemoveOwner(holders[2].get());
    shared->RemoveOwner(holders[0].get());
    EXPECT_TRUE(shared->HasNoOwner());
}

// Pages of handles emptied by freeing and taken again give the new objects only.
TEST_F(ElementLifetimeTest, EmptiedHandlePagesServeNewObjectsOnly)
{
    std::vector<qint32> freed;
    for (int round = 0; round < 3; ++round) {
        std::vector<Owned<TElement>> objects;
        std::vector<qint32> handles;
        for (int i = 0; i < 3000; ++i) {
            objects.push_back(Create<TPlainProbe>());
            handles.push_back(ObjectHandle(objects.back().get()));
        }
        for (const qint32 handle : freed)
            ASSERT_EQ(ObjectFromHandle(handle), nullptr);
        for (size_t i = 0; i < objects.size(); ++i)
            ASSERT_EQ(ObjectFromHandle(handles[i]), objects[i].get());
        freed.insert(freed.end(), handles.begin(), handles.end());
    }
    for (const qint32 handle : freed)
        ASSERT_EQ(ObjectFromHandle(handle), nullptr);
}

TEST_F(ElementLifetimeTest, HandlesFindLiveObjectsOnlyAndAreNeverReused)
{
    std::vector<Owned<TElement>> objects;
    std::vector<qint32> handles;
    for (int i = 0; i < 5000; ++i) {
        objects.push_back(Create<TPlainProbe>());
        handles.push_back(ObjectHandle(objects.back().get()));
    }
    for (size_t i = 0; i < objects.size(); ++i)
        if (i % 3 == 0 || (i > 1000 && i < 3500))
            objects[i] = nullptr;
    const qint32 fresh = ObjectHandle(Create<TPlainProbe>().get());
    for (size_t i = 0; i < objects.size(); ++i) {
        ASSERT_GT(fresh, handles[i]);
        ASSERT_EQ(ObjectFromHandle(handles[i]), objects[i].get()) << i;
    }
    EXPECT_EQ(ObjectFromHandle(fresh), nullptr);
    EXPECT_EQ(ObjectFromHandle(fresh + 100000), nullptr);
    EXPECT_EQ(ObjectFromHandle(-5), nullptr);
    EXPECT_EQ(ObjectFromHandle(std::numeric_limits<qint32>::max()), nullptr);
    EXPECT_EQ(ObjectFromHandle(std::numeric_limits<qint32>::min()), nullptr);
}

} // namespace
