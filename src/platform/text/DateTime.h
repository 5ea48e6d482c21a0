// Date and time as the run time kept them: days since 1899-12-30 with the time as fraction.
// Before that day the number is negative and the time is its fraction's absolute value:
// -1.25 is 29.12.1899 6:00. Valid years are 1 to 9999; decoding a value outside them (or
// NaN) raises EConvertError.
#pragma once

#include <QString>
#include <QStringView>

#include <functional>

class QDate;
class QDateTime;
class QTime;

namespace txt {

using DateTime = double;

// EncodeDate/EncodeTime raise EConvertError on an invalid date or time.
DateTime encodeDate(int year, int month, int day);
DateTime encodeTime(int hour, int minute, int second, int msec);
bool tryEncodeDate(int year, int month, int day, DateTime& out);
bool tryEncodeTime(int hour, int minute, int second, int msec, DateTime& out);
void decodeDate(DateTime dt, int& year, int& month, int& day);
void decodeTime(DateTime dt, int& hour, int& minute, int& second, int& msec);
int dayOfWeek(DateTime dt);   // 1 = Sunday .. 7 = Saturday
// Finite and within years 1 to 9999: the values the text forms can show.
bool isValidDateTime(DateTime dt);

// Days on a straight time line from 30.12.1899 0:00, as stored timestamps count time (and as
// Qt's dates do): 29.12.1899 6:00 is -1.25 as a date-time and -0.75 on the line. Storage
// formats convert through these, never by adding the time to a negative day.
double toLinearDays(DateTime dt);
DateTime fromLinearDays(double days);

// Qt's dates and times (as SQL drivers give them), with the rule of the negative days; the
// date and time as written, whatever the zone. An invalid Qt value or one outside years
// 1..9999 raises EConvertError.
DateTime fromQDate(const QDate& date);
DateTime fromQTime(const QTime& time);
DateTime fromQDateTime(const QDateTime& dateTime);

// The system clock, unless a test installed its own (an empty one restores the system clock);
// today() is the date of now().
using DateTimeClock = std::function<DateTime()>;
void SetDateTimeClock(DateTimeClock clock);
DateTime now();
DateTime today();

// Czech short forms: date "d.m.yyyy", time "h:nn:ss".
QString dateToStr(DateTime dt);
QString timeToStr(DateTime dt);
QString dateTimeToStr(DateTime dt);   // date, and the time when it is not midnight
// FormatDateTime with d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz am/pm c t tt
// ddddd dddddd / : and quoted text; Czech day and month names (nominative); "m" right
// after an hour is the minute; an empty format is "c".
QString formatDateTime(QStringView format, DateTime dt);
// StrToDate of "d.m.yyyy" (also "d.m." of this year; a two-digit year falls within the
// 100 years from 50 years before this one); blanks around the numbers; EConvertError.
DateTime strToDate(QStringView s);
bool tryStrToDate(QStringView s, DateTime& out);
// StrToTime of "h:nn", "h:nn:ss" or "h:nn:ss.zzz"; StrToDateTime of a date optionally
// followed by such a time (or a time alone). EConvertError.
DateTime strToTime(QStringView s);
bool tryStrToTime(QStringView s, DateTime& out);
DateTime strToDateTime(QStringView s);
bool tryStrToDateTime(QStringView s, DateTime& out);
// The ISO forms SQL databases store: "yyyy-mm-dd", "yyyy-mm-dd hh:nn[:ss[.zzz]]" (or with "T"),
// and "hh:nn[:ss[.zzz]]"; a zone suffix is not accepted. False when the text is none of these.
bool tryIsoToDateTime(QStringView s, DateTime& out);

} // namespace txt
