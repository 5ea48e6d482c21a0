// The modal yes/no question window: the question in a framed memo above the buttons "Ano" and "Ne".
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace ui {

// Fixed 310 x 175 client area, caption "Dialog", no window icons, centred on the screen. The
// button given as focused has the focus when the window opens and is its default (Enter).
// exec() answers the modal results of the class library: 6 for "Ano", 7 for "Ne", 0 when the
// window is closed by other means.
class YesNoDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int ResultYes = 6;
    static constexpr int ResultNo = 7;

    enum class Focus { Yes, No };

    explicit YesNoDialog(const QString& question, QWidget* parent = nullptr, Focus focus = Focus::Yes);

    QPlainTextEdit* memo() const { return m_memo; }
    QPushButton* yesButton() const { return m_yes; }
    QPushButton* noButton() const { return m_no; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPlainTextEdit* m_memo;
    QPushButton* m_yes;
    QPushButton* m_no;
};

} // namespace ui
