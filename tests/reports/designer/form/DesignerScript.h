// Runs a report's edit with a script acting on the designer once it is up.
#pragma once

#include "reports/designer/form/FormSestE.h"

#include <QApplication>
#include <QTimer>

#include <functional>

namespace test {

// Calls `edit` (which opens the designer modally) and runs `script` once on the designer from
// its event loop; answers what `edit` answered. A designer still up 20 s after the script is
// closed discarding, so no test blocks for good. `shown` counts the designers seen.
inline int runDesigner(const std::function<int()>& edit, const std::function<void(reports::designer::TFormSestE&)>& script,
                       int& shown)
{
    QTimer poll;
    int ticks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* form = dynamic_cast<reports::designer::TFormSestE*>(QApplication::activeModalWidget());
        if (!form) return;
        if (++ticks == 1) {
            ++shown;
            script(*form);
        } else if (ticks > 2000) {
            form->closeWindow(2);
        }
    });
    poll.start(10);
    return edit();
}

} // namespace test
