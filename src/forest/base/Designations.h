// Normalisers of forest designations: region codes, storey and stand-group designations.
#pragma once

#include <QString>

// The forest-region code LES_OBL: blanks removed (at most 20 characters kept); a code of one
// character, or of two whose second is no digit, gets a leading blank; then lower-cased
// (ASCII) unless it is "XXX". Longer codes keep their blanks.
void NormalizeRegionCode(QString& text);
// A storey designation ETAZ: lower-cased (ASCII); one non-blank character x becomes " x ";
// two, x y, become " xy" when y is no digit, "xy " when it is; other lengths stay lower-cased.
void NormalizeDesignation(QString& text);
// A stand-group designation PSK: each part between "\" or "/" normalised, joined with "/".
void NormalizeDesignationPath(QString& text);
// NormalizeDesignation, then a leading "0" becomes a blank.
QString NormalizeDesignationBlankZero(const QString& text);
