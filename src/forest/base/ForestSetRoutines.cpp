// Routines over forest sets and element trees: owner search, sums, maxima, joins, look-ups, names.
#include "forest/base/ForestSetRoutines.h"

#include "forest/base/LesniMnozina.h"
#include "forest/base/SumaPodleProperty.h"
#include "forest/base/TextUtilities.h"
#include "framework/core/TextRoutines.h"
#include "framework/values/TypedValues.h"
#include "platform/text/Case.h"
#include "platform/text/Numbers.h"


namespace {

// Owner chains and element trees of model files may form cycles; walks stop at this depth.
constexpr int maxDepth = 256;

TElement* findOwnerDeep(TElement* element, TClass cls, int depth)
{
    if (!element || depth > maxDepth)
        return nullptr;
    // The owners are read once; the second pass asks again only for an entry that gave nil
    // (so that its message is repeated as before). Reading an owner frees nothing.
    constexpr int kept = 4;
    TElement* owners[kept];
    const int count = element->OwnersCount();
    for (int i = 0; i < count; ++i) {
        TElement* owner = element->GetOwner(i);
        if (i < kept)
            owners[i] = owner;
        if (owner && owner->InheritsFrom(cls))
            return owner;
    }
    for (int i = 0; i < element->OwnersCount(); ++i) {
        TElement* owner = i < kept && i < count && owners[i] ? owners[i] : element->GetOwner(i);
        if (forest::asClass<TObecnyLesniPrvek>(owner))
            if (TElement* found = findOwnerDeep(owner, cls, depth + 1))
                return found;
    }
    return nullptr;
}

void selectFirst(TElement* element, int depth)
{
    auto* node = forest::asClass<TObecnyLesniPrvek>(element);
    if (!node || depth > maxDepth)
        return;
    if (auto* set = forest::asClass<TLesniMnozina>(node); set && set->Count() > 0)
        set->SetAktualniPrvek(set->Items(0));
    for (int i = 0; i < node->Count(); ++i)
        selectFirst(node->Items(i), depth + 1);
}

void upperCaseNames(TEntity* entity, int depth)
{
    if (!entity || depth > maxDepth)
        return;
    for (int i = 0; i < entity->Count(); ++i) {
        TElement* child = entity->Items(i);
        if (!child)
            continue;
        child->SetName(txt::upperAscii(child->GetName()));
        upperCaseNames(dynamic_cast<TEntity*>(child), depth + 1);
    }
}

} // namespace

TElement* FindOwnerOfClassDeep(TElement* element, TClass cls)
{
    return findOwnerDeep(element, cls, 0);
}

qint32 SumPropertyRounded(TElement* element, const QString& propertyName)
{
    Owned<TSumaPodleProperty> sum = Create<TSumaPodleProperty>();
    sum->SetPropertaStr(propertyName);
    sum->SetInput(element);
    sum->Execute();
    return txt::roundHalfEven(sum->Suma());
}

double SumFloatProperty(TEntity* set, const QString& propertyName)
{
    double sum = 0.0;
    if (!set)
        return sum;
    for (int i = 0; i < set->Count(); ++i) {
        TElement* child = set->Items(i);
        double value = 0.0;
        if (child && child->HasProperty(propertyName) && txt::tryTextToFloat(child->GetPropAsString(propertyName), value))
            sum += value;
    }
    return sum;
}

TElement* ElementWithMaxProperty(TEntity* set, const QString& propertyName)
{
    TElement* best = nullptr;
    double max = -1e21;
    for (int i = 0; set && i < set->Count(); ++i) {
        TElement* child = set->Items(i);
        if (!child)
            continue;
        const double value = TextToFloatDef(child->GetPropAsString(propertyName));
        if (value > max) {
            max = value;
            best = child;
        }
    }
    return best;
}

QString JoinPropertyValues(TEntity* set, const QString& propertyName, const QString& separator)
{
    QStringList values;
    for (int i = 0; set && i < set->Count(); ++i) {
        TElement* child = set->Items(i);
        if (child && child->HasProperty(propertyName))
            values.append(child->GetPropAsString(propertyName));
    }
    return values.join(separator);
}

void FindRangeByIntProperty(TEntity* set, const QString& propertyName, qint32 value, int& firstIndex, int& count)
{
    firstIndex = 0;
    count = 0;
    if (!set || set->Count() == 0)
        return;
    const auto valueAt = [&](int i) {
        TElement* child = set->Items(i);
        return child ? child->GetPropAsInteger(propertyName) : 0;
    };
    // The first index whose value is not below the wanted one.
    int lo = 0;
    int hi = set->Count();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (valueAt(mid) < value)
            lo = mid + 1;
        else
            hi = mid;
    }
    firstIndex = lo;
    while (lo + count < set->Count() && valueAt(lo + count) == value)
        ++count;
}

QString ValueByKey(TEntity* set, const QString& keyProperty, const QString& key, const QString& resultProperty)
{
    QString result;
    const QString wanted = txt::upperAscii(txt::trim(key));
    for (int i = 0; set && i < set->Count(); ++i) {
        TElement* child = set->Items(i);
        if (child && txt::upperAscii(txt::trim(child->GetPropAsString(keyProperty))) == wanted)
            result = child->GetPropAsString(resultProperty);
    }
    return result;
}

void SelectFirstElements(TElement* element)
{
    selectFirst(element, 0);
}

void UpperCaseNames(TEntity* entity)
{
    upperCaseNames(entity, 0);
}

void AddUnique(QStringList& list, const QString& text)
{
    if (!list.contains(text))
        list.append(text);
}

void AddNameValueOnce(QStringList& list, const QString& name, const QString& value)
{
    const QString padded = PadLeft(name, 3, QLatin1Char(' '));
    for (const QString& line : list) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0 && txt::sameTextLetters(line.left(eq), padded))
            return;
    }
    list.append(padded + QLatin1Char('=') + value);
}

Owned<TStringListElement> StringsToListElement(const QStringList* list)
{
    if (!list)
        return nullptr;
    Owned<TStringListElement> element = Create<TStringListElement>();
    for (const QString& line : *list)
        element->AddNameValue(line, line);
    return element;
}
