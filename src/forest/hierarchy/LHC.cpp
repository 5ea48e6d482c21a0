// The forest unit header: its data, its compartment set and the "always" chain of current levels.
#include "forest/hierarchy/LHC.h"

#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"

using namespace forest;

TClass TLHC::StaticClass()
{
    using H = TLHC;
    static const TClassInfo info = describeClass<H, TLesniSlozenyPrvek>("TLHC", [](PropertyTable<H>& t) {
        t.integer("LHC_KOD", fieldGet(&H::m_lhcKod), fieldSet(&H::m_lhcKod))
            .integer("LHC_KOD_ID", fieldGet(&H::m_lhcKodId), fieldSet(&H::m_lhcKodId))
            .string("LHC_NAZ", fieldGet(&H::m_lhcNaz), fieldSet(&H::m_lhcNaz))
            .string("LHP_OD", fieldGet(&H::m_lhpOd), fieldSet(&H::m_lhpOd))
            .string("LHP_DO", fieldGet(&H::m_lhpDo), fieldSet(&H::m_lhpDo))
            .string("UHUL_KOD", &H::UHUL_KOD, fieldSet(&H::m_uhulKod))
            .string("PUVOD_DAT", fieldGet(&H::m_puvodDat), fieldSet(&H::m_puvodDat))
            .integer("ETAT_TO", fieldGet(&H::m_etatTo), fieldSet(&H::m_etatTo))
            .integer("ETAT_TV", fieldGet(&H::m_etatTv), fieldSet(&H::m_etatTv))
            .integer("ETAT", &H::ETAT, nullptr, false)
            .integer("ETAT_TVYB", fieldGet(&H::m_etatTvyb), fieldSet(&H::m_etatTvyb))
            .string("LHP_Z_OD", fieldGet(&H::m_lhpZOd), fieldSet(&H::m_lhpZOd))
            .string("LHP_Z_DO", fieldGet(&H::m_lhpZDo), fieldSet(&H::m_lhpZDo))
            .string("LHP_Z_TAX", fieldGet(&H::m_lhpZTax), fieldSet(&H::m_lhpZTax))
            .string("LHP_TAX", fieldGet(&H::m_lhpTax), fieldSet(&H::m_lhpTax))
            .string("LHP_LIC", fieldGet(&H::m_lhpLic), fieldSet(&H::m_lhpLic))
            .string("LHP_Z_LIC", fieldGet(&H::m_lhpZLic), fieldSet(&H::m_lhpZLic))
            .floating("MVYCH_DO40", "Double", fieldGet(&H::m_mvychDo40), fieldSet(&H::m_mvychDo40))
            .integer("TEZ_PROC", fieldGet(&H::m_tezProc), fieldSet(&H::m_tezProc))
            .integer("NOR_PAS", fieldGet(&H::m_norPas), fieldSet(&H::m_norPas))
            .integer("LHC_PN_PRO", fieldGet(&H::m_lhcPnPro), fieldSet(&H::m_lhcPnPro))
            .integer("LHC_IND", fieldGet(&H::m_lhcInd), fieldSet(&H::m_lhcInd))
            .integer("LHC_MAX", fieldGet(&H::m_lhcMax), fieldSet(&H::m_lhcMax))
            .boolean("VerzeProPark", fieldGet(&H::m_verzeProPark), fieldSet(&H::m_verzeProPark))
            .boolean("LHO", fieldGet(&H::m_lho), fieldSet(&H::m_lho));
    });
    return &info;
}

QString TLHC::UHUL_KOD() const
{
    return m_uhulKod.isEmpty() ? QStringLiteral("0") : m_uhulKod;
}

qint32 TLHC::ETAT() const
{
    return txt::addChecked(m_etatTo, m_etatTv);
}

TOddeleniMN* TLHC::OddeleniMN()
{
    if (TOddeleniMN* set = m_oddeleniMN.get())
        return set;
    TOddeleniMN* set = ensureChildSet(this, m_oddeleniMN);
    set->SetNechavatJenJedenPrvek(true);
    return set;
}

TOddeleni* TLHC::Oddeleni()
{
    return currentAs<TOddeleni>(OddeleniMN());
}

TOddeleni* TLHC::AktualniOddeleniVzdy()
{
    return alwaysAs<TOddeleni>(OddeleniMN());
}

TDilec* TLHC::AktualniDilecVzdy()
{
    return alwaysAs<TDilec>(AktualniOddeleniVzdy()->DilecMN());
}

TPorost* TLHC::AktualniPorostVzdy()
{
    return alwaysAs<TPorost>(AktualniDilecVzdy()->PorostMN());
}

TPorostniSkupina* TLHC::AktualniPorostniSkupinaVzdy()
{
    return alwaysAs<TPorostniSkupina>(AktualniPorostVzdy()->PorostniSkupinaMN());
}

TEtaz* TLHC::AktualniEtazVzdy()
{
    return alwaysAs<TEtaz>(AktualniPorostniSkupinaVzdy()->EtazMN());
}

TDrevina* TLHC::AktualniDrevinaVzdy()
{
    return alwaysAs<TDrevina>(AktualniEtazVzdy()->DrevinaMN());
}

TJinyPozemek* TLHC::AktualniJinyPozemekVzdy()
{
    return alwaysAs<TJinyPozemek>(AktualniPorostVzdy()->JinyPozemekMN());
}

TBezlesi* TLHC::AktualniBezlesiVzdy()
{
    return alwaysAs<TBezlesi>(AktualniPorostVzdy()->BezlesiMN());
}
