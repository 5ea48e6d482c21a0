// Built-in and user paper formats.
#include "reports/output/PaperFormats.h"

#include "platform/files/FileOps.h"
#include "platform/ini/IniFile.h"
#include "platform/text/Numbers.h"
#include "reports/model/PageSettings.h"
#include "reports/model/ReportTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>

namespace reports {

namespace {

const QString section = QStringLiteral("FormatyPapiru");
const QString countKey = QStringLiteral("PocetFormatu");

struct BuiltIn {
    int textId;        // 0: the name is the size text alone
    const char* size;
    int width;
    int height;
};

constexpr std::array<BuiltIn, TListFormatu::builtInCount> builtIns = {{
    {65052, " (210 x 297 mm)", 826, 1169},
    {65053, " (8.5 x 12\")", 850, 1200},
    {65053, " (15 x 12\")", 1500, 1200},
    {65054, " (8.5 x 11\")", 850, 1100},
    {65055, " (8.5 x 14\")", 850, 1400},
    {65024, " (7.25 x 10.5\")", 725, 1050},
    {0, "A2 (420 x 594 mm)", 1652, 2338},
    {0, "A3 (297 x 420 mm)", 1169, 1652},
    {0, "A4 (210 x 297 mm)", 826, 1169},
    {0, "A5 (148.5 x 210 mm)", 584, 826},
    {0, "A6 (105 x 148.5mm)", 413, 584},
    {0, "B5 (182 x 257 mm)", 716, 1011},
    {65025, " (162 x 114 mm)", 637, 433},
    {65025, " (220 x 110 mm)", 866, 433},
    {65025, " (228 x 162 mm)", 896, 637},
    {65026, "(114 x 162 mm)", 433, 637},
    {65026, "(110 x 220 mm)", 433, 866},
    {65026, "(162 x 228 mm)", 637, 896},
}};

QString builtInName(const BuiltIn& b)
{
    return (b.textId ? reportText(b.textId) : QString()) + QString::fromUtf8(b.size);
}

bool within1Percent(int size, int formatSize)
{
    return 0.99 * formatSize <= size && size <= 1.01 * formatSize;
}

// A numeric field of a format value; 0 when empty or not an integer.
int readNumber(QStringView& rest)
{
    const qsizetype comma = rest.indexOf(u',');
    const QStringView field = comma < 0 ? rest : rest.left(comma);
    rest = comma < 0 ? QStringView() : rest.mid(comma + 1);
    return txt::strToIntDef(field.trimmed(), 0);
}

} // namespace

TFormatPapiru TListFormatu::parseFormatValue(const QString& value)
{
    QStringView rest(value);
    TFormatPapiru format;
    if (rest.startsWith(u'"')) {
        const qsizetype close = rest.indexOf(u'"', 1);
        format.Nazev = (close < 0 ? rest.mid(1) : rest.mid(1, close - 1)).toString();
        rest = close < 0 ? QStringView() : rest.mid(close + 1);
        const qsizetype comma = rest.indexOf(u',');
        rest = comma < 0 ? QStringView() : rest.mid(comma + 1);
    } else {
        const qsizetype comma = rest.indexOf(u',');
        format.Nazev = (comma < 0 ? rest : rest.left(comma)).toString();
        rest = comma < 0 ? QStringView() : rest.mid(comma + 1);
    }
    format.Nazev.truncate(maxNameLength);
    format.Sirka = readNumber(rest);
    format.Vyska = readNumber(rest);
    return format;
}

void TListFormatu::BuildPaperFormats(const QString& iniName)
{
    for (const BuiltIn& b : builtIns) m_formats.push_back({builtInName(b), b.width, b.height});
    const IniFile ini(iniName);
    const int n = std::min(ini.readInteger(section, countKey, 0), maxUserFormats);
    const QString missing = builtInName(builtIns[0]);
    for (int i = 1; i <= n; ++i)
        add(parseFormatValue(ini.readString(section, QStringLiteral("Format") + QString::number(i), missing)));
}

void TListFormatu::SaveUserFormats(const QString& iniName) const
{
    // The keys are written into a copy that then replaces the file in one step: a failure
    // half way leaves the old file whole, never a count without its formats.
    const QString target = IniFile(iniName).path();
    QDir().mkpath(QFileInfo(target).absolutePath());
    const QString copy = target + QStringLiteral(".tmp");
    QFile old(target);
    const QByteArray bytes = old.open(QIODevice::ReadOnly) ? old.readAll() : QByteArray();
    try {
        files::fileOps().writeFile(copy, bytes);
        IniFile ini(copy);
        const int n = std::max(count() - builtInCount, 0);
        ini.writeInteger(section, countKey, n);
        for (int i = 1; i <= n; ++i) {
            const TFormatPapiru& f = FormatAt(builtInCount - 1 + i);
            ini.writeString(section, QStringLiteral("Format") + QString::number(i),
                            f.Nazev + u',' + QString::number(f.Sirka) + u',' + QString::number(f.Vyska));
        }
        files::fileOps().replace(copy, target);
    } catch (...) {
        QFile::remove(copy);
        throw;
    }
}

int TListFormatu::FindOrAddFormat(int width, int height)
{
    for (int i = 0; i < count(); ++i)
        if (within1Percent(width, FormatAt(i).Sirka) && within1Percent(height, FormatAt(i).Vyska)) return i;
    add({reportText(65051), width, height});
    return count() - 1;
}

bool TListFormatu::ApplyFormat(int index) const
{
    if (index < 0 || index >= count()) return false;
    const TFormatPapiru& f = FormatAt(index);
    if (f.Sirka <= 0 || f.Vyska <= 0) return false;
    pageSettings().PaperFormatWidth = f.Sirka;
    pageSettings().PaperFormatHeight = f.Vyska;
    return true;
}

void TListFormatu::add(TFormatPapiru format)
{
    format.Nazev.truncate(maxNameLength);
    m_formats.push_back(std::move(format));
}

void TListFormatu::removeUserFormat(int index)
{
    if (index >= builtInCount && index < count()) m_formats.erase(m_formats.begin() + index);
}

} // namespace reports
