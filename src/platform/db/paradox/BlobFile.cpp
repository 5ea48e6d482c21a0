// The blob file (.MB) of a Paradox table: resolving blob pointers and building a new file.
//
// Block layout (all integers little-endian), in 4 KB units:
//   +0 u8 type (0 header, 2 one blob, 3 sub-allocated, 4 free), +1 u16 units in the block.
//   Type 2: +3 u32 length, +7 u16 mod number, +9 data.
//   Type 3: +12 64 entries of 5 bytes (u8 data offset / 16, u8 chunks, u16 mod,
//           u8 bytes in the last chunk 1..16, 0 = deleted); data from 0x150.
//
// Free entries: we and pxlib zero them, the engine clears only the offset (and the mod number)
// and leaves the old lengths. Entries no row addresses may also look live after a row was
// deleted. Neither holds data, so only entries that rows address, and that could hold data,
// count when an entry is checked against the others of its block.
#include "platform/db/paradox/BlobFile.h"

#include "platform/Exceptions.h"
#include "platform/files/ByteOrder.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace db::paradox {

namespace {

using files::readLe32;
using files::writeLe16;
using files::writeLe32;

constexpr int kSubHeader = 12;
constexpr int kSubEntries = 64;
constexpr int kSubDataStart = 0x150;

struct SubEntry
{
    int start;    // byte offset in the block
    int chunks;
    int last;     // bytes in the last chunk
};

SubEntry subEntryAt(const QByteArray& data, uint32_t block, int index)
{
    const auto* e = reinterpret_cast<const unsigned char*>(data.constData() + block + kSubHeader + 5 * index);
    return {e[0] * 16, e[1], e[4]};
}

// Data of that shape can lie in the block: after its header, within it, with a valid length.
bool couldHoldData(const SubEntry& e)
{
    return e.start >= kSubDataStart && e.chunks > 0 && e.last >= 1 && e.last <= 16
        && e.start + 16 * e.chunks <= BlobFileBuilder::kUnit;
}

} // namespace

BlobReferences blobReferencesOf(const QList<FieldDef>& fields, const char* records, qsizetype count, int recordSize)
{
    BlobReferences references;
    for (const FieldDef& f : fields) {
        if (!isBlobType(f.type))
            continue;
        for (qsizetype r = 0; r < count; ++r) {
            const char* rec = records + r * recordSize;
            if (isNull(f, rec))
                continue;
            const uint32_t offset = decodeBlobPointer(f, rec).offset;
            if (offset != 0 && (offset & 0xFF) != 0xFF)
                references.push_back(offset);
        }
    }
    std::sort(references.begin(), references.end());
    references.erase(std::unique(references.begin(), references.end()), references.end());
    return references;
}

BlobFile::BlobFile(const QString& path, BlobReferences references) : m_path(path), m_references(std::move(references))
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("Soubor \"%1\" nelze otevřít: %2").arg(path, file.errorString()));
    m_data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EDatabaseError(QStringLiteral("Soubor \"%1\" nelze číst: %2").arg(path, file.errorString()));
    if (m_data.size() < 0x20 || m_data.at(0) != 0)
        fail(QStringLiteral("neplatná hlavička"));
}

void BlobFile::fail(const QString& reason) const
{
    throw EDatabaseError(QStringLiteral("Soubor \"%1\" je poškozený: %2").arg(QFileInfo(m_path).fileName(), reason));
}

QByteArray BlobFile::read(const BlobPointer& ptr) const
{
    const uint32_t block = ptr.offset & ~0xFFu;
    const int index = int(ptr.offset & 0xFF);
    if (block == 0 || qsizetype(block) >= m_data.size())
        fail(QStringLiteral("odkaz na blok %1 mimo soubor").arg(block));
    return index == 0xFF ? readSingle(block, ptr) : readSubAllocated(block, index, ptr);
}

QByteArray BlobFile::readSingle(uint32_t block, const BlobPointer& ptr) const
{
    if (m_data.at(block) != 2)
        fail(QStringLiteral("blok %1 není typu 2").arg(block));
    if (qsizetype(block) + 9 > m_data.size())
        fail(QStringLiteral("blok %1 je zkrácený").arg(block));
    const uint32_t length = readLe32(m_data, block + 3);
    if (length != ptr.length)
        fail(QStringLiteral("délka v bloku %1 nesouhlasí s odkazem").arg(block));
    if (qsizetype(block) + 9 + qsizetype(length) > m_data.size())
        fail(QStringLiteral("data bloku %1 přesahují konec souboru").arg(block));
    return m_data.mid(block + 9, length);
}

QByteArray BlobFile::readSubAllocated(uint32_t block, int index, const BlobPointer& ptr) const
{
    if (m_data.at(block) != 3)
        fail(QStringLiteral("blok %1 není typu 3").arg(block));
    if (index >= kSubEntries || qsizetype(block) + kSubDataStart > m_data.size())
        fail(QStringLiteral("neplatný odkaz do bloku %1").arg(block));
    const auto [start, chunks, last] = subEntryAt(m_data, block, index);
    if (chunks == 0 || last == 0 || last > 16)
        fail(QStringLiteral("odkaz na smazaná data v bloku %1").arg(block));
    const qsizetype length = qsizetype(16) * (chunks - 1) + last;
    if (uint32_t(length) != ptr.length)
        fail(QStringLiteral("délka v bloku %1 nesouhlasí s odkazem").arg(block));
    if (start < kSubDataStart || start + length > BlobFileBuilder::kUnit
        || qsizetype(block) + start + length > m_data.size())
        fail(QStringLiteral("data bloku %1 přesahují blok").arg(block));
    if (overlapsOtherEntry(block, index, start, start + 16 * chunks))
        fail(QStringLiteral("data v bloku %1 se překrývají s jinými").arg(block));
    return m_data.mid(block + start, length);
}

bool BlobFile::overlapsOtherEntry(uint32_t block, int index, int start, int end) const
{
    for (int other = 0; other < kSubEntries; ++other) {
        if (other == index || !std::binary_search(m_references.begin(), m_references.end(), block | uint32_t(other)))
            continue;
        const SubEntry e = subEntryAt(m_data, block, other);
        if (couldHoldData(e) && e.start < end && start < e.start + 16 * e.chunks)
            return true;
    }
    return false;
}

QByteArray payloadOf(FieldType type, const QByteArray& stored)
{
    if (type == FieldType::Graphic && stored.size() >= 8)
        return stored.mid(8);
    return stored;
}

BlobFileBuilder::BlobFileBuilder(qint64 base) : m_base(base)
{
    if (base != 0)
        return;
    // Header block as the engine writes it; the free-space list from 0x38 stays empty.
    m_data = QByteArray(kUnit, '\0');
    static const unsigned char fixed[] = {0x82, 0x73, 0x02, 0x00, 0x29, 0x00};
    m_data[0] = 0;
    writeLe16(m_data, 1, 1);
    writeLe16(m_data, 3, 1);
    std::memcpy(m_data.data() + 5, fixed, sizeof fixed);
    writeLe16(m_data, 0x0B, 0x1000);
    writeLe16(m_data, 0x0D, 0x1000);
    m_data[0x10] = 0x10;
    writeLe16(m_data, 0x11, 64);
    writeLe16(m_data, 0x13, 0x800);
    m_data[0x29] = char(0xA1);
    m_data[0x2A] = 0x02;
}

uint32_t BlobFileBuilder::add(QByteArrayView stored, bool isGraphic)
{
    return stored.size() <= kSubAllocLimit && !isGraphic ? addSubAllocated(stored) : addSingle(stored);
}

uint32_t BlobFileBuilder::addSingle(QByteArrayView stored)
{
    const qsizetype block = m_data.size();
    const qsizetype units = (stored.size() + 9 + kUnit - 1) / kUnit;
    if (m_base + block + units * kUnit > 0xFFFFFF00LL || units > 0xFFFF)
        throw EDatabaseError(QStringLiteral("Soubor blobů by přesáhl 4 GB"));
    m_data.resize(block + units * kUnit, '\0');
    m_data[block] = 2;
    writeLe16(m_data, block + 1, uint16_t(units));
    writeLe32(m_data, block + 3, uint32_t(stored.size()));
    writeLe16(m_data, block + 7, 1);
    std::memcpy(m_data.data() + block + 9, stored.data(), size_t(stored.size()));
    return uint32_t(m_base + block) | 0xFF;
}

uint32_t BlobFileBuilder::addSubAllocated(QByteArrayView stored)
{
    const int chunks = int((stored.size() + 15) / 16);
    if (m_subBlock < 0 || m_subNextIndex < 0 || (m_subNextChunk + chunks) * 16 > kUnit) {
        m_subBlock = m_data.size();
        if (m_base + m_subBlock + kUnit > 0xFFFFFF00LL)
            throw EDatabaseError(QStringLiteral("Soubor blobů by přesáhl 4 GB"));
        m_data.resize(m_subBlock + kUnit, '\0');
        m_data[m_subBlock] = 3;
        writeLe16(m_data, m_subBlock + 1, 1);
        m_subNextChunk = kSubDataStart / 16;
        m_subNextIndex = kSubEntries - 1;
    }
    const int index = m_subNextIndex--;
    const qsizetype entry = m_subBlock + kSubHeader + 5 * index;
    m_data[entry] = char(m_subNextChunk);
    m_data[entry + 1] = char(chunks);
    writeLe16(m_data, entry + 2, 1);
    m_data[entry + 4] = char(stored.size() - 16 * (chunks - 1));
    std::memcpy(m_data.data() + m_subBlock + 16 * m_subNextChunk, stored.data(), size_t(stored.size()));
    m_subNextChunk += chunks;
    return uint32_t(m_base + m_subBlock) | uint32_t(index);
}

} // namespace db::paradox
