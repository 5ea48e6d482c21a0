// Runs one test of this binary again on the xcb platform of a virtual X server.
#pragma once

#include <QString>

namespace testapp {

// Starts Xvfb and runs the test (a gtest filter) in a child process on its display, so real
// windows, modal loops, fonts and the screen's resolution take part; expects it to pass. Skips
// (visibly) without Xvfb and inside such a child.
void expectPassesOnDisplay(const QString& test);

} // namespace testapp
