// Hooks the template designer into the report windows of the widget layer.
#pragma once

namespace reports {
class PreviewWindows;
}

namespace reports::designer {

// Makes `windows` open the designer (TFormSestE) when a report is edited; the windows keep
// the hook for their lifetime.
void installDesigner(PreviewWindows& windows);

} // namespace reports::designer
