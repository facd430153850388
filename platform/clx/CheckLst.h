// TCheckListBox: a list box whose items carry check boxes.
#pragma once

#include "clx/StdCtrls.h"

class TCheckListStrings;

// Each item has a check state that stays with it when items are inserted,
// deleted, moved, exchanged, sorted or rewritten in place (Put); a new item
// starts unchecked. A click on an item's box moves it on as a check box does (unchecked,
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
    QVariant ItemData(Integer Index, int Role) const override;
    bool SetItemData(Integer Index, const QVariant& Value, int Role) override;
    Integer ItemFlags(Integer Index) const override;

private:
    void CheckIndex(Integer Index) const;
    void PushState(Integer Index);
    TCheckListStrings* CheckItems() const;

    bool FAllowGrayed = false;
};
