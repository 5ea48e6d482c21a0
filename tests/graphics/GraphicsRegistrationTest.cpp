// Tests of the start-up registration of the graphics classes and their published properties.
#include "graphics/GraphicsRegistration.h"

#include "graphics/interpret/InterpretLayers.h"
#include "graphics/support/GraphicsTestSupport.h"

#include <gtest/gtest.h>

namespace {

const char* const creatableClasses[] = {
    "T_Page", "TPageProjection", "TTextFileDevice", "TInterpret", "TISInstance", "TISClass", "TISInstances",
    "TInterpretScript", "TInterpretLayer", "TInterpretContainer", "TUniversalInterpret", "TSpaceEntityInterpret",
    "TTextListInterpret", "TDeviceTool", "TBlockRegister", "TRegister", "TRegisterObjectSelector",
    "TDynamicProperties", "TSpaceEntity", "TPointElement", "TPointString", "TTextElement", "TTextString",
    "TPolyElement", "TPolyLineElement", "TPolyLineString", "TAreaElement", "TAreaString", "TPolyLineAreaElement",
    "TSpaceLineBegEndCell", "THolesEntity"};

// Classes of the devices register nothing by name (only the text devices do).
const char* const unregisteredClasses[] = {"TDevice", "TCanvasDevice", "TBitmapDevice", "TTileDevice",
                                           "TPrintDevice", "TBorderBuffer", "TObjectRegister", "TObjectOwner"};

QStringList propertyNames(TClass cls, int from)
{
    QStringList names;
    for (int i = from; i < cls->PropCount(); ++i)
        names << cls->Prop(i)->Name;
    return names;
}

class GraphicsClass : public ::testing::TestWithParam<const char*>
{
};

TEST_P(GraphicsClass, IsCreatableByName)
{
    gtest_support::registerAll();
    const QString name = QString::fromLatin1(GetParam());
    const TClass cls = FindLumexClass(name);
    ASSERT_NE(cls, nullptr);
    const Owned<TElement> element = CreateElementByName(name);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->ClassType(), cls);
}

INSTANTIATE_TEST_SUITE_P(Graphics, GraphicsClass, ::testing::ValuesIn(creatableClasses),
                         [](const auto& info) { return std::string(info.param); });

TEST(GraphicsRegistration, DevicesAndSlotsStayUnregisteredAndRunningTwiceAddsNothing)
{
    gtest_support::registerAll();
    for (const char* name : unregisteredClasses)
        EXPECT_EQ(FindLumexClass(QString::fromLatin1(name)), nullptr) << name;
    const int count = LumexClasses()->Count();
    RegisterGraphicsUnits();
    EXPECT_EQ(LumexClasses()->Count(), count);
}

TEST(GraphicsRegistration, FollowsTheUnitOrder)
{
    gtest_support::registerAll();
    const char* const inOrder[] = {"T_Page", "TProjection", "TTextFileDevice", "TInterpret", "TISInstance",
                                   "TInterpretLayer", "TUniversalInterpret", "TDeviceTool", "TBlockRegister",
                                   "TDynamicProperties", "TSpaceEntity", "THolesEntity"};
    qint32 previous = -1;
    for (const char* name : inOrder) {
        const TLumexClass* entry = LumexClasses()->FindClassEntry(QString::fromLatin1(name));
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_GT(entry->ID(), previous) << name;
        previous = entry->ID();
    }
}

TEST(GraphicsRegistration, PublishesOwnPropertiesInDeclarationOrder)
{
    const TClass page = T_Page::StaticClass();
    EXPECT_EQ(propertyNames(page, TOwnerElement::StaticClass()->PropCount()),
              QStringList({"Width", "Height", "HRes", "VRes"}));
    EXPECT_FALSE(page->Prop(IndexOfProp(Create<T_Page>().get(), "Width"))->HasWrite());
    EXPECT_EQ(propertyNames(TProjection::StaticClass(), TOwnerElement::StaticClass()->PropCount()),
              QStringList({"Angle", "RotateCenter_X", "RotateCenter_Y", "Center_X", "Center_Y", "Scale",
                           "VirtualScale", "IsOK"}));
    EXPECT_EQ(propertyNames(TSpaceEntity::StaticClass(), TRectEntity::StaticClass()->PropCount()),
              QStringList({"Properties", "Angle", "SpaceID", "Group", "IsDone"}));
    EXPECT_EQ(propertyNames(TInterpretLayer::StaticClass(), TRectEntity::StaticClass()->PropCount()),
              QStringList({"Path", "GlobalColor", "GlobalSymbol", "SwitchedOff", "LayerClassName", "Interpret",
                           "InterpretName", "MinScaleNumber", "MaxScaleNumber"}));
    auto area = Create<TAreaElement>();
    const PPropInfo isDone = TAreaElement::StaticClass()->Prop(IndexOfProp(area.get(), "IsDone"));
    EXPECT_FALSE(isDone->IsStored(*area));
    EXPECT_EQ(isDone->TypeName(), "Boolean");
}
} // namespace
