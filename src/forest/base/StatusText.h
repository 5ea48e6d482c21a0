// Status text of long loads, with the pending events let run.
#pragma once

#include <QString>

// Shows the text as the status text, then lets pending events run. A call made while the
// events of an outer call are running only shows its text (no nested event loop).
void ShowStatusText(const QString& text);
// Only lets pending events run (the original's call without a status control).
void ProcessPendingEvents();
