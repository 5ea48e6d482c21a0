// Tests of the polled timers and the memory status element, with injected clocks.
#include "framework/core/ClassRegistry.h"
#include "framework/elements/MemoryStatus.h"
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

// --- memory status ---------------------------------------------------------------------------

const QByteArray bigMachine = "MemTotal:       67108864 kB\n"
                              "MemFree:         1048576 kB\n"
                              "MemAvailable:   16777216 kB\n"
                              "SwapTotal:       8388608 kB\n"
                              "SwapFree:        4194304 kB\n";

TEST(MemoryStatus, ReadFromProcTexts)
{
    const MemoryStatus s = MemoryStatusFromProc(bigMachine, "Name:\tx\nVmSize:\t  1048576 kB\n", quint64(1) << 40);
    EXPECT_EQ(s.TotalPhys, quint64(64) << 30);
    EXPECT_EQ(s.AvailPhys, quint64(16) << 30);
    EXPECT_EQ(s.MemoryLoad, 75u);
    EXPECT_EQ(s.TotalPageFile, quint64(72) << 30);
    EXPECT_EQ(s.AvailPageFile, quint64(20) << 30);
    EXPECT_EQ(s.TotalVirtual, quint64(1) << 40);
    EXPECT_EQ(s.AvailVirtual, (quint64(1) << 40) - (quint64(1) << 30));
}

TEST(MemoryStatus, FiguresBeyond32BitsAreClampedWhenPublished)
{
    auto memory = Create<TMemoryElement>();
    memory->SetStatus(MemoryStatusFromProc(bigMachine, {}, quint64(1) << 47));
    EXPECT_EQ(memory->AlocatedMemory(), (quint64(48) << 30) + (quint64(52) << 30));
    EXPECT_EQ(memory->AvailMemory(), (quint64(100) << 30) / 100 * 25);
    for (const char* name : {"AlocatedMemory", "AvailMemory", "TotalPhys", "TotalVirtual"})
        EXPECT_EQ(memory->GetPropAsString(name), "2147483647") << name;
    EXPECT_EQ(memory->GetPropAsInteger("MemoryLoad"), 75);
}

// The original raised an overflow error when an available amount exceeded its total.
TEST(MemoryStatus, AvailableAboveTotalCountsNothing)
{
    auto memory = Create<TMemoryElement>();
    MemoryStatus s;
    s.TotalPhys = 1000;
    s.AvailPhys = 400;
    s.TotalPageFile = 100;
    s.AvailPageFile = 300;
    s.MemoryLoad = 60;
    memory->SetStatus(s);
    EXPECT_EQ(memory->AlocatedMemory(), 600u);
    EXPECT_EQ(memory->AvailMemory(), 240u);
    EXPECT_EQ(memory->GetPropAsInteger("AlocatedMemory"), 600);
}

TEST(MemoryStatus, ElementTakesASnapshotOfThisMachine)
{
    RegisterE_MemoryUnit();
    Owned<TElement> memory = CreateElementByName("MemoryElement");
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(memory->GetName(), "Memory status");
    EXPECT_GT(memory->GetPropAsInteger("TotalPhys"), 0);
}

} // namespace
