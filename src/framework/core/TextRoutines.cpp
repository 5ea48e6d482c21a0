// Text routines shared by the framework and the forest model.
#include "framework/core/TextRoutines.h"

#include "platform/files/Files.h"
#include "platform/text/Numbers.h"

#include <algorithm>

namespace {

// The run time's text-to-float reads at most this many characters.
constexpr int maxFloatText = 63;

bool isBlankOrNul(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0);
}

bool readFloat(const QString& text, double& value)
{
    if (txt::tryStrToFloat(QStringView(text).left(maxFloatText), value))
        return true;
    QString swapped = text;
    SwapDecimalSeparator(swapped, QLatin1Char('.'), QLatin1Char(','));
    return txt::tryStrToFloat(QStringView(swapped).left(maxFloatText), value);
}

// The separator's position is kept in a full integer: the original's 8-bit position
// failed with a range error on texts whose separator lay past position 255.
bool splitText(const QString& text, QChar separator, QString& name, QString& value)
{
    name.clear();
    value.clear();
    const qsizetype at = text.indexOf(separator);
    if (at < 0) {
        name = TrimBlanks(text);
        return false;
    }
    name = TrimBlanks(text.left(at));
    if (at + 1 < text.size())
        value = TrimBlanks(text.mid(at + 1));
    return true;
}

} // namespace

CharSet::CharSet(QStringView chars)
{
    for (const QChar c : chars)
        insert(c);
}

void CharSet::insert(QChar c)
{
    if (c.unicode() >= first && c.unicode() <= last)
        m_bits.set(c.unicode() - first);
}

bool CharSet::contains(QChar c) const
{
    return c.unicode() >= first && c.unicode() <= last && m_bits.test(c.unicode() - first);
}

QString GetWindowsDir()
{
    return files::configDirectory();
}

bool TryTextToFloat(const QString& text)
{
    double value = 0;
    return readFloat(text, value);
}

double TextToFloatDef(const QString& text)
{
    double value = 0;
    return readFloat(text, value) ? value : 0.0;
}

std::optional<qint32> WholeNumber(const QString& text)
{
    qint32 value = 0;
    if (txt::pascalVal(text, value) == 0)
        return value;
    return std::nullopt;
}

qint32 LeadingInteger(const QString& text)
{
    qint32 value = 0;
    const int failedAt = txt::pascalVal(text, value);
    if (failedAt == 0 || txt::pascalVal(QStringView(text).left(failedAt - 1), value) == 0)
        return value;
    return 0;
}

QString BoolToText(bool value)
{
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

bool TextToBool(const QString& text)
{
    return !text.isEmpty() && (text.front() == QLatin1Char('T') || text.front() == QLatin1Char('t'));
}

void SwapDecimalSeparator(QString& text, QChar a, QChar b)
{
    for (QChar& c : text) {
        if (c == a) {
            c = b;
            return;
        }
        if (c == b) {
            c = a;
            return;
        }
    }
}

QString PStringText(const PString& p)
{
    return p ? *p : QString();
}

void AssignPString(PString& p, const QString& text)
{
    p = text.isEmpty() ? nullptr : std::make_unique<QString>(text);
}

QString IncludeTrailingBackslash(QString& dir)
{
    if (dir.isEmpty())
        return QStringLiteral("\\");
    if (dir.back() != QLatin1Char('\\'))
        dir += QLatin1Char('\\');
    return dir;
}

QString TrimBlanks(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlankOrNul(text[from]))
        ++from;
    while (to > from && isBlankOrNul(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

QString FormatFixed(int width, int decimals, double value)
{
    return txt::formatFixed(width, decimals, value);
}

bool SplitNameValue(const QString& text, QString& name, QString& value)
{
    return splitText(text, QLatin1Char('='), name, value);
}

bool SplitAt(const QString& text, QChar separator, QString& name, QString& value)
{
    return splitText(text, separator, name, value);
}

void NextToken(const QString& text, const CharSet& delimiters, int start, QString& token, int& pos,
               QChar& delimiter)
{
    token.clear();
    start = std::max(start, 1);   // positions count from 1
    pos = start;
    delimiter = QChar(0);
    if (text.isEmpty())
        return;
    const int length = int(text.size());
    while (pos <= length && !delimiters.contains(text[pos - 1]))
        ++pos;
    if (pos <= length)
        delimiter = text[pos - 1];
    if (pos > start)
        token = TrimBlanks(text.mid(start - 1, pos - start));
    ++pos;
}
