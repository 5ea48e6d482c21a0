// Tests of segment and polyline clipping against a pixel rectangle.
#include "graphics/geometry/LineClipping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

const PixelRect square{0, 0, 100, 100};

// Liang-Barsky on the rectangle [L, R] x [T, B] in doubles: the visible part or false.
bool liangBarsky(const PixelRect& r, double& x1, double& y1, double& x2, double& y2)
{
    const double dx = x2 - x1, dy = y2 - y1;
    double t0 = 0, t1 = 1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x1 - r.Left, r.Right - x1, y1 - r.Top, r.Bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    const double ax = x1 + t0 * dx, ay = y1 + t0 * dy;
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 = ax;
    y1 = ay;
    return true;
}

TEST(ClipSegment, CrossingInsideOutsideAndAxisParallelCases)
{
    ClippedSegment s = ClipSegment(square, -50, 50, 150, 50);
    ASSERT_TRUE(s.Visible);
    EXPECT_EQ(std::min(s.x1, s.x2), 0);
    EXPECT_EQ(std::max(s.x1, s.x2), 100);
    EXPECT_EQ(s.y1, 50);
    EXPECT_FALSE(ClipSegment(square, -50, 10, -10, 90).Visible);
    s = ClipSegment(square, 10, 20, 30, 40);
    EXPECT_TRUE(s.Visible);
    EXPECT_EQ((PixelPoint{s.x1, s.y1}), (PixelPoint{10, 20}));
    EXPECT_EQ((PixelPoint{s.x2, s.y2}), (PixelPoint{30, 40}));
    s = ClipSegment(square, 50, -20, 50, 300);   // vertical
    EXPECT_TRUE(s.Visible);
    EXPECT_EQ(std::min(s.y1, s.y2), 0);
    EXPECT_EQ(std::max(s.y1, s.y2), 100);
    s = ClipSegment(square, -10, -10, 10, 10);   // through the corner
    EXPECT_TRUE(s.Visible);
    EXPECT_EQ(std::min(s.x1, s.x2), 0);
    s = ClipSegment(square, 100, -5, 100, 5);   // on the right edge, which belongs to the rectangle
    EXPECT_TRUE(s.Visible);
    EXPECT_FALSE(ClipSegment(square, 120, 120, 120, 120).Visible);   // a point outside
    EXPECT_FALSE(ClipSegment(square, NAN, 0, 10, 10).Visible);
    const LineVisibilityResult v = LineVisibility(square, -5, 50, 50, 50);
    EXPECT_TRUE(v.Partial);
    EXPECT_FALSE(v.Inside);
}

TEST(ClipSegment, MatchesLiangBarskyAndAlwaysEnds)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> coord(-300, 400);
    const PixelRect r{-20, 10, 170, 90};
    int visible = 0;
    for (int i = 0; i < 20000; ++i) {
        double x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
        if (i % 10 == 0)
            x2 = x1;   // vertical
        if (i % 10 == 1)
            y2 = y1;   // horizontal
        const ClippedSegment s = ClipSegment(r, x1, y1, x2, y2);
        double a = x1, b = y1, c = x2, d = y2;
        const bool ref = liangBarsky(r, a, b, c, d);
        if (s.Visible != ref) {
            // Outcodes are taken on rounded ends, so a segment within half a pixel of the
            // rectangle may go either way; any other disagreement is a fault.
            double e = x1, f = y1, g = x2, h = y2;
            const PixelRect wider{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
            double e2 = x1, f2 = y1, g2 = x2, h2 = y2;
            const PixelRect narrower{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
            ASSERT_TRUE(liangBarsky(wider, e, f, g, h) && !liangBarsky(narrower, e2, f2, g2, h2))
                << x1 << "," << y1 << " " << x2 << "," << y2;
        }
        if (!s.Visible || !ref)
            continue;
        ++visible;
        // The clipped ends lie on the segment's line; the exact visible part lies within the
        // clipped one (rounded outcodes may keep up to half a pixel more beside the rectangle).
        const double len = std::hypot(x2 - x1, y2 - y1);
        const double ux = (x2 - x1) / len, uy = (y2 - y1) / len;
        auto offLine = [&](double px, double py) { return std::abs((px - x1) * uy - (py - y1) * ux); };
        auto along = [&](double px, double py) { return (px - x1) * ux + (py - y1) * uy; };
        ASSERT_LE(offLine(s.x1, s.y1), 1.0);
        ASSERT_LE(offLine(s.x2, s.y2), 1.0);
        const double lo = std::min(along(s.x1, s.y1), along(s.x2, s.y2));
        const double hi = std::max(along(s.x1, s.y1), along(s.x2, s.y2));
        ASSERT_GE(along(a, b), lo - 1.0) << x1 << "," << y1 << " " << x2 << "," << y2;
        ASSERT_LE(along(c, d), hi + 1.0) << x1 << "," << y1 << " " << x2 << "," << y2;
        ASSERT_GE(s.x1, r.Left);
        ASSERT_LE(s.x1, r.Right);
        ASSERT_GE(s.y2, r.Top);
        ASSERT_LE(s.y2, r.Bottom);
    }
    EXPECT_GT(visible, 1000);
}

TEST(ClipPolyline, RunsSplitWhereTheLineLeaves)
{
    const std::vector<PixelPointF> points{{10, 10}, {300, 10}, {300, 80}, {10, 80}};
    const auto runs = ClipPolylineRuns(square, points);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (std::vector<PixelPoint>{{10, 10}, {100, 10}}));
    EXPECT_EQ(runs[1], (std::vector<PixelPoint>{{100, 80}, {10, 80}}));
    EXPECT_TRUE(ClipPolylineRuns(square, {{5, 5}}).empty());
}

} // namespace
