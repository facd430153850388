#include "clx/CheckLst.h"

#include "clx/ItemModel.h"

namespace {

const char* const SListIndexError = "List index out of bounds (%d)";

Qt::CheckState QtCheckState(TCheckBoxState State) {
    return State == cbChecked  ? Qt::Checked
           : State == cbGrayed ? Qt::PartiallyChecked
                               : Qt::Unchecked;
}

} // namespace

// The items of a check list box with their states alongside. Each change
// of one item keeps the states in step before the box hears of it; Move,
// which the platform makes a deletion and an insertion, is one batch.
class TCheckListStrings : public TControlStrings {
public:
    using TControlStrings::TControlStrings;

    TCheckBoxState State(Integer Index) const { return FStates[Index]; }
    void SetState(Integer Index, TCheckBoxState Value) { FStates[Index] = Value; }

    void Clear() override;
    void Delete(Integer Index) override;
    void Move(Integer CurIndex, Integer NewIndex) override;

protected:
    void InsertItem(Integer Index, const AnsiString& S, TObject* AObject) override;
    void ExchangeItems(Integer Index1, Integer Index2) override;

private:
    void CheckIndex(Integer Index) const;

    std::vector<TCheckBoxState> FStates;
};

void TCheckListStrings::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Count())
        Error(SListIndexError, Index);
}

void TCheckListStrings::Clear() {
    FStates.clear();
    TControlStrings::Clear();
}

void TCheckListStrings::Delete(Integer Index) {
    CheckIndex(Index);
    FStates.erase(FStates.begin() + Index);
    TControlStrings::Delete(Index);
}

void TCheckListStrings::Move(Integer CurIndex, Integer NewIndex) {
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex);
    TCheckBoxState moved = FStates[CurIndex];
    BeginUpdate();
    try {
        TControlStrings::Move(CurIndex, NewIndex);
        FStates[NewIndex] = moved;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCheckListStrings::InsertItem(Integer Index, const AnsiString& S, TObject* AObject) {
    FStates.insert(FStates.begin() + Index, cbUnchecked);
    try {
        TControlStrings::InsertItem(Index, S, AObject);
    } catch (...) {
        FStates.erase(FStates.begin() + Index);
        throw;
    }
}

void TCheckListStrings::ExchangeItems(Integer Index1, Integer Index2) {
    TControlStrings::ExchangeItems(Index1, Index2);
    std::swap(FStates[Index1], FStates[Index2]);
}

TCheckListBox::TCheckListBox(TComponent* AOwner)
    : TCustomListBox(AOwner, [](TControlStrings::TItemObserver Observer) {
          return std::make_unique<TCheckListStrings>(std::move(Observer));
      }) {}

TCheckListStrings* TCheckListBox::CheckItems() const {
    return static_cast<TCheckListStrings*>(Items());
}

void TCheckListBox::PublishedProperties(TPropertyBuilder<TCheckListBox>& P) {
    P.Property("AllowGrayed", &TCheckListBox::AllowGrayed, &TCheckListBox::SetAllowGrayed)
        .Default(false);
    PublishListProperties(P);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("OnClickCheck", &TCheckListBox::OnClickCheck);
}

void TCheckListBox::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Items()->Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
}

TCheckBoxState TCheckListBox::State(Integer Index) const {
    CheckIndex(Index);
    return CheckItems()->State(Index);
}

void TCheckListBox::SetState(Integer Index, TCheckBoxState Value) {
    CheckIndex(Index);
    if (CheckItems()->State(Index) == Value)
        return;
    CheckItems()->SetState(Index, Value);
    PushState(Index);
}

void TCheckListBox::SetAllowGrayed(bool Value) {
    if (FAllowGrayed == Value)
        return;
    FAllowGrayed = Value;
}

void TCheckListBox::ClickCheck() {
    if (OnClickCheck)
        OnClickCheck(this);
}

QVariant TCheckListBox::ItemData(Integer Index, int Role) const {
    if (Role == Qt::CheckStateRole)
        return QtCheckState(CheckItems()->State(Index));
    return TCustomListBox::ItemData(Index, Role);
}

Integer TCheckListBox::ItemFlags(Integer Index) const {
    return TCustomListBox::ItemFlags(Index) | Qt::ItemIsUserCheckable;
}

// A click on an item's box: the list's own cycle differs from the
// platform's, so the component decides the next state whatever Qt offers.
bool TCheckListBox::SetItemData(Integer Index, const QVariant&, int Role) {
    if (Role != Qt::CheckStateRole)
        return false;
    TCheckBoxState current = CheckItems()->State(Index);
    TCheckBoxState next = current == cbUnchecked                 ? cbChecked
                          : current == cbChecked && FAllowGrayed ? cbGrayed
                                                                 : cbUnchecked;
    CheckItems()->SetState(Index, next);
    PushState(Index);
    ClickCheck();
    return true;
}

void TCheckListBox::PushState(Integer Index) {
    if (TItemModel* model = ItemModel())
        model->ItemChanged(nullptr, Index);
}
