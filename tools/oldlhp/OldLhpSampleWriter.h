// A sample unit of old 160-character LHP records, generated so that the format holds it whole.
#pragma once

#include <QList>
#include <QString>

namespace samples {

struct UnitOptions;

// One species row of an old-record unit: the values its record carries.
struct OldLhpRow {
    int odd = 0;
    char dil = 'a';
    char stand = 'a';     // the stand the loader makes of the owner's records
    int ownerKind = 0;    // MAJ_DRUH, one digit
    int owner = 0;        // MAJ_KOD, below 100 000
    QString group;        // stand-group and storey designation (digits)
    int groupArea = 0;    // hundredths of a hectare
    int age = 0;
    int stocking = 0;     // ZAKM
    int hs = 0;           // management set
    QString lt;           // forest type
    QString species;      // abbreviation
    int share = 0;        // ZAST, per cent
    int area = 0;         // species area, hundredths of a hectare
    int height = 0;
    int diameter = 0;
    int siteClass = 0;    // absolute site class, 14 to 36
    int volume = 0;       // DR_ZAS_CEL, m3
    int thinning = 0;     // DR_TO, m3
};

// A unit of old records: the forest unit's code and name and the rows in file order.
struct OldLhpUnit {
    qint32 lhcKod = 0;
    QString name;
    QList<OldLhpRow> rows;
};

// A unit that the 160-character format holds whole: within a sub-compartment each stand has an
// owner of its own (the loader makes one stand per owner, lettered a, b, ... in order), stand
// groups are numbered on through the sub-compartment (so groups of two stands never run
// together), each group has one aged storey of its own designation, and every value fits its
// columns. The header comes from row options.lhcRow of data/units/lhc.csv under sourceDir; the
// counts and the seed from the options.
OldLhpUnit generateOldLhpUnit(const QString& sourceDir, const UnitOptions& options);

// Writes one record per row into <LHC_KOD>.01V and <LHC_KOD>.03V (no file 02; the compartment at
// the split runs across both), each with its stand-text file of one record per sub-compartment
// run. Raises EFileError when a file cannot be written.
void writeOldLhpUnit(const OldLhpUnit& unit, const QString& outDir);

// The sample unit of vzorky/lhp160: 30 compartments under the first header of data/units/lhc.csv.
OldLhpUnit oldLhpSampleUnit(const QString& sourceDir);
void writeOldLhpSamples(const QString& sourceDir, const QString& programDir);

} // namespace samples
