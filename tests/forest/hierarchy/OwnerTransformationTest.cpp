// Tests of the ownership transformation of a compartment.
#include "HierarchyTestSupport.h"

#include "forest/codebooks/CodebookSets.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/NonStockedLand.h"

using namespace hierarchytest;

namespace {

// An ownership-transformation record as the forest unit's list holds them.
class TTestTransfor : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass()
    {
        using R = TTestTransfor;
        static const TClassInfo info = describeClass<R, TObecnyLesniPrvek>("TTestTransfor", [](PropertyTable<R>& t) {
            t.integer("ODD", &R::odd, [](R& r, qint32 v) { r.odd = v; })
                .string("DIL", &R::dil, [](R& r, const QString& v) { r.dil = v; })
                .string("POR", &R::por, [](R& r, const QString& v) { r.por = v; })
                .string("PSK", &R::psk, [](R& r, const QString& v) { r.psk = v; })
                .integer("MAJ_DRUH", &R::majDruh, [](R& r, qint32 v) { r.majDruh = v; })
                .integer("MAJ_KOD", &R::majKod, [](R& r, qint32 v) { r.majKod = v; });
        });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    qint32 odd = 0;
    QString dil;
    QString por;
    QString psk;
    qint32 majDruh = 0;
    qint32 majKod = 0;
};

class OwnerTransformationTest : public HierarchyFixture
{
protected:
    void SetUp() override
    {
        HierarchyFixture::SetUp();
        records = Create<TEntity>();
        odd = select<TOddeleni>(header->OddeleniMN(), "12");
        odd->SetODD(12);
        dil = select<TDilec>(odd->DilecMN(), "a");
        dil->SetDIL("a");
    }

    TPorost* stand(const QString& key, qint32 owner)
    {
        auto* porost = select<TPorost>(dil->PorostMN(), key);
        porost->SetPOR(key);
        porost->SetMAJ_KOD(owner);
        return porost;
    }

    TPorostniSkupina* group(TPorost* porost, const QString& psk)
    {
        auto* g = select<TPorostniSkupina>(porost->PorostniSkupinaMN(), psk);
        g->SetPSK(psk);
        return g;
    }

    void record(qint32 compartment, const QString& dilKey, const QString& por, const QString& psk, qint32 owner)
    {
        auto* r = records->AddNew<TTestTransfor>();
        r->odd = compartment;
        r->dil = dilKey;
        r->por = por;
        r->psk = psk;
        r->majKod = owner;
        r->majDruh = 1;
    }

    Owned<TEntity> records;
    TOddeleni* odd = nullptr;
    TDilec* dil = nullptr;
};

} // namespace

TEST_F(OwnerTransformationTest, NamedStandChangesOwner)
{
    TPorost* a = stand("a", 1);
    TPorost* b = stand("b", 1);
    record(11, "a", "a", "", 9);
    record(12, "a", "b", "", 5);
    record(13, "a", "a", "", 9);
    TOddeleni::ApplyOwnerTransforms(odd, records.get());
    EXPECT_EQ(a->MAJ_KOD(), 1);
    EXPECT_EQ(b->MAJ_KOD(), 5);
    EXPECT_EQ(b->MAJ_DRUH(), 1);
    EXPECT_FALSE(odd->OwnerTransformFailed());
    EXPECT_EQ(dil->Porost(), a);   // the first stand is current afterwards
}

TEST_F(OwnerTransformationTest, GroupMovesToANewStandWhichTakesTheStandData)
{
    TPorost* a = stand("a", 1);
    a->SetPropAsString("PAS_OHR", "2");
    a->SetPropAsString("POR_TEXT_Vse", "text");
    TJinyPozemek::KategorieMN(a)->SetNovaKategorieVcetnePrekryvu("10a/02");
    TPorostniSkupina* moved = group(a, "1");
    moved->SetPlocha(1.25);
    select<TEtaz>(moved->EtazMN(), "1")->SetVEK(40);
    stand("b", 1);
    record(12, "a", "", "1", 7);
    TOddeleni::ApplyOwnerTransforms(odd, records.get());

    EXPECT_FALSE(odd->OwnerTransformFailed());
    TPorost* c = dil->PorostJmenem("c");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->POR(), "c");
    EXPECT_EQ(c->MAJ_KOD(), 7);
    EXPECT_EQ(c->GetPropAsString("PAS_OHR"), "2");
    EXPECT_EQ(c->GetPropAsString("POR_TEXT_Vse"), "text");
    EXPECT_EQ(TJinyPozemek::KategorieMN(c)->KategorieVcetnePrekryvu(), "10a/02");
    ASSERT_EQ(c->PorostniSkupinaMN()->PocetPrvku(), 1);
    EXPECT_EQ(c->PorostniSkupinaAt(0), moved);
    EXPECT_EQ(moved->OwnerPorost(), c);
    EXPECT_DOUBLE_EQ(moved->Plocha(), 1.25);
    EXPECT_EQ(moved->EtazAt(0)->VEK(), 40);
    // The emptied stand a is freed.
    EXPECT_EQ(dil->PorostJmenem("a"), nullptr);
    EXPECT_EQ(dil->PorostMN()->PocetPrvku(), 2);
}

TEST_F(OwnerTransformationTest, GroupJoinsAnExistingStandOfTheOwnerAndTheOldStandStaysWithLand)
{
    TPorost* a = stand("a", 1);
    group(a, "1");
    a->JinyPozemekMN()->NovyPrvek("1");
    TPorost* b = stand("b", 7);
    group(b, "2");
    b->SetPropAsString("PAS_OHR", "9");
    record(12, "a", "", "1", 7);
    b->SetMAJ_DRUH(1);
    TOddeleni::ApplyOwnerTransforms(odd, records.get());
    EXPECT_EQ(b->PorostniSkupinaMN()->PocetPrvku(), 2);
    EXPECT_EQ(b->GetPropAsString("PAS_OHR"), "9");   // has groups: takes over nothing
    EXPECT_EQ(dil->PorostJmenem("a"), a);
}

TEST_F(OwnerTransformationTest, AmbiguousGroupFailsAndReleasesTheLists)
{
    group(stand("a", 1), "1");
    group(stand("b", 1), " 1 ");
    record(12, "a", "", "1", 7);
    TOddeleni::ApplyOwnerTransforms(odd, records.get());
    EXPECT_TRUE(odd->OwnerTransformFailed());
    EXPECT_FALSE(dil->HasOwnerTransforms());
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, " V dilci \"ODD 12a\" je více porostních skupin \"1\". Nelze provést změnu majitele č.7");
    // A later application does not see the failed records.
    records->Clear();
    TOddeleni::ApplyOwnerTransforms(odd, records.get());
    EXPECT_FALSE(odd->OwnerTransformFailed());
    EXPECT_EQ(dil->PorostMN()->PocetPrvku(), 2);
}

TEST_F(OwnerTransformationTest, MissingSubCompartmentFailsAndReleasesHandedRecords)
{
    stand("a", 1);
    record(12, "a", "a", "", 4);
    record(12, "q", "a", "", 5);
    TOddeleni::ApplyOwnerTransforms(odd, records.get());
    EXPECT_TRUE(odd->OwnerTransformFailed());
    EXPECT_FALSE(dil->HasOwnerTransforms());
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, "V oddělení 12neexistuje dílec \"q\"");
}

TEST_F(OwnerTransformationTest, MissingStandAndGroupAreReportedAndSkipped)
{
    TPorost* a = stand("a", 1);
    record(12, "a", "x", "", 4);
    record(12, "a", "a", "", 6);
    record(12, "a", "", "9", 6);
    TOddeleni::ApplyOwnerTransforms(odd, records.get());
    EXPECT_FALSE(odd->OwnerTransformFailed());
    EXPECT_EQ(a->MAJ_KOD(), 6);
    ASSERT_EQ(recorder().messages.size(), 2u);
    EXPECT_EQ(recorder().messages[0].text, "V dílci ODD 12a chybí porost\"x\"");
    EXPECT_EQ(recorder().messages[1].text, "V dílci ODD 12a není skupina: \"9\"");
}

TEST_F(OwnerTransformationTest, CompartmentWithoutRecordsIsUnchanged)
{
    TPorost* a = stand("a", 1);
    record(3, "a", "a", "", 4);
    TOddeleni::ApplyOwnerTransforms(odd, records.get());
    TOddeleni::ApplyOwnerTransforms(nullptr, records.get());
    EXPECT_EQ(a->MAJ_KOD(), 1);
    EXPECT_FALSE(odd->OwnerTransformFailed());
}

TEST_F(OwnerTransformationTest, FirstUnusedLetter)
{
    stand("a", 1);
    stand("c", 1);
    EXPECT_EQ(FirstUnusedLetter(dil->PorostMN()), "b");
    EXPECT_EQ(FirstUnusedLetter(odd->DilecMN()), "b");
}

TEST_F(OwnerTransformationTest, RecordsOfTheUnitsTransformationSet)
{
    TPorost* b = stand("b", 1);
    auto set = Create<TTransforDleMajiteleMN>();
    set->NovyPrvek("1");
    TElement* r = set->AktualniPrvek();
    r->SetPropAsInteger("ODD", 12);
    r->SetPropAsString("DIL", "a");
    r->SetPropAsString("POR", "b");
    r->SetPropAsInteger("MAJ_KOD", 8);
    r->SetPropAsInteger("MAJ_DRUH", 2);
    TOddeleni::ApplyOwnerTransforms(odd, set.get());
    EXPECT_EQ(b->MAJ_KOD(), 8);
    EXPECT_EQ(b->MAJ_DRUH(), 2);
}
