// Condition language: keyword table, lexer routines and the token scanner.
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

int FindKeyword(QStringView word)
{
    const QString upper = txt::upperAscii(word);
    for (int i = 0; i < KeywordCount; ++i)
        if (upper == QLatin1String(Keywords[static_cast<size_t>(i)]))
            return i + 1;
    return kwNone;
}

namespace {

constexpr QChar quote = QLatin1Char('\'');

// Character at a 1-based position.
QChar at(QStringView text, int pos)
{
    return text.at(pos - 1);
}

int length(QStringView text)
{
    return static_cast<int>(text.size());
}

template<class Accept>
void readRun(QStringView text, int& pos, QString& word, Accept accept)
{
    word.clear();
    SkipBlanks(text, pos);
    if (pos == 0)
        return;
    const int n = length(text);
    const int start = pos;
    while (pos <= n && accept(at(text, pos)))
        ++pos;
    word = text.mid(start - 1, pos - start).toString();
    if (pos > n)
        pos = 0;
}

} // namespace

void SkipBlanks(QStringView text, int& pos)
{
    const int n = length(text);
    if (pos < 1 || pos > n) {
        pos = 0;
        return;
    }
    while (pos <= n && IsBlank(at(text, pos)))
        ++pos;
    if (pos > n)
        pos = 0;
}

bool OnlyBlanksFrom(QStringView text, int pos)
{
    SkipBlanks(text, pos);
    return pos == 0;
}

void ReadIdentifier(QStringView text, int& pos, QString& word)
{
    readRun(text, pos, word, IsIdentChar);
}

void ReadNumber(QStringView text, int& pos, QString& word)
{
    readRun(text, pos, word, [](QChar c) { return IsDigit(c) || c == QLatin1Char('.'); });
}

void ReadQuoted(QStringView text, int& pos, QString& word)
{
    const int n = length(text);
    const int close = static_cast<int>(text.indexOf(quote, pos));   // 0-based, searched after pos
    if (close < 0) {
        word = text.mid(pos).toString();
        pos = 0;
        return;
    }
    word = text.mid(pos, close - pos).toString();
    pos = close + 2 > n ? 0 : close + 2;
}

// --- tokens --------------------------------------------------------------------------------

namespace {

// The operator a one-character token stands for.
int symbolKeyword(QChar c)
{
    switch (c.unicode()) {
    case u'<': return kwLess;
    case u'>': return kwGreater;
    case u'=': return kwEqual;
    case u'+': return kwPlus;
    case u'-': return kwMinus;
    case u'*': return kwTimes;
    case u'/': return kwDivide;
    default: return kwNone;
    }
}

// AND, OR, MOD, DIV in any letter case when the word is one of them.
int wordKeyword(QStringView word)
{
    if (word.size() > 3)
        return kwNone;
    const int keyword = FindKeyword(word);
    return keyword == kwAnd || keyword == kwOr || keyword == kwMod || keyword == kwDiv ? keyword : kwNone;
}

bool isSign(int keyword)
{
    return keyword == kwPlus || keyword == kwMinus || keyword == kwTimes || keyword == kwDivide;
}

// What the nearest non-blank item before a token was; decides whether + and - are binary.
enum class Before { Nothing, Sign, Operand };

OperatorLevel levelOf(int keyword, Before before)
{
    switch (keyword) {
    case kwAnd:
    case kwOr: return OperatorLevel::Logical;
    case kwLess:
    case kwGreater:
    case kwEqual: return OperatorLevel::Comparison;
    case kwMod:
    case kwDiv: return OperatorLevel::ModDiv;
    case kwPlus:
    case kwMinus: return before == Before::Operand ? OperatorLevel::Additive : OperatorLevel::None;
    case kwTimes:
    case kwDivide: return OperatorLevel::Multiplicative;
    default: return OperatorLevel::None;
    }
}

} // namespace

ConditionTokens::ConditionTokens(QStringView text)
{
    const int n = length(text);
    m_tokenAt.assign(static_cast<size_t>(n) + 2, 0);
    m_tokens.reserve(static_cast<size_t>(n) + 1);
    std::vector<int> openGroups;
    int lastQuote = -1;
    int pos = 1;
    while (pos <= n) {
        const QChar c = at(text, pos);
        Token token;
        token.pos = pos;
        token.length = 1;
        const int index = count();
        if (IsBlank(c) || IsWordChar(c)) {
            const bool blank = IsBlank(c);
            while (pos + token.length <= n && (blank ? IsBlank(at(text, pos + token.length)) : IsWordChar(at(text, pos + token.length))))
                ++token.length;
            token.kind = blank ? TokenKind::Blanks : TokenKind::Word;
            if (!blank)
                token.keyword = wordKeyword(text.mid(pos - 1, token.length));
        } else if (c == quote) {
            token.kind = TokenKind::Quote;
            if (lastQuote >= 0)
                m_tokens[static_cast<size_t>(lastQuote)].partner = index;
            lastQuote = index;
        } else if (c == QLatin1Char('(')) {
            token.kind = TokenKind::Open;
            openGroups.push_back(index);
        } else if (c == QLatin1Char(')')) {
            token.kind = TokenKind::Close;
            if (!openGroups.empty()) {
                token.partner = openGroups.back();
                m_tokens[static_cast<size_t>(openGroups.back())].partner = index;
                openGroups.pop_back();
            }
        } else {
            token.kind = TokenKind::Symbol;
            token.keyword = symbolKeyword(c);
        }
        for (int k = 0; k < token.length; ++k)
            m_tokenAt[static_cast<size_t>(pos + k)] = index;
        pos += token.length;
        m_tokens.push_back(token);
    }
    Token end;
    end.pos = n + 1;
    m_tokenAt[static_cast<size_t>(n) + 1] = count();
    m_tokens.push_back(end);
}

TopLevelOperators ConditionTokens::operatorsOf(int first, int last, int unclosedPosition) const
{
    TopLevelOperators found;
    Before before = Before::Nothing;
    int i = first;
    while (i < last) {
        const Token& token = (*this)[i];
        switch (token.kind) {
        case TokenKind::Quote:
            i = token.partner < 0 || token.partner >= last ? last : token.partner + 1;
            before = Before::Operand;
            continue;
        case TokenKind::Open:
            if (token.partner < 0 || token.partner >= last)
                throw SyntaxExcept(syntaxtext::expectClose, unclosedPosition);
            i = token.partner + 1;
            before = Before::Operand;
            continue;
        case TokenKind::Blanks:
            ++i;
            continue;
        default:
            break;
        }
        const OperatorLevel level = levelOf(token.keyword, before);
        if (level < found.level) {
            found.level = level;
            found.tokens.clear();
        }
        if (level == found.level && level != OperatorLevel::None)
            found.tokens.push_back(i);
        before = isSign(token.keyword) ? Before::Sign : Before::Operand;
        ++i;
    }
    return found;
}

} // namespace Syntax
