// Tests of the grouping tool: one and two levels, sockets, assignments and growing rectangle groups.
#include "framework/tools/Groupper.h"

#include "framework/core/ClassRegistry.h"
#include "framework/elements/PlaneGraphics.h"

#include <gtest/gtest.h>

namespace {

// A stand-like element with two key properties and a position.
class TGroupTestStand : public TRectEntity
{
public:
    static TClass StaticClass()
    {
        using S = TGroupTestStand;
        static const TClassInfo info = describeClass<S, TRectEntity>("TGroupTestStand", [](PropertyTable<S>& t) {
            t.string("Druh", &S::Druh, &S::SetDruh).string("Vek", &S::Vek, &S::SetVek);
        });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    QString Druh() const { return m_druh; }
    void SetDruh(const QString& v) { m_druh = v; }
    QString Vek() const { return m_vek; }
    void SetVek(const QString& v) { m_vek = v; }

private:
    QString m_druh;
    QString m_vek;
};

class Grouping : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RegisterElementsUnit();
        RegisterE_typeUnit();
        RegisterG_elemsUnit();
        RegisterT_grpUnit();
    }

    // A stand held by the fixture, placed as the point (x, y).
    TGroupTestStand* stand(const QString& druh, const QString& vek, double x = 0, double y = 0)
    {
        auto* s = m_stands->AddNew<TGroupTestStand>();
        s->SetDruh(druh);
        s->SetVek(vek);
        s->SetX(x);
        s->SetY(y);
        return s;
    }

    static Owned<TPropsAndClass> level(const QString& property, const QString& ownerClass = QString())
    {
        auto list = Create<TPropsAndClass>();
        list->NextName(property);
        list->SetOwnerClassName(ownerClass);
        return list;
    }

    void run(TElement* input)
    {
        tool->SetInput(input);
        tool->Execute();
    }

    Owned<TOwnerEntity> m_stands = Create<TOwnerEntity>();
    Owned<TGroupper> tool = Create<TGroupper>();
};

TEST_F(Grouping, TwoLevelsWithGrowingRectangleGroups)
{
    auto root = Create<TRectEntity>();
    tool->SetOutput(root.get());
    auto criterion = Create<TOwnerEntity>();
    criterion->AddNew<TOwnerEntity>();   // not a property list: skipped
    criterion->Add(level("Druh", "TRectEntity").release());
    criterion->Add(level("Vek", "TRectEntity").release());
    tool->SetCriterion(criterion.release());

    run(stand("SM", "40", 0, 0));
    run(stand("SM", "40", 10, 5));
    run(stand("SM", "60", -4, 2));
    run(stand("BK", "40", 100, 100));

    ASSERT_EQ(root->Count(), 2);
    auto* sm = dynamic_cast<TRectEntity*>(root->FindElementByName("SM"));
    ASSERT_NE(sm, nullptr);
    ASSERT_EQ(sm->Count(), 2);
    auto* sm40 = dynamic_cast<TRectEntity*>(sm->FindElementByName("40"));
    ASSERT_NE(sm40, nullptr);
    EXPECT_EQ(sm40->MaxX(), 10.0);
    EXPECT_EQ(sm40->MaxY(), 5.0);
    EXPECT_EQ(sm->MinX(), -4.0);
    EXPECT_EQ(root->MaxX(), 100.0);
    auto* bk40 = dynamic_cast<TRectEntity*>(
        dynamic_cast<TEntity*>(root->FindElementByName("BK"))->FindElementByName("40"));
    ASSERT_NE(bk40, nullptr);
    EXPECT_EQ(bk40->MinX(), 100.0);
    tool->SetOutput(nullptr);
}

TEST_F(Grouping, TwoPropertiesInOneLevelJoinWithTheDelimiter)
{
    auto criterion = level("Druh");
    criterion->NextName("Vek");
    criterion->SetDelimiter(";");
    tool->SetCriterion(criterion.release());
    run(stand("SM", "40"));
    run(stand("SM", "60"));
    run(stand("SM", "40"));
    run(stand("", ""));
    auto* root = dynamic_cast<TEntity*>(tool->Output());
    ASSERT_NE(root, nullptr);
    QStringList names;
    for (int i = 0; i < root->Count(); ++i)
        names << root->Items(i)->GetName();
    // Two empty values still join into a key: only a key that is empty as a whole is "___".
    EXPECT_EQ(names, QStringList({"SM;40", "SM;60", ";"}));
    EXPECT_EQ(dynamic_cast<TEntity*>(root->Items(0))->Count(), 2);
}

TEST_F(Grouping, EmptyKeyGoesToTheUnderscoreGroup)
{
    tool->SetCriterion(level("Druh").release());
    TGroupTestStand* s = stand("", "10");
    run(s);
    auto* group = dynamic_cast<TEntity*>(dynamic_cast<TEntity*>(tool->Output())->FindElementByName("___"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Items(0), s);
}

TEST_F(Grouping, DoItEmptyBuildsAndAssignsButHoldsNothing)
{
    tool->SetOwnerClass("TRectEntity");
    tool->SetCriterion(level("Druh").release());
    tool->SetPropAsString("NextAssigment", "Index=Vek");
    tool->SetPropAsString("NextAssigment", "ignored without equals sign");
    tool->SetPropAsBoolean("DoItEmpty", true);
    run(stand("SM", "42", 3, 3));
    EXPECT_EQ(tool->Assignments()->Count(), 1);
    auto* group = dynamic_cast<TRectEntity*>(dynamic_cast<TEntity*>(tool->Output())->FindElementByName("SM"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Index(), 42);
    EXPECT_EQ(group->Count(), 0);
    EXPECT_FALSE(group->IsValid());
}

TEST_F(Grouping, SocketsReceiveTheElements)
{
    auto criterion = level("Druh", "TRectEntity");
    criterion->SetSocketClassName("TOwnerEntity");
    criterion->SetSocketName("Porosty");
    tool->SetCriterion(criterion.release());
    TGroupTestStand* a = stand("SM", "1");
    TGroupTestStand* b = stand("SM", "2");
    run(a);
    run(b);
    auto* root = dynamic_cast<TEntity*>(tool->Output());
    ASSERT_EQ(root->Count(), 1);
    auto* group = dynamic_cast<TEntity*>(root->FindElementByName("SM"));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->Count(), 1);
    auto* socket = dynamic_cast<TEntity*>(group->FindElementByName("porosty"));
    ASSERT_NE(socket, nullptr);
    ASSERT_EQ(socket->Count(), 2);
    EXPECT_EQ(socket->Items(1), b);

    // A group that lost its socket gets a new one instead of a twin group.
    group->RemoveAndFree(socket);
    run(stand("SM", "3"));
    EXPECT_EQ(root->Count(), 1);
    ASSERT_EQ(group->Count(), 1);
    EXPECT_EQ(dynamic_cast<TEntity*>(group->Items(0))->Count(), 1);
}

TEST_F(Grouping, NothingWithoutInputOrCriterion)
{
    tool->Execute();
    EXPECT_EQ(tool->Output(), nullptr);
    run(stand("SM", "1"));
    EXPECT_EQ(tool->Output(), nullptr);
}

TEST_F(Grouping, CreatedRootOutlivesTheToolOnlyWhenHeld)
{
    auto holder = Create<TOwnerEntity>();
    tool->SetCriterion(level("Druh").release());
    run(stand("SM", "1"));
    const WeakRef<TElement> root(tool->Output());
    holder->Add(root.get());
    tool.reset();
    EXPECT_NE(root.get(), nullptr);

    // Two runs with the Output cleared in between leave two roots; both go with the tool.
    auto other = Create<TGroupper>();
    other->SetCriterion(level("Druh").release());
    other->SetInput(stand("BK", "2"));
    other->Execute();
    const WeakRef<TElement> first(other->Output());
    other->SetOutput(nullptr);
    other->Execute();
    const WeakRef<TElement> second(other->Output());
    ASSERT_NE(first.get(), nullptr);
    ASSERT_NE(second.get(), first.get());
    other.reset();
    EXPECT_TRUE(first.isDangling());
    EXPECT_TRUE(second.isDangling());
}

} // namespace
