// Date and time as the run time kept them: days since 1899-12-30 with the time as fraction.
#pragma once

#include <QString>
#include <QStringView>

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

DateTime now();
DateTime today();

// Czech short forms: date "d.m.yyyy", time "h:nn:ss".
QString dateToStr(DateTime dt);
QString timeToStr(DateTime dt);
QString dateTimeToStr(DateTime dt);   // date, and the time when it is not midnight
// FormatDateTime with d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz am/pm c t tt
// ddddd / : and quoted text; Czech day and month names.
QString formatDateTime(QStringView format, DateTime dt);
// StrToDate of "d.m.yyyy" (also "d.m." of this year and a two-digit year); EConvertError.
DateTime strToDate(QStringView s);
bool tryStrToDate(QStringView s, DateTime& out);

} // namespace txt
