// Reader of old 160-character LHP records (text file with stand texts, or a dBASE table).
#pragma once

#include "app/sources/ishul/FileFaults.h"
#include "framework/core/Elements.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <string>

// The record source of old LHP data (TUnivStareLHP, "universal old LHP"). Each record is one
// species or afforestation row of 160 single-byte columns, cut into the 65 fields D1..D65
// (D7 = compartment, columns 14-16; D8 = sub-compartment letter, column 17).
//
// A text source is a file of lines (CR LF, LF or CR end a line) in windows-1250; a shorter
// line gives shorter or empty fields. Its optional companion stand-text file (".tlh") holds
// one 801-byte record per run of records of one sub-compartment: 9 strings of a length byte
// and 88 bytes (string 1 unused, 2-9 the stand texts). The companion is named after the
// record file's own name: up to its first dot, the two characters after it, ".tlh"
// (7.01V -> 701.tlh), found in the same directory in any letter case.
//
// Tolerant reading:
//   - a line too short to hold D8 has no stand-text key and reads no stand text;
//   - a length byte above 88 counts 88;
//   - a companion with fewer records than the record file needs leaves the further texts empty.
// The last two are faults of the companion, reported when its record file has been read to the
// end, once per kind, naming the companion, its first faulty record and the count. Readers given
// a FaultLog share each file's tally with the other readers of that log.
// A table source is a dBASE file whose name (its own, not the directory's) holds ".DBF" in any
// case; its fields D1..D65 are read as text, deleted rows are skipped.
class TUnivStareLHP : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    static constexpr int FieldCount = 65;
    static constexpr int RecordLength = 160;
    static constexpr int TlhRecordSize = 801;
    static constexpr int TlhStrings = 9;
    static constexpr int TlhStringLength = 88;
    // Record files above this size are not read (reported as not opened).
    static constexpr qint64 MaxFileSize = 512LL * 1024 * 1024;

    TUnivStareLHP();
    ~TUnivStareLHP() override;

    const QString& FileName() const { return m_fileName; }
    void SetFileName(const QString& name) { m_fileName = name; }
    // The tallies to count faults in (set before Open); without one the reader keeps its own.
    void SetFaultLog(FaultLog* log) { m_log = log ? log : &m_ownLog; }

    // Opens the source (text with companion, or table); the first record becomes current.
    void Open();
    // Text files that continue the records of this one, in order: the end of a file goes on
    // with the first record of the next (and its own stand texts), so the unit's files read as
    // one sequence of records. Set before Open.
    void SetFollowingFiles(const QStringList& names) { m_following = names; }
    // Back to the first record.
    void First();
    // The next record; at the end the end flag is set and the last record stays current.
    void Next();
    bool Eof() const;

    // Field n (1..65) of the current record.
    QString D(int n) const;
    // D(n) == text, without building the field's text.
    bool FieldIs(int n, QStringView text) const;
    // DigitsToInt(D(n)): the digits of the field as a number, 0 when they exceed 32 bits.
    qint32 Number(int n) const;
    // The first column (1-based) and width of field n.
    static int fieldStart(int n);
    static int fieldWidth(int n);

    bool HasTlh() const { return m_hasTlh; }
    // String i (1..9) of the current stand-text record; empty without one.
    QString TlhString(int i) const;
    qint32 LastKey() const { return m_lastKey; }
    bool IsTable() const { return m_table != nullptr; }
    // Line number of the current record in the text file (1-based).
    int LineNumber() const { return m_lineNo; }
    // Where the source stands: the records read so far (over all files), the row of a table.
    qint64 Position() const;
    // Shows the faults of the current companion not shown yet, one message per kind.
    void ReportFaults();
    // The tally of the current companion (empty without one).
    const FileFaults& faults() const;

private:
    struct Dbf;
    void openText();
    // Reads the record file and its companion; false (reported) when the records cannot be read.
    bool loadTextFiles();
    void openTable();
    void closeAll();
    bool readLine(QByteArrayView& line);
    // The bytes of field n of the current text record (a short record gives a shorter field).
    QByteArrayView fieldBytes(int n) const;
    void readTlhRecord();

    QString m_fileName;
    QString m_tlhName;
    QStringList m_following;
    std::string m_record;           // current line's bytes (text source); one byte a character
    bool m_hasRecord = false;       // a line has been read since the source was opened
    QByteArray m_text;              // the record file's bytes
    qsizetype m_pos = 0;
    int m_lineNo = 0;
    qint64 m_recordsRead = 0;       // records read over the whole sequence of files
    QByteArray m_tlh;               // the companion's bytes
    qsizetype m_tlhPos = 0;
    int m_tlhRecordNo = 0;          // number of the companion's record read last (1-based)
    std::array<QString, TlhStrings> m_tlhRecord;
    bool m_hasTlh = false;
    qint32 m_lastKey = -1;
    bool m_eofFlag = true;
    std::unique_ptr<Dbf> m_table;
    FaultLog m_ownLog;
    FaultLog* m_log = &m_ownLog;
    FileFaults* m_tlhFaults = nullptr;   // the current companion's tally in m_log
};
