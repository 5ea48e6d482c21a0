// Writing a whole Paradox table (.DB and its .MB) from field descriptors and raw records.
#pragma once

#include "platform/db/paradox/ParadoxTypes.h"
#include "platform/db/paradox/TableFiles.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

namespace db::paradox {

// What a table consists of. `records` holds `recordCount` records of the layout given by
// `fields` (offsets as layoutFields() sets them), encoded with FieldCodec.
//
// Blob fields: a pointer with a non-zero offset addresses the .MB beside `path` and is written
// as it stands (that file keeps every byte it has). A value that still has to be placed
// (offset 0, longer than its leader, or any graphic) is asked of `blobPayload(field, record,
// row)`: the full payload (memo bytes, graphic without its prefix).
//
// Format: `header` is the header of the file being rewritten with the same fields; the new
// header is that one with the counts brought up to date, so version, block size, code page,
// sort order and table name stay as the file had them. Without it a header of version
// `versionId` (raised to 12 when a field type needs it), `blockSizeKb` and `codePage` is built.
// Rows are written in the given order; a keyed table (keyFieldCount > 0, fixtures only) needs
// unique keys.
struct TableContent
{
    QList<FieldDef> fields;
    int keyFieldCount = 0;
    int codePage = 1250;
    int versionId = 12;
    int blockSizeKb = 4;
    QByteArray header;
    QByteArray records;
    int recordCount = 0;
    // Highest auto-increment value ever handed out; the header keeps at least this.
    uint32_t autoIncMax = 0;
    std::function<QByteArray(int field, const char* record, int row)> blobPayload;
    // Called with the table locked right before each step that changes what the old .DB
    // addresses or replaces it (the .MB growing or replaced, the rename of the new .DB); raises
    // EDatabaseError to refuse the save, which then raises that error unchanged. A save uses it
    // to refuse overwriting what another program saved meanwhile.
    std::function<void()> checkBeforeChange;
};

// What was written: the header and the records with the .MB places of their blobs, and the
// stamp of the new .DB as it went into place.
struct WrittenTable
{
    QByteArray header;
    QByteArray records;
    FileStamp stamp;
};

// Writes the table to `path` (.DB) and its .MB under the table's TableLock. The pair is replaced
// atomically: new blobs are appended to the existing .MB (which the old .DB does not address
// past its old end), then a complete new .DB replaces the old one by a rename. At every failure
// the old pair or the new pair is on the disk; the .MB is cut back to its old end only when
// nobody else wrote it since. A .MB left beside a table without blob fields is removed, and one that
// no record addresses any more is emptied. Every step goes through files::fileOps().
// Raises EDatabaseError naming the table when it has index files (hasIndexFiles), when the
// fields are invalid (empty, duplicate or longer than 25 characters names, bad widths, more
// than 255 fields, records longer than a block), on a repeated key, or on any I/O failure.
WrittenTable writeTable(const QString& path, const TableContent& content);

} // namespace db::paradox
