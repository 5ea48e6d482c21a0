// The owners' codebook: one owner (Tmajetky) with its data and its land by stand, and the set.
#include "forest/codebooks/Majetky.h"

#include "forest/base/CodePages.h"
#include "forest/base/ForestSetRoutines.h"
#include "forest/base/TextUtilities.h"

namespace {

// The text fields of an owner, in the order of its data after MAJ_KOD_C0 (the integers and
// doubles are published at their places by the property table below).
const char* const textsBeforeNumbers[] = {
    "KU_KOD_C", "MAJ_NAZ_C", "MAJ_DRUH_C", "LV_C", "PARCIS_C", "PARPOD_C", "PARDIL_C", "PARVYM_C", "DRUH_POZ_C",
    "PUPFL_C",
};
const char* const textsBeforePsc[] = {"RodneCis_C", "JmePrijm_C", "ICO_C", "ObchodJm_C", "Zastupce_C"};
const char* const textsBeforeKod[] = {"AdrObec_C", "AdrUlice_C", "AdrCDomu_C", "Obec_C", "OSTATNI_C"};
const char* const textsAfterKod[] = {
    "CISJEDN_C", "DATVYDANI_C", "UZIVATEL_C", "ZADATEL_C", "CISORG_C", "ODB_SPR_C", "NAJDATE_C", "NAJPLAT_C",
    "CJ_ROZHOD_C", "NAHRADA_C", "POZN_C", "UZIV_C", "DOHODA_C", "LES_URAD_nazev_C", "CjOU_C", "JmePrijmZpln_C",
    "PSCZpln_C", "EMailZpln_C", "ObecZpln_C", "TelefonZpln_C", "UliceZpln_C", "CDomuZpln_C", "FaxZpln_C",
    "VPred_C", "DnePred_C", "PrilohyPred_C", "ZastOU_C",
};

template<size_t N>
void texts(PropertyTable<Tmajetky>& t, const char* const (&names)[N])
{
    for (const char* name : names) {
        const QString n = QLatin1String(name);
        t.string(n, [n](Tmajetky& m) { return m.Text(n); }, [n](Tmajetky& m, const QString& v) { m.SetText(n, v); });
    }
}

void integer(PropertyTable<Tmajetky>& t, const char* name, qint32 Tmajetky::*member)
{
    t.integer(QLatin1String(name), [member](Tmajetky& m) { return m.*member; },
              [member](Tmajetky& m, qint32 v) { m.*member = v; });
}

void floating(PropertyTable<Tmajetky>& t, const char* name, double Tmajetky::*member)
{
    t.floating(QLatin1String(name), QStringLiteral("Double"), [member](Tmajetky& m) { return m.*member; },
               [member](Tmajetky& m, double v) { m.*member = v; });
}

void describeOwner(PropertyTable<Tmajetky>& t)
{
    t.string("MAJ_KOD_C", [](Tmajetky& m) { return m.Text("MAJ_KOD_C"); },
             [](Tmajetky& m, const QString& v) { m.SetText("MAJ_KOD_C", v); });
    t.string("MAJ_KOD_C0", &Tmajetky::MAJ_KOD_C0, &Tmajetky::SetMAJ_KOD_C0);
    texts(t, textsBeforeNumbers);
    integer(t, "TEZB_VYP_C", &Tmajetky::TEZB_VYP_C);
    integer(t, "TEZB_MAX_C", &Tmajetky::TEZB_MAX_C);
    floating(t, "LesniPoz_C", &Tmajetky::LesniPoz_C);
    floating(t, "JinePoz_C", &Tmajetky::JinePoz_C);
    texts(t, textsBeforePsc);
    integer(t, "PSC_C", &Tmajetky::PSC_C);
    texts(t, textsBeforeKod);
    integer(t, "KOD_C", &Tmajetky::KOD_C);
    integer(t, "DOPLKOD_C", &Tmajetky::DOPLKOD_C);
    texts(t, textsAfterKod);
    t.string("PSC_txt_C", &Tmajetky::PSC_txt_C, &Tmajetky::SetPSC_txt_C);
    t.string("MAJ_NAZ_C_DBF", [](Tmajetky& m) { return m.Text("MAJ_NAZ_C"); }, &Tmajetky::SetMAJ_NAZ_C_DBF, false);
    t.string("NamePorostu", &Tmajetky::NamePorostu, nullptr);
}

// Above this many stands NamePorostu gives up.
constexpr int maxNamedStands = 100;

} // namespace

Tmajetky::Tmajetky()
{
    m_texts.insert(QStringLiteral("MAJ_KOD_C"), QStringLiteral("99999"));
    m_texts.insert(QStringLiteral("MAJ_DRUH_C"), QStringLiteral("0"));
}

TClass Tmajetky::StaticClass()
{
    static const TClassInfo info = describeClass<Tmajetky, TObecnyLesniPrvek>("Tmajetky", describeOwner);
    return &info;
}

QString Tmajetky::MAJ_KOD_C0() const
{
    return PadLeft(Text(QStringLiteral("MAJ_KOD_C")), 10, QLatin1Char('0'));
}

void Tmajetky::SetMAJ_NAZ_C_DBF(const QString& text)
{
    SetText(QStringLiteral("MAJ_NAZ_C"), DbfTextToWin1250(text));
}

QString Tmajetky::PSC_txt_C() const
{
    return m_pscTxt.isEmpty() ? QString::number(PSC_C) : m_pscTxt;
}

void Tmajetky::SetPSC_txt_C(const QString& text)
{
    m_pscTxt = text;
    PSC_C = DigitsToInt(TextBeforeFirstChar(text, QLatin1Char('@')));
}

TMajPoPorostechMN* Tmajetky::MajPoPorostechMN()
{
    if (TMajPoPorostechMN* stands = m_stands.get())
        return stands;
    auto* stands = dynamic_cast<TMajPoPorostechMN*>(FindElementByClass(TMajPoPorostechMN::StaticClass()));
    if (!stands)
        stands = AddNew<TMajPoPorostechMN>();
    m_stands = stands;
    return stands;
}

QString Tmajetky::NamePorostu()
{
    TMajPoPorostechMN* stands = MajPoPorostechMN();
    if (stands->Count() > maxNamedStands)
        return QStringLiteral("příliš mnoho");
    return QLatin1Char(' ') + JoinPropertyValues(stands, QStringLiteral("ODD_DIL_POR"), QStringLiteral(" "));
}

TClass TmajetkyMN::StaticClass()
{
    static const TClassInfo info = describeClass<TmajetkyMN, TLesniMnozina>("TmajetkyMN", [](PropertyTable<TmajetkyMN>& t) {
        t.string("TridenoPodle", [](TmajetkyMN& m) { return m.TridenoPodle; },
                 [](TmajetkyMN& m, const QString& v) { m.TridenoPodle = v; });
    });
    return &info;
}
