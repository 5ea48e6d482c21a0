// Hooks the template designer into the report windows of the widget layer.
#include "reports/designer/InstallDesigner.h"

#include "reports/designer/form/FormSestE.h"
#include "reports/preview/PreviewWindows.h"

namespace reports::designer {

void installDesigner(PreviewWindows& windows)
{
    windows.designer = [](TSestavaTyp& report, const WindowPlacement& placement) {
        return ShowDesigner(report, placement);
    };
}

} // namespace reports::designer
