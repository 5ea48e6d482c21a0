// Memory status element: one snapshot of the system's memory figures, published as properties.
#include "framework/elements/MemoryStatus.h"

#include "framework/core/ClassRegistry.h"

#include <QFile>
#include <QList>

#include <sys/resource.h>

#include <algorithm>
#include <limits>

namespace {

// The user address space of a 64-bit Linux process (47 bits) when no limit is set.
constexpr quint64 defaultAddressSpace = quint64(1) << 47;

// The value of "Key:   1234 kB" in bytes; 0 when the key is missing.
quint64 procValue(const QByteArray& text, const QByteArray& key)
{
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed() != key)
            continue;
        const QList<QByteArray> words = line.mid(colon + 1).simplified().split(' ');
        bool ok = false;
        const quint64 value = words.value(0).toULongLong(&ok);
        if (!ok)
            return 0;
        const bool kilobytes = words.size() > 1 && words[1].toLower() == "kb";
        return kilobytes ? value * 1024 : value;
    }
    return 0;
}

quint64 differenceOrZero(quint64 total, quint64 avail)
{
    return avail > total ? 0 : total - avail;
}

QByteArray readProcFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();   // proc files report size 0: read to the end
}

TClassInfo describeMemoryElement()
{
    using M = TMemoryElement;
    return describeClass<M, TOwnerElement>("TMemoryElement", [](PropertyTable<M>& t) {
        // Read-only Cardinal figures, clamped to the published 32-bit range, never stored.
        const auto figure = [&t](const char* name, quint64 (*get)(const M&)) {
            t.integer(QString::fromLatin1(name), QStringLiteral("Cardinal"),
                      [get](M& m) { return M::Published(get(m)); }, nullptr, false);
        };
        figure("AlocatedMemory", [](const M& m) { return m.AlocatedMemory(); });
        figure("AvailMemory", [](const M& m) { return m.AvailMemory(); });
        figure("MemoryLoad", [](const M& m) { return m.Status().MemoryLoad; });
        figure("TotalPhys", [](const M& m) { return m.Status().TotalPhys; });
        figure("AvailPhys", [](const M& m) { return m.Status().AvailPhys; });
        figure("TotalPageFile", [](const M& m) { return m.Status().TotalPageFile; });
        figure("AvailPageFile", [](const M& m) { return m.Status().AvailPageFile; });
        figure("TotalVirtual", [](const M& m) { return m.Status().TotalVirtual; });
        figure("AvailVirtual", [](const M& m) { return m.Status().AvailVirtual; });
    });
}

} // namespace

MemoryStatus MemoryStatusFromProc(const QByteArray& meminfo, const QByteArray& selfStatus, quint64 addressSpace)
{
    MemoryStatus s;
    s.TotalPhys = procValue(meminfo, "MemTotal");
    s.AvailPhys = procValue(meminfo, "MemAvailable");
    if (s.AvailPhys == 0)
        s.AvailPhys = procValue(meminfo, "MemFree");   // kernels before 3.14
    s.AvailPhys = std::min(s.AvailPhys, s.TotalPhys);
    if (s.TotalPhys > 0)
        s.MemoryLoad = (s.TotalPhys - s.AvailPhys) * 100 / s.TotalPhys;
    const quint64 swapTotal = procValue(meminfo, "SwapTotal");
    const quint64 swapFree = std::min(procValue(meminfo, "SwapFree"), swapTotal);
    s.TotalPageFile = s.TotalPhys + swapTotal;
    s.AvailPageFile = s.AvailPhys + swapFree;
    s.TotalVirtual = addressSpace;
    s.AvailVirtual = differenceOrZero(addressSpace, procValue(selfStatus, "VmSize"));
    return s;
}

MemoryStatus ReadMemoryStatus()
{
    quint64 addressSpace = defaultAddressSpace;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        addressSpace = limit.rlim_cur;
    return MemoryStatusFromProc(readProcFile(QStringLiteral("/proc/meminfo")),
                                readProcFile(QStringLiteral("/proc/self/status")), addressSpace);
}

TClass TMemoryElement::StaticClass()
{
    static const TClassInfo info = describeMemoryElement();
    return &info;
}

void TMemoryElement::AfterConstruction()
{
    TOwnerElement::AfterConstruction();
    SetName(QStringLiteral("Memory status"));
    m_status = ReadMemoryStatus();
}

quint64 TMemoryElement::AlocatedMemory() const
{
    return differenceOrZero(m_status.TotalPhys, m_status.AvailPhys)
           + differenceOrZero(m_status.TotalPageFile, m_status.AvailPageFile);
}

quint64 TMemoryElement::AvailMemory() const
{
    const quint64 free = m_status.MemoryLoad < 100 ? 100 - m_status.MemoryLoad : 0;
    return AlocatedMemory() / 100 * free;
}

qint32 TMemoryElement::Published(quint64 value)
{
    return qint32(std::min<quint64>(value, quint64(std::numeric_limits<qint32>::max())));
}

void RegisterE_MemoryUnit()
{
    RegisterUnitClasses({TMemoryElement::StaticClass()});
}
