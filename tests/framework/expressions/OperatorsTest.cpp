// Tests of the expression operators: results and kinds, precedence, rounding, overflow, property reads, type flags.
#include "ConditionTestSupport.h"

#include "framework/expressions/Operators.h"
#include "framework/values/TypedValues.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using condtest::evaluate;
using condtest::holds;
using condtest::parse;
using condtest::TTestStand;

namespace {

constexpr TType Boolean = TType::_Boolean;
constexpr TType Char = TType::_Char;
constexpr TType Byte = TType::_Byte;
constexpr TType Float = TType::_Float;
constexpr TType String = TType::_String;
constexpr TType Integer = TType::_Integer;
constexpr TType None = TType::_Other;   // "no value"

struct ResultCase {
    const char* name;
    const char* text;
    TType kind;
    const char* expected;   // AsString of the value ("true"/"false" for Booleans)
};

class Evaluation : public ::testing::TestWithParam<ResultCase>
{
};

TEST_P(Evaluation, GivesKindAndValue)
{
    const ResultCase& c = GetParam();
    const auto value = evaluate(QString::fromUtf8(c.text));
    if (c.kind == None) {
        EXPECT_FALSE(value.has_value()) << value->text.toStdString();
        return;
    }
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->kind, c.kind);
    EXPECT_EQ(value->text, QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, Evaluation,
    ::testing::Values(ResultCase{"IntegerProduct", "2 * 3", Integer, "6"},
                      ResultCase{"ProductBeyond32BitsIsFloat", "100000 * 100000", Float, "10000000000"},
                      ResultCase{"ProductAtTheLimitStaysInteger", "-46340 * 46341", Integer, "-2147441940"},
                      ResultCase{"QuotientIsFloat", "7 / 2", Float, "3.5"},
                      ResultCase{"DivTowardZero", "-7 DIV 2", Integer, "-3"},
                      ResultCase{"ModKeepsDividendSign", "-7 MOD 2", Integer, "-1"},
                      ResultCase{"ModByZeroHasNoValue", "7 MOD 0", None, ""},
                      ResultCase{"StringConcatenation", "'ab' + 'c'", String, "abc"},
                      ResultCase{"NumberPlusStringHasNoValue", "1 + 'c'", None, ""},
                      ResultCase{"NegativeLiteral", "-2147483648", Integer, "-2147483648"},
                      ResultCase{"UnaryMinusOverBracket", "-(2 + 3)", Integer, "-5"},
                      ResultCase{"UnaryPlusConstant", "+5", Integer, "5"},
                      ResultCase{"QuotientsLeftAssociativeFloat", "8 / 2 / 2", Float, "2"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Precedence, Evaluation,
    ::testing::Values(ResultCase{"TimesBeforePlus", "1 + 2 * 3", Integer, "7"},
                      ResultCase{"MinusLeftAssociative", "10 - 4 - 3", Integer, "3"},
                      ResultCase{"DivLeftAssociative", "100 DIV 10 MOD 3", Integer, "1"},
                      ResultCase{"BracketsFirst", "(1 + 2) * 3", Integer, "9"},
                      ResultCase{"NotTakesOnlyTheLeftPiece", "NOT 1 = 1", None, ""},
                      ResultCase{"LowerCaseWordOperators", "(1 = 1) and (2 mod 2 = 0)", Boolean, "true"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Functions, Evaluation,
    ::testing::Values(ResultCase{"RoundHalfDownToEven", "ROUND(2.5)", Integer, "2"},
                      ResultCase{"RoundNegativeHalf", "ROUND(-2.5)", Integer, "-2"},
                      ResultCase{"RoundHalfUpToEven", "ROUND(3.5)", Integer, "4"},
                      ResultCase{"RoundOfByteIsByte", "ROUND(TOBYTE(7))", Byte, "7"},
                      ResultCase{"TruncTowardZero", "TRUNC(-2.7)", Integer, "-2"},
                      ResultCase{"OddOfFloatHasNoValue", "ODD(3.5)", None, ""},
                      ResultCase{"SqrtBelowZeroHasNoValue", "SQRT(-1)", None, ""},
                      ResultCase{"FracKeepsSign", "FRAC(-2.5)", Float, "-0.5"},
                      ResultCase{"ToBooleanOfZero", "TOBOOLEAN(0)", Boolean, "false"},
                      ResultCase{"ToByteOutsideRangeIsZero", "TOBYTE(300)", Byte, "0"},
                      ResultCase{"ToCharOfIntegerHasNoValue", "TOCHAR(65)", None, ""},
                      ResultCase{"ToCharOfByte", "TOCHAR(TOBYTE(65))", Char, "A"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Comparisons, Evaluation,
    ::testing::Values(ResultCase{"EqualBeyondTolerance", "1 = 1.0001", Boolean, "false"},
                      ResultCase{"EqualWithinTolerance", "1 = 1.00000000000001", Boolean, "true"},
                      ResultCase{"ProperPrefixIsSmaller", "'ab' < 'abc'", Boolean, "true"},
                      ResultCase{"LongerIsNotSmaller", "'abc' < 'ab'", Boolean, "false"},
                      ResultCase{"ByteAgainstFloat", "TOBYTE(3) < 3.5", Boolean, "true"},
                      ResultCase{"StringsCaseSensitiveByteOrder", "'B' < 'a'", Boolean, "true"},
                      ResultCase{"Windows1250ByteOrder", "'Š' < 'Á'", Boolean, "true"},
                      ResultCase{"CharCodesUnsigned", "TOCHAR(TOBYTE(65)) < TOCHAR(TOBYTE(200))", Boolean, "true"},
                      ResultCase{"BooleansHaveNoOrder", "(1 = 1) > (1 = 2)", None, ""},
                      ResultCase{"StringAgainstNumberHasNoValue", "'1' = 1", None, ""},
                      ResultCase{"AndOfNonBooleanHasNoValue", "(1 = 1) AND 5", None, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// --- errors raised by evaluation ---------------------------------------------------------------

struct ErrorCase {
    const char* name;
    const char* text;
    std::function<void(const QString&)> expectRaise;
};

template<class E>
std::function<void(const QString&)> raises()
{
    return [](const QString& text) { EXPECT_THROW(evaluate(text), E) << text.toStdString(); };
}

class EvaluationError : public ::testing::TestWithParam<ErrorCase>
{
};

TEST_P(EvaluationError, Raises)
{
    GetParam().expectRaise(QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Overflow, EvaluationError,
    ::testing::Values(ErrorCase{"PlusOverflows", "2147483647 + 1", raises<EIntOverflow>()},
                      ErrorCase{"UnaryMinusOfMinimum", "-(-2147483647 - 1)", raises<EIntOverflow>()},
                      ErrorCase{"AbsOfMinimum", "ABS(-2147483647 - 1)", raises<EIntOverflow>()},
                      ErrorCase{"DivOfMinimumByMinusOne", "(-2147483647 - 1) DIV -1", raises<EIntOverflow>()},
                      ErrorCase{"RoundFarBeyond64Bits", "ROUND(1000000.5 * 1000000 * 1000000 * 1000000)", raises<ERangeError>()},
                      ErrorCase{"WholeLiteralFarBeyond64Bits", "100000000000000000000000000", raises<ERangeError>()},
                      ErrorCase{"WholeLiteralBeyond32Bits", "3000000000", raises<ERangeError>()},
                      ErrorCase{"DivideByZero", "1 / 0", raises<EZeroDivide>()},
                      ErrorCase{"ZeroByZero", "0 / 0", raises<EInvalidOp>()},
                      ErrorCase{"ExpOverflows", "EXP(1000)", raises<EOverflow>()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Evaluation, AndOrDoNotEvaluateTheDecidedRightOperand)
{
    // The right operands would divide by zero.
    EXPECT_FALSE(holds(QStringLiteral("(1 = 2) AND (1 / 0 = 1)"), nullptr));
    EXPECT_TRUE(holds(QStringLiteral("(1 = 1) OR (1 / 0 = 1)"), nullptr));
    EXPECT_THROW(holds(QStringLiteral("(1 = 1) AND (1 / 0 = 1)"), nullptr), EZeroDivide);
}

TEST(Evaluation, RightOperandSkippedWhenLeftHasNoValue)
{
    EXPECT_FALSE(holds(QStringLiteral("ODD(1.5) = 1 / 0"), nullptr));
}

TEST(Evaluation, ReadingBeforeAnyVariableRaisesListError)
{
    const Owned<TOperator> tree = parse(QStringLiteral("Vek = 1"));
    EXPECT_THROW(tree->Execute(), EListError);
}

TEST(Evaluation, TreeIsReusedForManyElements)
{
    const Owned<TCondition> condition = condtest::condition(QStringLiteral("Plocha > 10"));
    auto small = Create<TTestStand>();
    small->plocha = 5;
    auto large = Create<TTestStand>();
    large->plocha = 50;
    condition->SetVariable(0, small.get());
    EXPECT_FALSE(condition->EvaluateBoolean());
    condition->SetVariable(0, large.get());
    EXPECT_TRUE(condition->EvaluateBoolean());
}

// Long left-deep chains are built, typed, evaluated and freed without a call per operand; the
// recursive evaluation ran the stack out at 100 000 characters under the sanitizers.
struct ChainCase {
    const char* name;
    QString (*text)();
    const char* expected;
};

class LongChain : public ::testing::TestWithParam<ChainCase>
{
};

TEST_P(LongChain, EvaluatesWithoutACallPerOperand)
{
    auto stand = Create<TTestStand>();
    stand->vek = 40;
    stand->plocha = 7;
    const Owned<TOperator> tree = parse(GetParam().text());
    EXPECT_TRUE(tree->HasType());
    tree->SetVariable(0, stand.get());
    tree->Execute();
    ASSERT_TRUE(tree->Value());
    EXPECT_EQ(tree->Value()->GetAsString(), QLatin1String(GetParam().expected));
    tree->ClearResult();
}

INSTANTIATE_TEST_SUITE_P(
    Evaluation, LongChain,
    ::testing::Values(
        ChainCase{"MillionCharacters", [] { return QStringLiteral("1+").repeated(499999) + QStringLiteral("1"); },
                  "500000"},
        // One level's operators alternate, each right operand a product: 1 + N * (2*3 - 5).
        ChainCase{"MixedLevels", [] { return QStringLiteral("1") + QStringLiteral(" + 2*3 - 5").repeated(20000); },
                  "20001"},
        ChainCase{"ConjunctionOfComparisons",
                  [] { return QStringLiteral("Vek = 40 AND Plocha = 7 AND ").repeated(20000) + QStringLiteral("Plocha > 6"); },
                  "true"},
        ChainCase{"DisjunctionDecidedLast",
                  [] { return QStringLiteral("1 = 2 OR ").repeated(45000) + QStringLiteral("Vek = 40"); }, "true"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- property reads ----------------------------------------------------------------------------

class PropertyRead : public ::testing::Test
{
protected:
    void SetUp() override
    {
        stand->vek = 200;
        stand->plocha = 12;
        stand->hospodarsky = true;
        stand->znak = QLatin1Char('Z');
        stand->zasoba = 1.25;
        stand->oznaceni = QStringLiteral("12a");
    }

    Owned<TTestStand> stand = Create<TTestStand>();
};

TEST_F(PropertyRead, PublishedPropertiesKeepTheirDeclaredKind)
{
    const struct {
        const char* name;
        TType kind;
        const char* text;
    } cases[] = {{"Vek", Byte, "200"},       {"vek", Byte, "200"},        {"Plocha", Integer, "12"},
                 {"Hospodarsky", Boolean, "true"}, {"Znak", Char, "Z"}, {"Zasoba", Float, "1.25"},
                 {"Oznaceni", String, "12a"}};
    for (const auto& c : cases) {
        const auto value = evaluate(QString::fromLatin1(c.name), stand.get());
        ASSERT_TRUE(value.has_value()) << c.name;
        EXPECT_EQ(value->kind, c.kind) << c.name;
        EXPECT_EQ(value->text, QString::fromLatin1(c.text)) << c.name;
    }
}

TEST_F(PropertyRead, UncoveredTypesHaveNoValue)
{
    EXPECT_FALSE(evaluate(QStringLiteral("Kategorie"), stand.get()).has_value());   // enumeration, not Boolean
    EXPECT_FALSE(evaluate(QStringLiteral("Velke"), stand.get()).has_value());       // Int64
    EXPECT_FALSE(evaluate(QStringLiteral("NextElement"), stand.get()).has_value()); // write-only reference
    EXPECT_FALSE(evaluate(QStringLiteral("Neexistuje"), stand.get()).has_value());
    EXPECT_FALSE(evaluate(QStringLiteral("Vek"), nullptr).has_value());
}

// A float property may hold an infinity or NaN (a division in the model's own code): it reads as
// a Float, comparisons with an infinity follow IEEE and a NaN compares to no value, so one such
// element does not abort a selection.
TEST_F(PropertyRead, InfiniteAndNaNFloatsAreValues)
{
    const double infinity = std::numeric_limits<double>::infinity();
    stand->zasoba = infinity;
    const auto value = evaluate(QStringLiteral("Zasoba"), stand.get());
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->kind, Float);
    EXPECT_EQ(value->number, infinity);
    EXPECT_TRUE(holds(QStringLiteral("Zasoba > 1000000"), stand.get()));
    EXPECT_FALSE(holds(QStringLiteral("Zasoba < 0"), stand.get()));
    EXPECT_TRUE(holds(QStringLiteral("Zasoba = Zasoba"), stand.get()));
    EXPECT_FALSE(holds(QStringLiteral("Zasoba = 1"), stand.get()));
    stand->zasoba = -infinity;
    EXPECT_TRUE(holds(QStringLiteral("Zasoba < -1000000"), stand.get()));
    EXPECT_FALSE(holds(QStringLiteral("Zasoba > Zasoba"), stand.get()));

    stand->zasoba = std::numeric_limits<double>::quiet_NaN();
    ASSERT_TRUE(evaluate(QStringLiteral("Zasoba"), stand.get()).has_value());
    for (const char* text : {"Zasoba = 1", "Zasoba < 1", "Zasoba > 1", "Zasoba = Zasoba", "1 = Zasoba"})
        EXPECT_FALSE(evaluate(QString::fromLatin1(text), stand.get()).has_value()) << text;
    EXPECT_FALSE(holds(QStringLiteral("NOT (Zasoba = 1)"), stand.get()));
}

TEST(PropertyReadText, NamesAnsweredByTheElementBecomeNumbersOrStrings)
{
    auto list = Create<TStringListElement>();
    list->AddNameValue(QStringLiteral("CELE"), QStringLiteral("12"));
    list->AddNameValue(QStringLiteral("CARKA"), QStringLiteral("1,5"));
    list->AddNameValue(QStringLiteral("TECKA"), QStringLiteral("1.5"));
    list->AddNameValue(QStringLiteral("TEXT"), QStringLiteral("abc"));
    list->AddNameValue(QStringLiteral("PRAZDNY"), QString());
    list->AddNameValue(QStringLiteral("VELKE"), QStringLiteral("99999999999"));
    const struct {
        const char* name;
        TType kind;
        double number;
    } cases[] = {{"cele", Integer, 12}, {"carka", Float, 1.5}, {"tecka", Float, 1.5}, {"VELKE", Float, 99999999999.0}};
    for (const auto& c : cases) {
        const auto value = evaluate(QString::fromLatin1(c.name), list.get());
        ASSERT_TRUE(value.has_value()) << c.name;
        EXPECT_EQ(value->kind, c.kind) << c.name;
        EXPECT_DOUBLE_EQ(value->number, c.number) << c.name;
    }
    const auto text = evaluate(QStringLiteral("TEXT"), list.get());
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->kind, String);
    EXPECT_EQ(text->text, QStringLiteral("abc"));
    EXPECT_FALSE(evaluate(QStringLiteral("PRAZDNY"), list.get()).has_value());
}

TEST(PropertyReadText, WholeNumberBeyond32BitsDoesNotAbortAComparison)
{
    auto list = Create<TStringListElement>();
    list->AddNameValue(QStringLiteral("KOD"), QStringLiteral("5000000000"));
    EXPECT_TRUE(holds(QStringLiteral("KOD > 4000000000.5"), list.get()));
}

// --- element tests -----------------------------------------------------------------------------

TEST(ElementTests, ClassAncestorAndExistsProp)
{
    auto stand = Create<TTestStand>();
    EXPECT_TRUE(holds(QStringLiteral("CLASS(ttestSTAND)"), stand.get()));
    EXPECT_FALSE(holds(QStringLiteral("CLASS( TTestStand )"), stand.get()));
    EXPECT_TRUE(holds(QStringLiteral("ANCESTOR(TElement)"), stand.get()));
    EXPECT_FALSE(holds(QStringLiteral("ANCESTOR(TOwnerElement)"), stand.get()));
    EXPECT_TRUE(holds(QStringLiteral("EXISTSPROP(Vek)"), stand.get()));
    EXPECT_FALSE(holds(QStringLiteral("EXISTSPROP()"), stand.get()));
    EXPECT_FALSE(evaluate(QStringLiteral("CLASS(TTestStand)"), nullptr).has_value());
}

// --- building by hand and type flags --------------------------------------------------------------

TEST(OperatorTree, ReplacingAnOperandFreesTheOldSubtree)
{
    auto plus = Create<TPlusOperator>();
    auto one = Create<TConstOperator>();
    one->SetConstant(TIntegerElement::CreateValue(1).release());
    auto two = Create<TConstOperator>();
    two->SetConstant(TIntegerElement::CreateValue(2).release());
    TConstOperator* first = one.get();
    plus->SetOperand1(one.release());
    plus->SetOperand2(two.release());
    EXPECT_EQ(plus->GetOperand1(), first);
    const WeakRef<TConstOperator> watch(first);
    auto three = Create<TConstOperator>();
    three->SetConstant(TIntegerElement::CreateValue(3).release());
    plus->SetOperand1(three.release());
    EXPECT_TRUE(watch.isDangling());
}

TEST(OperatorTree, TypeFlagsFollowTheCatalogue)
{
    const struct {
        const char* text;
        bool hasType;
    } cases[] = {{"1 + 2", true},          {"1 + 'a'", false},        {"X + 1", true},
                 {"(1 = 1) AND 5", false}, {"(1 = 1) = (1 = 1)", false}, {"ODD(2.5)", false},
                 {"'a' < 'b'", true},      {"TOCHAR(1)", false},      {"ROUND(X)", true}};
    for (const auto& c : cases) {
        const Owned<TOperator> tree = parse(QString::fromLatin1(c.text));
        EXPECT_EQ(tree->HasType(), c.hasType) << c.text;
        EXPECT_EQ(tree->GetTypeFlags(), nullptr) << c.text;
    }
}

TEST(OperatorTree, ComputedFlagsOfPlusAndRound)
{
    const Owned<TOperator> tree = parse(QStringLiteral("ROUND(X) + TOBYTE(X)"));
    tree->ComputeTypeFlags();
    EXPECT_TRUE(tree->GetTypeFlag(Integer));
    EXPECT_FALSE(tree->GetTypeFlag(Float));
    EXPECT_EQ(tree->GetOperand1()->GetTypeFlags(), nullptr);   // operands' blocks are released
    tree->FreeTypeFlags();
    EXPECT_FALSE(tree->GetTypeFlag(Integer));
}

} // namespace
