// The version-97 sample unit computed into TGENKL.DB.
#include "app/support/SampleList.h"

#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "tools/samples/SampleData.h"

namespace testapp {

QString computeSampleList(const QString& programDir)
{
    samples::writeSampleInstallation(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data"), programDir);
    const QString unitData = programDir + QStringLiteral("/vzorky/vex97/DATA");
    app::Calculation calc;
    calc.setTablesDir(programDir + QStringLiteral("/"));
    calc.LesniCelek()->setProgramDir(programDir);
    calc.LesniCelek()->setSource(app::createSource(SourceKinds::Vex97, {unitData, programDir}));
    calc.LesniCelek()->LoadHeader();
    return calc.RunCalculation({}) ? calc.tablePath() : QString();
}

} // namespace testapp
