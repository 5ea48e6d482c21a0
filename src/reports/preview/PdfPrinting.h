// The printer entry "Soubor PDF…": pages written to a PDF file the user names.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace reports {

class TSestVystup;

// Asks for the PDF file's name; empty when cancelled.
using PdfNameChooser = std::function<QString()>;
// The save dialog for PDF files (the extension ".pdf" added when none is given).
QString AskPdfFileName(QWidget* parent);

// Writes pages first..last (1-based, clipped to the output) to the file the chooser names.
// False when no page is in the range, the user cancels, or the file cannot be written; then
// a message names the file and a file already there stays as it was.
bool PrintToPdf(const TSestVystup& output, int first, int last, const QString& title, const PdfNameChooser& chooseName);

} // namespace reports
