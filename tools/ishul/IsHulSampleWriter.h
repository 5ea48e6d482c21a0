// Sample IS HÚL interchange units written from the stands of a loaded forest unit.
#pragma once

#include <QString>

class TLesniCelek;

namespace samples {

// Walks every compartment of the unit (through its source) and writes the interchange files of
// variant 97 (PP.FST, BZL.FST, JP.FST) or 98 (also LHC.FST and, from sourceDir/ishul, the
// codebooks Cis_051.FST..Cis_055.FST and Maj.FST) into outDir. The felling percentage column
// M_TEZ_PROC is left empty, so the importing side computes it as the Paradox side does.
void writeIsHulUnit(TLesniCelek& unit, const QString& sourceDir, const QString& outDir, bool v98);

// The IS HÚL 97 and 98 units vzorky/ishul97 and vzorky/ishul98 from the version-97 sample unit.
void writeIsHulSamples(const QString& sourceDir, const QString& programDir);

} // namespace samples
