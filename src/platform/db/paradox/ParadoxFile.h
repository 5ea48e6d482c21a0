// Reading a Paradox table (.DB) with its blob file (.MB): validated, held in memory as raw records.
#pragma once

#include "platform/db/paradox/BlobFile.h"
#include "platform/db/paradox/CodePage.h"
#include "platform/db/paradox/FieldCodec.h"
#include "platform/db/paradox/ParadoxTypes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <utility>

namespace db::paradox {

class PxlibTable;

// One opened table. Opening reads and validates the whole .DB (header, field list,
// block chain, counts, file size) and keeps the records as one contiguous buffer,
// record i at i * recordSize(); nothing is decoded until asked. The .MB is opened on
// the first blob read. Any damage raises EDatabaseError naming the file
// ("Tabulka \"%1\" je poškozená: %2"); a missing or unreadable file, and anything but a regular
// file (a device, a pipe), raises too.
// Encrypted tables are unscrambled by pxlib (no password needed).
// Not copyable; the records do not change after opening.
class ParadoxFile
{
public:
    // Opens `path` (exact path of the .DB). Raises EDatabaseError.
    explicit ParadoxFile(const QString& path);
    ~ParadoxFile();
    ParadoxFile(const ParadoxFile&) = delete;
    ParadoxFile& operator=(const ParadoxFile&) = delete;

    const QString& path() const { return m_path; }
    const HeaderInfo& header() const { return m_header; }
    // The header as stored (header size bytes), kept so that a rewrite keeps its format.
    const QByteArray& headerBytes() const { return m_headerBytes; }
    const QList<FieldDef>& fields() const { return m_fields; }
    // Index of a field by name ignoring case; -1 when there is none.
    int fieldIndex(QStringView name) const;
    const CodePage& codePage() const { return *m_codePage; }
    int recordCount() const { return m_header.recordCount; }
    int recordSize() const { return m_header.recordSize; }
    // All records, recordCount() * recordSize() bytes.
    const QByteArray& records() const { return m_records; }
    // Moves the records out to a caller that keeps its own rows (and reads only blobs, header and
    // fields from here afterwards); record(), value() and records() are empty then.
    QByteArray takeRecords() { return std::exchange(m_records, QByteArray()); }
    const char* record(int row) const { return m_records.constData() + qsizetype(row) * m_header.recordSize; }

    bool isNull(int row, int field) const;
    // decodeValue() of the field; blob fields give their payload (see blob()).
    QVariant value(int row, int field) const;
    // Full payload of a blob field of `record` (a record of this table or a copy of
    // one): memo bytes in the table code page, graphic without its 8-byte prefix.
    // NULL gives an empty array. A bad pointer raises EDatabaseError naming the .MB.
    QByteArray blob(int field, const char* record) const;
    QByteArray blob(int row, int field) const { return blob(field, record(row)); }
    // Memo/FmtMemo payload decoded in the table code page.
    QString memoText(int row, int field) const;
    // The .MB beside the .DB (any case), empty when there is none.
    QString blobPath() const;
    // Tables this program never writes: keyed ones (the engine keeps their primary index in a .PX
    // that is not maintained here), those with index files of another program, encrypted ones.
    bool isNeverWritten() const;
    // Forgets the .MB read so far: it grew (a save appended blobs) and the rows now address
    // `references`; the next blob read rereads it.
    void forgetBlobFile(BlobReferences references);

private:
    const BlobFile& blobFile() const;
    // The .MB of an encrypted table, checked to hold the blob `ptr` addresses.
    QString encryptedBlobPath(const BlobPointer& ptr) const;

    QString m_path;
    HeaderInfo m_header;
    QList<FieldDef> m_fields;
    const CodePage* m_codePage = nullptr;
    QByteArray m_records;
    QByteArray m_headerBytes;
    // Opened on the first blob read.
    mutable std::unique_ptr<BlobFile> m_blobs;
    BlobReferences m_blobReferences;   // of the rows, for the .MB's checks
    mutable std::unique_ptr<PxlibTable> m_pxlib;
};

// Code page assumed for tables whose header names none (level 3); default 1250.
int defaultCodePage();
void setDefaultCodePage(int codePage);

// The session's table passwords (callers register the ones they know). Encrypted
// tables are decrypted without them; the list is kept for callers that ask.
void addPassword(const QString& password);
void removePassword(const QString& password);
QStringList passwords();

} // namespace db::paradox
