// The calculation form "Čtení dat": the progress bar shown while a calculation runs.
#pragma once

#include "app/calculation/Calculation.h"

#include <QWidget>

class QProgressBar;

namespace app {

// TFRData as a window: shown modeless during a run with its progress bar (ProgressBar1); the
// calculation itself is the Calculation object it holds for the program's run.
class TFRData : public QWidget
{
    Q_OBJECT

public:
    explicit TFRData(QWidget* parent = nullptr);

    Calculation& calculation() { return m_calculation; }
    // Progress callbacks that show, move and hide this form.
    CalculationProgress progress();
    QProgressBar* ProgressBar1() const { return m_bar; }

private:
    Calculation m_calculation;
    QProgressBar* m_bar;
};

} // namespace app
