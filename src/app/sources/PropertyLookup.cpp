// Published properties by name for the loaders, looked up once per class and name.
#include "app/sources/PropertyLookup.h"

#include "platform/Exceptions.h"

#include <QHash>
#include <QPair>

namespace app {

PPropInfo publishedProperty(TPersistent& object, const char* name)
{
    static QHash<QPair<TClass, QByteArray>, PPropInfo> cache;
    const QPair<TClass, QByteArray> key(object.ClassType(), QByteArray(name));
    if (const auto it = cache.constFind(key); it != cache.constEnd())
        return it.value();
    const int index = IndexOfProp(&object, QString::fromLatin1(name));
    if (index < 0)
        throw EDatabaseError(QStringLiteral("Třída %1 nemá vlastnost %2")
                                 .arg(object.ClassType()->ClassName(), QString::fromLatin1(name)));
    const PPropInfo prop = object.ClassType()->Prop(index);
    cache.insert(key, prop);
    return prop;
}

} // namespace app
