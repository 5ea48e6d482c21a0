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

// The declared types of the result columns where the driver runs SQLite statements (whose
// drivers report every date column as text); empty names elsewhere.
std::vector<QString> declaredTypes(const QSqlQuery& query, int count)
{
    std::vector<QString> types(size_t(std::max(count, 0)));
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return types;
    sqlite3_stmt* statement = *static_cast<sqlite3_stmt* const*>(handle.constData());
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
    runSql(database, statementText(), m_paramNames, m_params, [&](QSqlQuery& query) {
        if (!query.isSelect())
            throw EDatabaseError(QStringLiteral("Příkaz nevrací žádná data: %1").arg(statementText().simplified()));
        fetchSql(query);
    });
}

void Query::fetchSql(QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    const std::vector<QString> declared = declaredTypes(query, record.count());
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

// A column's type is what its values fit: SQLite keeps any value in any column. Date values
// become day numbers; a column holding a value its type cannot take shows every value as
// text (an integer column of numbers beyond 32 bits as a float), so reading never raises.
void Query::settleColumn(int column)
{
    sql::ResultColumn& info = m_result.columns[size_t(column)];
    const FieldType type = FieldType(info.dataType);
    bool fits = true;
    bool isNumeric = true;
    std::vector<std::pair<int, QVariant>> dates;   // converted date values, applied once all fit
    for (int r = 0; r < m_result.rowCount(); ++r) {
        const sql::ResultSet::Kind kind = m_result.kind(r, column);
        isNumeric = isNumeric && kind != sql::ResultSet::Kind::Text && kind != sql::ResultSet::Kind::Bytes;
        if (!fits || isCanonical(type, kind))
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
            info.size = std::max<int>(info.size, int(m_result.value(r, column).toString().size()));
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
