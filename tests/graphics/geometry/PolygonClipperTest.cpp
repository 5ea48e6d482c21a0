// Tests of the polygon clipper.
#include "graphics/geometry/PolygonClipper.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

const PixelRect rect{0, 0, 100, 100};

std::vector<PixelPoint> clip(std::vector<PixelPoint> points, int* passes = nullptr)
{
    TOrezavacPloch c(rect, std::move(points));
    c.Execute();
    if (passes)
        *passes = c.Passes();
    return c.Result();
}

TEST(PolygonClipper, InsideComesBackUnchangedWithoutAPass)
{
    const std::vector<PixelPoint> square{{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    int passes = -1;
    EXPECT_EQ(clip(square, &passes), square);
    EXPECT_EQ(passes, 0);
}

TEST(PolygonClipper, RightEdgeCutIsClosedAndBottomCrossingsLieOneBelow)
{
    const auto right = clip({{90, 10}, {120, 10}, {120, 20}, {90, 20}});
    EXPECT_EQ(std::count_if(right.begin(), right.end(), [](PixelPoint p) { return p.x == 100; }), 2);
    EXPECT_EQ(right.front(), right.back());
    const auto bottom = clip({{10, 90}, {20, 90}, {20, 120}, {10, 120}});
    ASSERT_FALSE(bottom.empty());
    EXPECT_EQ(bottom.front(), bottom.back());
    EXPECT_EQ(std::count_if(bottom.begin(), bottom.end() - 1, [](PixelPoint p) { return p.y == 101; }), 2);
    EXPECT_TRUE(clip({{110, 10}, {120, 10}, {120, 20}}).empty());
}

TEST(PolygonClipper, FailuresGiveAnEmptyResultAndTooManyPointsRaise)
{
    TOrezavacPloch empty(rect, {});
    empty.Execute();
    EXPECT_TRUE(empty.Failed());
    EXPECT_TRUE(empty.Result().empty());
    EXPECT_THROW(TOrezavacPloch(rect, std::vector<PixelPoint>(maxClipperPoints + 1)), ERangeError);
    EXPECT_EQ(ClampCrossing(3e9), 0x7FFFFFFF);
    EXPECT_EQ(ClampCrossing(-3e9), -0x7FFFFFFF);
}

TEST(PolygonClipper, RandomPolygonsEndInsideTheRectangleAndItsFillRow)
{
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> coord(-200, 300);
    for (int n = 0; n < 2000; ++n) {
        std::vector<PixelPoint> poly;
        const int count = 3 + static_cast<int>(rng() % 10);
        for (int k = 0; k < count; ++k)
            poly.push_back({coord(rng), coord(rng)});
        for (const PixelPoint& p : clip(poly)) {
            ASSERT_GE(p.x, rect.Left);
            ASSERT_LE(p.x, rect.Right);
            ASSERT_GE(p.y, rect.Top);
            ASSERT_LE(p.y, rect.Bottom + 1);
        }
    }
}

} // namespace
