// The user's choice of the directory of the interchange files, remembered in vkm.ini.
#pragma once

#include "app/sources/LesniCelek.h"

#include <QString>

namespace ishul {

// The text a forest unit's standard directory holds when the user is to choose it.
inline const QString chooseYourselfDirectory = QStringLiteral("Vyber si sam.");

// Asks for the directory of the interchange files, starting at IS_HUL of section DATABASE of
// programDir/vkm.ini ("C:\" when missing or no longer there). A confirmed choice is written back
// to IS_HUL and answered; a cancelled one answers "NicSeNavybralo" and changes nothing.
QString FindIsHulDirectory(const QString& programDir, const DirectoryChooser& chooser);

} // namespace ishul
