// Writing a whole Paradox table (.DB and its .MB) from field descriptors and raw records.
#pragma once

#include "platform/db/paradox/ParadoxTypes.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace db::paradox {

// What a new table consists of. `records` holds `recordCount` records of the layout
// given by `fields` (offsets as layoutFields() sets them), encoded with FieldCodec.
// Blob fields: for every non-NULL blob field the writer asks `blobPayload(field, record,
// row)` for the full payload (memo bytes, graphic without prefix). Without a provider
// the leader must hold the whole value (encodeBlob() of a short payload). Rows are written
// in the given order; for a keyed table (keyFieldCount > 0) the caller sorts them by key.
struct TableContent
{
    QList<FieldDef> fields;
    int keyFieldCount = 0;
    int codePage = 1250;
    QByteArray records;
    int recordCount = 0;
    std::function<QByteArray(int field, const char* record, int row)> blobPayload;
};

// Writes the table to `path` (.DB) and, when it has blob fields, the .MB beside it
// (level 7 header, 4 KB blocks, fully packed, code page `codePage`). Both files are built
// in memory and written to temporary files that replace the old ones only when both are
// complete; an existing .MB of any case keeps its name, and one left beside a table that
// no longer has blob fields is removed. Raises EDatabaseError naming the table when it has
// index files (hasIndexFiles), when the fields are invalid (empty, duplicate or longer
// than 25 characters names, bad widths, more than 255 fields, records longer than a
// block) or on any I/O failure. The .MB of `path` may be the source of `blobPayload`:
// every payload is fetched before anything is written.
void writeTable(const QString& path, const TableContent& content);

} // namespace db::paradox
