// Local SQL over Paradox tables: preparing on SQLite, attaching the tables it names, fetching rows.
#include "platform/db/sql/LocalSql.h"

#include "platform/Exceptions.h"
#include "platform/db/TableStorage.h"
#include "platform/db/sql/ParadoxEdit.h"
#include "platform/db/sql/ParadoxModule.h"
#include "platform/db/sql/SqlText.h"
#include "platform/files/Files.h"

#include <QDir>

#include <sqlite3.h>

namespace db::sql {

namespace {

const QLatin1String noSuchTable("no such table: ");
const char* const recordNumberColumn = "__recno";

// Owns a prepared statement.
struct Statement
{
    sqlite3_stmt* stmt = nullptr;
    explicit Statement(sqlite3_stmt* s) : stmt(s) {}
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
};

// Words that make a result something other than rows of one table.
bool hasNonLiveWords(const QString& sql)
{
    static const char* const words[] = {"DISTINCT", "GROUP", "UNION", "INTERSECT", "EXCEPT", "HAVING", "JOIN"};
    for (const SqlToken& token : tokenize(sql)) {
        if (token.kind != SqlToken::Kind::Word)
            continue;
        for (const char* word : words) {
            if (token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

// The statement with the record number as its first column, or empty when it is no plain SELECT.
QString withRecordNumber(const QString& sql)
{
    const QList<SqlToken> tokens = tokenize(sql);
    if (tokens.isEmpty() || tokens[0].kind != SqlToken::Kind::Word
        || tokens[0].text.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) != 0)
        return QString();
    const qsizetype at = tokens[0].position + tokens[0].length;
    return sql.left(at) + QStringLiteral(" rowid AS \"%1\",").arg(QLatin1String(recordNumberColumn)) + sql.mid(at);
}

} // namespace

detail::TableStorage& LocalTable::storage() const
{
    return hold->storage();
}

LocalSql::LocalSql(const QString& directory) : m_directory(directory)
{
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw EDatabaseError(QStringLiteral("Nelze otevřít lokální SQL."));
    }
    try {
        registerParadoxModule(m_db, &m_tables);
    } catch (...) {
        sqlite3_close(m_db);
        throw;
    }
}

LocalSql::~LocalSql()
{
    sqlite3_close(m_db);
}

QString LocalSql::resolveTable(const QString& name) const
{
    QString stored = name.trimmed();
    if (stored.isEmpty())
        return QString();
    if (!files::isAbsoluteStoredPath(stored)) {
        const QString dir = m_directory.isEmpty() ? QStringLiteral(".") : m_directory;
        stored = dir + QLatin1Char('/') + stored;
    }
    QString path = files::resolvePath(stored);
    if (!files::fileExists(path) && files::extractFileExt(stored).isEmpty())
        path = files::resolvePath(stored + QLatin1String(".DB"));
    return files::fileExists(path) ? path : QString();
}

void LocalSql::raise(const QString& context) const
{
    throw EDatabaseError(QStringLiteral("Chyba lokálního SQL: %1\n%2")
                             .arg(QString::fromUtf8(sqlite3_errmsg(m_db)), context.simplified()));
}

bool LocalSql::attachMissingTable(const QString& message)
{
    if (!message.startsWith(noSuchTable))
        return false;
    const QString sqlName = message.mid(noSuchTable.size());
    if (tableOfSqlName(sqlName))
        return false;   // attached already: the name means something else
    const QString path = resolveTable(sqlName);
    if (path.isEmpty())
        throw EDatabaseError(QStringLiteral("Tabulka \"%1\" nebyla nalezena.").arg(sqlName));
    auto table = std::make_unique<LocalTable>();
    table->sqlName = sqlName;
    table->path = path;
    table->hold = std::make_shared<detail::StorageHold>(path);
    const size_t index = m_tables.size();
    m_tables.push_back(std::move(table));
    QString quoted = sqlName;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    const QByteArray create = QStringLiteral("CREATE VIRTUAL TABLE temp.\"%1\" USING paradox(%2)")
                                  .arg(quoted).arg(index).toUtf8();
    char* error = nullptr;
    if (sqlite3_exec(m_db, create.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString reason = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        m_tables.pop_back();
        throw EDatabaseError(QStringLiteral("Tabulku \"%1\" nelze připojit k lokálnímu SQL: %2").arg(sqlName, reason));
    }
    return true;
}

sqlite3_stmt* LocalSql::prepare(const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    for (;;) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, nullptr) == SQLITE_OK) {
            if (!stmt)
                throw EDatabaseError(QStringLiteral("Prázdný SQL příkaz."));
            return stmt;
        }
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        if (!attachMissingTable(message))
            raise(sql);
    }
}

void LocalSql::bind(sqlite3_stmt* stmt, const Params& params)
{
    const int count = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= count; ++i) {
        const char* rawName = sqlite3_bind_parameter_name(stmt, i);
        const QString name = rawName ? QString::fromUtf8(rawName + 1) : QString();
        const Param* param = params.FindParam(name);
        if (!param || !param->isBound())
            throw EDatabaseError(QStringLiteral("Parametr '%1' nemá hodnotu.").arg(name));
        const QVariant& v = param->Value();
        int rc = SQLITE_OK;
        if (param->IsNull()) {
            rc = sqlite3_bind_null(stmt, i);
        } else if (v.typeId() == QMetaType::Bool || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong
                   || v.typeId() == QMetaType::UInt || v.typeId() == QMetaType::Short) {
            rc = sqlite3_bind_int64(stmt, i, v.toLongLong());
        } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
            rc = sqlite3_bind_double(stmt, i, v.toDouble());
        } else if (v.typeId() == QMetaType::QByteArray) {
            const QByteArray bytes = v.toByteArray();
            rc = sqlite3_bind_blob(stmt, i, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        } else {
            const QByteArray utf8 = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            raise(QStringLiteral("parametr %1").arg(name));
    }
}

const LocalTable* LocalSql::tableOfSqlName(const QString& sqlName) const
{
    for (const auto& table : m_tables) {
        if (table->sqlName.compare(sqlName, Qt::CaseInsensitive) == 0)
            return table.get();
    }
    return nullptr;
}

bool LocalSql::isLiveStatement(sqlite3_stmt* stmt) const
{
    const int count = sqlite3_column_count(stmt);
    const char* first = sqlite3_column_table_name(stmt, 0);
    if (count < 2 || !first)
        return false;
    for (int c = 1; c < count; ++c) {
        const char* table = sqlite3_column_table_name(stmt, c);
        if (!table || std::strcmp(table, first) != 0 || !sqlite3_column_origin_name(stmt, c))
            return false;
    }
    // Tables that are never written: keyed, index files of another program, encryption.
    const LocalTable* source = tableOfSqlName(QString::fromUtf8(first));
    return source && !source->storage().isReadOnly();
}

void LocalSql::describeColumns(sqlite3_stmt* stmt, ResultSet& result, int firstColumn)
{
    result.columns.clear();
    const int count = sqlite3_column_count(stmt);
    for (int c = firstColumn; c < count; ++c) {
        ResultColumn column;
        column.name = QString::fromUtf8(sqlite3_column_name(stmt, c));
        column.dataType = 0;   // decided from the values when no table field gives it
        const char* table = sqlite3_column_table_name(stmt, c);
        const char* origin = sqlite3_column_origin_name(stmt, c);
        if (const LocalTable* source = table ? tableOfSqlName(QString::fromUtf8(table)) : nullptr; source && origin) {
            const int field = source->storage().fieldIndex(QString::fromUtf8(origin));
            if (field >= 0) {
                const paradox::FieldDef& def = source->storage().fields()[field];
                column.dataType = dataTypeOf(def);
                column.size = dataSizeOf(def);
                column.sourceField = field;
            }
        }
        result.columns.push_back(column);
    }
}

namespace {

// Types of expression columns from their values: integer, float, or a string as long as the longest.
void inferColumnTypes(ResultSet& result)
{
    for (int c = 0; c < result.columnCount(); ++c) {
        ResultColumn& column = result.columns[size_t(c)];
        if (column.dataType != 0)
            continue;
        column.dataType = 1;
        column.size = 1;
        ResultSet::Kind kind = ResultSet::Kind::Null;
        for (int r = 0; r < result.rowCount(); ++r) {
            const ResultSet::Kind k = result.kind(r, c);
            if (k == ResultSet::Kind::Null)
                continue;
            if (kind == ResultSet::Kind::Null || kind == ResultSet::Kind::Integer)
                kind = k;
            if (k == ResultSet::Kind::Text)
                column.size = std::max<int>(column.size, int(result.value(r, c).toString().size()));
        }
        switch (kind) {
        case ResultSet::Kind::Integer: column.dataType = 3; column.size = 0; break;
        case ResultSet::Kind::Real: column.dataType = 6; column.size = 0; break;
        case ResultSet::Kind::Bytes: column.dataType = 15; column.size = 0; break;
        default: break;
        }
    }
}

} // namespace

void LocalSql::fetch(sqlite3_stmt* stmt, ResultSet& result, int firstColumn, std::vector<int>* records)
{
    const int count = sqlite3_column_count(stmt);
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            raise(QString::fromUtf8(sqlite3_sql(stmt)));
        result.beginRow();
        if (records)
            records->push_back(int(sqlite3_column_int64(stmt, 0) - 1));
        for (int c = firstColumn; c < count; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                result.addInteger(sqlite3_column_int64(stmt, c));
                break;
            case SQLITE_FLOAT:
                result.addReal(sqlite3_column_double(stmt, c));
                break;
            case SQLITE_TEXT: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                result.addText(text, sqlite3_column_bytes(stmt, c));
                break;
            }
            case SQLITE_BLOB: {
                const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, c));
                result.addBytes(bytes, sqlite3_column_bytes(stmt, c));
                break;
            }
            default:
                result.addNull();
                break;
            }
        }
    }
}

void LocalSql::open(const QString& sql, const Params& params, ResultSet& result, LiveSource* live)
{
    result.clear();
    result.columns.clear();
    if (live) {
        *live = LiveSource();
        const QString withNumbers = hasNonLiveWords(sql) ? QString() : withRecordNumber(sql);
        if (!withNumbers.isEmpty()) {
            std::unique_ptr<Statement> statement;
            try {
                statement = std::make_unique<Statement>(prepare(withNumbers));
            } catch (const EDatabaseError&) {
                statement.reset();   // not a plain select of one table: an ordinary result
            }
            if (statement && isLiveStatement(statement->stmt)) {
                bind(statement->stmt, params);
                describeColumns(statement->stmt, result, 1);
                fetch(statement->stmt, result, 1, &live->records);
                const LocalTable* source = tableOfSqlName(QString::fromUtf8(sqlite3_column_table_name(statement->stmt, 0)));
                live->path = source->path;
                live->hold = source->hold;
                return;
            }
        }
    }
    const Statement statement(prepare(sql));
    if (sqlite3_column_count(statement.stmt) == 0)
        throw EDatabaseError(QStringLiteral("Příkaz nevrací žádná data: %1").arg(sql.simplified()));
    bind(statement.stmt, params);
    describeColumns(statement.stmt, result, 0);
    fetch(statement.stmt, result, 0, nullptr);
    inferColumnTypes(result);
}

int LocalSql::exec(const QString& sql, const Params& params)
{
    if (const std::optional<AlterTableAdd> alter = parseAlterTableAdd(sql)) {
        const QString path = resolveTable(alter->table);
        if (path.isEmpty())
            throw EDatabaseError(QStringLiteral("Tabulka \"%1\" nebyla nalezena.").arg(alter->table));
        alterTableAdd(path, *alter);
        return 0;
    }
    const Statement statement(prepare(sql));
    bind(statement.stmt, params);
    for (;;) {
        const int rc = sqlite3_step(statement.stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            raise(sql);
    }
    return sqlite3_changes(m_db);
}

} // namespace db::sql
