// The yes/no question window of the framework.
#include "framework/f_YesNo.h"

#include "platform/ui/Services.h"

bool AskYesNo(const QString& question)
{
    const ui::Answer answer = ui::services().messageBox(question, QString::fromUtf16(yesNoCaption),
                                                        ui::MsgType::Custom, ui::YesNo);
    return answer == ui::Answer::Yes;
}
