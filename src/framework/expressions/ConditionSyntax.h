// Condition language: syntax errors with their position, the keyword table and the lexer routines.
#pragma once

#include "platform/Exceptions.h"

#include <QString>

#include <array>

// A syntax error of a condition text. Position is the 1-based character position of the fault in
// the text that was parsed; a parser that parsed a piece of a larger text shifts it by the
// piece's offset before the error travels on.
class PositionedSyntaxExcept : public SyntaxExcept
{
public:
    PositionedSyntaxExcept(const QString& message, int position) : SyntaxExcept(message), m_position(position) {}

    int Position() const { return m_position; }
    void ShiftPosition(int offset) { m_position += offset; }

private:
    int m_position;
};

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
int FindKeyword(const QString& word);

// --- lexer ---------------------------------------------------------------------------------
// Positions are 1-based; 0 stands for the end of the text. Only the space character is a blank.

// Digits, ASCII letters and "_".
bool IsIdentChar(QChar c);
// pos moves to the first non-blank at or after pos; 0 when none is left (or pos was 0 or past
// the end).
void SkipBlanks(const QString& text, int& pos);
// True when nothing but blanks stands at or after pos (0 counts as the end).
bool OnlyBlanksFrom(const QString& text, int pos);
// After SkipBlanks: word := the run of identifier characters (ReadNumber: digits and points);
// pos := the character after it, 0 when the run reaches the end. An empty word when nothing is left.
void ReadIdentifier(const QString& text, int& pos, QString& word);
void ReadNumber(const QString& text, int& pos, QString& word);
// pos on an opening quote: word := the characters up to the next quote or the end; pos := the
// character after the closing quote, 0 at the end. A missing closing quote is accepted.
void ReadQuoted(const QString& text, int& pos, QString& word);
// After SkipBlanks a "(" must stand at pos ("Ocekavam: (" otherwise, at the end: at the original
// pos, or the length + 1 when it was 0); inner := the text up to the matching ")" (quotes are not
// considered inside), pos := after it or 0. An unclosed group: "Ocekavam: )" at the length + 1.
void TakeBracketGroup(const QString& text, int& pos, QString& inner);
// The loosest operator at top level (outside quotes and bracket groups), the rightmost of its
// level. Levels, loosest first: AND OR; < = >; MOD DIV; binary + -; * /. op := the operator as
// written, pos := the position after its last character (0 past the end). Raises the bracket
// errors of TakeBracketGroup met on the way.
bool FindTopLevelOperator(const QString& text, int& pos, QString& op);

} // namespace Syntax
