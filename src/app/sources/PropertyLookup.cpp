// Published properties by name for the loaders, looked up once per class and name.
#include "app/sources/PropertyLookup.h"

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

QString publishedText(TPersistent& object, const char* name)
{
    return GetPropValueAsString(&object, findPublishedProperty(object, name));
}

} // namespace app
