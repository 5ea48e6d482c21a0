// Faults met while reading an interchange or record file, reported once per file and kind.
#pragma once

#include <QDateTime>
#include <QString>

#include <array>
#include <map>
#include <set>

// Kinds of fault a file reader tolerates and reports.
enum class FileFault {
    Header,            // a data header that cannot be read (no record is read)
    CodebookHeader,    // a codebook header that cannot be read (the codebook stays empty)
    WrongValueCount,   // a data line with other than N values (skipped)
    ValueTooLong,      // a value over 2000 bytes (cut)
    CutRecord,         // the file ends inside a record (the record is not used)
    FewerRecords,      // the file ends before the announced record count
    ExtraLines,        // lines after the announced records
    CodebookLineLength,// a codebook line of the wrong length
    ShortTlh,          // a stand-text file with fewer records than sub-compartments
    LongTlhString,     // a stand-text length byte above 88
    BadValue,          // a record whose value a conversion refuses (skipped)
    Unsorted,          // a compartment that comes back after another one
    Count_
};

// Tally of the faults of one file: for each kind the lines (records of a stand-text file) that
// have it, each counted once however often the file is read. report() shows one Czech message
// per kind not shown yet, naming the file, the first line and the count; a kind is shown once.
class FileFaults
{
public:
    // A fault on a line; `detail` of the kind's first line goes into the message (a value, a count).
    void add(FileFault kind, int line, const QString& detail = QString());
    // Lines of the kind.
    int count(FileFault kind) const { return int(m_entries[index(kind)].lines.size()); }
    int total() const;
    void report(const QString& fileName);
    // Forgets every fault (the file has changed).
    void clear() { m_entries = {}; }
    // Shows every kind again at its next report (a new calculation).
    void rearm();
    // The message of one kind (for tests and the report).
    static QString message(FileFault kind, const QString& fileName, int firstLine, int count,
                           const QString& detail);

private:
    struct Entry {
        QString detail;
        std::set<int> lines;
        bool shown = false;
    };
    static size_t index(FileFault kind) { return static_cast<size_t>(kind); }
    std::array<Entry, static_cast<size_t>(FileFault::Count_)> m_entries{};
};

// The tallies of the files that one source reads, kept while each file stays as it is: the
// readers of one file (the index pass, the header load, every restart) share its tally, so a
// fault is shown once per calculation with the count of its lines. A file whose size or time
// changed starts afresh.
class FaultLog
{
public:
    FileFaults& of(const QString& path);
    void report(const QString& path);
    // A new calculation: each fault is shown once more, when its file is read again.
    void rearm();

private:
    struct File {
        qint64 size = -1;
        QDateTime modified;
        FileFaults faults;
    };
    std::map<QString, File> m_files;
};
