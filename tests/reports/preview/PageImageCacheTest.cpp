// The preview's page images on a sheet too large to draw whole: bounded images that show the
// part in view, and a bounded cache, at every zoom.
#include "reports/preview/PageImageCache.h"

#include "reports/model/ReportTables.h"
#include "reports/output/ReportOutput.h"
#include "reports/preview/FormSestP.h"
#include "reports/preview/PreviewFixture.h"
#include "reports/preview/ReportPanels.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

using namespace reports;

constexpr qint64 bytesPerPixel = 4;
// A sheet of 30 000 x 30 000 hundredths of an inch (300 inches square).
const SheetMeasures hugeSheet{30000, 30000, 50, 70, 50, 70};
// A red box near the far corner of the printable area.
const QRect box(28000, 28000, 500, 500);

// The output page holding the red box.
void addBox(TSestVystup& output)
{
    TVystPrvek item;
    item.Style.Kind = 8;
    item.Style.PenWidth = 0;
    item.Style.BrushColor = 0x0000FF;
    item.Rect = box;
    output.AddItem(std::move(item), 0);
}

// The box's centre on the preview panel at a zoom.
QPoint boxCentre(const PreviewGeometry& geometry)
{
    const QPointF centre = QPointF(box.center()) + QPointF(hugeSheet.left, hugeSheet.top);
    return (centre * geometry.zoom()).toPoint();
}

// The panel part an image shows, from its offset and its size in panel pixels.
QRect shownPart(const QImage& image)
{
    return QRect(image.offset(), (QSizeF(image.size()) / image.devicePixelRatio()).toSize());
}

QRgb pixelAt(const QImage& image, QPoint panel)
{
    const QPoint at = ((panel - image.offset()) * image.devicePixelRatio());
    return image.pixel(at);
}

TEST(PageImageCache, ImagesOfAHugeSheetShowTheViewWithinTheBoundAtEveryZoom)
{
    resetPageSettings();
    TSestVystup output;
    addBox(output);
    PageImageCache cache(output);
    for (const double ratio : {1.0, 2.0})
        for (size_t step = 0; step < ZoomSteps.size(); ++step) {
            const PreviewGeometry geometry(hugeSheet, ZoomSteps[step]);
            const QRect view = QRect(boxCentre(geometry) - QPoint(600, 450), QSize(1200, 900))
                                   .intersected(QRect(QPoint(0, 0), geometry.panelSize()));
            const QImage& image = cache.image(0, geometry, ratio, QImage(), view);
            const std::string at = "zoom " + std::to_string(ZoomSteps[step]) + " ratio " + std::to_string(ratio);
            ASSERT_LE(image.sizeInBytes(), PageImageCache::maxImagePixels * bytesPerPixel) << at;
            ASSERT_LE(cache.byteCount(), PageImageCache::maxCachePixels * bytesPerPixel) << at;
            ASSERT_TRUE(shownPart(image).contains(view)) << at;
            EXPECT_EQ(pixelAt(image, boxCentre(geometry)), qRgb(255, 0, 0)) << at;
            // Beside the box the sheet is white.
            const QPoint beside = (QPointF(box.topLeft() + QPoint(hugeSheet.left, hugeSheet.top)) * geometry.zoom()).toPoint()
                - QPoint(4, 4);
            ASSERT_TRUE(shownPart(image).contains(beside)) << at;
            EXPECT_EQ(pixelAt(image, beside), qRgb(255, 255, 255)) << at;
        }
}

TEST(PageImageCache, ScrollingWithinTheDrawnPartDrawsNothingNew)
{
    resetPageSettings();
    TSestVystup output;
    addBox(output);
    PageImageCache cache(output);
    const PreviewGeometry geometry(hugeSheet, ZoomSteps[10]);
    const QRect view(QPoint(40000, 40000), QSize(1000, 800));
    cache.image(0, geometry, 1.0, QImage(), view);
    EXPECT_EQ(cache.drawn(), 1);
    cache.image(0, geometry, 1.0, QImage(), view.translated(16, 16));
    EXPECT_EQ(cache.drawn(), 1);
    const QImage& far = cache.image(0, geometry, 1.0, QImage(), view.translated(20000, 0));
    EXPECT_EQ(cache.drawn(), 2);
    EXPECT_TRUE(shownPart(far).contains(view.translated(20000, 0)));
    // Another page, zoom or pixel ratio is another image.
    cache.image(0, geometry, 2.0, QImage(), view);
    EXPECT_EQ(cache.drawn(), 3);
}

class HugeSheetPreviewTest : public test::PreviewFixture
{
};

// The window at the smallest and the largest zoom, scrolled to the box: what it paints comes
// from bounded images, and the box shows where it lies.
TEST_F(HugeSheetPreviewTest, WindowPaintsThePartInViewAtAnyZoom)
{
    addBox(m_report.Output);
    PageSettings& page = pageSettings();
    page.PaperFormatWidth = hugeSheet.width;
    page.PaperFormatHeight = hugeSheet.height;
    TFormSestP form(m_report, nullptr);
    form.resize(1000, 800);
    for (const int step : {0, 10}) {
        form.NastavMeritko(step);
        form.show();
        const QPoint centre = boxCentre(form.session().geometry());
        const QSize viewport = form.ScrollBox->viewport()->size();
        form.ScrollBox->horizontalScrollBar()->setValue(centre.x() - viewport.width() / 2);
        form.ScrollBox->verticalScrollBar()->setValue(centre.y() - viewport.height() / 2);
        QApplication::processEvents();
        const QImage shown = form.ScrollBox->viewport()->grab().toImage();
        ASSERT_LE(form.session().cache().byteCount(), PageImageCache::maxCachePixels * bytesPerPixel) << step;
        const QPoint middle = form.Preview->mapTo(form.ScrollBox->viewport(), centre);
        EXPECT_EQ(shown.pixel(middle * shown.devicePixelRatio()), qRgb(255, 0, 0)) << step;
    }
}

} // namespace
