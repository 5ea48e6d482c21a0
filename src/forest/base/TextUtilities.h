// Small text and number routines of the forest model: splitting, padding, digits, powers.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// The line separator of joined multi-line texts of the forest model.
inline const QString lineMarker = QStringLiteral("@$&");

// The list is cleared and filled with the parts of text between line markers (an empty text
// gives one empty line).
void SplitAtLineMarker(QStringList& list, const QString& text);
// True when a and b, times 10^N (N capped at 6; N <= 0 gives 1), round half to even to the same integer.
bool FloatsEqualToDecimals(int n, double a, double b);
int MinInt(int a, int b);
// The text without its blanks (character 32 only).
QString RemoveSpaces(const QString& text);
// As RemoveSpaces; "0" when nothing remains.
QString RemoveSpacesOrZero(const QString& text);
// Only the characters 0..9, in order; "0" when there are none.
QString DigitsOnly(const QString& text);
// The integer of DigitsOnly; 0 when it does not fit a 32-bit signed integer. Never raises.
qint32 DigitsToInt(const QString& text);
// base^exponent for a positive base: exp(e ln b) above 1; below, 1 / exp(e ln(1/b)) with 0
// beyond exp(80) and 1e30 below exp(-75).
double FloatPower(double exponent, double base);
// Split at the first occurrence of the separator; the whole text and "" without one.
void SplitAtSeparator(const QString& text, const QString& separator, QString& before, QString& after);
// The part before the first occurrence of ch; the whole text when it does not occur.
QString TextBeforeFirstChar(const QString& text, QChar ch);
// The part before the last occurrence of ch; the text less its last character when it does not occur.
QString TextBeforeLastChar(const QString& text, QChar ch);
// The part after the last occurrence of ch; the whole text when it does not occur.
QString TextAfterLastChar(const QString& text, QChar ch);
// Fill characters in front until the text is `width` long; longer texts unchanged.
QString PadLeft(const QString& text, int width, QChar fill);
