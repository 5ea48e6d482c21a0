// Text dumps of a forest model: every published property of every element.
#include "app/support/ModelDump.h"

#include "framework/core/Elements.h"
#include "framework/core/Properties.h"
#include "platform/Exceptions.h"

#include <QSet>

namespace testapp {

namespace {

void dumpObject(TPersistent* object, int depth, QStringList& out, QSet<const TPersistent*>& seen)
{
    const QString indent(depth * 2, QLatin1Char(' '));
    if (!object) {
        out << indent + QStringLiteral("nil");
        return;
    }
    const int nameAt = IndexOfProp(object, QStringLiteral("Name"));
    const QString title = object->ClassName() + (nameAt >= 0 ? QStringLiteral(" '%1'").arg(GetPropAsStringByIndex(object, nameAt)) : QString());
    if (seen.contains(object) || depth > 12) {
        out << indent + QStringLiteral("^") + title;
        return;
    }
    seen.insert(object);
    out << indent + title;
    const int count = PublishedPropCount(object);
    for (int i = 0; i < count; ++i) {
        const PPropInfo p = object->ClassType()->Prop(i);
        if (p->Name == QLatin1String("ID") || p->Name == QLatin1String("WholeSize")
            || p->Name.startsWith(QLatin1String("AktualniPrvekVzdy")))
            continue;
        if (p->Kind == tkClass) {
            out << indent + QStringLiteral(" %1:").arg(p->Name);
            dumpObject(GetObjectPropByName(object, p->Name), depth + 1, out, seen);
            continue;
        }
        QString value;
        try {
            value = GetPropAsStringByIndex(object, i);
        } catch (const Exception& e) {
            value = QStringLiteral("!") + e.message();   // a computed property may refuse
        }
        out << indent + QStringLiteral(" %1=%2").arg(p->Name, value);
    }
    if (auto* entity = dynamic_cast<TEntity*>(object))
        for (int i = 0; i < entity->Count(); ++i)
            dumpObject(entity->Items(i), depth + 1, out, seen);
}

} // namespace

QStringList dumpModel(TPersistent* root)
{
    QStringList out;
    QSet<const TPersistent*> seen;
    dumpObject(root, 0, out, seen);
    return out;
}

} // namespace testapp
