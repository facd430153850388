// The mouse's part in dragging controls (private to the library's
// sources): the control's event filter hands mouse events of dmAutomatic
// controls here, and every control's widget is marked with its control so
// that the widget under the mouse names the drag's target.
#pragma once

#include "clx/Controls.h"

class QMouseEvent;

void MarkControlWidget(QWidget* Widget, TControl* Control);
// True when the event belonged to a drag (it then goes no further).
bool DragMouseEvent(TControl& Control, QMouseEvent* Event);
