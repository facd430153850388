#include "clx/CheckLst.h"

#include <QtWidgets/QListWidget>

namespace {

const char* const SListIndexError = "List index out of bounds (%d)";

Qt::CheckState QtCheckState(TCheckBoxState State) {
    return State == cbChecked  ? Qt::Checked
           : State == cbGrayed ? Qt::PartiallyChecked
                               : Qt::Unchecked;
}

} // namespace

// The items of a check list box with their states alongside. Each change
// runs as one update, so the box hears of it only once the states are in
// step with the strings.
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
    template <typename Body> void Updating(Body&& DoChanges);
    void CheckIndex(Integer Index) const;

    std::vector<TCheckBoxState> FStates;
};

template <typename Body> void TCheckListStrings::Updating(Body&& DoChanges) {
    BeginUpdate();
    try {
        DoChanges();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCheckListStrings::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Count())
        Error(SListIndexError, Index);
}

void TCheckListStrings::Clear() {
    if (Count() == 0)
        return;
    Updating([&] {
        TControlStrings::Clear();
        FStates.clear();
    });
}

void TCheckListStrings::Delete(Integer Index) {
    CheckIndex(Index);
    Updating([&] {
        TControlStrings::Delete(Index);
        FStates.erase(FStates.begin() + Index);
    });
}

// The platform's Move deletes and reinserts, which would lose the state.
void TCheckListStrings::Move(Integer CurIndex, Integer NewIndex) {
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex);
    TCheckBoxState moved = FStates[CurIndex];
    Updating([&] {
        TControlStrings::Move(CurIndex, NewIndex);
        FStates[NewIndex] = moved;
    });
}

void TCheckListStrings::InsertItem(Integer Index, const AnsiString& S, TObject* AObject) {
    Updating([&] {
        TControlStrings::InsertItem(Index, S, AObject);
        FStates.insert(FStates.begin() + Index, cbUnchecked);
    });
}

void TCheckListStrings::ExchangeItems(Integer Index1, Integer Index2) {
    TControlStrings::ExchangeItems(Index1, Index2);
    std::swap(FStates[Index1], FStates[Index2]);
}

TCheckListBox::TCheckListBox(TComponent* AOwner)
    : TCustomListBox(AOwner, std::make_unique<TCheckListStrings>([this] { ItemsChanged(); })) {}

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
    if (HandleAllocated())
        UpdateWidgetItems();
}

void TCheckListBox::ClickCheck() {
    if (OnClickCheck)
        OnClickCheck(this);
}

void TCheckListBox::UpdateWidgetItems() {
    auto* list = WidgetAs<QListWidget>();
    QSignalBlocker blocker(list);
    for (Integer index = 0; index < list->count() && index < Items()->Count(); ++index) {
        QListWidgetItem* item = list->item(index);
        Qt::ItemFlags flags = item->flags() | Qt::ItemIsUserCheckable;
        item->setFlags(FAllowGrayed ? flags | Qt::ItemIsUserTristate
                                    : flags & ~Qt::ItemIsUserTristate);
        item->setCheckState(QtCheckState(CheckItems()->State(index)));
    }
}

void TCheckListBox::PushState(Integer Index) {
    auto* list = WidgetAs<QListWidget>();
    if (!list || Index >= list->count())
        return;
    QSignalBlocker blocker(list);
    list->item(Index)->setCheckState(QtCheckState(CheckItems()->State(Index)));
}

// The list's own cycle differs from the platform's: the component decides
// the next state and shows it.
void TCheckListBox::UserToggled(Integer Index) {
    if (Index < 0 || Index >= Items()->Count())
        return;
    TCheckBoxState current = CheckItems()->State(Index);
    TCheckBoxState next = current == cbUnchecked                 ? cbChecked
                          : current == cbChecked && FAllowGrayed ? cbGrayed
                                                                 : cbUnchecked;
    CheckItems()->SetState(Index, next);
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
