// The new-report wizard's generator.
#include "reports/designer/wizard/NewReportGenerator.h"

#include "reports/model/ReportTexts.h"
#include "reports/model/TemplateFields.h"

#include <algorithm>

namespace reports::designer {

namespace {

// Page-foot and report-start texts are set in this font whatever the editor's default.
QString titleFont() { return reportText(65093); }   // "Times New Roman CE"

QString field(int value) { return QString::number(value); }
QString field(const QString& text) { return text; }
QString field(const char* text) { return QString::fromLatin1(text); }

// One template line: the fields joined by commas.
template <typename... Fields>
QString line(const Fields&... fields)
{
    QStringList parts{field(fields)...};
    return parts.join(u',');
}

// Element values every column line shares.
struct ColumnLine {
    QString reference;   // column index, or its name when following by name
    int width = 0;
    int alignment = 0;
    const WizardColumn* column = nullptr;
};

// Column lines for the selected names the report knows, in the chosen order.
std::vector<ColumnLine> columnLines(const std::vector<WizardColumn>& columns, const WizardChoice& choice,
                                    const WizardDefaults& d)
{
    const int fh = d.ImplVyskaFontu;
    const int cw = (fh * 3) / 4;
    std::vector<ColumnLine> result;
    for (const QString& name : choice.selected) {
        const auto it = std::find_if(columns.begin(), columns.end(),
                                     [&](const WizardColumn& c) { return c.name == name; });
        if (it == columns.end()) continue;
        const int index = int(it - columns.begin());
        result.push_back({choice.isByName ? it->name : QString::number(index), it->width * cw + 2 * fh,
                          it->alignment & 127, &*it});
    }
    return result;
}

void appendReportStart(QStringList& lines, int pw)
{
    const QString font = titleFont();
    lines << line("Z,1,0,0,40", pw, 40, font, "24,0,1,2,0,1", QuotedField(reportText(65091)));
    lines << line("Z,5,0", pw - 72, "0,72,20", font, "10,0,2,0,0,1");
    lines << line("Z,1,0", pw - 128, "0,56,20", font, "10,0,2,0,0,1", QuotedField(reportText(65092)));
}

void appendPageFoot(QStringList& lines, int pw)
{
    const QString font = titleFont();
    lines << line("P,1,0", pw - 144, "8,96,20", font, "10,0,2,1,0,1", QuotedField(reportText(65090)));
    lines << line("P,5,3", pw - 48, "8,32,20", font, "10,0,2,1,0,1");
}

QString separator(char section, int y, int pw)
{
    return line(QString(QChar::fromLatin1(section)) + QStringLiteral(",7,0,0"), y, pw, "3,,1,0,0,8,15,0");
}

// Columns side by side, wrapping to a new row at the printable width. Answers the final y.
int layOutColumns(QStringList& lines, const std::vector<ColumnLine>& cols, const WizardChoice& c,
                  const WizardDefaults& d)
{
    const int h = d.ImplVyska;
    int x = 0;
    int y = 0;
    for (const ColumnLine& col : cols) {
        const int w = std::min(col.width, c.PW);
        if (x + w > c.PW) {
            y += h;
            x = 0;
        }
        const auto common = [&](const char* head, const QString& ref) {
            return line(head, ref, x, y, w, h, d.ImplNazevFontu, d.ImplVyskaFontu, d.ImplBarvaFontu,
                        d.ImplStylFontu, col.alignment, "0,0");
        };
        if (c.hasLabels && c.labelsAsText)
            lines << common("H,1", QStringLiteral("0")) + u',' + QuotedField(col.column->label);
        else if (c.hasLabels)
            lines << common("H,3", col.reference);
        lines << common("T,2", col.reference);
        x += w;
    }
    if (x > 0) y += h;
    if (h < y) {
        lines << separator('T', y, c.PW);
        y += 8;
    }
    lines << separator('H', y, c.PW);
    return y;
}

// One field per row, labels at the left. Answers the final y.
int layOutRows(QStringList& lines, const std::vector<ColumnLine>& cols, const WizardChoice& c,
               const WizardDefaults& d)
{
    const int h = d.ImplVyska;
    const int lw = ((d.ImplVyskaFontu * 3) / 4) * 12;
    lines << line("H,7,0,0,5", c.PW, "3,,1,0,0,8,15,0");
    int y = 0;
    for (const ColumnLine& col : cols) {
        const int w = std::min(col.width, c.PW - (lw + 8));
        const QString font = line(d.ImplNazevFontu, d.ImplVyskaFontu, d.ImplBarvaFontu, d.ImplStylFontu);
        if (c.hasLabels && c.labelsAsText)
            lines << line("T,1,0,0", y, lw, h, font, "1,0,0", QuotedField(col.column->label));
        else if (c.hasLabels)
            lines << line("T,3", col.reference, 0, y, lw, h, font, "1,0,0");
        lines << line("T,2", col.reference, lw + 8, y, w, h, font, col.alignment, "0,0");
        y += h;
        // The page must keep room for the report start (96), page head (16) and foot (32).
        if (y + h > c.PH - 144) break;
    }
    y += 8;
    lines << separator('T', y, c.PW);
    return y;
}

} // namespace

void generateNewReport(QStringList& lines, const std::vector<WizardColumn>& columns,
                       const WizardChoice& choice, const WizardDefaults& defaults)
{
    const std::vector<ColumnLine> cols = columnLines(columns, choice, defaults);
    appendReportStart(lines, choice.PW);
    const int y = choice.isRowStyle ? layOutRows(lines, cols, choice, defaults)
                                    : layOutColumns(lines, cols, choice, defaults);
    appendPageFoot(lines, choice.PW);
    const int pageHead = choice.isRowStyle ? 16 : y + 8;
    const int body = choice.isRowStyle ? y + 8 : y;
    const QStringList sections{QStringLiteral("I,3,0,1,96"), line("I,3,1,1", pageHead), line("I,3,2,1", body),
                               QStringLiteral("I,3,3,0,16"), QStringLiteral("I,3,4,1,32")};
    for (int i = 0; i < int(sections.size()); ++i) lines.insert(i, sections[i]);
}

} // namespace reports::designer
