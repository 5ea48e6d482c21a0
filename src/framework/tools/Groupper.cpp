// Grouping tool: files elements into a tree of groups keyed by the values of chosen properties.
#include "framework/tools/Groupper.h"

#include "framework/core/ClassRegistry.h"
#include "framework/elements/PlaneGraphics.h"

#include <QSet>

namespace {

// The group name of an element whose key properties are all empty.
const QString emptyKey = QStringLiteral("___");

// A registered class that makes containers, nil otherwise.
TClass entityClassNamed(const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    TClass cls = FindLumexClass(name);
    return cls && cls->InheritsFrom(TEntity::StaticClass()) && cls->CanCreate() ? cls : nullptr;
}

// A new, named container of the class; nil when the class cannot make one.
Owned<TEntity> createNamed(TClass cls, const QString& name)
{
    Owned<TEntity> entity = CreateOfClass<TEntity>(cls);
    if (entity)
        entity->SetName(name);
    return entity;
}

// A new container of the class, so named and added to `container`; nil when the class makes none.
TEntity* addNamed(TEntity* container, TClass cls, const QString& name)
{
    Owned<TEntity> created = createNamed(cls, name);
    if (!created)
        return nullptr;
    TEntity* added = created.release();
    container->Add(added);
    return added;
}

// Extends every rectangle entity from `element` up through all its owners (each once).
void extendUpwards(TElement* element, TElement* input, QSet<const TElement*>& visited)
{
    if (!element || visited.contains(element))
        return;
    visited.insert(element);
    if (auto* rect = dynamic_cast<TRectEntity*>(element))
        rect->ExtendRect(input);
    for (int i = 0; i < element->OwnersCount(); ++i)
        extendUpwards(element->GetOwner(i), input, visited);
}

} // namespace

// --- TPropsAndClass -----------------------------------------------------------------------------

TClass TPropsAndClass::StaticClass()
{
    using P = TPropsAndClass;
    static const TClassInfo info = describeClass<P, TPropertyList>("TPropsAndClass", [](PropertyTable<P>& t) {
        t.string("OwnerClassName", &P::OwnerClassName, &P::SetOwnerClassName)
            .string("SocketName", &P::SocketName, &P::SetSocketName)
            .string("SocketClassName", &P::SocketClassName, &P::SetSocketClassName);
    });
    return &info;
}

// --- TGroupper ----------------------------------------------------------------------------------

TClass TGroupper::StaticClass()
{
    using G = TGroupper;
    static const TClassInfo info = describeClass<G, TTool>("TGroupper", [](PropertyTable<G>& t) {
        t.object<TEntity>("Criterion", &G::Criterion, &G::SetCriterion)
            .string("OwnerClass", &G::OwnerClass, &G::SetOwnerClass)
            .string("NextAssigment", nullptr, &G::NextAssigment)
            .boolean("DoItEmpty", &G::DoItEmpty, &G::SetDoItEmpty);
    });
    return &info;
}

void TGroupper::BeforeDestruction()
{
    for (const WeakRef<TOwnerEntity>& created : m_createdRoots)
        if (TOwnerEntity* root = created.get(); root && root->HolderCount() == 0)
            FreeObject(root);
    TTool::BeforeDestruction();
}

void TGroupper::SetCriterion(TEntity* criterion)
{
    ReplaceChild(m_criterion, criterion);
}

QString TGroupper::OwnerClass() const
{
    return m_ownerClass ? m_ownerClass->ClassName() : QString();
}

void TGroupper::SetOwnerClass(const QString& className)
{
    m_ownerClass = FindLumexClass(className);
}

void TGroupper::NextAssigment(const QString& text)
{
    if (!text.contains(QLatin1Char('=')))
        return;
    if (!m_assignments)
        m_assignments = Create<TStringListElement>();
    m_assignments->NextNameIsValue(text);
}

void TGroupper::Execute()
{
    TTool::Execute();
    ProcessMessages();
    TElement* input = Input();
    TEntity* criterion = m_criterion.get();
    if (!input || !criterion)
        return;
    if (!m_ownerClass)
        m_ownerClass = TNameEntity::StaticClass();
    if (!Output()) {
        Owned<TOwnerEntity> root = Create<TOwnerEntity>();
        m_createdRoots.emplace_back(root.get());
        SetOutput(root.release());
    }

    TEntity* group = nullptr;
    if (auto* single = dynamic_cast<TPropertyList*>(criterion)) {
        group = FindOrMake(Output(), single);
    } else {
        group = dynamic_cast<TEntity*>(Output());
        for (int i = 0; group && i < criterion->Count(); ++i)
            if (auto* level = dynamic_cast<TPropertyList*>(criterion->Items(i)))
                group = FindOrMake(group, level);
    }
    if (!group)
        return;
    Assign(group);
    if (m_doItEmpty)
        return;
    group->Add(input);
    if (dynamic_cast<TRectEntity*>(group))
        ExtendRectangles(group);
}

TEntity* TGroupper::FindOrMake(TElement* containerElement, TPropertyList* list)
{
    auto* container = dynamic_cast<TEntity*>(containerElement);
    if (!container)
        return nullptr;
    list->SetElement(Input());
    QString key = list->Catenation();
    if (key.isEmpty())
        key = emptyKey;
    auto* level = dynamic_cast<TPropsAndClass*>(list);
    TClass socketClass = level ? entityClassNamed(level->SocketClassName()) : nullptr;

    auto* found = dynamic_cast<TEntity*>(container->FindElementByName(key));
    if (found && !socketClass)
        return found;
    if (found) {
        if (auto* socket = dynamic_cast<TEntity*>(found->FindElementByName(level->SocketName())))
            return socket;
        // A group without its socket gets one, rather than a second group of the same name.
        return addNamed(found, socketClass, level->SocketName());
    }
    return MakeGroup(container, list, key, socketClass);
}

TEntity* TGroupper::MakeGroup(TEntity* container, TPropertyList* list, const QString& key, TClass socketClass)
{
    auto* level = dynamic_cast<TPropsAndClass*>(list);
    TClass groupClass = level ? entityClassNamed(level->OwnerClassName()) : nullptr;
    if (!groupClass)
        groupClass = m_ownerClass;
    if (!groupClass)
        groupClass = TOwnerEntity::StaticClass();
    TEntity* group = addNamed(container, groupClass, key);
    if (!group || !socketClass)
        return group;
    return addNamed(group, socketClass, level->SocketName());
}

void TGroupper::Assign(TElement* group)
{
    if (!m_assignments)
        return;
    TElement* input = Input();
    for (int i = 0; i < m_assignments->Count(); ++i)
        group->SetPropAsString(m_assignments->NameAt(i), input->GetPropAsString(m_assignments->ValueAt(i)));
}

void TGroupper::ExtendRectangles(TElement* group)
{
    QSet<const TElement*> visited;
    extendUpwards(group, Input(), visited);
}

void RegisterT_grpUnit()
{
    RegisterUnitClasses({TGroupper::StaticClass(), TPropsAndClass::StaticClass()});
}
