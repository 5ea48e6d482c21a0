// The report windows' small controls: the tool button, the scrolling tool panel, the floating
// panel with a caption bar and the panel the preview paints its page on.
#pragma once

#include "reports/preview/PanelGeometry.h"

#include <QColor>
#include <QFrame>
#include <QPointer>
#include <QToolButton>

#include <functional>

class QAbstractButton;

namespace reports {

// TSestButton: a flat tool button carrying a tool number (a zoom step in the preview, what a
// click inserts in the designer).
class TSestButton : public QToolButton
{
public:
    explicit TSestButton(QWidget* parent = nullptr, int command = 0);
    int command() const { return m_command; }
    void setCommand(int command) { m_command = command; }

private:
    int m_command = 0;
};

// TPosuvnyPanelSest: a panel larger than its parent's client area, its contents its children,
// scrolled in steps by two pairs of arrow buttons. Its position is the scroll offset.
class TPosuvnyPanelSest : public QWidget
{
public:
    explicit TPosuvnyPanelSest(QWidget* parent);

    // The buttons (not owned; any may be null, a pair works only when both are set). Right
    // and down move the contents forward, left and up back.
    void setButtons(QAbstractButton* left, QAbstractButton* right, QAbstractButton* down, QAbstractButton* up);
    // Visible size := the parent's client size, own size := the contents', offsets 0.
    void setContents(int width, int height, int step);
    void scroll(int stepsX, int stepsY);
    // Hide both buttons of a direction when neither can scroll.
    void setAutoHide(bool on);

    const ScrollAxis& horizontal() const { return m_x; }
    const ScrollAxis& vertical() const { return m_y; }

private:
    void updateButtons();

    ScrollAxis m_x;
    ScrollAxis m_y;
    int m_step = 64;
    bool m_autoHide = false;
    QPointer<QAbstractButton> m_left, m_right, m_down, m_up;
};

// TPlovouciPanelSestavy: a panel inside its parent with a painted caption bar by which the
// user drags it, and an optional button in the bar that hides it. Children go below the bar.
class TPlovouciPanelSestavy : public QFrame
{
public:
    explicit TPlovouciPanelSestavy(QWidget* parent);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    int captionHeight() const { return m_captionHeight; }
    void setCaptionHeight(int height);
    QColor captionColor() const { return m_captionColor; }
    void setCaptionColor(const QColor& color);
    // The button placed in the caption bar whose click hides the panel (not owned; a child).
    QAbstractButton* cancelButton() const { return m_cancel; }
    void setCancelButton(QAbstractButton* button);
    bool isDragging() const { return m_dragging; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeCancelButton();

    QString m_caption;
    int m_captionHeight = floating::defaultCaptionHeight;
    QColor m_captionColor{0, 0, 128};
    QPointer<QAbstractButton> m_cancel;
    QMetaObject::Connection m_cancelClick;
    bool m_dragging = false;
    QPoint m_grab;
};

// TPanelCanvasSest: a white panel that lets its owner paint on it and takes arrow keys and
// typed characters instead of passing them on as focus moves.
class TPanelCanvasSest : public QWidget
{
public:
    explicit TPanelCanvasSest(QWidget* parent = nullptr);

    std::function<void(QPainter&)> OnPaint;
    std::function<void(QKeyEvent&)> OnKeyDown;
    std::function<void(QKeyEvent&)> OnKeyUp;
    // The typed text of a key that produces one.
    std::function<void(const QString&)> OnKeyPress;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

} // namespace reports
