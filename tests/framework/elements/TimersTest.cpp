// Tests of the polled timers, with injected clocks.
#include "framework/core/ClassRegistry.h"
#include "framework/elements/Timers.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr double msPerDay = 86400000.0;

// Installs fake clocks for one test and restores the system ones afterwards.
class Timers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetTickClock([this] { return tick; });
        SetTimeOfDayClock([this] { return timeOfDayMs / msPerDay; });
    }
    void TearDown() override
    {
        SetTickClock({});
        SetTimeOfDayClock({});
    }

    qint64 tick = 0;
    double timeOfDayMs = 0;
};

TEST_F(Timers, TickAlarmAtMostOncePerInterval)
{
    tick = 5000;
    auto timer = Create<TTickElement>();
    timer->SetInterval(1000);
    timer->Start();
    int alarms = 0;
    for (int i = 1; i <= 50; ++i) {
        tick = 5000 + 100 * i;
        alarms += timer->Alarm() ? 1 : 0;
    }
    // True at +1100, +2200, +3300, +4400: the interval must be exceeded, not just reached.
    EXPECT_EQ(alarms, 4);
}

// The original's 32-bit tick count raised a range error after 24.8 days of uptime.
TEST_F(Timers, TickWorksAfterMonthsOfUptime)
{
    tick = qint64(100) * 24 * 3600 * 1000;
    auto timer = Create<TTickElement>();
    timer->SetInterval(500);
    EXPECT_NO_THROW(timer->Start());
    tick += 501;
    EXPECT_TRUE(timer->Alarm());
    EXPECT_FALSE(timer->Alarm());
}

struct IntervalCase {
    const char* name;
    const char* text;
    const char* shown;   // nullptr: the text raises
    bool rangeError;
};

class TimeInterval : public ::testing::TestWithParam<IntervalCase>
{
};

TEST_P(TimeInterval, ParsesAndShows)
{
    const IntervalCase& c = GetParam();
    auto timer = Create<TTimeElement>();
    if (!c.shown) {
        if (c.rangeError)
            EXPECT_THROW(timer->SetInterval(c.text), ERangeError);
        else
            EXPECT_THROW(timer->SetInterval(c.text), EConvertError);
        return;
    }
    timer->SetInterval(c.text);
    EXPECT_EQ(timer->Interval(), QString::fromLatin1(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeInterval,
                         ::testing::Values(IntervalCase{"Full", "1:02:03.4", "1:2:3.4", false},
                                           IntervalCase{"Milliseconds", "0.250", "0:0:0.250", false},
                                           IntervalCase{"NotANumber", "1:x", nullptr, false},
                                           IntervalCase{"SixtyMinutes", "60:00", nullptr, false},
                                           IntervalCase{"BeyondWord", "70000", nullptr, true},
                                           IntervalCase{"Negative", "-1", nullptr, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Timers, TimeAlarmMeasuresSinceThePreviousRead)
{
    auto timer = Create<TTimeElement>();
    timer->SetInterval("5");
    timeOfDayMs = 36000000;   // 10:00; the first read measures from midnight
    timer->Alarm();
    for (int i = 0; i < 6; ++i) {
        timeOfDayMs += 1000;
        EXPECT_FALSE(timer->Alarm()) << i;
    }
}

TEST_F(Timers, TimeMultiAlarmCountsTheIntervalsNotReported)
{
    auto timer = Create<TTimeElement>();
    timer->SetInterval("5");
    timer->SetMultiAlarm(true);
    timeOfDayMs = 36000000;
    timer->Alarm();
    const qint32 before = timer->AlarmCount();
    timeOfDayMs += 12000;
    EXPECT_TRUE(timer->Alarm());
    EXPECT_EQ(timer->AlarmCount(), before + 1);   // 2 intervals, minus the one reported
}

// The original divided by the interval: a zero interval crashed a multi-alarm timer.
TEST_F(Timers, TimeMultiAlarmWithZeroInterval)
{
    auto timer = Create<TTimeElement>();
    timer->SetMultiAlarm(true);
    timeOfDayMs = 1000;
    EXPECT_TRUE(timer->Alarm());
    timeOfDayMs += 1;
    EXPECT_TRUE(timer->Alarm());
    EXPECT_EQ(timer->AlarmCount(), 0);
    EXPECT_FALSE(timer->Alarm());   // no time passed
}

} // namespace
