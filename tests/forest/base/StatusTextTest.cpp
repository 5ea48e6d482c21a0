// Tests of the status text of long loads and its guard against nested event loops.
#include "forest/base/StatusText.h"
#include "platform/ui/Services.h"

#include <gtest/gtest.h>

namespace {

// Services whose event processing runs a handler that reaches a load step again.
class ReenteringServices : public ui::RecordingServices
{
public:
    void processEvents() override
    {
        RecordingServices::processEvents();
        if (processEventsCount == 1)
            ShowStatusText("vnořený");
    }
};

TEST(StatusText, ShowsTheTextThenLetsEventsRun)
{
    ui::RecordingServices recorder;
    ui::Services& previous = ui::services();
    ui::setServices(&recorder);
    ShowStatusText("Načteno oddělení 12");
    ProcessPendingEvents();
    ui::setServices(&previous);
    EXPECT_EQ(recorder.statusTexts, QStringList({"Načteno oddělení 12"}));
    EXPECT_EQ(recorder.processEventsCount, 2);
}

TEST(StatusText, NestedCallShowsItsTextWithoutNestingEvents)
{
    ReenteringServices services;
    ui::Services& previous = ui::services();
    ui::setServices(&services);
    ShowStatusText("vnější");
    ShowStatusText("další");
    ui::setServices(&previous);
    EXPECT_EQ(services.statusTexts, QStringList({"vnější", "vnořený", "další"}));
    EXPECT_EQ(services.processEventsCount, 2);
}

} // namespace
