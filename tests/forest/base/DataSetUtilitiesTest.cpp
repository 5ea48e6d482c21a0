// Tests of the dataset utilities: emptiness, rounding, sequential find and the ID counter.
#include "forest/base/DataSetUtilities.h"
#include "forest/support/ForestTestSupport.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"
#include "platform/Exceptions.h"
#include "support/ParadoxFixture.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

using foresttest::recorder;

const QList<test::FixtureField> speciesFields = {
    {"KOD", "A", 3},
    {"POPIS", "A", 20},
};

class DataSetUtilities : public foresttest::ForestFixture
{
protected:
    void SetUp() override
    {
        ForestFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        test::writeParadoxTable(dir.filePath("DREVINY.DB"), speciesFields,
                                {{"SM", "smrk"}, {"BK", "buk"}, {"sm", "malý smrk"}, {"DB", "dub"}});
        table.SetTableName(dir.filePath("DREVINY.DB"));
        table.Open();
        source.SetDataSet(&table);
        finder.SetDataSource(&source);
        finder.SetDataField("KOD");
    }
    QString currentCode() const { return table.FieldByName("KOD").AsString(); }

    QTemporaryDir dir;
    db::Table table;
    db::DataSource source;
    TKSekvenFind finder;
};

TEST_F(DataSetUtilities, EmptinessAndRounding)
{
    EXPECT_FALSE(DataSetIsEmpty(&table));
    table.Close();
    EXPECT_TRUE(DataSetIsEmpty(&table));   // closed, although the file holds rows
    EXPECT_TRUE(DataSetIsEmpty(nullptr));
    EXPECT_DOUBLE_EQ(RoundTo2(0.125), 0.12);
    EXPECT_DOUBLE_EQ(RoundTo2(0.135), 0.14);
    EXPECT_DOUBLE_EQ(RoundTo2(-1.005), -1.0);   // -100.49999... in binary
    EXPECT_DOUBLE_EQ(RoundTo2(2.5), 2.5);
}

TEST_F(DataSetUtilities, FromCurrentMatchesTheCurrentRowAtOnce)
{
    table.First();
    table.Next();   // BK
    finder.SetFindStyle(FromCurrent);
    EXPECT_TRUE(finder.Find("BK", true));
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_TRUE(finder.Find("sm", true));
    EXPECT_EQ(table.RecNo(), 3);
}

TEST_F(DataSetUtilities, FromTopIgnoresCaseUnlessAsked)
{
    table.Last();
    finder.SetFindStyle(FromTop);
    EXPECT_TRUE(finder.Find("sm", false));
    EXPECT_EQ(table.RecNo(), 1);   // "SM" comes first
    EXPECT_TRUE(finder.Find("sm", true));
    EXPECT_EQ(table.RecNo(), 3);
}

TEST_F(DataSetUtilities, CaseIsIgnoredForCzechLettersToo)
{
    finder.SetDataField("POPIS");
    finder.SetFindStyle(FromTop);
    EXPECT_TRUE(finder.Find("MALÝ SMRK", false));
    EXPECT_EQ(table.RecNo(), 3);
    EXPECT_FALSE(finder.Find("MALY SMRK", false));
    EXPECT_FALSE(finder.Find("malý smr", false));
    EXPECT_TRUE(finder.Find("Buk", false));
    EXPECT_EQ(table.RecNo(), 2);
}

TEST_F(DataSetUtilities, FromNextSkipsTheCurrentRow)
{
    table.First();
    table.Next();
    finder.SetFindStyle(FromNext);
    EXPECT_TRUE(finder.Find("SM", false));
    EXPECT_EQ(table.RecNo(), 3);
    // At the beginning of the data the current row counts.
    table.First();
    EXPECT_TRUE(table.Bof());
    EXPECT_TRUE(finder.Find("SM", true));
    EXPECT_EQ(table.RecNo(), 1);
}

TEST_F(DataSetUtilities, FailureReturnsToTheStartRow)
{
    table.First();
    table.Next();
    finder.SetFindStyle(FromNext);
    EXPECT_FALSE(finder.Find("JD", false));
    EXPECT_EQ(table.RecNo(), 3);   // after the FromNext move, not at the end
    EXPECT_FALSE(table.Eof());
}

TEST_F(DataSetUtilities, ToBackReturnsAlsoWhenFound)
{
    table.Last();
    finder.SetFindStyle(FromTop);
    finder.SetToBack(true);
    EXPECT_TRUE(finder.Find("BK", true));
    EXPECT_EQ(table.RecNo(), 4);
}

TEST_F(DataSetUtilities, MissingPiecesAnswerFalse)
{
    finder.SetDataField("NENI");
    EXPECT_FALSE(finder.Find("SM", false));
    EXPECT_EQ(finder.CountMatches("SM"), 0);
    finder.SetDataField("");
    EXPECT_FALSE(finder.Find("SM", false));
    TKSekvenFind unbound;
    unbound.SetDataField("KOD");
    EXPECT_FALSE(unbound.Find("SM", false));
    table.Close();
    finder.SetDataField("KOD");
    EXPECT_FALSE(finder.Find("SM", false));
}

// The finder keeps the field it found between searches; it follows the columns when the table
// opens again with another layout, and when the source shows another dataset.
TEST_F(DataSetUtilities, FindFollowsTheColumnsOfEachOpening)
{
    finder.SetFindStyle(FromTop);
    EXPECT_TRUE(finder.Find("BK", true));
    EXPECT_EQ(table.RecNo(), 2);

    table.Close();
    test::writeParadoxTable(dir.filePath("DREVINY.DB"), {{"POPIS", "A", 20}, {"KOD", "A", 3}},
                            {{"jedle", "JD"}, {"buk", "BK"}, {"smrk", "SM"}});
    table.Open();
    EXPECT_TRUE(finder.Find("SM", true));
    EXPECT_EQ(table.RecNo(), 3);
    EXPECT_FALSE(finder.Find("smrk", true));   // the other column is not searched

    test::writeParadoxTable(dir.filePath("JINE.DB"), {{"KOD", "A", 3}}, {{"DB"}, {"JD"}});
    db::Table other;
    other.SetTableName(dir.filePath("JINE.DB"));
    other.Open();
    source.SetDataSet(&other);
    EXPECT_TRUE(finder.Find("JD", true));
    EXPECT_EQ(other.RecNo(), 2);
    source.SetDataSet(&table);
    EXPECT_TRUE(finder.Find("JD", true));
    EXPECT_EQ(table.RecNo(), 1);
}

TEST_F(DataSetUtilities, CountMatchesIsCaseSensitiveAndKeepsTheRow)
{
    table.First();
    table.Next();
    table.Next();
    EXPECT_EQ(finder.CountMatches("sm"), 1);
    EXPECT_EQ(finder.CountMatches("SM"), 1);
    EXPECT_EQ(finder.CountMatches("Sm"), 0);
    EXPECT_EQ(table.RecNo(), 3);
}

// --- the ID counter -------------------------------------------------------------------------

const QList<test::FixtureField> counterFields = {{"TABULKA", "A", 8}, {"ID", "N"}};
const QList<test::FixtureField> targetFields = {{"ID", "N"}, {"NAZEV", "A", 10}};

class NextId : public DataSetUtilities
{
protected:
    void SetUp() override
    {
        DataSetUtilities::SetUp();
        test::writeParadoxTable(dir.filePath("ID.DB"), counterFields, {{"CIL", 41.0}, {"JINA", 7.0}});
        test::writeParadoxTable(dir.filePath("CIL.DB"), targetFields, {});
        counter.SetTableName(dir.filePath("ID.DB"));
        target.SetTableName(dir.filePath("CIL.DB"));
        target.SetName("Cil");
        target.Open();
    }
    // The ID stored for a table name, read afresh from the file.
    double storedId(const QString& name)
    {
        db::Table fresh;
        fresh.SetTableName(dir.filePath("ID.DB"));
        fresh.Open();
        for (fresh.First(); !fresh.Eof(); fresh.Next())
            if (fresh.FieldByName("TABULKA").AsString() == name)
                return fresh.FieldByName("ID").AsFloat();
        return -1;
    }
    void addTargetRow(const QString& name)
    {
        target.Append();
        target.FieldByName("NAZEV").AsString(name);
        AssignNextId(counter, target, "CIL");
        target.Cancel();
    }

    db::Table counter;
    db::Table target;
};

TEST_F(NextId, NumbersRowsFromTheCounter)
{
    addTargetRow("a");
    addTargetRow("b");
    EXPECT_EQ(storedId("CIL"), 43);
    EXPECT_EQ(storedId("JINA"), 7);
    target.First();
    EXPECT_EQ(target.FieldByName("ID").AsInteger(), 42);
    target.Next();
    EXPECT_EQ(target.FieldByName("ID").AsInteger(), 43);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(NextId, MissingCounterRowStartsAtOne)
{
    target.Append();
    target.FieldByName("NAZEV").AsString("x");
    AssignNextId(counter, target, "NOVA");
    target.Cancel();
    EXPECT_EQ(storedId("NOVA"), 1);
    target.First();
    EXPECT_EQ(target.FieldByName("ID").AsInteger(), 1);
}

TEST_F(NextId, SecondWriterOnTheSameCounterGetsTheNextNumber)
{
    db::Table other;
    other.SetTableName(dir.filePath("ID.DB"));
    addTargetRow("a");
    target.Append();
    target.FieldByName("NAZEV").AsString("b");
    AssignNextId(other, target, "CIL");
    target.Cancel();
    EXPECT_EQ(storedId("CIL"), 43);
    target.Last();
    EXPECT_EQ(target.FieldByName("ID").AsInteger(), 43);
}

TEST_F(NextId, ReadOnlyCounterFailsBeforeTheTargetIsTouched)
{
    // A keyed counter with the other program's index file opens read-only.
    test::FixtureOptions keyed;
    keyed.keyFields = 1;
    test::writeParadoxTable(dir.filePath("ID.DB"), counterFields, {{"CIL", 41.0}}, keyed);
    QFile px(dir.filePath("ID.PX"));
    ASSERT_TRUE(px.open(QIODevice::WriteOnly));
    px.close();
    target.Append();
    target.FieldByName("NAZEV").AsString("a");
    EXPECT_THROW(AssignNextId(counter, target, "CIL"), EDatabaseError);
    target.Cancel();
    EXPECT_EQ(target.RecordCount(), 0);
    EXPECT_EQ(storedId("CIL"), 41);
}

TEST_F(NextId, ReadOnlyTargetKeepsTheCounterAdvanced)
{
    target.Close();
    QFile px(dir.filePath("CIL.PX"));
    ASSERT_TRUE(px.open(QIODevice::WriteOnly));
    px.close();
    target.Open();
    EXPECT_THROW(AssignNextId(counter, target, "CIL"), EDatabaseError);
    EXPECT_EQ(storedId("CIL"), 42);   // a number lost, never one used twice
}

TEST_F(NextId, TargetWithoutRowsShowsTheMessage)
{
    // The target follows a range that the new ID leaves.
    target.Close();
    test::writeParadoxTable(dir.filePath("CIL.DB"), targetFields, {{5.0, "pět"}});
    target.Open();
    target.SetIndexFieldNames("ID");
    target.SetRange({5.0}, {5.0});
    AssignNextId(counter, target, "CIL");
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, "Po přidání ID nejsou v tabulce \"Cil žádné řádky.");
}

} // namespace
