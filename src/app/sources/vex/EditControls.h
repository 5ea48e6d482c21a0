// Edit controls on which Enter moves the focus to the next control, as Tab does.
#pragma once

#include "platform/ui/DataControls.h"

#include <QComboBox>
#include <QLineEdit>

namespace vex {

// A control of the given kind whose Enter moves the focus on, as Tab does, and never reaches the
// control itself; every other key passes unchanged.
template<class Base>
class EnterMovesFocus : public Base
{
public:
    using Base::Base;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
using TKEdit = EnterMovesFocus<QLineEdit>;
using TKMaskEdit = EnterMovesFocus<ui::MaskEdit>;
using TKDBEdit = EnterMovesFocus<ui::DBEdit>;
using TKComboBox = EnterMovesFocus<QComboBox>;
using TKDBComboBox = EnterMovesFocus<ui::DBComboBox>;

// Registers the five controls under their names ("TKEdit" ...), so a form stream can name them.
void RegisterEditControls();

} // namespace vex
