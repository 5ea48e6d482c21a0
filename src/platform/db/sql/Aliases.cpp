// Database aliases: reading the alias file and the default alias.
#include "platform/db/sql/Aliases.h"

#include "platform/db/sql/Database.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/text/Case.h"

#include <QDir>
#include <QFileInfo>

namespace db {

namespace {

QString& aliasFilePath()
{
    static QString path;
    return path;
}

QString& programDir()
{
    static QString dir;
    return dir;
}

const QString defaultAlias = QStringLiteral("LHP");

// The alias's section of the alias file; nullopt when the file has none.
std::optional<AliasInfo> readAlias(const QString& path, const QString& name)
{
    const IniFile ini(path);
    if (!ini.sectionExists(name))
        return std::nullopt;
    AliasInfo info;
    info.name = name;
    info.driver = ini.readString(name, QStringLiteral("DRIVER"), QString());
    info.database = ini.readString(name, QStringLiteral("DATABASE"), QString());
    info.host = ini.readString(name, QStringLiteral("HOST"), QString());
    info.port = ini.readInteger(name, QStringLiteral("PORT"), -1);
    return info;
}

// Relative SQLite files lie in the program's directory.
void resolveDatabaseFile(AliasInfo& info)
{
    if (info.isDirectory() || info.driver.compare(QLatin1String("QSQLITE"), Qt::CaseInsensitive) != 0)
        return;
    if (!info.database.isEmpty() && QFileInfo(info.database).isRelative())
        info.database = QDir(programDir().isEmpty() ? files::programDirectory() : programDir()).filePath(info.database);
}

} // namespace

bool AliasInfo::isDirectory() const
{
    return driver.compare(QLatin1String("STANDARD"), Qt::CaseInsensitive) == 0
        || driver.compare(QLatin1String("PARADOX"), Qt::CaseInsensitive) == 0;
}

void Aliases::setAliasFile(const QString& path)
{
    aliasFilePath() = path;
    installDatabasePathResolver();
}
QString Aliases::aliasFile() { return aliasFilePath(); }
void Aliases::setProgramDirectory(const QString& dir) { programDir() = dir; }
QString Aliases::programDirectory() { return programDir(); }

std::optional<AliasInfo> Aliases::find(const QString& name)
{
    const QString wanted = txt::trim(name);
    if (wanted.isEmpty())
        return std::nullopt;
    std::optional<AliasInfo> info;
    if (!aliasFilePath().isEmpty())
        info = readAlias(aliasFilePath(), wanted);
    if (!info && txt::sameTextLetters(wanted, defaultAlias)) {
        info.emplace();
        info->name = defaultAlias;
        info->driver = QStringLiteral("QSQLITE");
        info->database = QStringLiteral("LHP.sqlite");
    }
    if (info) {
        if (info->driver.isEmpty())
            info->driver = QStringLiteral("QSQLITE");
        resolveDatabaseFile(*info);
    }
    return info;
}

QString Aliases::aliasPath(const QString& name)
{
    const std::optional<AliasInfo> info = find(name);
    return info ? info->database : QString();
}

} // namespace db
