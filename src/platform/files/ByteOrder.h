// Little- and big-endian integers inside the byte buffers of binary file formats.
#pragma once

#include <QByteArray>

#include <cstdint>

namespace files {

// Readers take a pointer to the first byte; the caller has checked the bounds.
inline uint16_t readLe16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint16_t(b[0] | (b[1] << 8));
}

inline uint32_t readLe32(const char* p)
{
    return uint32_t(readLe16(p)) | (uint32_t(readLe16(p + 2)) << 16);
}

inline uint16_t readBe16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint16_t((b[0] << 8) | b[1]);
}

inline uint32_t readBe32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
}

inline uint64_t readBe64(const char* p)
{
    return (uint64_t(readBe32(p)) << 32) | readBe32(p + 4);
}

inline void writeLe16(char* p, uint16_t v)
{
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}

inline void writeLe32(char* p, uint32_t v)
{
    writeLe16(p, uint16_t(v));
    writeLe16(p + 2, uint16_t(v >> 16));
}

inline void writeBe16(char* p, uint16_t v)
{
    p[0] = char(v >> 8);
    p[1] = char(v & 0xFF);
}

inline void writeBe32(char* p, uint32_t v)
{
    p[0] = char(v >> 24);
    p[1] = char(v >> 16);
    p[2] = char(v >> 8);
    p[3] = char(v);
}

inline void writeBe64(char* p, uint64_t v)
{
    writeBe32(p, uint32_t(v >> 32));
    writeBe32(p + 4, uint32_t(v));
}

// Buffer forms with a byte offset.
inline uint16_t readLe16(const QByteArray& d, qsizetype at) { return readLe16(d.constData() + at); }
inline uint32_t readLe32(const QByteArray& d, qsizetype at) { return readLe32(d.constData() + at); }
inline void writeLe16(QByteArray& d, qsizetype at, uint16_t v) { writeLe16(d.data() + at, v); }
inline void writeLe32(QByteArray& d, qsizetype at, uint32_t v) { writeLe32(d.data() + at, v); }

} // namespace files
