// Files of one Paradox table: case-insensitive companions, index files, identity and save lock.
#include "platform/db/paradox/TableFiles.h"

#include "platform/Exceptions.h"
#include "platform/files/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace db::paradox {

namespace {

QStringList entriesOf(const QString& dir)
{
    return QDir(dir.isEmpty() ? QStringLiteral(".") : dir)
        .entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

QString companionFile(const QString& dbPath, const QString& ext)
{
    const QFileInfo info(dbPath);
    const QString path = files::resolvePath(QDir(info.path()).filePath(info.completeBaseName() + QLatin1Char('.') + ext));
    return files::fileExists(path) ? path : QString();
}

QStringList indexFiles(const QString& dbPath)
{
    static const QRegularExpression indexExt(QStringLiteral("^(PX|[XY][0-9A-F]{2}|[XY]G[0-9A-F])$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QFileInfo info(dbPath);
    const QString base = info.completeBaseName();
    const QDir dir(info.path());
    QStringList found;
    for (const QString& entry : entriesOf(info.path())) {
        const qsizetype dot = entry.lastIndexOf(u'.');
        if (dot < 0 || entry.left(dot).compare(base, Qt::CaseInsensitive) != 0)
            continue;
        if (indexExt.match(entry.mid(dot + 1)).hasMatch())
            found.append(dir.filePath(entry));
    }
    return found;
}

bool hasIndexFiles(const QString& dbPath)
{
    return !indexFiles(dbPath).isEmpty();
}

FileStamp stampOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return FileStamp();
    return FileStamp{quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
                     qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

QString TableLock::pathFor(const QString& dbPath)
{
    // Every path of one table (links, relative spellings) meets at one lock file.
    const QFileInfo info(dbPath);
    const QFileInfo table(info.exists() ? info.canonicalFilePath() : info.absoluteFilePath());
    return table.dir().filePath(QStringLiteral(".%1.~lock").arg(table.fileName()));
}

TableLock::TableLock(const QString& dbPath) : m_path(pathFor(dbPath))
{
    const QByteArray name = QFile::encodeName(m_path);
    const auto refuse = [&](const QString& reason) {
        throw EDatabaseError(QStringLiteral("Tabulku \"%1\" nelze zapsat: %2").arg(QFileInfo(dbPath).fileName(), reason));
    };
    // Each round either locks the file the name leads to, or finds that a holder removed it
    // meanwhile; a few rounds suffice unless other copies keep saving.
    for (int round = 0; round < 16; ++round) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            refuse(QStringLiteral("nelze vytvořit zámek %1: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(errno))));
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
            const int error = errno;
            if (error == EAGAIN || error == EACCES) {
                ::close(fd);
                refuse(QStringLiteral("právě ji ukládá jiný program"));
            }
            // No fcntl locks here (some network file systems): save unlocked.
            ::close(fd);
            ::unlink(name.constData());
            return;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(name.constData(), &named) == 0 && held.st_dev == named.st_dev
            && held.st_ino == named.st_ino) {
            m_fd = fd;
            return;
        }
        ::close(fd);
    }
    refuse(QStringLiteral("právě ji ukládá jiný program"));
}

TableLock::~TableLock()
{
    if (m_fd < 0)
        return;
    ::unlink(QFile::encodeName(m_path).constData());   // while still locked, see the class comment
    ::close(m_fd);
}

} // namespace db::paradox
