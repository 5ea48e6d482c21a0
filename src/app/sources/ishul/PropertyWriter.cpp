// Typed writes of published properties by name, for the loaders of the file sources.
#include "app/sources/ishul/PropertyWriter.h"

#include "framework/core/Elements.h"

#include <QHash>
#include <QPair>

namespace {

// The property index of a class and name, looked up once (the loaders write the same few
// properties of the same classes over and over).
int propertyIndex(TElement* element, const QString& name)
{
    static QHash<QPair<TClass, QString>, int> cache;
    const QPair<TClass, QString> key(element->ClassType(), name);
    const auto it = cache.constFind(key);
    if (it != cache.cend())
        return *it;
    const int index = IndexOfProp(element, name);
    cache.insert(key, index);
    return index;
}

void writeProperty(TElement* element, const QString& name, const PropValue& value)
{
    if (!element)
        return;
    const int index = propertyIndex(element, name);
    if (index < 0)
        return;
    const PPropInfo prop = element->ClassType()->Prop(index);
    if (prop->HasWrite())
        prop->Write(*element, value);
}

} // namespace

void writeInt(TElement* element, const QString& name, qint32 v)
{
    PropValue value;
    value.Ordinal = v;
    writeProperty(element, name, value);
}

void writeFloat(TElement* element, const QString& name, double v)
{
    PropValue value;
    value.Float = v;
    writeProperty(element, name, value);
}

void writeText(TElement* element, const QString& name, const QString& v)
{
    PropValue value;
    value.Text = v;
    writeProperty(element, name, value);
}
