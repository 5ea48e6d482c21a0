// The general forest element: codebook, codebook root, export list and source kind found through owners.
#include "forest/base/ObecnyLesniPrvek.h"

#include "forest/base/IniLists.h"
#include "forest/codebooks/Ciselnik.h"
#include "framework/core/ClassRegistry.h"

namespace {

// Lookups through owners recurse once per level; a model file can make an element its own
// owner's owner, so the walk stops at this depth and answers nil (or 7) there.
constexpr int maxOwnerDepth = 256;
int g_ownerDepth = 0;
// Grows whenever a walk through owners answered from the walk's depth or from a broken owner
// entry (with a message) rather than from the tree alone: such answers are not kept.
quint64 g_unsettledWalks = 0;

class OwnerDepthGuard
{
public:
    OwnerDepthGuard() { ++g_ownerDepth; }
    ~OwnerDepthGuard() { --g_ownerDepth; }
    OwnerDepthGuard(const OwnerDepthGuard&) = delete;
    OwnerDepthGuard& operator=(const OwnerDepthGuard&) = delete;
    bool tooDeep() const { return g_ownerDepth > maxOwnerDepth; }
};

} // namespace

TClass TObecnyLesniPrvek::StaticClass()
{
    using P = TObecnyLesniPrvek;
    static const TClassInfo info = describeClass<P, TOwnerEntity>("TObecnyLesniPrvek", [](PropertyTable<P>& t) {
        t.object<tciselnik>("Ciselnik", [](P& p) { return p.Ciselnik(); }, nullptr, false)
            .object<TOwnerEntity>("ciselLumexOwnEnt", [](P& p) { return p.ciselLumexOwnEnt(); }, nullptr, false)
            .object<TLesniStringListElement>("SeznamExportStandard",
                                             [](P& p) { return p.SeznamExportStandard(); }, nullptr, false);
    });
    return &info;
}

template<class R>
R* TObecnyLesniPrvek::askOwners(R* (TObecnyLesniPrvek::*lookup)())
{
    OwnerDepthGuard guard;
    if (guard.tooDeep()) {
        ++g_unsettledWalks;
        return nullptr;
    }
    R* found = nullptr;
    for (int i = 0; i < OwnersCount(); ++i) {
        TElement* owner = GetOwner(i);
        if (!owner)
            ++g_unsettledWalks;
        if (auto* element = forest::asClass<TObecnyLesniPrvek>(owner))
            found = (element->*lookup)();
    }
    return found;
}

tciselnik* TObecnyLesniPrvek::Ciselnik()
{
    // Every species row asks: the answer is kept while the tree stays as it is.
    const quint64 generation = TreeGeneration();
    if (m_ciselnikGeneration == generation)
        return m_ciselnik;
    const quint64 unsettled = g_unsettledWalks;
    tciselnik* found = nullptr;
    for (int i = 0; i < Count(); ++i)
        if (auto* child = forest::asClass<tciselnik>(Items(i)))
            found = child;
    if (!found)
        found = askOwners<tciselnik>(&TObecnyLesniPrvek::Ciselnik);
    if (TreeGeneration() == generation && g_unsettledWalks == unsettled) {
        m_ciselnik = found;
        m_ciselnikGeneration = generation;
    }
    return found;
}

TOwnerEntity* TObecnyLesniPrvek::ciselLumexOwnEnt()
{
    TOwnerEntity* found = nullptr;
    for (int i = 0; i < Count(); ++i) {
        auto* child = forest::asClass<TOwnerEntity>(Items(i));
        if (child && child->GetName() == QLatin1String("CiselLumex"))
            found = child;
    }
    return found ? found : askOwners<TOwnerEntity>(&TObecnyLesniPrvek::ciselLumexOwnEnt);
}

TLesniStringListElement* TObecnyLesniPrvek::SeznamExportStandard()
{
    if (auto* own = dynamic_cast<TLesniStringListElement*>(FindElementByName(QStringLiteral("SeznamExportStandard"))))
        return own;
    return askOwners<TLesniStringListElement>(&TObecnyLesniPrvek::SeznamExportStandard);
}

quint8 TObecnyLesniPrvek::SourceKind()
{
    if (m_sourceKind != SourceKinds::Undetermined)
        return m_sourceKind;
    OwnerDepthGuard guard;
    if (guard.tooDeep())
        return SourceKinds::Undetermined;
    std::vector<TObecnyLesniPrvek*> owners;
    for (int i = 0; i < OwnersCount(); ++i)
        if (auto* owner = forest::asClass<TObecnyLesniPrvek>(GetOwner(i)))
            owners.push_back(owner);
    for (TObecnyLesniPrvek* owner : owners)
        if (owner->m_sourceKind != SourceKinds::Undetermined)
            return m_sourceKind = owner->m_sourceKind;
    for (TObecnyLesniPrvek* owner : owners) {
        const quint8 kind = owner->SourceKind();
        if (kind != SourceKinds::Undetermined)
            return m_sourceKind = kind;
    }
    return SourceKinds::Undetermined;
}

Owned<TObecnyLesniPrvek> TObecnyLesniPrvek::Clone()
{
    Owned<TPersistent> copy = CloneObject(this);
    auto* element = dynamic_cast<TObecnyLesniPrvek*>(copy.get());
    if (!element)
        return nullptr;
    copy.release();
    return Owned<TObecnyLesniPrvek>(element);
}
