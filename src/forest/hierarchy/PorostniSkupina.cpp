// Stand groups (PSK) and their set.
#include "forest/hierarchy/PorostniSkupina.h"

#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/Porost.h"
#include "platform/text/Case.h"

using namespace forest;

namespace {

QString normalisedPath(const QString& text)
{
    QString normalised = text;
    NormalizeDesignationPath(normalised);
    return normalised;
}

} // namespace

TClass TPorostniSkupina::StaticClass()
{
    using S = TPorostniSkupina;
    static const TClassInfo info = describeClass<S, TLesniPlosnyPrvek>("TPorostniSkupina", [](PropertyTable<S>& t) {
        t.string("PSKzEtazi", &S::PSKzEtazi, nullptr, false)
            .string("PSKzEtaziProKont", &S::PSKzEtaziProKont, nullptr, false)
            .string("PSK", fieldGet(&S::m_psk), &S::SetPSK)
            .string("LT", fieldGet(&S::m_lt), fieldSet(&S::m_lt))
            .string("SLT", fieldGet(&S::m_slt), fieldSet(&S::m_slt))
            .integer("PRIB_VZD", fieldGet(&S::m_pribVzd), fieldSet(&S::m_pribVzd))
            .string("HOSP_TVAR", fieldGet(&S::m_hospTvar), fieldSet(&S::m_hospTvar))
            .string("TER_TYP", fieldGet(&S::m_terTyp), fieldSet(&S::m_terTyp))
            .string("TER_TYP_Nazev", [](S& s) { return codebookName(&s, "tb_TeTy", s.m_terTyp.trimmed()); }, nullptr,
                    false)
            .string("Terenni_skupina", fieldGet(&S::m_terenniSkupina), fieldSet(&S::m_terenniSkupina))
            .integer("Uzivatel", fieldGet(&S::m_uzivatel), fieldSet(&S::m_uzivatel))
            .integer("OLHi", fieldGet(&S::m_olhi), fieldSet(&S::m_olhi))
            .integer("HOSP_ZP", fieldGet(&S::m_hospZp), fieldSet(&S::m_hospZp))
            .string("HOSP_ZP_Nazev", [](S& s) { return codebookName(&s, "tb_HZ", QString::number(s.m_hospZp)); },
                    nullptr, false)
            .floating("PSK_P", "Double", &S::Plocha, &S::SetPlocha)
            .floating("PSK_P0", "Double", &S::Plocha0, &S::SetPlocha0)
            .floating("PSK_V", "Double", &S::Vymera, &S::SetVymera)
            .string("DAN", fieldGet(&S::m_dan), fieldSet(&S::m_dan))
            .string("DAN_Nazev", [](S& s) { return codebookName(&s, "tb_Dan", s.m_dan.trimmed()); }, nullptr, false)
            .string("PSK_TEXT", fieldGet(&S::m_pskText), fieldSet(&S::m_pskText))
            .integer("MAJ_KOD", &S::MAJ_KOD, nullptr, false)
            .integer("MAJ_DRUH", &S::MAJ_DRUH, nullptr, false)
            .integer("CelZakmZEtazi", &S::CelZakmZEtazi, nullptr, false)
            .string("CeleOznaceni", &S::CeleOznaceni, nullptr, false)
            .integer("PSK_KVAL_Vypocet", nullptr, &S::SetPSK_KVAL_Vypocet, false);
    });
    return &info;
}

void TPorostniSkupina::SetPSK(const QString& psk)
{
    m_psk = normalisedPath(psk);
}

QString TPorostniSkupina::PSKzEtazi()
{
    QStringList designations;
    forEachChild<TEtaz>(m_etazMN.get(), [&](TEtaz* etaz) { designations.append(etaz->ETAZ()); });
    return normalisedPath(designations.join(QLatin1Char('/')));
}

QString TPorostniSkupina::PSKzEtaziProKont()
{
    QStringList designations;
    forEachChild<TEtaz>(m_etazMN.get(), [&](TEtaz* etaz) {
        QString designation = etaz->ETAZ();
        if (designation.endsWith(QLatin1Char(' ')))
            designation.chop(1);
        designations.append(designation);
    });
    return designations.join(QLatin1Char('/'));
}

qint32 TPorostniSkupina::MAJ_KOD()
{
    TPorost* porost = OwnerPorost();
    return porost ? porost->MAJ_KOD() : 0;
}

qint32 TPorostniSkupina::MAJ_DRUH()
{
    TPorost* porost = OwnerPorost();
    return porost ? porost->MAJ_DRUH() : 0;
}

qint32 TPorostniSkupina::CelZakmZEtazi()
{
    return m_etazMN ? roundInt(SumFloatProperty(m_etazMN.get(), QStringLiteral("ZAKM"))) : 0;
}

QString TPorostniSkupina::CeleOznaceni()
{
    return forest::designation(*this);
}

void TPorostniSkupina::appendCeleOznaceni(QString& text)
{
    if (TPorost* porost = OwnerPorost())
        porost->appendCeleOznaceni(text);
    text += QStringLiteral(" Skup: ");
    text += m_psk;
}

TEtazMN* TPorostniSkupina::EtazMN()
{
    return ensureChildSet(this, m_etazMN);
}

TEtaz* TPorostniSkupina::Etaz()
{
    return currentAs<TEtaz>(EtazMN());
}

TEtaz* TPorostniSkupina::EtazAt(int index)
{
    return childAt<TEtaz>(EtazMN(), index);
}

TPorost* TPorostniSkupina::OwnerPorost()
{
    return ownerOf<TPorost>(this);
}

// --- TPorostniSkupinaMN --------------------------------------------------------------------------

TClass TPorostniSkupinaMN::StaticClass()
{
    static const TClassInfo info = describeClass<TPorostniSkupinaMN, TLesniMnozina>("TPorostniSkupinaMN");
    return &info;
}

TPorostniSkupinaMN::TPorostniSkupinaMN()
{
    setItems(TPorostniSkupina::StaticClass(), QStringLiteral("SKUP"));
}

void TPorostniSkupinaMN::NovyPrvek(const QString& key)
{
    TLesniMnozina::NovyPrvek(normalisedPath(key));
}

void TPorostniSkupinaMN::SetJmenoAktualnihoPrvku(const QString& key)
{
    TLesniMnozina::SetJmenoAktualnihoPrvku(normalisedPath(key));
}

void TPorostniSkupinaMN::NovyNeboAktualniPrvek(const QString& key)
{
    selectOrCreate(normalisedPath(key));
}
