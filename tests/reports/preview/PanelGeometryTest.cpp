// The scrolling tool panel's limits and the floating panel's drag limits and close button.
#include "reports/preview/PanelGeometry.h"

#include <gtest/gtest.h>

namespace {

using namespace reports;

TEST(ScrollAxis, ContentsNarrowerThanTheWindowNeverMove)
{
    ScrollAxis axis{200, 120, 0};
    EXPECT_FALSE(axis.hiddenBefore());
    EXPECT_FALSE(axis.hiddenAfter());
    EXPECT_FALSE(axis.scrollBy(-64));
    EXPECT_FALSE(axis.scrollBy(64));
    EXPECT_EQ(axis.offset, 0);
}

TEST(ScrollAxis, StopsAtTheStartAndWhereTheContentsEndMeetsTheWindow)
{
    ScrollAxis axis{100, 250, 0};
    EXPECT_TRUE(axis.hiddenAfter());
    EXPECT_FALSE(axis.hiddenBefore());
    EXPECT_TRUE(axis.scrollBy(-64));
    EXPECT_EQ(axis.offset, -64);
    EXPECT_TRUE(axis.scrollBy(-128));
    EXPECT_EQ(axis.offset, -150);   // the right edge meets the visible right edge
    EXPECT_FALSE(axis.hiddenAfter());
    EXPECT_TRUE(axis.hiddenBefore());
    EXPECT_FALSE(axis.scrollBy(-8));
    EXPECT_TRUE(axis.scrollBy(64 * 5));
    EXPECT_EQ(axis.offset, 0);
}

TEST(FloatingPanel, DragKeepsTwentyPixelsAndTheCaptionInside)
{
    const QSize panel(150, 100);
    const QSize parent(400, 300);
    EXPECT_EQ(floating::dragTarget({-1000, 50}, panel, parent, 22), QPoint(-130, 50));
    EXPECT_EQ(floating::dragTarget({1000, 1000}, panel, parent, 22), QPoint(380, 285));
    EXPECT_EQ(floating::dragTarget({10, -500}, panel, parent, 22), QPoint(10, -12));
    EXPECT_EQ(floating::dragTarget({30, 40}, panel, parent, 22), QPoint(30, 40));
}

TEST(FloatingPanel, CloseButtonSitsInTheCaptionBar)
{
    EXPECT_EQ(floating::cancelButtonRect(200, 22, 0), QRect(179, 4, 15, 15));
    EXPECT_EQ(floating::cancelButtonRect(200, 30, 2), QRect(169, 6, 23, 23));
}

} // namespace
