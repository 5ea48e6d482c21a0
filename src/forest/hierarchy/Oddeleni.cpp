// Compartments (ODD) and their set.
#include "forest/hierarchy/Oddeleni.h"

#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Porost.h"

using namespace forest;

namespace {
const QString Dash = QStringLiteral("-");
}

TClass TOddeleni::StaticClass()
{
    using O = TOddeleni;
    static const TClassInfo info = describeClass<O, TLesniSlozenyPrvek>("TOddeleni", [](PropertyTable<O>& t) {
        t.integer("ODD", fieldGet(&O::m_odd), fieldSet(&O::m_odd))
            .integer("ODD_ID", &O::RId, &O::SetRId)
            .integer("OwnerLHC_KOD", &O::OwnerLHC_KOD, nullptr, false)
            .string("OwnerLHC_NAZ", &O::OwnerLHC_NAZ, nullptr, false)
            .object<TDilecMN>("DilecMN", &O::DilecMN, nullptr, false)
            .object<TDilec>("Dilec", &O::Dilec, nullptr, false)
            .boolean("Ulozeno", fieldGet(&O::m_ulozeno), fieldSet(&O::m_ulozeno));
    });
    return &info;
}

qint32 TOddeleni::OwnerLHC_KOD()
{
    TLHC* header = OwnerLHC();
    return header ? header->LHC_KOD() : 0;
}

QString TOddeleni::OwnerLHC_NAZ()
{
    TLHC* header = OwnerLHC();
    return header ? header->LHC_NAZ() : QString();
}

TDilecMN* TOddeleni::DilecMN()
{
    return ensureChildSet(this, m_dilecMN);
}

TDilec* TOddeleni::Dilec()
{
    return currentAs<TDilec>(DilecMN());
}

TDilec* TOddeleni::DilecAt(int index)
{
    return childAt<TDilec>(DilecMN(), index);
}

TLHC* TOddeleni::OwnerLHC()
{
    return ownerOf<TLHC>(this);
}

TDilec* TOddeleni::DilecJmenem(const QString& key)
{
    TDilecMN* set = DilecMN();
    const QString remembered = set->AktualniPrvek() ? set->JmenoAktualnihoPrvku() : QStringLiteral("Cau");
    set->SetJmenoAktualnihoPrvku(key);
    TDilec* found = currentAs<TDilec>(set);
    set->SetJmenoAktualnihoPrvku(remembered);
    return found;
}

void TOddeleni::EnsureDilecAndPorost()
{
    TDilecMN* dilce = DilecMN();
    if (dilce->PocetPrvku() == 0) {
        dilce->NovyPrvek(Dash);
        Dilec()->SetDIL(Dash);
    } else {
        dilce->SetAktualniPrvek(dilce->Items(0));
    }
    TDilec* dilec = Dilec();
    if (!dilec)
        return;
    TPorostMN* porosty = dilec->PorostMN();
    if (porosty->PocetPrvku() == 0) {
        porosty->NovyPrvek(Dash);
        dilec->Porost()->SetPOR(Dash);
    } else {
        porosty->SetAktualniPrvek(porosty->Items(0));
    }
}

qint32 TOddeleni::Id_z_Orgur()
{
    TDilec* dilec = m_dilecMN ? childAt<TDilec>(m_dilecMN.get(), 0) : nullptr;
    TPorost* porost = dilec ? childAt<TPorost>(dilec->PorostMN(), 0) : nullptr;
    if (!porost)
        return 0;
    TOrg_UrovenMN* levels = TJinyPozemek::Org_UrovenMN(porost);
    TLHC* header = OwnerLHC();
    if (header && header->PUVOD_DAT() == QLatin1String("LHP 160")) {
        TOrg_Uroven* first = childOfClassAt<TOrg_Uroven>(levels, 0);
        return first ? first->ORG_UROVEN() : 0;
    }
    qint64 id = 0;
    static constexpr qint64 Weights[] = {1000000, 1000, 1};
    for (int i = 0; i < 3; ++i)
        if (TOrg_Uroven* level = childOfClassAt<TOrg_Uroven>(levels, i))
            id += level->ORG_UROVEN() * Weights[i];
    return txt::toInt32Checked(id);
}

// --- TOddeleniMN ---------------------------------------------------------------------------------

TClass TOddeleniMN::StaticClass()
{
    static const TClassInfo info = describeClass<TOddeleniMN, TLesniMnozina>("TOddeleniMN");
    return &info;
}

TOddeleniMN::TOddeleniMN()
{
    setItems(TOddeleni::StaticClass(), QStringLiteral("ODD"));
}
