// Printers of the system through QPrinter and CUPS.
#pragma once

#include "reports/output/Printer.h"

namespace reports {

// The printer list of CUPS (QPrinterInfo). A queue whose make and model name a raw or
// text-only driver is text-only; its character jobs go to `lp -o raw`.
class QtPrinterSystem : public PrinterSystem
{
public:
    QStringList printerNames() const override;
    int defaultIndex() const override;
    std::unique_ptr<Printer> open(int index, const QString& port) override;
};

} // namespace reports
