// Grouping tool: files elements into a tree of groups keyed by the values of chosen properties.
#pragma once

#include "framework/tools/Tools.h"
#include "framework/values/TypedValues.h"

#include <vector>

// One grouping level: the properties that form the group name (a property list), the class of
// the groups of this level, and optionally a socket: an element created inside each new group
// that receives the grouped elements instead of the group itself.
class TPropsAndClass : public TPropertyList
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& OwnerClassName() const { return m_ownerClassName; }
    void SetOwnerClassName(const QString& name) { m_ownerClassName = name; }
    const QString& SocketName() const { return m_socketName; }
    void SetSocketName(const QString& name) { m_socketName = name; }
    const QString& SocketClassName() const { return m_socketClassName; }
    void SetSocketClassName(const QString& name) { m_socketClassName = name; }

private:
    QString m_ownerClassName;
    QString m_socketName;
    QString m_socketClassName;
};

// Files its Input into a tree of groups under Output, one level per property list of the
// Criterion (a TPropertyList, or an entity whose TPropertyList children are the levels in order).
// A group is named after the joined property values of the Input ("___" when that is empty) and
// found or created in the level above; the assignments copy Input's property values onto the
// group; then the group holds the Input (unless DoItEmpty), and a rectangle group and the
// rectangle entities above it grow by it.
//
// Ownership: the criterion is a child of the tool. Input and Output are not owned. A group root
// that Execute creates for a missing Output belongs to the tool until a container takes it: the
// tool frees each root it created and no container holds on its destruction (so do not put such
// a root into an Owned). The assignment list is owned.
class TGroupper : public TTool
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void BeforeDestruction() override;
    void Execute() override;

    TEntity* Criterion() const { return m_criterion.get(); }
    // The previous criterion is released (freed unless shared), the new one added as a child.
    void SetCriterion(TEntity* criterion);
    // The class's registered name; empty without a class.
    QString OwnerClass() const;
    // An unregistered name leaves no class.
    void SetOwnerClass(const QString& className);
    TClass OwnerClassRef() const { return m_ownerClass; }
    // Adds one assignment "group property=Input property"; a text without "=" is ignored.
    void NextAssigment(const QString& text);
    // Nil until the first assignment.
    TStringListElement* Assignments() const { return m_assignments.get(); }
    bool DoItEmpty() const { return m_doItEmpty; }
    void SetDoItEmpty(bool on) { m_doItEmpty = on; }

private:
    // The group of `list`'s key in `container`, found or made; nil when none can be made.
    TEntity* FindOrMake(TElement* container, TPropertyList* list);
    TEntity* MakeGroup(TEntity* container, TPropertyList* list, const QString& key, TClass socketClass);
    void Assign(TElement* group);
    void ExtendRectangles(TElement* group);

    WeakRef<TEntity> m_criterion;
    TClass m_ownerClass = nullptr;
    Owned<TStringListElement> m_assignments;
    bool m_doItEmpty = false;
    std::vector<WeakRef<TOwnerEntity>> m_createdRoots;
};

// Registers TGroupper and TPropsAndClass. Runs once.
void RegisterT_grpUnit();
