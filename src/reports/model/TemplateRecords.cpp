// Settings records, function lines, section tags and kept lines of the template text.
#include "reports/model/TemplateRecords.h"

#include "reports/model/ReportElement.h"
#include "reports/model/ReportTables.h"
#include "reports/model/TemplateFields.h"
#include "reports/model/TemplateFile.h"

#include <algorithm>

namespace reports {
namespace {

constexpr std::array<const char*, 5> fixedTags = {"Z", "H", "T", "K", "P"};
constexpr int pageFoot = 4;

bool isAsciiDecimal(QStringView text)
{
    return !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// Fixed section, printed flag, height, paging flag; sections beyond the fixed five are ignored.
int readSectionRecord(QString& line, TemplateSettings& s)
{
    const int index = ReadCsvInt(line, -1);
    if (index < 0 || index > pageFoot)
        return -1;
    SectionSettings& section = s.Sections[std::size_t(index)];
    section.Printed = ReadCsvBool(line, section.Printed);
    section.Height = ReadCsvInt(line, section.Height);
    const bool flag = ReadCsvBool(line, false);
    if (index < pageFoot)
        s.PagingFlags[std::size_t(index)] = flag;
    return index;
}

// Number, column, start printed and height, end printed and height, new-page flag.
bool readGroupRecord(QString& line, TemplateSettings& s)
{
    if (s.Groups.size() >= std::size_t(TemplateSettings::MaxGroups))
        return false;
    GroupSettings g;
    g.Number = ReadCsvInt(line, 0);
    g.Column = ReadCsvInt(line, 0);
    g.StartPrinted = ReadCsvBool(line, false);
    g.StartHeight = ReadCsvInt(line, 0);
    g.EndPrinted = ReadCsvBool(line, false);
    g.EndHeight = ReadCsvInt(line, 0);
    g.NewPage = ReadCsvBool(line, false);
    s.Groups.push_back(g);
    return true;
}

// Orientation, paper width and height (from version 1 on), four margins, columns, gap.
void readPageRecord(QString& line, TemplateSettings& s, bool takesPage)
{
    PageSettings page = s.Page;
    page.Orientation = ReadCsvInt(line, page.Orientation);
    if (s.Version[0] > 0) {
        page.PaperFormatWidth = ReadCsvInt(line, page.PaperFormatWidth);
        page.PaperFormatHeight = ReadCsvInt(line, page.PaperFormatHeight);
    }
    page.LeftMargin = ReadCsvInt(line, page.LeftMargin);
    page.RightMargin = ReadCsvInt(line, page.RightMargin);
    page.TopMargin = ReadCsvInt(line, page.TopMargin);
    page.BottomMargin = ReadCsvInt(line, page.BottomMargin);
    if (takesPage)
        s.Page = page;
    s.Columns = ReadCsvInt(line, 1);
    s.ColumnGap = ReadCsvInt(line, 0);
}

CharacterRaster readRasterRecord(QString& line)
{
    CharacterRaster r;
    r.On = ReadCsvInt(line, 0) == 1;
    r.CellWidth = ReadCsvInt(line, 8);
    r.CellHeight = ReadCsvInt(line, 8);
    if (r.CellWidth < 1)
        r.CellWidth = 8;
    if (r.CellHeight < 1)
        r.CellHeight = 8;
    r.LineSpacing = ReadCsvInt(line, 0);
    r.Pitch = ReadCsvInt(line, 1);
    if (r.On) {
        r.CharWidth = r.Pitch == 1 ? 8.333f : (r.Pitch == 2 ? 6.0f : 10.0f);
        r.LineHeight = r.LineSpacing == 1 ? 25.0f : (r.LineSpacing == 2 ? 33.333f : 16.667f);
        r.CellWidth = ScaleRound(r.CharWidth, 1.0f);
        r.CellHeight = ScaleRound(r.LineHeight, 1.0f);
    }
    return r;
}

} // namespace

bool IsRecordLine(const QString& line, QChar letter)
{
    return line.size() > 1 && line.front() == letter;
}

SettingsLineRead ReadSettingsLine(const QString& text, TemplateSettings& s, bool takesPage)
{
    QString line = text;
    ReadCsvField(line);
    SettingsLineRead read;
    read.Record = ReadCsvInt(line, -1);
    switch (read.Record) {
    case 0: {
        const QString description = ReadCsvField(line).left(TemplateSettings::MaxDescription);
        if (!description.isEmpty())
            s.Popis = description;
        break;
    }
    case 1: {
        const int major = ReadCsvInt(line, 4);
        const int minor = ReadCsvInt(line, 0);
        s.Version = {major, minor, ReadCsvInt(line, 0)};
        break;
    }
    case 2:
        readPageRecord(line, s, takesPage);
        break;
    case 3:
        read.Section = readSectionRecord(line, s);
        break;
    case 4:
        if (!readGroupRecord(line, s))
            read.Record = -1;
        break;
    case 5:
        s.DesignerSetting = ReadCsvInt(line, 0);
        break;
    case 6:
        s.Raster = readRasterRecord(line);
        break;
    default:
        read.Record = -1;
        break;
    }
    return read;
}

void WriteSettingsLines(const TemplateSettings& s, QStringList& out)
{
    const PageSettings& page = s.Page;
    out << QStringLiteral("I,0,") + QuotedField(s.Popis);
    out << QStringLiteral("I,1,4,0,0");
    out << QStringLiteral("I,") + JoinInts({2, page.Orientation, page.PaperFormatWidth, page.PaperFormatHeight,
                                            page.LeftMargin, page.RightMargin, page.TopMargin,
                                            page.BottomMargin, s.Columns, s.ColumnGap});
    for (int i = 0; i <= pageFoot; ++i) {
        const SectionSettings& section = s.Sections[std::size_t(i)];
        QString line = QStringLiteral("I,") + JoinInts({3, i, section.Printed ? 1 : 0, section.Height});
        if (i < pageFoot)
            line += s.PagingFlags[std::size_t(i)] ? QStringLiteral(",1") : QStringLiteral(",0");
        out << line;
    }
    for (const GroupSettings& g : s.Groups) {
        out << QStringLiteral("I,") + JoinInts({4, g.Number, g.Column, g.StartPrinted ? 1 : 0, g.StartHeight,
                                                g.EndPrinted ? 1 : 0, g.EndHeight, g.NewPage ? 1 : 0});
    }
    out << QStringLiteral("I,5,") + QString::number(s.DesignerSetting);
    const CharacterRaster& r = s.Raster;
    out << QStringLiteral("I,") + JoinInts({6, r.On ? 1 : 0, r.CellWidth, r.CellHeight, r.LineSpacing, r.Pitch});
}

FunctionSettings ReadFunctionLine(const QString& text)
{
    QString line = text;
    ReadCsvField(line);
    ReadCsvInt(line, 0);   // the index; functions keep file order
    FunctionSettings s;
    s.Name = ReadCsvField(line).left(TVoReportElement::MaxName);
    s.Popis = ReadCsvField(line).left(TVoReportElement::MaxText);
    s.Typ = ReadCsvInt(line, 0);
    s.PocatecniHodnota = ReadCsvField(line).left(TVoReportElement::MaxText);
    s.Nulovat = ReadCsvInt(line, 0);
    s.Vyraz = ReadCsvField(line).left(TVoReportElement::MaxText);
    s.Zpracovani = ReadCsvInt(line, 0);
    s.Sirka = ReadCsvInt(line, 0);
    s.Desetiny = ReadCsvInt(line, 0);
    s.Format = ReadCsvInt(line, 2);
    if (s.Format > 4)
        s.Format = 2;
    return s;
}

QString FunctionLine(int index, const FunctionSettings& f)
{
    return QStringLiteral("F,") + QString::number(index) + QLatin1Char(',') + BareField(f.Name)
        + QLatin1Char(',') + QuotedField(f.Popis) + QLatin1Char(',') + QString::number(f.Typ)
        + QLatin1Char(',') + QuotedField(f.PocatecniHodnota) + QLatin1Char(',')
        + QString::number(f.Nulovat) + QLatin1Char(',') + QuotedField(f.Vyraz) + QLatin1Char(',')
        + JoinInts({f.Zpracovani, f.Sirka, f.Desetiny, f.Format});
}

QString BandTag(int band)
{
    if (band >= 0 && band <= pageFoot)
        return QLatin1String(fixedTags[std::size_t(band)]);
    const int group = (band - pageFoot - 1) / 2;
    return ((band - pageFoot - 1) % 2 ? QLatin1Char('U') : QLatin1Char('S')) + QString::number(group);
}

int BandOfTag(const QString& tag, int groupCount, bool skipsHeadFoot)
{
    for (int i = 0; i <= pageFoot; ++i) {
        if (tag == QLatin1String(fixedTags[std::size_t(i)])) {
            const bool skipped = skipsHeadFoot && (i == 1 || i == pageFoot);
            return skipped ? -1 : i;
        }
    }
    if (tag.size() < 2 || (tag.front() != QLatin1Char('S') && tag.front() != QLatin1Char('U')))
        return -1;
    const QStringView digits = QStringView(tag).mid(1);
    if (!isAsciiDecimal(digits))
        return -1;
    const int position = DecimalOr(digits, -1);
    if (position < 0 || position >= groupCount || QString::number(position) != digits)
        return -1;
    return pageFoot + 1 + 2 * position + (tag.front() == QLatin1Char('S') ? 0 : 1);
}

QString LineTag(const QString& line)
{
    QString rest = line;
    return ReadCsvField(rest);
}

bool IsKeptLine(const QString& line, int groupCount, bool skipsHeadFoot)
{
    if (IsRecordLine(line, QLatin1Char('I'))) {
        QString rest = line;
        ReadCsvField(rest);
        const int record = ReadCsvInt(rest, -1);
        return record < 0 || record > 6;
    }
    if (IsRecordLine(line, QLatin1Char('F')))
        return false;
    return BandOfTag(LineTag(line), groupCount, skipsHeadFoot) < 0;
}

bool IsTemplateLine(const QString& line)
{
    if (IsRecordLine(line, QLatin1Char('I')) || IsRecordLine(line, QLatin1Char('F')))
        return true;
    const QString tag = LineTag(line);
    if (std::any_of(fixedTags.begin(), fixedTags.end(), [&tag](const char* t) { return tag == QLatin1String(t); }))
        return true;
    return tag.size() > 1 && QStringLiteral("SUD").contains(tag.front()) && isAsciiDecimal(QStringView(tag).mid(1));
}

} // namespace reports
