// Tests of object registers, the register selector and the property bags.
#include "graphics/space/ObjectRegisters.h"

#include "framework/core/World.h"
#include "graphics/space/PolyElements.h"
#include "graphics/space/PropertyBags.h"
#include "graphics/support/GraphicsTestSupport.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

Owned<TPointElement> pointWithId(qint32 id)
{
    auto p = Create<TPointElement>();
    p->SetSpaceID(id);
    return p;
}

TEST(ObjectRegister, FilesByNumberWithinItsRange)
{
    auto reg = Create<TObjectRegister>();
    for (const qint32 id : {0, -1, 500001}) {
        auto p = pointWithId(id);
        reg->Register(p.get());
    }
    EXPECT_EQ(reg->Count(), 0);
    auto p = pointWithId(5);
    reg->Register(p.get());
    EXPECT_EQ(reg->Count(), 6);
    EXPECT_EQ(reg->ObjectAt(5), p.get());
    EXPECT_EQ(reg->ObjectAt(0), nullptr);
    EXPECT_EQ(reg->ObjectAt(reg->Count()), nullptr);
    reg->ClearSlot(5);
    EXPECT_EQ(reg->ObjectAt(5), nullptr);
}

TEST(BlockRegister, OneRegisterPerLetterAndPropsKnowWhereTheyAre)
{
    gtest_support::registerAll();
    auto root = Create<TRegister>();
    TBlockRegister* block = root->GetBlockRegister("Roads", "TBlockRegister");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(root->GetBlockRegister("ROADS", "TBlockRegister"), block);
    EXPECT_EQ(root->GetBlockRegister("x", "TPointElement"), nullptr);
    EXPECT_EQ(root->BlockRegisterByName(""), nullptr);
    TObjectRegister* areas = block->RegisterFor('P');
    EXPECT_EQ(block->RegisterFor('P'), areas);
    EXPECT_EQ(block->Count(), 1);
    EXPECT_EQ(areas->BlockName(), "Roads");

    auto area = Create<TAreaElement>();
    auto* props = Create<TSpaceEntityProps>().release();
    area->SetProperties(props);
    area->SetPropAsString("anything", "x");   // no register yet: nothing stored
    auto shared = Create<TAreaElement>();
    shared->SetSpaceID(7);
    block->Register(shared.get());
    block->RegisterFor('P')->PutAt(7, area.get());
    EXPECT_EQ(block->ObjectAt('P', 7), shared.get());
    EXPECT_EQ(props->ObjectRegister(), areas);
    EXPECT_EQ(props->BlockRegister(), block);
    EXPECT_EQ(props->OrigNo(), 7);
    EXPECT_EQ(props->BlockName(), "Roads");
    EXPECT_EQ(props->PrimaryProps(), shared->Properties());
    EXPECT_EQ(area->SpaceID(), -1);
}

TEST(RegisterObjectSelector, FindsThroughTheWorldAndLeavesOutputWithoutOne)
{
    gtest_support::registerAll();
    auto selector = Create<TRegisterObjectSelector>();
    auto previous = Create<TElement>();
    selector->SetOutput(previous.get());
    selector->SetBlockName("B");
    selector->SetObjectType("Line");
    selector->SetObjectNo(3);
    SetGraphicsWorld(nullptr);
    selector->Execute();
    EXPECT_EQ(selector->Output(), previous.get());

    auto world = Create<TWorld>();
    auto* reg = world->ObjectModel()->AddNew<TRegister>();
    auto line = Create<TPolyLineElement>();
    line->SetSpaceID(3);
    reg->GetBlockRegister("B", "TBlockRegister")->Register(line.get());
    SetGraphicsWorld(world.get());
    selector->Execute();
    EXPECT_EQ(selector->Output(), line.get());
    selector->SetObjectType("");
    EXPECT_THROW(selector->Execute(), ERangeError);
    SetGraphicsWorld(nullptr);
}

TEST(DynamicProperties, TypedValuesByNameIgnoringCase)
{
    auto bag = Create<TDynamicProperties>();
    EXPECT_EQ(bag->GetPropAsInteger("LEVEL"), 0);
    EXPECT_FALSE(bag->GetPropAsBoolean("FLAG"));
    EXPECT_EQ(bag->GetPropAsString("NAME"), "");
    bag->SetPropAsInteger("LEVEL", 3);
    EXPECT_EQ(bag->GetPropAsInteger("level"), 3);
    bag->SetPropAsBoolean("Flag", true);
    EXPECT_TRUE(bag->GetPropAsBoolean("FLAG"));
    bag->SetPropAsString("Level", "9");
    EXPECT_EQ(bag->GetPropAsInteger("LEVEL"), 9);
    EXPECT_EQ(bag->Count(), 2);
    auto copy = bag->Clone();
    EXPECT_EQ(copy->GetPropAsInteger("level"), 9);
}

} // namespace
