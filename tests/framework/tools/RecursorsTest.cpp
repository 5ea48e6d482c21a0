// Tests of recursors: visiting order, levels, NotInside, shared children, cycles and tool-driven walks.
#include "framework/support/ElementsTestSupport.h"

#include "framework/core/ClassRegistry.h"
#include "framework/tools/Recursors.h"

#include <gtest/gtest.h>

namespace {

// Records "name@level" for every pre and post visit.
class TRecordingRecursor : public TRecursor
{
public:
    LUMEX_TEST_CLASS(TRecordingRecursor, TRecursor)

    bool PreTest(TElement*) override
    {
        phase = "pre";
        return true;
    }
    bool PostTest(TElement*) override
    {
        phase = "post";
        return true;
    }
    void Action(TElement* e) override { visits << QStringLiteral("%1:%2@%3").arg(phase, e->GetName()).arg(Level()); }
    void Prepare() override { ++prepared; }

    QString phase;
    QStringList visits;
    int prepared = 0;
};

// An owner-aware entity named on creation.
TOwnerEntity* entity(TEntity* parent, const char* name)
{
    TOwnerEntity* e = Create<TOwnerEntity>().release();
    e->SetName(name);
    if (parent)
        parent->Add(e);
    return e;
}

TOwnerElement* leaf(TEntity* parent, const char* name)
{
    TOwnerElement* e = Create<TOwnerElement>().release();
    e->SetName(name);
    parent->Add(e);
    return e;
}

TEST(Recursor, VisitsDepthFirstWithLevels)
{
    Owned<TOwnerEntity> root(entity(nullptr, "root"));
    TOwnerEntity* a = entity(root.get(), "A");
    leaf(a, "a1");
    TOwnerEntity* b = entity(root.get(), "B");
    b->Add(a->Items(0));   // a1 is shared: visited once per holder
    auto walk = Create<TRecordingRecursor>();
    walk->SetInput(root.get());
    walk->Execute();
    EXPECT_EQ(walk->visits, QStringList({"pre:root@1", "pre:A@2", "pre:a1@3", "post:a1@3", "post:A@2", "pre:B@2",
                                         "pre:a1@3", "post:a1@3", "post:B@2", "post:root@1"}));
    EXPECT_EQ(walk->Level(), 1);
    EXPECT_EQ(walk->prepared, 1);
    EXPECT_FALSE(walk->IsExecuted());

    // NotInside visits the root only.
    walk->visits.clear();
    walk->SetPropAsBoolean("NotInside", true);
    walk->Execute();
    EXPECT_EQ(walk->visits, QStringList({"pre:root@1", "post:root@1"}));
}

// The original recursed until the stack overflowed on a cycle of containers.
TEST(Recursor, CycleOfContainersEnds)
{
    Owned<TOwnerEntity> root(entity(nullptr, "root"));
    TOwnerEntity* a = entity(root.get(), "A");
    TOwnerEntity* b = entity(a, "B");
    b->Add(a);   // A holds B, B holds A
    auto walk = Create<TRecordingRecursor>();
    walk->SetInput(root.get());
    walk->Execute();
    EXPECT_EQ(walk->visits, QStringList({"pre:root@1", "pre:A@2", "pre:B@3", "pre:A@4", "post:A@4", "post:B@3",
                                         "post:A@2", "post:root@1"}));
    EXPECT_EQ(walk->Level(), 1);
    b->Remove(a);   // break the cycle so that both can be freed
}

// Counts its runs, and gives an Output unless the input is named "skip".
class TCountingTool : public TTool
{
public:
    LUMEX_TEST_CLASS(TCountingTool, TTool)
    void Execute() override
    {
        TTool::Execute();
        names << Input()->GetName();
        SetOutput(Input()->GetName() == "skip" ? nullptr : Input());
    }
    QStringList names;
};

TEST(Recursor, ToolsDecideAndRun)
{
    RegisterT_RecursUnit();
    Owned<TOwnerEntity> root(entity(nullptr, "root"));
    TOwnerEntity* skip = entity(root.get(), "skip");
    leaf(skip, "hidden");
    TOwnerEntity* go = entity(root.get(), "go");
    leaf(go, "seen");

    Owned<TElement> made = CreateElementByName("RecursorWithTools");
    auto* walk = dynamic_cast<TRecursorWithTools*>(made.get());
    ASSERT_NE(walk, nullptr);
    auto* before = walk->AddNew<TCountingTool>();
    auto* after = walk->AddNew<TCountingTool>();
    auto* inside = walk->AddNew<TCountingTool>();
    walk->SetPropAsInteger("BeforeTool", ObjectHandle(before));
    walk->SetAfterTool(after);
    walk->SetQGoInsideTool(inside);
    walk->SetInput(root.get());
    walk->Execute();

    EXPECT_EQ(before->names, QStringList({"root", "skip", "go", "seen"}));
    EXPECT_EQ(after->names, QStringList({"skip", "seen", "go", "root"}));
    EXPECT_EQ(inside->names, QStringList({"root", "skip", "go"}));   // leaves are entered without asking
}

TEST(Recursor, WithoutGoInsideToolEveryEntityIsEntered)
{
    Owned<TOwnerEntity> root(entity(nullptr, "root"));
    leaf(entity(root.get(), "skip"), "hidden");
    auto walk = Create<TRecursorWithTools>();
    auto* before = walk->AddNew<TCountingTool>();
    walk->SetBeforeTool(before);
    walk->SetInput(root.get());
    walk->Execute();
    EXPECT_EQ(before->names, QStringList({"root", "skip", "hidden"}));
}

} // namespace
