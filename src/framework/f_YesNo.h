// The yes/no question window of the framework.
#pragma once

#include <QString>

// The caption of the question window.
inline constexpr char16_t yesNoCaption[] = u"Dialog";

// Asks the question (its whole text) in a modal window with the buttons "Ano" and "Ne"; true
// when the user answers yes. "Ne" or closing the window by other means gives false. The window
// is the user-interface services' message box (see platform/ui/Services.h).
bool AskYesNo(const QString& question);
