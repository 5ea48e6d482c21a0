// The blob file (.MB) of a Paradox table: resolving blob pointers and building a new file.
#pragma once

#include "platform/db/paradox/FieldCodec.h"

#include <QByteArray>
#include <QString>

namespace db::paradox {

// A .MB file read whole into memory at construction; its header block is checked then,
// every pointer when it is resolved. Errors raise EDatabaseError naming the file.
class BlobFile
{
public:
    explicit BlobFile(const QString& path);

    const QString& path() const { return m_path; }
    // The bytes stored for `ptr` (a graphic with its 8-byte prefix). The pointer must
    // address the .MB (not a leader-only value).
    QByteArray read(const BlobPointer& ptr) const;

private:
    [[noreturn]] void fail(const QString& reason) const;
    QByteArray readSingle(uint32_t block, const BlobPointer& ptr) const;
    QByteArray readSubAllocated(uint32_t block, int index, const BlobPointer& ptr) const;

    QString m_path;
    QByteArray m_data;
};

// The payload of a blob field from its stored bytes: a graphic loses its 8-byte prefix.
QByteArray payloadOf(FieldType type, const QByteArray& stored);

// Builds a new .MB in memory: one header block, small blobs sub-allocated in shared
// type-3 blocks, larger ones in their own type-2 blocks.
class BlobFileBuilder
{
public:
    BlobFileBuilder();
    // Stores `stored` (graphic: prefix included) and answers the pointer offset.
    // `isGraphic` puts it in a block of its own whatever its size: pxlib (and readers
    // like it) strip the graphic prefix only there.
    uint32_t add(QByteArrayView stored, bool isGraphic = false);
    bool isEmpty() const { return m_data.size() <= kUnit; }
    const QByteArray& data() const { return m_data; }

    static constexpr int kUnit = 4096;
    // Blobs up to this size go into sub-allocated blocks.
    static constexpr int kSubAllocLimit = 2048;

private:
    uint32_t addSingle(QByteArrayView stored);
    uint32_t addSubAllocated(QByteArrayView stored);

    QByteArray m_data;
    qsizetype m_subBlock = -1;   // offset of the open type-3 block, -1 when none
    int m_subNextChunk = 0;      // first free 16-byte chunk in it
    int m_subNextIndex = 0;      // entries are used from 63 downward
};

} // namespace db::paradox
