// The calculation form "Čtení dat": the progress bar shown while a calculation runs.
#include "app/windows/CalculationForm.h"

#include <QProgressBar>
#include <QVBoxLayout>

namespace app {

TFRData::TFRData(QWidget* parent) : QWidget(parent, Qt::Window), m_bar(new QProgressBar(this))
{
    setWindowTitle(QStringLiteral("Čtení dat"));
    m_bar->setRange(0, 100);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    resize(360, 60);
}

CalculationProgress TFRData::progress()
{
    return {[this](int maximum) {
                m_bar->setRange(0, maximum);
                m_bar->setValue(0);
                show();
            },
            [this](int position) { m_bar->setValue(std::min(position, m_bar->maximum())); },
            [this]() { close(); }};
}

} // namespace app
