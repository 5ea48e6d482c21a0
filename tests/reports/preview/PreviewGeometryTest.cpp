// The preview's page geometry: panel and printable area at a zoom, centring, and the view's
// centre kept through a zoom.
#include "reports/preview/PreviewGeometry.h"

#include "reports/model/ReportTables.h"

#include <gtest/gtest.h>

namespace {

using namespace reports;

TEST(PreviewGeometry, Zoom83OnA4)
{
    const PreviewGeometry g(SheetMeasures{}, ZoomSteps[5]);
    EXPECT_EQ(g.panelSize(), QSize(686, 970));
    const QRect page = g.pageRect();
    EXPECT_EQ(page.left(), 41);
    EXPECT_EQ(page.top(), 58);
    EXPECT_EQ(page.left() + page.width(), 644);
    EXPECT_EQ(page.top() + page.height(), 912);
}

TEST(PreviewGeometry, CentresANarrowPanelAndScrollsAWideOne)
{
    const PreviewGeometry small(SheetMeasures{}, ZoomSteps[0]);
    EXPECT_EQ(small.panelOffset(QSize(1000, 200)), QPoint((1000 - 264) / 2, 0));
    EXPECT_EQ(small.maxScroll(QSize(1000, 200)), QPoint(0, 374 - 200));
}

TEST(PreviewGeometry, ZoomInAndOutKeepsTheCentre)
{
    const QSize view(500, 400);
    const PreviewGeometry at83(SheetMeasures{}, ZoomSteps[5]);
    const PreviewGeometry at300(SheetMeasures{}, ZoomSteps[10]);
    for (const QPoint scroll : {QPoint(90, 300), QPoint(0, 0), QPoint(186, 570), QPoint(13, 41)}) {
        const QPoint in = at300.keepCentre(at83, view, scroll);
        // The centre's point of the sheet stays where it was, in hundredths of an inch.
        const double before = (scroll.y() + 200) / 0.83;
        const double after = (in.y() + 200) / 3.0;
        if (in.y() > 0 && in.y() < at300.maxScroll(view).y()) EXPECT_NEAR(before, after, 1.0);
        const QPoint back = at83.keepCentre(at300, view, in);
        EXPECT_LE(std::abs(back.x() - scroll.x()), 2) << scroll.x() << ',' << scroll.y();
        EXPECT_LE(std::abs(back.y() - scroll.y()), 2) << scroll.x() << ',' << scroll.y();
    }
}

TEST(PreviewGeometry, ZoomFromACentredPanelAimsAtItsMiddle)
{
    const QSize view(800, 600);
    const PreviewGeometry at32(SheetMeasures{}, ZoomSteps[0]);
    const PreviewGeometry at200(SheetMeasures{}, ZoomSteps[9]);
    const QPoint in = at200.keepCentre(at32, view, QPoint(0, 0));
    EXPECT_NEAR(in.x() + 400, 826, 3);
    EXPECT_NEAR(in.y() + 300, 1169, 3);
}

} // namespace
