// Non-stocked land of a stand: bare land (BZL), other land (JP), other areas (OST) and their sets.
#include "forest/hierarchy/NonStockedLand.h"

#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/Porost.h"
#include "platform/ui/Services.h"

using namespace forest;

namespace {

QString areaText(double area)
{
    return txt::formatFixed(6, 2, area);
}

} // namespace

// --- TLesniPlosnyNeporostniPrvek -------------------------------------------------------------------

TClass TLesniPlosnyNeporostniPrvek::StaticClass()
{
    using N = TLesniPlosnyNeporostniPrvek;
    static const TClassInfo info =
        describeClass<N, TLesniPlosnyPrvek>("TLesniPlosnyNeporostniPrvek", [](PropertyTable<N>& t) {
            t.string("VYUZITI", fieldGet(&N::m_vyuziti), fieldSet(&N::m_vyuziti))
                .integer("MAJ_KOD", fieldGet(&N::m_majKod), fieldSet(&N::m_majKod))
                .integer("MAJ_DRUH", fieldGet(&N::m_majDruh), fieldSet(&N::m_majDruh))
                .string("MAJ_NAZ", &N::MAJ_NAZ, nullptr, false);
        });
    return &info;
}

QString TLesniPlosnyNeporostniPrvek::MAJ_NAZ()
{
    return ownerName(this, m_majKod);
}

TPorost* TLesniPlosnyNeporostniPrvek::OwnerPorost()
{
    return ownerOf<TPorost>(this);
}

QString TLesniPlosnyNeporostniPrvek::CeleOznaceniWith(const QString& label, qint32 number)
{
    TPorost* porost = OwnerPorost();
    return (porost ? porost->CeleOznaceni() : QString()) + label + QString::number(number);
}

// --- TBezlesi ----------------------------------------------------------------------------------------

TClass TBezlesi::StaticClass()
{
    using B = TBezlesi;
    static const TClassInfo info = describeClass<B, TLesniPlosnyNeporostniPrvek>("TBezlesi", [](PropertyTable<B>& t) {
        t.integer("BZL", fieldGet(&B::m_bzl), fieldSet(&B::m_bzl))
            .string("BZL_VYUZ", fieldGet(&B::m_bzlVyuz), fieldSet(&B::m_bzlVyuz));
        describeAreaNames(t, QStringLiteral("BZL"));
        t.string("BZL_DRUH", fieldGet(&B::m_vyuziti), fieldSet(&B::m_vyuziti));
        describeOwnerAliases(t, QStringLiteral("_BZL"));
        t.integer("KU_KOD_BZL", &B::KU_KOD, &B::SetKU_KOD)
            .string("NazevKatastru_BZL", &B::NazevKatastru, nullptr, false)
            .string("KU_NAZ_BZL", &B::NazevKatastru, nullptr, false)
            .integer("LES_URAD_BZL", &B::LES_URAD, &B::SetLES_URAD)
            .string("LES_URAD_BZL_nazev", &B::LES_URAD_Nazev, nullptr, false);
        describeRegisterAliases(t, QStringLiteral("_BZL"));
        t.string("BZL_P_st", [](B& b) { return areaText(b.Plocha()); }, nullptr, false)
            .string("BZL_V_st", [](B& b) { return areaText(b.Vymera()); }, nullptr, false)
            .integer("BZL_KVAL_Vypocet", nullptr, &B::ApplyAreaQuality, false)
            .string("BZL_DRUH_nazev", [](B& b) { return codebookName(&b, "TB_Cis_Bezl", b.m_vyuziti.trimmed()); },
                    nullptr, false)
            .string("CeleOznaceni", [](B& b) { return b.CeleOznaceniWith(QStringLiteral(" Bezlesí: "), b.m_bzl); },
                    nullptr, false);
    });
    return &info;
}

// --- TJinyPozemek -----------------------------------------------------------------------------------

TClass TJinyPozemek::StaticClass()
{
    using J = TJinyPozemek;
    static const TClassInfo info = describeClass<J, TLesniPlosnyNeporostniPrvek>("TJinyPozemek", [](PropertyTable<J>& t) {
        t.integer("JP", fieldGet(&J::m_jp), fieldSet(&J::m_jp))
            .string("JP_PUPFL", fieldGet(&J::m_jpPupfl), fieldSet(&J::m_jpPupfl))
            .string("DRUH_POZ", fieldGet(&J::m_druhPoz), fieldSet(&J::m_druhPoz))
            .string("JP_VYUZ", fieldGet(&J::m_jpVyuz), fieldSet(&J::m_jpVyuz));
        describeAreaNames(t, QStringLiteral("JP"));
        t.string("JP_DRUH", fieldGet(&J::m_vyuziti), fieldSet(&J::m_vyuziti))
            .string("DRUH_POZ_JP", fieldGet(&J::m_druhPoz), fieldSet(&J::m_druhPoz));
        describeOwnerAliases(t, QStringLiteral("_JP"));
        t.integer("LES_URAD_JP", &J::LES_URAD, &J::SetLES_URAD)
            .integer("KU_KOD_JP", &J::KU_KOD, &J::SetKU_KOD)
            .string("KU_NAZ_JP", &J::NazevKatastru, nullptr, false)
            .string("NazevKatastru_JP", &J::NazevKatastru, nullptr, false)
            .string("LES_URAD_JP_nazev", &J::LES_URAD_Nazev, nullptr, false);
        describeRegisterAliases(t, QStringLiteral("_JP"));
        t.string("JP_P_st", [](J& j) { return areaText(j.Plocha()); }, nullptr, false)
            .string("JP_V_st", [](J& j) { return areaText(j.Vymera()); }, nullptr, false)
            .integer("JP_KVAL_Vypocet", nullptr, &J::ApplyAreaQuality, false)
            .string("JP_DRUH_nazev", [](J& j) { return codebookName(&j, "TB_Cis_Jine", j.m_vyuziti.trimmed()); },
                    nullptr, false)
            .string("DRUH_POZ_JP_nazev", [](J& j) { return codebookName(&j, "tb_Druh_poz", j.m_druhPoz.trimmed()); },
                    nullptr, false)
            .string("CeleOznaceni", [](J& j) { return j.CeleOznaceniWith(QStringLiteral(" JinPoz: "), j.m_jp); },
                    nullptr, false);
    });
    return &info;
}

namespace {

// The element's last child of class S (a message for each further one), or a new one.
template<class S>
S* singleChildSet(TEntity* element)
{
    S* found = nullptr;
    forEachChild<S>(element, [&found](S* set) {
        if (found)
            ui::services().showMessage(QStringLiteral("Pozor dvě KategorieMN"));
        found = set;
    });
    return found ? found : element->AddNew<S>();
}

} // namespace

TKategorieMN* TJinyPozemek::KategorieMN(TEntity* element)
{
    return singleChildSet<TKategorieMN>(element);
}

TOrg_UrovenMN* TJinyPozemek::Org_UrovenMN(TEntity* element)
{
    return singleChildSet<TOrg_UrovenMN>(element);
}

// --- TOstatni ----------------------------------------------------------------------------------------

TClass TOstatni::StaticClass()
{
    using O = TOstatni;
    static const TClassInfo info = describeClass<O, TLesniPlosnyNeporostniPrvek>("TOstatni", [](PropertyTable<O>& t) {
        t.integer("OST", fieldGet(&O::m_ost), fieldSet(&O::m_ost))
            .string("DRUH_POZ", fieldGet(&O::m_druhPoz), fieldSet(&O::m_druhPoz))
            .string("OST_VYUZ", fieldGet(&O::m_ostVyuz), fieldSet(&O::m_ostVyuz));
        describeAreaNames(t, QStringLiteral("OST"));
        t.integer("OST_KVAL_Vypocet", nullptr, &O::ApplyAreaQuality, false)
            .string("CeleOznaceni", [](O& o) { return o.CeleOznaceniWith(QStringLiteral(" Ostatni: "), o.m_ost); },
                    nullptr, false);
    });
    return &info;
}

// --- sets ----------------------------------------------------------------------------------------------

TClass TBezlesiMN::StaticClass()
{
    static const TClassInfo info = describeClass<TBezlesiMN, TLesniMnozina>("TBezlesiMN");
    return &info;
}

TBezlesiMN::TBezlesiMN()
{
    setItems(TBezlesi::StaticClass(), QStringLiteral("BZL"));
}

TClass TJinyPozemekMN::StaticClass()
{
    static const TClassInfo info = describeClass<TJinyPozemekMN, TLesniMnozina>("TJinyPozemekMN");
    return &info;
}

TJinyPozemekMN::TJinyPozemekMN()
{
    setItems(TJinyPozemek::StaticClass(), QStringLiteral("JINE"));
}

TClass TOstatniMN::StaticClass()
{
    static const TClassInfo info = describeClass<TOstatniMN, TLesniMnozina>("TOstatniMN");
    return &info;
}

TOstatniMN::TOstatniMN()
{
    setItems(TOstatni::StaticClass(), QStringLiteral("OST"));
}
