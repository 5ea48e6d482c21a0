// The registry of control classes by name, from which a form stream creates its controls.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace ui {

// Creates a control of one class as a child of parent (which owns it).
using WidgetFactory = std::function<QWidget*(QWidget* parent)>;

// Registers a control class under its name; names compare ignoring ASCII case. Registering a
// name again replaces its factory, so start-up and tests may register more than once.
void registerWidgetClass(const QString& name, WidgetFactory factory);
bool isWidgetClassRegistered(const QString& name);
// A new control of the named class owned by parent; null for a name never registered.
QWidget* createWidget(const QString& name, QWidget* parent);

} // namespace ui
