// Polygon clipper: a pixel polygon cut to an axis-parallel pixel rectangle (Sutherland-Hodgman).
#include "graphics/geometry/PolygonClipper.h"

#include "platform/Exceptions.h"

#include <cmath>
#include <limits>
#include <utility>

qint32 ClampCrossing(double v)
{
    if (v > 2147483647.0)
        return 0x7FFFFFFF;
    if (v <= -2147483647.0 || std::isnan(v))
        return -0x7FFFFFFF;
    return static_cast<qint32>(std::nearbyint(v));
}

TOrezavacPloch::TOrezavacPloch(const PixelRect& rect, std::vector<PixelPoint> points) : m_rect(rect)
{
    if (static_cast<qint64>(points.size()) > maxClipperPoints)
        throw ERangeError(QStringLiteral("Range check error"));
    if (points.empty())
        m_failed = true;
    for (const PixelPoint& p : points) {
        m_beyondLeft = m_beyondLeft || p.x < rect.Left;
        m_beyondTop = m_beyondTop || p.y < rect.Top;
        m_beyondRight = m_beyondRight || p.x > rect.Right;
        m_beyondBottom = m_beyondBottom || p.y > rect.Bottom;
    }
    m_output = std::move(points);
}

void TOrezavacPloch::Execute()
{
    if (m_failed)
        return;
    startPass();
    const std::pair<bool, Edge> edges[] = {
        {m_beyondLeft, Edge::Left}, {m_beyondTop, Edge::Top}, {m_beyondRight, Edge::Right}, {m_beyondBottom, Edge::Bottom}};
    for (const auto& [beyond, edge] : edges) {
        if (!beyond || m_input.empty() || m_failed)
            continue;
        clipAgainst(edge);
        closePolygon();
        startPass();
        ++m_passes;
    }
}

std::vector<PixelPoint> TOrezavacPloch::Result() const
{
    if (m_failed)
        return {};
    return m_input;
}

// The last output becomes the input; the new output has room for twice its points.
void TOrezavacPloch::startPass()
{
    m_input = std::move(m_output);
    m_output.clear();
    m_capacity = m_input.size() * 2;
    m_output.reserve(m_capacity);
}

void TOrezavacPloch::addPoint(PixelPoint p)
{
    if (m_failed || m_output.size() >= m_capacity) {
        m_failed = true;
        return;
    }
    m_output.push_back(p);
}

void TOrezavacPloch::closePolygon()
{
    if (m_output.size() >= 3 && !(m_output.front() == m_output.back()))
        addPoint(m_output.front());
}

void TOrezavacPloch::clipAgainst(Edge edge)
{
    const PixelRect& r = m_rect;
    const qint32 belowBottom = r.Bottom < std::numeric_limits<qint32>::max() ? r.Bottom + 1 : r.Bottom;
    auto inside = [&](PixelPoint p) {
        switch (edge) {
        case Edge::Left: return p.x >= r.Left;
        case Edge::Top: return p.y >= r.Top;
        case Edge::Right: return p.x <= r.Right;
        case Edge::Bottom: return p.y <= r.Bottom;
        }
        return true;
    };
    auto crossing = [&](PixelPoint prev, PixelPoint cur) {
        const double px = prev.x, py = prev.y, cx = cur.x, cy = cur.y;
        switch (edge) {
        case Edge::Left: return PixelPoint{r.Left, ClampCrossing((r.Left - px) * (cy - py) / (cx - px) + py)};
        case Edge::Right: return PixelPoint{r.Right, ClampCrossing((r.Right - px) * (cy - py) / (cx - px) + py)};
        case Edge::Top: return PixelPoint{ClampCrossing((r.Top - py) * (cx - px) / (cy - py) + px), r.Top};
        case Edge::Bottom:
            return PixelPoint{ClampCrossing((r.Bottom - py) * (cx - px) / (cy - py) + px), belowBottom};
        }
        return cur;
    };
    PixelPoint prev = m_input.back();
    for (const PixelPoint& cur : m_input) {
        const bool curIn = inside(cur);
        const bool prevIn = inside(prev);
        if (curIn) {
            if (!prevIn)
                addPoint(crossing(prev, cur));
            addPoint(cur);
        } else if (prevIn) {
            addPoint(crossing(prev, cur));
        }
        prev = cur;
    }
}
