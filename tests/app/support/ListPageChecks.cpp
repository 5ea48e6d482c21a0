// Checks of laid-out report pages: whole texts, character lines, record lines.
#include "app/support/ListPageChecks.h"

#include "platform/db/DataSet.h"
#include "platform/text/Cp1250.h"
#include "reports/output/CharacterPage.h"
#include "reports/output/PageGeometry.h"
#include "reports/output/ReportOutput.h"

#include <QRegularExpression>

#include <map>

namespace testapp {

using namespace reports;

namespace {

// The text an item shows: its laid-out lines, without the blanks between them.
QString shownText(const TVystPrvek& item)
{
    if (!item.ItemLines) return item.ItemText;
    QString shown;
    for (int k = item.FirstLine; k <= item.LastLine && k < item.ItemLines->count(); ++k)
        shown += item.ItemLines->lines[size_t(k)].Text;
    return shown;
}

QString withoutBlanks(QString s)
{
    return s.remove(QRegularExpression(QStringLiteral("\\s")));
}

bool isPrintedText(const TVystPrvek& item)
{
    return item.Style.isText() && !item.HasPicture && !item.ItemText.trimmed().isEmpty();
}

} // namespace

QStringList cutTexts(const TSestVystup& out)
{
    QStringList faults;
    for (int p = 0; p < out.PageCount(); ++p) {
        const TStranaPrvku& page = out.PageAt(p);
        for (int i = 0; i < page.count(); ++i) {
            const TVystPrvek& item = page.item(i);
            if (!isPrintedText(item) || item.HasMemo) continue;
            const QString shown = shownText(item);
            if (withoutBlanks(shown) != withoutBlanks(item.ItemText))
                faults << QStringLiteral("page %1: '%2' shows '%3'").arg(p + 1).arg(item.ItemText, shown);
        }
    }
    return faults;
}

QStringList characterLines(const TSestVystup& out, int index, int lineSpacing)
{
    TZnakovePole grid;
    grid.Priprav(PaperHeight(), lineSpacing);
    out.FillCharacterPage(index, grid);
    QString text = Cp1250::decode(grid.ZapisStranu(TSestLanguage::slUndefined));
    text.remove(u'\f');
    if (text.endsWith(QStringLiteral("\r\n"))) text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

QStringList wordsOf(const QString& line)
{
    return line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

QStringList characterLineFaults(const TSestVystup& out, int index, const QStringList& lines)
{
    // Words of each row of items, rows by their height on the page, items by their left edge.
    std::map<int, std::multimap<int, QString>> rows;
    const TStranaPrvku& page = out.PageAt(index);
    for (int i = 0; i < page.count(); ++i) {
        const TVystPrvek& item = page.item(i);
        if (!isPrintedText(item)) continue;
        rows[item.Rect.top()].emplace(item.Rect.left(), item.ItemText);
    }
    QList<QStringList> expected;
    for (const auto& [top, items] : rows) {
        QStringList words;
        for (const auto& [left, text] : items) words += wordsOf(text);
        expected << words;
    }
    QList<QStringList> printed;
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty()) printed << wordsOf(line);

    QStringList faults;
    const auto rowText = [](const QList<QStringList>& list, qsizetype k) {
        return k < list.size() ? list[k].join(u' ') : QStringLiteral("(none)");
    };
    for (qsizetype k = 0; k < std::max(expected.size(), printed.size()); ++k)
        if (k >= expected.size() || k >= printed.size() || expected[k] != printed[k])
            faults << QStringLiteral("page %1 line %2: '%3', the row is '%4'")
                          .arg(index + 1).arg(k + 1).arg(rowText(printed, k), rowText(expected, k));
    return faults;
}

QList<QStringList> recordWords(db::DataSet& data, const QStringList& columns)
{
    QList<QStringList> records;
    for (data.First(); !data.Eof(); data.Next()) {
        QStringList words;
        for (const QString& column : columns) words += wordsOf(data.FieldByName(column).DisplayText());
        records << words;
    }
    return records;
}

QStringList recordsWithoutLine(const QList<QStringList>& records, const QStringList& lines)
{
    QStringList missing;
    qsizetype at = 0;
    for (qsizetype r = 0; r < records.size(); ++r) {
        qsizetype found = at;
        while (found < lines.size() && wordsOf(lines[found]) != records[r]) ++found;
        if (found == lines.size()) {
            missing << QStringLiteral("record %1: %2").arg(r + 1).arg(records[r].join(u' '));
            continue;
        }
        at = found + 1;
    }
    return missing;
}

} // namespace testapp
