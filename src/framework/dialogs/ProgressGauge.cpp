// The progress window of long loads: one bar counting the steps done.
#include "framework/dialogs/ProgressGauge.h"

#include "platform/ui/Services.h"

#include <algorithm>

TF_gaugeForm::~TF_gaugeForm()
{
    Close();
}

void TF_gaugeForm::SetMaxValue(int value)
{
    m_max = std::max(value, 0);
    m_position = std::min(m_position, m_max);
    publish();
}

void TF_gaugeForm::SetProgress(int value)
{
    m_position = std::clamp(value, 0, m_max);
    publish();
}

void TF_gaugeForm::Show()
{
    if (m_visible)
        return;
    m_visible = true;
    ui::services().setWaitCursor(true);
    publish();
}

void TF_gaugeForm::Close()
{
    if (!m_visible)
        return;
    m_visible = false;
    ui::services().setProgress(0, 0);
    ui::services().setWaitCursor(false);
}

void TF_gaugeForm::publish() const
{
    if (m_visible)
        ui::services().setProgress(m_position, m_max);
}
