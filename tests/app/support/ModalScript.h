// Drives the modal windows of a run from a polling timer, for the end-to-end tests.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

namespace testapp {

// Drives modal windows from a polling timer: each step looks at the active modal widget and
// answers true once it has done its part. After `timeoutMs` every modal window is closed and
// the step that waited is named, so no test blocks for good.
class ModalScript
{
public:
    using Step = std::function<bool(QWidget* modal)>;

    ModalScript(std::vector<std::pair<QString, Step>> steps, int timeoutMs) : m_steps(std::move(steps)), m_timeoutMs(timeoutMs)
    {
        m_clock.start();
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    bool finished() const { return m_next == m_steps.size(); }
    // The step waited for, empty once all are done.
    QString waiting() const { return finished() ? QString() : m_steps[m_next].first; }
    // The step that timed out, empty when none did.
    const QString& stuckAt() const { return m_stuckAt; }

private:
    void poll()
    {
        if (finished()) return m_timer.stop();
        if (m_clock.elapsed() > m_timeoutMs) {
            m_stuckAt = m_steps[m_next].first;
            m_next = m_steps.size();
            m_timer.stop();
            // Closing a window leaves its modal loop at once; a window that will not close ends the loop.
            for (int i = 0; i < 10 && QApplication::activeModalWidget(); ++i) {
                QWidget* w = QApplication::activeModalWidget();
                if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->reject();
                else w->close();
            }
            return;
        }
        if (m_steps[m_next].second(QApplication::activeModalWidget())) ++m_next;
    }

    std::vector<std::pair<QString, Step>> m_steps;
    size_t m_next = 0;
    int m_timeoutMs;
    QElapsedTimer m_clock;
    QTimer m_timer;
    QString m_stuckAt;
};

// Clicks a button from the event loop, so a modal window it opens does not hold the script.
inline void clickLater(QAbstractButton* button)
{
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}

} // namespace testapp
