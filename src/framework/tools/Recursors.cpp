// Recursors: depth-first walks of an element tree around one action.
#include "framework/tools/Recursors.h"

#include "framework/core/ClassRegistry.h"

#include <algorithm>

namespace {

// Keeps an element alive for a scope, whoever else lets it go meanwhile. At the end it frees an
// element that a container or an Owned held when the scope began and nothing holds any more; one
// held by nothing at all belongs to whoever made it.
class ScopedHold
{
public:
    explicit ScopedHold(TElement& element)
        : m_element(element), m_wasHeld(element.HolderCount() > 0 || element.IsHeldByOwned())
    {
        m_element.Hold();
    }
    ~ScopedHold()
    {
        if (m_element.DropHold() && m_wasHeld)
            FreeObject(&m_element);
    }
    ScopedHold(const ScopedHold&) = delete;
    ScopedHold& operator=(const ScopedHold&) = delete;

private:
    TElement& m_element;
    const bool m_wasHeld;
};

// Runs the tool on the element when there is a tool; answers whether it gave an Output. The tool
// may free itself (or its holder) while it runs: it lives until it has answered.
bool runOn(TTool* tool, TElement* element)
{
    if (!tool)
        return false;
    const ScopedHold held(*tool);
    tool->SetInput(element);
    tool->Execute();
    return tool->Output() != nullptr;
}

} // namespace

TClass TRecursor::StaticClass()
{
    static const TClassInfo info = describeClass<TRecursor, TTechnology>("TRecursor", [](PropertyTable<TRecursor>& t) {
        t.boolean("NotInside", &TRecursor::NotInside, &TRecursor::SetNotInside);
        t.integer("Level", &TRecursor::Level, &TRecursor::SetLevel);
    });
    return &info;
}

// An action may free the tree that holds the recursor: the walk keeps it alive and frees it when
// it ends. A descendant that goes on after this call takes such a hold itself.
void TRecursor::Execute()
{
    m_level = 1;
    TElement* root = Input();
    if (!root)
        return;
    const ScopedHold held(*this);
    Prepare();
    m_path.clear();
    visit(root);
}

// An action or a tool may free the element being visited, or an entity the walk is inside:
// the walk watches their lives and goes no further through a freed one.
void TRecursor::visit(TElement* element)
{
    LifeWatch visited(*element);
    if (PreTest(element))
        Action(element);
    if (!visited.isAlive())
        return;
    if (DescendTest(element) && visited.isAlive())
        Recurse(element);
    if (visited.isAlive() && PostTest(element))
        Action(element);
}

// The original walked a cycle of containers until the stack overflowed: an entity already on
// the path is not entered again.
void TRecursor::Recurse(TElement* element)
{
    TEntity* entity = element->asEntity();
    if (m_notInside || !entity)
        return;
    if (std::find(m_path.begin(), m_path.end(), entity) != m_path.end())
        return;
    LifeWatch walked(*entity);
    m_path.push_back(entity);
    ++m_level;
    const int count = entity->Count();
    for (int i = 0; i < count && walked.isAlive() && i < entity->Count(); ++i) {
        if (TElement* child = entity->Items(i))
            visit(child);
    }
    --m_level;
    m_path.pop_back();
}

bool TRecursor::DescendTest(TElement* element)
{
    return element->asEntity() != nullptr;
}

TClass TRecursorWithTools::StaticClass()
{
    using R = TRecursorWithTools;
    static const TClassInfo info = describeClass<R, TRecursor>("TRecursorWithTools", [](PropertyTable<R>& t) {
        t.object<TTool>("BeforeTool", &R::BeforeTool, &R::SetBeforeTool);
        t.object<TTool>("AfterTool", &R::AfterTool, &R::SetAfterTool);
        t.object<TTool>("QGoInsideTool", &R::QGoInsideTool, &R::SetQGoInsideTool);
    });
    return &info;
}

bool TRecursorWithTools::PreTest(TElement* element)
{
    runOn(BeforeTool(), element);
    return false;
}

bool TRecursorWithTools::PostTest(TElement* element)
{
    runOn(AfterTool(), element);
    return false;
}

bool TRecursorWithTools::DescendTest(TElement* element)
{
    TTool* tool = QGoInsideTool();
    if (!element->asEntity() || !tool)
        return true;
    return runOn(tool, element);
}

void RegisterT_RecursUnit()
{
    RegisterUnitClasses({TRecursorWithTools::StaticClass()});
}
