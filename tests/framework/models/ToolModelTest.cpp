// Tests of tool models: the list of sub-tool models and the properties that build it.
#include "framework/models/ToolModel.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolModel, NoModelToolsAsksWithoutCreatingTheList)
{
    auto model = Create<TToolModel>();
    EXPECT_TRUE(model->GetPropAsBoolean(QStringLiteral("NoModelTools")));
    EXPECT_EQ(model->FindElementByName(QStringLiteral("TOOLS")), nullptr);

    TOwnerEntity* tools = model->ModelTools();
    EXPECT_EQ(model->FindElementByName(QStringLiteral("TOOLS")), tools);
    EXPECT_TRUE(model->NoModelTools());   // present but empty

    model->SetPropAsString(QStringLiteral("NewToolName"), QStringLiteral("Vypocet"));
    EXPECT_FALSE(model->NoModelTools());
    ASSERT_EQ(tools->Count(), 1);
    EXPECT_EQ(tools->Items(0)->GetName(), QStringLiteral("Vypocet"));
    EXPECT_EQ(model->ModelTools(), tools);
}

} // namespace
