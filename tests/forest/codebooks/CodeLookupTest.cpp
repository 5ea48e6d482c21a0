// Tests of code-to-name lookups in codebook tables and of stand-category codes as integers.
#include "forest/codebooks/CodeLookup.h"
#include "platform/db/Table.h"
#include "platform/Exceptions.h"
#include "support/ParadoxFixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CodeLookup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        test::writeParadoxTable(dir.filePath("ZVL_STAT.DB"), {{"Kod", "A", 3}, {"POPIS", "A", 30}},
                                {{"A", "národní park"}, {QVariant(), "bez kódu"}, {"b", "přírodní rezervace"}});
        test::writeParadoxTable(dir.filePath("CIS_NALE.DB"), {{"KOD", "N"}, {"POPIS", "A", 20}},
                                {{5.0, "naléhavá"}, {12.0, "odložitelná"}});
        test::writeParadoxTable(dir.filePath("MEMO.DB"), {{"KOD", "M", 10}, {"POPIS", "A", 20}},
                                {{"A", "memo"}});
        text.SetTableName(dir.filePath("ZVL_STAT.DB"));
        number.SetTableName(dir.filePath("CIS_NALE.DB"));
    }

    QTemporaryDir dir;
    db::Table text;
    db::Table number;
};

TEST_F(CodeLookup, FoundMissingAndNil)
{
    EXPECT_EQ(LookupCodeName(&text, "KOD", "A", "POPIS", false), "národní park");
    EXPECT_TRUE(text.Active());
    EXPECT_EQ(text.RecNo(), 1);
    EXPECT_EQ(LookupCodeName(&text, "KOD", "7", "POPIS", false), "7");
    EXPECT_EQ(LookupCodeName(nullptr, "KOD", "7", "POPIS", false), "");
}

TEST_F(CodeLookup, LetterCaseIgnoredUnlessAsked)
{
    EXPECT_EQ(LookupCodeName(&text, "KOD", "B", "POPIS", false), "přírodní rezervace");
    EXPECT_EQ(LookupCodeName(&text, "KOD", "B", "POPIS", true), "B");
    EXPECT_EQ(LookupCodeName(&text, "kod", "a", "popis", false), "národní park");
}

TEST_F(CodeLookup, NumericCodesCompareAsText)
{
    EXPECT_EQ(LookupCodeName(&number, "KOD", "5", "POPIS", false), "naléhavá");
    EXPECT_EQ(LookupCodeName(&number, "KOD", "05", "POPIS", false), "05");
    EXPECT_EQ(LookupCodeName(&number, "KOD", "12", "POPIS", false), "odložitelná");
}

TEST_F(CodeLookup, NullAndBlobCodesNeverMatch)
{
    EXPECT_EQ(LookupCodeName(&text, "KOD", "", "POPIS", false), "");
    db::Table memo;
    memo.SetTableName(dir.filePath("MEMO.DB"));
    EXPECT_EQ(LookupCodeName(&memo, "KOD", "A", "POPIS", false), "A");
}

TEST_F(CodeLookup, MissingResultFieldRaises)
{
    EXPECT_THROW(LookupCodeName(&text, "KOD", "A", "NAZEV", false), EDatabaseError);
    EXPECT_EQ(LookupCodeName(&text, "NENI", "A", "POPIS", false), "A");
}

TEST(CategoryCode, LettersCountFromA)
{
    EXPECT_EQ(CategoryCodeToInt("21c"), 213);
    EXPECT_EQ(CategoryCodeToInt("32a"), 321);
    EXPECT_EQ(CategoryCodeToInt("32B"), 322);
    EXPECT_EQ(CategoryCodeToInt("10"), 100);
    EXPECT_EQ(CategoryCodeToInt("32z"), 346);
}

TEST(CategoryCode, ThirdCharacterCountsOnlyWhenALetter)
{
    // The original added the place of any third character: "321" gave 273.
    EXPECT_EQ(CategoryCodeToInt("321"), 320);
    EXPECT_EQ(CategoryCodeToInt("32č"), 320);
    EXPECT_EQ(CategoryCodeToInt("32a "), 320);   // four characters: no letter added
}

TEST(CategoryCode, FirstCharactersMustBeANumber)
{
    EXPECT_THROW(CategoryCodeToInt("xa"), EConvertError);
    EXPECT_THROW(CategoryCodeToInt(""), EConvertError);
}

} // namespace

namespace {

// The cache answers what the lookup answers and leaves the cursor where the lookup would; it
// forgets its answers when the rows change.
TEST_F(CodeLookup, CachedAnswersLeaveTheCursorAsTheLookup)
{
    CodeNameCache cache;
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(cache.lookup(&text, "KOD", "b", "POPIS", false), "přírodní rezervace");
        EXPECT_EQ(text.RecNo(), 3);
        EXPECT_FALSE(text.Bof());
        EXPECT_EQ(cache.lookup(&text, "KOD", "A", "POPIS", false), "národní park");
        EXPECT_EQ(text.RecNo(), 1);
        EXPECT_TRUE(text.Bof());
        text.Last();
        EXPECT_EQ(cache.lookup(&text, "KOD", "7", "POPIS", false), "7");
        EXPECT_EQ(text.RecNo(), 1);
        EXPECT_FALSE(text.Bof());
        EXPECT_EQ(cache.lookup(&text, "KOD", "B", "POPIS", true), "B");
    }
    EXPECT_EQ(cache.lookup(&number, "KOD", "12", "POPIS", false), "odložitelná");
    EXPECT_EQ(cache.lookup(&text, "KOD", "b", "POPIS", false), "přírodní rezervace");
    EXPECT_EQ(cache.lookup(nullptr, "KOD", "A", "POPIS", false), "");
    EXPECT_THROW(cache.lookup(&text, "KOD", "A", "NAZEV", false), EDatabaseError);
}

TEST_F(CodeLookup, CachedAnswersFollowChangedRows)
{
    CodeNameCache cache;
    EXPECT_EQ(cache.lookup(&text, "KOD", "A", "POPIS", false), "národní park");
    // A write through another table on the same file.
    db::Table other;
    other.SetTableName(dir.filePath("ZVL_STAT.DB"));
    other.Open();
    other.Edit();
    other.FieldByName("POPIS").AsString("chráněná oblast");
    other.Post();
    EXPECT_EQ(cache.lookup(&text, "KOD", "A", "POPIS", false), "chráněná oblast");
    other.Close();
    // The file replaced on disk while the table was closed.
    text.Close();
    test::writeParadoxTable(dir.filePath("ZVL_STAT.DB"), {{"Kod", "A", 3}, {"POPIS", "A", 30}}, {{"A", "les"}});
    EXPECT_EQ(cache.lookup(&text, "KOD", "A", "POPIS", false), "les");
    EXPECT_EQ(cache.lookup(&text, "KOD", "b", "POPIS", false), "b");
}

} // namespace
