// Tests of the codebook root, the owners' codebook and the other codebook sets.
#include "forest/codebooks/CiselLumex.h"
#include "forest/support/ForestTestSupport.h"

namespace {

using foresttest::recorder;

class CiselLumex : public foresttest::ForestFixture
{
};

TEST_F(CiselLumex, RootCreatesItsSetsInOrder)
{
    Owned<TCiselLumex> root = Create<TCiselLumex>();
    ASSERT_EQ(root->Count(), 7);
    const char* classes[] = {"TCisHsMN", "TKodPopisMN", "TKodPopisMN", "TOLHMN", "TKodPopisMN", "TmajetkyMN", "TKodPopisMN"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(root->Items(i)->ClassName(), classes[i]) << i;
    EXPECT_EQ(root->MajetkyMN(), root->Items(5));
    EXPECT_EQ(root->KatastryMN(), root->Items(4));
    EXPECT_EQ(root->CisHsMN()->PredponaName(), "CiHS");
    EXPECT_EQ(root->OLHMN()->PredponaName(), "CiOLH");
}

TEST_F(CiselLumex, DecisionTypesAreFixed)
{
    Owned<TCiselLumex> root = Create<TCiselLumex>();
    TKodPopisMN* decisions = root->TypyRozhodnutiMN();
    ASSERT_EQ(decisions->Count(), 7);
    EXPECT_EQ(decisions->Items(0)->GetName(), "KodPop 1-odneti");
    EXPECT_EQ(decisions->Items(6)->GetPropAsString("Kod"), "7");
    EXPECT_EQ(decisions->Items(6)->GetPropAsString("Popis"), "7 - Poznámka");
    EXPECT_EQ(decisions->Items(1)->GetPropAsString("Popis"),
              "2 - rozhodnutí o výjimce ze zákazu mýtní těžby v porostech mladších 80 let");
}

TEST_F(CiselLumex, NewOwnerCodeIsPadded)
{
    Owned<Tmajetky> owner = Create<Tmajetky>();
    EXPECT_EQ(owner->GetPropAsString("MAJ_KOD_C0"), "0000099999");
    EXPECT_EQ(owner->GetPropAsString("MAJ_DRUH_C"), "0");
    owner->SetPropAsString("MAJ_KOD_C0", "5");
    EXPECT_EQ(owner->GetPropAsString("MAJ_KOD_C0"), "0000099999");
    owner->SetPropAsString("MAJ_KOD_C", "12345678901");
    EXPECT_EQ(owner->MAJ_KOD_C0(), "12345678901");
}

TEST_F(CiselLumex, PostcodeTextAndNumber)
{
    Owned<Tmajetky> owner = Create<Tmajetky>();
    owner->SetPropAsString("PSC_txt_C", "123 45@x");
    EXPECT_EQ(owner->PSC_C, 12345);
    EXPECT_EQ(owner->GetPropAsString("PSC_txt_C"), "123 45@x");
    Owned<Tmajetky> other = Create<Tmajetky>();
    other->SetPropAsInteger("PSC_C", 12345);
    EXPECT_EQ(other->GetPropAsString("PSC_txt_C"), "12345");
    other->SetPropAsString("PSC_txt_C", "99999999999@");
    EXPECT_EQ(other->PSC_C, 0);   // too many digits
}

TEST_F(CiselLumex, OwnerNameFromTheDbaseFile)
{
    Owned<Tmajetky> owner = Create<Tmajetky>();
    // ř arrives as 0x80 (€ in windows-1250), š as 0xBF (ż).
    owner->SetPropAsString("MAJ_NAZ_C_DBF", QString::fromUtf8("Dvo€ák Pe\u017Cek"));
    EXPECT_EQ(owner->GetPropAsString("MAJ_NAZ_C"), "Dvořák Pešek");
    EXPECT_EQ(owner->GetPropAsString("MAJ_NAZ_C_DBF"), "Dvořák Pešek");
}

TEST_F(CiselLumex, OwnerDataArePublishedInOrder)
{
    Owned<Tmajetky> owner = Create<Tmajetky>();
    TElement& e = *owner;
    e.SetPropAsString("ODB_SPR_C", "42");
    e.SetPropAsString("LesniPoz_C", "1,5");
    e.SetPropAsString("TEZB_MAX_C", "300");
    EXPECT_EQ(e.GetPropAsString("ODB_SPR_C"), "42");
    EXPECT_DOUBLE_EQ(owner->LesniPoz_C, 1.5);
    EXPECT_EQ(owner->TEZB_MAX_C, 300);
    const int first = IndexOfProp(owner.get(), "MAJ_KOD_C");
    EXPECT_EQ(IndexOfProp(owner.get(), "MAJ_KOD_C0"), first + 1);
    EXPECT_EQ(IndexOfProp(owner.get(), "KU_KOD_C"), first + 2);
    EXPECT_LT(IndexOfProp(owner.get(), "PUPFL_C"), IndexOfProp(owner.get(), "TEZB_VYP_C"));
    EXPECT_LT(IndexOfProp(owner.get(), "ZastOU_C"), IndexOfProp(owner.get(), "PSC_txt_C"));
}

TEST_F(CiselLumex, StandsOfAnOwner)
{
    Owned<Tmajetky> owner = Create<Tmajetky>();
    EXPECT_EQ(owner->NamePorostu(), " ");
    TMajPoPorostechMN* stands = owner->MajPoPorostechMN();
    EXPECT_EQ(owner->MajPoPorostechMN(), stands);
    stands->NovyPrvek("1");
    auto* stand = dynamic_cast<TMajPoPorostech*>(stands->AktualniPrvek());
    stand->ODD = 12;
    stand->DIL = "A";
    stand->POR = "1";
    stand->SetPropAsString("PSK", " 2 ");
    EXPECT_EQ(stand->ODD_DIL_POR(), "12A12");
    stand->JP = 3;
    EXPECT_EQ(stand->GetPropAsString("ODD_DIL_POR"), "12A123");
    stands->NovyPrvek("2");
    dynamic_cast<TMajPoPorostech*>(stands->AktualniPrvek())->ODD = 7;
    EXPECT_EQ(owner->GetPropAsString("NamePorostu"), " 12A123 7");
    for (int i = 3; i <= 101; ++i)
        stands->NovyPrvek(QString::number(i));
    ASSERT_EQ(stands->Count(), 101);
    EXPECT_EQ(owner->NamePorostu(), "příliš mnoho");
}

TEST_F(CiselLumex, TransformationChangeStateAsText)
{
    Owned<TTransforDleMajitele> record = Create<TTransforDleMajitele>();
    EXPECT_EQ(record->GetPropAsString("Zmena_nazev"), "nezmenilse");
    record->SetPropAsString("Zmena_nazev", "BudeSmazan");
    EXPECT_EQ(record->Zmena, BudeSmazan);
    record->SetPropAsString("Zmena_nazev", "jinak");
    EXPECT_EQ(record->Zmena, nezmenilse);
    EXPECT_EQ(recorder().messages.size(), 1u);
}

TEST_F(CiselLumex, SetsAreRegisteredByName)
{
    for (const char* name : {"Tmajetky", "TmajetkyMN", "TMajPoPorostech", "TMajPoPorostechMN", "TTransforDleMajiteleMN",
                             "TTransforDleMajitele"}) {
        Owned<TElement> e = CreateElementByName(name);
        ASSERT_TRUE(e) << name;
        EXPECT_EQ(e->ClassName(), name);
    }
    Owned<TElement> set = CreateElementByName("TTransforDleMajiteleMN");
    EXPECT_EQ(set->GetPropAsString("PredponaName"), "Transf");
}

} // namespace
