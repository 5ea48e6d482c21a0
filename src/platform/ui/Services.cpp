// The installed user-interaction services, the silent default and the recording double.
#include "platform/ui/Services.h"

#include "platform/Exceptions.h"

#include <exception>

namespace ui {
namespace {

// Answers without asking; used when nothing is installed (batch runs, early start-up).
class SilentServices : public Services
{
public:
    Answer messageBox(const QString&, const QString&, MsgType, Buttons buttons) override
    {
        if (buttons & Ok) return Answer::Ok;
        if (buttons & Yes) return Answer::Yes;
        return Answer::None;
    }
    void setStatusText(const QString&) override {}
    void setProgress(int, int) override {}
    void processEvents() override {}
    void beep() override {}
    void setWaitCursor(bool) override {}
};

SilentServices g_silent;
Services* g_installed = nullptr;

} // namespace

Services& services()
{
    return g_installed ? *g_installed : g_silent;
}

void setServices(Services* s)
{
    g_installed = s;
}

void showCurrentException() noexcept
{
    static bool showing = false;
    if (showing) return;
    showing = true;
    try {
        QString text;
        try {
            throw;
        } catch (const Exception& e) {
            text = e.message();
        } catch (const std::exception& e) {
            text = QString::fromLocal8Bit(e.what());
        } catch (...) {
            text = QStringLiteral("Neznámá chyba.");
        }
        services().messageBox(text, QString(), MsgType::Error, Ok);
    } catch (...) {
        // a message that cannot be shown is dropped; nothing may leave an event handler
    }
    showing = false;
}

Answer RecordingServices::messageBox(const QString& text, const QString& caption, MsgType type, Buttons buttons)
{
    messages.push_back({text, caption, type, buttons});
    if (!m_script.empty()) {
        const Answer a = m_script.front();
        m_script.erase(m_script.begin());
        return a;
    }
    if (defaultAnswer != Answer::None) return defaultAnswer;
    constexpr std::pair<Button, Answer> order[] = {
        {Ok, Answer::Ok}, {Yes, Answer::Yes}, {Retry, Answer::Retry}, {Ignore, Answer::Ignore}, {All, Answer::All},
    };
    for (const auto& [button, answer] : order)
        if (buttons & button) return answer;
    return Answer::None;
}

void RecordingServices::clear()
{
    messages.clear();
    statusTexts.clear();
    progress.clear();
    processEventsCount = 0;
    beepCount = 0;
    waitDepth = 0;
    m_script.clear();
}

} // namespace ui
