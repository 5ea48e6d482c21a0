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
#include "reports/model/TemplateRecords.h"

#include <algorithm>
#include <limits>

namespace reports {
namespace {

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

// The settings as they stand: a template without a record keeps the value in force.
TemplateSettings ReportModel::CurrentSettings() const
{
    TemplateSettings s;
    s.Popis = Popis;
    s.Version = Version;
    s.Page = pageSettings();
    s.Columns = Columns;
    s.ColumnGap = ColumnGap;
    for (int i = siReportStart; i <= siPageFoot; ++i)
        s.Sections[std::size_t(i)] = {Sections.SectionAt(i).Printed, Sections.SectionAt(i).Height};
    s.PagingFlags = PagingFlags;
    for (int g = 0; g < Groups.Count(); ++g) {
        const TPolSkup& group = *Groups.GroupAt(g);
        s.Groups.push_back({group.Number, group.Column, group.StartSection->Printed, group.StartSection->Height,
                            group.EndSection->Printed, group.EndSection->Height, group.NewPage});
    }
    s.DesignerSetting = DesignerSetting;
    s.Raster = Raster;
    return s;
}

void ReportModel::takeSettings(const TemplateSettings& s)
{
    Popis = s.Popis;
    Version = s.Version;
    if (!IsDetailVariant())
        pageSettings() = s.Page;
    Columns = s.Columns;
    ColumnGap = s.ColumnGap;
    PagingFlags = s.PagingFlags;
    DesignerSetting = s.DesignerSetting;
    Raster = s.Raster;
}

// Records apply in file order; an I,3 record copies the columns in force when it is read.
void ReportModel::readSettings()
{
    TemplateSettings s = CurrentSettings();
    s.Groups.clear();
    for (const QString& line : std::as_const(Predloha)) {
        if (!IsRecordLine(line, QLatin1Char('I')))
            continue;
        const SettingsLineRead read = ReadSettingsLine(line, s, !IsDetailVariant());
        if (read.Record == 3 && read.Section >= 0) {
            TOddilSestavy& section = Sections.SectionAt(read.Section);
            section.Printed = s.Sections[std::size_t(read.Section)].Printed;
            section.Height = s.Sections[std::size_t(read.Section)].Height;
            section.Columns = s.Columns;
            section.ColumnGap = s.ColumnGap;
        } else if (read.Record == 4 && Groups.Count() < MaxGroups) {
            const GroupSettings& g = s.Groups.back();
            AddGroup(g.Number, g.Column, g.NewPage, g.EndHeight, g.EndPrinted, g.StartHeight, g.StartPrinted);
        }
    }
    takeSettings(s);
}

void ReportModel::readFunctions()
{
    Funkce.ClearAll();
    for (const QString& line : std::as_const(Predloha)) {
        if (IsRecordLine(line, QLatin1Char('F')))
            Funkce.Add(std::make_unique<TRadekFunkce>()).SetValues(ReadFunctionLine(line));
    }
}

TOddilSestavy* ReportModel::sectionOfBand(int band) const
{
    if (band < 0)
        return nullptr;
    if (band <= siPageFoot)
        return &Sections.SectionAt(band);
    const TPolSkup* group = Groups.GroupAt((band - siPageFoot - 1) / 2);
    if (!group)
        return nullptr;
    return (band - siPageFoot - 1) % 2 ? group->EndSection : group->StartSection;
}

void ReportModel::readSections()
{
    for (int i = 0; i < Sections.Count(); ++i) {
        const int index = Sections.SectionAt(i).Index;
        if (!(IsDetailVariant() && (index == siPageHead || index == siPageFoot)))
            Sections.SectionAt(i).ClearElements();
    }
    for (const QString& line : std::as_const(Predloha)) {
        if (TOddilSestavy* section = sectionOfBand(BandOfTag(LineTag(line), Groups.Count(), IsDetailVariant())))
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
    const ReportModel* report = Report;
    LoadFromLine(text, {report->Version, [report](const QString& name) { return report->Funkce.IndexOfName(name); }});
}

void TVoReportElement::LoadFromLine(const QString& text, const ElementLineContext& context)
{
    QString line = text;
    ReadCsvField(line);
    Kind = ReadCsvInt(line, 0);
    readReference(ReadCsvField(line).left(MaxName), context);
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

    const auto& version = context.Version;
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
void TVoReportElement::readReference(const QString& reference, const ElementLineContext& context)
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
        const int index = Kind == ekFunction ? (context.FunctionIndex ? context.FunctionIndex(reference) : -1) : Report->ColumnIndex(reference);
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
        + JoinInts({Left, Top, Width, Height});
    if (Kind >= ekText && Kind <= ekFunction) {
        return head + QLatin1Char(',') + BareField(Font.Name) + QLatin1Char(',')
            + JoinInts({Font.Size, ColorIndex(Font.Color), Font.Style & FontStyleMask,
                        Alignment + TextFlags, Lines, Font.Charset})
            + QLatin1Char(',') + QuotedField(Text) + QLatin1Char(',') + QString::number(LineHeight);
    }
    if (Kind >= ekLine && Kind <= ekPicture) {
        QString out = head + QStringLiteral(",,")
            + JoinInts({PenWidth, ColorIndex(PenColor), PenStyle, Lines, ColorIndex(BrushColor), BrushStyle});
        // the candidate list as read, so references and fallbacks survive a save
        if (Kind == ekPicture)
            out += QLatin1Char(',') + QuotedField(Text);
        return out;
    }
    if (Kind == ekDetail)
        return head;
    return {};
}

QStringList ReportModel::WriteTemplate() const
{
    QStringList out;
    WriteSettingsLines(CurrentSettings(), out);
    for (int i = 0; i < Funkce.Count(); ++i)
        out << FunctionLine(i, Funkce.FunctionAt(i)->GetValues());
    writeElements(out);
    for (const QString& line : Predloha) {
        if (IsKeptLine(line, Groups.Count(), IsDetailVariant()))
            out << line;
    }
    return out;
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
    for (int band = siReportStart; band <= siPageFoot + 2 * Groups.Count(); ++band)
        writeSection(*sectionOfBand(band), BandTag(band));
}

} // namespace reports
