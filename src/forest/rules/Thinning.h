// The thinning table and the thinning percentage of one species of a storey.
#pragma once

#include <QChar>
#include <QString>

// Percentage of the thinning table at thinning class 1..5, stocking 7..10 (ZAKM in tenths) and
// age decade 1..9. A decade above 9 reads 9; a stocking below 7 gives 0; any other value out of
// range raises ERangeError.
int ThinningTableValue(int thinningClass, int stocking, int decade);

// Thinning percentage 0..100 (or 99 for a species without a thinning table) of a species:
// the table kind from its growth group, the storey's stocking ZAKM and age VEK interpolated
// between age decades, then adjusted by species for a minor share (ZAST below 25).
// forestTypeLetter is the second character of the stand group's forest type LT.
int ThinningPercentFromPhsTables(const QString& abbreviation, int zakm, int vek, QChar forestTypeLetter, int bonA,
                                 int hundredMinusZast, int zast);
