// Tests of the minimum felling age by management set from the species-mixture codebook.
#include "HierarchyTestSupport.h"

#include "platform/db/Table.h"
#include "support/ParadoxFixture.h"

#include <QTemporaryDir>

using namespace hierarchytest;

namespace {

class MinimumFellingAgeTest : public HierarchyFixture
{
protected:
    void SetUp() override
    {
        HierarchyFixture::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        const QList<test::FixtureField> fields = {
            {"Cislo_HS", "I"}, {"Mel_DR1", "A", 3}, {"LT", "A", 20}, {"MZD", "I"}};
        const QList<QVariantList> rows = {
            {1, "BK", "3B 3S", 100}, {1, "SM", "X", 90}, {2, "BO", "1A 2B", 110}, {2, "DB", "2", 120},
            {2, "SM", "", 80},       {3, "BK", "5K", 130},
        };
        test::FixtureOptions keyed;
        keyed.keyFields = 2;
        test::writeParadoxTable(m_dir.filePath("MEL_DREV.DB"), fields, rows, keyed);
        table.SetDatabaseName(m_dir.path());
        table.SetTableName("MEL_DREV.DB");
        table.Open();
    }

    QTemporaryDir m_dir;
    db::Table table;
};

} // namespace

TEST_F(MinimumFellingAgeTest, ForestTypeFoundInTheRowsOfTheSet)
{
    EXPECT_EQ(MinimumFellingAgeByManagementSet(&table, 2, "2B"), 110);
    EXPECT_EQ(MinimumFellingAgeByManagementSet(&table, 1, "3S"), 100);
}

TEST_F(MinimumFellingAgeTest, FirstTwoCharactersThenRowsWithoutForestType)
{
    EXPECT_EQ(MinimumFellingAgeByManagementSet(&table, 2, "1AX"), 110);   // "1A " found
    EXPECT_EQ(MinimumFellingAgeByManagementSet(&table, 2, "7C"), 80);     // the row with no LT
    EXPECT_EQ(MinimumFellingAgeByManagementSet(&table, 1, "7C"), 90);     // the row "X"
}

TEST_F(MinimumFellingAgeTest, NoRowOrNoTableGivesZero)
{
    EXPECT_EQ(MinimumFellingAgeByManagementSet(&table, 3, "1A"), 0);
    EXPECT_EQ(MinimumFellingAgeByManagementSet(&table, 9, "1A"), 0);
    EXPECT_EQ(MinimumFellingAgeByManagementSet(nullptr, 1, "3S"), 0);
    EXPECT_EQ(storey()->GetPropAsInteger("MZDDleHS"), 0);
}

TEST_F(MinimumFellingAgeTest, EmptyForestTypeMatchesNoText)
{
    EXPECT_EQ(MinimumFellingAgeByManagementSet(&table, 3, ""), 0);
}

TEST_F(MinimumFellingAgeTest, RangeIsDroppedAfterTheScan)
{
    MinimumFellingAgeByManagementSet(&table, 2, "2B");
    EXPECT_EQ(table.RecordCount(), 6);
}
