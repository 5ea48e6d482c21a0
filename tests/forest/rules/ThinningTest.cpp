// Tests of the thinning table and the thinning percentage of a species.
#include "forest/rules/Thinning.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(ThinningTable, RowSumsMatchThePublishedTable)
{
    // Sums of the nine decades of each published row (class, stocking 7..10), by a script:
    // [15, 18, 27, 73, 33, 56, 83, 137, 33, 40, 55, 106, 12, 24, 53, 119, 20, 27, 41, 92]
    const int expected[5][4] = {{15, 18, 27, 73}, {33, 56, 83, 137}, {33, 40, 55, 106},
                                {12, 24, 53, 119}, {20, 27, 41, 92}};
    for (int k = 1; k <= 5; ++k)
        for (int z = 7; z <= 10; ++z) {
            int sum = 0;
            for (int d = 1; d <= 9; ++d)
                sum += ThinningTableValue(k, z, d);
            EXPECT_EQ(sum, expected[k - 1][z - 7]) << k << "," << z;
        }
}

TEST(ThinningTable, BoundsAndClamps)
{
    EXPECT_EQ(ThinningTableValue(2, 10, 1), 47);
    EXPECT_EQ(ThinningTableValue(2, 10, 12), ThinningTableValue(2, 10, 9));
    EXPECT_EQ(ThinningTableValue(9, 6, 0), 0);   // stocking below 7: 0 whatever else
    EXPECT_THROW(ThinningTableValue(6, 8, 1), ERangeError);
    EXPECT_THROW(ThinningTableValue(1, 11, 1), ERangeError);
    EXPECT_THROW(ThinningTableValue(1, 8, 0), ERangeError);
}

struct PercentCase {
    const char* label;
    const char* species;
    int zakm;
    int vek;
    char letter;
    int bonA;
    int zast;
    int expected;
};
class ThinningPercent : public ::testing::TestWithParam<PercentCase>
{
};

TEST_P(ThinningPercent, ByHand)
{
    const PercentCase& c = GetParam();
    EXPECT_EQ(ThinningPercentFromPhsTables(c.species, c.zakm, c.vek, QLatin1Char(c.letter), c.bonA, 100 - c.zast, c.zast),
              c.expected);
}

// Worked by hand from the table rows (class, stocking: decades 1..9).
INSTANTIATE_TEST_SUITE_P(
    ThinningTable, ThinningPercent,
    ::testing::Values(
        // BK is kind 4; row 4,9 = 0 16 13 10 ...: VEK 45 halfway between decades 3 and 4: 11.5 -> 12.
        PercentCase{"HalfwayRoundsToEven", "BK", 9, 45, 'A', 0, 50, 12},
        // VEK 5: decade 1 with r = 5: (0 * 5 + 16 * 5) / 10 = 8.
        PercentCase{"YoungUsesDecadeOne", "BK", 9, 5, 'A', 0, 50, 8},
        // VEK 99: decade 8, r = 9 on row 4,10: (10 * 1 + 9 * 9) / 10 = 9.1 -> 9.
        PercentCase{"InterpolatesByUnits", "BK", 10, 99, 'A', 0, 50, 9},
        // VEK 150: decade 9 (and 10 reads 9): row 4,10 decade 9 = 9.
        PercentCase{"OldCapsTheDecade", "BK", 10, 150, 'A', 0, 50, 9},
        // ZAKM 12 reads stocking 10.
        PercentCase{"StockingCappedAtTen", "BK", 12, 150, 'A', 0, 50, 9},
        PercentCase{"LowStockingGivesZero", "BK", 6, 45, 'A', 0, 10, 0},
        // SM with BON_A 0: rich forest type S -> kind 2 (row 2,8 decade 2 = 4), else kind 1 (row 1,8 = 2).
        PercentCase{"RichForestTypeKindTwo", "SM", 8, 30, 'S', 0, 50, 4},
        PercentCase{"PoorForestTypeKindOne", "SM", 8, 30, 'A', 0, 50, 2},
        PercentCase{"LowRelativeSiteKindOne", "SM", 8, 30, 'S', 20, 50, 2},
        PercentCase{"HighRelativeSiteKindTwo", "SM", 8, 30, 'A', 24, 50, 4},
        // BO kind 3, row 3,10 decade 1 = 19; minor share (ZAST 10): divided by 3 -> 6.
        PercentCase{"MinorConiferThird", "BO", 10, 20, 'A', 0, 10, 6},
        // DB kind 5, row 5,10 decade 2 = 26; halved -> 13.
        PercentCase{"MinorOakHalf", "DB", 10, 30, 'A', 0, 10, 13},
        // AK kind 5: 26 doubled -> 52.
        PercentCase{"MinorLocustDouble", "AK", 10, 30, 'A', 0, 10, 52},
        // PL kind 5 unchanged.
        PercentCase{"MinorPlaneUnchanged", "PL", 10, 30, 'A', 0, 10, 26},
        // ZAST 25 is no minor share.
        PercentCase{"ShareOf25Unchanged", "DB", 10, 30, 'A', 0, 25, 26},
        PercentCase{"GroupWithoutTable", "KOS", 10, 30, 'A', 0, 50, 99},
        PercentCase{"GroupWithoutTableMinorThird", "JX", 10, 30, 'A', 0, 10, 33},
        PercentCase{"UnknownSpecies", "XYZ", 10, 30, 'A', 0, 10, 99}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
