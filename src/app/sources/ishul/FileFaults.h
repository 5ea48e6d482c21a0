// Faults met while reading an interchange or record file, reported once per kind of fault.
#pragma once

#include <QString>

#include <array>

// Kinds of fault a file reader tolerates and reports.
enum class FileFault {
    WrongValueCount,   // a data line with other than N values (skipped)
    ValueTooLong,      // a value over 2000 bytes (cut)
    FewerRecords,      // the file ends before the announced record count
    ExtraLines,        // lines after the announced records
    CodebookLineLength,// a codebook line of the wrong length
    ShortTlh,          // a stand-text file with fewer records than sub-compartments
    LongTlhString,     // a stand-text length byte above 88
    BadValue,          // a record whose value a conversion refuses (skipped)
    Unsorted,          // a compartment that comes back after another one
    Count_
};

// Tally of the faults of one file: for each kind the first line and the number of lines.
// report() shows one Czech message per kind met since the last report, naming the file, the
// first line and the count, then starts a new tally.
class FileFaults
{
public:
    // A fault on a line; `detail` of the first one goes into the message (a value, a count).
    void add(FileFault kind, int line, const QString& detail = QString());
    // Lines of the kind since the tally began (reports do not reset it).
    int count(FileFault kind) const { return m_totals[index(kind)]; }
    int total() const;
    void report(const QString& fileName);
    // The message of one kind (for tests and the report).
    static QString message(FileFault kind, const QString& fileName, int firstLine, int count,
                           const QString& detail);

private:
    struct Entry {
        int firstLine = 0;
        int count = 0;
        QString detail;
    };
    static size_t index(FileFault kind) { return static_cast<size_t>(kind); }
    std::array<Entry, static_cast<size_t>(FileFault::Count_)> m_entries{};
    std::array<int, static_cast<size_t>(FileFault::Count_)> m_totals{};
};
