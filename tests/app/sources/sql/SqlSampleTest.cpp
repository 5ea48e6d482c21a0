// The sample SQL database against the version-97 sample it was made from, and a golden run of unit 2.
#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "app/sources/sql/SqlSource.h"
#include "app/support/TableDump.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "platform/db/sql/Aliases.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"
#include "tools/samples/SampleData.h"
#include "tools/sql/SqlSample.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

class SqlSampleRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        recorder().clear();
        programDir = m_dir.path();
        files::setProgramDirectory(programDir);
        samples::writeSampleInstallation(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data"), programDir);
        vexData = programDir + QStringLiteral("/vzorky/vex97/DATA");
        IniFile(programDir + QStringLiteral("/vkm.ini"))
            .writeString(QStringLiteral("DATABASE"), QStringLiteral("DATA"), QStringLiteral("PATH=") + vexData);
        firstUnit = sqlsample::writeSqlSample(vexData, programDir);
        m_oldLogin = sqlsrc::loginDialog();
        m_oldChooser = sqlsrc::unitChooser();
        sqlsrc::loginDialog() = [](const QString&, const QString&) {
            return std::optional<sqlsrc::LoginAnswer>(sqlsrc::LoginAnswer{QStringLiteral("LHP"), QStringLiteral("LHP"), QString()});
        };
        sqlsrc::unitChooser() = [this](const QString&) { return std::optional<sqlsrc::UnitKey>(chosen); };
    }
    void TearDown() override
    {
        sqlsrc::loginDialog() = m_oldLogin;
        sqlsrc::unitChooser() = m_oldChooser;
        db::Aliases::setAliasFile(QString());
    }

    // The rows of TGENKL.DB of one calculation, MAJ_NAZ left out, sorted.
    QStringList run(quint8 kind, bool twice = false, QString* whole = nullptr)
    {
        app::Calculation calc;
        calc.setTablesDir(programDir + QStringLiteral("/"));
        calc.LesniCelek()->setProgramDir(programDir);
        calc.LesniCelek()->setSource(app::createSource(kind, {vexData, programDir}));
        calc.LesniCelek()->LoadHeader();
        EXPECT_TRUE(calc.RunCalculation({}));
        QString text = testapp::dumpTable(calc.tablePath());
        if (twice) {
            EXPECT_TRUE(calc.RunCalculation({}));
            EXPECT_EQ(testapp::dumpTable(calc.tablePath()), text);
        }
        if (whole)
            *whole = text;
        QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const int majNaz = lines.isEmpty() ? -1 : lines[0].split(QLatin1Char('|')).indexOf(QStringLiteral("MAJ_NAZ"));
        for (QString& line : lines) {
            QStringList fields = line.split(QLatin1Char('|'));
            if (majNaz >= 0 && majNaz < fields.size())
                fields.removeAt(majNaz);
            line = fields.join(QLatin1Char('|'));
        }
        std::sort(lines.begin() + (lines.isEmpty() ? 0 : 1), lines.end());
        return lines;
    }

    QString programDir;
    QString vexData;
    sqlsrc::UnitKey chosen{1, 0};
    sqlsrc::UnitKey firstUnit;

private:
    QTemporaryDir m_dir;
    sqlsrc::LoginDialog m_oldLogin;
    sqlsrc::UnitChooser m_oldChooser;
};

TEST_F(SqlSampleRun, UnitOneGivesTheRowsOfTheParadoxSample)
{
    const QStringList paradox = run(SourceKinds::Vex97);
    ASSERT_GT(paradox.size(), 20);
    chosen = firstUnit;
    const QStringList sql = run(SourceKinds::SqlDatabase);
    EXPECT_EQ(sql.size(), paradox.size());
    for (int i = 0; i < std::min(sql.size(), paradox.size()); ++i)
        EXPECT_EQ(sql[i].toStdString(), paradox[i].toStdString());
}

TEST_F(SqlSampleRun, UnitTwoMatchesItsGoldenDumpOnEveryRun)
{
    chosen = {2, 0};
    QString text;
    run(SourceKinds::SqlDatabase, true, &text);
    EXPECT_GT(text.count(QLatin1Char('\n')), 2);
    testapp::expectGoldenText(QStringLiteral("samples/sql_unit2.txt"), text);
}

} // namespace
