// Reading an encrypted Paradox table through pxlib: raw decrypted records and blobs.
#include "platform/db/paradox/PxlibTable.h"

#include "platform/Exceptions.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <csignal>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <memory>

extern "C" {
#include <paradox.h>
}

namespace db::paradox {

namespace {

void collectError(pxdoc_t*, int, const char* msg, void* data)
{
    if (data && msg)
        *static_cast<QString*>(data) = QString::fromLocal8Bit(msg).trimmed();
}

// Set in the child process that reads an encrypted table (see readRecordsIsolated).
bool g_isReadingChild = false;
constexpr int kExitBudgetSpent = 3;
constexpr int kExitFailed = 4;

// A read-only FILE over a table file for pxlib (fopencookie).
// - For a .MB of whole 4 KB units it reports one byte more at SEEK_END: pxlib 0.6.8 then
//   skips its block scan, which overruns a stack buffer on real blob files.
// - For the .DB it counts the bytes read against a budget: pxlib walks the decrypted
//   block chain without a cycle check and loops forever on a damaged file (it ignores
//   failed reads). In the reading child process (readRecordsIsolated) a spent budget
//   ends the child.
struct ReadCookie
{
    FILE* file = nullptr;
    long position = 0;          // our own, so that ftell() agrees with the size reported at SEEK_END
    long sizeBias = 0;          // added to the size at SEEK_END
    int64_t* budget = nullptr;  // bytes still allowed; nullptr = no limit
};

ssize_t cookieRead(void* c, char* buf, size_t size)
{
    auto* cookie = static_cast<ReadCookie*>(c);
    if (cookie->budget) {
        if (*cookie->budget <= 0) {
            if (g_isReadingChild)
                _exit(kExitBudgetSpent);
            return 0;
        }
        size = size_t(std::min<int64_t>(int64_t(size), *cookie->budget));
        *cookie->budget -= int64_t(std::max<size_t>(size, 1));   // reads past the end count too
    }
    if (std::fseek(cookie->file, cookie->position, SEEK_SET) != 0)
        return 0;
    const size_t n = std::fread(buf, 1, size, cookie->file);
    cookie->position += long(n);
    return ssize_t(n);
}

int cookieSeek(void* c, off64_t* offset, int whence)
{
    auto* cookie = static_cast<ReadCookie*>(c);
    long base = 0;
    if (whence == SEEK_CUR) {
        base = cookie->position;
    } else if (whence == SEEK_END) {
        if (std::fseek(cookie->file, 0, SEEK_END) != 0)
            return -1;
        base = std::ftell(cookie->file) + cookie->sizeBias;
    }
    if (base + long(*offset) < 0)
        return -1;
    cookie->position = base + long(*offset);
    *offset = cookie->position;
    return 0;
}

int cookieClose(void* c)
{
    // Created in openCookie(); the cookie FILE owns it from there.
    const std::unique_ptr<ReadCookie> cookie(static_cast<ReadCookie*>(c));
    return std::fclose(cookie->file);
}

FILE* openCookie(const QString& path, long sizeBias, int64_t* budget)
{
    FILE* raw = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!raw)
        return nullptr;
    auto cookie = std::make_unique<ReadCookie>(ReadCookie{raw, 0, sizeBias, budget});
    const cookie_io_functions_t io = {cookieRead, nullptr, cookieSeek, cookieClose};
    FILE* wrapped = fopencookie(cookie.get(), "rb", io);
    if (!wrapped) {
        std::fclose(raw);
        return nullptr;
    }
    cookie.release();
    if (budget)
        std::setvbuf(wrapped, nullptr, _IONBF, 0);   // the budget then counts what pxlib asks for
    return wrapped;
}

} // namespace

PxlibTable::PxlibTable(const QString& path) : m_path(path)
{
    m_file = openCookie(path, 0, &m_readBudget);
    if (!m_file)
        fail(QStringLiteral("soubor nelze otevřít"));
    m_doc = PX_new3(collectError, nullptr, nullptr, nullptr, &m_error);
    // Opening reads the header and each block header of the chain once.
    m_readBudget = 2 * int64_t(QFileInfo(path).size()) + 65536;
    if (!m_doc || PX_open_fp(m_doc, m_file) < 0 || m_readBudget <= 0)
        fail(QStringLiteral("zašifrovanou tabulku nelze přečíst (%1)").arg(m_error));
}

PxlibTable::~PxlibTable()
{
    if (m_doc) {
        PX_close(m_doc);
        PX_delete(m_doc);
    }
    if (m_file)
        std::fclose(m_file);   // pxlib never closes a FILE it was given
}

void PxlibTable::fail(const QString& reason) const
{
    throw EDatabaseError(QStringLiteral("Tabulka \"%1\" je poškozená: %2").arg(QFileInfo(m_path).fileName(), reason));
}

int PxlibTable::recordCount() const
{
    return PX_get_num_records(m_doc);
}

int PxlibTable::recordSize() const
{
    return PX_get_recordsize(m_doc);
}

QByteArray PxlibTable::readRecords() const
{
    const int count = recordCount();
    const int size = recordSize();
    QByteArray records(qsizetype(count) * size, '\0');
    // Finding a record's block may walk (and decrypt) the whole chain once.
    const int64_t perRecord = 4 * int64_t(m_doc->px_head->px_fileblocks + 2) * 32768;
    for (int i = 0; i < count; ++i) {
        m_readBudget = perRecord;
        if (!PX_get_record(m_doc, i, records.data() + qsizetype(i) * size) || m_readBudget <= 0)
            fail(QStringLiteral("záznam %1 nelze přečíst (%2)").arg(i + 1).arg(m_error));
    }
    return records;
}

void PxlibTable::openBlobFile(const QString& blobPath)
{
    // Only files of whole 4 KB units need the size trick (pxlib's own are not).
    const long sizeBias = QFileInfo(blobPath).size() % 4096 == 0 ? 1 : 0;
    FILE* wrapped = openCookie(blobPath, sizeBias, nullptr);
    if (!wrapped)
        throw EDatabaseError(QStringLiteral("Soubor \"%1\" nelze otevřít").arg(blobPath));
    // With the size trick pxlib reports "not a multiple of 4 kB" and fails, yet attaches
    // the file and reads it correctly.
    PX_set_blob_fp(m_doc, wrapped);
    if (!m_doc->px_blob || !m_doc->px_blob->mb_stream) {
        std::fclose(wrapped);
        throw EDatabaseError(QStringLiteral("Soubor \"%1\" je poškozený: %2").arg(QFileInfo(blobPath).fileName(), m_error));
    }
    m_doc->px_blob->mb_stream->close = 1;   // PX_close closes the cookie FILE
    m_isBlobFileOpen = true;
}

QByteArray PxlibTable::readBlob(const QString& blobPath, const FieldDef& field, const char* record)
{
    if (!m_isBlobFileOpen)
        openBlobFile(blobPath);
    int mod = 0;
    int size = 0;
    char* value = nullptr;
    const int rc = PX_get_data_blob(m_doc, record + field.offset, field.width, &mod, &size, &value);
    if (rc < 0 || (rc > 0 && !value)) {
        if (value)
            m_doc->free(m_doc, value);
        throw EDatabaseError(QStringLiteral("Soubor \"%1\" je poškozený: %2").arg(QFileInfo(blobPath).fileName(), m_error));
    }
    QByteArray bytes = value ? QByteArray(value, size) : QByteArray();
    if (value)
        m_doc->free(m_doc, value);
    return bytes;
}

} // namespace db::paradox

namespace db::paradox {

namespace {

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

[[noreturn]] void runReadingChild(const QString& path, int count, int size, int fd)
{
    g_isReadingChild = true;
    try {
        const PxlibTable table(path);
        if (table.recordCount() != count || table.recordSize() != size)
            _exit(kExitFailed);
        const QByteArray records = table.readRecords();
        _exit(writeAll(fd, records.constData(), records.size()) ? 0 : kExitFailed);
    } catch (...) {
        _exit(kExitFailed);
    }
}

// Reads the child's output; false on a timeout (the child is then killed).
bool readFromChild(int fd, pid_t child, QByteArray& out, qsizetype expected)
{
    constexpr int kTimeoutMs = 120000;
    out.reserve(expected);
    char buffer[65536];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, kTimeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            ::kill(child, SIGKILL);
            return false;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;
        out.append(buffer, n);
        if (out.size() > expected)
            return true;
    }
}

} // namespace

QByteArray PxlibTable::readRecordsIsolated(const QString& path, int count, int size)
{
    const QString name = QFileInfo(path).fileName();
    const auto fail = [&name](const QString& reason) {
        throw EDatabaseError(QStringLiteral("Tabulka \"%1\" je poškozená: %2").arg(name, reason));
    };
    int fds[2];
    if (::pipe(fds) != 0)
        fail(QStringLiteral("nelze spustit čtení zašifrované tabulky"));
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        fail(QStringLiteral("nelze spustit čtení zašifrované tabulky"));
    }
    if (child == 0) {
        ::close(fds[0]);
        runReadingChild(path, count, size, fds[1]);
    }
    ::close(fds[1]);
    QByteArray records;
    const bool isComplete = readFromChild(fds[0], child, records, qsizetype(count) * size);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!isComplete || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || records.size() != qsizetype(count) * size)
        fail(QStringLiteral("zašifrovanou tabulku nelze přečíst"));
    return records;
}

} // namespace db::paradox
