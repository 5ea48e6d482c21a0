// The yes/no question window of the framework.
#pragma once

#include <QString>

// Asks the question (its whole text) in a modal window with the buttons "Ano" and "Ne"; true
// when the user answers yes. "Ne" or closing the window by other means gives false. The window
// is the user-interface services' yes/no window (see platform/ui/Services.h).
bool AskYesNo(const QString& question);
