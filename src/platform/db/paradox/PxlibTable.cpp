// Encrypted tables: block unscrambling and blob reads through pxlib.
#include "platform/db/paradox/PxlibTable.h"

#include "platform/Exceptions.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>

extern "C" {
#include <paradox.h>
// Exported by libpx but not declared in paradox.h: unscrambles `size` bytes (a multiple
// of 256) of data block `blockno` from `src` into `dst` (may be the same buffer).
void px_decrypt_db_block(unsigned char* src, unsigned char* dst, long encryption, long size, long blockno);
}

namespace db::paradox {

namespace {

void collectError(pxdoc_t*, int, const char* msg, void* data)
{
    if (data && msg)
        *static_cast<QString*>(data) = QString::fromLocal8Bit(msg).trimmed();
}

// A read-only FILE over a .MB for pxlib (fopencookie). For a file of whole 4 KB units it
// reports one byte more at SEEK_END: pxlib 0.6.8 then skips its block scan, which
// overruns a stack buffer on real blob files.
struct ReadCookie
{
    FILE* file = nullptr;
    long position = 0;   // our own, so that ftell() agrees with the size reported at SEEK_END
    long sizeBias = 0;   // added to the size at SEEK_END
};

ssize_t cookieRead(void* c, char* buf, size_t size)
{
    auto* cookie = static_cast<ReadCookie*>(c);
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
    // Created in openBlobFileForPxlib(); the cookie FILE owns it from there.
    const std::unique_ptr<ReadCookie> cookie(static_cast<ReadCookie*>(c));
    return std::fclose(cookie->file);
}

} // namespace

FILE* openBlobFileForPxlib(const QString& path, long sizeBias)
{
    FILE* raw = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!raw)
        return nullptr;
    auto cookie = std::make_unique<ReadCookie>(ReadCookie{raw, 0, sizeBias});
    const cookie_io_functions_t io = {cookieRead, nullptr, cookieSeek, cookieClose};
    FILE* wrapped = fopencookie(cookie.get(), "rb", io);
    if (!wrapped) {
        std::fclose(raw);
        return nullptr;
    }
    cookie.release();
    return wrapped;
}

PxlibTable::PxlibTable(const QString& path) : m_path(path)
{
    m_file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!m_file)
        fail(QStringLiteral("soubor nelze otevřít"));
    m_doc = PX_new3(collectError, nullptr, nullptr, nullptr, &m_error);
    if (!m_doc || PX_open_fp(m_doc, m_file) < 0)
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

void PxlibTable::openBlobFile(const QString& blobPath)
{
    // Only files of whole 4 KB units need the size trick (pxlib's own are not).
    const long sizeBias = QFileInfo(blobPath).size() % 4096 == 0 ? 1 : 0;
    FILE* wrapped = openBlobFileForPxlib(blobPath, sizeBias);
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

void decryptBlocks(QByteArray& file, const HeaderInfo& header)
{
    auto* bytes = reinterpret_cast<unsigned char*>(file.data());
    for (int block = 1; block <= header.blocksInFile; ++block) {
        unsigned char* at = bytes + header.headerSize + qsizetype(block - 1) * header.blockSize;
        px_decrypt_db_block(at, at, long(header.encryptionKey), header.blockSize, block);
    }
}

} // namespace db::paradox
