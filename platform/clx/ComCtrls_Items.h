// What the list view's items and the tree view's nodes share: batched
// updates and the binary "Data" property that holds them in form files.
#pragma once

#include "clx/ComCtrls.h"

#include "rtl/Filer.h"

#include <algorithm>

// BeginUpdate for the lifetime of a scope (TListItems, TTreeNodes).
template <typename TItems> class TItemsUpdate {
public:
    explicit TItemsUpdate(TItems& Items) : FItems(Items) { FItems.BeginUpdate(); }
    ~TItemsUpdate() { FItems.EndUpdate(); }
    TItemsUpdate(const TItemsUpdate&) = delete;
    TItemsUpdate& operator=(const TItemsUpdate&) = delete;

private:
    TItems& FItems;
};

// Defines the "Data" property of Items (TListItems, TTreeNodes). It is
// stored when there are items or, against an ancestor, when the data
// differs from the ancestor's.
template <typename TItems> void DefineItemDataProperty(TFiler* Filer, TItems& Items) {
    bool hasData = Items.Count() > 0;
    if (const auto* ancestor = dynamic_cast<const TItems*>(Filer->Ancestor())) {
        TMemoryStream mine;
        TMemoryStream theirs;
        Items.WriteData(mine);
        ancestor->WriteData(theirs);
        hasData = mine.Size() != theirs.Size() ||
                  !std::equal(mine.Memory(), mine.Memory() + mine.Size(), theirs.Memory());
    }
    Filer->DefineBinaryProperty(
        "Data", [&Items](TStream& Stream) { Items.ReadData(Stream); },
        [&Items](TStream& Stream) { Items.WriteData(Stream); }, hasData);
}
