// The file operations of a save, one call per step, behind a seam that tests replace.
#include "platform/files/FileOps.h"

#include "platform/Exceptions.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <vector>

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

namespace files {

namespace {

FileOps g_realOps;
FileOps* g_ops = &g_realOps;

[[noreturn]] void fail(const QString& what, const QString& path)
{
    throw EFileError(QStringLiteral("%1 \"%2\": %3").arg(what, path, QString::fromLocal8Bit(std::strerror(errno))));
}

// An open descriptor, closed on every path.
class Descriptor
{
public:
    Descriptor(const QString& path, int flags) : m_fd(::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0644)) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd() const { return m_fd; }
    // Closes and reports whether the close succeeded (a failed close may lose written data).
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

void syncAndClose(Descriptor& file, const QString& path)
{
    if (::fsync(file.fd()) != 0 || !file.close())
        fail(QStringLiteral("Nelze zapsat soubor"), path);
}

void syncDirectoryOf(const QString& path)
{
    Descriptor dir(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY);
    if (dir.fd() >= 0)
        ::fsync(dir.fd());   // best effort: some file systems refuse it for directories
}

} // namespace

void FileOps::writeFile(const QString& path, std::span<const QByteArrayView> pieces)
{
    Descriptor file(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (file.fd() < 0)
        fail(QStringLiteral("Nelze vytvořit soubor"), path);
    // Gathered writes of at most IOV_MAX pieces; a short write resumes inside its piece.
    const auto batchMax = size_t(std::max(1L, std::min(sysconf(_SC_IOV_MAX), 1024L)));
    std::vector<iovec> batch;
    batch.reserve(std::min(batchMax, pieces.size()));
    size_t next = 0;      // the first piece not wholly written
    qsizetype done = 0;   // bytes of that piece written
    qint64 offset = 0;
    while (next < pieces.size()) {
        batch.clear();
        for (size_t i = next; i < pieces.size() && batch.size() < batchMax; ++i) {
            const qsizetype skip = i == next ? done : 0;
            if (pieces[i].size() > skip)
                batch.push_back({const_cast<char*>(pieces[i].data()) + skip, size_t(pieces[i].size() - skip)});
        }
        if (batch.empty())
            break;
        const ssize_t n = ::pwritev(file.fd(), batch.data(), int(batch.size()), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(QStringLiteral("Nelze zapsat soubor"), path);
        offset += n;
        for (qint64 left = n; next < pieces.size();) {
            const qsizetype rest = pieces[next].size() - done;
            if (left < rest) {
                done += qsizetype(left);
                break;
            }
            left -= rest;
            ++next;
            done = 0;
        }
    }
    syncAndClose(file, path);
}

qint64 FileOps::append(const QString& path, QByteArrayView data)
{
    Descriptor file(path, O_WRONLY | O_CREAT | O_APPEND);
    if (file.fd() < 0)
        fail(QStringLiteral("Nelze otevřít soubor"), path);
    // Each write goes to the end of the file in one step; the first one fixes where the data starts.
    qint64 start = -1;
    qint64 done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(file.fd(), data.data() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(QStringLiteral("Nelze zapsat soubor"), path);
        if (start < 0)
            start = qint64(::lseek(file.fd(), 0, SEEK_CUR)) - n;
        done += n;
    }
    if (start < 0)
        start = qint64(::lseek(file.fd(), 0, SEEK_END));
    syncAndClose(file, path);
    return start;
}

void FileOps::resize(const QString& path, qint64 size)
{
    if (::truncate(QFile::encodeName(path).constData(), off_t(size)) != 0)
        fail(QStringLiteral("Nelze zkrátit soubor"), path);
}

void FileOps::replace(const QString& from, const QString& to)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        fail(QStringLiteral("Nelze přejmenovat soubor"), from);
    syncDirectoryOf(to);
}

void FileOps::remove(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        fail(QStringLiteral("Nelze smazat soubor"), path);
}

FileOps& fileOps()
{
    return *g_ops;
}

ScopedFileOps::ScopedFileOps(FileOps& ops) : m_previous(g_ops)
{
    g_ops = &ops;
}

ScopedFileOps::~ScopedFileOps()
{
    g_ops = m_previous;
}

} // namespace files
