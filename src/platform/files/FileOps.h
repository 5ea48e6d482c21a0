// The file operations of a save, one call per step, behind a seam that tests replace.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <span>

namespace files {

// Each operation either completes (data on the disk, fsync'ed) or raises EFileError naming the
// file. A save is built from these steps so that a test can make any one of them fail and then
// check what a reader finds.
class FileOps
{
public:
    virtual ~FileOps() = default;
    // Creates or truncates the file and writes the pieces one after another.
    virtual void writeFile(const QString& path, std::span<const QByteArrayView> pieces);
    void writeFile(const QString& path, QByteArrayView data) { writeFile(path, std::span(&data, 1)); }
    // Appends `data` to the file (created when missing) where its end is at that moment, so that
    // it never overwrites what another writer appended meanwhile; answers the offset it starts at.
    virtual qint64 append(const QString& path, QByteArrayView data);
    // Cuts or extends the file to `size` bytes.
    virtual void resize(const QString& path, qint64 size);
    // Moves `from` over `to` in one step (an existing `to` is replaced), then syncs the directory.
    virtual void replace(const QString& from, const QString& to);
    virtual void remove(const QString& path);
};

// The operations in use: the real ones unless a test installed others.
FileOps& fileOps();

// Installs `ops` (not owned) while it lives; tests only.
class ScopedFileOps
{
public:
    explicit ScopedFileOps(FileOps& ops);
    ~ScopedFileOps();
    ScopedFileOps(const ScopedFileOps&) = delete;
    ScopedFileOps& operator=(const ScopedFileOps&) = delete;

private:
    FileOps* m_previous;
};

} // namespace files
