// Calculations over the bundled sample units, compared with committed dumps of TGENKL.DB.
#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "app/support/RecordedRun.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"
#include "tools/samples/SampleData.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using testapp::bytesOf;
using testapp::recorder;

// Every row of the table, every field as text, one line per row.
QByteArray dumpTable(const QString& path)
{
    db::Table t;
    t.SetTableName(path);
    t.Open();
    QStringList lines;
    QStringList names;
    for (int i = 0; i < t.FieldCount(); ++i)
        names.append(t.Fields(i).FieldName());
    lines.append(names.join(QLatin1Char('|')));
    for (t.First(); !t.Eof(); t.Next()) {
        QStringList values;
        for (int i = 0; i < t.FieldCount(); ++i)
            values.append(t.Fields(i).AsString());
        lines.append(values.join(QLatin1Char('|')));
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

class SampleRun : public ::testing::TestWithParam<quint8>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        recorder().clear();
        programDir = m_dir.path();
        files::setProgramDirectory(programDir);
        samples::writeSampleInstallation(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data"), programDir);
    }

    QString unitData() const
    {
        return programDir + (GetParam() == SourceKinds::Vex98 ? QStringLiteral("/vzorky/vex98/DATA")
                                                               : QStringLiteral("/vzorky/vex97/DATA"));
    }

    QString programDir;

private:
    QTemporaryDir m_dir;
};

TEST_P(SampleRun, GivesTheCommittedRowsAndTheSameOnASecondRun)
{
    IniFile vkm(programDir + QStringLiteral("/vkm.ini"));
    vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("DATA"), QStringLiteral("PATH=") + unitData());
    // The sibling program's index beside one of its tables: the table is read, never written.
    const QString species = unitData() + QStringLiteral("/DREVINA.DB");
    {
        QFile index(unitData() + QStringLiteral("/DREVINA.PX"));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write(QByteArray(2048, '\x02'));
    }
    const QByteArray speciesBefore = bytesOf(species);
    app::Calculation calc;
    calc.setTablesDir(programDir + QStringLiteral("/"));
    calc.LesniCelek()->setProgramDir(programDir);
    calc.LesniCelek()->setSource(app::createSource(GetParam(), {unitData(), programDir}));
    calc.LesniCelek()->LoadHeader();
    ASSERT_TRUE(calc.RunCalculation({}));
    const QByteArray first = dumpTable(calc.tablePath());
    EXPECT_TRUE(recorder().messages.empty()) << recorder().messages[0].text.toStdString();
    ASSERT_TRUE(calc.RunCalculation({}));
    EXPECT_EQ(dumpTable(calc.tablePath()), first);
    EXPECT_GT(first.count('\n'), 20);
    EXPECT_EQ(bytesOf(species), speciesBefore);

    const QString golden = QStringLiteral(GENKLAS_GOLDEN_DIR "/app/samples/%1.txt")
                               .arg(GetParam() == SourceKinds::Vex98 ? QStringLiteral("vex98") : QStringLiteral("vex97"));
    if (qEnvironmentVariableIsSet("GENKLAS_REGENERATE_GOLDEN")) {
        QFile out(golden);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(first);
    }
    QFile in(golden);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << golden.toStdString();
    EXPECT_EQ(first, in.readAll());
}

INSTANTIATE_TEST_SUITE_P(Units, SampleRun, ::testing::Values(SourceKinds::Vex97, SourceKinds::Vex98),
                         [](const ::testing::TestParamInfo<quint8>& info) {
                             return info.param == SourceKinds::Vex98 ? std::string("Vex98") : std::string("Vex97");
                         });

} // namespace
