// The values of one species row read from the forest model, and the reported write of that row.
#pragma once

#include "app/calculation/RecognisedStandsTable.h"

class TLHC;
class TOddeleni;
class TDilec;
class TPorost;
class TPorostniSkupina;
class TEtaz;
class TDrevina;

namespace app {

// One species with the elements above it, as the walk of a compartment reaches it.
struct SpeciesLevels {
    TLHC& header;
    TOddeleni& compartment;
    TDilec& dilec;
    TPorost& porost;
    TPorostniSkupina& group;
    TEtaz& etaz;
    TDrevina& drevina;
};

// The row's values as the elements' accessors answer them; the unit's code and name are the
// ones taken when the run started.
SpeciesRowInput speciesRowInput(const SpeciesLevels& levels, qint32 lhcKod, const QString& lhcNaz);
// Writes the row of the species (when its class is recognised). A failure of this row is
// reported with the species' designation, the row is dropped and false answered; the caller
// goes on with the next species.
bool writeSpeciesRowReported(db::Table& table, const SpeciesLevels& levels, qint32 lhcKod, const QString& lhcNaz);

} // namespace app
