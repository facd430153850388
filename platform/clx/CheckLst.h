// TCheckListBox: a list box whose items carry check boxes.
#pragma once

#include "clx/StdCtrls.h"

// Each item has a check state, kept by position when the items change. A
// click on an item's box moves it on as a check box does (unchecked,
// checked, then grayed with AllowGrayed) and fires OnClickCheck; setting
// Checked or State from code fires nothing.
class TCheckListBox : public TCustomListBox {
    ZX_CLASS(TCheckListBox, TCustomListBox)
public:
    explicit TCheckListBox(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TCheckListBox>& P);

    // EListError for an index outside the items.
    bool Checked(Integer Index) const { return State(Index) == cbChecked; }
    void SetChecked(Integer Index, bool Value) { SetState(Index, Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State(Integer Index) const;
    void SetState(Integer Index, TCheckBoxState Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);

    TNotifyEvent OnClickCheck;

protected:
    virtual void ClickCheck();
    void ItemsChanged() override;
    void UpdateWidgetItems() override;
    void ConnectWidget() override;

private:
    void CheckIndex(Integer Index) const;
    void PushState(Integer Index);
    void UserToggled(Integer Index);

    std::vector<TCheckBoxState> FStates;
    bool FAllowGrayed = false;
};
