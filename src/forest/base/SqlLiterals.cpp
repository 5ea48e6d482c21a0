// Literals of SQL texts: quoted dates with Czech month abbreviations, numbers, quoted texts.
#include "forest/base/SqlLiterals.h"

#include "forest/base/TextUtilities.h"
#include "platform/text/Case.h"
#include "platform/text/Numbers.h"

#include <array>

namespace {

const std::array<QString, 12> months = {
    QStringLiteral("LED"), QStringLiteral("ÚNO"), QStringLiteral("BŘE"), QStringLiteral("DUB"),
    QStringLiteral("KVĚ"), QStringLiteral("ČER"), QStringLiteral("ČVC"), QStringLiteral("SRP"),
    QStringLiteral("ZÁŘ"), QStringLiteral("ŘÍJ"), QStringLiteral("LIS"), QStringLiteral("PRO"),
};

} // namespace

QString DateToQuotedLiteral(const QString& date)
{
    const int firstDot = date.indexOf(QLatin1Char('.'));
    if (firstDot < 0)
        return QStringLiteral("null");
    const int secondDot = date.indexOf(QLatin1Char('.'), firstDot + 1);
    if (secondDot < 0)
        return QStringLiteral("null");
    QString day = RemoveSpaces(date.left(firstDot));
    if (day.size() == 1)
        day.prepend(QLatin1Char('0'));
    const int month = txt::strToInt(RemoveSpaces(date.mid(firstDot + 1, secondDot - firstDot - 1)));
    if (month < 1 || month > 12)
        return QStringLiteral("null");
    const QString year = date.mid(secondDot + 1);
    return QLatin1Char('\'') + EscapeSqlQuotes(day) + QLatin1Char('-') + months[static_cast<size_t>(month - 1)] +
           QLatin1Char('-') + EscapeSqlQuotes(year) + QLatin1Char('\'');
}

QString NumberToSqlLiteral(const QString& text)
{
    QString t = txt::trim(text);
    if (t.isEmpty())
        return QStringLiteral("null");
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return t;
}

QString EscapeSqlQuotes(const QString& text)
{
    QString result = text;
    result.replace(QLatin1Char('\''), QStringLiteral("''"));
    return result;
}
