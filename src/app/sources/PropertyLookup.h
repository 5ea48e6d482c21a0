// Published properties by name for the loaders, looked up once per class and name.
#pragma once

#include "framework/core/Properties.h"

namespace app {

// The property `name` of the object's class; raises EDatabaseError naming class and property
// when the class has none. Loaders pass string literals, so the answer is kept per class.
PPropInfo publishedProperty(TPersistent& object, const char* name);

// The property `name` of the object's class, or nullptr when the class has none; kept the same way.
PPropInfo findPublishedProperty(TPersistent& object, const char* name);

// The property of a name literal, as publishedProperty; a direct-mapped front remembers the
// answer by the class and the literal's address, so the loaders' per-row writes cost a compare.
PPropInfo literalProperty(TPersistent& object, const char* name);

// The property of a name literal, or nullptr when the class has none; remembered as literalProperty.
PPropInfo findLiteralProperty(TPersistent& object, const char* name);

// Writes a whole number into an ordinal, 64-bit or floating-point property; answers false,
// writing nothing, for a property of any other kind.
bool writeWholeNumber(TPersistent& object, PPropInfo property, qint32 value);

// The text of the property `name` (as GetPropByName gives it); empty when the class has none.
QString publishedText(TPersistent& object, const char* name);

} // namespace app
