// Printer device: draws on a print job, which begins at the first drawing.
#include "graphics/devices/PrintDevice.h"

#include "framework/core/ClassRegistry.h"
#include "platform/Exceptions.h"

#include <QPageLayout>
#include <QPrinter>

namespace {

class PrinterTarget : public PrintTarget
{
public:
    PrinterTarget() : m_printer(QPrinter::HighResolution) {}
    QSize pageSize() const override { return m_printer.pageLayout().paintRectPixels(m_printer.resolution()).size(); }
    QPointF dpi() const override { return QPointF(m_printer.resolution(), m_printer.resolution()); }
    QPaintDevice* begin(const QString& title) override
    {
        m_printer.setDocName(title);
        return &m_printer;
    }
    void end() override {}

private:
    QPrinter m_printer;
};

PrintTargetFactory& targetFactory()
{
    static PrintTargetFactory factory;
    return factory;
}

constexpr double millimetresPerInch = 25.4;

} // namespace

void SetPrintTargetFactory(PrintTargetFactory factory)
{
    targetFactory() = std::move(factory);
}

TClass TPrintDevice::StaticClass()
{
    static const TClassInfo info = describeClass<TPrintDevice, TCanvasDevice>("TPrintDevice");
    return &info;
}

void TPrintDevice::AfterConstruction()
{
    TCanvasDevice::AfterConstruction();
    SetName(QStringLiteral("PRINTER"));
    m_target = targetFactory() ? targetFactory()() : std::make_unique<PrinterTarget>();
    Page()->SetColor(0xFFFFFF);
    AdjustPage();
}

void TPrintDevice::BeforeDestruction()
{
    SetCanvas(nullptr);
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
        if (m_target)
            m_target->end();
    }
    TCanvasDevice::BeforeDestruction();
}

bool TPrintDevice::ensureCanvas()
{
    if (m_painter)
        return true;
    if (!m_target)
        return false;
    QPaintDevice* device = m_target->begin(m_title);
    auto painter = std::make_unique<QPainter>();
    if (!device || !painter->begin(device))
        throw EInOutError(QStringLiteral("Tisk nelze zahájit: %1").arg(m_title));
    m_painter = std::move(painter);
    SetCanvas(m_painter.get());
    return true;
}

void TPrintDevice::AdjustPage()
{
    if (Canvas()) {
        TCanvasDevice::AdjustPage();
        return;
    }
    makePageAndProjection();
    if (!m_target)
        return;
    const QSize size = m_target->pageSize();
    const QPointF dpi = m_target->dpi();
    const PixelRect whole{0, 0, size.width(), size.height()};
    Page()->SetPageRect(whole);
    Page()->SetClipRect(whole);
    Page()->SetResolution(dpi.x() * 1000.0 / millimetresPerInch, dpi.y() * 1000.0 / millimetresPerInch);
    TPageProjection* p = Projection();
    p->Recalc(p->Center_X(), p->Center_Y(), Page(), p->Scale());
}

void TPrintDevice::LineToPixel(qint32 x, qint32 y)
{
    if (!ensureCanvas())
        return;
    TCanvasDevice::LineToPixel(x, y);
    m_penF = {double(x), double(y)};
}

void TPrintDevice::MoveToPixel(qint32 x, qint32 y)
{
    TCanvasDevice::MoveToPixel(x, y);
    m_penF = {double(x), double(y)};
}

void TPrintDevice::StretchDraw(double srcX, double srcY, double x, double y, double w, double h, double srcW,
                               double srcH, const QImage& image)
{
    const TPageProjection* p = Projection();
    StretchDrawPixel(p->WorldToPixelX(x), p->WorldToPixelY(y), p->WorldLengthToPixelsX(w), p->WorldLengthToPixelsY(h),
                     static_cast<qint32>(srcX), static_cast<qint32>(srcY), static_cast<qint32>(srcW),
                     static_cast<qint32>(srcH), image);
}

void TPrintDevice::StretchDrawPixel(qint32 x, qint32 y, qint32 w, qint32 h, qint32 srcX, qint32 srcY, qint32 srcW,
                                    qint32 srcH, const QImage& image)
{
    if (!ensureCanvas())
        return;
    QRect source(srcX, srcY, srcW, srcH);
    if (srcX == 0 && srcY == 0 && srcW == 0 && srcH == 0)
        source = image.rect();
    Canvas()->drawImage(QRect(x, y, w, h), image, source);
}

// --- TDeviceTool -------------------------------------------------------------------------------

TClass TDeviceTool::StaticClass()
{
    static const TClassInfo info = describeClass<TDeviceTool, TTechnology>("TDeviceTool", [](PropertyTable<TDeviceTool>& t) {
        t.floating("Scale", "Double", &TDeviceTool::Scale, &TDeviceTool::SetScale, false);
    });
    return &info;
}

double TDeviceTool::Scale() const
{
    TDevice* device = m_device.get();
    return device ? device->Projection()->Scale() : 0.0;
}

void TDeviceTool::SetScale(double scale)
{
    if (TDevice* device = m_device.get())
        device->Projection()->SetScale(scale);
}

void RegisterDeviceToolClasses()
{
    RegisterUnitClasses({TDeviceTool::StaticClass()});
}
