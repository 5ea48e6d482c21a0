// Element selectors: all matches, topmost matches, the first match, matches down to a level.
#include "framework/expressions/Selectors.h"

#include "framework/core/ClassRegistry.h"
#include "framework/expressions/ConditionSyntax.h"

using namespace Syntax;

namespace {

bool isEntity(const TElement* element)
{
    return dynamic_cast<const TEntity*>(element) != nullptr;
}

bool hasOwner(const TElement* element)
{
    return element->OwnersCount() > 0;
}

} // namespace

// --- TSelector ---------------------------------------------------------------------------------

TClass TSelector::StaticClass()
{
    static const TClassInfo info = describeClass<TSelector, TRecursor>("TSelector", [](PropertyTable<TSelector>& t) {
        t.string("Condition", &TSelector::Condition,
                 [](TSelector& s, const QString& text) { s.SetCondition(text); });
    });
    return &info;
}

void TSelector::SetCondition(TCondition* tree)
{
    TCondition* old = m_tree.get();
    if (old == tree)
        return;
    m_tree.reset();
    if (old)
        FreeParameter(old);
    if (tree) {
        AddParameter(tree);
        m_tree = tree;
    }
}

TEntity* TSelector::SelectedElements()
{
    if (!Output()) {
        auto result = Create<TOwnerEntity>();
        result->SetName(QStringLiteral("Selected elements"));
        SetOutput(result.release());   // owned by whoever takes the result
    }
    return dynamic_cast<TEntity*>(Output());
}

TCondCreator* TSelector::ConditionCreator()
{
    if (TCondCreator* creator = m_creator.get())
        return creator;
    auto creator = Create<TCondCreator>();
    creator->SetName(QStringLiteral("Condition Creator"));
    TCondCreator* added = creator.release();
    AddTool(added);
    m_creator = added;
    return added;
}

void TSelector::Prepare()
{
    SelectedElements();
    if (OnlyBlanksFrom(m_condition, 1))
        throw SyntaxExcept(syntaxtext::expectIdentifier, 1);
    TCondCreator* creator = ConditionCreator();
    creator->SetCommand(m_condition);
    try {
        creator->Execute();
    } catch (...) {
        // The creator leaves a bare condition behind that nobody would take: free it.
        TElement* orphan = creator->Output();
        creator->SetOutput(nullptr);
        if (orphan && orphan->HolderCount() == 0)
            FreeObject(orphan);
        throw;
    }
    SetCondition(dynamic_cast<TCondition*>(creator->Output()));
}

bool TSelector::Matches(TElement* element)
{
    TCondition* tree = m_tree.get();
    if (!tree)
        return false;
    tree->SetVariable(0, element);
    return tree->EvaluateBoolean();
}

void TSelector::Select(TElement* element)
{
    if (TEntity* result = SelectedElements())
        result->Add(element);
}

// --- TAllSelector ------------------------------------------------------------------------------

TClass TAllSelector::StaticClass()
{
    static const TClassInfo info = describeClass<TAllSelector, TSelector>("TAllSelector");
    return &info;
}

bool TAllSelector::DescendTest(TElement* element)
{
    return isEntity(element);
}

void TAllSelector::Action(TElement* element)
{
    const bool ownerAware = element->InheritsFrom(TOwnerElement::StaticClass())
                            || element->InheritsFrom(TOwnerEntity::StaticClass());
    if (Matches(element) && ownerAware)
        Select(element);
}

// --- TFirstSelector ----------------------------------------------------------------------------

TClass TFirstSelector::StaticClass()
{
    static const TClassInfo info = describeClass<TFirstSelector, TSelector>("TFirstSelector");
    return &info;
}

void TFirstSelector::Recurse(TElement* entity)
{
    TSelector::Recurse(entity);
    m_found = false;
}

bool TFirstSelector::DescendTest(TElement* element)
{
    return isEntity(element) && !m_found;
}

void TFirstSelector::Action(TElement* element)
{
    if (Matches(element) && hasOwner(element)) {
        Select(element);
        m_found = true;
    } else {
        m_found = false;
    }
}

void TFirstSelector::Prepare()
{
    TSelector::Prepare();
    m_found = false;
}

// --- TAbsFirstSelector -------------------------------------------------------------------------

TClass TAbsFirstSelector::StaticClass()
{
    static const TClassInfo info = describeClass<TAbsFirstSelector, TSelector>("TAbsFirstSelector");
    return &info;
}

bool TAbsFirstSelector::DescendTest(TElement* element)
{
    return isEntity(element) && !m_found;
}

// Once found, later elements are not evaluated.
void TAbsFirstSelector::Action(TElement* element)
{
    if (!m_found && Matches(element) && hasOwner(element)) {
        Select(element);
        m_found = true;
    }
}

void TAbsFirstSelector::Prepare()
{
    TSelector::Prepare();
    m_found = false;
}

// --- TLevelSelector ----------------------------------------------------------------------------

TClass TLevelSelector::StaticClass()
{
    static const TClassInfo info = describeClass<TLevelSelector, TSelector>("TLevelSelector", [](PropertyTable<TLevelSelector>& t) {
        t.integer("Maxlevel", &TLevelSelector::Maxlevel, &TLevelSelector::SetMaxlevel);
    });
    return &info;
}

bool TLevelSelector::DescendTest(TElement* element)
{
    return isEntity(element) && Level() < m_maxlevel;
}

void TLevelSelector::Action(TElement* element)
{
    if (Matches(element) && hasOwner(element))
        Select(element);
}

// --- registration ------------------------------------------------------------------------------

void RegisterT_selectUnit()
{
    RegisterUnitClasses({TAllSelector::StaticClass(), TFirstSelector::StaticClass(), TLevelSelector::StaticClass(),
                        TAbsFirstSelector::StaticClass()});
}
