// Stored-path resolution, file search by mask and the file operations of the original run time.
#include "platform/files/Files.h"

#include "platform/Exceptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace files {
namespace {

QString g_programDirectory;
QString g_configDirectory;

constexpr QDir::Filters everyEntry = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

bool isSeparator(QChar c)
{
    return c == u'/' || c == u'\\';
}

// Index of the last "\", "/" or ":", -1 when there is none.
qsizetype lastDelimiter(QStringView path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (isSeparator(path[i]) || path[i] == u':') return i;
    return -1;
}

// Index of the dot that starts the extension, -1 when the name part has none.
qsizetype extensionDot(QStringView path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > lastDelimiter(path) ? dot : -1;
}

bool hasDrive(QStringView path)
{
    return path.size() >= 2 && path[1] == u':' && path[0].isLetter();
}

// The entry of `directory` whose name equals `name` ignoring case; the exact name when it
// exists; empty when none matches.
QString matchEntry(const QString& directory, const QString& name)
{
    const QString lookIn = directory.isEmpty() ? QStringLiteral(".") : directory;
    if (QFileInfo::exists(lookIn + u'/' + name)) return name;
    const QStringList entries = QDir(lookIn).entryList(everyEntry, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
    return {};
}

QString appendComponent(const QString& path, const QString& component)
{
    if (path.isEmpty()) return component;
    return path.endsWith(u'/') ? path + component : path + u'/' + component;
}

bool lessIgnoringCase(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

bool kindWanted(const QFileInfo& info, EntryKind kind)
{
    switch (kind) {
    case EntryKind::Files: return !info.isDir();
    case EntryKind::Directories: return info.isDir();
    case EntryKind::All: return true;
    }
    return true;
}

[[noreturn]] void throwFileError(const QString& pattern, const QString& file)
{
    throw EFileError(pattern.arg(file));
}

[[noreturn]] void throwFileError(const QString& pattern, const QString& file, const QString& other)
{
    throw EFileError(pattern.arg(file, other));
}

QString executableDirectory()
{
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

// Copies the bytes of `from` into `to` through a temporary file, so a failed copy leaves
// an existing target as it was.
bool copyContents(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) return false;
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly)) return false;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 16);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError) return false;
        if (target.write(chunk) != chunk.size()) return false;
    }
    return target.commit();
}

} // namespace

QString resolvePath(const QString& stored)
{
    QString path = stored;
    path.replace(u'\\', u'/');
    if (hasDrive(path)) path.remove(0, 2);
    if (path.isEmpty()) return path;

    const bool isAbsolute = path.startsWith(u'/');
    const bool hasTrailingSeparator = path.size() > 1 && path.endsWith(u'/');
    const QStringList components = path.split(u'/', Qt::SkipEmptyParts);

    QString resolved = isAbsolute ? QStringLiteral("/") : QString();
    bool isResolving = true;
    for (const QString& component : components) {
        QString found = component;
        if (isResolving && component != u"." && component != u"..") {
            found = matchEntry(resolved, component);
            if (found.isEmpty()) {
                isResolving = false;
                found = component;
            }
        }
        resolved = appendComponent(resolved, found);
    }
    if (hasTrailingSeparator && !resolved.endsWith(u'/')) resolved += u'/';
    return resolved;
}

bool isAbsoluteStoredPath(QStringView stored)
{
    return stored.startsWith(u'\\') || stored.startsWith(u'/') || (stored.size() >= 2 && stored[1] == u':');
}

bool fileExists(const QString& path)
{
    if (path.isEmpty()) return false;
    // Devices, pipes and sockets are no files to read: /dev/zero would never end.
    return QFileInfo(resolvePath(path)).isFile();
}

bool directoryExists(const QString& path)
{
    if (path.isEmpty()) return false;
    return QFileInfo(resolvePath(path)).isDir();
}

bool createDir(const QString& path)
{
    if (path.isEmpty()) return false;
    return QDir().mkdir(resolvePath(path));
}

bool forceDirectories(const QString& path)
{
    if (path.isEmpty()) return false;
    return QDir().mkpath(resolvePath(path));
}

bool matchesMask(QStringView name, QStringView mask)
{
    // Greedy wildcard walk: on a mismatch, let the last "*" swallow one more character.
    qsizetype n = 0, m = 0, starMask = -1, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size()
                   && (mask[m] == u'?' || mask[m].toCaseFolded() == name[n].toCaseFolded())) {
            ++m;
            ++n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*') ++m;
    if (m == mask.size()) return true;
    // "NAME.*" also finds "NAME" (the empty extension of a name without a dot).
    if (mask.endsWith(u".*") && !name.contains(u'.'))
        return matchesMask(name, mask.chopped(2));
    return false;
}

QStringList findFiles(const QString& pathMask, EntryKind kind)
{
    const qsizetype split = lastDelimiter(pathMask);
    const QString directory = pathMask.left(split + 1);
    const QString mask = pathMask.mid(split + 1);
    QString lookIn = directory.isEmpty() ? QStringLiteral(".") : resolvePath(directory);
    if (lookIn.isEmpty()) lookIn = QStringLiteral(".");

    QStringList names;
    const QFileInfoList entries = QDir(lookIn).entryInfoList(everyEntry);
    for (const QFileInfo& entry : entries)
        if (kindWanted(entry, kind) && matchesMask(entry.fileName(), mask)) names.append(entry.fileName());
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

QString programDirectory()
{
    return g_programDirectory.isEmpty() ? executableDirectory() : g_programDirectory;
}

void setProgramDirectory(const QString& directory)
{
    g_programDirectory = directory;
}

QString configDirectory()
{
    if (!g_configDirectory.isEmpty()) return g_configDirectory;
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The XDG rules ignore a relative value.
    const QString base = !xdg.isEmpty() && QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/genklas");
}

void setConfigDirectory(const QString& directory)
{
    g_configDirectory = directory;
}

void renameFile(const QString& from, const QString& to)
{
    const QString pattern = QStringLiteral("Nelze přejmenovat soubor \"%1\" na \"%2\"");
    const QString source = resolvePath(from);
    const QFileInfo sourceInfo(source);
    if (from.isEmpty() || to.isEmpty() || !sourceInfo.exists()) throwFileError(pattern, from, to);

    // The target's directory is resolved; its name is taken as given, so a rename that only
    // changes letter case works.
    const qsizetype split = lastDelimiter(to);
    const QString targetDir = to.left(split + 1);
    const QString target = (targetDir.isEmpty() ? QString() : resolvePath(targetDir)) + to.mid(split + 1);
    const QFileInfo targetInfo(resolvePath(to));
    const bool isSameEntry = targetInfo.exists()
            && targetInfo.canonicalFilePath() == sourceInfo.canonicalFilePath();
    if (targetInfo.exists() && !isSameEntry) throwFileError(pattern, from, to);

    const bool isDone = sourceInfo.isDir() ? QDir().rename(source, target) : QFile::rename(source, target);
    if (!isDone) throwFileError(pattern, from, to);
}

void deleteFile(const QString& path)
{
    const QString resolved = resolvePath(path);
    const QFileInfo info(resolved);
    if (path.isEmpty() || !info.exists() || info.isDir() || !QFile::remove(resolved))
        throwFileError(QStringLiteral("Nelze smazat soubor \"%1\""), path);
}

void copyFile(const QString& from, const QString& to, bool overwrite)
{
    const QString pattern = QStringLiteral("Nelze zkopírovat soubor \"%1\" do \"%2\"");
    const QString source = resolvePath(from);
    const QFileInfo sourceInfo(source);
    if (from.isEmpty() || to.isEmpty() || !sourceInfo.isFile()) throwFileError(pattern, from, to);
    const QString target = resolvePath(to);
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && (!overwrite || targetInfo.isDir())) throwFileError(pattern, from, to);
    if (targetInfo.exists() && targetInfo.canonicalFilePath() == sourceInfo.canonicalFilePath())
        throwFileError(pattern, from, to);
    if (!copyContents(source, target)) throwFileError(pattern, from, to);

    QFile copied(target);
    if (copied.open(QIODevice::ReadWrite))
        copied.setFileTime(sourceInfo.lastModified(), QFileDevice::FileModificationTime);
}

QString extractFilePath(QStringView path)
{
    return path.left(lastDelimiter(path) + 1).toString();
}

QString extractFileName(QStringView path)
{
    return path.mid(lastDelimiter(path) + 1).toString();
}

QString extractFileExt(QStringView path)
{
    const qsizetype dot = extensionDot(path);
    return dot < 0 ? QString() : path.mid(dot).toString();
}

QString changeFileExt(QStringView path, QStringView ext)
{
    const qsizetype dot = extensionDot(path);
    return (dot < 0 ? path : path.left(dot)).toString() + ext.toString();
}

QString includeTrailingBackslash(QStringView path)
{
    if (!path.isEmpty() && isSeparator(path.back())) return path.toString();
    const bool usesSlash = path.contains(u'/') && !path.contains(u'\\');
    return path.toString() + (usesSlash ? u'/' : u'\\');
}

} // namespace files
