// The entries of the template box.
#include "reports/preview/TemplateList.h"

#include "platform/files/Files.h"
#include "reports/model/TemplateFields.h"
#include "reports/model/TemplateFile.h"

#include <QFile>

namespace reports {

namespace {

// Only this much of a file is read for its description: a list of many large templates
// still opens at once.
constexpr qint64 descriptionBytes = 64 * 1024;
// Longest file name an entry keeps.
constexpr int maxEntryName = 128;

} // namespace

QString TemplateDescription(const QString& path)
{
    QFile file(files::resolvePath(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList lines = TemplateLinesFromBytes(file.read(descriptionBytes));
    for (QString line : lines) {
        if (!line.startsWith(u'I')) continue;
        ReadCsvField(line);
        if (ReadCsvInt(line, -1) != 0) continue;
        return ReadCsvField(line);
    }
    return {};
}

void TemplateList::setReportMask(const QString& mask)
{
    m_mask = mask == QLatin1String("*") ? QStringLiteral("*.pts") : files::changeFileExt(mask, u".pts");
}

void TemplateList::setReportDir(const QString& dir)
{
    m_dir = dir.isEmpty() ? dir : files::includeTrailingBackslash(dir);
}

QString TemplateList::searchPath() const
{
    const QString dir = reportDirIgnore ? files::includeTrailingBackslash(files::programDirectory()) : m_dir;
    return dir + m_mask;
}

void TemplateList::rebuild()
{
    m_entries.clear();
    if (OnNactiSeznam) {
        OnNactiSeznam(*this);
        return;
    }
    const QString path = searchPath();
    const QString scanned = files::extractFilePath(path);
    const QString maskDir = files::extractFilePath(m_mask);
    for (const QString& found : files::findFiles(path)) {
        QString description = TemplateDescription(scanned + found);
        if (description.isEmpty()) description = found;
        m_entries.push_back({(maskDir + found).toLower().left(maxEntryName), description});
    }
}

int TemplateList::find(const QString& name) const
{
    const QString wanted = name.toLower();
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].fileName == wanted) return int(i);
    return -1;
}

} // namespace reports
