// Tests of holding and releasing elements shared by many containers, in any order.
#include "framework/support/ElementsTestSupport.h"

#include "framework/core/Elements.h"

#include <gtest/gtest.h>

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
