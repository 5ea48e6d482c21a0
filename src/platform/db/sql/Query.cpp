// A query: SQL lines run on an SQL database (QtSql) or as local SQL over Paradox tables.
#include "platform/db/sql/Query.h"

#include "platform/Exceptions.h"
#include "platform/db/sql/Aliases.h"
#include "platform/db/sql/Database.h"
#include "platform/db/sql/ParadoxEdit.h"
#include "platform/db/sql/SqlText.h"
#include "platform/text/Case.h"
#include "platform/text/DateTime.h"
#include "platform/text/Numbers.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace db {

// --- SqlLines ------------------------------------------------------------------------------------

void SqlLines::changed()
{
    if (m_onChange)
        m_onChange();
}

void SqlLines::Clear()
{
    m_lines.clear();
    changed();
}

void SqlLines::Add(const QString& line)
{
    m_lines.append(line);
    changed();
}

QString SqlLines::Text() const
{
    QString text;
    for (const QString& line : m_lines)
        text += line + QLatin1Char('\n');
    return text;
}

void SqlLines::SetText(const QString& text)
{
    // CRLF, LF and a lone CR each end a line.
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_lines = normalized.split(QLatin1Char('\n'));
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    changed();
}

// --- Query ---------------------------------------------------------------------------------------

namespace {

int unusedConnectionNumber()
{
    static int number = 0;
    return ++number;
}

FieldType fieldTypeOfSql(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return FieldType::ftInteger;
    case QMetaType::Bool:
        return FieldType::ftBoolean;
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldType::ftFloat;
    case QMetaType::QDate:
        return FieldType::ftDate;
    case QMetaType::QTime:
        return FieldType::ftTime;
    case QMetaType::QDateTime:
        return FieldType::ftDateTime;
    case QMetaType::QByteArray:
        return FieldType::ftBlob;
    default:
        return FieldType::ftString;
    }
}

// The date type a column declares ("DATE", "TIMESTAMP(3)", "datetime" ...); ftUnknown for others.
FieldType dateTypeOfDeclared(const QString& declared)
{
    const QString trimmed = declared.trimmed();
    qsizetype n = 0;
    while (n < trimmed.size() && trimmed[n].isLetter())
        ++n;
    const QString word = txt::upperAscii(QStringView(trimmed).left(n));
    if (word == QLatin1String("DATE"))
        return FieldType::ftDate;
    if (word == QLatin1String("TIMESTAMP") || word == QLatin1String("DATETIME"))
        return FieldType::ftDateTime;
    if (word == QLatin1String("TIME"))
        return FieldType::ftTime;
    return FieldType::ftUnknown;
}

// The SQLite statement a run query of the SQLite driver holds; nullptr for other drivers.
sqlite3_stmt* sqliteStatement(const QSqlQuery& query)
{
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt* const*>(handle.constData());
}

// The field type of a column the SQLite driver types by its declared type name.
FieldType fieldTypeOfDeclared(const QString& declared)
{
    const QString name = declared.toLower();
    if (name == QLatin1String("integer") || name == QLatin1String("int"))
        return FieldType::ftInteger;
    if (name == QLatin1String("double") || name == QLatin1String("float") || name == QLatin1String("real")
        || name.startsWith(QLatin1String("numeric")))
        return FieldType::ftFloat;
    if (name == QLatin1String("blob"))
        return FieldType::ftBlob;
    if (name == QLatin1String("boolean") || name == QLatin1String("bool"))
        return FieldType::ftBoolean;
    return FieldType::ftString;
}

// The field type of a column without a declared type, by the SQLite kind of its first value.
FieldType fieldTypeOfStored(int kind)
{
    switch (kind) {
    case SQLITE_INTEGER: return FieldType::ftInteger;
    case SQLITE_FLOAT: return FieldType::ftFloat;
    case SQLITE_BLOB: return FieldType::ftBlob;
    default: return FieldType::ftString;
    }
}

// The declared types of the result columns where the driver runs SQLite statements (whose
// drivers report every date column as text); empty names elsewhere.
std::vector<QString> declaredTypes(sqlite3_stmt* statement, int count)
{
    std::vector<QString> types(size_t(std::max(count, 0)));
    if (!statement)
        return types;
    const int columns = std::min(count, sqlite3_column_count(statement));
    for (int c = 0; c < columns; ++c) {
        if (const char* declared = sqlite3_column_decltype(statement, c))
            types[size_t(c)] = QString::fromUtf8(declared);
    }
    return types;
}

// A date parameter as the ISO text every SQL database reads as a date (SQLite stores it as
// text its date functions understand; PostgreSQL casts it to the column's type).
QVariant sqlValue(const Param& param)
{
    if (param.IsNull())
        return QVariant();
    const char16_t* format = nullptr;
    switch (param.DataType()) {
    case FieldType::ftDate: format = u"yyyy-mm-dd"; break;
    case FieldType::ftTime: format = u"hh:nn:ss.zzz"; break;
    case FieldType::ftDateTime: format = u"yyyy-mm-dd hh:nn:ss.zzz"; break;
    default: return param.Value();
    }
    const double value = param.Value().toDouble();
    if (!txt::isValidDateTime(value))
        throw EDatabaseError(QStringLiteral("Parametr '%1' nemá platné datum (%2).").arg(param.Name(), txt::floatToStr(value)));
    return txt::formatDateTime(format, value);
}

// True when the stored value is already in the field's canonical form.
bool isCanonical(FieldType type, sql::ResultSet::Kind kind)
{
    using Kind = sql::ResultSet::Kind;
    if (kind == Kind::Null)
        return true;
    if (isTextType(type))
        return kind == Kind::Text;
    if (isFloatType(type) || isDateType(type))
        return kind == Kind::Real;
    if (isBlobType(type) || type == FieldType::ftBytes || type == FieldType::ftVarBytes)
        return kind == Kind::Bytes;
    return false;   // integers may come as 64-bit, booleans as integers: convert
}

} // namespace

Query::Query()
{
    m_sql.m_onChange = [this] {
        Close();
        m_paramNames = sql::parameterNames(statementText());
        m_params.reset(m_paramNames);
    };
}

Query::~Query()
{
    Close();
}

void Query::SetDatabaseName(const QString& name)
{
    Close();
    m_databaseName = name;
}

void Query::SetRequestLive(bool live)
{
    Close();
    m_requestLive = live;
}

QString Query::statementText() const
{
    return m_sql.lines().join(QLatin1Char('\n'));
}

Database* Query::sqlDatabase(QString& directory)
{
    directory.clear();
    const QString name = m_databaseName.trimmed();
    if (name.isEmpty())
        return nullptr;
    if (Database* database = Database::find(name)) {
        if (!database->Connected())
            database->Open();
        if (database->isDirectory()) {
            directory = database->directory();
            return nullptr;
        }
        return database;
    }
    if (const std::optional<AliasInfo> alias = Aliases::find(name)) {
        if (alias->isDirectory()) {
            directory = alias->database;
            return nullptr;
        }
        if (!m_ownDatabase || !m_ownDatabase->Connected()) {
            m_ownDatabase = std::make_unique<Database>(QStringLiteral("~query-%1").arg(unusedConnectionNumber()));
            m_ownDatabase->SetAliasName(name);
            m_ownDatabase->SetLoginPrompt(false);
            m_ownDatabase->Open();
        }
        return m_ownDatabase.get();
    }
    directory = name;
    return nullptr;
}

// Runs the statement on its SQL database, or over Paradox tables when it names a directory.
void Query::runStatement()
{
    QString directory;
    if (Database* database = sqlDatabase(directory)) {
        openSql(*database);
    } else {
        sql::LocalSql local(directory);
        local.open(statementText(), m_params, m_result, m_requestLive ? &m_live : nullptr);
    }
    m_deleted.assign(size_t(m_result.rowCount()), false);
}

void Query::openSource()
{
    m_result.clear();
    m_result.columns.clear();
    m_live = sql::LiveSource();
    m_deleted.clear();
    if (statementText().trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("Dotaz %1 nemá SQL příkaz.").arg(Name()));
    runStatement();
    declareFields();
}

void Query::declareFields()
{
    for (const sql::ResultColumn& column : m_result.columns) {
        FieldDef def;
        def.Name = column.name;
        def.DataType = column.dataType > 0 ? FieldType(column.dataType) : FieldType::ftString;
        def.Size = column.size;
        addField(def);
    }
}

void Query::closeSource()
{
    m_result.clear();
    m_result.columns.clear();
    m_live = sql::LiveSource();
    m_deleted.clear();
}

namespace {

void bindSql(QSqlQuery& query, const db::Params& params, const QStringList& names)
{
    for (const QString& name : names) {
        const Param* param = params.FindParam(name);
        if (!param || !param->isBound())
            throw EDatabaseError(QStringLiteral("Parametr '%1' nemá hodnotu.").arg(name));
        query.bindValue(QLatin1Char(':') + name, sqlValue(*param));
    }
}

EDatabaseError sqlError(const QSqlQuery& query, const QString& text)
{
    return EDatabaseError(QStringLiteral("Chyba SQL: %1\n%2").arg(query.lastError().text(), text.simplified()));
}

// Leaves a kept statement reset, so it holds no lock between runs.
struct FinishOnExit {
    QSqlQuery& query;
    ~FinishOnExit() { query.finish(); }
};

// Runs the statement with its parameters bound and hands the run query to `use`. One without
// parameters runs as it stands: PostgreSQL prepares only queries and data changes, not CREATE or
// ALTER. One with parameters is prepared once per connection and run again with new values.
template<class Use>
auto runSql(Database& database, const QString& text, const QStringList& names, const db::Params& params, Use use)
{
    if (names.isEmpty()) {
        QSqlQuery query(database.sqlDatabase());
        query.setForwardOnly(true);
        if (!query.exec(text))
            throw sqlError(query, text);
        return use(query);
    }
    for (int attempt = 0;; ++attempt) {
        bool fresh = false;
        QSqlQuery& query = database.preparedQuery(text, fresh);
        if (fresh) {
            query.setForwardOnly(true);
            if (!query.prepare(text)) {
                const EDatabaseError error = sqlError(query, text);
                database.forgetPrepared(text);
                throw error;
            }
        }
        bindSql(query, params, names);
        if (!query.exec()) {
            const EDatabaseError error = sqlError(query, text);
            database.forgetPrepared(text);
            if (fresh || attempt > 0)
                throw error;
            continue;   // a kept statement the database no longer takes: prepare it again
        }
        FinishOnExit finish{query};
        return use(query);
    }
}

} // namespace

void Query::openSql(Database& database)
{
    sqlite3_stmt* statement = database.sqliteStatement(statementText());
    if (statement && sqlite3_stmt_readonly(statement) && sqlite3_column_count(statement) > 0 && fetchSqlite(statement))
        return;
    runSql(database, statementText(), m_paramNames, m_params, [&](QSqlQuery& query) {
        if (!query.isSelect())
            throw EDatabaseError(QStringLiteral("Příkaz nevrací žádná data: %1").arg(statementText().simplified()));
        fetchSql(query);
    });
}

void Query::fetchSql(QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    const std::vector<QString> declared = declaredTypes(sqliteStatement(query), record.count());
    for (int c = 0; c < record.count(); ++c) {
        const QSqlField field = record.field(c);
        sql::ResultColumn column;
        column.name = field.name();
        const FieldType dateType = dateTypeOfDeclared(declared[size_t(c)]);
        const FieldType type = dateType != FieldType::ftUnknown ? dateType : fieldTypeOfSql(field.metaType());
        column.dataType = int(type);
        column.size = type == FieldType::ftString ? std::max(1, field.length()) : 0;
        m_result.columns.push_back(column);
    }
    while (query.next()) {
        m_result.beginRow();
        for (int c = 0; c < record.count(); ++c)
            m_result.addVariant(query.value(c));
    }
    if (query.lastError().isValid())
        throw EDatabaseError(QStringLiteral("Chyba SQL: %1").arg(query.lastError().text()));
    for (int c = 0; c < m_result.columnCount(); ++c)
        settleColumn(c);
}

// The field type of a declared column type, remembered for the next runs.
FieldType Query::declaredFieldType(const char* declared)
{
    for (const auto& [name, type] : m_declaredTypes)
        if (name == declared)
            return type;
    const QString name = QString::fromUtf8(declared);
    FieldType type = dateTypeOfDeclared(name);
    if (type == FieldType::ftUnknown)
        type = fieldTypeOfDeclared(name);
    constexpr size_t kMaxRemembered = 32;
    if (m_declaredTypes.size() >= kMaxRemembered)
        m_declaredTypes.clear();
    m_declaredTypes.emplace_back(declared, type);
    return type;
}

// Reads the rows of a read-only SQLite statement straight from SQLite, each value and column as
// the SQLite driver would give it, without its UTF-16 texts. False, with nothing read and the
// statement reset, when a parameter cannot be bound as the driver binds it or a step fails: the
// driver then runs the statement and reports what it reports.
bool Query::fetchSqlite(sqlite3_stmt* statement)
{
    struct ResetOnExit {
        sqlite3_stmt* statement;
        ~ResetOnExit()
        {
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
        }
    } reset{statement};
    if (!bindSqlite(statement))
        return false;
    const int columns = sqlite3_column_count(statement);
    int step = sqlite3_step(statement);
    declareSqliteColumns(statement, columns, step == SQLITE_ROW);
    for (; step == SQLITE_ROW; step = sqlite3_step(statement)) {
        m_result.beginRow();
        for (int c = 0; c < columns; ++c)
            addSqliteValue(statement, c);
    }
    if (step != SQLITE_DONE) {
        m_result.clear();
        m_result.columns.clear();
        return false;
    }
    for (int c = 0; c < m_result.columnCount(); ++c)
        settleColumn(c);
    return true;
}

// Binds every parameter SQLite names as the driver binds the value; false when one is not a
// parameter of the text or its value is of another kind.
bool Query::bindSqlite(sqlite3_stmt* statement) const
{
    for (const QString& name : m_paramNames) {
        const Param* param = m_params.FindParam(name);
        if (!param || !param->isBound())
            return false;
    }
    for (int i = 1; i <= sqlite3_bind_parameter_count(statement); ++i) {
        const char* named = sqlite3_bind_parameter_name(statement, i);
        if (!named || named[0] != ':')
            return false;
        const QString name = QString::fromUtf8(named + 1);
        const Param* param = m_params.FindParam(name);
        if (!param || !m_paramNames.contains(name, Qt::CaseInsensitive))
            return false;
        const QVariant value = sqlValue(*param);
        int bound = SQLITE_OK;
        if (value.isNull()) {
            bound = sqlite3_bind_null(statement, i);
        } else {
            switch (value.typeId()) {
            case QMetaType::Int:
            case QMetaType::Bool:
                bound = sqlite3_bind_int(statement, i, value.toInt());
                break;
            case QMetaType::Double:
                bound = sqlite3_bind_double(statement, i, value.toDouble());
                break;
            case QMetaType::UInt:
            case QMetaType::LongLong:
                bound = sqlite3_bind_int64(statement, i, value.toLongLong());
                break;
            case QMetaType::QString: {
                const QString text = value.toString();
                bound = sqlite3_bind_text16(statement, i, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                bound = sqlite3_bind_blob(statement, i, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
                break;
            }
            default:
                return false;
            }
        }
        if (bound != SQLITE_OK)
            return false;
    }
    return true;
}

// The columns as the SQLite driver declares them: a declared type by its name, a column without
// one by the kind of its first value (unknown, read as text, when there is no row).
void Query::declareSqliteColumns(sqlite3_stmt* statement, int columns, bool hasRow)
{
    for (int c = 0; c < columns; ++c) {
        sql::ResultColumn column;
        column.name = QString::fromUtf8(sqlite3_column_name(statement, c)).remove(QLatin1Char('"'));
        const char* declared = sqlite3_column_decltype(statement, c);
        FieldType type = FieldType::ftString;
        if (declared && *declared) {
            type = declaredFieldType(declared);
        } else if (hasRow) {
            type = fieldTypeOfStored(sqlite3_column_type(statement, c));
        }
        column.dataType = int(type);
        column.size = type == FieldType::ftString ? 1 : 0;
        m_result.columns.push_back(column);
    }
}

void Query::addSqliteValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        m_result.addInteger(sqlite3_column_int64(statement, column));
        return;
    case SQLITE_FLOAT:
        m_result.addReal(sqlite3_column_double(statement, column));
        return;
    case SQLITE_NULL:
        m_result.addNull();
        return;
    case SQLITE_BLOB: {
        const int length = sqlite3_column_bytes(statement, column);
        m_result.addBytes(static_cast<const char*>(sqlite3_column_blob(statement, column)), length);
        return;
    }
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const int length = sqlite3_column_bytes(statement, column);
        if (QByteArrayView(text, length).isValidUtf8()) {
            m_result.addText(text, length);
            return;
        }
        // Bytes that are not UTF-8 read as the driver reads them: through SQLite's UTF-16.
        const auto* utf16 = static_cast<const QChar*>(sqlite3_column_text16(statement, column));
        const QByteArray utf8 = QString(utf16, sqlite3_column_bytes16(statement, column) / int(sizeof(QChar))).toUtf8();
        m_result.addText(utf8.constData(), int(utf8.size()));
        return;
    }
    }
}

// A column's type is what its values fit: SQLite keeps any value in any column. Date values
// become day numbers; a column holding a value its type cannot take shows every value as
// text (an integer column of numbers beyond 32 bits as a float), so reading never raises.
void Query::settleColumn(int column)
{
    using Kind = sql::ResultSet::Kind;
    sql::ResultColumn& info = m_result.columns[size_t(column)];
    const FieldType type = FieldType(info.dataType);
    bool fits = true;
    bool isNumeric = true;
    std::vector<std::pair<int, QVariant>> dates;   // converted date values, applied once all fit
    for (int r = 0; r < m_result.rowCount(); ++r) {
        const Kind kind = m_result.kind(r, column);
        isNumeric = isNumeric && kind != Kind::Text && kind != Kind::Bytes;
        if (!fits || isCanonical(type, kind))
            continue;
        if (kind == Kind::Integer && isIntegerType(type)) {
            // What canonicalValue checks of a stored integer: the 32-bit range.
            const int64_t v = m_result.integer(r, column);
            fits = v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
            continue;
        }
        if (kind == Kind::Integer && isFloatType(type))
            continue;
        try {
            QVariant value = canonicalValue(type, m_result.value(r, column));
            if (isDateType(type))
                dates.emplace_back(r, std::move(value));
        } catch (const Exception&) {
            fits = false;
        }
    }
    if (fits) {
        for (const auto& [row, value] : dates)
            m_result.setValue(row, column, value);
    } else {
        info.dataType = int(isIntegerType(type) && isNumeric ? FieldType::ftFloat : FieldType::ftString);
    }
    if (FieldType(info.dataType) == FieldType::ftString) {
        for (int r = 0; r < m_result.rowCount(); ++r)
            info.size = std::max(info.size, textLength(r, column));
    }
}

// The length in UTF-16 units of a stored value shown as text.
int Query::textLength(int row, int column) const
{
    if (m_result.kind(row, column) == sql::ResultSet::Kind::Text) {
        const std::string_view text = m_result.bytes(row, column);
        if (std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 0x80; }))
            return int(text.size());
    }
    return int(m_result.value(row, column).toString().size());
}

bool Query::appendValueKey(std::string& key, int row, int field) const
{
    using Kind = sql::ResultSet::Kind;
    const int record = view()[size_t(row)];
    const FieldType type = FieldType(m_result.columns[size_t(field)].dataType);
    const Kind kind = m_result.kind(record, field);
    const auto appendNumber = [&key](double number) {
        if (std::isnan(number))
            number = std::numeric_limits<double>::quiet_NaN();
        char bits[sizeof number];
        std::memcpy(bits, &number, sizeof number);
        key += 'n';
        key.append(bits, sizeof bits);
    };
    const auto appendSpan = [&key](char tag, std::string_view bytes) {
        const auto length = uint32_t(bytes.size());
        char size[sizeof length];
        std::memcpy(size, &length, sizeof length);
        key += tag;
        key.append(size, sizeof size);
        key.append(bytes);
    };
    if (kind == Kind::Null)
        return false;
    if (kind == Kind::Text && isTextType(type) && QByteArrayView(m_result.bytes(record, field)).isValidUtf8()) {
        appendSpan('t', m_result.bytes(record, field));
        return true;
    }
    if (kind == Kind::Integer && isIntegerType(type) && m_result.integer(record, field) >= std::numeric_limits<int32_t>::min()
        && m_result.integer(record, field) <= std::numeric_limits<int32_t>::max()) {
        appendNumber(double(m_result.integer(record, field)));
        return true;
    }
    if (kind == Kind::Real && (isFloatType(type) || isDateType(type))) {
        appendNumber(m_result.real(record, field));
        return true;
    }
    const QVariant value = sourceValue(record, field);
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return false;
    case QMetaType::QString:
        appendSpan('t', value.toString().toUtf8().toStdString());
        return true;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        appendSpan('b', std::string_view(bytes.constData(), size_t(bytes.size())));
        return true;
    }
    default:
        appendNumber(value.toDouble());
        return true;
    }
}

int Query::execSql(Database& database)
{
    return runSql(database, statementText(), m_paramNames, m_params,
                  [](QSqlQuery& query) { return query.numRowsAffected(); });
}

void Query::ExecSQL()
{
    Close();
    if (statementText().trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("Dotaz %1 nemá SQL příkaz.").arg(Name()));
    QString directory;
    if (Database* database = sqlDatabase(directory)) {
        m_rowsAffected = execSql(*database);
    } else {
        sql::LocalSql local(directory);
        m_rowsAffected = local.exec(statementText(), m_params);
    }
}

QVariant Query::sourceValue(int record, int field) const
{
    const FieldType type = FieldType(m_result.columns[size_t(field)].dataType);
    const QVariant value = m_result.value(record, field);
    if (isCanonical(type, m_result.kind(record, field)))
        return value;
    if (value.typeId() == QMetaType::Int && type != FieldType::ftBoolean && isIntegerType(type))
        return value;
    return canonicalValue(type, value);
}

// The numbers sourceValue gives without a conversion through QVariant: NULL, a real of a float
// or date column, an integer of an integer column (32 bits), a float or a date column.
bool Query::sourceNumber(int record, int field, double& value, bool& isNull) const
{
    using Kind = sql::ResultSet::Kind;
    const FieldType type = FieldType(m_result.columns[size_t(field)].dataType);
    const Kind kind = m_result.kind(record, field);
    isNull = kind == Kind::Null;
    value = 0;
    if (isNull)
        return true;
    if (kind == Kind::Real && (isFloatType(type) || isDateType(type))) {
        value = m_result.real(record, field);
        return true;
    }
    if (kind != Kind::Integer)
        return false;
    const int64_t integer = m_result.integer(record, field);
    if (isFloatType(type) || isDateType(type)) {
        value = double(integer);
        return true;
    }
    if (isIntegerType(type) && integer >= std::numeric_limits<int32_t>::min() && integer <= std::numeric_limits<int32_t>::max()) {
        value = double(integer);
        return true;
    }
    return false;
}

// A text column's stored UTF-8 as Field::AsString gives it (trailing blanks of a fixed-width
// text dropped), without a QVariant; other columns and kinds go through sourceValue.
bool Query::sourceText(int record, int field, QString& text) const
{
    using Kind = sql::ResultSet::Kind;
    if (FieldType(m_result.columns[size_t(field)].dataType) != FieldType::ftString)
        return false;
    const Kind kind = m_result.kind(record, field);
    if (kind == Kind::Null) {
        text = QString();
        return true;
    }
    if (kind != Kind::Text)
        return false;
    const std::string_view bytes = m_result.bytes(record, field);
    text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    dropPaddingBlanks(text);
    return true;
}

bool Query::sourceRecordDeleted(int record) const
{
    return record >= 0 && size_t(record) < m_deleted.size() && m_deleted[size_t(record)];
}

int Query::writeRecord(int record, const std::vector<QVariant>& values)
{
    if (m_live.path.isEmpty())
        throw EDatabaseError(QStringLiteral("Dotaz %1 nelze upravovat.").arg(Name()));
    sql::FieldValues changed;
    for (int c = 0; c < m_result.columnCount() && size_t(c) < values.size(); ++c) {
        const int sourceField = m_result.columns[size_t(c)].sourceField;
        if (sourceField < 0)
            continue;
        if (record >= 0 && sourceValue(record, c) == values[size_t(c)])
            continue;
        changed.append({sourceField, values[size_t(c)]});
    }
    if (record < 0) {
        const int sourceRecord = sql::appendRecord(m_live, changed);
        record = m_result.rowCount();
        m_result.insertRow(record);
        m_live.records.push_back(sourceRecord);
        m_deleted.push_back(false);
    } else if (!changed.isEmpty()) {
        sql::updateRecord(m_live, m_live.records[size_t(record)], changed);
    }
    for (int c = 0; c < m_result.columnCount() && size_t(c) < values.size(); ++c)
        m_result.setValue(record, c, values[size_t(c)]);
    return record;
}

void Query::removeRecord(int record)
{
    if (m_live.path.isEmpty())
        throw EDatabaseError(QStringLiteral("Dotaz %1 nelze upravovat.").arg(Name()));
    sql::deleteRecord(m_live, m_live.records[size_t(record)]);
    m_deleted[size_t(record)] = true;
}

void Query::refreshSource()
{
    closeSource();
    runStatement();
}

} // namespace db
