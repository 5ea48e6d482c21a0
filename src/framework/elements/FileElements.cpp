// File-system elements: files, directories listed as children, drives, the computer, file-name holders.
#include "framework/elements/FileElements.h"

#include "framework/core/ClassRegistry.h"
#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/text/Case.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <limits>

namespace {

constexpr int firstFileYear = 1980;
constexpr int lastFileYear = 2107;

// Read-only is the only attribute this system keeps on disk: the write permissions.
constexpr QFileDevice::Permissions writePermissions =
    QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup | QFileDevice::WriteOther;

QDateTime toQDateTime(txt::DateTime value)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    txt::decodeDate(value, year, month, day);
    txt::decodeTime(value, hour, minute, second, msec);
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec));
}

// A file time to whole seconds (the milliseconds are dropped, not rounded); 0 for a time the
// run time's dates cannot hold.
txt::DateTime fileTimeOf(const QDateTime& value)
{
    if (!value.isValid())
        return 0;
    const QTime t = value.time();
    try {
        return txt::fromQDateTime(QDateTime(value.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC));
    } catch (const EConvertError&) {
        return 0;
    }
}

qint32 attributesOf(const QFileInfo& info)
{
    qint32 attr = 0;
    if (!(info.permissions() & QFileDevice::WriteOwner))
        attr |= faReadOnly;
    if (info.fileName().startsWith(QLatin1Char('.')))
        attr |= faHidden;
    if (info.isDir())
        attr |= faDirectory;
    return attr;
}

TSearchRec entryOf(const QFileInfo& info)
{
    TSearchRec entry;
    entry.Name = info.fileName();
    entry.Size = info.isDir() ? 0 : info.size();
    entry.Attr = attributesOf(info);
    entry.Time = DateTimeToFileDate(fileTimeOf(info.lastModified()));
    return entry;
}

// Sets what this system keeps of the attributes (read-only); failures are ignored.
void applyAttributes(const QString& fileName, qint32 attr)
{
    if (fileName.isEmpty())
        return;
    const QString path = files::resolvePath(fileName);
    QFileDevice::Permissions permissions = QFile::permissions(path);
    if (attr & faReadOnly)
        permissions &= ~writePermissions;
    else
        permissions |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    QFile::setPermissions(path, permissions);
}

// Canonical paths of the directories being listed, outermost first: a symbolic link back into
// one of them would list without end.
QSet<QString>& directoriesBeingListed()
{
    static QSet<QString> listing;
    return listing;
}

class ListingGuard
{
public:
    explicit ListingGuard(QString canonical) : m_canonical(std::move(canonical))
    {
        m_entered = !m_canonical.isEmpty() && !directoriesBeingListed().contains(m_canonical);
        if (m_entered)
            directoriesBeingListed().insert(m_canonical);
    }
    ~ListingGuard()
    {
        if (m_entered)
            directoriesBeingListed().remove(m_canonical);
    }
    ListingGuard(const ListingGuard&) = delete;
    ListingGuard& operator=(const ListingGuard&) = delete;
    bool entered() const { return m_entered; }

private:
    QString m_canonical;
    bool m_entered = false;
};

// One listed entry as a new element (nil when DirOnly skips it); a directory lists itself here,
// before it is added.
Owned<TFileElement> elementForEntry(const QString& directory, const QFileInfo& info, bool dirOnly)
{
    const TSearchRec entry = entryOf(info);
    const QString path = directory + entry.Name;
    if (info.isDir()) {
        auto dir = Create<TDirectoryElement>();
        dir->SetDirOnly(dirOnly);
        dir->SetEntry(entry);
        dir->SetFileName(path);
        return dir;
    }
    if (dirOnly)
        return nullptr;
    auto file = Create<TFileElement>();
    file->SetEntry(entry);
    file->SetFileName(path);
    if (file->FileExt() != QLatin1String("PAS"))
        return file;
    auto unit = Create<TPascalUnitElement>();
    unit->SetFileName(path);
    return unit;
}

const char* const driveTypeTexts[] = {"UnKnown", "not found ", "FD", "HD", "REMOTE disk", "CDROM", "RAM Disk"};
static_assert(std::size(driveTypeTexts) == RAM + 1);

} // namespace

qint32 DateTimeToFileDate(txt::DateTime value)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    try {
        txt::decodeDate(value, year, month, day);
        txt::decodeTime(value, hour, minute, second, msec);
    } catch (const EConvertError&) {
        return 0;
    }
    if (year < firstFileYear || year > lastFileYear)
        return 0;
    const quint32 date = static_cast<quint32>(((year - firstFileYear) << 9) | (month << 5) | day);
    const quint32 time = static_cast<quint32>((hour << 11) | (minute << 5) | (second / 2));
    return static_cast<qint32>((date << 16) | time);
}

txt::DateTime FileDateToDateTime(qint32 fileDate)
{
    const auto packed = static_cast<quint32>(fileDate);
    const quint32 date = packed >> 16;
    const quint32 time = packed & 0xFFFF;
    txt::DateTime day = 0;
    txt::DateTime clock = 0;
    if (!txt::tryEncodeDate(static_cast<int>(date >> 9) + firstFileYear, static_cast<int>((date >> 5) & 15),
                            static_cast<int>(date & 31), day)
        || !txt::tryEncodeTime(static_cast<int>(time >> 11), static_cast<int>((time >> 5) & 63),
                               static_cast<int>(time & 31) * 2, 0, clock))
        return 0;
    return day + clock;
}

// --- TFileElement -------------------------------------------------------------------------------

TClass TFileElement::StaticClass()
{
    using F = TFileElement;
    static const TClassInfo info = describeClass<F, TOwnerEntity>("TFileElement", [](PropertyTable<F>& t) {
        t.boolean("Exists", &F::Exists, nullptr, false)
            .string("FileName", &F::FileName, &F::SetFileName)
            .string("FilePath", &F::FilePath, nullptr, false)
            .string("FileExt", &F::FileExt, &F::SetFileExt, false)
            .integer("FileSize", &F::FileSize, nullptr, false)
            .floating("FileTime", "TDateTime", &F::FileTime, &F::SetFileTime, false)
            .string("FileTimeString", &F::FileTimeString, &F::SetFileTimeString, false)
            .byte("Attributes", &F::Attributes, &F::SetAttributes, false);
        const std::pair<const char*, qint32> bits[] = {
            {"AttrReadOnly", faReadOnly}, {"AttrHidden", faHidden}, {"AttrSysFile", faSysFile},
            {"AttrArchive", faArchive},   {"AttrVolumeID", faVolumeID}, {"AttrDirectory", faDirectory},
        };
        for (const auto& [name, bit] : bits) {
            const qint32 b = bit;
            PropertyTable<F>::Set<bool> write;
            if (b != faVolumeID && b != faDirectory)
                write = [b](F& f, bool on) { f.SetAttr(b, on); };
            t.boolean(name, [b](F& f) { return f.HasAttr(b); }, write, false);
        }
        t.boolean("ReadInfo", nullptr, &F::SetReadInfo, false);
    });
    return &info;
}

bool TFileElement::Exists() const
{
    return files::fileExists(m_fileName);
}

void TFileElement::SetFileName(const QString& path)
{
    m_fileName = path;
}

QString TFileElement::FilePath() const
{
    return files::includeTrailingBackslash(files::extractFilePath(m_fileName));
}

QString TFileElement::FileExt() const
{
    return files::extractFileExt(m_fileName).mid(1);
}

void TFileElement::SetFileExt(const QString& ext)
{
    const QString dotted = ext.startsWith(QLatin1Char('.')) ? ext : QLatin1Char('.') + ext;
    SetName(files::changeFileExt(GetName(), dotted));
}

qint32 TFileElement::FileSize() const
{
    return static_cast<qint32>(std::min<qint64>(m_entry.Size, std::numeric_limits<qint32>::max()));
}

void TFileElement::SetFileTime(txt::DateTime value)
{
    m_entry.Time = DateTimeToFileDate(value);
    if (m_fileName.isEmpty())
        return;
    QFile file(files::resolvePath(m_fileName));
    if (!file.open(QIODevice::ReadWrite))
        return;
    file.setFileTime(toQDateTime(FileDateToDateTime(m_entry.Time)), QFileDevice::FileModificationTime);
}

QString TFileElement::FileTimeString() const
{
    return txt::dateTimeToStr(FileTime());
}

void TFileElement::SetFileTimeString(const QString& text)
{
    txt::DateTime value = 0;
    if (txt::tryStrToDateTime(text, value))
        SetFileTime(value);
}

void TFileElement::SetAttributes(quint8 attr)
{
    m_entry.Attr = attr;
    applyAttributes(m_fileName, m_entry.Attr);
}

void TFileElement::SetAttr(qint32 bit, bool on)
{
    SetAttributes(static_cast<quint8>(on ? (m_entry.Attr | bit) : (m_entry.Attr & ~bit)));
}

void TFileElement::SetReadInfo(bool on)
{
    if (!on || m_fileName.isEmpty())
        return;
    const QFileInfo info(files::resolvePath(m_fileName));
    if (info.exists())
        m_entry = entryOf(info);
}

QString TFileElement::GetName() const
{
    return files::extractFileName(m_fileName);
}

void TFileElement::SetName(const QString& name)
{
    if (m_fileName.isEmpty())
        return;
    const QString renamed = files::extractFilePath(m_fileName) + name;
    try {
        files::renameFile(m_fileName, renamed);
    } catch (const EInOutError&) {
        return;
    }
    m_entry.Name = name;
    m_fileName = renamed;
}

// --- TDirectoryElement --------------------------------------------------------------------------

TClass TDirectoryElement::StaticClass()
{
    using D = TDirectoryElement;
    static const TClassInfo info = describeClass<D, TFileElement>("TDirectoryElement", [](PropertyTable<D>& t) {
        t.boolean("DirOnly", &D::DirOnly, &D::SetDirOnly);
    });
    return &info;
}

void TDirectoryElement::SetFileName(const QString& path)
{
    if (GetOwnerOfClass(TDirectoryElement::StaticClass()))
        return;
    if (txt::upperLetters(path) == txt::upperLetters(m_fileName))
        return;
    m_fileName = path;
    Clear();

    const QString directory = files::includeTrailingBackslash(path);
    const QString resolved = files::resolvePath(directory);
    const ListingGuard guard(QFileInfo(resolved).canonicalFilePath());
    if (!guard.entered())
        return;
    const files::EntryKind kind = m_dirOnly ? files::EntryKind::Directories : files::EntryKind::All;
    const QDir dir(resolved);
    for (const QString& name : files::findFiles(directory + QStringLiteral("*.*"), kind)) {
        Owned<TFileElement> element = elementForEntry(directory, QFileInfo(dir.filePath(name)), m_dirOnly);
        if (element)
            Add(element.release());
    }
}

// --- drives and the computer ---------------------------------------------------------------------

TClass TLogicalDriveElement::StaticClass()
{
    using L = TLogicalDriveElement;
    static const TClassInfo info =
        describeClass<L, TDirectoryElement>("TLogicalDriveElement", [](PropertyTable<L>& t) {
            t.boolean("Active", &L::Active, &L::SetActive)
                .character("RootName", &L::RootName, &L::SetRootName)
                .enumeration("DriveType", "TDriveType",
                             {"Unknown", "DontExists", "Floppy", "HardDisk", "Network", "CDROM", "RAM"},
                             &L::DriveType, nullptr, false)
                .string("DriveTypeString", &L::DriveTypeString, nullptr, false);
        });
    return &info;
}

void TLogicalDriveElement::SetActive(bool on)
{
    if (on != m_active) {
        if (on)
            SetFileName(QString(m_rootName) + QStringLiteral(":\\"));
        else
            Clear();
    }
    m_active = on;
}

int TLogicalDriveElement::DriveType() const
{
    return txt::upperAscii(m_rootName) == QChar(systemDriveLetter) ? HardDisk : DontExists;
}

QString TLogicalDriveElement::DriveTypeString() const
{
    return QString::fromLatin1(driveTypeTexts[DriveType()]);
}

QString TLogicalDriveElement::GetName() const
{
    return TNameEntity::GetName();
}

void TLogicalDriveElement::SetName(const QString& name)
{
    TNameEntity::SetName(name);
}

TClass TLocalComputerElement::StaticClass()
{
    static const TClassInfo info = describeClass<TLocalComputerElement, TOwnerEntity>("TLocalComputerElement");
    return &info;
}

void TLocalComputerElement::AfterConstruction()
{
    TOwnerEntity::AfterConstruction();
    auto* drive = AddNew<TLogicalDriveElement>();
    drive->SetRootName(QChar(systemDriveLetter));
    drive->SetName(QString(QChar(systemDriveLetter)) + QLatin1Char(' ') + drive->DriveTypeString());
}

TClass TTextFileElement::StaticClass()
{
    static const TClassInfo info = describeClass<TTextFileElement, TFileElement>("TTextFileElement");
    return &info;
}

// --- Pascal units -------------------------------------------------------------------------------

TClass TPascalUnitElement::StaticClass()
{
    using P = TPascalUnitElement;
    static const TClassInfo info =
        describeClass<P, TFileElement>("TPascalUnitElement", [](PropertyTable<P>& t) {
            const auto key = [](const char* name) { return [name](P& p) { return p.DescriptionKey(name); }; };
            const auto ignore = [](P&, const QString&) {};
            t.string("Description", key("Description"), ignore)
                .string("Version", key("Version"), ignore)
                .string("Admin", key("Admin"), ignore, false)
                .string("TechTopic", key("TechTopic"), ignore, false)
                .string("Topic", key("Topic"), ignore, false);
        });
    return &info;
}

QString TPascalUnitElement::DescriptionKey(const QString& key) const
{
    if (m_fileName.isEmpty())
        return QString();
    return IniFile(m_fileName).readString(QStringLiteral("Unit_Description"), key, QString());
}

TClass TPascalUnits::StaticClass()
{
    using P = TPascalUnits;
    static const TClassInfo info = describeClass<P, TOwnerEntity>("TPascalUnits", [](PropertyTable<P>& t) {
        t.object<TOwnerEntity>("Admins", &P::Admins, nullptr)
            .object<TOwnerEntity>("TechTopics", &P::TechTopics, nullptr)
            .object<TOwnerEntity>("Topics", &P::Topics, nullptr)
            .object<TOwnerEntity>("Units", &P::Units, nullptr)
            .object<TElement>("NextUnit", nullptr, [](P&, TElement*) {});
    });
    return &info;
}

TOwnerEntity* TPascalUnits::group(const QString& name)
{
    return dynamic_cast<TOwnerEntity*>(GetOrCreateChildOfClass(this, TOwnerEntity::StaticClass(), name));
}

// --- file-name holders --------------------------------------------------------------------------

TClass TFileModel::StaticClass()
{
    using M = TFileModel;
    static const TClassInfo info = describeClass<M, TOwnerEntity>("TFileModel", [](PropertyTable<M>& t) {
        t.string("FileName", &M::GetFileName, &M::SetFileName).string("Path", &M::GetPath, &M::SetPath);
    });
    return &info;
}

QString TFileModel::GetPath() const
{
    return files::extractFilePath(GetFileName());
}

void TFileModel::SetPath(const QString& path)
{
    SetFileName(files::includeTrailingBackslash(path) + files::extractFileName(GetFileName()));
}

TClass TFilePathModel::StaticClass()
{
    using M = TFilePathModel;
    static const TClassInfo info = describeClass<M, TFileModel>("TFilePathModel", [](PropertyTable<M>& t) {
        t.string("Path1", &M::Path1, &M::SetPath1);
    });
    return &info;
}

TClass TFileBasedEntity::StaticClass()
{
    using B = TFileBasedEntity;
    static const TClassInfo info = describeClass<B, TOwnerEntity>("TFileBasedEntity", [](PropertyTable<B>& t) {
        t.integer("Error", &B::Error, &B::SetError).string("FileName", &B::GetFileName, &B::SetFileName);
    });
    return &info;
}

void TFileBasedEntity::SetFileName(const QString& name)
{
    m_fileName = name;
    if (name.isEmpty()) {
        m_error = feNoName;
        return;
    }
    if (!files::fileExists(name)) {
        m_error = feNotFound;
        return;
    }
    try {
        ReadFile(name);
        m_error = feNone;
    } catch (const std::exception&) {
        m_error = feReadFailed;
    }
}

void TFileBasedEntity::ReadFile(const QString&) {}

void TFileBasedEntity::WriteFile(const QString&) {}

void RegisterE_filesUnit()
{
    RegisterUnitClasses({TFileElement::StaticClass(), TDirectoryElement::StaticClass(),
                        TLogicalDriveElement::StaticClass(), TLocalComputerElement::StaticClass(),
                        TTextFileElement::StaticClass(), TFileModel::StaticClass(), TFilePathModel::StaticClass(),
                        TFileBasedEntity::StaticClass()});
}
