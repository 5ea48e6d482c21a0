// The paper-format dialog: name and size of one paper format.
#pragma once

#include "reports/output/PaperFormats.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace reports::designer {

// "Formát papíru": shows a format's name, width and height, editable or read-only.
// Modal results: 1 "Konec", 2 "Zpět".
class TDlgFormatPapiru : public QDialog
{
public:
    TDlgFormatPapiru(const TFormatPapiru& format, bool isEditable, QWidget* parent = nullptr);

    // The values typed: the name cut to 31 characters; a width or height that is not an
    // integer keeps the value shown at the start.
    TFormatPapiru format() const;

    QLineEdit* EditNazev = nullptr;
    QLineEdit* EditSirka = nullptr;
    QLineEdit* EditVyska = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    TFormatPapiru m_format;
};

// Runs the dialog on `format` and takes the values back on "Konec"; answers the modal result
// (VPrinter.EditPaperFormat).
int EditPaperFormat(TFormatPapiru& format, bool isEditable, QWidget* parent = nullptr);

} // namespace reports::designer
