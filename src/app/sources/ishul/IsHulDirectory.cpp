// The user's choice of the directory of the interchange files, remembered in vkm.ini.
#include "app/sources/ishul/IsHulDirectory.h"

#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"

namespace ishul {

QString FindIsHulDirectory(const QString& programDir, const DirectoryChooser& chooser)
{
    const QString cancelled = QStringLiteral("NicSeNavybralo");
    IniFile vkm(programDir + QStringLiteral("/vkm.ini"));
    const QString root = QStringLiteral("C:\\");
    QString start = vkm.readString(QStringLiteral("DATABASE"), QStringLiteral("IS_HUL"), root);
    if (!files::directoryExists(files::resolvePath(start)))
        start = root;
    if (!chooser)
        return cancelled;
    const QString chosen = chooser(start, QStringLiteral("Vyhledej adresář IS HÚL ."), QStringLiteral("*.FST"), false);
    if (chosen.isEmpty() || chosen == cancelled)
        return cancelled;
    vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("IS_HUL"), chosen);
    return chosen;
}

} // namespace ishul
