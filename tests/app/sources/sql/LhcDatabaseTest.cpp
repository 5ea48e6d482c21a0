// Where the SQL database of forest units lies, and the question before a missing one is made.
#include "app/sources/sql/LhcDatabase.h"

#include "app/sources/LesniCelek.h"
#include "app/sources/SourceChoice.h"
#include "app/sources/sql/SqlSchema.h"
#include "app/sources/sql/SqlSource.h"
#include "platform/db/sql/Aliases.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"
#include "support/ParadoxFixture.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

// The names in a directory, hidden ones included, as one readable text.
std::string entries(const QString& dir)
{
    return QDir(dir)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)
        .join(QLatin1Char('|'))
        .toStdString();
}

// A program directory whose vkm.ini a choice of the sibling program's version-98 data has
// pointed there; the login answers the alias it is offered.
class SqlDatabasePlace : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recorder().clear();
        ASSERT_TRUE(program.isValid() && sibling.isValid());
        test::writeParadoxTable(sibling.filePath(QStringLiteral("LHC.DB")),
                                {{QStringLiteral("LHC_KOD"), QStringLiteral("A"), 6}, {QStringLiteral("LHC_PN_PRO"), QStringLiteral("I")}},
                                {{QStringLiteral("812-01"), 0}});
        ASSERT_TRUE(QFile(sibling.filePath(QStringLiteral("OST_POZ.DB"))).open(QIODevice::WriteOnly));
        const QString vkm = program.filePath(QStringLiteral("vkm.ini"));
        app::storeChoice(vkm, app::detectSourceKind(sibling.path()), false);
        ASSERT_EQ(IniFile(vkm).readString(QStringLiteral("DATABASE"), QStringLiteral("DATA"), QString()),
                  QStringLiteral("PATH=") + sibling.path());
        siblingBefore = entries(sibling.path());
        m_oldLogin = sqlsrc::loginDialog();
        m_oldChooser = sqlsrc::unitChooser();
        sqlsrc::loginDialog() = [](const QString& alias, const QString& user) {
            return std::optional<sqlsrc::LoginAnswer>(sqlsrc::LoginAnswer{alias, user, QString()});
        };
        sqlsrc::unitChooser() = [](const QString&) { return std::optional<sqlsrc::UnitKey>(); };
    }
    void TearDown() override
    {
        sqlsrc::loginDialog() = m_oldLogin;
        sqlsrc::unitChooser() = m_oldChooser;
        db::Aliases::setAliasFile(QString());
        db::Aliases::setProgramDirectory(QString());
    }

    // The question of the last login, when it named `file`.
    void expectQuestionNaming(const QString& file)
    {
        ASSERT_FALSE(recorder().messages.empty());
        const ui::RecordingServices::Message& question = recorder().messages.front();
        EXPECT_TRUE(question.text.contains(QLatin1Char('"') + file + QLatin1Char('"'))) << question.text.toStdString();
        EXPECT_EQ(question.buttons, ui::YesNo);
    }

    QTemporaryDir program;
    QTemporaryDir sibling;
    std::string siblingBefore;

private:
    sqlsrc::LoginDialog m_oldLogin;
    sqlsrc::UnitChooser m_oldChooser;
};

TEST_F(SqlDatabasePlace, AfterAParadoxChoiceNeCreatesNothingAndTheLoginEndsCancelled)
{
    Owned<TLesniCelek> unit = Create<TLesniCelek>();
    unit->setProgramDir(program.path());
    unit->ChooseDataSource(QString::fromLatin1(app::aliasAnswer), false);
    ASSERT_EQ(unit->SourceKind(), 5);
    const std::string programBefore = entries(program.path());
    recorder().script({ui::Answer::No});

    EXPECT_TRUE(unit->CompartmentList().isEmpty());
    EXPECT_TRUE(unit->EndOfData());
    expectQuestionNaming(program.filePath(QStringLiteral("LHP.sqlite")));
    ASSERT_EQ(recorder().messages.size(), 2u);
    EXPECT_EQ(recorder().messages[1].text, QStringLiteral("Databáze LHC nebude otevřena."));
    EXPECT_EQ(entries(program.path()), programBefore);
    EXPECT_EQ(entries(sibling.path()), siblingBefore);
}

TEST_F(SqlDatabasePlace, AnoMakesTheDefaultDatabaseBesideTheProgramWithItsTables)
{
    sqlsrc::setUpAliases(program.path());
    const QString file = program.filePath(QStringLiteral("LHP.sqlite"));
    recorder().script({ui::Answer::Yes});
    db::Database database(QStringLiteral("LHP_ORAC"));
    ASSERT_TRUE(sqlsrc::LoginLhpDatabase(database, sqlsrc::loginDialog()));
    expectQuestionNaming(file);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(database.sqlDatabase().tables().size(), qsizetype(sqlsrc::unitTables().size()));
    EXPECT_EQ(entries(sibling.path()), siblingBefore);

    // The next login finds it and asks nothing.
    database.Close();
    recorder().clear();
    ASSERT_TRUE(sqlsrc::LoginLhpDatabase(database, sqlsrc::loginDialog()));
    EXPECT_TRUE(recorder().messages.empty());
}

// An entry of aliases.ini naming a missing SQLite file, absolute or relative to the program.
TEST_F(SqlDatabasePlace, AnAliasFileEntryOfAMissingFileGetsTheSameQuestion)
{
    ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("sdilena")));
    const QString absolute = program.filePath(QStringLiteral("sdilena/lesy.sqlite"));
    const std::pair<QString, QString> cases[] = {{absolute, absolute},
                                                 {QStringLiteral("relativni.sqlite"), program.filePath(QStringLiteral("relativni.sqlite"))}};
    for (const auto& [named, file] : cases) {
        SCOPED_TRACE(named.toStdString());
        QFile ini(program.filePath(QStringLiteral("aliases.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[LHP]\r\nDRIVER=QSQLITE\r\nDATABASE=%1\r\n").arg(named).toUtf8());
        ini.close();
        sqlsrc::setUpAliases(program.path());
        const std::string programBefore = entries(program.path());
        const std::string folderBefore = entries(QFileInfo(file).path());

        recorder().clear();
        recorder().script({ui::Answer::No});
        db::Database database(QStringLiteral("LHP_ORAC"));
        EXPECT_FALSE(sqlsrc::LoginLhpDatabase(database, sqlsrc::loginDialog()));
        expectQuestionNaming(file);
        EXPECT_EQ(entries(program.path()), programBefore);
        EXPECT_EQ(entries(QFileInfo(file).path()), folderBefore);

        recorder().clear();
        recorder().script({ui::Answer::Yes});
        EXPECT_TRUE(sqlsrc::LoginLhpDatabase(database, sqlsrc::loginDialog()));
        EXPECT_TRUE(QFile::exists(file));
    }
    EXPECT_EQ(entries(sibling.path()), siblingBefore);
}

} // namespace
