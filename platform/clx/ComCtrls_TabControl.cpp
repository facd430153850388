// The tab control: its tabs in a QTabBar along the top of its widget and
// the client area below, where its controls' widgets live.
#include "clx/ComCtrls.h"
#include "clx/QtSupport.h"

#include <QtWidgets/QTabBar>

namespace {

// Tabs as tall as the control's TabHeight, whatever the style would make
// them: taller tabs would be cut off at the bar's lower edge.
class TTabHeightBar final : public QTabBar {
public:
    using QTabBar::QTabBar;
    void SetTabHeight(int Height) {
        if (FTabHeight == Height)
            return;
        FTabHeight = Height;
        updateGeometry();
        update();
    }

protected:
    QSize tabSizeHint(int Index) const override { return Fitted(QTabBar::tabSizeHint(Index)); }
    QSize minimumTabSizeHint(int Index) const override {
        return Fitted(QTabBar::minimumTabSizeHint(Index));
    }

private:
    QSize Fitted(QSize Size) const {
        if (FTabHeight > 0)
            Size.setHeight(FTabHeight);
        return Size;
    }

    int FTabHeight = 0;
};

} // namespace

TTabControl::TTabControl(TComponent* AOwner)
    : TWinControl(AOwner), FTabs(std::make_unique<TStringList>()) {
    FTabs->OnChange = [this](TObject*) { TabsChanged(); };
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TTabControl::~TTabControl() = default;

void TTabControl::PublishedProperties(TPropertyBuilder<TTabControl>& P) {
    P.Property("TabHeight", &TTabControl::TabHeight, &TTabControl::SetTabHeight).Default(24);
    P.Property("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex).Default(-1);
    P.Property("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("OnChange", &TTabControl::OnChange);
    P.Property("OnChanging", &TTabControl::OnChanging);
}

void TTabControl::SetTabIndex(Integer Value) {
    if (!ComponentState().Contains(csLoading) && (Value < 0 || Value >= FTabs->Count()))
        Value = -1;
    if (FTabIndex == Value)
        return;
    FTabIndex = Value;
    PushTabIndex();
}

void TTabControl::SetTabHeight(Integer Value) {
    Value = std::max(Value, 0);
    if (FTabHeight == Value)
        return;
    FTabHeight = Value;
    PlaceClientArea();
    Realign();
}

void TTabControl::Loaded() {
    TWinControl::Loaded();
    if (FTabIndex >= FTabs->Count())
        FTabIndex = -1;
    PushTabIndex();
}

// The chosen tab keeps its index while there is one.
void TTabControl::TabsChanged() {
    if (!ComponentState().Contains(csLoading) && FTabIndex >= FTabs->Count())
        FTabIndex = FTabs->Count() - 1;
    PushTabs();
}

bool TTabControl::CanChange() {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TTabControl::Change() {
    if (OnChange)
        OnChange(this);
}

QWidget* TTabControl::CreateWidget(QWidget* ParentWidget) {
    auto* widget = new QWidget(ParentWidget);
    auto* bar = new TTabHeightBar(widget);
    bar->setObjectName("tabs");
    bar->setDrawBase(true);
    bar->setExpanding(false);
    FClientWidget = new QWidget(widget);
    return widget;
}

QWidget* TTabControl::ClientWidget() {
    return FClientWidget.data();
}

void TTabControl::UpdateWidget() {
    TWinControl::UpdateWidget();
    PushTabs();
}

void TTabControl::UpdateWidgetBounds() {
    TWinControl::UpdateWidgetBounds();
    PlaceClientArea();
}

void TTabControl::PlaceClientArea() {
    QWidget* widget = HandleAllocated() ? Handle() : nullptr;
    if (!widget)
        return;
    auto* bar = static_cast<TTabHeightBar*>(widget->findChild<QTabBar*>("tabs"));
    bar->SetTabHeight(FTabHeight);
    bar->setGeometry(0, 0, Width(), FTabHeight);
    FClientWidget->setGeometry(0, FTabHeight, Width(), ClientHeight());
}

void TTabControl::PushTabs() {
    QWidget* widget = HandleAllocated() ? Handle() : nullptr;
    if (!widget)
        return;
    auto* bar = widget->findChild<QTabBar*>("tabs");
    FSyncing = true;
    while (bar->count() > FTabs->Count())
        bar->removeTab(bar->count() - 1);
    for (Integer index = 0; index < FTabs->Count(); ++index) {
        if (index < bar->count())
            bar->setTabText(index, ToQString(FTabs->Get(index)));
        else
            bar->addTab(ToQString(FTabs->Get(index)));
    }
    FSyncing = false;
    PushTabIndex();
}

void TTabControl::PushTabIndex() {
    QWidget* widget = HandleAllocated() ? Handle() : nullptr;
    if (!widget)
        return;
    FSyncing = true;
    widget->findChild<QTabBar*>("tabs")->setCurrentIndex(FTabIndex);
    FSyncing = false;
}

void TTabControl::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* bar = Handle()->findChild<QTabBar*>("tabs");
    QObject::connect(bar, &QTabBar::currentChanged, bar, [this](int Index) {
        if (FSyncing)
            return;
        EventBoundary(this, [&] { TabChosen(Index); });
    });
}

// OnChanging may refuse the user's choice; the bar then shows the tab
// that stays chosen.
void TTabControl::TabChosen(Integer Index) {
    if (Index == FTabIndex)
        return;
    if (!CanChange()) {
        PushTabIndex();
        return;
    }
    FTabIndex = Index;
    Change();
}
