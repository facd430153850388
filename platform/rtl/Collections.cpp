#include "rtl/Collections.h"

#include <algorithm>
#include <memory>

namespace {

const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SNoItemClass = "%s is not a collection item class";
const char* const SInvalidItem = "A %s cannot be an item of a collection of %s";

} // namespace

// ---------------------------------------------------------------------------
// TCollection

TCollection::TCollection(TClass AItemClass) : FItemClass(AItemClass) {
    if (!ClassInheritsFrom(AItemClass, TCollectionItem::StaticClass()) || !AItemClass->Construct)
        throw EInvalidOperation(Format(SNoItemClass, {AItemClass ? AItemClass->Name : "nil"}));
}

TCollection::~TCollection() {
    FUpdateCount = 1;
    Clear();
}

// The items go while the collection still has its full class, without
// reporting the changes of a collection that is going away.
void TCollection::BeforeDestruction() {
    TPersistent::BeforeDestruction();
    FUpdateCount = 1;
    Clear();
}

TCollectionItem* TCollection::Items(Integer Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

void TCollection::SetItem(Integer Index, const TCollectionItem* Value) {
    Items(Index)->Assign(Value);
}

TCollectionItem* TCollection::Add() {
    std::unique_ptr<TCollectionItem> item(
        dynamic_cast<TCollectionItem*>(FItemClass->Construct(this)));
    InsertItem(item.get());
    return item.release();
}

TCollectionItem* TCollection::Insert(Integer Index) {
    if (Index != Count())
        CheckIndex(Index);
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(Integer Index) {
    TCollectionItem* item = Items(Index);
    Notify(item, cnDeleting);
    delete item;
}

void TCollection::Exchange(Integer Index1, Integer Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    if (Index1 == Index2)
        return;
    std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
    Changed();
}

void TCollection::Clear() {
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(Integer ID) const {
    auto found = std::find_if(FItems.begin(), FItems.end(),
                              [ID](const TCollectionItem* item) { return item->FID == ID; });
    return found == FItems.end() ? nullptr : *found;
}

void TCollection::Assign(const TPersistent* Source) {
    const auto* source = dynamic_cast<const TCollection*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    BeginUpdate();
    try {
        Clear();
        for (const TCollectionItem* item : source->FItems)
            Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate() {
    ++FUpdateCount;
}

void TCollection::EndUpdate() {
    --FUpdateCount;
    Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::InsertItem(TCollectionItem* Item) {
    if (!Item->InheritsFrom(FItemClass))
        throw EInvalidOperation(Format(SInvalidItem, {Item->ClassName(), FItemClass->Name}));
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    Notify(Item, cnExtracting);
    auto found = std::find(FItems.rbegin(), FItems.rend(), Item);
    FItems.erase(std::next(found).base());
    Item->FCollection = nullptr;
    Changed();
}

void TCollection::MoveItem(Integer CurIndex, Integer NewIndex) {
    CheckIndex(NewIndex);
    auto from = FItems.begin() + CurIndex;
    auto to = FItems.begin() + NewIndex;
    if (CurIndex < NewIndex)
        std::rotate(from, from + 1, to + 1);
    else
        std::rotate(to, from, from + 1);
}

Integer TCollection::IndexOfItem(const TCollectionItem* Item) const {
    auto found = std::find(FItems.begin(), FItems.end(), Item);
    return found == FItems.end() ? -1 : static_cast<Integer>(found - FItems.begin());
}

void TCollection::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format(SListIndexError, {Index}));
}

// ---------------------------------------------------------------------------
// TCollectionItem

TCollectionItem::~TCollectionItem() {
    SetCollection(nullptr);
}

void TCollectionItem::BeforeDestruction() {
    TPersistent::BeforeDestruction();
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* Value) {
    if (FCollection == Value)
        return;
    if (FCollection)
        FCollection->RemoveItem(this);
    if (Value)
        Value->InsertItem(this);
}

Integer TCollectionItem::Index() const {
    return FCollection ? FCollection->IndexOfItem(this) : -1;
}

void TCollectionItem::SetIndex(Integer Value) {
    Integer current = Index();
    if (current >= 0 && current != Value) {
        FCollection->MoveItem(current, Value);
        Changed(true);
    }
}

AnsiString TCollectionItem::GetDisplayName() const {
    return ClassName();
}

void TCollectionItem::SetDisplayName(const AnsiString&) {
    Changed(false);
}

void TCollectionItem::Changed(bool AllItems) {
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
}
