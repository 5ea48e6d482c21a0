// Tests of the basic interpreter: sub-interpreters, stop requests, device binding, messages.
#include "graphics/interpret/Interpret.h"

#include "framework/core/Messages.h"
#include "graphics/devices/TextDevices.h"
#include "graphics/interpret/BasicInterpreters.h"
#include "graphics/support/GraphicsTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Records the elements it is given.
class RecordingInterpret : public TInterpret
{
public:
    bool DescendTest(TElement*) override { return false; }
    void Action(TElement* e) override { seen.push_back(e); }
    std::vector<TElement*> seen;
};

TEST(Interpret, HandsEveryWalkedElementToItsSubInterpreters)
{
    auto root = Create<TEntity>();
    TEntity* child = root->AddNew<TEntity>();
    TElement* leaf = child->AddNew<TElement>();
    auto top = Create<TInterpret>();
    auto* sub = Create<RecordingInterpret>().release();
    top->SetNextSubInterpret(sub);
    top->SetInput(root.get());
    top->Execute();
    EXPECT_EQ(sub->seen, (std::vector<TElement*>{root.get(), child, leaf}));
    EXPECT_FALSE(top->IsRunning());
}

TEST(Interpret, ClearingAStopReachesTheSubInterpreters)
{
    auto top = Create<TInterpret>();
    auto* sub = Create<RecordingInterpret>().release();
    top->SetNextSubInterpret(sub);
    top->SetStop(true);
    EXPECT_TRUE(sub->StopRequested());
    top->SetStop(false);
    EXPECT_FALSE(sub->StopRequested());
}

TEST(Interpret, BindsTheDeviceWithoutOwningIt)
{
    auto device = Create<TTextFileDevice>();
    {
        auto top = Create<TInterpret>();
        auto* sub = Create<RecordingInterpret>().release();
        top->SetNextSubInterpret(sub);
        top->BindDevice(device.get());
        EXPECT_EQ(sub->Device(), device.get());
        EXPECT_EQ(device->GetOwnerOfClass(TInterpret::StaticClass()), top.get());
        top->UnbindDevice();
        EXPECT_EQ(sub->Device(), nullptr);
        top->BindDevice(device.get());
    }
    // The interpreter is gone; the device lives on with its maker.
    EXPECT_EQ(device->OwnersCount() == 0 || device->GetOwner(0) == nullptr, true);
    EXPECT_EQ(device->GetName(), "TTextFileDevice");
}

TEST(Interpret, MessageRunsOnItsElementAndRestoresInput)
{
    auto top = Create<TInterpret>();
    auto* sub = Create<RecordingInterpret>().release();
    top->SetNextSubInterpret(sub);
    auto first = Create<TElement>();
    auto second = Create<TElement>();
    top->SetInput(first.get());
    auto msg = TLumexMessage::CreateMessage(InterpretCode::InterpretElement, nullptr, top.get(), second.get());
    bool handled = false;
    top->HandleMessage(*msg, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(sub->seen, (std::vector<TElement*>{second.get()}));
    EXPECT_EQ(top->Input(), first.get());
}

} // namespace
