// Character grid of text-only printers.
#include "reports/output/CharacterPage.h"

#include "platform/text/Cp1250.h"
#include "platform/text/Numbers.h"
#include "reports/output/Canvas.h"

#include <algorithm>
#include <cmath>

namespace reports {

namespace {

// Bound on rows (a page far taller than any paper).
constexpr int maxRows = 10000;

// Lays `over` on `base`: every non-blank character of `over` replaces the one below.
void overlay(QString& base, const QString& over)
{
    if (base.size() < over.size()) base = base.leftJustified(over.size(), u' ');
    for (qsizetype i = 0; i < over.size(); ++i)
        if (over[i] != u' ') base[i] = over[i];
}

// The text of a row: the first non-empty pitch with its style slots laid over each other.
QString rowText(const TZnakovyRadek& row)
{
    QString line;
    for (int pitch = 0; pitch < 3 && line.isEmpty(); ++pitch)
        for (int style = 0; style < 8; ++style) overlay(line, row.texts[size_t(pitch * 8 + style)]);
    return line;
}

// A row as one line of the code page, ending CR LF.
QByteArray encodeLine(const QString& line, TSestLanguage language)
{
    QByteArray bytes = Cp1250::encode(line);
    if (language != TSestLanguage::slUndefined) bytes = ConvertCodePage(TSestLanguage::slCP1250, language, bytes);
    return bytes + "\r\n";
}

} // namespace

int TZnakovePole::linesPerInch(int radkovani)
{
    return radkovani == 1 ? 4 : radkovani == 2 ? 3 : 6;
}

int TZnakovePole::charsPerInch(int pitch)
{
    return pitch == 1 ? 12 : pitch == 2 ? 17 : 10;
}

int TZnakovePole::pitchOfSize(double points)
{
    return points < 9 ? 2 : points < 11 ? 1 : 0;
}

int TZnakovePole::rowOf(double y) const
{
    const double v = y * linesPerInch(m_radkovani) / 100.0;
    return std::isfinite(v) && std::abs(v) < 1e9 ? int(txt::roundHalfEven64(v)) : -1;
}

int TZnakovePole::columnOf(double x, int pitch)
{
    const double v = x * charsPerInch(pitch) / 100.0;
    return std::isfinite(v) && std::abs(v) < 1e9 ? int(v) : maxColumns;
}

void TZnakovePole::Priprav(int vyskaStrany, int radkovani)
{
    m_vyskaStrany = vyskaStrany;
    m_radkovani = radkovani;
    const qint64 rows = std::max<qint64>(qint64(vyskaStrany) * linesPerInch(radkovani) / 100, 0);
    m_rows.assign(size_t(std::min<qint64>(rows, maxRows)), TZnakovyRadek{});
}

void TZnakovePole::VymazTexty()
{
    for (TZnakovyRadek& r : m_rows)
        for (QString& s : r.texts) s.clear();
}

void TZnakovePole::VlozText(const QRect& rect, const QString& text, int align, int style, double fontSize, int rowOffset)
{
    if (text.isEmpty()) return;
    const int row = rowOf(rect.top()) + rowOffset;
    const int pitch = pitchOfSize(fontSize);
    const int start = columnOf(rect.left(), pitch);
    const int width = columnOf(rect.width(), pitch);
    const int end = start + width;
    if (end < 0 || end >= maxColumns || width < 0 || row < 0 || row >= rowCount()) return;
    const int length = int(text.size());
    QString placed;
    int first = start;   // 0-based column of placed[0]
    switch (align) {
    case 1: placed = text.right(std::min(width, length)); first = end - int(placed.size()); break;
    case 2:
        if (length <= width) {
            placed = text;
            first = start + (width - length) / 2;
        } else {
            placed = text.mid((length - width) / 2, width);
        }
        break;
    default: placed = text.left(std::min(width, length));
    }
    if (first < 0) {
        placed.remove(0, -first);
        first = 0;
    }
    QString& slot = m_rows[size_t(row)].texts[size_t(pitch * 8 + (style & 7))];
    slot = slot.leftJustified(end, u' ');
    slot.replace(first, placed.size(), placed);
}

QByteArray TZnakovePole::ZapisStranu(TSestLanguage language) const
{
    QByteArray out;
    for (const TZnakovyRadek& r : m_rows) out += encodeLine(rowText(r), language);
    return out;
}

QByteArray TZnakovePole::printerPage(TSestLanguage language) const
{
    std::vector<QString> lines;
    size_t printed = 0;   // rows up to the last one holding a character
    for (const TZnakovyRadek& r : m_rows) {
        lines.push_back(rowText(r));
        if (!lines.back().trimmed().isEmpty()) printed = lines.size();
    }
    QByteArray out;
    for (size_t i = 0; i < printed; ++i) out += encodeLine(lines[i], language);
    return out + '\f';
}

void TZnakovePole::Kresli(Canvas& canvas) const
{
    static const char* const fonts[] = {"Roman 10cpi", "Roman 12cpi", "Roman 17cpi"};
    const double lineHeight = 100.0 / linesPerInch(m_radkovani);
    for (int r = 0; r < rowCount(); ++r)
        for (int s = 0; s < 24; ++s) {
            const QString& text = m_rows[size_t(r)].texts[size_t(s)];
            if (text.trimmed().isEmpty()) continue;
            const int pitch = s / 8;
            ReportFont font;
            font.Name = QString::fromLatin1(fonts[pitch]);
            font.Style = s & 1 ? FontBold : 0;
            const double advance = 100.0 / charsPerInch(pitch);
            for (qsizetype c = 0; c < text.size(); ++c)
                if (text[c] != u' ') canvas.drawText(QPointF(c * advance, (r + 1) * lineHeight), QStringView(text).mid(c, 1), font);
        }
}

} // namespace reports
