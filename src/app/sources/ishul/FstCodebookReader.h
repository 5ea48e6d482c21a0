// Reader of the IS HÚL interchange codebook files (Cis_051.FST to Cis_055.FST).
#pragma once

#include "app/sources/ishul/FileFaults.h"
#include "framework/core/Elements.h"

#include <QByteArray>
#include <QString>

#include <vector>

class TStringListElement;

// Reads an interchange codebook file record by record (TPrenasecZeStandarduCiselnik).
//
// File layout, windows-1250, lines ended by CR LF, LF or CR:
//   line 1        the codebook's name (JmenoCiselniku)
//   line 2        column count N, a decimal integer
//   N lines       column names, ASCII letters upper-cased
//   1 line        first byte = field separator
//   1 line        record count R, a decimal integer
//   R lines       N values each, split at the separator
//
// Tolerant reading: an empty file, a count line that is no number (or N out of 1..2000), an
// empty separator line or a file ending inside the header is reported and leaves the codebook
// empty. A record line with other than N values is reported ("Chybná délka řádku", once per
// file with the first line and the count) and still read: its first N values, missing ones
// empty; reading goes on with the next line. The end of the file ends the records; a last line
// without its line end is a cut record, reported and not used. A missing file gives an empty
// reader, silently. Files over 64 MB are not read (reported). A reader given a FaultLog counts in
// its file's tally there, shared with the file's other readers, so a fault is shown once.
class TPrenasecZeStandarduCiselnik : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    static constexpr qint64 MaxFileSize = 64LL * 1024 * 1024;

    TPrenasecZeStandarduCiselnik() = default;
    ~TPrenasecZeStandarduCiselnik() override;

    void Open(const QString& fileName, FaultLog* log = nullptr);
    static Owned<TPrenasecZeStandarduCiselnik> CreateOn(const QString& fileName, FaultLog* log = nullptr);

    void ReadRecord();
    bool Konec() const { return m_atEnd || m_readCount > m_recordCount; }

    TStringListElement* NosicHlavicka();
    QString JmenoCiselniku() const { return m_name; }
    QString OddelovacPropert() const { return m_separator; }
    qint32 PocetHodnotHlavicky() const { return m_columnCount; }
    qint32 PocetDatovychRadku() const { return m_recordCount; }
    qint32 CisloNactenehoRadku() const { return m_readCount; }
    QString CtenyStr() const { return m_lastValue; }
    const FileFaults& faults() const { return *m_faults; }

private:
    // The next line of the file; false at its end.
    bool nextLine(QByteArray& line);
    void readHeader();
    void headerFault(const QString& what);

    QString m_fileName;
    QByteArray m_data;
    qsizetype m_pos = 0;
    int m_lineNo = 0;   // number of the line returned last
    bool m_lineEnded = false;   // that line had its line end
    QString m_name;
    QString m_separator;
    char m_separatorByte = 0;
    qint32 m_columnCount = 0;
    qint32 m_recordCount = -1;
    qint32 m_readCount = 0;
    QString m_lastValue;
    bool m_atEnd = false;
    FileFaults m_ownFaults;
    FileFaults* m_faults = &m_ownFaults;   // the own tally or the file's tally in a log
    WeakRef<TStringListElement> m_carrier;
};
