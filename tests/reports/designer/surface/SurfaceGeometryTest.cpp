#include "reports/designer/surface/SurfaceGeometry.h"

#include "reports/designer/DesignerTypes.h"
#include "reports/designer/surface/ElementGrid.h"

#include <gtest/gtest.h>

#include <limits>

using namespace reports::designer;

TEST(SurfaceGeometry, HandlesByZoneLaterBoxesWin)
{
    const QSize size(20, 20);
    const std::pair<QPoint, int> cases[] = {
        {{0, 0}, 1}, {{9, 2}, 2}, {{19, 0}, 3}, {{2, 9}, 4}, {{16, 10}, 5}, {{0, 19}, 6},
        {{10, 17}, 7}, {{19, 19}, 8}, {{10, 10}, 0}, {{5, 0}, 0}, {{20, 20}, 0},
    };
    for (const auto& [p, zone] : cases) EXPECT_EQ(zoneAt(p, size, false), zone) << p.x() << "," << p.y();
    EXPECT_EQ(zoneAt({0, 0}, size, true), 0);
    // A 5 x 5 element: every handle covers it, the bottom right wins.
    EXPECT_EQ(zoneAt({2, 2}, {5, 5}, false), 8);
}

TEST(SurfaceGeometry, DragResizesPastTheOppositeCornerToThreeByThree)
{
    const DragStart start{{100, 50, 40, 30}, 8, 800, 200};
    EXPECT_EQ(dragStep(start, {-200, -150}, 1.0, {}), QRect(100, 50, 3, 3));
    // The left handle past the right edge keeps the right edge.
    const DragStart left{{100, 50, 40, 30}, 4, 800, 200};
    EXPECT_EQ(dragStep(left, {90, 5}, 1.0, {}), QRect(137, 50, 3, 30));
    // The top handle above the band keeps the bottom edge.
    const DragStart top{{100, 50, 40, 30}, 2, 800, 200};
    EXPECT_EQ(dragStep(top, {0, -70}, 1.0, {}), QRect(100, 0, 40, 80));
}

TEST(SurfaceGeometry, DragLimitsAtBandEdgesAndZero)
{
    // Resizing stops at the band's right and bottom edges.
    EXPECT_EQ(dragStep({{700, 150, 50, 20}, 8, 800, 200}, {300, 300}, 1.0, {}), QRect(700, 150, 100, 50));
    // A move never goes below 0 and is not held at the right or bottom.
    EXPECT_EQ(dragStep({{10, 10, 50, 20}, 0, 800, 200}, {-30, -40}, 1.0, {}), QRect(0, 0, 50, 20));
    EXPECT_EQ(dragStep({{700, 150, 50, 20}, 0, 800, 200}, {300, 300}, 1.0, {}), QRect(1000, 450, 50, 20));
    // Zone 1 past both edges of the band's corner.
    EXPECT_EQ(dragStep({{10, 10, 50, 20}, 1, 800, 200}, {-30, -40}, 1.0, {}), QRect(0, 0, 60, 30));
}

TEST(SurfaceGeometry, DragDeltaRoundsHalvesToEvenAndSnapsInRasterSteps)
{
    const DragStart start{{100, 100, 40, 30}, 0, 800, 400};
    // 5 and 7 pixels at zoom 2 are 2.5 and 3.5 units: 2 and 4.
    EXPECT_EQ(dragStep(start, {5, 7}, 2.0, {}), QRect(102, 104, 40, 30));
    const Raster raster{5, 10, true, true};
    EXPECT_EQ(dragStep(start, {7, 14}, 1.0, raster), QRect(105, 110, 40, 30));
    EXPECT_EQ(dragStep(start, {8, 16}, 1.0, raster), QRect(110, 120, 40, 30));
    const Raster shown{5, 10, true, false};
    EXPECT_EQ(dragStep(start, {7, 14}, 1.0, shown), QRect(107, 114, 40, 30));
}

TEST(SurfaceGeometry, OthersOfAMultiDragStayAtZeroOrMore)
{
    EXPECT_EQ(followDrag({30, 40, 10, 10}, {-50, 5}), QRect(0, 45, 10, 10));
    EXPECT_EQ(followDrag({30, 40, 10, 10}, {5, -41}), QRect(35, 0, 10, 10));
}

TEST(SurfaceGeometry, KeyboardMovesAndResizesKeepTheBand)
{
    EXPECT_EQ(keyboardMove({5, 5, 20, 10}, -10, 2.5, 100, 50), QRect(0, 7, 20, 10));
    EXPECT_EQ(keyboardMove({75, 35, 20, 10}, 10, 10, 100, 50), QRect(80, 40, 20, 10));
    EXPECT_EQ(keyboardResize({10, 10, 5, 5}, -10, -3, 100, 50), QRect(10, 10, 3, 3));
    EXPECT_EQ(keyboardResize({90, 30, 5, 5}, 20, 30, 100, 50), QRect(90, 30, 10, 20));
}

TEST(SurfaceGeometry, BandHeightsInPixelsAndDragged)
{
    EXPECT_EQ(bandPixelHeight(100, 1.0), 116);
    EXPECT_EQ(bandPixelHeight(5, 0.5), 18);     // 2.5 rounds to 2
    EXPECT_EQ(bandPixelHeight(7, 0.5), 20);     // 3.5 rounds to 4
    EXPECT_EQ(bandHeightDrag(50, -100, 1.0, {}), minBandHeight);
    EXPECT_EQ(bandHeightDrag(50, 13, 2.0, {}), 56);
    const Raster raster{10, 10, true, true};
    EXPECT_EQ(bandHeightDrag(50, 14, 1.0, raster), 60);
    EXPECT_EQ(bandHeightDrag(50, 16, 1.0, raster), 70);
    EXPECT_EQ(bandHeightDrag(50, -38, 1.0, raster), minBandHeight);
}

TEST(SurfaceGeometry, ThreeGroupsStackAroundTheBody)
{
    const std::vector<int> expected{0, 1, 5, 7, 9, 2, 10, 8, 6, 3, 4};
    EXPECT_EQ(stackingOrder(11), expected);
    EXPECT_EQ(stackingOrder(5), (std::vector<int>{0, 1, 2, 3, 4}));

    // Hidden bands take no height.
    std::vector<int> heights{10, 20, 30, 40, 50, 60, 70};
    std::vector<bool> visible{true, false, true, true, true, true, true};
    int total = 0;
    const std::vector<int> tops = stackBands(heights, visible, total);
    EXPECT_EQ(tops, (std::vector<int>{0, 10, 70, 170, 210, 10, 100}));
    EXPECT_EQ(total, 260);
}

// Model values at the engine's bounds, zoomed and summed over the 515 bands of 255 groups,
// stay within pixel bounds where int sums cannot overflow.
TEST(SurfaceGeometry, HugeValuesStayWithinThePixelBounds)
{
    constexpr int most = std::numeric_limits<int>::max(), least = std::numeric_limits<int>::min();
    EXPECT_EQ(toPixels(100000000, 3.0), 300000000);
    EXPECT_EQ(toPixels(most, 3.0), maxPixels);
    EXPECT_EQ(toPixels(least, 3.0), -maxPixels);
    EXPECT_EQ(toModel(most, 0.32), maxPixels);
    EXPECT_EQ(toPixels(QRect(least, 0, most, 10), 3.0), QRect(-maxPixels, 0, maxPixels, 30));

    const std::vector<int> heights(515, bandPixelHeight(100000000, 3.0));
    int total = 0;
    const std::vector<int> tops = stackBands(heights, std::vector<bool>(515, true), total);
    EXPECT_EQ(tops[1], 300000016);
    EXPECT_EQ(tops[4], maxPixels);
    EXPECT_EQ(total, maxPixels);
    EXPECT_EQ(columnWidth(100000000, 2, most), (100000000 + (long long)most) / 2);

    EXPECT_EQ(keyboardMove({2000000000, 0, 100000000, 10}, 200000000, 0, 100, 50), QRect(-99999900, 0, 100000000, 10));
    EXPECT_EQ(keyboardResize({10, 0, 2000000000, 10}, 200000000, 0, most, 50), QRect(10, 0, maxPixels, 10));
}

TEST(SurfaceGeometry, ColumnsTabsAndRubberBand)
{
    EXPECT_EQ(columnWidth(700, 1, 50), 700);
    EXPECT_EQ(columnWidth(700, 3, 50), 250);
    EXPECT_EQ(tabAt(0, 3, 90), 1);
    EXPECT_EQ(tabAt(59, 3, 90), 2);
    EXPECT_EQ(tabAt(89, 3, 90), 3);
    EXPECT_EQ(tabAt(200, 3, 90), 3);
    EXPECT_EQ(tabAt(-5, 3, 90), 1);

    EXPECT_EQ(rubberRect({40, 30}, {10, 5}, 2.0), QRect(5, 2, 15, 13));
    EXPECT_TRUE(overlaps({0, 0, 10, 10}, {9, 9, 5, 5}));
    EXPECT_FALSE(overlaps({0, 0, 10, 10}, {10, 0, 5, 5}));
    EXPECT_FALSE(overlaps({0, 0, 10, 10}, {3, 3, 0, 0}));
}

TEST(SurfaceGeometry, CursorsOverElementsAndBands)
{
    EXPECT_EQ(elementCursor(true, true, true, 8), SurfaceCursor::NoDrop);
    EXPECT_EQ(elementCursor(false, true, true, 8), SurfaceCursor::MultiDrag);
    EXPECT_EQ(elementCursor(false, false, false, 8), SurfaceCursor::Arrow);
    EXPECT_EQ(elementCursor(false, false, true, 3), SurfaceCursor::SizeNESW);
    EXPECT_EQ(elementCursor(false, false, true, 0), SurfaceCursor::Drag);
    // A two-column body: no drop right of the first column; the strip splits right of its tabs.
    EXPECT_EQ(bandSpot({300, 10}, 116, 250, 0), BandSpot::NoDrop);
    EXPECT_EQ(bandSpot({200, 10}, 116, 250, 0), BandSpot::Area);
    EXPECT_EQ(bandSpot({300, 10}, 116, 0, 0), BandSpot::Area);
    EXPECT_EQ(bandSpot({40, 100}, 116, 0, 60), BandSpot::Tabs);
    EXPECT_EQ(bandSpot({60, 100}, 116, 0, 60), BandSpot::Split);
    EXPECT_EQ(bandCursor(BandSpot::Split), SurfaceCursor::SplitV);
}

TEST(SurfaceGeometry, GridFindsElementsNearAnArea)
{
    ElementGrid grid;
    grid.build({{0, 0, 10, 10}, {300, 100, 10, 10}, {1000, 500, 10, 10}, {0, 0, 800, 200}}, 800, 200);
    EXPECT_EQ(grid.near({290, 90, 5, 5}), (std::vector<int>{1, 3}));
    // Beyond the band's edge: the edge cells.
    EXPECT_EQ(grid.near({790, 190, 5, 5}), (std::vector<int>{2, 3}));
    EXPECT_TRUE(grid.near({5, 5, 0, 0}).empty());
}
