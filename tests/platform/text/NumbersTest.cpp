// Tests of rounding, checked arithmetic, float and integer text forms and Pascal Str/Val.
#include "platform/text/Numbers.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr int32_t maxInt = std::numeric_limits<int32_t>::max();
constexpr int32_t minInt = std::numeric_limits<int32_t>::min();
const double nan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

const auto byName = [](const auto& info) { return std::string(info.param.name); };

// Each test starts from the program default separator and restores it.
class NumbersTest : public ::testing::Test
{
protected:
    void SetUp() override { txt::setDecimalSeparator(QLatin1Char(',')); }
    void TearDown() override { SetUp(); }
};

// --- rounding --------------------------------------------------------------------------

struct RoundCase { const char* name; double value; int64_t expected; };

const RoundCase roundCases[] = {
    {"two_and_half", 2.5, 2},       {"three_and_half", 3.5, 4},     {"minus_two_and_half", -2.5, -2},
    {"half", 0.5, 0}, {"just_below_half", 2.4999999, 2}, {"just_above_half", 2.5000001, 3},
    {"large", 4294967296.5, 4294967296},
};

class RoundHalfEven : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEven, GoesToTheNearestEvenOnHalves)
{
    EXPECT_EQ(txt::roundHalfEven64(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, RoundHalfEven, ::testing::ValuesIn(roundCases), byName);

TEST_F(NumbersTest, RoundingBeyond32BitsRaisesTheRangeError)
{
    EXPECT_EQ(txt::roundHalfEven(2147483646.5), 2147483646);
    EXPECT_EQ(txt::roundHalfEven(-2147483648.4), minInt);
    EXPECT_THROW(txt::roundHalfEven(2147483647.5), ERangeError);
    EXPECT_THROW(txt::roundHalfEven(-2147483649.0), ERangeError);
    EXPECT_THROW(txt::roundHalfEven64(nan), EInvalidOp);
    EXPECT_THROW(txt::roundHalfEven64(inf), EInvalidOp);
    EXPECT_THROW(txt::roundHalfEven64(1e19), EInvalidOp);
}

TEST_F(NumbersTest, TruncationAndRangeChecks)
{
    EXPECT_EQ(txt::trunc32(-2.7), -2);
    EXPECT_EQ(txt::trunc64(3e10), 30000000000);
    EXPECT_THROW(txt::trunc32(3e10), ERangeError);
    EXPECT_THROW(txt::trunc64(-1e19), EInvalidOp);
    EXPECT_EQ(txt::checkRange(255, 0, 255), 255);
    EXPECT_THROW(txt::checkRange(256, 0, 255), ERangeError);
    EXPECT_EQ(txt::toInt32Checked(minInt), minInt);
    EXPECT_THROW(txt::toInt32Checked(int64_t(maxInt) + 1), ERangeError);
}

// --- checked arithmetic -----------------------------------------------------------------

TEST_F(NumbersTest, IntegerOverflowRaises)
{
    EXPECT_THROW(txt::addChecked(maxInt, 1), EIntOverflow);
    EXPECT_THROW(txt::mulChecked(65536, 32768), EIntOverflow);
    EXPECT_THROW(txt::negChecked(minInt), EIntOverflow);
    EXPECT_THROW(txt::divChecked(minInt, -1), EIntOverflow);
    EXPECT_EQ(txt::mulChecked(-65536, 32768), minInt);
    EXPECT_EQ(txt::negChecked(maxInt), -maxInt);
    // div and mod as Pascal has them
    EXPECT_EQ(txt::divChecked(-7, 2), -3);
    EXPECT_EQ(txt::modChecked(-7, 3), -1);
    EXPECT_EQ(txt::modChecked(minInt, -1), 0);
    EXPECT_THROW(txt::divChecked(1, 0), EDivByZero);
    EXPECT_THROW(txt::modChecked(1, 0), EDivByZero);
}

TEST_F(NumbersTest, FloatErrorsRaiseInsteadOfGivingInfinities)
{
    EXPECT_THROW(txt::divFloat(1, 0), EZeroDivide);
    EXPECT_THROW(txt::divFloat(0, 0), EInvalidOp);
    EXPECT_THROW(txt::divFloat(nan, 1), EInvalidOp);
    EXPECT_THROW(txt::divFloat(1e308, 1e-10), EOverflow);
    EXPECT_THROW(txt::checkFloat(std::sqrt(-1.0)), EInvalidOp);
    EXPECT_DOUBLE_EQ(txt::divFloat(1, 4), 0.25);
    EXPECT_EQ(txt::checkFloat(-0.0), 0.0);
}

// --- float to text -------------------------------------------------------------------

struct FloatTextCase { const char* name; double value; const char* text; };   // text with ','

const FloatTextCase floatTextCases[] = {
    {"sum_of_tenths", 0.1 + 0.2, "0,3"},
    {"negative_zero", -0.0, "0"},
    {"fifteen_digits", 1.23456789012345678, "1,23456789012346"},
    {"smallest_decimal", 0.00001, "0,00001"},
    {"below_smallest_decimal", 0.000001, "1E-6"},
    {"large_exponent", 1.5e20, "1,5E20"},
    {"ten_to_fifteen", 1e15, "1E15"},
    {"ten_to_fourteen", 1e14, "100000000000000"},
    {"rounds_up_to_exponent_form", 999999999999999.9, "1E15"},
    {"not_a_number", nan, "NAN"},
    {"infinity", inf, "INF"},
};

class FloatToStr : public NumbersTest, public ::testing::WithParamInterface<FloatTextCase> {};

TEST_P(FloatToStr, GivesTheGeneralForm)
{
    EXPECT_EQ(txt::floatToStr(GetParam().value), QString::fromUtf8(GetParam().text));
    QString dotted = QString::fromUtf8(GetParam().text);
    dotted.replace(QLatin1Char(','), QLatin1Char('.'));
    EXPECT_EQ(txt::floatToStr(GetParam().value, QLatin1Char('.')), dotted);
}

INSTANTIATE_TEST_SUITE_P(Values, FloatToStr, ::testing::ValuesIn(floatTextCases), byName);

TEST_F(NumbersTest, GeneralFormReadsBackToTheSameValue)
{
    txt::setDecimalSeparator(QLatin1Char('.'));
    EXPECT_EQ(txt::floatToStr(2.5), QStringLiteral("2.5"));
    txt::setDecimalSeparator(QLatin1Char(','));
    for (const double v : {0.1, 123.456, 1e-7, 1.5e20, -98765.4321, 0.000123, 1234567890.12345}) {
        SCOPED_TRACE(v);
        EXPECT_EQ(txt::strToFloat(txt::floatToStr(v)), v);
    }
}

// Fifteen digits rounded up can pass the largest double; the text must still read back.
TEST_F(NumbersTest, TextOfEveryFiniteValueReadsBack)
{
    constexpr double maxDouble = std::numeric_limits<double>::max();
    const double values[] = {maxDouble, -maxDouble, std::nextafter(maxDouble, 0.0), 1.7976931348623e308,
                             std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                             -std::numeric_limits<double>::denorm_min()};
    for (const double v : values) {
        SCOPED_TRACE(v);
        const QString text = txt::floatToStr(v);
        double back = 0;
        ASSERT_TRUE(txt::tryStrToFloat(text, back)) << text.toStdString();
        EXPECT_EQ(txt::floatToStr(back), text);
        EXPECT_LE(std::fabs(back - v), std::fabs(v) * 1e-14);
    }
    EXPECT_EQ(txt::floatToStr(maxDouble), QStringLiteral("1,79769313486231E308"));
}

// --- text to float -----------------------------------------------------------------------

// isStrictOk: strToFloat with ','; isTolerantOk: tryTextToFloat, whatever the separator.
struct ReadCase { const char* name; const char* text; bool isStrictOk; bool isTolerantOk; double value; };

const ReadCase readCases[] = {
    {"comma", "3,5", true, true, 3.5},
    {"point", "3.5", false, true, 3.5},
    {"blanks_around", "  -3,5  ", true, true, -3.5},
    {"empty", "", false, false, 0},
    {"thousands_and_decimals", "1.234,5", false, false, 0},
    {"exponent_lower_signed", "2,5e-2", true, true, 0.025},
    {"no_integer_digits", "-,5", true, true, -0.5},
    {"no_fraction_digits", "5,", true, true, 5},
    {"cut_exponent", "1e", false, false, 0},
    {"beyond_double", "1e400", false, false, 0},
    {"below_double", "1e-400", true, true, 0},
};

class ReadFloat : public NumbersTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadFloat, StrictAndTolerantReaders)
{
    const ReadCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    double strict = -1;
    EXPECT_EQ(txt::tryStrToFloat(text, strict), c.isStrictOk);
    if (c.isStrictOk) {
        EXPECT_EQ(strict, c.value);
        EXPECT_EQ(txt::strToFloat(text), c.value);
    } else {
        EXPECT_THROW(txt::strToFloat(text), EConvertError);
    }
    for (const QChar separator : {QLatin1Char(','), QLatin1Char('.')}) {
        txt::setDecimalSeparator(separator);
        double tolerant = -1;
        EXPECT_EQ(txt::tryTextToFloat(text, tolerant), c.isTolerantOk) << "separator " << separator.toLatin1();
        EXPECT_EQ(txt::textToFloatDef(text, 0), c.isTolerantOk ? c.value : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadFloat, ::testing::ValuesIn(readCases), byName);

// The message of an EConvertError raised by `action`.
template <typename F>
QString convertErrorOf(F action)
{
    try {
        action();
    } catch (const EConvertError& e) {
        return e.message();
    }
    ADD_FAILURE() << "no EConvertError raised";
    return {};
}

TEST_F(NumbersTest, ConversionErrorsNameTheText)
{
    EXPECT_EQ(convertErrorOf([] { txt::strToFloat(u"12.5x"); }), QStringLiteral("'12.5x' není platné desetinné číslo."));
    EXPECT_EQ(convertErrorOf([] { txt::strToInt(u""); }), QStringLiteral("'' není platné celé číslo."));
}

TEST_F(NumbersTest, TolerantReaderLooksAtTheFirst63Characters)
{
    const QString digits(63, QLatin1Char('1'));
    EXPECT_TRUE(std::isfinite(txt::textToFloatDef(digits + QStringLiteral("xyz"), 0)));
    EXPECT_GT(txt::textToFloatDef(digits + QStringLiteral("xyz"), 0), 1e62);
    // A separator beyond the 63rd character is never swapped in.
    EXPECT_EQ(txt::textToFloatDef(digits + QStringLiteral(".5"), -1), txt::textToFloatDef(digits, -2));
}

// --- integers ----------------------------------------------------------------------------

struct IntCase { const char* name; const char* text; bool isOk; int32_t value; };

const IntCase intCases[] = {
    {"hex", "$FF", true, 255},
    {"hex_wraps", "$FFFFFFFF", true, -1},
    {"hex_too_long", "$100000000", false, 0},
    {"lowest", "-2147483648", true, minInt},
    {"highest", "2147483647", true, maxInt},
    {"above_highest", "2147483648", false, 0},
    {"below_lowest", "-2147483649", false, 0},
    {"leading_blanks", "  12", true, 12},
    {"trailing_blank", "12 ", false, 0},
    {"empty", "", false, 0},
    {"dollar_only", "$", false, 0},
};

class StrToInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(StrToInt, ReadsDecimalAndHex)
{
    const IntCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    int32_t value = -99;
    EXPECT_EQ(txt::tryStrToInt(text, value), c.isOk);
    if (c.isOk) {
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(txt::strToInt(text), c.value);
        EXPECT_EQ(txt::strToIntDef(text, -99), c.value);
    } else {
        EXPECT_THROW(txt::strToInt(text), EConvertError);
        EXPECT_EQ(txt::strToIntDef(text, -99), -99);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, StrToInt, ::testing::ValuesIn(intCases), byName);

TEST_F(NumbersTest, Int64TextAndHex)
{
    EXPECT_EQ(txt::strToInt64(u"9223372036854775807"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(txt::strToInt64(u"-9223372036854775808"), std::numeric_limits<int64_t>::min());
    EXPECT_THROW(txt::strToInt64(u"9223372036854775808"), EConvertError);
    EXPECT_EQ(txt::strToInt64(u"$FFFFFFFFFF"), 0xFFFFFFFFFFLL);
    EXPECT_EQ(txt::intToHex(255, 4), QStringLiteral("00FF"));
    EXPECT_EQ(txt::intToHex(-1, 1), QStringLiteral("FFFFFFFF"));
}

// --- Pascal Str / Val -----------------------------------------------------------------

TEST_F(NumbersTest, StrGivesTheScientificDefaultForm)
{
    EXPECT_EQ(txt::pascalStr(12.5), QStringLiteral(" 1.25000000000000E+0001"));
    EXPECT_EQ(txt::pascalStr(0), QStringLiteral(" 0.00000000000000E+0000"));
    EXPECT_EQ(txt::pascalStr(1.0 / 3.0), QStringLiteral(" 3.33333333333333E-0001"));
    EXPECT_EQ(txt::pascalStr(9.999999999999999), QStringLiteral(" 1.00000000000000E+0001"));
    // The global separator does not matter.
    txt::setDecimalSeparator(QLatin1Char(','));
    EXPECT_TRUE(txt::pascalStr(2.5).contains(QLatin1Char('.')));
    // with width and decimals
    EXPECT_EQ(txt::pascalStr(2.5, 8, 2), QStringLiteral("    2.50"));
    EXPECT_EQ(txt::pascalStr(-1.005, 0, 2), QStringLiteral("-1.01"));
    EXPECT_EQ(txt::pascalStr(-0.001, 6, 1), QStringLiteral("   0.0"));
    EXPECT_EQ(txt::pascalStr(1234.5, 2, 1), QStringLiteral("1234.5"));
}

struct ValCase { const char* name; const char* text; int code; double value; };

const ValCase valCases[] = {
    {"plain", "12.5", 0, 12.5},
    {"scientific", " 1.25000000000000E+0001", 0, 12.5},
    {"comma", "12,5", 3, 0},
    {"trailing_blank", "7 ", 2, 0},
    {"empty", "", 1, 0},
    {"beyond_double", "1e400", 1, 0},
};

class PascalVal : public ::testing::TestWithParam<ValCase> {};

TEST_P(PascalVal, GivesTheValueOrTheOffendingPosition)
{
    const ValCase& c = GetParam();
    double value = -99;
    EXPECT_EQ(txt::pascalVal(QString::fromUtf8(c.text), value), c.code);
    if (c.code == 0) {
        EXPECT_EQ(value, c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, PascalVal, ::testing::ValuesIn(valCases), byName);

TEST_F(NumbersTest, ValOfIntegers)
{
    int32_t value = 0;
    EXPECT_EQ(txt::pascalVal(u"123", value), 0);
    EXPECT_EQ(value, 123);
    EXPECT_EQ(txt::pascalVal(u"$7F", value), 0);
    EXPECT_EQ(value, 127);
    EXPECT_EQ(txt::pascalVal(u"12a", value), 3);
    EXPECT_EQ(txt::pascalVal(u"2147483648", value), 10);
    EXPECT_EQ(txt::pascalVal(u"", value), 1);
    EXPECT_EQ(value, 127);   // untouched on failure
}

} // namespace
