// Tests of the world: its children and the delivery of framework messages.
#include "framework/support/ElementsTestSupport.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/StartupRegistration.h"
#include "framework/core/World.h"

#include <gtest/gtest.h>

namespace {

class World : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RegisterFrameworkUnits();
    }
};

TEST_F(World, AttachesTheClassRegistry)
{
    {
        Owned<TElement> world = CreateElementByName("World");
        ASSERT_NE(world, nullptr);
        auto* w = dynamic_cast<TWorld*>(world.get());
        EXPECT_EQ(w->Count(), 1);
        EXPECT_EQ(w->Items(0), LumexClasses());
    }
    // The registry outlives the world.
    EXPECT_NE(FindLumexClass("TWorld"), nullptr);
}

// Records the messages a receiver gets.
class TRecordingTool : public TTool
{
public:
    LUMEX_TEST_CLASS(TRecordingTool, TTool)
    void OnMessage0(TLumexMessage& msg, bool& handled) override
    {
        received.push_back(msg.Message());
        handled = true;
    }
    std::vector<qint32> received;
};

TEST_F(World, DeliversMessages)
{
    auto world = Create<TWorld>();
    auto message = TLumexMessage::CreateMessage(0, nullptr, nullptr, nullptr);
    bool handled = false;
    world->HandleApplicationMessage(*message, handled);   // nobody to deliver to
    EXPECT_FALSE(handled);

    auto* main = world->AddNew<TRecordingTool>();
    world->SetMainTool(main);
    world->HandleApplicationMessage(*message, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(message->Receiver(), main);
    EXPECT_EQ(main->received.size(), 1u);

    auto other = Create<TRecordingTool>();
    auto directed = TLumexMessage::CreateMessage(0, nullptr, other.get(), nullptr);
    world->HandleApplicationMessage(*directed, handled);
    EXPECT_EQ(other->received.size(), 1u);
    other.reset();
    world->HandleApplicationMessage(*directed, handled);   // receiver gone: not the main tool
    EXPECT_EQ(main->received.size(), 1u);
}

} // namespace
