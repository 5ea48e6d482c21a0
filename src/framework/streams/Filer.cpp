// Tagged value encoding of element streams: TWriter and TReader over a byte device.
#include "framework/streams/Filer.h"

#include "platform/Exceptions.h"
#include "platform/text/Cp1250.h"

#include <QtEndian>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

[[noreturn]] void invalidValue()
{
    throw EBadStream(QStringLiteral("Invalid property value"));
}

constexpr int extendedBias = 16383;
constexpr int doubleBias = 1023;

} // namespace

// --- 80-bit extended floats -------------------------------------------------------------------
// Layout (little-endian): bytes 0..7 the 64-bit significand with an explicit integer bit (63),
// bytes 8..9 the sign (bit 15) and the 15-bit exponent biased by 16383.

void doubleToExtended(double value, unsigned char out[10])
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);
    std::uint64_t significand = 0;
    int exp80 = 0;
    if (exponent == 0x7FF) {   // infinity, NaN
        exp80 = 0x7FFF;
        significand = (std::uint64_t(1) << 63) | (fraction << 11);
    } else if (exponent != 0) {
        exp80 = exponent - doubleBias + extendedBias;
        significand = (std::uint64_t(1) << 63) | (fraction << 11);
    } else if (fraction != 0) {   // subnormal double: normal in the wider exponent range
        const int top = 63 - std::countl_zero(fraction);
        significand = fraction << (63 - top);
        exp80 = top - 1074 + extendedBias;
    }
    qToLittleEndian<quint64>(significand, out);
    qToLittleEndian<quint16>(static_cast<quint16>(exp80 | (negative ? 0x8000 : 0)), out + 8);
}

double extendedToDouble(const unsigned char in[10])
{
    const std::uint64_t significand = qFromLittleEndian<quint64>(in);
    const quint16 signExp = qFromLittleEndian<quint16>(in + 8);
    const bool negative = (signExp & 0x8000) != 0;
    const int exp80 = signExp & 0x7FFF;
    double value = 0.0;
    if (exp80 == 0x7FFF)
        value = (significand << 1) == 0 ? std::numeric_limits<double>::infinity()
                                        : std::numeric_limits<double>::quiet_NaN();
    else if (significand != 0)
        value = std::ldexp(static_cast<double>(significand), exp80 - extendedBias - 63);
    return negative ? -value : value;
}

// --- TWriter ----------------------------------------------------------------------------------

void TWriter::put(const char* data, qint64 size)
{
    if (m_device.write(data, size) != size)
        throw EBadStream(QStringLiteral("Stream write error"));
}

void TWriter::WriteRaw(const QByteArray& bytes)
{
    put(bytes.constData(), bytes.size());
}

void TWriter::WriteInteger(qint32 value)
{
    char buffer[5];
    if (value >= -128 && value <= 127) {
        buffer[0] = static_cast<char>(ValueTag::Int8);
        buffer[1] = static_cast<char>(static_cast<qint8>(value));
        put(buffer, 2);
    } else if (value >= -32768 && value <= 32767) {
        buffer[0] = static_cast<char>(ValueTag::Int16);
        qToLittleEndian<qint16>(static_cast<qint16>(value), buffer + 1);
        put(buffer, 3);
    } else {
        buffer[0] = static_cast<char>(ValueTag::Int32);
        qToLittleEndian<qint32>(value, buffer + 1);
        put(buffer, 5);
    }
}

void TWriter::WriteFloat(double value)
{
    unsigned char buffer[11];
    buffer[0] = static_cast<unsigned char>(ValueTag::Extended);
    doubleToExtended(value, buffer + 1);
    put(reinterpret_cast<const char*>(buffer), 11);
}

void TWriter::WriteString(const QString& value)
{
    const QByteArray bytes = Cp1250::encode(value);
    if (bytes.size() <= 255) {
        const char head[2] = {static_cast<char>(ValueTag::String), static_cast<char>(static_cast<quint8>(bytes.size()))};
        put(head, 2);
    } else {
        char head[5];
        head[0] = static_cast<char>(ValueTag::LString);
        qToLittleEndian<qint32>(static_cast<qint32>(bytes.size()), head + 1);
        put(head, 5);
    }
    put(bytes.constData(), bytes.size());
}

void TWriter::WriteListBegin()
{
    const char tag = static_cast<char>(ValueTag::List);
    put(&tag, 1);
}

void TWriter::WriteListEnd()
{
    const char tag = static_cast<char>(ValueTag::Null);
    put(&tag, 1);
}

// --- TReader ----------------------------------------------------------------------------------

// A size read from the stream is checked against the bytes left before anything is allocated:
// a damaged length must not ask for gigabytes.
QByteArray TReader::take(qint64 size)
{
    if (size < 0 || size > m_device.bytesAvailable())
        invalidValue();
    const QByteArray bytes = m_device.read(size);
    if (bytes.size() != size)
        invalidValue();
    return bytes;
}

QByteArray TReader::ReadRaw(qint64 size)
{
    return take(size);
}

ValueTag TReader::readTag()
{
    return static_cast<ValueTag>(static_cast<quint8>(take(1).at(0)));
}

ValueTag TReader::NextValue()
{
    char c = 0;
    if (m_device.peek(&c, 1) != 1)
        invalidValue();
    return static_cast<ValueTag>(static_cast<quint8>(c));
}

qint32 TReader::ReadInteger()
{
    switch (readTag()) {
    case ValueTag::Int8:
        return static_cast<qint8>(take(1).at(0));
    case ValueTag::Int16:
        return qFromLittleEndian<qint16>(take(2).constData());
    case ValueTag::Int32:
        return qFromLittleEndian<qint32>(take(4).constData());
    default:
        invalidValue();
    }
}

double TReader::ReadFloat()
{
    if (readTag() != ValueTag::Extended)
        invalidValue();
    const QByteArray body = take(10);
    return extendedToDouble(reinterpret_cast<const unsigned char*>(body.constData()));
}

QString TReader::ReadString()
{
    qint64 length = 0;
    switch (readTag()) {
    case ValueTag::String:
        length = static_cast<quint8>(take(1).at(0));
        break;
    case ValueTag::LString:
        length = qFromLittleEndian<qint32>(take(4).constData());
        if (length < 0)
            invalidValue();
        break;
    default:
        invalidValue();
    }
    return Cp1250::decode(take(length));
}

void TReader::ReadListBegin()
{
    if (readTag() != ValueTag::List)
        invalidValue();
}

void TReader::ReadListEnd()
{
    if (readTag() != ValueTag::Null)
        invalidValue();
}

bool TReader::EndOfList()
{
    return NextValue() == ValueTag::Null;
}
