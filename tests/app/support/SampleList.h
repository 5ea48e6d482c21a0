// The version-97 sample unit computed into TGENKL.DB, for tests of the list and its report.
#pragma once

#include <QString>

namespace testapp {

// Writes the sample installation into `programDir` and computes the vex97 unit; answers the
// path of the computed TGENKL.DB, empty when the calculation failed.
QString computeSampleList(const QString& programDir);

} // namespace testapp
