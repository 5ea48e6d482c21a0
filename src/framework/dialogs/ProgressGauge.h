// The progress window of long loads: one bar counting the steps done.
#pragma once

// A progress window with one bar from 0 to MaxValue, shown through the user-interface services
// (ui::services().setProgress). While it is shown the cursor is the hourglass; closing it hides
// the bar and restores the cursor. Closing is always allowed and does not free the window: the
// caller owns it (on the stack or in a std::unique_ptr), and freeing a shown window closes it
// first, so the cursor is restored on every path, exceptions included.
//
// Typical use:
//     TF_gaugeForm gauge;
//     gauge.SetMaxValue(steps);
//     gauge.Show();
//     for (...) { ...; gauge.SetProgress(++done); }
class TF_gaugeForm
{
public:
    TF_gaugeForm() = default;
    ~TF_gaugeForm();
    TF_gaugeForm(const TF_gaugeForm&) = delete;
    TF_gaugeForm& operator=(const TF_gaugeForm&) = delete;

    // The bar's maximum (default 100; below 0 counts as 0); the position is kept within it.
    int MaxValue() const { return m_max; }
    void SetMaxValue(int value);
    // The bar's position, kept within 0..MaxValue. The bar repaints when the caller lets pending
    // events run.
    int Progress() const { return m_position; }
    void SetProgress(int value);

    // Shows the bar and the hourglass cursor; nothing when already shown.
    void Show();
    // Hides the bar and restores the cursor; nothing when not shown.
    void Close();
    bool Visible() const { return m_visible; }

private:
    void publish() const;

    int m_max = 100;
    int m_position = 0;
    bool m_visible = false;
};
