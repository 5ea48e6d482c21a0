// The installed report windows.
#include "reports/engine/ReportWindows.h"

namespace reports {

namespace {

ReportWindows* g_windows = nullptr;

} // namespace

ReportWindows* reportWindows()
{
    return g_windows;
}

void setReportWindows(ReportWindows* windows)
{
    g_windows = windows;
}

} // namespace reports
