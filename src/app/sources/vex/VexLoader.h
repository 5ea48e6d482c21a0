// Loading the forest model from the sibling inventory database, versions 97 and 98.
#pragma once

#include "framework/core/Properties.h"

class TLHC;
class TOddeleni;
class tciselnik;

namespace vex {

class TOvr;

// The unit header from the current row of LHC.DB (version 97: a failure to read ETAT_TO or
// ETAT_TV gives -1 to both; version 98 reads the further header columns, the licence columns
// and MVYCH_DO40 only when present).
void LoadLhcHeader97(TLHC& lhc, TOvr& ovr);
void LoadLhcHeader98(TLHC& lhc, TOvr& ovr);
// Points the codebook container at the module's tables (version 97: all but the haulage
// codebook). A table the module could not open is handed over as nil.
void AssignOvrTables(tciselnik& codebooks, TOvr& ovr);

// Builds one compartment with everything below it from the current row of ODDELENI.DB; the
// compartment is stored in `result` at once, so the caller holds what was built when an error of
// the tables (naming the table) ends the load. Failed rows of the lower levels are reported with
// the level's text and the item's designation; repeated designations are reported and skipped.
// Version 97 hangs the compartment's other land and other areas under its first stand and does
// not move ODDELENI.DB; version 98 reads them per stand and leaves ODDELENI.DB on the next row.
void NactiOddeleni_db(Owned<TOddeleni>& result, TOvr& ovr);

// Forgets the fields the loaders looked up (the module calls it when its tables open or close).
void forgetColumns();

} // namespace vex
