// Single-byte code pages of table texts: windows-1250 and the DOS/ANSI pages of old tables.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace db::paradox {

// A single-byte code page with decode/encode tables built once. encode() is the exact inverse
// of decode(): every byte comes back as it was, also where a DOS page shows a control byte as a
// graphic character (0x1A, 0x1C and 0x7F trade places). windows-1250 is the codec of
// platform/text.
class CodePage
{
public:
    // The page of a header code-page number (1250, 1252, 852, 850, 437, 866);
    // 0 and unknown numbers give windows-1250. The instances live for the program.
    static const CodePage& forNumber(int codePage);

    int number() const { return m_number; }
    // Bytes to text, one character per byte.
    QString decode(QByteArrayView bytes) const;
    // Text to bytes, one byte per character; characters without a code become '?'.
    QByteArray encode(QStringView text) const;
    // As encode(), cut to at most maxBytes (whole characters, as every one is one byte).
    QByteArray encode(QStringView text, int maxBytes) const;
    // Encodes at most maxBytes characters into `out`; answers the bytes written.
    int encodeInto(QStringView text, char* out, int maxBytes) const;

private:
    explicit CodePage(int number);
    int m_number;
    std::array<char16_t, 256> m_toUnicode{};
    // Byte of each character below kLatinEnd (ASCII and the Czech letters), '?' when no byte
    // decodes to it; the lowest byte when several do.
    static constexpr char16_t kLatinEnd = 0x180;
    std::array<char, kLatinEnd> m_fromLatin{};
    // (character, byte) of the other characters, sorted by character.
    std::vector<std::pair<char16_t, char>> m_fromUnicode;
};

} // namespace db::paradox
