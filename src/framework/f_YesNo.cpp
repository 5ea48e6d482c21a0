// The yes/no question window of the framework.
#include "framework/f_YesNo.h"

#include "platform/ui/Services.h"

bool AskYesNo(const QString& question)
{
    return ui::services().askYesNo(question);
}
