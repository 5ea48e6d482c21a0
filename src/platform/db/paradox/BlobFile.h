// The blob file (.MB) of a Paradox table: resolving blob pointers and building a new file.
#pragma once

#include "platform/db/paradox/FieldCodec.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <vector>

namespace db::paradox {

// The sub-allocated blobs the rows of a table address: pointer offsets (block | entry), sorted.
using BlobReferences = std::vector<uint32_t>;
// The references of the blob fields of `count` records of `recordSize` bytes.
BlobReferences blobReferencesOf(const QList<FieldDef>& fields, const char* records, qsizetype count, int recordSize);

// A .MB file read whole into memory at construction; its header block is checked then,
// every pointer when it is resolved: the blob lies in the file, and a sub-allocated one in its
// block without sharing bytes with the entry of another blob the rows address. Only regular
// files are read. Errors raise EDatabaseError naming the file.
class BlobFile
{
public:
    // `references`: what the rows of the table address (see blobReferencesOf()).
    BlobFile(const QString& path, BlobReferences references);

    const QString& path() const { return m_path; }
    // The bytes stored for `ptr` (a graphic with its 8-byte prefix). The pointer must
    // address the .MB (not a leader-only value).
    QByteArray read(const BlobPointer& ptr) const;

private:
    [[noreturn]] void fail(const QString& reason) const;
    QByteArray readSingle(uint32_t block, const BlobPointer& ptr) const;
    QByteArray readSubAllocated(uint32_t block, int index, const BlobPointer& ptr) const;
    // The data range [start, end) of a live entry overlaps that of another entry of the block
    // that a row addresses and that could hold data.
    bool overlapsOtherEntry(uint32_t block, int index, int start, int end) const;

    QString m_path;
    QByteArray m_data;
    BlobReferences m_references;
};

// The payload of a blob field from its stored bytes: a graphic loses its 8-byte prefix.
QByteArray payloadOf(FieldType type, const QByteArray& stored);

// Builds blocks of a .MB in memory: small blobs sub-allocated in shared type-3 blocks, larger
// ones in their own type-2 blocks. With `base` 0 it is a new file starting with its header
// block; otherwise the blocks go after an existing file whose new end is `base` (a multiple of
// 4 KB), and data() holds only them.
class BlobFileBuilder
{
public:
    explicit BlobFileBuilder(qint64 base);
    // Stores `stored` (graphic: prefix included) and answers the pointer offset.
    // `isGraphic` puts it in a block of its own whatever its size: pxlib (and readers
    // like it) strip the graphic prefix only there.
    uint32_t add(QByteArrayView stored, bool isGraphic = false);
    // No blob was added.
    bool isEmpty() const { return m_data.size() <= (m_base == 0 ? kUnit : 0); }
    const QByteArray& data() const { return m_data; }

    static constexpr int kUnit = 4096;
    // Blobs up to this size go into sub-allocated blocks.
    static constexpr int kSubAllocLimit = 2048;

private:
    uint32_t addSingle(QByteArrayView stored);
    uint32_t addSubAllocated(QByteArrayView stored);

    qint64 m_base;
    QByteArray m_data;
    qsizetype m_subBlock = -1;   // offset of the open type-3 block, -1 when none
    int m_subNextChunk = 0;      // first free 16-byte chunk in it
    int m_subNextIndex = 0;      // entries are used from 63 downward
};

} // namespace db::paradox
