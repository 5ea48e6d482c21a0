// Published properties: class descriptors, object handles and property access by name.
#include "framework/core/Properties.h"

#include "framework/core/TextRoutines.h"
#include "platform/Exceptions.h"
#include "platform/text/Case.h"
#include "platform/text/Cp1250.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"

#include <array>
#include <cassert>
#include <limits>
#include <memory>
#include <vector>

namespace {

// Live objects by handle. Handles are never reused while numbers last, so a stale number finds
// nothing. They are given in rising order, so the table keeps pages of consecutive numbers: a
// look-up takes two index steps, objects made together sit together, and a page whose objects
// are all gone is dropped once the numbering has moved past it.
class HandleTable
{
public:
    TPersistent* find(qint32 handle) const
    {
        const size_t page = pageOf(handle);
        if (handle <= 0 || page >= m_pages.size() || !m_pages[page])
            return nullptr;
        return m_pages[page]->objects[slotOf(handle)];
    }
    bool contains(qint32 handle) const { return find(handle) != nullptr; }

    void insert(qint32 handle, TPersistent* object)
    {
        const size_t page = pageOf(handle);
        if (page >= m_pages.size()) {
            m_pages.resize(page + 1);
            m_directory.resize(page + 1);
        }
        if (!m_pages[page]) {
            if (m_spare.empty()) {
                m_pages[page] = std::make_unique<Page>();
            } else {
                m_pages[page] = std::move(m_spare.back());
                m_spare.pop_back();
            }
            m_directory[page] = m_pages[page]->objects.data();
            publish();
        }
        m_pages[page]->objects[slotOf(handle)] = object;
        ++m_pages[page]->live;
    }

    void remove(qint32 handle)
    {
        const size_t page = pageOf(handle);
        if (handle <= 0 || page >= m_pages.size() || !m_pages[page] || !m_pages[page]->objects[slotOf(handle)])
            return;
        m_pages[page]->objects[slotOf(handle)] = nullptr;
        --m_pages[page]->live;
        dropIfDone(page);
    }

    // Gives the next free number; the page numbering leaves is dropped when nothing lives there.
    qint32 takeNext()
    {
        while (contains(m_next))
            advance();
        const qint32 handle = m_next;
        advance();
        return handle;
    }

private:
    static constexpr int pageBits = lumex_detail::handlePageBits;
    struct Page {
        std::array<TPersistent*, size_t{1} << pageBits> objects{};
        int live = 0;
    };
    static size_t pageOf(qint32 handle) { return static_cast<size_t>(handle) >> pageBits; }
    static size_t slotOf(qint32 handle) { return static_cast<size_t>(handle) & ((size_t{1} << pageBits) - 1); }

    void advance()
    {
        const size_t left = pageOf(m_next);
        m_next = m_next == std::numeric_limits<qint32>::max() ? 1 : m_next + 1;
        if (pageOf(m_next) != left)
            dropIfDone(left);
    }
    void dropIfDone(size_t page)
    {
        if (page < m_pages.size() && m_pages[page] && m_pages[page]->live == 0 && page != pageOf(m_next)) {
            // A page with nothing living holds only nils: kept for reuse as it is.
            if (m_spare.size() < maxSpare)
                m_spare.push_back(std::move(m_pages[page]));
            else
                m_pages[page].reset();
            m_directory[page] = nullptr;
        }
    }
    // The inline look-up reads the directory.
    void publish()
    {
        lumex_detail::handleDirectory = m_directory.data();
        lumex_detail::handleDirectorySize = m_directory.size();
    }

    static constexpr size_t maxSpare = 4;
    std::vector<std::unique_ptr<Page>> m_pages;
    std::vector<std::unique_ptr<Page>> m_spare;   // emptied pages, every slot nil
    std::vector<TPersistent**> m_directory;       // each page's objects, nil for a dropped page
    qint32 m_next = 1;
};

// Never destroyed: objects may still be freed while statics are torn down at exit.
HandleTable& handleTable()
{
    static HandleTable& table = *new HandleTable;
    return table;
}

// FNV-1a over the UTF-16 units of a name with ASCII letters upper-cased: names that differ in
// ASCII case only hash alike.
quint32 foldedHash(QStringView name)
{
    quint32 hash = 2166136261u;
    for (const QChar c : name) {
        char16_t u = c.unicode();
        if (u >= 'a' && u <= 'z')
            u = char16_t(u - ('a' - 'A'));
        hash = (hash ^ u) * 16777619u;
    }
    return hash;
}

// Text of a whole-number property; 0 for a text that is not a whole number within 32 bits.
qint32 wholeNumberOrZero(const QString& text)
{
    return WholeNumber(text).value_or(0);
}

QString ordinalText(PPropInfo prop, qint32 ordinal)
{
    switch (prop->Kind) {
    case tkChar:
        return QString(charFromOrdinal(ordinal));
    case tkEnumeration:
        if (ordinal >= 0 && ordinal < prop->EnumNames.size())
            return prop->EnumNames.at(ordinal);
        return QString::number(ordinal);
    default:   // tkInteger, tkSet
        return QString::number(ordinal);
    }
}

// Enumerations and sets: a whole number, else an identifier of the type (letter case ignored).
// An ordinal outside the type, or an unknown identifier, leaves the property as it was (the
// original stored a value the type does not have).
bool ordinalFromText(PPropInfo prop, const QString& text, qint32& ordinal)
{
    if (const auto number = WholeNumber(text)) {
        ordinal = *number;
        return prop->Kind == tkSet || (ordinal >= 0 && ordinal < prop->EnumNames.size());
    }
    for (int i = 0; i < prop->EnumNames.size(); ++i) {
        if (txt::sameTextAscii(prop->EnumNames.at(i), txt::trim(text))) {
            ordinal = i;
            return true;
        }
    }
    return false;
}

void writeFromText(TPersistent* object, PPropInfo prop, const QString& text)
{
    PropValue v;
    switch (prop->Kind) {
    case tkInteger:
        v.Ordinal = wholeNumberOrZero(text);
        break;
    case tkEnumeration:
    case tkSet:
        if (!ordinalFromText(prop, text, v.Ordinal))
            return;
        break;
    case tkFloat:
        v.Float = text.isEmpty() ? 0.0 : TextToFloatDef(text);
        break;
    case tkString:
    case tkLString:
        v.Text = text;
        break;
    case tkClass:
        v.Object = ObjectFromHandle(wholeNumberOrZero(text), prop->ObjectClass());
        break;
    case tkMethod:
        v.Method = StringToMethod(text);
        break;
    default:   // tkUnknown, tkChar, tkWChar, tkWString, tkVariant, tkInt64 ignore text
        return;
    }
    prop->Write(*object, v);
}

} // namespace

// --- descriptors ------------------------------------------------------------------------------

QStringList typeKindNames()
{
    return {"tkUnknown", "tkInteger", "tkChar", "tkEnumeration", "tkFloat", "tkString",
            "tkSet", "tkClass", "tkMethod", "tkWChar", "tkLString", "tkWString",
            "tkVariant", "tkArray", "tkRecord", "tkInterface", "tkInt64", "tkDynArray"};
}

QString TPropInfo::TypeName() const
{
    const TClass cls = ObjectClass();
    return cls ? cls->ClassName() : TypeNameText;
}

TClassInfo::TClassInfo(QString name, TClass parent, int instanceSize, std::function<TPersistent*()> construct)
    : m_name(std::move(name)), m_parent(parent), m_instanceSize(instanceSize), m_construct(std::move(construct))
{
    if (m_parent) {
        m_props = m_parent->m_props;
        m_names = m_parent->m_names;
        m_ancestors = m_parent->m_ancestors;
        m_ancestors.push_back(m_parent);
        m_depth = m_parent->m_depth + 1;
    }
}

int TClassInfo::IndexOfProp(QStringView name) const
{
    if (m_names.empty())
        return -1;
    const quint32 hash = foldedHash(name);
    const size_t mask = m_names.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const NameSlot& slot = m_names[at];
        if (slot.index < 0)
            return -1;
        if (slot.hash != hash)
            continue;
        const QString& stored = m_props[static_cast<size_t>(slot.index)]->Name;
        if (stored.size() == name.size() && (QStringView(stored) == name || txt::sameTextAscii(stored, name)))
            return slot.index;
    }
}

void TClassInfo::insertName(quint32 hash, int index)
{
    if (2 * (static_cast<size_t>(index) + 1) > m_names.size()) {   // indexes count the names
        std::vector<NameSlot> old(std::max<size_t>(16, 2 * m_names.size()), NameSlot{0, -1});
        old.swap(m_names);
        for (const NameSlot& slot : old)
            if (slot.index >= 0)
                insertName(slot.hash, slot.index);
    }
    const size_t mask = m_names.size() - 1;
    size_t at = hash & mask;
    while (m_names[at].index >= 0)
        at = (at + 1) & mask;
    m_names[at] = NameSlot{hash, index};
}

TPersistent* TClassInfo::CreateInstance() const
{
    TPersistent* object = CreateBare();
    if (object)
        object->AfterConstruction();
    return object;
}

TPersistent* TClassInfo::CreateBare() const
{
    TPersistent* object = m_construct ? m_construct() : nullptr;
    // Every class overrides ClassType() with its own StaticClass().
    assert(!object || object->ClassType() == this);
    return object;
}

void TClassInfo::AddOwnProp(std::unique_ptr<TPropInfo> prop)
{
    const int inherited = m_parent ? m_parent->PropCount() : 0;
    const int at = IndexOfProp(prop->Name);
    if (at >= 0 && at < inherited) {
        // A descendant that publishes an inherited name again takes that property's place, as
        // the class library's redeclared properties did.
        m_props[static_cast<size_t>(at)] = prop.get();
        m_own.push_back(std::move(prop));
        return;
    }
    if (at < 0)   // the first of a name is found
        insertName(foldedHash(prop->Name), int(m_props.size()));
    m_props.push_back(prop.get());
    m_own.push_back(std::move(prop));
}

qint32 charOrdinal(QChar c)
{
    return static_cast<unsigned char>(Cp1250::encodeChar(c));
}

QChar charFromOrdinal(qint32 code)
{
    return Cp1250::decodeChar(static_cast<unsigned char>(code & 0xFF));
}

// --- objects and handles --------------------------------------------------------------------------

void FreeObject(TPersistent* object)
{
    if (!object)
        return;
    object->BeforeDestruction();
    delete object;
}

void ChangeOwnedHold(TPersistent* object, int delta)
{
    object->OwnedHoldChanged(delta);
}

namespace lumex_detail {
quint64 freedObjects = 0;
TPersistent* const* const* handleDirectory = nullptr;
size_t handleDirectorySize = 0;
}

TPersistent::~TPersistent()
{
    ++lumex_detail::freedObjects;
    if (m_handle)
        handleTable().remove(m_handle);
}

TClass TPersistent::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TPersistent"), nullptr, static_cast<int>(sizeof(TPersistent)), {});
    return &info;
}

QString TPersistent::ClassName() const
{
    return ClassType()->ClassName();
}

void TPersistent::Assign(const TPersistent* source)
{
    const QString from = source ? source->ClassName() : QStringLiteral("nil");
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(from, ClassName()));
}

qint32 ObjectHandle(const TPersistent* object)
{
    if (!object)
        return 0;
    if (object->m_handle == 0) {
        HandleTable& table = handleTable();
        object->m_handle = table.takeNext();
        table.insert(object->m_handle, const_cast<TPersistent*>(object));
    }
    return object->m_handle;
}

TPersistent* ObjectFromHandle(qint32 handle, TClass expected)
{
    if (handle == 0)
        return nullptr;
    TPersistent* object = lumex_detail::findHandle(handle);
    if (object && expected && !object->InheritsFrom(expected))
        return nullptr;
    return object;
}

// --- access by name ---------------------------------------------------------------------------

int PublishedPropCount(const TPersistent* object)
{
    return object ? object->ClassType()->PropCount() : 0;
}

int IndexOfProp(const TPersistent* object, const QString& name)
{
    if (!object)
        return -1;
    return object->ClassType()->IndexOfProp(name);
}

QString GetPropByName(TPersistent* object, const QString& name)
{
    if (name.isEmpty())
        return {};
    const int index = IndexOfProp(object, name);
    return index < 0 ? QString() : GetPropAsStringByIndex(object, index);
}

QString GetPropAsStringByIndex(TPersistent* object, int index)
{
    if (!object || index < 0 || index >= PublishedPropCount(object))
        return {};
    return GetPropValueAsString(object, object->ClassType()->Prop(index));
}

QString GetPropValueAsString(TPersistent* object, PPropInfo prop)
{
    if (!object || !prop || !prop->HasRead())
        return {};
    switch (prop->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
        return ordinalText(prop, prop->Read(*object).Ordinal);
    case tkFloat:
        return txt::floatToStr(prop->Read(*object).Float);
    case tkString:
    case tkLString:
        return prop->Read(*object).Text;
    case tkClass:
        return QString::number(ObjectHandle(prop->Read(*object).Object));
    case tkMethod:
        return MethodToString(prop->Read(*object).Method);
    default:   // tkUnknown, tkWChar, tkWString, tkVariant, tkInt64
        return {};
    }
}

PPropInfo FindClassProp(const TPersistent* object, const QString& name, bool forWrite)
{
    const int index = IndexOfProp(object, name);
    if (index < 0)
        return nullptr;
    const PPropInfo prop = object->ClassType()->Prop(index);
    if (prop->Kind != tkClass || !(forWrite ? prop->HasWrite() : prop->HasRead()))
        return nullptr;
    return prop;
}

TPersistent* GetObjectPropByName(TPersistent* object, const QString& name)
{
    const PPropInfo prop = FindClassProp(object, name, false);
    return prop ? prop->Read(*object).Object : nullptr;
}

void SetPropFromString(TPersistent* object, PPropInfo prop, const QString& text)
{
    if (!object || !prop || !prop->HasWrite())
        return;
    try {
        writeFromText(object, prop, text);
    } catch (const Exception&) {
        ui::services().showMessage(QStringLiteral("Error filling property ") + prop->Name +
                                   QStringLiteral(" by string ") + text);
    }
}

void SetPropFromStringByIndex(TPersistent* object, int index, const QString& text)
{
    if (!object || index < 0 || index >= PublishedPropCount(object))
        return;
    SetPropFromString(object, object->ClassType()->Prop(index), text);
}

bool SetPropByName(TPersistent* object, const QString& name, const QString& text)
{
    const int index = IndexOfProp(object, name);
    if (index < 0)
        return false;
    SetPropFromStringByIndex(object, index, text);
    return true;
}

QString MethodToString(const TMethodRef& method)
{
    return QString::number(method.Code) + QLatin1Char(';') + QString::number(method.Data);
}

TMethodRef StringToMethod(const QString& text)
{
    const int semicolon = text.indexOf(QLatin1Char(';'));
    const QString code = semicolon < 0 ? text : text.left(semicolon);
    const QString data = semicolon < 0 ? QString() : text.mid(semicolon + 1, 255);
    TMethodRef m;
    m.Code = wholeNumberOrZero(code);
    m.Data = wholeNumberOrZero(data);
    return m;
}
