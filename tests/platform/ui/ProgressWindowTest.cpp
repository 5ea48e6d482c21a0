// Tests of the progress window widget on the offscreen platform.
#include "platform/ui/ProgressWindow.h"

#include <QProgressBar>

#include <gtest/gtest.h>

namespace {

TEST(ProgressWindow, ShowsStepsAndHidesAtZeroMaximum)
{
    ui::ProgressWindow w;
    EXPECT_FALSE(w.isVisible());
    w.setProgress(3, 10);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.bar()->maximum(), 10);
    EXPECT_EQ(w.bar()->value(), 3);
    w.setProgress(12, 10);
    EXPECT_EQ(w.bar()->value(), 10);
    w.setProgress(0, 0);
    EXPECT_FALSE(w.isVisible());
}

} // namespace
