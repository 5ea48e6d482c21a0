// QPrinter behind the report generator's printer interface.
#include "reports/print/QtPrinter.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>

namespace reports {

namespace {

// Time a raw job may take to reach the spooler.
constexpr int lpTimeoutMs = 30000;

class QtPrinter : public Printer
{
public:
    explicit QtPrinter(const QPrinterInfo& info) : m_info(info), m_printer(info, QPrinter::HighResolution)
    {
        // Items are placed from the paper's corner; the unprintable border only checks margins.
        m_printer.setFullPage(true);
    }

    QString name() const override { return m_info.printerName(); }
    bool isTextOnly() const override { return isTextOnlyModel(m_info.makeAndModel()); }
    int pixelsPerInchX() const override { return m_printer.logicalDpiX(); }
    int pixelsPerInchY() const override { return m_printer.logicalDpiY(); }
    QPoint printingOffset() const override
    {
        const QRect paper = m_printer.paperRect(QPrinter::DevicePixel).toRect();
        const QRect page = m_printer.pageLayout().paintRectPixels(m_printer.resolution());
        return page.topLeft() - paper.topLeft();
    }
    QSize physicalPageSize() const override { return m_printer.paperRect(QPrinter::DevicePixel).toRect().size(); }
    QSize pageSize() const override { return m_printer.pageLayout().paintRectPixels(m_printer.resolution()).size(); }
    void setOrientation(int o) override
    {
        m_printer.setPageOrientation(o < 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
    }

    bool beginDocument(const QString& title) override
    {
        m_printer.setDocName(title);
        m_aborted = false;
        return m_painter.begin(&m_printer);
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

std::unique_ptr<Printer> QtPrinterSystem::open(int index, const QString& port)
{
    const QStringList names = printerNames();
    if (names.isEmpty()) return nullptr;
    if (index < 0 || index >= names.size()) index = std::max(defaultIndex(), 0);
    // A port names another CUPS queue to print to.
    const QString name = port.isEmpty() ? names.at(index) : port.left(79);
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) return nullptr;
    return std::make_unique<QtPrinter>(info);
}

} // namespace reports
