// Fields of template lines: the quoted comma-separated reader and the writer's quoting.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <initializer_list>

namespace reports {

// Takes the next field off the front of a template line. A field that begins with a double
// quote is quoted: a doubled quote inside gives one quote, a single one ends the quoted part
// and is dropped, and a comma ends the field only outside it. Other fields end at the next
// comma. The line loses the field and the comma that ended it.
//   "a,""b""",12  ->  field a,"b"   line 12
//   "ab"cd,1      ->  field abcd    line 1
QString ReadCsvField(QString& line);
// The next field as a decimal integer (blanks before it and a sign allowed, 32 bits); the
// default when the field is missing, empty or not such a number.
int ReadCsvInt(QString& line, int defaultValue);
// A text as a decimal integer (blanks before it and a sign allowed, 32 bits); the default
// when it is empty or not such a number.
int DecimalOr(QStringView text, int defaultValue);
// ReadCsvInt not equal to 0.
bool ReadCsvBool(QString& line, bool defaultValue);

// Every double quote doubled, for a text written between double quotes.
QString DoubleQuotes(const QString& text);
// A text between double quotes with its quotes doubled, as template lines store texts.
QString QuotedField(const QString& text);
// Numbers in decimal, separated by commas.
QString JoinInts(std::initializer_list<int64_t> values);
// A field written bare unless it holds a comma or begins with a double quote, which would
// break the line; then quoted. Reads back the same through ReadCsvField.
QString BareField(const QString& text);

} // namespace reports
