// A readable dump of laid-out pages: what stands where, for checks and golden files.
#pragma once

#include <QString>

namespace reports {

class TSestVystup;

// One line per page ("page n") and per item in drawing order:
// "  k<kind> <left>,<top> <width>x<height> L<layer> lines <first>-<last> |<text>|", positions
// in 1/600 inch, the text being the shown lines joined by "/" (or the item's text).
QString DumpPages(const TSestVystup& output);

} // namespace reports
