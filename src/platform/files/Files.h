// Stored paths on this file system: case-blind resolution, masks, program and settings directories.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Paths kept in data and settings come from a system with "\" separators, drive letters and
// case-blind names. Every function here takes such a stored path, resolves it and then works
// on what exists. Failures of the changing operations raise EFileError naming the file.
namespace files {

// "\" becomes "/", a leading drive ("C:") is dropped, and each component is matched against
// the directory entries ignoring letter case (an exact match wins). From the first component
// that matches nothing on, the remainder is kept as given. Relative paths stay relative
// (looked up from the current directory); a trailing separator is kept.
QString resolvePath(const QString& stored);

// A stored path that does not depend on the current directory: it starts with "\" or "/" or
// names a drive ("C:").
bool isAbsoluteStoredPath(QStringView stored);

// A regular file (not a directory, device or pipe) exists under the path.
bool fileExists(const QString& path);
bool directoryExists(const QString& path);

// Creates the last directory of the path; its parent must exist. False when it cannot.
bool createDir(const QString& path);
// Creates the directory and every missing parent. False when it cannot.
bool forceDirectories(const QString& path);

// Mask matching of the original file search: "?" is one character, "*" any run, letter case
// ignored; a mask ending in ".*" also matches a name without any dot ("*.*" matches all).
bool matchesMask(QStringView name, QStringView mask);

enum class EntryKind { Files, Directories, All };
// Names (no directory) of the entries in the mask's directory matching its last component,
// e.g. "C:\DATA\*.FST" or "12345.*V" (current directory); sorted ignoring case.
// "." and ".." are never listed; a missing directory gives an empty list.
QStringList findFiles(const QString& pathMask, EntryKind kind = EntryKind::Files);

// The directory of the running executable, without a closing separator.
QString programDirectory();
// Overrides programDirectory(); an empty text restores the executable's directory.
void setProgramDirectory(const QString& directory);
// Where settings files named without a directory live (the original's Windows directory):
// $XDG_CONFIG_HOME/genklas, else ~/.config/genklas. Not created here.
QString configDirectory();
// Overrides configDirectory(); an empty text restores the default.
void setConfigDirectory(const QString& directory);

// Failures raise EFileError: "Nelze přejmenovat soubor "<from>" na "<to>"",
// "Nelze smazat soubor "<path>"", "Nelze zkopírovat soubor "<from>" do "<to>"" (names as given).

// Renames or moves a file or directory; an existing target is never overwritten (a change of
// letter case only is allowed).
void renameFile(const QString& from, const QString& to);
// Deletes a file (not a directory).
void deleteFile(const QString& path);
// Copies a file with its modification time; an existing target is replaced only when allowed.
void copyFile(const QString& from, const QString& to, bool overwrite = true);

// Name parts; "\", "/" and the drive ":" all end a directory part.
// "C:\a\b.txt": path "C:\a\", name "b.txt", ext ".txt". The extension keeps its dot.
QString extractFilePath(QStringView path);
QString extractFileName(QStringView path);
QString extractFileExt(QStringView path);
// Replaces the extension (or appends it when there is none); ext includes its dot.
QString changeFileExt(QStringView path, QStringView ext);
// Appends a separator unless the path ends in one: "/" when the path uses only "/", else "\".
QString includeTrailingBackslash(QStringView path);

} // namespace files
