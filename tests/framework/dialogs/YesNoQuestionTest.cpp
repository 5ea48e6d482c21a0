// Tests of the yes/no question through the recording user interface.
#include "framework/dialogs/YesNoQuestion.h"

#include "framework/support/ElementsTestSupport.h"

#include <gtest/gtest.h>

using lumextest::recorder;

namespace {

struct AnswerCase {
    const char* name;
    ui::Answer answer;
    bool yes;
};

class YesNoAnswers : public ::testing::TestWithParam<AnswerCase>
{
protected:
    void SetUp() override { recorder().clear(); }
};

TEST_P(YesNoAnswers, OnlyYesCountsAsYes)
{
    recorder().script({GetParam().answer});
    EXPECT_EQ(AskYesNo(QString::fromUtf8("Smazat porost 12a?")), GetParam().yes);
    ASSERT_EQ(recorder().messages.size(), 1u);
    const auto& box = recorder().messages.front();
    EXPECT_EQ(box.text, QString::fromUtf8("Smazat porost 12a?"));
    EXPECT_EQ(box.caption, "Dialog");
    EXPECT_EQ(box.buttons, ui::YesNo);
}

INSTANTIATE_TEST_SUITE_P(AskYesNo, YesNoAnswers,
                         ::testing::Values(AnswerCase{"Yes", ui::Answer::Yes, true},
                                           AnswerCase{"No", ui::Answer::No, false},
                                           AnswerCase{"ClosedByOtherMeans", ui::Answer::Cancel, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
