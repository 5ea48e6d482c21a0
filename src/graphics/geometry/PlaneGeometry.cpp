// Plane geometry in world coordinates: azimuth, distance, perpendicular foot, intersections,
// point in polygon.
#include "graphics/geometry/PlaneGeometry.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr double boxTolerance = 0.0001;
constexpr double axisTolerance = 1e-9;    // a line this close to an axis counts as parallel to it
constexpr double slopeExtent = 1e-20;     // extent below which a segment has no slope

int sideOf(double y, double lineY)
{
    return y > lineY ? 1 : -1;
}

// Line through two points as y = m*x + c; false when the segment is vertical.
bool slopeOf(TPoint2D p, TPoint2D q, double& m, double& c)
{
    if (std::abs(q.X - p.X) <= slopeExtent)
        return false;
    m = (q.Y - p.Y) / (q.X - p.X);
    c = p.Y - m * p.X;
    return true;
}

bool withinExtent(TPoint2D p, TPoint2D q, double x, double y)
{
    // Relative slack for the rounding of the computed point.
    const double slack = 1e-9 * (1.0 + std::abs(p.X) + std::abs(p.Y) + std::abs(q.X) + std::abs(q.Y));
    return x >= std::min(p.X, q.X) - slack && x <= std::max(p.X, q.X) + slack
           && y >= std::min(p.Y, q.Y) - slack && y <= std::max(p.Y, q.Y) + slack;
}

} // namespace

double Azimuth(double dY, double dX)
{
    double t = 0.0;
    if (dY != 0.0)
        t = std::atan(dX / dY);
    else if (dX != 0.0)
        t = (dX > 0 ? 1.0 : -1.0) * std::numbers::pi / 2;
    if (dY < 0)
        t += std::numbers::pi;
    else
        t += 2 * std::numbers::pi;
    if (t > 2 * std::numbers::pi)
        t -= 2 * std::numbers::pi;
    return t;
}

double Distance(double x1, double y1, double x2, double y2)
{
    return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

void SwapDoubles(double& a, double& b)
{
    std::swap(a, b);
}

void OrderPair(double& a, double& b)
{
    if (a > b)
        std::swap(a, b);
}

bool InBoxTolerant(double ax, double ay, double bx, double by, double x, double y)
{
    OrderPair(ax, bx);
    OrderPair(ay, by);
    return !(ax - x >= boxTolerance || x - bx >= boxTolerance || ay - y >= boxTolerance || y - by >= boxTolerance);
}

TPoint2D FootPoint(double ax, double ay, double bx, double by, double px, double py)
{
    const double dx = bx - ax;
    const double dy = by - ay;
    // The original answered (AX, PY) for a zero-length line: a point off the line.
    if (std::abs(dx) <= axisTolerance && std::abs(dy) <= axisTolerance)
        return {ax, ay};
    if (std::abs(dx) <= axisTolerance)
        return {ax, py};
    if (std::abs(dy) <= axisTolerance)
        return {px, ay};
    const double m = dy / dx;
    const double n = -1.0 / m;
    return {(ay - py + n * px - m * ax) / (n - m), (ax - px - m * py + n * ay) / (n - m)};
}

PerpendicularResult PerpendicularFoot(double px, double py, double ax, double ay, double bx, double by)
{
    PerpendicularResult r;
    r.Foot = FootPoint(ax, ay, bx, by, px, py);
    r.OnSegment = InBoxTolerant(ax, ay, bx, by, r.Foot.X, r.Foot.Y);
    r.Dist = Distance(r.Foot.X, r.Foot.Y, px, py);
    return r;
}

Intersection LineIntersection(double m1, double c1, double m2, double c2)
{
    Intersection r;
    const double d = m1 - m2;
    if (std::abs(d) > 1e17)
        return r;
    if (std::abs(1e20 * d) > std::abs(c2 - c1) && std::abs(1e20 * d) > std::abs(m1 * c2 - m2 * c1)) {
        r.X = (c2 - c1) / d;
        r.Y = (m1 * c2 - m2 * c1) / d;
        r.Fail = false;
    }
    return r;
}

SegmentCrossing SegmentIntersection(TPoint2D a, TPoint2D b, TPoint2D c, TPoint2D o)
{
    SegmentCrossing r;
    a = {a.X - o.X, a.Y - o.Y};
    b = {b.X - o.X, b.Y - o.Y};
    c = {c.X - o.X, c.Y - o.Y};
    const TPoint2D origin{0.0, 0.0};
    double m1 = 0, c1 = 0, m2 = 0, c2 = 0;
    const bool sloped1 = slopeOf(a, b, m1, c1);
    const bool sloped2 = slopeOf(c, origin, m2, c2);
    if (!sloped1 && !sloped2)
        return r;
    if (!sloped1) {
        r.X = a.X;
        r.Y = m2 * a.X + c2;
        r.Fail = false;
    } else if (!sloped2) {
        r.X = c.X;
        r.Y = m1 * c.X + c1;
        r.Fail = false;
    } else {
        const Intersection i = LineIntersection(m1, c1, m2, c2);
        r.X = i.X;
        r.Y = i.Y;
        r.Fail = i.Fail;
    }
    if (!r.Fail) {
        r.OnFirst = withinExtent(a, b, r.X, r.Y);
        r.OnSecond = withinExtent(c, origin, r.X, r.Y);
    }
    r.X += o.X;
    r.Y += o.Y;
    return r;
}

// The walk starts at a vertex off the ray's line, so a run of vertices on the line that wraps
// round the start of the ring is met whole and counted once. Crossings are interpolated in x:
// the original's slope limits missed near-vertical edges.
bool PointInPolygon(const std::vector<TPoint2D>& ring, double x, double y)
{
    const size_t n = ring.size();
    if (n < 3)
        return false;
    size_t start = n;
    for (size_t i = 0; i < n; ++i)
        if (ring[i].Y != y) {
            start = i;
            break;
        }
    if (start == n)
        return false;
    int crossings = 0;
    int arrivedFrom = 0;
    for (size_t k = 1; k <= n; ++k) {
        const TPoint2D& a = ring[(start + k - 1) % n];
        const TPoint2D& b = ring[(start + k) % n];
        if (b.Y == y) {
            if (a.Y != y)
                arrivedFrom = sideOf(a.Y, y);
            continue;
        }
        if (a.Y == y) {
            if (sideOf(b.Y, y) != arrivedFrom && a.X >= x)
                ++crossings;
            continue;
        }
        if ((a.Y > y) == (b.Y > y))
            continue;
        const double cx = a.X + (y - a.Y) * (b.X - a.X) / (b.Y - a.Y);
        if (cx >= x)
            ++crossings;
    }
    return crossings % 2 == 1;
}

std::vector<TPoint2D> CoordinatePoints(const TEntity* entity)
{
    std::vector<TPoint2D> points;
    if (!entity)
        return points;
    points.reserve(static_cast<size_t>(entity->Count()));
    for (int i = 0; i < entity->Count(); ++i)
        if (const auto* c = dynamic_cast<const T2DCoordinate*>(entity->Items(i)))
            points.push_back({c->GetX(), c->GetY()});
    return points;
}

bool PointInPolygon(const TEntity* polygon, double x, double y)
{
    return PointInPolygon(CoordinatePoints(polygon), x, y);
}
