// Tests of the record importer: position and data passes, file kinds, conversions.
#include "app/sources/ishul/FstImporter.h"

#include "app/sources/ishul/FstDataReader.h"
#include "app/support/ModelDump.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "forest/hierarchy/Poskozeni.h"
#include "forest/hierarchy/Zalesneni.h"
#include "FstTestSupport.h"
#include "platform/Exceptions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace fsttest;

class FstImporterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerClasses();
        recorder().clear();
        header = Create<TLHC>();
    }

    // Reads every record of the file and applies both passes (only the position pass for LHC).
    void import(const QString& kind, const QStringList& columns, const QList<QStringList>& records)
    {
        const QString path = m_dir.filePath(kind);
        writeFile(path, dataFile(columns, records));
        auto reader = TPrenasecZeStandarduData::CreateOn(path);
        importer = Create<TImportStandardPP_FST>();
        importer->setHeader(header.get());
        importer->SetJmenoTextFile(kind);
        importer->SetOddelovac(reader->OddelovacMeziNasobnymiHodnotami());
        importer->SetPUVOD_DAT_PP("IS 97");
        while (true) {
            reader->ReadRecord();
            if (reader->Konec())
                break;
            importer->ApplyRecord(reader.get(), kind == "LHC.FST");
        }
    }

    // The model the records build, record by record, inside one run (repeated writes skipped)
    // or not; a record a conversion refuses is dropped part-way, as the source does.
    QStringList build(const QString& kind, const QStringList& columns, const QList<QStringList>& records, bool inRun)
    {
        const QString path = m_dir.filePath(kind);
        writeFile(path, dataFile(columns, records));
        auto reader = TPrenasecZeStandarduData::CreateOn(path);
        Owned<TLHC> lhc = Create<TLHC>();
        auto run = Create<TImportStandardPP_FST>();
        run->setHeader(lhc.get());
        run->SetJmenoTextFile(kind);
        run->SetOddelovac(reader->OddelovacMeziNasobnymiHodnotami());
        run->SetPUVOD_DAT_PP("IS 97");
        if (inRun)
            run->BeginRun();
        for (reader->ReadRecord(); !reader->Konec(); reader->ReadRecord()) {
            try {
                run->ApplyRecord(reader.get());
            } catch (const Exception&) {   // NOLINT(bugprone-empty-catch): the record is dropped
            }
        }
        run->EndRun();
        return testapp::dumpModel(lhc.get());
    }

    TEtaz* storey() { return header->AktualniEtazVzdy(); }
    TDrevinaMN* speciesSet() { return storey()->DrevinaMN(); }

    Owned<TLHC> header;
    Owned<TImportStandardPP_FST> importer;
    QTemporaryDir m_dir;
};

const QStringList standColumns = {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR", "ZAST", "GEN_KLAS"};

TEST_F(FstImporterTest, KeysBuildTheLevelsAndEverySpeciesRecordAddsOne)
{
    import("PP.FST", standColumns,
           {{"12", "a", "1", "1a", "1", "SM", "60", "A"},
            {"12", "a", "1", "1a", "1", "SM", "40", "B"},
            {"12", "a", "1", "1a", "1", "", "99", "C"}});
    TOddeleni* odd = header->Oddeleni();
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->ODD(), 12);
    EXPECT_EQ(odd->Dilec()->DIL(), "a");
    EXPECT_EQ(odd->Dilec()->Porost()->POR(), "1");
    EXPECT_EQ(speciesSet()->PocetPrvku(), 2);   // the empty DR_ZKR adds none, changes none
    const auto* second = dynamic_cast<TDrevina*>(speciesSet()->Items(1));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(const_cast<TDrevina*>(second)->GetPropAsInteger("ZAST"), 40);
    EXPECT_EQ(const_cast<TDrevina*>(second)->GetPropAsString("GEN_KLAS"), "B");
    EXPECT_EQ(storey()->Drevina(), nullptr);
}

TEST_F(FstImporterTest, AKeyBeforeTheKeysAboveItSelectsInTheElementsChosenBefore)
{
    // The group key of the second record still selects in stand 1; stand 2, chosen after it,
    // gets the storey and the species in a group of its own.
    import("PP.FST", {"ODD", "PSK", "POR", "DIL", "ETAZ", "DR_ZKR"},
           {{"4", "1", "1", "a", "1", "SM"}, {"4", "1", "2", "a", "1", "BK"}});
    EXPECT_EQ(header->AktualniPorostVzdy()->POR(), "2");
    ASSERT_EQ(speciesSet()->PocetPrvku(), 1);
    EXPECT_EQ(speciesSet()->Items(0)->GetPropAsString("DR_ZKR"), "BK");
}

TEST_F(FstImporterTest, OtherLandWithoutStandOrSubCompartmentGetsDashes)
{
    import("JP.FST", {"ODD", "DIL", "POR", "JP", "MAJ_KOD", "DRUH_POZ"}, {{"3", "", "", "7", "15", "X"}});
    TDilec* dil = header->Oddeleni()->Dilec();
    EXPECT_EQ(dil->DIL(), "-");
    EXPECT_EQ(dil->Porost()->POR(), "-");
    TJinyPozemek* jp = dil->Porost()->JinyPozemek();
    ASSERT_NE(jp, nullptr);
    EXPECT_EQ(jp->GetPropAsInteger("JP"), 7);
    EXPECT_EQ(jp->GetPropAsInteger("MAJ_KOD_JP"), 15);
    EXPECT_EQ(jp->GetPropAsString("DRUH_POZ"), "X");
}

TEST_F(FstImporterTest, OwnerColumnsGoWhereTheFileKindSays)
{
    import("BZL.FST", {"ODD", "DIL", "POR", "BZL", "MAJ_KOD", "KU_KOD"}, {{"3", "a", "1", "2", " 15 ", "700"}});
    TPorost* stand = header->Oddeleni()->Dilec()->Porost();
    EXPECT_EQ(stand->Bezlesi()->GetPropAsInteger("MAJ_KOD_BZL"), 15);
    EXPECT_EQ(stand->Bezlesi()->GetPropAsInteger("KU_KOD_BZL"), 700);
    EXPECT_EQ(stand->GetPropAsInteger("MAJ_KOD"), 0);

    header = Create<TLHC>();
    import("PP.FST", {"ODD", "DIL", "POR", "PSK", "MAJ_KOD", "KU_KOD"}, {{"3", "a", "1", "1", "16", "701"}});
    stand = header->Oddeleni()->Dilec()->Porost();
    EXPECT_EQ(stand->GetPropAsInteger("MAJ_KOD"), 16);
    EXPECT_EQ(stand->PorostniSkupina()->GetPropAsInteger("KU_KOD"), 701);
}

TEST_F(FstImporterTest, AfforestationPartsMakeOneItemEachAndShareAnEarlierKind)
{
    import("PP.FST", {"ODD", "DIL", "POR", "PSK", "ETAZ", "ZAL_DRUH", "ZAL_DR", "ZAL_P", "ZAL_DR_P"},
           {{"1", "a", "1", "1", "1", "P", "SM/BK", "0,001", "0"}});
    TZalesneniMN* set = storey()->ZalesneniMN();
    ASSERT_EQ(set->PocetPrvku(), 2);
    for (int i = 0; i < 2; ++i) {
        auto* item = dynamic_cast<TZalesneni*>(set->Items(i));
        EXPECT_EQ(item->GetPropAsString("ZAL_DRUH"), "P");
        EXPECT_EQ(item->GetPropAsString("ZAL_P"), "0");
    }
    EXPECT_EQ(dynamic_cast<TZalesneni*>(set->Items(1))->GetPropAsString("ZAL_DR"), "BK");
}

TEST_F(FstImporterTest, DamageDegreeIsStoredTenfold)
{
    import("PP.FST", {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR", "POSKOZ_D", "POSKOZ_R"},
           {{"1", "a", "1", "1", "1", "SM", "5", "3"}});
    TPoskozeniMN* set = storey()->Drevina()->PoskozeniMN();
    ASSERT_EQ(set->PocetPrvku(), 1);
    EXPECT_EQ(set->Items(0)->GetPropAsInteger("POSKOZ_R"), 30);
    EXPECT_EQ(set->Items(0)->GetPropAsInteger("POSKOZ_D"), 5);
}

TEST_F(FstImporterTest, TextsLoseDiacriticsButTheJoiningWordKeepsThem)
{
    import("PP.FST", {"ODD", "DIL", "POR", "PSK", "PSK_TEXT", "ETAZ_TEXT", "POR_TEXT", "LHC_NAZ"},
           {{"1", "a", "1", "1", "Žlutý", "Čáp", "Řeka", "Úvaly"}, {"1", "a", "1", "1", "x", "y", "druhý", "z"}});
    TPorost* stand = header->AktualniPorostVzdy();
    EXPECT_EQ(stand->PorostniSkupina()->GetPropAsString("PSK_TEXT"), QString::fromUtf8("x ETÁŽ: y"));
    EXPECT_EQ(stand->POR_TEXT()->Lines, QStringList({"Reka"}));   // only the first text
    EXPECT_EQ(header->LHC_NAZ(), "z");
}

TEST_F(FstImporterTest, HeaderColumnsConvertByTheirRules)
{
    import("LHC.FST", {"LHC_KOD", "LHP_OD", "ETAT_TO", "TEZ_PROC", "MVYCH_DO40"}, {{"1a2b3", "2001", "x4", " 7 ", "1,5"}});
    EXPECT_EQ(header->LHC_KOD(), 123);
    EXPECT_EQ(header->PUVOD_DAT(), "IS 97");
    EXPECT_EQ(header->GetPropAsString("LHP_OD"), "2001");
    EXPECT_EQ(header->GetPropAsInteger("ETAT_TO"), 4);
    EXPECT_EQ(header->GetPropAsInteger("TEZ_PROC"), 7);
    EXPECT_EQ(header->GetPropAsString("MVYCH_DO40"), "1,5");
}

// Within a run the unit code is not written again, but a new origin of the data still reaches
// the header with the next record.
TEST_F(FstImporterTest, ANewOriginWithinARunIsWrittenWithTheSameUnitCode)
{
    const QString path = m_dir.filePath("PP.FST");
    writeFile(path, dataFile({"LHC_KOD", "ODD"}, {{"12", "1"}, {"12", "1"}}));
    auto reader = TPrenasecZeStandarduData::CreateOn(path);
    importer = Create<TImportStandardPP_FST>();
    importer->setHeader(header.get());
    importer->SetJmenoTextFile("PP.FST");
    importer->SetPUVOD_DAT_PP("IS 97");
    importer->BeginRun();
    reader->ReadRecord();
    importer->ApplyRecord(reader.get());
    EXPECT_EQ(header->PUVOD_DAT(), "IS 97");
    importer->SetPUVOD_DAT_PP("IS 98");
    reader->ReadRecord();
    importer->ApplyRecord(reader.get());
    importer->EndRun();
    EXPECT_EQ(header->PUVOD_DAT(), "IS 98");
}

TEST_F(FstImporterTest, EmptyFellingPercentKeepsTheComputedOneAndEmptyMzdIsMinusOne)
{
    const QStringList columns = {"ODD", "DIL", "POR", "PSK", "ETAZ", "OBMYTI", "OBN_DOBA", "VEK", "MZD"};
    import("PP.FST", columns, {{"1", "a", "1", "1", "1", "100", "20", "100", ""}});
    const qint32 computed = storey()->M_TEZ_PROC();
    EXPECT_EQ(storey()->GetPropAsString("MZDs"), "");
    EXPECT_NE(computed, 0);
    for (const QString& value : {QString(), QStringLiteral(" "), QStringLiteral("0")}) {
        header = Create<TLHC>();
        import("PP.FST", columns + QStringList{"M_TEZ_PROC"}, {{"1", "a", "1", "1", "1", "100", "20", "100", "", value}});
        EXPECT_EQ(storey()->M_TEZ_PROC(), value == "0" ? 0 : computed) << value.toStdString();
    }
}

TEST_F(FstImporterTest, AnIntegerColumnWithALetterIsFoundBeforeAnythingChanges)
{
    const QString path = m_dir.filePath("PP.FST");
    writeFile(path, dataFile({"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR", "ZAST", "HS"},
                             {{"1", "a", "1", "1", "1", "", "x", "12"}, {"1", "a", "1", "1", "1", "SM", "x", "1"},
                              {"1", "a", "1", "1", "1", "SM", "5", "1x"}}));
    auto reader = TPrenasecZeStandarduData::CreateOn(path);
    importer = Create<TImportStandardPP_FST>();
    importer->setHeader(header.get());
    importer->SetJmenoTextFile("PP.FST");
    reader->ReadRecord();
    EXPECT_EQ(importer->InvalidColumn(reader.get()), "");   // no species: ZAST is not read
    reader->ReadRecord();
    EXPECT_EQ(importer->InvalidColumn(reader.get()), "ZAST");
    reader->ReadRecord();
    EXPECT_EQ(importer->InvalidColumn(reader.get()), "HS");
    EXPECT_THROW(importer->ApplyRecord(reader.get()), EConvertError);
    EXPECT_EQ(importer->CurrentColumn(), "HS");

    // A file of no owner kind writes no owner columns, so their values are no fault.
    const QString other = m_dir.filePath("LHC.FST");
    writeFile(other, dataFile({"MAJ_KOD", "TEZ_PROC"}, {{"x", "5"}, {"x", "y"}}));
    auto lhc = TPrenasecZeStandarduData::CreateOn(other);
    importer->SetJmenoTextFile("LHC.FST");
    lhc->ReadRecord();
    EXPECT_EQ(importer->InvalidColumn(lhc.get()), "");
    lhc->ReadRecord();
    EXPECT_EQ(importer->InvalidColumn(lhc.get()), "TEZ_PROC");
}

// Whole-number columns read plain digits directly and everything else through the blank-removing
// conversion: both give what that conversion gives, and refuse what it refuses.
TEST_F(FstImporterTest, WholeNumbersOfEveryFormReadAsTheConversionGives)
{
    const QStringList columns = {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR", "VYSKA"};
    const QList<std::pair<QString, qint32>> accepted = {
        {"007", 7}, {"123456789", 123456789}, {"2147483647", 2147483647}, {" 1 2 ", 12}, {"", 0}, {"-5", -5}, {"0", 0}};
    for (const auto& [text, number] : accepted) {
        header = Create<TLHC>();
        import("PP.FST", columns, {{"1", "a", "1", "1", "1", "SM", text}});
        EXPECT_EQ(storey()->Drevina()->VYSKA(), number) << text.toStdString();
    }
    const QString path = m_dir.filePath("PP.FST");
    writeFile(path, dataFile(columns, {{"1", "a", "1", "1", "1", "SM", "2147483648"}, {"1", "a", "1", "1", "1", "SM", "1e3"}}));
    auto reader = TPrenasecZeStandarduData::CreateOn(path);
    importer = Create<TImportStandardPP_FST>();
    importer->setHeader(header.get());
    importer->SetJmenoTextFile("PP.FST");
    for (int i = 0; i < 2; ++i) {
        reader->ReadRecord();
        EXPECT_EQ(importer->InvalidColumn(reader.get()), "VYSKA") << i;
    }
}

} // namespace

// Records that repeat their stand, group and storey build inside a run exactly the model they
// build record by record: values changing within a storey, keys coming back to an earlier group,
// a record refused part-way, unnamed other land, keys out of their order and a column given twice.
TEST_F(FstImporterTest, ARunSkipsOnlyWritesThatChangeNothing)
{
    const QStringList columns = {"LHC_KOD", "ODD", "DIL", "TEZ_PROC", "POR", "PSK", "ETAZ", "SDR_POR", "KATEGORIE",
                                 "PSK_P", "KVAL_P", "HS", "MZD", "M_TEZ_PROC", "DR_ZKR", "ZAST", "MAJ_KOD"};
    const QList<QStringList> records = {
        {"12", "1", "A", "5", "1", "1", "1", "x", "10/20", "0,5", "1", "11", "3", "", "SM", "60", "2"},
        {"12", "1", "A", "5", "1", "1", "1", "x", "10/20", "0,5", "1", "11", "3", "", "BK", "40", "2"},
        {"12", "1", "A", "5", "1", "1", "1", "x", "10", "0,5", "1", "12", " 4", "5", "DB", "10", "2"},
        {"13", "1", "A", "5", "1", "1", "1", "x", "10", "0,5", "1", "11", "4", "", "JD", "10", "2"},
        {"12", "1", "A", "5", "1", "1", "2", "x", "10", "0,5", "2", "11", "4", "", "SM", "100", "3"},
        {"12", "1", "A", "5", "1", "2", "1", "y", "30/40", "0,7", "2", "11", "", "", "SM", "100", "3"},
        {"12", "1", "A", "5", "2", "1", "1", "y", "30/40", "0,5", "2", "13", "", "", "BK", "5", "3"},
        {"12", "1", "A", "5", "1", "1", "1", "y", "30/40", "0,5", "2", "13", "", "", "JD", "5", "3"},
        {"12", "1", "B", "5", "2", "1", "1", "y", "30/40", "0,5", "2", "13", "5", "", "BK", "5", "3"},
        {"12", "1", "A", "q", "1", "1", "1", "y", "30/40", "0,5", "2", "13", "5", "", "BK", "5", "3"},
        {"12", "1", "A", "5", "2", "1", "1", "y", "30/40", "0,5", "2", "13", "x", "", "SM", "5", "3"},
        {"12", "1", "A", "5", "2", "1", "1", "z", "50", "0,5", "2", "13", "5", "", "", "q", "3"},
        {"12", "1", "A", "5", "2", "1", "1", "z", "50", "0,5", "2", "13", "6", "", "SM", "7", "3"},
    };
    EXPECT_EQ(build("PP.FST", columns, records, true), build("PP.FST", columns, records, false));

    const QStringList otherLand = {"ODD", "JP", "DIL", "POR", "MAJ_KOD", "JP_P"};
    const QList<QStringList> lands = {{"3", "7", "", "", "15", "1"}, {"3", "8", "", "", "15", "1"},
                                      {"3", "9", "a", "", "15", "2"}, {"3", "9", "a", "", "15", "2"}};
    EXPECT_EQ(build("JP.FST", otherLand, lands, true), build("JP.FST", otherLand, lands, false));

    const QStringList unordered = {"ODD", "PSK", "POR", "DIL", "ETAZ", "HS", "DR_ZKR"};
    const QList<QStringList> mixed = {{"4", "1", "1", "a", "1", "10", "SM"}, {"4", "1", "2", "a", "1", "10", "SM"},
                                      {"4", "1", "2", "a", "1", "10", "BK"}, {"4", "1", "1", "a", "1", "10", "SM"}};
    EXPECT_EQ(build("PP.FST", unordered, mixed, true), build("PP.FST", unordered, mixed, false));

    const QStringList twice = {"ODD", "DIL", "POR", "PSK", "ETAZ", "HS", "DR_ZKR", "HS"};
    const QList<QStringList> both = {{"5", "a", "1", "1", "1", "11", "SM", "12"}, {"5", "a", "1", "1", "1", "13", "BK", "12"}};
    EXPECT_EQ(build("PP.FST", twice, both, true), build("PP.FST", twice, both, false));
}
