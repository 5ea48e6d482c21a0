// Tests of inheritance models: the class tree, the most specific model and the model entity's errors.
#include "framework/support/ElementsTestSupport.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/StartupRegistration.h"
#include "framework/models/InheritanceModel.h"

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

// The model tree gives up its hold on the actual item; whoever else holds it keeps it.
TEST_F(Models, ReplacedOrDeletedActualItemStaysWithItsOtherHolders)
{
    auto models = Create<TInheritanceModelEntity>();
    auto elsewhere = Create<TOwnerEntity>();
    models->NewClassName("TEntity");
    TInheritanceModel* shared = models->ActualItem();
    elsewhere->Add(shared);
    models->SetActualClassName("TElement");
    EXPECT_EQ(models->ActualClassName(), "TElement");
    EXPECT_EQ(models->Items()->IndexOf(shared), -1);
    ASSERT_EQ(elsewhere->Count(), 1);
    EXPECT_EQ(elsewhere->Items(0), shared);
    EXPECT_EQ(shared->ElementClassName(), "TEntity");

    Owned<TInheritanceModel> kept(models->ActualItem());
    models->DeleteActualItem();
    EXPECT_EQ(models->Error(), InheritanceError::NoActualItem);
    EXPECT_TRUE(models->NoItems());
    EXPECT_EQ(kept->ElementClassName(), "TElement");
}

} // namespace
