// The printer entry "Soubor PDF…".
#include "reports/preview/PdfPrinting.h"

#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "reports/output/PdfExport.h"
#include "reports/output/ReportOutput.h"

#include <QFileDialog>

#include <algorithm>

namespace reports {

QString AskPdfFileName(QWidget* parent)
{
    QString name = QFileDialog::getSaveFileName(parent, QStringLiteral("Tisk do souboru PDF"), QString(),
                                                QStringLiteral("Dokumenty PDF (*.pdf)"));
    if (!name.isEmpty() && files::extractFileExt(files::extractFileName(name)).isEmpty()) name += QStringLiteral(".pdf");
    return name;
}

bool PrintToPdf(const TSestVystup& output, int first, int last, const QString& title, const PdfNameChooser& chooseName)
{
    if (std::max(first, 1) > std::min(last, output.PageCount())) return false;
    const QString name = chooseName ? chooseName() : QString();
    if (name.isEmpty()) return false;
    try {
        return WritePdf(output, name, first, last, title);
    } catch (const Exception& e) {
        ui::services().messageBox(e.message(), QString(), ui::MsgType::Error, ui::Ok);
        return false;
    }
}

} // namespace reports
