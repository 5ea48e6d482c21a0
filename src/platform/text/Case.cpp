// Letter case and blank trimming of the original run time.
#include "platform/text/Case.h"

#include "platform/text/Cp1250.h"

#include <algorithm>

namespace txt {
namespace {

QChar lowerAscii(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') ? QChar(char16_t(u + ('a' - 'A'))) : c;
}

bool inCodePage(QChar c)
{
    return c.unicode() == 0 || Cp1250::encodeChar(c) != '?' || c == QLatin1Char('?');
}

// One character to one character, so lengths never change (Qt's string upper-casing turns
// "ß" into "SS"). A letter of the code page keeps its case when the other case is not in
// the code page (µ, ß), as the original's single-byte conversion did.
QChar changeLetterCase(QChar c, bool toUpper)
{
    const QChar changed = toUpper ? c.toUpper() : c.toLower();
    if (changed == c || (inCodePage(c) && !inCodePage(changed)))
        return c;
    return changed;
}

template <typename Fn>
QString mapChars(QStringView s, Fn fn)
{
    QString result(s.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (const QChar c : s)
        *out++ = fn(c);
    return result;
}

// Order of the original's single-byte texts: the code page byte, characters outside the
// code page after all of them.
unsigned orderKey(QChar c)
{
    if (c.unicode() < 0x80)
        return c.unicode();
    const char byte = Cp1250::encodeChar(c);
    return byte != '?' ? static_cast<unsigned char>(byte) : 0x100u + c.unicode();
}

template <typename Fn>
int compareMapped(QStringView a, QStringView b, Fn fn)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned ca = orderKey(fn(a[i]));
        const unsigned cb = orderKey(fn(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

QChar upperLetter(QChar c) { return changeLetterCase(c, true); }
QChar lowerLetter(QChar c) { return changeLetterCase(c, false); }

bool isBlank(QChar c) { return c.unicode() <= ' '; }

QStringView trimmed(QStringView s, bool fromLeft, bool fromRight)
{
    qsizetype start = 0;
    qsizetype end = s.size();
    while (fromLeft && start < end && isBlank(s[start]))
        ++start;
    while (fromRight && end > start && isBlank(s[end - 1]))
        --end;
    return s.mid(start, end - start);
}

} // namespace

QChar upperAscii(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') ? QChar(char16_t(u - ('a' - 'A'))) : c;
}

QString upperAscii(QStringView s) { return mapChars(s, [](QChar c) { return upperAscii(c); }); }
QString lowerAscii(QStringView s) { return mapChars(s, [](QChar c) { return lowerAscii(c); }); }
QString upperLetters(QStringView s) { return mapChars(s, upperLetter); }
QString lowerLetters(QStringView s) { return mapChars(s, lowerLetter); }

int compareTextAscii(QStringView a, QStringView b)
{
    return compareMapped(a, b, [](QChar c) { return upperAscii(c); });
}

bool sameTextAscii(QStringView a, QStringView b)
{
    return a.size() == b.size() && compareTextAscii(a, b) == 0;
}

int compareTextLetters(QStringView a, QStringView b) { return compareMapped(a, b, upperLetter); }

bool sameTextLetters(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    // Texts of ASCII characters (nearly all) are told apart without the letter tables.
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].unicode() >= 0x80 || b[i].unicode() >= 0x80)
            return compareTextLetters(a, b) == 0;
        if (upperAscii(a[i]) != upperAscii(b[i]))
            return false;
    }
    return true;
}

QString trim(QStringView s) { return trimmed(s, true, true).toString(); }
QString trimLeft(QStringView s) { return trimmed(s, true, false).toString(); }
QString trimRight(QStringView s) { return trimmed(s, false, true).toString(); }

} // namespace txt
