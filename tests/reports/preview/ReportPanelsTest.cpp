// The report windows' controls: the scrolling panel's buttons, dragging and closing the
// floating panel, and the keys of the paint panel.
#include "reports/preview/ReportPanels.h"

#include "platform/Exceptions.h"
#include "platform/ui/Services.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace reports;

void mouse(QWidget& w, QEvent::Type type, QPoint at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), w.mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

TEST(TPosuvnyPanelSest, ButtonsFollowWhatIsHiddenAndHideWhenNothingIs)
{
    QWidget parent;
    parent.resize(100, 40);
    TPosuvnyPanelSest panel(&parent);
    QToolButton left(&parent), right(&parent);
    panel.setButtons(&left, &right, nullptr, nullptr);
    panel.setAutoHide(true);
    panel.setContents(250, 40, 8);
    EXPECT_TRUE(left.isEnabled());
    EXPECT_FALSE(right.isEnabled());

    left.click();
    EXPECT_EQ(panel.x(), -8);
    EXPECT_TRUE(right.isEnabled());
    panel.scroll(-100, 0);
    EXPECT_EQ(panel.x(), -150);
    EXPECT_FALSE(left.isEnabled());
    right.click();
    EXPECT_EQ(panel.x(), -142);

    panel.setContents(60, 40, 8);
    EXPECT_FALSE(left.isEnabled() || right.isEnabled());
    EXPECT_TRUE(left.isHidden() && right.isHidden());
    EXPECT_EQ(panel.pos(), QPoint(0, 0));
}

TEST(TPlovouciPanelSestavy, DragsByTheCaptionOnlyAndStaysReachable)
{
    QWidget parent;
    parent.resize(400, 300);
    TPlovouciPanelSestavy panel(&parent);
    panel.setGeometry(100, 100, 150, 100);

    mouse(panel, QEvent::MouseButtonPress, {10, 40});   // below the caption bar
    EXPECT_FALSE(panel.isDragging());

    mouse(panel, QEvent::MouseButtonPress, {10, 10});
    ASSERT_TRUE(panel.isDragging());
    mouse(panel, QEvent::MouseMove, {-900, 30});
    EXPECT_EQ(panel.pos(), QPoint(-130, 120));
    EXPECT_EQ(panel.size(), QSize(150, 100));
    mouse(panel, QEvent::MouseButtonRelease, {-900, 30});
    EXPECT_FALSE(panel.isDragging());
}

TEST(TPlovouciPanelSestavy, ACancelButtonSetLaterIsPlacedAndHidesThePanel)
{
    QWidget parent;
    TPlovouciPanelSestavy panel(&parent);
    panel.setGeometry(0, 0, 200, 120);
    parent.show();
    EXPECT_EQ(panel.cancelButton(), nullptr);
    auto* close = new QToolButton;
    panel.setCancelButton(close);
    EXPECT_EQ(close->parentWidget(), &panel);
    EXPECT_EQ(close->geometry(), QRect(179, 4, 15, 15));
    panel.resize(300, 120);
    EXPECT_EQ(close->geometry(), QRect(279, 4, 15, 15));
    panel.setCaptionHeight(30);
    EXPECT_EQ(close->geometry(), QRect(271, 4, 23, 23));
    close->click();
    EXPECT_TRUE(panel.isHidden());
}

TEST(TPanelCanvasSest, ArrowsAndCharactersAreItsOwn)
{
    TPanelCanvasSest canvas;
    QStringList got;
    canvas.OnKeyDown = [&](QKeyEvent& e) { got << QString::number(e.key(), 16); };
    canvas.OnKeyPress = [&](const QString& text) { got << text; };
    for (const auto& [key, text] : {std::pair{Qt::Key_Left, QString()}, std::pair{Qt::Key_A, QStringLiteral("a")}}) {
        QKeyEvent override(QEvent::ShortcutOverride, key, Qt::NoModifier, text);
        QApplication::sendEvent(&canvas, &override);
        EXPECT_TRUE(override.isAccepted());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&canvas, &press);
    }
    QKeyEvent ctrl(QEvent::ShortcutOverride, Qt::Key_P, Qt::ControlModifier, QStringLiteral("p"));
    ctrl.ignore();
    QApplication::sendEvent(&canvas, &ctrl);
    EXPECT_FALSE(ctrl.isAccepted());
    EXPECT_EQ(got, (QStringList{"1000012", "41", "a"}));
}

// An error while painting the page or handling a key is shown as a message; it never leaves
// the event handler, where Qt would end the program.
TEST(TPanelCanvasSest, AnErrorInAPaintOrKeyEventIsShownAndGoesNoFurther)
{
    ui::RecordingServices recorder;
    ui::Services& previous = ui::services();
    ui::setServices(&recorder);
    TPanelCanvasSest canvas;
    canvas.resize(40, 30);
    canvas.OnPaint = [](QPainter&) { throw ERangeError(QStringLiteral("Hodnota je mimo rozsah")); };
    canvas.OnKeyDown = [](QKeyEvent&) { throw std::runtime_error("key"); };
    QImage image(40, 30, QImage::Format_RGB32);
    canvas.render(&image);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &press);
    ui::setServices(&previous);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0].text, QStringLiteral("Hodnota je mimo rozsah"));
    EXPECT_EQ(recorder.messages[0].type, ui::MsgType::Error);
    EXPECT_EQ(recorder.messages[1].text, QStringLiteral("key"));
}

} // namespace
