// Class registry of the Lumex framework: registered classes by name, their properties, instances.
#include "framework/core/ClassRegistry.h"

#include "platform/text/Case.h"
#include "platform/ui/Services.h"

namespace {

int compareNames(const QString& a, const QString& b)
{
    return txt::compareTextLetters(a, b);
}

} // namespace

// --- TLumexClasses ----------------------------------------------------------------------------

TClass TLumexClasses::StaticClass()
{
    static const TClassInfo info =
        describeClass<TLumexClasses, TOwnerEntity>("TLumexClasses", [](PropertyTable<TLumexClasses>& t) {
            t.boolean("ShowProperties", &TLumexClasses::ShowProperties, &TLumexClasses::SetShowProperties)
                .boolean("SortByName", &TLumexClasses::SortByName, &TLumexClasses::SetSortByName);
        });
    return &info;
}

TLumexClass* TLumexClasses::EntryAt(int index) const
{
    return dynamic_cast<TLumexClass*>(Items(index));
}

int TLumexClasses::Search(const QString& name, int& insertAt) const
{
    insertAt = -1;
    if (Count() == 0)
        return -1;
    int lo = 0;
    int hi = Count() - 1;
    const auto nameAt = [this](int i) { return Items(i) ? Items(i)->GetName() : QString(); };
    int c = compareNames(name, nameAt(hi));
    if (c > 0)
        return -1;
    if (c == 0)
        return hi;
    if (hi <= lo) {
        insertAt = lo;
        return -1;
    }
    c = compareNames(name, nameAt(lo));
    if (c < 0) {
        insertAt = lo;
        return -1;
    }
    if (c == 0) {
        insertAt = lo + 1;
        return lo;
    }
    for (;;) {
        insertAt = hi;
        if (hi - lo < 2)
            return -1;
        const int mid = lo + (hi - lo) / 2;
        c = compareNames(name, nameAt(mid));
        if (c < 0) {
            hi = mid;
        } else if (c > 0) {
            lo = mid;
        } else {
            insertAt = mid + 1;
            return mid;
        }
        if (lo >= hi)
            return -1;
    }
}

void TLumexClasses::AddClassEntry(TLumexClass* entry)
{
    if (!entry)
        return;
    int insertAt = -1;
    Search(entry->GetName(), insertAt);
    if (insertAt == -1)
        Add(entry);
    else
        Insert(insertAt, entry);
    m_current = entry;
    entry->SetID(m_nextId++);
}

void TLumexClasses::RegisterClass(TClass cls)
{
    Owned<TLumexClass> entry = Create<TLumexClass>();
    entry->SetElementClass(cls);
    if (m_showProperties)
        entry->CreatePropertyList();
    // AddClassEntry gives the registration number (once).
    AddClassEntry(entry.release());
}

TLumexClass* TLumexClasses::FindClassEntry(const QString& name)
{
    int insertAt = -1;
    const int index = Search(name, insertAt);
    if (index < 0)
        return nullptr;
    TLumexClass* entry = EntryAt(index);
    m_current = entry;
    return entry;
}

TClass TLumexClasses::FindClass(const QString& name)
{
    TLumexClass* entry = FindClassEntry(name);
    return entry ? entry->ElementClass() : nullptr;
}

TClass TLumexClasses::GetClass(const QString& name)
{
    const TClass cls = FindClass(name);
    if (!cls)
        throw EClassNotFound(QStringLiteral("Lumex nenašel třídu ") + name);
    return cls;
}

bool TLumexClasses::CanBeFreed()
{
    // The global registry lives to the end of the program, even when a world lets it go.
    return this != LumexClasses() && TOwnerEntity::CanBeFreed();
}

// --- TLumexClass ------------------------------------------------------------------------------

TClass TLumexClass::StaticClass()
{
    static const TClassInfo info =
        describeClass<TLumexClass, TOwnerEntity>("TLumexClass", [](PropertyTable<TLumexClass>& t) {
            t.integer("PropCount", &TLumexClass::PropCount, nullptr)
                .string("ElementClassName", &TLumexClass::ElementClassName, nullptr)
                .string("AncestorClassName", &TLumexClass::AncestorClassName, nullptr);
        });
    return &info;
}

bool TLumexClass::IsStored(int index)
{
    if (m_table.empty())
        return true;
    const PPropInfo prop = PropInfo(index);
    return prop->HasStoredTest() || prop->StoredConst;
}

void TLumexClass::CreatePropertyList()
{
    Clear();
    for (const PPropInfo prop : m_table) {
        Owned<TLumexClassProperty> item = Create<TLumexClassProperty>();
        item->SetPropInfo(prop);
        Add(item.release());
    }
}

int TLumexClass::IndexOfProperty(const QString& name) const
{
    const QString wanted = txt::upperLetters(name);
    for (size_t i = 0; i < m_table.size(); ++i)
        if (txt::upperLetters(m_table[i]->Name) == wanted)
            return static_cast<int>(i);
    return -1;
}

void TLumexClass::SetElementClass(TClass cls)
{
    m_class = cls;
    m_table.clear();
    if (!cls)
        return;
    SetName(cls->ClassName());
    m_propCount = cls->PropCount();
    if (m_propCount > 0)
        m_table = cls->Props();
}

QString TLumexClass::ElementClassName() const
{
    return m_class ? m_class->ClassName() : QString();
}

QString TLumexClass::AncestorClassName() const
{
    return m_class && m_class->ClassParent() ? m_class->ClassParent()->ClassName() : QString();
}

QString TLumexClass::PropName(int index) const
{
    return PropInfo(index)->Name;
}

TTypeKind TLumexClass::PropKind(int index) const
{
    return PropInfo(index)->Kind;
}

PPropInfo TLumexClass::PropInfo(int index) const
{
    return m_table.at(static_cast<size_t>(index));
}

bool TLumexClass::NameIs(const QString& name) const
{
    return compareNames(GetName(), name) == 0;
}

// --- TLumexInstance ---------------------------------------------------------------------------

TClass TLumexInstance::StaticClass()
{
    static const TClassInfo info = describeClass<TLumexInstance, TLumexClass>("TLumexInstance");
    return &info;
}

bool TLumexInstance::IsStored(int index)
{
    TPersistent* instance = m_instance.get();
    if (m_table.empty() || !instance)
        return false;
    return PropInfo(index)->IsStored(*instance);
}

void TLumexInstance::SetInstance(TPersistent* object)
{
    m_instance = object;
    SetElementClass(object ? object->ClassType() : nullptr);
}

PropValue TLumexInstance::GetValue(int index)
{
    TPersistent* instance = m_instance.get();
    const PPropInfo prop = PropInfo(index);
    if (!instance || !prop->HasRead())
        return {};
    return prop->Read(*instance);
}

void TLumexInstance::SetValue(int index, const PropValue& value)
{
    TPersistent* instance = m_instance.get();
    const PPropInfo prop = PropInfo(index);
    if (instance && prop->HasWrite())
        prop->Write(*instance, value);
}

Owned<TPersistent> TLumexInstance::Clone()
{
    if (!m_instance.get() || !m_class)
        return nullptr;
    Owned<TPersistent> copy = CreateOfClass<TPersistent>(m_class);
    if (!copy)
        return nullptr;
    Owned<TLumexInstance> target = Create<TLumexInstance>();
    target->SetInstance(copy.get());
    for (int i = 0; i < static_cast<int>(m_table.size()); ++i) {
        const PPropInfo prop = m_table[static_cast<size_t>(i)];
        // A property without read access has no value to copy (the original read through a
        // missing getter); tkUnknown and the container kinds carry nothing.
        if (!IsStored(i) || !prop->HasRead() || !prop->HasWrite())
            continue;
        if (prop->Kind == tkUnknown || (prop->Kind >= tkArray && prop->Kind <= tkInterface) ||
            prop->Kind == tkDynArray)
            continue;
        target->SetValue(i, GetValue(i));
    }
    return copy;
}

// --- TLumexClassProperty ----------------------------------------------------------------------

TClass TLumexClassProperty::StaticClass()
{
    static const TClassInfo info = describeClass<TLumexClassProperty, TNameElement>(
        "TLumexClassProperty", [](PropertyTable<TLumexClassProperty>& t) {
            t.integer("PropIndex", &TLumexClassProperty::PropIndex, &TLumexClassProperty::SetPropIndex)
                .enumeration("TypeKind", "TTypeKind", typeKindNames(),
                             [](TLumexClassProperty& p) { return static_cast<int>(p.TypeKind()); }, nullptr);
        });
    return &info;
}

void TLumexClassProperty::SetPropInfo(PPropInfo prop)
{
    m_prop = prop;
    if (prop)
        SetName(prop->Name);
}

// --- the global registry ------------------------------------------------------------------------

TLumexClasses* LumexClasses()
{
    // Reachable to the end of the program; never freed.
    static TLumexClasses* const registry = [] {
        TLumexClasses* r = Create<TLumexClasses>().release();
        r->SetShowProperties(true);
        return r;
    }();
    return registry;
}

void RegisterLumexClass(TClass cls)
{
    LumexClasses()->RegisterClass(cls);
}

void RegisterUnitClasses(std::initializer_list<TClass> classes)
{
    for (const TClass cls : classes)
        if (FindLumexClass(cls->ClassName()) != cls)
            RegisterLumexClass(cls);
}

TClass FindLumexClass(const QString& name)
{
    return LumexClasses()->FindClass(name);
}

TClass GetLumexClass(const QString& name)
{
    return LumexClasses()->GetClass(name);
}

Owned<TElement> CreateElementByName(const QString& name)
{
    TClass cls = FindLumexClass(name);
    if (!cls)
        cls = FindLumexClass(QStringLiteral("T") + name);
    if (!cls) {
        ui::services().messageBox(QStringLiteral("Neregistrovaný element: T") + name, QString(), ui::MsgType::Error,
                                  ui::Ok);
        return nullptr;
    }
    return CreateOfClass<TElement>(cls);
}

Owned<TPersistent> CloneObject(TPersistent* object)
{
    Owned<TLumexInstance> source = Create<TLumexInstance>();
    source->SetInstance(object);
    return source->Clone();
}
