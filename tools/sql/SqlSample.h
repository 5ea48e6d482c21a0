// The sample SQL database of forest units: unit 1 as the version-97 sample loads, unit 2 made here.
#pragma once

#include "app/sources/sql/SqlLoader.h"

#include <QString>

class TLesniCelek;
class TOddeleni;

namespace app {
class Source;
}
namespace db {
class Database;
}

namespace sqlsample {

// Writes one loaded compartment with everything below it as rows of the unit `key`.
void writeCompartment(TOddeleni& compartment, db::Database& database, sqlsrc::UnitKey key);
// Writes the unit's header and every compartment the source yields (the source restarted).
void writeUnitFromSource(app::Source& source, TLesniCelek& unit, db::Database& database, sqlsrc::UnitKey key);
// A small unit with a compartment number under two ODD_IDs and apostrophes in keys and texts.
void writeSecondUnit(db::Database& database, sqlsrc::UnitKey key);
// LHP.sqlite beside the program in `programDir` (replaced): the version-97 sample unit
// `vexDataDir` under its own LHC_KOD (answered) and ID 0, and unit 2.
sqlsrc::UnitKey writeSqlSample(const QString& vexDataDir, const QString& programDir);

} // namespace sqlsample
