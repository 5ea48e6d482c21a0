// Sample data of the sibling inventory database: codebooks, PHS tables and generated forest units.
#pragma once

#include "app/sources/vex/VexSchema.h"
#include "platform/db/Field.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

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
// Everything beside the program: codebooks, the units vzorky/vex97 and vzorky/vex98 and vkm.ini
// pointing at the version-97 unit.
void writeSampleInstallation(const QString& sourceDir, const QString& programDir);

} // namespace samples
