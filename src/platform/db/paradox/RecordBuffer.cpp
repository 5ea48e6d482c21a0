// Memory of the large byte buffers that hold the records of a whole table.
#include "platform/db/paradox/RecordBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace db::paradox {

void adviseLargePages(QByteArray& buffer)
{
#ifdef MADV_HUGEPAGE
    constexpr qsizetype kLargePage = qsizetype(2) << 20;
    if (buffer.capacity() < 2 * kLargePage)
        return;
    // The advice covers whole pages inside the buffer.
    const auto page = uintptr_t(sysconf(_SC_PAGESIZE));
    const auto begin = uintptr_t(buffer.data());
    const uintptr_t first = (begin + page - 1) / page * page;
    const uintptr_t last = (begin + uintptr_t(buffer.capacity())) / page * page;
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);   // only advice: failure is harmless
#else
    (void)buffer;
#endif
}

} // namespace db::paradox
