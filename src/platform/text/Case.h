// Letter case: the ASCII-only rules and the letter-aware rules of the original run time.
#pragma once

#include <QString>
#include <QStringView>

namespace txt {

// Only a-z / A-Z change (the run time's UpperCase/LowerCase).
QString upperAscii(QStringView s);
QString lowerAscii(QStringView s);
QChar upperAscii(QChar c);

// Every letter changes, Czech letters included (AnsiUpperCase/AnsiLowerCase).
QString upperLetters(QStringView s);
QString lowerLetters(QStringView s);

// Ordinal comparison after ASCII upper-casing: <0, 0, >0 (CompareText/SameText). Ordinal
// means the windows-1250 byte order ("Š" 0x8A before "Á" 0xC1), as the original compared.
int compareTextAscii(QStringView a, QStringView b);
bool sameTextAscii(QStringView a, QStringView b);

// Comparison ignoring the case of every letter, Czech letters included (AnsiCompareText/AnsiSameText);
// ordinal in the windows-1250 byte order after letter-aware upper-casing (no Czech collation).
int compareTextLetters(QStringView a, QStringView b);
bool sameTextLetters(QStringView a, QStringView b);

// Trim, TrimLeft, TrimRight of the run time: remove characters <= ' '.
QString trim(QStringView s);
QString trimLeft(QStringView s);
QString trimRight(QStringView s);

} // namespace txt
