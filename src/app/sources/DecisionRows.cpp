// Decision rows about stand groups and map-rectangle holders, with their sets.
#include "app/sources/DecisionRows.h"

#include "forest/base/ForestSetRoutines.h"
#include "forest/codebooks/CiselLumex.h"
#include "framework/core/ClassRegistry.h"
#include "framework/elements/PlaneGraphics.h"

namespace {

template<class T, class V>
auto member(V T::*m)
{
    return std::pair{[m](T& o) { return o.*m; }, [m](T& o, const V& v) { o.*m = v; }};
}

} // namespace

TClass TRadekRozhodnuti::StaticClass()
{
    using R = TRadekRozhodnuti;
    static const TClassInfo info = describeClass<R, TObecnyLesniPrvek>("TRadekRozhodnuti", [](PropertyTable<R>& t) {
        const auto integer = [&t](const char* name, qint32 R::*m) {
            t.integer(QString::fromLatin1(name), member(m).first, member(m).second);
        };
        const auto text = [&t](const char* name, QString R::*m) {
            t.longString(QString::fromLatin1(name), member(m).first, member(m).second);
        };
        integer("ODD", &R::ODD);
        text("DIL", &R::DIL);
        text("POR", &R::POR);
        text("PSK", &R::PSK);
        integer("MAJ_KOD", &R::MAJ_KOD);
        integer("MAJ_DRUH", &R::MAJ_DRUH);
        text("CisJedn", &R::CisJedn);
        integer("TypRozh", &R::TypRozh);
        t.longString("TypRozh_nazev", [](R& r) { return r.TypRozh_nazev(); }, nullptr, false);
        text("Platnost_OD", &R::Platnost_OD);
        text("Platnost_DO", &R::Platnost_DO);
        text("Poznamka", &R::Poznamka);
        t.longString("OddDilPorPsk", [](R& r) { return r.OddDilPorPsk(); }, nullptr, false);
    });
    return &info;
}

QString TRadekRozhodnuti::TypRozh_nazev()
{
    auto* root = dynamic_cast<TCiselLumex*>(ciselLumexOwnEnt());
    if (!root || !root->TypyRozhodnutiMN())
        return {};
    return ValueByKey(root->TypyRozhodnutiMN(), QStringLiteral("KOD"), QString::number(TypRozh),
                      QStringLiteral("POPIS"));
}

QString TRadekRozhodnuti::OddDilPorPsk() const
{
    return QString::number(ODD) + DIL + POR + PSK;
}

TClass TRadekRozhodnutiMN::StaticClass()
{
    static const TClassInfo info = describeClass<TRadekRozhodnutiMN, TLesniMnozina>("TRadekRozhodnutiMN");
    return &info;
}

TRadekRozhodnutiMN::TRadekRozhodnutiMN()
{
    setItems(TRadekRozhodnuti::StaticClass(), QStringLiteral("R_ROZHOD"));
}

TClass TObdelniky::StaticClass()
{
    using O = TObdelniky;
    static const TClassInfo info = describeClass<O, TObecnyLesniPrvek>("TObdelniky", [](PropertyTable<O>& t) {
        t.longString("AdresarMapy", member(&O::AdresarMapy).first, member(&O::AdresarMapy).second)
            .object<TRectEntity>("RecEnti", [](O& o) { return o.RecEnti(); },
                                 [](O& o, TRectEntity* e) { o.SetRecEnti(e); });
    });
    return &info;
}

TRectEntity* TObdelniky::RecEnti()
{
    if (TRectEntity* kept = m_recEnti.get())
        return kept;
    for (int i = 0; i < Count(); ++i)
        if (auto* child = dynamic_cast<TRectEntity*>(Items(i))) {
            m_recEnti = child;
            return child;
        }
    TRectEntity* created = AddNew<TRectEntity>();
    m_recEnti = created;
    return created;
}

TClass TObdelnikyMN::StaticClass()
{
    static const TClassInfo info = describeClass<TObdelnikyMN, TLesniMnozina>("TObdelnikyMN");
    return &info;
}

TObdelnikyMN::TObdelnikyMN()
{
    setItems(TObdelniky::StaticClass(), QStringLiteral("OBDEL"));
}
