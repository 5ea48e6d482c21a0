// Class registry of the Lumex framework: registered classes by name, their properties, instances.
#pragma once

#include "framework/core/Elements.h"
#include "platform/Exceptions.h"

#include <QString>

#include <initializer_list>

// A class name that the registry does not know ("Lumex nenašel třídu " + name).
class EClassNotFound : public Exception
{
public:
    using Exception::Exception;
};

class TLumexClass;

// The registry: TLumexClass children kept in ascending order of class name (letter case ignored,
// Czech letters included). The global registry is never freed, even when a world holds it.
class TLumexClasses : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Inserts at the sorted position; the entry becomes current and gets the next ID.
    virtual void AddClassEntry(TLumexClass* entry);
    // A new entry for the class (ID counted once), with its property list when ShowProperties.
    virtual void RegisterClass(TClass cls);
    virtual TLumexClass* FindClassEntry(const QString& name);
    virtual TClass FindClass(const QString& name);
    // Raises EClassNotFound.
    virtual TClass GetClass(const QString& name);

    // Halving search: the index of an entry so named or -1; insertAt the position for a new
    // entry of that name, -1 meaning append.
    int Search(const QString& name, int& insertAt) const;
    TLumexClass* Current() const { return m_current.get(); }
    bool ShowProperties() const { return m_showProperties; }
    void SetShowProperties(bool on) { m_showProperties = on; }
    bool SortByName() const { return m_sortByName; }
    void SetSortByName(bool) {}   // the original's write accessor ignores the value
    TLumexClass* EntryAt(int index) const;

    bool CanBeFreed() override;

private:
    WeakRef<TLumexClass> m_current;
    bool m_showProperties = false;
    bool m_sortByName = false;
    qint32 m_nextId = 0;
};

// One registered class: its class reference and property table.
class TLumexClass : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // True without property table; else the stored specifier is a method, or its constant.
    virtual bool IsStored(int index);
    // Clear, then one TLumexClassProperty child per property, in order.
    virtual void CreatePropertyList();
    // First index whose name equals name ignoring letter case; -1 when none.
    virtual int IndexOfProperty(const QString& name) const;

    // The class and its property table; without a class the name and count stay as they were.
    void SetElementClass(TClass cls);
    TClass ElementClass() const { return m_class; }
    QString ElementClassName() const;
    QString AncestorClassName() const;
    int PropCount() const { return m_propCount; }
    // Index in 0..PropCount()-1.
    QString PropName(int index) const;
    TTypeKind PropKind(int index) const;
    PPropInfo PropInfo(int index) const;
    bool NameIs(const QString& name) const;

protected:
    TClass m_class = nullptr;
    std::vector<PPropInfo> m_table;
    int m_propCount = 0;
};

// A registered class bound to one object (not owned).
class TLumexInstance : public TLumexClass
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // False without table or instance; else the stored test on the instance.
    bool IsStored(int index) override;
    void SetInstance(TPersistent* object);
    TPersistent* Instance() const { return m_instance.get(); }
    // The property at index read from / written to the instance by kind (no access: nothing).
    PropValue GetValue(int index);
    void SetValue(int index, const PropValue& value);
    // A new object of the class with every stored, readable and writable property copied;
    // nil when not bound. The caller owns it.
    Owned<TPersistent> Clone();

private:
    WeakRef<TPersistent> m_instance;
};

// One published property of a registered class.
class TLumexClassProperty : public TNameElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void SetPropInfo(PPropInfo prop);
    PPropInfo PropInfo() const { return m_prop; }
    qint32 PropIndex() const { return m_propIndex; }
    void SetPropIndex(qint32 index) { m_propIndex = index; }
    TTypeKind TypeKind() const { return m_prop ? m_prop->Kind : tkUnknown; }

private:
    PPropInfo m_prop = nullptr;
    qint32 m_propIndex = 0;
};

// --- the global registry ------------------------------------------------------------------------
// The registry, created on first use (ShowProperties true); never freed.
TLumexClasses* LumexClasses();
void RegisterLumexClass(TClass cls);
// A unit's registration: each class, in order, unless that very class is registered already, so
// that start-up and tests may run a unit's registration more than once.
void RegisterUnitClasses(std::initializer_list<TClass> classes);
// nil when none.
TClass FindLumexClass(const QString& name);
// Raises EClassNotFound ("Lumex nenašel třídu " + name).
TClass GetLumexClass(const QString& name);
// The class registered as name, else as "T" + name, created through its virtual constructor;
// else the error box "Neregistrovaný element: T" + name and nil. The caller owns the element.
Owned<TElement> CreateElementByName(const QString& name);
// A new object of the same class with every stored property copied (references shared).
Owned<TPersistent> CloneObject(TPersistent* object);
