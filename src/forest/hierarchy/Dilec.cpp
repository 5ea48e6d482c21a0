// Sub-compartments (DIL) and their set.
#include "forest/hierarchy/Dilec.h"

#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"

using namespace forest;

TClass TDilec::StaticClass()
{
    using D = TDilec;
    static const TClassInfo info = describeClass<D, TLesniSlozenyPrvek>("TDilec", [](PropertyTable<D>& t) {
        t.object<TPorostMN>("PorostMN", &D::PorostMN, nullptr, false)
            .object<TPorost>("Porost", &D::Porost, nullptr, false)
            .string("DIL", fieldGet(&D::m_dil), fieldSet(&D::m_dil))
            .string("CeleOznaceni", &D::CeleOznaceni, nullptr, false);
    });
    return &info;
}

QString TDilec::CeleOznaceni()
{
    TOddeleni* compartment = OwnerOddeleni();
    return compartment ? compartment->GetName() + m_dil : m_dil;
}

void TDilec::appendCeleOznaceni(QString& text)
{
    if (TOddeleni* compartment = OwnerOddeleni())
        text += compartment->GetName();
    text += m_dil;
}

TPorostMN* TDilec::PorostMN()
{
    return ensureChildSet(this, m_porostMN);
}

TPorost* TDilec::Porost()
{
    return currentAs<TPorost>(PorostMN());
}

TPorost* TDilec::PorostAt(int index)
{
    return childAt<TPorost>(PorostMN(), index);
}

TOddeleni* TDilec::OwnerOddeleni()
{
    return ownerOf<TOddeleni>(this);
}

TPorost* TDilec::PorostJmenem(const QString& key)
{
    TPorostMN* set = PorostMN();
    const QString remembered = set->AktualniPrvek() ? set->JmenoAktualnihoPrvku() : QStringLiteral("Cau");
    set->SetJmenoAktualnihoPrvku(key);
    TPorost* found = currentAs<TPorost>(set);
    set->SetJmenoAktualnihoPrvku(remembered);
    return found;
}

// --- TDilecMN --------------------------------------------------------------------------------------

TClass TDilecMN::StaticClass()
{
    static const TClassInfo info = describeClass<TDilecMN, TLesniMnozina>("TDilecMN");
    return &info;
}

TDilecMN::TDilecMN()
{
    setItems(TDilec::StaticClass(), QStringLiteral("DIL"));
}
