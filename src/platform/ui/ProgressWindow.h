// The progress window of long loads: a small fixed window with one bar, centred on the screen.
#pragma once

#include <QWidget>

class QProgressBar;

namespace ui {

// Shows what Services::setProgress reports: main() passes the services' progress to it
// (QtServices::setProgressCallback), so the framework's progress window (TF_gaugeForm) appears
// as its own window. Client area 461 x 19 with the bar at (4, 2, 453, 16), range 0..100 at first.
class ProgressWindow : public QWidget
{
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // Position out of maximum; a maximum of 0 or less hides the window. Showing centres it on
    // its screen. Repaints happen when pending events run.
    void setProgress(int position, int maximum);
    QProgressBar* bar() const { return m_bar; }

private:
    QProgressBar* m_bar;   // child widget, owned by this window
};

} // namespace ui
