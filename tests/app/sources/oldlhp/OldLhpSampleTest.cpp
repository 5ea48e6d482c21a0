// The old-records sample unit through the whole calculation, against its committed dump and
// against the values its writer wrote.
#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"
#include "tools/oldlhp/OldLhpSampleWriter.h"
#include "tools/samples/SampleData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

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
    // The genetic class comes from D28, the site class, never "A" or "B":
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

qint64 hundredths(TElement* e, const char* property)
{
    return std::llround(e->GetPropAsString(QString::fromLatin1(property)).replace(',', '.').toDouble() * 100.0);
}

// The values of one species, with where it stands and its storey's, as one comparable line.
QString speciesLine(int odd, const QString& dil, const QString& stand, const QString& group, qint64 groupArea,
                    qint64 storeyArea, int age, int stocking, int hs, const QString& species, int share, qint64 area,
                    int siteClass, int volume, int volumePerHectare, int height, int diameter, int thinning,
                    int owner, int ownerKind)
{
    return QStringLiteral("%1%2%3 psk %4 (%5/%6 ha) vek %7 zakm %8 hs %9 | %10 %11 % %12 ha bon %13 "
                          "zas %14 (%15/ha) v %16 d %17 to %18 | maj %19/%20")
        .arg(odd).arg(dil, stand, group).arg(groupArea).arg(storeyArea).arg(age).arg(stocking).arg(hs)
        .arg(species).arg(share).arg(area).arg(siteClass).arg(volume).arg(volumePerHectare)
        .arg(height).arg(diameter).arg(thinning).arg(owner).arg(ownerKind);
}

// The sample unit loads as the writer wrote it: every species with its place, area, age,
// stocking, site class and volumes.
TEST(OldLhpSample, LoadsTheValuesTheWriterWrote)
{
    QTemporaryDir dir;
    const QString programDir = dir.path();
    const QString sourceDir = QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data");
    files::setProgramDirectory(programDir);
    samples::writeSampleInstallation(sourceDir, programDir);
    const QString unitDir = programDir + QStringLiteral("/vzorky/lhp160");
    QStringList written;
    for (const samples::OldLhpRow& r : samples::oldLhpSampleUnit(sourceDir).rows)
        written << speciesLine(r.odd, QString(QLatin1Char(r.dil)), QString(QLatin1Char(r.stand)), r.group, r.groupArea,
                               r.groupArea, r.age, r.stocking, r.hs, r.species, r.share, r.area, r.siteClass, r.volume,
                               txt::roundHalfEven(r.volume * 100.0 / r.groupArea), r.height, r.diameter, r.thinning,
                               r.owner, r.ownerKind);

    Owned<TLesniCelek> unit = Create<TLesniCelek>();
    unit->setProgramDir(programDir);
    unit->SetadresarObecnychDatLHP(unitDir);
    unit->setSource(app::createSource(SourceKinds::OldLhpRecords, {unitDir, programDir}));
    unit->LoadHeader();
    unit->ReloadCompartments();
    QStringList loaded;
    for (int guard = 0; guard < 1000; ++guard) {
        TOddeleni* odd = unit->LHC()->Oddeleni();
        for (int i = 0; i < odd->DilecMN()->Count(); ++i) {
            TDilec* dil = odd->DilecAt(i);
            for (int j = 0; j < dil->PorostMN()->Count(); ++j) {
                TPorost* stand = dil->PorostAt(j);
                for (int k = 0; k < stand->PorostniSkupinaMN()->Count(); ++k) {
                    TPorostniSkupina* group = stand->PorostniSkupinaAt(k);
                    TEtaz* storey = group->EtazMN()->Count() == 1 ? group->EtazAt(0) : nullptr;
                    ASSERT_TRUE(storey) << group->CeleOznaceni().toStdString();
                    for (int n = 0; n < storey->DrevinaMN()->Count(); ++n) {
                        TDrevina* d = storey->DrevinaAt(n);
                        loaded << speciesLine(
                            odd->ODD(), dil->DIL(), stand->GetPropAsString("POR"), group->GetPropAsString("PSK").trimmed(),
                            hundredths(group, "PSK_P"), hundredths(storey, "ETAZ_PP"), storey->GetPropAsInteger("VEK"),
                            storey->GetPropAsInteger("ZAKM"), storey->GetPropAsInteger("HS"), d->DR_ZKR().trimmed(),
                            d->GetPropAsInteger("ZAST"), hundredths(d, "PLOCHA_DREVINY"), d->GetPropAsInteger("BON_A"),
                            d->GetPropAsInteger("DR_ZAS_CEL"), d->GetPropAsInteger("DR_ZAS_HA"), d->GetPropAsInteger("VYSKA"),
                            d->GetPropAsInteger("TLOUSTKA"), d->GetPropAsInteger("DR_TO"), stand->MAJ_KOD(), stand->MAJ_DRUH());
                    }
                }
            }
        }
        if (unit->EndOfData())
            break;
        unit->LoadNextCompartment(false);
    }
    EXPECT_EQ(unit->CompartmentList().size(), 30);
    EXPECT_GT(written.size(), 60);
    EXPECT_EQ(loaded.join(QLatin1Char('\n')).toStdString(), written.join(QLatin1Char('\n')).toStdString());
}

} // namespace
