// The fake printer system hands out forwarders to the fakes it owns.
#include "reports/support/FakePrinter.h"

namespace reports::test {

namespace {

class Forwarder : public Printer
{
public:
    explicit Forwarder(FakePrinter& p) : m_p(p) {}
    QString name() const override { return m_p.name(); }
    bool isTextOnly() const override { return m_p.isTextOnly(); }
    int pixelsPerInchX() const override { return m_p.pixelsPerInchX(); }
    int pixelsPerInchY() const override { return m_p.pixelsPerInchY(); }
    QPoint printingOffset() const override { return m_p.printingOffset(); }
    QSize physicalPageSize() const override { return m_p.physicalPageSize(); }
    QSize pageSize() const override { return m_p.pageSize(); }
    void setOrientation(int o) override { m_p.setOrientation(o); }
    bool beginDocument(const QString& t) override { return m_p.beginDocument(t); }
    QPainter& painter() override { return m_p.painter(); }
    bool newPage() override { return m_p.newPage(); }
    void endDocument() override { m_p.endDocument(); }
    void abortDocument() override { m_p.abortDocument(); }
    bool isAborted() const override { return m_p.isAborted(); }
    bool sendRaw(const QString& t, const QByteArray& b) override { return m_p.sendRaw(t, b); }

private:
    FakePrinter& m_p;
};

} // namespace

std::unique_ptr<Printer> FakePrinterSystem::open(int index, const QString& port)
{
    if (printers.empty()) return nullptr;
    if (index < 0 || index >= int(printers.size())) index = defaultPrinter;
    opened << printers[size_t(index)]->printerName + (port.isEmpty() ? QString() : u':' + port);
    return std::make_unique<Forwarder>(*printers[size_t(index)]);
}

} // namespace reports::test
