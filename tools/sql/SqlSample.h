// The sample SQL database of forest units: unit 1 as the version-97 sample loads, unit 2 made here.
#pragma once

#include "app/sources/sql/SqlLoader.h"

#include <QString>

#include <functional>

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
// Called after each step of the writer with the step's name ("locked", "schema", "unit 1",
// "unit 2", "commit", "closed"); tests raise from it.
using SampleStep = std::function<void(const QString& step)>;

// LHP.sqlite beside the program in `programDir`: the version-97 sample unit `vexDataDir` under
// its own LHC_KOD (answered) and ID 0, and unit 2. Written into a temporary file that replaces
// the old database only once complete; on any failure the old one stays as it was. The old one
// is locked from the start: while another connection has it open it is refused, and nobody
// writes it meanwhile; a database that another writer creates meanwhile is left alone (raises).
sqlsrc::UnitKey writeSqlSample(const QString& vexDataDir, const QString& programDir, const SampleStep& afterStep = {});

} // namespace sqlsample
