// The registry of control classes by name, from which a form stream creates its controls.
#include "platform/ui/WidgetClasses.h"

#include "platform/text/Case.h"

#include <QHash>

namespace ui {

namespace {

QHash<QString, WidgetFactory>& registry()
{
    static QHash<QString, WidgetFactory> classes;
    return classes;
}

QString key(const QString& name)
{
    return txt::upperAscii(name);
}

} // namespace

void registerWidgetClass(const QString& name, WidgetFactory factory)
{
    registry().insert(key(name), std::move(factory));
}

bool isWidgetClassRegistered(const QString& name)
{
    return registry().contains(key(name));
}

QWidget* createWidget(const QString& name, QWidget* parent)
{
    const auto found = registry().constFind(key(name));
    return found == registry().constEnd() ? nullptr : (*found)(parent);
}

} // namespace ui
