// Codebook sets filled by the loaders: management sets, code-text pairs, forest managers,
// owners' land by stand and ownership-transformation records.
#include "forest/codebooks/CodebookSets.h"

#include "forest/base/TextUtilities.h"

namespace {

// A published integer or string read from and written to a plain member.
template<class T>
void plain(PropertyTable<T>& t, const char* name, qint32 T::*member)
{
    t.integer(QLatin1String(name), [member](T& o) { return o.*member; }, [member](T& o, qint32 v) { o.*member = v; });
}

template<class T>
void plain(PropertyTable<T>& t, const char* name, QString T::*member)
{
    t.string(QLatin1String(name), [member](T& o) { return o.*member; },
             [member](T& o, const QString& v) { o.*member = v; });
}

} // namespace

TClass TCisHs::StaticClass()
{
    static const TClassInfo info = describeClass<TCisHs, TObecnyLesniPrvek>("TCisHs", [](PropertyTable<TCisHs>& t) {
        plain(t, "CISLO_HS", &TCisHs::CISLO_HS);
        plain(t, "NAZEV_HS", &TCisHs::NAZEV_HS);
        plain(t, "OBMYTI", &TCisHs::OBMYTI);
        plain(t, "OBN_DOBA", &TCisHs::OBN_DOBA);
        plain(t, "MZD", &TCisHs::MZD);
    });
    return &info;
}

TClass TCisHsMN::StaticClass()
{
    static const TClassInfo info = describeClass<TCisHsMN, TLesniMnozina>("TCisHsMN");
    return &info;
}

TClass TKodPopis::StaticClass()
{
    static const TClassInfo info =
        describeClass<TKodPopis, TObecnyLesniPrvek>("TKodPopis", [](PropertyTable<TKodPopis>& t) {
            plain(t, "Kod", &TKodPopis::Kod);
            plain(t, "Popis", &TKodPopis::Popis);
        });
    return &info;
}

TClass TKodPopisMN::StaticClass()
{
    static const TClassInfo info = describeClass<TKodPopisMN, TLesniMnozina>("TKodPopisMN");
    return &info;
}

TClass TOLH::StaticClass()
{
    static const TClassInfo info = describeClass<TOLH, TObecnyLesniPrvek>("TOLH", [](PropertyTable<TOLH>& t) {
        plain(t, "KOD", &TOLH::KOD);
        plain(t, "JMENO", &TOLH::JMENO);
        plain(t, "OKR_URAD", &TOLH::OKR_URAD);
        plain(t, "CIS_LIC", &TOLH::CIS_LIC);
    });
    return &info;
}

TClass TOLHMN::StaticClass()
{
    static const TClassInfo info = describeClass<TOLHMN, TLesniMnozina>("TOLHMN");
    return &info;
}

TClass TMajPoPorostech::StaticClass()
{
    using M = TMajPoPorostech;
    static const TClassInfo info = describeClass<M, TObecnyLesniPrvek>("TMajPoPorostech", [](PropertyTable<M>& t) {
        plain(t, "MAJ_DRUH", &M::MAJ_DRUH);
        plain(t, "MAJ_KOD", &M::MAJ_KOD);
        plain(t, "ODD", &M::ODD);
        plain(t, "DIL", &M::DIL);
        plain(t, "POR", &M::POR);
        t.string("PSK", &M::PSK, &M::SetPSK);
        plain(t, "JP", &M::JP);
        plain(t, "KU_KOD", &M::KU_KOD);
        t.string("ODD_DIL_POR", &M::ODD_DIL_POR, nullptr);
    });
    return &info;
}

QString TMajPoPorostech::ODD_DIL_POR() const
{
    QString text = QString::number(ODD) + DIL + POR + m_psk;
    if (JP != 0)
        text += QString::number(JP);
    return text;
}

void TMajPoPorostech::SetPSK(const QString& psk)
{
    m_psk = RemoveSpaces(psk);
}

TClass TMajPoPorostechMN::StaticClass()
{
    static const TClassInfo info = describeClass<TMajPoPorostechMN, TLesniMnozina>("TMajPoPorostechMN");
    return &info;
}

TClass TTransforDleMajitele::StaticClass()
{
    using T = TTransforDleMajitele;
    static const TClassInfo info = describeClass<T, TObecnyLesniPrvek>("TTransforDleMajitele", [](PropertyTable<T>& t) {
        plain(t, "ODD", &T::ODD);
        plain(t, "DIL", &T::DIL);
        plain(t, "POR", &T::POR);
        plain(t, "PSK", &T::PSK);
        plain(t, "MAJ_DRUH", &T::MAJ_DRUH);
        plain(t, "MAJ_KOD", &T::MAJ_KOD);
        t.string("Zmena_nazev", &T::Zmena_nazev, &T::SetZmena_nazev);
    });
    return &info;
}

TClass TTransforDleMajiteleMN::StaticClass()
{
    static const TClassInfo info = describeClass<TTransforDleMajiteleMN, TLesniMnozina>("TTransforDleMajiteleMN");
    return &info;
}
