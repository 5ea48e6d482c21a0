// Fuzz test of the designer: hostile and mutated templates are opened, painted, moved and
// resized from the keyboard at every zoom, undone, saved and opened again.
#include "reports/designer/form/FormSestE.h"

#include "reports/Mutator.h"
#include "reports/designer/surface/Papir.h"
#include "reports/engine/ReportRun.h"
#include "reports/model/PageSettings.h"
#include "reports/model/ReportTables.h"
#include "reports/model/TemplateFile.h"
#include "reports/support/HostileTemplates.h"

#include "platform/ui/Services.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace reports;
using namespace reports::designer;

class DesignerFuzz : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        resetPageSettings();
        m_previous = &ui::services();
        ui::setServices(&m_ui);
        test::fillListData(m_report);
        m_report.SetPredloha({QStringLiteral("I,1,4,0,0")});
        m_form = std::make_unique<TFormSestE>(m_report, nullptr, m_dir.filePath(QStringLiteral("SESTDLL.INI")));
        ASSERT_TRUE(m_form->OpenReport({QRect(0, 0, 640, 480), 0, 0}));
        m_form->show();
    }
    void TearDown() override
    {
        m_form.reset();
        ui::setServices(m_previous);
        resetPageSettings();
    }

    DesignerController& controller() { return m_form->controller(); }
    const DocumentState& state() { return controller().Document().State(); }

    // Opens the bytes as the designer opens its report's template.
    void open(const QByteArray& bytes)
    {
        m_report.SetPredloha(TemplateLinesFromBytes(bytes));
        controller().LoadReportTemplate();
    }
    QByteArray saved() { return TemplateBytes(controller().Document().Write()); }

    // A key as it arrives: at the window's focus widget, the paper.
    void press(int key, Qt::KeyboardModifiers modifiers)
    {
        QWidget* focus = m_form->focusWidget();
        ASSERT_EQ(focus, &m_form->paper());
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(focus, &event);
    }

    // Paints the paper's corner and the parts at the element's corners.
    void paint(ElementId id)
    {
        TPapir& paper = m_form->paper();
        QImage image(160, 120, QImage::Format_RGB32);
        const QRect element = paper.elementRect(id);
        for (const QPoint at : {QPoint(0, 0), element.topLeft(), element.bottomRight() - QPoint(80, 60)}) {
            const QRect part = QRect(at, image.size()) & paper.rect();
            if (!part.isEmpty()) paper.render(&image, QPoint(), QRegion(part));
        }
    }

    // Every keyboard move and resize of the element at every zoom, the paper painted at each,
    // then an undo; what is saved then opens to the same template.
    void edit(ElementId id)
    {
        for (int zoom = 0; zoom < int(ZoomSteps.size()); ++zoom) {
            controller().SetZoomStep(zoom);
            if (id != NoElement) controller().selectOnly(id);
            paint(id);
            for (const Qt::KeyboardModifiers held : {Qt::KeyboardModifiers(Qt::ControlModifier),
                                                     Qt::ControlModifier | Qt::ShiftModifier,
                                                     Qt::KeyboardModifiers(Qt::ShiftModifier)})
                for (const int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up}) press(key, held);
            paint(id);
        }
        // keyboard moves never leave an element left of or above its band
        if (const TVoReportElement* e = state().Element(id)) {
            EXPECT_GE(e->Left, 0);
            EXPECT_GE(e->Top, 0);
        }
        press(Qt::Key_Z, Qt::ControlModifier);
        paint(id);
        const QByteArray first = saved();
        open(first);
        paint(id);
        EXPECT_EQ(saved(), first);
    }

    std::string messages() const
    {
        QStringList texts;
        for (const auto& m : m_ui.messages) texts << m.text;
        return texts.join(u'|').toStdString();
    }

    QTemporaryDir m_dir;
    ui::RecordingServices m_ui;
    ui::Services* m_previous = nullptr;
    test::ListReport m_report;
    std::unique_ptr<TFormSestE> m_form;
};

// Elements and bands beyond the engine's bounds open held to them, and the paper paints and
// moves them at every zoom without an error.
TEST_F(DesignerFuzz, HugeCoordinatesAreHeldToTheEngineBounds)
{
    constexpr int bound = int(ReportRun::maxCoordinate);
    const std::vector<QByteArray> inputs = test::hugeCoordinateTemplates();
    const QRect expected[] = {{10, 0, bound, 10}, {-bound, 0, 100, 10}, {10, 0, -bound, 10}};
    for (size_t i = 0; i < inputs.size(); ++i) {
        SCOPED_TRACE(inputs[i].toStdString());
        open(inputs[i]);
        const std::vector<ElementId> ids = state().Ids();
        if (i < std::size(expected)) {
            ASSERT_EQ(ids.size(), 1u);
            const TVoReportElement& e = *state().Element(ids[0]);
            EXPECT_EQ(QRect(e.Left, e.Top, e.Width, e.Height), expected[i]);
        }
        if (i == 3) EXPECT_EQ(controller().Document().BandHeight(biBody), bound);
        edit(ids.empty() ? NoElement : ids[0]);
    }
    EXPECT_TRUE(m_ui.messages.empty()) << messages();
}

TEST_F(DesignerFuzz, MutatedTemplatesOpenPaintMoveUndoAndSave)
{
    const std::vector<QByteArray> seeds = test::templateSeeds();
    reports::test::Mutator mutator(20261209);
    for (int round = 0; round < 120; ++round) {
        const QByteArray bytes = mutator.mutate(seeds[size_t(round) % seeds.size()]);
        SCOPED_TRACE(testing::Message() << "round " << round << "\n" << bytes.toStdString());
        resetPageSettings();
        open(bytes);
        const std::vector<ElementId> ids = state().Ids();
        edit(ids.empty() ? NoElement : ids[mutator.next(unsigned(ids.size()))]);
        ASSERT_TRUE(m_ui.messages.empty()) << messages();
    }
}

} // namespace
