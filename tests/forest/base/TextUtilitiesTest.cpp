// Tests of the forest model's small text and number routines.
#include "forest/base/TextUtilities.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(TextUtilities, SplitsAtLineMarkers)
{
    QStringList lines = {"old"};
    SplitAtLineMarker(lines, "a@$&b");
    EXPECT_EQ(lines, QStringList({"a", "b"}));
    SplitAtLineMarker(lines, "");
    EXPECT_EQ(lines, QStringList({""}));
    SplitAtLineMarker(lines, "a@$&");
    EXPECT_EQ(lines, QStringList({"a", ""}));
}

TEST(TextUtilities, FloatsEqualToDecimals)
{
    EXPECT_TRUE(FloatsEqualToDecimals(2, 1.004, 1.0));
    EXPECT_FALSE(FloatsEqualToDecimals(3, 1.004, 1.0));
    EXPECT_TRUE(FloatsEqualToDecimals(0, 2.5, 2.0));    // both round to the even 2
    EXPECT_FALSE(FloatsEqualToDecimals(-1, 3.5, 3.0));  // 4 against 3
    EXPECT_TRUE(FloatsEqualToDecimals(9, 1.0000001, 1.0));   // N capped at 6
}

TEST(TextUtilities, BlanksAndDigits)
{
    EXPECT_EQ(RemoveSpaces(" 1 2\t3 "), "12\t3");
    EXPECT_EQ(RemoveSpacesOrZero("   "), "0");
    EXPECT_EQ(RemoveSpacesOrZero(" a "), "a");
    EXPECT_EQ(DigitsOnly("x1y2"), "12");
    EXPECT_EQ(DigitsOnly("xy"), "0");
    EXPECT_EQ(DigitsToInt("PSČ 123 45"), 12345);
    EXPECT_EQ(DigitsToInt("2147483647"), 2147483647);
    EXPECT_EQ(DigitsToInt("2147483648"), 0);
    EXPECT_EQ(DigitsToInt("99999999999999999999999"), 0);
    EXPECT_EQ(DigitsToInt("-5"), 5);
    EXPECT_EQ(MinInt(3, -2), -2);
}

TEST(TextUtilities, FloatPowerOfPositiveBases)
{
    EXPECT_NEAR(FloatPower(2, 3), 9, 1e-12);
    EXPECT_NEAR(FloatPower(-1.02037409, 31), std::pow(31.0, -1.02037409), 1e-15);
    EXPECT_NEAR(FloatPower(3, 0.5), 0.125, 1e-15);
    EXPECT_EQ(FloatPower(100, 0.1), 0);      // L = 230 > 80
    EXPECT_EQ(FloatPower(-100, 0.1), 1e30);  // L = -230 < -75
    EXPECT_EQ(FloatPower(5, 1), 1);
}

TEST(TextUtilities, SplittingAndCharacterSearches)
{
    QString before;
    QString after;
    SplitAtSeparator("a=b=c", "=", before, after);
    EXPECT_EQ(before, "a");
    EXPECT_EQ(after, "b=c");
    SplitAtSeparator("abc", "=", before, after);
    EXPECT_EQ(before, "abc");
    EXPECT_EQ(after, "");
    SplitAtSeparator("abc", "", before, after);   // an empty separator is never found
    EXPECT_EQ(before, "abc");
    EXPECT_EQ(TextBeforeFirstChar("123 45@x@y", '@'), "123 45");
    EXPECT_EQ(TextBeforeFirstChar("abc", '@'), "abc");
    EXPECT_EQ(TextBeforeLastChar("C:\\P\\X.EXE", '\\'), "C:\\P");
    EXPECT_EQ(TextBeforeLastChar("abc", '\\'), "ab");
    EXPECT_EQ(TextBeforeLastChar("", '\\'), "");
    EXPECT_EQ(TextAfterLastChar("C:\\P\\X.EXE", '\\'), "X.EXE");
    EXPECT_EQ(TextAfterLastChar("abc", '\\'), "abc");
}

TEST(TextUtilities, PadLeft)
{
    EXPECT_EQ(PadLeft("7", 3, '0'), "007");
    EXPECT_EQ(PadLeft("1234", 3, '0'), "1234");
    EXPECT_EQ(PadLeft("", 2, ' '), "  ");
}

} // namespace
