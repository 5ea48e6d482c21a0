// Tests of the species row values read from the forest model.
#include "app/calculation/SpeciesRowSource.h"

#include "forest/codebooks/CiselLumex.h"
#include "forest/codebooks/Ciselnik.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "platform/db/Table.h"
#include "support/ParadoxFixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace app;

// The cache keeps one text per element and property: another element, or the next property of
// the same element, is read anew.
TEST(SpeciesRowCache, EachElementAndPropertyGetsItsOwnText)
{
    Owned<TLHC> first = Create<TLHC>();
    Owned<TLHC> second = Create<TLHC>();
    first->SetPropAsString(QStringLiteral("LHP_TAX"), QStringLiteral("Ing. Říha"));
    first->SetPropAsString(QStringLiteral("LHP_Z_TAX"), QStringLiteral("Bc. Šťastná"));
    second->SetPropAsString(QStringLiteral("LHP_TAX"), QStringLiteral("Ing. Novák"));
    SpeciesRowCache cache;
    EXPECT_EQ(cache.lhpTax(*first), QStringLiteral("Ing. Říha"));
    EXPECT_EQ(cache.lhpZTax(*first), QStringLiteral("Bc. Šťastná"));
    EXPECT_EQ(cache.lhpTax(*second), QStringLiteral("Ing. Novák"));
    EXPECT_EQ(cache.lhpZTax(*second), QString());
    EXPECT_EQ(cache.lhpTax(*first), QStringLiteral("Ing. Říha"));
}

// Owner and office names follow each element's code: elements of the same code share a name,
// another code is looked up anew.
TEST(SpeciesRowCache, NamesFollowTheCodeOfEachElement)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    test::writeParadoxTable(dir.filePath("LDU.DB"), {{"Kod", "I"}, {"POPIS", "A", 40}},
                            {{71, "71 - Brno"}, {72, "72 - Blansko"}});
    db::Table offices;
    offices.SetDatabaseName(dir.path());
    offices.SetTableName("LDU.DB");
    offices.Open();
    Owned<TLHC> header = Create<TLHC>();
    header->AddNew<tciselnik>()->SetTable(Codebook::tb_LDU, &offices);
    auto* codebooks = header->AddNew<TCiselLumex>();
    codebooks->SetName("CiselLumex");
    for (const auto& [code, name] : {std::pair{"5", "Obec Lhota"}, std::pair{"7", "Lesy Brno"}}) {
        codebooks->MajetkyMN()->NovyPrvek(code);
        codebooks->MajetkyMN()->AktualniPrvek()->SetPropAsString("MAJ_KOD_C", code);
        codebooks->MajetkyMN()->AktualniPrvek()->SetPropAsString("MAJ_NAZ_C", name);
    }
    header->OddeleniMN()->NovyPrvek("1");
    auto* dilec = dynamic_cast<TOddeleni*>(header->OddeleniMN()->AktualniPrvek())->DilecMN();
    dilec->NovyPrvek("A");
    auto* stands = dynamic_cast<TDilec*>(dilec->AktualniPrvek())->PorostMN();
    std::vector<std::pair<TPorost*, TPorostniSkupina*>> elements;
    for (const qint32 code : {5, 7, 5}) {
        stands->NovyPrvek(QString::number(elements.size() + 1));
        auto* porost = dynamic_cast<TPorost*>(stands->AktualniPrvek());
        porost->SetMAJ_KOD(code);
        porost->PorostniSkupinaMN()->NovyPrvek("1");
        auto* group = dynamic_cast<TPorostniSkupina*>(porost->PorostniSkupinaMN()->AktualniPrvek());
        group->SetPropAsInteger("LES_URAD", code == 5 ? 71 : 72);
        elements.emplace_back(porost, group);
    }
    SpeciesRowCache cache;
    for (const auto& [porost, group] : elements) {
        EXPECT_EQ(cache.majNaz(*porost), porost->MAJ_NAZ());
        EXPECT_EQ(cache.lesUradNazev(*group), group->LES_URAD_Nazev());
    }
    EXPECT_EQ(cache.majNaz(*elements[1].first), QStringLiteral("Lesy Brno"));
    EXPECT_EQ(cache.lesUradNazev(*elements[1].second), QStringLiteral("72 - Blansko"));
    EXPECT_EQ(cache.majNaz(*elements[2].first), QStringLiteral("Obec Lhota"));
    EXPECT_EQ(cache.lesUradNazev(*elements[2].second), QStringLiteral("71 - Brno"));
}

} // namespace
