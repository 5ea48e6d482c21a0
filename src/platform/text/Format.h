// Formatting of the original run time: FormatFloat patterns, "%*.*f" and Format directives.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <initializer_list>
#include <variant>

namespace txt {

// FormatFloat: sections ';' (positive;negative;zero), '0', '#', '.', ',', 'E+', 'E-', 'e+',
// 'e-', quoted text '...' and "...", other characters literal. The value is first taken to
// 15 significant digits, then rounded half away from zero on the pattern's decimals as the
// run time did (2.345 with "0.00" gives "2,35"). A negative value without its own section
// gets "-" before its first digit; a value that rounds to zero takes the zero section (or
// the first) and never shows "-0". Global separators; an empty pattern, an empty positive
// section and a value of more than 18 integer digits without an exponent give floatToStr.
QString formatFloat(QStringView pattern, double v);
// "%*.*f": right-aligned in width, decimals after the global separator.
QString formatFixed(int width, int decimals, double v);

// One argument of format().
using FormatArg = std::variant<int64_t, double, QString>;
// Format of the run time for %d %u %x %s %f %g %e %n %m %p %%, with index, '-', width and
// precision ('*' takes an argument). A directive that does not match its argument gives
// the argument's plain text; a missing argument gives nothing; an unknown directive is
// copied as it stands. Never undefined behaviour.
QString format(QStringView fmt, std::initializer_list<FormatArg> args);

} // namespace txt
