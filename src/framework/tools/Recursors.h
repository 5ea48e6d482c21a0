// Recursors: depth-first walks of an element tree around one action.
#pragma once

#include "framework/tools/Tools.h"

#include <vector>

// Walks Input depth first: for each element PreTest/Action, DescendTest/Recurse, PostTest/Action.
// Level is 1 at the root and grows by one per level of children. An element held by two visited
// entities is visited twice, but an entity is never entered again while the walk is inside it,
// so a cycle of containers ends the descent there. An action may free the tree that holds the
// recursor: the walk keeps the recursor alive and frees it when the walk ends.
class TRecursor : public TTechnology
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Walks Input (nothing without one); does not set the executed flag.
    void Execute() override;

    virtual void Recurse(TElement* entity);
    // True for an entity.
    virtual bool DescendTest(TElement* element);
    virtual bool PreTest(TElement*) { return false; }
    virtual bool PostTest(TElement*) { return false; }
    virtual void Action(TElement*) {}
    virtual void Prepare() {}

    bool NotInside() const { return m_notInside; }
    void SetNotInside(bool on) { m_notInside = on; }
    qint32 Level() const { return m_level; }
    void SetLevel(qint32 level) { m_level = level; }

private:
    void visit(TElement* element);

    bool m_notInside = false;
    qint32 m_level = 0;
    std::vector<const TElement*> m_path;   // the entities the walk is inside, outermost first
};

// A recursor whose tests run tools: BeforeTool and AfterTool on every element, and QGoInsideTool
// decides the descent (an entity is entered when the tool gives an Output). A tool that frees
// itself while it runs lives until it has answered.
class TRecursorWithTools : public TRecursor
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Runs BeforeTool on the element; false.
    bool PreTest(TElement* element) override;
    // Runs AfterTool on the element; false.
    bool PostTest(TElement* element) override;
    bool DescendTest(TElement* element) override;

    TTool* BeforeTool() const { return m_beforeTool.get(); }
    void SetBeforeTool(TTool* tool) { m_beforeTool = tool; }
    TTool* AfterTool() const { return m_afterTool.get(); }
    void SetAfterTool(TTool* tool) { m_afterTool = tool; }
    TTool* QGoInsideTool() const { return m_goInsideTool.get(); }
    void SetQGoInsideTool(TTool* tool) { m_goInsideTool = tool; }

private:
    WeakRef<TTool> m_beforeTool;
    WeakRef<TTool> m_afterTool;
    WeakRef<TTool> m_goInsideTool;
};

// Registers the classes of this unit (TRecursorWithTools).
void RegisterT_RecursUnit();
