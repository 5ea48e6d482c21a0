// Float to text with a format kind, precision and digits, as user functions display numbers.
#pragma once

#include <QString>

namespace reports {

enum class FloatFormat { General = 0, Exponent = 1, Fixed = 2, Number = 3, Currency = 4 };

// General: shortest form up to `precision` significant digits, the exponent form (at least
// `digits` exponent digits) when the number is below 0.00001 or has more integer digits than
// `precision`. Exponent: "d.dddE+xx" with `precision` digits. Fixed, Number (with thousands
// separators) and Currency (Czech "1 234,50 Kč"): `digits` decimals, falling back to General
// when the integer digits exceed `precision`. Precision is kept within 1..15, digits within
// 0..18 (0..4 for exponents). NaN and infinities give "NAN", "INF", "-INF". Never raises.
QString FloatToStrF(double value, FloatFormat format, int precision, int digits);

} // namespace reports
