// The SQLite virtual-table module "paradox" over the raw records of a Paradox table.
#include "platform/db/sql/ParadoxModule.h"

#include "platform/Exceptions.h"
#include "platform/db/paradox/FieldCodec.h"
#include "platform/db/TableStorage.h"
#include "platform/db/sql/LocalSql.h"

#include <sqlite3.h>

#include <array>
#include <cstring>
#include <string>

namespace db::sql {

namespace {

using paradox::FieldDef;
using paradox::FieldType;
using detail::TableStorage;

// UTF-8 of each byte of a single-byte code page, built once per page.
struct Utf8Table
{
    std::array<std::array<char, 4>, 256> bytes{};
    std::array<uint8_t, 256> lengths{};

    explicit Utf8Table(const paradox::CodePage& cp)
    {
        for (int b = 0; b < 256; ++b) {
            const QByteArray utf8 = cp.decode(QByteArray(1, char(b))).toUtf8();
            lengths[b] = uint8_t(std::min<qsizetype>(utf8.size(), 4));
            std::memcpy(bytes[b].data(), utf8.constData(), lengths[b]);
        }
    }
};

const Utf8Table& utf8TableOf(const paradox::CodePage& cp)
{
    static std::vector<std::pair<int, std::unique_ptr<Utf8Table>>> tables;
    for (const auto& [number, table] : tables) {
        if (number == cp.number())
            return *table;
    }
    tables.emplace_back(cp.number(), std::make_unique<Utf8Table>(cp));
    return *tables.back().second;
}

struct VTab
{
    sqlite3_vtab base{};
    const LocalTable* table = nullptr;
    const Utf8Table* utf8 = nullptr;
};

struct Cursor
{
    sqlite3_vtab_cursor base{};
    int row = 0;
    std::string text;   // reused buffer of the last text value
};

QString declaredType(const FieldDef& field)
{
    switch (field.type) {
    case FieldType::Alpha:
    case FieldType::Memo:
    case FieldType::FmtMemo:
        return QStringLiteral("TEXT");
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
    case FieldType::Logical:
        return QStringLiteral("INTEGER");
    case FieldType::Number:
    case FieldType::Currency:
    case FieldType::Bcd:
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::Timestamp:
        return QStringLiteral("REAL");
    case FieldType::Bytes:
    case FieldType::Blob:
    case FieldType::Ole:
    case FieldType::Graphic:
        return QStringLiteral("BLOB");
    }
    return QStringLiteral("BLOB");
}

QString quoteName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

int connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out, char** error)
{
    const auto* tables = static_cast<const std::vector<std::unique_ptr<LocalTable>>*>(aux);
    const size_t index = argc > 3 ? size_t(std::strtoul(argv[3], nullptr, 10)) : tables->size();
    if (index >= tables->size()) {
        *error = sqlite3_mprintf("paradox: bad table argument");
        return SQLITE_ERROR;
    }
    const LocalTable& table = *(*tables)[index];
    QStringList columns;
    for (const FieldDef& field : table.storage().fields())
        columns.append(quoteName(field.name) + QLatin1Char(' ') + declaredType(field));
    const QByteArray schema = (QStringLiteral("CREATE TABLE x(") + columns.join(QLatin1String(", ")) + QLatin1Char(')')).toUtf8();
    if (const int rc = sqlite3_declare_vtab(db, schema.constData()); rc != SQLITE_OK)
        return rc;
    auto vtab = std::make_unique<VTab>();
    vtab->table = &table;
    vtab->utf8 = &utf8TableOf(table.storage().codePage());
    *out = &vtab.release()->base;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab* vtab)
{
    std::unique_ptr<VTab>(reinterpret_cast<VTab*>(vtab));
    return SQLITE_OK;
}

int bestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info)
{
    // A full scan; SQLite filters and sorts. The count lets the planner size its sorter.
    const auto* self = reinterpret_cast<VTab*>(vtab);
    info->estimatedRows = std::max(1, self->table->storage().recordCount());
    info->estimatedCost = double(info->estimatedRows);
    return SQLITE_OK;
}

int openCursor(sqlite3_vtab*, sqlite3_vtab_cursor** out)
{
    *out = &std::make_unique<Cursor>().release()->base;   // owned by SQLite until closeCursor
    return SQLITE_OK;
}

int closeCursor(sqlite3_vtab_cursor* cursor)
{
    std::unique_ptr<Cursor>(reinterpret_cast<Cursor*>(cursor));
    return SQLITE_OK;
}

const TableStorage& storageOf(const Cursor& c)
{
    return reinterpret_cast<const VTab*>(c.base.pVtab)->table->storage();
}

// Record ids of deleted rows are skipped: rowid - 1 is the record id, stable while the rows live.
void skipDeleted(Cursor& c)
{
    const TableStorage& storage = storageOf(c);
    while (c.row < storage.recordCount() && storage.isDeleted(c.row))
        ++c.row;
}

int filter(sqlite3_vtab_cursor* cursor, int, const char*, int, sqlite3_value**)
{
    auto& c = *reinterpret_cast<Cursor*>(cursor);
    c.row = 0;
    skipDeleted(c);
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor* cursor)
{
    auto& c = *reinterpret_cast<Cursor*>(cursor);
    ++c.row;
    skipDeleted(c);
    return SQLITE_OK;
}

int eof(sqlite3_vtab_cursor* cursor)
{
    const auto& c = *reinterpret_cast<Cursor*>(cursor);
    return c.row >= storageOf(c).recordCount();
}

int rowid(sqlite3_vtab_cursor* cursor, sqlite3_int64* out)
{
    *out = reinterpret_cast<Cursor*>(cursor)->row + 1;
    return SQLITE_OK;
}

// Alpha bytes up to the last one that is neither blank nor NUL, as UTF-8.
void resultAlpha(sqlite3_context* ctx, Cursor& c, const Utf8Table& utf8, const char* bytes, int width)
{
    int end = width;
    while (end > 0 && (bytes[end - 1] == '\0' || bytes[end - 1] == ' '))
        --end;
    c.text.clear();
    for (int i = 0; i < end; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        c.text.append(utf8.bytes[b].data(), utf8.lengths[b]);
    }
    sqlite3_result_text(ctx, c.text.data(), int(c.text.size()), SQLITE_TRANSIENT);
}

void resultBlob(sqlite3_context* ctx, Cursor& c, const TableStorage& storage, int index)
{
    const FieldDef& field = storage.fields()[index];
    const QByteArray bytes = storage.blob(c.row, index);
    if (field.type == FieldType::Memo || field.type == FieldType::FmtMemo) {
        const QByteArray utf8 = storage.codePage().decode(bytes).toUtf8();
        sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return;
    }
    sqlite3_result_blob(ctx, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

int column(sqlite3_vtab_cursor* cursor, sqlite3_context* ctx, int index)
{
    auto& c = *reinterpret_cast<Cursor*>(cursor);
    const auto& self = *reinterpret_cast<VTab*>(c.base.pVtab);
    const TableStorage& storage = self.table->storage();
    const FieldDef& field = storage.fields()[index];
    const char* record = storage.record(c.row);
    if (paradox::isNull(field, record)) {
        sqlite3_result_null(ctx);
        return SQLITE_OK;
    }
    try {
        switch (field.type) {
        case FieldType::Alpha:
            resultAlpha(ctx, c, *self.utf8, record + field.offset, field.width);
            break;
        case FieldType::Short:
            sqlite3_result_int(ctx, paradox::decodeShort(field, record));
            break;
        case FieldType::Long:
        case FieldType::AutoInc:
            sqlite3_result_int(ctx, paradox::decodeLong(field, record));
            break;
        case FieldType::Logical:
            sqlite3_result_int(ctx, paradox::decodeLogical(field, record) ? 1 : 0);
            break;
        case FieldType::Number:
        case FieldType::Currency:
            sqlite3_result_double(ctx, paradox::decodeDouble(field, record));
            break;
        case FieldType::Bcd:
            sqlite3_result_double(ctx, paradox::decodeBcd(field, record));
            break;
        case FieldType::Date:
            sqlite3_result_double(ctx, paradox::decodeDate(field, record));
            break;
        case FieldType::Time:
            sqlite3_result_double(ctx, paradox::decodeTime(field, record));
            break;
        case FieldType::Timestamp:
            sqlite3_result_double(ctx, paradox::decodeTimestamp(field, record));
            break;
        case FieldType::Bytes: {
            const QByteArray bytes = paradox::decodeBytes(field, record);
            sqlite3_result_blob(ctx, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        case FieldType::Memo:
        case FieldType::FmtMemo:
        case FieldType::Blob:
        case FieldType::Ole:
        case FieldType::Graphic:
            resultBlob(ctx, c, storage, index);
            break;
        }
    } catch (const Exception& e) {
        const QByteArray message = e.message().toUtf8();
        sqlite3_result_error(ctx, message.constData(), int(message.size()));
    }
    return SQLITE_OK;
}

const sqlite3_module& paradoxModule()
{
    static const sqlite3_module module = [] {
        sqlite3_module m{};
        m.iVersion = 1;
        m.xCreate = connect;
        m.xConnect = connect;
        m.xBestIndex = bestIndex;
        m.xDisconnect = disconnect;
        m.xDestroy = disconnect;
        m.xOpen = openCursor;
        m.xClose = closeCursor;
        m.xFilter = filter;
        m.xNext = next;
        m.xEof = eof;
        m.xColumn = column;
        m.xRowid = rowid;
        return m;
    }();
    return module;
}

} // namespace

void registerParadoxModule(sqlite3* db, const std::vector<std::unique_ptr<LocalTable>>* tables)
{
    if (sqlite3_create_module(db, "paradox", &paradoxModule(), const_cast<void*>(static_cast<const void*>(tables)))
        != SQLITE_OK)
        throw EDatabaseError(QStringLiteral("Nelze zaregistrovat modul lokálního SQL: %1")
                                 .arg(QString::fromUtf8(sqlite3_errmsg(db))));
}

int dataTypeOf(const paradox::FieldDef& field)
{
    switch (field.type) {
    case FieldType::Alpha: return 1;
    case FieldType::Short: return 2;
    case FieldType::Long: return 3;
    case FieldType::AutoInc: return 3;
    case FieldType::Logical: return 5;
    case FieldType::Number: return 6;
    case FieldType::Currency: return 7;
    case FieldType::Bcd: return 8;
    case FieldType::Date: return 9;
    case FieldType::Time: return 10;
    case FieldType::Timestamp: return 11;
    case FieldType::Bytes: return 12;
    case FieldType::Blob: return 15;
    case FieldType::Memo: return 16;
    case FieldType::Graphic: return 17;
    case FieldType::FmtMemo: return 18;
    case FieldType::Ole: return 19;
    }
    return 15;
}

int dataSizeOf(const paradox::FieldDef& field)
{
    switch (field.type) {
    case FieldType::Alpha:
    case FieldType::Bytes:
        return field.width;
    case FieldType::Bcd:
        return field.decimals;
    default:
        return 0;
    }
}

} // namespace db::sql
