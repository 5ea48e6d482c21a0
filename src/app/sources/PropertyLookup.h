// Published properties by name for the loaders, looked up once per class and name.
#pragma once

#include "framework/core/Properties.h"

namespace app {

// The property `name` of the object's class; raises EDatabaseError naming class and property
// when the class has none. Loaders pass string literals, so the answer is kept per class.
PPropInfo publishedProperty(TPersistent& object, const char* name);

// The property `name` of the object's class, or nullptr when the class has none; kept the same way.
PPropInfo findPublishedProperty(TPersistent& object, const char* name);

// The text of the property `name` (as GetPropByName gives it); empty when the class has none.
QString publishedText(TPersistent& object, const char* name);

} // namespace app
