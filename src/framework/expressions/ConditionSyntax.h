// Condition language: syntax error texts, the keyword table, character tests, lexer routines and the token scanner.
#pragma once

#include "platform/Exceptions.h"

#include <QString>
#include <QStringView>

#include <array>
#include <vector>

// The texts of the syntax errors, spelled exactly as the program always has.
namespace syntaxtext {
inline const QString expectExpression = QStringLiteral("Ocekavam vyraz");
inline const QString meaningless = QStringLiteral("Vyraz nema smysl");
inline const QString afterQuoted = QStringLiteral("Chyba v syntaxi");
inline const QString afterNumber = QStringLiteral("Chyba v sytaxi");
inline const QString afterName = QStringLiteral("Chyba v systaxi");
inline const QString badValue = QStringLiteral("Chybna hodnota");
inline const QString expectOpen = QStringLiteral("Ocekavam: (");
inline const QString expectClose = QStringLiteral("Ocekavam: )");
inline const QString badCharacter = QStringLiteral("Nesmyslny znak");
inline const QString expectIdentifier = QStringLiteral("Ocekavam indentifikator");
// Brackets, keyword arguments, NOT and signs nested beyond the parser's limit.
inline const QString tooDeep = QStringLiteral("Chyba v syntaxi");
} // namespace syntaxtext

// The routines of the condition lexer live in their unit's namespace, so that other languages of
// the program (report expressions) may use the same routine names.
namespace Syntax {

// Indexes of the keyword table (1..37; 0 is "not a keyword").
enum TKeyword : int {
    kwNone = 0,
    kwFind, kwFindFirst, kwFindAbsFirst, kwFindToLevel,
    kwClass, kwAncestor, kwExistsProp,
    kwRound, kwTrunc, kwCos, kwSin, kwArcTan, kwExp, kwFrac, kwLn, kwSqr, kwSqrt, kwOdd, kwAbs,
    kwNot, kwAnd, kwOr, kwMod, kwDiv,
    kwLess, kwGreater, kwEqual, kwPlus, kwMinus, kwTimes, kwDivide,
    kwToBoolean, kwToChar, kwToByte, kwToFloat, kwToString, kwToInteger,
};

constexpr int KeywordCount = 37;
// Keywords[i - 1] is the keyword of index i.
extern const std::array<const char*, KeywordCount> Keywords;

// The index of the word (ASCII letters upper-cased) in the keyword table; 0 when it is none.
int FindKeyword(QStringView word);

// --- characters ----------------------------------------------------------------------------
// Texts are single-byte: only the ASCII letters count as letters, only the space is a blank.

inline bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ');
}
inline bool IsDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}
inline bool IsAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}
// A letter or "_": begins an identifier, and glues a word operator that it touches into a name
// (OR_UR1_KOD and X_OR_Y are names, not OR-expressions; a digit does not glue: 1AND is 1 AND).
inline bool IsWordChar(QChar c)
{
    return IsAsciiLetter(c) || c == QLatin1Char('_');
}
// Digits, ASCII letters and "_".
inline bool IsIdentChar(QChar c)
{
    return IsDigit(c) || IsWordChar(c);
}

// --- lexer ---------------------------------------------------------------------------------
// Positions are 1-based; 0 stands for the end of the text.

// pos moves to the first non-blank at or after pos; 0 when none is left (or pos was 0 or past
// the end).
void SkipBlanks(QStringView text, int& pos);
// True when nothing but blanks stands at or after pos (0 counts as the end).
bool OnlyBlanksFrom(QStringView text, int pos);
// After SkipBlanks: word := the run of identifier characters (ReadNumber: digits and points);
// pos := the character after it, 0 when the run reaches the end. An empty word when nothing is left.
void ReadIdentifier(QStringView text, int& pos, QString& word);
void ReadNumber(QStringView text, int& pos, QString& word);
// pos on an opening quote: word := the characters up to the next quote or the end; pos := the
// character after the closing quote, 0 at the end. A missing closing quote is accepted.
void ReadQuoted(QStringView text, int& pos, QString& word);

// --- tokens --------------------------------------------------------------------------------

enum class TokenKind : quint8 {
    Blanks,   // a run of blanks
    Word,     // a run of letters and "_" (a word operator only when it is the whole run)
    Quote,
    Open,
    Close,
    Symbol,   // any other single character
    End,      // after the last character
};

struct Token {
    int pos = 0;      // 1-based position of the first character
    int length = 0;
    TokenKind kind = TokenKind::End;
    int keyword = kwNone;   // AND, OR, MOD, DIV, < > = + - * / standing as this token
    // Open: the matching Close (brackets are matched by counting, quotes not considered);
    // Quote: the next Quote. -1 when there is none.
    int partner = -1;

    int end() const { return pos + length; }
};

// Precedence levels of the binary operators, loosest first. Every level is left-associative.
enum class OperatorLevel : int { Logical, Comparison, ModDiv, Additive, Multiplicative, None };

// The operators of the loosest level standing at top level (outside quoted strings and bracket
// groups) of a token range, as token indexes from left to right.
struct TopLevelOperators {
    OperatorLevel level = OperatorLevel::None;
    std::vector<int> tokens;
};

// A condition text scanned once into tokens; the parser works on token ranges of it. A text of n
// characters gives at most n + 1 tokens (the last is End at n + 1).
class ConditionTokens
{
public:
    explicit ConditionTokens(QStringView text);

    const Token& operator[](int index) const { return m_tokens[static_cast<size_t>(index)]; }
    int count() const { return static_cast<int>(m_tokens.size()); }
    // The token that holds the character at pos (1..n), or End for n + 1.
    int tokenAt(int pos) const { return m_tokenAt[static_cast<size_t>(pos)]; }

    // The top-level operators of the tokens [first, last), which begin a text of their own: a sign
    // is binary only after an operand of that text (a quoted string, a bracket group or any
    // character but + - * /), at its start or after another sign, * or / it is unary. A quoted
    // string runs to the next quote or to last; a bracket group that does not close before last
    // raises "Ocekavam: )" at unclosedPosition. One pass over the range, groups and strings skipped.
    TopLevelOperators operatorsOf(int first, int last, int unclosedPosition) const;

private:
    std::vector<Token> m_tokens;
    std::vector<int> m_tokenAt;   // by 1-based position; [0] unused
};

} // namespace Syntax
