// The values of one species row read from the forest model, and the reported write of that row.
#include "app/calculation/SpeciesRowSource.h"

#include "app/sources/PropertyLookup.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/HierarchySupport.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/ui/Services.h"

namespace app {

template<class Element, class Read>
const QString& SpeciesRowCache::cached(Entry<Element>& entry, Element& element, Read read)
{
    if (entry.element != &element) {
        entry.element = nullptr;
        entry.text = read(element);
        entry.element = &element;
    }
    return entry.text;
}

template<class Element, class Key, class Read>
const QString& SpeciesRowCache::cachedByCode(CodeEntry<Element>& entry, Element& element, Key key, Read read)
{
    if (entry.element == &element)
        return entry.text;
    const CodeKey code = key(element);
    if (!entry.isKeyed || !(entry.key == code)) {
        entry.isKeyed = false;
        entry.element = nullptr;
        entry.text = read(element);
        entry.key = code;
        entry.isKeyed = true;
    }
    entry.element = &element;
    return entry.text;
}

const QString& SpeciesRowCache::lhpTax(TLHC& header)
{
    return cached(m_lhpTax, header, [](TLHC& h) { return publishedText(h, "LHP_TAX"); });
}

const QString& SpeciesRowCache::lhpZTax(TLHC& header)
{
    return cached(m_lhpZTax, header, [](TLHC& h) { return publishedText(h, "LHP_Z_TAX"); });
}

const QString& SpeciesRowCache::majNaz(TPorost& porost)
{
    // The owner name is found through the codebook root, else the codebook tables.
    return cachedByCode(
        m_majNaz, porost, [](TPorost& p) { return CodeKey{forest::codebookRoot(&p), p.Ciselnik(), p.MAJ_KOD()}; },
        [](TPorost& p) { return p.MAJ_NAZ(); });
}

const QString& SpeciesRowCache::lesOblNazev(TPorost& porost)
{
    return cached(m_lesOblNazev, porost, [](TPorost& p) { return publishedText(p, "LES_OBL_nazev"); });
}

const QString& SpeciesRowCache::lesUradNazev(TPorostniSkupina& group)
{
    return cachedByCode(
        m_lesUradNazev, group, [](TPorostniSkupina& g) { return CodeKey{nullptr, g.Ciselnik(), g.LES_URAD()}; },
        [](TPorostniSkupina& g) { return g.LES_URAD_Nazev(); });
}

namespace {

// The row's values as the elements' accessors answer them, the species' class as already read;
// the unit's code and name are the ones taken when the run started. With a cache, the repeated
// names come from it.
SpeciesRowInput speciesRowInput(const SpeciesLevels& l, qint32 lhcKod, const QString& lhcNaz, SpeciesRowCache* cache,
                                QString genKlas)
{
    SpeciesRowInput in;
    in.lhcKod = lhcKod;
    in.lhcNaz = lhcNaz;
    in.lhpTax = cache ? cache->lhpTax(l.header) : publishedText(l.header, "LHP_TAX");
    in.lhpZTax = cache ? cache->lhpZTax(l.header) : publishedText(l.header, "LHP_Z_TAX");
    in.odd = l.compartment.ODD();
    in.dil = l.dilec.DIL();
    in.por = l.porost.POR();
    in.majNaz = cache ? cache->majNaz(l.porost) : l.porost.MAJ_NAZ();
    in.lesObl = l.porost.LES_OBL();
    in.lesOblNazev = cache ? cache->lesOblNazev(l.porost) : publishedText(l.porost, "LES_OBL_nazev");
    in.psk = l.group.PSK();
    in.pskP = l.group.Plocha();
    in.lesUrad = l.group.LES_URAD();
    in.lesUradNazev = cache ? cache->lesUradNazev(l.group) : l.group.LES_URAD_Nazev();
    in.lt = l.group.LT();
    in.etaz = l.etaz.ETAZ();
    in.etazPp = l.etaz.ETAZ_PP();
    in.vek = l.etaz.VEK();
    in.hs = l.etaz.HS();
    in.mTezProc = l.etaz.M_TEZ_PROC();
    in.obmyti = l.etaz.OBMYTI();
    in.obnDoba = l.etaz.OBN_DOBA();
    in.genKlas = std::move(genKlas);
    in.drZkr = l.drevina.DR_ZKR();
    in.zast = l.drevina.ZAST();
    in.drZasCel = l.drevina.DR_ZAS_CEL();
    in.drTo = l.drevina.DR_TO();
    return in;
}

} // namespace

bool writeSpeciesRowReported(db::Table& table, const SpeciesLevels& levels, qint32 lhcKod, const QString& lhcNaz,
                             SpeciesRowCache* cache)
{
    try {
        // Species of no recognised class give no row: skip reading the rest of their values.
        QString genKlas = levels.drevina.GEN_KLAS();
        if (!isRecognisedClass(genKlas))
            return false;
        return writeSpeciesRow(table, speciesRowInput(levels, lhcKod, lhcNaz, cache, std::move(genKlas)));
    } catch (const Exception& e) {
        if (table.State() == db::DataSetState::dsInsert || table.State() == db::DataSetState::dsEdit)
            table.Cancel();
        ui::services().showMessage(QStringLiteral("Chyba při zápisu dřeviny : ") + levels.drevina.CeleOznaceni() +
                                   QStringLiteral(" ") + e.message());
        return false;
    }
}

} // namespace app
