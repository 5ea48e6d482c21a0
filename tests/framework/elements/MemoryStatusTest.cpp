// Tests of the memory status element: reading the system's figures and publishing them.
#include "framework/elements/MemoryStatus.h"

#include "framework/core/ClassRegistry.h"

#include <gtest/gtest.h>

namespace {

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
    EXPECT_EQ(memory->AlocatedMemory(), 107374182400u);   // 48 GiB physical + 52 GiB page file in use
    EXPECT_EQ(memory->AvailMemory(), 26843545600u);      // a quarter of that, by the 75 % load
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
