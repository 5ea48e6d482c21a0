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

// Frees, on the pre visit of an element so named, the element named with it (from its owner).
class TFreeingRecursor : public TRecordingRecursor
{
public:
    LUMEX_TEST_CLASS(TFreeingRecursor, TRecordingRecursor)
    void Action(TElement* e) override
    {
        TRecordingRecursor::Action(e);
        if (phase != "pre" || e->GetName() != trigger)
            return;
        auto* owner = dynamic_cast<TEntity*>(victim->GetOwner(0));
        owner->RemoveAndFree(victim);
    }
    QString trigger;
    TElement* victim = nullptr;
};

// The walk neither touches a freed element again nor goes on through a freed entity's children.
TEST(Recursor, ActionMayFreeTheVisitedElementOrItsContainer)
{
    Owned<TOwnerEntity> root(entity(nullptr, "root"));
    leaf(root.get(), "B");
    TOwnerEntity* a = entity(root.get(), "A");
    leaf(a, "killer");
    leaf(a, "unseen");
    TOwnerEntity* doomed = entity(root.get(), "doomed");
    leaf(doomed, "inner");

    auto walk = Create<TFreeingRecursor>();
    walk->trigger = "doomed";
    walk->victim = doomed;
    walk->SetInput(root.get());
    walk->Execute();
    EXPECT_EQ(walk->visits, QStringList({"pre:root@1", "pre:B@2", "post:B@2", "pre:A@2", "pre:killer@3",
                                         "post:killer@3", "pre:unseen@3", "post:unseen@3", "post:A@2",
                                         "pre:doomed@2", "post:root@1"}));
    walk->visits.clear();
    walk->trigger = "killer";
    walk->victim = a;
    walk->Execute();
    EXPECT_EQ(walk->visits, QStringList({"pre:root@1", "pre:B@2", "post:B@2", "pre:A@2", "pre:killer@3",
                                         "post:root@1"}));
    EXPECT_EQ(walk->Level(), 1);
}

// Frees an element of no walked tree on every visit: the walk goes on through the whole tree,
// and an element freed within it is still left alone.
TEST(Recursor, ActionFreeingElementsElsewhereLeavesTheWalkWhole)
{
    class TLitteringRecursor : public TFreeingRecursor
    {
    public:
        void Action(TElement* e) override
        {
            Create<TOwnerElement>();   // made and freed
            TFreeingRecursor::Action(e);
        }
    };
    Owned<TOwnerEntity> root(entity(nullptr, "root"));
    TOwnerEntity* a = entity(root.get(), "A");
    leaf(a, "a1");
    leaf(entity(a, "doomed"), "inner");
    leaf(root.get(), "B");
    auto walk = Create<TLitteringRecursor>();
    walk->trigger = "doomed";
    walk->victim = a->Items(1);
    walk->SetInput(root.get());
    walk->Execute();
    EXPECT_EQ(walk->visits, QStringList({"pre:root@1", "pre:A@2", "pre:a1@3", "post:a1@3", "pre:doomed@3",
                                         "post:A@2", "pre:B@2", "post:B@2", "post:root@1"}));
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

// Frees its input (from the input's first owner) when the input bears the name it is given.
class TFreeingTool : public TTool
{
public:
    LUMEX_TEST_CLASS(TFreeingTool, TTool)
    void Execute() override
    {
        TTool::Execute();
        if (Input()->GetName() == victimName)
            dynamic_cast<TEntity*>(Input()->GetOwner(0))->RemoveAndFree(Input());
    }
    QString victimName;
};

// Without a GoInside tool every entity is entered.
TEST(Recursor, BeforeToolMayFreeTheVisitedEntity)
{
    Owned<TOwnerEntity> root(entity(nullptr, "root"));
    leaf(root.get(), "first");
    leaf(entity(root.get(), "doomed"), "inner");
    auto walk = Create<TRecursorWithTools>();
    auto* freer = walk->AddNew<TFreeingTool>();
    freer->victimName = "doomed";
    auto* after = walk->AddNew<TCountingTool>();
    walk->SetBeforeTool(freer);
    walk->SetAfterTool(after);
    walk->SetInput(root.get());
    walk->Execute();
    EXPECT_EQ(after->names, QStringList({"first", "root"}));
    EXPECT_EQ(root->Count(), 1);
}

// Frees itself (from the walk that holds it) when asked about the entity it is given, after
// answering.
class TSelfFreeingTool : public TTool
{
public:
    LUMEX_TEST_CLASS(TSelfFreeingTool, TTool)
    void Execute() override
    {
        TTool::Execute();
        SetOutput(Input());
        if (Input()->GetName() == victimName)
            dynamic_cast<TEntity*>(GetOwner(0))->RemoveAndFree(this);
    }
    QString victimName;
};

// A GoInside tool that frees itself still answers; later entities are entered without asking.
TEST(Recursor, GoInsideToolMayFreeItself)
{
    Owned<TOwnerEntity> root(entity(nullptr, "root"));
    leaf(entity(root.get(), "go"), "seen");
    leaf(entity(root.get(), "later"), "also");
    auto walk = Create<TRecursorWithTools>();
    auto* inside = walk->AddNew<TSelfFreeingTool>();
    inside->victimName = "go";
    auto* before = walk->AddNew<TCountingTool>();
    walk->SetQGoInsideTool(inside);
    walk->SetBeforeTool(before);
    walk->SetInput(root.get());
    walk->Execute();
    EXPECT_EQ(before->names, QStringList({"root", "go", "seen", "later", "also"}));
    EXPECT_EQ(walk->QGoInsideTool(), nullptr);
}

// Logs every element it visits; frees `tree` when it visits the element named "trigger".
class TTreeFreeingRecursor : public TRecursor
{
public:
    LUMEX_TEST_CLASS(TTreeFreeingRecursor, TRecursor)
    bool PreTest(TElement*) override { return true; }
    void Action(TElement* e) override
    {
        *log << e->GetName();
        if (e->GetName() == "trigger")
            FreeObject(tree);
    }
    QStringList* log = nullptr;
    TElement* tree = nullptr;
};

// An action may free the tree that holds the recursor: the walk goes on and the recursor is freed
// when it ends.
TEST(Recursor, ActionMayFreeTheTreeHoldingTheRecursor)
{
    QStringList log;
    Owned<TOwnerEntity> data(entity(nullptr, "data"));
    leaf(data.get(), "trigger");
    leaf(entity(data.get(), "c"), "d");
    TOwnerEntity* tree = entity(nullptr, "tree");
    auto* walk = tree->AddNew<TTreeFreeingRecursor>();
    walk->log = &log;
    walk->tree = tree;
    const WeakRef<TElement> held = walk;
    walk->SetInput(data.get());
    walk->Execute();
    EXPECT_EQ(log, QStringList({"data", "trigger", "c", "d"}));
    EXPECT_EQ(held.get(), nullptr);
}

} // namespace
