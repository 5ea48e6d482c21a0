// Tests of the tiled bitmap device, the printer device and the device tool.
#include "graphics/devices/TileDevice.h"

#include "framework/core/World.h"
#include "framework/values/TypedValues.h"
#include "graphics/devices/PrintDevice.h"
#include "graphics/space/ObjectRegisters.h"
#include "graphics/support/GraphicsTestSupport.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

using gtest_support::imageDevice;

// A print job onto an image page; `failBegin` refuses the job.
class ImagePrintTarget : public PrintTarget
{
public:
    ImagePrintTarget(QImage* page, int* begun, bool failBegin) : m_page(page), m_begun(begun), m_fail(failBegin) {}
    QSize pageSize() const override { return m_page->size(); }
    QPointF dpi() const override { return {300, 300}; }
    QPaintDevice* begin(const QString&) override
    {
        ++*m_begun;
        return m_fail ? nullptr : m_page;
    }
    void end() override {}

private:
    QImage* m_page;
    int* m_begun;
    bool m_fail;
};

struct PrinterScope {
    QImage page{400, 300, QImage::Format_RGB32};
    int begun = 0;
    explicit PrinterScope(bool failBegin = false)
    {
        page.fill(Qt::white);
        SetPrintTargetFactory([this, failBegin] { return std::make_unique<ImagePrintTarget>(&page, &begun, failBegin); });
    }
    ~PrinterScope() { SetPrintTargetFactory({}); }
};

struct StripRun {
    qint32 count = 0;
    std::vector<int> heights;
    std::vector<int> offsets;
};

StripRun strips(int height)
{
    auto target = imageDevice(50, std::max(height, 1), 1000, 0, 0);
    target->Page()->SetPageRect({0, 0, 50, height});
    auto tiles = Create<TTileDevice>();
    tiles->Prepare(target.get());
    StripRun run;
    run.count = tiles->TileCount();
    while (!tiles->Finished()) {
        run.heights.push_back(tiles->Bitmap()->height());
        run.offsets.push_back(tiles->TileOffset());
        EXPECT_EQ(tiles->Page()->Height(), tiles->Bitmap()->height());
        tiles->NextTile();
    }
    EXPECT_EQ(tiles->Bitmap(), nullptr);
    return run;
}

TEST(TileDevice, EightStripsCoverThePageAndTheLastIsShortened)
{
    StripRun r = strips(1000);
    EXPECT_EQ(r.count, 8);
    EXPECT_EQ(r.heights, std::vector<int>(8, 125));
    r = strips(999);
    EXPECT_EQ(r.count, 8);
    EXPECT_EQ(r.heights.back(), 999 - 7 * 125);
    r = strips(900);
    EXPECT_EQ(r.count, 8);
    EXPECT_EQ(r.heights.front(), 113);
    EXPECT_EQ(r.offsets.back() + r.heights.back(), 900);
    r = strips(3);
    EXPECT_EQ(r.count, 3);
    EXPECT_EQ(r.heights, std::vector<int>(3, 1));
    r = strips(0);
    EXPECT_EQ(r.count, 0);
    EXPECT_TRUE(r.heights.empty());
}

// A device with a page of w x h pixels and no image behind it.
Owned<TDevice> bareTarget(int w, int h, double res, double cx, double cy, double scale)
{
    auto target = Create<TDevice>();
    target->Page()->SetPageRect({0, 0, w, h});
    target->Page()->SetClipRect({0, 0, w, h});
    target->Page()->SetResolution(res, res);
    target->Projection()->Recalc(cx, cy, target->Page(), scale);
    return target;
}

TEST(TileDevice, StripsKeepWithinTheBudgetAndARowBeyondItRaises)
{
    struct Case {
        qint32 width, height;
        qint64 budget;
    };
    // A 200 000 x 200 000 page once got 8 strips of 25 000 rows: 20 GB each.
    for (const Case c : {Case{200000, 200000, defaultTileBudget}, Case{100, 1000, 100 * 40 * 4},
                         Case{5000, 1000, 0}, Case{50, 1000, defaultTileBudget}}) {
        const TTileDevice::StripPlan plan = TTileDevice::PlanStrips(c.width, c.height, c.budget);
        const qint64 limit = c.budget > 0 ? c.budget : lowTileBudget;
        const qint64 rowBytes = qint64(c.width) * 4;
        EXPECT_LE(rowBytes * plan.Height, limit) << c.width << " x " << c.height;
        // Halving once less would break the budget, unless the page's eighth already keeps to it.
        EXPECT_TRUE(rowBytes * (2 * plan.Height) > limit || plan.Height >= c.height / 8) << c.width;
        EXPECT_GE(qint64(plan.Count) * plan.Height, c.height) << c.width;
        EXPECT_LT(qint64(plan.Count - 1) * plan.Height, c.height) << c.width;
    }
    EXPECT_EQ(TTileDevice::PlanStrips(50, 1000, defaultTileBudget).Count, 8);
    EXPECT_THROW(TTileDevice::PlanStrips(100, 10, 399), Exception);
    EXPECT_EQ(TTileDevice::PlanStrips(100, 0, defaultTileBudget).Count, 0);
    auto tiles = Create<TTileDevice>();
    tiles->Prepare(nullptr);
    EXPECT_TRUE(tiles->Finished());
}

TEST(TileDevice, PrepareTakesTheBudgetOfTheWorldsRasterSettings)
{
    gtest_support::registerAll();
    auto world = Create<TWorld>();
    auto raster = Create<TStringListElement>();
    raster->SetName("RASTER");
    raster->SetValueByName("MEMORY_TILE", "3000000");
    world->SystemRegister()->Add(raster.release());
    SetGraphicsWorld(world.get());
    auto target = bareTarget(2000, 4000, 1000, 0, 0, 1000);
    auto tiles = Create<TTileDevice>();
    tiles->Prepare(target.get());
    SetGraphicsWorld(nullptr);
    ASSERT_NE(tiles->Bitmap(), nullptr);
    // 8 strips of 500 rows would take 4 000 000 bytes each.
    EXPECT_LE(qint64(tiles->Bitmap()->sizeInBytes()), 3000000);
    EXPECT_EQ(tiles->Bitmap()->height(), TTileDevice::PlanStrips(2000, 4000, 3000000).Height);
    EXPECT_EQ(tiles->TileCount(), TTileDevice::PlanStrips(2000, 4000, 3000000).Count);
}

TEST(TileDevice, EveryStripProjectsExactlyAsItsTarget)
{
    gtest_support::registerAll();
    auto target = bareTarget(300, 1001, 3779.5, -600000.123, -1100000.456, 2880);
    const TPageProjection* whole = target->Projection();
    auto tiles = Create<TTileDevice>();
    tiles->Prepare(target.get());
    int rows = 0;
    while (!tiles->Finished()) {
        const TPageProjection* strip = tiles->Projection();
        const int offset = tiles->TileOffset();
        for (int row = 0; row < tiles->Page()->Height(); ++row, ++rows) {
            ASSERT_EQ(strip->PixelToWorldY(row), whole->PixelToWorldY(row + offset)) << offset << "+" << row;
            ASSERT_EQ(strip->WorldToPixel(0, whole->PixelToWorldY(row + offset + 0.5)).y + offset,
                      whole->WorldToPixel(0, whole->PixelToWorldY(row + offset + 0.5)).y) << offset << "+" << row;
        }
        ASSERT_EQ(strip->PixelToWorldX(7), whole->PixelToWorldX(7));
        tiles->NextTile();
    }
    EXPECT_EQ(rows, 1001);
}

TEST(PrintDevice, JobBeginsAtTheFirstDrawingAndAFailedBeginRaises)
{
    {
        PrinterScope printer;
        auto device = Create<TPrintDevice>();
        EXPECT_EQ(device->GetName(), "PRINTER");
        EXPECT_EQ(device->Page()->Width(), 400);
        EXPECT_NEAR(device->Page()->HRes(), 300 * 1000 / 25.4, 1e-6);
        EXPECT_EQ(printer.begun, 0);
        device->SetTitle("Mapa");
        device->LineToPixel(10, 10);
        EXPECT_EQ(printer.begun, 1);
        EXPECT_EQ(device->PenPosition(), (PixelPoint{10, 10}));
        device->LineToPixel(20, 10);
        EXPECT_EQ(printer.begun, 1);
    }
    PrinterScope failing(true);
    auto device = Create<TPrintDevice>();
    EXPECT_THROW(device->LineToPixel(1, 1), EInOutError);
}

TEST(PrintDevice, StripsReachThePrinterWithoutAMark)
{
    PrinterScope printer;
    auto device = Create<TPrintDevice>();
    device->Projection()->Recalc(0, 0, device->Page(), 1000);
    auto tiles = Create<TTileDevice>();
    tiles->Prepare(device.get());
    while (!tiles->Finished()) {
        tiles->BeginOutput();
        tiles->EndOutput();
        tiles->NextTile();
    }
    device.reset();
    // White strips on a white page: the original stamped a black square on each.
    EXPECT_EQ(gtest_support::countPixels(printer.page, qRgb(255, 255, 255)), 400 * 300);
}

TEST(PrintDevice, StretchDrawHonoursTheSourceRectangle)
{
    PrinterScope printer;
    auto device = Create<TPrintDevice>();
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int y = 0; y < 10; ++y)
        for (int x = 10; x < 20; ++x)
            picture.setPixel(x, y, qRgb(255, 255, 255));
    device->StretchDrawPixel(0, 0, 40, 40, 0, 0, 10, 10, picture);   // the black half only
    device->StretchDrawPixel(100, 0, 40, 20, 0, 0, 0, 0, picture);   // the whole picture
    device.reset();
    EXPECT_EQ(gtest_support::countPixels(printer.page, qRgb(0, 0, 0), QRect(0, 0, 40, 40)), 1600);
    EXPECT_EQ(gtest_support::countPixels(printer.page, qRgb(0, 0, 0), QRect(100, 0, 40, 20)), 400);
}

TEST(DeviceTool, ScaleIsTheDeviceProjections)
{
    auto tool = Create<TDeviceTool>();
    EXPECT_EQ(tool->Scale(), 0);
    auto device = imageDevice(10, 10, 2500, 0, 0);
    tool->SetDevice(device.get());
    EXPECT_EQ(tool->GetPropAsString("Scale"), "2500");
    tool->SetPropAsString("Scale", "100");
    EXPECT_DOUBLE_EQ(device->Projection()->Scale(), 100);
}

} // namespace
