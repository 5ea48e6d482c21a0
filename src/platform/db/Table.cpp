// A dataset over one Paradox table: orders, ranges, key search, master-detail links, creation.
#include "platform/db/Table.h"

#include "platform/db/TableStorage.h"
#include "platform/files/Files.h"
#include "platform/text/Case.h"
#include "platform/text/Numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace db {

namespace {

DatabasePathResolver& resolver()
{
    static DatabasePathResolver r;
    return r;
}

// Field names of a ";"-separated list (a trailing ";" and blanks are allowed).
QStringList splitFieldList(const QString& list)
{
    QStringList names;
    for (const QString& part : list.split(QLatin1Char(';'))) {
        const QString name = txt::trim(part);
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

// Sort form of one value: numbers (and dates, logicals) as doubles, texts upper-cased, bytes raw.
struct SortValue {
    bool isNull = true;
    double number = 0;
    QString text;
    QByteArray bytes;
};

enum class SortKind { Number, Text, Bytes };


SortKind sortKindOf(FieldType type)
{
    if (isTextType(type))
        return SortKind::Text;
    if (isBlobType(type) || type == FieldType::ftBytes || type == FieldType::ftVarBytes)
        return SortKind::Bytes;
    return SortKind::Number;
}

SortValue sortValueOf(SortKind kind, const QVariant& v)
{
    SortValue s;
    if (!v.isValid())
        return s;
    s.isNull = false;
    switch (kind) {
    case SortKind::Number: s.number = v.toDouble(); break;
    case SortKind::Text: s.text = txt::upperLetters(v.toString()); break;
    case SortKind::Bytes: s.bytes = v.toByteArray(); break;
    }
    return s;
}

int compareSort(SortKind kind, const SortValue& a, const SortValue& b)
{
    if (a.isNull || b.isNull)
        return int(b.isNull) - int(a.isNull);
    switch (kind) {
    case SortKind::Number: return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    case SortKind::Text: return QString::compare(a.text, b.text, Qt::CaseSensitive);
    case SortKind::Bytes: return a.bytes.compare(b.bytes);
    }
    return 0;
}

// Number-kind order columns hold bare doubles, NaN for NULL (a stored NaN sorts as NULL): 8 bytes
// a record keep the search of a post's row in cache, where a SortValue takes 64.
constexpr double nullNumber = std::numeric_limits<double>::quiet_NaN();

double sortNumberOf(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType: return nullNumber;
    case QMetaType::Int: return *static_cast<const int*>(v.constData());   // without the generic conversion
    case QMetaType::Double: return *static_cast<const double*>(v.constData());
    default: return v.toDouble();
    }
}

int compareNumbers(double a, double b)
{
    const bool aNull = std::isnan(a);
    const bool bNull = std::isnan(b);
    if (aNull || bNull)
        return int(bNull) - int(aNull);
    return a < b ? -1 : (a > b ? 1 : 0);
}

[[noreturn]] void readOnlyError(const QString& path)
{
    throw EDatabaseError(QStringLiteral("Tabulku nelze měnit, je jen pro čtení. Soubor: %1")
                             .arg(QDir::toNativeSeparators(path)));
}

} // namespace

void setDatabasePathResolver(DatabasePathResolver r)
{
    resolver() = std::move(r);
}

// --- the order of a table: sorted record ids and sort columns ---------------------------------

// Key values of a search, a range or a master row in sort form, by order field: numbers in
// `numbers`, texts and bytes in `values`.
struct Table::SortKey {
    QVarLengthArray<double, 4> numbers;
    QVarLengthArray<SortValue, 4> values;
};

// A range set by SetNumberRange: the values as given and their sort forms.
struct Table::NumberRange {
    QVarLengthArray<int, 4> fields;          // order fields the values are for
    QVarLengthArray<double, 4> start;
    QVarLengthArray<double, 4> end;
    SortKey startKey;
    SortKey endKey;
};

struct Table::OrderCache {
    uint64_t version = 0;
    std::vector<int> fields;                  // field indexes of the order
    std::vector<SortKind> kinds;              // per order field
    std::vector<std::vector<SortValue>> columns;   // per order field, by record id (empty for numbers)
    std::vector<std::vector<double>> numbers;      // per number-kind order field, by record id
    std::vector<int> sorted;                  // every record id (deleted ones too), in order
    std::vector<double> firstNumbers;         // a number-kind first field's values along `sorted`
    mutable size_t searchHint = 0;            // where the last search of firstNumbers ended
    mutable double lastRunKey = 0;            // the key of the last run of firstNumbers found...
    mutable std::pair<size_t, size_t> lastRun;   // ...that run...
    mutable bool hasLastRun = false;          // ...valid until firstNumbers is laid out again
    bool isSortedCurrent = false;             // `sorted` (and firstNumbers) agree with the columns

    // Adds an order field whose values are filled in by set().
    void addField(int field, SortKind kind)
    {
        fields.push_back(field);
        kinds.push_back(kind);
        columns.emplace_back();
        numbers.emplace_back();
    }
    // The sort form of record's value of order field i.
    void set(size_t i, int record, const QVariant& value)
    {
        if (kinds[i] == SortKind::Number) {
            if (record >= int(numbers[i].size()))
                numbers[i].resize(size_t(record) + 1, nullNumber);
            numbers[i][size_t(record)] = sortNumberOf(value);
        } else {
            if (record >= int(columns[i].size()))
                columns[i].resize(size_t(record) + 1);
            columns[i][size_t(record)] = sortValueOf(kinds[i], value);
        }
    }
    int compareField(size_t i, int a, int b) const
    {
        if (kinds[i] == SortKind::Number)
            return compareNumbers(numbers[i][size_t(a)], numbers[i][size_t(b)]);
        return compareSort(kinds[i], columns[i][size_t(a)], columns[i][size_t(b)]);
    }
    // The sort forms of `count` key values for the leading order fields (value(i) gives the
    // i-th), made once per search.
    template<class ValueOf>
    SortKey prepare(size_t count, ValueOf value) const
    {
        SortKey key;
        count = std::min(count, fields.size());
        key.numbers.resize(qsizetype(count));
        key.values.resize(qsizetype(count));
        for (size_t i = 0; i < count; ++i) {
            if (kinds[i] == SortKind::Number)
                key.numbers[qsizetype(i)] = sortNumberOf(value(i));
            else
                key.values[qsizetype(i)] = sortValueOf(kinds[i], value(i));
        }
        return key;
    }
    // The sorted ids in order, with the values of a number-kind first field laid out along
    // them, so that a search runs over contiguous numbers.
    void sort()
    {
        firstNumbers.clear();
        hasLastRun = false;
        if (!fields.empty() && kinds[0] == SortKind::Number)
            sortByFirstNumber();
        else if (!fields.empty() && !std::is_sorted(sorted.begin(), sorted.end(), [this](int a, int b) { return isBefore(a, b); }))
            std::sort(sorted.begin(), sorted.end(), [this](int a, int b) { return isBefore(a, b); });
        isSortedCurrent = true;
    }
    // The order of isBefore, sorted on (first value, id) pairs side by side: the other fields
    // are read only between records of an equal first value.
    void sortByFirstNumber()
    {
        std::vector<std::pair<double, int>> pairs;
        pairs.reserve(sorted.size());
        for (const int r : sorted)
            pairs.emplace_back(numbers[0][size_t(r)], r);
        const auto before = [this](const std::pair<double, int>& a, const std::pair<double, int>& b) {
            int c = compareNumbers(a.first, b.first);
            for (size_t i = 1; c == 0 && i < fields.size(); ++i)
                c = compareField(i, a.second, b.second);
            return c < 0 || (c == 0 && a.second < b.second);
        };
        if (!std::is_sorted(pairs.begin(), pairs.end(), before))
            std::sort(pairs.begin(), pairs.end(), before);
        firstNumbers.resize(pairs.size());
        for (size_t at = 0; at < pairs.size(); ++at) {
            firstNumbers[at] = pairs[at].first;
            sorted[at] = pairs[at].second;
        }
    }
    // The first position of firstNumbers whose value is not `before`, looked for near `hint`
    // first: a master walks its rows in the order of their keys, so the next search usually
    // starts where the last one ended.
    template<class Before>
    size_t boundFrom(size_t hint, Before before) const
    {
        constexpr size_t nearby = 8;
        const size_t count = firstNumbers.size();
        if (hint <= count && (hint == 0 || before(firstNumbers[hint - 1]))) {
            for (size_t at = hint; at <= count && at - hint < nearby; ++at)
                if (at == count || !before(firstNumbers[at]))
                    return at;
        } else if (hint <= count) {
            // The bound lies before the hint (a range's end after its start): a few places back.
            size_t at = hint - 1;   // not `before`
            for (size_t steps = 0; steps < nearby; ++steps, --at)
                if (at == 0 || before(firstNumbers[at - 1]))
                    return at;
        }
        const auto begin = firstNumbers.begin();
        return size_t(std::partition_point(begin, firstNumbers.end(), before) - begin);
    }
    // The run of firstNumbers equal to k, looked for from where the last search ended.
    std::pair<size_t, size_t> firstNumberRun(double k) const
    {
        // A range's start and end usually share their first value: its run is found once.
        if (hasLastRun && compareNumbers(k, lastRunKey) == 0) {
            searchHint = lastRun.second;
            return lastRun;
        }
        const size_t first = boundFrom(searchHint, [k](double v) { return compareNumbers(v, k) < 0; });
        const size_t last = boundFrom(first, [k](double v) { return compareNumbers(v, k) <= 0; });
        searchHint = last;
        lastRunKey = k;
        lastRun = {first, last};
        hasLastRun = true;
        return lastRun;
    }
    // The first position in `sorted` whose record is not below the key (orAbove: above it),
    // comparing on the key's fields; the first field narrows by its contiguous numbers.
    size_t search(const SortKey& key, bool orAbove) const
    {
        size_t first = 0;
        size_t last = sorted.size();
        if (!firstNumbers.empty() && !key.numbers.isEmpty()) {
            std::tie(first, last) = firstNumberRun(key.numbers[0]);
            if (key.numbers.size() == 1)
                return orAbove ? last : first;
        }
        const auto it = std::partition_point(sorted.begin() + qsizetype(first), sorted.begin() + qsizetype(last), [&](int r) {
            const int c = compareToKey(r, key);
            return orAbove ? c <= 0 : c < 0;
        });
        return size_t(it - sorted.begin());
    }
    // The run of `sorted` whose records equal the key on its fields: search(key, false) and
    // search(key, true) in one.
    std::pair<size_t, size_t> equalRun(const SortKey& key) const
    {
        if (!firstNumbers.empty() && key.numbers.size() == 1)
            return firstNumberRun(key.numbers[0]);
        const size_t first = search(key, false);
        const auto it = std::partition_point(sorted.begin() + qsizetype(first), sorted.end(),
                                             [&](int r) { return compareToKey(r, key) <= 0; });
        return {first, size_t(it - sorted.begin())};
    }
    // Compares a record with a prepared key on the first key.numbers.size() order fields.
    int compareToKey(int record, const SortKey& key) const
    {
        for (qsizetype i = 0; i < key.numbers.size(); ++i) {
            const size_t f = size_t(i);
            const int c = kinds[f] == SortKind::Number
                ? compareNumbers(numbers[f][size_t(record)], key.numbers[i])
                : compareSort(kinds[f], columns[f][size_t(record)], key.values[i]);
            if (c != 0)
                return c;
        }
        return 0;
    }
    int compare(int a, int b) const
    {
        for (size_t i = 0; i < fields.size(); ++i) {
            const int c = compareField(i, a, b);
            if (c != 0)
                return c;
        }
        return 0;
    }
    // `sorted` is ordered by the fields, ties by record id (a stable sort of the ids).
    bool isBefore(int a, int b) const
    {
        const int c = compare(a, b);
        return c < 0 || (c == 0 && a < b);
    }
};

// Follows the master data source of a detail table.
class Table::MasterLink : public DataLink
{
public:
    explicit MasterLink(Table& table) : m_table(table) {}

protected:
    void dataEvent(DataEvent event, Field* field) override
    {
        if (event == DataEvent::UpdateRecord)
            return;
        if (event == DataEvent::FieldChange) {
            const QStringList& names = m_table.m_masterNames;
            if (!field || !std::any_of(names.begin(), names.end(), [&](const QString& n) {
                    return txt::sameTextLetters(n, field->FieldName());
                }))
                return;
        }
        m_table.masterChanged();
    }

private:
    Table& m_table;
};

// --- Table ----------------------------------------------------------------------------------

Table::Table() : m_masterLink(std::make_unique<MasterLink>(*this)) {}

Table::~Table()
{
    // Nobody can catch a failed write here: the user is told what was lost. With other holders
    // the changes stay with the shared rows for the last one.
    if (m_storage && m_storage->holderCount() == 1)
        m_storage->saveOrReport();
    m_isDestroying = true;
    closeForDestruction();
}

void Table::checkInactive(const char* operation) const
{
    if (Active())
        throw EDatabaseError(QStringLiteral("Nelze provést operaci %1 na otevřené tabulce")
                                 .arg(QString::fromLatin1(operation)));
}

void Table::SetDatabaseName(const QString& name)
{
    checkInactive("DatabaseName");
    m_databaseName = name;
}

void Table::SetTableName(const QString& name)
{
    checkInactive("TableName");
    m_tableName = name;
}

void Table::SetExclusive(bool exclusive)
{
    checkInactive("Exclusive");
    m_exclusive = exclusive;
}

QString Table::filePath() const
{
    if (txt::trim(m_tableName).isEmpty())
        throw EDatabaseError(QStringLiteral("Chybí jméno tabulky"));
    QString directory = m_databaseName;
    if (!directory.isEmpty() && resolver()) {
        const QString resolved = resolver()(directory);
        if (!resolved.isEmpty())
            directory = resolved;
    }
    QString stored = txt::trim(m_tableName);
    if (files::extractFileExt(stored).isEmpty())
        stored += QStringLiteral(".DB");
    if (!files::isAbsoluteStoredPath(stored) && !directory.isEmpty())
        stored = files::includeTrailingBackslash(directory) + stored;
    return QDir::cleanPath(QDir::current().absoluteFilePath(files::resolvePath(stored)));
}

bool Table::isReadOnlyStorage() const
{
    return !m_storage || m_storage->isReadOnly() || ReadOnly();
}

// --- opening ----------------------------------------------------------------------------------

void Table::openSource()
{
    const QString path = filePath();
    m_storage = detail::TableStorage::acquire(path, m_exclusive);
    try {
        bindStorage();
    } catch (...) {
        detail::TableStorage::release(std::move(m_storage), m_exclusive);
        m_storage.reset();
        throw;
    }
}

void Table::bindStorage()
{
    m_orderFields.reset();
    for (const FieldDef& declared : FieldDefs()) {
        if (m_storage->fieldIndex(declared.Name) < 0)
            throw EDeclaredFieldMissing(QStringLiteral("Pole '%1' nebylo nalezeno v tabulce %2")
                                            .arg(declared.Name, QDir::toNativeSeparators(m_storage->path())),
                                        declared.Name);
    }
    for (int i = 0; i < m_storage->fieldCount(); ++i)
        addField(m_storage->fieldDef(i));
    for (int i = 0; i < FieldCount(); ++i) {
        Field& f = Fields(i);
        if (f.DataType() == FieldType::ftSmallint)
            f.setIntegerRange(-32767, 32767);   // -32768 is the NULL of the file
        else if (f.DataType() == FieldType::ftInteger)
            f.setIntegerRange(-2147483647, 2147483647);
        if (m_storage->isAutoInc(i))
            f.SetReadOnly(true);
    }
    m_order.reset();
    m_rangeApplied = false;
    m_isNumberRangePending = false;
    m_searchKey.reset(FieldCount());
    m_rangeStart.reset(FieldCount());
    m_rangeEnd.reset(FieldCount());
    orderFieldIndexes();   // an unknown index raises now
}

void Table::closeSource()
{
    if (!m_storage)
        return;
    // Posted rows are written at close (those of other holders too: the rows are shared); a
    // failure leaves the table open with its rows.
    if (!m_isDestroying)
        m_storage->flush();
    std::shared_ptr<detail::TableStorage> storage = m_storage;
    m_order.reset();
    m_orderFields.reset();
    m_storage.reset();
    m_rangeApplied = false;
    detail::TableStorage::release(std::move(storage), m_exclusive);
}

int Table::sourceRecordCount() const
{
    return m_storage ? m_storage->recordCount() : 0;
}

QVariant Table::sourceValue(int record, int field) const
{
    return m_storage->value(record, field);
}

bool Table::sourceNumber(int record, int field, double& value, bool& isNull) const
{
    return m_storage->number(record, field, value, isNull);
}

bool Table::sourceText(int record, int field, QString& text) const
{
    return m_storage->text(record, field, text);
}

void Table::refreshSource()
{
    if (m_storage->reloadIfChangedOnDisk()) {
        m_order.reset();
        m_orderFields.reset();
    }
}

quint64 Table::sourceVersion() const
{
    return m_storage ? m_storage->version() : 0;
}

bool Table::sourceRecordDeleted(int record) const
{
    return m_storage->isDeleted(record);
}

bool Table::sourceCanModify() const
{
    return m_storage && !m_storage->isReadOnly();
}

int Table::writeRecord(int record, const std::vector<QVariant>& values)
{
    if (isReadOnlyStorage())
        readOnlyError(m_storage ? m_storage->path() : QString());
    return m_storage->write(record, values);
}

void Table::initNewRecord(std::vector<QVariant>& values)
{
    // A new detail row takes the master's values into its link fields, as the class library did.
    DataSet* master = m_masterLink->dataSet();
    if (!m_linkActive || m_rangeApplied || !master || !master->Active())
        return;
    const QStringList& masterNames = m_masterNames;
    const std::vector<int>& order = orderFieldIndexes();
    for (int i = 0; i < masterNames.size(); ++i) {
        const int f = i < int(order.size()) ? order[size_t(i)] : FieldByName(masterNames[i]).Index();
        Field* source = master->FindField(masterNames[i]);
        if (source)
            values[size_t(f)] = canonicalValue(Fields(f).DataType(), source->Value());
    }
}

void Table::CloseDiscarding()
{
    if (m_storage && m_storage->holderCount() == 1)
        m_storage->discardPendingChanges();
    Close();
}

bool Table::isOpenInProcess(const QString& path)
{
    return detail::TableStorage::isLive(path);
}

void Table::recordWritten(int record)
{
    // The order follows the write when nothing else changed the rows since it was built.
    if (!m_order || m_order->version + 1 != m_storage->version()) {
        m_order.reset();
        return;
    }
    OrderCache& order = ownOrder();
    order.version = m_storage->version();
    if (order.fields.empty()) {   // physical order: record ids
        if (record >= int(order.sorted.size()))
            order.sorted.push_back(record);
        return;
    }
    // The sort columns follow at once; the sorted ids are rebuilt from them when next asked for
    // (a range, a key search), so a run of posts costs no sorting.
    for (size_t i = 0; i < order.fields.size(); ++i)
        order.set(i, record, m_storage->value(record, order.fields[i]));
    order.isSortedCurrent = false;
}

void Table::removeRecord(int record)
{
    if (isReadOnlyStorage())
        readOnlyError(m_storage ? m_storage->path() : QString());
    const bool isOrderCurrent = m_order && m_order->version == m_storage->version();
    m_storage->remove(record);
    // A deleted record leaves the view; the order of the others stands.
    if (isOrderCurrent && m_order->version + 1 == m_storage->version())
        ownOrder().version = m_storage->version();
}

int Table::viewRowAfterWrite(int record, int oldRow)
{
    if (m_rangeApplied || m_linkActive)
        return -1;
    const RowList& rows = view();
    const bool isOrderCurrent = m_order && m_order->version == m_storage->version();
    if (isOrderCurrent ? m_order->fields.empty() : orderFieldIndexes().empty())
        return oldRow >= 0 ? oldRow : int(rows.size());
    if (!isOrderCurrent)
        return -1;
    const OrderCache& order = *m_order;
    return int(rows.lowerBound(record, [&order](int a, int b) { return order.isBefore(a, b); }));
}

void Table::FlushBuffers()
{
    checkActive();
    CheckBrowseMode();
    m_storage->flush();
}

// --- orders -----------------------------------------------------------------------------------

void Table::SetIndexName(const QString& name)
{
    m_indexName = name;
    m_indexFieldNames.clear();
    orderChanged();
}

void Table::SetIndexFieldNames(const QString& names)
{
    m_indexFieldNames = names;
    m_indexName.clear();
    orderChanged();
}

void Table::orderChanged()
{
    m_order.reset();
    m_orderFields.reset();
    if (!Active())
        return;
    CheckBrowseMode();
    m_rangeApplied = false;
    orderFieldIndexes();
    rebuildView(currentRecord());
}

const std::vector<int>& Table::orderFieldIndexes() const
{
    static const std::vector<int> none;
    if (!m_storage)
        return none;
    if (m_orderFields)
        return *m_orderFields;
    std::vector<int> indexes;
    const QString list = !m_indexFieldNames.isEmpty() ? m_indexFieldNames : m_indexName;
    if (list.trimmed().isEmpty()) {
        for (int i = 0; i < m_storage->keyFieldCount(); ++i)
            indexes.push_back(i);
    } else {
        for (const QString& name : splitFieldList(list)) {
            const int index = m_storage->fieldIndex(name);
            if (index < 0)
                throw EDatabaseError(QStringLiteral("Index '%1' neexistuje").arg(list));
            indexes.push_back(index);
        }
    }
    m_orderFields = std::move(indexes);
    return *m_orderFields;
}

int Table::IndexFieldCount() const
{
    return int(orderFieldIndexes().size());
}

Field& Table::IndexFields(int index) const
{
    const std::vector<int>& fields = orderFieldIndexes();
    if (index < 0 || index >= int(fields.size()))
        throw EListError(QStringLiteral("Index seznamu je mimo meze (%1)").arg(index));
    return Fields(fields[size_t(index)]);
}

std::vector<IndexDef> Table::IndexDefs() const
{
    std::vector<IndexDef> defs;
    if (m_storage && m_storage->keyFieldCount() > 0) {
        QStringList names;
        for (int i = 0; i < m_storage->keyFieldCount(); ++i)
            names.append(m_storage->fieldDef(i).Name);
        defs.push_back(IndexDef{QString(), names.join(QLatin1Char(';')), true});
    }
    return defs;
}

Table::OrderCache& Table::ownOrder() const
{
    if (m_order.use_count() > 1)
        m_order = std::make_shared<OrderCache>(*m_order);
    return *m_order;
}

const std::vector<int>& Table::orderedRecords() const
{
    if (!m_order || m_order->version != m_storage->version())
        m_order = std::static_pointer_cast<OrderCache>(m_storage->sharedOrder(orderFieldIndexes()));
    if (!m_order) {
        auto order = std::make_shared<OrderCache>();
        order->version = m_storage->version();
        const int count = m_storage->recordCount();
        for (const int field : orderFieldIndexes()) {
            const size_t i = order->fields.size();
            order->addField(field, sortKindOf(Fields(field).DataType()));
            if (count > 0)
                order->set(i, count - 1, QVariant());   // every record, NULL until read
            double number = 0;
            bool isNull = true;
            for (int r = 0; r < count; ++r) {
                if (m_storage->isDeleted(r))
                    continue;
                if (order->kinds[i] == SortKind::Number && m_storage->number(r, field, number, isNull))
                    order->numbers[i][size_t(r)] = isNull ? nullNumber : number;
                else
                    order->set(i, r, m_storage->value(r, field));
            }
        }
        order->isSortedCurrent = false;
        m_order = std::move(order);
    }
    OrderCache& order = *m_order;
    if (!order.isSortedCurrent) {
        const int count = m_storage->recordCount();
        order.sorted.resize(size_t(count));
        for (int r = 0; r < count; ++r)
            order.sorted[size_t(r)] = r;
        order.sort();
        m_storage->shareOrder(order.fields, m_order);
    }
    return order.sorted;
}

// --- rows shown --------------------------------------------------------------------------------

void Table::buildView(std::vector<int>& rows) const
{
    const std::vector<int>& sorted = orderedRecords();
    auto addLive = [&](auto first, auto last) {
        for (auto it = first; it != last; ++it) {
            if (!m_storage->isDeleted(*it))
                rows.push_back(*it);
        }
    };
    if (m_rangeApplied) {
        const OrderCache& order = *m_order;
        const bool isNumber = m_isNumberRangePending;
        const SortKey start = isNumber ? SortKey() : keyOf(m_rangeStart);
        const SortKey end = isNumber ? SortKey() : keyOf(m_rangeEnd);
        const size_t first = order.search(isNumber ? m_numberRange->startKey : start, false);
        const size_t last = std::max(first, order.search(isNumber ? m_numberRange->endKey : end, true));
        addLive(sorted.begin() + qsizetype(first), sorted.begin() + qsizetype(last));
        return;
    }
    if (m_linkActive) {
        linkedRecords(rows);
        return;
    }
    rows.reserve(sorted.size());
    addLive(sorted.begin(), sorted.end());
}

// The detail rows of the master's current row. When the link fields are the leading fields of
// the order (as a detail index on VAZBA), the rows are one run of the sorted records, found by
// two binary searches; numbers compare as numbers, texts ignoring letter case, NULL with NULL.
void Table::linkedRecords(std::vector<int>& rows) const
{
    const auto range = linkRange();
    if (range) {
        const std::vector<int>& sorted = m_order->sorted;
        for (size_t at = range->first; at < range->second; ++at) {
            const int r = sorted[at];
            if (!m_storage->isDeleted(r))
                rows.push_back(r);
        }
        return;
    }
    // More master fields than order fields: the others match the detail fields of their names.
    DataSet* master = m_masterLink->dataSet();
    const std::vector<int>& sorted = m_order->sorted;
    const OrderCache& order = *m_order;
    QVarLengthArray<QVariant, 4> values;
    for (const int index : m_masterIndexes)
        values.append(master->Fields(index).Value());
    std::vector<int> fields;
    for (int i = 0; i < m_masterNames.size(); ++i)
        fields.push_back(i < int(order.fields.size()) ? order.fields[size_t(i)] : FieldByName(m_masterNames[i]).Index());
    for (const int r : sorted) {
        if (m_storage->isDeleted(r))
            continue;
        bool isMatch = true;
        for (size_t i = 0; i < fields.size() && isMatch; ++i) {
            const SortKind kind = sortKindOf(Fields(fields[i]).DataType());
            isMatch = compareSort(kind, sortValueOf(kind, m_storage->value(r, fields[i])),
                                  sortValueOf(kind, values[qsizetype(i)])) == 0;
        }
        if (isMatch)
            rows.push_back(r);
    }
}

std::optional<std::pair<size_t, size_t>> Table::linkRange() const
{
    DataSet* master = m_masterLink->dataSet();
    if (!master || !master->Active() || master->IsEmpty())
        return std::pair<size_t, size_t>(0, 0);
    orderedRecords();
    const OrderCache& order = *m_order;
    if (m_masterIndexesStamp != master->fieldsStamp()) {
        m_masterIndexes.clear();
        for (const QString& name : m_masterNames)
            m_masterIndexes.push_back(master->FieldByName(name).Index());
        m_masterIndexesStamp = master->fieldsStamp();
    }
    if (m_masterIndexes.size() > order.fields.size())
        return std::nullopt;
    // One number field links to a number order field (a detail on VAZBA): the master's number
    // as it stands in the row, without a QVariant.
    if (m_masterIndexes.size() == 1 && order.kinds[0] == SortKind::Number && !order.firstNumbers.empty()) {
        double number = 0;
        bool isNull = true;
        if (master->Fields(m_masterIndexes[0]).numberValue(number, isNull))
            return order.firstNumberRun(isNull ? nullNumber : number);
    }
    QVarLengthArray<QVariant, 4> values;
    for (const int index : m_masterIndexes)
        values.append(master->Fields(index).Value());
    return order.equalRun(order.prepare(size_t(values.size()), [&](size_t i) { return values[qsizetype(i)]; }));
}

// --- key search and ranges -------------------------------------------------------------------

// The assigned leading fields of a key buffer in sort form (its first unassigned field ends it).
Table::SortKey Table::keyOf(const KeyBuffer& key) const
{
    const std::vector<int>& fields = orderFieldIndexes();
    size_t count = 0;
    while (count < fields.size() && size_t(fields[count]) < key.assigned.size() && key.assigned[size_t(fields[count])] != 0)
        ++count;
    return m_order->prepare(count, [&](size_t i) { return key.values[size_t(fields[i])]; });
}

void Table::fillKey(KeyBuffer& key, const QVariantList& values)
{
    const std::vector<int>& fields = orderFieldIndexes();
    if (values.size() > qsizetype(fields.size()))
        throw EDatabaseError(QStringLiteral("Příliš mnoho hodnot klíče (%1) pro index s %2 poli")
                                 .arg(values.size()).arg(fields.size()));
    key.reset(FieldCount());
    for (int i = 0; i < values.size(); ++i) {
        const int f = fields[size_t(i)];
        key.values[size_t(f)] = canonicalValue(Fields(f).DataType(), values[i]);
        key.assigned[size_t(f)] = 1;
    }
}

void Table::SetKey()
{
    m_searchKey.reset(FieldCount());
    enterSetKey(m_searchKey);
}

void Table::EditKey()
{
    enterSetKey(m_searchKey);
}

namespace {
[[noreturn]] void noIndexError()
{
    throw EDatabaseError(QStringLiteral("Tabulka nemá nastavený index"));
}
} // namespace

int Table::firstRowNotBelowKey()
{
    checkActive();
    CheckBrowseMode();
    if (orderFieldIndexes().empty())
        noIndexError();
    orderedRecords();
    const OrderCache& order = *m_order;
    const SortKey key = keyOf(m_searchKey);
    const RowList& rows = view();
    const auto it = std::partition_point(rows.begin(), rows.end(), [&](int r) {
        return order.compareToKey(r, key) < 0;
    });
    return int(it - rows.begin());
}

bool Table::GotoKey()
{
    const int row = firstRowNotBelowKey();
    const RowList& rows = view();
    if (row == int(rows.size()) || m_order->compareToKey(rows[size_t(row)], keyOf(m_searchKey)) != 0)
        return false;
    moveToRow(row);
    return true;
}

void Table::GotoNearest()
{
    const int row = firstRowNotBelowKey();
    moveToRow(std::min(row, int(view().size()) - 1));
}

bool Table::FindKey(const QVariantList& values)
{
    checkActive();
    CheckBrowseMode();
    fillKey(m_searchKey, values);
    return GotoKey();
}

void Table::FindNearest(const QVariantList& values)
{
    checkActive();
    CheckBrowseMode();
    fillKey(m_searchKey, values);
    GotoNearest();
}

void Table::SetRangeStart()
{
    fillRangeBuffers();
    m_rangeStart.reset(FieldCount());
    enterSetKey(m_rangeStart);
}

void Table::SetRangeEnd()
{
    fillRangeBuffers();
    m_rangeEnd.reset(FieldCount());
    enterSetKey(m_rangeEnd);
}

void Table::EditRangeStart()
{
    fillRangeBuffers();
    enterSetKey(m_rangeStart);
}

void Table::EditRangeEnd()
{
    fillRangeBuffers();
    enterSetKey(m_rangeEnd);
}

void Table::ApplyRange()
{
    checkActive();
    CheckBrowseMode();
    if (orderFieldIndexes().empty())
        noIndexError();
    fillRangeBuffers();
    m_rangeApplied = true;
    rebuildView(-1);
}

void Table::CancelRange()
{
    checkActive();
    CheckBrowseMode();
    if (!m_rangeApplied)
        return;
    m_rangeApplied = false;
    rebuildView(currentRecord());
}

void Table::SetRange(const QVariantList& startValues, const QVariantList& endValues)
{
    checkActive();
    CheckBrowseMode();
    fillRangeBuffers();
    fillKey(m_rangeStart, startValues);
    fillKey(m_rangeEnd, endValues);
    ApplyRange();
}

namespace {
// The sort form of a number given for a field of the type: the number of its canonical value.
double numberKeyOf(FieldType type, double value)
{
    if (!std::isnan(value)) {
        if (isIntegerType(type))
            return double(txt::roundHalfEven(value));
        if (isFloatType(type) || isDateType(type))
            return value;
    }
    return sortNumberOf(canonicalValue(type, QVariant(value)));
}
} // namespace

void Table::SetNumberRange(std::span<const double> startValues, std::span<const double> endValues)
{
    checkActive();
    CheckBrowseMode();
    const std::vector<int>& fields = orderFieldIndexes();
    const size_t count = std::max(startValues.size(), endValues.size());
    bool isNumberKey = !fields.empty() && count <= fields.size();
    for (size_t i = 0; i < count && isNumberKey; ++i)
        isNumberKey = sortKindOf(Fields(fields[i]).DataType()) == SortKind::Number;
    if (!isNumberKey) {
        QVariantList start;
        QVariantList end;
        for (const double v : startValues)
            start.append(v);
        for (const double v : endValues)
            end.append(v);
        SetRange(start, end);
        return;
    }
    if (!m_numberRange)
        m_numberRange = std::make_unique<NumberRange>();
    NumberRange& range = *m_numberRange;
    range.fields.clear();
    for (size_t i = 0; i < count; ++i)
        range.fields.append(fields[i]);
    auto fill = [&](std::span<const double> values, QVarLengthArray<double, 4>& given, SortKey& key) {
        given.clear();
        key.numbers.resize(qsizetype(values.size()));
        key.values.resize(qsizetype(values.size()));
        for (size_t i = 0; i < values.size(); ++i) {
            given.append(values[i]);
            key.numbers[qsizetype(i)] = numberKeyOf(Fields(fields[i]).DataType(), values[i]);
        }
    };
    fill(startValues, range.start, range.startKey);
    fill(endValues, range.end, range.endKey);
    m_isNumberRangePending = true;
    m_rangeApplied = true;
    rebuildView(-1);
}

void Table::fillRangeBuffers()
{
    if (!m_isNumberRangePending)
        return;
    m_isNumberRangePending = false;
    const NumberRange& range = *m_numberRange;
    auto fill = [&](KeyBuffer& key, const QVarLengthArray<double, 4>& values) {
        key.reset(FieldCount());
        for (qsizetype i = 0; i < values.size(); ++i) {
            const size_t f = size_t(range.fields[i]);
            key.values[f] = canonicalValue(Fields(int(f)).DataType(), QVariant(values[i]));
            key.assigned[f] = 1;
        }
    };
    fill(m_rangeStart, range.start);
    fill(m_rangeEnd, range.end);
}

// --- master-detail ---------------------------------------------------------------------------

DataSource* Table::MasterSource() const
{
    return m_masterLink->dataSource();
}

void Table::SetMasterSource(DataSource* source)
{
    m_masterLink->setDataSource(source);
}

void Table::SetMasterFields(const QString& fields)
{
    m_masterFields = fields;
    m_masterNames = splitFieldList(fields);
    m_masterIndexesStamp = 0;
    masterChanged();
}

void Table::masterChanged()
{
    m_linkActive = m_masterLink->dataSource() && !m_masterNames.isEmpty();
    if (!Active())
        return;
    CheckBrowseMode();
    m_rangeApplied = false;
    rebuildView(-1);
}

// --- structure --------------------------------------------------------------------------------

void Table::CreateTable()
{
    checkInactive("CreateTable");
    detail::TableStorage::create(filePath(), FieldDefs());
}

void Table::DeleteTable()
{
    checkInactive("DeleteTable");
    detail::TableStorage::deleteFiles(filePath());
}

void Table::EmptyTable()
{
    if (!Active()) {
        detail::TableStorage::emptyFile(filePath());
        return;
    }
    CheckBrowseMode();
    if (isReadOnlyStorage())
        readOnlyError(m_storage->path());
    m_storage->removeAll();
    m_storage->flush();
    m_order.reset();
    rebuildView(-1);
}

} // namespace db
