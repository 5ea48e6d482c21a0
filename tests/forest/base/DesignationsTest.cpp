// Tests of the normalisers of region codes, storey and stand-group designations.
#include "forest/base/Designations.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* label;
    const char* text;
    const char* expected;
};

class StoreyDesignation : public ::testing::TestWithParam<Case>
{
};
TEST_P(StoreyDesignation, Normalised)
{
    QString t = QString::fromUtf8(GetParam().text);
    NormalizeDesignation(t);
    EXPECT_EQ(t, QString::fromUtf8(GetParam().expected));
}
INSTANTIATE_TEST_SUITE_P(Designations, StoreyDesignation,
                         ::testing::Values(Case{"One", "1", " 1 "}, Case{"DigitLetter", "1a", " 1a"}, Case{"DigitUpperLetter", "1A", " 1a"},
                                           Case{"TwoDigits", "12", "12 "}, Case{"Blanks", "A  B", " ab"},
                                           Case{"Three", "xyz", "xyz"}, Case{"ThreeWithBlanks", " 1 a b", " 1 a b"},
                                           Case{"Blank", "   ", "   "}, Case{"CzechKeepsCase", "Č1", "Č1 "},
                                           Case{"Empty", "", ""}),
                         [](const auto& info) { return std::string(info.param.label); });

class RegionCode : public ::testing::TestWithParam<Case>
{
};
TEST_P(RegionCode, Normalised)
{
    QString t = QString::fromUtf8(GetParam().text);
    NormalizeRegionCode(t);
    EXPECT_EQ(t, QString::fromUtf8(GetParam().expected));
}
INSTANTIATE_TEST_SUITE_P(Designations, RegionCode,
                         ::testing::Values(Case{"One", "1", " 1"}, Case{"DigitLetter", "3A", " 3a"},
                                           Case{"TwoDigits", "35", "35"}, Case{"Unknown", "XXX", "XXX"},
                                           Case{"Blanks", "A  B", " ab"}, Case{"Longer", " 4 5 B", " 4 5 b"}),
                         [](const auto& info) { return std::string(info.param.label); });

class StandGroupDesignation : public ::testing::TestWithParam<Case>
{
};
TEST_P(StandGroupDesignation, EachPartNormalised)
{
    QString t = QString::fromUtf8(GetParam().text);
    NormalizeDesignationPath(t);
    EXPECT_EQ(t, QString::fromUtf8(GetParam().expected));
}
INSTANTIATE_TEST_SUITE_P(Designations, StandGroupDesignation,
                         ::testing::Values(Case{"Slash", "1a/2", " 1a/ 2 "}, Case{"Backslash", "1\\a", " 1 / a "},
                                           Case{"Single", "3a", " 3a"}, Case{"EmptyPart", "1//2", " 1 // 2 "}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(Designations, LeadingZeroBecomesBlank)
{
    EXPECT_EQ(NormalizeDesignationBlankZero("01"), " 1 ");
    EXPECT_EQ(NormalizeDesignationBlankZero(""), "");
    EXPECT_EQ(NormalizeDesignationBlankZero("0a"), " 0a");
}

} // namespace
