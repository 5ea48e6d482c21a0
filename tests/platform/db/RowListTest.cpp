// The blocked row list against a plain vector: positions after many inserts and removals.
#include "platform/db/RowList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

void expectSame(const db::RowList& list, const std::vector<int>& model)
{
    ASSERT_EQ(list.size(), model.size());
    for (size_t i = 0; i < model.size(); ++i)
        ASSERT_EQ(list[i], model[i]) << "row " << i;
    EXPECT_TRUE(std::equal(list.begin(), list.end(), model.begin(), model.end()));
}

} // namespace

TEST(RowList, InsertsAndRemovesAnywhereLikeAVector)
{
    std::mt19937 random(8);
    db::RowList list;
    std::vector<int> model;
    for (int step = 0; step < 6000; ++step) {
        const bool remove = !model.empty() && random() % 3 == 0;
        if (remove) {
            const size_t row = random() % model.size();
            list.erase(row);
            model.erase(model.begin() + std::ptrdiff_t(row));
        } else {
            const size_t row = random() % (model.size() + 1);
            list.insert(row, step);
            model.insert(model.begin() + std::ptrdiff_t(row), step);
        }
        if (step % 500 == 0)
            expectSame(list, model);
    }
    expectSame(list, model);
    for (size_t i = 0; i < model.size(); i += 97)
        EXPECT_EQ(list.indexOf(model[i]), int(i));
    EXPECT_EQ(list.indexOf(-5), -1);
    while (!model.empty()) {   // emptied from the front, block by block
        list.erase(0);
        model.erase(model.begin());
    }
    expectSame(list, model);
    list.insert(0, 7);
    expectSame(list, {7});
}

TEST(RowList, AssignedRowsAreSearchedAsASortedRange)
{
    std::vector<int> sorted(5000);
    for (size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = int(i) * 2;
    db::RowList list;
    list = sorted;
    expectSame(list, sorted);
    EXPECT_EQ(std::lower_bound(list.begin(), list.end(), 2001) - list.begin(), 1001);
    EXPECT_EQ(std::partition_point(list.begin(), list.end(), [](int v) { return v < 0; }) - list.begin(), 0);
    EXPECT_EQ(std::upper_bound(list.begin(), list.end(), 9998) - list.begin(), 5000);
    list.insert(1001, 2001);
    EXPECT_EQ(list[1001], 2001);
    EXPECT_EQ(list[1002], 2002);
    list = std::vector<int>();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.begin(), list.end());
}

// A list assigned again and again (a detail refilled on every master move) holds exactly the
// rows of each assignment, also after growing, shrinking and being empty in between.
TEST(RowList, ReassignedListsHoldExactlyTheLastRows)
{
    db::RowList list;
    for (const size_t size : {3u, 0u, 2u, 1500u, 700u, 0u, 4u, 1025u}) {
        std::vector<int> rows(size);
        for (size_t i = 0; i < size; ++i)
            rows[i] = int(size * 10 + i);
        list = rows;
        expectSame(list, rows);
        list.insert(size / 2, -1);
        rows.insert(rows.begin() + std::ptrdiff_t(size / 2), -1);
        expectSame(list, rows);
    }
}

// The block-wise search finds the same row as a search of the whole list, at block edges too.
TEST(RowList, LowerBoundAgreesWithAPlainSearch)
{
    std::mt19937 random(5);
    db::RowList list;
    std::vector<int> model;
    for (int step = 0; step < 3000; ++step) {
        const int value = int(random() % 1000);
        const size_t row = list.lowerBound(value, std::less<int>());
        ASSERT_EQ(row, size_t(std::lower_bound(model.begin(), model.end(), value) - model.begin()));
        list.insert(row, value);
        model.insert(model.begin() + std::ptrdiff_t(row), value);
    }
    expectSame(list, model);
    EXPECT_EQ(list.lowerBound(-1, std::less<int>()), 0u);
    EXPECT_EQ(list.lowerBound(1000, std::less<int>()), model.size());
}
