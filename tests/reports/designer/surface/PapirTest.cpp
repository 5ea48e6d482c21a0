#include "reports/designer/surface/Papir.h"

#include "reports/designer/surface/ElementPainter.h"
#include "reports/model/ReportElement.h"
#include "reports/output/Canvas.h"
#include "reports/output/OutputItem.h"
#include "reports/output/TextLayout.h"
#include "reports/support/FixedMeasurer.h"

#include "platform/Exceptions.h"
#include "platform/ui/Services.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace reports;
using namespace reports::designer;

namespace {

constexpr int bandHeight = 100;
// The body's top: report start and page head stack above it.
constexpr int bodyTop = 2 * (bandHeight + captionStrip);

// Records every command; keeps a selection and shows it, as the designer does.
class FakeHost : public SurfaceHost
{
public:
    QStringList calls;
    int tool = 0;
    std::set<ElementId> selection;
    ElementId active = NoElement;
    std::function<void()> reshow;
    bool failsDrags = false;

    void showPosition(int l, int t) override { calls << QStringLiteral("position %1 %2").arg(l).arg(t); }
    void showSize(int w, int h) override { calls << QStringLiteral("size %1 %2").arg(w).arg(h); }
    void pressArrow() override { calls << QStringLiteral("arrow"); }
    void selectOnly(ElementId id) override
    {
        calls << QStringLiteral("select %1").arg(id);
        // A multiple selection the element belongs to stays.
        if (!(selection.contains(id) && selection.size() > 1)) selection = {id};
        active = id;
        reshow();
    }
    void removeFromSelection(ElementId id) override
    {
        calls << QStringLiteral("remove %1").arg(id);
        selection.erase(id);
        if (active == id) active = selection.empty() ? NoElement : *selection.begin();
        reshow();
    }
    void addToSelection(ElementId id) override
    {
        calls << QStringLiteral("add %1").arg(id);
        selection.insert(id);
        if (active == NoElement) active = id;
        reshow();
    }
    void elementsDragged(const std::vector<ElementMove>& moves) override
    {
        if (failsDrags) throw EIntOverflow(QStringLiteral("Přetečení celého čísla"));
        QString line = QStringLiteral("dragged");
        for (const ElementMove& m : moves)
            line += QStringLiteral(" %1:%2,%3,%4,%5").arg(m.id).arg(m.rect.x()).arg(m.rect.y()).arg(m.rect.width()).arg(m.rect.height());
        calls << line;
    }
    void bandDoubleClicked(int band) override { calls << QStringLiteral("band double %1").arg(band); }
    void elementDoubleClicked(ElementId id) override { calls << QStringLiteral("double %1").arg(id); }
    void showCoordinates(int, int) override {}
    void bandHeightChanged(int band, int h) override { calls << QStringLiteral("height %1 %2").arg(band).arg(h); }
    int activeTool() const override { return tool; }
    void bandClicked(int band, int x, int y) override { calls << QStringLiteral("click %1 %2 %3").arg(band).arg(x).arg(y); }

    QStringList commands() const
    {
        QStringList out;
        for (const QString& c : calls)
            if (!c.startsWith(QLatin1String("position")) && !c.startsWith(QLatin1String("size"))) out << c;
        return out;
    }
};

class PapirTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        add(1, ekRectangle, {10, 10, 50, 20});
        add(2, ekRectangle, {100, 10, 40, 20});
        add(3, ekLine, {200, 50, 30, 30});
        host.reshow = [this] { papir.setView(view()); };
        papir.setView(view());
    }

    void add(ElementId id, int kind, const QRect& r)
    {
        auto e = std::make_unique<TVoReportElement>(nullptr);
        e->Kind = kind;
        e->Left = r.x();
        e->Top = r.y();
        e->Width = r.width();
        e->Height = r.height();
        e->Lines = lnLeft | lnRisingOrStretch;
        e->BrushColor = 0x00C0FF;
        elements.emplace_back(id, std::move(e));
    }

    SurfaceView view() const
    {
        SurfaceView v = shape;
        for (int i = 0; i < 5; ++i) {
            SurfaceBand& b = v.bands[size_t(i)];
            b.index = i;
            if (i != biBody) continue;
            for (const auto& [id, e] : elements)
                b.elements.push_back({id, e.get(), e->Text, host.active == id, host.selection.contains(id)});
        }
        return v;
    }

    static SurfaceView initialShape()
    {
        SurfaceView v;
        v.paperWidth = 400;
        v.bands.resize(5);
        for (SurfaceBand& b : v.bands) {
            b.height = bandHeight;
            b.caption = QStringLiteral("Oddíl");
        }
        return v;
    }

    void mouse(QEvent::Type type, QPoint p, Qt::KeyboardModifiers modifiers = {})
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(p), papir.mapToGlobal(QPointF(p)), button, held, modifiers);
        QApplication::sendEvent(&papir, &event);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
    {
        mouse(QEvent::MouseButtonPress, from, modifiers);
        mouse(QEvent::MouseMove, (from + to) / 2, modifiers);
        mouse(QEvent::MouseMove, to, modifiers);
        mouse(QEvent::MouseButtonRelease, to, modifiers);
    }
    void click(QPoint p, Qt::KeyboardModifiers modifiers = {}) { drag(p, p, modifiers); }
    // A point of the body, in body pixels.
    static QPoint body(int x, int y) { return {x, bodyTop + y}; }

    std::vector<std::pair<ElementId, std::unique_ptr<TVoReportElement>>> elements;
    SurfaceView shape = initialShape();
    FakeHost host;
    test::FixedMeasurer measurer;
    TPapir papir{host, measurer};
};

} // namespace

TEST_F(PapirTest, ClicksSelectAndShiftClicksAddAndRemove)
{
    click(body(20, 15));
    click(body(110, 15), Qt::ShiftModifier);
    click(body(20, 15), Qt::ShiftModifier);
    EXPECT_EQ(host.commands(), QStringList({"arrow", "select 1", "add 2", "remove 1"}));
    EXPECT_EQ(host.selection, std::set<ElementId>{2});
}

TEST_F(PapirTest, OneElementDragIsReportedOnceAtRelease)
{
    mouse(QEvent::MouseButtonPress, body(30, 20));
    mouse(QEvent::MouseMove, body(40, 25));
    mouse(QEvent::MouseMove, body(55, 33));
    // The surface shows the moving element itself.
    EXPECT_EQ(papir.elementRect(1), QRect(35, bodyTop + 23, 50, 20));
    EXPECT_FALSE(host.calls.join(u'|').contains("dragged"));
    mouse(QEvent::MouseButtonRelease, body(55, 33));
    EXPECT_EQ(host.commands(), QStringList({"arrow", "select 1", "dragged 1:35,23,50,20"}));
    EXPECT_TRUE(host.calls.contains("position 35 23"));
    EXPECT_FALSE(host.calls.join(u'|').contains("size"));
    // The host did not take the move: the element shows where the view has it.
    EXPECT_EQ(papir.elementRect(1), QRect(10, bodyTop + 10, 50, 20));
}

// An edit that fails at the release is shown as a message; the surface ends the drag and goes
// on answering the mouse.
TEST_F(PapirTest, AnErrorOfAnEditIsShownAndTheSurfaceGoesOn)
{
    ui::RecordingServices recorder;
    ui::Services& previous = ui::services();
    ui::setServices(&recorder);
    host.failsDrags = true;
    drag(body(30, 20), body(55, 33));
    ui::setServices(&previous);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, QStringLiteral("Přetečení celého čísla"));
    EXPECT_EQ(recorder.messages[0].type, ui::MsgType::Error);
    EXPECT_EQ(papir.elementRect(1), QRect(10, bodyTop + 10, 50, 20));
    host.calls.clear();
    click(body(110, 15));
    EXPECT_EQ(host.commands(), QStringList({"arrow", "select 2"}));
}

TEST_F(PapirTest, PressOnAHandleOfTheNewlySelectedElementResizes)
{
    // The zone counts after the press selected the element.
    drag(body(58, 28), body(-100, -100));
    EXPECT_EQ(host.commands().last(), "dragged 1:10,10,3,3");
    EXPECT_TRUE(host.calls.contains("size 3 3"));
    EXPECT_FALSE(host.calls.join(u'|').contains("position"));
    // A click without a move records nothing.
    host.calls.clear();
    click(body(20, 15));
    EXPECT_EQ(host.commands(), QStringList({"arrow", "select 1"}));
}

TEST_F(PapirTest, MultiDragMovesOthersByTheDeltaTheDraggedOneGotNoneBelowZero)
{
    click(body(20, 15));
    click(body(110, 15), Qt::ShiftModifier);
    click(body(210, 60), Qt::ShiftModifier);
    host.calls.clear();
    // Element 2 at x 100 is dragged 150 to the left: it stops at 0, so the others move 100.
    drag(body(110, 15), body(-40, 18));
    EXPECT_EQ(host.commands(), QStringList({"arrow", "select 2", "dragged 2:0,13,40,20 1:0,13,50,20 3:100,53,30,30"}));
}

TEST_F(PapirTest, ControlPressOnAMemberDragsTheWholeSelection)
{
    host.selection = {1, 2};
    host.active = 1;
    papir.setView(view());
    drag(body(110, 15), body(120, 35), Qt::ControlModifier);
    EXPECT_EQ(host.commands(), QStringList({"arrow", "select 2", "dragged 2:110,30,40,20 1:20,30,50,20"}));
}

TEST_F(PapirTest, RubberBandTogglesTheElementsItMeets)
{
    host.selection = {1};
    host.active = 1;
    papir.setView(view());
    drag(body(150, 80), body(5, 5), Qt::ShiftModifier);
    EXPECT_EQ(host.commands(), QStringList({"remove 1", "add 2"}));
    host.calls.clear();
    drag(body(190, 40), body(260, 90), Qt::ControlModifier);
    EXPECT_EQ(host.commands(), QStringList({"add 3"}));
    // A rubber band over no element, or without extent, selects nothing.
    host.calls.clear();
    drag(body(300, 5), body(390, 40), Qt::ShiftModifier);
    click(body(70, 15), Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(host.commands().isEmpty());
}

TEST_F(PapirTest, BandHeightDragRestacksLiveAndReportsOnce)
{
    const QPoint strip = body(200, bandHeight + 8);
    mouse(QEvent::MouseButtonPress, strip);
    mouse(QEvent::MouseMove, strip + QPoint(0, -200));
    EXPECT_EQ(papir.bandRect(biBody).height(), minBandHeight + captionStrip);
    EXPECT_EQ(papir.bandRect(biReportEnd).top(), bodyTop + minBandHeight + captionStrip);
    mouse(QEvent::MouseMove, strip + QPoint(0, 23));
    EXPECT_EQ(papir.bandRect(biReportEnd).top(), bodyTop + bandHeight + 23 + captionStrip);
    mouse(QEvent::MouseButtonRelease, strip + QPoint(0, 23));
    EXPECT_EQ(host.commands(), QStringList({"arrow", "height 2 123"}));

    // Snapping: the height moves in raster steps.
    shape.raster = {10, 10, false, true};
    papir.setView(view());
    host.calls.clear();
    drag(strip, strip + QPoint(0, 23));
    drag(strip, strip + QPoint(0, 2));
    EXPECT_EQ(host.commands(), QStringList({"arrow", "height 2 120", "arrow"}));
}

TEST_F(PapirTest, BandClicksInsertAtTheSnappedPointOnlyWithATool)
{
    click(body(23, 37));
    EXPECT_EQ(host.commands(), QStringList({"click 2 0 0"}));
    host.calls.clear();
    host.tool = 1;
    shape.raster = {5, 5, false, true};
    shape.bands[biBody].columns = 2;
    shape.bands[biBody].columnGap = 20;
    papir.setView(view());
    click(body(23, 37));
    // Right of the first column the cursor forbids a drop, yet the press inserts.
    click(body(350, 37), Qt::ShiftModifier);
    EXPECT_EQ(host.commands(), QStringList({"click 2 25 35", "click 2 350 35"}));
    EXPECT_EQ(papir.cursor().shape(), Qt::ForbiddenCursor);
    host.calls.clear();
    host.tool = -1;   // paste mode
    shape.raster = {};
    shape.zoom = 2.0;
    papir.setView(view());
    click({181, 2 * (2 * bandHeight + captionStrip) + 37});
    EXPECT_EQ(host.commands(), QStringList({"click 2 90 18"}));
}

TEST_F(PapirTest, DoubleClicksAndDetailTabs)
{
    mouse(QEvent::MouseButtonDblClick, body(20, 15));
    mouse(QEvent::MouseButtonDblClick, body(300, 60));
    EXPECT_EQ(host.commands(), QStringList({"double 1", "band double 2"}));

    host.calls.clear();
    shape.bands[biBody].detailCount = 3;
    papir.setView(view());
    const int end = papir.tabsEnd(biBody);
    ASSERT_GT(end, 5);
    click(body(end - 1, bandHeight + 8));
    EXPECT_EQ(papir.currentDetail(biBody), 3);
    click(body(0, bandHeight + 8));
    EXPECT_EQ(papir.currentDetail(biBody), 1);
    EXPECT_TRUE(host.commands().isEmpty());
}

TEST_F(PapirTest, ElementsPaintAsTheOutputDrawsThem)
{
    add(4, ekText, {250, 10, 120, 40});
    elements.back().second->Text = QStringLiteral("Žlutý kůň");
    elements.back().second->Font.Size = 20;
    elements[0].second->PenWidth = 0;
    papir.setView(view());
    const QImage shown = papir.grab().toImage().convertToFormat(QImage::Format_RGB32);

    for (const auto& [id, e] : elements) {
        const QRect pixels = papir.elementRect(id);
        QImage expected(papir.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter painter(&expected);
        painter.setClipRect(pixels);
        PainterCanvas canvas(painter, pixels.topLeft(), 1.0, 1.0);
        TVystPrvek item;
        item.Style = styleOf(*e);
        item.Rect = QRect(0, 0, e->Width, e->Height);
        TextSettings settings{e->Font};
        settings.wordWrap = false;
        item.ItemLines = std::make_shared<TRadky>(MeasureText(measurer, e->Width, e->Text, settings));
        item.LastLine = item.ItemLines->count() - 1;
        item.Draw(canvas, {});
        painter.end();
        // Inside the light grey frame the pixels are the output's.
        int differing = 0, inked = 0;
        for (int y = pixels.top() + 1; y < pixels.bottom(); ++y)
            for (int x = pixels.left() + 1; x < pixels.right(); ++x) {
                differing += shown.pixel(x, y) != expected.pixel(x, y);
                inked += expected.pixel(x, y) != qRgb(255, 255, 255);
            }
        EXPECT_EQ(differing, 0) << id;
        EXPECT_GT(inked, 0) << id;
        EXPECT_EQ(QColor(shown.pixel(pixels.topLeft())), QColor(192, 192, 192)) << id;
    }
}

TEST_F(PapirTest, MarksAndZoomedPens)
{
    host.selection = {1, 2};
    host.active = 1;
    papir.setView(view());
    const QImage shown = papir.grab().toImage();
    const QRect a = papir.elementRect(1), b = papir.elementRect(2);
    // The active member of a multiple selection has filled corners, the others hollow ones.
    EXPECT_EQ(QColor(shown.pixel(a.topLeft() + QPoint(2, 2))), QColor(128, 128, 128));
    EXPECT_EQ(QColor(shown.pixel(b.topLeft() + QPoint(2, 2))), QColor(Qt::white));
    EXPECT_EQ(QColor(shown.pixel(b.topLeft())), QColor(128, 128, 128));

    EXPECT_EQ(zoomedPen(2, 0.5), 1);   // 0.5 rounds to even
    EXPECT_EQ(zoomedPen(4, 0.5), 3);   // 1.5 rounds to even
    EXPECT_EQ(zoomedPen(1, 3.0), 1);
}

TEST_F(PapirTest, ABandsLabelIsDrawnInItsStripAfterTheCaption)
{
    const QRect band = papir.bandRect(biReportStart);
    const QRect strip(0, band.bottom() + 1 - captionStrip, band.width(), captionStrip);
    const QImage plain = papir.grab(strip).toImage();
    shape.bands[biReportStart].label = QStringLiteral("Lesní úsek 12");
    papir.setView(view());
    const QImage labelled = papir.grab(strip).toImage();
    EXPECT_NE(labelled, plain);
    const int captionEnd = 5 + QFontMetrics(papir.font()).horizontalAdvance(QStringLiteral("Oddíl")) + 5;
    EXPECT_EQ(labelled.copy(0, 0, captionEnd, captionStrip), plain.copy(0, 0, captionEnd, captionStrip));
}
