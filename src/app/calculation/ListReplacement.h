// A new list of recognised stands built beside the old one and put in its place only when complete.
#pragma once

#include <QString>

namespace db {
class Table;
}

namespace app {

// The list the user has corrected is replaced only by a complete new one. The new TGENKL.DB is
// built in a hidden directory of the tables directory, under the same file name (a Paradox
// header names its own file), and renamed over the old one when the run completed; a run that
// ends any other way drops it, and the old list with its corrections stays as it was.
//
// One object per run. The caller owns the table and closes it before putInPlace(); a run that
// fails leaves the table to discard() (or the destructor), which closes it without writing.
class ListReplacement
{
public:
    explicit ListReplacement(const QString& tablesDir);
    ~ListReplacement();
    ListReplacement(const ListReplacement&) = delete;
    ListReplacement& operator=(const ListReplacement&) = delete;

    // Creates the new empty table and sets `table` on it (closed). Refuses (EDatabaseError)
    // while the old list is open in this program or carries another program's index files.
    void create(db::Table& table);
    // Renames the new .DB over the old one under the table's save lock; a .MB of the old list
    // goes with it (the list has no blob fields). Raises EFileError or EDatabaseError when the
    // rename fails; the old list then stays.
    void putInPlace();
    // Closes the table without writing it and removes the new files; never throws.
    void discard() noexcept;

    // Where the list lives, and where its replacement is built.
    const QString& listPath() const { return m_listPath; }
    const QString& newPath() const { return m_newPath; }

private:
    void checkOldListFree() const;

    QString m_newDir;
    QString m_listPath;
    QString m_newPath;
    db::Table* m_table = nullptr;
    bool m_isPlaced = false;
};

} // namespace app
