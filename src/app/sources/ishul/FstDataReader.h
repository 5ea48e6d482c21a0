// Reader of the IS HÚL interchange data files (*.FST): header, records, known columns.
#pragma once

#include "app/sources/ishul/FileFaults.h"
#include "framework/core/Elements.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <array>
#include <vector>

class TStringListElement;

// Reads an interchange data file (LHC.FST, PP.FST, BZL.FST, JP.FST, Maj.FST) record by record
// (TPrenasecZeStandarduData, "transfer from the standard, data").
//
// File layout, windows-1250, lines ended by CR LF, LF or CR:
//   line 1        first byte = field separator (OddelovacPropert), rest ignored
//   line 2        first byte = separator of several values in one field, rest ignored
//   line 3        column count N = the digits the line holds (other characters ignored)
//   N lines       column names, stored with ASCII letters upper-cased, nothing trimmed
//   1 line        record count R, read like line 3
//   R lines       one record each: N values split at the field separator, no quoting,
//                 no trimming; a value holds at most 2000 bytes
//
// The file is walked through a 40 000-byte buffer; the reader knows the byte offset of every
// record (SeekRadku), so its owner can come back to a record with seekTo().
//
// Tolerant reading, each fault reported once per file as "first line, count" when the reader
// reaches its end (or is freed), never a silent loss:
//   - an empty file, a header with an empty separator line, N 0, a count line without digits,
//     an empty column name or a file that ends inside the header: reported at once, no record
//     is read;
//   - a line with other than N values is reported and skipped (it uses up a record number);
//   - a value over 2000 bytes is cut there, the rest of that field dropped;
//   - a record is whole only with its line end: the file ending inside a record (a last line
//     without CR or LF, whatever its values) ends the data there, and that record is reported
//     and not used, since nothing tells a cut last value from a whole one;
//   - the end of the file ends the data (also before R records: reported); lines after the R-th
//     record that hold anything but blanks are reported;
//   - empty lines at the very end of the file are no records.
// A file that cannot be opened gives N = 0, R = -1 and an empty reader, silently.
// Readers given a FaultLog share the tally of their file with the other readers of that log
// and leave their faults to it when freed before their end.
// The reader owns its value carrier NosicHlavicka (a child element): one string item per column,
// named by the column name, holding the current record's value.
class TPrenasecZeStandarduData : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Byte size of the read buffer.
    static constexpr int BufferSize = 40000;
    // Longest value kept, in bytes.
    static constexpr int MaxValueLength = 2000;
    // Most columns a header may announce.
    static constexpr int MaxColumns = 2000;
    // Number of known columns and their fixed indexes asked for by number.
    static constexpr int KnownColumnCount = 118;
    enum KnownColumn { kcLHC_KOD = 0, kcODD = 7, kcDIL = 8, kcPOR = 9, kcPSK = 22, kcETAZ = 37,
                       kcDR_ZKR = 62, kcBZL = 82, kcJP = 87 };
    // The names of the known columns by index.
    static const std::array<const char*, KnownColumnCount>& knownColumnNames();

    TPrenasecZeStandarduData();
    ~TPrenasecZeStandarduData() override;

    // Opens the file read-only and reads its header; no record is read yet. With a log the
    // faults go to the file's tally in it.
    void Open(const QString& fileName, FaultLog* log = nullptr);
    // A new reader on the file.
    static Owned<TPrenasecZeStandarduData> CreateOn(const QString& fileName, FaultLog* log = nullptr);

    // Reads the next record into the carrier; at the end the carrier keeps its values.
    void ReadRecord();
    // True once a read found no further record (or the header failed).
    bool Konec() const;
    // Compartment number of the current record: 32000 at the end; else the ODD value without
    // blanks as a whole number, 0 when it is none (or the file has no ODD column).
    qint32 CisloOddeleni() const;
    // Value of the current record in a known column; empty when the file has no such column.
    QString KnownColumnValue(int index) const;
    // The same text without a copy; nullptr when the column is missing or holds no plain text.
    const QString* KnownColumnText(int index) const;
    // Column position of a known column, -1 when the file lacks it.
    int KnownColumnPosition(int index) const;

    // Remembers the file position as the buffer start and fills the buffer from there.
    void FillBuffer();
    // Repositions on a record offset that an earlier read gave as SeekRadku: the next read
    // gives that record again. `line` is its line number, `recordsBefore` the records before it.
    void SeekTo(qint64 offset, int line, int recordsBefore);
    // Puts the reader at its end (a file without the wanted records).
    void SeekToEnd();

    TStringListElement* NosicHlavicka();
    const QString& FileName() const { return m_fileName; }
    QString OddelovacPropert() const { return m_separator; }
    void SetOddelovacPropert(const QString&) {}
    QString OddelovacMeziNasobnymiHodnotami() const { return m_multiSeparator; }
    void SetOddelovacMeziNasobnymiHodnotami(const QString&) {}
    qint32 PocetHodnotHlavicky() const { return m_columnCount; }
    qint32 PocetDatovychRadku() const { return m_recordCount; }
    qint32 CisloNactenehoRadku() const { return m_readCount; }
    void SetCisloNactenehoRadku(qint32 count) { m_readCount = count; }
    QString CtenyStr() const { return m_lastValue; }
    qint64 SeekRadku() const { return m_recordOffset; }
    // Line number of the record read last (1-based; 0 before any record).
    int RecordLine() const { return m_recordLine; }
    bool cistJenPoODD() const { return m_onlyToOdd; }
    void SetcistJenPoODD(bool on) { m_onlyToOdd = on; }
    bool konecJenDleRadku() const { return m_endByCountOnly; }
    void SetkonecJenDleRadku(bool on) { m_endByCountOnly = on; }
    qint64 fileSize() const { return m_size; }

    // Shows the faults counted since the last report (one message per kind of fault).
    void ReportFaults() { m_faults->report(m_fileName); }
    const FileFaults& faults() const { return *m_faults; }
    FileFaults& faults() { return *m_faults; }

private:
    // Next byte, -1 at the end of the file.
    int readByte();
    int peekByte();
    qint64 position() const { return m_bufferStart + m_index; }
    // A header line (bytes up to the line end, at most 4096 kept); false at the end of the file.
    bool readHeaderLine(QByteArray& line);
    void readHeader();
    void headerFault(int line, const QString& what);
    void fillKnownColumns();
    // Scans one data line into m_line/m_spans; false at the end of the file. `ended`: the line
    // has its line end (else the file ends inside it).
    bool scanLine(bool onlyOdd, bool& tooMany, bool& cut, bool& ended);
    // Whether the last line, which has no line end, holds all the header's values.
    bool lastLineIsWhole(int line, bool& tooMany, bool& cut);
    // Skips to the line end after `first`; false when the file ends before one.
    bool skipToLineEnd(int first);
    // The end of the data; `cutRecord`: it came inside a record (reported, no short count).
    void reachEnd(bool cutRecord = false);
    // Whether only blanks and line ends follow; the position is kept when not.
    bool restIsBlank();
    void checkTrailingLines();
    // Gives the carrier's item of a column the text of these bytes.
    void setColumnValue(TStringListElement& carrier, int column, QByteArrayView bytes);

    QString m_fileName;
    QFile m_file;
    qint64 m_size = 0;
    QByteArray m_buffer;
    qint64 m_bufferStart = 0;   // file offset of m_buffer[0]
    int m_index = 0;            // read index in the buffer
    int m_filled = 0;           // bytes the last fill delivered

    QString m_separator;
    QString m_multiSeparator;
    char m_separatorByte = 0;
    qint32 m_columnCount = 0;
    qint32 m_recordCount = -1;
    qint32 m_readCount = 0;
    qint64 m_recordOffset = 0;
    int m_lineNo = 1;           // line about to be read
    int m_recordLine = 0;
    QString m_lastValue;
    bool m_onlyToOdd = false;
    bool m_endByCountOnly = false;
    bool m_headerFailed = false;
    bool m_atEnd = false;
    std::array<int, KnownColumnCount> m_known{};

    QByteArray m_line;                       // bytes of the line scanned last (values only)
    std::vector<std::pair<int, int>> m_spans;   // value start and length in m_line
    FileFaults m_ownFaults;
    FileFaults* m_faults = &m_ownFaults;   // the own tally or the file's tally in a log
    WeakRef<TStringListElement> m_carrier;
};
