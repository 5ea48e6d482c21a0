// Date and time as day numbers from 1899-12-30, with the Czech text forms.
#include "platform/text/DateTime.h"

#include "platform/Exceptions.h"
#include "platform/text/Case.h"

#include <QDateTime>

#include <array>
#include <cmath>
#include <cstdint>

namespace txt {
namespace {

constexpr int64_t msPerDay = 86400000;
// Day numbers of 1.1.0001 and of 31.12.9999.
constexpr int64_t firstDay = -693593;
constexpr int64_t lastDay = 2958465;
// Days from 1.1.1970 (the civil algorithm's epoch) back to 30.12.1899.
constexpr int64_t epochOffset = 25569;

const std::array<const char16_t*, 12> longMonthNames = {
    u"leden", u"únor", u"březen", u"duben", u"květen", u"červen",
    u"červenec", u"srpen", u"září", u"říjen", u"listopad", u"prosinec"};
const std::array<const char16_t*, 12> shortMonthNames = {
    u"led", u"úno", u"bře", u"dub", u"kvě", u"čvn", u"čvc", u"srp", u"zář", u"říj", u"lis", u"pro"};
// Sunday first, as dayOfWeek counts.
const std::array<const char16_t*, 7> longDayNames = {
    u"neděle", u"pondělí", u"úterý", u"středa", u"čtvrtek", u"pátek", u"sobota"};
const std::array<const char16_t*, 7> shortDayNames = {u"ne", u"po", u"út", u"st", u"čt", u"pá", u"so"};

const char16_t* const amText = u"dop.";
const char16_t* const pmText = u"odp.";
const QChar dateSeparator = QLatin1Char('.');
const char16_t* const shortDateFormat = u"d.m.yyyy";
const char16_t* const longDateFormat = u"d. mmmm yyyy";
const char16_t* const shortTimeFormat = u"h:nn";
const char16_t* const longTimeFormat = u"h:nn:ss";
const QChar timeSeparator = QLatin1Char(':');
// Two-digit years fall within the 100 years that start 50 years before the current year.
constexpr int twoDigitYearWindow = 50;

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

// The day number and the milliseconds of the day. The integer part is the day, the
// fraction's absolute value the time (so -1.25 is 29.12.1899 6:00); the time is rounded
// to the millisecond, which may carry into the next day.
struct DayAndTime
{
    int64_t day = 0;
    int64_t ms = 0;
};

bool trySplit(DateTime dt, DayAndTime& r)
{
    if (!std::isfinite(dt) || dt < firstDay - 1 || dt > lastDay + 1)
        return false;
    const double whole = std::trunc(dt);
    r.day = static_cast<int64_t>(whole);
    r.ms = std::llround(std::fabs(dt - whole) * msPerDay);
    if (r.ms >= msPerDay) {
        r.ms -= msPerDay;
        r.day += dt < 0 ? -1 : 1;
    }
    return r.day >= firstDay && r.day <= lastDay;
}

DayAndTime split(DateTime dt)
{
    DayAndTime r;
    if (!trySplit(dt, r))
        throw EConvertError(QStringLiteral("Invalid date: %1").arg(dt));
    return r;
}

// A day number and a time of day (0 <= time < 1): before 30.12.1899 the time counts away
// from zero, as the day number does.
DateTime join(DateTime date, DateTime time) { return date < 0 ? date - time : date + time; }

QString twoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

// --- FormatDateTime ---------------------------------------------------------------------

struct Parts
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0, weekDay = 1;
    bool hasTime = false;
};

Parts partsOf(DateTime dt)
{
    Parts p;
    const DayAndTime dtm = split(dt);
    civilFromDays(dtm.day - epochOffset, p.year, p.month, p.day);
    p.hour = static_cast<int>(dtm.ms / 3600000);
    p.minute = static_cast<int>(dtm.ms / 60000 % 60);
    p.second = static_cast<int>(dtm.ms / 1000 % 60);
    p.msec = static_cast<int>(dtm.ms % 1000);
    p.weekDay = static_cast<int>(((dtm.day - 1) % 7 + 7) % 7 + 1);
    p.hasTime = dtm.ms != 0;
    return p;
}

bool startsWithNoCase(QStringView s, qsizetype i, QStringView what)
{
    return sameTextAscii(s.mid(i, what.size()), what);
}

// The am/pm markers: "am/pm", "a/p" keep the case written; "ampm" the Czech texts.
qsizetype ampmLength(QStringView f, qsizetype i)
{
    if (startsWithNoCase(f, i, u"am/pm"))
        return 5;
    if (startsWithNoCase(f, i, u"ampm"))
        return 4;
    if (startsWithNoCase(f, i, u"a/p"))
        return 3;
    return 0;
}

bool hasAmpm(QStringView f)
{
    for (qsizetype i = 0; i < f.size(); ++i) {
        if (f[i] == QLatin1Char('"') || f[i] == QLatin1Char('\'')) {
            const qsizetype close = f.indexOf(f[i], i + 1);
            i = close < 0 ? f.size() : close;
        } else if (ampmLength(f, i) > 0) {
            return true;
        }
    }
    return false;
}

class DateTimeWriter
{
public:
    DateTimeWriter(QStringView format, DateTime dt) : m_f(format), m_p(partsOf(dt)), m_is12(hasAmpm(format)) {}

    QString write()
    {
        write(m_f, 0);
        return m_out;
    }

private:
    void write(QStringView f, int depth)
    {
        qsizetype i = 0;
        while (i < f.size())
            i = token(f, i, depth);
    }

    qsizetype runLength(QStringView f, qsizetype i) const
    {
        const QChar c = f[i].toLower();
        qsizetype j = i;
        while (j < f.size() && f[j].toLower() == c)
            ++j;
        return j - i;
    }

    // Writes the token at i, answers the index after it.
    qsizetype token(QStringView f, qsizetype i, int depth)
    {
        const QChar c = f[i];
        const char16_t lower = c.toLower().unicode();
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype close = f.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? f.size() : close;
            m_out += f.mid(i + 1, end - i - 1);
            return std::min(end + 1, f.size());
        }
        if (const qsizetype n = ampmLength(f, i); n > 0) {
            ampm(f.mid(i, n));
            return i + n;
        }
        const qsizetype run = runLength(f, i);
        switch (lower) {
        case 'c': dateAndTime(depth); return i + 1;
        case 'd': day(run, depth); break;
        case 'm': monthOrMinute(run); break;
        case 'y': m_out += run <= 2 ? twoDigits(m_p.year % 100) : QStringLiteral("%1").arg(m_p.year, 4, 10, QLatin1Char('0')); break;
        case 'h': hour(run); break;
        case 'n': m_out += run >= 2 ? twoDigits(m_p.minute) : QString::number(m_p.minute); break;
        case 's': m_out += run >= 2 ? twoDigits(m_p.second) : QString::number(m_p.second); break;
        case 'z': m_out += run >= 3 ? QStringLiteral("%1").arg(m_p.msec, 3, 10, QLatin1Char('0')) : QString::number(m_p.msec); break;
        case 't': nested(run >= 2 ? longTimeFormat : shortTimeFormat, depth); break;
        case '/': m_out += dateSeparator; return i + 1;
        case ':': m_out += timeSeparator; return i + 1;
        default: m_out += c; return i + 1;
        }
        m_lastWasHour = lower == 'h';
        return i + run;
    }

    // "c": the short date, then the long time unless it is midnight.
    void dateAndTime(int depth)
    {
        nested(shortDateFormat, depth);
        if (m_p.hasTime) {
            m_out += QLatin1Char(' ');
            nested(longTimeFormat, depth);
        }
    }

    // The named forms expand once; inside them c, ddddd and t are not expanded again.
    void nested(QStringView f, int depth)
    {
        if (depth > 0)
            return;
        const bool was12 = m_is12;
        m_is12 = false;
        write(f, depth + 1);
        m_is12 = was12;
    }

    void day(qsizetype run, int depth)
    {
        switch (run) {
        case 1: m_out += QString::number(m_p.day); break;
        case 2: m_out += twoDigits(m_p.day); break;
        case 3: m_out += QString::fromUtf16(shortDayNames[m_p.weekDay - 1]); break;
        case 4: m_out += QString::fromUtf16(longDayNames[m_p.weekDay - 1]); break;
        case 5: nested(shortDateFormat, depth); break;
        default: nested(longDateFormat, depth); break;
        }
    }

    // "m" and "mm" right after an hour are minutes.
    void monthOrMinute(qsizetype run)
    {
        if (m_lastWasHour && run <= 2) {
            m_out += run == 2 ? twoDigits(m_p.minute) : QString::number(m_p.minute);
            return;
        }
        switch (run) {
        case 1: m_out += QString::number(m_p.month); break;
        case 2: m_out += twoDigits(m_p.month); break;
        case 3: m_out += QString::fromUtf16(shortMonthNames[m_p.month - 1]); break;
        default: m_out += QString::fromUtf16(longMonthNames[m_p.month - 1]); break;
        }
    }

    void hour(qsizetype run)
    {
        int h = m_p.hour;
        if (m_is12) {
            h %= 12;
            if (h == 0)
                h = 12;
        }
        m_out += run >= 2 ? twoDigits(h) : QString::number(h);
    }

    void ampm(QStringView marker)
    {
        const bool isPm = m_p.hour >= 12;
        if (marker.size() == 4) {
            m_out += QString::fromUtf16(isPm ? pmText : amText);
            return;
        }
        // "am/pm" or "a/p": the chosen half as written in the format.
        const qsizetype slash = marker.indexOf(QLatin1Char('/'));
        m_out += isPm ? marker.mid(slash + 1) : marker.left(slash);
    }

    QStringView m_f;
    Parts m_p;
    bool m_is12;
    bool m_lastWasHour = false;
    QString m_out;
};

// --- StrToDate ----------------------------------------------------------------------------

bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

void skipBlanks(QStringView s, qsizetype& i)
{
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
}

// Up to 5 digits after blanks; -1 when none. `digits` counts them.
int readNumber(QStringView s, qsizetype& i, int& digits)
{
    skipBlanks(s, i);
    int value = 0;
    digits = 0;
    while (i < s.size() && isDigit(s[i]) && digits < 5) {
        value = value * 10 + (s[i++].unicode() - '0');
        ++digits;
    }
    return digits == 0 ? -1 : value;
}

bool expect(QStringView s, qsizetype& i, QChar c)
{
    skipBlanks(s, i);
    if (i < s.size() && s[i] == c) {
        ++i;
        return true;
    }
    return false;
}

int currentYear() { return QDate::currentDate().year(); }

int expandYear(int year, int digits)
{
    if (digits > 2)
        return year;
    const int start = currentYear() - twoDigitYearWindow;
    int full = start / 100 * 100 + year;
    if (full < start)
        full += 100;
    return full;
}

// "d.m.yyyy", "d.m.yy", "d.m." and "d.m" from i; i ends after the date.
bool scanDate(QStringView s, qsizetype& i, DateTime& out)
{
    int digits = 0;
    const int day = readNumber(s, i, digits);
    if (day < 0 || !expect(s, i, dateSeparator))
        return false;
    const int month = readNumber(s, i, digits);
    if (month < 0)
        return false;
    int year = currentYear();
    if (expect(s, i, dateSeparator)) {
        qsizetype j = i;
        const int y = readNumber(s, j, digits);
        if (y >= 0) {
            year = expandYear(y, digits);
            i = j;
        }
    }
    return tryEncodeDate(year, month, day, out);
}

// "h:nn", "h:nn:ss", "h:nn:ss.zzz" from i.
bool scanTime(QStringView s, qsizetype& i, DateTime& out)
{
    int digits = 0;
    const int hour = readNumber(s, i, digits);
    if (hour < 0 || !expect(s, i, timeSeparator))
        return false;
    const int minute = readNumber(s, i, digits);
    if (minute < 0)
        return false;
    int second = 0;
    int msec = 0;
    if (expect(s, i, timeSeparator)) {
        second = readNumber(s, i, digits);
        if (second < 0)
            return false;
        if (i < s.size() && (s[i] == QLatin1Char('.') || s[i] == QLatin1Char(','))) {
            ++i;
            msec = readNumber(s, i, digits);
            if (msec < 0 || digits > 3)
                return false;
        }
    }
    return tryEncodeTime(hour, minute, second, msec, out);
}

// Exactly `count` digits at i; -1 otherwise.
int fixedDigits(QStringView s, qsizetype& i, int count)
{
    int value = 0;
    for (int k = 0; k < count; ++k, ++i) {
        if (i >= s.size() || !isDigit(s[i]))
            return -1;
        value = value * 10 + (s[i].unicode() - '0');
    }
    return value;
}

bool separatorAt(QStringView s, qsizetype& i, QChar c)
{
    if (i >= s.size() || s[i] != c)
        return false;
    ++i;
    return true;
}

// "yyyy-mm-dd" from i.
bool scanIsoDate(QStringView s, qsizetype& i, DateTime& out)
{
    qsizetype j = i;
    const int year = fixedDigits(s, j, 4);
    if (year < 0 || !separatorAt(s, j, QLatin1Char('-')))
        return false;
    const int month = fixedDigits(s, j, 2);
    if (month < 0 || !separatorAt(s, j, QLatin1Char('-')))
        return false;
    const int day = fixedDigits(s, j, 2);
    if (day < 0 || !tryEncodeDate(year, month, day, out))
        return false;
    i = j;
    return true;
}

// "hh:nn", "hh:nn:ss", "hh:nn:ss.z" (one to three digits of the second's fraction) from i.
bool scanIsoTime(QStringView s, qsizetype& i, DateTime& out)
{
    const int hour = fixedDigits(s, i, 2);
    if (hour < 0 || !separatorAt(s, i, timeSeparator))
        return false;
    const int minute = fixedDigits(s, i, 2);
    int second = 0;
    int msec = 0;
    if (minute >= 0 && separatorAt(s, i, timeSeparator)) {
        second = fixedDigits(s, i, 2);
        if (second >= 0 && separatorAt(s, i, QLatin1Char('.'))) {
            int digits = 0;
            for (; digits < 3 && i < s.size() && isDigit(s[i]); ++digits)
                msec = msec * 10 + (s[i++].unicode() - '0');
            if (digits == 0)
                return false;
            for (; digits < 3; ++digits)
                msec *= 10;
        }
    }
    return minute >= 0 && second >= 0 && tryEncodeTime(hour, minute, second, msec, out);
}

bool atEnd(QStringView s, qsizetype i)
{
    skipBlanks(s, i);
    return i == s.size();
}

// Runs `scan` over the whole text (blanks may follow); `out` changes only on success.
template <typename Scan>
bool scanWhole(QStringView s, Scan scan, DateTime& out)
{
    qsizetype i = 0;
    DateTime value = 0;
    if (!scan(s, i, value) || !atEnd(s, i))
        return false;
    out = value;
    return true;
}

// What `tryRead` reads, else EConvertError "'<s>' není <what>.".
template <typename TryRead>
DateTime readOrRaise(QStringView s, TryRead tryRead, const char* what)
{
    DateTime value = 0;
    if (!tryRead(s, value))
        throw EConvertError::notValid(s, QString::fromUtf8(what));
    return value;
}

} // namespace

bool tryEncodeDate(int year, int month, int day, DateTime& out)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return false;
    out = static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + epochOffset);
    return true;
}

bool tryEncodeTime(int hour, int minute, int second, int msec, DateTime& out)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999)
        return false;
    out = static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + msec) / msPerDay;
    return true;
}

DateTime encodeDate(int year, int month, int day)
{
    DateTime dt = 0;
    if (!tryEncodeDate(year, month, day, dt))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return dt;
}

DateTime encodeTime(int hour, int minute, int second, int msec)
{
    DateTime dt = 0;
    if (!tryEncodeTime(hour, minute, second, msec, dt))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return dt;
}

void decodeDate(DateTime dt, int& year, int& month, int& day)
{
    civilFromDays(split(dt).day - epochOffset, year, month, day);
}

void decodeTime(DateTime dt, int& hour, int& minute, int& second, int& msec)
{
    const Parts p = partsOf(dt);
    hour = p.hour;
    minute = p.minute;
    second = p.second;
    msec = p.msec;
}

int dayOfWeek(DateTime dt) { return partsOf(dt).weekDay; }

bool isValidDateTime(DateTime dt)
{
    DayAndTime r;
    return trySplit(dt, r);
}

double toLinearDays(DateTime dt)
{
    const double day = std::trunc(dt);
    return dt < 0 ? day + std::fabs(dt - day) : dt;
}

DateTime fromLinearDays(double days)
{
    const double day = std::floor(days);
    return join(day, days - day);
}

DateTime fromQDate(const QDate& date)
{
    DateTime dt = 0;
    if (!date.isValid() || !tryEncodeDate(date.year(), date.month(), date.day(), dt))
        throw EConvertError(QStringLiteral("Invalid date: %1").arg(date.toString(Qt::ISODate)));
    return dt;
}

DateTime fromQTime(const QTime& time)
{
    DateTime dt = 0;
    if (!time.isValid() || !tryEncodeTime(time.hour(), time.minute(), time.second(), time.msec(), dt))
        throw EConvertError(QStringLiteral("Invalid time: %1").arg(time.toString(Qt::ISODateWithMs)));
    return dt;
}

DateTime fromQDateTime(const QDateTime& dateTime)
{
    return join(fromQDate(dateTime.date()), fromQTime(dateTime.time()));
}

namespace {

DateTimeClock& dateTimeClock()
{
    static DateTimeClock clock;
    return clock;
}

} // namespace

void SetDateTimeClock(DateTimeClock clock)
{
    dateTimeClock() = std::move(clock);
}

DateTime now()
{
    if (dateTimeClock()) return dateTimeClock()();
    const QDateTime t = QDateTime::currentDateTime();
    return encodeDate(t.date().year(), t.date().month(), t.date().day())
        + encodeTime(t.time().hour(), t.time().minute(), t.time().second(), t.time().msec());
}

DateTime today()
{
    if (dateTimeClock()) return std::trunc(dateTimeClock()());
    const QDate d = QDate::currentDate();
    return encodeDate(d.year(), d.month(), d.day());
}

QString dateToStr(DateTime dt) { return formatDateTime(u"ddddd", dt); }
QString timeToStr(DateTime dt) { return formatDateTime(u"tt", dt); }
QString dateTimeToStr(DateTime dt) { return formatDateTime(u"c", dt); }

QString formatDateTime(QStringView format, DateTime dt)
{
    return DateTimeWriter(format.isEmpty() ? QStringView(u"c") : format, dt).write();
}

bool tryStrToDate(QStringView s, DateTime& out) { return scanWhole(s, scanDate, out); }
DateTime strToDate(QStringView s) { return readOrRaise(s, tryStrToDate, "platné datum"); }
bool tryStrToTime(QStringView s, DateTime& out) { return scanWhole(s, scanTime, out); }
DateTime strToTime(QStringView s) { return readOrRaise(s, tryStrToTime, "platný čas"); }

bool tryStrToDateTime(QStringView s, DateTime& out)
{
    qsizetype i = 0;
    DateTime date = 0;
    if (!scanDate(s, i, date))
        return tryStrToTime(s, out);   // a time alone is a time of 30.12.1899
    DateTime time = 0;
    if (!atEnd(s, i) && !scanTime(s, i, time))
        return false;
    if (!atEnd(s, i))
        return false;
    out = join(date, time);
    return true;
}

DateTime strToDateTime(QStringView s) { return readOrRaise(s, tryStrToDateTime, "platné datum a čas"); }

bool tryIsoToDateTime(QStringView s, DateTime& out)
{
    qsizetype i = 0;
    DateTime date = 0;
    const bool hasDate = scanIsoDate(s, i, date);
    if (hasDate && i < s.size()) {
        if (s[i] != QLatin1Char(' ') && s[i] != QLatin1Char('T'))
            return false;
        ++i;
    }
    DateTime time = 0;
    if ((!hasDate || i < s.size()) && !scanIsoTime(s, i, time))
        return false;
    if (i != s.size())
        return false;
    out = join(date, time);
    return true;
}

} // namespace txt
