#include "clx/CheckLst.h"

#include <QtWidgets/QListWidget>

namespace {

Qt::CheckState QtCheckState(TCheckBoxState State) {
    return State == cbChecked  ? Qt::Checked
           : State == cbGrayed ? Qt::PartiallyChecked
                               : Qt::Unchecked;
}

} // namespace

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

void TCheckListBox::PublishedProperties(TPropertyBuilder<TCheckListBox>& P) {
    P.Property("AllowGrayed", &TCheckListBox::AllowGrayed, &TCheckListBox::SetAllowGrayed)
        .Default(false);
    P.Property("Color", &TControl::Color, &TControl::SetColor).TypeName("TColor").Default(clWindow);
    P.Property("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
        .Default(16);
    P.Property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems);
    P.Property("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex).Default(-1);
    P.Property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect)
        .Default(false);
    P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
    P.Property("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("OnClickCheck", &TCheckListBox::OnClickCheck);
}

void TCheckListBox::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Items()->Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
}

TCheckBoxState TCheckListBox::State(Integer Index) const {
    CheckIndex(Index);
    return FStates[Index];
}

void TCheckListBox::SetState(Integer Index, TCheckBoxState Value) {
    CheckIndex(Index);
    if (FStates[Index] == Value)
        return;
    FStates[Index] = Value;
    PushState(Index);
}

void TCheckListBox::SetAllowGrayed(bool Value) {
    if (FAllowGrayed == Value)
        return;
    FAllowGrayed = Value;
    if (HandleAllocated())
        UpdateWidgetItems();
}

void TCheckListBox::ClickCheck() {
    if (OnClickCheck)
        OnClickCheck(this);
}

void TCheckListBox::ItemsChanged() {
    FStates.resize(Items()->Count(), cbUnchecked);
    TCustomListBox::ItemsChanged();
}

void TCheckListBox::UpdateWidgetItems() {
    auto* list = WidgetAs<QListWidget>();
    QSignalBlocker blocker(list);
    for (Integer index = 0; index < list->count() && index < Items()->Count(); ++index) {
        QListWidgetItem* item = list->item(index);
        Qt::ItemFlags flags = item->flags() | Qt::ItemIsUserCheckable;
        item->setFlags(FAllowGrayed ? flags | Qt::ItemIsUserTristate
                                    : flags & ~Qt::ItemIsUserTristate);
        item->setCheckState(QtCheckState(FStates[index]));
    }
}

void TCheckListBox::PushState(Integer Index) {
    auto* list = WidgetAs<QListWidget>();
    if (!list || Index >= list->count())
        return;
    QSignalBlocker blocker(list);
    list->item(Index)->setCheckState(QtCheckState(FStates[Index]));
}

// The list's own cycle differs from the platform's: the component decides
// the next state and shows it.
void TCheckListBox::UserToggled(Integer Index) {
    if (Index < 0 || Index >= Items()->Count())
        return;
    TCheckBoxState next = FStates[Index] == cbUnchecked                 ? cbChecked
                          : FStates[Index] == cbChecked && FAllowGrayed ? cbGrayed
                                                                        : cbUnchecked;
    FStates[Index] = next;
    PushState(Index);
    ClickCheck();
}

void TCheckListBox::ConnectWidget() {
    TCustomListBox::ConnectWidget();
    auto* list = WidgetAs<QListWidget>();
    QObject::connect(list, &QListWidget::itemChanged, list, [this, list](QListWidgetItem* Item) {
        EventBoundary(this, [&] { UserToggled(list->row(Item)); });
    });
}
