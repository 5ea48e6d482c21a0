// Fuzz test of the template reader: mutated templates never crash, and what is written once
// reads back to the same text.
#include "reports/model/ReportModel.h"

#include "reports/model/PageSettings.h"
#include "reports/model/TemplateFile.h"

#include "reports/Mutator.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace reports;

TEST(TemplateFuzz, MutatedTemplatesReadAndWriteStably)
{
    QFile file(QStringLiteral(GENKLAS_GOLDEN_DIR "/reports/every_element.pts"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray seed = file.readAll();
    test::Mutator mutator(20261207);
    for (int round = 0; round < 3000; ++round) {
        resetPageSettings();
        const QByteArray bytes = mutator.mutate(seed);
        ReportModel report;
        report.SetColumns({QStringLiteral("ODD"), QStringLiteral("DIL")});
        report.SetPredloha(TemplateLinesFromBytes(bytes));
        const QStringList first = report.WriteTemplate();
        for (int s = 0; s < report.Sections.Count(); ++s) {
            const TOddilSestavy& section = report.Sections.SectionAt(s);
            for (int e = 0; e < section.ElementCount(); ++e)
                section.ElementAt(e).ValueText();
        }
        ReportModel again;
        again.SetColumns({QStringLiteral("ODD"), QStringLiteral("DIL")});
        again.SetPredloha(first);
        ASSERT_EQ(again.WriteTemplate(), first) << "round " << round << "\n" << bytes.toStdString();
    }
    resetPageSettings();
}
