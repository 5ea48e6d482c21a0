// Tests of the change-state texts of ownership-transformation records.
#include "forest/base/ChangeState.h"
#include "forest/support/ForestTestSupport.h"

namespace {

using foresttest::recorder;

TEST(ChangeState, TextsRoundTripIgnoringCase)
{
    for (const TTypZmeny s : {nezmenilse, bylNoveZaveden, BudeSmazan})
        EXPECT_EQ(TextToChangeState(ChangeStateToText(s)), s);
    EXPECT_EQ(ChangeStateToText(bylNoveZaveden), "bylNoveZaveden");
    EXPECT_EQ(TextToChangeState("BUDESMAZAN"), BudeSmazan);
}

TEST(ChangeState, UnknownTextShowsAMessageAndAnswersUnchanged)
{
    recorder().clear();
    EXPECT_EQ(TextToChangeState("smazat"), nezmenilse);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, "Neznám typZmeny =\"smazat\"");
}

} // namespace
