// Tests of the species table, growth groups, site-class conversions and the relative site-class table.
#include "forest/rules/SpeciesTable.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(SpeciesTable, GroupCountsMatchThePublishedTable)
{
    // Counted from the published list of 82 entries by a script:
    // [(0, 8), (1, 8), (2, 2), (3, 6), (4, 14), (5, 15), (6, 3), (7, 5), (8, 3), (9, 9),
    //  (10, 1), (11, 1), (12, 1), (13, 6)]
    const std::map<int, int> expected = {{0, 8}, {1, 8}, {2, 2}, {3, 6}, {4, 14}, {5, 15}, {6, 3},
                                         {7, 5}, {8, 3}, {9, 9}, {10, 1}, {11, 1}, {12, 1}, {13, 6}};
    std::map<int, int> counted;
    for (const SpeciesEntry& e : SpeciesTable())
        ++counted[e.group];
    EXPECT_EQ(counted, expected);
    EXPECT_EQ(SpeciesAbbreviationAt(1), "SM ");
    EXPECT_EQ(SpeciesAbbreviationAt(38), "HB ");
    EXPECT_EQ(SpeciesAbbreviationAt(82), "SOU");
}

struct GroupCase {
    const char* label;
    const char* text;
    int group;
};
class GrowthGroup : public ::testing::TestWithParam<GroupCase>
{
};

TEST_P(GrowthGroup, OfTheFirstThreeCharacters)
{
    EXPECT_EQ(SpeciesGrowthGroup(QString::fromUtf8(GetParam().text)), GetParam().group);
}

INSTANTIATE_TEST_SUITE_P(SpeciesTable, GrowthGroup,
                         ::testing::Values(GroupCase{"Lower", "sm", 0}, GroupCase{"Upper", "SM", 0},
                                           GroupCase{"TrailingBlank", "SM ", 0}, GroupCase{"OneLetter", "S", 14},
                                           GroupCase{"FourLetters", "SMXX", 0}, GroupCase{"Accented", "ŠM", 14},
                                           GroupCase{"LeadingBlank", " SM", 14}, GroupCase{"Empty", "", 14},
                                           GroupCase{"Fir", "jdo", 3}, GroupCase{"Douglas", "DG", 12},
                                           GroupCase{"Hornbeam", "HB", 10}, GroupCase{"Birch", "OS", 9},
                                           GroupCase{"Mountain", "KOS", 13}, GroupCase{"Last", "SOU", 0},
                                           GroupCase{"AccentedThird", "SMŠ", 14}, GroupCase{"OneLetterAndBlank", "S ", 14},
                                           GroupCase{"InnerBlank", "S M", 14}),
                         [](const auto& info) { return std::string(info.param.label); });

// Every abbreviation of the table, in either case and two-letter ones without their blank,
// finds the group of its first entry.
TEST(SpeciesTable, EveryAbbreviationFindsItsFirstEntry)
{
    std::map<QString, int> first;
    for (const SpeciesEntry& e : SpeciesTable())
        first.emplace(QString::fromLatin1(e.abbreviation), e.group);
    for (const auto& [abbreviation, group] : first) {
        EXPECT_EQ(SpeciesGrowthGroup(abbreviation), group) << qPrintable(abbreviation);
        EXPECT_EQ(SpeciesGrowthGroup(abbreviation.toLower()), group) << qPrintable(abbreviation);
        if (abbreviation.endsWith(u' '))
            EXPECT_EQ(SpeciesGrowthGroup(abbreviation.left(2)), group) << qPrintable(abbreviation);
    }
}

TEST(SpeciesTable, ConiferousGroups)
{
    for (const char* a : {"SM", "BO", "MD", "JD", "DG"})
        EXPECT_TRUE(IsConiferous(a)) << a;
    for (const char* a : {"BK", "DB", "KOS", "XX"})
        EXPECT_FALSE(IsConiferous(a)) << a;
}

TEST(SpeciesTable, SiteClassConversions)
{
    EXPECT_DOUBLE_EQ(SiteClassFromHeight(27, 0), 4.5);
    EXPECT_DOUBLE_EQ(SiteClassFromHeight(40, 0), 1);    // clamped from -2
    EXPECT_DOUBLE_EQ(SiteClassFromHeight(10, 10), 7);
    EXPECT_DOUBLE_EQ(SiteClassFromHeight(10, 12), 9);   // clamped from 15
    EXPECT_DOUBLE_EQ(HeightFromSiteClass(4.5, 0), 27);
    EXPECT_DOUBLE_EQ(HeightFromSiteClass(12, 3), 14);   // not clamped: 38 - 24
    // K by group, read back through the conversion: K = HeightFromSiteClass(0, group).
    const int k[] = {36, 32, 34, 38, 32, 36, 34, 30, 30, 32, 24, 26, 40};
    for (int g = 0; g <= 12; ++g)
        EXPECT_DOUBLE_EQ(HeightFromSiteClass(0, g), k[g]) << g;
    // Groups 13 and 14 have no constant: no site class.
    EXPECT_DOUBLE_EQ(SiteClassFromHeight(20, 13), 0);
    EXPECT_DOUBLE_EQ(HeightFromSiteClass(3, 14), 0);
}

TEST(RelativeSiteClass, BoundariesOfAgeAndColumn)
{
    EXPECT_EQ(RelativeSiteClass("SM", 20, 10), 9);   // row 1, column 1
    EXPECT_EQ(RelativeSiteClass("SM", 20, 31), 1);   // row 1, column (31 - 8) div 2 = 11
    EXPECT_EQ(RelativeSiteClass("SM", 20, 29), 2);   // row 1, column 10
    EXPECT_EQ(RelativeSiteClass("SM", 21, 26), 3);   // row 2, column 9
    EXPECT_EQ(RelativeSiteClass("SM", 121, 26), 5);  // row 7, column 9
    EXPECT_EQ(RelativeSiteClass("SM", 20, 9), 0);
    EXPECT_EQ(RelativeSiteClass("SM", 20, 42), 0);
    EXPECT_EQ(RelativeSiteClass("SM", 20, 41), 1);   // column 16
    EXPECT_EQ(RelativeSiteClass("SM", 20, 7), 0);    // (7-8) div 2 = 0
    EXPECT_EQ(RelativeSiteClass("KOS", 50, 20), 0);  // group 13: no row
    EXPECT_EQ(RelativeSiteClass("XYZ", 50, 20), 0);
}

TEST(RelativeSiteClass, BirchReadsTheGroup7Row)
{
    // Row 37 (group 7) against row 40 (group 9) at column 7 (absolute 22): 2 and 9.
    EXPECT_EQ(RelativeSiteClass("OS", 50, 22), 2);
    EXPECT_EQ(RelativeSiteClass("TP", 50, 22), 9);
    EXPECT_EQ(RelativeSiteClass(" OS ", 50, 22), 2);
}

// Row sums of the published relative site-class table, by a script:
// {1: 65, 2: 65, 3: 69, 4: 72, 5: 76, 6: 84, 7: 87, 8: 60, 9: 60, 10: 60, 11: 63, 12: 67,
//  13: 71, 14: 74, 15: 63, 16: 70, 17: 63, 18: 60, 19: 68, 20: 109, 22: 67, 23: 68, 24: 68,
//  25: 73, 26: 76, 27: 79, 28: 58, 29: 58, 30: 58, 31: 62, 32: 64, 33: 67, 34: 73, 35: 34,
//  36: 47, 37: 29, 38: 68, 39: 61, 40: 98, 41: 54, 42: 51}
struct RowCase {
    const char* label;
    const char* species;
    int age;
    int sum;
};
class RelativeRow : public ::testing::TestWithParam<RowCase>
{
};

TEST_P(RelativeRow, SumsToThePublishedRow)
{
    int sum = 0;
    for (int column = 1; column <= 16; ++column)
        sum += RelativeSiteClass(GetParam().species, GetParam().age, 8 + 2 * column);
    EXPECT_EQ(sum, GetParam().sum);
}

INSTANTIATE_TEST_SUITE_P(
    RelativeSiteClass, RelativeRow,
    ::testing::Values(RowCase{"r1", "SM", 10, 65}, RowCase{"r2", "SM", 40, 65}, RowCase{"r3", "SM", 41, 69},
                      RowCase{"r4", "SM", 80, 72}, RowCase{"r5", "SM", 100, 76}, RowCase{"r6", "SM", 120, 84},
                      RowCase{"r7", "SM", 200, 87}, RowCase{"r8", "BO", 1, 60}, RowCase{"r9", "BO", 21, 60},
                      RowCase{"r10", "BO", 60, 60}, RowCase{"r11", "BO", 61, 63}, RowCase{"r12", "BO", 81, 67},
                      RowCase{"r13", "BO", 101, 71}, RowCase{"r14", "BO", 121, 74}, RowCase{"r15", "JD", 50, 63},
                      RowCase{"r16", "JD", 51, 70}, RowCase{"r17", "MD", 50, 63}, RowCase{"r18", "MD", 90, 60},
                      RowCase{"r19", "MD", 91, 68}, RowCase{"r20", "DG", 70, 109}, RowCase{"r22", "BK", 20, 67},
                      RowCase{"r23", "BK", 40, 68}, RowCase{"r24", "BK", 60, 68}, RowCase{"r25", "BK", 80, 73},
                      RowCase{"r26", "BK", 100, 76}, RowCase{"r27", "BK", 120, 79}, RowCase{"r28", "BK", 121, 58},
                      RowCase{"r29", "DB", 20, 58}, RowCase{"r30", "DB", 21, 58}, RowCase{"r31", "DB", 41, 62},
                      RowCase{"r32", "DB", 61, 64}, RowCase{"r33", "DB", 81, 67}, RowCase{"r34", "DB", 101, 73},
                      RowCase{"r35", "DB", 130, 34}, RowCase{"r36js", "JS", 5, 47}, RowCase{"r36ol", "OL", 99, 47},
                      RowCase{"r37", "BR", 70, 29}, RowCase{"r38", "AK", 50, 68}, RowCase{"r39", "AK", 51, 61},
                      RowCase{"r40", "TP", 30, 98}, RowCase{"r41", "HB", 50, 54}, RowCase{"r42", "HB", 51, 51}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
