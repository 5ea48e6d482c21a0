// A calculation replaces the corrected list only with a complete new list.
#include "app/calculation/ListReplacement.h"

#include "app/calculation/Calculation.h"
#include "app/support/CalculationFixture.h"
#include "platform/db/Table.h"
#include "platform/db/paradox/TableFiles.h"
#include "platform/files/FileOps.h"
#include "platform/ui/Services.h"
#include "support/FailingFileOps.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using testapp::bytesOf;
using testapp::recorder;

class ListReplacementRun : public testapp::CalculationFixture
{
protected:
    ListReplacementRun() : CalculationFixture(QList<testapp::SpeciesSpec>{{"SM", "A", 60, 300, 90}}) {}

    void SetUp() override
    {
        CalculationFixture::SetUp();
        install({4, 9});
        ASSERT_TRUE(calc.RunCalculation({}));
        // The user's correction, and a .MB that another program left beside the list.
        testapp::correctFirstTenant(calc.tablePath());
        QFile blobs(blobPath());
        ASSERT_TRUE(blobs.open(QIODevice::WriteOnly));
        blobs.write(QByteArray(2048, 'm'));
        blobs.close();
        corrected = bytesOf(calc.tablePath());
        recorder().clear();
    }
    QString blobPath() const { return dir.filePath(QStringLiteral("TGENKL.MB")); }
    // The old list and its .MB as they were, and nothing of a new list left behind.
    void expectOldListKept(const char* when)
    {
        SCOPED_TRACE(when);
        EXPECT_EQ(bytesOf(calc.tablePath()), corrected);
        EXPECT_EQ(bytesOf(blobPath()), QByteArray(2048, 'm'));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  (QStringList{QStringLiteral("TGENKL.DB"), QStringLiteral("TGENKL.MB")}));
        ASSERT_FALSE(recorder().messages.empty());
        EXPECT_TRUE(recorder().messages.back().text.endsWith(
            QStringLiteral("Dosavadní seznam uznaných porostů (TGENKL.DB) zůstal beze změny.")));
        EXPECT_FALSE(db::Table::isOpenInProcess(calc.tablePath()));
    }
    QStringList najemce()
    {
        db::Table t;
        t.SetTableName(calc.tablePath());
        t.Open();
        QStringList values;
        for (t.First(); !t.Eof(); t.Next())
            values << t.FieldByName(QStringLiteral("ODD")).AsString() + QLatin1Char(':') +
                          t.FieldByName(QStringLiteral("NAJEMCE")).AsString();
        return values;
    }

    QByteArray corrected;
};

TEST_F(ListReplacementRun, ASourceThatReadNoUnitLeavesTheCorrectedListAndSaysSo)
{
    install({4, 9})->readsUnit = false;
    int shown = 0;
    EXPECT_FALSE(calc.RunCalculation({[&](int) { ++shown; }, {}, {}}));
    EXPECT_EQ(shown, 0);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_TRUE(recorder().messages[0].text.startsWith(QStringLiteral("Nic nebylo spočteno: lesní celek nebyl načten.")));
    expectOldListKept("no unit");
}

TEST_F(ListReplacementRun, AFailureWhileRowsAreAppendedLeavesTheCorrectedList)
{
    install({4, 9, 11})->failAt = 2;
    EXPECT_FALSE(calc.RunCalculation({}));
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_TRUE(recorder().messages[0].text.startsWith(QStringLiteral("Tabulka ODDELENI je poškozena.")));
    expectOldListKept("load failure");
}

TEST_F(ListReplacementRun, AFailureAtEveryFileStepLeavesTheCorrectedList)
{
    for (const bool isTorn : {false, true}) {
        int failedSteps = 0;
        for (int failAt = 1;; ++failAt) {
            recorder().clear();
            test::FailingFileOps ops(failAt, isTorn);
            bool completed = false;
            {
                const files::ScopedFileOps scoped(ops);
                completed = calc.RunCalculation({});
            }
            if (!ops.hasFailed()) {
                ASSERT_TRUE(completed);
                break;
            }
            ++failedSteps;
            EXPECT_FALSE(completed) << "step " << failAt;
            expectOldListKept(isTorn ? "torn" : "clean");
            ASSERT_LT(failAt, 50);
        }
        // Creating the new table, writing it at its close, and the rename: each may fail.
        EXPECT_GE(failedSteps, 5);
        EXPECT_EQ(najemce(), (QStringList{QStringLiteral("4:"), QStringLiteral("9:")}));
        EXPECT_FALSE(QFile::exists(blobPath()));
        // The corrected list back for the torn round.
        ASSERT_TRUE(QFile::remove(calc.tablePath()));
        QFile list(calc.tablePath());
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write(corrected);
        list.close();
        QFile blobs(blobPath());
        ASSERT_TRUE(blobs.open(QIODevice::WriteOnly));
        blobs.write(QByteArray(2048, 'm'));
    }
}

TEST_F(ListReplacementRun, AUnitWithoutCompartmentsGivesTheEmptyList)
{
    install({});
    EXPECT_TRUE(calc.RunCalculation({}));
    EXPECT_TRUE(recorder().messages.empty());
    EXPECT_TRUE(najemce().isEmpty());
    EXPECT_FALSE(QFile::exists(blobPath()));
}

TEST_F(ListReplacementRun, TheListOpenInTheProgramIsNotReplaced)
{
    db::Table open;
    open.SetTableName(calc.tablePath());
    open.Open();
    EXPECT_FALSE(calc.RunCalculation({}));
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_TRUE(recorder().messages[0].text.startsWith(QStringLiteral("Tabulka je otevřena.")));
    open.Close();
    expectOldListKept("open");
}

// Another copy of the program saving the list holds its lock file: the new list is not put in
// place over it, and once that save is over a run replaces the list.
TEST_F(ListReplacementRun, AListAnotherCopyIsSavingIsNotReplaced)
{
    {
        const db::paradox::TableLock otherSave(calc.tablePath());
        EXPECT_FALSE(calc.RunCalculation({}));
    }
    expectOldListKept("saved by another copy");
    recorder().clear();
    EXPECT_TRUE(calc.RunCalculation({}));
    EXPECT_NE(bytesOf(calc.tablePath()), corrected);
}

} // namespace
