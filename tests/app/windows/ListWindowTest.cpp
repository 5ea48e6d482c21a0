// Tests of the list window's size, its side fields and its edits on an empty list.
#include "app/windows/ListWindow.h"

#include "app/calculation/RecognisedStandsTable.h"
#include "platform/db/Table.h"

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
    const app::ListWindowGeometry fits = listWindowGeometry(extent, QSize(wanted, 480));
    EXPECT_FALSE(fits.maximised);
    EXPECT_EQ(fits.size, QSize(wanted, 480));   // never taller than the screen
    EXPECT_EQ(listWindowGeometry(extent, QSize(1920, 1040)).size.height(), extent.height);
    EXPECT_TRUE(listWindowGeometry(extent, QSize(wanted - 1, 1040)).maximised);
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
            table.FieldByName("LHC_NAZEV").AsString(QStringLiteral("Lesní správa Nové Město na Moravě"));
            table.FieldByName("L_OBL_Naz").AsString(i == 1 ? QStringLiteral(" Českomoravská vrchovina") : " Jih");
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
