// Typed writes of published properties by name, for the loaders of the file sources.
#pragma once

#include "framework/core/Properties.h"

#include <QString>

// Each writes through the property's own setter (normalising ones included); nothing when the
// element is nil or has no writable property of that name.
void writeInt(TElement* element, const QString& name, qint32 value);
void writeFloat(TElement* element, const QString& name, double value);
void writeText(TElement* element, const QString& name, const QString& value);

// The same for a name literal, looked up once per class and literal (app::findLiteralProperty).
void writeInt(TElement* element, const char* name, qint32 value);
void writeFloat(TElement* element, const char* name, double value);
void writeText(TElement* element, const char* name, const QString& value);

// A property name prepared once, with the index it has in the class last written through it
// (a loader writes one column into elements of one class, record after record).
struct PreparedProperty {
    QString name;
    TClass cls = nullptr;
    int index = -1;
    PPropInfo writable = nullptr;   // the property of that class when it can be written
};
void writeInt(TElement* element, PreparedProperty& property, qint32 value);
void writeFloat(TElement* element, PreparedProperty& property, double value);
void writeText(TElement* element, PreparedProperty& property, const QString& value);
