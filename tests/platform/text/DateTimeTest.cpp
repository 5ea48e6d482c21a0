// Tests of day-number dates, their Czech text forms and the date readers.
#include "platform/text/DateTime.h"

#include "platform/Exceptions.h"

#include <QDate>
#include <QDateTime>

#include <limits>

#include <gtest/gtest.h>

namespace {

const auto byName = [](const auto& info) { return std::string(info.param.name); };

struct DateCase { const char* name; int year, month, day; double dayNumber; const char* text; };

const DateCase dateCases[] = {
    {"epoch", 1899, 12, 30, 0, "30.12.1899"},
    {"day_before_epoch", 1899, 12, 29, -1, "29.12.1899"},
    {"leap_day", 2024, 2, 29, 45351, "29.2.2024"},
    {"first_valid", 1, 1, 1, -693593, "1.1.0001"},
    {"last_valid", 9999, 12, 31, 2958465, "31.12.9999"},
};

class DateNumbers : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateNumbers, EncodeDecodeAndShortForm)
{
    const DateCase& c = GetParam();
    EXPECT_EQ(txt::encodeDate(c.year, c.month, c.day), c.dayNumber);
    int y = 0, m = 0, d = 0;
    txt::decodeDate(c.dayNumber, y, m, d);
    EXPECT_EQ(y, c.year);
    EXPECT_EQ(m, c.month);
    EXPECT_EQ(d, c.day);
    EXPECT_EQ(txt::dateToStr(c.dayNumber), QString::fromUtf8(c.text));
    EXPECT_EQ(txt::strToDate(QString::fromUtf8(c.text)), c.dayNumber);
}

INSTANTIATE_TEST_SUITE_P(Dates, DateNumbers, ::testing::ValuesIn(dateCases), byName);

TEST(DateTime, EveryDayNumberDecodesToAValidDateThatEncodesBack)
{
    int previousYear = 0;
    for (int n = -693593; n <= 2958465; n += 997) {
        int y = 0, m = 0, d = 0;
        txt::decodeDate(n, y, m, d);
        ASSERT_EQ(txt::encodeDate(y, m, d), n) << y << "-" << m << "-" << d;
        ASSERT_GE(y, previousYear);
        previousYear = y;
    }
}

TEST(DateTime, InvalidDatesAndTimesRaise)
{
    EXPECT_THROW(txt::encodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(txt::encodeDate(1900, 2, 29), EConvertError);
    EXPECT_THROW(txt::encodeDate(2000, 13, 1), EConvertError);
    EXPECT_THROW(txt::encodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(txt::encodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(txt::encodeTime(1, 0, 0, 1000), EConvertError);
    double out = 123;
    EXPECT_FALSE(txt::tryEncodeDate(2000, 2, 30, out));
    EXPECT_EQ(out, 123);
    int y = 0, m = 0, d = 0;
    EXPECT_THROW(txt::decodeDate(1e9, y, m, d), EConvertError);
}

TEST(DateTime, TimeIsTheFractionOfTheDayAwayFromZero)
{
    EXPECT_EQ(txt::encodeTime(12, 0, 0, 0), 0.5);
    int h = 0, n = 0, s = 0, z = 0;
    txt::decodeTime(txt::encodeTime(23, 59, 59, 999), h, n, s, z);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + z, 235959999);
    txt::decodeTime(36526.75, h, n, s, z);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + z, 180000000);
    EXPECT_EQ(txt::timeToStr(txt::encodeTime(13, 5, 9, 0)), QStringLiteral("13:05:09"));
    EXPECT_EQ(txt::dateTimeToStr(2), QStringLiteral("1.1.1900"));   // midnight is left out
    EXPECT_EQ(txt::dateTimeToStr(0.5), QStringLiteral("30.12.1899 12:00:00"));
    EXPECT_EQ(txt::dateToStr(-1.25), QStringLiteral("29.12.1899"));
    EXPECT_EQ(txt::timeToStr(-1.25), QStringLiteral("6:00:00"));
    EXPECT_EQ(txt::strToDateTime(u"29.12.1899 6:00"), -1.25);
    EXPECT_EQ(txt::dateTimeToStr(-1.25), QStringLiteral("29.12.1899 6:00:00"));
    // Millisecond rounding carries into the next day.
    const double almostOne = 1 - 1e-10;
    EXPECT_EQ(txt::dateToStr(almostOne), QStringLiteral("31.12.1899"));
    EXPECT_EQ(txt::timeToStr(almostOne), QStringLiteral("0:00:00"));
}

TEST(DateTime, DayOfWeekStartsOnSunday)
{
    EXPECT_EQ(txt::dayOfWeek(0), 7);                              // Saturday 30.12.1899
    EXPECT_EQ(txt::dayOfWeek(1), 1);                              // Sunday
    EXPECT_EQ(txt::dayOfWeek(txt::encodeDate(1998, 3, 5) + 0.9), 5);
}

struct FormatCase { const char* name; const char* format; const char* text; };

// All of 5.3.1998 (a Thursday) 19:05:09.042.
const FormatCase formatCases[] = {
    {"long_date", "dddddd", "5. březen 1998"},
    {"month_names", "mmm mmmm", "bře březen"},
    {"day_names", "ddd dddd", "čt čtvrtek"},
    {"quoted", "'Datum: 'd.m. \"v\" h", "Datum: 5.3. v 19"},
    {"time_with_ms", "hh:nn:ss.zzz", "19:05:09.042"},
    {"month_not_after_hour", "m h", "3 19"},
    {"twelve_hour", "hh:nn am/pm", "07:05 pm"},
    {"czech_ampm", "h ampm", "7 odp."},
    {"upper_case_specifiers", "DD.MM.YYYY HH:NN", "05.03.1998 19:05"},
    {"empty_is_c", "", "5.3.1998 19:05:09"},
};

class FormatDateTime : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatDateTime, WritesTheCzechForms)
{
    const double dt = txt::encodeDate(1998, 3, 5) + txt::encodeTime(19, 5, 9, 42);
    EXPECT_EQ(txt::formatDateTime(QString::fromUtf8(GetParam().format), dt), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatDateTime, ::testing::ValuesIn(formatCases), byName);

TEST(DateTime, StrToDateForms)
{
    const int thisYear = QDate::currentDate().year();
    EXPECT_EQ(txt::strToDate(u" 5. 3. 1998 "), txt::encodeDate(1998, 3, 5));
    EXPECT_EQ(txt::strToDate(u"5.3."), txt::encodeDate(thisYear, 3, 5));
    // Two-digit years: the 100 years from 50 years back.
    for (const int yy : {0, 98}) {
        const int start = thisYear - 50;
        int expected = start / 100 * 100 + yy;
        if (expected < start)
            expected += 100;
        ASSERT_GE(expected, start);
        ASSERT_LT(expected, start + 100);
        EXPECT_EQ(txt::strToDate(QStringLiteral("1.1.%1").arg(yy, 2, 10, QLatin1Char('0'))), txt::encodeDate(expected, 1, 1));
    }
}

TEST(DateTime, StrToDateRejects)
{
    for (const char16_t* text : {u"", u"31.2.2020", u"5/3/1998", u"1.1.1900 12:00", u"5..1998"}) {
        double out = -7;
        EXPECT_FALSE(txt::tryStrToDate(text, out)) << QString::fromUtf16(text).toStdString();
        EXPECT_EQ(out, -7);
        EXPECT_THROW(txt::strToDate(text), EConvertError);
    }
}

TEST(DateTime, StrToTimeAndDateTime)
{
    EXPECT_EQ(txt::strToTime(u"06:30:15.5"), txt::encodeTime(6, 30, 15, 5));
    EXPECT_THROW(txt::strToTime(u"25:00"), EConvertError);
    EXPECT_EQ(txt::strToDateTime(u"1.1.1900 12:00"), 2.5);
    EXPECT_EQ(txt::strToDateTime(u" 18:00 "), 0.75);
    EXPECT_THROW(txt::strToDateTime(u"1.1.1900 x"), EConvertError);
}

// Qt's dates and times, as SQL drivers hand them over, keep the rule of the negative days.
TEST(DateTime, QtDatesAndTimes)
{
    EXPECT_EQ(txt::fromQDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(txt::fromQDateTime(QDateTime(QDate(2024, 2, 29), QTime(18, 0))), 45351.75);
    EXPECT_EQ(txt::fromQDate(QDate(1, 1, 1)), -693593);
    EXPECT_EQ(txt::fromQTime(QTime(18, 0, 0, 500)), txt::encodeTime(18, 0, 0, 500));
    EXPECT_THROW(txt::fromQDate(QDate(10000, 1, 1)), EConvertError);
    EXPECT_THROW(txt::fromQDate(QDate()), EConvertError);
    EXPECT_THROW(txt::fromQDateTime(QDateTime()), EConvertError);
}

// Storage counts time on a straight line; the run time's negative days count the time away from zero.
TEST(DateTime, LinearTimeOfStoredTimestamps)
{
    struct Case { double dateTime; double linear; };
    for (const Case c : {Case{-1.25, -0.75}, Case{-1, -1}, Case{-2.5, -1.5}, Case{0.25, 0.25}, Case{45351.75, 45351.75}}) {
        SCOPED_TRACE(c.dateTime);
        EXPECT_EQ(txt::toLinearDays(c.dateTime), c.linear);
        EXPECT_EQ(txt::fromLinearDays(c.linear), c.dateTime);
    }
    EXPECT_EQ(txt::toLinearDays(-0.25), 0.25);   // day 0 has no negative side
}

TEST(DateTime, IsoTextsOfSqlDatabases)
{
    double out = 0;
    ASSERT_TRUE(txt::tryIsoToDateTime(u"2024-02-29", out));
    EXPECT_EQ(out, 45351);
    ASSERT_TRUE(txt::tryIsoToDateTime(u"2024-02-29T18:00:00.000", out));
    EXPECT_EQ(out, 45351.75);
    ASSERT_TRUE(txt::tryIsoToDateTime(u"2024-02-29 18:00:00", out));
    EXPECT_EQ(out, 45351.75);
    ASSERT_TRUE(txt::tryIsoToDateTime(u"1899-12-29 06:00", out));
    EXPECT_EQ(out, -1.25);
    ASSERT_TRUE(txt::tryIsoToDateTime(u"06:00:00", out));
    EXPECT_EQ(out, 0.25);
    for (const char16_t* text : {u"", u"2024-02-30", u"29.2.2024", u"2024-02-29X", u"0000-01-01"})
        EXPECT_FALSE(txt::tryIsoToDateTime(text, out)) << QString::fromUtf16(text).toStdString();
    // Texts of dates always show; a day number outside years 1..9999 only as the number.
    EXPECT_TRUE(txt::isValidDateTime(-693593));
    EXPECT_FALSE(txt::isValidDateTime(-693594));
    EXPECT_FALSE(txt::isValidDateTime(std::numeric_limits<double>::quiet_NaN()));
}

TEST(DateTime, AnInstalledClockGivesNowAndTodayUntilRemoved)
{
    txt::SetDateTimeClock([] { return 45351.75; });
    EXPECT_EQ(txt::now(), 45351.75);
    EXPECT_EQ(txt::today(), 45351);
    txt::SetDateTimeClock({});
    EXPECT_EQ(txt::today(), txt::fromQDate(QDate::currentDate()));
}

} // namespace
