// Files of one Paradox table: case-insensitive companions, index files, identity and save lock.
#pragma once

#include <QString>
#include <QStringList>

namespace db::paradox {

// The file in the directory of `dbPath` with the same base name and extension `ext`
// (e.g. "MB"), matched ignoring case; empty when there is none.
QString companionFile(const QString& dbPath, const QString& ext);
// Index files of the table (.PX, .Xnn, .Ynn, .XGn, .YGn of the same base name, any case).
QStringList indexFiles(const QString& dbPath);
bool hasIndexFiles(const QString& dbPath);

// Identity of a file as last read or written. A rewrite through a temporary file renamed over it
// changes the inode even when size and time stay the same; a write in place changes the size or
// the time (nanoseconds, as fine as the file system keeps them).
struct FileStamp
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of a file; size -1 when there is none.
FileStamp stampOf(const QString& path);

// The save lock of one table, held while it lives: an fcntl lock (open file description lock,
// so two locks of one process exclude each other too) on a hidden lock file beside the table.
// Two copies of this program thus never interleave their saves of one table; other programs do
// not take it, so a save still checks the file right before it replaces it.
//
// The holder removes the lock file before it lets the lock go; whoever then holds a lock on the
// removed file finds that the name no longer leads to it and takes the new one. A lock file
// left by a crash is no lock: the system drops fcntl locks with their process. Where the file
// system has no fcntl locks the save goes on unlocked.
class TableLock
{
public:
    // Raises EDatabaseError naming the table when another copy holds the lock or the lock file
    // cannot be made.
    explicit TableLock(const QString& dbPath);
    ~TableLock();
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;

    // The lock file of a table.
    static QString pathFor(const QString& dbPath);

private:
    QString m_path;
    int m_fd = -1;
};

} // namespace db::paradox
