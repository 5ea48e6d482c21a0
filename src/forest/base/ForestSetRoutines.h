// Routines over forest sets and element trees: owner search, sums, maxima, joins, look-ups, names.
#pragma once

#include "framework/core/Elements.h"

#include <QString>
#include <QStringList>

class TStringListElement;

// The first direct owner (in owner order) of the class; else the same search from each owner
// that is a forest element, in order; nil when none.
TElement* FindOwnerOfClassDeep(TElement* element, TClass cls);

// The property summed over the element and its subtree (TSumaPodleProperty), rounded half to
// even. A sum beyond 32 bits raises ERangeError; a property text that is no number EConvertError.
qint32 SumPropertyRounded(TElement* element, const QString& propertyName);

// The sum over the children that have the property of its value as a number (either decimal
// separator); values that are no number are skipped.
double SumFloatProperty(TEntity* set, const QString& propertyName);

// The child whose property, as a number, is the largest (the first of equal maxima); nil for an
// empty set or when no value exceeds -1e21.
TElement* ElementWithMaxProperty(TEntity* set, const QString& propertyName);

// The values of the children that have the property, joined by the separator.
QString JoinPropertyValues(TEntity* set, const QString& propertyName, const QString& separator);

// Binary search over children sorted ascending by an integer property: the first index and the
// number of consecutive children whose property equals value (count 0 when none; both 0 for an
// empty set).
void FindRangeByIntProperty(TEntity* set, const QString& propertyName, qint32 value, int& firstIndex, int& count);

// The result property of the last child whose key property equals key (both trimmed and
// upper-cased); empty when none.
QString ValueByKey(TEntity* set, const QString& keyProperty, const QString& key, const QString& resultProperty);

// Every forest set with children below the element makes its first child current (recursively,
// descending into forest elements).
void SelectFirstElements(TElement* element);

// Upper-cases the names of all children, recursively through entities.
void UpperCaseNames(TEntity* entity);

// Adds the text unless the list holds it already.
void AddUnique(QStringList& list, const QString& text);

// The name is padded on the left with blanks to 3 characters; unless a line of that name exists
// (letter case ignored), "name=value" is added.
void AddNameValueOnce(QStringList& list, const QString& name, const QString& value);

// A new string-list element with one item per line, named and valued by the line; nil for nil.
Owned<TStringListElement> StringsToListElement(const QStringList* list);
