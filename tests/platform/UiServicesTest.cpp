// The recording user-interface double answers from its script, then by the buttons offered.
#include "platform/ui/Services.h"

#include <gtest/gtest.h>

TEST(RecordingServices, AnswersFromScriptThenFromButtons)
{
    ui::RecordingServices r;
    r.script({ui::Answer::No});
    EXPECT_EQ(r.messageBox("a", "", ui::MsgType::Confirmation, ui::YesNo), ui::Answer::No);
    EXPECT_EQ(r.messageBox("b", "", ui::MsgType::Confirmation, ui::YesNo), ui::Answer::Yes);
    EXPECT_EQ(r.messageBox("c", "", ui::MsgType::Error, ui::AbortRetryIgnore), ui::Answer::Retry);
    ASSERT_EQ(r.messages.size(), 3u);
    EXPECT_EQ(r.messages[1].text, "b");
}

TEST(RecordingServices, WaitCursorNestsThroughInstalledServices)
{
    ui::RecordingServices r;
    ui::Services* previous = &ui::services();
    ui::setServices(&r);
    {
        ui::WaitCursor outer;
        ui::WaitCursor inner;
        EXPECT_EQ(r.waitDepth, 2);
    }
    EXPECT_EQ(r.waitDepth, 0);
    ui::setServices(previous);
}
