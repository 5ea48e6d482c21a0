// Typed writes of published properties by name, for the loaders of the file sources.
#include "app/sources/ishul/PropertyWriter.h"

#include "app/sources/PropertyLookup.h"

#include "framework/core/Elements.h"

#include <QHash>
#include <QPair>

#include <array>

namespace {

// The property index of a class and name, looked up once (the loaders write the same few
// properties of the same classes over and over). A direct-mapped front keyed by the class and
// the name's characters answers a literal name with a pointer compare; the text is compared
// whenever the characters live elsewhere, so a name built at run time is never mistaken.
int propertyIndex(TElement* element, const QString& name)
{
    struct Slot {
        TClass cls = nullptr;
        QString name;
        int index = -1;
    };
    static std::array<Slot, 1024> front;
    static QHash<QPair<TClass, QString>, int> cache;
    const TClass cls = element->ClassType();
    const quintptr mixed = quintptr(cls) * 31 + quintptr(name.constData()) / sizeof(QChar);
    Slot& slot = front[(mixed ^ (mixed >> 11)) % front.size()];
    if (slot.cls == cls && (slot.name.constData() == name.constData() ? slot.name.size() == name.size() : slot.name == name))
        return slot.index;
    const QPair<TClass, QString> key(cls, name);
    auto it = cache.constFind(key);
    if (it == cache.cend())
        it = cache.insert(key, IndexOfProp(element, name));
    slot = Slot{cls, name, *it};
    return *it;
}

void writeAt(TElement* element, int index, const PropValue& value)
{
    if (index < 0)
        return;
    const PPropInfo prop = element->ClassType()->Prop(index);
    if (prop->HasWrite())
        prop->Write(*element, value);
}

void writeProperty(TElement* element, const QString& name, const PropValue& value)
{
    if (element)
        writeAt(element, propertyIndex(element, name), value);
}

void writeProperty(TElement* element, const char* name, const PropValue& value)
{
    if (!element)
        return;
    const PPropInfo prop = app::findLiteralProperty(*element, name);
    if (prop && prop->HasWrite())
        prop->Write(*element, value);
}

// The property of the element's class, found when the class differs from the last one.
PPropInfo writableOf(TElement* element, PreparedProperty& property)
{
    const TClass cls = element->ClassType();
    if (cls != property.cls) {
        property.cls = cls;
        property.index = IndexOfProp(element, property.name);
        const PPropInfo prop = property.index >= 0 ? cls->Prop(property.index) : nullptr;
        property.writable = prop && prop->HasWrite() ? prop : nullptr;
    }
    return property.writable;
}

void writeProperty(TElement* element, PreparedProperty& property, const PropValue& value)
{
    if (!element)
        return;
    if (const PPropInfo prop = writableOf(element, property))
        prop->Write(*element, value);
}

PropValue ordinalValue(qint32 v)
{
    PropValue value;
    value.Ordinal = v;
    return value;
}

PropValue floatValue(double v)
{
    PropValue value;
    value.Float = v;
    return value;
}

PropValue textValue(const QString& v)
{
    PropValue value;
    value.Text = v;
    return value;
}

// The value a prepared write passes on, kept for the next one (no value is built per write).
// A setter never writes through these functions, so one value at a time is in use.
PropValue& scratchValue()
{
    static PropValue value;
    return value;
}

} // namespace

void writeInt(TElement* element, const QString& name, qint32 value)
{
    writeProperty(element, name, ordinalValue(value));
}

void writeFloat(TElement* element, const QString& name, double value)
{
    writeProperty(element, name, floatValue(value));
}

void writeText(TElement* element, const QString& name, const QString& value)
{
    writeProperty(element, name, textValue(value));
}

void writeInt(TElement* element, const char* name, qint32 value)
{
    writeProperty(element, name, ordinalValue(value));
}

void writeFloat(TElement* element, const char* name, double value)
{
    writeProperty(element, name, floatValue(value));
}

void writeText(TElement* element, const char* name, const QString& value)
{
    writeProperty(element, name, textValue(value));
}

void writeInt(TElement* element, PreparedProperty& property, qint32 value)
{
    PropValue& v = scratchValue();
    v.Ordinal = value;
    writeProperty(element, property, v);
}

void writeFloat(TElement* element, PreparedProperty& property, double value)
{
    PropValue& v = scratchValue();
    v.Float = value;
    writeProperty(element, property, v);
}

void writeText(TElement* element, PreparedProperty& property, const QString& value)
{
    // A text property takes the text as it is.
    if (element) {
        const PPropInfo prop = writableOf(element, property);
        if (prop && prop->WriteText)
            return prop->WriteText(*element, value);
    }
    PropValue& v = scratchValue();
    v.Text = value;
    writeProperty(element, property, v);
    v.Text = QString();   // the text is not held past its write
}
