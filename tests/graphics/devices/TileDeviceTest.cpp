// Tests of the tiled bitmap device, the printer device and the device tool.
#include "graphics/devices/TileDevice.h"

#include "graphics/devices/PrintDevice.h"
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

TEST(TileDevice, HalvesTheStripWhileItCannotBeMadeAndRaisesForOneRow)
{
    auto target = imageDevice(100, 1000, 1000, 0, 0);
    auto tiles = Create<TTileDevice>();
    TTileDevice::SetStripByteLimit(100 * 40 * 4);   // strips of at most 40 rows
    tiles->Prepare(target.get());
    EXPECT_EQ(tiles->Bitmap()->height(), 32);
    EXPECT_EQ(tiles->TileCount(), 32);
    TTileDevice::SetStripByteLimit(1);
    EXPECT_THROW(tiles->Prepare(target.get()), Exception);
    TTileDevice::SetStripByteLimit(0);
    tiles->Prepare(nullptr);
    EXPECT_TRUE(tiles->Finished());
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
