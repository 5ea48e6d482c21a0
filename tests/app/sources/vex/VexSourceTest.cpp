// Tests of the sibling-database source: header, compartment list, walk to the end, failures.
#include "app/sources/vex/VexSource.h"
#include "app/sources/vex/VexFixture.h"

#include "forest/codebooks/Ciselnik.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"

namespace vextest {
namespace {

using vex::Version;

samples::UnitOptions options(Version version, int compartments)
{
    samples::UnitOptions o;
    o.version = version;
    o.compartments = compartments;
    o.seed = 7;
    o.lhcRow = version == Version::V98 ? 1 : 0;
    return o;
}

class VexSource97 : public VexUnitTest {};
class VexSource98 : public VexUnitTest {};

TEST_F(VexSource97, ReadsHeaderListAndEveryCompartmentOnce)
{
    makeUnit(options(Version::V97, 12));
    source().loadHeader(*unit);
    TLHC* header = vex::unitHeader(*unit);
    EXPECT_EQ(header->GetPropAsInteger(QStringLiteral("LHC_KOD")), 612501) << messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(header->GetPropAsString(QStringLiteral("PUVOD_DAT")), QStringLiteral("VEX 97"));
    EXPECT_EQ(header->GetPropAsString(QStringLiteral("LHC_NAZ")), QStringLiteral("Nové Veselí"));
    EXPECT_EQ(unit->JakBylNacten(), QStringLiteral("Vex97-Paradox"));
    EXPECT_EQ(unit->AdresarStandardu(), dataDir());

    const QStringList list = source().buildCompartmentList(*unit);
    ASSERT_EQ(list.size(), 12);
    EXPECT_EQ(list.first(), QStringLiteral("  1"));
    EXPECT_EQ(list[2], QStringLiteral("  3"));   // padded, so the text order is the numeric order
    EXPECT_EQ(list.last(), QStringLiteral(" 12"));

    EXPECT_EQ(loadAll(), QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_TRUE(messageTexts().isEmpty()) << messageTexts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(VexSource97, NothingIsLoadedAfterTheEndOfTheData)
{
    makeUnit(options(Version::V97, 2));
    loadAll();
    TOddeleni* last = current();
    ASSERT_NE(last, nullptr);
    ASSERT_TRUE(source().endOfData());
    EXPECT_FALSE(source().loadNextCompartment(*unit));
    EXPECT_EQ(current(), last);
    EXPECT_EQ(last->ODD(), 2);
    // A restart begins again at the first compartment.
    ASSERT_TRUE(source().loadFirstCompartment(*unit));
    EXPECT_EQ(current()->ODD(), 1);
}

TEST_F(VexSource97, CodebooksComeFromTheProgramsDirectory)
{
    makeUnit(options(Version::V97, 1));
    source().loadHeader(*unit);
    db::Table* lt = vex::unitCodebooks(*unit)->Table(Codebook::Tb_LT);
    ASSERT_NE(lt, nullptr);
    EXPECT_TRUE(lt->filePath().startsWith(programDir + QStringLiteral("/ciselnik"), Qt::CaseInsensitive))
        << lt->filePath().toStdString();
    EXPECT_NE(vex::unitCodebooks(*unit)->Table(Codebook::tb_Majetky), nullptr);
}

TEST_F(VexSource97, ARepeatedSubCompartmentIsSkippedSilently)
{
    makeUnit(options(Version::V97, 7));
    loadAll();
    TOddeleni* seventh = current();
    ASSERT_EQ(seventh->ODD(), 7);
    int a = 0;
    for (int i = 0; i < seventh->DilecMN()->Count(); ++i)
        a += seventh->DilecMN()->Items(i)->GetPropAsString(QStringLiteral("Name")) == QStringLiteral("DIL A") ? 1 : 0;
    EXPECT_EQ(a, 1);
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(VexSource97, AMissingTableIsToldOnceByNameAndYieldsNothing)
{
    makeUnit(options(Version::V97, 2));
    QFile::remove(dataTable(QStringLiteral("DREVINA.DB")));
    source().loadHeader(*unit);
    EXPECT_TRUE(source().buildCompartmentList(*unit).isEmpty());
    EXPECT_FALSE(source().loadFirstCompartment(*unit));
    EXPECT_TRUE(source().endOfData());
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_TRUE(recorder().messages[0].text.contains(QStringLiteral("DREVINA.DB"))) << recorder().messages[0].text.toStdString();
}

TEST_F(VexSource97, AnUnreadableRowNamesItsTableAndTheNextCompartmentStillLoads)
{
    makeUnit(options(Version::V97, 3));
    // An owner code beyond 32 bits cannot be read as the stand's integer.
    editTable(QStringLiteral("POROST.DB"), [](QList<QVariantList>& rows, const db::FieldDefs&) { rows[0][8] = 1e12; });
    EXPECT_THROW(
        {
            try {
                source().loadFirstCompartment(*unit);
            } catch (const Exception& e) {
                EXPECT_TRUE(e.message().contains(QStringLiteral("POROST.DB"))) << e.message().toStdString();
                throw;
            }
        },
        Exception);
    ASSERT_FALSE(source().endOfData());
    ASSERT_TRUE(source().loadNextCompartment(*unit));
    EXPECT_EQ(current()->ODD(), 2);
}

TEST_F(VexSource98, ReadsTheVersion98HeaderAndEveryCompartment)
{
    makeUnit(options(Version::V98, 10));
    source().loadHeader(*unit);
    TLHC* header = vex::unitHeader(*unit);
    EXPECT_EQ(header->GetPropAsInteger(QStringLiteral("LHC_KOD")), 612502);
    EXPECT_EQ(header->GetPropAsString(QStringLiteral("PUVOD_DAT")), QStringLiteral("VEX 98 B"));
    EXPECT_EQ(header->GetPropAsInteger(QStringLiteral("LHC_PN_PRO")), 12);
    EXPECT_FALSE(header->GetPropAsBoolean(QStringLiteral("VerzeProPark")));
    EXPECT_EQ(unit->JakBylNacten(), QStringLiteral("Vex98-Paradox"));
    EXPECT_NE(vex::unitCodebooks(*unit)->Table(Codebook::TB_ODVOZ_TEZ), nullptr);
    EXPECT_EQ(loadAll().size(), 10);
    EXPECT_TRUE(messageTexts().isEmpty()) << messageTexts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(VexSource98, TheNationalParkFlagComesFromPhsIni)
{
    makeUnit(options(Version::V98, 1));
    IniFile phs(unitDir() + QStringLiteral("/PHS/phs.ini"));
    phs.writeString(QStringLiteral("ObecneParametry"), QStringLiteral("VerzeProNarodniPark"), QStringLiteral(" ano "));
    source().loadHeader(*unit);
    EXPECT_TRUE(vex::unitHeader(*unit)->GetPropAsBoolean(QStringLiteral("VerzeProPark")));
}

} // namespace
} // namespace vextest
