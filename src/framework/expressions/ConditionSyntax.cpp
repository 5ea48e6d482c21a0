// Condition language: keyword table and lexer routines.
#include "framework/expressions/ConditionSyntax.h"

#include "platform/text/Case.h"

namespace Syntax {

const std::array<const char*, KeywordCount> Keywords = {
    "FIND", "FINDFIRST", "FINDABSFIRST", "FINDTOLEVEL", "CLASS", "ANCESTOR", "EXISTSPROP",
    "ROUND", "TRUNC", "COS", "SIN", "ARCTAN", "EXP", "FRAC", "LN", "SQR", "SQRT", "ODD", "ABS",
    "NOT", "AND", "OR", "MOD", "DIV", "<", ">", "=", "+", "-", "*", "/",
    "TOBOOLEAN", "TOCHAR", "TOBYTE", "TOFLOAT", "TOSTRING", "TOINTEGER",
};
static_assert(kwToInteger == KeywordCount, "the keyword indexes must cover the table");

namespace {

constexpr QChar blank = QLatin1Char(' ');
constexpr QChar quote = QLatin1Char('\'');

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// A character that makes a word operator part of a name when it touches the word. Underscores
// count as letters here: OR_UR1_KOD and X_OR_Y are names, not OR-expressions.
bool bindsToWord(QChar c)
{
    return isAsciiLetter(c) || c == QLatin1Char('_');
}

// Character at a 1-based position.
QChar at(const QString& text, int pos)
{
    return text.at(pos - 1);
}

// What the nearest non-blank item before a character was; decides whether + and - are binary.
enum class Before { Nothing, Sign, Operand };

// Calls examine(pos, before) for every character at top level (outside quoted strings and
// bracket groups), blanks included. Quoted strings and bracket groups are skipped whole and
// count as operands.
template<class Examine>
void scanTopLevel(const QString& text, Examine examine)
{
    const int n = static_cast<int>(text.size());
    Before before = Before::Nothing;
    int i = 1;
    while (i <= n) {
        const QChar c = at(text, i);
        if (c == quote) {
            const int close = static_cast<int>(text.indexOf(quote, i));   // 0-based index after i
            i = close < 0 ? n + 1 : close + 2;
            before = Before::Operand;
        } else if (c == QLatin1Char('(')) {
            int pos = i;
            QString inner;
            TakeBracketGroup(text, pos, inner);
            i = pos == 0 ? n + 1 : pos;
            before = Before::Operand;
        } else {
            examine(i, before);
            if (c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('*') || c == QLatin1Char('/'))
                before = Before::Sign;
            else if (c != blank)
                before = Before::Operand;
            ++i;
        }
    }
}

// The word (upper case) stands at pos in any letter case and no letter or underscore touches it.
bool isWordAt(const QString& text, int pos, const char* word)
{
    const int n = static_cast<int>(text.size());
    const int len = static_cast<int>(qstrlen(word));
    if (pos + len - 1 > n)
        return false;
    for (int k = 0; k < len; ++k)
        if (txt::upperAscii(at(text, pos + k)) != QLatin1Char(word[k]))
            return false;
    if (pos > 1 && bindsToWord(at(text, pos - 1)))
        return false;
    return pos + len > n || !bindsToWord(at(text, pos + len));
}

struct Match {
    int start = 0;
    int length = 0;
};

// The rightmost operator of one precedence level.
using LevelTest = int (*)(const QString& text, int pos, Before before);   // length matched, 0 none

int logicalAt(const QString& text, int pos, Before)
{
    if (isWordAt(text, pos, "AND"))
        return 3;
    return isWordAt(text, pos, "OR") ? 2 : 0;
}

int comparisonAt(const QString& text, int pos, Before)
{
    const QChar c = at(text, pos);
    return c == QLatin1Char('<') || c == QLatin1Char('=') || c == QLatin1Char('>') ? 1 : 0;
}

int modDivAt(const QString& text, int pos, Before)
{
    return isWordAt(text, pos, "MOD") || isWordAt(text, pos, "DIV") ? 3 : 0;
}

// A sign is binary only after an operand; at the start or after + - * / it is unary.
int additiveAt(const QString& text, int pos, Before before)
{
    const QChar c = at(text, pos);
    return (c == QLatin1Char('+') || c == QLatin1Char('-')) && before == Before::Operand ? 1 : 0;
}

int multiplicativeAt(const QString& text, int pos, Before)
{
    const QChar c = at(text, pos);
    return c == QLatin1Char('*') || c == QLatin1Char('/') ? 1 : 0;
}

constexpr std::array<LevelTest, 5> levels = {logicalAt, comparisonAt, modDivAt, additiveAt, multiplicativeAt};

Match rightmostOf(const QString& text, LevelTest test)
{
    Match match;
    scanTopLevel(text, [&](int pos, Before before) {
        if (const int length = test(text, pos, before); length > 0)
            match = {pos, length};
    });
    return match;
}

} // namespace

int FindKeyword(const QString& word)
{
    const QString upper = txt::upperAscii(word);
    for (int i = 0; i < KeywordCount; ++i)
        if (upper == QLatin1String(Keywords[static_cast<size_t>(i)]))
            return i + 1;
    return kwNone;
}

bool IsIdentChar(QChar c)
{
    return isDigit(c) || isAsciiLetter(c) || c == QLatin1Char('_');
}

void SkipBlanks(const QString& text, int& pos)
{
    const int n = static_cast<int>(text.size());
    if (pos < 1 || pos > n) {
        pos = 0;
        return;
    }
    while (pos <= n && at(text, pos) == blank)
        ++pos;
    if (pos > n)
        pos = 0;
}

bool OnlyBlanksFrom(const QString& text, int pos)
{
    SkipBlanks(text, pos);
    return pos == 0;
}

namespace {

template<class Accept>
void readRun(const QString& text, int& pos, QString& word, Accept accept)
{
    word.clear();
    SkipBlanks(text, pos);
    if (pos == 0)
        return;
    const int n = static_cast<int>(text.size());
    const int start = pos;
    while (pos <= n && accept(at(text, pos)))
        ++pos;
    word = text.mid(start - 1, pos - start);
    if (pos > n)
        pos = 0;
}

} // namespace

void ReadIdentifier(const QString& text, int& pos, QString& word)
{
    readRun(text, pos, word, IsIdentChar);
}

void ReadNumber(const QString& text, int& pos, QString& word)
{
    readRun(text, pos, word, [](QChar c) { return isDigit(c) || c == QLatin1Char('.'); });
}

void ReadQuoted(const QString& text, int& pos, QString& word)
{
    const int n = static_cast<int>(text.size());
    const int close = static_cast<int>(text.indexOf(quote, pos));   // 0-based, searched after pos
    if (close < 0) {
        word = text.mid(pos);
        pos = 0;
        return;
    }
    word = text.mid(pos, close - pos);
    pos = close + 2 > n ? 0 : close + 2;
}

void TakeBracketGroup(const QString& text, int& pos, QString& inner)
{
    const int n = static_cast<int>(text.size());
    const int remembered = pos == 0 ? n + 1 : pos;
    SkipBlanks(text, pos);
    if (pos == 0)
        throw PositionedSyntaxExcept(syntaxtext::expectOpen, remembered);
    if (at(text, pos) != QLatin1Char('('))
        throw PositionedSyntaxExcept(syntaxtext::expectOpen, pos);
    const int open = pos;
    int depth = 1;
    int i = open + 1;
    for (; i <= n && depth >= 1; ++i) {
        if (at(text, i) == QLatin1Char('('))
            ++depth;
        else if (at(text, i) == QLatin1Char(')'))
            --depth;
    }
    if (depth != 0)
        throw PositionedSyntaxExcept(syntaxtext::expectClose, n + 1);
    // i is one past the closing bracket.
    inner = text.mid(open, i - 1 - open - 1);
    pos = i > n ? 0 : i;
}

bool FindTopLevelOperator(const QString& text, int& pos, QString& op)
{
    const int n = static_cast<int>(text.size());
    for (LevelTest level : levels) {
        const Match match = rightmostOf(text, level);
        if (match.length == 0)
            continue;
        op = text.mid(match.start - 1, match.length);
        const int after = match.start + match.length;
        pos = after > n ? 0 : after;
        return true;
    }
    return false;
}

} // namespace Syntax
