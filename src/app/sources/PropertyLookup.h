// Published properties by name for the loaders, looked up once per class and name.
#pragma once

#include "framework/core/Properties.h"

namespace app {

// The property `name` of the object's class; raises EDatabaseError naming class and property
// when the class has none. Loaders pass string literals, so the answer is kept per class.
PPropInfo publishedProperty(TPersistent& object, const char* name);

} // namespace app
