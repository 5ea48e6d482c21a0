// Loading the forest model from the SQL database of forest units, level by level.
#pragma once

#include "framework/core/Properties.h"
#include "platform/db/sql/Query.h"

#include <QString>

#include <memory>

class TLHC;
class TOddeleni;

namespace sqlsrc {

// The key of a forest unit.
struct UnitKey {
    qint32 kod = 0;
    qint32 id = 0;
    friend bool operator==(const UnitKey&, const UnitKey&) = default;
};

// How the levels below the stands are read.
enum class ChildReading {
    // Each level once per compartment, ordered by its index columns and then by the row's place
    // in the table, its rows then handed to their parents: the rows, in the order, that the
    // per-parent query of each parent gives when the database answers it through the index.
    PerCompartment,
    // One query per parent and level (what the other way must equal; kept for the tests).
    PerParent
};

struct LoaderState;

// The queries the loader reads through, all on one database. The statement of each level is set
// once with bound parameters and only re-bound, so the database prepares it once.
class LoaderQueries
{
public:
    explicit LoaderQueries(const QString& databaseName, ChildReading reading = ChildReading::PerCompartment);
    ~LoaderQueries();
    LoaderQueries(const LoaderQueries&) = delete;
    LoaderQueries& operator=(const LoaderQueries&) = delete;

    ChildReading reading() const { return m_reading; }

    db::Query header;      // LHC of one unit
    db::Query stands;      // POROST of the whole unit, ordered so that a compartment's rows follow each other
    db::Query groups;
    db::Query categories;
    db::Query bareLand;
    db::Query otherLand;
    db::Query storeys;
    db::Query species;
    db::Query afforestation;
    db::Query damage;
    db::Query compartmentNumbers;

    // What the loader keeps of its open queries: fields found by name, the compartment the level
    // queries hold and where each parent's rows lie in them.
    std::unique_ptr<LoaderState> state;

private:
    ChildReading m_reading;
};

// Reads the unit's row of LHC into the header; false (header untouched) when the unit has none.
bool LoadLhcHeaderFromSql(TLHC& lhc, LoaderQueries& queries, UnitKey key);

// The unit's compartment numbers, each padded on the left with blanks to 3, once each.
QStringList LoadCompartmentNumbersFromSql(LoaderQueries& queries, UnitKey key);

// Opens the unit's stands (ordered by ODD, ODD_ID, DIL, POR) on its first row.
void OpenStandsFromSql(LoaderQueries& queries, UnitKey key);

// Builds the compartment of the current stand row: every following row of the same ODD and
// ODD_ID with all its levels. Leaves the stand query on the first row of the next compartment.
// The compartment is stored in `result` at once, so the caller holds what was built when an
// error of the database ends the load. Child rows are found by the parent row's key columns as
// stored (not as the model normalises them); a repeated key loads into the existing element.
void LoadCompartmentFromSql(Owned<TOddeleni>& result, LoaderQueries& queries, UnitKey key);

} // namespace sqlsrc
