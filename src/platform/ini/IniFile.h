// INI settings files with the semantics of the original's INI class.
#pragma once

#include <QString>
#include <QStringList>

// One INI file, read from disk at every query and written to disk on every change, as the
// original did through the system's profile functions; two objects on one file see each
// other's writes, and a query sees another program's change. The file is parsed again only
// when its size, modification time or inode changed since it was last parsed.
//
// Semantics:
// - sections and keys match ignoring letter case (Czech letters included);
// - a key line is "key=value": the value is everything after the first "=", blanks around
//   key and value are trimmed, and a value between matching quotes ('..' or "..") loses them;
// - the first of duplicate sections or keys wins; lines starting with ";" are comments;
// - a line ends at CRLF, LF or a lone CR; a CR or LF in a name or value written becomes a
//   blank, and names asked for are matched in that written form;
// - the file is windows-1250; a write rewrites only the line it changes (or inserts one)
//   and keeps every other byte, line endings CRLF or LF included;
// - a file name without a directory lies in files::configDirectory() (the original's
//   Windows directory); other names are stored paths resolved by platform/files.
// A missing file reads as empty and is created by the first write. A file that cannot be
// written raises EFileError naming it.
class IniFile
{
public:
    explicit IniFile(const QString& fileName);

    // The name as given.
    const QString& fileName() const { return m_fileName; }
    // The path on disk the name resolves to now.
    QString path() const;

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    void writeString(const QString& section, const QString& key, const QString& value);
    // Decimal or "$" / "0x" hexadecimal; the default when missing or not a number.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    void writeInteger(const QString& section, const QString& key, int value);
    // "0" is false, any other number true; the default when missing or not a number.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    // Written as "1" or "0".
    void writeBool(const QString& section, const QString& key, bool value);

    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    // Removes the section with all its lines.
    void eraseSection(const QString& section);
    // Removes the key's lines from the section.
    void deleteKey(const QString& section, const QString& key);

    // Key names of a section in file order, each once.
    QStringList readSection(const QString& section) const;
    // Section names in file order, each once.
    QStringList readSections() const;
    // "name=value" for each key of readSection(), with the value readString() gives.
    QStringList readSectionValues(const QString& section) const;

private:
    QString m_fileName;
};
