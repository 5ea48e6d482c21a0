// windows-1250 codec with a full table for the upper half of the code page.
#include "platform/text/Cp1250.h"

#include <array>
#include <cstdint>

namespace Cp1250 {
namespace {

// Characters of the bytes 0x80-0xFF. The five undefined bytes (0x81, 0x83, 0x88, 0x90, 0x98)
// keep their own value, so every byte survives a decode/encode round trip.
constexpr std::array<char16_t, 128> upperHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

// The highest character the code page holds is U+2122 (trade mark).
constexpr char16_t highestCode = 0x2122;

// Reverse table: character code -> byte, 0 where the code page has no such character
// (the byte 0 only ever comes from U+0000, handled before the lookup).
const std::array<uint8_t, highestCode + 1>& reverseTable()
{
    static const auto table = [] {
        std::array<uint8_t, highestCode + 1> t{};
        for (unsigned c = 1; c < 0x80; ++c)
            t[c] = static_cast<uint8_t>(c);
        for (unsigned i = 0; i < upperHalf.size(); ++i)
            t[upperHalf[i]] = static_cast<uint8_t>(0x80 + i);
        return t;
    }();
    return table;
}

} // namespace

QChar decodeChar(unsigned char byte)
{
    return byte < 0x80 ? QChar(char16_t(byte)) : QChar(upperHalf[byte - 0x80]);
}

char encodeChar(QChar c)
{
    const char16_t code = c.unicode();
    if (code == 0)
        return '\0';
    if (code > highestCode)
        return '?';
    const uint8_t byte = reverseTable()[code];
    return byte == 0 ? '?' : static_cast<char>(byte);
}

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes)
        *out++ = decodeChar(static_cast<unsigned char>(b));
    return text;
}

QByteArray encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar c : text)
        *out++ = encodeChar(c);
    return bytes;
}

} // namespace Cp1250
