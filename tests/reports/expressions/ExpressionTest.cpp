// Tests of report expressions: precedence, kinds, functions, sets, references and errors.
#include "reports/expressions/Expression.h"

#include "FakeOperandHost.h"

#include "platform/Exceptions.h"
#include "platform/text/Numbers.h"

#include <gtest/gtest.h>

using namespace reports;
using reports::test::FakeOperandHost;

namespace {

struct Result
{
    uint8_t code;
    int pos;
    TOperandValue value;
};

Result eval(const QString& text)
{
    Result r{};
    r.code = EvaluateExpression(text, r.value, r.pos);
    return r;
}

class ExpressionTest : public ::testing::Test
{
protected:
    void SetUp() override { txt::setDecimalSeparator(QLatin1Char(',')); }
    void TearDown() override { txt::setDecimalSeparator(QLatin1Char(',')); }
};

struct ValueCase { const char* name; const char* text; uint8_t kind; double number; const char* shown; };

const ValueCase valueCases[] = {
    {"precedence_and_joined_texts", "2+3*4", okNumber, 14, "212"},
    {"power_groups_left", "2^3^2", okNumber, 64, "64"},
    {"and_binds_above_comparison", "3 > 2 AND 0 = 0", okNumber, 0, "0"},
    {"bracketed_logic", "(3 > 2) AND (0 = 0)", okNumber, 1, "1"},
    {"not_after_binary", "1 AND NOT 0", okNumber, 1, "1"},
    {"texts_equal", "'abc' = 'abc'", okNumber, 1, "1"},
    {"texts_case_counts", "'abc' = 'ABC'", okNumber, 0, "0"},
    {"texts_join", "'ab' + 'cd'", okText, 0, "abcd"},
    {"numbers_add_and_join_texts", "1 + 2", okNumber, 3, "12"},
    {"minus_text", "1 - 2", okNumber, -1, "-1"},
    {"decimal_literal_text_as_written", "2.50", okNumber, 2.5, "2.50"},
    {"product_text_is_general_form", "2.5*1", okNumber, 2.5, "2,5"},
    {"iif_false", "IIF(0, 'a', 'b')", okText, 0, "b"},
    {"iif_mixed_is_number", "IIF(1, 'a', 5)", okNumber, 0, "a"},
    {"substr", "SUBSTR('abcdef', 2, 3)", okText, 0, "bcd"},
    {"substr_start_below_one", "SUBSTR('abc', -4, 2)", okText, 0, "ab"},
    {"substr_past_end", "SUBSTR('abc', 9, 2)", okText, 0, ""},
    {"substr_two_commas_below_the_limit", "(((((((((((((((SUBSTR('abc',1,1))))))))))))))))", okText, 0, "a"},
    {"right_longer_than_text", "RIGHT('abc', 5)", okText, 0, "abc"},
    {"left_zero", "LEFT('abc', 0)", okText, 0, ""},
    {"left_huge_count_clamped", "LEFT('abc', 1E30)", okText, 0, "abc"},
    {"in_number", "2 IN [1,2,3]", okNumber, 1, "1"},
    {"in_zero_by_text", "0 IN [0,1]", okNumber, 1, "1"},
    {"in_zero_other_text", "0.0 IN [0,1]", okNumber, 0, "0"},
    {"in_texts", "'x' IN ['x','y']", okNumber, 1, "1"},
    {"in_blanks_around_elements", "'y' IN [ 'x' , y ]", okNumber, 1, "1"},
    {"in_text_right_side_read_as_list", "'b' IN 'a,b'", okNumber, 1, "1"},
    {"upper_czech", "UPPER('žluť')", okText, 0, "ŽLUŤ"},
    {"alltrim_reads_number", "ALLTRIM('  12.5 ')", okText, 12.5, "12.5"},
    {"format", "FORMAT(1234.5, '0.00')", okText, 1234.5, "1234,50"},
    {"format_mismatched_directive", "FORMAT(3, '%s')", okText, 3, "%s"},
    {"max_equal_takes_first", "MAX(2, 2)", okNumber, 2, "2"},
    {"min", "MIN(3, -1)", okNumber, -1, "-1"},
    {"sgn", "SGN(-7)", okNumber, -1, "-1"},
    {"int_truncates", "INT(-2.7)", okNumber, -2, "-2"},
    {"natural_log", "LOG(1)", okNumber, 0, "0"},
    {"acotg", "ACOTG(1)", okNumber, 0.785398163397448, "0,785398163397448"},
    {"unary_minus_in_argument", "ABS(-3)*2", okNumber, 6, "6"},
    {"text_literal_number", "'12,5' * 2", okNumber, 25, "25"},
    {"text_literal_not_a_number", "'abc' * 2", okNumber, 0, "0"},
    {"nineteen_brackets", "((((((((((((((((((1))))))))))))))))))", okNumber, 1, "1"},
};

class ExpressionValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ExpressionValues, Evaluate)
{
    txt::setDecimalSeparator(QLatin1Char(','));
    const ValueCase& c = GetParam();
    const Result r = eval(QString::fromUtf8(c.text));
    ASSERT_EQ(r.code, 0) << "at " << r.pos;
    EXPECT_EQ(r.value.Kind, c.kind);
    EXPECT_NEAR(r.value.Number, c.number, 1e-12);
    EXPECT_EQ(r.value.Text, QString::fromUtf8(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Expression, ExpressionValues, ::testing::ValuesIn(valueCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase { const char* name; const char* text; uint8_t code; int pos; };

const ErrorCase errorCases[] = {
    {"unary_minus_binds_tighter_than_power", "-2^2", 6, 4},
    {"too_many_arguments", "ABS(1, 2)", 11, 5},
    {"too_few_arguments", "MAX(1)", 10, 5},
    {"comma_in_plain_bracket", "(1, 2)", 11, 2},
    {"comma_outside_brackets", "1, 2", 11, 1},
    {"empty_argument_list", "ABS()", 2, 4},
    {"division_by_zero", "1/0", 6, 3},
    {"zero_base_power", "0^2", 6, 3},
    {"asin_outside", "ASIN(2)", 6, 6},
    {"cotg_pole", "COTG(0)", 6, 6},
    {"log_of_zero", "LOG(0)", 6, 5},
    {"overflow_is_numeric_error", "EXP(1000)", 6, 8},
    {"infinite_product", "1E99*1E99*1E99*1E99", 6, 19},
    {"exponent_three_digits", "1E123", 7, 0},
    {"letters_after_number", "12abc", 7, 0},
    {"open_text", "'abc", 12, 0},
    {"open_set", "1 IN [1,2", 13, 5},
    {"open_bracket", "(1+2", 5, 4},
    {"close_without_open", "1+2)", 4, 3},
    {"trailing_operator", "1+", 2, 2},
    {"operator_after_operator", "2 * -3", 2, 4},
    {"literal_after_operand", "1 2", 2, 2},
    {"function_without_bracket", "ABS 2", 2, 4},
    {"unknown_word", "FOO(1)", 1, 0},
    {"parameter_by_name", "&Abc", 1, 0},
    {"prefix_alone", "# + 1", 1, 0},
    {"reference_number_zero", "#0", 1, 0},
    {"reference_number_too_big", "#256", 1, 0},
    {"unknown_character", "1 ; 2", 2, 2},
    {"tab_is_no_blank", "1\t+2", 2, 1},
    {"twenty_brackets", "((((((((((((((((((((1))))))))))))))))))))", 3, 19},
    // 16 brackets, the function, its bracket and two pending commas make 20 entries.
    {"second_comma_overflows", "((((((((((((((((SUBSTR('abc',1,1)))))))))))))))))", 3, 30},
};

class ExpressionErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ExpressionErrors, ReportCodeAndPosition)
{
    const ErrorCase& c = GetParam();
    const Result r = eval(QString::fromUtf8(c.text));
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.pos, c.pos);
    EXPECT_EQ(r.value, TOperandValue{});
}

INSTANTIATE_TEST_SUITE_P(Expression, ExpressionErrors, ::testing::ValuesIn(errorCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST_F(ExpressionTest, EmptyTextIsTheClearedValue)
{
    const Result r = eval(QString());
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.value, TOperandValue{});
}

TEST_F(ExpressionTest, ReferencesAskTheHost)
{
    FakeOperandHost host;
    host.columnNames = {QStringLiteral("ODD"), QStringLiteral("DIL"), QStringLiteral("POR")};
    host.functionNames = {QStringLiteral("Pocet"), QStringLiteral("Soucet")};
    host.columnValues = {test::number(12, QStringLiteral("12")), test::text(QStringLiteral("a")),
                         test::number(7.5, QStringLiteral("7,5"))};

    Result r = eval(QStringLiteral("#3"));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.value.Number, 7.5);
    EXPECT_EQ(host.requests, std::vector<int>{4002});

    host.requests.clear();
    r = eval(QStringLiteral("@soucet"));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(host.requests, (std::vector<int>{3, 6001}));

    host.requests.clear();
    r = eval(QStringLiteral("#odd * 2 + &2"));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.value.Number, 24);
    EXPECT_EQ(host.requests, (std::vector<int>{2, 4000, 2001}));

    r = eval(QStringLiteral("#Neni"));
    EXPECT_EQ(r.code, 1);

    // a set element may be a reference
    r = eval(QStringLiteral("'a' IN [x, #2]"));
    EXPECT_EQ(r.value.Number, 1);
}

TEST_F(ExpressionTest, WithoutHostReferencesAreEmptyAndNamesUnknown)
{
    ASSERT_EQ(OperandHost(), nullptr);
    Result r = eval(QStringLiteral("#3"));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.value, TOperandValue{});
    r = eval(QStringLiteral("@Soucet"));
    EXPECT_EQ(r.code, 1);
}

TEST_F(ExpressionTest, HostFaultGivesTheClearedValue)
{
    struct ThrowingHost : OperandRequestHandler {
        void MessageValueRequest(OperandMessage& m) override
        {
            if (m.Value)
                m.Value->Number = 3;
            throw EConvertError(QStringLiteral("x"));
        }
    } host;
    SetOperandHost(&host);
    const Result r = eval(QStringLiteral("#1 + 1"));
    ReleaseOperandHost(&host);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.value.Number, 1);
    EXPECT_EQ(OperandHost(), nullptr);
}

TEST_F(ExpressionTest, ErrorTextsAndCheckReport)
{
    EXPECT_EQ(ExpressionErrorText(1), QStringLiteral("Neznamý identifikátor"));
    EXPECT_EQ(ExpressionErrorText(14), QStringLiteral("Ukončeno uživatelem"));
    EXPECT_TRUE(ExpressionErrorText(0).isEmpty());
    EXPECT_TRUE(ExpressionErrorText(15).isEmpty());
    EXPECT_EQ(ExpressionCheckText(5, 4), QStringLiteral("Chyba : \"Chybí uzavírací závorky\" na pozici 4"));
    EXPECT_EQ(ExpressionCheckText(0, 0), QStringLiteral("Výraz je v pořádku."));
}

TEST_F(ExpressionTest, SafeStrToFloatAcceptsEitherSeparatorAndNothingElse)
{
    for (const QChar sep : {QLatin1Char(','), QLatin1Char('.')}) {
        txt::setDecimalSeparator(sep);
        EXPECT_EQ(SafeStrToFloat(QStringLiteral(" 12.5")), 12.5);
        EXPECT_EQ(SafeStrToFloat(QStringLiteral("12,5")), 12.5);
        EXPECT_EQ(SafeStrToFloat(QStringLiteral("-3")), -3);
    }
    txt::setDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(SafeStrToFloat(QStringLiteral("abc")), 0);
    EXPECT_EQ(SafeStrToFloat(QString()), 0);
    EXPECT_EQ(SafeStrToFloat(QStringLiteral("+5")), 0);
    EXPECT_EQ(SafeStrToFloat(QStringLiteral("1E-5")), 0);
    EXPECT_EQ(SafeStrToFloat(QStringLiteral("E5")), 0);
    EXPECT_EQ(SafeStrToFloat(QStringLiteral("1E999")), 0);
    EXPECT_EQ(SafeStrToFloat(QStringLiteral("2E3")), 2000);
}

TEST_F(ExpressionTest, SplitOperandListTakesTextsOfOperands)
{
    FakeOperandHost host;
    host.columnValues = {test::text(QStringLiteral("logo"))};
    QStringList list{QStringLiteral("old")};
    SplitOperandList(QStringLiteral("a.bmp, 'b,c.gif' ,#1, 12, 2.jpg,"), list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("a.bmp"), QStringLiteral("b,c.gif"), QStringLiteral("logo"),
                                 QStringLiteral("12"), QStringLiteral("2.jpg"), QString()}));
    SplitOperandList(QString(), list);
    EXPECT_TRUE(list.isEmpty());
}
