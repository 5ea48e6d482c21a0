// Tests of the species lookups: normalised abbreviations, positions, groups and official codes.
#include "forest/rules/SpeciesCodes.h"
#include "forest/support/ForestTestSupport.h"

namespace {

using foresttest::recorder;

class SpeciesCodes : public foresttest::ForestFixture
{
};

TEST_F(SpeciesCodes, AbbreviationsAreNormalised)
{
    QString a = " s m x";
    NormalizeSpeciesAbbreviation(a);
    EXPECT_EQ(a, "SMX");
    a = "sm";
    NormalizeSpeciesAbbreviation(a);
    EXPECT_EQ(a, "SM ");
    a = "šm";
    NormalizeSpeciesAbbreviation(a);
    EXPECT_EQ(a, "šM ");
    QChar c = QChar(0x010D);   // č
    UpCaseAscii(c);
    EXPECT_EQ(c, QChar(0x010D));
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(SpeciesCodes, ShortAbbreviationShowsAMessageAndFindsNothing)
{
    EXPECT_EQ(SpeciesIndex("sm"), 1);
    EXPECT_EQ(SpeciesIndex("SM"), 1);
    EXPECT_TRUE(recorder().messages.empty());
    EXPECT_EQ(SpeciesIndex("s"), noSpeciesIndex);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, "Chybné zadání dřeviny");
    QString empty;
    NormalizeSpeciesAbbreviation(empty);
    EXPECT_EQ(recorder().messages.size(), 2u);
}

TEST_F(SpeciesCodes, PositionsAndGroups)
{
    const QString caller = "smxx";
    EXPECT_EQ(SpeciesIndex(caller), 7);   // only SMX counts
    EXPECT_EQ(caller, "smxx");
    EXPECT_EQ(SpeciesIndex("sou"), 82);
    EXPECT_EQ(SpeciesIndex("XYZ"), noSpeciesIndex);
    EXPECT_EQ(SpeciesGroupOfAbbreviation("hb"), 10);
    EXPECT_EQ(SpeciesGroupOfAbbreviation("d g"), 12);
    EXPECT_EQ(SpeciesGroupOfAbbreviation("XYZ"), 14);
}

TEST_F(SpeciesCodes, CodesToAbbreviations)
{
    QString a;
    SpeciesCodeToAbbreviation(0, a);
    EXPECT_EQ(a, "   ");
    SpeciesCodeToAbbreviation(7, a);
    EXPECT_EQ(a, "   ");
    SpeciesCodeToAbbreviation(9, a);
    EXPECT_EQ(a, "SMX");
    SpeciesCodeToAbbreviation(99, a);
    EXPECT_EQ(a, "SOU");
    SpeciesCodeToAbbreviation(100, a);
    EXPECT_EQ(a, "   ");
    EXPECT_EQ(SpeciesCodeOfIndex(0), 0);
    EXPECT_EQ(SpeciesCodeOfIndex(83), 0);
    EXPECT_EQ(SpeciesCodeOfIndex(38), 51);   // HB
    EXPECT_EQ(SpeciesIndexOfCode(0), 0);
}

TEST_F(SpeciesCodes, EveryCodeOutsideTheGapsHasOneSpecies)
{
    // The codes that belong to no species, as published.
    const QList<int> gaps = {7, 8, 15, 17, 19, 26, 32, 34, 36, 37, 38, 46, 49, 69, 73, 78, 96};
    int species = 0;
    for (int code = 1; code <= 99; ++code) {
        const int position = SpeciesIndexOfCode(code);
        if (gaps.contains(code)) {
            EXPECT_EQ(position, noSpeciesIndex) << code;
            continue;
        }
        ASSERT_GE(position, 1) << code;
        ASSERT_LE(position, 82) << code;
        EXPECT_EQ(SpeciesCodeOfIndex(position), code);
        ++species;
    }
    EXPECT_EQ(species, 82);
}

} // namespace
