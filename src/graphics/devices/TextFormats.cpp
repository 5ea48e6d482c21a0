// Plain text and RTF as the text window saves and opens them (windows-1250, CRLF line ends).
#include "graphics/devices/TextFormats.h"

#include "platform/Exceptions.h"
#include "platform/text/Cp1250.h"

#include <cctype>
#include <vector>

namespace {

constexpr int maxRtfDepth = 64;
constexpr qsizetype maxRtfBytes = 64LL * 1024 * 1024;

const char* const skippedDestinations[] = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer",
                                           "object", "generator"};

bool isSkippedDestination(const QByteArray& word)
{
    for (const char* d : skippedDestinations)
        if (word == d)
            return true;
    return false;
}

QString rtfError(const QString& what, qsizetype offset)
{
    return QStringLiteral("Chybný soubor RTF: %1 (pozice %2)").arg(what).arg(offset);
}

struct RtfGroup {
    bool skip = false;
    int unicodeSkip = 1;   // fallback characters after \uN
};

class RtfReader
{
public:
    explicit RtfReader(const QByteArray& rtf) : m_in(rtf) {}

    QString read()
    {
        if (m_in.size() > maxRtfBytes)
            throw EConvertError(rtfError(QStringLiteral("soubor je příliš velký"), 0));
        m_groups.push_back({});
        while (m_pos < m_in.size()) {
            const char c = m_in[m_pos];
            if (c == '{')
                open();
            else if (c == '}')
                close();
            else if (c == '\\')
                control();
            else {
                ++m_pos;
                if (c != '\r' && c != '\n')
                    putChar(QChar(Cp1250::decodeChar(static_cast<unsigned char>(c))));
            }
        }
        if (m_groups.size() > 1)
            throw EConvertError(rtfError(QStringLiteral("neuzavřená skupina"), m_pos));
        return m_out;
    }

private:
    void putChar(QChar c)
    {
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        if (!m_groups.back().skip)
            m_out.append(c);
    }

    void open()
    {
        if (static_cast<int>(m_groups.size()) > maxRtfDepth)
            throw EConvertError(rtfError(QStringLiteral("příliš hluboké vnoření"), m_pos));
        m_groups.push_back(m_groups.back());
        ++m_pos;
        if (m_pos + 1 < m_in.size() && m_in[m_pos] == '\\' && m_in[m_pos + 1] == '*') {
            m_groups.back().skip = true;
            m_pos += 2;
        }
    }

    void close()
    {
        if (m_groups.size() <= 1)
            throw EConvertError(rtfError(QStringLiteral("nadbytečná závorka"), m_pos));
        m_groups.pop_back();
        ++m_pos;
    }

    void control()
    {
        const qsizetype start = m_pos;
        ++m_pos;
        if (m_pos >= m_in.size())
            throw EConvertError(rtfError(QStringLiteral("neúplné řídicí slovo"), start));
        const char c = m_in[m_pos];
        if (c == '\'') {
            hexByte(start);
            return;
        }
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++m_pos;
            if (c == '\\' || c == '{' || c == '}')
                putChar(QLatin1Char(c));
            else if (c == '\r' || c == '\n')
                putChar(QLatin1Char('\n'));
            else if (c == '~')
                putChar(QChar(0xA0));
            return;
        }
        QByteArray word;
        while (m_pos < m_in.size() && std::isalpha(static_cast<unsigned char>(m_in[m_pos])) && word.size() < 32)
            word.append(m_in[m_pos++]);
        QByteArray digits;
        if (m_pos < m_in.size() && m_in[m_pos] == '-')
            digits.append(m_in[m_pos++]);
        while (m_pos < m_in.size() && std::isdigit(static_cast<unsigned char>(m_in[m_pos])) && digits.size() < 11)
            digits.append(m_in[m_pos++]);
        if (m_pos < m_in.size() && m_in[m_pos] == ' ')
            ++m_pos;
        apply(word, digits);
    }

    void hexByte(qsizetype start)
    {
        if (m_pos + 2 >= m_in.size())
            throw EConvertError(rtfError(QStringLiteral("neúplný znak \\'"), start));
        bool ok = false;
        const int byte = m_in.mid(m_pos + 1, 2).toInt(&ok, 16);
        if (!ok)
            throw EConvertError(rtfError(QStringLiteral("chybný znak \\'"), start));
        m_pos += 3;
        putChar(Cp1250::decodeChar(static_cast<unsigned char>(byte)));
    }

    void apply(const QByteArray& word, const QByteArray& digits)
    {
        if (isSkippedDestination(word)) {
            m_groups.back().skip = true;
        } else if (word == "par" || word == "line") {
            putChar(QLatin1Char('\n'));
        } else if (word == "tab") {
            putChar(QLatin1Char('\t'));
        } else if (word == "uc") {
            m_groups.back().unicodeSkip = qBound(0, digits.toInt(), 8);
        } else if (word == "u") {
            int code = digits.toInt();
            if (code < 0)
                code += 65536;
            if (code > 0 && code < 65536)
                putChar(QChar(static_cast<char16_t>(code)));
            m_pendingSkip = m_groups.back().unicodeSkip;
        }
    }

    const QByteArray& m_in;
    qsizetype m_pos = 0;
    QString m_out;
    std::vector<RtfGroup> m_groups;
    int m_pendingSkip = 0;
};

} // namespace

QByteArray EncodePlainText(const QString& text)
{
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return Cp1250::encode(crlf);
}

QString DecodePlainText(const QByteArray& bytes)
{
    QString text = Cp1250::decode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QByteArray EncodeRtf(const QString& text, const QString& fontName)
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 ";
    out += Cp1250::encode(fontName);
    out += ";}}\r\n\\uc1\\f0 ";
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            out += "\\par\r\n";
        } else if (c == QLatin1Char('\r')) {
            continue;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}')) {
            out += '\\';
            out += static_cast<char>(c.unicode());
        } else if (c == QLatin1Char('\t')) {
            out += "\\tab ";
        } else if (c.unicode() < 0x80) {
            out += static_cast<char>(c.unicode());
        } else if (const char b = Cp1250::encodeChar(c); b != '?') {
            out += QByteArray("\\'") + QByteArray::number(static_cast<unsigned char>(b), 16).rightJustified(2, '0');
        } else {
            out += "\\u" + QByteArray::number(static_cast<qint16>(c.unicode())) + '?';
        }
    }
    out += "\r\n}\r\n";
    return out;
}

QString DecodeRtf(const QByteArray& rtf)
{
    return RtfReader(rtf).read();
}

bool LooksLikeRtf(const QByteArray& bytes)
{
    return bytes.startsWith("{\\rtf");
}
