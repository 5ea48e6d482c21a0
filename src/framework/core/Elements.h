// Element tree of the Lumex framework: elements, owner-aware elements, containers and aliases.
#pragma once

#include "framework/core/Properties.h"

#include <QString>
#include <QStringList>
#include <QVarLengthArray>

#include <cstddef>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class TElement;
class TEntity;
class TLumexMessage;
class TReader;
class TWriter;

// A plain list of elements (the class library's TList of the original): the children of an entity.
using TSuperList = std::vector<TElement*>;
// The owners of an owner-aware element, in the order they were added. Entries turn nil when
// their owner is freed. Taking out the first entry costs no shifting: an element shared by a
// whole expression tree loses its owners in the order they took it. A long list also counts the
// entries of each owner, so that an owner listed once is looked for from both ends: releasing
// in reverse order takes constant time too. The first entries need no allocation.
class TOwnerList
{
public:
    using Entry = WeakRef<TElement>;
    using Entries = QVarLengthArray<Entry, 2>;
    using const_iterator = Entries::const_iterator;

    size_t size() const { return static_cast<size_t>(m_entries.size()) - m_front; }
    bool empty() const { return size() == 0; }
    const Entry& operator[](size_t index) const { return m_entries[static_cast<qsizetype>(m_front + index)]; }
    const_iterator begin() const { return m_entries.begin() + static_cast<std::ptrdiff_t>(m_front); }
    const_iterator end() const { return m_entries.end(); }
    const Entry& back() const { return m_entries.back(); }
    void pop_back();
    // index == size() appends.
    void insert(size_t index, TElement* owner);
    // Takes out the first entry that reads owner; false when there is none.
    bool removeFirst(const TElement* owner);
    // Forgets every entry, without telling anyone.
    void reset();

private:
    // Where the first entry of the live owner is, the number of entries when none.
    size_t find(const TElement& owner) const;
    void count(const Entry& entry, int delta);

    Entries m_entries;
    size_t m_front = 0;   // entries before it have been taken out
    // Entries per owner handle, kept once the list has grown long (absent before).
    std::unique_ptr<std::unordered_map<qint32, int>> m_counts;
};

// --- tree generation -----------------------------------------------------------------------
// Changes whenever any container's children or any element's owners change, or an element is
// freed: an answer computed from the element tree stays right while the generation is the same.
// Never 0.
quint64 TreeGeneration();

// --- traversal marks ------------------------------------------------------------------------
// Draws a new walk mark in -31999..-3 that differs from the previous one. 0, -1 (the ID of a
// fresh element) and -2 (an unnumbered reference in the model streams) are never drawn.
void NewTraversalMark();
qint32 TraversalMark();

// Root of the framework's classes.
//
// Ownership: elements are created through Create<T>() or a class reference (the virtual
// constructor) and freed through FreeObject. Containers (TEntity) hold their children; an element
// held by several containers is freed by the last one that releases it. Besides the owner list
// of the owner-aware classes (OwnersCount, GetOwner), every element privately records each
// container that holds it, so that
//   - CanBeFreed answers no while another container, or an Owned pointer, still holds the
//     element, whatever its class;
//   - an element that is freed leaves every container holding it (no container keeps a
//     dangling child).
// A new element: `entity->AddNew<T>()`, or `entity->Add(Create<T>().release())`; an element kept
// in an Owned and also added to containers stays alive until the Owned lets it go.
// The published property table follows the original's: ID, Name, OwnersCount, Size, WholeSize.
// Members are defined in Elements.cpp, except the path queries (ElementPaths.cpp) and the
// message operations (Messages.cpp).
class TElement : public TPersistent
{
public:
    TElement() = default;
    ~TElement() override;

    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Field ID: -1 after construction; carries the walk mark during walks.
    qint32 ID() const { return m_id; }
    void SetID(qint32 id) { m_id = id; }

    // Instance size of the object's class in bytes.
    virtual qint32 Size();
    // New walk mark, then MarkedSize. 32-bit overflow raises EIntOverflow.
    virtual qint32 WholeSize();
    virtual qint32 MarkedSize();
    // The class name (named classes: the name, or the class name when empty).
    virtual QString GetName() const;
    virtual void SetName(const QString& name);
    // nil here; owner-aware classes give the owner at index (a negative index raises EListError).
    virtual TElement* GetOwner(int index) const;
    virtual void InsertOwner(int index, TElement* owner);
    virtual int OwnersCount() const;
    virtual bool IsNameStored() const;
    // Reads ID; the loader is the entity that holds the elements read so far, in stream order.
    virtual void ReadFrom(TReader& reader, TEntity* loader);
    // Writes the class name and ID.
    virtual void WriteTo(TWriter& writer);
    virtual bool IsEmpty() const;
    // A bare instance of the same class (no after-construction step, ID 0) named
    // "Obálka: " + GetName. The caller owns it.
    virtual Owned<TElement> MakeCopy();
    // Framework messages (see Messages.h).
    virtual void HandleMessage(TLumexMessage& msg, bool& handled);
    virtual void DispatchToOwners(TLumexMessage& msg, bool& handled);
    virtual void SendMessage(qint32 message, TElement* receiver, TElement* data);
    virtual void PostMessage(qint32 message, TElement* receiver, TElement* data);
    virtual void SendToOwners(qint32 message, TElement* data);
    virtual void PostToOwners(qint32 message, TElement* data);
    virtual void NotifyDown();
    // Owner bookkeeping; ignored here (no owner list).
    virtual void AddOwner(TElement* owner);
    virtual void RemoveOwner(TElement* owner);
    virtual bool HasOwner(const TElement* owner) const;
    virtual bool HasNoOwner() const;
    virtual TElement* GetOwnerOfClass(TClass cls) const;
    virtual TElement* GetOwnerByName(const QString& name) const;
    // Self when of the class, else the first owner's answer, else nil.
    virtual TElement* FindOwnerOfClass(TClass cls);
    // True when no other container holds the element; with two or more owners (all of them
    // known through the owner list) only when every owner AgreesToFree.
    virtual bool CanBeFreed();
    virtual void ResetMarks();
    virtual void SetMark();
    // Path queries: "FINDELEMENTBYNAME(x).Prop", "FINDELEMENTBYCLASS(TX).Obj.Prop", ... Errors raise
    // Exception with the position in the path.
    virtual QString GetValueByPath(const QString& path);
    virtual QStringList FillListByPath(const QString& path);
    virtual TPersistent* GetElementByPath(const QString& path);
    // Published properties by name (ASCII case ignored).
    virtual bool HasProperty(const QString& name);
    virtual QString GetPropAsString(const QString& name);
    virtual void SetPropAsString(const QString& name, const QString& value);
    virtual qint32 GetPropAsInteger(const QString& name);
    virtual void SetPropAsInteger(const QString& name, qint32 value);
    virtual bool GetPropAsBoolean(const QString& name);
    virtual void SetPropAsBoolean(const QString& name, bool value);

    TElement* asElement() override { return this; }
    // The element as a container, nil when it is none (cheaper than a cast).
    virtual TEntity* asEntity() { return nullptr; }

    // Number of container slots holding this element (owner-aware or not, TQuickEntity included).
    int HolderCount() const { return m_holdings.size(); }
    // The containers holding this element, each once, in no particular order.
    std::vector<TEntity*> Holders() const;
    // Leaves every container holding it, without being freed (the caller takes it over).
    void LeaveContainers();
    void OwnedHoldChanged(int delta) override { m_ownedHolds += delta; }
    // Whether an Owned pointer holds this element (it then frees the element, nobody else).
    bool IsHeldByOwned() const { return m_ownedHolds > 0; }
    // A hold of something that is neither a container nor an Owned (a message that is to free
    // its Data): it counts as a holder. DropHold answers whether nothing holds the element any
    // more, so that the one dropping the hold frees it.
    void Hold() { ++m_otherHolds; }
    bool DropHold()
    {
        --m_otherHolds;
        return countingHolders() == 0;
    }

private:
    friend class TEntity;
    // The owner list of owner-aware classes, nullptr for the others.
    virtual const TOwnerList* ownerList() const { return nullptr; }
    // The container slots that hold this element. Weak holdings (TQuickEntity) do not keep the
    // element from being freed, but are told when it dies. Their order is never observed: each
    // container is told once per slot, whatever the order. A few are kept in a vector, many (a
    // variable list shared by every node of an expression tree) in a table by container, so that
    // adding and dropping take constant time.
    class Holdings
    {
    public:
        void add(TEntity* entity, bool counts);
        // Drops one slot of entity; nothing when entity holds none.
        void drop(TEntity* entity);
        // Takes out one slot, nil when none is left.
        TEntity* takeAny();
        std::vector<TEntity*> entities() const;
        int size() const { return m_size; }
        int counting() const { return m_counting; }

    private:
        struct Slots {
            TEntity* entity;
            bool counts;
            int count;
        };
        void moveToTable();

        // The slots of one entity in the vector or the first slot, nil when it has none there.
        Slots* findFew(TEntity* entity);

        Slots m_first{nullptr, false, 0};   // nearly every element has one container: no allocation
        std::vector<Slots> m_few;           // the others
        std::unique_ptr<std::unordered_map<TEntity*, Slots>> m_many;   // instead of both when large
        int m_size = 0;
        int m_counting = 0;
    };
    void addHolding(TEntity* entity, bool counts);
    void dropHolding(TEntity* entity);
    int countingHolders() const;
    void leaveHolders();

    qint32 m_id = -1;
    Holdings m_holdings;
    int m_ownedHolds = 0;   // Owned pointers holding this element (0 or 1)
    int m_otherHolds = 0;   // holds taken through Hold
};

// The name that named elements and named entities share: an empty name reads as the class
// name and is not stored; streams carry the name after the base's data. Instantiated in
// Elements.cpp for the two classes below.
template<class Base>
class WithName : public Base
{
public:
    QString GetName() const override;
    void SetName(const QString& name) override;
    bool IsNameStored() const override;
    void ReadFrom(TReader& reader, TEntity* loader) override;
    void WriteTo(TWriter& writer) override;

protected:
    QString m_name;
};

// An element with a name.
class TNameElement : public WithName<TElement>
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    qint32 Size() override;
};

// The owner list of the owner-aware classes: the elements and the entities that record the
// containers holding them. Owner searches by class or name look through envelopes when
// LookThroughEnvelopes. Instantiated in Elements.cpp for the two classes below.
template<class Base, bool LookThroughEnvelopes>
class WithOwnerList : public Base
{
public:
    void InsertOwner(int index, TElement* owner) override;
    int OwnersCount() const override;
    void AddOwner(TElement* owner) override;
    void RemoveOwner(TElement* owner) override;
    bool HasOwner(const TElement* owner) const override;
    bool HasNoOwner() const override;
    TElement* GetOwnerOfClass(TClass cls) const override;
    // Case-sensitive.
    TElement* GetOwnerByName(const QString& name) const override;
    TElement* FindOwnerOfClass(TClass cls) override;

protected:
    TOwnerList m_owners;

private:
    const TOwnerList* ownerList() const override { return &m_owners; }
};

// An element that records the containers holding it (its owners).
class TOwnerElement : public WithOwnerList<TNameElement, false>
{
public:
    ~TOwnerElement() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TElement* GetOwner(int index) const override;
};

// An owner-aware element that refers to another element (not owned) under its own name.
class TAliasElement : public TOwnerElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TElement* Target() const { return m_target.get(); }
    void SetTarget(TElement* target) { m_target = target; }

private:
    WeakRef<TElement> m_target;
};

// An ordered container of elements (children). See TElement for ownership.
class TEntity : public TElement
{
public:
    ~TEntity() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    virtual int Count() const { return m_children ? static_cast<int>(m_children->size()) : 0; }
    virtual int LastIndex() const { return Count() - 1; }
    // Child at index; nil without a list; an index outside the list raises EListError.
    virtual TElement* Items(int index) const
    {
        if (!m_children)
            return nullptr;
        if (index < 0 || index >= static_cast<int>(m_children->size()))
            itemIndexError(index);
        return (*m_children)[static_cast<size_t>(index)];
    }
    // Puts the element in place of the child at index, without owner-list bookkeeping (the
    // replaced child is not freed); appends on an empty list at index 0.
    virtual void InsertItem(int index, TElement* element);
    virtual int IndexOf(const TElement* element) const;
    // Frees the children that CanBeFreed, drops the others (they lose this owner).
    virtual void Clear();
    // Creates, names and adds a child of the class registered under className; nil when none.
    virtual TElement* CreateChild(const QString& className, const QString& name);
    virtual void Add(TElement* element);
    virtual void Insert(int index, TElement* element);
    virtual void Remove(TElement* element);
    virtual void RemoveAndFree(TElement* element);
    virtual TElement* FindElementByClass(TClass cls) const;
    // Letter case ignored (Czech letters included).
    virtual TElement* FindElementByName(const QString& name) const;
    virtual bool AgreesToFree(TElement* child);
    TEntity* asEntity() override { return this; }

    bool IsEmpty() const override;
    qint32 MarkedSize() override;
    void SetMark() override;
    void ReadFrom(TReader& reader, TEntity* loader) override;
    void WriteTo(TWriter& writer) override;
    Owned<TElement> MakeCopy() override;
    void HandleMessage(TLumexMessage& msg, bool& handled) override;
    void NotifyDown() override;

    // New walk mark, then the children counted along all paths, each element once.
    int WholeCount();
    // Adds (shares) every child of source when it is an entity.
    void AddAllFrom(TElement* source);
    int CountOfClass(TClass cls) const;
    // slot's element goes through RemoveAndFree, then slot := element and Add(element).
    // Nothing at all when slot already holds element.
    template<class T>
    void ReplaceChild(T*& slot, T* element)
    {
        if (slot == element)
            return;
        TElement* old = slot;
        slot = nullptr;
        RemoveAndFree(old);
        slot = element;
        Add(element);
    }
    template<class T>
    void ReplaceChild(WeakRef<T>& slot, T* element)
    {
        T* current = slot.get();
        ReplaceChild(current, element);
        slot = current;
    }
    // Empties the list without freeing and without owner bookkeeping.
    void ForgetAll();
    // The target of the alias in the first TAliases child, else FindElementByName.
    TElement* FindAliased(const QString& name);
    // Registers element under the alias (replacing and releasing the earlier one) and adds it.
    // Nothing when the alias already refers to element.
    void SetAliased(const QString& name, TElement* element);

    // Creates an instance of cls through its virtual constructor, names it and adds it; nil (and
    // nothing added) when cls makes no T.
    template<class T = TElement>
    T* AddNewOfClass(TClass cls, const QString& name)
    {
        Owned<T> element = CreateOfClass<T>(cls);
        if (!element)
            return nullptr;
        element->SetName(name);
        T* added = element.release();
        Add(added);
        return added;
    }

    // Creates a T through the framework and adds it; the entity holds it.
    template<class T, class... Args>
    T* AddNew(Args&&... args)
    {
        T* element = Create<T>(std::forward<Args>(args)...).release();
        Add(element);
        return element;
    }

protected:
    // Whether this container's holdings keep children alive (TQuickEntity: no).
    virtual bool HoldingsCount() const { return true; }
    // Appends/inserts in the list with the private holding, no owner bookkeeping.
    void listAppend(TElement* element);
    void listInsert(int index, TElement* element);
    TSuperList& list();
    bool hasList() const { return m_children.has_value(); }

private:
    friend class TElement;
    // A child is being destroyed: its slot leaves the list (a TQuickEntity's slot becomes nil).
    void childDying(TElement* child);
    int countAll(qint32 mark);
    // Takes the first occurrence out of the list with its holding; false when absent.
    bool takeFirst(TElement* element);
    // Frees or releases one child that has left the list.
    void release(TElement* child);
    // Whether this container may free the child it holds (asked before its holding is dropped).
    bool mayFree(TElement* child);

    [[noreturn]] static void itemIndexError(int index);

    // A list that a Clear has detached and works through; nested Clears stack them.
    struct DetachedList {
        TSuperList* list;
        DetachedList* outer;
    };

    std::optional<TSuperList> m_children;   // absent until first needed
    DetachedList* m_clearing = nullptr;       // the innermost running Clear's list
};

// An entity with a name.
class TNameEntity : public WithName<TEntity>
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The name counts only when set.
    qint32 Size() override;
};

extern template class WithName<TElement>;
extern template class WithName<TEntity>;

// A named entity that records its owners; its owner searches look through envelopes.
class TOwnerEntity : public WithOwnerList<TNameEntity, true>
{
public:
    ~TOwnerEntity() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Checks the entry: messages for a nil owner or one that is no entity.
    TElement* GetOwner(int index) const override;
};

extern template class WithOwnerList<TNameElement, false>;
extern template class WithOwnerList<TNameEntity, true>;

// An entity whose children are not told that it holds them (no owner lists touched).
// It still frees them on Clear and RemoveAndFree, but does not keep them alive: when another
// container frees a child, its slot here becomes nil (indexes stay valid).
class TQuickEntity : public TEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void Add(TElement* element) override;
    void Insert(int index, TElement* element) override;

protected:
    bool HoldingsCount() const override { return false; }
};

// An entity that envelops one element: AddOwner makes the element the enveloped one, messages
// and owner searches pass to it.
class TEnvelopeEntity : public TEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TElement* Enveloped() const { return m_enveloped.get(); }
    void AddOwner(TElement* owner) override;
    void HandleMessage(TLumexMessage& msg, bool& handled) override;
    TElement* GetOwnerOfClass(TClass cls) const override;
    TElement* FindOwnerOfClass(TClass cls) override;

private:
    WeakRef<TElement> m_enveloped;
};

// A table from alias names to elements; its children are TAliasElements.
class TAliases : public TEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TElement* AliasTarget(const QString& name) const;
    void SetAlias(const QString& name, TElement* element);
};

// The child named `name` (case ignored) or a new instance of cls so named and added.
TElement* GetOrCreateChildOfClass(TEntity* entity, TClass cls, const QString& name);
// The named sub-list of a model ("ITEMS", "TOOLS" ...): GetOrCreateChildOfClass with T's class;
// nil when a child of that name is no T.
template<class T>
T* NamedChild(TEntity* entity, const QString& name)
{
    return dynamic_cast<T*>(GetOrCreateChildOfClass(entity, T::StaticClass(), name));
}

// Registers the classes of this unit in the class registry (TElement, TNameElement,
// TOwnerElement, TEntity, TNameEntity, TOwnerEntity, TEnvelopeEntity, TLumexMessage).
// The unit's initialisation: runs once, later calls do nothing.
void RegisterElementsUnit();
