// Tests of the condition language: syntax messages with their positions, tree shapes, lexer, creators.
#include "ConditionTestSupport.h"

#include "framework/expressions/ConditionParser.h"
#include "framework/expressions/ConditionSyntax.h"
#include "platform/text/Numbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

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

struct Fault {
    QString message;
    int position = 0;
};

// The syntax error the parser raises for text; none when it parses.
std::optional<Fault> syntaxFault(const QString& text)
{
    auto creator = Create<TExpressionCreator>();
    try {
        creator->ParseExpression(text);
    } catch (const SyntaxExcept& e) {
        return Fault{e.message(), e.Position()};
    }
    return std::nullopt;
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
    const std::optional<Fault> fault = syntaxFault(QString::fromUtf8(c.text));
    ASSERT_TRUE(fault.has_value()) << "no error";
    EXPECT_EQ(fault->message, QString::fromUtf8(c.message));
    EXPECT_EQ(fault->position, c.position);
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
                      ErrorCase{"InsideNotOperand", "NOT a b", "Chyba v systaxi", 3},
                      // Nothing may follow a bracket group, as nothing may follow any other atom.
                      ErrorCase{"AfterBracketGroup", "(A = 1) (B = 2)", "Chyba v syntaxi", 8},
                      ErrorCase{"NumberAfterBracketGroup", "(1) 2", "Chyba v syntaxi", 4},
                      ErrorCase{"AfterGroupOnTheRight", "x = (1)2", "Chyba v syntaxi", 8},
                      ErrorCase{"AfterGroupInsideGroup", "((1) 2)", "Chyba v syntaxi", 5}),
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
                      ShapeCase{"DigitBeforeWordSplits", "x=1AND y", "And(Rovno(X,1),Y)"},
                      ShapeCase{"UnaryPlusBuildsNothing", "+5", "5"},
                      ShapeCase{"UnaryPlusOverName", "+ x", "X"},
                      ShapeCase{"NegativeLiteralAfterBlank", "- 5", "-5"},
                      ShapeCase{"BlankAfterGroup", "(a)  ", "A"},
                      ShapeCase{"TrueIsAProperty", "TRUE", "TRUE"},
                      ShapeCase{"FalseIsAProperty", "false = 1", "Rovno(FALSE,1)"},
                      ShapeCase{"FindWordsAreProperties", "FIND + FINDFIRST + findabsfirst + FindToLevel",
                                "Plus(Plus(Plus(FIND,FINDFIRST),FINDABSFIRST),FINDTOLEVEL)"},
                      ShapeCase{"LongChainLeftAssociative", "a - b - c - d - e", "Minus(Minus(Minus(Minus(A,B),C),D),E)"},
                      ShapeCase{"MixedLevels", "a OR b = 1 + 2 * c MOD 3 AND NOT d",
                                "And(Or(A,Rovno(B,Mod(Plus(1,Krat(2,C)),3))),Not(D))"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- nesting -----------------------------------------------------------------------------------

QString repeated(const char* piece, int count)
{
    return QString::fromLatin1(piece).repeated(count);
}

// Brackets, keyword arguments, NOT and signs nest up to 256 levels; the construct that opens the
// next level is a syntax error at its position in the text, however deep the text goes.
TEST(Nesting, BeyondTheLimitIsASyntaxErrorAtItsPosition)
{
    const struct {
        QString text;
        int position;
    } cases[] = {
        {repeated("(", 300) + QStringLiteral("1") + repeated(")", 300), 257},
        {repeated("(", 5000) + QStringLiteral("1") + repeated(")", 5000), 257},
        {repeated("NOT ", 5000) + QStringLiteral("a"), 4 * 256 + 1},
        {repeated("-", 5000) + QStringLiteral("x"), 257},
        {repeated("+ ", 5000) + QStringLiteral("x"), 2 * 256 + 1},
        {repeated("SIN(", 300) + QStringLiteral("0") + repeated(")", 300), 4 * 256 + 1},
        {QStringLiteral("x = ") + repeated("(-", 200) + QStringLiteral("1") + repeated(")", 200), 4 + 2 * 128 + 1},
    };
    for (const auto& c : cases) {
        const std::optional<Fault> fault = syntaxFault(c.text);
        ASSERT_TRUE(fault.has_value()) << c.text.left(20).toStdString();
        EXPECT_EQ(fault->message, QStringLiteral("Chyba v syntaxi")) << c.text.left(20).toStdString();
        EXPECT_EQ(fault->position, c.position) << c.text.left(20).toStdString();
    }
}

TEST(Nesting, UpToTheLimitParses)
{
    EXPECT_EQ(parsed(repeated("(", 256) + QStringLiteral("1") + repeated(")", 256)), QStringLiteral("1"));
    EXPECT_EQ(parsed(repeated("-", 255) + QStringLiteral("x")).count(QStringLiteral("UnMinus")), 255);
}

// Long flat conditions build their tree level by level, without nesting.
TEST(Nesting, LongChainsAreNoNesting)
{
    QString text = QStringLiteral("a = 0");
    for (int i = 1; i < 3000; ++i)
        text += QStringLiteral(" OR a = %1").arg(i);
    auto creator = Create<TExpressionCreator>();
    const Owned<TOperator> tree = creator->ParseExpression(text);
    TOperator* node = tree.get();
    int depth = 0;
    for (; node && node->ClassName() == QLatin1String("TOrOperator"); node = node->GetOperand1())
        ++depth;
    EXPECT_EQ(depth, 2999);
}

// Random texts from the language's pieces: a tree or a syntax (or range) error, nothing else.
TEST(Nesting, RandomTextsParseOrRaiseASyntaxError)
{
    const char* const pieces[] = {"a", "b1", "1", "2.5", "1.2.3", " ", "  ", "(", "(", ")", "'", "+", "-", "*", "/",
                                  "=", "<", ">", "AND", "or", "NOT ", "MOD", "div", "SIN(", "CLASS(", "_", "#",
                                  "X_OR_Y", "1AND", "3000000000", "\t", "((((((((", "--------", "NOT NOT NOT "};
    std::mt19937 random(141);
    int trees = 0;
    int errors = 0;
    for (int i = 0; i < 3000; ++i) {
        QString text;
        for (int k = 1 + static_cast<int>(random() % 40); k > 0; --k)
            text += QString::fromLatin1(pieces[random() % std::size(pieces)]);
        auto creator = Create<TExpressionCreator>();
        try {
            trees += creator->ParseExpression(text) ? 1 : 0;
        } catch (const SyntaxExcept& e) {
            ++errors;
            EXPECT_GE(e.Position(), 1) << text.toStdString();
        } catch (const ERangeError&) {
            ++errors;
        }
    }
    EXPECT_GT(trees, 10);
    EXPECT_GT(errors, 1000);
}

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

// Brackets pair by counting, quotes not considered; a quote pairs with the next quote.
TEST(Scanner, PartnersOfBracketsAndQuotes)
{
    const ConditionTokens tokens(QStringLiteral(" (a(b)')') c'"));
    const int open = tokens.tokenAt(2);
    ASSERT_EQ(tokens[open].kind, TokenKind::Open);
    EXPECT_EQ(tokens[tokens[open].partner].pos, 8);
    EXPECT_EQ(tokens[tokens.tokenAt(4)].partner, tokens.tokenAt(6));
    EXPECT_EQ(tokens[tokens.tokenAt(7)].partner, tokens.tokenAt(9));
    EXPECT_EQ(tokens[tokens.tokenAt(9)].partner, tokens.tokenAt(13));
    EXPECT_EQ(tokens[tokens.tokenAt(13)].partner, -1);
    EXPECT_EQ(tokens[tokens.count() - 1].kind, TokenKind::End);
    EXPECT_EQ(tokens.tokenAt(14), tokens.count() - 1);
}

// The loosest level wins; strings and groups hide what stands in them; a sign is binary only
// after an operand; a word operator is a whole run of letters and underscores.
TEST(Scanner, TopLevelOperatorsOfTheLoosestLevel)
{
    const struct {
        const char* text;
        std::vector<int> positions;   // of the operators found
    } cases[] = {{"a + (b * c) - d", {3, 13}}, {"'x = y'", {}},         {"x or y AND z", {3, 8}},
                 {"1 - -2", {3}},              {"-1", {}},              {"x <", {3}},
                 {"a * -b", {3}},              {"NOT -a", {5}},         {"a=-1", {2}},
                 {"1MOD 2 DIV_x", {2}},        {"ANDOR = 1", {7}},      {"'a' + ('b'", {}}};
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        const ConditionTokens tokens(text);
        std::vector<int> positions;
        try {
            for (const int index : tokens.operatorsOf(0, tokens.count() - 1, 99).tokens)
                positions.push_back(tokens[index].pos);
        } catch (const SyntaxExcept& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Ocekavam: )")) << c.text;
            EXPECT_EQ(e.Position(), 99) << c.text;
            EXPECT_EQ(QLatin1String(c.text), QLatin1String("'a' + ('b'"));
            continue;
        }
        EXPECT_EQ(positions, c.positions) << c.text;
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
