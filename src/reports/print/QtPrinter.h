// Printers of the system through QPrinter and CUPS.
#pragma once

#include "reports/output/Printer.h"

#include <QPrinter>

#include <map>

namespace reports {

// The printer list of CUPS (QPrinterInfo). A queue whose make and model name a raw or
// text-only driver is text-only; its character jobs go to `lp -o raw`.
class QtPrinterSystem : public PrinterSystem
{
public:
    QStringList printerNames() const override;
    int defaultIndex() const override;
    QString makeAndModel(int index) const override;
    QString location(int index) const override;
    std::unique_ptr<Printer> open(int index, const QString& port) override;

    // The options of a queue that the system's print dialog edits ("Vlastnosti..."). They stay
    // with the queue while this system lives, and every later job on the queue starts from
    // them, except paper, orientation and margins, which stay the template's.
    QPrinter& queueOptions(const QString& queue);

private:
    std::map<QString, std::unique_ptr<QPrinter>> m_options;
};

} // namespace reports
