// Typed writes of published properties by name, for the loaders of the file sources.
#pragma once

#include <QString>

class TElement;

// Each writes through the property's own setter (normalising ones included); nothing when the
// element is nil or has no writable property of that name.
void writeInt(TElement* element, const QString& name, qint32 value);
void writeFloat(TElement* element, const QString& name, double value);
void writeText(TElement* element, const QString& name, const QString& value);
