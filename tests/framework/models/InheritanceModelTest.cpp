// Tests of inheritance models, the system register, element and tool models and the world.
#include "framework/support/ElementsTestSupport.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/StartupRegistration.h"
#include "framework/core/World.h"

#include <gtest/gtest.h>

namespace {

class Models : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RegisterFrameworkUnits();
    }

    // A model for the class, owned by the caller until it is inserted.
    static TInheritanceModel* modelFor(TClass cls)
    {
        TInheritanceModel* model = Create<TInheritanceModel>().release();
        model->SetElementClass(cls);
        return model;
    }

    static TInheritanceModel* parentModel(TInheritanceModel* model)
    {
        return dynamic_cast<TInheritanceModel*>(model->GetOwnerOfClass(TInheritanceModel::StaticClass()));
    }
};

TEST_F(Models, NextItemArrangesModelsByClass)
{
    auto root = Create<TInheritanceModel>();
    TInheritanceModel* entity = modelFor(TEntity::StaticClass());
    TInheritanceModel* ownerEntity = modelFor(TOwnerEntity::StaticClass());
    TInheritanceModel* element = modelFor(TElement::StaticClass());
    root->NextItem(entity);
    root->NextItem(ownerEntity);
    root->NextItem(element);

    ASSERT_EQ(root->Items()->Count(), 1);
    EXPECT_EQ(root->ItemAt(0), element);
    EXPECT_EQ(parentModel(element), root.get());
    EXPECT_EQ(parentModel(entity), element);
    EXPECT_EQ(parentModel(ownerEntity), entity);

    EXPECT_EQ(root->FindModel(TNameEntity::StaticClass()), entity);
    EXPECT_EQ(root->FindModel(TPersistent::StaticClass()), nullptr);   // root without class answers nil
}

TEST_F(Models, ModelEntityReportsThroughError)
{
    auto models = Create<TInheritanceModelEntity>();
    EXPECT_EQ(models->ItemClassName(), "TInheritanceModel");

    models->SetPropAsString("FindClassName", "TNeexistuje");
    EXPECT_EQ(models->Error(), InheritanceError::NoClass);
    EXPECT_EQ(models->ActualItem(), nullptr);
    EXPECT_EQ(models->GetPropAsString("ActualClassName"), "NIL");
    EXPECT_EQ(models->Error(), InheritanceError::NoActualItem);

    models->SetPropAsString("NewClassName", "TEntity");
    ASSERT_NE(models->ActualItem(), nullptr);
    EXPECT_EQ(models->Error(), 0);

    models->FindClassName("TOwnerEntity");
    EXPECT_EQ(models->Error(), 0);
    EXPECT_EQ(models->ActualClassName(), "TEntity");   // the closest model

    models->SetPropAsString("ActualClassName", "TElement");
    EXPECT_EQ(models->ActualClassName(), "TElement");
    EXPECT_EQ(models->Items()->Count(), 1);   // the TEntity model was freed and replaced

    WeakRef<TInheritanceModel> actual = models->ActualItem();
    models->SetPropAsInteger("DeleteActualItem", 1);
    EXPECT_TRUE(actual.isDangling());
    EXPECT_EQ(models->Error(), InheritanceError::NoActualItem);
    EXPECT_TRUE(models->NoItems());
}

TEST_F(Models, WorldAttachesTheClassRegistry)
{
    {
        Owned<TElement> world = CreateElementByName("World");
        ASSERT_NE(world, nullptr);
        auto* w = dynamic_cast<TWorld*>(world.get());
        EXPECT_EQ(w->Count(), 1);
        EXPECT_EQ(w->Items(0), LumexClasses());
        w->SystemRegister();
        w->ObjectModel();
        EXPECT_EQ(w->Count(), 3);
    }
    // The registry outlives the world.
    EXPECT_NE(FindLumexClass("TWorld"), nullptr);
}

TEST_F(Models, WorldReplacesChildrenButNotBySameElement)
{
    auto world = Create<TWorld>();
    TTool* first = Create<TTool>().release();
    world->SetMainTool(first);
    WeakRef<TTool> firstRef = first;
    world->SetMainTool(first);
    ASSERT_FALSE(firstRef.isDangling());
    EXPECT_EQ(world->IndexOf(first), 1);
    EXPECT_EQ(world->Count(), 2);

    world->SetPropAsInteger("MainTool", ObjectHandle(Create<TTool>().release()));
    EXPECT_TRUE(firstRef.isDangling());
    EXPECT_EQ(world->Count(), 2);
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

TEST_F(Models, WorldDeliversMessages)
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
