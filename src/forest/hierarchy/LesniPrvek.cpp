// The common base of the forest hierarchy's elements: link numbers and stock sums of the subtree.
#include "forest/hierarchy/LesniPrvek.h"

#include "forest/base/ForestSetRoutines.h"
#include "forest/codebooks/CiselLumex.h"
#include "forest/hierarchy/HierarchySupport.h"

using namespace forest;

TClass TLesniPrvek::StaticClass()
{
    using L = TLesniPrvek;
    static const TClassInfo info = describeClass<L, TObecnyLesniPrvek>("TLesniPrvek", [](PropertyTable<L>& t) {
        t.integer("RId", fieldGet(&L::m_rid), fieldSet(&L::m_rid))
            .integer("Vazba", fieldGet(&L::m_vazba), fieldSet(&L::m_vazba))
            .integer("KontrolaP0110", fieldGet(&L::m_kontrolaP0110), fieldSet(&L::m_kontrolaP0110))
            .integer("ZasobaCelkem", [](L& l) { return l.SubtreeSum(QStringLiteral("Etaz_ZAS_CELK")); }, nullptr, false)
            .integer("HektarovaZasobaCelkem", [](L& l) { return l.SubtreeSum(QStringLiteral("Etaz_ZAS_HA")); }, nullptr,
                     false)
            .integer("SouseCelkem", [](L& l) { return l.SubtreeSum(QStringLiteral("Etaz_OBJ_SOUS")); }, nullptr, false)
            .integer("TezbyVychovne", [](L& l) { return l.SubtreeSum(QStringLiteral("Etaz_TV")); }, nullptr, false)
            .integer("TezbyCelkem",
                     [](L& l) {
                         return txt::addChecked(l.SubtreeSum(QStringLiteral("Etaz_TO")),
                                                l.SubtreeSum(QStringLiteral("Etaz_TV")));
                     },
                     nullptr, false)
            .object<TCiselLumex>("ciselLumex", [](L& l) { return asClass<TCiselLumex>(l.ciselLumexOwnEnt()); }, nullptr, false);
    });
    return &info;
}

qint32 TLesniPrvek::SubtreeSum(const QString& storeyProperty)
{
    return SumPropertyRounded(this, storeyProperty);
}
