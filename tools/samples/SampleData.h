// Sample data of the sibling inventory database: codebooks, PHS tables and generated forest units.
#pragma once

#include "app/sources/vex/VexSchema.h"
#include "platform/db/Field.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>

namespace samples {

// A readable table source: windows-1250 text, fields separated by ";", the first line the field
// list ("KOD S;POPIS A30", types as in vex::parseFields).
struct CsvTable {
    db::FieldDefs defs;
    QList<QStringList> rows;
};
// Raises Exception when the file cannot be read or a row has more values than fields.
CsvTable readCsv(const QString& path);

// Writes a new Paradox table (replacing the file) with the given rows, values in field order.
void writeTable(const QString& path, const db::FieldDefs& defs, const QList<QVariantList>& rows);
// The same from text values (empty text is NULL).
void writeTextTable(const QString& path, const CsvTable& table);

// A small generator of its own, so that the units are the same on every platform and library.
class Random
{
public:
    explicit Random(quint32 seed) : m_state(seed * 2654435761u + 1u) {}
    quint32 next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int below(int n) { return int(next() % quint32(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int oneIn) { return below(oneIn) == 0; }

private:
    quint32 m_state;
};

// Species offered by a stand, by site: conifers of the higher sites, broadleaves of the lower.
inline constexpr std::array<const char*, 12> kSpecies = {"SM", "BK", "JD", "BO", "MD", "DB",
                                                         "BR", "JV", "DBS", "KL", "JS", "DG"};
// Management sets and forest-site groups of the generated stand groups.
inline constexpr std::array<int, 4> kHs = {25, 45, 55, 57};
inline constexpr std::array<const char*, 5> kSlt = {"3B", "4S", "5K", "5S", "6N"};

// What a generated unit holds.
struct UnitOptions {
    vex::Version version = vex::Version::V97;
    int compartments = 30;
    int groupsPerStand = 2;     // at most; the generator varies the count
    int speciesPerStorey = 4;   // at most
    quint32 seed = 1;
    int lhcRow = 0;             // row of data/units/lhc.csv for the header
};

// The codebooks of "ciselnik" under programDir from sourceDir/ciselnik (also under the names the
// codebook container uses where they differ).
void writeCodebooks(const QString& sourceDir, const QString& programDir);
// One unit in the sibling program's layout: unitDir/DATA (stand tables, ID.DB) and unitDir/PHS.
void writeUnit(const QString& sourceDir, const QString& unitDir, const UnitOptions& options);
// A generated installation for benchmarks: the codebooks, one unit under programDir/lhc and a
// vkm.ini whose DATA points at it. Answers the unit's DATA directory.
QString writeGeneratedInstallation(const QString& sourceDir, const QString& programDir, const UnitOptions& options);
// Everything beside the program: codebooks, the units vzorky/vex97 and vzorky/vex98 and vkm.ini
// pointing at the version-97 unit.
void writeSampleInstallation(const QString& sourceDir, const QString& programDir);

} // namespace samples
