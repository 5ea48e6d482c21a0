// Sample IS HÚL interchange units written from the stands of a loaded forest unit.
#include "tools/ishul/IsHulSampleWriter.h"

#include "app/sources/LesniCelek.h"
#include "forest/base/ForestSetRoutines.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "platform/Exceptions.h"
#include "platform/text/Cp1250.h"

#include <QDir>
#include <QFile>

namespace samples {

namespace {

const QStringList standColumns = {"SDR_POR", "PAS_OHR", "ZVL_STATUT", "KAT_SPEC", "LES_OBL", "MAJ_KOD", "MAJ_DRUH"};
const QStringList groupColumns = {"PSK_P0", "PSK_P", "PSK_V", "SLT", "LT", "TER_TYP", "DAN", "PRIB_VZD", "HOSP_ZP",
                                  "KVAL_P", "KAT_PAR_KOD", "KU_KOD", "LES_URAD"};
const QStringList storeyColumns = {"ETAZ_PS", "ETAZ_PP", "PRO_P", "TV_P", "TO_P", "TVYB_P", "HS", "OBMYTI",
                                   "OBN_DOBA", "POC_OBNOVY", "VEK", "ZAKM", "M_Z_ZASOBY", "PRO_POC", "TV_POC",
                                   "ODVOZ_TEZ", "HOSP_TV", "PRO_NAL", "TV_NAL", "TO_NAL", "TO_DUVOD", "TO_ZPUSOB",
                                   "TVYB_NAL"};
const QStringList speciesColumns = {"DR_PUVOD", "GEN_KLAS", "VYB_STR", "DR_KVAL", "ZAST", "VYSKA", "TLOUSTKA",
                                    "BON_R", "PROC_SOUS", "DR_ZAS_HA", "DR_ZAS_CEL", "DR_TV", "DR_TO", "DR_TVYB",
                                    "IMISE"};
const QStringList headerColumns = {"LHC_KOD", "LHC_NAZ", "LHP_OD", "LHP_DO", "ETAT_TO", "ETAT_TV"};

// One interchange file: separators "|" and "/", its columns, the records.
struct FstFile {
    QStringList columns;
    QList<QStringList> records;
    void write(const QString& path) const
    {
        QString out = QStringLiteral("|\r\n/\r\n%1\r\n").arg(columns.size());
        for (const QString& c : columns)
            out += c + QStringLiteral("\r\n");
        out += QString::number(records.size()) + QStringLiteral("\r\n");
        for (const QStringList& r : records)
            out += r.join(QLatin1Char('|')) + QStringLiteral("\r\n");
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(Cp1250::encode(out)) < 0)
            throw EFileError(QStringLiteral("Nelze zapsat soubor \"%1\"").arg(path));
    }
};

QStringList values(TElement* element, const QStringList& names)
{
    QStringList out;
    for (const QString& n : names)
        out << (element ? element->GetPropAsString(n) : QString());
    return out;
}

template<class T>
QList<T*> items(TEntity* set)
{
    QList<T*> out;
    for (int i = 0; set && i < set->Count(); ++i)
        if (auto* item = dynamic_cast<T*>(set->Items(i)))
            out << item;
    return out;
}

void addStand(TLHC* header, TOddeleni* odd, TDilec* dil, TPorost* stand, FstFile& pp, FstFile& bzl, FstFile& jp)
{
    const QStringList keys = {QString::number(odd->ODD()), dil->DIL(), stand->POR()};
    const QStringList head = values(header, headerColumns);
    QStringList standValues = values(stand, standColumns);
    standValues << stand->GetPropAsString("OLH_98")
                << JoinPropertyValues(TJinyPozemek::KategorieMN(stand), "KATEGORIE", "/");
    for (TPorostniSkupina* group : items<TPorostniSkupina>(stand->PorostniSkupinaMN())) {
        for (TEtaz* storey : items<TEtaz>(group->EtazMN())) {
            const QStringList level = head + keys + QStringList{group->GetPropAsString("PSK"), storey->GetPropAsString("ETAZ")}
                + standValues + values(group, groupColumns) + values(storey, storeyColumns)
                + QStringList{storey->GetPropAsString("MZDs"), QString()};
            const QList<TDrevina*> species = items<TDrevina>(storey->DrevinaMN());
            if (species.isEmpty())
                pp.records << level + QStringList{QString()} + values(nullptr, speciesColumns);
            for (TDrevina* d : species)
                pp.records << level + QStringList{d->GetPropAsString("DR_ZKR")} + values(d, speciesColumns);
        }
    }
    for (TBezlesi* b : items<TBezlesi>(stand->ExistingBezlesiMN()))
        bzl.records << keys + values(b, {"BZL", "BZL_P0", "BZL_P", "BZL_V", "BZL_VYUZ", "BZL_DRUH", "MAJ_KOD_BZL", "MAJ_DRUH_BZL"});
    for (TJinyPozemek* j : items<TJinyPozemek>(stand->ExistingJinyPozemekMN()))
        jp.records << keys + values(j, {"JP", "JP_PUPFL", "JP_P0", "JP_P", "JP_V", "DRUH_POZ", "JP_VYUZ", "JP_DRUH", "MAJ_KOD_JP", "MAJ_DRUH_JP"});
}

void copyCodebooks(const QString& sourceDir, const QString& outDir)
{
    const QDir from(sourceDir + QStringLiteral("/ishul"));
    for (const QString& name : from.entryList({QStringLiteral("*.FST")}, QDir::Files)) {
        QFile::remove(outDir + QLatin1Char('/') + name);
        QFile::copy(from.filePath(name), outDir + QLatin1Char('/') + name);
    }
}

} // namespace

void writeIsHulUnit(TLesniCelek& unit, const QString& sourceDir, const QString& outDir, bool v98)
{
    QDir().mkpath(outDir);
    FstFile pp;
    pp.columns = headerColumns + QStringList{"ODD", "DIL", "POR", "PSK", "ETAZ"} + standColumns
        + QStringList{"OLH", "KATEGORIE"} + groupColumns + storeyColumns + QStringList{"MZD", "M_TEZ_PROC", "DR_ZKR"}
        + speciesColumns;
    FstFile bzl;
    bzl.columns = {"ODD", "DIL", "POR", "BZL", "BZL_P0", "BZL_P", "BZL_V", "BZL_VYUZ", "BZL_DRUH", "MAJ_KOD", "MAJ_DRUH"};
    FstFile jp;
    jp.columns = {"ODD", "DIL", "POR", "JP", "JP_PUPFL", "JP_P0", "JP_P", "JP_V", "DRUH_POZ", "JP_VYUZ", "JP_DRUH",
                  "MAJ_KOD", "MAJ_DRUH"};
    unit.ReloadCompartments();
    TLHC* header = unit.LHC();
    for (int guard = 0; guard < 100000; ++guard) {
        if (TOddeleni* odd = header->Oddeleni()) {
            for (TDilec* dil : items<TDilec>(odd->DilecMN()))
                for (TPorost* stand : items<TPorost>(dil->PorostMN()))
                    addStand(header, odd, dil, stand, pp, bzl, jp);
        }
        if (unit.EndOfData())
            break;
        unit.LoadNextCompartment(false);
    }
    pp.write(outDir + QStringLiteral("/PP.FST"));
    bzl.write(outDir + QStringLiteral("/BZL.FST"));
    jp.write(outDir + QStringLiteral("/JP.FST"));
    if (!v98)
        return;
    FstFile lhc;
    lhc.columns = headerColumns + QStringList{"LHP_TAX", "LHP_Z_TAX", "TEZ_PROC", "NOR_PAS"};
    lhc.records << values(header, lhc.columns);
    lhc.write(outDir + QStringLiteral("/LHC.FST"));
    copyCodebooks(sourceDir, outDir);
}

void writeIsHulSamples(const QString& sourceDir, const QString& programDir)
{
    for (const bool v98 : {false, true}) {
        Owned<TLesniCelek> unit = Create<TLesniCelek>();
        const QString data = programDir + QStringLiteral("/vzorky/vex97/DATA");
        unit->setProgramDir(programDir);
        unit->setSource(app::createSource(SourceKinds::Vex97, {data, programDir}));
        unit->LoadHeader();
        writeIsHulUnit(*unit, sourceDir, programDir + (v98 ? QStringLiteral("/vzorky/ishul98") : QStringLiteral("/vzorky/ishul97")), v98);
    }
}

} // namespace samples
