// Plain and RTF texts of report elements.
#include "reports/output/RtfReader.h"

#include "platform/text/Cp1250.h"

#include <QColor>

#include <algorithm>
#include <array>
#include <optional>

namespace reports {

namespace {

constexpr int maxDepth = 64;
constexpr int maxColors = 17;
constexpr int maxKeywordLength = 32;

// Interns fonts so a token carries a small index.
unsigned short fontIndex(ReadText& out, const ReportFont& font)
{
    for (size_t i = 0; i < out.fonts.size(); ++i)
        if (out.fonts[i] == font) return static_cast<unsigned short>(i);
    out.fonts.push_back(font);
    return static_cast<unsigned short>(out.fonts.size() - 1);
}

enum class Destination { Normal, Skip, FontTable, ColorTable };

struct CharFormat {
    bool bold = false, italic = false, underline = false;
    int fontNumber = -1;
    int halfPoints = 0;
    int color = -1;   // -1: the element's colour
};

struct State {
    Destination destination = Destination::Normal;
    CharFormat chars;
    ParagraphFormat paragraph;
};

struct FontEntry {
    int number = 0;
    QString name;
};

const std::array<const char*, 31> skippedDestinations = {
    "author", "buptim", "comment", "creatim", "doccomm", "footer", "footerf", "footerl", "footerr",
    "footnote", "ftncn", "ftnsep", "ftnsepc", "header", "headerf", "headerl", "headerr", "info",
    "keywords", "operator", "pict", "printim", "private1", "revtim", "rxe", "stylesheet", "subject",
    "tc", "title", "txe", "xe"};

class RtfParser
{
public:
    RtfParser(const QString& text, const ReportFont& font, int alignment) : m_text(text), m_base(font)
    {
        m_state.paragraph.alignment = alignment;
    }

    ReadText run()
    {
        while (m_pos < m_text.size() && !m_out.error) step();
        if (!m_out.error && !m_stack.empty()) m_out.error = 3;
        return std::move(m_out);
    }

private:
    void step()
    {
        const QChar c = m_text[m_pos++];
        if (c == u'{') return openGroup();
        if (c == u'}') return closeGroup();
        if (c == u'\\') return control();
        if (c == u'\n' || c == u'\r') return;
        put(c);
    }

    void openGroup()
    {
        if (int(m_stack.size()) >= maxDepth) {
            m_out.error = 4;
            return;
        }
        m_stack.push_back(m_state);
    }

    void closeGroup()
    {
        if (m_stack.empty()) {
            m_out.error = 1;
            return;
        }
        if (m_state.destination == Destination::FontTable && !m_fontName.isEmpty()) endFontName();
        m_state = m_stack.back();
        m_stack.pop_back();
    }

    void control()
    {
        if (m_pos >= m_text.size()) return;
        const QChar c = m_text[m_pos];
        if (!c.isLetter() || c.unicode() > 127) {
            ++m_pos;
            return symbol(c);
        }
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos].unicode() < 128 && m_text[m_pos].isLetter()
               && m_pos - start < maxKeywordLength)
            ++m_pos;
        const QString word = m_text.mid(start, m_pos - start);
        std::optional<int> number;
        const qsizetype numStart = m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == u'-') ++m_pos;
        while (m_pos < m_text.size() && m_text[m_pos].isDigit() && m_pos - numStart < 10) ++m_pos;
        if (m_pos > numStart) {
            bool ok = false;
            const int n = m_text.mid(numStart, m_pos - numStart).toInt(&ok);
            if (ok) number = n;
        }
        if (m_pos < m_text.size() && m_text[m_pos] == u' ') ++m_pos;
        keyword(word, number);
    }

    void symbol(QChar c)
    {
        switch (c.unicode()) {
        case '\'': return hexChar();
        case '*': m_skipUnknown = true; return;
        case '~': return put(u' ');
        case '\n':
        case '\r': return paragraphEnd();
        case '{':
        case '}':
        case '\\': return put(c);
        default: return;   // optional hyphen and other symbols
        }
    }

    void hexChar()
    {
        if (m_pos + 2 > m_text.size()) {
            m_out.error = 2;
            return;
        }
        bool ok = false;
        const int code = m_text.mid(m_pos, 2).toInt(&ok, 16);
        m_pos += 2;
        if (!ok) {
            m_out.error = 2;
            return;
        }
        put(Cp1250::decodeChar(static_cast<unsigned char>(code)));
    }

    void keyword(const QString& w, std::optional<int> number)
    {
        const bool skipUnknown = std::exchange(m_skipUnknown, false);
        if (destination(w)) return;
        if (skipUnknown && !isKnown(w)) {
            m_state.destination = Destination::Skip;
            return;
        }
        if (m_state.destination == Destination::Skip) return;
        if (characterKeyword(w, number)) return;
        if (paragraphKeyword(w, number)) return;
        specialKeyword(w, number);
    }

    bool destination(const QString& w)
    {
        if (w == QLatin1String("fonttbl")) m_state.destination = Destination::FontTable;
        else if (w == QLatin1String("colortbl")) m_state.destination = Destination::ColorTable;
        else if (std::any_of(skippedDestinations.begin(), skippedDestinations.end(),
                             [&](const char* d) { return w == QLatin1String(d); }))
            m_state.destination = Destination::Skip;
        else
            return false;
        return true;
    }

    static bool isKnown(const QString& w)
    {
        static const QStringList known = QString::fromLatin1(
            "b i ul ulnone f fcharset fs cf plain li ri fi pnindent deftab ql qr qc qj pard par row tab cell "
            "ldblquote rdblquote bin pntext red green blue").split(u' ');
        return known.contains(w);
    }

    bool characterKeyword(const QString& w, std::optional<int> number)
    {
        CharFormat& f = m_state.chars;
        if (w == QLatin1String("b")) f.bold = number.value_or(1) >= 1;
        else if (w == QLatin1String("i")) f.italic = number.value_or(1) >= 1;
        else if (w == QLatin1String("ul")) f.underline = number.value_or(1) >= 1;
        else if (w == QLatin1String("ulnone")) f.underline = false;
        else if (w == QLatin1String("f")) fontNumber(number.value_or(0));
        else if (w == QLatin1String("fs")) f.halfPoints = std::clamp(number.value_or(12), 2, 2000);
        else if (w == QLatin1String("cf")) f.color = number.value_or(0);
        else if (w == QLatin1String("plain")) f.bold = f.italic = f.underline = false, f.color = -1;
        else if (w == QLatin1String("red")) m_color.setRed(std::clamp(number.value_or(0), 0, 255));
        else if (w == QLatin1String("green")) m_color.setGreen(std::clamp(number.value_or(0), 0, 255));
        else if (w == QLatin1String("blue")) m_color.setBlue(std::clamp(number.value_or(0), 0, 255));
        else return false;
        return true;
    }

    void fontNumber(int n)
    {
        if (m_state.destination == Destination::FontTable) {
            if (!m_fontName.isEmpty()) endFontName();
            m_fontTableNumber = n;
            return;
        }
        m_state.chars.fontNumber = n;
        m_state.chars.halfPoints = 24;
    }

    bool paragraphKeyword(const QString& w, std::optional<int> number)
    {
        ParagraphFormat& p = m_state.paragraph;
        const int n = std::clamp(number.value_or(0), -31680, 31680);   // at most 22 inches
        if (w == QLatin1String("li")) p.leftIndent = n;
        else if (w == QLatin1String("ri")) p.rightIndent = n;
        else if (w == QLatin1String("fi")) p.firstIndent = n;
        else if (w == QLatin1String("ql")) p.alignment = 0;
        else if (w == QLatin1String("qr")) p.alignment = 1;
        else if (w == QLatin1String("qc")) p.alignment = 2;
        else if (w == QLatin1String("qj")) p.alignment = 3;
        else if (w == QLatin1String("pard")) p = ParagraphFormat{};
        else if (w == QLatin1String("deftab")) m_out.tabWidth = std::clamp(number.value_or(512), 1, 31680);
        else return false;
        return true;
    }

    void specialKeyword(const QString& w, std::optional<int> number)
    {
        if (w == QLatin1String("par") || w == QLatin1String("row")) paragraphEnd();
        else if (w == QLatin1String("tab") || w == QLatin1String("cell")) token(TextToken::Tab, u'\t');
        else if (w == QLatin1String("ldblquote") || w == QLatin1String("rdblquote")) put(u'\'');
        else if (w == QLatin1String("bin")) {
            const qsizetype n = std::clamp<qsizetype>(number.value_or(0), 0, m_text.size() - m_pos);
            for (qsizetype i = 0; i < n; ++i) put(m_text[m_pos + i]);
            m_pos += n;
        }
    }

    void endFontName()
    {
        QString name = m_fontName.trimmed();
        if (name.endsWith(u';')) name.chop(1);
        m_fonts.push_back({m_fontTableNumber, name.left(64)});
        m_fontName.clear();
    }

    void put(QChar c)
    {
        switch (m_state.destination) {
        case Destination::Skip: return;
        case Destination::FontTable:
            if (c == u';') endFontName();
            else if (m_fontName.size() < 256) m_fontName += c;
            return;
        case Destination::ColorTable:
            if (c == u';' && int(m_colors.size()) < maxColors) m_colors.push_back(m_color);
            if (c == u';') m_color = QColor(0, 0, 0);
            return;
        case Destination::Normal: token(TextToken::Char, c);
        }
    }

    void paragraphEnd()
    {
        if (m_state.destination == Destination::Normal) token(TextToken::ParagraphEnd, u'\n');
    }

    void token(TextToken::Kind kind, QChar c)
    {
        m_out.tokens.push_back({kind, c, fontIndex(m_out, currentFont()), m_state.paragraph});
    }

    ReportFont currentFont() const
    {
        ReportFont f = m_base;
        const CharFormat& c = m_state.chars;
        f.Style = (m_base.Style & ~(FontBold | FontItalic | FontUnderline)) | (c.bold ? FontBold : 0)
                  | (c.italic ? FontItalic : 0) | (c.underline ? FontUnderline : 0);
        if (c.halfPoints > 0) f.Size = std::max(1, c.halfPoints / 2);
        for (const FontEntry& e : m_fonts)
            if (e.number == c.fontNumber && !e.name.isEmpty()) f.Name = e.name;
        if (c.color >= 0) {
            const QColor q = c.color < int(m_colors.size()) ? m_colors[size_t(c.color)] : QColor(0, 0, 0);
            f.Color = uint32_t(q.red()) | uint32_t(q.green()) << 8 | uint32_t(q.blue()) << 16;
        }
        return f;
    }

    const QString& m_text;
    const ReportFont m_base;
    qsizetype m_pos = 0;
    ReadText m_out;
    State m_state;
    std::vector<State> m_stack;
    bool m_skipUnknown = false;
    std::vector<FontEntry> m_fonts;
    int m_fontTableNumber = 0;
    QString m_fontName;
    std::vector<QColor> m_colors;
    QColor m_color{0, 0, 0};
};

} // namespace

ReadText readPlainText(const QString& text, const ReportFont& font, int alignment)
{
    ReadText out;
    out.fonts.push_back(font);
    const ParagraphFormat paragraph{alignment};
    out.tokens.reserve(size_t(text.size()));
    for (const QChar c : text) {
        if (c == u'\r') continue;
        const TextToken::Kind kind = c == u'\n' ? TextToken::ParagraphEnd : c == u'\t' ? TextToken::Tab : TextToken::Char;
        out.tokens.push_back({kind, c, 0, paragraph});
    }
    return out;
}

ReadText readRtfText(const QString& text, const ReportFont& font, int alignment)
{
    return RtfParser(text, font, alignment).run();
}

} // namespace reports
