// Tests of the calculation run, the tables directory and the forest unit's walk over compartments.
#include "app/calculation/Calculation.h"

#include "app/sources/LesniCelek.h"
#include "app/support/CalculationFixture.h"
#include "app/support/TableDump.h"
#include "app/support/UnitSourceDouble.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "platform/db/Table.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using testapp::recorder;
using testapp::SpeciesSpec;
using testapp::UnitSourceDouble;

const QList<SpeciesSpec> mixedSpecies = {
    {"SM", "A", 60, 300, 90},   // model: 90 * 100 <= 300 * 30
    {"BK", "B", 30, 100, 31},   // one above the model share
    {"JD", "C", 10, 50, 0},     // no row
    {"MD", "a", 0, 0, 0},       // no row: letter case counts
};

struct ProgressLog {
    int maximum = -1;
    QList<int> positions;
    int hides = 0;
    app::CalculationProgress progress()
    {
        return {[this](int m) { maximum = m; }, [this](int p) { positions << p; }, [this]() { ++hides; }};
    }
};

class CalculationRun : public testapp::CalculationFixture
{
protected:
    CalculationRun() : CalculationFixture(mixedSpecies) {}
    // Every row as "ODD DIL POR PSK ETAZ DR_ZKR Fenotyp MODEL".
    QStringList rows()
    {
        db::Table t;
        t.SetTableName(calc.tablePath());
        t.Open();
        QStringList out;
        for (t.First(); !t.Eof(); t.Next()) {
            QStringList r;
            for (const char* f : {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR", "Fenotyp", "MODEL", "LHC_KOD", "Novy_kod"})
                r << t.FieldByName(QString::fromLatin1(f)).AsString();
            out << r.join(QLatin1Char('|'));
        }
        return out;
    }
};

TEST_F(CalculationRun, WritesOneRowPerRecognisedSpeciesOfEveryCompartment)
{
    install({5, 12, 100});
    ProgressLog run;
    ASSERT_TRUE(calc.RunCalculation(run.progress()));
    EXPECT_EQ(run.maximum, 3);
    EXPECT_EQ(run.positions, (QList<int>{1, 2, 3}));
    EXPECT_EQ(run.hides, 1);
    const QStringList expected = {
        "5|A|1| 1a| 1|SM|A|True|812000|5A11a",   "5|A|1| 1a| 1|BK|B|False|812000|5A11a",
        "12|A|1| 1a| 1|SM|A|True|812000|12A11a", "12|A|1| 1a| 1|BK|B|False|812000|12A11a",
        "100|A|1| 1a| 1|SM|A|True|812000|100A11a", "100|A|1| 1a| 1|BK|B|False|812000|100A11a",
    };
    EXPECT_EQ(rows(), expected);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(CalculationRun, NothingIsLoadedAfterTheEndOfTheData)
{
    UnitSourceDouble* source = install({7});
    source->reloadsLastAtEnd = true;
    ASSERT_TRUE(calc.RunCalculation({}));
    EXPECT_EQ(source->loads, 1);
    EXPECT_EQ(rows().size(), 2);
}

TEST_F(CalculationRun, ASecondRunStartsAgainAndGivesTheSameRows)
{
    install({3, 4});
    ASSERT_TRUE(calc.RunCalculation({}));
    const QStringList first = rows();
    ASSERT_TRUE(calc.RunCalculation({}));
    EXPECT_EQ(rows(), first);
    EXPECT_EQ(calc.CompartmentCounter(), 2);
}

TEST_F(CalculationRun, AnEmptyCompartmentListGivesAnEmptyTable)
{
    install({});
    ProgressLog run;
    ASSERT_TRUE(calc.RunCalculation(run.progress()));
    EXPECT_EQ(run.maximum, 0);
    EXPECT_TRUE(run.positions.isEmpty());
    EXPECT_TRUE(QFile::exists(calc.tablePath()));
    EXPECT_TRUE(rows().isEmpty());
}

TEST_F(CalculationRun, AFailurePartWayIsReportedAndLeavesTheTableClosed)
{
    UnitSourceDouble* source = install({1, 2, 3});
    source->failAt = 1;
    ProgressLog run;
    EXPECT_FALSE(calc.RunCalculation(run.progress()));
    EXPECT_EQ(run.hides, 1);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("Tabulka ODDELENI je poškozena.\n\nVýpočet nebyl dokončen. "
                                                          "Seznam uznaných porostů (TGENKL.DB) nebyl vytvořen."));
    EXPECT_FALSE(db::Table::isOpenInProcess(calc.tablePath()));
    EXPECT_FALSE(QFile::exists(calc.tablePath()));   // no list of half a unit
    source->failAt = -1;
    EXPECT_TRUE(calc.RunCalculation({}));
    EXPECT_EQ(rows().size(), 6);
}

class TablesDir : public ::testing::Test
{
protected:
    void SetUp() override { recorder().clear(); }
    void setData(const QString& value)
    {
        IniFile(dir.filePath("vkm.ini")).writeString("Database", "Data", value);
    }
    QTemporaryDir dir;
    app::Calculation calc;
};

TEST_F(TablesDir, APathPrefixInAnyCaseIsCutAndTheCaseOfThePathKept)
{
    QDir(dir.path()).mkdir("Data");
    for (const QString& prefix : {QStringLiteral("PATH="), QStringLiteral("path="), QStringLiteral("Path=")}) {
        setData(prefix + dir.path() + "/Data");
        EXPECT_EQ(calc.BuildTablesDir(dir.path()), dir.path() + "/Data/Tabulky/");
    }
    EXPECT_TRUE(QDir(dir.path() + "/Data/Tabulky").exists());
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(TablesDir, AValueWithoutPrefixIsTakenWhole)
{
    QDir(dir.path()).mkdir("xPATH=y");
    setData(dir.path() + "/xPATH=y\\");
    EXPECT_EQ(calc.BuildTablesDir(dir.path()), dir.path() + "/xPATH=y/Tabulky/");
}

TEST_F(TablesDir, AnEmptyValueIsReportedAndTheProgramDirectoryTaken)
{
    setData("");
    EXPECT_EQ(calc.BuildTablesDir(dir.path()), dir.path() + "/Tabulky/");
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_TRUE(recorder().messages[0].text.contains("vkm.ini"));
    recorder().clear();
    QFile::remove(dir.filePath("vkm.ini"));
    calc.BuildTablesDir(dir.path());
    EXPECT_EQ(recorder().messages.size(), 1u);
}

TEST_F(TablesDir, ADirectoryThatCannotBeMadeIsReported)
{
    setData("PATH=" + dir.path() + "/missing/deeper");
    calc.BuildTablesDir(dir.path());
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_TRUE(recorder().messages[0].text.startsWith(QStringLiteral("Nelze vytvořit adresář")));
}

TEST(ForestUnitLoading, NoSourceChosenIsReportedAndStopsTheStart)
{
    recorder().clear();
    QTemporaryDir dir;
    app::Calculation calc;
    calc.LesniCelek()->setProgramDir(dir.path());
    int asked = 0;
    calc.LesniCelek()->setDirectoryChooser([&](const QString& start, const QString& caption, const QString& mask, bool alias) {
        ++asked;
        EXPECT_EQ(start, dir.path());   // nothing used before: the program's directory
        EXPECT_EQ(caption, QStringLiteral("Obecné hledání"));
        EXPECT_EQ(mask, "*.*");
        EXPECT_TRUE(alias);
        return QStringLiteral("NicSeNavybralo");
    });
    EXPECT_FALSE(calc.LoadForestUnit());
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("Nebyla vybrána žádná databáze."));
    EXPECT_FALSE(QFile::exists(dir.filePath("vkm.ini")));   // a cancelled choice stores nothing
}

} // namespace

namespace {

TEST_F(CalculationRun, AFailedRowIsReportedAndSkipped)
{
    UnitSourceDouble* source = install({1, 2, 3});
    source->corruptAreaAt = 1;
    ProgressLog run;
    ASSERT_TRUE(calc.RunCalculation(run.progress()));
    EXPECT_EQ(run.positions, (QList<int>{1, 2, 3}));
    ASSERT_EQ(recorder().messages.size(), 2u);   // SM and BK of compartment 2
    EXPECT_TRUE(recorder().messages[0].text.startsWith(QStringLiteral("Chyba při zápisu dřeviny : ")));
    EXPECT_TRUE(recorder().messages[0].text.contains("SM"));
    const QStringList written = rows();
    ASSERT_EQ(written.size(), 4);
    EXPECT_TRUE(written[2].startsWith("3|"));
}

TEST_F(CalculationRun, ATableDirectoryThatCannotBeWrittenIsReported)
{
    install({1});
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    calc.setTablesDir(dir.filePath("file") + "/");
    ProgressLog run;
    EXPECT_FALSE(calc.RunCalculation(run.progress()));
    EXPECT_EQ(run.hides, 1);
    EXPECT_EQ(recorder().messages.size(), 1u);
}

TEST_F(CalculationRun, AnotherTableOpenOnTheResultDoesNotMixOldRowsIn)
{
    install({1, 2});
    ASSERT_TRUE(calc.RunCalculation({}));
    db::Table other;
    other.SetTableName(calc.tablePath());
    other.Open();
    other.First();
    other.Edit();
    other.FieldByName("NAJEMCE").AsString("X");
    other.Post();
    const bool completed = calc.RunCalculation({});
    other.Close();
    db::Table check;
    check.SetTableName(calc.tablePath());
    check.Open();
    EXPECT_EQ(check.RecordCount(), 4);
    check.First();
    // Either the run refused (the old table with the edit stays) or its new rows stand.
    EXPECT_EQ(check.FieldByName("NAJEMCE").AsString(), completed ? "" : "X");
}

} // namespace

namespace {

// Every field of every row, against the committed dump; a second run in the same process
// gives the same table.
TEST_F(CalculationRun, RowsMatchTheGoldenDumpOnEveryRun)
{
    install({1, 12, 100, 7});
    ASSERT_TRUE(calc.RunCalculation({}));
    const QString first = testapp::dumpTable(calc.tablePath());
    testapp::expectGoldenText("unit_in_code.txt", first);
    ASSERT_TRUE(calc.RunCalculation({}));
    EXPECT_EQ(testapp::dumpTable(calc.tablePath()).toStdString(), first.toStdString());
}

} // namespace
