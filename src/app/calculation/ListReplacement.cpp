// A new list of recognised stands built beside the old one and put in its place only when complete.
#include "app/calculation/ListReplacement.h"

#include "app/calculation/RecognisedStandsTable.h"
#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/db/paradox/TableFiles.h"
#include "platform/files/FileOps.h"
#include "platform/files/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace app {

ListReplacement::ListReplacement(const QString& tablesDir)
    : m_newDir(tablesDir + QStringLiteral(".TGENKL.~run")),
      m_listPath(files::resolvePath(tablesDir + QLatin1String(recognisedStandsFile))),
      m_newPath(m_newDir + QLatin1Char('/') + QLatin1String(recognisedStandsFile))
{
}

ListReplacement::~ListReplacement()
{
    if (!m_isPlaced)
        discard();
}

void ListReplacement::checkOldListFree() const
{
    const QString shown = QDir::toNativeSeparators(m_listPath);
    if (db::Table::isOpenInProcess(m_listPath))
        throw EDatabaseError(QStringLiteral("Tabulka je otevřena. Soubor: %1").arg(shown));
    if (db::paradox::hasIndexFiles(m_listPath))
        throw EDatabaseError(
            QStringLiteral("Tabulka má indexové soubory jiného programu a nelze ji měnit. Soubor: %1").arg(shown));
}

void ListReplacement::create(db::Table& table)
{
    checkOldListFree();
    QDir(m_newDir).removeRecursively();   // left by a run that never ended
    if (!QDir().mkpath(m_newDir))
        throw EFileError(QStringLiteral("Nelze vytvořit adresář %1.").arg(QDir::toNativeSeparators(m_newDir)));
    m_table = &table;
    recreateRecognisedStandsTable(table, m_newDir + QLatin1Char('/'));
}

void ListReplacement::putInPlace()
{
    // Again: the run let events through, and the list window may have opened the old list.
    checkOldListFree();
    const db::paradox::TableLock lock(m_listPath);
    const QString oldBlobs = db::paradox::companionFile(m_listPath, QStringLiteral("MB"));
    if (QFileInfo::exists(m_listPath))   // the new list keeps the old one's permissions
        QFile::setPermissions(m_newPath, QFileInfo(m_listPath).permissions());
    files::fileOps().replace(m_newPath, m_listPath);
    m_isPlaced = true;
    if (!oldBlobs.isEmpty())
        QFile::remove(oldBlobs);   // the new list addresses nothing in it; one left only takes space
    QDir(m_newDir).removeRecursively();
}

void ListReplacement::discard() noexcept
{
    try {
        if (m_table && m_table->Active())
            m_table->CloseDiscarding();
    } catch (...) {
        // Another holder of the new rows could not write them; the files go all the same.
    }
    QDir(m_newDir).removeRecursively();
}

} // namespace app
