// Checks of laid-out report pages as a reader meets them: whole texts, one character line per
// printed row, and the lines of the list's records.
#pragma once

#include <QString>
#include <QStringList>

namespace db {
class DataSet;
}
namespace reports {
class TSestVystup;
class TStranaPrvku;
} // namespace reports

namespace testapp {

// Text items whose laid-out lines do not show their whole text (cut at the element's edge),
// as "page N: 'text' shows 'shown'".
QStringList cutTexts(const reports::TSestVystup& out);

// The lines of page `index` (from 0) as a text-only printer gets them, one per grid row.
QStringList characterLines(const reports::TSestVystup& out, int index, int lineSpacing);

// Where the character lines of a page misrepresent its items: the text items standing at one
// height form a row, and each row must have a line of its own that holds the row's texts
// whole, in their order from the left (compared word by word), and nothing else. Empty lines
// are passed over; every item is taken as one line of text.
QStringList characterLineFaults(const reports::TSestVystup& out, int index, const QStringList& lines);

// The words of a line.
QStringList wordsOf(const QString& line);

// The words each record of `data` prints with in `columns` (their display texts), from its
// first record to its last.
QList<QStringList> recordWords(db::DataSet& data, const QStringList& columns);

// Records whose words are not a line of their own among `lines`, found in order (each record
// after the line of the one before), as "record N: words".
QStringList recordsWithoutLine(const QList<QStringList>& records, const QStringList& lines);

} // namespace testapp
