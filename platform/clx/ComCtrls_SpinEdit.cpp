// The spin edit on a QSpinBox.
#include "clx/ComCtrls.h"

#include <QtWidgets/QSpinBox>

#include <limits>

TSpinEdit::TSpinEdit(TComponent* AOwner) : TWinControl(AOwner) {
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 121, 24);
}

void TSpinEdit::PublishedProperties(TPropertyBuilder<TSpinEdit>& P) {
    P.Property("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement).Default(1);
    P.Property("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue).Default(100);
    P.Property("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue).Default(0);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("Value", &TSpinEdit::Value, &TSpinEdit::SetValue).Default(0);
    P.Property("OnChange", &TSpinEdit::OnChange);
}

// While loading the bounds may come after the value; Loaded bounds it.
Integer TSpinEdit::Bounded(Integer Value) const {
    if (ComponentState().Contains(csLoading) || (FMinValue == 0 && FMaxValue == 0))
        return Value;
    return std::clamp(Value, FMinValue, std::max(FMinValue, FMaxValue));
}

void TSpinEdit::SetMinValue(Integer Value) {
    if (FMinValue == Value)
        return;
    FMinValue = Value;
    PushRange();
    SetValue(FValue);
}

void TSpinEdit::SetMaxValue(Integer Value) {
    if (FMaxValue == Value)
        return;
    FMaxValue = Value;
    PushRange();
    SetValue(FValue);
}

void TSpinEdit::SetIncrement(Integer Value) {
    if (FIncrement == Value)
        return;
    FIncrement = Value;
    if (auto* box = WidgetAs<QSpinBox>())
        box->setSingleStep(Value);
}

void TSpinEdit::SetValue(Integer Value) {
    Value = Bounded(Value);
    if (FValue == Value)
        return;
    FValue = Value;
    if (auto* box = WidgetAs<QSpinBox>()) {
        QSignalBlocker silence(box);
        box->setValue(Value);
    }
    if (!ComponentState().Contains(csLoading))
        Change();
}

void TSpinEdit::Loaded() {
    TWinControl::Loaded();
    FValue = Bounded(FValue);
    PushRange();
}

void TSpinEdit::Change() {
    if (OnChange)
        OnChange(this);
}

QWidget* TSpinEdit::CreateWidget(QWidget* ParentWidget) {
    return new QSpinBox(ParentWidget);
}

void TSpinEdit::UpdateWidget() {
    TWinControl::UpdateWidget();
    WidgetAs<QSpinBox>()->setSingleStep(FIncrement);
    PushRange();
}

void TSpinEdit::PushRange() {
    auto* box = WidgetAs<QSpinBox>();
    if (!box)
        return;
    QSignalBlocker silence(box);
    if (FMinValue == 0 && FMaxValue == 0)
        box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    else
        box->setRange(FMinValue, std::max(FMinValue, FMaxValue));
    box->setValue(FValue);
}

void TSpinEdit::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* box = WidgetAs<QSpinBox>();
    QObject::connect(box, &QSpinBox::valueChanged, box,
                     [this](int Value) { EventBoundary(this, [&] { SetValue(Value); }); });
}
