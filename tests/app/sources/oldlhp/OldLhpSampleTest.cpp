// The old-records sample unit through the whole calculation, against its committed dump.
#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "tools/samples/SampleData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

QByteArray dumpTable(const QString& path)
{
    db::Table t;
    t.SetTableName(path);
    t.Open();
    QStringList lines;
    QStringList names;
    for (int i = 0; i < t.FieldCount(); ++i)
        names << t.Fields(i).FieldName();
    lines << names.join(QLatin1Char('|'));
    for (t.First(); !t.Eof(); t.Next()) {
        QStringList values;
        for (int i = 0; i < t.FieldCount(); ++i)
            values << t.Fields(i).AsString();
        lines << values.join(QLatin1Char('|'));
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

TEST(OldLhpSample, LoadsEveryRecordAndGivesTheSameOnASecondRun)
{
    QTemporaryDir dir;
    const QString programDir = dir.path();
    files::setProgramDirectory(programDir);
    samples::writeSampleInstallation(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data"), programDir);
    const QString unitDir = programDir + QStringLiteral("/vzorky/lhp160");
    EXPECT_EQ(QDir(unitDir).entryList(QDir::Files).size(), 4);
    recorder().clear();

    app::Calculation calc;
    calc.setTablesDir(programDir + QStringLiteral("/"));
    calc.LesniCelek()->setProgramDir(programDir);
    calc.LesniCelek()->SetadresarObecnychDatLHP(unitDir);
    calc.LesniCelek()->setSource(app::createSource(SourceKinds::OldLhpRecords, {unitDir, programDir}));
    calc.LesniCelek()->LoadHeader();
    ASSERT_TRUE(calc.RunCalculation({}));
    const QByteArray first = dumpTable(calc.tablePath());
    const size_t messages = recorder().messages.size();
    ASSERT_TRUE(calc.RunCalculation({}));
    EXPECT_EQ(dumpTable(calc.tablePath()), first);
    EXPECT_EQ(recorder().messages.size(), 2 * messages);
    // D28 is a two-column field, so its text ("A ") is never the genetic class "A" or "B":
    // the old format gives no recognised stand, and the dump holds the field names alone.
    EXPECT_EQ(first.count('\n'), 1);

    const QString golden = QStringLiteral(GENKLAS_GOLDEN_DIR "/app/oldlhp/lhp160.txt");
    if (qEnvironmentVariableIsSet("GENKLAS_REGENERATE_GOLDEN")) {
        QFile out(golden);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(first);
    }
    QFile in(golden);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << golden.toStdString();
    EXPECT_EQ(first, in.readAll());
    // The sample installation has no forest-unit codebook: said once per run, nothing else.
    ASSERT_EQ(messages, 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("Nebudou načteny položky LHP_OD,LHP_DO,LHC_NAZ z číselníku LHC"));
}

// Every record of the sample's two files becomes one species of the loaded compartments.
TEST(OldLhpSample, EveryRecordBecomesASpecies)
{
    QTemporaryDir dir;
    const QString programDir = dir.path();
    files::setProgramDirectory(programDir);
    samples::writeSampleInstallation(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data"), programDir);
    const QString unitDir = programDir + QStringLiteral("/vzorky/lhp160");
    int records = 0;
    for (const QString& name : {QStringLiteral("/612501.01V"), QStringLiteral("/612501.03V")}) {
        QFile f(unitDir + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        records += int(f.readAll().count('\n'));
    }
    Owned<TLesniCelek> unit = Create<TLesniCelek>();
    unit->setProgramDir(programDir);
    unit->SetadresarObecnychDatLHP(unitDir);
    unit->setSource(app::createSource(SourceKinds::OldLhpRecords, {unitDir, programDir}));
    unit->LoadHeader();
    unit->ReloadCompartments();
    int species = 0;
    std::function<void(TElement*)> walk = [&](TElement* e) {
        species += e->ClassType()->ClassName() == QLatin1String("TDrevina") ? 1 : 0;
        if (auto* entity = dynamic_cast<TEntity*>(e))
            for (int i = 0; i < entity->Count(); ++i)
                walk(entity->Items(i));
    };
    for (int guard = 0; guard < 1000; ++guard) {
        walk(unit->LHC()->Oddeleni());
        if (unit->EndOfData())
            break;
        unit->LoadNextCompartment(false);
    }
    EXPECT_GT(records, 20);
    EXPECT_EQ(species, records);
    EXPECT_EQ(unit->CompartmentList().size(), 30);
}

} // namespace
