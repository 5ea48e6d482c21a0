// The report windows' small controls.
#include "reports/preview/ReportPanels.h"

#include "platform/ui/Services.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace reports {

TSestButton::TSestButton(QWidget* parent, int command) : QToolButton(parent), m_command(command)
{
    setAutoRaise(true);
}

// --- scrolling tool panel -----------------------------------------------------------------------

TPosuvnyPanelSest::TPosuvnyPanelSest(QWidget* parent) : QWidget(parent)
{
    m_x.visible = m_x.content = width();
    m_y.visible = m_y.content = height();
}

void TPosuvnyPanelSest::setButtons(QAbstractButton* left, QAbstractButton* right, QAbstractButton* down,
                                   QAbstractButton* up)
{
    m_left = left;
    m_right = right;
    m_down = down;
    m_up = up;
    const auto bind = [this](QAbstractButton* button, int sx, int sy) {
        if (button) connect(button, &QAbstractButton::clicked, this, [this, sx, sy] { scroll(sx, sy); });
    };
    bind(right, 1, 0);
    bind(left, -1, 0);
    bind(down, 0, 1);
    bind(up, 0, -1);
    updateButtons();
}

void TPosuvnyPanelSest::setContents(int width, int height, int step)
{
    const QSize visible = parentWidget() ? parentWidget()->contentsRect().size() : size();
    m_x = ScrollAxis{visible.width(), width, 0};
    m_y = ScrollAxis{visible.height(), height, 0};
    m_step = step;
    setGeometry(0, 0, width, height);
    updateButtons();
}

void TPosuvnyPanelSest::scroll(int stepsX, int stepsY)
{
    const bool movedX = m_x.scrollBy(stepsX * m_step);
    const bool movedY = m_y.scrollBy(stepsY * m_step);
    if (movedX || movedY) move(m_x.offset, m_y.offset);
    updateButtons();
}

void TPosuvnyPanelSest::setAutoHide(bool on)
{
    m_autoHide = on;
    updateButtons();
}

void TPosuvnyPanelSest::updateButtons()
{
    const auto pair = [this](QAbstractButton* back, QAbstractButton* forward, const ScrollAxis& axis) {
        if (!back || !forward) return;
        forward->setEnabled(axis.hiddenBefore());
        back->setEnabled(axis.hiddenAfter());
        if (m_autoHide) {
            const bool any = axis.hiddenBefore() || axis.hiddenAfter();
            back->setVisible(any);
            forward->setVisible(any);
        }
    };
    pair(m_left, m_right, m_x);
    pair(m_up, m_down, m_y);
}

// --- floating panel ---------------------------------------------------------------------------

TPlovouciPanelSestavy::TPlovouciPanelSestavy(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    setContentsMargins(0, m_captionHeight, 0, 0);
}

void TPlovouciPanelSestavy::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void TPlovouciPanelSestavy::setCaptionHeight(int height)
{
    m_captionHeight = std::max(height, 0);
    setContentsMargins(0, m_captionHeight, 0, 0);
    placeCancelButton();
    update();
}

void TPlovouciPanelSestavy::setCaptionColor(const QColor& color)
{
    m_captionColor = color;
    update();
}

void TPlovouciPanelSestavy::setCancelButton(QAbstractButton* button)
{
    disconnect(m_cancelClick);
    m_cancel = button;
    if (button) {
        button->setParent(this);
        m_cancelClick = connect(button, &QAbstractButton::clicked, this, &QWidget::hide);
        button->show();
    }
    placeCancelButton();
}

void TPlovouciPanelSestavy::placeCancelButton()
{
    if (!m_cancel) return;
    m_cancel->setGeometry(floating::cancelButtonRect(width(), m_captionHeight, 0));
    m_cancel->raise();
}

void TPlovouciPanelSestavy::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && at.y() < m_captionHeight) {
        m_dragging = true;
        m_grab = at;
        grabMouse();
        return;
    }
    QFrame::mousePressEvent(event);
}

void TPlovouciPanelSestavy::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !parentWidget()) return QFrame::mouseMoveEvent(event);
    const QPoint at = event->position().toPoint();
    const QPoint wanted(at.x() + x() - m_grab.x(), at.y() + y() - m_grab.y());
    move(floating::dragTarget(wanted, size(), parentWidget()->size(), m_captionHeight));
}

void TPlovouciPanelSestavy::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging) return QFrame::mouseReleaseEvent(event);
    m_dragging = false;
    releaseMouse();
}

void TPlovouciPanelSestavy::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    placeCancelButton();
}

void TPlovouciPanelSestavy::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect bar = QRect(0, 0, width(), m_captionHeight).adjusted(2, 1, -2, -1);
    painter.fillRect(bar, m_captionColor);
    painter.setPen(Qt::white);
    QRect text = bar.adjusted(4, 0, -4, 0);
    if (m_cancel) text.setRight(m_cancel->geometry().left() - 2);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, m_caption);
}

// --- paint panel ------------------------------------------------------------------------------

TPanelCanvasSest::TPanelCanvasSest(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

bool TPanelCanvasSest::event(QEvent* event)
{
    // Arrows and characters are the panel's own, never a shortcut's or a focus move.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool arrow = key->key() >= Qt::Key_Left && key->key() <= Qt::Key_Down;
        const bool character = !key->text().isEmpty() && key->text().at(0).isPrint()
                            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (arrow || character) {
            event->accept();
            return true;
        }
    }
    // an error while drawing the page or handling a key is shown, never passed on to Qt
    bool handled = true;
    ui::guardEvent([&] { handled = QWidget::event(event); });
    return handled;
}

void TPanelCanvasSest::paintEvent(QPaintEvent*)
{
    if (!OnPaint) return;
    QPainter painter(this);
    painter.setFont(font());
    painter.setBrush(palette().color(QPalette::Window));
    OnPaint(painter);
}

void TPanelCanvasSest::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyDown) OnKeyDown(*event);
    if (OnKeyPress && !event->text().isEmpty()) OnKeyPress(event->text());
    if (!OnKeyDown && !OnKeyPress) QWidget::keyPressEvent(event);
}

void TPanelCanvasSest::keyReleaseEvent(QKeyEvent* event)
{
    if (OnKeyUp) OnKeyUp(*event);
    else QWidget::keyReleaseEvent(event);
}

} // namespace reports
