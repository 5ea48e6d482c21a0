// Fields of template lines.
#include "reports/model/TemplateFields.h"

#include <limits>

namespace reports {

QString ReadCsvField(QString& line)
{
    QString field;
    if (line.isEmpty())
        return field;
    const qsizetype n = line.size();
    bool quoted = line.front() == QLatin1Char('"');
    qsizetype i = quoted ? 1 : 0;
    qsizetype rest = n;   // where the line continues after the field
    for (; i < n; ++i) {
        const QChar c = line.at(i);
        if (quoted && c == QLatin1Char('"')) {
            if (i + 1 < n && line.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        if (!quoted && c == QLatin1Char(',')) {
            rest = i + 1;
            break;
        }
        field += c;
    }
    line.remove(0, rest);
    return field;
}

int DecimalOr(QStringView field, int defaultValue)
{
    qsizetype i = 0;
    while (i < field.size() && field.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < field.size() && (field.at(i) == QLatin1Char('-') || field.at(i) == QLatin1Char('+'))) {
        negative = field.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i >= field.size())
        return defaultValue;
    int64_t value = 0;
    for (; i < field.size(); ++i) {
        const QChar c = field.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return defaultValue;
        value = value * 10 + (c.unicode() - '0');
        if (value > int64_t(std::numeric_limits<int>::max()) + 1)
            return defaultValue;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return defaultValue;
    return int(value);
}

int ReadCsvInt(QString& line, int defaultValue)
{
    return DecimalOr(ReadCsvField(line), defaultValue);
}

bool ReadCsvBool(QString& line, bool defaultValue)
{
    return ReadCsvInt(line, defaultValue ? 1 : 0) != 0;
}

QString DoubleQuotes(const QString& text)
{
    QString result = text;
    result.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return result;
}

QString QuotedField(const QString& text)
{
    return QLatin1Char('"') + DoubleQuotes(text) + QLatin1Char('"');
}

QString BareField(const QString& text)
{
    if (text.contains(QLatin1Char(',')) || text.startsWith(QLatin1Char('"')))
        return QuotedField(text);
    return text;
}

QString JoinInts(std::initializer_list<int64_t> values)
{
    QString out;
    for (const int64_t v : values) {
        if (!out.isEmpty())
            out += QLatin1Char(',');
        out += QString::number(v);
    }
    return out;
}

} // namespace reports
