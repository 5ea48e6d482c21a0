// Printer device: draws on a print job, which begins at the first drawing.
#pragma once

#include "graphics/devices/CanvasDevice.h"
#include "framework/tools/Tools.h"

#include <QSize>

#include <functional>
#include <memory>

class QPaintDevice;

// Where a print job goes: a printer, or in tests an image page.
class PrintTarget
{
public:
    virtual ~PrintTarget() = default;
    // Page size in device pixels and resolution in dots per inch, known before the job begins.
    virtual QSize pageSize() const = 0;
    virtual QPointF dpi() const = 0;
    // Begins the job; nil when it cannot begin.
    virtual QPaintDevice* begin(const QString& title) = 0;
    // Ends the job begun (called after painting ended).
    virtual void end() = 0;
};

// The factory of the targets new printer devices print to; an empty one restores the printer.
using PrintTargetFactory = std::function<std::unique_ptr<PrintTarget>()>;
void SetPrintTargetFactory(PrintTargetFactory factory);

// TPrintDevice: a canvas device named "PRINTER" on a print job titled "LUMEX MAPPER" (SetTitle
// changes it before the job begins). One device is one job: it begins at the first drawing
// (a failed begin raises EInOutError) and ends when the device is freed.
class TPrintDevice : public TCanvasDevice
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void AfterConstruction() override;
    void BeforeDestruction() override;

    bool JobBegun() const { return m_painter != nullptr; }
    const QString& Title() const { return m_title; }

    void SetTitle(const QString& title) override { m_title = title; }
    void LineToPixel(qint32 x, qint32 y) override;
    void MoveToPixel(qint32 x, qint32 y) override;
    // The source rectangle is honoured (all 0: the whole picture).
    void StretchDraw(double srcX, double srcY, double x, double y, double w, double h, double srcW, double srcH,
                     const QImage& image) override;
    void StretchDrawPixel(qint32 x, qint32 y, qint32 w, qint32 h, qint32 srcX, qint32 srcY, qint32 srcW, qint32 srcH,
                          const QImage& image) override;
    void BeginOutput() override {}
    void EndOutput() override {}
    // Before the job: the target's page size and resolution; then the painter's.
    void AdjustPage() override;

protected:
    bool ensureCanvas() override;

private:
    std::unique_ptr<PrintTarget> m_target;
    std::unique_ptr<QPainter> m_painter;
    QString m_title = QStringLiteral("LUMEX MAPPER");
};

// TDeviceTool: a technology that exposes the scale of its device's projection.
class TDeviceTool : public TTechnology
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TDevice* Device() const { return m_device.get(); }
    void SetDevice(TDevice* device) { m_device = device; }
    // 0 without a device.
    double Scale() const;
    void SetScale(double scale);

private:
    WeakRef<TDevice> m_device;
};

void RegisterDeviceToolClasses();
