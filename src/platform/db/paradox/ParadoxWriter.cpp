// Writing a whole Paradox table (.DB and its .MB) from field descriptors and raw records.
//
// The header is the level-7 layout (version id 12): see ParadoxFile.cpp for the offsets.
// Fields this writer sets beyond the reader's: 3A = blocks, 3E-3F = 1F 0F, 51 = used header
// bytes, 56 = 0x20, 58/5A = 0x010C, 64 = n + 1, 66/6E = offsets - 0x58, 6C-6D = 01 01.
#include "platform/db/paradox/ParadoxWriter.h"

#include "platform/Exceptions.h"
#include "platform/db/paradox/BlobFile.h"
#include "platform/db/paradox/CodePage.h"
#include "platform/db/paradox/FieldCodec.h"
#include "platform/db/paradox/TableFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <cstring>

namespace db::paradox {

namespace {

constexpr int kBlockSize = 4096;
constexpr int kHeaderUnit = 0x800;
constexpr int kBase = 0x78;
constexpr int kTableNameSize = 261;

[[noreturn]] void fail(const QString& path, const QString& reason)
{
    throw EDatabaseError(QStringLiteral("Tabulku \"%1\" nelze zapsat: %2").arg(QFileInfo(path).fileName(), reason));
}

void put16(QByteArray& d, qsizetype at, unsigned v)
{
    d[at] = char(v & 0xFF);
    d[at + 1] = char((v >> 8) & 0xFF);
}

void put32(QByteArray& d, qsizetype at, uint32_t v)
{
    put16(d, at, v & 0xFFFF);
    put16(d, at + 2, v >> 16);
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
        if (!isValidWidth(f.type, f.width) || f.offset != offset || f.decimals < 0 || f.decimals > 32
            || (f.type == FieldType::Bcd && f.decimals > 32))
            fail(path, QStringLiteral("pole \"%1\" má neplatný typ nebo délku").arg(f.name));
        offset += f.width;
    }
    if (offset > kBlockSize - 6)
        fail(path, QStringLiteral("záznam je delší než blok"));
    if (c.recordCount < 0 || c.records.size() != qsizetype(c.recordCount) * offset)
        fail(path, QStringLiteral("data záznamů nesouhlasí s počtem záznamů"));
}

uint32_t highestAutoInc(const TableContent& c, int recordSize)
{
    uint32_t highest = 0;
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

QByteArray buildHeader(const QString& path, const TableContent& c, int recordSize, int blocks)
{
    const CodePage& cp = CodePage::forNumber(c.codePage);
    const int n = int(c.fields.size());
    const SortOrder order = sortOrderFor(cp.number());
    QByteArray names;
    for (const FieldDef& f : c.fields)
        names += cp.encode(f.name) + '\0';
    const qsizetype namesAt = kBase + 6 * n + 4 + kTableNameSize;
    const qsizetype numbersAt = namesAt + names.size();
    const qsizetype orderAt = numbersAt + 2 * n;
    const qsizetype used = orderAt + qsizetype(std::strlen(order.name)) + 1;
    const qsizetype headerSize = (used + kHeaderUnit - 1) / kHeaderUnit * kHeaderUnit;
    if (headerSize > 0xFFFF)
        fail(path, QStringLiteral("hlavička je příliš dlouhá"));

    QByteArray h(headerSize, '\0');
    put16(h, 0x00, unsigned(recordSize));
    put16(h, 0x02, unsigned(headerSize));
    h[0x04] = char(c.keyFieldCount > 0 ? 0 : 2);
    h[0x05] = char(kBlockSize / 1024);
    put32(h, 0x06, uint32_t(c.recordCount));
    put16(h, 0x0A, unsigned(blocks));
    put16(h, 0x0C, unsigned(blocks));
    put16(h, 0x0E, blocks > 0 ? 1 : 0);
    put16(h, 0x10, unsigned(blocks));
    put16(h, 0x21, unsigned(n));
    put16(h, 0x23, unsigned(c.keyFieldCount));
    put32(h, 0x25, 0xFF00FF00u);
    h[0x29] = char(order.id);
    h[0x39] = 12;
    put16(h, 0x3A, unsigned(blocks));
    h[0x3E] = 0x1F;
    h[0x3F] = 0x0F;
    put32(h, 0x49, highestAutoInc(c, recordSize));
    put16(h, 0x51, unsigned(used));
    h[0x56] = 0x20;
    put16(h, 0x58, 0x010C);
    put16(h, 0x5A, 0x010C);
    put16(h, 0x64, unsigned(n + 1));
    put16(h, 0x66, unsigned(numbersAt - 0x58));
    put16(h, 0x6A, unsigned(cp.number()));
    h[0x6C] = 1;
    h[0x6D] = 1;
    put16(h, 0x6E, unsigned(orderAt - 0x58));
    for (int i = 0; i < n; ++i) {
        const FieldDef& f = c.fields[i];
        h[kBase + 2 * i] = char(f.type);
        h[kBase + 2 * i + 1] = char(f.type == FieldType::Bcd ? f.decimals : f.width);
    }
    const QByteArray tableName = cp.encode(QFileInfo(path).fileName(), kTableNameSize - 1);
    std::memcpy(h.data() + kBase + 6 * n + 4, tableName.constData(), size_t(tableName.size()));
    std::memcpy(h.data() + namesAt, names.constData(), size_t(names.size()));
    for (int i = 0; i < n; ++i)
        put16(h, numbersAt + 2 * i, unsigned(i + 1));
    std::memcpy(h.data() + orderAt, order.name, std::strlen(order.name));
    return h;
}

// Moves every blob that does not fit its leader into `mb` and points the record at it.
void placeBlobs(const QString& path, const TableContent& c, QByteArray& records, int recordSize,
                BlobFileBuilder& mb)
{
    for (int i = 0; i < c.fields.size(); ++i) {
        const FieldDef& f = c.fields[i];
        if (!isBlobType(f.type))
            continue;
        const int leader = blobLeaderLength(f);
        for (int row = 0; row < c.recordCount; ++row) {
            char* rec = records.data() + qsizetype(row) * recordSize;
            if (isNull(f, rec))
                continue;
            const BlobPointer ptr = decodeBlobPointer(f, rec);
            QByteArray payload;
            if (c.blobPayload)
                payload = c.blobPayload(i, rec, row);
            else if (ptr.offset == 0 && ptr.length <= uint32_t(leader) && f.type != FieldType::Graphic)
                payload = QByteArray(rec + f.offset, int(ptr.length));
            else
                fail(path, QStringLiteral("chybí obsah pole \"%1\" v záznamu %2").arg(f.name).arg(row + 1));
            encodeBlob(f, rec, payload);
            if (payload.isEmpty() || (payload.size() <= leader && f.type != FieldType::Graphic))
                continue;   // kept in the leader only, offset 0
            QByteArray stored = payload;
            if (f.type == FieldType::Graphic) {
                QByteArray prefix(8, '\0');
                prefix[0] = 1;
                prefix[3] = 1;
                put32(prefix, 4, uint32_t(payload.size()));
                stored.prepend(prefix);
            }
            const uint32_t offset = mb.add(stored, f.type == FieldType::Graphic);
            unsigned char* p = reinterpret_cast<unsigned char*>(rec + f.offset + leader);
            p[0] = uint8_t(offset);
            p[1] = uint8_t(offset >> 8);
            p[2] = uint8_t(offset >> 16);
            p[3] = uint8_t(offset >> 24);
            p[8] = 1;   // modification number
            p[9] = 0;
        }
    }
}

QByteArray buildTable(const QString& path, const TableContent& c, const QByteArray& records, int recordSize)
{
    const int perBlock = (kBlockSize - 6) / recordSize;
    const qsizetype blocks = (qsizetype(c.recordCount) + perBlock - 1) / perBlock;
    if (blocks > 0xFFFF)
        fail(path, QStringLiteral("tabulka je příliš velká"));
    const QByteArray header = buildHeader(path, c, recordSize, int(blocks));
    QByteArray file(header.size() + blocks * kBlockSize, '\0');
    std::memcpy(file.data(), header.constData(), size_t(header.size()));
    for (qsizetype b = 0; b < blocks; ++b) {
        const qsizetype at = header.size() + b * kBlockSize;
        const int first = int(b * perBlock);
        const int count = std::min(perBlock, c.recordCount - first);
        put16(file, at, b + 1 < blocks ? unsigned(b + 2) : 0);
        put16(file, at + 2, unsigned(b));
        put16(file, at + 4, unsigned(uint16_t(int16_t((count - 1) * recordSize))));
        std::memcpy(file.data() + at + 6, records.constData() + qsizetype(first) * recordSize,
                    size_t(count) * size_t(recordSize));
    }
    return file;
}

void saveFile(QSaveFile& file, const QByteArray& data, const QString& tablePath)
{
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        fail(tablePath, file.errorString());
}

QString blobPathFor(const QString& dbPath)
{
    const QString existing = companionFile(dbPath, QStringLiteral("MB"));
    if (!existing.isEmpty())
        return existing;
    const QFileInfo info(dbPath);
    const bool isLower = info.suffix() == info.suffix().toLower() && !info.suffix().isEmpty();
    return info.dir().filePath(info.completeBaseName() + (isLower ? QStringLiteral(".mb") : QStringLiteral(".MB")));
}

} // namespace

void writeTable(const QString& path, const TableContent& content)
{
    if (hasIndexFiles(path))
        fail(path, QStringLiteral("tabulka má indexové soubory"));
    checkFields(path, content);
    const FieldDef& lastField = content.fields.back();
    const int size = lastField.offset + lastField.width;
    QByteArray records = content.records;
    BlobFileBuilder mb;
    const bool hasBlobFields = std::any_of(content.fields.cbegin(), content.fields.cend(),
                                           [](const FieldDef& f) { return isBlobType(f.type); });
    if (hasBlobFields)
        placeBlobs(path, content, records, size, mb);
    const QByteArray table = buildTable(path, content, records, size);

    const QString mbPath = blobPathFor(path);
    QSaveFile dbFile(path);
    QSaveFile mbFile(mbPath);
    saveFile(dbFile, table, path);
    if (hasBlobFields)
        saveFile(mbFile, mb.data(), path);
    // Both files are complete before either replaces the old one.
    if (hasBlobFields && !mbFile.commit())
        fail(path, mbFile.errorString());
    if (!dbFile.commit())
        fail(path, dbFile.errorString());
    if (!hasBlobFields && QFileInfo::exists(mbPath))
        QFile::remove(mbPath);
}

} // namespace db::paradox
