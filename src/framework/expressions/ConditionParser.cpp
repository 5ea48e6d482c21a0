// Condition parser: recursive descent over the loosest top-level operator, atoms, keywords and literals.
#include "framework/expressions/ConditionParser.h"

#include "framework/expressions/ConditionSyntax.h"
#include "platform/text/Case.h"
#include "platform/text/Numbers.h"

#include <cmath>
#include <limits>

using namespace Syntax;

namespace {

using syntaxtext::afterName;
using syntaxtext::afterNumber;
using syntaxtext::afterQuoted;
using syntaxtext::badCharacter;
using syntaxtext::badValue;
using syntaxtext::expectExpression;
using syntaxtext::expectOpen;
using syntaxtext::meaningless;

int length(const QString& text)
{
    return static_cast<int>(text.size());
}

QChar at(const QString& text, int pos)
{
    return text.at(pos - 1);
}

// The text from a 1-based position to the end.
QString from(const QString& text, int pos)
{
    return text.mid(pos - 1);
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool startsIdentifier(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == u'_';
}

[[noreturn]] void fail(const QString& message, int position)
{
    throw PositionedSyntaxExcept(message, position);
}

// Runs parse(); a syntax error from it is moved by offset (its text began offset characters in).
template<class Parse>
Owned<TOperator> shifted(int offset, Parse parse)
{
    try {
        return parse();
    } catch (PositionedSyntaxExcept& e) {
        e.ShiftPosition(offset);
        throw;
    }
}

template<class Op>
Owned<TOperator> make()
{
    return Owned<TOperator>(Create<Op>().release());
}

Owned<TOperator> binaryNode(int keyword)
{
    switch (keyword) {
    case kwAnd: return make<TAndOperator>();
    case kwOr: return make<TOrOperator>();
    case kwMod: return make<TModOperator>();
    case kwDiv: return make<TDivOperator>();
    case kwLess: return make<TMensiOperator>();
    case kwGreater: return make<TVetsiOperator>();
    case kwEqual: return make<TRovnoOperator>();
    case kwPlus: return make<TPlusOperator>();
    case kwMinus: return make<TMinusOperator>();
    case kwTimes: return make<TKratOperator>();
    case kwDivide: return make<TDelenoOperator>();
    default: return nullptr;
    }
}

// The node of a keyword that takes a bracketed argument; nil for any other keyword.
Owned<TOperator> functionNode(int keyword)
{
    switch (keyword) {
    case kwClass: return make<TClassIsOperator>();
    case kwAncestor: return make<TIsAncestorOperator>();
    case kwExistsProp: return make<TPropExistsOperator>();
    case kwRound: return make<TRoundOperator>();
    case kwTrunc: return make<TTruncOperator>();
    case kwCos: return make<TCosOperator>();
    case kwSin: return make<TSinOperator>();
    case kwArcTan: return make<TArcTanOperator>();
    case kwExp: return make<TExpOperator>();
    case kwFrac: return make<TFracOperator>();
    case kwLn: return make<TLnOperator>();
    case kwSqr: return make<TSqrOperator>();
    case kwSqrt: return make<TSqrtOperator>();
    case kwOdd: return make<TOddOperator>();
    case kwAbs: return make<TAbsValOperator>();
    case kwToBoolean: return make<TNaBooleanOperator>();
    case kwToChar: return make<TNaCharOperator>();
    case kwToByte: return make<TNaByteOperator>();
    case kwToFloat: return make<TNaFloatOperator>();
    case kwToString: return make<TNaStringOperator>();
    case kwToInteger: return make<TNaIntegerOperator>();
    default: return nullptr;
    }
}

Owned<TOperator> constant(Owned<TTypeElement> value)
{
    auto node = Create<TConstOperator>();
    node->SetConstant(value.release());
    return Owned<TOperator>(node.release());
}

// A whole value is an Integer (ERangeError beyond 32 bits: 3000000000 is no literal), any other
// a Float.
Owned<TTypeElement> numberValue(double value)
{
    if (std::trunc(value) == value) {
        if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
            throw ERangeError(QStringLiteral("Range check error"));
        return Owned<TTypeElement>(TIntegerElement::CreateValue(static_cast<qint32>(value)).release());
    }
    return Owned<TTypeElement>(TFloatElement::CreateValue(value).release());
}

// The digits and points at pos as a constant, negated for a leading minus.
Owned<TOperator> numberLiteral(const QString& text, int pos, bool negate)
{
    const int first = pos;
    QString word;
    ReadNumber(text, pos, word);
    if (!OnlyBlanksFrom(text, pos))
        fail(afterNumber, pos);
    double value = 0;
    if (txt::pascalVal(word, value) != 0)
        fail(badValue, first);
    return constant(numberValue(negate ? -value : value));
}

// The bracketed argument that must follow a keyword directly; nothing but blanks after it.
QString keywordArgument(const QString& text, int pos)
{
    if (pos == 0)
        fail(expectOpen, length(text) + 1);
    if (at(text, pos) != QLatin1Char('('))
        fail(expectOpen, pos);
    QString inner;
    TakeBracketGroup(text, pos, inner);
    if (!OnlyBlanksFrom(text, pos))
        fail(afterQuoted, pos);
    return inner;
}

// --- the parser ----------------------------------------------------------------------------
// Positions of errors inside a keyword's argument or NOT's operand count from the start of that
// argument or operand, as they always have.

class Parser
{
public:
    explicit Parser(TExpressionCreator& creator) : m_creator(creator) {}

    Owned<TOperator> binary(const QString& text, int pos, const QString& op);
    Owned<TOperator> atom(const QString& text);

private:
    Owned<TOperator> parse(const QString& text) { return m_creator.ParseExpression(text); }
    Owned<TOperator> sign(const QString& text, int pos);
    Owned<TOperator> word(const QString& text, int pos);
    Owned<TOperator> withOperand(Owned<TOperator> node, Owned<TOperator> operand);

    TExpressionCreator& m_creator;
};

Owned<TOperator> Parser::withOperand(Owned<TOperator> node, Owned<TOperator> operand)
{
    node->SetOperand1(operand.release());
    return node;
}

Owned<TOperator> Parser::binary(const QString& text, int pos, const QString& op)
{
    const int n = length(text);
    if (pos == 0)
        fail(expectExpression, n + 1);
    const int start = pos - length(op);
    if (start == 1)
        fail(expectExpression, 1);
    Owned<TOperator> node = binaryNode(FindKeyword(op));
    Q_ASSERT(node);
    node->SetOperand1(parse(text.left(start - 1)).release());
    node->SetOperand2(shifted(pos - 1, [&] { return parse(from(text, pos)); }).release());
    return node;
}

Owned<TOperator> Parser::atom(const QString& text)
{
    int pos = 1;
    SkipBlanks(text, pos);
    const QChar c = at(text, pos);
    if (c == QLatin1Char('\'')) {
        QString value;
        ReadQuoted(text, pos, value);
        if (!OnlyBlanksFrom(text, pos))
            fail(afterQuoted, pos);
        return constant(Owned<TTypeElement>(TStringElement::CreateValue(value).release()));
    }
    if (c == QLatin1Char('(')) {
        QString inner;
        TakeBracketGroup(text, pos, inner);
        // What follows the group is not examined: "(1) 2" is 1.
        return shifted(1, [&] { return parse(inner); });
    }
    if (c == QLatin1Char('-') || c == QLatin1Char('+'))
        return sign(text, pos);
    if (isDigit(c))
        return numberLiteral(text, pos, false);
    if (startsIdentifier(c))
        return word(text, pos);
    fail(badCharacter, pos);
}

// A unary sign at pos: a negative literal, a unary minus over the rest, or the rest itself.
Owned<TOperator> Parser::sign(const QString& text, int pos)
{
    const bool minus = at(text, pos) == QLatin1Char('-');
    const int afterSign = pos + 1;
    int next = afterSign;
    SkipBlanks(text, next);
    if (next == 0)
        fail(expectExpression, length(text) + 1);
    if (at(text, next) == QLatin1Char('\''))
        fail(meaningless, next);
    if (!minus)
        return shifted(afterSign - 1, [&] { return parse(from(text, afterSign)); });
    if (isDigit(at(text, next)))
        return numberLiteral(text, next, true);
    return withOperand(make<TUnMinusOperator>(),
                       shifted(next - 1, [&] { return parse(from(text, next)); }));
}

// An identifier at pos: a keyword or a property name.
Owned<TOperator> Parser::word(const QString& text, int pos)
{
    QString name;
    ReadIdentifier(text, pos, name);
    name = txt::upperAscii(name);
    const int keyword = FindKeyword(name);
    if (keyword == kwClass || keyword == kwAncestor || keyword == kwExistsProp) {
        // The argument is a string verbatim, blanks included.
        const QString argument = keywordArgument(text, pos);
        return withOperand(functionNode(keyword), parse(QLatin1Char('\'') + argument + QLatin1Char('\'')));
    }
    if (Owned<TOperator> node = functionNode(keyword))
        return withOperand(std::move(node), parse(keywordArgument(text, pos)));
    if (keyword == kwNot) {
        if (pos == 0)
            fail(expectExpression, length(text) + 1);
        return withOperand(make<TNotOperator>(), parse(from(text, pos)));
    }
    if (!OnlyBlanksFrom(text, pos))
        fail(afterName, pos);
    auto read = Create<TReadPropOperator>();
    read->SetPropertyName(name);
    return Owned<TOperator>(read.release());
}

} // namespace

// --- TExpressionCreator ----------------------------------------------------------------------

TClass TExpressionCreator::StaticClass()
{
    static const TClassInfo info =
        describeClass<TExpressionCreator, TTool>("TExpressionCreator", [](PropertyTable<TExpressionCreator>& t) {
            t.string("Command", &TExpressionCreator::Command, &TExpressionCreator::SetCommand);
        });
    return &info;
}

Owned<TOperator> TExpressionCreator::ParseExpression(const QString& text)
{
    if (OnlyBlanksFrom(text, 1))
        fail(expectExpression, 1);
    Parser parser(*this);
    int pos = 0;
    QString op;
    Owned<TOperator> node =
        FindTopLevelOperator(text, pos, op) ? parser.binary(text, pos, op) : parser.atom(text);
    node->SetVariableIndex(0);
    return node;
}

void TExpressionCreator::Execute()
{
    TTool::Execute();
    SetOutput(nullptr);
    if (m_command.isEmpty())
        return;
    Owned<TOperator> tree = ParseExpression(m_command);
    tree->SetVariables(Create<TShortList>().release());
    SetOutput(tree.release());
}

// --- TCondCreator ------------------------------------------------------------------------------

TClass TCondCreator::StaticClass()
{
    static const TClassInfo info = describeClass<TCondCreator, TExpressionCreator>("TCondCreator");
    return &info;
}

void TCondCreator::Execute()
{
    TTool::Execute();
    auto condition = Create<TCondition>();
    condition->SetName(QStringLiteral("Condition"));
    TCondition* result = condition.release();
    SetOutput(result);
    if (Command().isEmpty()) {
        result->SetOperand1(nullptr);
        return;
    }
    result->SetOperand1(ParseExpression(Command()).release());
    result->SetVariables(Create<TShortList>().release());
}
