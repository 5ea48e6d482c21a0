// The printer as the report generator sees it, the list of printers and the selected one.
#pragma once

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

class QPainter;

namespace reports {

// One printer. The Qt implementation (QPrinter over CUPS) lives in reports/print, since
// QtPrintSupport pulls in the widget library; tests use a recording fake.
//
// A graphic job: beginDocument(), painter() for each page with newPage() between pages,
// then endDocument() or abortDocument(). A character job: sendRaw() with the whole text.
class Printer
{
public:
    virtual ~Printer() = default;

    virtual QString name() const = 0;
    // The queue prints text only (no graphics): its driver is a raw or text-only one.
    virtual bool isTextOnly() const = 0;
    virtual int pixelsPerInchX() const = 0;
    virtual int pixelsPerInchY() const = 0;
    // The unprintable border at the left and top, in device pixels.
    virtual QPoint printingOffset() const = 0;
    // The whole sheet and its printable part, in device pixels, for the current orientation.
    virtual QSize physicalPageSize() const = 0;
    virtual QSize pageSize() const = 0;
    virtual void setOrientation(int orientation) = 0;   // 0 portrait, otherwise landscape

    // False when the job cannot be started.
    virtual bool beginDocument(const QString& title) = 0;
    virtual QPainter& painter() = 0;
    virtual bool newPage() = 0;
    virtual void endDocument() = 0;
    virtual void abortDocument() = 0;
    // The printing system gave up the job (or it was aborted).
    virtual bool isAborted() const = 0;
    // Sends bytes as a raw job. False when the queue did not take them.
    virtual bool sendRaw(const QString& title, const QByteArray& bytes) = 0;
};

// The printers of the system.
class PrinterSystem
{
public:
    virtual ~PrinterSystem() = default;
    virtual QStringList printerNames() const = 0;
    // Index of the system's default printer, -1 when there is none.
    virtual int defaultIndex() const = 0;
    // The queue's make and model and its location as the printing system describes them
    // (empty when unknown or the index is outside the list).
    virtual QString makeAndModel(int /*index*/) const { return {}; }
    virtual QString location(int /*index*/) const { return {}; }
    // The printer of an index (an index outside the list: the default printer), with its
    // port replaced when `port` is not empty (CUPS: the queue name). Null without printers.
    virtual std::unique_ptr<Printer> open(int index, const QString& port) = 0;

    // The print dialog's entry chosen last in this run (a queue's name or the PDF file's
    // entry), which the dialog proposes next; empty: the default printer.
    QString currentPrinter;
};

// The installed printer system (not owned); null: no printers.
PrinterSystem* printerSystem();
void setPrinterSystem(PrinterSystem* system);

// Whether a CUPS make-and-model text names a raw queue or a text-only driver.
bool isTextOnlyModel(const QString& makeAndModel);

// The printer the page settings measure with (VPrinter's selection).
// SelectPrinter: scale back to 1.0; without printers not ready; index -1 is the system's
// default; ready when the index lies in -1..count-1, and then the scale is the printer's
// pixels per inch / 100.
void SelectPrinter(int index);
bool PrinterReady();
// The selected printer while ready, else null.
Printer* selectedPrinter();
// Forgets the selection (tests, shutdown).
void releasePrinter();

} // namespace reports

namespace reports {

// The fonts a report may use: the installed families, then the three text-printer fonts
// "Roman 10cpi", "Roman 12cpi" and "Roman 17cpi".
QStringList FillPrinterFonts();

} // namespace reports
