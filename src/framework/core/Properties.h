// Published properties: type kinds, class references, property tables, object handles and access by name.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <vector>

class TElement;
class TEntity;
class TPersistent;
class TClassInfo;
class TPropInfo;

// A class reference: the descriptor of one framework class (never owned by its users).
using TClass = const TClassInfo*;
using PPropInfo = const TPropInfo*;

// Type kinds with the class library's numbering (the model streams write these codes).
enum TTypeKind : int {
    tkUnknown = 0,
    tkInteger = 1,
    tkChar = 2,
    tkEnumeration = 3,
    tkFloat = 4,
    tkString = 5,
    tkSet = 6,
    tkClass = 7,
    tkMethod = 8,
    tkWChar = 9,
    tkLString = 10,
    tkWString = 11,
    tkVariant = 12,
    tkArray = 13,
    tkRecord = 14,
    tkInterface = 15,
    tkInt64 = 16,
    tkDynArray = 17,
};
// "tkInteger" and so on; the identifiers of the TTypeKind enumeration property.
QStringList typeKindNames();

// The two halves of a method reference, kept as plain numbers.
struct TMethodRef {
    qint64 Code = 0;
    qint64 Data = 0;
};

// One property value in transit; the member used follows the property's kind:
// Ordinal for Integer, Char (windows-1250 code), Enumeration, Set and WChar; Float; Text for
// the string kinds; Int64; Object for Class; Method; Variant.
struct PropValue {
    qint32 Ordinal = 0;
    double Float = 0.0;
    QString Text;
    qint64 Int64 = 0;
    TPersistent* Object = nullptr;
    TMethodRef Method;
    QVariant Variant;
};

// Descriptor of one published property. Read/Write are empty without that access.
class TPropInfo
{
public:
    QString Name;
    TTypeKind Kind = tkUnknown;
    QString TypeNameText;           // "Integer", "Byte", "Boolean", "Double", "string" ...; see TypeName()
    QStringList EnumNames;          // enumeration identifiers by ordinal (Boolean: False, True)
    // tkClass: the class a referenced object must belong to, asked for lazily (a class may refer
    // to itself while its descriptor is being built).
    TClass (*ObjectClassOf)() = nullptr;
    std::function<PropValue(TPersistent&)> Read;
    std::function<void(TPersistent&, const PropValue&)> Write;
    // Text kinds: Write taking the text itself (no PropValue is filled); empty for other kinds.
    std::function<void(TPersistent&, const QString&)> WriteText;
    std::function<bool(TPersistent&)> StoredBy;   // per-instance stored test; empty: StoredConst
    bool StoredConst = true;

    // The type name; for tkClass the referenced class's name.
    QString TypeName() const;
    TClass ObjectClass() const { return ObjectClassOf ? ObjectClassOf() : nullptr; }
    bool HasRead() const { return static_cast<bool>(Read); }
    bool HasWrite() const { return static_cast<bool>(Write); }
    // True when the stored specifier is a method (evaluated per instance).
    bool HasStoredTest() const { return static_cast<bool>(StoredBy); }
    bool IsStored(TPersistent& object) const { return StoredBy ? StoredBy(object) : StoredConst; }
};

// Descriptor of one framework class: name, parent, size, virtual constructor and published
// properties (ancestors first, then the class's own in declaration order). Descriptors are
// function-local statics (`T::StaticClass()`), so they exist before any registration and live
// to the end of the program.
class TClassInfo
{
public:
    TClassInfo(QString name, TClass parent, int instanceSize, std::function<TPersistent*()> construct);
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;
    TClassInfo(TClassInfo&&) = default;   // the property descriptors stay where they are

    const QString& ClassName() const { return m_name; }
    TClass ClassParent() const { return m_parent; }
    int InstanceSize() const { return m_instanceSize; }
    // Inheritance test: this class is `other` or descends from it. Constant time: the ancestor
    // at `other`'s depth is compared.
    bool InheritsFrom(TClass other) const
    {
        if (other == this)
            return true;
        return other && other->m_depth < m_depth && m_ancestors[static_cast<size_t>(other->m_depth)] == other;
    }
    // False for abstract classes and classes without a default constructor.
    bool CanCreate() const { return static_cast<bool>(m_construct); }

    // The virtual constructor: plain construction, then AfterConstruction. nullptr when the class
    // cannot be created. The caller owns the result (wrap it in Owned or hand it to a container).
    TPersistent* CreateInstance() const;
    // Plain construction only, no after-construction step (the bare copy of MakeCopy).
    TPersistent* CreateBare() const;

    int PropCount() const { return static_cast<int>(m_props.size()); }
    // Index must lie in 0..PropCount()-1.
    PPropInfo Prop(int index) const { return m_props.at(static_cast<size_t>(index)); }
    const std::vector<PPropInfo>& Props() const { return m_props; }
    // Index in Props() of the first property named so (ASCII letters in any case); -1 if none.
    int IndexOfProp(QStringView name) const;
    // The class's own properties (without the inherited ones), in declaration order.
    const std::vector<std::unique_ptr<TPropInfo>>& OwnProps() const { return m_own; }

    // Used while the descriptor is built.
    void AddOwnProp(std::unique_ptr<TPropInfo> prop);

private:
    QString m_name;
    TClass m_parent;
    int m_depth = 0;                  // ancestors above this class
    std::vector<TClass> m_ancestors;  // the root first, the parent last
    int m_instanceSize;
    std::function<TPersistent*()> m_construct;
    std::vector<std::unique_ptr<TPropInfo>> m_own;
    std::vector<PPropInfo> m_props;   // inherited first, then own
    // Open-addressed table of the names: the ASCII-case-folded hash of a name and the index in
    // m_props of the first property so named (-1 in a free slot); at most half full.
    struct NameSlot {
        quint32 hash;
        int index;
    };
    void insertName(quint32 hash, int index);
    std::vector<NameSlot> m_names;
};

// Frees a framework object: the virtual before-destruction step, then delete. nil is ignored.
// The only way besides the holders of elements that framework objects are destroyed.
void FreeObject(TPersistent* object);

struct ObjectFreer {
    void operator()(TPersistent* object) const { FreeObject(object); }
};

// Tells an object that an Owned pointer took (+1) or gave up (-1) its ownership.
void ChangeOwnedHold(TPersistent* object, int delta);

// Sole ownership of a framework object, used like std::unique_ptr (get, release, reset, move,
// conversion to an Owned of a base class). While an Owned holds an element it counts as one of
// its holders, so no container frees it meanwhile; release() hands it over (to a container).
template<class T>
class Owned
{
public:
    Owned() noexcept = default;
    Owned(std::nullptr_t) noexcept {}   // NOLINT
    explicit Owned(T* object) : m_object(object) { hold(+1); }
    Owned(Owned&& other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
    template<class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Owned(Owned<U>&& other) noexcept : m_object(other.m_object)   // NOLINT
    {
        other.m_object = nullptr;
    }
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_object = other.m_object;
            other.m_object = nullptr;
        }
        return *this;
    }
    template<class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Owned& operator=(Owned<U>&& other) noexcept
    {
        reset();
        m_object = other.m_object;
        other.m_object = nullptr;
        return *this;
    }
    Owned& operator=(std::nullptr_t) noexcept
    {
        reset();
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    T* get() const noexcept { return m_object; }
    T* operator->() const noexcept { return m_object; }
    T& operator*() const noexcept { return *m_object; }
    explicit operator bool() const noexcept { return m_object != nullptr; }
    // Gives the object up without freeing it; the caller (or the container it is added to) owns it.
    T* release() noexcept
    {
        hold(-1);
        T* object = m_object;
        m_object = nullptr;
        return object;
    }
    // Frees the object held (if any) and takes `object` instead.
    void reset(T* object = nullptr) noexcept
    {
        T* old = m_object;
        hold(-1);
        m_object = object;
        hold(+1);
        if (old && old != object)
            FreeObject(old);
    }
    friend bool operator==(const Owned& owned, std::nullptr_t) noexcept { return owned.m_object == nullptr; }

private:
    template<class>
    friend class Owned;
    void hold(int delta) noexcept
    {
        if (m_object)
            ChangeOwnedHold(m_object, delta);
    }
    T* m_object = nullptr;
};

// Root of every object with published properties (the class library's TPersistent).
// Not copyable. Construct through Create<T>() or a class reference, free through FreeObject.
class TPersistent
{
public:
    TPersistent() = default;
    virtual ~TPersistent();
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    QString ClassName() const;
    // Inheritance test of the object's class.
    bool InheritsFrom(TClass cls) const { return ClassType()->InheritsFrom(cls); }

    // Runs right after construction through the framework, with full virtual dispatch
    // (what the original's virtual constructors did after the inherited Create).
    virtual void AfterConstruction() {}
    // Runs right before destruction through FreeObject, with full virtual dispatch.
    virtual void BeforeDestruction() {}
    // An Owned pointer took (+1) or gave up (-1) the object; elements count it as a holder.
    virtual void OwnedHoldChanged(int) {}
    // Copies the data of `source` into this object. Classes that can copy override it; here it
    // raises EConvertError "Cannot assign a <source class> to a <own class>" ("nil" for nil).
    virtual void Assign(const TPersistent* source);
    // The object as an element of the element tree, nil when it is none (cheaper than a cast).
    virtual TElement* asElement() { return nullptr; }

private:
    friend qint32 ObjectHandle(const TPersistent* object);
    friend qint32 ExistingHandle(const TPersistent& object);
    mutable qint32 m_handle = 0;   // 0 until first asked for
};

// The handle the object has been given, 0 when none has been asked for (none is given here).
inline qint32 ExistingHandle(const TPersistent& object)
{
    return object.m_handle;
}

// Plain construction with the given arguments, then AfterConstruction.
template<class T, class... Args>
Owned<T> Create(Args&&... args)
{
    Owned<T> object(new T(std::forward<Args>(args)...));
    object->AfterConstruction();
    return object;
}

// A new instance of cls through its virtual constructor, as a T; nil when cls is nil, cannot
// create, or makes no T (the instance is then freed).
template<class T>
Owned<T> CreateOfClass(TClass cls)
{
    if (!cls || !cls->CanCreate())
        return nullptr;
    Owned<TPersistent> object(cls->CreateInstance());
    auto* typed = dynamic_cast<T*>(object.get());
    if (!typed)
        return nullptr;
    object.release();
    return Owned<T>(typed);
}

// --- handles: object references as 32-bit numbers (reference properties in text) -----------
// The handle of an object (given on first request, never reused); 0 for nil.
qint32 ObjectHandle(const TPersistent* object);
// The live object of a handle, nil when the handle is 0, unknown, of a freed object, or (with
// `expected`) of an object not of that class. Never a dangling pointer.
TPersistent* ObjectFromHandle(qint32 handle, TClass expected = nullptr);

// The object as an entity of the element tree, nil when it is none (cheaper than a cast).
TEntity* asEntityOf(TPersistent* object);

// The object as a T, nil when it is none. An object of exactly class T is recognised by its
// dynamic type without a search of its ancestry.
template<class T>
T* castObject(TPersistent* object)
{
    if constexpr (std::is_same_v<T, TPersistent>)
        return object;
    else if constexpr (std::is_same_v<T, TElement>)
        return object ? object->asElement() : nullptr;
    else if constexpr (std::is_same_v<T, TEntity>)
        return asEntityOf(object);
    else if (object && typeid(*object) == typeid(T))
        return static_cast<T*>(object);
    else
        return dynamic_cast<T*>(object);
}

namespace lumex_detail {
extern quint64 freedObjects;   // objects destroyed so far; only ever grows
// The handle table's directory: page p lists the objects of handles p << handlePageBits on,
// nil for a page that holds none. Kept by the table in Properties.cpp.
constexpr int handlePageBits = 10;
extern TPersistent* const* const* handleDirectory;
extern size_t handleDirectorySize;

// ObjectFromHandle without a class test.
inline TPersistent* findHandle(qint32 handle)
{
    const size_t page = static_cast<size_t>(handle) >> handlePageBits;
    if (handle <= 0 || page >= handleDirectorySize)
        return nullptr;
    TPersistent* const* objects = handleDirectory[page];
    return objects ? objects[static_cast<size_t>(handle) & ((size_t{1} << handlePageBits) - 1)] : nullptr;
}
}

// How many framework objects have been destroyed since start-up. A caller that saw no change
// across a call knows that the call freed nothing.
inline quint64 FreedObjectCount()
{
    return lumex_detail::freedObjects;
}

// Whether one object is still alive, asked often across calls that seldom free anything: the
// handle table is consulted only when some object has been freed since the last answer. The
// object gets its handle as a WeakRef would give it.
class LifeWatch
{
public:
    explicit LifeWatch(const TPersistent& object)
        : m_handle(ExistingHandle(object) ? ExistingHandle(object) : ObjectHandle(&object)),
          m_freedSeen(FreedObjectCount())
    {
    }
    bool isAlive()
    {
        const quint64 freed = FreedObjectCount();
        if (freed != m_freedSeen) {
            m_freedSeen = freed;
            m_alive = m_alive && ObjectFromHandle(m_handle) != nullptr;
        }
        return m_alive;
    }

private:
    qint32 m_handle;
    quint64 m_freedSeen;
    bool m_alive = true;
};

// A non-owning reference that turns nil when its object is freed.
template<class T>
class WeakRef
{
public:
    WeakRef() = default;
    WeakRef(T* object) : m_handle(ObjectHandle(object)) {}   // NOLINT: implicit like a pointer
    WeakRef& operator=(T* object)
    {
        m_handle = ObjectHandle(object);
        return *this;
    }
    T* get() const { return m_handle ? castObject<T>(lumex_detail::findHandle(m_handle)) : nullptr; }
    operator T*() const { return get(); }   // NOLINT
    T* operator->() const { return get(); }
    // True when an object was set and has been freed since.
    bool isDangling() const { return m_handle != 0 && get() == nullptr; }
    void reset() { m_handle = 0; }
    // The handle of the object set, 0 when none (whether or not it still lives).
    qint32 handle() const { return m_handle; }
    // Whether get() would give object (nil: whether it would give nil). A live object is
    // recognised by its handle, without a look-up.
    bool refersTo(const T* object) const
    {
        return object ? m_handle != 0 && m_handle == ExistingHandle(*object) : get() == nullptr;
    }

private:
    qint32 m_handle = 0;
};

// --- building property tables -----------------------------------------------------------
// A character as its windows-1250 code and back.
qint32 charOrdinal(QChar c);
QChar charFromOrdinal(qint32 code);

// Stored specifier: a constant, or a per-instance test.
template<class T>
struct StoredRule {
    StoredRule(bool value = true) : constant(value) {}   // NOLINT
    template<class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, bool>>>
    StoredRule(F test) : byInstance(std::function<bool(T&)>(test)) {}   // NOLINT
    bool constant = true;
    std::function<bool(T&)> byInstance;
};

// Fills the own properties of class T in declaration order. Getters and setters may be member
// functions (const or not), data members or lambdas; pass nullptr for a missing access.
template<class T>
class PropertyTable
{
public:
    template<class R>
    using Get = std::function<R(T&)>;
    template<class R>
    using Set = std::function<void(T&, R)>;

    explicit PropertyTable(TClassInfo& info) : m_info(info) {}

    PropertyTable& integer(const QString& name, Get<qint32> get, Set<qint32> set, StoredRule<T> stored = {})
    {
        return integer(name, QStringLiteral("Integer"), std::move(get), std::move(set), std::move(stored));
    }
    // An Integer kind under the type name of the class library (TColor, Cardinal, ...).
    PropertyTable& integer(const QString& name, const QString& typeName, Get<qint32> get, Set<qint32> set,
                           StoredRule<T> stored = {})
    {
        return ordinal(name, tkInteger, typeName, {}, std::move(get), std::move(set), std::move(stored));
    }
    // Byte: an Integer kind of 0..255; text beyond it is stored modulo 256 as the class library did.
    PropertyTable& byte(const QString& name, Get<quint8> get, Set<quint8> set, StoredRule<T> stored = {})
    {
        return byte(name, QStringLiteral("Byte"), std::move(get), std::move(set), std::move(stored));
    }
    // A Byte under the type name of the class library (TFontCharset, ...).
    PropertyTable& byte(const QString& name, const QString& typeName, Get<quint8> get, Set<quint8> set,
                        StoredRule<T> stored = {})
    {
        return ordinal(name, tkInteger, typeName, {}, wrapGet<quint8>(std::move(get)),
                       wrapSet<quint8>(std::move(set)), std::move(stored));
    }
    PropertyTable& boolean(const QString& name, Get<bool> get, Set<bool> set, StoredRule<T> stored = {})
    {
        return ordinal(name, tkEnumeration, "Boolean", {"False", "True"}, wrapGet<bool>(std::move(get)),
                       wrapSet<bool>(std::move(set)), std::move(stored));
    }
    // An enumeration with identifiers for the ordinals 0, 1, ...
    PropertyTable& enumeration(const QString& name, const QString& typeName, const QStringList& identifiers,
                               Get<int> get, Set<int> set, StoredRule<T> stored = {})
    {
        return ordinal(name, tkEnumeration, typeName, identifiers, std::move(get), std::move(set),
                       std::move(stored));
    }
    // A set as its bits (element i is bit i).
    PropertyTable& set(const QString& name, const QString& typeName, Get<qint32> get, Set<qint32> set,
                       StoredRule<T> stored = {})
    {
        return ordinal(name, tkSet, typeName, {}, std::move(get), std::move(set), std::move(stored));
    }
    // Char: one windows-1250 character.
    PropertyTable& character(const QString& name, Get<QChar> get, Set<QChar> set, StoredRule<T> stored = {});
    PropertyTable& floating(const QString& name, const QString& typeName, Get<double> get, Set<double> set,
                            StoredRule<T> stored = {});
    // A short string (the framework's counted string), kind tkString, type "string".
    PropertyTable& string(const QString& name, Get<QString> get, Set<const QString&> set,
                          StoredRule<T> stored = {})
    {
        return text(name, tkString, "string", std::move(get), std::move(set), std::move(stored));
    }
    // A long string, kind tkLString, type "AnsiString".
    PropertyTable& longString(const QString& name, Get<QString> get, Set<const QString&> set,
                              StoredRule<T> stored = {})
    {
        return text(name, tkLString, "AnsiString", std::move(get), std::move(set), std::move(stored));
    }
    // A reference to an object of class C (kind tkClass, type name C's class name).
    template<class C>
    PropertyTable& object(const QString& name, Get<C*> get, Set<C*> set, StoredRule<T> stored = {});
    // A reference to an object outside the framework (a class-library table) of type name
    // `typeName`: kind tkClass, the pointer carried in PropValue::Variant, handle 0 in texts.
    template<class C>
    PropertyTable& foreignObject(const QString& name, const QString& typeName, Get<C*> get, Set<C*> set,
                                 StoredRule<T> stored = {});
    PropertyTable& int64(const QString& name, Get<qint64> get, Set<qint64> set, StoredRule<T> stored = {});
    PropertyTable& variant(const QString& name, Get<QVariant> get, Set<const QVariant&> set,
                           StoredRule<T> stored = {});
    PropertyTable& method(const QString& name, const QString& typeName, Get<TMethodRef> get,
                          Set<TMethodRef> set, StoredRule<T> stored = {});

private:
    static Get<qint32> charToOrdinal(Get<QChar> get)
    {
        if (!get)
            return {};
        return [get](T& o) { return charOrdinal(get(o)); };
    }
    static Set<qint32> ordinalToChar(Set<QChar> set)
    {
        if (!set)
            return {};
        return [set](T& o, qint32 v) { set(o, charFromOrdinal(v)); };
    }
    template<class R>
    static Get<qint32> wrapGet(Get<R> get)
    {
        if (!get)
            return {};
        return [get](T& o) { return static_cast<qint32>(get(o)); };
    }
    template<class R>
    static Set<qint32> wrapSet(Set<R> set)
    {
        if (!set)
            return {};
        return [set](T& o, qint32 v) {
            if constexpr (std::is_same_v<R, bool>)
                set(o, v != 0);
            else
                set(o, static_cast<R>(v));
        };
    }

    std::unique_ptr<TPropInfo> start(const QString& name, TTypeKind kind, const QString& typeName,
                                     StoredRule<T> stored)
    {
        auto p = std::make_unique<TPropInfo>();
        p->Name = name;
        p->Kind = kind;
        p->TypeNameText = typeName;
        p->StoredConst = stored.constant;
        if (stored.byInstance)
            p->StoredBy = [f = std::move(stored.byInstance)](TPersistent& o) { return f(static_cast<T&>(o)); };
        return p;
    }
    // Reads/writes the member `field` of PropValue through typed accessors.
    template<class R, class V>
    PropertyTable& add(std::unique_ptr<TPropInfo> p, Get<R> get, Set<V> set, R PropValue::*field)
    {
        if (get)
            p->Read = [get, field](TPersistent& o) {
                PropValue v;
                v.*field = get(static_cast<T&>(o));
                return v;
            };
        if (set)
            p->Write = [set, field](TPersistent& o, const PropValue& v) { set(static_cast<T&>(o), v.*field); };
        m_info.AddOwnProp(std::move(p));
        return *this;
    }
    PropertyTable& ordinal(const QString& name, TTypeKind kind, const QString& typeName,
                           const QStringList& identifiers, Get<qint32> get, Set<qint32> set, StoredRule<T> stored)
    {
        auto p = start(name, kind, typeName, std::move(stored));
        p->EnumNames = identifiers;
        return add<qint32, qint32>(std::move(p), std::move(get), std::move(set), &PropValue::Ordinal);
    }
    PropertyTable& text(const QString& name, TTypeKind kind, const QString& typeName, Get<QString> get,
                        Set<const QString&> set, StoredRule<T> stored)
    {
        auto p = start(name, kind, typeName, std::move(stored));
        if (set)
            p->WriteText = [set](TPersistent& o, const QString& v) { set(static_cast<T&>(o), v); };
        return add<QString, const QString&>(std::move(p), std::move(get), std::move(set), &PropValue::Text);
    }

    TClassInfo& m_info;
};

// Builds the descriptor of class T (base B) with its own properties. Use it to define T::StaticClass():
//     TClass TFoo::StaticClass()
//     {
//         static const TClassInfo info = describeClass<TFoo, TElement>("TFoo", [](PropertyTable<TFoo>& t) {
//             t.integer("Count", &TFoo::Count, nullptr);
//         });
//         return &info;
//     }
// (describeClass returns a prvalue, so the static is built in place.)
template<class T, class B>
TClassInfo describeClass(const QString& name, const std::function<void(PropertyTable<T>&)>& fill = {})
{
    // Class tests through the registry stand for casts: the registered parent is the C++ base.
    static_assert(std::is_base_of_v<B, T>);
    std::function<TPersistent*()> construct;
    if constexpr (!std::is_abstract_v<T> && std::is_default_constructible_v<T>)
        construct = [] { return static_cast<TPersistent*>(new T()); };
    TClassInfo info(name, B::StaticClass(), static_cast<int>(sizeof(T)), std::move(construct));
    if (fill) {
        PropertyTable<T> table(info);
        fill(table);
    }
    return info;
}

// --- property access by name and index (any object with published properties) -------------
// The framework's general exception for a property whose text could not be converted or stored
// is never raised to the caller: SetPropFromString reports it in a message box.

int PublishedPropCount(const TPersistent* object);
// First index whose name equals `name` after ASCII upper-casing both; -1 when none.
int IndexOfProp(const TPersistent* object, const QString& name);
// The string form of the first property so named (ASCII case ignored); empty when none.
QString GetPropByName(TPersistent* object, const QString& name);
QString GetPropAsStringByIndex(TPersistent* object, int index);
// The string form by kind; empty without read access.
QString GetPropValueAsString(TPersistent* object, PPropInfo prop);
// The first property so named (ASCII case ignored) when it is of kind tkClass and readable
// (writable with `forWrite`); nil otherwise.
PPropInfo FindClassProp(const TPersistent* object, const QString& name, bool forWrite);
// The object of the first matching readable property of kind tkClass; nil otherwise.
TPersistent* GetObjectPropByName(TPersistent* object, const QString& name);
// The outside object of the first matching readable property (see foreignObject); nil when none
// or of another type.
template<class C>
C* GetForeignPropByName(TPersistent* object, const QString& name);
// Sets the outside object of the first matching writable property; false when there is none.
template<class C>
bool SetForeignPropByName(TPersistent* object, const QString& name, C* value);
// Sets the property from text by kind; nothing for nil arguments or without write access.
// A failure shows "Error filling property <name> by string <text>"; the property keeps its value.
void SetPropFromString(TPersistent* object, PPropInfo prop, const QString& text);
void SetPropFromStringByIndex(TPersistent* object, int index, const QString& text);
// Whether a property of that name exists (true even when its kind ignores text).
bool SetPropByName(TPersistent* object, const QString& name, const QString& text);
QString MethodToString(const TMethodRef& method);
TMethodRef StringToMethod(const QString& text);


// --- member definitions of PropertyTable ---------------------------------------------------
template<class T>
PropertyTable<T>& PropertyTable<T>::character(const QString& name, Get<QChar> get, Set<QChar> set,
                                              StoredRule<T> stored)
{
    return ordinal(name, tkChar, "Char", {}, charToOrdinal(std::move(get)), ordinalToChar(std::move(set)),
                   std::move(stored));
}

template<class T>
PropertyTable<T>& PropertyTable<T>::floating(const QString& name, const QString& typeName, Get<double> get,
                                             Set<double> set, StoredRule<T> stored)
{
    return add<double, double>(start(name, tkFloat, typeName, std::move(stored)), std::move(get), std::move(set),
                               &PropValue::Float);
}

template<class T>
template<class C>
PropertyTable<T>& PropertyTable<T>::object(const QString& name, Get<C*> get, Set<C*> set, StoredRule<T> stored)
{
    auto p = start(name, tkClass, QString(), std::move(stored));
    p->ObjectClassOf = &C::StaticClass;
    if (get)
        p->Read = [get](TPersistent& o) {
            PropValue v;
            v.Object = get(static_cast<T&>(o));
            return v;
        };
    if (set)
        p->Write = [set](TPersistent& o, const PropValue& v) {
            set(static_cast<T&>(o), dynamic_cast<C*>(v.Object));
        };
    m_info.AddOwnProp(std::move(p));
    return *this;
}

template<class T>
template<class C>
PropertyTable<T>& PropertyTable<T>::foreignObject(const QString& name, const QString& typeName, Get<C*> get,
                                                  Set<C*> set, StoredRule<T> stored)
{
    auto p = start(name, tkClass, typeName, std::move(stored));
    if (get)
        p->Read = [get](TPersistent& o) {
            PropValue v;
            v.Variant = QVariant::fromValue(get(static_cast<T&>(o)));
            return v;
        };
    if (set)
        p->Write = [set](TPersistent& o, const PropValue& v) {
            set(static_cast<T&>(o), v.Variant.canConvert<C*>() ? v.Variant.value<C*>() : nullptr);
        };
    m_info.AddOwnProp(std::move(p));
    return *this;
}

template<class C>
C* GetForeignPropByName(TPersistent* object, const QString& name)
{
    const PPropInfo prop = FindClassProp(object, name, false);
    if (!prop)
        return nullptr;
    const QVariant value = prop->Read(*object).Variant;
    return value.metaType() == QMetaType::fromType<C*>() ? value.value<C*>() : nullptr;
}

template<class C>
bool SetForeignPropByName(TPersistent* object, const QString& name, C* value)
{
    const PPropInfo prop = FindClassProp(object, name, true);
    if (!prop)
        return false;
    PropValue v;
    v.Variant = QVariant::fromValue(value);
    prop->Write(*object, v);
    return true;
}

template<class T>
PropertyTable<T>& PropertyTable<T>::int64(const QString& name, Get<qint64> get, Set<qint64> set,
                                          StoredRule<T> stored)
{
    return add<qint64, qint64>(start(name, tkInt64, "Int64", std::move(stored)), std::move(get), std::move(set),
                               &PropValue::Int64);
}

template<class T>
PropertyTable<T>& PropertyTable<T>::variant(const QString& name, Get<QVariant> get, Set<const QVariant&> set,
                                            StoredRule<T> stored)
{
    return add<QVariant, const QVariant&>(start(name, tkVariant, "Variant", std::move(stored)), std::move(get),
                                          std::move(set), &PropValue::Variant);
}

template<class T>
PropertyTable<T>& PropertyTable<T>::method(const QString& name, const QString& typeName, Get<TMethodRef> get,
                                           Set<TMethodRef> set, StoredRule<T> stored)
{
    return add<TMethodRef, TMethodRef>(start(name, tkMethod, typeName, std::move(stored)), std::move(get),
                                       std::move(set), &PropValue::Method);
}
