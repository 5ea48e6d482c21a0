// The general forest element: codebook, codebook root, export list and source kind found through owners.
#pragma once

#include "framework/core/Elements.h"

class tciselnik;
class TLesniStringListElement;

namespace forest {

// The element as a T when its class is T or descends from it; nil otherwise (no RTTI walk).
template<class T>
T* asClass(TElement* element)
{
    return element && element->InheritsFrom(T::StaticClass()) ? static_cast<T*>(element) : nullptr;
}

} // namespace forest

// Kind of data source a forest element was loaded from (the forest unit's source kind).
namespace SourceKinds {
constexpr quint8 OldLhpRecords = 0;
constexpr quint8 Vex97 = 1;
constexpr quint8 Vex98 = 2;
constexpr quint8 IsHul97 = 3;
constexpr quint8 IsHul98 = 4;
constexpr quint8 SqlDatabase = 5;
constexpr quint8 Undetermined = 7;
}

// Base of every object of the forest model (TObecnyLesniPrvek: "general forest element").
// A container (TOwnerEntity) that finds the codebook container, the codebook root and the
// export item list of its forest unit among its own children first and then through its owners.
// The forest unit object overrides those lookups to answer its own.
class TObecnyLesniPrvek : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The last child that is a tciselnik; else the answer of the last owner that is a forest
    // element (even nil); nil when nothing is found.
    virtual tciselnik* Ciselnik();
    // The last child named exactly "CiselLumex" (letter case counts); else asked of the owners.
    virtual TOwnerEntity* ciselLumexOwnEnt();
    // The child named "SeznamExportStandard" (letter case ignored); else asked of the owners.
    virtual TLesniStringListElement* SeznamExportStandard();
    // The element's own kind when determined; else the first owner's stored kind, else the first
    // owner's SourceKind() answer other than 7. A found kind is stored, so it survives a move.
    virtual quint8 SourceKind();
    // A new object of the same class with every stored published property copied. Caller owns it.
    virtual Owned<TObecnyLesniPrvek> Clone();

    // The stored byte, without asking the owners.
    quint8 StoredSourceKind() const { return m_sourceKind; }
    void SetSourceKind(quint8 kind) { m_sourceKind = kind; }

private:
    // Asks every owner that is a forest element in order; the last answer counts.
    template<class R>
    R* askOwners(R* (TObecnyLesniPrvek::*lookup)());

    quint8 m_sourceKind = SourceKinds::Undetermined;
    // Ciselnik's last answer and the tree generation it holds for (0: none).
    tciselnik* m_ciselnik = nullptr;
    quint64 m_ciselnikGeneration = 0;
};
