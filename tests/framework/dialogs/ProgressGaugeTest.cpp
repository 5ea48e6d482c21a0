// Tests of the progress window through the recording user interface.
#include "framework/dialogs/ProgressGauge.h"

#include "platform/ui/Services.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class Dialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recorder = dynamic_cast<ui::RecordingServices*>(&ui::services());
        ASSERT_NE(recorder, nullptr);
        recorder->clear();
    }
    void TearDown() override { recorder->clear(); }

    using Progress = std::vector<std::pair<int, int>>;
    ui::RecordingServices* recorder = nullptr;
};

TEST_F(Dialogs, GaugeShowsStepsUnderTheHourglass)
{
    {
        TF_gaugeForm gauge;
        gauge.SetMaxValue(3);
        EXPECT_TRUE(recorder->progress.empty());   // nothing shown before Show
        gauge.Show();
        EXPECT_EQ(recorder->waitDepth, 1);
        for (int step = 1; step <= 3; ++step)
            gauge.SetProgress(step);
        gauge.Close();
        EXPECT_EQ(recorder->waitDepth, 0);
        EXPECT_FALSE(gauge.Visible());
    }
    EXPECT_EQ(recorder->progress, (Progress{{0, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 0}}));
    EXPECT_EQ(recorder->waitDepth, 0);
    EXPECT_EQ(recorder->processEventsCount, 0);
}

TEST_F(Dialogs, FreeingAShownGaugeClosesItOnce)
{
    auto gauge = std::make_unique<TF_gaugeForm>();
    gauge->Show();
    gauge->Show();
    EXPECT_EQ(recorder->waitDepth, 1);
    gauge.reset();
    EXPECT_EQ(recorder->waitDepth, 0);
    EXPECT_EQ(recorder->progress.back(), std::make_pair(0, 0));
    EXPECT_EQ(recorder->progress.size(), 2u);
}

TEST_F(Dialogs, GaugeKeepsPositionWithinTheBar)
{
    TF_gaugeForm gauge;
    EXPECT_EQ(gauge.MaxValue(), 100);
    gauge.SetProgress(150);
    EXPECT_EQ(gauge.Progress(), 100);
    gauge.SetProgress(-1);
    EXPECT_EQ(gauge.Progress(), 0);
    gauge.SetProgress(40);
    gauge.SetMaxValue(20);
    EXPECT_EQ(gauge.Progress(), 20);
}

} // namespace
