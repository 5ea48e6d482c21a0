// Float to text with a format kind, precision and digits.
#include "reports/expressions/FloatText.h"

#include "platform/text/DecimalDigits.h"
#include "platform/text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace reports {
namespace {

using txt::detail::DecimalDigits;

// The value at `precision` significant digits, halves away from zero as the run time did.
DecimalDigits significant(double v, int precision)
{
    DecimalDigits d = txt::detail::toDecimal(v, 15);
    txt::detail::roundToSignificant(d, precision);
    return d;
}

const QString currencySymbol = QStringLiteral("Kč");

QString withThousands(const std::string& intDigits)
{
    QString out;
    const auto n = qsizetype(intDigits.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += txt::thousandSeparator();
        out += QLatin1Char(intDigits[size_t(i)]);
    }
    return out;
}

// Pads the exponent of "…E-7" / "…E20" to `digits` digits.
QString padExponent(QString text, int digits)
{
    const qsizetype e = text.indexOf(QLatin1Char('E'));
    if (e < 0)
        return text;
    qsizetype start = e + 1;
    if (start < text.size() && (text[start] == QLatin1Char('-') || text[start] == QLatin1Char('+')))
        ++start;
    while (text.size() - start < digits)
        text.insert(start, QLatin1Char('0'));
    return text;
}

QString generalForm(double v, int precision, int digits)
{
    return padExponent(txt::detail::generalText(v, precision, txt::decimalSeparator()), digits);
}

QString exponentForm(double v, int precision, int digits)
{
    DecimalDigits d = significant(v, precision);
    QString out = d.isNegative && !d.isZero() ? QStringLiteral("-") : QString();
    out += QLatin1Char(txt::detail::digitAt(d, 0));
    if (precision > 1)
        out += txt::decimalSeparator();
    for (int i = 1; i < precision; ++i)
        out += QLatin1Char(txt::detail::digitAt(d, i));
    const int exponent = d.isZero() ? 0 : d.exponent();
    QString exp = QString::number(std::abs(exponent));
    while (exp.size() < digits)
        exp.prepend(QLatin1Char('0'));
    out += QLatin1Char('E');
    out += exponent < 0 ? QLatin1Char('-') : QLatin1Char('+');
    return out + exp;
}

// Fixed, Number and Currency; empty when the General form must stand in.
QString fixedForm(double v, int precision, int digits, bool thousands, bool& fallback)
{
    DecimalDigits d = significant(v, precision);
    if (d.pointPos > precision) {
        fallback = true;
        return {};
    }
    txt::detail::roundToDecimals(d, digits);
    const std::string intDigits = txt::detail::integerDigits(d);
    QString out = d.isNegative && !d.isZero() ? QStringLiteral("-") : QString();
    out += thousands ? withThousands(intDigits) : QString::fromStdString(intDigits);
    if (digits > 0)
        out += txt::decimalSeparator() + QString::fromStdString(txt::detail::fractionDigits(d, digits));
    return out;
}

} // namespace

QString FloatToStrF(double value, FloatFormat format, int precision, int digits)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    precision = std::clamp(precision, 1, 15);
    switch (format) {
    case FloatFormat::Exponent:
        return exponentForm(value, precision, std::clamp(digits, 0, 4));
    case FloatFormat::Fixed:
    case FloatFormat::Number:
    case FloatFormat::Currency: {
        bool fallback = false;
        const QString text = fixedForm(value, precision, std::clamp(digits, 0, 18),
                                       format != FloatFormat::Fixed, fallback);
        if (fallback)
            return generalForm(value, precision, 0);
        return format == FloatFormat::Currency ? text + QLatin1Char(' ') + currencySymbol : text;
    }
    case FloatFormat::General:
        break;
    }
    return generalForm(value, precision, std::clamp(digits, 0, 4));
}

} // namespace reports
