// Memory of the large byte buffers that hold the records of a whole table.
#pragma once

#include <QByteArray>

namespace db::paradox {

// Asks the system to back the whole capacity of a buffer of tens of megabytes with large pages
// where it offers them: writing it then takes a few page faults instead of thousands. Only for
// a buffer that has pages of its own (an allocation far above the allocator's mapping
// threshold); it must not be shared. Its bytes do not change. Does nothing for a small buffer.
void adviseLargePages(QByteArray& buffer);

} // namespace db::paradox
