// Edit controls on which Enter moves the focus to the next control, as Tab does.
#include "app/sources/vex/EditControls.h"

#include "platform/ui/WidgetClasses.h"

#include <QKeyEvent>

namespace vex {

namespace {

template<class Control>
void registerControl(const char* name)
{
    ui::registerWidgetClass(QString::fromLatin1(name), [](QWidget* parent) { return new Control(parent); });
}

} // namespace

template<class Base>
void EnterMovesFocus<Base>::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        this->focusNextChild();
        event->accept();
        return;
    }
    Base::keyPressEvent(event);
}

template class EnterMovesFocus<QLineEdit>;
template class EnterMovesFocus<ui::MaskEdit>;
template class EnterMovesFocus<ui::DBEdit>;
template class EnterMovesFocus<QComboBox>;
template class EnterMovesFocus<ui::DBComboBox>;

void RegisterEditControls()
{
    registerControl<TKEdit>("TKEdit");
    registerControl<TKMaskEdit>("TKMaskEdit");
    registerControl<TKDBEdit>("TKDBEdit");
    registerControl<TKComboBox>("TKComboBox");
    registerControl<TKDBComboBox>("TKDBComboBox");
}

} // namespace vex
