// The shared page settings.
#include "reports/model/PageSettings.h"

namespace reports {

PageSettings& pageSettings()
{
    static PageSettings settings;
    return settings;
}

void resetPageSettings()
{
    pageSettings() = PageSettings{};
}

} // namespace reports
