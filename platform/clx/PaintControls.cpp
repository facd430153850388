// The controls that programs paint themselves: TCustomControl and TPaintBox.
#include "clx/ExtCtrls.h"

#include <QtCore/QEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QWidget>

namespace {

// Runs Paint with Canvas painting on Widget, set up with the control's font
// and colour, for one paint event.
void PaintThrough(TControl& Control, TCanvas& Canvas, QWidget* Widget,
                  const std::function<void()>& Paint) {
    QPainter painter(Widget);
    Canvas.SetHandle(&painter);
    Canvas.SetFont(Control.Font());
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(Control.Color());
    EventBoundary(&Control, Paint);
    Canvas.SetHandle(nullptr);
}

} // namespace

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

bool TCustomControl::WidgetEvent(QEvent* Event) {
    if (Event->type() != QEvent::Paint)
        return TWinControl::WidgetEvent(Event);
    PaintThrough(*this, *FCanvas, Handle(), [this] { Paint(); });
    return true;
}

TPaintBox::TPaintBox(TComponent* AOwner) : TControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    SetBounds(0, 0, 105, 105);
}

TPaintBox::~TPaintBox() = default;

void TPaintBox::PublishedProperties(TPropertyBuilder<TPaintBox>& P) {
    P.Property("OnPaint", &TPaintBox::OnPaint);
}

bool TPaintBox::WidgetEvent(QEvent* Event) {
    if (Event->type() != QEvent::Paint)
        return TControl::WidgetEvent(Event);
    PaintThrough(*this, *FCanvas, Handle(), [this] { Paint(); });
    return true;
}

void TPaintBox::Paint() {
    if (OnPaint)
        OnPaint(this);
}
