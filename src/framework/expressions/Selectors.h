// Element selectors: tree walks that collect the elements for which a condition text is true.
#pragma once

#include "framework/expressions/ConditionParser.h"
#include "framework/tools/Recursors.h"

// Walks Input and evaluates Condition for every visited element (the Input included, each once,
// before its children); the matches are added to Output, a TOwnerEntity named "Selected elements"
// made when Output is empty. The result container becomes one more owner of each match; the
// caller owns the container itself (it outlives the selector and accumulates over runs until the
// caller empties or replaces it).
//
// Condition is parsed anew at every Execute: a blank one raises "Ocekavam indentifikator" at 1,
// other syntax errors come out as SyntaxExcept before any element is visited. Errors
// of an evaluation (overflow, range, floating) end the walk; what was selected so far stays.
class TSelector : public TRecursor
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& Condition() const { return m_condition; }
    void SetCondition(const QString& text) { m_condition = text; }
    // The condition tree: the previous one is released from the parameters, the new one is held there.
    void SetCondition(TCondition* tree);
    TCondition* ConditionTree() const { return m_tree.get(); }

    // Output, first made a new TOwnerEntity named "Selected elements" when empty.
    TEntity* SelectedElements();
    // The "Condition Creator" sub-tool, added on first use.
    TCondCreator* ConditionCreator();

    bool PreTest(TElement*) override { return true; }
    bool PostTest(TElement*) override { return false; }
    void Prepare() override;

protected:
    // Stores element as the current element of the condition and evaluates it.
    bool Matches(TElement* element);
    void Select(TElement* element);

private:
    WeakRef<TCondition> m_tree;
    WeakRef<TCondCreator> m_creator;
    QString m_condition;
};

// Every match that is owner-aware (TOwnerElement, TOwnerEntity); every entity is searched.
class TAllSelector : public TSelector
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool DescendTest(TElement* element) override;
    void Action(TElement* element) override;
};

// The topmost matches: a matching element's children are not searched, other branches are.
// Only elements with an owner are selected.
class TFirstSelector : public TSelector
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void Recurse(TElement* entity) override;
    bool DescendTest(TElement* element) override;
    void Action(TElement* element) override;
    void Prepare() override;

private:
    bool m_found = false;
};

// The first match of the whole walk in depth-first pre-order, if it has an owner.
class TAbsFirstSelector : public TSelector
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool DescendTest(TElement* element) override;
    void Action(TElement* element) override;
    void Prepare() override;

private:
    bool m_found = false;
};

// Every match with an owner from the Input (level 1) down to level Maxlevel; Maxlevel 0 or 1
// tests the Input only.
class TLevelSelector : public TSelector
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool DescendTest(TElement* element) override;
    void Action(TElement* element) override;

    qint32 Maxlevel() const { return m_maxlevel; }
    void SetMaxlevel(qint32 level) { m_maxlevel = level; }

private:
    qint32 m_maxlevel = 0;
};

// Registers TAllSelector, TFirstSelector, TLevelSelector and TAbsFirstSelector, in this order.
// Runs once; later calls do nothing.
void RegisterT_selectUnit();
