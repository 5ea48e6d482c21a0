// Memory of the large byte buffers that hold the records of a whole table.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace db::paradox {

// Asks the system to back the whole capacity of a buffer of tens of megabytes with large pages
// where it offers them: writing it then takes a few page faults instead of thousands. Only for
// a buffer that has pages of its own (an allocation far above the allocator's mapping
// threshold); it must not be shared. Its bytes do not change. Does nothing for a small buffer.
void adviseLargePages(QByteArray& buffer);

// The bytes of a file image, filled once and written. An image of several megabytes gets pages
// of its own, backed by large pages where the system offers them; a smaller one is a plain
// allocation. The bytes start undefined. Raises std::bad_alloc.
class ImageBuffer
{
public:
    explicit ImageBuffer(qsizetype size);
    ~ImageBuffer();
    ImageBuffer(const ImageBuffer&) = delete;
    ImageBuffer& operator=(const ImageBuffer&) = delete;

    char* data() { return m_data; }
    QByteArrayView view() const { return QByteArrayView(m_data, m_size); }

private:
    QByteArray m_small;
    char* m_data = nullptr;
    qsizetype m_size = 0;
    bool m_isMapped = false;
};

} // namespace db::paradox
