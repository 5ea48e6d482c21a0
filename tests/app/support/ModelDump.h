// Text dumps of a forest model: every published property of every element.
#pragma once

#include <QStringList>

class TPersistent;

namespace testapp {

// Every published property of the object and, depth first, of every element it holds; one line
// each, indented by depth. Identity numbers, traversal marks and creating getters are left out.
QStringList dumpModel(TPersistent* root);

} // namespace testapp
