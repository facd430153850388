// TzxLangTLV: a translation component that also translates the item
// captions of the tree views and list views its owner owns.
#pragma once

#include "runtime/QzxComp.h"

class TzxLangTLV : public TzxCustomLang {
    ZX_CLASS(TzxLangTLV, TzxCustomLang)
public:
    explicit TzxLangTLV(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TzxLangTLV>& P);

    // One translation line per item, keyed by the control's name and the
    // item's index in the control's order: "Tree1.Items[0].Text" for a tree
    // view's node, "List1.Items[2].Caption" for a list view's item.
    TStrings* ListView_TreeView_Items() const { return FItems.get(); }
    // Copies Value, unless it is the list itself, and applies every kind.
    void SetLVTVItems(TStrings* Value);

    // Whether a line starts with Prefix followed by "." (case-sensitive).
    bool IsCompIncluded(const AnsiString& Prefix) const;
    // Deletes the first line that starts with Prefix followed by ".".
    void DeleteLine(const AnsiString& Prefix);

    // Collects the other kinds, then the items: an item without a line gets
    // one with its caption as the first language's value; an existing line
    // follows the other collectors' rule (at design time the active
    // language takes the caption, unless its value is empty and it is not
    // the first; at run time the line stays).
    void BuildList() override;
    // Applies the other kinds (or the one a list setter names), then gives
    // every item whose line has a value in the active language that caption;
    // OnChangeLanguage fires after the items.
    void ChangeLanguage() override;

protected:
    // A removed control's lines go, at design time and at run time alike.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    template <typename TVisit> void ForEachCollectedItem(TVisit&& Visit);
    void ApplyItems();

    std::unique_ptr<TStringList> FItems;
};

// Unit start-up: registers TzxLangTLV for form streaming unless a class of
// that name is registered already.
void InitQzxLngTLV();
