// A source double that builds a small forest unit in code, one compartment at a time.
#include "app/support/UnitSourceDouble.h"

#include "app/sources/LesniCelek.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "platform/Exceptions.h"

#include <limits>

namespace testapp {

UnitSourceDouble::UnitSourceDouble(QList<qint32> compartments, QList<SpeciesSpec> species, quint8 kind)
    : m_compartments(std::move(compartments)), m_species(std::move(species)), m_kind(kind)
{
}

void UnitSourceDouble::loadHeader(TLesniCelek& unit)
{
    ++headerLoads;
    TLHC* header = unit.LHC();
    header->SetPropAsString("LHC_KOD", "812000");
    header->SetPropAsString("LHC_NAZ", QStringLiteral("Zkušební les"));
    header->SetPropAsString("LHP_TAX", QStringLiteral("Ing. Novák"));
}

QStringList UnitSourceDouble::buildCompartmentList(TLesniCelek&)
{
    QStringList list;
    for (const qint32 odd : m_compartments)
        list << QString::number(odd).rightJustified(3, QLatin1Char(' '));
    return list;
}

bool UnitSourceDouble::loadFirstCompartment(TLesniCelek& unit)
{
    m_current = -1;
    return loadNextCompartment(unit);
}

bool UnitSourceDouble::endOfData() const
{
    return m_current + 1 >= m_compartments.size();
}

bool UnitSourceDouble::loadNextCompartment(TLesniCelek& unit)
{
    if (m_current + 1 >= m_compartments.size()) {
        if (!reloadsLastAtEnd || m_current < 0)
            return false;
        ++loads;
        build(unit, m_current);
        return true;
    }
    ++m_current;
    ++loads;
    if (onLoad)
        onLoad();
    if (m_current == failAt)
        throw EDatabaseError(QStringLiteral("Tabulka ODDELENI je poškozena."));
    build(unit, m_current);
    return true;
}

// Built through the sets' keyed insertion and the header's "always" chain of current levels.
void UnitSourceDouble::build(TLesniCelek& unit, int index)
{
    TLHC* header = unit.LHC();
    const qint32 odd = m_compartments[index];
    header->OddeleniMN()->NovyPrvekVzdy(QString::number(odd));
    header->Oddeleni()->SetODD(odd);
    header->Oddeleni()->DilecMN()->NovyPrvek("A");
    header->AktualniDilecVzdy()->SetDIL("A");
    header->AktualniDilecVzdy()->PorostMN()->NovyPrvek("1");
    header->AktualniPorostVzdy()->SetPOR("1");
    header->AktualniPorostVzdy()->PorostniSkupinaMN()->NovyPrvek("1a");
    TPorostniSkupina* group = header->AktualniPorostniSkupinaVzdy();
    group->SetPSK("1a");
    group->SetLT("5K");
    group->SetPlocha(3.25);
    group->EtazMN()->NovyPrvek("1");
    TEtaz* etaz = header->AktualniEtazVzdy();
    etaz->SetETAZ("1");
    etaz->SetVEK(85);
    etaz->SetETAZ_PP(index == corruptAreaAt ? std::numeric_limits<double>::quiet_NaN() : 2.5);
    etaz->SetHS(25);
    etaz->SetM_TEZ_PROC(30);
    for (const SpeciesSpec& s : m_species) {
        etaz->DrevinaMN()->NovyPrvekVzdy(s.drZkr);
        TDrevina* d = header->AktualniDrevinaVzdy();
        d->SetDR_ZKR(s.drZkr);
        d->SetGEN_KLAS(s.genKlas);
        d->SetZAST(s.zast);
        d->SetDR_ZAS_CEL(s.drZasCel);
        d->SetDR_TO(s.drTo);
    }
    group->EtazMN()->NovyPrvek("2");
    header->AktualniEtazVzdy()->SetETAZ("2");
}

} // namespace testapp
