// Files of one Paradox table: case-insensitive companions and index files.
#include "platform/db/paradox/TableFiles.h"

#include "platform/files/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

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

} // namespace db::paradox
