// The widget implementation of the user-interaction services that main() installs.
#pragma once

#include "platform/ui/Services.h"

#include <QPointer>

#include <functional>
#include <memory>

class QAbstractButton;
class QMainWindow;
class QMessageBox;
class QProgressBar;
class QWidget;

namespace ui {

// The message box messageBox() shows, built but not shown: Czech button texts in the order
// Yes, No, OK, Cancel, Abort, Retry, Ignore, All; the default button is OK, else Yes, else
// Retry; Escape gives Cancel, else No, else OK. No buttons at all means OK. An empty caption
// shows the application's name. The text is plain (never read as markup).
std::unique_ptr<QMessageBox> createMessageBox(const QString& text, const QString& caption, MsgType type,
                                              Buttons buttons, QWidget* parent = nullptr);
// The answer of a box built by createMessageBox and closed by `clicked`; Cancel when the box
// was closed without a button.
Answer answerOf(const QMessageBox& box, const QAbstractButton* clicked);

// Shows message boxes, forwards status and progress to what the main window registers, and
// keeps the busy cursor. Registered widgets are not owned and may be destroyed at any time;
// a callback, when set, is used instead of the widget.
class QtServices : public Services
{
public:
    QtServices() = default;
    ~QtServices() override;
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    Answer messageBox(const QString& text, const QString& caption, MsgType type, Buttons buttons) override;
    bool askYesNo(const QString& question) override;
    bool askBeforeDeleting(const QString& question) override;
    void setStatusText(const QString& text) override;
    void setProgress(int position, int maximum) override;
    void processEvents() override;
    void beep() override;
    void setWaitCursor(bool on) override;

    // Parent of the message boxes; else the registered main window; else the active window.
    void setDialogParent(QWidget* parent);
    // Status texts go to this window's status bar.
    void setMainWindow(QMainWindow* window);
    void setStatusCallback(std::function<void(const QString&)> callback) { m_statusCallback = std::move(callback); }
    // Progress shows on this bar; maximum 0 hides it.
    void setProgressBar(QProgressBar* bar);
    void setProgressCallback(std::function<void(int, int)> callback) { m_progressCallback = std::move(callback); }

    // How many wait-cursor requests are open.
    int waitDepth() const { return m_waitDepth; }

private:
    QWidget* dialogParent() const;

    QPointer<QWidget> m_dialogParent;
    QPointer<QMainWindow> m_mainWindow;
    QPointer<QProgressBar> m_progressBar;
    std::function<void(const QString&)> m_statusCallback;
    std::function<void(int, int)> m_progressCallback;
    int m_waitDepth = 0;   // override cursors this object has set and not yet restored
};

} // namespace ui
