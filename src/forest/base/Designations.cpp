// Normalisers of forest designations: region codes, storey and stand-group designations.
#include "forest/base/Designations.h"

#include "platform/text/Case.h"

#include <QRegularExpression>
#include <QStringList>

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
    text = txt::lowerAscii(text);
    const QString t = nonBlank(text);
    if (t.size() == 1)
        text = QLatin1Char(' ') + t + QLatin1Char(' ');
    else if (t.size() == 2)
        text = isDigit(t.at(1)) ? t + QLatin1Char(' ') : QLatin1Char(' ') + t;
}

void NormalizeDesignationPath(QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    QStringList parts = text.split(separators);
    for (QString& part : parts)
        NormalizeDesignation(part);
    text = parts.join(QLatin1Char('/'));
}

QString NormalizeDesignationBlankZero(const QString& text)
{
    QString result = text;
    NormalizeDesignation(result);
    if (result.startsWith(QLatin1Char('0')))
        result[0] = QLatin1Char(' ');
    return result;
}
