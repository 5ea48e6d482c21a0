// Code pages of character output: the 44 accented letters in ASCII, Kamenický, 852 and 1250.
#pragma once

#include <QByteArray>

namespace reports {

// Code page of character output (ExportLanguage); the numbers are the table's columns.
enum class TSestLanguage { slUndefined = 0, slASCII = 1, slCP867 = 2, slCP852 = 3, slCP1250 = 4 };

// A byte of page `from` in page `to`: unchanged below 128, for equal pages, for an undefined
// page or when no accented letter of the table has it.
unsigned char ConvertChar(TSestLanguage from, TSestLanguage to, unsigned char ch);
QByteArray ConvertCodePage(TSestLanguage from, TSestLanguage to, QByteArray text);

} // namespace reports
