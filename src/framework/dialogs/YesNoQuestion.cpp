// The yes/no question window of the framework.
#include "framework/dialogs/YesNoQuestion.h"

#include "platform/ui/Services.h"

bool AskYesNo(const QString& question)
{
    return ui::services().askYesNo(question);
}
