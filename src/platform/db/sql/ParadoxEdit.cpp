// Changes of a Paradox table file made by SQL: ALTER TABLE ... ADD and the edits of a live result.
#include "platform/db/sql/ParadoxEdit.h"

#include "platform/Exceptions.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/ParadoxWriter.h"
#include "platform/db/sql/LocalSql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace db::sql {

namespace {

using detail::TableStorage;
using paradox::FieldDef;
using paradox::FieldType;
using paradox::ParadoxFile;

void refuseAlter(const QString& path, const ParadoxFile& file)
{
    if (file.isNeverWritten())
        throw EDatabaseError(QStringLiteral("Tabulku \"%1\" nelze měnit, je jen pro čtení.").arg(path));
}

void copyReplacing(const QString& from, const QString& to)
{
    if (QFile::exists(to) && !QFile::remove(to))
        throw EDatabaseError(QStringLiteral("Nelze přepsat zálohu \"%1\".").arg(to));
    if (!QFile::copy(from, to))
        throw EDatabaseError(QStringLiteral("Nelze zálohovat tabulku \"%1\" do \"%2\".").arg(from, to));
}

TableStorage& storageOf(const LiveSource& live)
{
    if (!live.hold)
        throw EDatabaseError(QStringLiteral("Výsledek dotazu nelze upravovat."));
    return live.hold->storage();
}

// Saves the storage; a failure takes the change of `before` back.
void flushOrUndo(TableStorage& storage, const TableStorage::RecordState& before)
{
    try {
        storage.flush();
    } catch (...) {
        storage.restore(before);
        throw;
    }
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
    // The engine refused to restructure a busy table; its open rows would overwrite the new one.
    if (TableStorage::isLive(path))
        throw EDatabaseError(QStringLiteral("Tabulku nelze změnit, je otevřena. Soubor: %1").arg(QDir::toNativeSeparators(path)));
    const ParadoxFile file(path);
    refuseAlter(path, file);
    if (file.fieldIndex(alter.field) >= 0)
        throw EDatabaseError(QStringLiteral("Pole %1 v tabulce \"%2\" už existuje.").arg(alter.field, path));

    QList<FieldDef> fields = file.fields();
    FieldDef added;
    added.name = alter.field;
    added.type = alter.type == AlterTableAdd::Type::Integer ? FieldType::Long : FieldType::Alpha;
    added.width = alter.type == AlterTableAdd::Type::Integer ? 4 : alter.size;
    fields.append(added);
    const int newSize = paradox::layoutFields(fields);

    // The old fields keep their offsets and bytes (blob pointers into the kept .MB included); the
    // new one is NULL (all zero bytes) in every row.
    const int oldSize = file.recordSize();
    const int count = file.recordCount();
    QByteArray records(qsizetype(newSize) * count, '\0');
    for (int row = 0; row < count; ++row)
        std::memcpy(records.data() + qsizetype(row) * newSize, file.record(row), size_t(oldSize));

    copyReplacing(path, backupPath(path));
    if (const QString blobs = file.blobPath(); !blobs.isEmpty())
        copyReplacing(blobs, backupPath(blobs));
    paradox::TableContent content;
    content.fields = fields;
    content.codePage = file.codePage().number();
    content.versionId = file.header().versionId;
    content.blockSizeKb = file.header().blockSize / 1024;
    content.autoIncMax = file.header().autoIncMax;
    content.records = std::move(records);
    content.recordCount = count;
    paradox::writeTable(path, content);
}

void updateRecord(const LiveSource& live, int record, const FieldValues& values)
{
    TableStorage& storage = storageOf(live);
    const TableStorage::RecordState before = storage.recordState(record);
    storage.writeFields(record, values);
    flushOrUndo(storage, before);
}

void deleteRecord(const LiveSource& live, int record)
{
    TableStorage& storage = storageOf(live);
    const TableStorage::RecordState before = storage.recordState(record);
    storage.remove(record);
    flushOrUndo(storage, before);
}

int appendRecord(const LiveSource& live, const FieldValues& values)
{
    TableStorage& storage = storageOf(live);
    const int record = storage.writeFields(-1, values);
    // The new record's state before: deleted, nothing pending.
    TableStorage::RecordState before;
    before.record = record;
    flushOrUndo(storage, before);
    return record;
}

} // namespace db::sql
