// Reads by name of the species properties the recognised-stands row writer takes, over 10 000
// species built under forest sets, against reads of the same properties by index.
#include "forest/base/ForestRegistration.h"
#include "forest/base/LesniMnozina.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/StartupRegistration.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int speciesCount = 10000;
constexpr int speciesPerStorey = 5;

// Names of a species' published properties in the order of the species class; the row writer
// reads GEN_KLAS, DR_ZKR, ZAST, DR_ZAS_CEL and DR_TO, which lie spread over the table.
const char* const speciesProperties[] = {
    "RId", "Vazba", "KontrolaP0110", "ZasobaCelkem", "HektarovaZasobaCelkem", "SouseCelkem", "TezbyVychovne",
    "TezbyCelkem", "ciselLumex", "ZAST", "TLOUSTKA", "VYSKA", "ZAS_TAB_HA", "DR_ZAS_HA", "DR_ZAS_CEL",
    "POCET_KMENU", "VYCETNI_ZAKLADNA", "VYB_STR", "DR_PUVOD", "PROC_SOUS", "DR_KVAL", "Vi",
    "METODA_ZJISTENI_PRIRUSTU", "DR_CBP", "PLOCHA_DREVINY", "POC_JEHL", "ZPZADZAS", "DR_STAV_ZPRAC",
    "N_ProcentoTV", "N_ObjemHaTV", "DR_TV", "ZpZadTV", "TV_STAV_ZPRAC", "DR_TO", "ZpZadTO", "TO_STAV_ZPRAC",
    "DR_TVYB", "DR_ZKR", "DR_KOD", "BON_A", "BON_RVyhl", "BON_R", "GEN_KLAS", "GEN_KLAS_nazev", "VYB_STRInt",
    "DR_PUVOD_nazev", "HMOT", "IMISE", "IMISE_nazev", "OBJ_SOUS", "POCET_KMENUVypocteny",
    "VYCETNI_ZAKLADNATabul", "KontrolniN_ObjemHaTV", "SpocteneN_ProcentoTV", "Poskozeni_Slovne_Prelamane",
    "DR_ZKR_nazev", "DR_ZKR_nazev_nemecky", "Cislo_SLHP", "Jehlicnaty", "RedukovanaPlochaDrDleZasoby",
    "VypoctenaTabulkovaZasoba", "CeleOznaceni", "VypoctenaDR_ZAS_HAzTabulek", "KontrolniDR_ZAS_HA",
    "VypoctenaDR_ZAS_CELzTabulek", "KontrolniDR_ZAS_CEL", "ZpZadZasT",
};
const char* const rowWriterReads[] = {"GEN_KLAS", "DR_ZKR", "ZAST", "DR_ZAS_CEL", "DR_TO"};

// A species as the forest model publishes it: each property reads a stored text.
class TBenchDrevina : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass()
    {
        static const TClassInfo info =
            describeClass<TBenchDrevina, TObecnyLesniPrvek>("TBenchDrevina", [](PropertyTable<TBenchDrevina>& t) {
                int i = 0;
                for (const char* name : speciesProperties) {
                    const int slot = i++;
                    t.string(QLatin1String(name), [slot](TBenchDrevina& d) { return d.values[slot]; },
                             [slot](TBenchDrevina& d, const QString& v) { d.values[slot] = v; });
                }
            });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    QString values[std::size(speciesProperties)];
};

class TBenchDrevinaMN : public TLesniMnozina
{
public:
    TBenchDrevinaMN() { setItems(TBenchDrevina::StaticClass(), QStringLiteral("DREV")); }
    static TClass StaticClass()
    {
        static const TClassInfo info = describeClass<TBenchDrevinaMN, TLesniMnozina>("TBenchDrevinaMN");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
};

class TBenchEtaz : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass()
    {
        static const TClassInfo info = describeClass<TBenchEtaz, TObecnyLesniPrvek>("TBenchEtaz");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
};

class TBenchEtazMN : public TLesniMnozina
{
public:
    TBenchEtazMN() { setItems(TBenchEtaz::StaticClass(), QStringLiteral("ETAZ")); }
    static TClass StaticClass()
    {
        static const TClassInfo info = describeClass<TBenchEtazMN, TLesniMnozina>("TBenchEtazMN");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
};

// Storeys with five species each, built through the sets' NovyNeboAktualniPrvek.
struct Model {
    Owned<TBenchEtazMN> storeys = Create<TBenchEtazMN>();
    std::vector<TElement*> species;

    Model()
    {
        const char* abbreviations[speciesPerStorey] = {"SM", "BK", "JD", "BO", "DB"};
        for (int s = 0; s < speciesCount / speciesPerStorey; ++s) {
            storeys->NovyNeboAktualniPrvek(QString::number(s));
            auto* storey = dynamic_cast<TObecnyLesniPrvek*>(storeys->AktualniPrvek());
            auto* set = storey->AddNew<TBenchDrevinaMN>();
            for (const char* a : abbreviations) {
                set->NovyNeboAktualniPrvek(QLatin1String(a));
                TElement* d = set->AktualniPrvek();
                d->SetPropAsString("DR_ZKR", QLatin1String(a));
                d->SetPropAsString("GEN_KLAS", "A");
                d->SetPropAsString("ZAST", "20");
                d->SetPropAsString("DR_ZAS_CEL", "315");
                d->SetPropAsString("DR_TO", "12");
                species.push_back(d);
            }
        }
    }
};

Model& model()
{
    static Model* m = [] {
        RegisterFrameworkUnits();
        RegisterForestUnits();
        return new Model;
    }();
    return *m;
}

void BM_ReadByName(benchmark::State& state)
{
    Model& m = model();
    for (auto _ : state) {
        qsizetype total = 0;
        for (TElement* d : m.species)
            for (const char* name : rowWriterReads)
                total += d->GetPropAsString(QLatin1String(name)).size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * qint64(m.species.size()) * qint64(std::size(rowWriterReads)));
}
BENCHMARK(BM_ReadByName)->Unit(benchmark::kMillisecond);

// The baseline: the same reads through property indexes found once.
void BM_ReadByIndex(benchmark::State& state)
{
    Model& m = model();
    std::vector<int> indexes;
    for (const char* name : rowWriterReads)
        indexes.push_back(IndexOfProp(m.species.front(), QLatin1String(name)));
    for (auto _ : state) {
        qsizetype total = 0;
        for (TElement* d : m.species)
            for (const int index : indexes)
                total += GetPropAsStringByIndex(d, index).size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * qint64(m.species.size()) * qint64(indexes.size()));
}
BENCHMARK(BM_ReadByIndex)->Unit(benchmark::kMillisecond);

// Building the model itself: 2 000 storeys in one set, five species in each.
void BM_BuildModel(benchmark::State& state)
{
    model();
    for (auto _ : state) {
        Model built;
        benchmark::DoNotOptimize(built.species.size());
    }
    state.SetItemsProcessed(state.iterations() * speciesCount);
}
BENCHMARK(BM_BuildModel)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
