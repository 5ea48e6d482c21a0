// FormatFloat patterns, "%*.*f" and the Format directives of the original run time.
#include "platform/text/Format.h"

#include "platform/text/DecimalDigits.h"
#include "platform/text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace txt {
namespace {

constexpr int maxDecimals = 64;
// The smallest value with 19 integer digits.
constexpr double maxFixedMagnitude = 1e18;

// --- FormatFloat ------------------------------------------------------------------------

// What one section of a FormatFloat pattern asks for.
struct PatternSection
{
    QStringView text;
    int intPlaceholders = 0;   // '0' and '#' before the point
    int firstIntZero = -1;     // index of the first '0' among them, -1 when none
    int fracPlaceholders = 0;  // '0' and '#' after the point
    int fracRequired = 0;      // fraction digits always shown: up to the last '0'
    bool hasThousands = false;
    bool isScientific = false;
};

bool isQuote(QChar c) { return c == QLatin1Char('\'') || c == QLatin1Char('"'); }

bool isExponentAt(QStringView s, qsizetype i)
{
    return (s[i] == QLatin1Char('E') || s[i] == QLatin1Char('e')) && i + 1 < s.size()
        && (s[i + 1] == QLatin1Char('+') || s[i + 1] == QLatin1Char('-'));
}

// Index just past the quoted text opened at i (the closing quote, or the end).
qsizetype skipQuoted(QStringView s, qsizetype i)
{
    const QChar quote = s[i];
    ++i;
    while (i < s.size() && s[i] != quote)
        ++i;
    return std::min(i + 1, s.size());
}

std::vector<QStringView> splitSections(QStringView pattern)
{
    std::vector<QStringView> sections;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < pattern.size()) {
        if (isQuote(pattern[i])) {
            i = skipQuoted(pattern, i);
        } else if (pattern[i] == QLatin1Char(';')) {
            sections.push_back(pattern.mid(start, i - start));
            start = ++i;
        } else {
            ++i;
        }
    }
    sections.push_back(pattern.mid(start));
    if (sections.size() > 3)
        sections.resize(3);
    return sections;
}

PatternSection analyse(QStringView text)
{
    PatternSection p;
    p.text = text;
    bool isAfterPoint = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isQuote(c)) {
            i = skipQuoted(text, i) - 1;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (!isAfterPoint) {
                if (c == QLatin1Char('0') && p.firstIntZero < 0)
                    p.firstIntZero = p.intPlaceholders;
                ++p.intPlaceholders;
            } else {
                ++p.fracPlaceholders;
                if (c == QLatin1Char('0'))
                    p.fracRequired = p.fracPlaceholders;
            }
        } else if (c == QLatin1Char('.')) {
            isAfterPoint = true;
        } else if (c == QLatin1Char(',')) {
            p.hasThousands = p.hasThousands || !isAfterPoint;
        } else if (isExponentAt(text, i)) {
            p.isScientific = true;
            break;   // the rest belongs to the exponent and literal text
        }
    }
    return p;
}

// The digits a section shows: the value rounded as the section asks.
struct RenderedNumber
{
    std::string intDigits;    // without leading zeros beyond what '0' placeholders force
    std::string fracDigits;   // only those shown
    int exponent = 0;         // scientific sections only
    bool isZero = true;
};

RenderedNumber renderNumber(const PatternSection& p, double v)
{
    detail::DecimalDigits d = detail::toDecimal(std::fabs(v), 15);
    RenderedNumber r;
    if (p.isScientific) {
        const int significant = std::max(p.intPlaceholders + p.fracPlaceholders, 1);
        detail::roundToSignificant(d, significant);
        r.exponent = d.isZero() ? 0 : d.pointPos - p.intPlaceholders;
        for (int i = 0; i < p.intPlaceholders; ++i)
            r.intDigits.push_back(detail::digitAt(d, i));
        for (int i = 0; i < p.fracPlaceholders; ++i)
            r.fracDigits.push_back(detail::digitAt(d, p.intPlaceholders + i));
    } else {
        detail::roundToDecimals(d, p.fracPlaceholders);
        r.intDigits = d.pointPos > 0 ? detail::integerDigits(d) : std::string();
        r.fracDigits = detail::fractionDigits(d, p.fracPlaceholders);
    }
    r.isZero = d.isZero();
    // Leading zeros only where '0' placeholders ask for them.
    const auto firstNonZero = r.intDigits.find_first_not_of('0');
    r.intDigits.erase(0, firstNonZero == std::string::npos ? r.intDigits.size() : firstNonZero);
    const int minInt = p.firstIntZero < 0 ? 0 : p.intPlaceholders - p.firstIntZero;
    if (static_cast<int>(r.intDigits.size()) < minInt)
        r.intDigits.insert(0, minInt - r.intDigits.size(), '0');
    // Trailing fraction zeros only where '0' placeholders ask for them.
    while (static_cast<int>(r.fracDigits.size()) > p.fracRequired && r.fracDigits.back() == '0')
        r.fracDigits.pop_back();
    return r;
}

// Writes the section's text with the number's digits in place of its placeholders.
class SectionWriter
{
public:
    SectionWriter(const PatternSection& p, const RenderedNumber& r, bool withMinus)
        : m_p(p), m_r(r), m_needsMinus(withMinus)
    {
    }

    QString write()
    {
        const QStringView s = m_p.text;
        qsizetype i = 0;
        while (i < s.size()) {
            const QChar c = s[i];
            if (isQuote(c)) {
                const qsizetype end = skipQuoted(s, i);
                const qsizetype closing = (end > i + 1 && s[end - 1] == c) ? end - 1 : end;
                m_out += s.mid(i + 1, closing - i - 1);
                i = end;
            } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
                placeholder();
                ++i;
            } else if (c == QLatin1Char('.')) {
                point();
                ++i;
            } else if (c == QLatin1Char(',')) {
                ++i;
            } else if (m_p.isScientific && isExponentAt(s, i)) {
                i = exponent(i);
            } else {
                m_out += c;
                ++i;
            }
        }
        if (m_needsMinus)
            m_out.prepend(QLatin1Char('-'));
        return m_out;
    }

private:
    void point()
    {
        if (m_isAfterPoint)
            return;
        m_isAfterPoint = true;
        // Without integer placeholders the integer digits still stand before the point.
        if (m_p.intPlaceholders == 0 && !m_r.intDigits.empty()) {
            writeMinus();
            for (int pos = static_cast<int>(m_r.intDigits.size()) - 1; pos >= 0; --pos)
                intDigit(pos);
        }
        if (!m_r.fracDigits.empty())
            m_out += decimalSeparator();
    }

    void writeMinus()
    {
        if (m_needsMinus) {
            m_out += QLatin1Char('-');
            m_needsMinus = false;
        }
    }

    void placeholder()
    {
        writeMinus();
        if (m_isAfterPoint) {
            if (m_fracIndex < static_cast<int>(m_r.fracDigits.size()))
                m_out += QLatin1Char(m_r.fracDigits[m_fracIndex]);
            ++m_fracIndex;
            return;
        }
        // Placeholders after the exponent were not counted: no digit is left for them.
        if (m_intIndex >= m_p.intPlaceholders)
            return;
        // Integer digits fill the placeholders from the right; the first one takes the excess.
        const int count = static_cast<int>(m_r.intDigits.size());
        const int lastPosition = m_p.intPlaceholders - 1 - m_intIndex;
        const int firstPosition = m_intIndex == 0 ? std::max(count - 1, lastPosition) : lastPosition;
        for (int pos = firstPosition; pos >= lastPosition; --pos) {
            if (pos < count)
                intDigit(pos);
        }
        ++m_intIndex;
    }

    // The digit standing `pos` places left of the point.
    void intDigit(int pos)
    {
        m_out += QLatin1Char(m_r.intDigits[m_r.intDigits.size() - 1 - pos]);
        if (m_p.hasThousands && pos > 0 && pos % 3 == 0)
            m_out += thousandSeparator();
    }

    qsizetype exponent(qsizetype i)
    {
        const QStringView s = m_p.text;
        const QChar letter = s[i];
        const bool isSignAlways = s[i + 1] == QLatin1Char('+');
        i += 2;
        int digits = 0;
        while (i < s.size() && s[i] == QLatin1Char('0')) {
            ++digits;
            ++i;
        }
        if (!m_hasExponent) {
            m_hasExponent = true;
            m_out += letter;
            if (m_r.exponent < 0)
                m_out += QLatin1Char('-');
            else if (isSignAlways)
                m_out += QLatin1Char('+');
            m_out += QStringLiteral("%1").arg(std::abs(m_r.exponent), std::min(digits, 4), 10, QLatin1Char('0'));
        }
        return i;
    }

    const PatternSection& m_p;
    const RenderedNumber& m_r;
    bool m_needsMinus;
    bool m_isAfterPoint = false;
    bool m_hasExponent = false;
    int m_intIndex = 0;
    int m_fracIndex = 0;
    QString m_out;
};

QString writeSection(const PatternSection& p, double v, bool withMinus)
{
    const RenderedNumber r = renderNumber(p, v);
    return SectionWriter(p, r, withMinus).write();
}

// --- Format directives ------------------------------------------------------------------

// One parsed directive: %[index:][-][width][.precision]type
struct Directive
{
    qsizetype end = 0;         // index after the type character
    QChar type;                // lower-cased
    int width = 0;
    int precision = -1;
    bool isLeftAligned = false;
};

QString plainText(const FormatArg& arg)
{
    if (const auto* i = std::get_if<int64_t>(&arg))
        return intToStr(*i);
    if (const auto* d = std::get_if<double>(&arg))
        return floatToStr(*d);
    return std::get<QString>(arg);
}

QString align(const QString& text, const Directive& d)
{
    if (text.size() >= d.width)
        return text;
    const QString blanks(d.width - text.size(), QLatin1Char(' '));
    return d.isLeftAligned ? text + blanks : blanks + text;
}

QString withThousands(const std::string& intDigits)
{
    QString out;
    const int count = static_cast<int>(intDigits.size());
    for (int i = 0; i < count; ++i) {
        out += QLatin1Char(intDigits[i]);
        const int pos = count - 1 - i;
        if (pos > 0 && pos % 3 == 0)
            out += thousandSeparator();
    }
    return out;
}

QString fixedText(double v, int decimals, bool hasThousands)
{
    if (!std::isfinite(v))
        return floatToStr(v);
    decimals = std::clamp(decimals, 0, maxDecimals);
    detail::DecimalDigits d = detail::toDecimal(v, 15);
    detail::roundToDecimals(d, decimals);
    QString out = d.isNegative && !d.isZero() ? QStringLiteral("-") : QString();
    const std::string intDigits = detail::integerDigits(d);
    out += hasThousands ? withThousands(intDigits) : QString::fromLatin1(intDigits);
    if (decimals > 0)
        out += decimalSeparator() + QString::fromLatin1(detail::fractionDigits(d, decimals));
    return out;
}

// %e: d.ddd with `precision` digits in all, "E", sign, at least three exponent digits.
QString scientificText(double v, int precision)
{
    if (!std::isfinite(v))
        return floatToStr(v);
    precision = std::clamp(precision, 1, 17);
    const detail::DecimalDigits d = detail::toDecimal(v, precision);
    QString out = d.isNegative ? QStringLiteral("-") : QString();
    out += QLatin1Char(detail::digitAt(d, 0));
    if (precision > 1) {
        out += decimalSeparator();
        for (int i = 1; i < precision; ++i)
            out += QLatin1Char(detail::digitAt(d, i));
    }
    const int exponent = d.isZero() ? 0 : d.exponent();
    out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    return out + QStringLiteral("%1").arg(std::abs(exponent), 3, 10, QLatin1Char('0'));
}

QString integerText(int64_t v, QChar type, int precision)
{
    QString digits;
    bool isNegative = false;
    if (type == QLatin1Char('d')) {
        isNegative = v < 0;
        digits = QString::number(isNegative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v));
    } else if (type == QLatin1Char('u')) {
        const uint64_t u = (v < 0 && v >= std::numeric_limits<int32_t>::min())
            ? static_cast<uint32_t>(v) : static_cast<uint64_t>(v);
        digits = QString::number(u);
    } else if (type == QLatin1Char('x')) {
        digits = intToHex(v, 1);
    } else {   // 'p'
        return intToHex(v, 8);
    }
    if (digits.size() < precision)
        digits.prepend(QString(precision - digits.size(), QLatin1Char('0')));
    return isNegative ? QLatin1Char('-') + digits : digits;
}

QString floatDirectiveText(double v, QChar type, int precision)
{
    switch (type.unicode()) {
    case 'f': return fixedText(v, precision < 0 ? 2 : precision, false);
    case 'n': return fixedText(v, precision < 0 ? 2 : precision, true);
    case 'm': return fixedText(v, precision < 0 ? 2 : precision, true) + QStringLiteral(" Kč");
    case 'e': return scientificText(v, precision < 0 ? 15 : precision);
    default:
        if (!std::isfinite(v))
            return floatToStr(v);
        return detail::generalText(v, precision < 0 ? 15 : std::clamp(precision, 1, 17), decimalSeparator());
    }
}

QString directiveText(const Directive& d, const FormatArg& arg)
{
    const char16_t t = d.type.unicode();
    if ((t == 'd' || t == 'u' || t == 'x' || t == 'p') && std::holds_alternative<int64_t>(arg))
        return integerText(std::get<int64_t>(arg), d.type, d.precision);
    if ((t == 'e' || t == 'f' || t == 'g' || t == 'n' || t == 'm') && std::holds_alternative<double>(arg))
        return floatDirectiveText(std::get<double>(arg), d.type, d.precision);
    if (t == 's' && std::holds_alternative<QString>(arg)) {
        const QString& s = std::get<QString>(arg);
        return d.precision >= 0 ? s.left(d.precision) : s;
    }
    return plainText(arg);
}

bool isKnownType(QChar c)
{
    switch (c.toLower().unicode()) {
    case 'd': case 'u': case 'x': case 'p': case 's':
    case 'e': case 'f': case 'g': case 'n': case 'm':
        return true;
    default:
        return false;
    }
}

// Reads the arguments of a directive in turn; a missing one answers null.
class ArgumentCursor
{
public:
    explicit ArgumentCursor(std::initializer_list<FormatArg> args) : m_args(args) {}

    const FormatArg* next()
    {
        if (m_next < 0 || m_next >= static_cast<qsizetype>(m_args.size()))
            return nullptr;
        return m_args.begin() + m_next++;
    }

    void moveTo(int index) { m_next = index; }

    // A '*' takes an integer argument; anything else gives `fallback`.
    int nextNumber(int fallback)
    {
        const FormatArg* a = next();
        if (!a || !std::holds_alternative<int64_t>(*a))
            return fallback;
        return static_cast<int>(std::clamp<int64_t>(std::get<int64_t>(*a), -100000, 100000));
    }

private:
    std::initializer_list<FormatArg> m_args;
    qsizetype m_next = 0;
};

// Digits or '*' at i; -1 when neither is there.
int readNumber(QStringView fmt, qsizetype& i, ArgumentCursor& args)
{
    if (i < fmt.size() && fmt[i] == QLatin1Char('*')) {
        ++i;
        return args.nextNumber(0);
    }
    if (i >= fmt.size() || fmt[i].unicode() < '0' || fmt[i].unicode() > '9')
        return -1;
    int value = 0;
    for (; i < fmt.size() && fmt[i].unicode() >= '0' && fmt[i].unicode() <= '9'; ++i)
        value = std::min(value * 10 + (fmt[i].unicode() - '0'), 100000);
    return value;
}

// Parses the directive starting after the '%' at `start`; false when it is malformed.
bool parseDirective(QStringView fmt, qsizetype start, ArgumentCursor& args, Directive& d)
{
    qsizetype i = start;
    // An index "n:" is only an index when a ':' follows the number.
    qsizetype j = i;
    while (j < fmt.size() && fmt[j].unicode() >= '0' && fmt[j].unicode() <= '9')
        ++j;
    if (j > i && j < fmt.size() && fmt[j] == QLatin1Char(':')) {
        args.moveTo(readNumber(fmt, i, args));
        ++i;
    }
    if (i < fmt.size() && fmt[i] == QLatin1Char('-')) {
        d.isLeftAligned = true;
        ++i;
    }
    d.width = std::max(readNumber(fmt, i, args), 0);
    if (i < fmt.size() && fmt[i] == QLatin1Char('.')) {
        ++i;
        d.precision = std::max(readNumber(fmt, i, args), 0);
    }
    if (i >= fmt.size() || !isKnownType(fmt[i]))
        return false;
    d.type = fmt[i].toLower();
    d.end = i + 1;
    return true;
}

} // namespace

QString formatFloat(QStringView pattern, double v)
{
    if (pattern.isEmpty() || !std::isfinite(v))
        return floatToStr(v);
    const std::vector<QStringView> sections = splitSections(pattern);
    auto sectionAt = [&](size_t k) -> const QStringView* {
        return (k < sections.size() && !sections[k].isEmpty()) ? &sections[k] : nullptr;
    };
    const QStringView* zeroSection = sectionAt(2);
    const QStringView* negativeSection = v < 0 ? sectionAt(1) : nullptr;
    const QStringView* chosen = (v == 0 && zeroSection) ? zeroSection : negativeSection ? negativeSection : sectionAt(0);
    // An empty positive section, or a value of more than 18 integer digits in a section
    // without an exponent, gives the general form, as the run time did.
    if (!chosen)
        return floatToStr(v);
    const PatternSection p = analyse(*chosen);
    if (!p.isScientific && std::fabs(v) >= maxFixedMagnitude)
        return floatToStr(v);
    if (v == 0 || renderNumber(p, v).isZero) {
        // A value that rounds to zero shows as zero, without a minus sign.
        return writeSection(zeroSection ? analyse(*zeroSection) : p, 0.0, false);
    }
    return writeSection(p, v, v < 0 && !negativeSection);
}

QString formatFixed(int width, int decimals, double v)
{
    const QString text = fixedText(v, decimals, false);
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char(' ')) + text;
}

QString format(QStringView fmt, std::initializer_list<FormatArg> args)
{
    ArgumentCursor cursor(args);
    QString out;
    qsizetype i = 0;
    while (i < fmt.size()) {
        const qsizetype percent = fmt.indexOf(QLatin1Char('%'), i);
        if (percent < 0) {
            out += fmt.mid(i);
            break;
        }
        out += fmt.mid(i, percent - i);
        if (percent + 1 < fmt.size() && fmt[percent + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            i = percent + 2;
            continue;
        }
        Directive d;
        if (!parseDirective(fmt, percent + 1, cursor, d)) {
            out += QLatin1Char('%');   // not a directive: copied as it stands
            i = percent + 1;
            continue;
        }
        if (const FormatArg* arg = cursor.next())
            out += align(directiveText(d, *arg), d);
        i = d.end;
    }
    return out;
}

} // namespace txt
