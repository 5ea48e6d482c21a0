// Writing a whole Paradox table (.DB and its .MB) from field descriptors and raw records.
//
// Header offsets: see ParadoxFile.cpp. Fields this writer sets beyond the reader's: 3A = blocks,
// 3E-3F = 1F 0F; from level 4 on also 51 = used header bytes, 56 = 0x20, 58/5A = 0x0100 +
// version, 64 = n + 1, 66/6E = offsets - 0x58, 6C-6D = 01 01. A level-3 header ends with the
// field names; from level 4 on the field numbers and the sort-order name follow them.
#include "platform/db/paradox/ParadoxWriter.h"

#include "platform/Exceptions.h"
#include "platform/db/paradox/BlobFile.h"
#include "platform/db/paradox/CodePage.h"
#include "platform/db/paradox/FieldCodec.h"
#include "platform/db/paradox/TableFiles.h"
#include "platform/files/ByteOrder.h"
#include "platform/files/FileOps.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

namespace db::paradox {

namespace {

using files::writeLe16;
using files::writeLe32;

constexpr int kHeaderUnit = 0x800;

[[noreturn]] void fail(const QString& path, const QString& reason)
{
    throw EDatabaseError(QStringLiteral("Tabulku \"%1\" nelze zapsat: %2").arg(QFileInfo(path).fileName(), reason));
}

struct SortOrder
{
    int id;
    const char* name;
};

SortOrder sortOrderFor(int codePage)
{
    switch (codePage) {
    case 437: return {0x00, "ascii"};
    case 850: return {0x54, "intl850"};
    case 866: return {0xC0, "cyrr"};
    default: return {0x62, "ANSIINTL"};
    }
}

bool needsLevel7(FieldType type)
{
    switch (type) {
    case FieldType::Time:
    case FieldType::Timestamp:
    case FieldType::AutoInc:
    case FieldType::Bcd:
    case FieldType::Bytes:
    case FieldType::Logical:
    case FieldType::Long:
        return true;
    default:
        return false;
    }
}

int recordSizeOf(const TableContent& c)
{
    return c.fields.isEmpty() ? 0 : c.fields.back().offset + c.fields.back().width;
}

int blockSizeOf(const TableContent& c)
{
    return (c.header.size() > 5 ? int(static_cast<unsigned char>(c.header[5])) : c.blockSizeKb) * 1024;
}

void checkFields(const QString& path, const TableContent& c)
{
    if (c.fields.isEmpty() || c.fields.size() > 255)
        fail(path, QStringLiteral("neplatný počet polí %1").arg(c.fields.size()));
    if (c.keyFieldCount < 0 || c.keyFieldCount > c.fields.size())
        fail(path, QStringLiteral("neplatný počet klíčových polí %1").arg(c.keyFieldCount));
    QSet<QString> names;
    int offset = 0;
    for (const FieldDef& f : c.fields) {
        const QString key = f.name.toUpper();
        if (f.name.trimmed().isEmpty() || f.name.size() > 25 || names.contains(key))
            fail(path, QStringLiteral("neplatný název pole \"%1\"").arg(f.name));
        names.insert(key);
        if (!isValidWidth(f.type, f.width) || f.offset != offset || f.decimals < 0 || f.decimals > 32)
            fail(path, QStringLiteral("pole \"%1\" má neplatný typ nebo délku").arg(f.name));
        offset += f.width;
    }
    if (offset > blockSizeOf(c) - 6)
        fail(path, QStringLiteral("záznam je delší než blok"));
    if (c.recordCount < 0 || c.records.size() != qsizetype(c.recordCount) * offset)
        fail(path, QStringLiteral("data záznamů nesouhlasí s počtem záznamů"));
}

// Keys must be unique (a hash per row, so the check stays linear).
void checkKeys(const QString& path, const TableContent& c, int recordSize)
{
    if (c.keyFieldCount == 0)
        return;
    const FieldDef& last = c.fields[c.keyFieldCount - 1];
    const int keyBytes = last.offset + last.width;
    QSet<QByteArrayView> seen;
    seen.reserve(c.recordCount);
    for (int row = 0; row < c.recordCount; ++row) {
        const QByteArrayView key(c.records.constData() + qsizetype(row) * recordSize, keyBytes);
        if (seen.contains(key))
            fail(path, QStringLiteral("klíč záznamu %1 se opakuje").arg(row + 1));
        seen.insert(key);
    }
}

uint32_t highestAutoInc(const TableContent& c, int recordSize)
{
    uint32_t highest = c.autoIncMax;
    for (const FieldDef& f : c.fields) {
        if (f.type != FieldType::AutoInc)
            continue;
        for (int row = 0; row < c.recordCount; ++row) {
            const char* rec = c.records.constData() + qsizetype(row) * recordSize;
            if (!isNull(f, rec) && decodeLong(f, rec) > 0)
                highest = std::max(highest, uint32_t(decodeLong(f, rec)));
        }
    }
    return highest;
}

// The counts of a header: those that change with the rows.
void putCounts(QByteArray& h, int recordCount, int blocks, uint32_t autoIncMax)
{
    writeLe32(h, 0x06, uint32_t(recordCount));
    writeLe16(h, 0x0A, uint16_t(blocks));
    writeLe16(h, 0x0C, uint16_t(blocks));
    writeLe16(h, 0x0E, blocks > 0 ? 1 : 0);
    writeLe16(h, 0x10, uint16_t(blocks));
    writeLe16(h, 0x3A, uint16_t(blocks));
    writeLe32(h, 0x49, autoIncMax);
    writeLe16(h, 0x4D, 0);   // no free blocks: the chain is packed
}

int versionFor(const TableContent& c)
{
    const bool needs7 = std::any_of(c.fields.cbegin(), c.fields.cend(), [](const FieldDef& f) { return needsLevel7(f.type); });
    return std::clamp(needs7 ? std::max(c.versionId, 12) : c.versionId, 3, 12);
}

QByteArray buildHeader(const QString& path, const TableContent& c, int recordSize)
{
    const CodePage& cp = CodePage::forNumber(c.codePage);
    const int n = int(c.fields.size());
    const int version = versionFor(c);
    const bool isLevel4 = version >= 5;
    const qsizetype base = isLevel4 ? 0x78 : 0x58;
    const qsizetype nameSize = version >= 12 ? 261 : 79;
    const SortOrder order = sortOrderFor(cp.number());
    QByteArray names;
    for (const FieldDef& f : c.fields)
        names += cp.encode(f.name) + '\0';
    const qsizetype namesAt = base + 6 * n + 4 + nameSize;
    const qsizetype numbersAt = namesAt + names.size();
    const qsizetype orderAt = numbersAt + 2 * n;
    const qsizetype used = isLevel4 ? orderAt + qsizetype(std::strlen(order.name)) + 1 : numbersAt;
    const qsizetype headerSize = (used + kHeaderUnit - 1) / kHeaderUnit * kHeaderUnit;
    if (headerSize > 0xFFFF)
        fail(path, QStringLiteral("hlavička je příliš dlouhá"));

    QByteArray h(headerSize, '\0');
    writeLe16(h, 0x00, uint16_t(recordSize));
    writeLe16(h, 0x02, uint16_t(headerSize));
    h[0x04] = char(c.keyFieldCount > 0 ? 0 : 2);
    h[0x05] = char(c.blockSizeKb);
    writeLe16(h, 0x21, uint16_t(n));
    writeLe16(h, 0x23, uint16_t(c.keyFieldCount));
    writeLe32(h, 0x25, isLevel4 ? 0xFF00FF00u : 0);
    h[0x29] = char(order.id);
    h[0x39] = char(version);
    h[0x3E] = 0x1F;
    h[0x3F] = 0x0F;
    for (int i = 0; i < n; ++i) {
        const FieldDef& f = c.fields[i];
        h[base + 2 * i] = char(f.type);
        h[base + 2 * i + 1] = char(f.type == FieldType::Bcd ? f.decimals : f.width);
    }
    const QByteArray tableName = cp.encode(QFileInfo(path).fileName(), int(nameSize) - 1);
    std::memcpy(h.data() + base + 6 * n + 4, tableName.constData(), size_t(tableName.size()));
    std::memcpy(h.data() + namesAt, names.constData(), size_t(names.size()));
    if (isLevel4) {
        writeLe16(h, 0x51, uint16_t(used));
        h[0x56] = 0x20;
        writeLe16(h, 0x58, uint16_t(0x0100 + version));
        writeLe16(h, 0x5A, uint16_t(0x0100 + version));
        writeLe16(h, 0x64, uint16_t(n + 1));
        writeLe16(h, 0x66, uint16_t(numbersAt - 0x58));
        writeLe16(h, 0x6A, uint16_t(cp.number()));
        h[0x6C] = 1;
        h[0x6D] = 1;
        writeLe16(h, 0x6E, uint16_t(orderAt - 0x58));
        for (int i = 0; i < n; ++i)
            writeLe16(h, numbersAt + 2 * i, uint16_t(i + 1));
        std::memcpy(h.data() + orderAt, order.name, std::strlen(order.name));
    }
    return h;
}

bool needsPlacing(const FieldDef& f, const char* rec)
{
    if (!isBlobType(f.type) || isNull(f, rec))
        return false;
    const BlobPointer ptr = decodeBlobPointer(f, rec);
    return ptr.offset == 0 && (f.type == FieldType::Graphic || ptr.length > uint32_t(blobLeaderLength(f)));
}

// Moves every blob still to be placed into `mb` and points the record at it. Answers whether
// any record addresses the .MB afterwards.
bool placeBlobs(const QString& path, const TableContent& c, QByteArray& records, int recordSize,
                BlobFileBuilder& mb)
{
    bool isAddressed = false;
    for (int i = 0; i < c.fields.size(); ++i) {
        const FieldDef& f = c.fields[i];
        if (!isBlobType(f.type))
            continue;
        for (int row = 0; row < c.recordCount; ++row) {
            char* rec = records.data() + qsizetype(row) * recordSize;
            if (!needsPlacing(f, rec)) {
                isAddressed = isAddressed || (!isNull(f, rec) && decodeBlobPointer(f, rec).offset != 0);
                continue;
            }
            const QByteArray payload = c.blobPayload ? c.blobPayload(i, rec, row) : QByteArray();
            if (payload.isEmpty())
                fail(path, QStringLiteral("chybí obsah pole \"%1\" v záznamu %2").arg(f.name).arg(row + 1));
            encodeBlob(f, rec, payload);
            QByteArray stored = payload;
            if (f.type == FieldType::Graphic) {
                QByteArray prefix(8, '\0');
                prefix[0] = 1;
                prefix[3] = 1;
                writeLe32(prefix, 4, uint32_t(payload.size()));
                stored.prepend(prefix);
            }
            char* pointer = rec + f.offset + blobLeaderLength(f);
            writeLe32(pointer, mb.add(stored, f.type == FieldType::Graphic));
            writeLe16(pointer + 8, 1);   // modification number
            isAddressed = true;
        }
    }
    return isAddressed;
}

QByteArray buildHeaderFor(const QString& path, const TableContent& c, int recordSize, int blocks)
{
    const bool keepsHeader = c.header.size() >= 0x78 && files::readLe16(c.header, 0x00) == recordSize;
    QByteArray header = keepsHeader ? c.header : buildHeader(path, c, recordSize);
    putCounts(header, c.recordCount, blocks, highestAutoInc(c, recordSize));
    return header;
}

// The file of a table as pieces to write one after another: the header, then per block its
// six bytes of links and size, its records and zeros after them (no stale bytes after the rows).
// The pieces point into `header`, `records` and the layout itself.
class TableLayout
{
public:
    TableLayout(const QByteArray& header, const TableContent& c, const QByteArray& records, int recordSize)
    {
        const int blockSize = blockSizeOf(c);
        const int perBlock = (blockSize - 6) / recordSize;
        const qsizetype blocks = (qsizetype(c.recordCount) + perBlock - 1) / perBlock;
        m_links.resize(blocks * 6);
        m_zeros = QByteArray(blockSize, '\0');
        m_pieces.reserve(size_t(1 + 3 * blocks));
        m_pieces.push_back(header);
        for (qsizetype b = 0; b < blocks; ++b) {
            char* links = m_links.data() + b * 6;
            const int first = int(b * perBlock);
            const int count = std::min(perBlock, c.recordCount - first);
            writeLe16(links, b + 1 < blocks ? uint16_t(b + 2) : 0);
            writeLe16(links + 2, uint16_t(b));
            writeLe16(links + 4, uint16_t(int16_t((count - 1) * recordSize)));
            const qsizetype used = qsizetype(count) * recordSize;
            m_pieces.emplace_back(links, 6);
            m_pieces.emplace_back(records.constData() + qsizetype(first) * recordSize, used);
            if (blockSize - 6 > used)
                m_pieces.emplace_back(m_zeros.constData(), blockSize - 6 - used);
        }
    }
    TableLayout(const TableLayout&) = delete;
    TableLayout& operator=(const TableLayout&) = delete;

    std::span<const QByteArrayView> pieces() const { return m_pieces; }

private:
    QByteArray m_links;
    QByteArray m_zeros;
    std::vector<QByteArrayView> m_pieces;
};

QString blobPathFor(const QString& dbPath)
{
    const QString existing = companionFile(dbPath, QStringLiteral("MB"));
    if (!existing.isEmpty())
        return existing;
    const QFileInfo info(dbPath);
    const bool isLower = info.suffix() == info.suffix().toLower() && !info.suffix().isEmpty();
    return info.dir().filePath(info.completeBaseName() + (isLower ? QStringLiteral(".mb") : QStringLiteral(".MB")));
}

// A temporary name beside `path`, on the same file system so that the rename is atomic.
QString temporaryPathFor(const QString& path)
{
    const QFileInfo info(path);
    return info.dir().filePath(QStringLiteral(".%1.~new").arg(info.fileName()));
}

// The size of a .MB that new blocks can follow, or -1 when there is no usable one.
qint64 appendableSize(const QString& mbPath)
{
    const QFileInfo info(mbPath);
    if (!info.isFile() || info.size() < BlobFileBuilder::kUnit)
        return -1;
    QFile file(mbPath);
    char type = 1;
    return file.open(QIODevice::ReadOnly) && file.getChar(&type) && type == 0 ? info.size() : -1;
}

// Replaces `path` with the pieces through a temporary file; `check` (if any) runs right before
// the rename. Answers the stamp of the new file.
FileStamp replaceFile(const QString& path, std::span<const QByteArrayView> pieces, const std::function<void()>& check = {})
{
    files::FileOps& ops = files::fileOps();
    const QString temporary = temporaryPathFor(path);
    try {
        ops.writeFile(temporary, pieces);
        if (QFileInfo::exists(path))   // the new file keeps the old one's permissions
            QFile::setPermissions(temporary, QFileInfo(path).permissions());
        const FileStamp stamp = stampOf(temporary);   // a rename keeps it
        if (check)
            check();
        ops.replace(temporary, path);
        return stamp;
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

FileStamp replaceFile(const QString& path, QByteArrayView data, const std::function<void()>& check = {})
{
    return replaceFile(path, std::span(&data, 1), check);
}

// After the new .DB is in place: drop or empty a .MB that nothing addresses. Best effort: the
// table is saved, a left-over .MB only takes space.
void tidyBlobFile(const QString& mbPath, bool hasBlobFields, bool isAddressed)
{
    if (isAddressed || !QFileInfo(mbPath).isFile())
        return;
    try {
        if (!hasBlobFields)
            files::fileOps().remove(mbPath);
        else if (QFileInfo(mbPath).size() > BlobFileBuilder::kUnit)
            replaceFile(mbPath, BlobFileBuilder(0).data());
    } catch (const Exception&) {
    }
}

// New blocks of a save at the end of the .MB.
struct BlobAppend
{
    qint64 planned = -1;   // where the blocks must start: the blob pointers say so
    qint64 start = -1;     // where they went, -1 before the append
    QByteArray blocks;
};

// The .MB holds from `start` on nothing but this save's blocks, or a first part of them (a
// failed write): nobody wrote there since. Compared by content, as a stamp taken after the
// write could already show another program's write.
bool holdsOnlyOurBlocks(const QString& mbPath, const BlobAppend& append)
{
    QFile file(mbPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() < append.start
        || file.size() > append.start + append.blocks.size() || !file.seek(append.start))
        return false;
    return file.readAll() == append.blocks.left(file.size() - append.start);
}

// After a failed save: cuts the .MB back to where this save's blocks start (a .MB it created
// goes) when nobody wrote after them (their blobs stay). Best effort: nothing addresses them.
void cutBack(const QString& mbPath, const BlobAppend& append)
{
    if (append.start < 0 || !holdsOnlyOurBlocks(mbPath, append))
        return;
    try {
        if (append.start == 0)
            files::fileOps().remove(mbPath);
        else
            files::fileOps().resize(mbPath, append.start);
    } catch (const Exception&) {
    }
}

// Appends the new blocks to the .MB; a .MB another program extended meanwhile refuses the save.
void appendBlobs(const QString& path, const QString& mbPath, BlobAppend& append, const std::function<void()>& check)
{
    if (check)
        check();
    // Until the append reports where the blocks went, a failure cuts back to the planned end.
    append.start = append.planned;
    append.start = files::fileOps().append(mbPath, append.blocks);
    if (append.start != append.planned) {
        if (check)
            check();   // the other program's .DB changed too: the usual refusal
        fail(path, QStringLiteral("soubor blobů mezitím změnil jiný program"));
    }
}

} // namespace

WrittenTable writeTable(const QString& path, const TableContent& content)
{
    if (hasIndexFiles(path))
        fail(path, QStringLiteral("tabulka má indexové soubory"));
    checkFields(path, content);
    const int recordSize = recordSizeOf(content);
    checkKeys(path, content, recordSize);
    const TableLock lock(path);
    const bool hasBlobFields = std::any_of(content.fields.cbegin(), content.fields.cend(),
                                           [](const FieldDef& f) { return isBlobType(f.type); });
    const QString mbPath = blobPathFor(path);
    const qint64 mbSize = hasBlobFields ? appendableSize(mbPath) : -1;
    const bool isMbMissing = hasBlobFields && !QFileInfo::exists(mbPath);
    const qint64 base = mbSize < 0 ? 0 : (mbSize + BlobFileBuilder::kUnit - 1) / BlobFileBuilder::kUnit * BlobFileBuilder::kUnit;
    BlobFileBuilder mb(base);
    QByteArray records = content.records;
    const bool isAddressed = hasBlobFields && placeBlobs(path, content, records, recordSize, mb);
    const int perBlock = (blockSizeOf(content) - 6) / recordSize;
    const qsizetype blocks = (qsizetype(content.recordCount) + perBlock - 1) / perBlock;
    if (blocks > 0xFFFF)
        fail(path, QStringLiteral("tabulka je příliš velká"));
    WrittenTable written{buildHeaderFor(path, content, recordSize, int(blocks)), records, {}};
    const TableLayout table(written.header, content, records, recordSize);

    const std::function<void()>& check = content.checkBeforeChange;
    BlobAppend append;
    try {
        if (!mb.isEmpty() && (mbSize >= 0 || isMbMissing)) {
            // The old .DB addresses nothing past the old end: the pair stays readable.
            append.planned = std::max<qint64>(mbSize, 0);
            append.blocks = QByteArray(base - append.planned, '\0') + mb.data();
            appendBlobs(path, mbPath, append, check);
        } else if (!mb.isEmpty()) {
            replaceFile(mbPath, mb.data(), check);
        }
        written.stamp = replaceFile(path, table.pieces(), check);
    } catch (const EDatabaseError&) {   // refused
        cutBack(mbPath, append);
        throw;
    } catch (const Exception& e) {
        cutBack(mbPath, append);
        fail(path, e.message());
    }
    tidyBlobFile(mbPath, hasBlobFields, isAddressed);
    return written;
}

} // namespace db::paradox
