// Line breaking, alignment, justification and drawing of element texts.
#include "reports/output/TextLayout.h"

#include "reports/output/Canvas.h"
#include "reports/output/TextMeasurer.h"

#include <algorithm>
#include <cmath>

namespace reports {

namespace {

constexpr int unitsPerTwip = 5;
// Largest advance or line height of one character (about 145 inches): fonts of absurd sizes
// in hostile templates cannot overflow a line's arithmetic.
constexpr int maxGlyphUnits = 1 << 20;

int toUnits(double hundredths)
{
    const double v = hundredths * layoutUnitsPerHundredth;
    return std::isfinite(v) ? int(std::lround(std::clamp(v, -double(1 << 30), double(1 << 30)))) : 0;
}

// A glyph waiting on the current line.
struct Glyph {
    QChar ch;
    unsigned short font;
    int x;
    int advance;
};

class LineBreaker
{
public:
    LineBreaker(const TextMeasurer& measurer, const ReadText& text, int width, const TextSettings& s)
        : m_measurer(measurer), m_text(text), m_width(toUnits(width)), m_settings(s)
    {
        m_out.fonts = text.fonts;
    }

    TRadky run()
    {
        m_lineStartHeight = fontHeight(0);
        for (const TextToken& t : m_text.tokens) {
            if (m_cut) break;
            m_paragraph = t.paragraph;
            if (t.kind == TextToken::ParagraphEnd) paragraphEnd(t.font);
            else place(t);
        }
        closeLine(false);
        return std::move(m_out);
    }

private:
    int fontHeight(unsigned short font) const
    {
        if (m_settings.lineHeight > 0) return std::min(toUnits(m_settings.lineHeight), maxGlyphUnits);
        return font < m_text.fonts.size() ? std::clamp(toUnits(m_measurer.height(m_text.fonts[font])), 0, maxGlyphUnits)
                                          : layoutMargin;
    }

    int advance(const TextToken& t) const
    {
        if (m_settings.charWidth > 0) return std::min(toUnits(m_settings.charWidth), maxGlyphUnits);
        return std::clamp(toUnits(m_measurer.advance(m_text.fonts[t.font], t.ch) * 1.04), 0, maxGlyphUnits);
    }

    int available() const
    {
        int a = m_width - 2 * layoutMargin - (m_paragraph.leftIndent + m_paragraph.rightIndent) * unitsPerTwip;
        if (m_firstOfParagraph) a -= m_paragraph.firstIndent * unitsPerTwip;
        return std::max(a, 1);
    }

    void place(const TextToken& t)
    {
        int adv = advance(t);
        if (t.kind == TextToken::Tab) {
            const int tab = std::max(m_text.tabWidth, m_paragraph.leftIndent) * unitsPerTwip;
            adv = std::max(tab - m_x % std::max(tab, 1), 1);
        }
        if (!m_settings.wordWrap) {
            if (m_x + adv > available() && !m_glyphs.empty()) {
                m_cut = true;
                return;
            }
        } else {
            while (m_x + adv > available() && !m_glyphs.empty()) wrap();
        }
        const QChar c = t.kind == TextToken::Tab ? QChar(u' ') : t.ch;
        m_glyphs.push_back({c, t.font, m_x, adv});
        if (c == u' ') m_break = int(m_glyphs.size()) - 1;
        m_x += adv;
    }

    // The line is full: it ends at its last blank, or before the current character.
    void wrap()
    {
        std::vector<Glyph> rest;
        if (m_break >= 0) {
            rest.assign(m_glyphs.begin() + m_break + 1, m_glyphs.end());
            m_glyphs.resize(size_t(m_break));
        }
        const int startHeight = rest.empty() ? m_lineStartHeight : fontHeight(rest.front().font);
        closeLine(true);
        const int shift = rest.empty() ? 0 : rest.front().x;
        for (Glyph& g : rest) g.x -= shift;
        m_glyphs = std::move(rest);
        m_x = m_glyphs.empty() ? 0 : m_glyphs.back().x + m_glyphs.back().advance;
        for (size_t i = 0; i < m_glyphs.size(); ++i)
            if (m_glyphs[i].ch == u' ') m_break = int(i);
        m_lineStartHeight = startHeight;
    }

    void paragraphEnd(unsigned short font)
    {
        if (!m_settings.wordWrap) return;   // one line: paragraph ends are passed over
        closeLine(false);
        m_firstOfParagraph = true;
        m_lineStartHeight = fontHeight(font);
    }

    void closeLine(bool wrapped)
    {
        TRadek line;
        line.Zalomeno = wrapped;
        line.PrvniRadek = m_firstOfParagraph;
        line.Vyska = m_lineStartHeight;
        size_t visible = m_glyphs.size();
        while (visible > 0 && m_glyphs[visible - 1].ch == u' ') --visible;
        line.Sirka = visible ? m_glyphs[visible - 1].x + m_glyphs[visible - 1].advance : 0;
        line.Znaku = int(m_glyphs.size());
        line.Text.reserve(qsizetype(m_glyphs.size()));
        int descent = 0;
        line.Pozice.reserve(m_glyphs.size());
        const bool oneFont = std::all_of(m_glyphs.begin(), m_glyphs.end(), [](const Glyph& g) { return g.font == 0; });
        for (const Glyph& g : m_glyphs) {
            line.Text += g.ch;
            line.Pozice.push_back(g.x);
            if (!oneFont) line.Fonts.push_back(g.font);
            const int h = fontHeight(g.font);
            if (h >= line.Vyska) {
                line.Vyska = h;
                descent = m_settings.lineHeight > 0 ? 0 : toUnits(m_measurer.descent(m_text.fonts[g.font]));
            }
        }
        line.Spad = descent;
        if (wrapped && m_settings.alignment == 3) stretch(line, visible);
        line.Odsazeni = offset(line);
        m_out.lines.push_back(std::move(line));
        m_glyphs.clear();
        m_x = 0;
        m_break = -1;
        m_firstOfParagraph = false;
    }

    // Spreads the characters of a wrapped line so that it fills the available width.
    void stretch(TRadek& line, size_t visible) const
    {
        if (visible < 2) return;
        const int last = line.Pozice[visible - 1];
        const int lastAdvance = line.Sirka - last;
        const int target = available() - lastAdvance;
        if (last <= 0 || target <= last) return;
        for (size_t i = 0; i < line.Pozice.size(); ++i)
            line.Pozice[i] = int(std::lround(double(line.Pozice[i]) * target / last));
        line.Sirka = available();
    }

    int offset(const TRadek& line) const
    {
        const ParagraphFormat& p = m_paragraph;
        switch (p.alignment) {
        case 1: return m_width - layoutMargin - line.Sirka - p.rightIndent * unitsPerTwip;
        case 2: return (m_width - line.Sirka - (p.leftIndent + p.rightIndent) * unitsPerTwip) / 2 + p.leftIndent * unitsPerTwip;
        default: return (p.leftIndent + (line.PrvniRadek ? p.firstIndent : 0)) * unitsPerTwip + layoutMargin;
        }
    }

    const TextMeasurer& m_measurer;
    const ReadText& m_text;
    const int m_width;
    const TextSettings& m_settings;
    TRadky m_out;
    std::vector<Glyph> m_glyphs;
    ParagraphFormat m_paragraph;
    int m_x = 0;
    int m_break = -1;
    int m_lineStartHeight = 0;
    bool m_firstOfParagraph = true;
    bool m_cut = false;
};

} // namespace

int TRadky::TotalHeight() const
{
    if (lines.empty() || (lines.size() == 1 && lines[0].Znaku == 0)) return 0;
    return (layoutMargin + SumHeights(0, count() - 1)) / layoutUnitsPerHundredth;
}

bool TRadky::FitLines(int first, int maxHeight, int& height, int& last) const
{
    const long long limit = (long long)maxHeight * layoutUnitsPerHundredth;
    long long sum = layoutMargin;
    last = first - 1;
    for (int i = std::max(first, 0); i < count() && sum + lines[size_t(i)].Vyska <= limit; ++i) {
        sum += lines[size_t(i)].Vyska;
        last = i;
    }
    height = int(sum / layoutUnitsPerHundredth);
    return last >= count() - 1;
}

int TRadky::SumHeights(int from, int to) const
{
    long long sum = 0;
    for (int i = std::max(from, 0); i <= to && i < count(); ++i) sum += lines[size_t(i)].Vyska;
    return int(std::min<long long>(sum, 1LL << 30));
}

const TRadek& TRadky::LineAt(int index) const
{
    static const TRadek empty;
    if (lines.empty()) return empty;
    return index >= 0 && index < count() ? lines[size_t(index)] : lines[0];
}

TRadky MeasureText(const TextMeasurer& measurer, int width, const QString& text, const TextSettings& settings)
{
    const QString cut = text.size() > maxLayoutText ? text.left(maxLayoutText) : text;
    const ReadText read = settings.rtf ? readRtfText(cut, settings.font, settings.alignment)
                                       : readPlainText(cut, settings.font, settings.alignment);
    TRadky lines = LineBreaker(measurer, read, width, settings).run();
    if (lines.fonts.empty()) lines.fonts.push_back(settings.font);
    return lines;
}

void DrawLines(Canvas& canvas, const QRectF& rect, const TRadky& lines, int first, int last)
{
    constexpr double u = layoutUnitsPerHundredth;
    long long y = 0;
    for (int i = std::max(first, 0); i <= last && i < lines.count(); ++i) {
        const TRadek& line = lines.lines[size_t(i)];
        y += line.Vyska;
        const double baseline = rect.top() + double(y - line.Spad) / u;
        for (int k = 0; k < line.Znaku; ++k) {
            const QChar c = line.Text[k];
            if (c == u' ') continue;
            const double x = rect.left() + double(line.Odsazeni + line.Pozice[size_t(k)]) / u;
            canvas.drawText(QPointF(x, baseline), QStringView(line.Text).mid(k, 1), lines.fonts[size_t(line.fontAt(k))]);
        }
    }
}

void DrawTextBlock(Canvas& canvas, const TextMeasurer& measurer, const QRectF& rect, const QString& text,
                   const TextSettings& settings)
{
    const TRadky lines = MeasureText(measurer, int(rect.width()), text, settings);
    int height = 0;
    int last = 0;
    lines.FitLines(0, int(rect.height()), height, last);
    DrawLines(canvas, rect, lines, 0, last);
}

} // namespace reports
