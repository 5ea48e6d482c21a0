// PDF output through QPdfWriter.
#include "reports/output/PdfExport.h"

#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "reports/model/PageSettings.h"
#include "reports/output/Canvas.h"
#include "reports/output/PageGeometry.h"
#include "reports/output/ReportOutput.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>

namespace reports {

namespace {

constexpr int pdfDpi = 600;
constexpr int maxPaper = 20000;

} // namespace

bool WritePdf(const TSestVystup& output, const QString& path, int first, int last, const QString& title)
{
    const int from = std::max(first, 1);
    const int to = std::min(last, output.PageCount());
    if (from > to) return false;
    const QString target = files::resolvePath(path);
    QSaveFile file(target);
    const QString error = QStringLiteral("Nelze zapsat soubor \"%1\"").arg(path);
    if (!file.open(QIODevice::WriteOnly)) throw EFileError(error);
    {
        QPdfWriter writer(&file);
        writer.setResolution(pdfDpi);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Tisková sestava"));
        // Paper in hundredths of an inch for the orientation, within what PDF allows (200 inches).
        const QSizeF paper(std::clamp(PaperWidth(), 10, maxPaper) / 100.0, std::clamp(PaperHeight(), 10, maxPaper) / 100.0);
        writer.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Inch), QPageLayout::Portrait, QMarginsF()));
        QPainter painter(&writer);
        if (!painter.isActive()) throw EFileError(error);
        const double scale = pdfDpi / 100.0;
        const PageSettings& page = pageSettings();
        for (int p = from; p <= to; ++p) {
            if (p > from) writer.newPage();
            PainterCanvas canvas(painter, QPointF(page.LeftMargin * scale, page.TopMargin * scale), scale, scale);
            output.DrawItems(p - 1, canvas);
        }
    }
    if (!file.commit()) throw EFileError(error);
    return true;
}

} // namespace reports
