// Timer elements that callers poll: a millisecond tick timer and a time-of-day timer.
#include "framework/elements/Timers.h"

#include "framework/core/ClassRegistry.h"
#include "platform/Exceptions.h"
#include "platform/text/DateTime.h"
#include "platform/text/Numbers.h"

#include <QStringList>

#include <chrono>
#include <cmath>
#include <limits>

namespace {

TickClock& tickClock()
{
    static TickClock clock;
    return clock;
}

TimeOfDayClock& timeOfDayClock()
{
    static TimeOfDayClock clock;
    return clock;
}

// One field of an interval text: a whole number that fits the run time's 16-bit word.
int intervalField(const QString& text)
{
    const qint32 value = txt::strToInt(text);
    if (value < 0 || value > 65535)
        throw ERangeError(QStringLiteral("Range check error"));
    return value;
}

} // namespace

void SetTickClock(TickClock clock)
{
    tickClock() = std::move(clock);
}

qint64 CurrentTick()
{
    if (tickClock())
        return tickClock()();
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
}

void SetTimeOfDayClock(TimeOfDayClock clock)
{
    timeOfDayClock() = std::move(clock);
}

double CurrentTimeOfDay()
{
    if (timeOfDayClock())
        return timeOfDayClock()();
    const double now = txt::now();
    return now - std::floor(now);
}

// --- TTickElement -------------------------------------------------------------------------------

TClass TTickElement::StaticClass()
{
    static const TClassInfo info =
        describeClass<TTickElement, TOwnerElement>("TTickElement", [](PropertyTable<TTickElement>& t) {
            t.integer("Interval", &TTickElement::Interval, &TTickElement::SetInterval);
            t.boolean("Alarm", &TTickElement::Alarm, nullptr);
            t.boolean("Pause", &TTickElement::Pause, &TTickElement::SetPause);
        });
    return &info;
}

void TTickElement::Start()
{
    m_startTick = CurrentTick();
    m_secondStartTick = m_startTick;
    m_pause = false;
}

bool TTickElement::Alarm()
{
    if (m_pause)
        return false;
    const qint64 now = CurrentTick();
    if (m_startTick + m_interval >= now)
        return false;
    m_startTick = now;
    return true;
}

// --- TTimeElement -------------------------------------------------------------------------------

TClass TTimeElement::StaticClass()
{
    static const TClassInfo info =
        describeClass<TTimeElement, TOwnerElement>("TTimeElement", [](PropertyTable<TTimeElement>& t) {
            t.string("Interval", &TTimeElement::Interval, &TTimeElement::SetInterval);
            t.boolean("Alarm", &TTimeElement::Alarm, nullptr);
            t.integer("AlarmCount", &TTimeElement::AlarmCount, nullptr);
            t.boolean("MultiAlarm", &TTimeElement::MultiAlarm, &TTimeElement::SetMultiAlarm);
        });
    return &info;
}

// Each part before a ":" is shifted in from the right into hours, minutes, seconds; the part
// after the last ":" is shifted in as well, split at "." into seconds and milliseconds.
void TTimeElement::SetInterval(const QString& text)
{
    QString fields[4] = {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    const QStringList parts = text.split(QLatin1Char(':'));
    for (const QString& part : parts) {
        fields[0] = fields[1];
        fields[1] = fields[2];
        fields[2] = part;
    }
    const qsizetype dot = fields[2].indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        fields[3] = fields[2].mid(dot + 1);
        fields[2] = fields[2].left(dot);
    }
    const int hours = intervalField(fields[0]);
    const int minutes = intervalField(fields[1]);
    const int seconds = intervalField(fields[2]);
    const int msec = intervalField(fields[3]);
    m_interval = txt::encodeTime(hours, minutes, seconds, msec);
}

QString TTimeElement::Interval() const
{
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int msec = 0;
    txt::decodeTime(m_interval, hours, minutes, seconds, msec);
    return QStringLiteral("%1:%2:%3.%4").arg(hours).arg(minutes).arg(seconds).arg(msec);
}

bool TTimeElement::Alarm()
{
    const double now = CurrentTimeOfDay();
    const double elapsed = now - m_lastTime;
    m_lastTime = now;
    if (!(elapsed > m_interval))
        return false;
    if (!m_multiAlarm)
        return true;
    // A zero interval counts each read as one interval (the original divided by zero).
    const qint64 n = m_interval > 0.0 ? txt::roundHalfEven64(elapsed / m_interval) : 1;
    if (n < qint64(std::numeric_limits<qint32>::max()) - m_alarmCount)
        m_alarmCount += qint32(n);
    m_alarmCount -= 1;
    return true;
}

void RegisterE_timeUnit()
{
    RegisterUnitClasses({TTimeElement::StaticClass()});
}
