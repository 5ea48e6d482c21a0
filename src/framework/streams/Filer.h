// Tagged value encoding of element streams: TWriter and TReader over a byte device.
#pragma once

#include <QIODevice>
#include <QString>

#include <cstdint>

// Value tags of the encoding.
//   tag | meaning          | body
//   ----+------------------+----------------------------------------------
//     0 | end of list      | none
//     1 | begin of list    | none
//     2 | integer, 8 bits  | 1 byte, signed
//     3 | integer, 16 bits | 2 bytes, signed, little-endian
//     4 | integer, 32 bits | 4 bytes, signed, little-endian
//     5 | float            | 10 bytes, 80-bit IEEE extended, little-endian
//     6 | short string     | 1 length byte, then windows-1250 bytes
//    12 | long string      | 4-byte length, little-endian, then windows-1250 bytes
enum class ValueTag : std::uint8_t {
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    LString = 12,
};

// Writes tagged values to a device it does not own. Integers take the shortest tag that holds
// them; strings of up to 255 characters the short tag. A failed device write raises EBadStream.
class TWriter
{
public:
    explicit TWriter(QIODevice& device) : m_device(device) {}
    virtual ~TWriter() = default;
    TWriter(const TWriter&) = delete;
    TWriter& operator=(const TWriter&) = delete;

    virtual void WriteInteger(qint32 value);
    virtual void WriteFloat(double value);
    virtual void WriteString(const QString& value);
    virtual void WriteListBegin();
    virtual void WriteListEnd();
    // Untagged bytes (file signatures).
    void WriteRaw(const QByteArray& bytes);
    QIODevice& device() { return m_device; }

private:
    void put(const char* data, qint64 size);
    QIODevice& m_device;
};

// Reads tagged values from a device it does not own. A missing or unexpected tag raises
// EBadStream ("Invalid property value"), a cut-off body EBadStream as well.
class TReader
{
public:
    explicit TReader(QIODevice& device) : m_device(device) {}
    virtual ~TReader() = default;
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    // Accepts tags 2, 3 and 4.
    virtual qint32 ReadInteger();
    virtual double ReadFloat();
    // Accepts tags 6 and 12.
    virtual QString ReadString();
    virtual void ReadListBegin();
    virtual void ReadListEnd();
    // True when the next value is the end-of-list tag (nothing is consumed).
    virtual bool EndOfList();
    // The tag of the next value without consuming it.
    ValueTag NextValue();
    QByteArray ReadRaw(qint64 size);
    QIODevice& device() { return m_device; }

private:
    ValueTag readTag();
    QByteArray take(qint64 size);
    QIODevice& m_device;
};

// 80-bit extended float bytes (little-endian) of a double and back.
void doubleToExtended(double value, unsigned char out[10]);
double extendedToDouble(const unsigned char in[10]);
