// Tests of the interchange source: compartment index, merged loading, restarts, faults.
#include "app/sources/ishul/IsHulSource.h"

#include "app/sources/LesniCelek.h"
#include "app/sources/ishul/FileFaults.h"
#include "forest/base/LesniMnozina.h"
#include "forest/codebooks/CiselLumex.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "FstTestSupport.h"
#include "support/Mutator.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace fsttest;

// Counts of the elements of a class below an element.
int countOf(TElement* element, const char* className)
{
    auto* entity = dynamic_cast<TEntity*>(element);
    int n = element->ClassType()->ClassName() == QLatin1String(className) ? 1 : 0;
    if (entity)
        for (int i = 0; i < entity->Count(); ++i)
            n += countOf(entity->Items(i), className);
    return n;
}

class IsHulSourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerClasses();
        recorder().clear();
    }

    void write(const QString& name, const QStringList& columns, const QList<QStringList>& records)
    {
        writeFile(m_dir.filePath(name), dataFile(columns, records));
    }

    // PP with compartments 1, 2, 3 and BZL with 2 and 4.
    void writeSample()
    {
        const QStringList pp = {"LHC_KOD", "ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR", "ZAST", "GEN_KLAS"};
        write("PP.FST", pp,
              {{"123", "1", "a", "1", "1", "1", "SM", "100", "A"},
               {"123", "2", "a", "1", "1", "1", "SM", "60", "A"},
               {"123", "2", "a", "1", "1", "1", "BK", "40", "B"},
               {"123", "3", "b", "1", "1", "1", "DB", "100", "C"}});
        write("BZL.FST", {"ODD", "DIL", "POR", "BZL", "BZL_P"}, {{"2", "c", "1", "1", "0,5"}, {"4", "a", "1", "2", "1"}});
    }

    Owned<TLesniCelek> makeUnit(quint8 kind)
    {
        Owned<TLesniCelek> unit = Create<TLesniCelek>();
        unit->SetAdresarStandardu(m_dir.path());
        unit->setSource(ishul::createIsHulSource(kind, {m_dir.path(), QString()}));
        return unit;
    }

    // One run of the calculation's walk: "ODD:species,bare land" per compartment.
    static QStringList run(TLesniCelek& unit)
    {
        QStringList out;
        unit.ReloadCompartments();
        for (int guard = 0; guard < 100; ++guard) {
            TOddeleni* odd = unit.LHC()->Oddeleni();
            if (odd)
                out << QStringLiteral("%1:%2,%3").arg(odd->ODD()).arg(countOf(odd, "TDrevina")).arg(countOf(odd, "TBezlesi"));
            if (unit.EndOfData())
                break;
            unit.LoadNextCompartment(false);
        }
        return out;
    }

    QTemporaryDir m_dir;
};

TEST_F(IsHulSourceTest, CompartmentsOfBothFilesMergeInOrderAndEachRecordLoadsOnce)
{
    writeSample();
    Owned<TLesniCelek> unit = makeUnit(3);
    unit->LoadHeader();
    EXPECT_EQ(unit->CompartmentList(), QStringList({"  1", "  2", "  3", "  4"}));
    EXPECT_EQ(run(*unit), QStringList({"1:1,0", "2:2,1", "3:1,0", "4:0,1"}));
    EXPECT_EQ(unit->LHC()->LHC_KOD(), 123);
    EXPECT_EQ(unit->LHC()->PUVOD_DAT(), "IS 97");
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(IsHulSourceTest, ASecondRunGivesTheSameAndReusesTheIndex)
{
    writeSample();
    Owned<TLesniCelek> unit = makeUnit(3);
    unit->LoadHeader();
    const QStringList first = run(*unit);
    EXPECT_EQ(run(*unit), first);
    EXPECT_EQ(dynamic_cast<ishul::IsHulSource*>(unit->source())->indexBuilds(), 1);
    // A load after the end gives nothing and says nothing.
    unit->LoadNextCompartment(false);
    EXPECT_EQ(unit->LHC()->Oddeleni()->ODD(), 4);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(IsHulSourceTest, CompartmentNumbersWithBlanksAreOneCompartment)
{
    write("PP.FST", {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR"},
          {{"12", "a", "1", "1", "1", "SM"}, {"12 ", "a", "1", "1", "1", "BK"}, {" 13", "a", "1", "1", "1", "BK"}});
    Owned<TLesniCelek> unit = makeUnit(3);
    unit->LoadHeader();
    EXPECT_EQ(unit->CompartmentList(), QStringList({" 12", " 13"}));
    EXPECT_EQ(run(*unit), QStringList({"12:2,0", "13:1,0"}));
}

TEST_F(IsHulSourceTest, ARecordThatFailsAConversionIsReportedAndSkipped)
{
    write("PP.FST", {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR", "HS"},
          {{"1", "a", "1", "1", "1", "SM", "11"}, {"1", "a", "1", "1", "1", "BK", "1x"}, {"1", "a", "1", "1", "1", "DB", "2"}});
    Owned<TLesniCelek> unit = makeUnit(3);
    unit->LoadHeader();
    EXPECT_EQ(run(*unit), QStringList({"1:2,0"}));
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text,
              FileFaults::message(FileFault::BadValue, "PP.FST", 13, 1, "sloupec HS, hodnota \"1x\" není celé číslo"));
}

// The header load, the index pass and every start read the files again: each fault of a file is
// still shown once, with the count of its lines, until the file changes.
TEST_F(IsHulSourceTest, EachFaultOfAFileIsShownOnceWithItsCount)
{
    const QString longName(2100, QLatin1Char('x'));
    write("PP.FST", {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR", "PSK_TEXT"},
          {{"1", "a", "1", "1", "1", "SM", longName}, {"2", "a", "1", "1", "1", "BK", "kratky"},
           {"3", "a", "1", "1", "1", "DB", longName}});
    writeFile(m_dir.filePath("BZL.FST"), QByteArray());
    Owned<TLesniCelek> unit = makeUnit(3);
    unit->LoadHeader();
    const QStringList once = {FileFaults::message(FileFault::Header, "BZL.FST", 1, 1, QStringLiteral("soubor končí v hlavičce")),
                              FileFaults::message(FileFault::ValueTooLong, "PP.FST", 12, 2, QString())};
    // Header load and first calculation are one run; each later calculation shows its faults again.
    for (int calculation = 0; calculation < 2; ++calculation) {
        recorder().clear();
        EXPECT_EQ(run(*unit), QStringList({"1:1,0", "2:1,0", "3:1,0"}));
        QStringList texts;
        for (const auto& m : recorder().messages)
            texts << m.text;
        if (calculation == 0)
            EXPECT_EQ(texts, QStringList({once[1]}));
        else
            EXPECT_EQ(texts, once);
        EXPECT_TRUE(texts.last().endsWith(QStringLiteral(" Takových řádků: 2.")));
    }

    // A changed file is a new file: its faults are shown again.
    recorder().clear();
    write("PP.FST", {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR", "PSK_TEXT"},
          {{"1", "a", "1", "1", "1", "SM", longName}, {"2", "a", "1", "1", "1", "BK", "jiny"}});
    EXPECT_EQ(run(*unit), QStringList({"1:1,0", "2:1,0"}));
    ASSERT_EQ(recorder().messages.size(), 2u);
    EXPECT_EQ(recorder().messages[1].text, FileFaults::message(FileFault::ValueTooLong, "PP.FST", 12, 1, QString()));
}

// A codebook or owner file that leaves its set empty is read at every start; its fault is
// still shown once.
TEST_F(IsHulSourceTest, FaultsOfCodebooksAndOwnersAreShownOnce)
{
    writeSample();
    writeFile(m_dir.filePath("Cis_051.FST"), QByteArray());
    writeFile(m_dir.filePath("Maj.FST"), QByteArray());
    Owned<TLesniCelek> unit = makeUnit(4);
    unit->LoadHeader();
    run(*unit);
    QStringList texts;
    for (const auto& m : recorder().messages)
        texts << m.text;
    const QString ends = QStringLiteral("soubor končí v hlavičce");
    const QStringList expected = {FileFaults::message(FileFault::CodebookHeader, "Cis_051.FST", 1, 1, ends),
                                  FileFaults::message(FileFault::Header, "Maj.FST", 1, 1, ends)};
    EXPECT_EQ(texts.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
    EXPECT_EQ(texts.value(0), QStringLiteral("Soubor \"Cis_051.FST\", řádek 1: chybná hlavička číselníku "
                                             "(soubor končí v hlavičce), číselník nenačten."));
}

TEST_F(IsHulSourceTest, AnUnsortedFileIsReported)
{
    write("PP.FST", {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR"},
          {{"1", "a", "1", "1", "1", "SM"}, {"2", "a", "1", "1", "1", "BK"}, {"1", "b", "1", "1", "1", "DB"}});
    Owned<TLesniCelek> unit = makeUnit(3);
    unit->LoadHeader();
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_TRUE(recorder().messages[0].text.contains(QStringLiteral("není seřazen")));
    // Nothing is lost: the returning compartment is loaded once more.
    EXPECT_EQ(run(*unit), QStringList({"1:1,0", "2:1,0", "1:1,0"}));
}

TEST_F(IsHulSourceTest, AMissingDirectoryIsReportedAndLoadsNothing)
{
    Owned<TLesniCelek> unit = Create<TLesniCelek>();
    unit->SetAdresarStandardu(m_dir.filePath("none"));
    unit->setSource(ishul::createIsHulSource(4, {m_dir.filePath("none"), QString()}));
    unit->LoadHeader();
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("Adresář ISHÚL \"%1\" neexistuje.").arg(m_dir.filePath("none")));
    EXPECT_TRUE(unit->EndOfData());
}

TEST_F(IsHulSourceTest, Variant98ReadsTheHeaderCodebooksAndOwners)
{
    writeSample();
    write("LHC.FST", {"LHC_KOD", "LHC_NAZ", "LHP_OD"}, {{"456", "Žďár", "2005"}});
    write("Maj.FST", {"MAJ_KOD", "MAJ_NAZ"}, {{"15", "Obec Čáslav"}});
    writeFile(m_dir.filePath("Cis_051.FST"), Cp1250::encode(QStringLiteral("HS\r\n2\r\nCISLO_HS\r\nNAZEV_HS\r\n;\r\n2\r\n1;první\r\n2;druhý\r\n")));
    Owned<TLesniCelek> unit = makeUnit(4);
    unit->LoadHeader();
    EXPECT_EQ(unit->LHC()->LHC_NAZ(), "Zdar");
    EXPECT_EQ(unit->LHC()->PUVOD_DAT(), "IS 98");
    EXPECT_EQ(unit->LHC()->LHC_KOD(), 123);   // PP.FST's own column comes later
    TCiselLumex* root = unit->CiselLumex();
    ASSERT_EQ(root->CisHsMN()->PocetPrvku(), 2);
    EXPECT_EQ(root->CisHsMN()->Items(1)->GetPropAsString("NAZEV_HS"), "druhy");
    EXPECT_EQ(root->CisHsMN()->Items(1)->GetPropAsInteger("CISLO_HS"), 2);
    ASSERT_EQ(root->MajetkyMN()->PocetPrvku(), 1);
    EXPECT_EQ(root->MajetkyMN()->Items(0)->GetPropAsString("MAJ_NAZ_C"), "Obec Caslav");
    run(*unit);
    EXPECT_EQ(root->CisHsMN()->PocetPrvku(), 2);   // filled only while empty
}

// Hostile files through the whole source: no crash, no hang, every run ends.
TEST_F(IsHulSourceTest, MutatedFilesLoadWithoutCrashOrHang)
{
    const QStringList columns = {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR", "ZAST", "ZAL_DR", "ZAL_P", "ZAL_DR_P",
                                 "POSKOZ_D", "POSKOZ_R", "KATEGORIE", "MZD", "HS", "PSK_TEXT", "ETAZ_TEXT"};
    QList<QStringList> records;
    for (int i = 0; i < 12; ++i)
        records << QStringList{QString::number(i / 4 + 1), "a", "1", QString::number(i % 2 + 1), "1", i % 3 ? "SM" : "",
                               "50", "SM/BK", "0,5", "60/40", "3/5", "2/1", "1/2", "", "1", "Čáp", "Žluť"};
    const std::vector<QByteArray> seeds = {dataFile(columns, records)};
    const std::vector<QByteArray> bareSeeds = {dataFile({"ODD", "DIL", "POR", "BZL", "BZL_P"}, {{"2", "a", "1", "1", "1"}})};
    test::Mutator mutator(4);
    for (int i = 0; i < 300; ++i) {
        recorder().clear();
        writeFile(m_dir.filePath("PP.FST"), mutator.mutate(seeds, "|/,\r\n0123456789aSM "));
        writeFile(m_dir.filePath("BZL.FST"), mutator.mutate(bareSeeds, "|/\r\n0123"));
        Owned<TLesniCelek> unit = makeUnit(3);
        unit->LoadHeader();
        const QStringList compartments = run(*unit);
        ASSERT_LT(compartments.size(), 100) << i;
    }
}

} // namespace

TEST_F(IsHulSourceTest, EveryRecordShowsItsKeysQuotedBeforeAndWhileLoading)
{
    writeSample();
    write("JP.FST", {"ODD", "DIL", "POR", "JP"}, {{"2", "", "", "7"}});
    Owned<TLesniCelek> unit = makeUnit(SourceKinds::IsHul97);
    unit->ReloadCompartments();
    recorder().clear();
    unit->LoadNextCompartment(false);
    QStringList loading;
    for (const QString& text : recorder().statusTexts)
        if (text.contains(QLatin1Char('"')))
            loading << text;
    EXPECT_EQ(loading.join(QLatin1Char('\n')).toStdString(), QStringList({"Z IS HÚL nastavuju PP \"2,a,1,1,1,SM\"", "Z IS HÚL načítám PP \"2,a,1,1,1,SM\"",
                                    "Z IS HÚL nastavuju PP \"2,a,1,1,1,BK\"", "Z IS HÚL načítám PP \"2,a,1,1,1,BK\"",
                                    "Z IS HÚL nastavuju BZL\"2,c,1,Bezlesi \"1\"\"",
                                    "Z IS HÚL načítám BZL\"2,c,1,Bezlesi \"1\"\"",
                                    "Z IS HÚL nastavuju JINY POZ \"2,,,JINY \"7\"\"",
                                    "Z IS HÚL načítám JINY POZ \"2,,,JINY \"7\"\""})
                                       .join(QLatin1Char('\n'))
                                       .toStdString());
}

// A receiver that keeps its own copy of each status text sees the texts one that shares them sees.
TEST_F(IsHulSourceTest, StatusTextsAreTheSameWhetherTheReceiverSharesThemOrNot)
{
    struct CopyingServices : ui::RecordingServices {
        void setStatusText(const QString& text) override { statusTexts.append(QString(text.constData(), text.size())); }
    };
    writeSample();
    write("JP.FST", {"ODD", "DIL", "POR", "JP"}, {{"2", "", "", "7"}, {"2", "", "", "12"}});
    QStringList seen[2];
    ui::Services& shared = ui::services();
    CopyingServices copying;
    for (int copies = 0; copies < 2; ++copies) {
        ui::setServices(copies ? &copying : &shared);
        Owned<TLesniCelek> unit = makeUnit(SourceKinds::IsHul97);
        unit->ReloadCompartments();
        auto& texts = static_cast<ui::RecordingServices&>(ui::services()).statusTexts;
        texts.clear();
        unit->LoadNextCompartment(false);
        seen[copies] = texts;
    }
    ui::setServices(&shared);
    EXPECT_EQ(seen[1].join(QLatin1Char('\n')).toStdString(), seen[0].join(QLatin1Char('\n')).toStdString());
    EXPECT_TRUE(seen[1].contains(QStringLiteral("Z IS HÚL načítám JINY POZ \"2,,,JINY \"12\"\"")));
}
