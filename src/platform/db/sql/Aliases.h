// Database aliases: an INI file maps an alias to a QtSql driver, database, host and port.
#pragma once

#include <QString>

#include <optional>

namespace db {

// One alias of the alias file. `driver` is a QtSql driver name ("QSQLITE", "QPSQL")
// or "STANDARD" for a directory of Paradox tables, whose directory is `database`.
struct AliasInfo
{
    QString name;
    QString driver;
    QString database;   // SQLite: file (relative names lie in the program's directory); STANDARD: directory
    QString host;
    int port = -1;      // -1: the driver's default

    bool isDirectory() const;
};

// The alias table of the process. The file is an INI file in windows-1250, one section per alias:
//   [LHP]
//   DRIVER=QSQLITE
//   DATABASE=LHP.sqlite
//   HOST=
//   PORT=
// Section and key names ignore case. Without a file (or without a section `LHP`) the alias
// `LHP` is the SQLite file `LHP.sqlite` in the program's directory. Never in the data directory
// of vkm.ini: each Paradox choice rewrites that to another program's data.
class Aliases
{
public:
    // Where the alias file lies; empty: none (only the default alias).
    static void setAliasFile(const QString& path);
    static QString aliasFile();
    // The program's directory: relative SQLite files and the default `LHP.sqlite` lie there.
    // Empty (as set by default): files::programDirectory() is used.
    static void setProgramDirectory(const QString& dir);
    static QString programDirectory();

    // The alias of this name (ignoring case), read from the file at each call; nullopt when unknown.
    static std::optional<AliasInfo> find(const QString& name);
    // The path of an alias as the report's alias lookup needs it: the directory of a STANDARD
    // alias, the database file of a file-based driver; empty when unknown.
    static QString aliasPath(const QString& name);
};

} // namespace db
