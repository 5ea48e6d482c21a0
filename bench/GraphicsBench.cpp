// Timings of the graphics road: segment projection and clipping, polygons drawn through the devices
// against a plain QPainter loop on the same projected points.
#include "graphics/devices/CanvasDevice.h"
#include "graphics/geometry/LineClipping.h"
#include "graphics/space/PolyElements.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int segmentCount = 1'000'000;
constexpr int polygonCount = 100'000;
constexpr int pageWidth = 4000;
constexpr int pageHeight = 3000;
constexpr double scale = 5000;   // 1:5000

// A world of 6 km by 4 km around (0, 0); a page of 4000 x 3000 pixels at 96 dpi shows about
// 5.3 km by 4 km of it at 1:5000, so some figures cross the page's edges.
struct Scene {
    std::vector<Owned<TAreaElement>> areas;
    std::vector<std::vector<QPoint>> projected;
};

Owned<TBitmapDevice> pageDevice(QImage& image)
{
    auto device = Create<TBitmapDevice>();
    device->SetBitmap(&image);
    device->Projection()->Recalc(0, 0, device->Page(), scale);
    device->SetPen(QPen(Qt::black, 0));
    device->SetBrush(QBrush(Qt::darkGreen));
    return device;
}

Scene& scene()
{
    static Scene s = [] {
        Scene made;
        std::mt19937 rng(2024);
        std::uniform_real_distribution<double> centre(-3000, 3000);
        std::uniform_real_distribution<double> offset(-15, 15);
        QImage probe(pageWidth, pageHeight, QImage::Format_RGB32);
        auto device = pageDevice(probe);
        for (int i = 0; i < polygonCount; ++i) {
            auto area = Create<TAreaElement>();
            const double cx = centre(rng), cy = centre(rng) * 2 / 3;
            std::vector<QPoint> points;
            for (int k = 0; k < 6; ++k) {
                const double x = cx + offset(rng), y = cy + offset(rng);
                AddAndExtend(area.get(), Create<T2DCoordinate>(x, y).release());
                const PixelPointF f = device->Projection()->WorldToPixelF(x, y);
                points.emplace_back(qRound(f.x), qRound(f.y));
            }
            made.areas.push_back(std::move(area));
            made.projected.push_back(std::move(points));
        }
        return made;
    }();
    return s;
}

void ClipAndProjectSegments(benchmark::State& state)
{
    QImage probe(pageWidth, pageHeight, QImage::Format_RGB32);
    auto device = pageDevice(probe);
    const TPageProjection& p = *device->Projection();
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-4000, 4000);
    std::vector<double> ends(segmentCount * 4);
    for (double& v : ends)
        v = coord(rng);
    const PixelRect clip = device->Page()->ClipRect();
    for (auto _ : state) {
        qint64 visible = 0;
        for (int i = 0; i < segmentCount; ++i) {
            const double* e = &ends[static_cast<size_t>(i) * 4];
            const PixelPointF a = p.WorldToPixelF(e[0], e[1]);
            const PixelPointF b = p.WorldToPixelF(e[2], e[3]);
            visible += ClipSegment(clip, a.x, a.y, b.x, b.y).Visible;
        }
        benchmark::DoNotOptimize(visible);
    }
    state.SetItemsProcessed(state.iterations() * segmentCount);
}

void PolygonsThroughDevice(benchmark::State& state)
{
    Scene& s = scene();
    QImage image(pageWidth, pageHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto device = pageDevice(image);
    for (auto _ : state)
        for (const Owned<TAreaElement>& area : s.areas)
            device->DrawPolygon(area.get());
    state.SetItemsProcessed(state.iterations() * polygonCount);
}

void PolygonsPlainPainter(benchmark::State& state)
{
    Scene& s = scene();
    QImage image(pageWidth, pageHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(QBrush(Qt::darkGreen));
    for (auto _ : state)
        for (const std::vector<QPoint>& points : s.projected)
            painter.drawPolygon(points.data(), static_cast<int>(points.size()), Qt::OddEvenFill);
    state.SetItemsProcessed(state.iterations() * polygonCount);
}

BENCHMARK(ClipAndProjectSegments)->Unit(benchmark::kMillisecond);
BENCHMARK(PolygonsPlainPainter)->Unit(benchmark::kMillisecond);
BENCHMARK(PolygonsThroughDevice)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
