// The SQL database of forest units end to end: the program's source choice "ALIAS" over the
// sample installation with its LHP.sqlite, the login, the unit list and the computed list.
#include "app/sources/LesniCelek.h"
#include "app/sources/vex/DirectorySearch.h"
#include "app/support/DisplayRun.h"
#include "app/support/ModalScript.h"
#include "app/support/RecordedRun.h"
#include "app/support/TableDump.h"
#include "app/windows/CalculationForm.h"
#include "app/windows/LhcListWindow.h"
#include "app/windows/ListWindow.h"
#include "app/windows/LoginWindow.h"
#include "app/windows/MainWindow.h"
#include "platform/db/sql/Aliases.h"
#include "platform/files/Files.h"
#include "platform/ui/QtServices.h"
#include "tools/samples/SampleData.h"
#include "tools/sql/SqlSample.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using testapp::bytesOf;
using testapp::clickLater;
using testapp::ModalScript;
using testapp::recorder;

// What the build puts beside the program: the sample installation and its SQL database.
class SqlSampleProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_program.isValid());
        files::setProgramDirectory(m_program.path());
        samples::writeSampleInstallation(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data"), m_program.path());
        sqlsample::writeSqlSample(m_program.filePath(QStringLiteral("vzorky/vex97/DATA")), m_program.path());
    }
    void TearDown() override
    {
        db::Aliases::setAliasFile(QString());
        db::Aliases::setProgramDirectory(QString());
        files::setProgramDirectory(QString());
    }

    QTemporaryDir m_program;
};

class SqlEndToEnd : public SqlSampleProgram
{
protected:
    void SetUp() override
    {
        // The program's own services: its message boxes and its event processing while loading.
        m_previousServices = &ui::services();
        ui::setServices(&m_services);
        SqlSampleProgram::SetUp();
    }
    void TearDown() override
    {
        SqlSampleProgram::TearDown();
        ui::setServices(m_previousServices);
    }

    ui::QtServices m_services;
    ui::Services* m_previousServices = nullptr;
    QStringList m_messages;

    // A step of the run that also takes down, and records, any message box shown meanwhile.
    ModalScript::Step noting(ModalScript::Step step)
    {
        return [this, step](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                m_messages << box->text();
                QMetaObject::invokeMethod(box, &QDialog::reject, Qt::QueuedConnection);
                return false;
            }
            return step(w);
        };
    }
};

TEST_F(SqlEndToEnd, TheAliasChoiceLogsInListsTheUnitsAndComputesTheChosenOne)
{
    app::TFGenKl window(m_program.path());
    window.calculationForm()->calculation().LesniCelek()->setDirectoryChooser(vex::SelectFile);

    QString alias, user;
    QStringList units;
    int listed = 0;
    const std::vector<std::pair<QString, ModalScript::Step>> choice = {
        {"source choice", noting([&](QWidget* w) {
             auto* dialog = dynamic_cast<vex::TS_VyhlSoub1*>(w);
             if (!dialog || !dialog->ButAlias->isVisible()) return false;
             clickLater(dialog->ButAlias);
             return true;
         })},
    };
    ModalScript chooseSource(choice, 60000);
    ASSERT_TRUE(window.FormShow()) << m_messages.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(chooseSource.finished()) << "waiting for: " << chooseSource.waiting().toStdString() << ", messages: "
                                         << m_messages.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(chooseSource.stuckAt().isEmpty()) << "stuck at: " << chooseSource.stuckAt().toStdString();
    EXPECT_EQ(window.calculationForm()->calculation().LesniCelek()->SourceKind(), SourceKinds::SqlDatabase);
    window.show();

    const std::vector<std::pair<QString, ModalScript::Step>> run = {
        {"login", noting([&](QWidget* w) {
             auto* login = dynamic_cast<app::TFVybBase*>(w);
             if (!login || !login->isVisible()) return false;
             alias = login->EAlias()->text();
             user = login->EUserName()->text();
             clickLater(login->ButOK());
             return true;
         })},
        {"unit list", noting([&](QWidget* w) {
             auto* list = dynamic_cast<app::TFU_DTB_LES*>(w);
             if (!list || !list->isVisible()) return false;
             QTableWidget* grid = list->GU_LHC();
             for (int r = 0; r < grid->rowCount(); ++r) {
                 units << grid->item(r, 0)->text() + QLatin1Char('-') + grid->item(r, 1)->text();
                 if (units.back() == QLatin1String("2-0")) grid->setCurrentCell(r, 0);
             }
             QMetaObject::invokeMethod(list, &QDialog::accept, Qt::QueuedConnection);
             return true;
         })},
        {"computed list", noting([&](QWidget* w) {
             auto* list = dynamic_cast<app::TFGKDB*>(w);
             if (!list || !list->isVisible()) return false;
             listed = list->DBGrid1()->model()->rowCount();
             clickLater(list->BitBtn2());
             return true;
         })},
    };
    ModalScript script(run, 60000);
    QTest::mouseClick(window.BitBtn1(), Qt::LeftButton);
    ASSERT_TRUE(script.finished()) << "waiting for: " << script.waiting().toStdString()
                                   << ", messages: " << m_messages.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(script.stuckAt().isEmpty()) << "stuck at: " << script.stuckAt().toStdString();
    EXPECT_EQ(alias, QStringLiteral("LHP"));
    EXPECT_EQ(user, QStringLiteral("LHP"));
    ASSERT_EQ(units.size(), 2);
    EXPECT_TRUE(units.contains(QStringLiteral("2-0")));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(listed, 4);
    // Unit 2 of the sample, as the source's own golden run computes it.
    testapp::expectGoldenText(QStringLiteral("samples/sql_unit2.txt"),
                              testapp::dumpTable(window.calculationForm()->calculation().tablePath()));
}

// The same run with real windows and modal loops on a virtual X display.
TEST(SqlEndToEndOnDisplay, TheAliasChoiceLogsInListsTheUnitsAndComputesTheChosenOne)
{
    testapp::expectPassesOnDisplay(QStringLiteral("SqlEndToEnd.TheAliasChoiceLogsInListsTheUnitsAndComputesTheChosenOne"));
}

// The real login window and unit list over the sample database, message boxes recorded.
class SqlListKept : public SqlSampleProgram
{
protected:
    void SetUp() override
    {
        recorder().clear();
        SqlSampleProgram::SetUp();
    }
    void TearDown() override
    {
        m_window.reset();
        SqlSampleProgram::TearDown();
    }
    // A start of the program with the choice "ALIAS": the source logs in anew.
    void start()
    {
        m_window.reset();
        m_window = std::make_unique<app::TFGenKl>(m_program.path());
        m_window->setModalList(false);
        m_window->calculationForm()->calculation().LesniCelek()->setDirectoryChooser(
            [](const QString&, const QString&, const QString&, bool) { return QStringLiteral("ALIAS"); });
        ASSERT_TRUE(m_window->FormShow());
    }
    // "Výpočet" with the login and the unit list answered by the steps.
    void compute(std::vector<std::pair<QString, ModalScript::Step>> steps)
    {
        ModalScript script(std::move(steps), 60000);
        m_window->BitBtn1()->click();
        ASSERT_TRUE(script.finished()) << "waiting for: " << script.waiting().toStdString();
        ASSERT_TRUE(script.stuckAt().isEmpty()) << "stuck at: " << script.stuckAt().toStdString();
    }
    static std::pair<QString, ModalScript::Step> login(bool ok)
    {
        return {"login", [ok](QWidget* w) {
                    auto* login = dynamic_cast<app::TFVybBase*>(w);
                    if (!login || !login->isVisible()) return false;
                    clickLater(ok ? login->ButOK() : login->ButStorno());
                    return true;
                }};
    }
    // The unit list: Enter chooses its current row, Escape nothing; the key goes to the focused widget.
    static std::pair<QString, ModalScript::Step> unitList(Qt::Key key)
    {
        return {"unit list", [key](QWidget* w) {
                    auto* list = dynamic_cast<app::TFU_DTB_LES*>(w);
                    if (!list || !list->isVisible()) return false;
                    QTest::keyClick(list->focusWidget() ? list->focusWidget() : list, key);
                    return true;
                }};
    }
    QString table() const { return m_window->calculationForm()->calculation().tablePath(); }

    std::unique_ptr<app::TFGenKl> m_window;
};

TEST_F(SqlListKept, ACancelledLoginOrUnitListLeavesTheCorrectedListAsItWas)
{
    start();
    compute({login(true), unitList(Qt::Key_Return)});
    ASSERT_TRUE(m_window->listWindow()->isVisible());
    m_window->listWindow()->BitBtn2Click();
    testapp::correctFirstTenant(table());
    const QByteArray corrected = bytesOf(table());
    ASSERT_FALSE(corrected.isEmpty());
    const QString nothing = QStringLiteral("Nic nebylo spočteno: lesní celek nebyl načten.\n"
                                           "Dosavadní seznam uznaných porostů (TGENKL.DB) zůstal beze změny.");

    start();
    recorder().clear();
    recorder().script({ui::Answer::Yes});   // "Ano" to the overwrite question
    compute({login(false)});
    ASSERT_EQ(recorder().messages.size(), 3u);
    EXPECT_EQ(recorder().messages[1].text, QStringLiteral("Databáze LHC nebude otevřena."));
    EXPECT_EQ(recorder().messages[2].text, nothing);
    EXPECT_EQ(bytesOf(table()), corrected);
    EXPECT_FALSE(m_window->listWindow()->isVisible());

    recorder().clear();
    recorder().script({ui::Answer::Yes});
    compute({login(true), unitList(Qt::Key_Escape)});
    ASSERT_EQ(recorder().messages.size(), 2u);
    EXPECT_EQ(recorder().messages[1].text, nothing);
    EXPECT_EQ(bytesOf(table()), corrected);
    EXPECT_FALSE(m_window->listWindow()->isVisible());
}

} // namespace
