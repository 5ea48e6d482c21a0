// Tests of the grid model over a dataset.
#include "platform/db/DataSetModel.h"
#include "platform/db/Table.h"

#include "platform/ui/Services.h"
#include "support/ParadoxFixture.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

class GridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::writeParadoxTable(m_dir.filePath(QStringLiteral("TGENKL.DB")),
                                {{"ODD", "I"}, {"PSK", "A", 15}, {"PSK_P", "N"}, {"NAJEMCE", "A", 80}},
                                {{12, "1a", 0.125, QVariant()}, {3, "2b", 4.0, "Lesy obce"}});
        table.SetDatabaseName(m_dir.path());
        table.SetTableName(QStringLiteral("TGENKL"));
        table.Open();
        table.FieldByName(QStringLiteral("PSK_P")).SetDisplayFormat(QStringLiteral("0.00"));
        table.FieldByName(QStringLiteral("NAJEMCE")).SetDisplayLabel(QStringLiteral("Nájemce lesa"));
        model.setDataSet(&table);
    }

    QTemporaryDir m_dir;
    db::Table table;
    db::DataSetModel model;
};

TEST_F(GridTest, ModelShowsFormattedValuesAndLabels)
{
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QStringLiteral("0,13"));
    EXPECT_EQ(model.data(model.index(0, 2), Qt::EditRole).toString(), QStringLiteral("0,125"));
    EXPECT_EQ(model.data(model.index(0, 3)).toString(), QString());
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Nájemce lesa"));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
}

TEST_F(GridTest, ModelEditsThroughTheDataSetAndHonoursReadOnlyColumns)
{
    model.setColumns({QStringLiteral("PSK"), QStringLiteral("NAJEMCE")});
    model.setColumnReadOnly(QStringLiteral("psk"), true);
    EXPECT_FALSE(model.flags(model.index(1, 0)) & Qt::ItemIsEditable);
    ASSERT_TRUE(model.flags(model.index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.setData(model.index(1, 1), QStringLiteral("Obec Horní Lhota")));
    EXPECT_EQ(table.State(), db::DataSetState::dsBrowse);
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_EQ(table.FieldByName(QStringLiteral("NAJEMCE")).AsString(), QStringLiteral("Obec Horní Lhota"));
    model.setReadOnly(true);
    EXPECT_FALSE(model.setData(model.index(0, 1), QStringLiteral("x")));
}

TEST_F(GridTest, ModelFollowsInsertsAndFailedEditsReportTheError)
{
    table.Append();
    table.FieldByName(QStringLiteral("ODD")).AsInteger(40);
    table.Post();
    EXPECT_EQ(model.rowCount(), 3);
    auto* recorder = dynamic_cast<ui::RecordingServices*>(&ui::services());
    ASSERT_NE(recorder, nullptr);
    const size_t before = recorder->messages.size();
    EXPECT_FALSE(model.setData(model.index(0, 0), QStringLiteral("dvanáct")));
    EXPECT_EQ(recorder->messages.size(), before + 1);
    EXPECT_EQ(table.State(), db::DataSetState::dsBrowse);
    EXPECT_EQ(table.FieldByName(QStringLiteral("ODD")).AsInteger(), 12);
}

} // namespace
