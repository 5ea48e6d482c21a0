// Small text and number routines of the forest model: splitting, padding, digits, powers.
#include "forest/base/TextUtilities.h"

#include "platform/text/Numbers.h"

#include <cmath>
#include <limits>

void SplitAtLineMarker(QStringList& list, const QString& text)
{
    list = text.split(lineMarker);
}

bool FloatsEqualToDecimals(int n, double a, double b)
{
    if (n > 6)
        n = 6;
    const double m = n <= 0 ? 1.0 : std::pow(10.0, n);
    return txt::roundHalfEven64(a * m) == txt::roundHalfEven64(b * m);
}

int MinInt(int a, int b)
{
    return a < b ? a : b;
}

QString RemoveSpaces(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char(' '));
    return result;
}

QString RemoveSpacesOrZero(const QString& text)
{
    const QString result = RemoveSpaces(text);
    return result.isEmpty() ? QStringLiteral("0") : result;
}

QString DigitsOnly(const QString& text)
{
    QString digits;
    for (const QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    return digits.isEmpty() ? QStringLiteral("0") : digits;
}

qint32 DigitsToInt(const QString& text)
{
    qint64 value = 0;
    for (const QChar c : DigitsOnly(text)) {
        value = value * 10 + (c.unicode() - '0');
        if (value > std::numeric_limits<qint32>::max())
            return 0;
    }
    return static_cast<qint32>(value);
}

double FloatPower(double exponent, double base)
{
    if (base > 1)
        return std::exp(exponent * std::log(base));
    const double l = exponent * std::log(1 / base);
    if (l > 80)
        return 0;
    if (l < -75)
        return 1e30;
    return 1 / std::exp(l);
}

void SplitAtSeparator(const QString& text, const QString& separator, QString& before, QString& after)
{
    const int at = separator.isEmpty() ? -1 : text.indexOf(separator);
    if (at < 0) {
        before = text;
        after.clear();
        return;
    }
    before = text.left(at);
    after = text.mid(at + separator.size());
}

QString TextBeforeFirstChar(const QString& text, QChar ch)
{
    const int at = text.indexOf(ch);
    return at < 0 ? text : text.left(at);
}

QString TextBeforeLastChar(const QString& text, QChar ch)
{
    const int at = text.lastIndexOf(ch);
    return at < 0 ? text.left(text.size() - 1) : text.left(at);
}

QString TextAfterLastChar(const QString& text, QChar ch)
{
    const int at = text.lastIndexOf(ch);
    return at < 0 ? text : text.mid(at + 1);
}

QString PadLeft(const QString& text, int width, QChar fill)
{
    return text.size() >= width ? text : QString(width - text.size(), fill) + text;
}
