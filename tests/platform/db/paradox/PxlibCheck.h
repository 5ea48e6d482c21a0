// pxlib as an independent reader of the tables our writer produces.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdio>

struct px_doc;
struct px_val;

namespace test {

// One table opened through pxlib; values come back as QVariants with pxlib's
// known NULL faults mapped (INT32_MIN for 4-byte integers).
class PxlibReader
{
public:
    explicit PxlibReader(const QString& path);
    ~PxlibReader();
    PxlibReader(const PxlibReader&) = delete;
    PxlibReader& operator=(const PxlibReader&) = delete;

    bool isOpen() const { return m_doc != nullptr; }
    int recordCount() const;
    int fieldCount() const;
    QByteArray fieldName(int field) const;   // raw bytes in the table code page
    int fieldType(int field) const;
    int codePage() const;
    // PX_retrieve_record value of (row, field): QString (alpha cp1250, BCD text), int, double,
    // QByteArray (bytes, blobs). Invalid for NULL as pxlib reports it.
    QVariant value(int row, int field) const;
    // Attaches the blob file (fopencookie trick) before reading blob fields.
    void attachBlobFile(const QString& path);

private:
    px_doc* m_doc = nullptr;
    FILE* m_file = nullptr;
};

} // namespace test
