// The merge pass over a loaded compartment: stand groups listed together in a P0110.DBF table.
#pragma once

#include <QString>

class TDilec;
class TOddeleni;
class TPorostniSkupina;

// For each sub-compartment of the compartment, the table's rows of that compartment
// (ODDELENI) and sub-compartment (POROST), ordered by SKUPINA, each merged by its Skupina text.
// A table that cannot be read is reported ("Nelze číst tabulku ...") and merges nothing.
void LoadStandGroupsFromDbf(const QString& fileName, TOddeleni* compartment);

// The text "1/2/3" merges, in the first stand that has group 1, the storeys of its groups 2 and 3
// into group 1 (those groups are freed), renames it after its storeys and recomputes its areas.
void MergeStandGroups(TDilec* dil, const QString& text);

// PSK_P := the storeys' ETAZ_PP summed; each storey's ZAKM scaled by its area share (halves to
// even) and ETAZ_PS := PSK_P; PSK_P0 and PSK_V := PSK_P. A group of area 0 keeps ZAKM.
void RecomputeGroupAreas(TPorostniSkupina* group);
