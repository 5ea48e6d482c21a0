// Literals of SQL texts: quoted dates with Czech month abbreviations, numbers, quoted texts.
#pragma once

#include <QString>

// A date text d.m.yyyy as 'dd-MON-yyyy' (MON the Czech month abbreviation, "BŘE" for March);
// "null" without two dots or with a month outside 1..12. A month that is no number raises
// EConvertError. Apostrophes inside the day or year are doubled.
QString DateToQuotedLiteral(const QString& date);
// The text trimmed of blanks; "null" when empty; every "," becomes ".".
QString NumberToSqlLiteral(const QString& text);
// Every apostrophe doubled.
QString EscapeSqlQuotes(const QString& text);
