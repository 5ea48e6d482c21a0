// Tests of the canvas and bitmap devices: polygons, areas with holes, polylines, lines, rotation.
#include "graphics/devices/CanvasDevice.h"

#include "graphics/devices/BorderBuffer.h"
#include "graphics/support/GraphicsTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

namespace {

using gtest_support::countPixels;
using gtest_support::imageDevice;
using gtest_support::ring;

constexpr QRgb black = qRgb(0, 0, 0);
constexpr QRgb white = qRgb(255, 255, 255);

// A device on which one world metre is one pixel (the scale equals the resolution) and world
// (x, y) lies on pixel (x, h - y).
Owned<TBitmapDevice> pixelDevice(int w = 100, int h = 100)
{
    auto d = imageDevice(w, h, 1, 0, 0);
    d->Projection()->Recalc(w / 2.0, h / 2.0, d->Page(), d->Page()->HRes());
    return d;
}

// World point of pixel (px, py) on pixelDevice.
std::pair<double, double> at(int px, int py, int h = 100)
{
    return {double(px), double(h - py)};
}

TEST(CanvasDevice, PolygonFillLeavesOutItsRightAndBottomEdgeWhichThePenDraws)
{
    auto d = pixelDevice();
    auto square = ring({at(10, 10), at(20, 10), at(20, 20), at(10, 20)});
    d->SetPen(Qt::NoPen);
    d->DrawPolygon(square.get());
    EXPECT_EQ(gtest_support::boundsOf(*d->Bitmap(), black), QRect(10, 10, 10, 10));
    d->SetPen(QPen(Qt::black, 0));
    d->DrawPolygon(square.get());
    EXPECT_EQ(gtest_support::boundsOf(*d->Bitmap(), black), QRect(10, 10, 11, 11));
}

TEST(CanvasDevice, PolylineOnOnePixelDrawsNothing)
{
    auto d = pixelDevice();
    auto line = ring<TPolyLineElement>({{10.0, 10.0}, {10.1, 10.1}, {10.2, 10.0}});
    d->DrawPolyline(line.get());
    EXPECT_EQ(countPixels(*d->Bitmap(), black), 0);
    EXPECT_TRUE(ProjectCoordinates(*d->Projection(), *line, false).Points.size() == 1);
}

TEST(CanvasDevice, HolesKeepTheBackgroundAndAnEmptyHolesContainerDrawsAPlainPolygon)
{
    auto d = pixelDevice();
    auto outer = ring({at(10, 10), at(60, 10), at(60, 60), at(10, 60)});
    auto hole = ring({at(20, 20), at(40, 20), at(40, 40), at(20, 40)});
    outer->AddHole(hole.release());
    d->SetPen(Qt::NoPen);
    d->DrawArea(outer.get());
    const QImage& img = *d->Bitmap();
    EXPECT_TRUE(gtest_support::isBlack(img, 15, 15));
    EXPECT_FALSE(gtest_support::isBlack(img, 30, 30));
    EXPECT_EQ(countPixels(img, black), 50 * 50 - 20 * 20);

    auto d2 = pixelDevice();
    auto lone = ring({at(10, 10), at(60, 10), at(60, 60), at(10, 60)});
    lone->AddHole(ring({at(20, 20), at(40, 20), at(40, 40)}).release());
    lone->Holes()->Clear();
    d2->SetPen(Qt::NoPen);
    d2->DrawArea(lone.get());
    EXPECT_EQ(countPixels(*d2->Bitmap(), black), 50 * 50);
}

TEST(CanvasDevice, PolygonCutByTheClipRectangleStaysInside)
{
    auto d = pixelDevice();
    d->Page()->SetClipRect({0, 0, 50, 50});
    d->SetPen(Qt::NoPen);
    auto big = ring({at(-1000, -1000), at(1000, -1000), at(1000, 1000), at(-1000, 1000)});
    d->DrawPolygon(big.get());
    EXPECT_EQ(gtest_support::boundsOf(*d->Bitmap(), black), QRect(0, 0, 50, 51));
}

TEST(CanvasDevice, PolylineLeavingTheClipIsNotClosedAlongTheEdge)
{
    auto d = pixelDevice();
    d->Page()->SetClipRect({0, 0, 50, 99});
    // In, far out to the right, back in lower down.
    auto line = ring<TPolyLineElement>({at(10, 10), at(300, 10), at(300, 80), at(10, 80)});
    d->DrawPolyline(line.get());
    const QImage& img = *d->Bitmap();
    // Only where the two horizontal legs cross x = 50.
    EXPECT_EQ(countPixels(img, black, QRect(50, 0, 1, 100)), 2);
    EXPECT_EQ(countPixels(img, black, QRect(51, 0, 49, 100)), 0);
    EXPECT_EQ(countPixels(img, black, QRect(10, 10, 41, 1)), 41);
}

TEST(CanvasDevice, EdgesStayStraightFarBeyondThePage)
{
    // 1:50 puts the far vertex about 7.5 million pixels away; the old clamp at 32000 bent the
    // edge towards it.
    auto d = imageDevice(400, 400, 50, 0, 0);
    d->SetPen(Qt::NoPen);
    auto wedge = ring({{0.0, 0.0}, {100000.0, 10000.0}, {100000.0, 0.0}});
    d->DrawPolygon(wedge.get());
    const QImage& img = *d->Bitmap();
    // The edge from the centre rises one row per ten columns: row 200 - k is filled from
    // about column 200 + 10k - 5 on (the clamped vertex made it rise almost one per column).
    for (int k = 1; k < 20; k += 3) {
        EXPECT_FALSE(gtest_support::isBlack(img, 200 + 10 * k - 8, 200 - k)) << k;
        EXPECT_TRUE(gtest_support::isBlack(img, 200 + 10 * k + 3, 200 - k)) << k;
    }
}

TEST(CanvasDevice, LinesClipButMoveThePen)
{
    auto d = pixelDevice();
    d->Page()->SetClipOn(true);
    d->Page()->SetClipRect({0, 0, 50, 50});
    const auto [x0, y0] = at(60, 60);
    const auto [x1, y1] = at(90, 70);
    d->MoveTo(x0, y0);
    d->LineTo(x1, y1);
    EXPECT_EQ(countPixels(*d->Bitmap(), black), 0);
    EXPECT_EQ(d->PenPosition(), (PixelPoint{90, 70}));
    const auto [x2, y2] = at(10, 10);
    d->LineTo(x2, y2);
    EXPECT_GT(countPixels(*d->Bitmap(), black), 30);
    EXPECT_EQ(countPixels(*d->Bitmap(), black, QRect(51, 0, 49, 100)), 0);
}

TEST(CanvasDevice, LineToTheSamePixelDrawsOnce)
{
    auto d = pixelDevice();
    d->Bitmap()->fill(Qt::black);
    d->Canvas()->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    d->SetPen(QPen(Qt::white, 0));
    const auto [x0, y0] = at(10, 10);
    const auto [x1, y1] = at(30, 10);
    d->MoveTo(x0, y0);
    d->LineTo(x1, y1);
    d->LineTo(x1 + 0.2, y1 + 0.2);   // rounds to the same pixel: drawing it again would flip it back
    EXPECT_EQ(d->Bitmap()->pixel(30, 10) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(d->Bitmap()->pixel(20, 10) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(CanvasDevice, RotatedLinesAndAreasCoincide)
{
    for (const bool filled : {false, true}) {
        auto d = pixelDevice(200, 200);
        d->Projection()->SetAngle(std::numbers::pi / 6);
        auto shape = filled ? ring({at(60, 60, 200), at(140, 60, 200), at(140, 100, 200), at(60, 100, 200)})
                            : Owned<TAreaElement>();
        auto line = ring<TPolyLineElement>({at(60, 60, 200), at(140, 60, 200), at(140, 100, 200), at(60, 100, 200),
                                            at(60, 60, 200)});
        if (filled) {
            d->SetPen(Qt::NoPen);
            d->DrawPolygon(shape.get());
        } else {
            d->DrawPolyline(line.get());
        }
        static QRect outline;
        const QRect bounds = gtest_support::boundsOf(*d->Bitmap(), black);
        if (!filled) {
            outline = bounds;
            continue;
        }
        // The filled area leaves out one row and column of its outline at most.
        EXPECT_LE(std::abs(bounds.left() - outline.left()), 1);
        EXPECT_LE(std::abs(bounds.top() - outline.top()), 1);
        EXPECT_LE(std::abs(bounds.right() - outline.right()), 1);
        EXPECT_LE(std::abs(bounds.bottom() - outline.bottom()), 1);
        // Turned by 30 degrees the 80 x 40 rectangle is wider than it is tall by less.
        EXPECT_GT(bounds.height(), 40 + 20);
    }
}

TEST(CanvasDevice, ClearFillsThePageColourAndRectanglesKeepTheirEdges)
{
    auto d = pixelDevice();
    d->Page()->SetColor(0x0000FF);   // red as 0x00BBGGRR
    d->Clear();
    EXPECT_EQ(countPixels(*d->Bitmap(), qRgb(255, 0, 0)), 100 * 100);
    d->SetBrush(QBrush(Qt::black));
    const auto [x1, y1] = at(10, 30);
    const auto [x2, y2] = at(30, 10);
    d->FillRect({x1, y1, x2, y2});
    EXPECT_EQ(gtest_support::boundsOf(*d->Bitmap(), black), QRect(10, 10, 20, 20));
}

TEST(CanvasDevice, AdjustPageTakesTheWholeImageAndItsResolution)
{
    auto d = imageDevice(300, 200, 1000, 0, 0);
    EXPECT_EQ(d->Page()->PageRect(), (PixelRect{0, 0, 300, 200}));
    EXPECT_NEAR(d->Page()->HRes(), 3780, 1);
    EXPECT_EQ(d->Projection()->WorldToPixelX(0), 150);
    EXPECT_EQ(d->Projection()->WorldToPixelY(0), 100);
}

TEST(CanvasDevice, EntityWithoutARectangleIsStillClippedAndLargeEntitiesAreDrawn)
{
    auto d = pixelDevice();
    d->Page()->SetClipRect({0, 0, 50, 50});
    d->SetPen(Qt::NoPen);
    // Coordinates added without extending the rectangle: it stays empty.
    auto big = Create<TAreaElement>();
    for (const auto& [x, y] : {at(-500, -500), at(500, -500), at(500, 500), at(-500, 500)})
        big->Add(Create<T2DCoordinate>(x, y).release());
    ASSERT_FALSE(big->IsValid());
    d->DrawPolygon(big.get());
    EXPECT_EQ(gtest_support::boundsOf(*d->Bitmap(), black), QRect(0, 0, 50, 51));

    // More points than the original's 2,500,000-byte buffer held.
    auto many = Create<TPolyLineElement>();
    for (int i = 0; i < 320000; ++i)
        many->Add(Create<T2DCoordinate>(10 + (i % 2) * 0.5, 10 + i * 1e-4).release());
    EXPECT_EQ(ProjectCoordinates(*d->Projection(), *many, false).Exact.size() > 1, true);
}

TEST(CanvasDevice, ExtremeAndNonFiniteCoordinatesDrawOnlyWhatHasAPlace)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    auto d = pixelDevice();
    // Corners two thousand million pixels out: the width once overflowed and nothing was drawn.
    d->FillRect({-2e9, -2e9, 2e9, 2e9});
    EXPECT_EQ(countPixels(*d->Bitmap(), black), 100 * 100);

    // A corner without a place is left out: the square draws as the triangle of the other three.
    auto triangle = pixelDevice();
    triangle->SetPen(Qt::NoPen);
    triangle->DrawPolygon(ring({at(20, 20), at(80, 20), at(80, 80)}).get());
    ASSERT_GT(countPixels(*triangle->Bitmap(), black), 1000);
    for (const auto& [x, y] : {std::pair{nan, nan}, {nan, 50.0}, {inf, -inf}, {-inf, 50.0}}) {
        auto square = pixelDevice();
        square->SetPen(Qt::NoPen);
        square->DrawPolygon(ring({at(20, 20), at(80, 20), {x, y}, at(80, 80)}).get());
        EXPECT_EQ(gtest_support::differingPixels(*square->Bitmap(), *triangle->Bitmap()), 0) << x << " " << y;
    }

    // Single coordinates are held before they are rounded.
    EXPECT_EQ(d->Projection()->WorldToPixelX(nan), -32000);
    EXPECT_EQ(d->Projection()->WorldToPixelY(-inf), 32000);
    d->MoveTo(inf, nan);
    EXPECT_EQ(d->PenPosition(), (PixelPoint{qint32(pixelLimit), -qint32(pixelLimit)}));
}

// Shoelace area of a ring (either orientation).
template<class Points>
double ringArea(const Points& p)
{
    double twice = 0;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        twice += double(p[j].x) * p[i].y - double(p[i].x) * p[j].y;
    return std::abs(twice) / 2;
}

// A convex ring cut to x in [l, r], y in [t, b], exactly (in doubles), one half-plane at a time.
std::vector<PixelPointF> cutConvex(std::vector<PixelPointF> ring, double l, double t, double r, double b)
{
    const auto cut = [&ring](auto inside, auto cross) {
        std::vector<PixelPointF> out;
        for (size_t i = 0; i < ring.size(); ++i) {
            const PixelPointF& p = ring[(i + ring.size() - 1) % ring.size()];
            const PixelPointF& q = ring[i];
            if (inside(q) != inside(p))
                out.push_back(cross(p, q));
            if (inside(q))
                out.push_back(q);
        }
        ring = std::move(out);
    };
    const auto atX = [](double x) {
        return [x](PixelPointF p, PixelPointF q) { return PixelPointF{x, p.y + (q.y - p.y) * (x - p.x) / (q.x - p.x)}; };
    };
    const auto atY = [](double y) {
        return [y](PixelPointF p, PixelPointF q) { return PixelPointF{p.x + (q.x - p.x) * (y - p.y) / (q.y - p.y), y}; };
    };
    cut([l](PixelPointF p) { return p.x >= l; }, atX(l));
    cut([r](PixelPointF p) { return p.x <= r; }, atX(r));
    cut([t](PixelPointF p) { return p.y >= t; }, atY(t));
    cut([b](PixelPointF p) { return p.y <= b; }, atY(b));
    return ring;
}

TEST(BorderBuffer, ClippedTrianglesKeepTheAreaTheyHaveOnThePage)
{
    // One corner on a 1000 x 1000 page, two up to ten million pixels away. The clipped ring
    // lies in [L, R] x [T, B + 1]; its area differs from the exact one only by rounding (each
    // point moves at most half a pixel per axis, so at most one pixel along the perimeter) and
    // by the bottom crossings, which are put one row lower (at most the page's width).
    constexpr int size = 1000;
    auto d = pixelDevice(size, size);
    const PixelRect clip{0, 0, size - 1, size - 1};
    auto buffer = Create<TBorderBuffer>();
    buffer->SetProjection(d->Projection());
    buffer->SetPixelClip(clip);
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> onPage(0, size - 1), far(-1e7, 1e7);
    int cut = 0;
    for (int n = 0; n < 400; ++n) {
        const std::vector<PixelPointF> corners{{onPage(rng), onPage(rng)}, {far(rng), far(rng)}, {far(rng), far(rng)}};
        auto triangle = Create<TAreaElement>();
        for (const PixelPointF& c : corners)
            AddAndExtend(triangle.get(), Create<T2DCoordinate>(c.x, size - c.y).release());
        buffer->SetRectEntity(triangle.get());
        const std::vector<PixelPointF> exact = cutConvex(corners, clip.Left, clip.Top, clip.Right, clip.Bottom + 1);
        double perimeter = 0;
        for (size_t i = 0, j = exact.size() - 1; i < exact.size(); j = i++)
            perimeter += std::hypot(exact[i].x - exact[j].x, exact[i].y - exact[j].y);
        ASSERT_NEAR(ringArea(buffer->Points()), ringArea(exact), perimeter + size) << n;
        cut += buffer->PointNo() > 3;
    }
    EXPECT_GT(cut, 300);
}

TEST(BorderBuffer, TooFewPointsLeaveNoBufferAndInsidePolygonsAreNotClipped)
{
    auto d = pixelDevice();
    auto buffer = Create<TBorderBuffer>();
    buffer->SetProjection(d->Projection());
    buffer->SetPixelClip({0, 0, 100, 100});
    auto two = ring({at(1, 1), at(5, 5)});
    buffer->SetRectEntity(two.get());
    EXPECT_EQ(buffer->PointNo(), 0);
    buffer->SetMinPointNo(2);
    buffer->SetRectEntity(two.get());
    EXPECT_EQ(buffer->PointNo(), 2);
    EXPECT_EQ(buffer->BufferSize(), 16);
    auto inside = ring({at(1, 1), at(5, 5), at(1, 9)});
    buffer->SetRectEntity(inside.get());
    EXPECT_EQ(buffer->Points(), (std::vector<PixelPoint>{{1, 1}, {5, 5}, {1, 9}}));
}

} // namespace
