// A sample unit of old 160-character LHP records written from the stands of a loaded unit.
#pragma once

#include <QString>

class TLesniCelek;

namespace samples {

// Walks every compartment of the unit and writes one record per species of each storey (a
// stand group and its storey share the group's designation, as the old format has it) into
// <LHC_KOD>.01V and <LHC_KOD>.03V (no file 02; the compartment at the split runs across both),
// each with its stand-text file. Values the old format lacks are not written.
void writeOldLhpUnit(TLesniCelek& unit, const QString& outDir);

// The unit vzorky/lhp160 from the version-97 sample unit.
void writeOldLhpSamples(const QString& programDir);

} // namespace samples
