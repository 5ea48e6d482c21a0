// Timer elements that callers poll: a millisecond tick timer and a time-of-day timer.
#pragma once

#include "framework/core/Elements.h"

#include <QString>

#include <functional>

// Milliseconds of a monotonic clock (since system start), 64 bits wide: the original's 32-bit
// tick count failed after 24.8 days of uptime. Tests install their own clock; an empty one
// restores the system clock.
using TickClock = std::function<qint64()>;
void SetTickClock(TickClock clock);
qint64 CurrentTick();

// The current time of day as a fraction of a day (the date-time encoding without its date part).
// Tests install their own clock; an empty one restores the system clock.
using TimeOfDayClock = std::function<double()>;
void SetTimeOfDayClock(TimeOfDayClock clock);
double CurrentTimeOfDay();

// A poller's timer: Alarm answers true at most once per Interval milliseconds.
class TTickElement : public TOwnerElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Both start ticks := now; Pause := false.
    void Start();
    // False while paused or before Interval has passed since the start tick; else the start tick
    // becomes now and the answer is true.
    bool Alarm();

    qint32 Interval() const { return m_interval; }
    void SetInterval(qint32 ms) { m_interval = ms; }
    bool Pause() const { return m_pause; }
    void SetPause(bool on) { m_pause = on; }

private:
    qint32 m_interval = 0;   // milliseconds
    qint64 m_startTick = 0;
    qint64 m_secondStartTick = 0;
    bool m_pause = false;
};

// A timer of the time of day: each Alarm read measures the time since the previous read.
class TTimeElement : public TOwnerElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // "[[hours:]minutes:]seconds[.milliseconds]"; a bad number raises EConvertError, a field
    // above 65535 ERangeError, an invalid time (60 minutes) EConvertError.
    void SetInterval(const QString& text);
    // "h:m:s.ms" without leading zeros.
    QString Interval() const;
    // True when more than the interval passed since the previous read. With MultiAlarm the
    // intervals beyond the one reported are added to AlarmCount.
    bool Alarm();

    qint32 AlarmCount() const { return m_alarmCount; }
    bool MultiAlarm() const { return m_multiAlarm; }
    void SetMultiAlarm(bool on) { m_multiAlarm = on; }

private:
    double m_lastTime = 0.0;   // fraction of a day
    double m_interval = 0.0;   // fraction of a day
    qint32 m_alarmCount = 0;
    bool m_multiAlarm = false;
};

// Registers the classes of this unit (TTimeElement; TTickElement is not registered).
void RegisterE_timeUnit();
