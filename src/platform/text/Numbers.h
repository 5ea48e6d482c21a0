// Numbers as the original run time handled them: rounding, checked 32-bit arithmetic,
// float and integer text forms, format patterns and the Pascal Str/Val forms.
#pragma once

// formatFloat, formatFixed and format live beside these routines.
#include "platform/text/Format.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <cstdint>

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
// separator; the exponent form when the decimal exponent is below -5 or 15 and more:
// 1E-6 -> "1E-6", 0,00001 -> "0,00001", 1,5E20 -> "1,5E20", 1E15 -> "1E15". NaN -> "NAN",
// infinities -> "INF" / "-INF".
QString floatToStr(double v);
// Same with an explicit separator.
QString floatToStr(double v, QChar separator);

// StrToFloat: blanks around are allowed, the global separator only, no thousands; a value
// beyond the double range fails too; otherwise EConvertError "'<s>' není platné desetinné číslo.".
double strToFloat(QStringView s);
bool tryStrToFloat(QStringView s, double& out);
// Tolerant readers (TryTextToFloat/TextToFloatDef): the first 63 characters are read as by
// StrToFloat; on failure the first ',' or '.' is swapped for the other and read once more.
// So "3,5" and "3.5" both read whatever the separator, and "1.234,5" does not.
bool tryTextToFloat(QStringView s, double& out);
double textToFloatDef(QStringView s, double def);

// --- integer <-> text -----------------------------------------------------------------
QString intToStr(int64_t v);
// Upper-case hex, at least `digits` digits; a negative value within 32 bits is written as
// its 32-bit two's complement (IntToHex(-1, 1) = "FFFFFFFF"), other negatives in 64 bits.
QString intToHex(int64_t v, int digits);
// The value of one hexadecimal digit (0-9, A-F, a-f); -1 for any other character.
int hexDigitValue(QChar c);
// StrToInt: leading blanks, optional sign, decimal or '$' / "0x" hex (hex up to $FFFFFFFF,
// which wraps to -1); nothing may follow the digits, not even a blank. EConvertError
// "'<s>' není platné celé číslo." otherwise or when outside 32 bits.
int32_t strToInt(QStringView s);
int32_t strToIntDef(QStringView s, int32_t def);
bool tryStrToInt(QStringView s, int32_t& out);
int64_t strToInt64(QStringView s);

// --- Pascal Str / Val -----------------------------------------------------------------
// Str(x) of an Extended: scientific, 23 characters, 15 significant digits, '.' separator,
// 4-digit exponent: 12.5 -> " 1.25000000000000E+0001", -12.5 -> "-1.25000000000000E+0001".
QString pascalStr(double v);
// Str(x:width:decimals): fixed with '.', right-aligned in width (decimals capped at 64).
QString pascalStr(double v, int width, int decimals);
// Val(s, x, code): '.' separator; returns 0 on success, else the 1-based position of the
// first offending character (the length + 1 for an empty or cut-off text). Leading blanks
// are skipped, trailing ones are offending. A real beyond the double range gives code 1;
// the integer form takes '$' / "0x" hex like StrToInt and fails at the digit that overflows.
int pascalVal(QStringView s, double& out);
int pascalVal(QStringView s, int32_t& out);

} // namespace txt
