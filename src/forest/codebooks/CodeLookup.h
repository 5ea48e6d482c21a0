// Names of codes from codebook tables, and stand-category codes as integers.
#pragma once

#include <QString>

namespace db {
class Table;
}

// The text of resultField in the first row whose keyField equals code (letter case ignored
// unless caseSensitive; codes compare as the column's text, so a numeric 5 matches "5" and not
// "05"). The code itself when no row has it; empty for a nil table. Rows whose code is null never
// match, nor does a code column of a blob type. The table is opened when closed and is left on
// the found row. A result field the table lacks raises EDatabaseError.
QString LookupCodeName(db::Table* table, const QString& keyField, const QString& code, const QString& resultField,
                       bool caseSensitive);

// A stand-category code as an integer: its first two characters times 10, plus, for a code of
// three characters whose third is a letter, that letter's place in the alphabet (32a gives 321,
// 32B 322, 10 100, 321 320). First characters that are no number raise EConvertError.
int CategoryCodeToInt(const QString& code);
