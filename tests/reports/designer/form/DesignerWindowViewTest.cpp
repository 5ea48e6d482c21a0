// The designer window, its paper, the window view and the controller wired together over a
// running report: user intents on the widgets reach the document and come back shown.
#include "reports/designer/form/DesignerWindowView.h"

#include "reports/designer/controller/DesignerController.h"
#include "reports/designer/controller/SestavaReport.h"
#include "reports/designer/form/DesignerWindow.h"
#include "reports/designer/surface/Papir.h"
#include "reports/engine/SestavaTyp.h"
#include "reports/preview/ReportPanels.h"
#include "reports/support/FixedMeasurer.h"

#include "platform/ui/Services.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace reports;
using namespace reports::designer;

namespace {

class NoDialogs : public DesignerDialogs
{
public:
    std::optional<ReportSettingsData> settings(const ReportSettingsData&, int, int) override { return {}; }
    std::optional<ElementDialogData> element(const ElementDialogData&) override { return {}; }
    std::optional<ReportFont> font(const ReportFont&) override { return {}; }
    std::optional<FunctionSettings> function(const FunctionSettings&, const ExpressionLists&, int) override { return {}; }
    std::optional<NastaveniEditoru> editorSettings(const NastaveniEditoru&) override { return {}; }
    WizardOutcome wizard(const QStringList&, bool, const std::function<void()>&) override { return {}; }
};

class DesignerWindowViewTest : public ::testing::Test
{
protected:
    DesignerWindowViewTest()
    {
        m_saved = &ui::services();
        ui::setServices(&services);
        report.SetColumns({QStringLiteral("ODD"), QStringLiteral("PLOCHA")});
        report.SetPredloha({QStringLiteral("I,3,2,1,200,0"),
                            QStringLiteral("T,1,0,10,10,100,20,Arial CE,10,0,0,0,0,238,\"Ahoj\",0")});
        window.setPaper(paper);
        connectDesigner(window, controller);
        window.show();
        EXPECT_TRUE(controller.OpenReport());
    }
    ~DesignerWindowViewTest() override { ui::setServices(m_saved); }

    void mouse(QEvent::Type type, QPoint p)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(p), paper->mapToGlobal(QPointF(p)), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(paper, &event);
    }
    // A click on the body at model x, y (the zoom starts at 100 %).
    void clickBody(int x, int y)
    {
        const QPoint p(x, paper->bandRect(biBody).top() + y);
        mouse(QEvent::MouseButtonPress, p);
        mouse(QEvent::MouseButtonRelease, p);
    }
    void key(QWidget* target, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(target, &event);
    }
    const BandElements& body() const { return controller.Document().State().Band(biBody); }

    ui::RecordingServices services;
    TSestavaTyp report;
    SestavaReport adapter{report};
    NoDialogs dialogs;
    test::FixedMeasurer measurer;
    DesignerWindow window;
    // The paper calls the controller, which is made after the view that shows the paper.
    TPapir* paper = new TPapir(controller, measurer);
    DesignerWindowView view{window, *paper};
    DesignerController controller{adapter, view, dialogs, {}};

private:
    ui::Services* m_saved = nullptr;
};

} // namespace

TEST_F(DesignerWindowViewTest, ToolButtonAndPaperClickInsertAndCtrlZOnThePaperUndoes)
{
    ASSERT_EQ(body().size(), 1u);
    window.tools().toolButton(tcEllipse)->click();
    EXPECT_EQ(controller.ActiveTool(), tcEllipse);
    clickBody(30, 40);
    ASSERT_EQ(body().size(), 2u);
    const TVoReportElement& inserted = *body().back().Element;
    EXPECT_EQ(inserted.Kind, ekEllipse);
    EXPECT_EQ(QPoint(inserted.Left, inserted.Top), QPoint(32, 40));   // snapped to the raster of 8
    EXPECT_EQ(controller.ActiveTool(), tcArrow);
    EXPECT_TRUE(window.SBUndo1->isEnabled());
    EXPECT_EQ(window.SBUndo1->toolTip(), QStringLiteral("Zrušit vložení prvku"));

    // the editing keys reach the controller only from the paper
    window.objects().EditX->setFocus();
    key(window.objects().EditX, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(body().size(), 2u);
    paper->setFocus();
    key(paper, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(body().size(), 1u);
    EXPECT_FALSE(window.SBUndo1->isEnabled());
    EXPECT_TRUE(window.SBRedo1->isEnabled());
    EXPECT_EQ(window.SBUndo1->toolTip(), controller.Document().Variants().UndoHint());
    EXPECT_EQ(window.SBRedo1->toolTip(), controller.Document().Variants().RedoHint());
    EXPECT_EQ(paper->view().bands[biBody].elements.size(), 1u);
}

TEST_F(DesignerWindowViewTest, ANonNumberTypedInASizeBoxRestoresIt)
{
    clickBody(20, 15);
    ASSERT_EQ(controller.Document().ActiveId(), body()[0].Id);
    QLineEdit* x = window.objects().EditX;
    EXPECT_EQ(x->text(), QStringLiteral("10"));
    x->setText(QStringLiteral("1x"));
    key(x, Qt::Key_Return);
    EXPECT_EQ(x->text(), QStringLiteral("10"));
    EXPECT_EQ(body()[0].Element->Left, 10);
    EXPECT_FALSE(controller.Document().Variants().CanUndo());

    x->setText(QStringLiteral("25"));
    key(x, Qt::Key_Return);
    EXPECT_EQ(body()[0].Element->Left, 25);
    EXPECT_EQ(paper->elementRect(body()[0].Id).left(), 25);
    EXPECT_EQ(window.SBUndo1->toolTip(), QStringLiteral("Zrušit posun prvku"));
}

TEST_F(DesignerWindowViewTest, UndoAndRedoLeaveNothingSelectedAndTheElementControlsDisabled)
{
    clickBody(20, 15);
    const ElementId id = body()[0].Id;
    ASSERT_EQ(controller.Document().ActiveId(), id);
    QLineEdit* x = window.objects().EditX;
    x->setText(QStringLiteral("25"));
    key(x, Qt::Key_Return);
    ASSERT_EQ(body()[0].Element->Left, 25);
    ASSERT_TRUE(x->isEnabled());

    paper->setFocus();
    key(paper, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(body()[0].Element->Left, 10);
    EXPECT_EQ(controller.Document().ActiveId(), NoElement);
    EXPECT_TRUE(controller.Document().SelectedIds().empty());
    EXPECT_FALSE(x->isEnabled());
    EXPECT_FALSE(paper->view().bands[biBody].elements[0].active);

    clickBody(20, 15);
    ASSERT_EQ(controller.Document().ActiveId(), id);
    ASSERT_TRUE(x->isEnabled());
    window.SBRedo1->click();
    EXPECT_EQ(body()[0].Element->Left, 25);
    EXPECT_EQ(controller.Document().ActiveId(), NoElement);
    EXPECT_FALSE(x->isEnabled());
    EXPECT_FALSE(window.objects().EditW->isEnabled());
}

TEST_F(DesignerWindowViewTest, InsertedAndPastedElementsStayClearOfTheBandsCaptionStrip)
{
    const auto clearOfStrip = [this](ElementId id) {
        const QRect band = paper->bandRect(biBody);
        const QRect element = paper->elementRect(id);
        return element.top() >= band.top() && element.bottom() < band.bottom() + 1 - captionStrip;
    };
    window.tools().toolButton(tcEllipse)->click();
    clickBody(700, 195);   // near the body's right end and its strip
    ASSERT_EQ(body().size(), 2u);
    const DocumentElement& inserted = body().back();
    EXPECT_EQ(inserted.Element->Top + inserted.Element->Height, 200);
    EXPECT_LE(inserted.Element->Left + inserted.Element->Width, 726);   // A4 less the margins
    EXPECT_TRUE(clearOfStrip(inserted.Id));

    window.SBCopy->click();
    window.SBPaste->click();
    clickBody(10, 199);
    ASSERT_EQ(body().size(), 3u);
    EXPECT_EQ(body().back().Element->Top + body().back().Element->Height, 200);
    EXPECT_TRUE(clearOfStrip(body().back().Id));
}
