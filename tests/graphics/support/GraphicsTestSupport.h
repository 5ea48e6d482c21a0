// Shared helpers of the graphics tests: registration, image devices, entities, pixel counts.
#pragma once

#include "framework/core/ClassRegistry.h"
#include "framework/core/StartupRegistration.h"
#include "graphics/GraphicsRegistration.h"
#include "graphics/devices/CanvasDevice.h"
#include "graphics/space/PolyElements.h"

#include <QColor>
#include <QImage>

#include <ostream>
#include <utility>
#include <vector>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace gtest_support {

inline void registerAll()
{
    RegisterFrameworkUnits();
    RegisterGraphicsUnits();
}

// A bitmap device over a white w x h image at 96 dpi (3779.527... pixels per metre), with the
// projection at the given scale and centre; black pen, black brush.
inline Owned<TBitmapDevice> imageDevice(int w, int h, double scale, double cx, double cy, QImage::Format f = QImage::Format_RGB32)
{
    auto device = Create<TBitmapDevice>();
    auto image = std::make_unique<QImage>(w, h, f);
    image->setDotsPerMeterX(3780);
    image->setDotsPerMeterY(3780);
    image->fill(Qt::white);
    device->SetOwnedBitmap(std::move(image));
    device->Projection()->Recalc(cx, cy, device->Page(), scale);
    device->SetPen(QPen(Qt::black, 0));
    device->SetBrush(QBrush(Qt::black));
    return device;
}

template<class T = TAreaElement>
Owned<T> ring(const std::vector<std::pair<double, double>>& points)
{
    auto e = Create<T>();
    for (const auto& [x, y] : points)
        AddAndExtend(e.get(), Create<T2DCoordinate>(x, y).release());
    return e;
}

inline int countPixels(const QImage& image, QRgb color, QRect area = QRect())
{
    if (area.isNull())
        area = image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.valid(x, y) && (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF))
                ++n;
    return n;
}

inline bool isBlack(const QImage& image, int x, int y)
{
    return (image.pixel(x, y) & 0xFFFFFF) == 0;
}

// The bounding box of the pixels of a colour; null when none.
inline QRect boundsOf(const QImage& image, QRgb color)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF))
                r = r.united(QRect(x, y, 1, 1));
    return r;
}

inline int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height() + b.width() * b.height() + 1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
    return n;
}

// Where two images differ: the count of differing pixels and their bounds.
inline QString imageDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return QStringLiteral("sizes differ");
    int n = 0;
    QRect r;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) {
                ++n;
                r = r.united(QRect(x, y, 1, 1));
            }
    return n == 0 ? QString() : QStringLiteral("%1 pixels in %2,%3 %4x%5").arg(n).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace gtest_support
