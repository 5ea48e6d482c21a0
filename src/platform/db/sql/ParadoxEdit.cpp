// Changes of a Paradox table file made by SQL: ALTER TABLE ... ADD and the edits of a live result.
#include "platform/db/sql/ParadoxEdit.h"

#include "platform/Exceptions.h"
#include "platform/db/paradox/FieldCodec.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/ParadoxWriter.h"
#include "platform/db/paradox/TableFiles.h"
#include "platform/db/sql/TableHooks.h"

#include <QFile>
#include <QFileInfo>

#include <map>

namespace db::sql {

namespace {

using paradox::FieldDef;
using paradox::FieldType;
using paradox::ParadoxFile;

// Full payloads of blob fields that an edit sets, by (record number, field).
using BlobOverrides = std::map<std::pair<int, int>, QByteArray>;

void refuseIndexed(const QString& path)
{
    flushOpenTables(path);
    if (paradox::hasIndexFiles(path))
        throw EDatabaseError(QStringLiteral("Tabulku \"%1\" s indexovými soubory nelze měnit.").arg(path));
}

// The table content of `file` with `records` in place of its own, blobs taken from the file
// unless overridden.
paradox::TableContent contentOf(const ParadoxFile& file, QList<FieldDef> fields, QByteArray records, int count,
                                const BlobOverrides& overrides)
{
    paradox::TableContent content;
    content.fields = std::move(fields);
    content.keyFieldCount = file.header().keyFieldCount;
    content.codePage = file.codePage().number();
    content.records = std::move(records);
    content.recordCount = count;
    const ParadoxFile* source = &file;
    content.blobPayload = [source, overrides](int field, const char* record, int row) {
        if (const auto it = overrides.find({row, field}); it != overrides.end())
            return it->second;
        return source->blob(field, record);
    };
    return content;
}

// Encodes the values into `record`; blob values go to `overrides` under `row`.
void encodeValues(const ParadoxFile& file, char* record, int row, const FieldValues& values, BlobOverrides& overrides)
{
    for (const auto& [index, value] : values) {
        if (index < 0 || index >= file.fields().size())
            throw EDatabaseError(QStringLiteral("Neplatné pole %1 tabulky \"%2\".").arg(index).arg(file.path()));
        const FieldDef& field = file.fields()[index];
        if (!paradox::isBlobType(field.type)) {
            paradox::encodeValue(field, record, value, file.codePage());
            continue;
        }
        const QByteArray payload = value.typeId() == QMetaType::QByteArray
            ? value.toByteArray()
            : file.codePage().encode(value.toString());
        paradox::encodeBlob(field, record, payload);
        overrides[{row, index}] = payload;
    }
}

void copyReplacing(const QString& from, const QString& to)
{
    if (QFile::exists(to) && !QFile::remove(to))
        throw EDatabaseError(QStringLiteral("Nelze přepsat zálohu \"%1\".").arg(to));
    if (!QFile::copy(from, to))
        throw EDatabaseError(QStringLiteral("Nelze zálohovat tabulku \"%1\" do \"%2\".").arg(from, to));
}

} // namespace

QString backupPath(const QString& path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString base = path.left(path.size() - suffix.size());
    return suffix.isEmpty() ? path + QLatin1String(".~") : base + QLatin1Char('~') + suffix;
}

void alterTableAdd(const QString& path, const AlterTableAdd& alter)
{
    refuseIndexed(path);
    const ParadoxFile file(path);
    if (file.fieldIndex(alter.field) >= 0)
        throw EDatabaseError(QStringLiteral("Pole %1 v tabulce \"%2\" už existuje.").arg(alter.field, path));

    QList<FieldDef> fields = file.fields();
    FieldDef added;
    added.name = alter.field;
    added.type = alter.type == AlterTableAdd::Type::Integer ? FieldType::Long : FieldType::Alpha;
    added.width = alter.type == AlterTableAdd::Type::Integer ? 4 : alter.size;
    fields.append(added);
    const int newSize = paradox::layoutFields(fields);

    // The old fields keep their offsets; the new one is NULL (all zero bytes) in every row.
    const int oldSize = file.recordSize();
    const int count = file.recordCount();
    QByteArray records(qsizetype(newSize) * count, '\0');
    for (int row = 0; row < count; ++row)
        std::memcpy(records.data() + qsizetype(row) * newSize, file.record(row), size_t(oldSize));

    copyReplacing(path, backupPath(path));
    if (const QString blobs = file.blobPath(); !blobs.isEmpty())
        copyReplacing(blobs, backupPath(blobs));
    paradox::writeTable(path, contentOf(file, fields, std::move(records), count, {}));
}

void updateRecord(const QString& path, int recordNumber, const FieldValues& values)
{
    refuseIndexed(path);
    const ParadoxFile file(path);
    if (recordNumber < 0 || recordNumber >= file.recordCount())
        throw EDatabaseError(QStringLiteral("Záznam %1 tabulky \"%2\" neexistuje.").arg(recordNumber + 1).arg(path));
    QByteArray records = file.records();
    BlobOverrides overrides;
    encodeValues(file, records.data() + qsizetype(recordNumber) * file.recordSize(), recordNumber, values, overrides);
    paradox::writeTable(path, contentOf(file, file.fields(), std::move(records), file.recordCount(), overrides));
}

void deleteRecord(const QString& path, int recordNumber)
{
    refuseIndexed(path);
    const ParadoxFile file(path);
    if (recordNumber < 0 || recordNumber >= file.recordCount())
        throw EDatabaseError(QStringLiteral("Záznam %1 tabulky \"%2\" neexistuje.").arg(recordNumber + 1).arg(path));
    QByteArray records = file.records();
    records.remove(qsizetype(recordNumber) * file.recordSize(), file.recordSize());
    paradox::writeTable(path, contentOf(file, file.fields(), std::move(records), file.recordCount() - 1, {}));
}

int appendRecord(const QString& path, const FieldValues& values)
{
    refuseIndexed(path);
    const ParadoxFile file(path);
    const int row = file.recordCount();
    QByteArray records = file.records();
    records.append(QByteArray(file.recordSize(), '\0'));
    char* record = records.data() + qsizetype(row) * file.recordSize();
    for (const FieldDef& field : file.fields())
        paradox::setNull(field, record);
    BlobOverrides overrides;
    encodeValues(file, record, row, values, overrides);
    paradox::writeTable(path, contentOf(file, file.fields(), std::move(records), row + 1, overrides));
    return row;
}

} // namespace db::sql
