// Damage records of a tree species and their set.
#include "forest/hierarchy/Poskozeni.h"

#include "forest/hierarchy/Drevina.h"

using namespace forest;

TClass TPoskozeni::StaticClass()
{
    using P = TPoskozeni;
    static const TClassInfo info = describeClass<P, TLesniPrvek>("TPoskozeni", [](PropertyTable<P>& t) {
        t.integer("POSKOZ_D", fieldGet(&P::m_poskozD), fieldSet(&P::m_poskozD))
            .integer("POSKOZ_R", fieldGet(&P::m_poskozR), fieldSet(&P::m_poskozR))
            .integer("POSKOZ_ST", fieldGet(&P::m_poskozSt), fieldSet(&P::m_poskozSt))
            .string("POSKOZ_D_nazev", &P::POSKOZ_D_nazev, nullptr, false)
            .string("POSKOZ_Slovne", &P::POSKOZ_Slovne, nullptr, false)
            .integer("POSKOZ_R10", &P::POSKOZ_R10, &P::SetPOSKOZ_R10)
            .string("CeleOznaceni", &P::CeleOznaceni, nullptr, false);
    });
    return &info;
}

qint32 TPoskozeni::POSKOZ_R10() const
{
    const qint32 tens = roundInt(m_poskozR / 10.0);
    return tens == 0 ? 1 : tens;
}

void TPoskozeni::SetPOSKOZ_R10(qint32 v)
{
    m_poskozR = txt::mulChecked(v, 10);
}

QString TPoskozeni::POSKOZ_D_nazev()
{
    return codebookName(this, QStringLiteral("tb_posk"), QString::number(m_poskozD));
}

QString TPoskozeni::POSKOZ_Slovne()
{
    return POSKOZ_D_nazev() + QStringLiteral(" -") + QString::number(m_poskozR) + QLatin1Char('%');
}

QString TPoskozeni::CeleOznaceni()
{
    TDrevina* drevina = OwnerDrevina();
    return (drevina ? drevina->CeleOznaceni() : QString()) + QStringLiteral(" Posk: ") + QString::number(m_poskozD);
}

TDrevina* TPoskozeni::OwnerDrevina()
{
    return ownerOf<TDrevina>(this);
}

TClass TPoskozeniMN::StaticClass()
{
    static const TClassInfo info = describeClass<TPoskozeniMN, TLesniMnozina>("TPoskozeniMN");
    return &info;
}

TPoskozeniMN::TPoskozeniMN()
{
    setItems(TPoskozeni::StaticClass(), QStringLiteral("POSK"));
}

TPoskozeni* TPoskozeniMN::Poskozeni()
{
    return currentAs<TPoskozeni>(this);
}
