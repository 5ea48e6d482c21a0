// Offscreen tests of the main window, the calculation it starts and the list window it opens.
#include "app/windows/MainWindow.h"

#include "app/sources/LesniCelek.h"
#include "app/support/RecordedRun.h"
#include "app/support/UnitSourceDouble.h"
#include "app/windows/CalculationForm.h"
#include "app/windows/ListWindow.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"
#include "tools/samples/SampleData.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using testapp::bytesOf;
using testapp::recorder;
using testapp::UnitSourceDouble;

class MainWindowRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recorder().clear();
        QDir(prog.path()).mkdir("data");
        IniFile(prog.filePath("vkm.ini")).writeString("Database", "Data", "PATH=" + prog.path() + "/data");
        window = std::make_unique<app::TFGenKl>(prog.path());
        window->setModalList(false);
        TLesniCelek* unit = window->calculationForm()->calculation().LesniCelek();
        unit->setProgramDir(prog.path());
        unit->setDirectoryChooser([](const QString&, const QString&, const QString&, bool) { return QStringLiteral("ALIAS"); });
        unit->setSourceMaker([this](quint8 kind, const app::SourceContext&) {
            auto source = std::make_unique<UnitSourceDouble>(QList<qint32>{1, 2},
                                                             QList<testapp::SpeciesSpec>{{"SM", "A", 100, 200, 10}}, kind);
            double_ = source.get();
            return source;
        });
    }
    QString table() const { return prog.path() + "/data/Tabulky/TGENKL.DB"; }

    QTemporaryDir prog;
    std::unique_ptr<app::TFGenKl> window;
    UnitSourceDouble* double_ = nullptr;
};

TEST_F(MainWindowRun, StartsComputesAndOpensTheList)
{
    ASSERT_TRUE(window->FormShow());
    window->show();
    EXPECT_TRUE(QDir(prog.path() + "/data/Tabulky").exists());
    EXPECT_TRUE(window->BitBtn1()->isEnabled());
    EXPECT_FALSE(window->BitBtn3()->isEnabled());   // no table yet
    bool disabledWhileRunning = true;
    double_->onLoad = [&] {
        disabledWhileRunning = disabledWhileRunning && !window->BitBtn1()->isEnabled() && !window->BitBtn3()->isEnabled();
    };
    window->BitBtn1()->click();
    EXPECT_TRUE(disabledWhileRunning);
    EXPECT_TRUE(recorder().messages.empty());   // no question: there was no table
    EXPECT_TRUE(window->BitBtn3()->isEnabled());
    EXPECT_FALSE(window->calculationForm()->isVisible());
    app::TFGKDB* list = window->listWindow();
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->DBGrid1()->model()->rowCount(), 2);
    EXPECT_EQ(list->DBGrid1()->model()->columnCount(), 19);
    list->BitBtn2()->click();
    EXPECT_FALSE(list->isVisible());
    EXPECT_FALSE(list->list().Query2().Active());
}

TEST_F(MainWindowRun, NoToTheOverwriteQuestionLeavesTheTableAsItWas)
{
    ASSERT_TRUE(window->FormShow());
    window->BitBtn1()->click();
    window->listWindow()->BitBtn2Click();
    const QByteArray before = bytesOf(table());
    ASSERT_FALSE(before.isEmpty());
    recorder().clear();
    recorder().script({ui::Answer::No});
    window->BitBtn1()->click();
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, app::overwriteQuestion());
    EXPECT_EQ(bytesOf(table()), before);
    EXPECT_FALSE(window->listWindow()->isVisible());
    EXPECT_EQ(double_->loads, 2);   // no second run
}

TEST_F(MainWindowRun, AnExistingTableEnablesTheListFromTheStart)
{
    ASSERT_TRUE(window->FormShow());
    window->BitBtn1()->click();
    window->listWindow()->BitBtn2Click();
    app::TFGenKl second(prog.path());
    TLesniCelek* unit = second.calculationForm()->calculation().LesniCelek();
    unit->setProgramDir(prog.path());
    unit->setDirectoryChooser([](const QString&, const QString&, const QString&, bool) { return QStringLiteral("ALIAS"); });
    unit->setSourceMaker([](quint8 kind, const app::SourceContext&) {
        return std::make_unique<UnitSourceDouble>(QList<qint32>{}, QList<testapp::SpeciesSpec>{}, kind);
    });
    ASSERT_TRUE(second.FormShow());
    EXPECT_TRUE(second.BitBtn3()->isEnabled());
}

TEST_F(MainWindowRun, ListEditsArePostedIntoTheFileOnClose)
{
    ASSERT_TRUE(window->FormShow());
    window->BitBtn1()->click();
    app::RecognisedStandsList& list = window->listWindow()->list();
    db::Query& q = list.Query2();
    q.First();
    q.Edit();
    q.FieldByName("NAJEMCE").AsString(QStringLiteral("Lesy obce Třešť"));
    q.FieldByName("Stary_Kod").AsString("1A1");
    q.FieldByName("Fenotyp").AsString("B");
    q.FieldByName("LVS").AsInteger(4);
    window->listWindow()->BitBtn2Click();   // the pending edit is posted first
    db::Table t;
    t.SetTableName(table());
    t.Open();
    t.First();
    EXPECT_EQ(t.FieldByName("NAJEMCE").AsString(), QStringLiteral("Lesy obce Třešť"));
    EXPECT_EQ(t.FieldByName("Stary_Kod").AsString(), "1A1");
    EXPECT_EQ(t.FieldByName("Fenotyp").AsString(), "B");
    EXPECT_EQ(t.FieldByName("LVS").AsInteger(), 4);
}

TEST_F(MainWindowRun, NothingChosenEndsTheStart)
{
    window->calculationForm()->calculation().LesniCelek()->setDirectoryChooser(
        [](const QString&, const QString&, const QString&, bool) { return QStringLiteral("NicSeNavybralo"); });
    EXPECT_FALSE(window->FormShow());
    ASSERT_FALSE(recorder().messages.empty());
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("Nebyla vybrána žádná databáze."));
}

} // namespace

namespace {

TEST_F(MainWindowRun, ADamagedUnitTableIsReportedAndEndsTheStart)
{
    QDir(prog.path()).mkdir("unit");
    for (const char* name : {"OST_POZ.DB", "LHC.DB"}) {
        QFile f(prog.path() + "/unit/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("damaged");
    }
    const QString unitDir = prog.path() + "/unit";
    window->calculationForm()->calculation().LesniCelek()->setDirectoryChooser(
        [unitDir](const QString&, const QString&, const QString&, bool) { return unitDir; });
    EXPECT_FALSE(window->FormShow());
    ASSERT_FALSE(recorder().messages.empty());
    EXPECT_EQ(recorder().messages[0].type, ui::MsgType::Error);
    EXPECT_FALSE(window->BitBtn3()->isEnabled());
}

} // namespace

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

void typeInto(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
}

TEST_F(MainWindowRun, TypingIntoTheEditableFieldsAndClosingKeepsTheEdit)
{
    ASSERT_TRUE(window->FormShow());
    window->BitBtn1()->click();
    app::TFGKDB* list = window->listWindow();
    auto* najemce = list->findChild<QLineEdit*>("DBEdit_NAJEMCE");
    auto* stary = list->findChild<QLineEdit*>("DBEdit_Stary_Kod");
    auto* lhc = list->findChild<QLineEdit*>("DBEdit_LHC_NAZEV");
    ASSERT_NE(najemce, nullptr);
    ASSERT_NE(stary, nullptr);
    ASSERT_NE(lhc, nullptr);
    EXPECT_FALSE(lhc->isEnabled());
    EXPECT_EQ(lhc->text(), QStringLiteral("Zkušební les"));
    typeInto(najemce, QStringLiteral("Šťastný"));
    typeInto(stary, "12a");
    list->BitBtn2()->click();
    db::Table t;
    t.SetTableName(table());
    t.Open();
    t.First();
    EXPECT_EQ(t.FieldByName("NAJEMCE").AsString(), QStringLiteral("Šťastný"));
    EXPECT_EQ(t.FieldByName("Stary_Kod").AsString(), "12a");
}

} // namespace

namespace {

TEST_F(MainWindowRun, AnEmptyUnitGivesAnEmptyTableAndAnOpenList)
{
    window->calculationForm()->calculation().LesniCelek()->setSourceMaker([](quint8 kind, const app::SourceContext&) {
        return std::make_unique<UnitSourceDouble>(QList<qint32>{}, QList<testapp::SpeciesSpec>{}, kind);
    });
    ASSERT_TRUE(window->FormShow());
    window->BitBtn1()->click();
    EXPECT_TRUE(QFile::exists(table()));
    ASSERT_TRUE(window->listWindow()->isVisible());
    EXPECT_EQ(window->listWindow()->DBGrid1()->model()->rowCount(), 0);
    window->listWindow()->BitBtn2()->click();
    EXPECT_TRUE(window->BitBtn3()->isEnabled());
}

} // namespace

namespace {

// The list in the tables directory may be another unit's (sources other than the Paradox ones
// write where the last Paradox unit's list is): the question names it.
TEST_F(MainWindowRun, TheOverwriteQuestionNamesAnotherUnitsList)
{
    ASSERT_TRUE(window->FormShow());
    window->BitBtn1()->click();
    window->listWindow()->BitBtn2Click();
    db::Table t;   // the list of another unit, as a run on other data left it
    t.SetTableName(table());
    t.Open();
    t.Edit();
    t.FieldByName("LHC_KOD").AsInteger(612000);
    t.FieldByName("LHC_NAZEV").AsString(QStringLiteral("Jiný les"));
    t.Post();
    t.Close();
    recorder().clear();
    recorder().script({ui::Answer::No});
    window->BitBtn1()->click();
    ASSERT_EQ(recorder().messages.size(), 1u);
    const QString question = recorder().messages[0].text;
    for (const QString& part : app::overwriteQuestion().split("\r\r"))
        EXPECT_TRUE(question.contains(part)) << part.toStdString();
    for (const char* named : {"612000", "Jiný les", "812000"})
        EXPECT_TRUE(question.contains(QString::fromUtf8(named))) << named;
    EXPECT_EQ(double_->loads, 2);   // "Ne" keeps the other unit's list
}

// A table that cannot be read names no unit: the plain question is asked.
TEST_F(MainWindowRun, ADamagedListGetsThePlainQuestion)
{
    ASSERT_TRUE(window->FormShow());
    window->BitBtn1()->click();
    window->listWindow()->BitBtn2Click();
    QFile damaged(table());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write(QByteArray(3000, '\x7f'));
    damaged.close();
    recorder().clear();
    recorder().script({ui::Answer::No});
    window->BitBtn1()->click();
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, app::overwriteQuestion());
}

// The version-97 sample unit through the real source: a later start without the unit's storey
// table shows why it cannot read the unit, and "Výpočet" then keeps the corrected list.
TEST(MainWindowSample, AMissingStoreyTableLeavesTheCorrectedList)
{
    recorder().clear();
    QTemporaryDir prog;
    samples::writeSampleInstallation(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data"), prog.path());
    const QString unitDir = prog.path() + "/vzorky/vex97/DATA";
    auto start = [&] {
        auto window = std::make_unique<app::TFGenKl>(prog.path());
        window->setModalList(false);
        TLesniCelek* unit = window->calculationForm()->calculation().LesniCelek();
        unit->setProgramDir(prog.path());
        unit->setDirectoryChooser([unitDir](const QString&, const QString&, const QString&, bool) { return unitDir; });
        return window;
    };
    auto first = start();
    ASSERT_TRUE(first->FormShow());
    first->BitBtn1()->click();
    const QString list = first->calculationForm()->calculation().tablePath();
    ASSERT_TRUE(first->listWindow()->isVisible());
    first->listWindow()->BitBtn2Click();
    testapp::correctFirstTenant(list);
    first.reset();
    const QByteArray corrected = bytesOf(list);
    ASSERT_FALSE(corrected.isEmpty());
    ASSERT_TRUE(QFile::remove(files::resolvePath(unitDir + "/ETAZ.DB")));

    recorder().clear();
    auto second = start();
    EXPECT_TRUE(second->FormShow());
    ASSERT_FALSE(recorder().messages.empty());
    EXPECT_TRUE(recorder().messages.back().text.contains("ETAZ")) << recorder().messages.back().text.toStdString();
    recorder().clear();
    recorder().script({ui::Answer::Yes});   // "Ano" to the overwrite question
    second->BitBtn1()->click();
    ASSERT_EQ(recorder().messages.size(), 2u);
    EXPECT_EQ(recorder().messages[1].text, QStringLiteral("Nic nebylo spočteno: lesní celek nebyl načten.\n"
                                                          "Dosavadní seznam uznaných porostů (TGENKL.DB) zůstal beze změny."));
    EXPECT_EQ(bytesOf(list), corrected);
    EXPECT_FALSE(second->listWindow()->isVisible());
    EXPECT_TRUE(second->BitBtn3()->isEnabled());
}

} // namespace
