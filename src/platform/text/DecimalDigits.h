// Decimal digits of a double, the common ground of every float-to-text form.
#pragma once

#include <QChar>
#include <QString>

#include <string>

namespace txt::detail {

// value = 0.d1 d2 d3 ... x 10^pointPos, so pointPos is the count of digits before the point
// (negative or zero for values below 0.1). Invariant: no leading or trailing zero digit;
// zero has no digits and pointPos 0.
struct DecimalDigits
{
    bool isNegative = false;
    std::string digits;
    int pointPos = 0;

    bool isZero() const { return digits.empty(); }
    // The decimal exponent of the scientific form d.ddd E x.
    int exponent() const { return pointPos - 1; }
};

// The finite value v correctly rounded to `precision` significant digits (1..17).
DecimalDigits toDecimal(double v, int precision = 15);
// Half away from zero, keeping at most `decimals` digits after the point (may be negative).
void roundToDecimals(DecimalDigits& d, int decimals);
// Half away from zero, keeping at most `count` significant digits.
void roundToSignificant(DecimalDigits& d, int count);
// The digit at 0-based position `index` from the first digit, '0' outside the stored digits.
char digitAt(const DecimalDigits& d, int index);
// Integer part of the fixed form ("0" when below one) and exactly `decimals` fraction digits.
std::string integerDigits(const DecimalDigits& d);
std::string fractionDigits(const DecimalDigits& d, int decimals);

// The general form of a finite value at `precision` significant digits: no trailing zeros,
// the exponent form ("1,5E20", "1E-7") when the exponent is below -5 or at least precision.
QString generalText(double v, int precision, QChar separator);

} // namespace txt::detail
