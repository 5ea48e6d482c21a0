// Line clipping against a pixel rectangle: outcodes, visibility, segment and polyline clipping.
#include "graphics/geometry/LineClipping.h"

#include <cmath>
#include <utility>

namespace {

// Each move puts one end on an edge line; exact arithmetic needs at most four per end.
constexpr int maxClipSteps = 16;

struct EndPoint {
    double x;
    double y;
    quint8 code;
};

qint32 roundToPixel(double v)
{
    return static_cast<qint32>(std::nearbyint(v));
}

// Moves the outside end onto the edge named by the first bit of its code.
void moveToEdge(const PixelRect& r, EndPoint& p, const EndPoint& other)
{
    const double dx = other.x - p.x;
    const double dy = other.y - p.y;
    if (dx == 0.0) {
        if (p.code & OutcodeBit::Below)
            p.y = r.Bottom;
        else if (p.code & OutcodeBit::Above)
            p.y = r.Top;
        return;
    }
    const double m = dy / dx;
    if (p.code & OutcodeBit::Left) {
        p.y += (r.Left - p.x) * m;
        p.x = r.Left;
    } else if (p.code & OutcodeBit::Right) {
        p.y += (r.Right - p.x) * m;
        p.x = r.Right;
    } else if (p.code & OutcodeBit::Below) {
        p.x += (r.Bottom - p.y) / m;
        p.y = r.Bottom;
    } else if (p.code & OutcodeBit::Above) {
        p.x += (r.Top - p.y) / m;
        p.y = r.Top;
    }
}

} // namespace

quint8 Outcode(const PixelRect& rect, double x, double y)
{
    const double rx = std::nearbyint(x);
    const double ry = std::nearbyint(y);
    quint8 code = 0;
    if (rx < rect.Left)
        code |= OutcodeBit::Left;
    else if (rx > rect.Right)
        code |= OutcodeBit::Right;
    if (ry > rect.Bottom)
        code |= OutcodeBit::Below;
    else if (ry < rect.Top)
        code |= OutcodeBit::Above;
    return code;
}

LineVisibilityResult LineVisibility(const PixelRect& rect, double x1, double y1, double x2, double y2)
{
    const quint8 c1 = Outcode(rect, x1, y1);
    const quint8 c2 = Outcode(rect, x2, y2);
    LineVisibilityResult r;
    r.Inside = c1 == 0 && c2 == 0;
    r.Partial = !r.Inside && (c1 & c2) == 0;
    return r;
}

ClippedSegment ClipSegment(const PixelRect& rect, double x1, double y1, double x2, double y2)
{
    ClippedSegment out;
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return out;
    EndPoint a{x1, y1, 0};
    EndPoint b{x2, y2, 0};
    for (int step = 0; step < maxClipSteps; ++step) {
        a.code = Outcode(rect, a.x, a.y);
        b.code = Outcode(rect, b.x, b.y);
        if (a.code == 0 && b.code == 0) {
            out = {true, roundToPixel(a.x), roundToPixel(a.y), roundToPixel(b.x), roundToPixel(b.y)};
            return out;
        }
        if (a.code & b.code)
            return out;
        if (a.code == 0)
            std::swap(a, b);
        moveToEdge(rect, a, b);
        if (!std::isfinite(a.x) || !std::isfinite(a.y))
            return out;
    }
    return out;
}

std::vector<std::vector<PixelPoint>> ClipPolylineRuns(const PixelRect& rect, const std::vector<PixelPointF>& points)
{
    std::vector<std::vector<PixelPoint>> runs;
    std::vector<PixelPoint> run;
    auto flush = [&] {
        if (run.size() >= 2)
            runs.push_back(std::move(run));
        run.clear();
    };
    for (size_t i = 1; i < points.size(); ++i) {
        const PixelPointF& p = points[i - 1];
        const PixelPointF& q = points[i];
        ClippedSegment s = ClipSegment(rect, p.x, p.y, q.x, q.y);
        if (!s.Visible) {
            flush();
            continue;
        }
        // ClipSegment may answer the ends exchanged; keep the direction of travel.
        PixelPoint from{s.x1, s.y1};
        PixelPoint to{s.x2, s.y2};
        const double d1 = std::abs(p.x - from.x) + std::abs(p.y - from.y);
        const double d2 = std::abs(p.x - to.x) + std::abs(p.y - to.y);
        if (d2 < d1)
            std::swap(from, to);
        if (!run.empty() && !(run.back() == from))
            flush();
        if (run.empty())
            run.push_back(from);
        if (!(run.back() == to))
            run.push_back(to);
    }
    flush();
    return runs;
}
