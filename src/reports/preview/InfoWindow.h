// The progress window of a report run or print ("Informace") and the wait window shown while
// the designer is being built.
#pragma once

#include "reports/engine/SestavaTyp.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace reports {

// TFormInfo: non-modal, centred, "Přerušit" sets Preruseno. The run lets events run between
// records and pages, so the button is pressed while the run goes on; it stays enabled while
// pages go out, since printing checks it between pages.
class TFormInfo : public QDialog, public RunProgress
{
public:
    explicit TFormInfo(QWidget* parent = nullptr);

    // "Připravuji tisk položky číslo: n"; shows a hidden window and repaints at once.
    void ZobrazPolozku(int number);
    // "Odesílám data do tiskárny ..."; shows and repaints the window.
    void ZobrazOdesilani();
    bool Preruseno = false;

    void setRecord(int number) override { ZobrazPolozku(number); }
    void setSending() override { ZobrazOdesilani(); }
    bool aborted() const override { return Preruseno; }

    QLabel* LabelText = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    // The window has no close button; Esc and closing do not hide it behind the run's back.
    void reject() override {}

private:
    void showText(const QString& text);
};

// TFormLogo: "Čekejte prosím, připravuji editační modul...". One at a time.
void ZobrazLogo();
void SkryjLogo();
// The wait window while it is up, else null (tests).
QWidget* logoWindow();

} // namespace reports
