// Memory of the large byte buffers that hold the records of a whole table.
#include "platform/db/paradox/RecordBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace db::paradox {

namespace {

constexpr qsizetype kLargePage = qsizetype(2) << 20;

// Advises the whole pages inside [begin, begin + size).
void adviseRange(char* begin, qsizetype size)
{
#ifdef MADV_HUGEPAGE
    const auto page = uintptr_t(sysconf(_SC_PAGESIZE));
    const auto start = uintptr_t(begin);
    const uintptr_t first = (start + page - 1) / page * page;
    const uintptr_t last = (start + uintptr_t(size)) / page * page;
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);   // only advice: failure is harmless
#else
    (void)begin;
    (void)size;
#endif
}

} // namespace

void adviseLargePages(QByteArray& buffer)
{
    if (buffer.capacity() >= 2 * kLargePage)
        adviseRange(buffer.data(), buffer.capacity());
}

} // namespace db::paradox
