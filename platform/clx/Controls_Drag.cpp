// Dragging controls onto controls: one drag at a time, from BeginDrag to
// EndDrag, told to each target it passes through DragOver.
#include "clx/DragSupport.h"

#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

namespace {

// How far the mouse moves with the button down before a drag starts.
constexpr int DragThreshold = 5;
const char* const ControlProperty = "zxControl";

struct TDragging {
    TControl* Source = nullptr;
    // Waiting for the mouse to move far enough (BeginDrag(false)).
    bool Pending = false;
    QPoint PressedAt;
    TControl* Target = nullptr;
    Integer X = 0;
    Integer Y = 0;
    bool Accepted = false;
};

TDragging& Drag() {
    static TDragging dragging;
    return dragging;
}

// Forgets a source or target that is being destroyed.
class TDragWatch : public TComponent {
public:
    TDragWatch() : TComponent(nullptr) {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove)
            return;
        if (AComponent == Drag().Source)
            Drag() = TDragging();
        else if (AComponent == Drag().Target) {
            Drag().Target = nullptr;
            Drag().Accepted = false;
        }
    }
};

TDragWatch& Watch() {
    static TDragWatch watch;
    return watch;
}

TControl* ControlOfWidget(QWidget* Widget) {
    for (; Widget; Widget = Widget->parentWidget())
        if (QVariant control = Widget->property(ControlProperty); control.isValid())
            return reinterpret_cast<TControl*>(control.value<quintptr>());
    return nullptr;
}

} // namespace

void TControl::BeginDrag(bool Immediate) {
    EndDrag(false);
    Drag().Source = this;
    Drag().Pending = !Immediate;
    FreeNotification(&Watch());
}

bool TControl::Dragging() const {
    return Drag().Source == this && !Drag().Pending;
}

void TControl::DragTo(TControl* Target, Integer X, Integer Y) {
    TDragging& drag = Drag();
    if (!drag.Source || drag.Pending)
        return;
    if (drag.Target && drag.Target != Target) {
        bool ignored = false;
        TControl* left = drag.Target;
        EventBoundary(left, [&] { left->DragOver(drag.Source, drag.X, drag.Y, dsDragLeave, ignored); });
    }
    TDragState state = drag.Target == Target ? dsDragMove : dsDragEnter;
    drag.Target = Target;
    drag.X = X;
    drag.Y = Y;
    drag.Accepted = false;
    if (!Target)
        return;
    Target->FreeNotification(&Watch());
    bool accept = false;
    EventBoundary(Target, [&] { Target->DragOver(drag.Source, X, Y, state, accept); });
    drag.Accepted = accept && drag.Target == Target;
}

void TControl::EndDrag(bool Drop) {
    TDragging drag = Drag();
    Drag() = TDragging();
    if (Drop && drag.Source && !drag.Pending && drag.Target && drag.Accepted)
        EventBoundary(drag.Target, [&] { drag.Target->DragDrop(drag.Source, drag.X, drag.Y); });
}

void TControl::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
    Accept = false;
    if (!OnDragOver)
        return;
    Accept = true;
    OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, Integer X, Integer Y) {
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

void MarkControlWidget(QWidget* Widget, TControl* Control) {
    Widget->setProperty(ControlProperty, QVariant::fromValue(reinterpret_cast<quintptr>(Control)));
}

// Press starts a pending drag, moving far enough starts it, every move then
// goes over the control under the mouse, release drops.
bool DragMouseEvent(TControl& Control, QMouseEvent* Event) {
    TDragging& drag = Drag();
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
        if (Control.DragMode() == dmAutomatic && Event->button() == Qt::LeftButton) {
            Control.BeginDrag(false);
            drag.PressedAt = Event->globalPosition().toPoint();
        }
        return false;
    case QEvent::MouseMove: {
        if (drag.Source != &Control)
            return false;
        QPoint at = Event->globalPosition().toPoint();
        if (drag.Pending) {
            if (!(Event->buttons() & Qt::LeftButton) ||
                (at - drag.PressedAt).manhattanLength() < DragThreshold)
                return false;
            drag.Pending = false;
        }
        QWidget* under = QApplication::widgetAt(at);
        TControl* target = ControlOfWidget(under);
        QPoint local = target ? target->Handle()->mapFromGlobal(at) : QPoint();
        TControl::DragTo(target, local.x(), local.y());
        if (QWidget* widget = Control.Handle())
            widget->setCursor(drag.Accepted ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (drag.Source != &Control)
            return false;
        bool dragged = !drag.Pending;
        if (QWidget* widget = Control.Handle())
            widget->setCursor(CursorToQtShape(Control.Cursor()));
        TControl::EndDrag(true);
        return dragged;
    }
    default:
        return false;
    }
}
