// Species lookups: typed abbreviations normalised, table positions, growth groups, official codes.
#pragma once

#include <QChar>
#include <QString>

// Position answered for an abbreviation or code that no species has.
constexpr int noSpeciesIndex = 83;

// Letters a..z become A..Z; every other character (accented letters included) stays.
void UpCaseAscii(QChar& c);
// Blanks removed, ASCII letters upper-cased, at most 3 characters, a two-character result padded
// with a blank. A result of 0 or 1 characters shows "Chybné zadání dřeviny" and is stored anyway.
void NormalizeSpeciesAbbreviation(QString& abbreviation);
// Position 1..82 of the species of the normalised abbreviation (its first three characters);
// 83 when none. The caller's text is not changed.
int SpeciesIndex(const QString& abbreviation);
// Growth group of the species of the normalised abbreviation; 14 when none.
int SpeciesGroupOfAbbreviation(const QString& abbreviation);
// Official species code of a position 1..82; 0 for any other position.
int SpeciesCodeOfIndex(int position);
// Smallest position 0..82 whose code is `code` (position 0 has the code 0); 83 when none.
int SpeciesIndexOfCode(int code);
// The abbreviation of the species of a code; three blanks when the code has none (0 included).
void SpeciesCodeToAbbreviation(int code, QString& abbreviation);
