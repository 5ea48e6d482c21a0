// Copies a whole interchange file into a forest set: codebooks and owners.
#pragma once

#include <QString>

class FaultLog;
class TLesniMnozina;

// One new element of the set per record, keyed by the record number ("1", "2", ...); every
// column whose name is a published property of the element is stored into it, without
// diacritics. Other columns are skipped silently. A missing file leaves the set unchanged.
// With a log the file's faults are counted in its tally there (shown once per file and fault).
// The codebook reader's file (Cis_051.FST ...):
void LoadFstCodebookIntoSet(const QString& fileName, TLesniMnozina* target, FaultLog* log = nullptr);
// A data file (Maj.FST); the property looked for is the column name followed by "_C".
void LoadFstDataIntoSet(const QString& fileName, TLesniMnozina* target, FaultLog* log = nullptr);
