// Tests of the list window: its size, side fields, corrections, navigator and grid.
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

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
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

// A list of `count` rows (ODD 1 .. count) with known values in the four editable fields, shown
// with the window active so that keys and clicks arrive as they do for the user.
class ListCorrections : public ListWindowOnTable
{
protected:
    void SetUp() override { recorder().clear(); }
    void TearDown() override
    {
        if (window.list().Query2().Active()) {
            window.list().Query2().Cancel();
            window.BitBtn2Click();
        }
    }

    void showRows(int count)
    {
        db::Table table;
        app::recreateRecognisedStandsTable(table, dir.path() + "/");
        table.Open();
        for (int i = 1; i <= count; ++i) {
            table.Append();
            table.FieldByName("ODD").AsInteger(i);
            table.FieldByName("NAJEMCE").AsString(QStringLiteral("Lesy obce"));
            table.FieldByName("Stary_Kod").AsString(QStringLiteral("S%1").arg(i));
            table.FieldByName("Fenotyp").AsString(QStringLiteral("A"));
            table.FieldByName("LVS").AsInteger(5);
            table.Post();
        }
        table.Close();
        window.SetDataDir(dir.path() + "/");
        window.ShowList(false);
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    db::Query& query() { return window.list().Query2(); }
    ui::RecordingServices& recorder() { return dynamic_cast<ui::RecordingServices&>(ui::services()); }

    // The user puts the caret into the field's edit and types over its text, confirming nothing.
    void typeInto(const char* field, const QString& text)
    {
        QLineEdit* e = edit(field);
        ASSERT_NE(e, nullptr);
        e->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), e);
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    QToolButton* navigatorButton(const QString& text) const
    {
        for (QToolButton* button : window.findChildren<QToolButton*>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
    void click(const QString& text)
    {
        QToolButton* button = navigatorButton(text);
        ASSERT_NE(button, nullptr) << text.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // The value of a field stored in the table file for the row of compartment `odd`.
    QString stored(const char* field, int odd)
    {
        db::Table table;
        table.SetTableName(dir.path() + "/TGENKL.DB");
        table.Open();
        for (table.First(); !table.Eof(); table.Next())
            if (table.FieldByName("ODD").AsInteger() == odd)
                return table.FieldByName(QLatin1String(field)).AsString();
        return QStringLiteral("<none>");
    }
    int currentOdd() { return query().FieldByName("ODD").AsInteger(); }
    // Grid and dataset agree on the current row, and the grid shows it.
    void expectGridOnCurrentRow()
    {
        QTableView* grid = window.DBGrid1();
        const QModelIndex index = grid->currentIndex();
        EXPECT_EQ(index.row(), query().currentRow());
        EXPECT_TRUE(grid->viewport()->rect().intersects(grid->visualRect(index))) << "row " << index.row();
    }
};

struct Correction {
    const char* field;
    const char* typed;
    const char* before;   // what row 2 holds
};
struct NavigatorCase {
    const char* button;
    const char* name;
    int oddAfter;        // the current compartment afterwards, starting on compartment 2 of 3
    enum { Stored, InRecord, Cancelled } outcome;
};

void PrintTo(const Correction& c, std::ostream* out) { *out << c.field << " " << c.typed; }
void PrintTo(const NavigatorCase& n, std::ostream* out) { *out << n.name; }

class TypedThenNavigator : public ListCorrections,
                           public ::testing::WithParamInterface<std::tuple<Correction, NavigatorCase>>
{};

// A value typed into an editable field, its edit still focused, then a click on a navigator
// button: the moves, "Uložit" and "Obnovit" store it, "Oprava" takes it into the record,
// "Zrušit" brings back the stored value.
TEST_P(TypedThenNavigator, TakesTheTypedValueFirst)
{
    const auto& [c, n] = GetParam();
    showRows(3);
    query().SetRecNo(2);
    const QString typed = QString::fromUtf8(c.typed);
    typeInto(c.field, typed);
    click(QString::fromUtf8(n.button));
    EXPECT_TRUE(recorder().messages.empty());
    EXPECT_EQ(currentOdd(), n.oddAfter);
    expectGridOnCurrentRow();
    switch (n.outcome) {
    case NavigatorCase::Stored:
        EXPECT_EQ(query().State(), db::DataSetState::dsBrowse);
        EXPECT_EQ(stored(c.field, 2), typed);
        break;
    case NavigatorCase::InRecord:
        EXPECT_EQ(query().State(), db::DataSetState::dsEdit);
        EXPECT_EQ(query().FieldByName(QLatin1String(c.field)).AsString(), typed);
        query().Cancel();
        EXPECT_EQ(stored(c.field, 2), QString::fromUtf8(c.before));
        break;
    case NavigatorCase::Cancelled:
        EXPECT_EQ(query().State(), db::DataSetState::dsBrowse);
        EXPECT_EQ(stored(c.field, 2), QString::fromUtf8(c.before));
        EXPECT_EQ(edit(c.field)->text(), QString::fromUtf8(c.before));
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ListWindow, TypedThenNavigator,
    ::testing::Combine(::testing::Values(Correction{"NAJEMCE", "Obec Lhota", "Lesy obce"},
                                         Correction{"Stary_Kod", "12A3", "S2"}, Correction{"Fenotyp", "B", "A"},
                                         Correction{"LVS", "7", "5"}),
                       ::testing::Values(NavigatorCase{"|<", "First", 1, NavigatorCase::Stored},
                                         NavigatorCase{"<", "Prior", 1, NavigatorCase::Stored},
                                         NavigatorCase{">", "Next", 3, NavigatorCase::Stored},
                                         NavigatorCase{">|", "Last", 3, NavigatorCase::Stored},
                                         NavigatorCase{"Oprava", "Edit", 2, NavigatorCase::InRecord},
                                         NavigatorCase{"Uložit", "Post", 2, NavigatorCase::Stored},
                                         NavigatorCase{"Zrušit", "Cancel", 2, NavigatorCase::Cancelled},
                                         NavigatorCase{"Obnovit", "Refresh", 2, NavigatorCase::Stored})),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).field) + "_" + std::get<1>(info.param).name;
    });

// Leaving a field writes the record without storing it; the record is stored when the user moves
// to another row in the grid, and "Zrušit" brings back what is stored.
TEST_F(ListCorrections, LeavingAFieldKeepsTheRecordUnstoredUntilAMove)
{
    showRows(3);
    typeInto("NAJEMCE", QStringLiteral("Obec Lhota"));
    typeInto("LVS", QStringLiteral("7"));   // the focus leaves NAJEMCE
    EXPECT_EQ(query().State(), db::DataSetState::dsEdit);
    EXPECT_EQ(stored("NAJEMCE", 1), QStringLiteral("Lesy obce"));
    click(QStringLiteral("Zrušit"));
    EXPECT_EQ(edit("NAJEMCE")->text(), QStringLiteral("Lesy obce"));
    EXPECT_EQ(edit("LVS")->text(), QStringLiteral("5"));

    typeInto("NAJEMCE", QStringLiteral("Obec Lhota"));
    typeInto("LVS", QStringLiteral("7"));
    QTableView* grid = window.DBGrid1();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(2, 0)).center());
    EXPECT_EQ(currentOdd(), 3);
    EXPECT_EQ(stored("NAJEMCE", 1), QStringLiteral("Obec Lhota"));
    EXPECT_EQ(stored("LVS", 1), QStringLiteral("7"));
    EXPECT_EQ(edit("NAJEMCE")->text(), QStringLiteral("Lesy obce"));
}

// "&Konec" stores the value still being typed.
TEST_F(ListCorrections, KonecStoresTheValueBeingTyped)
{
    showRows(2);
    typeInto("LVS", QStringLiteral("7"));
    QTest::mouseClick(window.BitBtn2(), Qt::LeftButton);
    EXPECT_FALSE(query().Active());
    db::Table table;
    table.SetTableName(dir.path() + "/TGENKL.DB");
    table.Open();
    EXPECT_EQ(table.FieldByName("LVS").AsInteger(), 7);
}

// Letters in the number field are named in a Czech message. While the edit keeps the focus
// nothing is stored or left and the window stays open; leaving the edit reports the value and
// shows the stored one again.
TEST_F(ListCorrections, AValueThatIsNoNumberIsReportedAndKeptForCorrection)
{
    showRows(3);
    typeInto("LVS", QStringLiteral("abc"));
    click(QStringLiteral("Uložit"));
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("'abc' není platné celé číslo."));
    EXPECT_EQ(edit("LVS")->text(), QStringLiteral("abc"));
    click(QStringLiteral(">"));
    EXPECT_EQ(recorder().messages.size(), 2u);
    EXPECT_EQ(currentOdd(), 1);
    expectGridOnCurrentRow();
    window.close();
    EXPECT_EQ(recorder().messages.size(), 3u);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(query().Active());
    EXPECT_EQ(stored("LVS", 1), QStringLiteral("5"));

    typeInto("NAJEMCE", QStringLiteral("Obec Lhota"));   // leaves LVS
    EXPECT_EQ(recorder().messages.size(), 4u);
    EXPECT_EQ(edit("LVS")->text(), QStringLiteral("5"));
    QTableView* grid = window.DBGrid1();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(2, 0)).center());
    EXPECT_EQ(recorder().messages.size(), 4u);
    EXPECT_EQ(currentOdd(), 3);
    EXPECT_EQ(stored("NAJEMCE", 1), QStringLiteral("Obec Lhota"));
    EXPECT_EQ(stored("LVS", 1), QStringLiteral("5"));
}

// Grid, side panel and navigator share one current row, kept in view; storing, cancelling and
// refreshing stay on the record.
TEST_F(ListCorrections, GridPanelAndNavigatorShareTheCurrentRow)
{
    showRows(200);
    click(QStringLiteral(">|"));
    EXPECT_EQ(currentOdd(), 200);
    expectGridOnCurrentRow();
    click(QStringLiteral("|<"));
    EXPECT_EQ(currentOdd(), 1);
    expectGridOnCurrentRow();
    for (int i = 0; i < 150; ++i)
        click(QStringLiteral(">"));
    EXPECT_EQ(currentOdd(), 151);
    EXPECT_EQ(edit("Stary_Kod")->text(), QStringLiteral("S151"));
    expectGridOnCurrentRow();
    for (const char* button : {"Uložit", "Zrušit", "Obnovit"}) {
        typeInto("Fenotyp", QStringLiteral("C"));
        click(QString::fromUtf8(button));
        EXPECT_EQ(currentOdd(), 151) << button;
        EXPECT_EQ(edit("Stary_Kod")->text(), QStringLiteral("S151")) << button;
        expectGridOnCurrentRow();
    }
    EXPECT_EQ(stored("Fenotyp", 151), QStringLiteral("C"));
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
