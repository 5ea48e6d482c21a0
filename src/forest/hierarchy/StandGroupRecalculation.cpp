// Stand-group recalculation: areas by quality, stocks by the way each was given, shares,
// stocking, thinning, and the group's area shared among its storeys by stocking.
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "forest/hierarchy/Zalesneni.h"
#include "platform/ui/Services.h"

#include <vector>

using namespace forest;

namespace {

constexpr double MinimalArea = 0.001;

enum StockMix { ByShareOnly = 0, GivenOnly = 1, Mixed = 2 };

bool isByShare(TZpZadZas method)
{
    return method == TZpZadZas::dleZast || method == TZpZadZas::dleZastVolne;
}

// The method that a storey's stock-determination code gives its species; false for codes
// outside 1..6, which leave the species as they are.
bool methodOfStoreyCode(qint32 code, TZpZadZas& method)
{
    switch (code) {
    case 1: method = TZpZadZas::dleVsCel; return true;
    case 2:
    case 6: method = TZpZadZas::dleVsHA; return true;
    case 3: method = TZpZadZas::DleKrZak; return true;
    case 4: method = TZpZadZas::dleZast; return true;
    case 5: method = TZpZadZas::DleKmenu; return true;
    default: return false;
    }
}

std::vector<TDrevina*> speciesOf(TDrevinaMN* set)
{
    std::vector<TDrevina*> species;
    forEachChild<TDrevina>(set, [&species](TDrevina* d) { species.push_back(d); });
    return species;
}

// Basal area scaled by the given stock against the table stock; 0 without a table stock.
double basalAreaFromStock(TDrevina& d)
{
    return d.ZAS_TAB_HA() <= 0 ? 0.0
                               : roundInt(d.VYCETNI_ZAKLADNATabul() * d.DR_ZAS_HA() / d.ZAS_TAB_HA());
}

} // namespace

void TPorostniSkupina::SetPSK_KVAL_Vypocet(qint32 quality)
{
    ApplyAreaQuality(quality);
    const double area = Plocha();
    forEachChild<TEtaz>(m_etazMN.get(), [area](TEtaz* etaz) { etaz->ApplyMarkedAreas(area); });
    forEachChild<TEtaz>(m_etazMN.get(), [](TEtaz* etaz) { etaz->RecalculateStocks(); });
    shareAreaByStocking();
}

void TPorostniSkupina::shareAreaByStocking()
{
    const double area = Plocha();
    const qint32 stocking = CelZakmZEtazi();
    if (stocking < 1)
        ui::services().showMessage(QStringLiteral("V porostní skupině ") + CeleOznaceni()
                                   + QStringLiteral(" je zakmenění=0"));
    std::vector<TEtaz*> storeys;
    forEachChild<TEtaz>(m_etazMN.get(), [&storeys](TEtaz* etaz) { storeys.push_back(etaz); });
    if (storeys.empty())
        return;
    // Without stocking the storeys share the area equally, so the remainder step cannot drive
    // the first storey below zero.
    const double equalShare = area / static_cast<double>(storeys.size());
    TEtaz* largest = nullptr;
    double sum = 0.0;
    for (TEtaz* etaz : storeys) {
        etaz->SetETAZ_PP(stocking > 0 ? roundArea(area * etaz->ZAKM() / stocking) : roundArea(equalShare));
        sum += etaz->ETAZ_PP();
        if (!largest || etaz->ETAZ_PP() > largest->ETAZ_PP())
            largest = etaz;
    }
    largest->SetETAZ_PP(largest->ETAZ_PP() + area - sum);
}

void TEtaz::ApplyMarkedAreas(double area)
{
    if (m_etazPSMenit)
        m_etazPS = area;
    if (m_proPMenit)
        m_proP = area;
    if (m_tvPMenit)
        m_tvP = area;
    if (m_toPMenit)
        m_toP = area;
    if (m_plochaZalesneniMenit)
        ZalesneniMN()->SetPlochaZalesneni(area);
}

int TEtaz::stockMix()
{
    bool byShare = false;
    bool given = false;
    forEachChild<TDrevina>(DrevinaMN(), [&](TDrevina* d) { (isByShare(d->ZpZadZasT()) ? byShare : given) = true; });
    if (!given)
        return ByShareOnly;
    return byShare ? Mixed : GivenOnly;
}

void TEtaz::RecalculateStocks()
{
    TPorostniSkupina* group = OwnerPorostniSkupina();
    const double area = group ? group->Plocha() : 0.0;
    if (area < MinimalArea)
        return;
    int mix = stockMix();
    TZpZadZas storeyMethod = TZpZadZas::dleNevim;
    if (mix == Mixed && m_mZZasoby != 4 && methodOfStoreyCode(m_mZZasoby, storeyMethod)) {
        forEachChild<TDrevina>(DrevinaMN(), [storeyMethod](TDrevina* d) { d->SetZpZadZasT(storeyMethod); });
        mix = GivenOnly;
    }
    for (TDrevina* d : speciesOf(DrevinaMN()))
        recalculateSpeciesStock(*d, area);
    sharesFromReducedAreas(mix, area);
    for (TDrevina* d : speciesOf(DrevinaMN()))
        d->RecalculateThinning();
    if (FloatsEqualToDecimals(4, m_toP, area))
        for (TDrevina* d : speciesOf(DrevinaMN()))
            d->SetDR_TO(d->DR_ZAS_CEL());
}

void TEtaz::recalculateSpeciesStock(TDrevina& d, double area)
{
    switch (d.ZpZadZasT()) {
    case TZpZadZas::dleZast:
    case TZpZadZas::dleZastVolne:
        d.StocksFromTables();
        return;
    case TZpZadZas::dleVsHA:
    case TZpZadZas::dleNevim:
        d.SetDR_ZAS_CEL(roundInt(area * d.DR_ZAS_HA()));
        d.SetPOCET_KMENU(d.POCET_KMENUVypocteny());
        break;
    case TZpZadZas::dleVsCel:
        d.SetDR_ZAS_HA(roundInt(d.DR_ZAS_CEL() / area));
        d.SetPOCET_KMENU(d.POCET_KMENUVypocteny());
        break;
    case TZpZadZas::DleKmenu:
        d.SetDR_ZAS_CEL(roundInt(d.HMOT() * d.POCET_KMENU()));
        d.SetDR_ZAS_HA(roundInt(d.DR_ZAS_CEL() / area));
        break;
    case TZpZadZas::DleKrZak: {
        const double tableBasalArea = d.VYCETNI_ZAKLADNATabul();
        d.SetDR_ZAS_HA(tableBasalArea > 0 ? roundInt(d.VYCETNI_ZAKLADNA() / tableBasalArea * d.ZAS_TAB_HA()) : 0);
        d.SetDR_ZAS_CEL(roundInt(area * d.DR_ZAS_HA()));
        d.SetPOCET_KMENU(d.POCET_KMENUVypocteny());
        return;
    }
    }
    d.SetVYCETNI_ZAKLADNA(basalAreaFromStock(d));
}

void TEtaz::sharesFromReducedAreas(int mix, double area)
{
    const std::vector<TDrevina*> species = speciesOf(DrevinaMN());
    double reduced = 0.0;
    for (TDrevina* d : species)
        reduced += d->RedukovanaPlochaDrDleZasoby();
    // Without any table stock there is nothing to derive shares or stocking from.
    if (mix == ByShareOnly || reduced <= 0.0)
        return;
    if (mix == GivenOnly) {
        m_zakm = roundInt(reduced / area * 10.0);
        TDrevina* largest = nullptr;
        for (TDrevina* d : species) {
            d->SetZAST(roundInt(d->RedukovanaPlochaDrDleZasoby() / reduced * 100.0));
            if (!largest || d->ZAST() > largest->ZAST())
                largest = d;
        }
        largest->SetZAST(largest->ZAST() + 100 - ZastoupeniDrevin());
        return;
    }
    for (TDrevina* d : species)
        if (!isByShare(d->ZpZadZasT()))
            d->SetZAST(roundInt(d->RedukovanaPlochaDrDleZasoby() / reduced * 100.0));
    const qint32 total = ZastoupeniDrevin();
    if (total == 100)
        return;
    TDrevina* taker = nullptr;
    for (const TZpZadZas method : {TZpZadZas::dleZastVolne, TZpZadZas::dleZast}) {
        for (TDrevina* d : species)
            if (d->ZpZadZasT() == method && (!taker || d->ZAST() > taker->ZAST()))
                taker = d;
        if (taker)
            break;
    }
    if (!taker)
        return;
    taker->SetZAST(taker->ZAST() + 100 - total);
    taker->StocksFromTables();
}
