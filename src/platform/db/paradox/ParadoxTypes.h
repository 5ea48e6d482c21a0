// Field types, field descriptors and header facts of Paradox tables (.DB).
#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace db::paradox {

// Field type codes as stored in the .DB header (one byte per field).
enum class FieldType : uint8_t {
    Alpha = 0x01,      // A, 1..255 bytes in the table code page
    Date = 0x02,       // D, 4 bytes, day number (1 = 0001-01-01)
    Short = 0x03,      // S, 2 bytes
    Long = 0x04,       // I, 4 bytes
    Currency = 0x05,   // $, 8-byte double
    Number = 0x06,     // N, 8-byte double
    Logical = 0x09,    // L, 1 byte
    Memo = 0x0C,       // M, leader + 10-byte blob pointer
    Blob = 0x0D,       // B, binary blob
    FmtMemo = 0x0E,    // F, formatted memo
    Ole = 0x0F,        // O
    Graphic = 0x10,    // G, 8-byte prefix + image in the .MB
    Time = 0x14,       // T, ms since midnight
    Timestamp = 0x15,  // @, double of day * 86 400 000 + ms
    AutoInc = 0x16,    // +, like Long
    Bcd = 0x17,        // #, 17 bytes; the width byte holds the decimal count
    Bytes = 0x18,      // Y, 1..255 raw bytes
};

// True for a known type code.
bool isKnownType(uint8_t code);
// Memo, Blob, FmtMemo, Ole, Graphic: the value lives in the .MB behind a pointer.
bool isBlobType(FieldType type);
// The letter the engine's table definitions use ("A", "N", "$", "#", ...).
QChar typeLetter(FieldType type);
// Type of a letter (case-insensitive); nullopt for an unknown letter.
std::optional<FieldType> typeFromLetter(QChar letter);
// Byte width of fixed-width types (Short 2, Long 4, Number 8, BCD 17, ...); 0 for
// types whose width is chosen per field (Alpha, Bytes, blobs).
int fixedWidth(FieldType type);
// True when `width` bytes is a valid width for a field of this type.
bool isValidWidth(FieldType type, int width);

// One field of a table. `width` is the byte width in the record (BCD: 17);
// `decimals` is the BCD decimal count (0 otherwise); `offset` is the running sum
// of the widths of the fields before it.
struct FieldDef
{
    QString name;
    FieldType type = FieldType::Alpha;
    int width = 0;
    int decimals = 0;
    int offset = 0;
};

// Sets the offsets of `fields` as running sums of their widths; answers the record size.
int layoutFields(QList<FieldDef>& fields);

// What the .DB header says about the table (after validation).
struct HeaderInfo
{
    int versionId = 12;          // 3 = 3.0, 4 = 3.5, 5..9 = 4.x, 10/11 = 5.x, 12 = 7
    int fileType = 2;            // 0 keyed, 2 unkeyed
    int recordSize = 0;
    int headerSize = 0x800;
    int blockSize = 4096;        // bytes
    int recordCount = 0;
    int blocksUsed = 0;
    int blocksInFile = 0;
    int firstBlock = 0;
    int lastBlock = 0;
    int fieldCount = 0;
    int keyFieldCount = 0;
    int codePage = 1250;         // 0 in the file (level 3) is reported as the configured default
    int sortOrder = 0;           // sort-order id at 0x29
    bool isEncrypted = false;
    uint32_t encryptionKey = 0;  // the scrambling key of the data blocks when encrypted
    uint32_t autoIncMax = 0;     // highest auto-increment value assigned
};

} // namespace db::paradox
