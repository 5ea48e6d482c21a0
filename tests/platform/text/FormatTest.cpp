// Tests of FormatFloat patterns, fixed-width formatting and the Format directives.
#include "platform/text/Format.h"
#include "platform/text/Numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// Czech conventions: ',' decimal separator, ' ' thousands separator.
class FormatTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        txt::setDecimalSeparator(QLatin1Char(','));
        txt::setThousandSeparator(QLatin1Char(' '));
    }
    void TearDown() override { SetUp(); }
};

const auto byName = [](const auto& info) { return std::string(info.param.name); };

struct PatternCase { const char* name; const char* pattern; double value; const char* text; };

const PatternCase patternCases[] = {
    {"two_decimals_rounds_half_up", "0.00", 2.345, "2,35"},
    {"thousands", "#,##0.00", 1234567.891, "1 234 567,89"},
    {"thousands_exactly_three", "#,##0", 999, "999"},
    {"thousands_four", "#,##0", 1000, "1 000"},
    {"hash_only_below_one", "#.##", 0.5, ",5"},
    {"hash_only_zero", "#.##", 0, ""},
    {"half_away_from_zero", "0", 2.5, "3"},
    {"half_away_from_zero_negative", "0", -2.5, "-3"},
    {"scientific_plus", "0.##E+00", 1234.5, "1,23E+03"},
    {"scientific_minus_positive", "0.00E-00", 1234.5, "1,23E03"},
    {"scientific_minus_negative_exp", "0.00E-0", 0.05, "5,00E-2"},
    {"scientific_rounds_up", "0.0E+00", 9.96, "1,0E+01"},
    {"quoted_text", "0.0' ha'", 12.34, "12,3 ha"},
    {"sections_negative", "0.0;(0.0);nula", -1.25, "(1,3)"},
    {"sections_zero", "0.0;(0.0);nula", 0, "nula"},
    {"sections_rounds_to_zero", "0.0;(0.0);nula", -0.04, "nula"},
    {"empty_negative_section", "0.0;;nula", -2, "-2,0"},
    {"rounds_to_zero_no_minus", "0.0", -0.04, "0,0"},
    {"beyond_eighteen_digits_general", "#,##0.00", 1e20, "1E20"},
    {"beyond_eighteen_digits_scientific", "0.0E+0", 1e20, "1,0E+20"},
    {"empty_positive_section_general", ";(0)", 2.5, "2,5"},
    {"empty_positive_section_negative", ";(0)", -2.5, "(3)"},
    // Placeholders after the exponent have no digits left to show.
    {"placeholders_after_exponent", "0E+0##", 5, "5E+0"},
    {"placeholders_after_long_exponent", "000000000000000000000000000000E+0##", 1,
     "100000000000000000000000000000E-29"},
    {"placeholders_after_exponent_and_text", "0.0E-00 '#' ##0", -2.5, "-2,5E00 # "},
};

class FormatFloat : public FormatTest, public ::testing::WithParamInterface<PatternCase> {};

TEST_P(FormatFloat, AppliesThePattern)
{
    const PatternCase& c = GetParam();
    EXPECT_EQ(txt::formatFloat(QString::fromUtf8(c.pattern), c.value), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(Patterns, FormatFloat, ::testing::ValuesIn(patternCases), byName);

TEST_F(FormatTest, FormatFloatSeparatorsAndSpecialValues)
{
    txt::setDecimalSeparator(QLatin1Char('.'));
    txt::setThousandSeparator(QLatin1Char(','));
    EXPECT_EQ(txt::formatFloat(u"#,##0.00", 1234567.891), QStringLiteral("1,234,567.89"));
    SetUp();
    EXPECT_EQ(txt::formatFloat(u"0.00", std::numeric_limits<double>::quiet_NaN()), QStringLiteral("NAN"));
    EXPECT_EQ(txt::formatFloat(u"0.00", -std::numeric_limits<double>::infinity()), QStringLiteral("-INF"));
    // An unterminated quote runs to the end of the pattern.
    EXPECT_EQ(txt::formatFloat(u"0 'ha", 3), QStringLiteral("3 ha"));
}

TEST_F(FormatTest, FixedWidth)
{
    EXPECT_EQ(txt::formatFixed(8, 2, 3.14159), QStringLiteral("    3,14"));
    EXPECT_EQ(txt::formatFixed(3, 0, 2.5), QStringLiteral("  3"));
    EXPECT_EQ(txt::formatFixed(0, 2, 1.005), QStringLiteral("1,01"));
}

struct DirectiveCase { const char* name; const char* fmt; std::vector<txt::FormatArg> args; const char* text; };

QString formatWith(const QString& fmt, const std::vector<txt::FormatArg>& args)
{
    // format() takes an initializer list; tests spell up to three arguments.
    switch (args.size()) {
    case 0: return txt::format(fmt, {});
    case 1: return txt::format(fmt, {args[0]});
    case 2: return txt::format(fmt, {args[0], args[1]});
    default: return txt::format(fmt, {args[0], args[1], args[2]});
    }
}

const DirectiveCase directiveCases[] = {
    {"integer_width", "[%5d]", {int64_t(-42)}, "[  -42]"},
    {"unsigned", "%u", {int64_t(-1)}, "4294967295"},
    {"hex_precision", "%.4x", {int64_t(255)}, "00FF"},
    {"string", "Chyba : \"%s\" na pozici %d", {QStringLiteral("Chybí závorka"), int64_t(7)}, "Chyba : \"Chybí závorka\" na pozici 7"},
    {"fixed_default", "%f", {2.345}, "2,35"},
    {"fixed_star", "%*.*f", {int64_t(7), int64_t(3), 3.14159}, "  3,142"},
    {"number", "%n", {1234567.891}, "1 234 567,89"},
    {"money", "%m", {1234.5}, "1 234,50 Kč"},
    {"scientific", "%e", {1234.5}, "1,23450000000000E+003"},
    {"percent", "100%%", {}, "100%"},
    {"index", "%1:s %0:s %s", {QStringLiteral("a"), QStringLiteral("b")}, "b a b"},
    {"integer_gets_string", "%d", {QStringLiteral("abc")}, "abc"},
    {"integer_gets_float", "%d ks", {2.5}, "2,5 ks"},
    {"float_gets_integer", "%5.2f|", {int64_t(5)}, "    5|"},
    {"missing_argument", "a%db%sc", {int64_t(1)}, "a1bc"},
    {"unknown_directive", "%q %d", {int64_t(3)}, "%q 3"},
    {"index_out_of_range", "%5:d", {int64_t(1)}, ""},
};

class FormatDirectives : public FormatTest, public ::testing::WithParamInterface<DirectiveCase> {};

TEST_P(FormatDirectives, FormatsOrFallsBackToThePlainValue)
{
    const DirectiveCase& c = GetParam();
    EXPECT_EQ(formatWith(QString::fromUtf8(c.fmt), c.args), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(Directives, FormatDirectives, ::testing::ValuesIn(directiveCases), byName);

} // namespace
