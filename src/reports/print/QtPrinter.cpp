// QPrinter behind the report generator's printer interface.
#include "reports/print/QtPrinter.h"

#include <QPageLayout>
#include <QPrintEngine>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>

namespace reports {

namespace {

// Time a raw job may take to reach the spooler.
constexpr int lpTimeoutMs = 30000;

// Whether a CUPS queue takes new jobs. Qt hands a graphic job to CUPS only when the document
// ends and drops CUPS's answer, so a job on a queue that rejects jobs would vanish without a
// word; the queue's accepting state is asked before the job begins instead. True when
// `lpstat` cannot tell.
bool queueAcceptsJobs(const QString& queue)
{
    QProcess lpstat;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));   // its texts untranslated
    lpstat.setProcessEnvironment(env);
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-a"), queue});
    if (!lpstat.waitForFinished(lpTimeoutMs) || lpstat.exitStatus() != QProcess::NormalExit) return true;
    // "<queue> accepting requests since ..." or "<queue> not accepting requests since ...".
    const QString answer = QString::fromLocal8Bit(lpstat.readAllStandardOutput());
    return !answer.startsWith(queue + QStringLiteral(" not accepting"));
}

// The print engine's key of the CUPS job options (-o name=value) the print dialog sets.
constexpr auto cupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Takes over what the user set for the queue, but not paper, orientation or margins.
void applyOptions(QPrinter& printer, const QPrinter& options)
{
    printer.setDuplex(options.duplex());
    printer.setColorMode(options.colorMode());
    printer.setPageOrder(options.pageOrder());
    printer.setPaperSource(options.paperSource());
    if (printer.printEngine() && options.printEngine())
        printer.printEngine()->setProperty(cupsOptionsKey, options.printEngine()->property(cupsOptionsKey));
}

class QtPrinter : public Printer
{
public:
    QtPrinter(const QPrinterInfo& info, const QPrinter* options)
        : m_info(info), m_printer(info, QPrinter::HighResolution)
    {
        if (options) applyOptions(m_printer, *options);
        // Items are placed from the paper's corner; the unprintable border only checks margins.
        m_printer.setFullPage(true);
    }

    QString name() const override { return m_info.printerName(); }
    bool isTextOnly() const override { return isTextOnlyModel(m_info.makeAndModel()); }
    int pixelsPerInchX() const override { return m_printer.logicalDpiX(); }
    int pixelsPerInchY() const override { return m_printer.logicalDpiY(); }
    // The unprintable border is the queue's minimum margins (the page itself is full-page).
    QPoint printingOffset() const override
    {
        const QMarginsF m = minimumMarginsPixels();
        return QPoint(qRound(m.left()), qRound(m.top()));
    }
    QSize physicalPageSize() const override { return m_printer.paperRect(QPrinter::DevicePixel).toRect().size(); }
    QSize pageSize() const override
    {
        const QMarginsF m = minimumMarginsPixels();
        const QSizeF paper = m_printer.paperRect(QPrinter::DevicePixel).size();
        return QSize(qRound(paper.width() - m.left() - m.right()), qRound(paper.height() - m.top() - m.bottom()));
    }
    void setOrientation(int o) override
    {
        m_printer.setPageOrientation(o < 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
    }

    bool beginDocument(const QString& title) override
    {
        m_printer.setDocName(title);
        m_aborted = false;
        return queueAcceptsJobs(m_info.printerName()) && m_painter.begin(&m_printer);
    }
    QPainter& painter() override { return m_painter; }
    bool newPage() override { return m_printer.newPage(); }
    void endDocument() override { m_painter.end(); }
    void abortDocument() override
    {
        m_printer.abort();
        m_painter.end();
        m_aborted = true;
    }
    bool isAborted() const override { return m_aborted || m_printer.printerState() == QPrinter::Aborted; }

    bool sendRaw(const QString& title, const QByteArray& bytes) override
    {
        QProcess lp;
        lp.start(QStringLiteral("lp"), {QStringLiteral("-d"), m_info.printerName(), QStringLiteral("-o"),
                                        QStringLiteral("raw"), QStringLiteral("-t"), title});
        if (!lp.waitForStarted(lpTimeoutMs)) return false;
        lp.write(bytes);
        lp.closeWriteChannel();
        return lp.waitForFinished(lpTimeoutMs) && lp.exitStatus() == QProcess::NormalExit && lp.exitCode() == 0;
    }

private:
    QMarginsF minimumMarginsPixels() const
    {
        const QPageLayout layout = m_printer.pageLayout();
        // Points per unit of the layout, then device pixels per point.
        double points = 1;
        switch (layout.units()) {
        case QPageLayout::Millimeter: points = 72 / 25.4; break;
        case QPageLayout::Inch: points = 72; break;
        case QPageLayout::Pica: points = 12; break;
        case QPageLayout::Didot: points = 1.07; break;
        case QPageLayout::Cicero: points = 12.84; break;
        default: break;
        }
        const QMarginsF m = layout.minimumMargins();
        const double x = points * m_printer.logicalDpiX() / 72;
        const double y = points * m_printer.logicalDpiY() / 72;
        return QMarginsF(m.left() * x, m.top() * y, m.right() * x, m.bottom() * y);
    }

    QPrinterInfo m_info;
    QPrinter m_printer;
    QPainter m_painter;
    bool m_aborted = false;
};

} // namespace

QStringList QtPrinterSystem::printerNames() const
{
    return QPrinterInfo::availablePrinterNames();
}

int QtPrinterSystem::defaultIndex() const
{
    return int(printerNames().indexOf(QPrinterInfo::defaultPrinterName()));
}

namespace {

QPrinterInfo infoAt(int index)
{
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (index < 0 || index >= names.size()) return {};
    return QPrinterInfo::printerInfo(names.at(index));
}

} // namespace

QString QtPrinterSystem::makeAndModel(int index) const
{
    return infoAt(index).makeAndModel();
}

QString QtPrinterSystem::location(int index) const
{
    return infoAt(index).location();
}

QPrinter& QtPrinterSystem::queueOptions(const QString& queue)
{
    std::unique_ptr<QPrinter>& options = m_options[queue];
    if (!options) options = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(queue), QPrinter::HighResolution);
    return *options;
}

std::unique_ptr<Printer> QtPrinterSystem::open(int index, const QString& port)
{
    const QStringList names = printerNames();
    if (names.isEmpty()) return nullptr;
    if (index < 0 || index >= names.size()) index = std::max(defaultIndex(), 0);
    // A port names another CUPS queue to print to.
    const QString name = port.isEmpty() ? names.at(index) : port.left(79);
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) return nullptr;
    const auto options = m_options.find(name);
    return std::make_unique<QtPrinter>(info, options == m_options.end() ? nullptr : options->second.get());
}

} // namespace reports
