// Status text of long loads, with the pending events let run.
#include "forest/base/StatusText.h"

#include "platform/ui/Services.h"

namespace {

bool g_processing = false;

} // namespace

void ProcessPendingEvents()
{
    // An event handler that reaches a load step again must not nest event loops.
    if (g_processing)
        return;
    g_processing = true;
    struct Reset {
        ~Reset() { g_processing = false; }
    } reset;
    ui::services().processEvents();
}

void ShowStatusText(const QString& text)
{
    ui::services().setStatusText(text);
    ProcessPendingEvents();
}
