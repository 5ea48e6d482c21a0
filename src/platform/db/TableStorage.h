// The rows of one Paradox table file held in memory and shared by every db::Table open on it.
#pragma once

#include "platform/db/Field.h"
#include "platform/db/paradox/ParadoxTypes.h"

#include <QByteArray>
#include <QHash>
#include <QList>
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

// Raw records of one .DB (record id i at i * record size), decoded per field on demand. Record ids
// stay stable while the storage lives: a deleted record keeps its id with a flag, an inserted one
// gets the next id. Values set since the last flush that live in the .MB are kept beside the
// records until flush() writes the whole table and rereads its blob pointers.
struct TableStorage {
    TableStorage();
    ~TableStorage();
    TableStorage(const TableStorage&) = delete;
    TableStorage& operator=(const TableStorage&) = delete;

    // The storage of a .DB path: the live one when a Table of this process has it open (refused
    // when either side wants it exclusively), else read from the file. Raises EDatabaseError.
    static std::shared_ptr<TableStorage> acquire(const QString& path, bool exclusive);
    // Gives a holder back; the registry forgets the storage after its last holder.
    static void release(std::shared_ptr<TableStorage> storage, bool exclusive);
    static void flushPending(const QString& path);
    static bool isLive(const QString& path);
    // New empty table from definitions (replacing the file); refused for an open table or one
    // with index files of another program.
    static void create(const QString& path, const FieldDefs& defs);
    static void deleteFiles(const QString& path);
    static void emptyFile(const QString& path);

    int fieldCount() const { return int(fields.size()); }
    FieldDef fieldDef(int field) const;
    int fieldIndex(const QString& name) const;
    bool isAutoInc(int field) const;
    int keyFieldCount() const { return keyFields; }
    int recordCount() const { return count; }
    bool isDeleted(int record) const { return deleted[size_t(record)] != 0; }
    QVariant value(int record, int field) const;
    // Stores a record (record -1 inserts); answers its id. Raises EDatabaseError and changes
    // nothing when a value cannot be stored or the key repeats.
    int write(int record, const std::vector<QVariant>& values);
    void remove(int record);
    void removeAll();
    // Writes the whole table when anything changed.
    void flush();
    // Rereads the file when it changed on disk since it was read or written (another program, SQL
    // edits) and nothing is pending here and no other Table shares the rows; the field layout must
    // be the same. Record ids then restart from the file's order. Answers whether it reread.
    bool reloadIfChangedOnDisk();

    QString path;
    bool readOnly = false;       // index files of another program, encryption, no write access
    uint64_t version = 0;        // grows with every change of the rows
    int holders = 0;
    bool exclusiveHeld = false;

private:
    void load(const QString& filePath);
    static qint64 blobKey(int record, int field) { return qint64(record) * 65536 + field; }
    uint32_t highestAutoInc();

    std::unique_ptr<paradox::ParadoxFile> file;   // the file the blob pointers of the records address
    QList<paradox::FieldDef> fields;
    const paradox::CodePage* codePage = nullptr;
    int recordSize = 0;
    int keyFields = 0;
    int keyBytes = 0;
    QByteArray records;
    int count = 0;
    std::vector<uint8_t> deleted;
    QHash<qint64, QByteArray> blobs;   // payloads written since the last flush
    uint32_t autoIncMax = 0;
    bool autoIncScanned = false;   // autoIncMax covers the values of the rows too
    bool dirty = false;
    // Identity of the file as last read or written: a rewrite (temporary file renamed over it)
    // changes the inode even when size and time stay the same.
    struct FileStamp {
        quint64 inode = 0;
        qint64 size = -1;
        qint64 modifiedNs = 0;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp stampOf(const QString& filePath);
    FileStamp stamp;
};

} // namespace db::detail
