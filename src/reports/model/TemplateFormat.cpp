// The template format: reading template lines into the model and writing the model back.
//
// One record per line, fields separated by commas (TemplateFields.h). The first field names
// the record: "I" settings (I,0 description; I,1 version; I,2 page; I,3 fixed section; I,4
// group; I,5 designer setting; I,6 character raster), "F" a user function, Z H T K P an
// element of a fixed section, S<i> / U<i> an element of the start / end of group i, D<n> a
// line of detail variant n. Lines of no known kind are ignored and written back as read.
#include "reports/model/ReportModel.h"

#include "reports/model/PageSettings.h"
#include "reports/model/ReportTables.h"
#include "reports/model/TemplateFields.h"
#include "reports/model/TemplateFile.h"

#include <algorithm>
#include <limits>

namespace reports {
namespace {

constexpr std::array<const char*, 5> fixedTags = {"Z", "H", "T", "K", "P"};

QString firstField(const QString& line)
{
    QString rest = line;
    return ReadCsvField(rest);
}

bool isRecordLine(const QString& line, QChar letter)
{
    return line.size() > 1 && line.front() == letter;
}

bool isAsciiDecimal(QStringView text)
{
    return !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// The record number of an I line, -1 when it has none.
int settingsRecord(const QString& line)
{
    QString rest = line;
    ReadCsvField(rest);
    return ReadCsvInt(rest, -1);
}

QString joinInts(std::initializer_list<int64_t> values)
{
    QString out;
    for (const int64_t v : values) {
        if (!out.isEmpty())
            out += QLatin1Char(',');
        out += QString::number(v);
    }
    return out;
}

// A font size field: a negative value is a height in hundredths of an inch.
int fontPoints(int size)
{
    if (size >= 0)
        return size;
    return int(std::clamp<int64_t>(int64_t(size) * -72 / 100, 0, std::numeric_limits<int>::max()));
}

} // namespace

// --- reading -------------------------------------------------------------------------------

void ReportModel::ReadTemplate()
{
    Version = {4, 0, 0};
    readSettings();
    readFunctions();
    readSections();
    readDetailVariants();
}

void ReportModel::readSettings()
{
    for (const QString& line : std::as_const(Predloha)) {
        if (isRecordLine(line, QLatin1Char('I')))
            readSettingsLine(line);
    }
}

void ReportModel::readSettingsLine(QString line)
{
    ReadCsvField(line);
    switch (ReadCsvInt(line, -1)) {
    case 0: {
        const QString description = ReadCsvField(line).left(MaxDescription);
        if (!description.isEmpty())
            Popis = description;
        break;
    }
    case 1: {
        const int major = ReadCsvInt(line, 4);
        const int minor = ReadCsvInt(line, 0);
        Version = {major, minor, ReadCsvInt(line, 0)};
        break;
    }
    case 2:
        readPageRecord(line);
        break;
    case 3:
        readSectionRecord(line);
        break;
    case 4:
        readGroupRecord(line);
        break;
    case 5:
        DesignerSetting = ReadCsvInt(line, 0);
        break;
    case 6:
        readRasterRecord(line);
        break;
    default:
        break;
    }
}

// Fixed section, printed flag, height, paging flag; sections beyond the fixed five are ignored.
void ReportModel::readSectionRecord(QString& line)
{
    const int index = ReadCsvInt(line, -1);
    if (index < siReportStart || index > siPageFoot)
        return;
    TOddilSestavy& section = Sections.SectionAt(index);
    section.Printed = ReadCsvBool(line, section.Printed);
    section.Height = ReadCsvInt(line, section.Height);
    const bool flag = ReadCsvBool(line, false);
    if (index < siPageFoot)
        PagingFlags[std::size_t(index)] = flag;
    section.Columns = Columns;
    section.ColumnGap = ColumnGap;
}

// Number, column, start printed and height, end printed and height, new-page flag.
void ReportModel::readGroupRecord(QString& line)
{
    if (Groups.Count() >= MaxGroups)
        return;
    const int number = ReadCsvInt(line, 0);
    const int column = ReadCsvInt(line, 0);
    const bool startPrinted = ReadCsvBool(line, false);
    const int startHeight = ReadCsvInt(line, 0);
    const bool endPrinted = ReadCsvBool(line, false);
    const int endHeight = ReadCsvInt(line, 0);
    AddGroup(number, column, ReadCsvBool(line, false), endHeight, endPrinted, startHeight, startPrinted);
}

// Orientation, paper width and height (from version 1 on), four margins, columns, gap.
// A detail variant keeps its parent's page.
void ReportModel::readPageRecord(QString& line)
{
    PageSettings page = pageSettings();
    page.Orientation = ReadCsvInt(line, page.Orientation);
    if (Version[0] > 0) {
        page.PaperFormatWidth = ReadCsvInt(line, page.PaperFormatWidth);
        page.PaperFormatHeight = ReadCsvInt(line, page.PaperFormatHeight);
    }
    page.LeftMargin = ReadCsvInt(line, page.LeftMargin);
    page.RightMargin = ReadCsvInt(line, page.RightMargin);
    page.TopMargin = ReadCsvInt(line, page.TopMargin);
    page.BottomMargin = ReadCsvInt(line, page.BottomMargin);
    if (!IsDetailVariant())
        pageSettings() = page;
    Columns = ReadCsvInt(line, 1);
    ColumnGap = ReadCsvInt(line, 0);
}

void ReportModel::readRasterRecord(QString& line)
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
    Raster = r;
}

void ReportModel::readFunctions()
{
    Funkce.ClearAll();
    for (const QString& text : std::as_const(Predloha)) {
        if (!isRecordLine(text, QLatin1Char('F')))
            continue;
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
        Funkce.Add(std::make_unique<TRadekFunkce>()).SetValues(s);
    }
}

TOddilSestavy* ReportModel::sectionForTag(const QString& tag) const
{
    for (int i = siReportStart; i <= siPageFoot; ++i) {
        if (tag == QLatin1String(fixedTags[std::size_t(i)])) {
            const bool skipped = IsDetailVariant() && (i == siPageHead || i == siPageFoot);
            return skipped ? nullptr : &Sections.SectionAt(i);
        }
    }
    if (tag.size() < 2 || (tag.front() != QLatin1Char('S') && tag.front() != QLatin1Char('U')))
        return nullptr;
    const QStringView digits = QStringView(tag).mid(1);
    if (!isAsciiDecimal(digits))
        return nullptr;
    const int position = DecimalOr(digits, -1);
    const TPolSkup* group = Groups.GroupAt(position);
    if (!group || QString::number(position) != digits)
        return nullptr;
    return tag.front() == QLatin1Char('S') ? group->StartSection : group->EndSection;
}

bool IsTemplateLine(const QString& line)
{
    if (isRecordLine(line, QLatin1Char('I')) || isRecordLine(line, QLatin1Char('F')))
        return true;
    const QString tag = firstField(line);
    if (std::any_of(fixedTags.begin(), fixedTags.end(), [&tag](const char* t) { return tag == QLatin1String(t); }))
        return true;
    return tag.size() > 1 && QStringLiteral("SUD").contains(tag.front()) && isAsciiDecimal(QStringView(tag).mid(1));
}

void ReportModel::readSections()
{
    for (int i = 0; i < Sections.Count(); ++i) {
        const int index = Sections.SectionAt(i).Index;
        if (!(IsDetailVariant() && (index == siPageHead || index == siPageFoot)))
            Sections.SectionAt(i).ClearElements();
    }
    for (const QString& line : std::as_const(Predloha)) {
        if (TOddilSestavy* section = sectionForTag(firstField(line)))
            AddElementFromLine(*section, line);
    }
}

void ReportModel::readDetailVariants()
{
    for (int n = 0; n < Details.Count(); ++n) {
        const QString tag = QLatin1Char('D') + QString::number(n);
        QStringList lines;
        for (const QString& line : std::as_const(Predloha)) {
            QString rest = line;
            if (ReadCsvField(rest) == tag)
                lines.append(rest);
        }
        Details.VariantAt(n)->SetPredloha(lines);
    }
}

// Tag, kind, reference, left, top, width, height; then font name, six numbers, text and line
// height, which text kinds and graphic kinds read each in their own way.
void TVoReportElement::LoadFromLine(const QString& text)
{
    QString line = text;
    ReadCsvField(line);
    Kind = ReadCsvInt(line, 0);
    readReference(ReadCsvField(line).left(MaxName));
    Left = ReadCsvInt(line, 0);
    Top = ReadCsvInt(line, 0);
    Width = ReadCsvInt(line, 0);
    Height = ReadCsvInt(line, 0);
    if (Kind == ekDetail)
        return;
    const bool isGraphic = Kind >= ekLine && Kind <= ekPicture;
    const QString fontName = ReadCsvField(line).left(MaxName);
    std::array<int, 6> n{};
    n[0] = ReadCsvInt(line, isGraphic ? 1 : Font.Size);
    n[1] = ReadCsvInt(line, 0);
    n[2] = ReadCsvInt(line, 0);
    n[3] = ReadCsvInt(line, 0);
    n[4] = ReadCsvInt(line, isGraphic ? ColorIndex(BrushColor) : 0);
    n[5] = ReadCsvInt(line, isGraphic ? BrushStyle : Font.Charset);
    const QString fieldText = ReadCsvField(line).left(MaxText);
    LineHeight = ReadCsvInt(line, 0);

    const auto& version = Report->Version;
    if (Kind == ekVariable && Reference >= varPageCount && version[0] < 2 && version[2] < 3)
        ++Reference;
    if ((Kind == ekColumn || Kind == ekLabel) && (Reference < 0 || Reference >= Report->ColumnCount()))
        Reference = 0;
    if (Kind >= ekText && Kind <= ekFunction)
        takeTextFields(fontName, n);
    else if (isGraphic)
        takeGraphicFields(n);
    if (Kind == ekText || Kind == ekVariable || Kind == ekPicture)
        Text = fieldText;
    if (Kind == ekRectangle || Kind == ekRoundRect || Kind == ekEllipse)
        Reference = Kind;
    if (Kind == ekPicture)
        SetPictureFile(Text);
}

// A reference that does not begin with a digit is a name: columns for kinds 2 and 3,
// functions for kind 6 (0 when not found); other kinds take 0.
void TVoReportElement::readReference(const QString& reference)
{
    RefName.clear();
    Reference = 0;
    const bool isName = !reference.isEmpty()
        && !(reference.front() >= QLatin1Char('0') && reference.front() <= QLatin1Char('9'));
    if (!isName) {
        Reference = DecimalOr(reference, 0);
        return;
    }
    if (Kind == ekColumn || Kind == ekLabel || Kind == ekFunction) {
        const int index = Kind == ekFunction ? Report->Funkce.IndexOfName(reference) : Report->ColumnIndex(reference);
        Reference = std::max(index, 0);
        RefName = reference;
    }
}

// Size, colour index, style bits, flags (alignment and text flags), frame, charset.
void TVoReportElement::takeTextFields(const QString& fontName, const std::array<int, 6>& n)
{
    if (!fontName.isEmpty())
        Font.Name = fontName;
    Font.Size = fontPoints(n[0]);
    Font.Color = ColorByIndex(n[1]);
    Font.Style = n[2] & FontStyleMask;
    Alignment = n[3] & 3;
    TextFlags = n[3] & ~7;
    Lines = n[4];
    Font.Charset = n[5];
}

// Pen width, pen colour index, pen style, lines, brush colour index, brush style.
void TVoReportElement::takeGraphicFields(const std::array<int, 6>& n)
{
    PenColor = ColorByIndex(n[1]);
    SetPenStyle(n[2]);
    SetPenWidth(n[0] < 0 ? 1 : n[0]);
    Lines = n[3];
    BrushColor = ColorByIndex(n[4]);
    BrushStyle = n[5];
}

// --- writing -------------------------------------------------------------------------------

// Kinds 2, 3 and 6 that follow a column or function by name write the name.
QString TVoReportElement::FormatElementLine(const QString& tag) const
{
    const bool byName = (Kind == ekColumn || Kind == ekLabel || Kind == ekFunction) && !RefName.isEmpty();
    const QString head = tag + QLatin1Char(',') + QString::number(Kind) + QLatin1Char(',')
        + (byName ? BareField(RefName) : QString::number(Reference)) + QLatin1Char(',')
        + joinInts({Left, Top, Width, Height});
    if (Kind >= ekText && Kind <= ekFunction) {
        return head + QLatin1Char(',') + BareField(Font.Name) + QLatin1Char(',')
            + joinInts({Font.Size, ColorIndex(Font.Color), Font.Style & FontStyleMask,
                        Alignment + TextFlags, Lines, Font.Charset})
            + QLatin1Char(',') + QuotedField(Text) + QLatin1Char(',') + QString::number(LineHeight);
    }
    if (Kind >= ekLine && Kind <= ekPicture) {
        QString out = head + QStringLiteral(",,")
            + joinInts({PenWidth, ColorIndex(PenColor), PenStyle, Lines, ColorIndex(BrushColor), BrushStyle});
        // the candidate list as read, so references and fallbacks survive a save
        if (Kind == ekPicture)
            out += QLatin1Char(',') + QuotedField(Text);
        return out;
    }
    if (Kind == ekDetail)
        return head;
    return {};
}

bool ReportModel::isKeptLine(const QString& line) const
{
    if (isRecordLine(line, QLatin1Char('I'))) {
        const int record = settingsRecord(line);
        return record < 0 || record > 6;
    }
    if (isRecordLine(line, QLatin1Char('F')))
        return false;
    return sectionForTag(firstField(line)) == nullptr;
}

QStringList ReportModel::WriteTemplate() const
{
    QStringList out;
    writeSettings(out);
    writeFunctions(out);
    writeElements(out);
    for (const QString& line : Predloha) {
        if (isKeptLine(line))
            out << line;
    }
    return out;
}

void ReportModel::writeSettings(QStringList& out) const
{
    const PageSettings& page = pageSettings();
    out << QStringLiteral("I,0,") + QuotedField(Popis);
    out << QStringLiteral("I,1,4,0,0");
    out << QStringLiteral("I,") + joinInts({2, page.Orientation, page.PaperFormatWidth, page.PaperFormatHeight,
                                            page.LeftMargin, page.RightMargin, page.TopMargin,
                                            page.BottomMargin, Columns, ColumnGap});
    for (int i = siReportStart; i <= siPageFoot; ++i) {
        const TOddilSestavy& s = Sections.SectionAt(i);
        QString line = QStringLiteral("I,") + joinInts({3, i, s.Printed ? 1 : 0, s.Height});
        if (i < siPageFoot)
            line += PagingFlags[std::size_t(i)] ? QStringLiteral(",1") : QStringLiteral(",0");
        out << line;
    }
    for (int g = 0; g < Groups.Count(); ++g) {
        const TPolSkup& group = *Groups.GroupAt(g);
        out << QStringLiteral("I,") + joinInts({4, group.Number, group.Column, group.StartSection->Printed ? 1 : 0,
                                                group.StartSection->Height, group.EndSection->Printed ? 1 : 0,
                                                group.EndSection->Height, group.NewPage ? 1 : 0});
    }
    out << QStringLiteral("I,5,") + QString::number(DesignerSetting);
    out << QStringLiteral("I,") + joinInts({6, Raster.On ? 1 : 0, Raster.CellWidth, Raster.CellHeight,
                                            Raster.LineSpacing, Raster.Pitch});
}

void ReportModel::writeFunctions(QStringList& out) const
{
    for (int i = 0; i < Funkce.Count(); ++i) {
        const TRadekFunkce& f = *Funkce.FunctionAt(i);
        out << QStringLiteral("F,") + QString::number(i) + QLatin1Char(',') + BareField(f.Name)
                + QLatin1Char(',') + QuotedField(f.Popis) + QLatin1Char(',') + QString::number(f.Typ)
                + QLatin1Char(',') + QuotedField(f.PocatecniHodnota) + QLatin1Char(',')
                + QString::number(f.Nulovat) + QLatin1Char(',') + QuotedField(f.Vyraz) + QLatin1Char(',')
                + joinInts({f.Zpracovani, f.Sirka, f.Desetiny, f.Format});
    }
}

void ReportModel::writeElements(QStringList& out) const
{
    const auto writeSection = [&out](const TOddilSestavy& section, const QString& tag) {
        for (int e = 0; e < section.ElementCount(); ++e) {
            const QString line = section.ElementAt(e).FormatElementLine(tag);
            if (!line.isEmpty())
                out << line;
        }
    };
    for (int i = siReportStart; i <= siPageFoot; ++i)
        writeSection(Sections.SectionAt(i), QLatin1String(fixedTags[std::size_t(i)]));
    for (int g = 0; g < Groups.Count(); ++g) {
        writeSection(*Groups.GroupAt(g)->StartSection, QLatin1Char('S') + QString::number(g));
        writeSection(*Groups.GroupAt(g)->EndSection, QLatin1Char('U') + QString::number(g));
    }
}

} // namespace reports
