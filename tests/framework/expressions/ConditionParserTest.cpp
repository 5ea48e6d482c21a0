// Tests of the condition language: syntax messages with their positions, tree shapes, lexer, creators.
#include "ConditionTestSupport.h"

#include "framework/expressions/ConditionParser.h"
#include "framework/expressions/ConditionSyntax.h"
#include "platform/text/Numbers.h"

#include <gtest/gtest.h>

using namespace Syntax;

namespace {

// The tree as text: operators by their class name without "T" and "Operator", property reads
// by name, constants by value (strings quoted).
QString describe(const TOperator* node)
{
    if (!node)
        return QStringLiteral("-");
    if (auto* constant = dynamic_cast<const TConstOperator*>(node)) {
        const TTypeElement* value = constant->Constant();
        if (value->Typ() == TType::_String)
            return QLatin1Char('\'') + value->GetAsString() + QLatin1Char('\'');
        if (value->Typ() == TType::_Float)
            return txt::floatToStr(value->GetAsFloat(), QLatin1Char('.')) + QLatin1Char('f');
        return value->GetAsString();
    }
    if (auto* read = dynamic_cast<const TReadPropOperator*>(node))
        return read->PropertyName();
    QString name = node->ClassName().mid(1);
    name.chop(static_cast<int>(qstrlen("Operator")));
    QString text = name + QLatin1Char('(') + describe(node->GetOperand1());
    if (node->GetOperand2())
        text += QLatin1Char(',') + describe(node->GetOperand2());
    return text + QLatin1Char(')');
}

QString parsed(const QString& text)
{
    auto creator = Create<TExpressionCreator>();
    return describe(creator->ParseExpression(text).get());
}

// --- syntax messages ---------------------------------------------------------------------------

struct ErrorCase {
    const char* name;
    const char* text;
    const char* message;
    int position;
};

class SyntaxError : public ::testing::TestWithParam<ErrorCase>
{
};

TEST_P(SyntaxError, MessageAndPosition)
{
    const ErrorCase& c = GetParam();
    auto creator = Create<TExpressionCreator>();
    try {
        creator->ParseExpression(QString::fromUtf8(c.text));
        FAIL() << "no error";
    } catch (const PositionedSyntaxExcept& e) {
        EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        EXPECT_EQ(e.Position(), c.position);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, SyntaxError,
    ::testing::Values(ErrorCase{"Empty", "", "Ocekavam vyraz", 1},
                      ErrorCase{"Blank", "   ", "Ocekavam vyraz", 1},
                      ErrorCase{"OperatorAlone", "=", "Ocekavam vyraz", 2},
                      ErrorCase{"OperatorAtEnd", "1 =", "Ocekavam vyraz", 4},
                      ErrorCase{"OperatorAtStart", "= 1", "Ocekavam vyraz", 1},
                      ErrorCase{"BlankAfterOperator", "1 = ", "Ocekavam vyraz", 4},
                      ErrorCase{"BlankBeforeOperator", " = 1", "Ocekavam vyraz", 1},
                      ErrorCase{"SignAlone", "-", "Ocekavam vyraz", 2},
                      ErrorCase{"SignAndBlanks", "+  ", "Ocekavam vyraz", 4},
                      ErrorCase{"NotAlone", "NOT", "Ocekavam vyraz", 4},
                      ErrorCase{"NotBeforeSignIsBinary", "NOT -a", "Ocekavam vyraz", 1},
                      ErrorCase{"TwoCharacterComparison", "a <= b", "Ocekavam vyraz", 4},
                      ErrorCase{"MinusBeforeString", "-'a'", "Vyraz nema smysl", 2},
                      ErrorCase{"PlusBeforeString", "+'a'", "Vyraz nema smysl", 2},
                      ErrorCase{"SignBlankString", "x = - 'a'", "Vyraz nema smysl", 7},
                      ErrorCase{"AfterString", "'ab' x", "Chyba v syntaxi", 5},
                      ErrorCase{"QuoteEndsTheLiteral", "'it''s'", "Chyba v syntaxi", 5},
                      ErrorCase{"AfterKeywordGroup", "SIN(0) x", "Chyba v syntaxi", 7},
                      ErrorCase{"AfterNumber", "12a", "Chyba v sytaxi", 3},
                      ErrorCase{"ExponentIsNoNumber", "1E5", "Chyba v sytaxi", 2},
                      ErrorCase{"AfterNegativeNumber", "x = -1 2", "Chyba v sytaxi", 7},
                      ErrorCase{"AfterName", "abc d", "Chyba v systaxi", 4},
                      ErrorCase{"AfterNameOnTheRight", "x = a b", "Chyba v systaxi", 6},
                      ErrorCase{"TwoPoints", "1.2.3", "Chybna hodnota", 1},
                      ErrorCase{"TwoPointsAfterBlank", "x = 1.2.3", "Chybna hodnota", 5},
                      ErrorCase{"BlankBeforeBracket", "SIN (0)", "Ocekavam: (", 4},
                      ErrorCase{"KeywordAtEnd", "SIN", "Ocekavam: (", 4},
                      ErrorCase{"ClassWithoutBracket", "CLASS TPorost", "Ocekavam: (", 6},
                      ErrorCase{"UnclosedGroup", "(1", "Ocekavam: )", 3},
                      ErrorCase{"UnclosedKeywordGroup", "SIN(0", "Ocekavam: )", 6},
                      ErrorCase{"UnclosedGroupOnTheRight", "1 + (2", "Ocekavam: )", 7},
                      ErrorCase{"LeadingPoint", ".5", "Nesmyslny znak", 1},
                      ErrorCase{"OddCharacter", "a = #", "Nesmyslny znak", 5},
                      ErrorCase{"InsideBracketGroup", "(a b)", "Chyba v systaxi", 3},
                      // A group shifts the errors inside it by 1, whatever blanks stand before it.
                      ErrorCase{"InsideNestedGroup", "1 + ((b c))", "Chyba v systaxi", 7},
                      // Inside a keyword's argument and NOT's operand positions count from there.
                      ErrorCase{"InsideKeywordArgument", "SIN(a b)", "Chyba v systaxi", 2},
                      ErrorCase{"KeywordArgumentOnTheRight", "x = SIN(a b)", "Chyba v systaxi", 5},
                      ErrorCase{"QuoteInsideClassArgument", "CLASS(a'b)", "Chyba v syntaxi", 4},
                      ErrorCase{"InsideNotOperand", "NOT a b", "Chyba v systaxi", 3}),
    [](const auto& info) { return std::string(info.param.name); });

// --- tree shapes -------------------------------------------------------------------------------

struct ShapeCase {
    const char* name;
    const char* text;
    const char* tree;
};

class TreeShape : public ::testing::TestWithParam<ShapeCase>
{
};

TEST_P(TreeShape, Parses)
{
    EXPECT_EQ(parsed(QString::fromUtf8(GetParam().text)), QString::fromUtf8(GetParam().tree));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, TreeShape,
    ::testing::Values(ShapeCase{"ComparisonsSplitRightmost", "a = b = c", "Rovno(Rovno(A,B),C)"},
                      ShapeCase{"NotTakesItsPiece", "NOT a = b", "Rovno(Not(A),B)"},
                      ShapeCase{"AndOrSameLevel", "a OR b AND c", "And(Or(A,B),C)"},
                      ShapeCase{"ModLooserThanPlus", "2 + 3 MOD 2", "Mod(Plus(2,3),2)"},
                      ShapeCase{"UnaryMinusOverName", "-x", "UnMinus(X)"},
                      ShapeCase{"BinaryMinusAfterBracket", "(a) -1", "Minus(A,1)"},
                      ShapeCase{"WholeFloatIsInteger", "2.0", "2"},
                      ShapeCase{"UnclosedQuoteAccepted", "'ab", "'ab'"},
                      ShapeCase{"ClassArgumentVerbatim", "CLASS( TPorost )", "ClassIs(' TPorost ')"},
                      ShapeCase{"WordInsideNameIsNoOperator", "XORY", "XORY"},
                      // An underscore protects a word operator as a letter does.
                      ShapeCase{"UnderscoresAroundWord", "X_OR_Y", "X_OR_Y"},
                      ShapeCase{"UnderscoreAfterWord", "OR_UR1_KOD = 1", "Rovno(OR_UR1_KOD,1)"},
                      ShapeCase{"DigitBeforeWordSplits", "x=1AND y", "And(Rovno(X,1),Y)"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- lexer -------------------------------------------------------------------------------------

TEST(Lexer, BlanksAreSpacesOnly)
{
    int pos = 1;
    SkipBlanks(QStringLiteral("\tx"), pos);
    EXPECT_EQ(pos, 1);
    pos = 2;
    SkipBlanks(QStringLiteral("x  "), pos);
    EXPECT_EQ(pos, 0);
    EXPECT_TRUE(OnlyBlanksFrom(QStringLiteral("ab  "), 3));
    EXPECT_FALSE(OnlyBlanksFrom(QStringLiteral("a b"), 2));
}

TEST(Lexer, BracketGroupNestsAndIgnoresQuotes)
{
    const QString text = QStringLiteral(" (a(b)')') c");
    int pos = 1;
    QString inner;
    TakeBracketGroup(text, pos, inner);
    EXPECT_EQ(inner, QStringLiteral("a(b)'"));
    EXPECT_EQ(pos, 9);
}

TEST(Lexer, TopLevelOperatorSkipsStringsAndGroups)
{
    const struct {
        const char* text;
        const char* op;
        int pos;
    } cases[] = {{"a + (b * c)", "+", 4}, {"'x = y'", "", -1}, {"x or y and z", "and", 11},
                 {"1 - -2", "-", 4},      {"-1", "", -1},      {"x <", "<", 0}};
    for (const auto& c : cases) {
        int pos = -1;
        QString op;
        const bool found = FindTopLevelOperator(QString::fromLatin1(c.text), pos, op);
        EXPECT_EQ(found, c.pos >= 0) << c.text;
        if (found) {
            EXPECT_EQ(op, QString::fromLatin1(c.op)) << c.text;
            EXPECT_EQ(pos, c.pos) << c.text;
        }
    }
}

// --- creators ----------------------------------------------------------------------------------

TEST(Creators, ConditionCreatorWrapsTheTree)
{
    const Owned<TCondition> condition = condtest::condition(QStringLiteral("1 < 2"));
    ASSERT_TRUE(condition);
    EXPECT_EQ(condition->GetName(), QStringLiteral("Condition"));
    EXPECT_EQ(describe(condition->GetOperand1()), QStringLiteral("Mensi(1,2)"));
    EXPECT_TRUE(condition->EvaluateBoolean());
}

TEST(Creators, EmptyConditionIsFalse)
{
    const Owned<TCondition> condition = condtest::condition();
    ASSERT_TRUE(condition);
    EXPECT_EQ(condition->GetOperand1(), nullptr);
    condition->SetVariable(0, nullptr);
    EXPECT_FALSE(condition->EvaluateBoolean());
}

TEST(Creators, ConditionStaysWithoutOperandAfterASyntaxError)
{
    auto creator = Create<TCondCreator>();
    creator->SetCommand(QStringLiteral("a = "));
    EXPECT_THROW(creator->Execute(), SyntaxExcept);
    Owned<TCondition> condition(dynamic_cast<TCondition*>(creator->Output()));
    ASSERT_TRUE(condition);
    EXPECT_EQ(condition->GetOperand1(), nullptr);
}

} // namespace
