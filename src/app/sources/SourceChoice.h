// Which kind of forest-unit data a chosen directory holds, and what the choice writes to vkm.ini.
#pragma once

#include <QString>

#include <optional>

namespace app {

// Answers of the directory dialog besides a directory.
inline constexpr char aliasAnswer[] = "ALIAS";
inline constexpr char cancelledAnswer[] = "NicSeNavybralo";

// The outcome of looking at a chosen directory.
struct DetectedSource {
    quint8 kind = 7;
    QString directory;               // the answer trimmed, without one trailing "\"
    std::optional<qint32> lhcKod;    // the unit's number where the files name it
    bool isStandardDirectory = false;   // interchange files: the directory is the standard one
};

// The dialog's answer trimmed at both ends, less one trailing "\" or "/".
QString normaliseChosenDirectory(const QString& answer);
// Tests the directory in this order, a later match overriding an earlier one: "ALIAS" (5),
// old record files *.*V (0; several unit numbers are reported), PP.FST (4 when JP.FST has a
// column POR, else 3), OST_POZ.DB (2 when LHC.DB has the field LHC_PN_PRO, else 1).
// A cancelled dialog matches nothing (7).
DetectedSource detectSourceKind(const QString& answer);
// Whether the interchange data file names the column in its header (letter case ignored).
bool interchangeFileHasColumn(const QString& path, const QString& column);

// The writes of a choice to vkm.ini in the program directory, section DATABASE: for the
// Paradox kinds DATA := "PATH=" + directory (and MANAGER := "NE" when asked); for every
// kind but 7 and the SQL alias (5) DATA_OBECNE := directory.
void storeChoice(const QString& vkmIniPath, const DetectedSource& detected, bool writeManager);

} // namespace app
