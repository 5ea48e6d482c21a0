// Published properties by name for the loaders, looked up once per class and name.
#include "app/sources/PropertyLookup.h"

#include "framework/core/TextRoutines.h"
#include "platform/Exceptions.h"

#include <QHash>
#include <QPair>


namespace app {

PPropInfo findPublishedProperty(TPersistent& object, const char* name)
{
    static QHash<QPair<TClass, QByteArray>, PPropInfo> cache;
    // The lookup key borrows the name; only a stored key copies it.
    const QPair<TClass, QByteArray> key(object.ClassType(), QByteArray::fromRawData(name, qsizetype(qstrlen(name))));
    if (const auto it = cache.constFind(key); it != cache.constEnd())
        return it.value();
    const int index = IndexOfProp(&object, QString::fromLatin1(name));
    const PPropInfo prop = index < 0 ? nullptr : object.ClassType()->Prop(index);
    cache.insert(QPair<TClass, QByteArray>(object.ClassType(), QByteArray(name)), prop);
    return prop;
}

PPropInfo publishedProperty(TPersistent& object, const char* name)
{
    const PPropInfo prop = findPublishedProperty(object, name);
    if (!prop)
        throw EDatabaseError(QStringLiteral("Třída %1 nemá vlastnost %2")
                                 .arg(object.ClassType()->ClassName(), QString::fromLatin1(name)));
    return prop;
}

PPropInfo findLiteralProperty(TPersistent& object, const char* name)
{
    static PointerPairFront<TClass, PPropInfo> cache;
    return cache.get(object.ClassType(), name, [&] { return findPublishedProperty(object, name); });
}

PPropInfo literalProperty(TPersistent& object, const char* name)
{
    const PPropInfo prop = findLiteralProperty(object, name);
    return prop ? prop : publishedProperty(object, name);
}

bool writeWholeNumber(TPersistent& object, PPropInfo property, qint32 value)
{
    PropValue v;
    switch (property->Kind) {
    case tkInteger:
    case tkEnumeration:
    case tkChar:
        v.Ordinal = value;
        break;
    case tkInt64:
        v.Int64 = value;
        break;
    case tkFloat:
        v.Float = value;
        break;
    default:
        return false;
    }
    property->Write(object, v);
    return true;
}

QString publishedText(TPersistent& object, const char* name)
{
    return GetPropValueAsString(&object, findPublishedProperty(object, name));
}

QString literalText(TPersistent& object, const char* name)
{
    return GetPropValueAsString(&object, findLiteralProperty(object, name));
}

qint32 literalWholeNumber(TPersistent& object, const char* name)
{
    const PPropInfo prop = findLiteralProperty(object, name);
    if (prop && prop->Kind == tkInteger && prop->HasRead())
        return prop->Read(object).Ordinal;
    return LeadingInteger(GetPropValueAsString(&object, prop));
}

} // namespace app
