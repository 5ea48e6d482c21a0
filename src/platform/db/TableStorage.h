// The rows of one Paradox table file held in memory: the one writer of that file in the process.
#pragma once

#include "platform/db/Field.h"
#include "platform/db/paradox/ParadoxTypes.h"
#include "platform/db/paradox/TableFiles.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

namespace db::paradox {
class CodePage;
class ParadoxFile;
} // namespace db::paradox

namespace db::detail {

// Values of single fields by field index (invalid QVariant = NULL).
using FieldValues = QList<QPair<int, QVariant>>;

// Raw records of one .DB (record id i at i * record size), decoded per field on demand. Every
// db::Table, local SQL statement and live result of the process on one file shares one storage,
// so all their writes go through it and none overwrites another's.
//
// Record ids stay stable while the storage lives: a deleted record keeps its id with a flag, an
// inserted one gets the next id. Values set since the last flush that live in the .MB are kept
// beside the records until flush() writes the table.
//
// A table opens read-only when it is keyed (the engine keeps a primary index beside it that we
// do not write), has index files of another program, is encrypted, or cannot be written.
// flush() refuses to overwrite a file that changed on disk since it was read (another program
// saved it), checked again right before the new file replaces it; the pending rows are kept.
class TableStorage
{
public:
    TableStorage();
    ~TableStorage();
    TableStorage(const TableStorage&) = delete;
    TableStorage& operator=(const TableStorage&) = delete;

    // The storage of a .DB path: the live one when this process has the file open (refused when
    // either side wants it exclusively), else read from the file. Raises EDatabaseError.
    static std::shared_ptr<TableStorage> acquire(const QString& path, bool exclusive);
    // Gives a holder back; the registry forgets the storage after its last holder.
    static void release(std::shared_ptr<TableStorage> storage, bool exclusive);
    // True while something of this process holds the rows of that file.
    static bool isLive(const QString& path);
    // New empty table from definitions (replacing the file); refused for an open table or one
    // with index files of another program.
    static void create(const QString& path, const FieldDefs& defs);
    static void deleteFiles(const QString& path);
    static void emptyFile(const QString& path);

    const QString& path() const { return m_path; }
    bool isReadOnly() const { return m_isReadOnly; }
    // Grows with every change of the rows.
    uint64_t version() const { return m_version; }
    int holderCount() const { return m_holders; }
    // An order of these rows by `fields` that a holder built at the current version, for the
    // other holders to share instead of sorting the same rows again; null when there is none.
    // Its contents are the holder's business: the storage only keeps a weak reference.
    std::shared_ptr<void> sharedOrder(const std::vector<int>& fields) const;
    void shareOrder(const std::vector<int>& fields, const std::shared_ptr<void>& order) const;

    int fieldCount() const { return int(m_fields.size()); }
    const QList<paradox::FieldDef>& fields() const { return m_fields; }
    const paradox::CodePage& codePage() const { return *m_codePage; }
    FieldDef fieldDef(int field) const;
    int fieldIndex(const QString& name) const;
    bool isAutoInc(int field) const;
    int keyFieldCount() const { return m_keyFieldCount; }
    // Record ids in use, deleted ones included.
    int recordCount() const { return m_count; }
    bool isDeleted(int record) const { return m_deleted[size_t(record)] != 0; }
    // The raw bytes of a record.
    const char* record(int record) const { return m_records.constData() + qsizetype(record) * m_recordSize; }
    QVariant value(int record, int field) const;
    // The value of a number field (Short, Long, AutoInc, Number, Currency, BCD, Logical, Date,
    // Time, Timestamp) as value(record, field) gives it, converted to a double, without a QVariant;
    // false for the other types.
    bool number(int record, int field, double& value, bool& isNull) const;
    // The value of an Alpha field as value(record, field) gives it, trailing blanks dropped
    // (a null QString for NULL), without a QVariant; false for the other types.
    bool text(int record, int field, QString& text) const;
    // Full payload of a blob field (memo bytes in the code page, graphic without its prefix).
    QByteArray blob(int record, int field) const;

    // Stores a record from the values of every field (record -1 inserts); fields whose value
    // equals the stored one keep their bytes. Answers the record id. Raises EDatabaseError and
    // changes nothing when a value cannot be stored.
    int write(int record, const std::vector<QVariant>& values);
    // Stores the given fields of a record (record -1 inserts with the other fields NULL).
    int writeFields(int record, const FieldValues& values);
    void remove(int record);
    void removeAll();

    // What a record was before a change, to take the change back when it cannot be saved.
    struct RecordState
    {
        int record = -1;
        QByteArray bytes;
        bool isDeleted = true;
        bool isChanged = false;
        QHash<int, QByteArray> blobs;
    };
    RecordState recordState(int record) const;
    void restore(const RecordState& state);

    bool hasPendingChanges() const { return m_isDirty; }
    // Records written or removed since the last flush.
    int pendingRecordCount() const;
    // Forgets the pending changes (they could not be saved and were reported).
    void discardPendingChanges();
    // For the last holder going away, where nobody can catch an error: saves the pending changes,
    // or tells the user through ui::services() which table lost how many records, and forgets them.
    void saveOrReport() noexcept;
    // Writes the whole table when anything changed. Raises EDatabaseError and keeps the pending
    // changes when the file cannot be written or changed on disk meanwhile.
    void flush();
    // Rereads the file when it changed on disk since it was read or written (another program)
    // and nothing is pending here and nothing else of this process holds the rows; the field
    // layout must be the same. Record ids then restart from the file's order. Answers whether it
    // reread.
    bool reloadIfChangedOnDisk();

private:
    struct FieldValue
    {
        int field;
        const QVariant* value;
    };
    int store(int record, const std::vector<FieldValue>& values);
    void load(const QString& filePath);
    bool isUnchangedOnDisk() const;
    // Raises the refusal when the file is not the one last read or written.
    void refuseIfChangedOnDisk() const;
    void storeBlob(const paradox::FieldDef& f, int field, char* record, const QVariant& value,
                   QHash<int, QByteArray>& newBlobs);
    int commit(int record, const QByteArray& bytes, const QHash<int, QByteArray>& newBlobs);
    void markChanged(int record);
    static qint64 blobKey(int record, int field) { return qint64(record) * 65536 + field; }

    QString m_path;
    bool m_isReadOnly = false;
    uint64_t m_version = 0;
    int m_holders = 0;
    bool m_isExclusiveHeld = false;
    struct SharedOrder {
        uint64_t version = 0;
        std::vector<int> fields;
        std::weak_ptr<void> order;
    };
    mutable std::vector<SharedOrder> m_sharedOrders;

    std::unique_ptr<paradox::ParadoxFile> m_file;   // the file the blob pointers of the records address
    QList<paradox::FieldDef> m_fields;
    const paradox::CodePage* m_codePage = nullptr;
    int m_recordSize = 0;
    int m_keyFieldCount = 0;
    std::vector<int> m_autoIncFields;   // field indexes by type, not looked up per row
    std::vector<int> m_bcdFields;
    std::vector<uint8_t> m_isBlobField;   // by field index
    QByteArray m_records;
    QByteArray m_headerBytes;   // the header as last read or written
    int m_count = 0;
    std::vector<uint8_t> m_deleted;   // by record id
    std::vector<uint8_t> m_changed;   // by record id: written or removed since the last flush
    int m_changedCount = 0;
    QHash<qint64, QByteArray> m_blobs;   // payloads written since the last flush
    // Highest auto-increment value ever handed out: the header's counter and every stored value.
    // It never goes down, so a deleted row's value is not handed out again.
    uint32_t m_autoIncMax = 0;
    bool m_isDirty = false;
    paradox::FileStamp m_stamp;   // the file as last read or written
    // The text last decoded from each alpha field, by the bytes it came from: a value repeated
    // down a column (a code, an abbreviation) is decoded once and shared.
    struct TextMemo {
        const paradox::CodePage* codePage = nullptr;
        QByteArray bytes;
        QString text;
    };
    mutable std::vector<TextMemo> m_textMemo;
    std::vector<FieldValue> m_writeFields;   // write()'s fields to store
};

// One holder of the storage of a file for as long as it lives (local SQL, live results).
class StorageHold
{
public:
    explicit StorageHold(const QString& path);
    ~StorageHold();
    StorageHold(const StorageHold&) = delete;
    StorageHold& operator=(const StorageHold&) = delete;

    TableStorage& storage() const { return *m_storage; }

private:
    std::shared_ptr<TableStorage> m_storage;
};

} // namespace db::detail
