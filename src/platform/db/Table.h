// A dataset over one Paradox table: orders, ranges, key search, master-detail links, creation.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/Exceptions.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace db {

namespace detail {
class TableStorage;
}

// Opening failed because a field declared in FieldDefs is not in the table (an older structure
// that the caller may extend and open again).
class EDeclaredFieldMissing : public EDatabaseError
{
public:
    EDeclaredFieldMissing(QString message, QString fieldName)
        : EDatabaseError(std::move(message)), m_fieldName(std::move(fieldName)) {}
    const QString& fieldName() const { return m_fieldName; }

private:
    QString m_fieldName;
};

// An index of the table: the primary key (the file's key fields), listed first when the table
// is keyed.
struct IndexDef {
    QString Name;      // "" for the primary key
    QString Fields;    // field names joined by ";"
    bool Primary = false;
};

// Maps a database name (an alias or connection name such as "DB_KM") to its directory; an empty
// answer means the name is taken as a directory itself. The SQL layer installs one.
using DatabasePathResolver = std::function<QString(const QString& databaseName)>;
void setDatabasePathResolver(DatabasePathResolver resolver);

// A Paradox table as the class library's TTable. The rows are held in memory (raw records,
// decoded per field on demand); orders, ranges and links are in-memory indexes.
//
// Location: DatabaseName (a directory, or a database name the resolver knows) + TableName, or a
// full path in TableName; "\" and "/" both separate, every component is matched ignoring case,
// ".DB" is added when the name has no extension.
//
// Orders: IndexName "" is the primary key (the file's leading key fields; the physical order
// when the table has none). IndexName or IndexFieldNames may name a field list such as
// "Vazba;N_Druh_vykonu;ID": rows sorted by those fields, ties kept in physical order. Strings
// compare ignoring letter case, NULL first.
//
// Ranges and key search work on the leading fields of the current order. A master link
// (MasterSource + MasterFields) shows the rows whose leading order fields equal the master's
// fields; it is refreshed, and the detail put on its first row, on every move of the master
// (an empty or closed master gives an empty detail); a row inserted into the detail gets the
// master's values in its link fields. An applied range replaces the link until the master moves
// again, as in the class library.
//
// Writing: Post, Delete and Append change the rows in memory; FlushBuffers writes the whole table
// back to the file, and so does Close. Tables, local SQL and live results of one process on one
// file share its rows (as the engine's cache did), so none overwrites another's changes: a post
// through one is seen by the others when they next rebuild their rows (Refresh, a master move, a
// new range). A save is refused when another program changed the file since it was read; the
// changes stay pending. Refresh rereads a file that changed on disk when nothing is pending and
// nothing else shares it. A keyed table, one with index files of another program (.PX, .Xnn,
// .Ynn ...) and an encrypted one open read-only: Edit, Insert and Delete raise EDatabaseError.
// Changes that cannot be written when a Table is destroyed are reported through ui::services().
class Table : public DataSet
{
public:
    Table();
    ~Table() override;

    const QString& DatabaseName() const { return m_databaseName; }
    void SetDatabaseName(const QString& name);
    const QString& TableName() const { return m_tableName; }
    void SetTableName(const QString& name);
    bool Exclusive() const { return m_exclusive; }
    void SetExclusive(bool exclusive);
    // The resolved path of the .DB (the file need not exist); raises EDatabaseError when the
    // table name is empty.
    QString filePath() const;
    // True when the open table cannot be written (index files, encryption, ReadOnly).
    bool isReadOnlyStorage() const;

    // --- orders --------------------------------------------------------------------------
    const QString& IndexName() const { return m_indexName; }
    void SetIndexName(const QString& name);
    const QString& IndexFieldNames() const { return m_indexFieldNames; }
    void SetIndexFieldNames(const QString& names);
    // Fields of the current order.
    int IndexFieldCount() const;
    Field& IndexFields(int index) const;
    std::vector<IndexDef> IndexDefs() const;

    // --- key search (leading fields of the current order) -------------------------------------
    // SetKey/EditKey enter set-key state: field assignments then fill the search key.
    void SetKey();
    void EditKey();
    // Goes to the first row whose key equals the search key; false (cursor unchanged) otherwise.
    bool GotoKey();
    // Goes to the first row whose key is >= the search key (the last row when none is).
    void GotoNearest();
    // SetKey with the values for the leading fields, then GotoKey / GotoNearest.
    bool FindKey(const QVariantList& values);
    void FindNearest(const QVariantList& values);

    // --- ranges (leading fields of the current order; composite keys too) ---------------------
    void SetRangeStart();
    void SetRangeEnd();
    void EditRangeStart();
    void EditRangeEnd();
    // Shows the rows whose key lies between start and end, each compared on the fields assigned
    // to it; the cursor goes to the first row.
    void ApplyRange();
    void CancelRange();
    void SetRange(const QVariantList& startValues, const QVariantList& endValues);
    // SetRange with numbers for number fields, without building QVariants: the same rows, cursor
    // and notifications (other fields, or a wrong count, go the QVariant way).
    void SetNumberRange(std::span<const double> startValues, std::span<const double> endValues);

    // --- master-detail --------------------------------------------------------------------------
    DataSource* MasterSource() const;
    void SetMasterSource(DataSource* source);
    // Master field names joined by ";" (matched to the leading fields of the current order).
    const QString& MasterFields() const { return m_masterFields; }
    void SetMasterFields(const QString& fields);

    // --- structure --------------------------------------------------------------------------
    // Creates the file from FieldDefs (replacing an existing one); the table stays closed.
    void CreateTable();
    // Deletes the closed table's .DB and .MB.
    void DeleteTable();
    // Removes every row (written at once).
    void EmptyTable();
    // Writes pending changes of the open table to its file.
    void FlushBuffers();
    // Closes a table that is being thrown away: when nothing else of the process holds its rows,
    // changes not yet written are dropped instead of written, so the close cannot fail.
    void CloseDiscarding();
    // True while something of this process holds the rows of that .DB (a Table, local SQL, a live
    // result): they share them, and the file cannot be restructured meanwhile.
    static bool isOpenInProcess(const QString& path);

protected:
    void openSource() override;
    void closeSource() override;
    int sourceRecordCount() const override;
    QVariant sourceValue(int record, int field) const override;
    bool sourceNumber(int record, int field, double& value, bool& isNull) const override;
    bool sourceText(int record, int field, QString& text) const override;
    bool sourceRecordDeleted(int record) const override;
    bool sourceCanModify() const override;
    int writeRecord(int record, const std::vector<QVariant>& values) override;
    void removeRecord(int record) override;
    void initNewRecord(std::vector<QVariant>& values) override;
    void refreshSource() override;
    quint64 sourceVersion() const override;
    void buildView(std::vector<int>& rows) const override;
    void recordWritten(int record) override;
    int viewRowAfterWrite(int record, int oldRow) override;

private:
    class MasterLink;
    struct OrderCache;
    struct SortKey;
    struct NumberRange;

    void checkInactive(const char* operation) const;
    void bindStorage();
    void orderChanged();
    void masterChanged();
    // Field indexes of the current order (parsed once per order and open).
    const std::vector<int>& orderFieldIndexes() const;
    const std::vector<int>& orderedRecords() const;
    OrderCache& ownOrder() const;   // m_order, copied first when another table shares it
    void linkedRecords(std::vector<int>& rows) const;
    // The run of the sorted records holding the detail rows of the master's current row (empty
    // for an empty or closed master); none when the link fields go beyond the order fields.
    std::optional<std::pair<size_t, size_t>> linkRange() const;
    // The assigned leading fields of a key buffer in the sort form of the current order.
    SortKey keyOf(const KeyBuffer& key) const;
    // Position in the view of the first row not below the search key (the view's size if none).
    int firstRowNotBelowKey();
    void fillKey(KeyBuffer& key, const QVariantList& values);
    // Puts the values of a number range into the range key buffers, which it left untouched.
    void fillRangeBuffers();

    QString m_databaseName;
    QString m_tableName;
    bool m_exclusive = false;
    QString m_indexName;
    QString m_indexFieldNames;
    QString m_masterFields;
    QStringList m_masterNames;                   // m_masterFields split
    mutable std::vector<int> m_masterIndexes;    // their fields in the master, resolved for...
    mutable quint64 m_masterIndexesStamp = 0;    // ...this fieldsStamp() of the master
    std::unique_ptr<MasterLink> m_masterLink;
    std::shared_ptr<detail::TableStorage> m_storage;   // rows, shared by every Table of this file
    mutable std::optional<std::vector<int>> m_orderFields;
    // The current order, also the link index; rebuilt lazily. Tables of the same rows and order
    // fields share one (TableStorage::sharedOrder); a change to it goes to a copy of its own.
    mutable std::shared_ptr<OrderCache> m_order;
    KeyBuffer m_searchKey;
    KeyBuffer m_rangeStart;
    KeyBuffer m_rangeEnd;
    bool m_rangeApplied = false;
    std::unique_ptr<NumberRange> m_numberRange;  // the last SetNumberRange, kept for its storage...
    bool m_isNumberRangePending = false;         // ...and, while true, not yet in the key buffers
    bool m_linkActive = false;                   // the master link restricts the rows
    bool m_isDestroying = false;                 // the destructor wrote or reported the rows
};

} // namespace db
