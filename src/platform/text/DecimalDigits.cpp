// Decimal digits of a double: exact generation by std::to_chars, decimal rounding.
#include "platform/text/DecimalDigits.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace txt::detail {
namespace {

void normalise(DecimalDigits& d)
{
    const auto last = d.digits.find_last_not_of('0');
    if (last == std::string::npos) {
        d.digits.clear();
        d.pointPos = 0;
        return;
    }
    d.digits.resize(last + 1);
}

// Cuts the digits to `keep` and rounds half away from zero on the first dropped digit.
void roundAt(DecimalDigits& d, int keep)
{
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        d.pointPos = 0;
        return;
    }
    const bool roundUp = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9')
            d.digits[i--] = '0';
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        }
    }
    normalise(d);
}

// True when the digits stand for more than the largest double (rounding up near it).
bool exceedsDoubleRange(const DecimalDigits& d)
{
    if (d.pointPos < 309)
        return false;
    const std::string text = "0." + d.digits + "e" + std::to_string(d.pointPos);
    double value = 0;
    return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc::result_out_of_range;
}

} // namespace

DecimalDigits toDecimal(double v, int precision)
{
    assert(std::isfinite(v));
    precision = std::clamp(precision, 1, 17);
    DecimalDigits d;
    d.isNegative = v < 0;
    std::array<char, 64> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(v),
                                   std::chars_format::scientific, precision - 1);
    assert(res.ec == std::errc());
    // Form: d[.ddd]e(+|-)xx
    const char* p = buf.data();
    for (; p != res.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            d.digits.push_back(*p);
    }
    const int exponent = std::atoi(p + 1);
    d.pointPos = exponent + 1;
    if (d.digits.find_first_not_of('0') == std::string::npos)
        d.digits.clear();
    normalise(d);
    return d;
}

void roundToDecimals(DecimalDigits& d, int decimals) { roundAt(d, d.pointPos + decimals); }

void roundToSignificant(DecimalDigits& d, int count) { roundAt(d, std::max(count, 0)); }

char digitAt(const DecimalDigits& d, int index)
{
    return (index >= 0 && index < static_cast<int>(d.digits.size())) ? d.digits[index] : '0';
}

std::string integerDigits(const DecimalDigits& d)
{
    if (d.pointPos <= 0)
        return "0";
    std::string result;
    result.reserve(d.pointPos);
    for (int i = 0; i < d.pointPos; ++i)
        result.push_back(digitAt(d, i));
    return result;
}

std::string fractionDigits(const DecimalDigits& d, int decimals)
{
    std::string result;
    result.reserve(std::max(decimals, 0));
    for (int i = 0; i < decimals; ++i)
        result.push_back(digitAt(d, d.pointPos + i));
    return result;
}

QString generalText(double v, int precision, QChar separator)
{
    DecimalDigits d = toDecimal(v, precision);
    // The text must read back: near the largest double the digits are cut, not rounded up.
    if (exceedsDoubleRange(d)) {
        d = toDecimal(v, 17);
        d.digits.resize(std::min(d.digits.size(), size_t(std::clamp(precision, 1, 17))));
        normalise(d);
    }
    if (d.isZero())
        return QStringLiteral("0");
    QString result = d.isNegative ? QStringLiteral("-") : QString();
    const int exponent = d.exponent();
    const int count = static_cast<int>(d.digits.size());
    if (exponent < -5 || exponent >= precision) {
        result += QLatin1Char(d.digits[0]);
        if (count > 1)
            result += separator + QString::fromLatin1(d.digits.substr(1));
        return result + QLatin1Char('E') + QString::number(exponent);
    }
    result += QString::fromLatin1(integerDigits(d));
    const int decimals = count - d.pointPos;
    if (decimals > 0)
        result += separator + QString::fromLatin1(fractionDigits(d, decimals));
    return result;
}

} // namespace txt::detail
