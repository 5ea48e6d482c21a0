// Text dumps of result tables and their comparison with golden files.
#pragma once

#include <QString>

namespace testapp {

// The table as text: a line of field names, then one line per row, values in their text
// form (AsString) separated by "|".
QString dumpTable(const QString& path);
// Compares the text with tests/golden/app/<name>; GENKLAS_REGENERATE_GOLDEN=1 rewrites the file.
void expectGoldenText(const QString& name, const QString& text);

} // namespace testapp
