// Single-byte code pages of table texts: windows-1250 and the DOS/ANSI pages of old tables.
#include "platform/db/paradox/CodePage.h"

#include "platform/text/Cp1250.h"

#include <QStringDecoder>

#include <algorithm>

namespace db::paradox {

namespace {

const char* codecName(int number)
{
    switch (number) {
    case 1252: return "windows-1252";
    case 852: return "IBM852";
    case 850: return "IBM850";
    case 437: return "IBM437";
    case 866: return "IBM866";
    default: return "windows-1250";
    }
}

int normalisedNumber(int number)
{
    switch (number) {
    case 1252:
    case 852:
    case 850:
    case 437:
    case 866:
        return number;
    default:
        return 1250;
    }
}

} // namespace

CodePage::CodePage(int number) : m_number(number)
{
    if (number == 1250) {
        for (int b = 0; b < 256; ++b)
            m_toUnicode[b] = Cp1250::decodeChar(static_cast<unsigned char>(b)).unicode();
    } else {
        QStringDecoder decoder(codecName(number));
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString s = decoder.isValid() ? decoder.decode(QByteArrayView(&byte, 1)) : QString();
            // Undefined bytes keep their value, as windows-1250 text does elsewhere in the program.
            m_toUnicode[b] = (s.size() == 1 && s.at(0) != QChar::ReplacementCharacter) ? s.at(0).unicode()
                                                                                        : char16_t(b);
            decoder.resetState();
        }
    }
    m_fromLatin.fill('?');
    for (int b = 255; b >= 0; --b) {   // downwards, so the lowest byte of a character wins
        const char16_t c = m_toUnicode[b];
        if (c < kLatinEnd)
            m_fromLatin[c] = static_cast<char>(b);
    }
    for (int b = 0; b < 256; ++b) {
        const char16_t c = m_toUnicode[b];
        if (c >= kLatinEnd)
            m_fromUnicode.emplace_back(c, static_cast<char>(b));
    }
    std::stable_sort(m_fromUnicode.begin(), m_fromUnicode.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

const CodePage& CodePage::forNumber(int codePage)
{
    static const CodePage p1250(1250), p1252(1252), p852(852), p850(850), p437(437), p866(866);
    switch (normalisedNumber(codePage)) {
    case 1252: return p1252;
    case 852: return p852;
    case 850: return p850;
    case 437: return p437;
    case 866: return p866;
    default: return p1250;
    }
}

QString CodePage::decode(QByteArrayView bytes) const
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = m_toUnicode[static_cast<unsigned char>(bytes[i])];
    return text;
}

QByteArray CodePage::encode(QStringView text) const
{
    return encode(text, int(text.size()));
}

QByteArray CodePage::encode(QStringView text, int maxBytes) const
{
    QByteArray bytes(std::min<qsizetype>(text.size(), std::max(maxBytes, 0)), Qt::Uninitialized);
    encodeInto(text, bytes.data(), int(bytes.size()));
    return bytes;
}

int CodePage::encodeInto(QStringView text, char* out, int maxBytes) const
{
    const qsizetype n = std::min<qsizetype>(text.size(), std::max(maxBytes, 0));
    const char16_t* in = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i];
        if (c < kLatinEnd) {
            out[i] = m_fromLatin[c];
            continue;
        }
        const auto it = std::lower_bound(m_fromUnicode.begin(), m_fromUnicode.end(), c,
                                         [](const auto& entry, char16_t key) { return entry.first < key; });
        out[i] = (it != m_fromUnicode.end() && it->first == c) ? it->second : '?';
    }
    return int(n);
}

} // namespace db::paradox
