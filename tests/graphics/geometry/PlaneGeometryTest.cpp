// Tests of plane geometry: azimuth, perpendicular foot, intersections, point in polygon.
#include "graphics/geometry/PlaneGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr double pi = std::numbers::pi;

TEST(PlaneGeometry, AzimuthRunsClockwiseFromNorth)
{
    EXPECT_DOUBLE_EQ(Azimuth(1, 0), 2 * pi);
    EXPECT_DOUBLE_EQ(Azimuth(0, 1), pi / 2);
    EXPECT_DOUBLE_EQ(Azimuth(-1, 0), pi);
    EXPECT_DOUBLE_EQ(Azimuth(0, -1), 3 * pi / 2);
    EXPECT_DOUBLE_EQ(Azimuth(0, 0), 2 * pi);
    EXPECT_NEAR(Azimuth(1, 1), pi / 4, 1e-12);
}

TEST(PlaneGeometry, FootPointCases)
{
    const PerpendicularResult r = PerpendicularFoot(1, 0, 0, 0, 1, 1);
    EXPECT_NEAR(r.Foot.X, 0.5, 1e-12);
    EXPECT_NEAR(r.Foot.Y, 0.5, 1e-12);
    EXPECT_TRUE(r.OnSegment);
    EXPECT_NEAR(r.Dist, std::sqrt(0.5), 1e-12);
    // By hand: the foot of (0, 5) on the line through (0, 0) and (2, 1) is (2, 1).
    const TPoint2D f = FootPoint(0, 0, 2, 1, 0, 5);
    EXPECT_NEAR(f.X, 2, 1e-12);
    EXPECT_NEAR(f.Y, 1, 1e-12);
    // A vertical and a horizontal line, and a line of one point (answers that point).
    EXPECT_EQ(FootPoint(3, 0, 3, 9, 7, 4).X, 3);
    EXPECT_EQ(FootPoint(0, 2, 9, 2, 7, 4).Y, 2);
    const TPoint2D same = FootPoint(4, 4, 4, 4, 0, 9);
    EXPECT_EQ(same.X, 4);
    EXPECT_EQ(same.Y, 4);
    EXPECT_FALSE(PerpendicularFoot(5, 5, 0, 0, 1, 0).OnSegment);
}

TEST(PlaneGeometry, Intersections)
{
    EXPECT_TRUE(LineIntersection(2, 1, 2, 5).Fail);
    const Intersection i = LineIntersection(1, 0, -1, 4);
    EXPECT_FALSE(i.Fail);
    EXPECT_DOUBLE_EQ(i.X, 2);
    EXPECT_DOUBLE_EQ(i.Y, 2);
    const SegmentCrossing s = SegmentIntersection({0, 0}, {4, 4}, {0, 4}, {4, 0});
    EXPECT_FALSE(s.Fail);
    EXPECT_NEAR(s.X, 2, 1e-12);
    EXPECT_TRUE(s.OnFirst && s.OnSecond);
    const SegmentCrossing v = SegmentIntersection({1, -5}, {1, 5}, {-3, 2}, {3, 2});   // one vertical
    EXPECT_FALSE(v.Fail);
    EXPECT_DOUBLE_EQ(v.X, 1);
    EXPECT_DOUBLE_EQ(v.Y, 2);
    EXPECT_TRUE(SegmentIntersection({1, 0}, {1, 5}, {2, 0}, {2, 5}).Fail);   // both vertical
    EXPECT_FALSE(SegmentIntersection({0, 0}, {1, 1}, {5, 0}, {6, -1}).OnFirst);
}

// The reference: half-open crossing count, valid for points off the boundary.
bool referenceInside(const std::vector<TPoint2D>& p, double x, double y)
{
    bool inside = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        if ((p[i].Y > y) != (p[j].Y > y) && x < (p[j].X - p[i].X) * (y - p[i].Y) / (p[j].Y - p[i].Y) + p[i].X)
            inside = !inside;
    return inside;
}

bool onBoundary(const std::vector<TPoint2D>& p, double x, double y)
{
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        const double cross = (p[i].X - p[j].X) * (y - p[j].Y) - (p[i].Y - p[j].Y) * (x - p[j].X);
        if (std::abs(cross) < 1e-9 && x >= std::min(p[i].X, p[j].X) - 1e-9 && x <= std::max(p[i].X, p[j].X) + 1e-9
            && y >= std::min(p[i].Y, p[j].Y) - 1e-9 && y <= std::max(p[i].Y, p[j].Y) + 1e-9)
            return true;
    }
    return false;
}

TEST(PointInPolygon, MatchesTheReferenceOnGridPolygonsWithVerticesOnTheRay)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> grid(0, 8);
    int checked = 0;
    for (int n = 0; n < 3000; ++n) {
        std::vector<TPoint2D> ring;
        const int count = 3 + static_cast<int>(rng() % 8);
        for (int k = 0; k < count; ++k)
            ring.push_back({double(grid(rng)), double(grid(rng))});
        // Points on grid rows, so vertices lie on the ray, including the first one.
        for (int t = 0; t < 10; ++t) {
            const double x = grid(rng) + 0.5, y = grid(rng);
            if (onBoundary(ring, x, y))
                continue;
            ++checked;
            ASSERT_EQ(PointInPolygon(ring, x, y), referenceInside(ring, x, y)) << n << " " << x << "," << y;
        }
    }
    EXPECT_GT(checked, 20000);
}

TEST(PointInPolygon, RunWrappingRoundTheStartCountsOnceAndNearVerticalEdgesCount)
{
    // The ring starts on the ray's line (y = 5) and its run wraps round the start.
    const std::vector<TPoint2D> wrap{{2, 5}, {0, 10}, {10, 10}, {10, 0}, {0, 0}, {4, 5}};
    EXPECT_TRUE(PointInPolygon(wrap, 5, 5) == referenceInside(wrap, 5, 5));
    EXPECT_FALSE(PointInPolygon(std::vector<TPoint2D>{{0, 0}, {1, 1}}, 0.5, 0.5));
    const std::vector<TPoint2D> sliver{{0, 0}, {1e-7, 1000}, {1, 1000}, {1, 0}};
    EXPECT_TRUE(PointInPolygon(sliver, 0.5, 500));
    EXPECT_FALSE(PointInPolygon(sliver, -0.5, 500));
}

} // namespace
