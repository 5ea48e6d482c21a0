// Numbers as the original run time handled them: rounding, checked 32-bit arithmetic,
// float and integer text forms, format patterns and the Pascal Str/Val forms.
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <initializer_list>
#include <variant>

namespace txt {

// --- the one global decimal separator (default ',') ---------------------------------
QChar decimalSeparator();
void setDecimalSeparator(QChar c);
QChar thousandSeparator();            // default ' ' (Czech locale: non-breaking blank shown as ' ')
void setThousandSeparator(QChar c);

// --- rounding and checked arithmetic -----------------------------------------------
// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). NaN/inf raise EInvalidOp.
int64_t roundHalfEven64(double v);
// As above; a result outside the 32-bit range raises ERangeError.
int32_t roundHalfEven(double v);
// Truncation toward zero; outside the 64-bit range raises EInvalidOp.
int64_t trunc64(double v);
// Truncation toward zero; outside the 32-bit range raises ERangeError.
int32_t trunc32(double v);

// 32-bit integer arithmetic; overflow raises EIntOverflow, division by zero EDivByZero.
int32_t addChecked(int32_t a, int32_t b);
int32_t subChecked(int32_t a, int32_t b);
int32_t mulChecked(int32_t a, int32_t b);
int32_t divChecked(int32_t a, int32_t b);   // truncating (Pascal div)
int32_t modChecked(int32_t a, int32_t b);   // sign of the dividend (Pascal mod)
int32_t negChecked(int32_t a);

// Range checks: value outside [lo, hi] raises ERangeError.
int64_t checkRange(int64_t value, int64_t lo, int64_t hi);
int32_t toInt32Checked(int64_t value);

// Floating operations that raise as the original's FPU did:
// EZeroDivide (x/0, x != 0), EInvalidOp (0/0, NaN results), EOverflow (infinite result).
double divFloat(double a, double b);
double checkFloat(double result);   // raises EOverflow / EInvalidOp for inf / NaN

// --- float <-> text ------------------------------------------------------------------
// The general form (FloatToStr): 15 significant digits, no trailing zeros, the global
// separator, exponent form "1,5E20" / "1E-5" when the decimal form would need it.
QString floatToStr(double v);
// Same with an explicit separator.
QString floatToStr(double v, QChar separator);

// StrToFloat: blanks around are allowed, the global separator only; otherwise EConvertError
// with the run time's text "'<s>' is not a valid floating point value".
double strToFloat(QStringView s);
bool tryStrToFloat(QStringView s, double& out);
// Tolerant readers: accept ',' or '.' as the separator (one of them, once).
bool tryTextToFloat(QStringView s, double& out);
double textToFloatDef(QStringView s, double def);

// --- integer <-> text -----------------------------------------------------------------
QString intToStr(int64_t v);
QString intToHex(int64_t v, int digits);
// StrToInt: decimal or '$' hex, optional sign, blanks around; EConvertError
// "'<s>' is not a valid integer value" otherwise or when outside 32 bits.
int32_t strToInt(QStringView s);
int32_t strToIntDef(QStringView s, int32_t def);
bool tryStrToInt(QStringView s, int32_t& out);
int64_t strToInt64(QStringView s);

// --- Pascal Str / Val -----------------------------------------------------------------
// Str(x) of an Extended: scientific, 23 characters, 15 significant digits, '.' separator,
// 4-digit exponent: 12.5 -> " 1.25000000000000E+0001", -12.5 -> "-1.25000000000000E+0001".
QString pascalStr(double v);
// Str(x:width:decimals): fixed with '.', right-aligned in width.
QString pascalStr(double v, int width, int decimals);
// Val(s, x, code): '.' separator; returns 0 on success, else the 1-based position of the
// first offending character (the length + 1 for an empty or cut-off text).
int pascalVal(QStringView s, double& out);
int pascalVal(QStringView s, int32_t& out);

// --- formatting -------------------------------------------------------------------------
// FormatFloat: sections ';' (positive;negative;zero), '0', '#', '.', ',', 'E+', 'E-', 'e+',
// 'e-', quoted text '...' and "...", other characters literal. Rounds half away from zero
// on the decimal digits as the run time did.
QString formatFloat(QStringView pattern, double v);
// "%*.*f": right-aligned in width, decimals after the global separator.
QString formatFixed(int width, int decimals, double v);

// One argument of format().
using FormatArg = std::variant<int64_t, double, QString>;
// Format of the run time for %d %u %x %s %f %g %e %n %m %p %%, with index, '-', width and
// precision ('*' takes an argument). A directive that does not match its argument gives
// the argument's plain text; a missing argument gives nothing. Never undefined behaviour.
QString format(QStringView fmt, std::initializer_list<FormatArg> args);

} // namespace txt
