// Memory status element: one snapshot of the system's memory figures, published as properties.
#pragma once

#include "framework/core/Elements.h"

#include <QByteArray>

// The memory-status record of the original, kept in 64 bits (machines have more than 4 GB).
struct MemoryStatus {
    quint64 Length = 32;        // size of the original record in bytes
    quint64 MemoryLoad = 0;     // percent of physical memory in use, 0..100
    quint64 TotalPhys = 0;      // bytes
    quint64 AvailPhys = 0;
    quint64 TotalPageFile = 0;  // physical memory plus swap
    quint64 AvailPageFile = 0;
    quint64 TotalVirtual = 0;   // the process's address space
    quint64 AvailVirtual = 0;
};

// The record from the texts of /proc/meminfo and /proc/self/status and the size of the address
// space; fields that the texts lack stay 0.
MemoryStatus MemoryStatusFromProc(const QByteArray& meminfo, const QByteArray& selfStatus, quint64 addressSpace);
// The record of this machine and process now.
MemoryStatus ReadMemoryStatus();

// A snapshot of the memory status, taken once when the element is created (named "Memory
// status"). The published figures are clamped to 0..2147483647, the range a published 32-bit
// property can show.
class TMemoryElement : public TOwnerElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void AfterConstruction() override;

    const MemoryStatus& Status() const { return m_status; }
    void SetStatus(const MemoryStatus& status) { m_status = status; }

    // (total - available) of physical memory plus that of the page file; a part whose available
    // amount exceeds its total counts 0 (the original raised an overflow error).
    quint64 AlocatedMemory() const;
    // (AlocatedMemory div 100) * (100 - memory load).
    quint64 AvailMemory() const;

    // A figure as a published property shows it.
    static qint32 Published(quint64 value);

private:
    MemoryStatus m_status;
};

// Registers the classes of this unit (TMemoryElement).
void RegisterE_MemoryUnit();
