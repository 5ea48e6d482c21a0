// Text routines shared by the framework and the forest model: Booleans, tolerant floats, trimming, splitting, tokens.
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <bitset>
#include <memory>
#include <optional>

// A set of delimiter characters from blank to #127; other characters are never members.
class CharSet
{
public:
    CharSet() = default;
    // Every character of `chars` that lies in the set's range.
    explicit CharSet(QStringView chars);
    CharSet(const char* chars) : CharSet(QString::fromLatin1(chars)) {}

    void insert(QChar c);
    bool contains(QChar c) const;

private:
    static constexpr int first = 0x20;
    static constexpr int last = 0x7F;
    std::bitset<last - first + 1> m_bits;
};

// A heap text that may be absent (nil); absent stands for the empty text.
using PString = std::unique_ptr<QString>;

// The Windows directory of the original: the directory of settings files (files::configDirectory).
QString GetWindowsDir();

// Whether the text reads as a float with either "," or "." as decimal separator.
bool TryTextToFloat(const QString& text);
// The text as a float with either decimal separator; 0 when it does not read as one.
double TextToFloatDef(const QString& text);

// The one reader of whole-number texts (properties, typed values): as the run time's StrToInt,
// blanks before the number, optional sign, decimal or "$"/"0x" hexadecimal, nothing after it,
// within 32 bits ("$FFFFFFFF" is -1). Nothing for any other text.
std::optional<qint32> WholeNumber(const QString& text);
// The whole number at the start of the text by the same rule, read up to the first character
// that does not fit (or would leave 32 bits); 0 when none.
qint32 LeadingInteger(const QString& text);

// "TRUE" or "FALSE".
QString BoolToText(bool value);
// True when the text is not empty and begins with "T" or "t".
bool TextToBool(const QString& text);

// The first occurrence of either a or b in text is replaced by the other one; nothing else changes.
void SwapDecimalSeparator(QString& text, QChar a, QChar b);

// The referenced text, empty for nil.
QString PStringText(const PString& p);
// p refers to a new copy of text afterwards, or is nil for an empty text.
void AssignPString(PString& p, const QString& text);

// A lone "\" for an empty dir; otherwise dir gets a final "\" when it lacks one and is answered.
QString IncludeTrailingBackslash(QString& dir);

// The text without leading and trailing blanks and NUL characters.
QString TrimBlanks(const QString& text);

// Right-aligned in width with `decimals` digits after the global decimal separator ("%*.*f").
QString FormatFixed(int width, int decimals, double value);

// Splits at the first "=": name and value trimmed, true. Without "=": name := the trimmed text,
// value empty, false.
bool SplitNameValue(const QString& text, QString& name, QString& value);
// As SplitNameValue at `separator`; value stays empty when nothing follows the separator.
bool SplitAt(const QString& text, QChar separator, QString& name, QString& value);

// Scans text from position `start` (1-based) to the next delimiter. token := the trimmed text before it,
// delimiter := the delimiter met (#0 at the end of text), pos := the position after the delimiter
// (past the end when none was met). An empty text gives an empty token, pos = start and #0.
void NextToken(const QString& text, const CharSet& delimiters, int start, QString& token, int& pos,
               QChar& delimiter);
