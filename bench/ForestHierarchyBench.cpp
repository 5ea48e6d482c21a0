// Timing and peak memory of a forest unit of 1 000 compartments assembled one compartment at a
// time through the "always" accessors, with every property the row writer reads, against plain
// structs of the same shape.
#include "forest/base/ForestRegistration.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "framework/core/StartupRegistration.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <array>
#include <string>
#include <vector>

namespace {

constexpr int compartments = 1000;
constexpr int standsPerSubCompartment = 4;
constexpr int groupsPerStand = 2;
constexpr int storeysPerGroup = 2;
constexpr int speciesPerStorey = 3;
const std::array<QString, speciesPerStorey> abbreviations = {"SM", "BK", "JDO"};

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Loads one compartment the way the loaders do: each level selected or created by key, the
// current elements reached through the header's "always" chain, columns set by name.
void loadCompartment(TLHC& header, int odd)
{
    header.OddeleniMN()->NovyPrvek(QString::number(odd));
    header.AktualniOddeleniVzdy()->SetPropAsString("ODD", QString::number(odd));
    header.AktualniOddeleniVzdy()->DilecMN()->NovyNeboAktualniPrvek("a");
    header.AktualniDilecVzdy()->SetPropAsString("DIL", "a");
    for (int p = 0; p < standsPerSubCompartment; ++p) {
        const QString por(QChar('1' + p));
        header.AktualniDilecVzdy()->PorostMN()->NovyNeboAktualniPrvek(por);
        TPorost* porost = header.AktualniPorostVzdy();
        porost->SetPropAsString("POR", por);
        porost->SetPropAsString("LES_OBL", "3a");
        porost->SetPropAsString("MAJ_KOD", "5");
        for (int g = 0; g < groupsPerStand; ++g) {
            porost->PorostniSkupinaMN()->NovyNeboAktualniPrvek(QString::number(g + 1));
            TPorostniSkupina* group = header.AktualniPorostniSkupinaVzdy();
            group->SetPropAsString("PSK", QString::number(g + 1));
            group->SetPropAsString("PSK_P", "2,5");
            group->SetPropAsString("LT", "5B");
            group->SetPropAsString("LES_URAD", "71");
            for (int e = 0; e < storeysPerGroup; ++e) {
                group->EtazMN()->NovyNeboAktualniPrvek(QString::number(e + 1));
                TEtaz* etaz = header.AktualniEtazVzdy();
                etaz->SetPropAsString("ETAZ", QString::number(e + 1));
                etaz->SetPropAsString("VEK", QString::number(40 + 30 * e));
                etaz->SetPropAsString("OBMYTI", "100");
                etaz->SetPropAsString("OBN_DOBA", "20");
                etaz->SetPropAsString("ETAZ_PP", "1,25");
                for (const QString& abbreviation : abbreviations) {
                    etaz->DrevinaMN()->NovyNeboAktualniPrvek(abbreviation);
                    TDrevina* drevina = header.AktualniDrevinaVzdy();
                    drevina->SetPropAsString("DR_ZKR", abbreviation);
                    drevina->SetPropAsString("ZAST", "33");
                    drevina->SetPropAsString("DR_ZAS_CEL", "250");
                    drevina->SetPropAsString("DR_TO", "40");
                    drevina->SetPropAsString("GEN_KLAS", abbreviation == "BK" ? "A" : "");
                }
            }
        }
    }
}

// Reads what the row writer reads, for every species of the compartment; answers a checksum.
qint64 readRows(TLHC& header)
{
    static const char* const headerProps[] = {"LHC_KOD", "LHC_NAZ", "LHP_TAX", "LHP_Z_TAX"};
    static const char* const standProps[] = {"POR", "MAJ_NAZ", "LES_OBL", "LES_OBL_nazev"};
    static const char* const groupProps[] = {"PSK", "PSK_P", "LES_URAD", "LES_URAD_Nazev", "LT"};
    static const char* const storeyProps[] = {"ETAZ", "ETAZ_PP", "VEK", "HS", "M_TEZ_PROC", "OBMYTI", "OBN_DOBA"};
    static const char* const speciesProps[] = {"GEN_KLAS", "DR_ZKR", "ZAST", "DR_ZAS_CEL", "DR_TO"};
    qint64 sum = 0;
    const auto read = [&sum](TElement* element, const auto& names) {
        for (const char* name : names)
            sum += element->GetPropAsString(QString::fromLatin1(name)).size();
    };
    TOddeleni* odd = header.Oddeleni();
    for (int d = 0; d < odd->DilecMN()->Count(); ++d) {
        TDilec* dilec = odd->DilecAt(d);
        for (int p = 0; p < dilec->PorostMN()->Count(); ++p) {
            TPorost* porost = dilec->PorostAt(p);
            for (int g = 0; g < porost->PorostniSkupinaMN()->Count(); ++g) {
                TPorostniSkupina* group = porost->PorostniSkupinaAt(g);
                for (int e = 0; e < group->EtazMN()->Count(); ++e) {
                    TEtaz* etaz = group->EtazAt(e);
                    for (int s = 0; s < etaz->DrevinaMN()->Count(); ++s) {
                        read(&header, headerProps);
                        sum += odd->GetPropAsInteger("ODD");
                        sum += dilec->GetPropAsString("DIL").size();
                        read(porost, standProps);
                        read(group, groupProps);
                        read(etaz, storeyProps);
                        read(etaz->DrevinaAt(s), speciesProps);
                    }
                }
            }
        }
    }
    return sum;
}

void BM_HierarchyLoadAndRead(benchmark::State& state)
{
    for (auto _ : state) {
        Owned<TLHC> header = Create<TLHC>();
        // The forest unit sets its source kind, which every element below inherits.
        header->SetSourceKind(SourceKinds::Vex97);
        header->SetPropAsString("LHC_KOD", "501");
        qint64 sum = 0;
        for (int odd = 1; odd <= compartments; ++odd) {
            loadCompartment(*header, odd);
            sum += readRows(*header);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_HierarchyLoadAndRead)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same shape and values in plain structs, texts converted as the properties do.
struct PlainSpecies {
    QString zkr, genKlas;
    int zast = 0, zasCel = 0, to = 0;
};
struct PlainStorey {
    QString etaz;
    double pp = 0;
    int vek = 0, obmyti = 0, obnDoba = 0;
    std::vector<PlainSpecies> species;
};
struct PlainGroup {
    QString psk, lt;
    double plocha = 0;
    int lesUrad = 0;
    std::vector<PlainStorey> storeys;
};
struct PlainStand {
    QString por, lesObl;
    int majKod = 0;
    std::vector<PlainGroup> groups;
};

void BM_PlainBaseline(benchmark::State& state)
{
    for (auto _ : state) {
        qint64 sum = 0;
        for (int odd = 1; odd <= compartments; ++odd) {
            std::vector<PlainStand> stands(standsPerSubCompartment);
            for (PlainStand& stand : stands) {
                stand.por = "1";
                stand.lesObl = " 3a";
                stand.majKod = QString("5").toInt();
                stand.groups.resize(groupsPerStand);
                for (PlainGroup& group : stand.groups) {
                    group.psk = " 1 ";
                    group.plocha = QString("2.5").toDouble();
                    group.lt = "5B";
                    group.storeys.resize(storeysPerGroup);
                    for (PlainStorey& storey : group.storeys) {
                        storey.etaz = " 1 ";
                        storey.vek = QString("40").toInt();
                        storey.species.resize(speciesPerStorey);
                        for (PlainSpecies& s : storey.species) {
                            s.zkr = "SM";
                            s.zast = QString("33").toInt();
                            s.zasCel = QString("250").toInt();
                        }
                    }
                }
            }
            for (const PlainStand& stand : stands)
                for (const PlainGroup& group : stand.groups)
                    for (const PlainStorey& storey : group.storeys)
                        for (const PlainSpecies& s : storey.species)
                            sum += stand.por.size() + QString::number(group.plocha).size()
                                   + QString::number(storey.vek).size() + s.zkr.size() + QString::number(s.zast).size()
                                   + QString::number(odd).size();
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PlainBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    RegisterFrameworkUnits();
    RegisterForestUnits();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
