// Reading a Paradox table (.DB) with its blob file (.MB): validated, held in memory as raw records.
//
// Header (little-endian) as this reader uses it:
//   00 u16 record size       02 u16 header size      04 u8 file type (0 keyed, 2 unkeyed)
//   05 u8  block size in KB  06 u32 record count     0A u16 blocks in use
//   0C u16 blocks in file    0E u16 first block      10 u16 last block
//   21 u16 field count       23 u16 key fields       25 u32 L3 encryption / L4+ FF00FF00
//   29 u8  sort order        39 u8  version id       49 u32 highest auto-increment
//   5C u32 L4+ encryption    6A u16 L4+ code page
// Field (type, width) pairs from 0x78 (L4+) or 0x58 (L3); then 4 + 4n pointer bytes, the
// table name (261 bytes from version 12, else 79) and the NUL-terminated field names.
// Data block k (from 1) lies at header size + (k - 1) * block size:
//   +0 u16 next, +2 u16 prev, +4 i16 (records - 1) * record size, records from +6.
#include "platform/db/paradox/ParadoxFile.h"

#include "platform/Exceptions.h"
#include "platform/db/paradox/BlobFile.h"
#include "platform/db/paradox/PxlibTable.h"
#include "platform/db/paradox/TableFiles.h"
#include "platform/files/ByteOrder.h"
#include "platform/text/Case.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <vector>

namespace db::paradox {

namespace {

int g_defaultCodePage = 1250;

QStringList& passwordList()
{
    static QStringList list;
    return list;
}

class HeaderReader
{
public:
    HeaderReader(const QString& path, const QByteArray& data) : m_path(path), m_data(data) {}

    [[noreturn]] void fail(const QString& reason) const
    {
        throw EDatabaseError(QStringLiteral("Tabulka \"%1\" je poškozená: %2").arg(QFileInfo(m_path).fileName(), reason));
    }
    void need(qsizetype end, qsizetype limit) const
    {
        if (end > limit)
            fail(QStringLiteral("hlavička je zkrácená"));
    }
    unsigned u8(qsizetype at) const { return static_cast<unsigned char>(m_data[at]); }
    unsigned u16(qsizetype at) const { return files::readLe16(m_data, at); }
    uint32_t u32(qsizetype at) const { return files::readLe32(m_data, at); }
    int i16(qsizetype at) const { return static_cast<int16_t>(u16(at)); }

    HeaderInfo readFixed() const;
    QList<FieldDef> readFields(const HeaderInfo& h, const CodePage& cp) const;
    QByteArray readChain(const HeaderInfo& h) const;

private:
    const QString& m_path;
    const QByteArray& m_data;
};

bool isValidBlockSize(unsigned kb)
{
    return kb == 1 || kb == 2 || kb == 3 || kb == 4 || kb == 8 || kb == 16 || kb == 32;
}

HeaderInfo HeaderReader::readFixed() const
{
    need(0x78, m_data.size());
    HeaderInfo h;
    h.recordSize = int(u16(0x00));
    h.headerSize = int(u16(0x02));
    h.fileType = int(u8(0x04));
    const unsigned blockKb = u8(0x05);
    h.versionId = int(u8(0x39));
    if (h.fileType != 0 && h.fileType != 2)
        fail(QStringLiteral("soubor není datová tabulka (typ %1)").arg(h.fileType));
    if (h.versionId < 3 || h.versionId > 12)
        fail(QStringLiteral("neznámá verze %1").arg(h.versionId));
    if (!isValidBlockSize(blockKb))
        fail(QStringLiteral("neplatná velikost bloku %1 kB").arg(blockKb));
    h.blockSize = int(blockKb) * 1024;
    const uint32_t count = u32(0x06);
    h.blocksUsed = int(u16(0x0A));
    h.blocksInFile = int(u16(0x0C));
    h.firstBlock = int(u16(0x0E));
    h.lastBlock = int(u16(0x10));
    h.fieldCount = int(u16(0x21));
    h.keyFieldCount = int(u16(0x23));
    h.sortOrder = int(u8(0x29));
    h.autoIncMax = u32(0x49);
    const uint32_t crypt = u32(0x25);
    const bool isLevel4 = h.versionId >= 5;
    h.isEncrypted = (crypt != 0 && crypt != 0xFF00FF00u) || (isLevel4 && crypt == 0xFF00FF00u && u32(0x5C) != 0);
    if (h.isEncrypted)
        h.encryptionKey = crypt != 0xFF00FF00u ? crypt : u32(0x5C);
    h.codePage = isLevel4 ? int(u16(0x6A)) : 0;
    if (h.codePage == 0)
        h.codePage = g_defaultCodePage;
    if (h.recordSize <= 0 || h.recordSize > h.blockSize - 6)
        fail(QStringLiteral("neplatná délka záznamu %1").arg(h.recordSize));
    if (h.headerSize < 0x78 || h.headerSize > m_data.size())
        fail(QStringLiteral("neplatná délka hlavičky %1").arg(h.headerSize));
    if (h.fieldCount < 1 || h.fieldCount > 255)
        fail(QStringLiteral("neplatný počet polí %1").arg(h.fieldCount));
    if (h.keyFieldCount > h.fieldCount)
        fail(QStringLiteral("neplatný počet klíčových polí %1").arg(h.keyFieldCount));
    // An unkeyed file that declares key fields: a writer trusting either would damage the rows.
    if (h.fileType == 2 && h.keyFieldCount > 0)
        fail(QStringLiteral("tabulka bez klíče uvádí %1 klíčových polí").arg(h.keyFieldCount));
    const qsizetype expected = qsizetype(h.headerSize) + qsizetype(h.blocksInFile) * h.blockSize;
    if (m_data.size() != expected)
        fail(QStringLiteral("délka souboru %1 nesouhlasí s hlavičkou (%2)").arg(m_data.size()).arg(expected));
    const qsizetype capacity = qsizetype(h.blocksInFile) * ((h.blockSize - 6) / h.recordSize);
    if (count > uint32_t(INT32_MAX) || qsizetype(count) > capacity)
        fail(QStringLiteral("počet záznamů %1 se nevejde do souboru").arg(count));
    h.recordCount = int(count);
    return h;
}

QList<FieldDef> HeaderReader::readFields(const HeaderInfo& h, const CodePage& cp) const
{
    const qsizetype base = h.versionId >= 5 ? 0x78 : 0x58;
    const int n = h.fieldCount;
    need(base + 2 * n, h.headerSize);
    QList<FieldDef> fields;
    fields.reserve(n);
    int offset = 0;
    for (int i = 0; i < n; ++i) {
        const unsigned code = u8(base + 2 * i);
        const unsigned size = u8(base + 2 * i + 1);
        if (!isKnownType(uint8_t(code)))
            fail(QStringLiteral("pole %1 má neznámý typ %2").arg(i + 1).arg(code));
        FieldDef field;
        field.type = FieldType(code);
        field.width = field.type == FieldType::Bcd ? 17 : int(size);
        field.decimals = field.type == FieldType::Bcd ? int(size) : 0;
        if (!isValidWidth(field.type, field.width) || field.decimals > 32)
            fail(QStringLiteral("pole %1 má neplatnou délku %2").arg(i + 1).arg(size));
        field.offset = offset;
        offset += field.width;
        fields.append(field);
    }
    if (offset != h.recordSize)
        fail(QStringLiteral("součet délek polí %1 nesouhlasí s délkou záznamu %2").arg(offset).arg(h.recordSize));
    qsizetype at = base + 6 * n + 4 + (h.versionId >= 12 ? 261 : 79);
    for (FieldDef& field : fields) {
        const qsizetype end = at < h.headerSize ? m_data.indexOf('\0', at) : -1;
        if (end < 0 || end >= h.headerSize)
            fail(QStringLiteral("hlavička je zkrácená"));
        field.name = cp.decode(QByteArrayView(m_data.constData() + at, end - at));
        at = end + 1;
    }
    return fields;
}

QByteArray HeaderReader::readChain(const HeaderInfo& h) const
{
    QByteArray records(qsizetype(h.recordCount) * h.recordSize, Qt::Uninitialized);
    std::vector<bool> visited(size_t(h.blocksInFile) + 1, false);
    qsizetype filled = 0;
    int visits = 0;
    int prev = 0;
    for (int block = h.firstBlock; block != 0;) {
        if (block < 1 || block > h.blocksInFile)
            fail(QStringLiteral("odkaz na blok %1 mimo soubor").arg(block));
        if (visited[size_t(block)])
            fail(QStringLiteral("řetěz bloků je zacyklený (blok %1)").arg(block));
        visited[size_t(block)] = true;
        ++visits;
        const qsizetype at = h.headerSize + qsizetype(block - 1) * h.blockSize;
        if (int(u16(at + 2)) != prev)
            fail(QStringLiteral("blok %1 má chybný odkaz na předchozí blok").arg(block));
        const int add = i16(at + 4);
        if (add % h.recordSize != 0 || add < -h.recordSize || add > h.blockSize - 6 - h.recordSize)
            fail(QStringLiteral("blok %1 má neplatnou délku dat %2").arg(block).arg(add));
        const qsizetype bytes = add + h.recordSize;
        if (filled + bytes > records.size())
            fail(QStringLiteral("bloky obsahují víc záznamů, než uvádí hlavička (%1)").arg(h.recordCount));
        std::memcpy(records.data() + filled, m_data.constData() + at + 6, size_t(bytes));
        filled += bytes;
        prev = block;
        block = int(u16(at));
    }
    if (filled != records.size())
        fail(QStringLiteral("bloky obsahují %1 záznamů, hlavička uvádí %2").arg(filled / h.recordSize).arg(h.recordCount));
    if (visits != h.blocksUsed)
        fail(QStringLiteral("řetěz má %1 bloků, hlavička uvádí %2").arg(visits).arg(h.blocksUsed));
    if (visits > 0 && prev != h.lastBlock)
        fail(QStringLiteral("poslední blok řetězu je %1, hlavička uvádí %2").arg(prev).arg(h.lastBlock));
    return records;
}

} // namespace

ParadoxFile::ParadoxFile(const QString& path) : m_path(path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw EDatabaseError(QStringLiteral("Tabulku \"%1\" nelze otevřít: není to soubor").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("Tabulku \"%1\" nelze otevřít: %2").arg(path, file.errorString()));
    // The largest header and block counts the format can express.
    constexpr qint64 kLargestTable = 0xFFFF + qint64(0xFFFF) * 32 * 1024;
    if (file.size() > kLargestTable)
        throw EDatabaseError(QStringLiteral("Tabulka \"%1\" je poškozená: soubor je příliš velký").arg(path));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EDatabaseError(QStringLiteral("Tabulku \"%1\" nelze číst: %2").arg(path, file.errorString()));
    file.close();
    const HeaderReader reader(path, data);
    m_header = reader.readFixed();
    m_codePage = &CodePage::forNumber(m_header.codePage);
    m_fields = reader.readFields(m_header, *m_codePage);
    // The blocks of an encrypted table are scrambled, block headers included: unscramble
    // them first, so that the chain is checked like any other (pxlib would loop on a cycle).
    if (m_header.isEncrypted)
        decryptBlocks(data, m_header);
    m_records = reader.readChain(m_header);
    m_headerBytes = data.left(m_header.headerSize);
    m_blobReferences = blobReferencesOf(m_fields, m_records.constData(), m_header.recordCount, m_header.recordSize);
    if (m_header.isEncrypted)
        m_pxlib = std::make_unique<PxlibTable>(m_path);   // for blobs; the chain is sound now
}

ParadoxFile::~ParadoxFile() = default;

int ParadoxFile::fieldIndex(QStringView name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (txt::sameTextLetters(m_fields[i].name, name))
            return i;
    }
    return -1;
}

bool ParadoxFile::isNull(int row, int field) const
{
    return db::paradox::isNull(m_fields.at(field), record(row));
}

QVariant ParadoxFile::value(int row, int field) const
{
    const FieldDef& f = m_fields.at(field);
    if (!isBlobType(f.type))
        return decodeValue(f, record(row), *m_codePage);
    if (db::paradox::isNull(f, record(row)))
        return QVariant();
    return blob(field, record(row));
}

bool ParadoxFile::isNeverWritten() const
{
    return m_header.fileType == 0 || m_header.keyFieldCount > 0 || m_header.isEncrypted || hasIndexFiles(m_path);
}

void ParadoxFile::forgetBlobFile(BlobReferences references)
{
    m_blobs.reset();
    m_blobReferences = std::move(references);
}

QString ParadoxFile::blobPath() const
{
    return companionFile(m_path, QStringLiteral("MB"));
}

const BlobFile& ParadoxFile::blobFile() const
{
    if (!m_blobs) {
        const QString mb = blobPath();
        if (mb.isEmpty()) {
            throw EDatabaseError(QStringLiteral("Tabulka \"%1\" je poškozená: chybí soubor %2.MB")
                                     .arg(QFileInfo(m_path).fileName(), QFileInfo(m_path).completeBaseName()));
        }
        m_blobs = std::make_unique<BlobFile>(mb, m_blobReferences);
    }
    return *m_blobs;
}

QByteArray ParadoxFile::blob(int field, const char* rec) const
{
    const FieldDef& f = m_fields.at(field);
    if (!isBlobType(f.type) || db::paradox::isNull(f, rec))
        return QByteArray();
    const BlobPointer ptr = decodeBlobPointer(f, rec);
    if (ptr.offset == 0 && ptr.length <= uint32_t(blobLeaderLength(f)))
        return payloadOf(f.type, QByteArray(blobLeader(f, rec), int(ptr.length)));
    if (m_pxlib)
        return payloadOf(f.type, m_pxlib->readBlob(encryptedBlobPath(ptr), f, rec));
    return payloadOf(f.type, blobFile().read(ptr));
}

QString ParadoxFile::encryptedBlobPath(const BlobPointer& ptr) const
{
    const QString mb = blobPath();
    if (mb.isEmpty())
        (void)blobFile();   // raises the missing-file error
    // pxlib reads a blob that runs past the end of the file with an uninitialised tail. A
    // whole block (slot 0xFF) has a 9-byte header before the data; a sub-allocated blob lies
    // somewhere in its one 4 KB unit, whose entries are scrambled: the unit must be whole.
    const qint64 block = ptr.offset & ~0xFFu;
    const bool isWholeBlock = (ptr.offset & 0xFF) == 0xFF;
    const qint64 end = isWholeBlock ? block + 9 + qint64(ptr.length) : block + BlobFileBuilder::kUnit;
    if (end > QFileInfo(mb).size()) {
        throw EDatabaseError(QStringLiteral("Soubor \"%1\" je poškozený: data bloku %2 přesahují konec souboru")
                                 .arg(QFileInfo(mb).fileName()).arg(block));
    }
    return mb;
}

QString ParadoxFile::memoText(int row, int field) const
{
    return m_codePage->decode(blob(row, field));
}

int defaultCodePage()
{
    return g_defaultCodePage;
}

void setDefaultCodePage(int codePage)
{
    g_defaultCodePage = codePage;
}

void addPassword(const QString& password)
{
    if (!passwordList().contains(password))
        passwordList().append(password);
}

void removePassword(const QString& password)
{
    passwordList().removeAll(password);
}

QStringList passwords()
{
    return passwordList();
}

} // namespace db::paradox
