// The values of one species row read from the forest model, and the reported write of that row.
#include "app/calculation/SpeciesRowSource.h"

#include "app/sources/PropertyLookup.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/ui/Services.h"

namespace app {

SpeciesRowInput speciesRowInput(const SpeciesLevels& l, qint32 lhcKod, const QString& lhcNaz)
{
    SpeciesRowInput in;
    in.lhcKod = lhcKod;
    in.lhcNaz = lhcNaz;
    in.lhpTax = publishedText(l.header, "LHP_TAX");
    in.lhpZTax = publishedText(l.header, "LHP_Z_TAX");
    in.odd = l.compartment.ODD();
    in.dil = l.dilec.DIL();
    in.por = l.porost.POR();
    in.majNaz = l.porost.MAJ_NAZ();
    in.lesObl = l.porost.LES_OBL();
    in.lesOblNazev = publishedText(l.porost, "LES_OBL_nazev");
    in.psk = l.group.PSK();
    in.pskP = l.group.Plocha();
    in.lesUrad = l.group.LES_URAD();
    in.lesUradNazev = l.group.LES_URAD_Nazev();
    in.lt = l.group.LT();
    in.etaz = l.etaz.ETAZ();
    in.etazPp = l.etaz.ETAZ_PP();
    in.vek = l.etaz.VEK();
    in.hs = l.etaz.HS();
    in.mTezProc = l.etaz.M_TEZ_PROC();
    in.obmyti = l.etaz.OBMYTI();
    in.obnDoba = l.etaz.OBN_DOBA();
    in.genKlas = l.drevina.GEN_KLAS();
    in.drZkr = l.drevina.DR_ZKR();
    in.zast = l.drevina.ZAST();
    in.drZasCel = l.drevina.DR_ZAS_CEL();
    in.drTo = l.drevina.DR_TO();
    return in;
}

bool writeSpeciesRowReported(db::Table& table, const SpeciesLevels& levels, qint32 lhcKod, const QString& lhcNaz)
{
    try {
        // Species of no recognised class give no row: skip reading the rest of their values.
        if (!isRecognisedClass(levels.drevina.GEN_KLAS()))
            return false;
        return writeSpeciesRow(table, speciesRowInput(levels, lhcKod, lhcNaz));
    } catch (const Exception& e) {
        if (table.State() == db::DataSetState::dsInsert || table.State() == db::DataSetState::dsEdit)
            table.Cancel();
        ui::services().showMessage(QStringLiteral("Chyba při zápisu dřeviny : ") + levels.drevina.CeleOznaceni() +
                                   QStringLiteral(" ") + e.message());
        return false;
    }
}

} // namespace app
