// Fills the forest model from old 160-character LHP records.
#pragma once

#include <QString>

class TLHC;
class TOddeleni;
class TUnivStareLHP;

// The header from the current record: LHC_KOD from D2..D5, a name, today as LHP_OD,
// PUVOD_DAT "LHP 160"; then LHP_OD, LHP_DO and LHC_NAZ from the row of SEZLHC00.DB in
// programDir/ciselnik whose key is that code. Without such a row (or without the table,
// reported) the header keeps the record's values.
void LoadLhcHeaderFromCodebook(TLHC* header, TUnivStareLHP& reader, const QString& programDir);

// Loads the compartment of the current record into `compartment` (already named and numbered
// by the caller): every following record of the same compartment number, until another number
// or the end. Stands are formed per owner within a sub-compartment (letters a, b, ...), each
// stand group has one storey of its designation, a record is a species row (storey with an age)
// or an afforestation row. The reader is left on the first record not consumed.
//
// Every record is consumed exactly once, whatever fails: a record whose level cannot be built is
// reported and skipped; a sub-compartment letter that comes back after others gives
// "nelze přidat stejný dílec" once and its run of records is skipped; a stand group repeated
// within a stand is reported and its record skipped; a group area of 0 gives DR_ZAS_HA 0.
void LoadCompartmentFromLhp(TOddeleni* compartment, TUnivStareLHP& reader);
