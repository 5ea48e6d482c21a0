// Encrypted tables: block unscrambling and blob reads through pxlib.
#pragma once

#include "platform/db/paradox/FieldCodec.h"
#include "platform/db/paradox/ParadoxTypes.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

struct px_doc;

namespace db::paradox {

// Unscrambles the data blocks of an encrypted table in place (`file` is the whole .DB,
// its header already checked). No password is needed.
void decryptBlocks(QByteArray& file, const HeaderInfo& header);

// A read-only FILE over a .MB for pxlib that reports `sizeBias` more bytes at SEEK_END (1 for a
// file of whole 4 KB units keeps pxlib 0.6.8 from its faulty block scan). Closing the FILE
// closes the file; nullptr when it cannot be opened.
FILE* openBlobFileForPxlib(const QString& path, long sizeBias);

// An encrypted .DB opened read-only through pxlib, for its blobs. The caller has
// checked the header, the field list, the file size and the unscrambled block chain
// before, as pxlib does not (it loops forever on a cyclic chain). Errors raise
// EDatabaseError naming the file.
class PxlibTable
{
public:
    explicit PxlibTable(const QString& path);
    ~PxlibTable();
    PxlibTable(const PxlibTable&) = delete;
    PxlibTable& operator=(const PxlibTable&) = delete;

    // The stored bytes of a blob field of `record` from the .MB at `blobPath`.
    QByteArray readBlob(const QString& blobPath, const FieldDef& field, const char* record);

private:
    [[noreturn]] void fail(const QString& reason) const;
    void openBlobFile(const QString& blobPath);

    QString m_path;
    px_doc* m_doc = nullptr;
    FILE* m_file = nullptr;
    bool m_isBlobFileOpen = false;
    // The last error pxlib reported through its handler.
    QString m_error;
};

} // namespace db::paradox
