// File-system elements: files, directories listed as children, drives, the computer, file-name holders.
#pragma once

#include "framework/core/Elements.h"
#include "platform/text/DateTime.h"

#include <QString>

// The directory entry of a file as a file search gives it.
struct TSearchRec {
    qint32 Time = 0;   // packed file date: date in the high word, time in the low word, 2-second steps
    qint64 Size = 0;
    qint32 Attr = 0;   // faReadOnly | faHidden | ...
    QString Name;      // the file name without its directory
};

// Attribute bits of a directory entry. On this system only read-only is kept on disk (as the
// owner's write permission); hidden means a name starting with "."; system, volume label and
// archive are never reported and only live in the element.
enum FileAttr : qint32 {
    faReadOnly = 1,
    faHidden = 2,
    faSysFile = 4,
    faVolumeID = 8,
    faDirectory = 16,
    faArchive = 32,
    faAnyFile = 63,
};

// Packed file dates and date-times (local time). Dates before 1980 or after 2107 pack as 0;
// a packed value that is no valid date reads as 0 (30.12.1899).
qint32 DateTimeToFileDate(txt::DateTime value);
txt::DateTime FileDateToDateTime(qint32 fileDate);

// A file with its directory entry. FileName is the full path as stored (either separator);
// the file system is reached through platform/files, which resolves it.
class TFileElement : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const TSearchRec& Entry() const { return m_entry; }
    void SetEntry(const TSearchRec& entry) { m_entry = entry; }

    bool Exists() const;
    QString FileName() const { return m_fileName; }
    // Stores the path.
    virtual void SetFileName(const QString& path);
    // The directory of FileName with a closing separator.
    QString FilePath() const;
    // The extension without its "."; empty when there is none or the name ends in ".".
    QString FileExt() const;
    // Renames the file to the same name with this extension (a "." is put before a value without
    // one), as the name write does.
    void SetFileExt(const QString& ext);
    // Entry size, clamped to the 32-bit range.
    qint32 FileSize() const;
    txt::DateTime FileTime() const { return FileDateToDateTime(m_entry.Time); }
    // Entry time := the value as a file date; then the file's modification time on disk.
    void SetFileTime(txt::DateTime value);
    QString FileTimeString() const;
    // A text that is no date-time changes nothing.
    void SetFileTimeString(const QString& text);
    quint8 Attributes() const { return static_cast<quint8>(m_entry.Attr); }
    // Entry attributes := value, then on disk as far as this system keeps them.
    void SetAttributes(quint8 attr);
    bool HasAttr(qint32 bit) const { return (m_entry.Attr & bit) != 0; }
    void SetAttr(qint32 bit, bool on);
    // True: the entry is read again from the file system; false: nothing.
    void SetReadInfo(bool on);

    // The file-name part of FileName.
    QString GetName() const override;
    // Renames the file on disk within its directory; only a successful rename changes the
    // entry and FileName. Nothing at all without a file name.
    void SetName(const QString& name) override;

protected:
    TSearchRec m_entry;
    QString m_fileName;
};

// A directory whose FileName write lists its contents as children, recursively.
class TDirectoryElement : public TFileElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool DirOnly() const { return m_dirOnly; }
    void SetDirOnly(bool on) { m_dirOnly = on; }

    // Lists the directory: nothing when the element already sits in a listed directory or the
    // path is the current one (letter case ignored); else the children are cleared and one
    // element per entry is added (subdirectories listed first, "PAS" files as Pascal units).
    void SetFileName(const QString& path) override;

private:
    bool m_dirOnly = false;
};

// Drive types of the system's drive query.
enum TDriveType : int { Unknown, DontExists, Floppy, HardDisk, Network, CDROM, RAM };

// A drive "X:\". This system has one tree: the drive C stands for "/" (stored paths drop the
// drive letter when they are resolved); every other letter is a drive that does not exist.
class TLogicalDriveElement : public TDirectoryElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool Active() const { return m_active; }
    // On a change: true lists the drive's root (RootName + ":\"), false clears the children.
    void SetActive(bool on);
    QChar RootName() const { return m_rootName; }
    void SetRootName(QChar letter) { m_rootName = letter; }
    int DriveType() const;
    QString DriveTypeString() const;

    // A plain stored name, not the file name.
    QString GetName() const override;
    void SetName(const QString& name) override;

private:
    bool m_active = false;
    QChar m_rootName;
};

// The letter of the drive that stands for "/".
inline constexpr char16_t systemDriveLetter = u'C';

// The computer: one drive element per drive present, created with it.
class TLocalComputerElement : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void AfterConstruction() override;
};

class TTextFileElement : public TFileElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// A Pascal source met while listing: its descriptive texts are INI keys of the section
// "Unit_Description" in the file itself (empty when missing). The writes do nothing.
class TPascalUnitElement : public TFileElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    QString DescriptionKey(const QString& key) const;
};

// Groups Pascal units under four child containers found by name or created on first read.
class TPascalUnits : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TOwnerEntity* Admins() { return group(QStringLiteral("Admins")); }
    TOwnerEntity* TechTopics() { return group(QStringLiteral("Tech topics")); }
    TOwnerEntity* Topics() { return group(QStringLiteral("Topics")); }
    TOwnerEntity* Units() { return group(QStringLiteral("Units")); }

private:
    TOwnerEntity* group(const QString& name);
};

// Holds a file name; Path is its directory.
class TFileModel : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    virtual QString GetFileName() const { return m_fileName; }
    virtual QString GetPath() const;
    virtual void SetFileName(const QString& name) { m_fileName = name; }
    // File name := value with a closing separator + the file-name part of the old file name.
    virtual void SetPath(const QString& path);

protected:
    QString m_fileName;
};

class TFilePathModel : public TFileModel
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& Path1() const { return m_path1; }
    void SetPath1(const QString& path) { m_path1 = path; }

private:
    QString m_path1;
};

// Error codes of TFileBasedEntity.
enum FileBasedError : qint32 { feNone = 0, feNoName = 11, feNotFound = 12, feReadFailed = 13 };

// An entity read from a named file. Setting the file name reads the file through ReadFile and
// records the outcome in Error (0, 11 no name, 12 no such file, 13 the read raised).
class TFileBasedEntity : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    virtual QString GetFileName() const { return m_fileName; }
    virtual void SetFileName(const QString& name);
    // Reads the content of the named file; nothing here.
    virtual void ReadFile(const QString& name);
    // The writing counterpart for descendants; nothing here.
    virtual void WriteFile(const QString& name);

    qint32 Error() const { return m_error; }
    void SetError(qint32 error) { m_error = error; }

private:
    QString m_fileName;
    qint32 m_error = feNone;
};

// Registers TFileElement, TDirectoryElement, TLogicalDriveElement, TLocalComputerElement,
// TTextFileElement, TFileModel, TFilePathModel and TFileBasedEntity. Runs once.
void RegisterE_filesUnit();
