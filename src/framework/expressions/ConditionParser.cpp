// Condition parser: the top-level split of token ranges, atoms, keywords and literals.
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
using syntaxtext::expectClose;
using syntaxtext::expectExpression;
using syntaxtext::expectOpen;
using syntaxtext::meaningless;

constexpr QChar quote = QLatin1Char('\'');

// How deep brackets, keyword arguments, NOT and signs may nest. Each level costs a few stack frames
// here and in the operator tree; a hostile text must not run the stack out.
constexpr int maxNesting = 256;

[[noreturn]] void fail(const QString& message, int position)
{
    throw SyntaxExcept(message, position);
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

// --- the parser ----------------------------------------------------------------------------
// The text is split at its loosest top-level operator, the rightmost of that level, and the pieces
// are parsed again; an atom is a piece without one. Every piece is a token range of the one scan
// (a frame), and all operators of the loosest level of a frame are taken in one pass, so a text
// is read a bounded number of times however long it is.
//
// Error positions are those the language always reported: counted from the start of the piece,
// plus the frame's shift. The shift grows with the piece's offset after an operator or a sign,
// by 1 for a bracket group wherever it stands, and not at all for a keyword's argument or NOT's
// operand, whose positions count from there. Only the nesting limit reports the plain position
// in the whole text, which is what its reader needs.

struct Frame {
    int first = 0;   // token range [first, last)
    int last = 0;
    int shift = 0;
};

class Parser
{
public:
    Parser(QStringView text, const ConditionTokens& tokens) : m_text(text), m_tokens(tokens) {}

    // A whole text (or a bracket group, or a keyword's argument): the top-level split, else an atom.
    Owned<TOperator> expression(const Frame& frame, int depth);

private:
    // The rest of an atom after NOT or a sign: an atom again (it holds no top-level operator).
    Owned<TOperator> operand(const Frame& frame, int depth);
    Owned<TOperator> chain(const Frame& frame, const TopLevelOperators& operators, int depth);
    Owned<TOperator> atom(const Frame& frame, int depth);
    Owned<TOperator> group(const Frame& frame, int open, int depth);
    Owned<TOperator> sign(const Frame& frame, int pos, int depth);
    Owned<TOperator> word(const Frame& frame, int pos, int depth);
    Owned<TOperator> number(const Frame& frame, int pos, bool negate);
    // The bracket group that must follow a keyword directly with nothing but blanks after it; its
    // token range, positions counting from the argument.
    Frame keywordArgument(const Frame& frame, int pos);
    // Inside the bracket group opening at a frame position ("Ocekavam: )" when it does not close
    // in the frame), with the given shift.
    Frame groupAt(const Frame& frame, int open, int shift) const;
    // Only blanks after the group's ")"; else "Chyba v syntaxi" at the character after it.
    void nothingAfter(const Frame& frame, const Frame& inside) const;

    int start(const Frame& frame) const { return m_tokens[frame.first].pos; }
    int end(const Frame& frame) const { return m_tokens[frame.last].pos; }
    int length(const Frame& frame) const { return end(frame) - start(frame); }
    // The frame's own text: positions 1..n in it are the frame's positions.
    QStringView textOf(const Frame& frame) const { return m_text.mid(start(frame) - 1, end(frame) - start(frame)); }
    // The frame from a 1-based position of it to its end (the token that begins there).
    Frame suffix(const Frame& frame, int pos, int shift) const
    {
        return {m_tokens.tokenAt(start(frame) + pos - 1), frame.last, shift};
    }
    // A frame position as the error reports it.
    static int reported(const Frame& frame, int pos) { return pos + frame.shift; }
    [[noreturn]] static void failAt(const Frame& frame, const QString& message, int pos)
    {
        fail(message, reported(frame, pos));
    }
    // One more level of nesting for the construct at a frame position.
    int deeper(const Frame& frame, int pos, int depth) const;
    bool isBlank(const Frame& frame) const;

    QStringView m_text;
    const ConditionTokens& m_tokens;
};

Owned<TOperator> built(Owned<TOperator> node)
{
    node->SetVariableIndex(0);
    return node;
}

Owned<TOperator> withOperand(Owned<TOperator> node, Owned<TOperator> operand)
{
    node->SetOperand1(operand.release());
    return built(std::move(node));
}

int Parser::deeper(const Frame& frame, int pos, int depth) const
{
    if (depth >= maxNesting)
        fail(syntaxtext::tooDeep, start(frame) + pos - 1);
    return depth + 1;
}

bool Parser::isBlank(const Frame& frame) const
{
    const int first = m_tokens[frame.first].kind == TokenKind::Blanks ? frame.first + 1 : frame.first;
    return first >= frame.last;
}

Owned<TOperator> Parser::expression(const Frame& frame, int depth)
{
    if (isBlank(frame))
        failAt(frame, expectExpression, 1);
    const TopLevelOperators operators =
        m_tokens.operatorsOf(frame.first, frame.last, reported(frame, length(frame) + 1));
    if (operators.tokens.empty())
        return atom(frame, depth);
    return chain(frame, operators, depth);
}

Owned<TOperator> Parser::operand(const Frame& frame, int depth)
{
    if (isBlank(frame))
        failAt(frame, expectExpression, 1);
    return atom(frame, depth);
}

// o1 .. om of one level split the frame into pieces p0 .. pm: ((p0 o1 p1) o2 p2) ... The checks of
// the operators come first, the rightmost first, then the pieces from the left.
Owned<TOperator> Parser::chain(const Frame& frame, const TopLevelOperators& operators, int depth)
{
    const std::vector<int>& ops = operators.tokens;
    const int first = start(frame);
    for (size_t j = ops.size(); j-- > 0;) {
        const Token& op = m_tokens[ops[j]];
        const int pieceEnd = j + 1 < ops.size() ? m_tokens[ops[j + 1]].pos : end(frame);
        if (op.end() == pieceEnd)
            failAt(frame, expectExpression, op.end() - first + 1);
        if (op.pos == first)
            failAt(frame, expectExpression, 1);
    }
    Owned<TOperator> left = expression({frame.first, ops.front(), frame.shift}, depth);
    for (size_t j = 0; j < ops.size(); ++j) {
        const Token& op = m_tokens[ops[j]];
        const int last = j + 1 < ops.size() ? ops[j + 1] : frame.last;
        Owned<TOperator> right = expression({ops[j] + 1, last, frame.shift + op.end() - first}, depth);
        Owned<TOperator> node = binaryNode(op.keyword);
        Q_ASSERT(node);
        node->SetOperand1(left.release());
        node->SetOperand2(right.release());
        left = built(std::move(node));
    }
    return left;
}

Owned<TOperator> Parser::atom(const Frame& frame, int depth)
{
    const QStringView text = textOf(frame);
    int pos = 1;
    SkipBlanks(text, pos);
    const QChar c = text.at(pos - 1);
    if (c == quote) {
        QString value;
        ReadQuoted(text, pos, value);
        if (!OnlyBlanksFrom(text, pos))
            failAt(frame, afterQuoted, pos);
        return built(constant(Owned<TTypeElement>(TStringElement::CreateValue(value).release())));
    }
    if (c == QLatin1Char('('))
        return group(frame, pos, depth);
    if (c == QLatin1Char('-') || c == QLatin1Char('+'))
        return sign(frame, pos, depth);
    if (IsDigit(c))
        return number(frame, pos, false);
    if (IsWordChar(c))
        return word(frame, pos, depth);
    failAt(frame, badCharacter, pos);
}

// A bracket group is the whole atom: blanks may follow it, nothing else (checked after the group,
// so errors keep their order from the left).
Owned<TOperator> Parser::group(const Frame& frame, int open, int depth)
{
    const Frame inside = groupAt(frame, open, frame.shift + 1);
    Owned<TOperator> inner = expression(inside, deeper(frame, open, depth));
    nothingAfter(frame, inside);
    return inner;
}

Frame Parser::groupAt(const Frame& frame, int open, int shift) const
{
    const int openToken = m_tokens.tokenAt(start(frame) + open - 1);
    const int closeToken = m_tokens[openToken].partner;
    if (closeToken < 0 || closeToken >= frame.last)
        failAt(frame, expectClose, length(frame) + 1);
    return {openToken + 1, closeToken, shift};
}

void Parser::nothingAfter(const Frame& frame, const Frame& inside) const
{
    const int after = m_tokens[inside.last].end() - start(frame) + 1;
    if (!OnlyBlanksFrom(textOf(frame), after))
        failAt(frame, afterQuoted, after);
}

// A unary sign at pos: a negative literal, a unary minus over the rest, or the rest itself.
Owned<TOperator> Parser::sign(const Frame& frame, int pos, int depth)
{
    const QStringView text = textOf(frame);
    const bool minus = text.at(pos - 1) == QLatin1Char('-');
    const int afterSign = pos + 1;
    int next = afterSign;
    SkipBlanks(text, next);
    if (next == 0)
        failAt(frame, expectExpression, length(frame) + 1);
    if (text.at(next - 1) == quote)
        failAt(frame, meaningless, next);
    if (minus && IsDigit(text.at(next - 1)))
        return number(frame, next, true);
    const int nested = deeper(frame, pos, depth);
    if (!minus)
        return operand(suffix(frame, afterSign, frame.shift + afterSign - 1), nested);
    return withOperand(make<TUnMinusOperator>(), operand(suffix(frame, next, frame.shift + next - 1), nested));
}

// The digits and points at pos as a constant, negated for a leading minus.
Owned<TOperator> Parser::number(const Frame& frame, int pos, bool negate)
{
    const QStringView text = textOf(frame);
    const int first = pos;
    QString digits;
    ReadNumber(text, pos, digits);
    if (!OnlyBlanksFrom(text, pos))
        failAt(frame, afterNumber, pos);
    double value = 0;
    if (txt::pascalVal(digits, value) != 0)
        failAt(frame, badValue, first);
    return built(constant(numberValue(negate ? -value : value)));
}

Frame Parser::keywordArgument(const Frame& frame, int pos)
{
    const QStringView text = textOf(frame);
    if (pos == 0)
        failAt(frame, expectOpen, length(frame) + 1);
    if (text.at(pos - 1) != QLatin1Char('('))
        failAt(frame, expectOpen, pos);
    const Frame inside = groupAt(frame, pos, frame.shift);
    nothingAfter(frame, inside);
    return inside;
}

// An identifier at pos: a keyword or a property name.
Owned<TOperator> Parser::word(const Frame& frame, int pos, int depth)
{
    const QStringView text = textOf(frame);
    const int first = pos;
    QString name;
    ReadIdentifier(text, pos, name);
    name = txt::upperAscii(name);
    const int keyword = FindKeyword(name);
    if (keyword == kwClass || keyword == kwAncestor || keyword == kwExistsProp) {
        // The argument is a string verbatim, blanks included; it was always parsed as a quoted
        // literal, so a quote inside it ends the literal early.
        const Frame argument = keywordArgument(frame, pos);
        const QStringView verbatim = textOf(argument);
        // The error stands after that quote as counted in 'argument', the literal's own text.
        if (const qsizetype inner = verbatim.indexOf(quote); inner >= 0)
            fail(afterQuoted, static_cast<int>(inner) + 3 + frame.shift);
        Owned<TOperator> value =
            built(constant(Owned<TTypeElement>(TStringElement::CreateValue(verbatim.toString()).release())));
        return withOperand(functionNode(keyword), std::move(value));
    }
    if (Owned<TOperator> node = functionNode(keyword)) {
        const Frame argument = keywordArgument(frame, pos);
        return withOperand(std::move(node), expression(argument, deeper(frame, first, depth)));
    }
    if (keyword == kwNot) {
        if (pos == 0)
            failAt(frame, expectExpression, length(frame) + 1);
        return withOperand(make<TNotOperator>(), operand(suffix(frame, pos, frame.shift), deeper(frame, first, depth)));
    }
    if (!OnlyBlanksFrom(text, pos))
        failAt(frame, afterName, pos);
    auto read = Create<TReadPropOperator>();
    read->SetPropertyName(name);
    return built(Owned<TOperator>(read.release()));
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
    const ConditionTokens tokens(text);
    Parser parser(text, tokens);
    return parser.expression({0, tokens.count() - 1, 0}, 0);
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
