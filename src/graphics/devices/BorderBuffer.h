// Border buffer: the coordinates of an entity as page pixels, clipped to the page's clip rectangle.
#pragma once

#include "framework/elements/PlaneGraphics.h"
#include "graphics/geometry/Projection.h"

#include <vector>

// Projected pixel points of an entity's T2DCoordinate children, optionally turned by the
// projection's angle, rounded (held within +-pixelLimit, far beyond any page, so clipping
// never sees a bent edge); consecutive equal points and points that project to no finite
// place are dropped.
struct ProjectedPoints {
    std::vector<PixelPoint> Points;
    std::vector<PixelPointF> Exact;   // the unrounded points kept (for polyline clipping)
    PixelRect Bounds{1, 1, 0, 0};     // pixel bounds of the points (empty: Left > Right)
};

// Points held within this bound after projection; the clipper's arithmetic stays in 32 bits.
inline constexpr double pixelLimit = 1'000'000'000.0;

// An entity may hand at most this many points to the device (the clipper's limit).
inline constexpr qint64 maxBorderPoints = 2'500'000;

// Empty when the entity holds more than maxBorderPoints children.
ProjectedPoints ProjectCoordinates(const TPageProjection& projection, const TEntity& entity, bool rotate);

// True when the points leave the rectangle.
bool LeavesRect(const PixelRect& bounds, const PixelRect& clip);

// A polygon ring clipped to the rectangle (the polygon clipper) when it leaves it; fewer than
// minPoints points give an empty ring.
std::vector<PixelPoint> ClippedRing(ProjectedPoints projected, const PixelRect& clip, int minPoints);

// TBorderBuffer: the published face of a border buffer. Its rectangle holds the world clip
// rectangle; writing RectEntity fills the buffer from that entity through Projection, then
// clips it to the pixel clip rectangle.
class TBorderBuffer : public TRectangle
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void SetProjection(TPageProjection* projection) { m_projection = projection; }
    void SetPixelClip(const PixelRect& clip) { m_pixelClip = clip; }
    void SetRectEntity(TRectEntity* entity);
    qint32 PointNo() const { return static_cast<qint32>(m_points.size()); }
    // Fewest points worth drawing; 0 means 3.
    qint32 MinPointNo() const { return m_minPointNo; }
    void SetMinPointNo(qint32 n) { m_minPointNo = n; }
    qint32 BufferSize() const { return PointNo() * 8; }
    const std::vector<PixelPoint>& Points() const { return m_points; }

private:
    WeakRef<TPageProjection> m_projection;
    PixelRect m_pixelClip;
    qint32 m_minPointNo = 0;
    std::vector<PixelPoint> m_points;
};
