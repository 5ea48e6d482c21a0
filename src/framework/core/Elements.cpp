// Element tree of the Lumex framework: elements, owner-aware elements, containers and aliases.
#include "framework/core/Elements.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Messages.h"
#include "framework/core/TextRoutines.h"
#include "framework/streams/Filer.h"
#include "platform/Exceptions.h"
#include "platform/text/Case.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"

#include <QRandomGenerator>

#include <algorithm>
#include <utility>

namespace {

qint32 g_mark = -1;
quint64 g_treeGeneration = 1;

void treeChanged()
{
    ++g_treeGeneration;
}

constexpr int clearEventsThreshold = 200;

[[noreturn]] void listIndexError(int index)
{
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

void showMessage(const QString& text)
{
    ui::services().showMessage(text);
}

// Owners in the list that are entities, nil for dead or foreign entries.
TEntity* ownerEntity(const WeakRef<TElement>& entry)
{
    TElement* owner = entry.get();
    return owner ? owner->asEntity() : nullptr;
}

// An envelope owner stands for the element it envelops.
TElement* throughEnvelope(TElement* owner)
{
    if (auto* envelope = dynamic_cast<TEnvelopeEntity*>(owner))
        return envelope->Enveloped();
    return owner;
}

TElement* firstOwnerOfClass(const TOwnerList* owners, TClass cls, bool lookThroughEnvelopes)
{
    if (!owners)
        return nullptr;
    for (const auto& entry : *owners) {
        TElement* owner = lookThroughEnvelopes ? throughEnvelope(entry.get()) : entry.get();
        if (owner && owner->InheritsFrom(cls))
            return owner;
    }
    return nullptr;
}

TElement* firstOwnerNamed(const TOwnerList* owners, const QString& name, bool lookThroughEnvelopes)
{
    if (!owners)
        return nullptr;
    for (const auto& entry : *owners) {
        TElement* owner = lookThroughEnvelopes ? throughEnvelope(entry.get()) : entry.get();
        if (owner && owner->GetName() == name)
            return owner;
    }
    return nullptr;
}

TElement* findOwnerOfClassAmong(const TOwnerList* owners, TClass cls)
{
    if (!owners)
        return nullptr;
    for (const auto& entry : *owners)
        if (TElement* owner = entry.get())
            if (TElement* found = owner->FindOwnerOfClass(cls))
                return found;
    return nullptr;
}

void insertOwner(TOwnerList& owners, int index, TElement* owner)
{
    if (index == 0) {
        owners.insert(owners.size(), owner);
        return;
    }
    if (index < 0 || index > static_cast<int>(owners.size()))
        listIndexError(index);
    owners.insert(static_cast<size_t>(index), owner);
}

void removeFirstOwner(TOwnerList* owners, const TElement* owner)
{
    if (owners)
        owners->removeFirst(owner);
}

bool listsOwner(const TOwnerList* owners, const TElement* owner)
{
    return owners && std::any_of(owners->begin(), owners->end(),
                                 [owner](const WeakRef<TElement>& e) { return e.refersTo(owner); });
}

// Whether name upper-cased letter-wise reads wanted (given upper-cased); names of ASCII
// characters are compared without building the upper-cased text.
bool isNameOf(QStringView name, const QString& wanted)
{
    if (name.size() != wanted.size())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.unicode() >= 0x80)
            return txt::upperLetters(name) == wanted;
        if (txt::upperAscii(c) != wanted[i])
            return false;
    }
    return true;
}

// Holdings kept in a vector up to this many containers; a table beyond.
constexpr size_t fewHoldings = 16;
// Owner lists longer than this count the entries of each owner.
constexpr size_t longOwnerList = 16;

} // namespace

TEntity* asEntityOf(TPersistent* object)
{
    TElement* element = object ? object->asElement() : nullptr;
    return element ? element->asEntity() : nullptr;
}

// --- TOwnerList -------------------------------------------------------------------------------

void TOwnerList::pop_back()
{
    treeChanged();
    count(m_entries.back(), -1);
    m_entries.pop_back();
    if (static_cast<size_t>(m_entries.size()) <= m_front) {
        m_entries.clear();
        m_front = 0;
    }
}

void TOwnerList::insert(size_t index, TElement* owner)
{
    treeChanged();
    const auto it = m_entries.insert(begin() + static_cast<std::ptrdiff_t>(index), Entry(owner));
    if (m_counts) {
        count(*it, +1);
    } else if (size() > longOwnerList) {
        m_counts = std::make_unique<std::unordered_map<qint32, int>>();
        for (auto e = begin(); e != end(); ++e)
            count(*e, +1);
    }
}

void TOwnerList::count(const Entry& entry, int delta)
{
    if (m_counts && entry.handle() != 0)
        (*m_counts)[entry.handle()] += delta;
}

size_t TOwnerList::find(const TElement& owner) const
{
    const size_t none = static_cast<size_t>(m_entries.size());
    const auto matches = [&](size_t at) { return m_entries[static_cast<qsizetype>(at)].refersTo(&owner); };
    if (m_counts) {
        const auto counted = m_counts->find(ExistingHandle(owner));
        if (counted == m_counts->end() || counted->second <= 0)
            return none;
        if (counted->second == 1) {   // the only entry: from both ends towards the middle
            for (size_t low = m_front, high = none; low < high; ++low) {
                if (matches(low))
                    return low;
                if (matches(--high))
                    return high;
            }
            return none;
        }
    }
    for (size_t at = m_front; at < none; ++at)
        if (matches(at))
            return at;
    return none;
}

bool TOwnerList::removeFirst(const TElement* owner)
{
    // An owner that was never given a handle is in no list.
    if (owner && ExistingHandle(*owner) == 0)
        return false;
    const auto it = owner ? m_entries.begin() + static_cast<std::ptrdiff_t>(find(*owner))
                          : std::find_if(begin(), end(), [](const Entry& e) { return e.refersTo(nullptr); });
    if (it == end())
        return false;
    treeChanged();
    count(*it, -1);
    if (it != begin()) {
        m_entries.erase(it);
        return true;
    }
    // The first entry: moved past, the taken ones dropped once they are the larger part.
    m_entries[static_cast<qsizetype>(m_front++)].reset();
    if (m_front == static_cast<size_t>(m_entries.size())) {
        m_entries.clear();
        m_front = 0;
    } else if (m_front > 32 && m_front * 2 > static_cast<size_t>(m_entries.size())) {
        m_entries.erase(m_entries.begin(), m_entries.begin() + static_cast<std::ptrdiff_t>(m_front));
        m_front = 0;
    }
    return true;
}

void TOwnerList::reset()
{
    m_entries.clear();
    m_front = 0;
    m_counts.reset();
}

// --- tree generation --------------------------------------------------------------------------

quint64 TreeGeneration()
{
    return g_treeGeneration;
}

// --- traversal marks --------------------------------------------------------------------------

void NewTraversalMark()
{
    // -1 is the ID of every fresh element and -2 the streams' "not yet numbered" reference:
    // a mark equal to either would make a walk skip elements it never visited.
    qint32 mark = g_mark;
    while (mark == g_mark)
        mark = -static_cast<qint32>(QRandomGenerator::global()->bounded(3, 32000));
    g_mark = mark;
}

qint32 TraversalMark()
{
    return g_mark;
}

// --- TElement ---------------------------------------------------------------------------------

TClass TElement::StaticClass()
{
    static const TClassInfo info = describeClass<TElement, TPersistent>("TElement", [](PropertyTable<TElement>& t) {
        t.integer("ID", &TElement::ID, &TElement::SetID, false)
            .string("Name", &TElement::GetName, &TElement::SetName, &TElement::IsNameStored)
            .integer("OwnersCount", &TElement::OwnersCount, nullptr)
            .integer("Size", &TElement::Size, nullptr)
            .integer("WholeSize", &TElement::WholeSize, nullptr);
    });
    return &info;
}

TElement::~TElement()
{
    treeChanged();
    leaveHolders();
}

TElement::Holdings::Slots* TElement::Holdings::findFew(TEntity* entity)
{
    if (m_first.entity == entity)
        return &m_first;
    const auto it = std::find_if(m_few.begin(), m_few.end(), [entity](const Slots& s) { return s.entity == entity; });
    return it == m_few.end() ? nullptr : &*it;
}

void TElement::Holdings::add(TEntity* entity, bool counts)
{
    ++m_size;
    if (counts)
        ++m_counting;
    if (m_many) {
        const auto it = m_many->try_emplace(entity, Slots{entity, counts, 0}).first;
        ++it->second.count;
        return;
    }
    if (Slots* held = findFew(entity)) {
        ++held->count;
        return;
    }
    if (!m_first.entity) {
        m_first = {entity, counts, 1};
        return;
    }
    m_few.push_back({entity, counts, 1});
    if (m_few.size() > fewHoldings)
        moveToTable();
}

void TElement::Holdings::moveToTable()
{
    m_many = std::make_unique<std::unordered_map<TEntity*, Slots>>();
    if (m_first.entity)
        m_many->emplace(m_first.entity, m_first);
    for (const Slots& held : m_few)
        m_many->emplace(held.entity, held);
    m_first = {nullptr, false, 0};
    m_few = {};
}

void TElement::Holdings::drop(TEntity* entity)
{
    if (!entity)
        return;
    Slots* held = nullptr;
    if (m_many) {
        const auto it = m_many->find(entity);
        held = it == m_many->end() ? nullptr : &it->second;
    } else {
        held = findFew(entity);
    }
    if (!held)
        return;
    --m_size;
    if (held->counts)
        --m_counting;
    if (--held->count > 0)
        return;
    if (m_many)
        m_many->erase(entity);
    else if (held == &m_first)
        m_first = {nullptr, false, 0};
    else
        m_few.erase(m_few.begin() + (held - m_few.data()));
}

TEntity* TElement::Holdings::takeAny()
{
    if (m_size == 0)
        return nullptr;
    TEntity* entity = m_many ? m_many->begin()->first : m_first.entity ? m_first.entity : m_few.back().entity;
    drop(entity);
    return entity;
}

std::vector<TEntity*> TElement::Holdings::entities() const
{
    std::vector<TEntity*> result;
    if (m_many) {
        for (const auto& held : *m_many)
            result.push_back(held.first);
        return result;
    }
    if (m_first.entity)
        result.push_back(m_first.entity);
    for (const Slots& held : m_few)
        result.push_back(held.entity);
    return result;
}

std::vector<TEntity*> TElement::Holders() const
{
    return m_holdings.entities();
}

void TElement::addHolding(TEntity* entity, bool counts)
{
    m_holdings.add(entity, counts);
}

void TElement::dropHolding(TEntity* entity)
{
    m_holdings.drop(entity);
}

int TElement::countingHolders() const
{
    return m_ownedHolds + m_otherHolds + m_holdings.counting();
}

void TElement::leaveHolders()
{
    while (TEntity* entity = m_holdings.takeAny())
        entity->childDying(this);
}

void TElement::LeaveContainers()
{
    while (TEntity* entity = m_holdings.takeAny()) {
        RemoveOwner(entity);
        entity->childDying(this);
    }
}

qint32 TElement::Size()
{
    return ClassType()->InstanceSize();
}

qint32 TElement::WholeSize()
{
    NewTraversalMark();
    return MarkedSize();
}

qint32 TElement::MarkedSize()
{
    m_id = g_mark;
    return Size();
}

QString TElement::GetName() const
{
    return ClassName();
}

void TElement::SetName(const QString&) {}

TElement* TElement::GetOwner(int) const
{
    return nullptr;
}

void TElement::InsertOwner(int, TElement*) {}

int TElement::OwnersCount() const
{
    return 0;
}

bool TElement::IsNameStored() const
{
    return false;
}

void TElement::ReadFrom(TReader& reader, TEntity*)
{
    m_id = reader.ReadInteger();
}

void TElement::WriteTo(TWriter& writer)
{
    writer.WriteString(ClassName());
    writer.WriteInteger(m_id);
}

bool TElement::IsEmpty() const
{
    return true;
}

Owned<TElement> TElement::MakeCopy()
{
    TPersistent* bare = ClassType()->CreateBare();
    Owned<TElement> copy(dynamic_cast<TElement*>(bare));
    if (!copy) {
        FreeObject(bare);
        return nullptr;
    }
    copy->m_id = 0;
    copy->SetName(QStringLiteral("Obálka: ") + GetName());
    return copy;
}

void TElement::NotifyDown() {}

void TElement::AddOwner(TElement*) {}

void TElement::RemoveOwner(TElement*) {}

bool TElement::HasOwner(const TElement*) const
{
    return false;
}

bool TElement::HasNoOwner() const
{
    return OwnersCount() < 1;
}

TElement* TElement::GetOwnerOfClass(TClass) const
{
    return nullptr;
}

TElement* TElement::GetOwnerByName(const QString&) const
{
    return nullptr;
}

TElement* TElement::FindOwnerOfClass(TClass cls)
{
    if (InheritsFrom(cls))
        return this;
    return findOwnerOfClassAmong(ownerList(), cls);
}

bool TElement::CanBeFreed()
{
    // The releasing container is one of the holders.
    const int holders = countingHolders();
    if (holders < 2)
        return true;
    const TOwnerList* owners = ownerList();
    // A holder that is not in the owner list cannot be asked: keep the element.
    if (!owners || static_cast<int>(owners->size()) < holders)
        return false;
    for (const auto& entry : *owners) {
        TEntity* owner = ownerEntity(entry);
        if (!owner || !owner->AgreesToFree(this))
            return false;
    }
    return true;
}

void TElement::ResetMarks()
{
    NewTraversalMark();
    SetMark();
}

void TElement::SetMark()
{
    m_id = g_mark;
}

bool TElement::HasProperty(const QString& name)
{
    return IndexOfProp(this, name) > -1;
}

QString TElement::GetPropAsString(const QString& name)
{
    return GetPropByName(this, name);
}

void TElement::SetPropAsString(const QString& name, const QString& value)
{
    SetPropByName(this, name, value);
}

qint32 TElement::GetPropAsInteger(const QString& name)
{
    return LeadingInteger(GetPropAsString(name));
}

void TElement::SetPropAsInteger(const QString& name, qint32 value)
{
    SetPropAsString(name, QString::number(value));
}

bool TElement::GetPropAsBoolean(const QString& name)
{
    const QString text = GetPropAsString(name);
    return !text.isEmpty() && txt::upperAscii(text.at(0)) == QLatin1Char('T');
}

void TElement::SetPropAsBoolean(const QString& name, bool value)
{
    SetPropAsString(name, value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

// --- TNameElement -----------------------------------------------------------------------------

TClass TNameElement::StaticClass()
{
    static const TClassInfo info = describeClass<TNameElement, TElement>("TNameElement");
    return &info;
}

qint32 TNameElement::Size()
{
    return txt::addChecked(TElement::Size(), static_cast<qint32>(m_name.size()) + 1);
}

// --- TOwnerElement ----------------------------------------------------------------------------

TClass TOwnerElement::StaticClass()
{
    static const TClassInfo info = describeClass<TOwnerElement, TNameElement>("TOwnerElement");
    return &info;
}

TOwnerElement::~TOwnerElement()
{
    // Leave every container that still lists this element, the last owner first.
    while (!m_owners.empty()) {
        const size_t before = m_owners.size();
        TEntity* owner = ownerEntity(m_owners.back());
        if (owner)
            owner->Remove(this);
        if (m_owners.size() == before)
            m_owners.pop_back();
    }
}

TElement* TOwnerElement::GetOwner(int index) const
{
    if (index < 0)
        listIndexError(index);
    if (index >= static_cast<int>(m_owners.size()))
        return nullptr;
    return m_owners[static_cast<size_t>(index)].get();
}

// --- TAliasElement ----------------------------------------------------------------------------

TClass TAliasElement::StaticClass()
{
    static const TClassInfo info = describeClass<TAliasElement, TOwnerElement>("TAliasElement");
    return &info;
}

// --- TEntity ----------------------------------------------------------------------------------

TClass TEntity::StaticClass()
{
    static const TClassInfo info = describeClass<TEntity, TElement>("TEntity", [](PropertyTable<TEntity>& t) {
        t.object<TElement>("NextElement", nullptr, &TEntity::Add)
            .object<TElement>("ElementToFree", nullptr, &TEntity::RemoveAndFree)
            .object<TElement>("ElementToRemove", nullptr, &TEntity::Remove)
            .object<TElement>("AddAllFrom", nullptr, &TEntity::AddAllFrom)
            .integer("WholeCount", &TEntity::WholeCount, nullptr)
            .integer("Count", &TEntity::Count, nullptr)
            .integer("LastIndex", &TEntity::LastIndex, nullptr);
    });
    return &info;
}

TEntity::~TEntity()
{
    // A child freed here may drop the last other hold on this entity (a KillData message whose
    // Data it is): this hold keeps that from freeing the entity a second time.
    Hold();
    TEntity::Clear();
}

TSuperList& TEntity::list()
{
    // The callers change the list.
    treeChanged();
    if (!m_children) {
        m_children.emplace();
        m_children->reserve(4);   // most lists stay this short: no regrowing
    }
    return *m_children;
}

void TEntity::listAppend(TElement* element)
{
    list().push_back(element);
    if (element)
        element->addHolding(this, HoldingsCount());
}

void TEntity::listInsert(int index, TElement* element)
{
    TSuperList& children = list();
    if (index < 0 || index > static_cast<int>(children.size()))
        listIndexError(index);
    children.insert(children.begin() + index, element);
    if (element)
        element->addHolding(this, HoldingsCount());
}

bool TEntity::takeFirst(TElement* element)
{
    if (!m_children)
        return false;
    const auto it = std::find(m_children->begin(), m_children->end(), element);
    if (it == m_children->end())
        return false;
    treeChanged();
    m_children->erase(it);
    element->dropHolding(this);
    return true;
}

void TEntity::childDying(TElement* child)
{
    // The child's holding is already gone; take one of its slots out.
    treeChanged();
    for (DetachedList* clearing = m_clearing; clearing; clearing = clearing->outer) {
        TSuperList* detached = clearing->list;
        const auto it = std::find(detached->begin(), detached->end(), child);
        if (it != detached->end()) {
            *it = nullptr;
            return;
        }
    }
    if (m_children) {
        const auto it = std::find(m_children->begin(), m_children->end(), child);
        if (it == m_children->end())
            return;
        // Weak holders keep the slot so that positions (the loaders' element numbers) stay valid.
        if (HoldingsCount())
            m_children->erase(it);
        else
            *it = nullptr;
    }
}

bool TEntity::mayFree(TElement* child)
{
    // A weak holder is not among the counted ones: anybody counted keeps the child.
    if (!HoldingsCount() && child->countingHolders() > 0)
        return false;
    return child->CanBeFreed();
}

void TEntity::release(TElement* child)
{
    // Decided while the child still counted this container among its holders.
    const bool canFree = mayFree(child);
    child->dropHolding(this);
    if (canFree)
        FreeObject(child);
    else
        child->RemoveOwner(this);
}

void TEntity::itemIndexError(int index)
{
    listIndexError(index);
}

void TEntity::InsertItem(int index, TElement* element)
{
    if (!m_children || m_children->empty()) {
        if (index != 0)
            listIndexError(index);
        listAppend(element);
        return;
    }
    if (index < 0 || index >= static_cast<int>(m_children->size()))
        listIndexError(index);
    treeChanged();
    TElement*& slot = (*m_children)[static_cast<size_t>(index)];
    TElement* replaced = slot;
    slot = element;
    // No owner lists change, but the holdings follow the slot.
    if (replaced)
        replaced->dropHolding(this);
    if (element)
        element->addHolding(this, HoldingsCount());
}

int TEntity::IndexOf(const TElement* element) const
{
    if (!m_children)
        return -1;
    const auto it = std::find(m_children->begin(), m_children->end(), element);
    return it == m_children->end() ? -1 : static_cast<int>(it - m_children->begin());
}

void TEntity::Clear()
{
    if (IsEmpty())
        return;
    ui::WaitCursor cursor;
    // Detached first: a child whose destruction removes it from this entity cannot reach the
    // list being worked through, and a handler run by processEvents sees an empty entity. The
    // entity keeps an empty list, as any emptied list.
    treeChanged();
    TSuperList children = std::move(*m_children);
    m_children->clear();
    DetachedList detached{&children, m_clearing};
    m_clearing = &detached;
    const struct PopOnExit {
        DetachedList*& innermost;
        DetachedList* outer;
        ~PopOnExit() { innermost = outer; }
    } popOnExit{m_clearing, detached.outer};
    if (children.size() > static_cast<size_t>(clearEventsThreshold))
        ProcessMessages();
    for (size_t i = children.size(); i-- > 0;) {
        TElement* child = children[i];
        if (!child)
            continue;
        children[i] = nullptr;
        release(child);
    }
}

TElement* TEntity::CreateChild(const QString& className, const QString& name)
{
    return AddNewOfClass(FindLumexClass(className), name);
}

void TEntity::Add(TElement* element)
{
    if (!element)
        return;
    list();
    element->AddOwner(this);
    listAppend(element);
}

void TEntity::Insert(int index, TElement* element)
{
    if (!element)
        return;
    if (!m_children) {
        if (index != 0)
            return;
        listAppend(element);
    } else {
        listInsert(index, element);
    }
    element->AddOwner(this);
}

void TEntity::Remove(TElement* element)
{
    if (!element || !m_children)
        return;
    element->RemoveOwner(this);
    takeFirst(element);
}

void TEntity::RemoveAndFree(TElement* element)
{
    if (!element || !m_children)
        return;
    // An element this entity does not hold is not its to free.
    if (IndexOf(element) < 0) {
        element->RemoveOwner(this);
        return;
    }
    const bool canFree = mayFree(element);
    takeFirst(element);
    if (canFree)
        FreeObject(element);
    else
        element->RemoveOwner(this);
}

TElement* TEntity::FindElementByClass(TClass cls) const
{
    if (!m_children)
        return nullptr;
    for (TElement* child : *m_children)
        if (child && child->InheritsFrom(cls))
            return child;
    return nullptr;
}

TElement* TEntity::FindElementByName(const QString& name) const
{
    if (!m_children)
        return nullptr;
    const QString wanted = txt::upperLetters(name);
    for (TElement* child : *m_children)
        if (child && isNameOf(child->GetName(), wanted))
            return child;
    return nullptr;
}

bool TEntity::AgreesToFree(TElement*)
{
    return false;
}

bool TEntity::IsEmpty() const
{
    return !m_children || m_children->empty();
}

qint32 TEntity::MarkedSize()
{
    SetID(g_mark);
    qint32 size = Size();
    if (m_children)
        for (size_t i = 0; i < m_children->size(); ++i) {
            TElement* child = (*m_children)[i];
            if (child && child->ID() != g_mark)
                size = txt::addChecked(size, child->MarkedSize());
        }
    return size;
}

void TEntity::SetMark()
{
    SetID(g_mark);
    if (m_children)
        for (size_t i = 0; i < m_children->size(); ++i) {
            TElement* child = (*m_children)[i];
            if (child && child->ID() != g_mark)
                child->SetMark();
        }
}

void TEntity::ReadFrom(TReader& reader, TEntity* loader)
{
    TElement::ReadFrom(reader, loader);
    reader.ReadListBegin();
    while (!reader.EndOfList()) {
        const qint32 number = reader.ReadInteger();
        if (loader)
            Add(loader->Items(number));
    }
    reader.ReadListEnd();
}

void TEntity::WriteTo(TWriter& writer)
{
    TElement::WriteTo(writer);
    writer.WriteListBegin();
    if (m_children)
        for (TElement* child : *m_children)
            writer.WriteInteger(child ? child->ID() : -1);
    writer.WriteListEnd();
}

Owned<TElement> TEntity::MakeCopy()
{
    Owned<TElement> copy = TElement::MakeCopy();
    auto* entity = dynamic_cast<TEntity*>(copy.get());
    if (!entity || !m_children)
        return copy;
    const TSuperList children = *m_children;
    for (TElement* child : children) {
        if (!child)
            continue;
        if (child->HasNoOwner())
            entity->Add(child->MakeCopy().release());
        else
            entity->Add(child);
    }
    return copy;
}

void TEntity::HandleMessage(TLumexMessage&, bool&) {}

void TEntity::NotifyDown()
{
    // The live list: a child freed on the way is never reached through a stale copy.
    for (size_t i = 0; m_children && i < m_children->size(); ++i)
        if (TElement* child = (*m_children)[i])
            child->NotifyDown();
}

int TEntity::WholeCount()
{
    NewTraversalMark();
    return countAll(g_mark);
}

int TEntity::countAll(qint32 mark)
{
    SetID(mark);
    qint32 total = Count();
    if (m_children)
        for (size_t i = 0; i < m_children->size(); ++i) {
            TElement* child = (*m_children)[i];
            if (!child || child->ID() == mark)
                continue;
            if (auto* entity = child->asEntity())
                total = txt::addChecked(total, entity->countAll(mark));
            else
                child->SetID(mark);
        }
    return total;
}

void TEntity::AddAllFrom(TElement* source)
{
    auto* entity = dynamic_cast<TEntity*>(source);
    if (!entity || !entity->m_children)
        return;
    const TSuperList children = *entity->m_children;
    for (TElement* child : children)
        Add(child);
}

int TEntity::CountOfClass(TClass cls) const
{
    if (!m_children)
        return 0;
    return static_cast<int>(std::count_if(m_children->begin(), m_children->end(),
                                          [cls](TElement* c) { return c && c->InheritsFrom(cls); }));
}

void TEntity::ForgetAll()
{
    if (IsEmpty())
        return;
    treeChanged();
    for (TElement* child : *m_children)
        if (child)
            child->dropHolding(this);
    m_children->clear();
}

TElement* TEntity::FindAliased(const QString& name)
{
    if (auto* aliases = dynamic_cast<TAliases*>(FindElementByClass(TAliases::StaticClass())))
        if (TElement* target = aliases->AliasTarget(name))
            return target;
    return FindElementByName(name);
}

void TEntity::SetAliased(const QString& name, TElement* element)
{
    auto* aliases = dynamic_cast<TAliases*>(FindElementByClass(TAliases::StaticClass()));
    if (!aliases)
        aliases = AddNew<TAliases>();
    TElement* current = aliases->AliasTarget(name);
    // Replacing an element by itself must not free it on the way.
    if (current && current == element)
        return;
    if (current)
        RemoveAndFree(current);
    aliases->SetAlias(name, element);
    Add(element);
}

// --- TNameEntity ------------------------------------------------------------------------------

TClass TNameEntity::StaticClass()
{
    static const TClassInfo info = describeClass<TNameEntity, TEntity>("TNameEntity");
    return &info;
}

qint32 TNameEntity::Size()
{
    const qint32 size = TEntity::Size();
    return m_name.isEmpty() ? size : txt::addChecked(size, static_cast<qint32>(m_name.size()) + 1);
}

// --- TOwnerEntity -----------------------------------------------------------------------------

TClass TOwnerEntity::StaticClass()
{
    static const TClassInfo info = describeClass<TOwnerEntity, TNameEntity>("TOwnerEntity");
    return &info;
}

TOwnerEntity::~TOwnerEntity()
{
    // Leave every container that still lists this entity, the last owner first.
    for (size_t i = m_owners.size(); i-- > 0;) {
        if (i >= m_owners.size())
            continue;
        TElement* owner = m_owners[i].get();
        if (!owner)
            continue;
        auto* entity = owner->asEntity();
        if (!entity) {
            showMessage(QStringLiteral("TOwnerEntity.Destroy: Špatný vlastník"));
            continue;
        }
        if (entity->Count() > 0)
            entity->Remove(this);
    }
    m_owners.reset();
}

TElement* TOwnerEntity::GetOwner(int index) const
{
    if (index < 0)
        listIndexError(index);
    if (index >= static_cast<int>(m_owners.size()))
        return nullptr;
    TElement* owner = m_owners[static_cast<size_t>(index)].get();
    if (owner && owner->asEntity())
        return owner;
    const QString prefix = QStringLiteral("TOwnerEntity(") + GetName() + QStringLiteral(").GetOwner: ");
    showMessage(prefix + (owner ? QStringLiteral("Objekt vlastníka není TEntity")
                                : QStringLiteral("Objekt vlastníka je prázdný")));
    return nullptr;
}

// --- WithName ----------------------------------------------------------------------------------

template<class Base>
QString WithName<Base>::GetName() const
{
    return m_name.isEmpty() ? this->ClassName() : m_name;
}

template<class Base>
void WithName<Base>::SetName(const QString& name)
{
    m_name = name;
}

template<class Base>
bool WithName<Base>::IsNameStored() const
{
    return !m_name.isEmpty();
}

template<class Base>
void WithName<Base>::ReadFrom(TReader& reader, TEntity* loader)
{
    Base::ReadFrom(reader, loader);
    SetName(reader.ReadString());
}

template<class Base>
void WithName<Base>::WriteTo(TWriter& writer)
{
    Base::WriteTo(writer);
    writer.WriteString(GetName());
}

template class WithName<TElement>;
template class WithName<TEntity>;

// --- WithOwnerList -----------------------------------------------------------------------------

template<class Base, bool LookThroughEnvelopes>
void WithOwnerList<Base, LookThroughEnvelopes>::InsertOwner(int index, TElement* owner)
{
    insertOwner(m_owners, index, owner);
}

template<class Base, bool LookThroughEnvelopes>
int WithOwnerList<Base, LookThroughEnvelopes>::OwnersCount() const
{
    return static_cast<int>(m_owners.size());
}

template<class Base, bool LookThroughEnvelopes>
void WithOwnerList<Base, LookThroughEnvelopes>::AddOwner(TElement* owner)
{
    insertOwner(m_owners, 0, owner);   // index 0 appends
}

template<class Base, bool LookThroughEnvelopes>
void WithOwnerList<Base, LookThroughEnvelopes>::RemoveOwner(TElement* owner)
{
    removeFirstOwner(&m_owners, owner);
}

template<class Base, bool LookThroughEnvelopes>
bool WithOwnerList<Base, LookThroughEnvelopes>::HasOwner(const TElement* owner) const
{
    return listsOwner(&m_owners, owner);
}

template<class Base, bool LookThroughEnvelopes>
bool WithOwnerList<Base, LookThroughEnvelopes>::HasNoOwner() const
{
    return OwnersCount() == 0;
}

template<class Base, bool LookThroughEnvelopes>
TElement* WithOwnerList<Base, LookThroughEnvelopes>::GetOwnerOfClass(TClass cls) const
{
    return firstOwnerOfClass(&m_owners, cls, LookThroughEnvelopes);
}

template<class Base, bool LookThroughEnvelopes>
TElement* WithOwnerList<Base, LookThroughEnvelopes>::GetOwnerByName(const QString& name) const
{
    return firstOwnerNamed(&m_owners, name, LookThroughEnvelopes);
}

template<class Base, bool LookThroughEnvelopes>
TElement* WithOwnerList<Base, LookThroughEnvelopes>::FindOwnerOfClass(TClass cls)
{
    return TElement::FindOwnerOfClass(cls);
}

template class WithOwnerList<TNameElement, false>;
template class WithOwnerList<TNameEntity, true>;

// --- TQuickEntity -----------------------------------------------------------------------------

TClass TQuickEntity::StaticClass()
{
    static const TClassInfo info = describeClass<TQuickEntity, TEntity>("TQuickEntity");
    return &info;
}

void TQuickEntity::Add(TElement* element)
{
    if (element)
        listAppend(element);
}

void TQuickEntity::Insert(int index, TElement* element)
{
    if (!element)
        return;
    if (!hasList()) {
        if (index == 0)
            listAppend(element);
        return;
    }
    listInsert(index, element);
}

// --- TEnvelopeEntity --------------------------------------------------------------------------

TClass TEnvelopeEntity::StaticClass()
{
    static const TClassInfo info = describeClass<TEnvelopeEntity, TEntity>("TEnvelopeEntity");
    return &info;
}

void TEnvelopeEntity::AddOwner(TElement* owner)
{
    treeChanged();
    m_enveloped = owner;
}

void TEnvelopeEntity::HandleMessage(TLumexMessage& msg, bool& handled)
{
    TElement* enveloped = m_enveloped.get();
    msg.SetReceiver(enveloped);
    if (enveloped)
        enveloped->HandleMessage(msg, handled);
}

TElement* TEnvelopeEntity::GetOwnerOfClass(TClass cls) const
{
    if (InheritsFrom(cls))
        return const_cast<TEnvelopeEntity*>(this);
    TElement* enveloped = m_enveloped.get();
    return enveloped && enveloped->InheritsFrom(cls) ? enveloped : nullptr;
}

TElement* TEnvelopeEntity::FindOwnerOfClass(TClass cls)
{
    if (InheritsFrom(cls))
        return this;
    TElement* enveloped = m_enveloped.get();
    return enveloped ? enveloped->FindOwnerOfClass(cls) : nullptr;
}

// --- TAliases ---------------------------------------------------------------------------------

TClass TAliases::StaticClass()
{
    static const TClassInfo info = describeClass<TAliases, TEntity>("TAliases");
    return &info;
}

TElement* TAliases::AliasTarget(const QString& name) const
{
    auto* alias = dynamic_cast<TAliasElement*>(FindElementByName(name));
    return alias ? alias->Target() : nullptr;
}

void TAliases::SetAlias(const QString& name, TElement* element)
{
    if (!element)
        return;
    auto* alias = dynamic_cast<TAliasElement*>(FindElementByName(name));
    if (!alias) {
        alias = AddNew<TAliasElement>();
        alias->SetName(name);
    }
    alias->SetTarget(element);
}

// --- free functions ---------------------------------------------------------------------------

TElement* GetOrCreateChildOfClass(TEntity* entity, TClass cls, const QString& name)
{
    if (TElement* found = entity->FindElementByName(name))
        return found;
    return entity->AddNewOfClass(cls, name);
}

void RegisterElementsUnit()
{
    RegisterUnitClasses({TElement::StaticClass(), TNameElement::StaticClass(), TOwnerElement::StaticClass(),
                         TEntity::StaticClass(), TNameEntity::StaticClass(), TOwnerEntity::StaticClass(),
                         TEnvelopeEntity::StaticClass(), TLumexMessage::StaticClass()});
}
