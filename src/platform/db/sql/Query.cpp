// A query: SQL lines run on an SQL database (QtSql) or as local SQL over Paradox tables.
#include "platform/db/sql/Query.h"

#include "platform/Exceptions.h"
#include "platform/db/sql/Aliases.h"
#include "platform/db/sql/Database.h"
#include "platform/db/sql/ParadoxEdit.h"
#include "platform/db/sql/SqlText.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

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
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
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
        m_params.reset(sql::parameterNames(statementText()));
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

void bindSql(QSqlQuery& query, const db::Params& params, const QString& text)
{
    for (const QString& name : sql::parameterNames(text)) {
        const Param* param = params.FindParam(name);
        if (!param || !param->isBound())
            throw EDatabaseError(QStringLiteral("Parametr '%1' nemá hodnotu.").arg(name));
        query.bindValue(QLatin1Char(':') + name, param->IsNull() ? QVariant() : param->Value());
    }
}

void prepareSql(QSqlQuery& query, const QString& text, const db::Params& params)
{
    if (!query.prepare(text))
        throw EDatabaseError(QStringLiteral("Chyba SQL: %1\n%2").arg(query.lastError().text(), text.simplified()));
    bindSql(query, params, text);
    if (!query.exec())
        throw EDatabaseError(QStringLiteral("Chyba SQL: %1\n%2").arg(query.lastError().text(), text.simplified()));
}

} // namespace

void Query::openSql(Database& database)
{
    QSqlQuery query(database.sqlDatabase());
    query.setForwardOnly(true);
    prepareSql(query, statementText(), m_params);
    if (!query.isSelect())
        throw EDatabaseError(QStringLiteral("Příkaz nevrací žádná data: %1").arg(statementText().simplified()));
    fetchSql(query);
}

void Query::fetchSql(QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    std::vector<FieldType> types;
    for (int c = 0; c < record.count(); ++c) {
        const QSqlField field = record.field(c);
        sql::ResultColumn column;
        column.name = field.name();
        const FieldType type = fieldTypeOfSql(field.metaType());
        column.dataType = int(type);
        column.size = type == FieldType::ftString ? std::max(1, field.length()) : 0;
        m_result.columns.push_back(column);
        types.push_back(type);
    }
    while (query.next()) {
        m_result.beginRow();
        for (int c = 0; c < record.count(); ++c) {
            const QVariant v = query.value(c);
            if (isDateType(types[size_t(c)]) && !v.isNull())
                m_result.addVariant(canonicalValue(types[size_t(c)], v));
            else
                m_result.addVariant(v);
            if (types[size_t(c)] == FieldType::ftString && v.typeId() == QMetaType::QString)
                m_result.columns[size_t(c)].size = std::max<int>(m_result.columns[size_t(c)].size, int(v.toString().size()));
        }
    }
    if (query.lastError().isValid())
        throw EDatabaseError(QStringLiteral("Chyba SQL: %1").arg(query.lastError().text()));
}

int Query::execSql(Database& database)
{
    QSqlQuery query(database.sqlDatabase());
    prepareSql(query, statementText(), m_params);
    return query.numRowsAffected();
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
