// Fuzz test of the report run: hostile and mutated templates run over a small data set, and
// their pages are laid out, drawn as the preview draws them and printed in characters.
#include "reports/engine/SestavaTyp.h"

#include "reports/Mutator.h"
#include "reports/model/PageSettings.h"
#include "reports/model/TemplateFile.h"
#include "reports/output/Canvas.h"
#include "reports/support/HostileTemplates.h"

#include "platform/ui/Services.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

using namespace reports;

class ReportRunFuzz : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetPageSettings();
        m_previous = &ui::services();
        ui::setServices(&m_ui);
    }
    void TearDown() override
    {
        ui::setServices(m_previous);
        resetPageSettings();
    }

    // Runs the template over the list's rows; answers the run's result.
    static int run(test::ListReport& report, const QByteArray& bytes)
    {
        test::fillListData(report);
        report.SetPredloha(TemplateLinesFromBytes(bytes));
        return report.RunReport();
    }

    // Draws the first pages as the preview does (the page picture stretched into an image,
    // the items at a zoom) and prints the report in characters.
    static void drawAndPrint(test::ListReport& report)
    {
        QImage image(120, 170, QImage::Format_RGB32);
        for (int p = 0; p < std::min(report.Output.PageCount(), 4); ++p) {
            report.Output.SelectPage(p);
            QPainter painter(&image);
            report.Output.DrawPage(painter, QRectF(image.rect()));
            painter.setRenderHint(QPainter::Antialiasing);
            PainterCanvas canvas(painter, QPointF(5, 5), 0.32, 0.32);
            report.Output.DrawItems(p, canvas);
        }
        report.Output.setLineSpacing(report.Raster.LineSpacing);
        report.Output.CharacterBytes(1, 4, {}, 1, TSestLanguage::slUndefined);
    }

    ui::RecordingServices m_ui;
    ui::Services* m_previous = nullptr;
};

// A name of blanks has no face to draw in: the text takes the default face of template
// elements, and the template keeps the name as read.
TEST_F(ReportRunFuzz, ABlankFontNameDrawsInTheDefaultFace)
{
    test::ListReport report;
    ASSERT_EQ(run(report, test::blankFontTemplate), 0);
    const TVoReportElement& variable = report.Sections.SectionAt(siPageFoot).ElementAt(0);
    EXPECT_EQ(variable.Font.Name, QStringLiteral("\t"));
    EXPECT_EQ(deviceFont(variable.Font).name, ReportFont().Name);
    ASSERT_EQ(report.Output.PageCount(), 1);
    EXPECT_FALSE(report.Output.pagePicture().isNull());
    drawAndPrint(report);
}

TEST_F(ReportRunFuzz, MutatedTemplatesRunDrawAndPrint)
{
    const std::vector<QByteArray> seeds = test::templateSeeds();
    reports::test::Mutator mutator(20261208);
    for (int round = 0; round < 1200; ++round) {
        resetPageSettings();
        const QByteArray bytes = mutator.mutate(seeds[size_t(round) % seeds.size()]);
        test::ListReport report;
        ASSERT_EQ(run(report, bytes), 0) << "round " << round << "\n" << bytes.toStdString();
        drawAndPrint(report);
    }
}

} // namespace
