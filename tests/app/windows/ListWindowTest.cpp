// Tests of the list window's size, its side fields and its edits on an empty list.
#include "app/windows/ListWindow.h"

#include "app/calculation/RecognisedStandsTable.h"
#include "platform/db/Table.h"
#include "platform/db/MemoryDataSet.h"

#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using app::ListWindowExtent;
using app::listWindowGeometry;

TEST(ListWindowGeometry, ShowsEveryColumnBesideThePanelOrOpensMaximised)
{
    const ListWindowExtent extent{1300, 280, 24, 600};
    const int wanted = extent.grid + extent.sidePanel + extent.frame;
    const app::ListWindowGeometry wide = listWindowGeometry(extent, QSize(1920, 1040));
    EXPECT_FALSE(wide.maximised);
    EXPECT_EQ(wide.size.width(), wanted);
    EXPECT_EQ(wide.size.height(), extent.height);
    const app::ListWindowGeometry low = listWindowGeometry(extent, QSize(wanted, 480));
    EXPECT_FALSE(low.maximised);
    EXPECT_EQ(low.size, QSize(wanted, 480));   // never taller than the screen
    const app::ListWindowGeometry narrow = listWindowGeometry(extent, QSize(wanted - 1, 1040));
    EXPECT_TRUE(narrow.maximised);
    EXPECT_EQ(narrow.size, QSize(wanted - 1, 1040));
}

TEST(ListWindowGeometry, TheWidestValueMeasuresEachDistinctTextOnce)
{
    test::MemoryDataSet rows({{QStringLiteral("L_OBL_Naz"), db::FieldType::ftString, 80}},
                             {{QStringLiteral(" Jih")}, {QStringLiteral(" moravská vrchovina")}, {QStringLiteral(" Jih")}});
    rows.Open();
    QStringList measured;
    const auto byCharacters = [&measured](const QString& text) {
        measured << text;
        return int(text.size());
    };
    EXPECT_EQ(app::widestValue(rows, QStringLiteral("l_obl_naz"), byCharacters),
              int(QStringLiteral(" moravská vrchovina").size()));
    EXPECT_EQ(measured.size(), 2);
    EXPECT_EQ(app::widestValue(rows, QStringLiteral("NENI"), byCharacters), 0);
    rows.Close();
    EXPECT_EQ(app::widestValue(rows, QStringLiteral("L_OBL_Naz"), byCharacters), 0);
}

class ListWindowOnTable : public ::testing::Test
{
protected:
    // TGENKL.DB in a temporary directory with `count` rows of one unit.
    void writeTable(int count)
    {
        db::Table table;
        app::recreateRecognisedStandsTable(table, dir.path() + "/");
        table.Open();
        for (int i = 0; i < count; ++i) {
            table.Append();
            table.FieldByName("LHC_KOD").AsInteger(812000);
            table.FieldByName("LHC_NAZEV").AsString(QStringLiteral("Lesní správa Nové Město na Moravě"));
            table.FieldByName("Okr_Nazev").AsString(QStringLiteral("Žďár nad Sázavou"));
            table.FieldByName("LES_OBL").AsString("33");
            table.FieldByName("L_OBL_Naz").AsString(i == 1 ? QStringLiteral(" Českomoravská vrchovina")
                                                           : QStringLiteral(" Jih"));
            table.FieldByName("ODD").AsInteger(i + 1);
            table.Post();
        }
        table.Close();
        window.SetDataDir(dir.path() + "/");
    }
    QLineEdit* edit(const char* field) const
    {
        return window.findChild<QLineEdit*>(QStringLiteral("DBEdit_") + QLatin1String(field));
    }

    QTemporaryDir dir;
    app::TFGKDB window;
};

// The side fields hold their longest value whole, and every column of the grid is in view
// unless the window had to open maximised.
TEST_F(ListWindowOnTable, OpensWithTheSideFieldsAndColumnsInView)
{
    writeTable(3);
    window.ShowList(false);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const auto& [field, text] : {std::pair{"LHC_NAZEV", QStringLiteral("Lesní správa Nové Město na Moravě")},
                                      std::pair{"L_OBL_Naz", QStringLiteral(" Českomoravská vrchovina")}}) {
        QLineEdit* e = edit(field);
        ASSERT_NE(e, nullptr);
        EXPECT_GT(e->width(), e->fontMetrics().horizontalAdvance(text)) << field;
    }
    QTableView* grid = window.DBGrid1();
    EXPECT_TRUE(window.isMaximized() || grid->horizontalHeader()->length() <= grid->viewport()->width());
    window.BitBtn2Click();
}

// Typing on an empty list would add a row holding only the typed value.
TEST_F(ListWindowOnTable, TheEditableFieldsOfAnEmptyListTakeNoTyping)
{
    writeTable(0);
    window.ShowList(false);
    QLineEdit* najemce = edit("NAJEMCE");
    ASSERT_NE(najemce, nullptr);
    EXPECT_TRUE(najemce->isReadOnly());
    najemce->setFocus();
    QTest::keyClicks(najemce, QStringLiteral("Lesy obce"));
    QTest::keyClick(najemce, Qt::Key_Return);
    window.BitBtn2Click();
    db::Table table;
    table.SetTableName(dir.path() + "/TGENKL.DB");
    table.Open();
    EXPECT_EQ(table.RecordCount(), 0);
}

} // namespace
