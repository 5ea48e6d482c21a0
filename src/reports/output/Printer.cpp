// Printer selection and the text-only test of a queue.
#include "reports/output/Printer.h"

#include "reports/model/PageSettings.h"

#include <QFontDatabase>

namespace reports {

namespace {

PrinterSystem* g_system = nullptr;
std::unique_ptr<Printer> g_selected;

} // namespace

PrinterSystem* printerSystem()
{
    return g_system;
}

void setPrinterSystem(PrinterSystem* system)
{
    g_selected.reset();
    g_system = system;
}

bool isTextOnlyModel(const QString& makeAndModel)
{
    const QString m = makeAndModel.toLower();
    return m.contains(QLatin1String("raw")) || m.contains(QLatin1String("text-only"))
        || m.contains(QLatin1String("text only")) || m.contains(QLatin1String("generic text"));
}

void SelectPrinter(int index)
{
    PageSettings& page = pageSettings();
    page.ScaleX = page.ScaleY = 1.0f;
    g_selected.reset();
    if (!g_system || g_system->printerNames().isEmpty()) return;
    if (index < -1 || index >= g_system->printerNames().size()) return;
    g_selected = g_system->open(index, QString());
    if (!g_selected) return;
    page.ScaleX = float(g_selected->pixelsPerInchX() / 100.0);
    page.ScaleY = float(g_selected->pixelsPerInchY() / 100.0);
}

bool PrinterReady()
{
    return g_selected != nullptr;
}

Printer* selectedPrinter()
{
    return g_selected.get();
}

void releasePrinter()
{
    g_selected.reset();
}

QStringList FillPrinterFonts()
{
    QStringList fonts = QFontDatabase::families();
    fonts << QStringLiteral("Roman 10cpi") << QStringLiteral("Roman 12cpi") << QStringLiteral("Roman 17cpi");
    return fonts;
}

} // namespace reports
