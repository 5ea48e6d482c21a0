// The rows of one Paradox table file held in memory and shared by every db::Table open on it.
#include "platform/db/TableStorage.h"

#include "platform/db/paradox/FieldCodec.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/ParadoxWriter.h"
#include "platform/db/paradox/TableFiles.h"
#include "platform/Exceptions.h"
#include "platform/text/Case.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>

namespace db::detail {

namespace {

using PxType = paradox::FieldType;

QHash<QString, std::weak_ptr<TableStorage>>& registry()
{
    static QHash<QString, std::weak_ptr<TableStorage>> r;
    return r;
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

FieldType fieldTypeOf(PxType type)
{
    switch (type) {
    case PxType::Alpha: return FieldType::ftString;
    case PxType::Date: return FieldType::ftDate;
    case PxType::Short: return FieldType::ftSmallint;
    case PxType::Long: return FieldType::ftInteger;
    case PxType::Currency: return FieldType::ftCurrency;
    case PxType::Number: return FieldType::ftFloat;
    case PxType::Logical: return FieldType::ftBoolean;
    case PxType::Memo: return FieldType::ftMemo;
    case PxType::Blob: return FieldType::ftBlob;
    case PxType::FmtMemo: return FieldType::ftFmtMemo;
    case PxType::Ole: return FieldType::ftParadoxOle;
    case PxType::Graphic: return FieldType::ftGraphic;
    case PxType::Time: return FieldType::ftTime;
    case PxType::Timestamp: return FieldType::ftDateTime;
    case PxType::AutoInc: return FieldType::ftInteger;   // the class library showed it as an integer
    case PxType::Bcd: return FieldType::ftBCD;
    case PxType::Bytes: return FieldType::ftBytes;
    }
    return FieldType::ftUnknown;
}

// The file field of a definition; width 0 when the type has no Paradox form.
paradox::FieldDef paradoxFieldOf(const FieldDef& def)
{
    paradox::FieldDef f;
    f.name = def.Name;
    auto set = [&](PxType type, int width) { f.type = type; f.width = width; };
    const int blobLeader = std::max(def.Size, 0);
    switch (def.DataType) {
    case FieldType::ftString: set(PxType::Alpha, def.Size > 0 ? def.Size : 20); break;
    case FieldType::ftSmallint: set(PxType::Short, 2); break;
    case FieldType::ftInteger: case FieldType::ftWord: set(PxType::Long, 4); break;
    case FieldType::ftAutoInc: set(PxType::AutoInc, 4); break;
    case FieldType::ftBoolean: set(PxType::Logical, 1); break;
    case FieldType::ftFloat: set(PxType::Number, 8); break;
    case FieldType::ftCurrency: set(PxType::Currency, 8); break;
    case FieldType::ftBCD: set(PxType::Bcd, 17); f.decimals = def.Size; break;
    case FieldType::ftDate: set(PxType::Date, 4); break;
    case FieldType::ftTime: set(PxType::Time, 4); break;
    case FieldType::ftDateTime: set(PxType::Timestamp, 8); break;
    case FieldType::ftBytes: set(PxType::Bytes, def.Size); break;
    case FieldType::ftMemo: set(PxType::Memo, 10 + std::max(blobLeader, 1)); break;
    case FieldType::ftFmtMemo: set(PxType::FmtMemo, 10 + std::max(blobLeader, 1)); break;
    case FieldType::ftBlob: case FieldType::ftTypedBinary: set(PxType::Blob, 10 + blobLeader); break;
    case FieldType::ftGraphic: set(PxType::Graphic, 10 + blobLeader); break;
    case FieldType::ftParadoxOle: set(PxType::Ole, 10 + blobLeader); break;
    default: break;
    }
    return f;
}

void checkNotOpen(const QString& path)
{
    if (registry().value(path).lock())
        throw EDatabaseError(QStringLiteral("Tabulka je otevřena. Soubor: %1").arg(native(path)));
}

void checkNoIndexFiles(const QString& path)
{
    if (paradox::hasIndexFiles(path))
        throw EDatabaseError(
            QStringLiteral("Tabulka má indexové soubory jiného programu a nelze ji měnit. Soubor: %1")
                .arg(native(path)));
}

bool hasBlobFields(const QList<paradox::FieldDef>& fields)
{
    return std::any_of(fields.begin(), fields.end(),
                       [](const paradox::FieldDef& f) { return paradox::isBlobType(f.type); });
}

// Writes the table and removes a .MB that the new table no longer needs.
void writeWhole(const QString& path, const paradox::TableContent& content)
{
    paradox::writeTable(path, content);
    if (!hasBlobFields(content.fields)) {
        const QString mb = paradox::companionFile(path, QStringLiteral("MB"));
        if (!mb.isEmpty())
            QFile::remove(mb);
    }
}

} // namespace

TableStorage::TableStorage() = default;
TableStorage::~TableStorage() = default;

// --- registry ---------------------------------------------------------------------------------

std::shared_ptr<TableStorage> TableStorage::acquire(const QString& path, bool exclusive)
{
    if (auto live = registry().value(path).lock()) {
        if (exclusive || live->exclusiveHeld)
            throw EDatabaseError(QStringLiteral("Tabulka je uzamčena. Soubor: %1").arg(native(path)));
        ++live->holders;
        return live;
    }
    if (!QFileInfo(path).isFile())
        throw EDatabaseError(QStringLiteral("Tabulka neexistuje. Soubor: %1").arg(native(path)));
    auto storage = std::make_shared<TableStorage>();
    storage->load(path);
    storage->holders = 1;
    storage->exclusiveHeld = exclusive;
    registry().insert(path, storage);
    return storage;
}

void TableStorage::release(std::shared_ptr<TableStorage> storage, bool exclusive)
{
    if (!storage)
        return;
    if (exclusive)
        storage->exclusiveHeld = false;
    if (--storage->holders <= 0)
        registry().remove(storage->path);
}

void TableStorage::flushPending(const QString& path)
{
    if (auto live = registry().value(path).lock())
        live->flush();
}

bool TableStorage::isLive(const QString& path)
{
    return bool(registry().value(path).lock());
}

void TableStorage::create(const QString& path, const FieldDefs& defs)
{
    checkNotOpen(path);
    checkNoIndexFiles(path);
    if (defs.Count() == 0)
        throw EDatabaseError(QStringLiteral("Tabulka nemá žádná pole. Soubor: %1").arg(native(path)));
    paradox::TableContent content;
    for (const FieldDef& def : defs) {
        const paradox::FieldDef f = paradoxFieldOf(def);
        if (f.width <= 0 || !paradox::isValidWidth(f.type, f.width)
            || (f.type == PxType::Bcd && (f.decimals < 0 || f.decimals > 32)))
            throw EDatabaseError(QStringLiteral("Pole '%1' typu %2 o velikosti %3 nelze vytvořit")
                                     .arg(def.Name, fieldTypeName(def.DataType)).arg(def.Size));
        content.fields.append(f);
    }
    paradox::layoutFields(content.fields);
    writeWhole(path, content);
}

void TableStorage::deleteFiles(const QString& path)
{
    checkNotOpen(path);
    checkNoIndexFiles(path);
    if (!QFileInfo(path).isFile())
        throw EDatabaseError(QStringLiteral("Tabulka neexistuje. Soubor: %1").arg(native(path)));
    const QString mb = paradox::companionFile(path, QStringLiteral("MB"));
    if (!QFile::remove(path))
        throw EDatabaseError(QStringLiteral("Tabulku nelze smazat. Soubor: %1").arg(native(path)));
    if (!mb.isEmpty())
        QFile::remove(mb);
}

void TableStorage::emptyFile(const QString& path)
{
    if (auto live = registry().value(path).lock()) {
        if (live->readOnly)
            throw EDatabaseError(QStringLiteral("Tabulku nelze měnit, je jen pro čtení. Soubor: %1").arg(native(path)));
        live->removeAll();
        live->flush();
        return;
    }
    checkNoIndexFiles(path);
    const paradox::ParadoxFile file(path);
    paradox::TableContent content;
    content.fields = file.fields();
    content.keyFieldCount = file.header().keyFieldCount;
    content.codePage = file.codePage().number();
    writeWhole(path, content);
}

// --- rows ---------------------------------------------------------------------------------------

void TableStorage::load(const QString& filePath)
{
    path = filePath;
    file = std::make_unique<paradox::ParadoxFile>(filePath);
    const paradox::HeaderInfo& header = file->header();
    fields = file->fields();
    codePage = &file->codePage();
    recordSize = file->recordSize();
    keyFields = std::clamp(header.keyFieldCount, 0, int(fields.size()));
    keyBytes = 0;
    for (int i = 0; i < keyFields; ++i)
        keyBytes += fields[i].width;
    records = file->records();
    count = file->recordCount();
    deleted.assign(size_t(count), 0);
    autoIncMax = header.autoIncMax;
    autoIncScanned = false;
    const QFileInfo info(filePath);
    readOnly = paradox::hasIndexFiles(filePath) || header.isEncrypted || !info.isWritable()
        || !QFileInfo(info.absolutePath()).isWritable();
    stamp = stampOf(filePath);
    blobs.clear();
    dirty = false;
}

TableStorage::FileStamp TableStorage::stampOf(const QString& filePath)
{
    struct stat st {};
    if (::stat(QFile::encodeName(filePath).constData(), &st) != 0)
        return FileStamp();
    return FileStamp{quint64(st.st_ino), qint64(st.st_size),
                     qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool TableStorage::reloadIfChangedOnDisk()
{
    if (dirty || holders > 1 || !QFileInfo(path).isFile() || stampOf(path) == stamp)
        return false;
    const paradox::ParadoxFile probe(path);
    const QList<paradox::FieldDef>& now = probe.fields();
    const bool sameLayout = now.size() == fields.size()
        && std::equal(now.begin(), now.end(), fields.begin(), [](const auto& a, const auto& b) {
               return a.name == b.name && a.type == b.type && a.width == b.width && a.decimals == b.decimals;
           });
    if (!sameLayout)
        return false;
    load(path);
    ++version;
    return true;
}

FieldDef TableStorage::fieldDef(int field) const
{
    const paradox::FieldDef& f = fields[field];
    FieldDef def;
    def.Name = f.name;
    def.DataType = fieldTypeOf(f.type);
    switch (f.type) {
    case PxType::Alpha: case PxType::Bytes: def.Size = f.width; break;
    case PxType::Bcd: def.Size = f.decimals; break;
    default: def.Size = paradox::isBlobType(f.type) ? f.width - 10 : 0; break;
    }
    return def;
}

int TableStorage::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (txt::sameTextAscii(fields[i].name, name))
            return i;
    }
    return -1;
}

bool TableStorage::isAutoInc(int field) const
{
    return fields[field].type == PxType::AutoInc;
}

QVariant TableStorage::value(int record, int field) const
{
    const char* rec = records.constData() + qsizetype(record) * recordSize;
    const paradox::FieldDef& f = fields[field];
    if (!paradox::isBlobType(f.type))
        return paradox::isNull(f, rec) ? QVariant() : paradox::decodeValue(f, rec, *codePage);
    QByteArray payload;
    const auto it = blobs.constFind(blobKey(record, field));
    if (it != blobs.constEnd())
        payload = *it;
    else if (!paradox::isNull(f, rec))
        payload = file->blob(field, rec);
    if (payload.isEmpty())
        return QVariant();
    if (f.type == PxType::Memo || f.type == PxType::FmtMemo)
        return codePage->decode(payload);
    return payload;
}

int TableStorage::write(int record, const std::vector<QVariant>& values)
{
    if (record >= count || (record >= 0 && deleted[size_t(record)]))
        throw EDatabaseError(QStringLiteral("Záznam nebyl nalezen"));
    QByteArray rec(recordSize, '\0');
    if (record >= 0)
        std::memcpy(rec.data(), records.constData() + qsizetype(record) * recordSize, size_t(recordSize));
    QHash<int, QByteArray> newBlobs;
    uint32_t nextAutoInc = highestAutoInc();
    for (int i = 0; i < fields.size() && i < int(values.size()); ++i) {
        const paradox::FieldDef& f = fields[i];
        QVariant v = values[size_t(i)];
        if (paradox::isBlobType(f.type)) {
            if (record >= 0 && value(record, i) == v)
                continue;   // unchanged: the pointer stays
            const bool isMemo = f.type == PxType::Memo || f.type == PxType::FmtMemo;
            const QByteArray payload = !v.isValid() ? QByteArray()
                : isMemo ? codePage->encode(v.toString()) : v.toByteArray();
            if (payload.isEmpty())
                paradox::setNull(f, rec.data());
            else
                paradox::encodeBlob(f, rec.data(), payload);
            newBlobs.insert(i, payload);
            continue;
        }
        if (f.type == PxType::AutoInc && !v.isValid() && record < 0)
            v = int(++nextAutoInc);
        paradox::encodeValue(f, rec.data(), v, *codePage);
        if (f.type == PxType::AutoInc && v.isValid())
            nextAutoInc = std::max(nextAutoInc, uint32_t(std::max(v.toInt(), 0)));
    }
    if (keyBytes > 0) {
        for (int r = 0; r < count; ++r) {
            if (r != record && !deleted[size_t(r)]
                && std::memcmp(records.constData() + qsizetype(r) * recordSize, rec.constData(), size_t(keyBytes)) == 0)
                throw EDatabaseError(QStringLiteral("Porušení klíče. Soubor: %1").arg(native(path)));
        }
    }
    if (record < 0) {
        records.append(rec);
        deleted.push_back(0);
        record = count++;
    } else {
        std::memcpy(records.data() + qsizetype(record) * recordSize, rec.constData(), size_t(recordSize));
    }
    for (auto it = newBlobs.cbegin(); it != newBlobs.cend(); ++it)
        blobs.insert(blobKey(record, it.key()), it.value());
    autoIncMax = nextAutoInc;
    dirty = true;
    ++version;
    return record;
}

uint32_t TableStorage::highestAutoInc()
{
    // The header's count may lag behind the rows (tables written by other programs): take both.
    if (autoIncScanned)
        return autoIncMax;
    for (int field = 0; field < fields.size(); ++field) {
        if (fields[field].type != PxType::AutoInc)
            continue;
        for (int r = 0; r < count; ++r) {
            const char* rec = records.constData() + qsizetype(r) * recordSize;
            if (!paradox::isNull(fields[field], rec))
                autoIncMax = std::max(autoIncMax, uint32_t(std::max(paradox::decodeLong(fields[field], rec), 0)));
        }
    }
    autoIncScanned = true;
    return autoIncMax;
}

void TableStorage::remove(int record)
{
    if (record < 0 || record >= count || deleted[size_t(record)])
        return;
    deleted[size_t(record)] = 1;
    for (int i = 0; i < fields.size(); ++i)
        blobs.remove(blobKey(record, i));
    dirty = true;
    ++version;
}

void TableStorage::removeAll()
{
    std::fill(deleted.begin(), deleted.end(), uint8_t(1));
    blobs.clear();
    dirty = true;
    ++version;
}

void TableStorage::flush()
{
    if (!dirty)
        return;
    if (readOnly)
        throw EDatabaseError(QStringLiteral("Tabulku nelze měnit, je jen pro čtení. Soubor: %1").arg(native(path)));
    std::vector<int> ids;
    ids.reserve(size_t(count));
    for (int r = 0; r < count; ++r) {
        if (!deleted[size_t(r)])
            ids.push_back(r);
    }
    if (keyBytes > 0) {   // a keyed table keeps its rows sorted by key along the block chain
        std::stable_sort(ids.begin(), ids.end(), [this](int a, int b) {
            return std::memcmp(records.constData() + qsizetype(a) * recordSize,
                               records.constData() + qsizetype(b) * recordSize, size_t(keyBytes)) < 0;
        });
    }
    paradox::TableContent content;
    content.fields = fields;
    content.keyFieldCount = keyFields;
    content.codePage = codePage->number();
    content.recordCount = int(ids.size());
    content.records.reserve(qsizetype(ids.size()) * recordSize);
    for (const int r : ids)
        content.records.append(records.constData() + qsizetype(r) * recordSize, recordSize);
    content.blobPayload = [&](int field, const char* rec, int row) {
        const auto it = blobs.constFind(blobKey(ids[size_t(row)], field));
        return it != blobs.constEnd() ? *it : file->blob(field, rec);
    };
    writeWhole(path, content);
    // The new .MB has new blob places: take the written records back so the pointers match it.
    auto fresh = std::make_unique<paradox::ParadoxFile>(path);
    if (fresh->recordCount() != int(ids.size()) || fresh->recordSize() != recordSize)
        throw EDatabaseError(QStringLiteral("Tabulka se nezapsala celá. Soubor: %1").arg(native(path)));
    for (size_t row = 0; row < ids.size(); ++row)
        std::memcpy(records.data() + qsizetype(ids[row]) * recordSize, fresh->record(int(row)), size_t(recordSize));
    file = std::move(fresh);
    codePage = &file->codePage();
    blobs.clear();
    dirty = false;
    stamp = stampOf(path);
}

} // namespace db::detail
