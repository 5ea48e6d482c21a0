// Number routines of the original run time.
#include "platform/text/Numbers.h"

#include "platform/Exceptions.h"
#include "platform/text/DecimalDigits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace txt {
namespace {

QChar g_decimalSeparator = QLatin1Char(',');
QChar g_thousandSeparator = QLatin1Char(' ');

// Run-time error texts of the arithmetic errors.
const char* const textIntOverflow = "Integer overflow";
const char* const textRangeError = "Range check error";
const char* const textDivByZero = "Division by zero";
const char* const textZeroDivide = "Floating point division by zero";
const char* const textOverflow = "Floating point overflow";
const char* const textInvalidOp = "Invalid floating point operation";

constexpr double two63 = 9223372036854775808.0;

template <typename E>
[[noreturn]] void raise(const char* text)
{
    throw E(QString::fromLatin1(text));
}

// A whole number held in a double; NaN, infinities and values beyond 64 bits raise.
int64_t wholeToInt64(double whole)
{
    if (!std::isfinite(whole) || whole < -two63 || whole >= two63)
        raise<EInvalidOp>(textInvalidOp);
    return static_cast<int64_t>(whole);
}

bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// --- float scanning -------------------------------------------------------------------

// Reads [sign] digits [sep digits] [(E|e) [sign] digits] from s at i into `ascii` (with '.'
// as the point and no '+' in front). Answers 0, or the 1-based position of the first
// offending character (the length + 1 when the text ends too early); i ends after the number.
int scanFloatBody(QStringView s, qsizetype& i, QChar separator, std::string& ascii)
{
    const qsizetype n = s.size();
    auto failAt = [&](qsizetype pos) { return static_cast<int>(pos + 1); };
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        if (s[i] == QLatin1Char('-'))
            ascii.push_back('-');
        ++i;
    }
    int mantissaDigits = 0;
    for (; i < n && isDigit(s[i]); ++i, ++mantissaDigits)
        ascii.push_back(static_cast<char>(s[i].unicode()));
    if (i < n && s[i] == separator) {
        ascii.push_back('.');
        for (++i; i < n && isDigit(s[i]); ++i, ++mantissaDigits)
            ascii.push_back(static_cast<char>(s[i].unicode()));
    }
    if (mantissaDigits == 0)
        return failAt(i);
    if (i < n && (s[i] == QLatin1Char('E') || s[i] == QLatin1Char('e'))) {
        ascii.push_back('e');
        ++i;
        if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
            ascii.push_back(static_cast<char>(s[i++].unicode()));
        if (i >= n || !isDigit(s[i]))
            return failAt(i);
        for (; i < n && isDigit(s[i]); ++i)
            ascii.push_back(static_cast<char>(s[i].unicode()));
    }
    return 0;
}

// Decimal magnitude of a scanned number that std::from_chars found out of range:
// positive means too large, otherwise too small.
long long magnitudeOf(const std::string& ascii)
{
    const auto ePos = ascii.find('e');
    const std::string mantissa = ascii.substr(0, ePos);
    long long exponent = 0;
    if (ePos != std::string::npos) {
        const char* p = ascii.c_str() + ePos + 1;
        const bool isNegative = *p == '-';
        if (*p == '-' || *p == '+')
            ++p;
        for (; *p; ++p)
            exponent = std::min(exponent * 10 + (*p - '0'), 1000000000LL);
        if (isNegative)
            exponent = -exponent;
    }
    const auto point = mantissa.find('.');
    const std::string intPart = mantissa.substr(0, point);
    const auto firstInt = intPart.find_first_not_of("-0");
    if (firstInt != std::string::npos)
        return static_cast<long long>(intPart.size() - firstInt) + exponent;
    const std::string frac = point == std::string::npos ? std::string() : mantissa.substr(point + 1);
    const auto firstFrac = frac.find_first_not_of('0');
    return -static_cast<long long>(firstFrac == std::string::npos ? 0 : firstFrac) + exponent;
}

// Converts scanned text; false when the value lies beyond the double range. Values too
// small for a double become zero.
bool asciiToDouble(const std::string& ascii, double& out)
{
    double value = 0;
    const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        if (magnitudeOf(ascii) > 0)
            return false;
        value = ascii.front() == '-' ? -0.0 : 0.0;
    } else if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size()) {
        return false;
    }
    out = value;
    return true;
}

// StrToFloat grammar: blanks, number with `separator`, blanks.
bool readFloat(QStringView s, QChar separator, double& out)
{
    qsizetype i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    std::string ascii;
    if (scanFloatBody(s, i, separator, ascii) != 0)
        return false;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return i == s.size() && asciiToDouble(ascii, out);
}

// --- integer scanning -----------------------------------------------------------------

// Val of an integer of `bits` (32 or 64): leading blanks, sign, '$' / "0x" hex or decimal.
// Hex takes the full unsigned range and wraps. Answers 0 or the 1-based error position.
int scanInteger(QStringView s, int bits, int64_t& out)
{
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n && isBlank(s[i]))
        ++i;
    bool isNegative = false;
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        isNegative = s[i++] == QLatin1Char('-');
    bool isHex = false;
    if (i < n && s[i] == QLatin1Char('$')) {
        isHex = true;
        ++i;
    } else if (i + 1 < n && s[i] == QLatin1Char('0') && (s[i + 1] == QLatin1Char('x') || s[i + 1] == QLatin1Char('X'))) {
        isHex = true;
        i += 2;
    }
    const uint64_t hexLimit = bits == 32 ? 0xFFFFFFFFull : std::numeric_limits<uint64_t>::max();
    const uint64_t decLimit = (bits == 32 ? (1ull << 31) : (1ull << 63)) - (isNegative ? 0 : 1);
    const uint64_t limit = isHex ? hexLimit : decLimit;
    const uint64_t base = isHex ? 16 : 10;
    uint64_t magnitude = 0;
    const qsizetype firstDigit = i;
    for (; i < n; ++i) {
        const int digit = isHex ? hexDigitValue(s[i]) : (isDigit(s[i]) ? s[i].unicode() - '0' : -1);
        if (digit < 0)
            return static_cast<int>(i + 1);
        if (magnitude > (limit - static_cast<uint64_t>(digit)) / base)
            return static_cast<int>(i + 1);
        magnitude = magnitude * base + static_cast<uint64_t>(digit);
    }
    if (i == firstDigit)
        return static_cast<int>(n + 1);
    // Two's complement wrap: hex $FFFFFFFF is -1, and -2^31 / -2^63 negate onto themselves.
    uint64_t bitsValue = isNegative ? (~magnitude + 1) : magnitude;
    if (bits == 32)
        out = static_cast<int32_t>(static_cast<uint32_t>(bitsValue));
    else
        out = static_cast<int64_t>(bitsValue);
    return 0;
}

[[noreturn]] void throwNotInteger(QStringView s)
{
    throw EConvertError::notValid(s, QStringLiteral("platné celé číslo"));
}

QString padLeft(const QString& text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char(' ')) + text;
}

} // namespace

QChar decimalSeparator() { return g_decimalSeparator; }
void setDecimalSeparator(QChar c) { g_decimalSeparator = c; }
QChar thousandSeparator() { return g_thousandSeparator; }
void setThousandSeparator(QChar c) { g_thousandSeparator = c; }

// --- rounding and checked arithmetic -----------------------------------------------

// nearbyint rounds in the current mode, which the program never changes from
// round-to-nearest-even.
int64_t roundHalfEven64(double v) { return wholeToInt64(std::nearbyint(v)); }
int32_t roundHalfEven(double v) { return toInt32Checked(roundHalfEven64(v)); }
int64_t trunc64(double v) { return wholeToInt64(std::trunc(v)); }
int32_t trunc32(double v) { return toInt32Checked(trunc64(v)); }

int32_t addChecked(int32_t a, int32_t b)
{
    int32_t r = 0;
    if (__builtin_add_overflow(a, b, &r))
        raise<EIntOverflow>(textIntOverflow);
    return r;
}

int32_t subChecked(int32_t a, int32_t b)
{
    int32_t r = 0;
    if (__builtin_sub_overflow(a, b, &r))
        raise<EIntOverflow>(textIntOverflow);
    return r;
}

int32_t mulChecked(int32_t a, int32_t b)
{
    int32_t r = 0;
    if (__builtin_mul_overflow(a, b, &r))
        raise<EIntOverflow>(textIntOverflow);
    return r;
}

int32_t divChecked(int32_t a, int32_t b)
{
    if (b == 0)
        raise<EDivByZero>(textDivByZero);
    if (a == std::numeric_limits<int32_t>::min() && b == -1)
        raise<EIntOverflow>(textIntOverflow);
    return a / b;
}

int32_t modChecked(int32_t a, int32_t b)
{
    if (b == 0)
        raise<EDivByZero>(textDivByZero);
    if (b == -1)
        return 0;
    return a % b;
}

int32_t negChecked(int32_t a) { return subChecked(0, a); }

int64_t checkRange(int64_t value, int64_t lo, int64_t hi)
{
    if (value < lo || value > hi)
        raise<ERangeError>(textRangeError);
    return value;
}

int32_t toInt32Checked(int64_t value)
{
    return static_cast<int32_t>(
        checkRange(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

double divFloat(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        raise<EInvalidOp>(textInvalidOp);
    if (b == 0) {
        if (a == 0)
            raise<EInvalidOp>(textInvalidOp);
        raise<EZeroDivide>(textZeroDivide);
    }
    return checkFloat(a / b);
}

double checkFloat(double result)
{
    if (std::isnan(result))
        raise<EInvalidOp>(textInvalidOp);
    if (std::isinf(result))
        raise<EOverflow>(textOverflow);
    return result;
}

// --- float <-> text ------------------------------------------------------------------

QString floatToStr(double v) { return floatToStr(v, g_decimalSeparator); }

QString floatToStr(double v, QChar separator)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    return detail::generalText(v, 15, separator);
}

double strToFloat(QStringView s)
{
    double value = 0;
    if (!readFloat(s, g_decimalSeparator, value))
        throw EConvertError::notValid(s, QStringLiteral("platné desetinné číslo"));
    return value;
}

bool tryStrToFloat(QStringView s, double& out) { return readFloat(s, g_decimalSeparator, out); }

bool tryTextToFloat(QStringView s, double& out)
{
    constexpr qsizetype maxText = 63;
    const QStringView text = s.left(maxText);
    if (readFloat(text, g_decimalSeparator, out))
        return true;
    QString swapped = s.toString();
    for (QChar& c : swapped) {
        if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
            c = c == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
            break;
        }
    }
    return readFloat(QStringView(swapped).left(maxText), g_decimalSeparator, out);
}

double textToFloatDef(QStringView s, double def)
{
    double value = 0;
    return tryTextToFloat(s, value) ? value : def;
}

// --- integer <-> text -----------------------------------------------------------------

QString intToStr(int64_t v) { return QString::number(v); }

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

QString intToHex(int64_t v, int digits)
{
    const uint64_t bitsValue = (v < 0 && v >= std::numeric_limits<int32_t>::min())
        ? static_cast<uint64_t>(static_cast<uint32_t>(v))
        : static_cast<uint64_t>(v);
    const QString hex = QString::number(bitsValue, 16).toUpper();
    return hex.size() >= digits ? hex : QString(digits - hex.size(), QLatin1Char('0')) + hex;
}

int32_t strToInt(QStringView s)
{
    int32_t value = 0;
    if (pascalVal(s, value) != 0)
        throwNotInteger(s);
    return value;
}

int32_t strToIntDef(QStringView s, int32_t def)
{
    int32_t value = 0;
    return pascalVal(s, value) == 0 ? value : def;
}

bool tryStrToInt(QStringView s, int32_t& out) { return pascalVal(s, out) == 0; }

int64_t strToInt64(QStringView s)
{
    int64_t value = 0;
    if (scanInteger(s, 64, value) != 0)
        throwNotInteger(s);
    return value;
}

// --- Pascal Str / Val -----------------------------------------------------------------

QString pascalStr(double v)
{
    constexpr int width = 23;
    if (std::isnan(v))
        return padLeft(QStringLiteral("Nan"), width);
    if (std::isinf(v))
        return padLeft(v < 0 ? QStringLiteral("-Inf") : QStringLiteral("+Inf"), width);
    const detail::DecimalDigits d = detail::toDecimal(v, 15);
    const int exponent = d.isZero() ? 0 : d.exponent();
    QString result = d.isNegative ? QStringLiteral("-") : QStringLiteral(" ");
    result += QLatin1Char(detail::digitAt(d, 0));
    result += QLatin1Char('.');
    for (int i = 1; i < 15; ++i)
        result += QLatin1Char(detail::digitAt(d, i));
    result += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    result += QStringLiteral("%1").arg(std::abs(exponent), 4, 10, QLatin1Char('0'));
    return result;
}

QString pascalStr(double v, int width, int decimals)
{
    if (!std::isfinite(v))
        return padLeft(std::isnan(v) ? QStringLiteral("Nan") : (v < 0 ? QStringLiteral("-Inf") : QStringLiteral("+Inf")), width);
    decimals = std::clamp(decimals, 0, 64);
    detail::DecimalDigits d = detail::toDecimal(v, 15);
    detail::roundToDecimals(d, decimals);
    QString result = d.isNegative && !d.isZero() ? QStringLiteral("-") : QString();
    result += QString::fromLatin1(detail::integerDigits(d));
    if (decimals > 0)
        result += QLatin1Char('.') + QString::fromLatin1(detail::fractionDigits(d, decimals));
    return padLeft(result, width);
}

int pascalVal(QStringView s, double& out)
{
    qsizetype i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    std::string ascii;
    if (const int code = scanFloatBody(s, i, QLatin1Char('.'), ascii); code != 0)
        return code;
    if (i < s.size())
        return static_cast<int>(i + 1);
    double value = 0;
    if (!asciiToDouble(ascii, value))
        return 1;
    out = value;
    return 0;
}

int pascalVal(QStringView s, int32_t& out)
{
    int64_t value = 0;
    const int code = scanInteger(s, 32, value);
    if (code == 0)
        out = static_cast<int32_t>(value);
    return code;
}

} // namespace txt
