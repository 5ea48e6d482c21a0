// Tests of the old-records source and loader: files as one sequence, stands by owner, mends.
#include "app/sources/oldlhp/OldLhpSource.h"

#include "app/sources/LesniCelek.h"
#include "app/sources/oldlhp/UnivStareLHP.h"
#include "forest/base/ForestRegistration.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/HierarchyRegistration.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "forest/hierarchy/Zalesneni.h"
#include "framework/core/StartupRegistration.h"
#include "platform/ui/Services.h"
#include "support/Mutator.h"
#include "support/ParadoxFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

// A 160-character record with the given fields (right-aligned in their columns).
QByteArray rec(const std::map<int, QByteArray>& fields)
{
    QByteArray out(TUnivStareLHP::RecordLength, ' ');
    for (const auto& [n, value] : fields) {
        const int width = TUnivStareLHP::fieldWidth(n);
        out.replace(TUnivStareLHP::fieldStart(n) - 1, width, value.rightJustified(width, ' ', true));
    }
    return out;
}

// A species record of unit 7 (code 0 0 0 7): compartment, letter, group, species, owner.
QByteArray species(int odd, char dil, const QByteArray& group, const QByteArray& dr, int owner = 1,
                   std::map<int, QByteArray> more = {})
{
    std::map<int, QByteArray> f = {{2, "0"}, {3, "00"}, {4, "00"}, {5, "7"}, {6, "11"}, {64, "22"},
                                   {7, QByteArray::number(odd)}, {8, QByteArray(1, dil)}, {16, group},
                                   {17, "250"}, {18, "40"}, {23, dr}, {24, "10"}, {28, "A"},
                                   {10, QByteArray::number(100 + owner)}, {9, "10"}};
    for (const auto& [n, v] : more)
        f[n] = v;
    return rec(f);
}

class OldLhpSourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterFrameworkUnits();
        RegisterForestUnits();
        RegisterE_LesOddUnit();
        recorder().clear();
    }

    void write(const QString& name, const QList<QByteArray>& lines)
    {
        QFile f(m_dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const QByteArray& l : lines)
            f.write(l + "\r\n");
    }

    Owned<TLesniCelek> makeUnit()
    {
        Owned<TLesniCelek> unit = Create<TLesniCelek>();
        unit->SetadresarObecnychDatLHP(m_dir.path());
        unit->setProgramDir(m_dir.path());
        unit->setSource(oldlhp::createOldLhpSource({m_dir.path(), m_dir.path()}));
        unit->LoadHeader();
        return unit;
    }

    // "ODD:stands,species" per compartment of one run.
    static QStringList run(TLesniCelek& unit, std::vector<Owned<TOddeleni>>* keep = nullptr)
    {
        (void)keep;
        QStringList out;
        unit.ReloadCompartments();
        for (int guard = 0; guard < 100; ++guard) {
            TOddeleni* odd = unit.LHC()->Oddeleni();
            if (odd)
                out << QStringLiteral("%1:%2,%3").arg(odd->ODD()).arg(count(odd, "TPorost")).arg(count(odd, "TDrevina"));
            if (unit.EndOfData())
                break;
            unit.LoadNextCompartment(false);
        }
        return out;
    }

    static int count(TElement* e, const char* cls)
    {
        int n = e->ClassType()->ClassName() == QLatin1String(cls) ? 1 : 0;
        if (auto* entity = dynamic_cast<TEntity*>(e))
            for (int i = 0; i < entity->Count(); ++i)
                n += count(entity->Items(i), cls);
        return n;
    }

    QTemporaryDir m_dir;
};

TEST_F(OldLhpSourceTest, FileNamesSplitIntoTwoNumbers)
{
    qint32 a = 0;
    qint32 b = 0;
    EXPECT_TRUE(oldlhp::SplitLhpFileName("7.01V", a, b));
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, 1);
    EXPECT_FALSE(oldlhp::SplitLhpFileName("x.01V", a, b));
    EXPECT_FALSE(oldlhp::SplitLhpFileName("7.V", a, b));
    EXPECT_FALSE(oldlhp::SplitLhpFileName("7", a, b));
}

TEST_F(OldLhpSourceTest, FilesWithAGapReadInOrderAndACompartmentAcrossFilesLoadsOnce)
{
    write("7.01V", {species(1, 'a', "1", "SM"), species(2, 'a', "1", "SM")});
    write("7.3v", {species(2, 'a', "1", "BK"), species(3, 'b', "2", "DB")});   // 03 written as "3", lower case
    Owned<TLesniCelek> unit = makeUnit();
    EXPECT_EQ(unit->CompartmentList(), QStringList({"  1", "  2", "  3"}));
    EXPECT_EQ(run(*unit), QStringList({"1:1,1", "2:1,2", "3:1,1"}));
    EXPECT_EQ(unit->JakBylNacten(), "LHP160");
    EXPECT_EQ(unit->LHC()->LHC_KOD(), 7);
    EXPECT_EQ(unit->LHC()->PUVOD_DAT(), "LHP 160");
    // A second run gives the same; a load after the end gives nothing.
    EXPECT_EQ(run(*unit), QStringList({"1:1,1", "2:1,2", "3:1,1"}));
    unit->LoadNextCompartment(false);
    EXPECT_EQ(unit->LHC()->Oddeleni()->ODD(), 3);
    EXPECT_EQ(recorder().messages.size(), 2u);   // the missing codebook, once per run
}

// A compartment returning later in its file or in a later one is listed once; a stand group
// takes the records of its designation however it is spaced.
TEST_F(OldLhpSourceTest, ReturningCompartmentsListOnceAndGroupsMatchTheirDesignation)
{
    write("7.01V", {species(5, 'a', "1a", "SM"), species(5, 'a', "1 a", "BK"), species(5, 'a', "1a", "JD"),
                    species(5, 'a', "2", "DB"), species(2, 'a', "1", "SM"), species(5, 'b', "1", "SM")});
    write("7.02V", {species(2, 'b', "1", "SM"), species(9, 'a', "1", "SM")});
    Owned<TLesniCelek> unit = makeUnit();
    EXPECT_EQ(unit->CompartmentList(), QStringList({"  2", "  5", "  9"}));
    unit->ReloadCompartments();
    TPorost* stand = unit->LHC()->Oddeleni()->Dilec()->Porost();
    ASSERT_EQ(stand->PorostniSkupinaMN()->PocetPrvku(), 2);
    const auto speciesOf = [stand](int group) {
        return dynamic_cast<TPorostniSkupina*>(stand->PorostniSkupinaMN()->Items(group))->Etaz()->DrevinaMN()->PocetPrvku();
    };
    EXPECT_EQ(speciesOf(0), 3);
    EXPECT_EQ(speciesOf(1), 1);
}

TEST_F(OldLhpSourceTest, StandsFollowOwnersWithinASubCompartment)
{
    write("7.01V", {species(1, 'a', "1", "SM", 1), species(1, 'a', "2", "SM", 2), species(1, 'a', "3", "SM", 1)});
    Owned<TLesniCelek> unit = makeUnit();
    run(*unit);
    TDilec* dil = unit->LHC()->Oddeleni()->Dilec();
    ASSERT_EQ(dil->PorostMN()->PocetPrvku(), 2);
    auto* a = dynamic_cast<TPorost*>(dil->PorostMN()->Items(0));
    EXPECT_EQ(a->POR(), "a");
    EXPECT_EQ(a->PorostniSkupinaMN()->PocetPrvku(), 2);
    EXPECT_EQ(dynamic_cast<TPorost*>(dil->PorostMN()->Items(1))->POR(), "b");
    // Organisation levels of different codes, and the category.
    EXPECT_EQ(TJinyPozemek::Org_UrovenMN(a)->PocetPrvku(), 2);
    EXPECT_EQ(TJinyPozemek::KategorieMN(a)->PocetPrvku(), 1);
}

TEST_F(OldLhpSourceTest, SpeciesValuesOperationsAndAfforestation)
{
    write("7.01V", {species(1, 'a', "1", "SM", 1, {{47, "150"}, {46, "3"}, {32, "100"}}),
                    species(1, 'a', "1", "BK", 1, {{47, "0"}, {46, "3"}}),
                    species(1, 'a', "1", "JD", 1, {{47, "50"}, {17, "0"}, {46, "3"}}),
                    species(1, 'a', "2", "", 1, {{18, "0"}, {48, "1"}, {49, "P"}, {50, "30"}, {51, "2"}, {53, "20"}})});
    Owned<TLesniCelek> unit = makeUnit();
    run(*unit);
    TPorost* stand = unit->LHC()->Oddeleni()->Dilec()->Porost();
    auto* g1 = dynamic_cast<TPorostniSkupina*>(stand->PorostniSkupinaMN()->Items(0));
    TEtaz* storey = g1->Etaz();
    EXPECT_EQ(storey->DrevinaMN()->PocetPrvku(), 3);
    EXPECT_EQ(storey->GetPropAsString("PRO_P"), "2");
    EXPECT_EQ(storey->GetPropAsString("PRO_NAL"), "1");
    EXPECT_EQ(storey->GetPropAsInteger("PRO_POC"), 2);
    // Areas that stay zero take no urgency.
    EXPECT_EQ(storey->GetPropAsString("TV_P"), "0");
    EXPECT_EQ(storey->GetPropAsString("TV_NAL"), "");
    EXPECT_EQ(storey->GetPropAsString("TO_DUVOD"), "");
    EXPECT_EQ(storey->DrevinaMN()->Items(0)->GetPropAsInteger("DR_ZAS_HA"), 40);
    EXPECT_EQ(storey->DrevinaMN()->Items(2)->GetPropAsInteger("DR_ZAS_HA"), 0);   // group area 0
    auto* g2 = dynamic_cast<TPorostniSkupina*>(stand->PorostniSkupinaMN()->Items(1));
    EXPECT_EQ(g2->Etaz()->DrevinaMN()->PocetPrvku(), 0);
    EXPECT_EQ(g2->Etaz()->ZalesneniMN()->PocetPrvku(), 2);
    EXPECT_EQ(recorder().messages.size(), 1u) << recorder().messages.back().text.toStdString();
}

TEST_F(OldLhpSourceTest, EveryRecordIsConsumedOnceWhateverFails)
{
    write("7.01V", {species(1, 'a', "1", "SM"), species(1, 'b', "1", "SM"), species(1, 'a', "2", "SM"),
                    species(1, 'a', "3", "BK"), species(1, 'b', "1", "DB"), species(2, 'a', "1", "SM")});
    Owned<TLesniCelek> unit = makeUnit();
    recorder().clear();
    EXPECT_EQ(run(*unit), QStringList({"1:2,2", "2:1,1"}));
    QStringList texts;
    for (const auto& m : recorder().messages)
        texts << m.text;
    // Once for each returning run: "a" and then "b"; their records are skipped.
    EXPECT_EQ(texts.count(QStringLiteral("nelze přidat stejný dílec")), 2);
}

TEST_F(OldLhpSourceTest, StandTextsGoToTheStandWithTheirPrefixes)
{
    QByteArray tlh;
    for (int i = 0; i < 9; ++i) {
        const QByteArray t = i == 1 ? "smrkovy porost" : QByteArray();
        tlh += char(t.size()) + t.leftJustified(88, ' ');
    }
    QFile f(m_dir.filePath("701.tlh"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(tlh);
    f.close();
    write("7.01V", {species(1, 'a', "1", "SM")});
    Owned<TLesniCelek> unit = makeUnit();
    run(*unit);
    const QStringList lines = unit->LHC()->Oddeleni()->Dilec()->Porost()->POR_TEXT()->Lines;
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "Popis porostu: smrkovy porost");
    EXPECT_EQ(lines[1], QString(22, ' '));
}

// Faults of a stand-text file name that file and its records, once for the header load and the
// calculation together, though the list scan and the loading read it both.
TEST_F(OldLhpSourceTest, StandTextFaultsNameTheirFileOnceWithTheCount)
{
    QByteArray tlh;
    for (int i = 0; i < 9; ++i)
        tlh += char(i == 1 ? 200 : 0) + QByteArray(88, 'x');
    QFile f(m_dir.filePath("701.tlh"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(tlh);
    f.close();
    write("7.01V", {species(1, 'a', "1", "SM"), species(1, 'b', "1", "SM"), species(2, 'a', "1", "SM")});
    Owned<TLesniCelek> unit = makeUnit();
    EXPECT_EQ(run(*unit), QStringList({"1:2,2", "2:1,1"}));
    QStringList texts;
    for (const auto& m : recorder().messages)
        texts << m.text;
    const QStringList expected = {
        QStringLiteral("Soubor \"701.tlh\", záznam 2: v souboru textů porostů chybí záznam, texty zůstaly prázdné. "
                       "Takových záznamů: 2."),
        QStringLiteral("Soubor \"701.tlh\", záznam 1: text porostu delší než 88 znaků, čteno 88 znaků."),
        QStringLiteral("Nebudou načteny položky LHP_OD,LHP_DO,LHC_NAZ z číselníku LHC")};
    EXPECT_EQ(texts.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());

    // The next calculation reads the files again and shows their faults once more.
    recorder().clear();
    EXPECT_EQ(run(*unit), QStringList({"1:2,2", "2:1,1"}));
    texts.clear();
    for (const auto& m : recorder().messages)
        if (m.text.startsWith(QStringLiteral("Soubor")))
            texts << m.text;
    EXPECT_EQ(texts, expected.mid(0, 2));
}

// Hostile record files through the whole source: no crash, no hang, every run ends.
TEST_F(OldLhpSourceTest, MutatedFilesLoadWithoutCrashOrHang)
{
    QByteArray seed;
    for (const QByteArray& r : {species(1, 'a', "1", "SM", 1, {{48, "1"}, {50, "20"}, {33, "5"}}), species(1, 'a', "2", "SM", 2),
                                species(1, 'b', "1", "BK", 1, {{18, "0"}, {51, "3"}}), species(2, 'a', "1", "SM")})
        seed += r + "\r\n";
    const std::vector<QByteArray> seeds = {seed};
    test::Mutator mutator(7);
    for (int i = 0; i < 300; ++i) {
        recorder().clear();
        QFile f(m_dir.filePath("7.01V"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(mutator.mutate(seeds, " \r\n0123456789abSM"));
        f.close();
        Owned<TLesniCelek> unit = makeUnit();
        ASSERT_LT(run(*unit).size(), 100) << i;
    }
}

TEST_F(OldLhpSourceTest, EqualOrganisationLevelsMakeTwoElementsSilently)
{
    write("7.01V", {species(1, 'a', "1", "SM", 1, {{6, "11"}, {64, "11"}})});
    Owned<TLesniCelek> unit = makeUnit();
    run(*unit);
    TPorost* stand = unit->LHC()->Oddeleni()->Dilec()->Porost();
    TOrg_UrovenMN* levels = TJinyPozemek::Org_UrovenMN(stand);
    ASSERT_EQ(levels->PocetPrvku(), 2);
    EXPECT_EQ(levels->Items(1)->GetPropAsInteger("ORG_UROVEN"), 11);
    EXPECT_EQ(TJinyPozemek::KategorieMN(stand)->PocetPrvku(), 1);
    ASSERT_EQ(recorder().messages.size(), 1u);   // the missing codebook only
}

// A unit the codebook lacks keeps its record's values (never a neighbour's row); one it holds
// takes its row's.
TEST_F(OldLhpSourceTest, TheHeaderTakesOnlyItsOwnCodebookRow)
{
    QDir().mkpath(m_dir.filePath("ciselnik"));
    const QList<test::FixtureField> fields = {
        {"LHC_KOD", "A", 6}, {"A", "A", 1}, {"LHP_OD", "A", 10}, {"LHP_DO", "A", 10}, {"LHC_NAZ", "A", 40}};
    test::FixtureOptions keyed;
    keyed.keyFields = 2;
    test::writeParadoxTable(m_dir.filePath("ciselnik/SEZLHC00.DB"), fields,
                            {{"6", "", "1.1.1990", "31.12.1999", "Sestka"}, {"8", "", "1.1.2000", "31.12.2009", "Osmicka"}},
                            keyed);
    write("7.01V", {species(1, 'a', "1", "SM")});
    Owned<TLesniCelek> unit = makeUnit();
    run(*unit);
    EXPECT_EQ(unit->LHC()->LHC_NAZ(), QStringLiteral("Ze staré věty :000007  ") + QString(5, ' '));
    EXPECT_EQ(unit->LHC()->GetPropAsString("LHP_DO"), "");
    EXPECT_TRUE(recorder().messages.empty());

    test::writeParadoxTable(m_dir.filePath("ciselnik/SEZLHC00.DB"), fields,
                            {{"6", "", "1.1.1990", "31.12.1999", "Sestka"}, {"7", "", "1.1.2001", "31.12.2010", "Sedmicka"}},
                            keyed);
    run(*unit);
    EXPECT_EQ(unit->LHC()->LHC_NAZ(), "Sedmicka");
    EXPECT_EQ(unit->LHC()->GetPropAsString("LHP_DO"), "31.12.2010");
}

} // namespace
