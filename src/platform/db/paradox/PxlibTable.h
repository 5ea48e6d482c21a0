// Reading an encrypted Paradox table through pxlib: raw decrypted records and blobs.
#pragma once

#include "platform/db/paradox/FieldCodec.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>

struct px_doc;

namespace db::paradox {

// An encrypted .DB opened read-only through pxlib (which needs no password). The
// caller has checked the header, the field list and the file size before, as pxlib
// itself does not. Errors raise EDatabaseError naming the file.
class PxlibTable
{
public:
    explicit PxlibTable(const QString& path);
    ~PxlibTable();
    PxlibTable(const PxlibTable&) = delete;
    PxlibTable& operator=(const PxlibTable&) = delete;

    int recordCount() const;
    int recordSize() const;
    // All records, decrypted, record i at i * recordSize().
    QByteArray readRecords() const;
    // The same, read by a child process, so that a damaged file that makes pxlib loop
    // or crash raises EDatabaseError instead. Open the table in this process only after
    // this succeeded.
    static QByteArray readRecordsIsolated(const QString& path, int count, int size);
    // The stored bytes of a blob field of `record` from the .MB at `blobPath`.
    QByteArray readBlob(const QString& blobPath, const FieldDef& field, const char* record);

private:
    [[noreturn]] void fail(const QString& reason) const;
    void openBlobFile(const QString& blobPath);

    QString m_path;
    px_doc* m_doc = nullptr;
    FILE* m_file = nullptr;
    bool m_isBlobFileOpen = false;
    // Bytes pxlib may still read from the .DB in the current step (see ReadCookie);
    // mutable: every read spends it.
    mutable int64_t m_readBudget = 0;
    // The last error pxlib reported through its handler.
    QString m_error;
};

} // namespace db::paradox
