// Helpers shared by the forest hierarchy classes: rounding, child sets, owners and codebook texts.
#pragma once

#include "forest/base/Designations.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/base/ForestSetRoutines.h"
#include "forest/base/TextUtilities.h"
#include "forest/hierarchy/LesniPrvek.h"
#include "forest/rules/SpeciesCodes.h"
#include "forest/rules/SpeciesTable.h"
#include "forest/rules/Thinning.h"
#include "forest/rules/YieldModel.h"
#include "framework/core/Elements.h"
#include "platform/Exceptions.h"
#include "platform/text/Numbers.h"

#include <QString>

class TObecnyLesniPrvek;
namespace db {
class Table;
}
class TLesniMnozina;
class TCiselLumex;

namespace forest {

// Nearest integer, halves to even; beyond 32 bits raises ERangeError.
inline qint32 roundInt(double v)
{
    return txt::roundHalfEven(v);
}

// Rounded to hundredths of a hectare (area × 100 rounded, divided by 100).
inline double roundArea(double v)
{
    return txt::roundHalfEven(v * 100.0) / 100.0;
}

// Property table helpers: a getter and a setter over a data member.
template<class T, class V>
auto fieldGet(V T::*member)
{
    return [member](T& object) { return object.*member; };
}
template<class T, class V>
auto fieldSet(V T::*member)
{
    return [member](T& object, const V& value) { object.*member = value; };
}

// A child set kept by its parent: refers to it without owning it and turns nil when it is freed.
// The framework's class test and handle table replace a dynamic_cast on every access.
template<class S>
class ChildSlot
{
public:
    S* get() const
    {
        TPersistent* object = m_handle ? ObjectFromHandle(m_handle) : nullptr;
        return object ? static_cast<S*>(object) : nullptr;
    }
    explicit operator bool() const { return get() != nullptr; }
    S* operator->() const { return get(); }
    void set(S* set) { m_handle = ObjectHandle(set); }

private:
    qint32 m_handle = 0;
};

// The set kept in slot, created through the framework and added to parent as a child when
// missing (or freed meanwhile).
template<class S>
S* ensureChildSet(TEntity* parent, ChildSlot<S>& slot)
{
    if (S* set = slot.get())
        return set;
    S* set = parent->AddNew<S>();
    slot.set(set);
    return set;
}

// The owner of class T, searched through the owners' owners (sets sit between levels).
template<class T>
T* ownerOf(TElement* element);

// The element's CeleOznaceni built by appending into one text.
template<class T>
QString designation(T& element)
{
    QString text;
    text.reserve(96);
    element.appendCeleOznaceni(text);
    return text;
}

// The children of class T of an entity, in order (a null entity has none).
template<class T, class F>
void forEachChild(const TEntity* entity, F&& action)
{
    if (!entity)
        return;
    for (int i = 0; i < entity->Count(); ++i)
        if (T* child = asClass<T>(entity->Items(i)))
            action(child);
}

// The index-th child of class T (counting only those), nil when there is none.
template<class T>
T* childOfClassAt(const TEntity* entity, int index)
{
    T* found = nullptr;
    int seen = 0;
    forEachChild<T>(entity, [&](T* child) {
        if (!found && seen++ == index)
            found = child;
    });
    return found;
}

// --- codebook texts ---------------------------------------------------------------------------
// The text of resultField in the row of the element's codebook table (a table property of its
// codebook container, such as "tb_LDU") whose keyField equals code; the code itself when the
// table lacks it; empty without a container or table.
QString codebookText(TObecnyLesniPrvek* element, const QString& table, const QString& keyField,
                     const QString& code, const QString& resultField = QStringLiteral("POPIS"));
// The table property of the element's codebook container ("TB_Mel_Drev"); nil without one.
db::Table* codebookTable(TObecnyLesniPrvek* element, const QString& table);
// POPIS of the code in a name codebook, key field "Kod".
inline QString codebookName(TObecnyLesniPrvek* element, const QString& table, const QString& code)
{
    return codebookText(element, table, QStringLiteral("Kod"), code);
}

// The element's codebook root (the owner-found "CiselLumex"); nil without one.
TCiselLumex* codebookRoot(TObecnyLesniPrvek* element);
// The set's items: the value of resultProperty of the last item whose keyProperty equals key
// (trimmed, ASCII case ignored); empty when none.
QString itemValueByKey(TEntity* set, const QString& keyProperty, const QString& key,
                       const QString& resultProperty);
// Whether the set exists and holds at least one child.
inline bool hasItems(const TEntity* set)
{
    return set && set->Count() > 0;
}

// Owner name of an owner code: the codebook root's ownership set (MAJ_KOD_C -> MAJ_NAZ_C) when
// it has items, else MAJ_NAZ of the row in tb_Majetky; empty without a codebook root.
QString ownerName(TObecnyLesniPrvek* element, qint32 majKod);

} // namespace forest

namespace forest {

// The set's current element as a T; nil when none or of another class.
template<class T>
T* currentAs(TLesniMnozina* set)
{
    return asClass<T>(set->AktualniPrvek());
}
// The set's current element, created with the key "Vzdy" when none; an element of another
// class made current from outside raises EConvertError.
template<class T>
T* alwaysAs(TLesniMnozina* set)
{
    T* element = asClass<T>(set->AktualniPrvekVzdy());
    if (!element)
        throw EConvertError(QStringLiteral("Invalid class typecast"));
    return element;
}
// The index-th child of the set (all children count) as a T; nil outside or of another class.
template<class T>
T* childAt(TEntity* set, int index)
{
    return index >= 0 && index < set->Count() ? asClass<T>(set->Items(index)) : nullptr;
}

} // namespace forest

template<class T>
T* forest::ownerOf(TElement* element)
{
    return static_cast<T*>(FindOwnerOfClassDeep(element, T::StaticClass()));
}
