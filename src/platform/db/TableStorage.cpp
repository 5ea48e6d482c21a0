// The rows of one Paradox table file held in memory: the one writer of that file in the process.
#include "platform/db/TableStorage.h"

#include "platform/db/paradox/FieldCodec.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/ParadoxWriter.h"
#include "platform/db/paradox/RecordBuffer.h"
#include "platform/db/paradox/TableFiles.h"
#include "platform/Exceptions.h"
#include "platform/text/Case.h"
#include "platform/ui/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

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

// Registry key of a path: the canonical path of an existing file, so that every spelling of one
// file reaches the same rows.
QString registryKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

void checkNotOpen(const QString& path)
{
    if (registry().value(registryKey(path)).lock())
        throw EDatabaseError(QStringLiteral("Tabulka je otevřena. Soubor: %1").arg(native(path)));
}

void checkNoIndexFiles(const QString& path)
{
    if (paradox::hasIndexFiles(path))
        throw EDatabaseError(
            QStringLiteral("Tabulka má indexové soubory jiného programu a nelze ji měnit. Soubor: %1")
                .arg(native(path)));
}

[[noreturn]] void readOnlyError(const QString& path)
{
    throw EDatabaseError(QStringLiteral("Tabulku nelze měnit, je jen pro čtení. Soubor: %1").arg(native(path)));
}

// The content of a table with the same fields, its header kept: only the rows change.
paradox::TableContent contentKeepingFormat(const paradox::ParadoxFile& file, const QByteArray& header)
{
    paradox::TableContent content;
    content.fields = file.fields();
    content.codePage = file.codePage().number();
    content.versionId = file.header().versionId;
    content.blockSizeKb = file.header().blockSize / 1024;
    content.header = header;
    content.autoIncMax = file.header().autoIncMax;
    return content;
}

constexpr qsizetype kLargeRecords = qsizetype(256) << 10;
constexpr qsizetype kLargeReserve = qsizetype(64) << 20;

bool isMemo(PxType type)
{
    return type == PxType::Memo || type == PxType::FmtMemo;
}

} // namespace

TableStorage::TableStorage() = default;
TableStorage::~TableStorage() = default;

// --- registry ---------------------------------------------------------------------------------

std::shared_ptr<TableStorage> TableStorage::acquire(const QString& path, bool exclusive)
{
    const QString key = registryKey(path);
    if (auto live = registry().value(key).lock()) {
        if (exclusive || live->m_isExclusiveHeld)
            throw EDatabaseError(QStringLiteral("Tabulka je uzamčena. Soubor: %1").arg(native(path)));
        ++live->m_holders;
        return live;
    }
    if (!QFileInfo(path).isFile())
        throw EDatabaseError(QStringLiteral("Tabulka neexistuje. Soubor: %1").arg(native(path)));
    auto storage = std::make_shared<TableStorage>();
    storage->load(path);
    storage->m_holders = 1;
    storage->m_isExclusiveHeld = exclusive;
    registry().insert(key, storage);
    return storage;
}

void TableStorage::release(std::shared_ptr<TableStorage> storage, bool exclusive)
{
    if (!storage)
        return;
    if (exclusive)
        storage->m_isExclusiveHeld = false;
    if (--storage->m_holders <= 0)
        registry().remove(registryKey(storage->m_path));
}

bool TableStorage::isLive(const QString& path)
{
    return bool(registry().value(registryKey(path)).lock());
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
    paradox::writeTable(path, content);
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
    if (auto live = registry().value(registryKey(path)).lock()) {
        if (live->m_isReadOnly)
            readOnlyError(path);
        live->removeAll();
        live->flush();
        return;
    }
    const paradox::ParadoxFile file(path);
    if (file.isNeverWritten())
        readOnlyError(path);
    paradox::writeTable(path, contentKeepingFormat(file, file.headerBytes()));
}

// --- rows ---------------------------------------------------------------------------------------

void TableStorage::load(const QString& filePath)
{
    m_path = filePath;
    const paradox::FileStamp stamp = paradox::stampOf(filePath);   // before reading: a write meanwhile shows
    m_file = std::make_unique<paradox::ParadoxFile>(filePath);
    const paradox::HeaderInfo& header = m_file->header();
    m_fields = m_file->fields();
    m_codePage = &m_file->codePage();
    m_recordSize = m_file->recordSize();
    m_keyFieldCount = std::clamp(header.keyFieldCount, 0, int(m_fields.size()));
    m_autoIncFields.clear();
    m_bcdFields.clear();
    m_isBlobField.assign(size_t(m_fields.size()), 0);
    for (int i = 0; i < m_fields.size(); ++i) {
        m_isBlobField[size_t(i)] = paradox::isBlobType(m_fields[i].type) ? 1 : 0;
        if (m_fields[i].type == PxType::AutoInc)
            m_autoIncFields.push_back(i);
        else if (m_fields[i].type == PxType::Bcd)
            m_bcdFields.push_back(i);
    }
    m_count = m_file->recordCount();
    m_records = m_file->takeRecords();   // one copy of the rows, not two
    m_headerBytes = m_file->headerBytes();
    m_deleted.assign(size_t(m_count), 0);
    m_changed.assign(size_t(m_count), 0);
    m_changedCount = 0;
    // The header's counter may lag behind the rows (tables written by other programs): take both.
    m_autoIncMax = std::max(m_autoIncMax, header.autoIncMax);
    for (const paradox::FieldDef& f : m_fields) {
        if (f.type != PxType::AutoInc)
            continue;
        for (int r = 0; r < m_count; ++r) {
            if (!paradox::isNull(f, record(r)))
                m_autoIncMax = std::max(m_autoIncMax, uint32_t(std::max(paradox::decodeLong(f, record(r)), 0)));
        }
    }
    const QFileInfo info(filePath);
    m_isReadOnly = m_file->isNeverWritten() || !info.isWritable() || !QFileInfo(info.absolutePath()).isWritable();
    m_stamp = stamp;
    m_blobs.clear();
    m_isDirty = false;
}

// The file is the one last read or written: same identity, size, time and header.
bool TableStorage::isUnchangedOnDisk() const
{
    if (paradox::stampOf(m_path) != m_stamp)
        return false;
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly) && file.read(m_headerBytes.size()) == m_headerBytes;
}

void TableStorage::refuseIfChangedOnDisk() const
{
    if (!isUnchangedOnDisk())
        throw EDatabaseError(QStringLiteral("Tabulku mezitím změnil jiný program, změny nelze uložit, "
                                            "aby nepřepsaly jeho data. Soubor: %1")
                                 .arg(native(m_path)));
}

bool TableStorage::reloadIfChangedOnDisk()
{
    if (m_isDirty || m_holders > 1 || !QFileInfo(m_path).isFile() || isUnchangedOnDisk())
        return false;
    const paradox::ParadoxFile probe(m_path);
    const QList<paradox::FieldDef>& now = probe.fields();
    const bool sameLayout = now.size() == m_fields.size()
        && std::equal(now.begin(), now.end(), m_fields.begin(), [](const auto& a, const auto& b) {
               return a.name == b.name && a.type == b.type && a.width == b.width && a.decimals == b.decimals;
           });
    if (!sameLayout)
        return false;
    load(m_path);
    ++m_version;
    return true;
}

FieldDef TableStorage::fieldDef(int field) const
{
    const paradox::FieldDef& f = m_fields[field];
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
    for (int i = 0; i < m_fields.size(); ++i) {
        if (txt::sameTextLetters(m_fields[i].name, name))
            return i;
    }
    return -1;
}

bool TableStorage::isAutoInc(int field) const
{
    return m_fields[field].type == PxType::AutoInc;
}

QByteArray TableStorage::blob(int rec, int field) const
{
    const auto it = m_blobs.constFind(blobKey(rec, field));
    if (it != m_blobs.constEnd())
        return *it;
    return paradox::isNull(m_fields[field], record(rec)) ? QByteArray() : m_file->blob(field, record(rec));
}

std::shared_ptr<void> TableStorage::sharedOrder(const std::vector<int>& fields) const
{
    for (const SharedOrder& shared : m_sharedOrders) {
        if (shared.version == m_version && shared.fields == fields)
            return shared.order.lock();
    }
    return nullptr;
}

void TableStorage::shareOrder(const std::vector<int>& fields, const std::shared_ptr<void>& order) const
{
    // Orders of older rows, and those no holder keeps any more, go first.
    std::erase_if(m_sharedOrders, [&](const SharedOrder& shared) {
        return shared.version != m_version || shared.order.expired() || shared.fields == fields;
    });
    m_sharedOrders.push_back({m_version, fields, order});
}

bool TableStorage::number(int rec, int field, double& value, bool& isNull) const
{
    const paradox::FieldDef& f = m_fields[field];
    const char* r = record(rec);
    switch (f.type) {
    case PxType::Short: case PxType::Long: case PxType::AutoInc: case PxType::Number: case PxType::Currency:
    case PxType::Bcd: case PxType::Logical: case PxType::Date: case PxType::Time: case PxType::Timestamp:
        break;
    default:
        return false;
    }
    isNull = paradox::isNull(f, r);
    if (isNull) {
        value = 0;
        return true;
    }
    switch (f.type) {
    case PxType::Short: value = paradox::decodeShort(f, r); break;
    case PxType::Long: case PxType::AutoInc: value = paradox::decodeLong(f, r); break;
    case PxType::Number: case PxType::Currency: value = paradox::decodeDouble(f, r); break;
    case PxType::Bcd: value = paradox::decodeBcd(f, r); break;
    case PxType::Logical: value = paradox::decodeLogical(f, r) ? 1.0 : 0.0; break;
    case PxType::Date: value = paradox::decodeDate(f, r); break;
    case PxType::Time: value = paradox::decodeTime(f, r); break;
    default: value = paradox::decodeTimestamp(f, r); break;
    }
    return true;
}

bool TableStorage::text(int rec, int field, QString& text) const
{
    const paradox::FieldDef& f = m_fields[field];
    if (f.type != PxType::Alpha)
        return false;
    const char* r = record(rec);
    if (paradox::isNull(f, r)) {
        text = QString();
        return true;
    }
    // The text depends on the bytes before the first NUL alone.
    const char* p = r + f.offset;
    const qsizetype n = qsizetype(qstrnlen(p, uint(f.width)));
    if (m_textMemo.size() != size_t(m_fields.size()))
        m_textMemo.assign(size_t(m_fields.size()), TextMemo{});
    TextMemo& memo = m_textMemo[size_t(field)];
    if (memo.codePage == m_codePage && memo.bytes.size() == n && (n == 0 || std::memcmp(memo.bytes.constData(), p, size_t(n)) == 0)) {
        text = memo.text;
        return true;
    }
    text = paradox::decodeAlpha(f, r, *m_codePage);
    dropPaddingBlanks(text);   // as Field::AsString: a code page may decode a byte to a blank
    memo.codePage = m_codePage;
    memo.bytes.resize(n);   // keeps its capacity for the next values
    if (n > 0)
        std::memcpy(memo.bytes.data(), p, size_t(n));
    memo.text = text;
    return true;
}

QVariant TableStorage::value(int rec, int field) const
{
    const paradox::FieldDef& f = m_fields[field];
    if (!paradox::isBlobType(f.type))
        return paradox::isNull(f, record(rec)) ? QVariant() : paradox::decodeValue(f, record(rec), *m_codePage);
    const QByteArray payload = blob(rec, field);
    if (payload.isEmpty())
        return QVariant();
    if (isMemo(f.type))
        return m_codePage->decode(payload);
    return payload;
}

// Encodes one blob value into `rec`; its payload goes to `newBlobs`.
void TableStorage::storeBlob(const paradox::FieldDef& f, int field, char* rec, const QVariant& value,
                             QHash<int, QByteArray>& newBlobs)
{
    const QByteArray payload = !value.isValid() || value.isNull() ? QByteArray()
        : value.typeId() == QMetaType::QString ? m_codePage->encode(value.toString())
                                               : value.toByteArray();
    if (payload.isEmpty())
        paradox::setNull(f, rec);
    else
        paradox::encodeBlob(f, rec, payload);
    newBlobs.insert(field, payload);
}

int TableStorage::write(int rec, const std::vector<QVariant>& values)
{
    std::vector<FieldValue>& changed = m_writeFields;   // kept for its capacity
    changed.clear();
    for (int i = 0; i < m_fields.size() && i < int(values.size()); ++i) {
        // An unchanged field keeps its stored bytes: decoding is not always exact (blanks after
        // an alpha value, sub-millisecond times, long BCD numbers).
        if (rec >= 0 && values[size_t(i)] == value(rec, i))
            continue;
        changed.push_back({i, &values[size_t(i)]});
    }
    return store(rec, changed);
}

int TableStorage::writeFields(int rec, const FieldValues& values)
{
    std::vector<FieldValue> fields;
    fields.reserve(size_t(values.size()));
    for (const auto& [field, v] : values)
        fields.push_back({field, &v});
    return store(rec, fields);
}

int TableStorage::store(int rec, const std::vector<FieldValue>& values)
{
    if (m_isReadOnly)
        readOnlyError(m_path);
    if (rec >= m_count || (rec >= 0 && m_deleted[size_t(rec)]))
        throw EDatabaseError(QStringLiteral("Záznam nebyl nalezen"));
    // A new record is built in place after the others, an edit in a copy: either is dropped when
    // a value cannot be stored.
    const qsizetype end = m_records.size();
    QByteArray copy;
    char* bytes = nullptr;
    if (rec >= 0) {
        copy = QByteArray(record(rec), m_recordSize);
        bytes = copy.data();
    } else {
        // A large table grows into one reservation far above the allocator's mapping threshold:
        // pages of its own, backed by large pages where offered; growing it further remaps them
        // instead of copying, and pages not yet written take no memory.
        if (end + m_recordSize > m_records.capacity() && end >= kLargeRecords) {
            m_records.reserve(std::max(2 * end, kLargeReserve));
            paradox::adviseLargePages(m_records);
        }
        m_records.resize(end + m_recordSize);
        bytes = m_records.data() + end;
        std::memset(bytes, 0, size_t(m_recordSize));
        for (const int i : m_bcdFields)
            paradox::setNull(m_fields[i], bytes);
    }
    QHash<int, QByteArray> newBlobs;
    uint32_t autoInc = m_autoIncMax;
    try {
        bool isAutoIncSet = false;
        for (const FieldValue& fv : values) {
            const int field = fv.field;
            const QVariant& v = *fv.value;
            if (field < 0 || field >= m_fields.size())
                throw EDatabaseError(QStringLiteral("Neplatné pole %1. Soubor: %2").arg(field).arg(native(m_path)));
            const paradox::FieldDef& f = m_fields[field];
            if (m_isBlobField[size_t(field)])
                storeBlob(f, field, bytes, v, newBlobs);
            else
                paradox::encodeValue(f, bytes, v, *m_codePage);
            if (f.type == PxType::AutoInc && v.isValid()) {
                autoInc = std::max(autoInc, uint32_t(std::max(v.toInt(), 0)));
                isAutoIncSet = true;
            }
        }
        if (rec < 0 && !isAutoIncSet) {
            for (const int i : m_autoIncFields)
                paradox::encodeLong(m_fields[i], bytes, int32_t(++autoInc));
        }
    } catch (...) {
        if (rec < 0)
            m_records.resize(end);
        throw;
    }
    const int written = commit(rec, copy, newBlobs);
    m_autoIncMax = autoInc;
    return written;
}

// Takes a stored record in: an inserted one is in place already, an edited one is `bytes`.
int TableStorage::commit(int rec, const QByteArray& bytes, const QHash<int, QByteArray>& newBlobs)
{
    if (rec < 0) {
        m_deleted.push_back(0);
        m_changed.push_back(0);
        rec = m_count++;
    } else {
        std::memcpy(m_records.data() + qsizetype(rec) * m_recordSize, bytes.constData(), size_t(m_recordSize));
    }
    for (auto it = newBlobs.cbegin(); it != newBlobs.cend(); ++it)
        m_blobs.insert(blobKey(rec, it.key()), it.value());
    markChanged(rec);
    return rec;
}

void TableStorage::markChanged(int rec)
{
    if (!m_changed[size_t(rec)]) {
        m_changed[size_t(rec)] = 1;
        ++m_changedCount;
    }
    m_isDirty = true;
    ++m_version;
}

void TableStorage::remove(int rec)
{
    if (m_isReadOnly)
        readOnlyError(m_path);
    if (rec < 0 || rec >= m_count || m_deleted[size_t(rec)])
        return;
    m_deleted[size_t(rec)] = 1;
    for (int i = 0; i < m_fields.size(); ++i)
        m_blobs.remove(blobKey(rec, i));
    markChanged(rec);
}

void TableStorage::removeAll()
{
    if (m_isReadOnly)
        readOnlyError(m_path);
    for (int r = 0; r < m_count; ++r) {
        if (!m_deleted[size_t(r)]) {
            m_deleted[size_t(r)] = 1;
            markChanged(r);
        }
    }
    m_blobs.clear();
    m_isDirty = true;
    ++m_version;
}

TableStorage::RecordState TableStorage::recordState(int rec) const
{
    RecordState state;
    state.record = rec;
    if (rec < 0 || rec >= m_count)
        return state;
    state.bytes = QByteArray(record(rec), m_recordSize);
    state.isDeleted = m_deleted[size_t(rec)] != 0;
    state.isChanged = m_changed[size_t(rec)] != 0;
    for (int i = 0; i < m_fields.size(); ++i) {
        const auto it = m_blobs.constFind(blobKey(rec, i));
        if (it != m_blobs.constEnd())
            state.blobs.insert(i, *it);
    }
    return state;
}

void TableStorage::restore(const RecordState& state)
{
    const int rec = state.record;
    if (rec < 0 || rec >= m_count)
        return;
    if (!state.bytes.isEmpty())
        std::memcpy(m_records.data() + qsizetype(rec) * m_recordSize, state.bytes.constData(), size_t(m_recordSize));
    m_deleted[size_t(rec)] = state.isDeleted ? 1 : 0;
    if (m_changed[size_t(rec)] && !state.isChanged)
        --m_changedCount;
    m_changed[size_t(rec)] = state.isChanged ? 1 : 0;
    for (int i = 0; i < m_fields.size(); ++i) {
        m_blobs.remove(blobKey(rec, i));
        if (state.blobs.contains(i))
            m_blobs.insert(blobKey(rec, i), state.blobs.value(i));
    }
    m_isDirty = m_changedCount > 0;
    ++m_version;
}

int TableStorage::pendingRecordCount() const
{
    return m_changedCount;
}

void TableStorage::discardPendingChanges()
{
    m_changed.assign(m_changed.size(), 0);
    m_changedCount = 0;
    m_blobs.clear();
    m_isDirty = false;
}

void TableStorage::flush()
{
    if (!m_isDirty)
        return;
    if (m_isReadOnly)
        readOnlyError(m_path);
    refuseIfChangedOnDisk();   // before the work of building the table
    std::vector<int> ids;
    ids.reserve(size_t(m_count));
    for (int r = 0; r < m_count; ++r) {
        if (!m_deleted[size_t(r)])
            ids.push_back(r);
    }
    paradox::TableContent content = contentKeepingFormat(*m_file, m_headerBytes);
    content.autoIncMax = m_autoIncMax;
    content.recordCount = int(ids.size());
    if (ids.size() == size_t(m_count)) {
        content.records = m_records;   // shared, not copied
    } else {
        content.records.reserve(qsizetype(ids.size()) * m_recordSize);
        for (const int r : ids)
            content.records.append(record(r), m_recordSize);
    }
    content.blobPayload = [&](int field, const char*, int row) { return m_blobs.value(blobKey(ids[size_t(row)], field)); };
    // Again right before the files change: building and writing a large table takes a while.
    content.checkBeforeChange = [this] { refuseIfChangedOnDisk(); };
    const paradox::WrittenTable written = paradox::writeTable(m_path, content);
    content.records.clear();
    // New blobs have their places in the .MB now: the records take their pointers.
    if (written.records.constData() != m_records.constData()) {
        for (size_t row = 0; row < ids.size(); ++row) {
            std::memcpy(m_records.data() + qsizetype(ids[row]) * m_recordSize,
                        written.records.constData() + qsizetype(row) * m_recordSize, size_t(m_recordSize));
        }
    }
    m_headerBytes = written.header;
    m_file->forgetBlobFile(paradox::blobReferencesOf(m_fields, written.records.constData(), content.recordCount, m_recordSize));
    discardPendingChanges();
    m_stamp = written.stamp;
}

void TableStorage::saveOrReport() noexcept
{
    if (!m_isDirty)
        return;
    const int records = pendingRecordCount();
    try {
        flush();
        return;
    } catch (const Exception& e) {
        try {
            ui::services().messageBox(QStringLiteral("Změny %1 záznamů tabulky %2 nebyly uloženy.\n%3")
                                          .arg(records).arg(native(m_path), e.message()),
                                      QString(), ui::MsgType::Error, ui::Ok);
        } catch (...) {
            // The message box itself failed: nothing is left to tell.
        }
    } catch (...) {
    }
    discardPendingChanges();
}

// --- holds ------------------------------------------------------------------------------------

StorageHold::StorageHold(const QString& path) : m_storage(TableStorage::acquire(path, false)) {}

StorageHold::~StorageHold()
{
    if (m_storage->holderCount() == 1)
        m_storage->saveOrReport();
    TableStorage::release(std::move(m_storage), false);
}

} // namespace db::detail
