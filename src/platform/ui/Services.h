// User interaction for code below the widgets: message boxes, questions, status, progress.
#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace ui {

// Kind of a message box (the icon it shows).
enum class MsgType { Warning, Error, Information, Confirmation, Custom };

// Buttons of a message box; combine with |.
enum Button : unsigned {
    Yes = 0x01, No = 0x02, Ok = 0x04, Cancel = 0x08, Abort = 0x10, Retry = 0x20, Ignore = 0x40, All = 0x80,
};
using Buttons = unsigned;
constexpr Buttons YesNo = Yes | No;
constexpr Buttons YesNoCancel = Yes | No | Cancel;
constexpr Buttons OkCancel = Ok | Cancel;
constexpr Buttons AbortRetryIgnore = Abort | Retry | Ignore;

// The answer of a message box; the numbers are the class library's modal results.
enum class Answer { None = 0, Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7, All = 8 };

// What non-widget code may ask of the user interface. main() installs the Qt one,
// tests a recording one; neither is owned by the caller of services().
class Services
{
public:
    virtual ~Services() = default;
    // A modal message with the given buttons; answers the button pressed.
    virtual Answer messageBox(const QString& text, const QString& caption, MsgType type, Buttons buttons) = 0;
    // A plain message with an OK button.
    void showMessage(const QString& text) { messageBox(text, QString(), MsgType::Custom, Ok); }
    // Yes/No question; true for Yes.
    bool question(const QString& text, const QString& caption = QString())
    {
        return messageBox(text, caption, MsgType::Confirmation, YesNo) == Answer::Yes;
    }
    // The framework's yes/no window (caption "Dialog", buttons "Ano" and "Ne"); true for "Ano".
    // By default a message box with those answers.
    virtual bool askYesNo(const QString& question)
    {
        return messageBox(question, QStringLiteral("Dialog"), MsgType::Custom, YesNo) == Answer::Yes;
    }
    // A question whose "Ano" deletes data for good: the yes/no window opening with "Ne" focused
    // and default, so that Enter answers no. By default askYesNo.
    virtual bool askBeforeDeleting(const QString& question) { return askYesNo(question); }
    virtual void setStatusText(const QString& text) = 0;
    // Progress of long work: position out of maximum; maximum 0 hides it.
    virtual void setProgress(int position, int maximum) = 0;
    // Let pending events run (the long-work points the behaviour names).
    virtual void processEvents() = 0;
    virtual void beep() = 0;
    // Nested: the cursor is busy while the count is above zero.
    virtual void setWaitCursor(bool on) = 0;
};

// The installed services; when none is, a silent default that shows nothing and answers
// OK, else Yes, else None.
Services& services();
// Installs services (not owned); nullptr restores the silent default.
void setServices(Services* s);

// Shows the exception being handled as an error message; call only inside a catch block.
// While one such message is up, further ones (a paint event failing again) are not shown.
void showCurrentException() noexcept;

// Runs the work of a Qt event handler: an exception it raises is shown as an error message
// instead of leaving the handler, where Qt would end the program.
template <typename Work>
void guardEvent(Work&& work) noexcept
{
    try {
        std::forward<Work>(work)();
    } catch (...) {
        showCurrentException();
    }
}

// RAII busy cursor.
class WaitCursor
{
public:
    WaitCursor() { services().setWaitCursor(true); }
    ~WaitCursor() { services().setWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Records every call; message boxes take their answers from a script (then a default).
class RecordingServices : public Services
{
public:
    struct Message {
        QString text;
        QString caption;
        MsgType type;
        Buttons buttons;
    };

    Answer messageBox(const QString& text, const QString& caption, MsgType type, Buttons buttons) override;
    void setStatusText(const QString& text) override { statusTexts.append(text); }
    void setProgress(int position, int maximum) override { progress.push_back({position, maximum}); }
    void processEvents() override { ++processEventsCount; }
    void beep() override { ++beepCount; }
    void setWaitCursor(bool on) override { waitDepth += on ? 1 : -1; }

    // Queue the answers of the next message boxes.
    void script(std::initializer_list<Answer> answers) { m_script.insert(m_script.end(), answers); }
    // Forget everything recorded and scripted.
    void clear();

    std::vector<Message> messages;
    QStringList statusTexts;
    std::vector<std::pair<int, int>> progress;
    int processEventsCount = 0;
    int beepCount = 0;
    int waitDepth = 0;
    // Answer when the script is empty: the first of Ok, Yes, Retry, Ignore, All the box offers.
    Answer defaultAnswer = Answer::None;

private:
    std::vector<Answer> m_script;
};

} // namespace ui
