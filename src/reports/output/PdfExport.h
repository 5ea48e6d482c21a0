// Output pages written as a PDF document.
#pragma once

#include <QString>

namespace reports {

class TSestVystup;

// Writes pages first..last (clipped to the pages) to a PDF file at 600 dots per inch on the
// paper of the page settings, each page's items at the margins. Raises EFileError when the
// file cannot be written; an empty range writes nothing and answers false.
bool WritePdf(const TSestVystup& output, const QString& path, int first, int last, const QString& title);

} // namespace reports
