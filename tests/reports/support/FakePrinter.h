// A recording printer and printer system for the report tests.
#pragma once

#include "reports/output/Printer.h"

#include <QImage>
#include <QPainter>

#include <functional>
#include <vector>

namespace reports::test {

// Records each job's events ("begin <title>", "page", "end", "abort", "raw <n> bytes") and
// paints each page into an image at its resolution (kept small: 60 pixels per inch).
class FakePrinter : public Printer
{
public:
    QString printerName = QStringLiteral("Fake");
    QString makeAndModel;
    QString location;
    bool textOnly = false;
    int dpiX = 60;
    int dpiY = 60;
    QPoint offset{3, 4};
    QSize physical{496, 702};   // A4 at 60 dpi
    QSize page{488, 690};
    int orientation = 0;
    bool refuseJob = false;
    // Called at each page start with the number of pages begun in this job (1-based).
    std::function<void(int)> onPage;

    QStringList events;
    std::vector<QImage> pages;
    QByteArray rawBytes;

    QString name() const override { return printerName; }
    bool isTextOnly() const override { return textOnly; }
    int pixelsPerInchX() const override { return dpiX; }
    int pixelsPerInchY() const override { return dpiY; }
    QPoint printingOffset() const override { return offset; }
    QSize physicalPageSize() const override { return orientation ? physical.transposed() : physical; }
    QSize pageSize() const override { return orientation ? page.transposed() : page; }
    void setOrientation(int o) override { orientation = o; }

    bool beginDocument(const QString& title) override
    {
        if (refuseJob) return false;
        events << QStringLiteral("begin ") + title;
        m_aborted = false;
        m_pageInJob = 0;
        startPage();
        return true;
    }
    QPainter& painter() override { return m_painter; }
    bool newPage() override
    {
        m_painter.end();
        startPage();
        return true;
    }
    void endDocument() override
    {
        m_painter.end();
        events << QStringLiteral("end");
    }
    void abortDocument() override
    {
        m_painter.end();
        m_aborted = true;
        events << QStringLiteral("abort");
    }
    bool isAborted() const override { return m_aborted; }
    bool sendRaw(const QString& title, const QByteArray& bytes) override
    {
        if (refuseJob) return false;
        events << QStringLiteral("raw %1 %2").arg(title).arg(bytes.size());
        rawBytes += bytes;
        return true;
    }

private:
    void startPage()
    {
        const QSize size = pageSize();
        pages.emplace_back(size, QImage::Format_RGB32);
        pages.back().fill(Qt::white);
        pages.back().setDotsPerMeterX(int(dpiX / 0.0254));
        pages.back().setDotsPerMeterY(int(dpiY / 0.0254));
        m_painter.begin(&pages.back());
        events << QStringLiteral("page");
        ++m_pageInJob;
        if (onPage) onPage(m_pageInJob);
    }

    QPainter m_painter;
    bool m_aborted = false;
    int m_pageInJob = 0;
};

// A printer system over fake printers it owns; open() hands out a forwarding printer so the
// test keeps looking at the same fake.
class FakePrinterSystem : public PrinterSystem
{
public:
    std::vector<std::unique_ptr<FakePrinter>> printers;
    int defaultPrinter = 0;
    QStringList opened;

    FakePrinter& add(const QString& name)
    {
        printers.push_back(std::make_unique<FakePrinter>());
        printers.back()->printerName = name;
        return *printers.back();
    }

    QStringList printerNames() const override
    {
        QStringList names;
        for (const auto& p : printers) names << p->printerName;
        return names;
    }
    int defaultIndex() const override { return printers.empty() ? -1 : defaultPrinter; }
    QString makeAndModel(int index) const override { return at(index) ? at(index)->makeAndModel : QString(); }
    QString location(int index) const override { return at(index) ? at(index)->location : QString(); }
    std::unique_ptr<Printer> open(int index, const QString& port) override;

private:
    const FakePrinter* at(int index) const
    {
        return index >= 0 && index < int(printers.size()) ? printers[size_t(index)].get() : nullptr;
    }
};

} // namespace reports::test
