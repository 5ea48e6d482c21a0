// Tests of the list window's size, its side fields and its edits on an empty list.
#include "app/windows/ListWindow.h"

#include "app/calculation/RecognisedStandsTable.h"
#include "platform/db/Field.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "reports/engine/ReportRun.h"
#include "reports/engine/ReportWindows.h"
#include "reports/component/SestavaD.h"
#include "reports/model/ReportTables.h"
#include "reports/model/ReportTexts.h"

#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
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

// A preview that records how it was asked for and the rows its report receives.
class RecordingPreview : public reports::ReportWindows
{
public:
    int shown = 0;
    int zoomStep = -1;
    int windowState = -1;
    bool queryOpen = false;
    QList<int> widths;  // display widths of NAJEMCE, L_OBL_Naz
    QStringList rows;   // ODD NAJEMCE PSK_P as the report's data set gives them, in order
    int showPreview(reports::TSestavaTyp& report, reports::ReportRun* run, const reports::WindowPlacement& placement,
                    int step) override
    {
        while (run && !run->runSlice(1000)) {}
        ++shown;
        zoomStep = step;
        windowState = placement.windowState;
        db::DataSet* data = dynamic_cast<reports::TSestavaD&>(report).DataSource()->dataSet();
        queryOpen = data->Active();
        widths = {data->FieldByName("NAJEMCE").DisplayWidth(), data->FieldByName("L_OBL_Naz").DisplayWidth()};
        for (data->First(); !data->Eof(); data->Next())
            rows << data->FieldByName("ODD").AsString() + " " + data->FieldByName("NAJEMCE").AsString() + " "
                        + data->FieldByName("PSK_P").DisplayText();
        return 0;
    }
    int showDesigner(reports::TSestavaTyp&, const reports::WindowPlacement&) override { return 0; }
    std::unique_ptr<reports::RunProgress> createProgress(reports::TSestavaTyp&) override { return nullptr; }
    QString chooseTemplateFile(const QString&) override { return {}; }
};

class ListReport : public ListWindowOnTable
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.isValid());
        files::setProgramDirectory(program.path());
        m_previousServices = &ui::services();
        ui::setServices(&recorder);
        reports::setReportWindows(&preview);
        db::Table table;
        app::recreateRecognisedStandsTable(table, dir.path() + "/");
        table.Open();
        for (const auto& [lhc, odd] : {std::pair{2, 1}, std::pair{1, 3}, std::pair{1, 2}}) {
            table.Append();
            table.FieldByName("LHC_KOD").AsInteger(lhc);
            table.FieldByName("ODD").AsInteger(odd);
            table.FieldByName("PSK_P").AsFloat(1.5);
            table.Post();
        }
        table.Close();
        window.SetDataDir(dir.path() + "/");
    }
    void TearDown() override
    {
        reports::setReportWindows(nullptr);
        ui::setServices(m_previousServices);
        files::setProgramDirectory(QString());
    }

    QTemporaryDir program;
    ui::RecordingServices recorder;
    ui::Services* m_previousServices = nullptr;
    RecordingPreview preview;
};

// "Sestava" previews maximised at 83 % the rows in print order, with a correction typed into a
// field and not yet posted, and closes its query afterwards.
TEST_F(ListReport, PreviewsTheCorrectedListInPrintOrder)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data/sevran.pts"), program.filePath("sevran.pts")));
    window.ShowList(false);
    QLineEdit* najemce = edit("NAJEMCE");
    ASSERT_NE(najemce, nullptr);
    najemce->setFocus();
    QTest::keyClicks(najemce, QStringLiteral("Obec"));   // typed, not confirmed
    QTest::mouseClick(window.BitBtn1(), Qt::LeftButton);
    EXPECT_EQ(preview.shown, 1);
    EXPECT_EQ(preview.zoomStep, reports::ZoomStepForPercent(83));
    EXPECT_EQ(preview.windowState, 2);
    EXPECT_TRUE(preview.queryOpen);
    EXPECT_EQ(preview.rows, (QStringList{"2  1,50", "3  1,50", "1 Obec 1,50"}));
    EXPECT_EQ(preview.widths, (QList<int>{30, 1}));   // what the report receives, not the table's 80
    EXPECT_FALSE(window.list().Query1().Active());
    EXPECT_TRUE(window.BitBtn1()->isEnabled());
    window.BitBtn2Click();
}

// Without the template the preview asks whether to create it; "Ne" opens nothing and the query
// is closed again.
TEST_F(ListReport, AMissingTemplateIsAskedForAndNothingOpens)
{
    window.ShowList(false);
    recorder.script({ui::Answer::No});
    window.BitBtn1Click();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_TRUE(recorder.messages[0].text.startsWith(QStringLiteral("Nebyl nalezen soubor s předlohou")));
    EXPECT_EQ(preview.shown, 0);
    EXPECT_FALSE(window.list().Query1().Active());
    EXPECT_FALSE(QFile::exists(program.filePath("sevran.pts")));
    window.BitBtn2Click();
}

} // namespace
