// Geometry of the design surface.
#include "reports/designer/surface/SurfaceGeometry.h"

#include "platform/text/Numbers.h"
#include "reports/designer/DesignerTypes.h"
#include "reports/model/ReportTables.h"

#include <algorithm>

namespace reports::designer {

namespace {

int snapped(int value, float step, bool snap)
{
    return snap && step > 0 ? RoundToRaster(value, step) : value;
}

// Model edges of a rectangle being dragged.
struct Edges {
    int left, top, width, height;
};

Edges applyZone(const QRect& r0, int zone, int dx, int dy)
{
    Edges e{r0.x(), r0.y(), r0.width(), r0.height()};
    const bool movesLeft = zone == 0 || zone == 1 || zone == 4 || zone == 6;
    const bool movesTop = zone <= 3;
    const bool growsRight = zone == 3 || zone == 5 || zone == 8;
    const bool growsDown = zone >= 6;
    if (movesLeft) e.left += dx;
    if (movesTop) e.top += dy;
    if (zone == 0) return e;
    if (movesLeft) e.width = r0.width() - dx;
    if (growsRight) e.width = r0.width() + dx;
    if (movesTop) e.height = r0.height() - dy;
    if (growsDown) e.height = r0.height() + dy;
    return e;
}

void limitHorizontal(Edges& e, int zone, int bandWidth)
{
    if (zone == 1 || zone == 4 || zone == 6) {
        if (e.width < minElementSide) {
            e.left += e.width - minElementSide;
            e.width = minElementSide;
        }
        if (e.left < 0) {
            e.width += e.left;
            e.left = 0;
        }
    } else if (zone == 3 || zone == 5 || zone == 8) {
        e.width = std::max(e.width, minElementSide);
        if (e.left + e.width > bandWidth) e.width = bandWidth - e.left;
    }
}

void limitVertical(Edges& e, int zone, int bandHeight)
{
    if (zone >= 1 && zone <= 3) {
        if (e.height < minElementSide) {
            e.top += e.height - minElementSide;
            e.height = minElementSide;
        }
        if (e.top < 0) {
            e.height += e.top;
            e.top = 0;
        }
    } else if (zone >= 6) {
        e.height = std::max(e.height, minElementSide);
        if (e.top + e.height > bandHeight) e.height = bandHeight - e.top;
    }
}

int boundedPixels(long long value)
{
    return int(std::clamp<long long>(value, -maxPixels, maxPixels));
}

bool inBox(QPoint p, int left, int top, int right, int bottom)
{
    return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
}

} // namespace

int roundPixels(double value)
{
    return txt::roundHalfEven(std::clamp(value, double(-maxPixels), double(maxPixels)));
}

int toPixels(int model, double zoom)
{
    return roundPixels(model * zoom);
}

int toModel(int pixels, double zoom)
{
    return zoom > 0 ? roundPixels(pixels / zoom) : pixels;
}

QRect toPixels(const QRect& model, double zoom)
{
    return {toPixels(model.x(), zoom), toPixels(model.y(), zoom), toPixels(model.width(), zoom),
            toPixels(model.height(), zoom)};
}

int bandPixelHeight(int height, double zoom)
{
    return toPixels(height, zoom) + captionStrip;
}

int zoneAt(QPoint p, QSize size, bool inMultipleSelection)
{
    if (inMultipleSelection) return 0;
    const int w = size.width(), h = size.height(), s = handleSize;
    const int midX0 = (w - s) / 2, midX1 = (w + s) / 2, midY0 = (h - s) / 2, midY1 = (h + s) / 2;
    // Later boxes win where they overlap on small elements.
    const struct { int zone, left, top, right, bottom; } boxes[] = {
        {1, 0, 0, s, s},          {2, midX0, 0, midX1, s},      {3, w - s, 0, w, s},
        {4, 0, midY0, s, midY1},  {5, w - s, midY0, w, midY1},  {6, 0, h - s, s, h},
        {7, midX0, h - s, midX1, h}, {8, w - s, h - s, w, h},
    };
    int zone = 0;
    for (const auto& b : boxes)
        if (inBox(p, b.left, b.top, b.right, b.bottom)) zone = b.zone;
    return zone;
}

QRect dragStep(const DragStart& start, QPoint pixels, double zoom, const Raster& raster)
{
    const int dx = snapped(toModel(pixels.x(), zoom), raster.x, raster.snap);
    const int dy = snapped(toModel(pixels.y(), zoom), raster.y, raster.snap);
    Edges e = applyZone(start.rect, start.zone, dx, dy);
    if (start.zone == 0) {
        e.left = std::max(e.left, 0);
        e.top = std::max(e.top, 0);
    } else {
        limitHorizontal(e, start.zone, start.bandWidth);
        limitVertical(e, start.zone, start.bandHeight);
    }
    return {e.left, e.top, e.width, e.height};
}

QRect followDrag(const QRect& rect, QPoint delta)
{
    return {std::max(rect.x() + delta.x(), 0), std::max(rect.y() + delta.y(), 0), rect.width(), rect.height()};
}

QRect keyboardMove(const QRect& rect, double dx, double dy, int bandWidth, int bandHeight)
{
    long long left = std::max<long long>(rect.x() + txt::roundHalfEven64(dx), 0);
    long long top = std::max<long long>(rect.y() + txt::roundHalfEven64(dy), 0);
    if (left + rect.width() > bandWidth) left = (long long)bandWidth - rect.width();
    if (top + rect.height() > bandHeight) top = (long long)bandHeight - rect.height();
    return {boundedPixels(left), boundedPixels(top), rect.width(), rect.height()};
}

QRect keyboardResize(const QRect& rect, double dw, double dh, int bandWidth, int bandHeight)
{
    long long width = std::max<long long>(rect.width() + txt::roundHalfEven64(dw), minElementSide);
    long long height = std::max<long long>(rect.height() + txt::roundHalfEven64(dh), minElementSide);
    width = std::min(width, (long long)bandWidth - rect.x());
    height = std::min(height, (long long)bandHeight - rect.y());
    return {rect.x(), rect.y(), boundedPixels(width), boundedPixels(height)};
}

int bandHeightDrag(int savedHeight, int pixels, double zoom, const Raster& raster)
{
    const int height = snapped(boundedPixels((long long)toModel(pixels, zoom) + savedHeight), raster.y, raster.snap);
    return std::max(height, minBandHeight);
}

std::vector<int> stackingOrder(int bandCount)
{
    const int groups = std::max(bandCount - biFirstGroup, 0) / 2;
    std::vector<int> order;
    for (int b : {0, 1})
        if (b < bandCount) order.push_back(b);
    for (int g = 0; g < groups; ++g) order.push_back(biFirstGroup + 2 * g);
    if (bandCount > 2) order.push_back(2);
    for (int g = groups - 1; g >= 0; --g) order.push_back(biFirstGroup + 1 + 2 * g);
    for (int b : {3, 4})
        if (b < bandCount) order.push_back(b);
    return order;
}

std::vector<int> stackBands(const std::vector<int>& pixelHeights, const std::vector<bool>& visible, int& total)
{
    const int count = int(std::min(pixelHeights.size(), visible.size()));
    std::vector<int> tops(size_t(count), 0);
    long long y = 0;
    for (int b : stackingOrder(count)) {
        tops[size_t(b)] = boundedPixels(y);
        if (visible[size_t(b)]) y += pixelHeights[size_t(b)];
    }
    total = boundedPixels(y);
    return tops;
}

int columnWidth(int width, int columns, int gap)
{
    return columns > 1 ? int(((long long)width + gap) / columns) : width;
}

int tabAt(int x, int count, int tabsEnd)
{
    if (count <= 0 || tabsEnd <= 0) return 1;
    return std::clamp(int((long long)x * count / tabsEnd) + 1, 1, count);
}

SurfaceCursor elementCursor(bool toolActive, bool inMultipleSelection, bool active, int zone)
{
    if (toolActive) return SurfaceCursor::NoDrop;
    if (inMultipleSelection) return SurfaceCursor::MultiDrag;
    if (!active) return SurfaceCursor::Arrow;
    switch (zone) {
    case 1: case 8: return SurfaceCursor::SizeNWSE;
    case 2: case 7: return SurfaceCursor::SizeNS;
    case 3: case 6: return SurfaceCursor::SizeNESW;
    case 4: case 5: return SurfaceCursor::SizeWE;
    default: return SurfaceCursor::Drag;
    }
}

BandSpot bandSpot(QPoint p, int bandPixelHeight, int columnPixels, int tabsEnd)
{
    if (p.y() >= bandPixelHeight - captionStrip) return p.x() < tabsEnd ? BandSpot::Tabs : BandSpot::Split;
    return columnPixels > 0 && p.x() > columnPixels ? BandSpot::NoDrop : BandSpot::Area;
}

SurfaceCursor bandCursor(BandSpot spot)
{
    switch (spot) {
    case BandSpot::NoDrop: return SurfaceCursor::NoDrop;
    case BandSpot::Split: return SurfaceCursor::SplitV;
    default: return SurfaceCursor::Paper;
    }
}

QRect rubberRect(QPoint from, QPoint to, double zoom)
{
    const int x0 = toModel(from.x(), zoom), y0 = toModel(from.y(), zoom);
    const int x1 = toModel(to.x(), zoom), y1 = toModel(to.y(), zoom);
    return {std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0)};
}

bool overlaps(const QRect& a, const QRect& b)
{
    if (a.width() <= 0 || a.height() <= 0 || b.width() <= 0 || b.height() <= 0) return false;
    return a.x() < b.x() + b.width() && b.x() < a.x() + a.width() && a.y() < b.y() + b.height()
           && b.y() < a.y() + a.height();
}

} // namespace reports::designer
