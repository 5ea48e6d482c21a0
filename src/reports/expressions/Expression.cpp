// Report expressions: an operator-precedence evaluator over two stacks.
#include "reports/expressions/Expression.h"

#include "reports/expressions/OperandHost.h"
#include "reports/model/ReportTexts.h"

#include "platform/text/Case.h"
#include "platform/text/Format.h"
#include "platform/text/Numbers.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

namespace reports {
namespace {

constexpr qsizetype maxExpressionLength = 255;
constexpr qsizetype maxNameLength = 32;
// Pending operators, brackets, commas and functions; one more is a stack overflow.
constexpr std::size_t maxPending = 19;

enum ErrorCode : uint8_t {
    errUnknownName = 1, errSyntax = 2, errStackOverflow = 3, errMissingOpen = 4,
    errMissingClose = 5, errNumeric = 6, errBadNumber = 7, errCommaExpected = 10,
    errTooManyCommas = 11, errBadText = 12, errBadSet = 13,
};

// Unwinds an evaluation; caught in EvaluateExpression, never leaves this file.
struct Fault
{
    uint8_t code;
    qsizetype pos;
};

enum class Fn {
    Abs, Int, Sgn, Max, Min, Iif, Left, Right, Substr, Upper, Lower, LTrim, RTrim, AllTrim,
    Format, Sin, Cos, Tan, Cotg, Exp, Log, Asin, Acos, Atan, Acotg,
};

struct FnInfo { const char* name; Fn fn; int args; };

constexpr FnInfo functions[] = {
    {"ABS", Fn::Abs, 1}, {"INT", Fn::Int, 1}, {"SGN", Fn::Sgn, 1}, {"MAX", Fn::Max, 2},
    {"MIN", Fn::Min, 2}, {"IIF", Fn::Iif, 3}, {"LEFT", Fn::Left, 2}, {"RIGHT", Fn::Right, 2},
    {"SUBSTR", Fn::Substr, 3}, {"UPPER", Fn::Upper, 1}, {"LOWER", Fn::Lower, 1},
    {"LTRIM", Fn::LTrim, 1}, {"RTRIM", Fn::RTrim, 1}, {"ALLTRIM", Fn::AllTrim, 1},
    {"FORMAT", Fn::Format, 2}, {"SIN", Fn::Sin, 1}, {"COS", Fn::Cos, 1}, {"TAN", Fn::Tan, 1},
    {"COTG", Fn::Cotg, 1}, {"EXP", Fn::Exp, 1}, {"LOG", Fn::Log, 1}, {"ASIN", Fn::Asin, 1},
    {"ACOS", Fn::Acos, 1}, {"ATAN", Fn::Atan, 1}, {"ACOTG", Fn::Acotg, 1},
};
static_assert(std::size(functions) == 25);

enum class Op {
    Add, Sub, Mul, Div, Pow, And, Or, Eq, Ne, Lt, Gt, Le, Ge, In,   // binary
    Neg, Not,                                                      // unary
    Func, Bracket, Comma,                                          // markers
};

int precedence(Op op)
{
    switch (op) {
    case Op::Neg: case Op::Not: return 254;
    case Op::Pow: return 253;
    case Op::Mul: case Op::Div: case Op::And: return 252;
    case Op::Add: case Op::Sub: case Op::Or: return 251;
    case Op::Eq: case Op::Ne: case Op::Lt: case Op::Gt: case Op::Le: case Op::Ge: case Op::In:
        return 250;
    case Op::Func: case Op::Bracket: case Op::Comma: break;
    }
    return 0;   // markers are never reduced by an operator
}

bool isLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isPrefix(QChar c) { return c == QLatin1Char('#') || c == QLatin1Char('&') || c == QLatin1Char('@'); }
bool isNameChar(QChar c) { return isLetter(c) || isDigit(c) || c == QLatin1Char('_') || c == QLatin1Char('$'); }

TOperandValue numberValue(double v)
{
    TOperandValue r;
    r.Kind = okNumber;
    r.Number = v;
    r.Text = txt::floatToStr(v);
    return r;
}

TOperandValue textValue(const QString& text, double number)
{
    TOperandValue r;
    r.Kind = okText;
    r.Number = number;
    r.SetText(text);
    return r;
}

// An integer argument: the number truncated toward zero, held within 32 bits.
int intArgument(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(std::trunc(v));
}

// --- operand references and lists --------------------------------------------------------

TOperandValue askValue(int code)
{
    TOperandValue value;
    OperandRequestHandler* host = OperandHost();
    if (!host)
        return value;
    OperandMessage message;
    message.WParam = code;
    message.Value = &value;
    try {
        host->MessageValueRequest(message);
    } catch (...) {
        value.Clear();
    }
    value.Text.truncate(TOperandValue::MaxText);
    return value;
}

int askIndex(int code, const QString& name)
{
    OperandRequestHandler* host = OperandHost();
    if (!host)
        return -1;
    OperandMessage message;
    message.WParam = code;
    message.Name = &name;
    message.Result = -1;
    try {
        host->MessageValueRequest(message);
    } catch (...) {
        return -1;
    }
    return message.Result;
}

// Reads the reference whose prefix is at `pos`; moves `pos` past it. Nothing when it is
// malformed or its name unknown.
std::optional<TOperandValue> readReference(const QString& s, qsizetype& pos)
{
    const QChar prefix = s[pos];
    const int base = prefix == QLatin1Char('&') ? OperandMessage::Parameter
                   : prefix == QLatin1Char('#') ? OperandMessage::Column : OperandMessage::Function;
    qsizetype i = pos + 1;
    if (i < s.size() && isDigit(s[i])) {
        while (i < s.size() && isDigit(s[i]))
            ++i;
        const qsizetype digits = i - pos - 1;
        const int number = digits <= 3 ? s.mid(pos + 1, digits).toInt() : 0;
        if (number < 1 || number > 255)
            return std::nullopt;
        pos = i;
        return askValue(base + number - 1);
    }
    if (prefix == QLatin1Char('&') || i >= s.size() || !(isLetter(s[i]) || s[i] == QLatin1Char('_')))
        return std::nullopt;
    while (i < s.size() && isNameChar(s[i]))
        ++i;
    const QString name = s.mid(pos + 1, std::min(i - pos - 1, maxNameLength));
    const int index = askIndex(prefix == QLatin1Char('#') ? OperandMessage::ColumnIndex
                                                          : OperandMessage::FunctionIndex, name);
    if (index < 0 || index > std::numeric_limits<int>::max() - base)
        return std::nullopt;
    pos = i;
    return askValue(base + index);
}

// Scans a number literal at `pos`: digits, optionally "." and digits, optionally an exponent
// of one or two digits. Answers the end, or -1 when malformed.
qsizetype scanNumber(const QString& s, qsizetype pos)
{
    qsizetype i = pos;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i;
    }
    if (i < s.size() && (s[i] == QLatin1Char('E') || s[i] == QLatin1Char('e'))) {
        ++i;
        if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
            ++i;
        const qsizetype start = i;
        while (i < s.size() && isDigit(s[i]))
            ++i;
        if (i == start || i - start > 2)
            return -1;
    }
    if (i < s.size() && (isLetter(s[i]) || isPrefix(s[i])))
        return -1;
    return i;
}

TOperandValue numberLiteral(const QString& literal)
{
    TOperandValue v;
    v.Kind = okNumber;
    v.Number = literal.toDouble();   // "." separator whatever the system's
    v.Text = literal;
    return v;
}

// One element of a comma-separated operand list starting at `pos` (blanks skipped); moves
// `pos` past the comma that ends it.
TOperandValue readListElement(const QString& s, qsizetype& pos)
{
    while (pos < s.size() && s[pos] == QLatin1Char(' '))
        ++pos;
    const qsizetype start = pos;
    std::optional<TOperandValue> value;
    qsizetype i = pos;
    if (i < s.size() && isDigit(s[i])) {
        const qsizetype end = scanNumber(s, i);
        if (end > 0) {
            value = numberLiteral(s.mid(i, end - i));
            i = end;
        }
    } else if (i < s.size() && s[i] == QLatin1Char('\'')) {
        const qsizetype close = s.indexOf(QLatin1Char('\''), i + 1);
        if (close > 0) {
            const QString text = s.mid(i + 1, close - i - 1);
            value = textValue(text, SafeStrToFloat(text));
            i = close + 1;
        }
    } else if (i < s.size() && isPrefix(s[i])) {
        value = readReference(s, i);
    }
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    if (value && (i == s.size() || s[i] == QLatin1Char(','))) {
        pos = i + 1;
        return *value;
    }
    // any other characters: the raw run up to the comma
    qsizetype comma = s.indexOf(QLatin1Char(','), start);
    if (comma < 0)
        comma = s.size();
    const QString raw = s.mid(start, comma - start).trimmed();
    pos = comma + 1;
    return textValue(raw, SafeStrToFloat(raw));
}

bool inSet(const TOperandValue& x, const QString& set)
{
    qsizetype pos = 0;
    while (pos <= set.size() && !set.isEmpty()) {
        const TOperandValue element = readListElement(set, pos);
        if (element.Text == x.Text || (element.Number != 0 && element.Number == x.Number))
            return true;
    }
    return false;
}

// --- the evaluator -------------------------------------------------------------------------

struct Entry
{
    Op op;
    qsizetype pos = 0;
    int function = 0;        // Func: index into `functions`
    int allowedCommas = 0;   // Bracket
    int commas = 0;          // Bracket
};

class Evaluator
{
public:
    explicit Evaluator(const QString& text) : m_s(text.left(maxExpressionLength)) {}

    TOperandValue run();

private:
    void operand(TOperandValue v, qsizetype pos);
    void binary(Op op, qsizetype pos);
    void unary(Op op, qsizetype pos);
    void function(int index, qsizetype pos);
    void openBracket(qsizetype pos);
    void comma(qsizetype pos);
    void closeBracket(qsizetype pos);
    std::size_t endArgument(qsizetype pos, uint8_t noBracket);
    void finish();

    void name(qsizetype& i);
    void number(qsizetype& i);
    void text(qsizetype& i);
    void set(qsizetype& i);
    void reference(qsizetype& i);
    bool symbol(qsizetype& i);

    void push(Entry e);
    void reduce(int minPrecedence, qsizetype pos);
    void apply(Op op, qsizetype pos);
    TOperandValue pop();
    TOperandValue applyBinary(Op op, const TOperandValue& l, const TOperandValue& r, qsizetype pos);
    TOperandValue applyFunction(Fn fn, const std::vector<TOperandValue>& a, qsizetype pos);
    static TOperandValue applyTextFunction(Fn fn, const std::vector<TOperandValue>& a);
    std::optional<std::size_t> innermostBracket() const;
    TOperandValue checked(double v, qsizetype pos) const;

    QString m_s;
    std::vector<Entry> m_ops;
    std::vector<TOperandValue> m_values;
    bool m_expectOperand = true;
    bool m_unaryAllowed = true;     // start, after "(" or ","
    bool m_afterBinary = false;     // NOT may follow a binary operator
    bool m_needBracket = false;     // a function name waits for its "("
};

TOperandValue Evaluator::run()
{
    qsizetype i = 0;
    while (i < m_s.size()) {
        const QChar c = m_s[i];
        if (c == QLatin1Char(' ')) {
            ++i;
            continue;
        }
        if (m_needBracket && c != QLatin1Char('('))
            throw Fault{errSyntax, i};
        if (isLetter(c))
            name(i);
        else if (isDigit(c))
            number(i);
        else if (c == QLatin1Char('\''))
            text(i);
        else if (c == QLatin1Char('['))
            set(i);
        else if (isPrefix(c))
            reference(i);
        else if (!symbol(i))
            throw Fault{errSyntax, i};
    }
    finish();
    return m_values.back();
}

void Evaluator::name(qsizetype& i)
{
    const qsizetype start = i;
    while (i < m_s.size() && (isLetter(m_s[i]) || isPrefix(m_s[i])))
        ++i;
    const QString word = txt::upperAscii(QStringView(m_s).mid(start, i - start));
    if (word == QLatin1String("AND"))
        return binary(Op::And, start);
    if (word == QLatin1String("OR"))
        return binary(Op::Or, start);
    if (word == QLatin1String("IN"))
        return binary(Op::In, start);
    if (word == QLatin1String("NOT"))
        return unary(Op::Not, start);
    for (std::size_t f = 0; f < std::size(functions); ++f) {
        if (word == QLatin1String(functions[f].name))
            return function(int(f), start);
    }
    throw Fault{errUnknownName, start};
}

void Evaluator::number(qsizetype& i)
{
    const qsizetype end = scanNumber(m_s, i);
    if (end < 0)
        throw Fault{errBadNumber, i};
    operand(numberLiteral(m_s.mid(i, end - i)), i);
    i = end;
}

void Evaluator::text(qsizetype& i)
{
    const qsizetype close = m_s.indexOf(QLatin1Char('\''), i + 1);
    if (close < 0)
        throw Fault{errBadText, i};
    const QString t = m_s.mid(i + 1, close - i - 1);
    operand(textValue(t, SafeStrToFloat(t)), i);
    i = close + 1;
}

void Evaluator::set(qsizetype& i)
{
    const qsizetype close = m_s.indexOf(QLatin1Char(']'), i + 1);
    if (close < 0)
        throw Fault{errBadSet, i};
    TOperandValue v;
    v.Kind = okSet;
    v.Text = m_s.mid(i + 1, close - i - 1);
    operand(v, i);
    i = close + 1;
}

void Evaluator::reference(qsizetype& i)
{
    const qsizetype start = i;
    if (!m_expectOperand)
        throw Fault{errSyntax, start};
    std::optional<TOperandValue> v = readReference(m_s, i);
    if (!v)
        throw Fault{errUnknownName, start};
    operand(*v, start);
}

bool Evaluator::symbol(qsizetype& i)
{
    const QChar c = m_s[i];
    const QChar next = i + 1 < m_s.size() ? m_s[i + 1] : QChar();
    const qsizetype pos = i++;
    switch (c.unicode()) {
    case '(': openBracket(pos); return true;
    case ')': closeBracket(pos); return true;
    case ',': comma(pos); return true;
    case '+': binary(Op::Add, pos); return true;
    case '-':
        if (m_expectOperand)
            unary(Op::Neg, pos);
        else
            binary(Op::Sub, pos);
        return true;
    case '*': binary(Op::Mul, pos); return true;
    case '/': binary(Op::Div, pos); return true;
    case '^': binary(Op::Pow, pos); return true;
    case '=': binary(Op::Eq, pos); return true;
    case '<':
        if (next == QLatin1Char('>') || next == QLatin1Char('=')) {
            ++i;
            binary(next == QLatin1Char('>') ? Op::Ne : Op::Le, pos);
        } else {
            binary(Op::Lt, pos);
        }
        return true;
    case '>':
        if (next == QLatin1Char('=')) {
            ++i;
            binary(Op::Ge, pos);
        } else {
            binary(Op::Gt, pos);
        }
        return true;
    default:
        --i;
        return false;
    }
}

// A literal or a reference right after another operand is a syntax error.
void Evaluator::operand(TOperandValue v, qsizetype pos)
{
    if (!m_expectOperand)
        throw Fault{errSyntax, pos};
    m_values.push_back(std::move(v));
    m_expectOperand = false;
    m_unaryAllowed = false;
    m_afterBinary = false;
}

void Evaluator::binary(Op op, qsizetype pos)
{
    if (m_expectOperand)
        throw Fault{errSyntax, pos};
    reduce(precedence(op), pos);
    push(Entry{op, pos});
    m_expectOperand = true;
    m_unaryAllowed = false;
    m_afterBinary = true;
}

void Evaluator::unary(Op op, qsizetype pos)
{
    const bool allowed = m_expectOperand
        && (m_unaryAllowed || (op == Op::Not && m_afterBinary));
    if (!allowed)
        throw Fault{errSyntax, pos};
    push(Entry{op, pos});
    m_unaryAllowed = false;
    m_afterBinary = false;
}

void Evaluator::function(int index, qsizetype pos)
{
    if (!m_expectOperand)
        throw Fault{errSyntax, pos};
    push(Entry{Op::Func, pos, index});
    m_needBracket = true;
    m_unaryAllowed = false;
    m_afterBinary = false;
}

void Evaluator::openBracket(qsizetype pos)
{
    if (!m_expectOperand)
        throw Fault{errSyntax, pos};
    Entry bracket{Op::Bracket, pos};
    if (m_needBracket)
        bracket.allowedCommas = functions[m_ops.back().function].args - 1;
    push(bracket);
    m_needBracket = false;
    m_unaryAllowed = true;
    m_afterBinary = false;
}

// Ends the argument before a "," or ")": reduces down to the innermost bracket (whose
// absence is `noBracket`). Answers the bracket's position. The commas stay pending until
// the ")", each taking a stack entry.
std::size_t Evaluator::endArgument(qsizetype pos, uint8_t noBracket)
{
    const std::optional<std::size_t> b = innermostBracket();
    if (!b)
        throw Fault{noBracket, pos};
    if (m_expectOperand)
        throw Fault{errSyntax, pos};
    reduce(0, pos);
    return *b;
}

void Evaluator::comma(qsizetype pos)
{
    Entry& bracket = m_ops[endArgument(pos, errTooManyCommas)];
    if (++bracket.commas > bracket.allowedCommas)
        throw Fault{errTooManyCommas, pos};
    push(Entry{Op::Comma, pos});
    m_expectOperand = true;
    m_unaryAllowed = true;
    m_afterBinary = false;
}

void Evaluator::closeBracket(qsizetype pos)
{
    endArgument(pos, errMissingOpen);
    while (m_ops.back().op == Op::Comma)
        m_ops.pop_back();
    const Entry bracket = m_ops.back();
    m_ops.pop_back();
    if (bracket.commas < bracket.allowedCommas)
        throw Fault{errCommaExpected, pos};
    if (!m_ops.empty() && m_ops.back().op == Op::Func) {
        const int f = m_ops.back().function;
        m_ops.pop_back();
        const auto argc = std::size_t(functions[f].args);
        std::vector<TOperandValue> args(std::make_move_iterator(m_values.end() - argc),
                                        std::make_move_iterator(m_values.end()));
        m_values.resize(m_values.size() - argc);
        m_values.push_back(applyFunction(functions[f].fn, args, pos));
    }
}

void Evaluator::finish()
{
    const qsizetype end = m_s.size();
    if (m_expectOperand)
        throw Fault{errSyntax, end};
    reduce(0, end);
    if (!m_ops.empty())
        throw Fault{errMissingClose, end};
}

void Evaluator::push(Entry e)
{
    if (m_ops.size() >= maxPending)
        throw Fault{errStackOverflow, e.pos};
    m_ops.push_back(e);
}

// Applies the stacked operators down to the first marker or one of lower precedence.
void Evaluator::reduce(int minPrecedence, qsizetype pos)
{
    while (!m_ops.empty()) {
        const Op op = m_ops.back().op;
        if (op == Op::Func || op == Op::Bracket || op == Op::Comma || precedence(op) < minPrecedence)
            return;
        m_ops.pop_back();
        apply(op, pos);
    }
}

TOperandValue Evaluator::pop()
{
    TOperandValue v = std::move(m_values.back());
    m_values.pop_back();
    return v;
}

void Evaluator::apply(Op op, qsizetype pos)
{
    if (op == Op::Neg || op == Op::Not) {
        const TOperandValue x = pop();
        m_values.push_back(op == Op::Neg ? checked(-x.Number, pos) : numberValue(x.Number > 0 ? 0 : 1));
        return;
    }
    const TOperandValue r = pop();
    const TOperandValue l = pop();
    m_values.push_back(applyBinary(op, l, r, pos));
}

TOperandValue Evaluator::checked(double v, qsizetype pos) const
{
    if (!std::isfinite(v))
        throw Fault{errNumeric, pos};
    return numberValue(v);
}

TOperandValue Evaluator::applyBinary(Op op, const TOperandValue& l, const TOperandValue& r, qsizetype pos)
{
    const double a = l.Number;
    const double b = r.Number;
    const bool texts = l.Kind == okText && r.Kind == okText;
    switch (op) {
    case Op::Add: {
        TOperandValue v = checked(a + b, pos);
        v.Kind = texts ? okText : okNumber;
        v.SetText(l.Text + r.Text);
        return v;
    }
    case Op::Sub: return checked(a - b, pos);
    case Op::Mul: return checked(a * b, pos);
    case Op::Div:
        if (b == 0)
            throw Fault{errNumeric, pos};
        return checked(a / b, pos);
    case Op::Pow:
        if (!(a > 0))
            throw Fault{errNumeric, pos};
        return checked(std::exp(b * std::log(a)), pos);
    case Op::And: return numberValue(a > 0 && b > 0 ? 1 : 0);
    case Op::Or: return numberValue(a > 0 || b > 0 ? 1 : 0);
    case Op::Eq: return numberValue((texts ? l.Text == r.Text : a == b) ? 1 : 0);
    case Op::Ne: return numberValue((texts ? l.Text != r.Text : a != b) ? 1 : 0);
    case Op::Lt: return numberValue(a < b ? 1 : 0);
    case Op::Gt: return numberValue(a > b ? 1 : 0);
    case Op::Le: return numberValue(a <= b ? 1 : 0);
    case Op::Ge: return numberValue(a >= b ? 1 : 0);
    case Op::In: return numberValue(inSet(l, r.Text) ? 1 : 0);
    default: break;
    }
    throw Fault{errSyntax, pos};
}

TOperandValue Evaluator::applyFunction(Fn fn, const std::vector<TOperandValue>& a, qsizetype pos)
{
    const double x = a[0].Number;
    switch (fn) {
    case Fn::Abs: return checked(std::fabs(x), pos);
    case Fn::Int: return checked(std::trunc(x), pos);
    case Fn::Sgn: return numberValue(x > 0 ? 1 : (x < 0 ? -1 : 0));
    case Fn::Max: return checked(a[1].Number > x ? a[1].Number : x, pos);
    case Fn::Min: return checked(a[1].Number < x ? a[1].Number : x, pos);
    case Fn::Iif: {
        TOperandValue v = x > 0 ? a[1] : a[2];
        v.Kind = a[1].Kind == okText && a[2].Kind == okText ? okText : okNumber;
        return v;
    }
    case Fn::Sin: return checked(std::sin(x), pos);
    case Fn::Cos: return checked(std::cos(x), pos);
    case Fn::Tan:
        if (std::cos(x) == 0)
            throw Fault{errNumeric, pos};
        return checked(std::sin(x) / std::cos(x), pos);
    case Fn::Cotg:
        if (std::sin(x) == 0)
            throw Fault{errNumeric, pos};
        return checked(std::cos(x) / std::sin(x), pos);
    case Fn::Exp: return checked(std::exp(x), pos);
    case Fn::Log:   // the natural logarithm
        if (!(x > 0))
            throw Fault{errNumeric, pos};
        return checked(std::log(x), pos);
    case Fn::Asin:
    case Fn::Acos:
        if (!(x >= -1 && x <= 1))
            throw Fault{errNumeric, pos};
        return checked(fn == Fn::Asin ? std::asin(x) : std::acos(x), pos);
    case Fn::Atan: return checked(std::atan(x), pos);
    case Fn::Acotg: return checked(std::numbers::pi / 2 - std::atan(x), pos);
    default: return applyTextFunction(fn, a);
    }
}

// Functions whose result is a text; they never fail.
TOperandValue Evaluator::applyTextFunction(Fn fn, const std::vector<TOperandValue>& a)
{
    const QString& s = a[0].Text;
    switch (fn) {
    case Fn::Left: return textValue(s.left(std::max(0, intArgument(a[1].Number))), 0);
    case Fn::Right: return textValue(s.right(std::max(0, intArgument(a[1].Number))), 0);
    case Fn::Substr: {
        const qsizetype start = std::max(1, intArgument(a[1].Number)) - 1;
        const int count = std::max(0, intArgument(a[2].Number));
        return textValue(start < s.size() ? s.mid(start, count) : QString(), 0);
    }
    case Fn::Upper: return textValue(txt::upperLetters(s), a[0].Number);
    case Fn::Lower: return textValue(txt::lowerLetters(s), a[0].Number);
    case Fn::LTrim: { const QString t = txt::trimLeft(s); return textValue(t, SafeStrToFloat(t)); }
    case Fn::RTrim: { const QString t = txt::trimRight(s); return textValue(t, SafeStrToFloat(t)); }
    case Fn::AllTrim: { const QString t = txt::trim(s); return textValue(t, SafeStrToFloat(t)); }
    case Fn::Format: {
        QString t;
        try {
            t = txt::formatFloat(a[1].Text, a[0].Number);
        } catch (...) {   // a pattern the formatter rejects prints the plain number
            t = txt::floatToStr(a[0].Number);
        }
        return textValue(t, a[0].Number);
    }
    default: return {};
    }
}

std::optional<std::size_t> Evaluator::innermostBracket() const
{
    for (std::size_t i = m_ops.size(); i-- > 0;) {
        if (m_ops[i].op == Op::Bracket)
            return i;
    }
    return std::nullopt;
}

} // namespace

uint8_t EvaluateExpression(const QString& text, TOperandValue& value, int& errorPos)
{
    value.Clear();
    errorPos = 0;
    if (text.isEmpty())
        return 0;
    try {
        value = Evaluator(text).run();
        return 0;
    } catch (const Fault& fault) {
        value.Clear();
        errorPos = int(fault.pos);
        return fault.code;
    } catch (...) {   // a fault of the text routines; never expected
        value.Clear();
        errorPos = 0;
        return errNumeric;
    }
}

QString ExpressionErrorText(int code)
{
    return code >= 1 && code <= 14 ? reportText(text_id::FirstExpressionError + code) : QString();
}

QString ExpressionCheckText(int code, int errorPos)
{
    if (code == 0)
        return reportText(text_id::ExpressionOk);
    return txt::format(reportText(text_id::ExpressionErrorAt),
                       {ExpressionErrorText(code), int64_t(errorPos)});
}

double SafeStrToFloat(const QString& text)
{
    const QChar sep = txt::decimalSeparator();
    QString s = text;
    if (sep == QLatin1Char(',') || sep == QLatin1Char('.')) {
        const QChar other = sep == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
        const qsizetype i = s.indexOf(other);
        if (i >= 0)
            s[i] = sep;
    }
    qsizetype start = 0;
    while (start < s.size() && s[start] == QLatin1Char(' '))
        ++start;
    s.remove(0, start);
    if (s.isEmpty())
        return 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        const bool ok = i == 0 ? isDigit(c) || c == QLatin1Char('-')
                               : isDigit(c) || c == QLatin1Char('E') || c == QLatin1Char('e') || c == sep;
        if (!ok)
            return 0;
    }
    double v = 0;
    return txt::tryStrToFloat(s, v) && std::isfinite(v) ? v : 0;
}

void SplitOperandList(const QString& text, QStringList& list)
{
    list.clear();
    qsizetype pos = 0;
    while (pos <= text.size() && !text.isEmpty())
        list.append(readListElement(text, pos).Text);
}

} // namespace reports
