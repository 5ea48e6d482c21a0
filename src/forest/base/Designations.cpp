// Normalisers of forest designations: region codes, storey and stand-group designations.
#include "forest/base/Designations.h"

#include "platform/text/Case.h"

namespace {

// Designations are read from fixed-width fields; at most this many non-blank characters count.
constexpr int maxNonBlank = 20;

QString nonBlank(const QString& text)
{
    QString t;
    for (const QChar c : text) {
        if (c == QLatin1Char(' '))
            continue;
        if (t.size() == maxNonBlank)
            break;
        t += c;
    }
    return t;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QChar lowerAscii(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? QChar(char16_t(c.unicode() + ('a' - 'A'))) : c;
}

} // namespace

void NormalizeRegionCode(QString& text)
{
    const QString t = nonBlank(text);
    if (t.size() == 1 || (t.size() == 2 && !isDigit(t.at(1))))
        text = QLatin1Char(' ') + t;
    if (text != QLatin1String("XXX"))
        text = txt::lowerAscii(text);
}

void NormalizeDesignation(QString& text)
{
    // One or two non-blank characters are padded to three; longer texts are only lower-cased.
    QChar kept[2];
    int nonBlankCount = 0;
    bool hasUpper = false;
    for (const QChar c : text) {
        hasUpper = hasUpper || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
        if (c == QLatin1Char(' '))
            continue;
        if (nonBlankCount < 2)
            kept[nonBlankCount] = lowerAscii(c);
        if (++nonBlankCount > 2 && hasUpper)
            break;
    }
    const QChar blank = QLatin1Char(' ');
    if (nonBlankCount == 1) {
        const QChar padded[] = {blank, kept[0], blank};
        text = QString(padded, 3);
    } else if (nonBlankCount == 2) {
        const QChar right[] = {kept[0], kept[1], blank};
        const QChar left[] = {blank, kept[0], kept[1]};
        text = QString(isDigit(kept[1]) ? right : left, 3);
    } else if (hasUpper || text.isNull()) {
        text = txt::lowerAscii(text);   // a null text comes back empty, not null
    }
}

void NormalizeDesignationPath(QString& text)
{
    // Parts separated by "/" or "\\", empty parts included; joined again by "/".
    QString result;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text.at(i) != QLatin1Char('/') && text.at(i) != QLatin1Char('\\'))
            continue;
        if (start == 0 && i == text.size()) {
            NormalizeDesignation(text);
            return;
        }
        QString part = text.mid(start, i - start);
        NormalizeDesignation(part);
        if (start > 0)
            result += QLatin1Char('/');
        result += part;
        start = i + 1;
    }
    text = result;
}

QString NormalizeDesignationBlankZero(const QString& text)
{
    QString result = text;
    NormalizeDesignation(result);
    if (result.startsWith(QLatin1Char('0')))
        result[0] = QLatin1Char(' ');
    return result;
}
