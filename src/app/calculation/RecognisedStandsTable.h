// The table of recognised stands (TGENKL.DB): its 31 fields and the rule that makes a row of a species.
#pragma once

#include <QString>

namespace db {
class Table;
}

namespace app {

// File name of the result table in the tables directory.
inline constexpr char recognisedStandsFile[] = "TGENKL.DB";

// What one species row takes from the forest model: the header, the compartment and the
// current sub-compartment, stand, stand group, storey and species, as their accessors answer.
struct SpeciesRowInput {
    qint32 lhcKod = 0;
    QString lhcNaz;
    QString lhpTax;
    QString lhpZTax;
    qint32 odd = 0;
    QString dil;
    QString por;
    QString majNaz;
    QString lesObl;
    QString lesOblNazev;
    QString psk;
    double pskP = 0.0;
    qint32 lesUrad = 0;
    QString lesUradNazev;
    QString lt;
    QString etaz;
    double etazPp = 0.0;
    qint32 vek = 0;
    qint32 hs = 0;
    qint32 mTezProc = 0;
    qint32 obmyti = 0;
    qint32 obnDoba = 0;
    QString genKlas;
    QString drZkr;
    qint32 zast = 0;
    qint32 drZasCel = 0;
    qint32 drTo = 0;
};

// Only the genetic classes "A" and "B" (exactly, letter case counts) make a row.
bool isRecognisedClass(const QString& genKlas);
// The text after the first "-", or the whole text without one (not trimmed).
QString textAfterFirstDash(const QString& name);
// ODD + DIL + POR + PSK with every blank removed (12, "A", "1", " 1a" give "12A11a").
QString novyKod(qint32 odd, const QString& dil, const QString& por, const QString& psk);
// The forest vegetation zone: the first character of the forest type as a digit, else 0.
qint32 lvsFromForestType(const QString& lt);
// True when the thinning fits the model share: DR_TO <= DR_ZAS_CEL * M_TEZ_PROC / 100,
// compared exactly in integers.
bool isModelThinning(qint32 drTo, qint32 drZasCel, qint32 mTezProc);
// Area of the species: its share (per cent) of the storey's area, unrounded.
double speciesArea(qint32 zast, double etazPp);

// Closes the table when open, deletes TGENKL.DB in tablesDir and creates it anew, empty, with
// the 31 fields; the table is left closed, set on that file.
void recreateRecognisedStandsTable(db::Table& table, const QString& tablesDir);
// Appends and posts the row of one species; nothing when its class is not recognised.
// Answers whether a row was written.
bool writeSpeciesRow(db::Table& table, const SpeciesRowInput& in);

} // namespace app
