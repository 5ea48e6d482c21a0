// Border buffer: the coordinates of an entity as page pixels, clipped to the page's clip rectangle.
#include "graphics/devices/BorderBuffer.h"

#include "framework/core/ClassRegistry.h"
#include "graphics/geometry/PolygonClipper.h"

#include <algorithm>
#include <cmath>

ProjectedPoints ProjectCoordinates(const TPageProjection& projection, const TEntity& entity, bool rotate)
{
    ProjectedPoints out;
    const int n = entity.Count();
    if (n > maxBorderPoints)
        return out;
    out.Points.reserve(static_cast<size_t>(n));
    out.Exact.reserve(static_cast<size_t>(n));
    const bool turn = rotate && projection.Angle() != 0.0;
    PixelRect& b = out.Bounds;
    for (int i = 0; i < n; ++i) {
        const auto* c = dynamic_cast<const T2DCoordinate*>(entity.Items(i));
        if (!c)
            continue;
        TPoint2D w{c->GetX(), c->GetY()};
        if (turn)
            w = projection.Rotate(w.X, w.Y);
        const PixelPointF f = projection.WorldToPixelF(w.X, w.Y);
        // A vertex without a place (NaN, infinite, or projected beyond a double) is left out,
        // as a repeated one is.
        if (!std::isfinite(f.x) || !std::isfinite(f.y))
            continue;
        const PixelPoint p{HeldPixel(f.x, pixelLimit), HeldPixel(f.y, pixelLimit)};
        if (!out.Points.empty() && out.Points.back() == p)
            continue;
        if (out.Points.empty()) {
            b = {p.x, p.y, p.x, p.y};
        } else {
            b.Left = std::min(b.Left, p.x);
            b.Right = std::max(b.Right, p.x);
            b.Top = std::min(b.Top, p.y);
            b.Bottom = std::max(b.Bottom, p.y);
        }
        out.Points.push_back(p);
        out.Exact.push_back(f);
    }
    return out;
}

bool LeavesRect(const PixelRect& bounds, const PixelRect& clip)
{
    return bounds.Left < clip.Left || bounds.Top < clip.Top || bounds.Right > clip.Right || bounds.Bottom > clip.Bottom;
}

std::vector<PixelPoint> ClippedRing(ProjectedPoints projected, const PixelRect& clip, int minPoints)
{
    if (static_cast<int>(projected.Points.size()) < minPoints)
        return {};
    if (!LeavesRect(projected.Bounds, clip))
        return std::move(projected.Points);
    TOrezavacPloch clipper(clip, std::move(projected.Points));
    clipper.Execute();
    std::vector<PixelPoint> ring = clipper.Result();
    if (static_cast<int>(ring.size()) < minPoints)
        return {};
    return ring;
}

TClass TBorderBuffer::StaticClass()
{
    static const TClassInfo info =
        describeClass<TBorderBuffer, TRectangle>("TBorderBuffer", [](PropertyTable<TBorderBuffer>& t) {
            t.object<TPageProjection>("Projection", nullptr, &TBorderBuffer::SetProjection)
                .object<TRectEntity>("RectEntity", nullptr, &TBorderBuffer::SetRectEntity)
                .integer("PointNo", &TBorderBuffer::PointNo, nullptr)
                .integer("MinPointNo", &TBorderBuffer::MinPointNo, &TBorderBuffer::SetMinPointNo)
                .integer("BufferSize", &TBorderBuffer::BufferSize, nullptr);
        });
    return &info;
}

void TBorderBuffer::SetRectEntity(TRectEntity* entity)
{
    m_points.clear();
    TPageProjection* projection = m_projection.get();
    if (!entity || !projection)
        return;
    const int minPoints = m_minPointNo == 0 ? 3 : m_minPointNo;
    m_points = ClippedRing(ProjectCoordinates(*projection, *entity, false), m_pixelClip, minPoints);
}
