// Afforestation items of a storey and their set.
#include "forest/hierarchy/Zalesneni.h"

#include "forest/hierarchy/Etaz.h"

using namespace forest;

TClass TZalesneni::StaticClass()
{
    using Z = TZalesneni;
    static const TClassInfo info = describeClass<Z, TLesniPrvek>("TZalesneni", [](PropertyTable<Z>& t) {
        t.string("ZAL_DRUH", fieldGet(&Z::m_zalDruh), fieldSet(&Z::m_zalDruh))
            .floating("ZAL_P", "Double", fieldGet(&Z::m_zalP), fieldSet(&Z::m_zalP))
            .string("ZAL_DR", fieldGet(&Z::m_zalDr), fieldSet(&Z::m_zalDr))
            .integer("ZAL_DR_P", fieldGet(&Z::m_zalDrP), fieldSet(&Z::m_zalDrP))
            .integer("ZpZadZal", fieldGet(&Z::m_zpZadZal), fieldSet(&Z::m_zpZadZal))
            .boolean("Jehlicnaty", &Z::Jehlicnaty, nullptr, false)
            .boolean("Jehlicnaty_ZAL", &Z::Jehlicnaty, nullptr, false)
            .string("ZAL_P_st", [](Z& z) { return txt::formatFixed(6, 2, z.m_zalP); }, nullptr, false)
            .string("CeleOznaceni", &Z::CeleOznaceni, nullptr, false);
    });
    return &info;
}

bool TZalesneni::Jehlicnaty() const
{
    return IsConiferous(m_zalDr);
}

QString TZalesneni::CeleOznaceni()
{
    TEtaz* etaz = OwnerEtaz();
    return (etaz ? etaz->CeleOznaceni() : QString()) + QStringLiteral(" Zales: ") + m_zalDr;
}

TEtaz* TZalesneni::OwnerEtaz()
{
    return ownerOf<TEtaz>(this);
}

// --- TZalesneniMN ----------------------------------------------------------------------------------

TClass TZalesneniMN::StaticClass()
{
    using M = TZalesneniMN;
    static const TClassInfo info = describeClass<M, TLesniMnozina>("TZalesneniMN", [](PropertyTable<M>& t) {
        t.string("ZAL_DRUH_nahr", fieldGet(&M::m_zalDruhNahr), fieldSet(&M::m_zalDruhNahr))
            .object<TZalesneni>("Zalesneni", &M::Zalesneni, nullptr, false)
            .floating("PlochaZalesneni", "Double", &M::PlochaZalesneni, &M::SetPlochaZalesneni)
            .integer("ProcentoZalesneni", &M::ProcentoZalesneni, nullptr, false)
            .floating("Pl_Listnata", "Double", [](M& m) { return m.AreaOf(false); }, nullptr, false)
            .floating("Pl_Jehlicnata", "Double", [](M& m) { return m.AreaOf(true); }, nullptr, false);
    });
    return &info;
}

TZalesneniMN::TZalesneniMN()
{
    setItems(TZalesneni::StaticClass(), QStringLiteral("ZAL"));
}

template<class F>
void TZalesneniMN::forEachItem(F&& action)
{
    forEachChild<TZalesneni>(this, std::forward<F>(action));
}

TZalesneni* TZalesneniMN::Zalesneni()
{
    return currentAs<TZalesneni>(this);
}

double TZalesneniMN::PlochaZalesneni()
{
    double sum = 0.0;
    forEachItem([&sum](TZalesneni* z) { sum += z->ZAL_P(); });
    return sum;
}

void TZalesneniMN::SetPlochaZalesneni(double area)
{
    TZalesneni* largest = nullptr;
    forEachItem([&largest](TZalesneni* z) {
        if (!largest || z->ZAL_DR_P() > largest->ZAL_DR_P())
            largest = z;
    });
    if (!largest)
        return;
    const double total = roundArea(area);
    double sum = 0.0;
    forEachItem([&](TZalesneni* z) {
        z->SetZAL_P(roundInt(z->ZAL_DR_P() * total) / 100.0);
        sum += z->ZAL_P();
    });
    largest->SetZAL_P(largest->ZAL_P() + total - sum);
}

qint32 TZalesneniMN::ProcentoZalesneni()
{
    return roundInt(SumFloatProperty(this, QStringLiteral("ZAL_DR_P")));
}

double TZalesneniMN::AreaOf(bool coniferous)
{
    double sum = 0.0;
    forEachItem([&](TZalesneni* z) {
        if (z->Jehlicnaty() == coniferous)
            sum += z->ZAL_P();
    });
    return sum;
}

void TZalesneniMN::PercentagesFromAreas()
{
    const double total = PlochaZalesneni();
    // Every positive total (at three decimals) gets its shares.
    if (roundInt(total * 1000.0) <= 0)
        return;
    TZalesneni* largest = nullptr;
    qint32 shares = 0;
    forEachItem([&](TZalesneni* z) {
        z->SetZAL_DR_P(roundInt(z->ZAL_P() / total * 100.0));
        shares += z->ZAL_DR_P();
        if (!largest || z->ZAL_DR_P() > largest->ZAL_DR_P())
            largest = z;
    });
    largest->SetZAL_DR_P(largest->ZAL_DR_P() + 100 - shares);
}
