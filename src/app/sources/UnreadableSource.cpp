// A source kind the program cannot read yet.
#include "app/sources/UnreadableSource.h"

#include "platform/ui/Services.h"

namespace app {

QString unreadableSourceMessage()
{
    return QStringLiteral("Tento druh dat zatím program neumí načíst.");
}

void UnreadableSource::loadHeader(TLesniCelek&)
{
    if (m_told)
        return;
    m_told = true;
    ui::services().showMessage(unreadableSourceMessage());
}

} // namespace app
