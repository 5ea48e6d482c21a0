// The progress window of long loads: a small fixed window with one bar, centred on the screen.
#include "platform/ui/ProgressWindow.h"

#include <QProgressBar>
#include <QScreen>

#include <algorithm>

namespace ui {
namespace {

constexpr QSize clientSize(461, 19);
constexpr QRect barGeometry(4, 2, 453, 16);

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_bar(new QProgressBar(this))
{
    setFixedSize(clientSize);
    m_bar->setGeometry(barGeometry);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
}

void ProgressWindow::setProgress(int position, int maximum)
{
    if (maximum <= 0) {
        hide();
        m_bar->setValue(0);
        return;
    }
    m_bar->setRange(0, maximum);
    m_bar->setValue(std::clamp(position, 0, maximum));
    if (isVisible())
        return;
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    show();
}

} // namespace ui
