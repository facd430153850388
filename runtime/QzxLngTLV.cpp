#include "runtime/QzxLngTLV.h"

#include "runtime/QzxComp_Engine.h"

#include "clx/ComCtrls.h"

#include <unordered_map>

namespace {

// Calls Visit(key, caption, setter of the caption) for each item of a tree
// view or a list view, in the control's item order. The count is read
// again after each item, since a handler of the control may change the
// items while their captions change.
template <typename TVisit> void ForEachItem(TComponent* Control, TVisit& Visit) {
    const AnsiString prefix = Control->Name() + ".Items[";
    if (auto* tree = dynamic_cast<TTreeView*>(Control)) {
        for (Integer index = 0; index < tree->Items()->Count(); ++index) {
            TTreeNode* node = tree->Items()->Item(index);
            Visit(prefix + IntToStr(index) + "].Text", node->Text(),
                  [node](const AnsiString& Value) { node->SetText(Value); });
        }
    } else if (auto* list = dynamic_cast<TListView*>(Control)) {
        for (Integer index = 0; index < list->Items()->Count(); ++index) {
            TListItem* item = list->Items()->Item(index);
            Visit(prefix + IntToStr(index) + "].Caption", item->Caption(),
                  [item](const AnsiString& Value) { item->SetCaption(Value); });
        }
    }
}

// Upper-cased key to the index of the first line of that key, so that each
// item finds its line at once however many items there are.
class TKeyIndex {
public:
    TKeyIndex(const TStrings& List, char Delim) {
        for (Integer index = 0; index < List.Count(); ++index) {
            const AnsiString line = List.Get(index);
            if (line.find(Delim) != AnsiString::npos)
                FLines.emplace(AnsiUpperCase(TextBefore(line, Delim)), index);
        }
    }
    // The line of Key, or -1.
    Integer Find(const AnsiString& Key) const {
        auto found = FLines.find(AnsiUpperCase(Key));
        return found == FLines.end() ? -1 : found->second;
    }
    void Add(const AnsiString& Key, Integer Index) { FLines.emplace(AnsiUpperCase(Key), Index); }

private:
    std::unordered_map<AnsiString, Integer> FLines;
};

} // namespace

// The items of every tree view and list view of the owner whose texts are
// translated, in component order.
template <typename TVisit> void TzxLangTLV::ForEachCollectedItem(TVisit&& Visit) {
    for (Integer index = 0; index < Owner()->ComponentCount(); ++index)
        if (TComponent* control = Owner()->Components(index); IsCollectedComponent(control))
            ForEachItem(control, Visit);
}

TzxLangTLV::TzxLangTLV(TComponent* AOwner)
    : TzxCustomLang(AOwner), FItems(std::make_unique<TStringList>()) {}

void TzxLangTLV::PublishedProperties(TPropertyBuilder<TzxLangTLV>& P) {
    PublishLangProperties(P);
    // Its lines travel in "TranslationData" with the other lists.
    P.Property("ListView_TreeView_Items", &TzxLangTLV::ListView_TreeView_Items,
               &TzxLangTLV::SetLVTVItems)
        .Stored(false);
}

void TzxLangTLV::SetLVTVItems(TStrings* Value) {
    if (Value == FItems.get())
        return;
    FItems->Assign(Value);
    ChangeLanguage();
}

bool TzxLangTLV::IsCompIncluded(const AnsiString& Prefix) const {
    const AnsiString start = Prefix + ".";
    for (Integer index = 0; index < FItems->Count(); ++index)
        if (FItems->Get(index).starts_with(start))
            return true;
    return false;
}

void TzxLangTLV::DeleteLine(const AnsiString& Prefix) {
    const AnsiString start = Prefix + ".";
    for (Integer index = 0; index < FItems->Count(); ++index)
        if (FItems->Get(index).starts_with(start)) {
            FItems->Delete(index);
            return;
        }
}

// A caption shown in another language than the first is that language's
// text: writing it over the first language's value would lose the
// original, so an existing line takes it by the collectors' rule.
void TzxLangTLV::BuildList() {
    TzxCustomLang::BuildList();
    if (!Owner())
        return;
    TKeyIndex lines(*FItems, static_cast<char>(LangDelim()));
    ForEachCollectedItem([&](const AnsiString& Key, const AnsiString& Caption, auto&&) {
        Integer index = lines.Find(Key);
        if (index >= 0) {
            UpdateLine(*FItems, index, Key, Caption);
            return;
        }
        lines.Add(Key, FItems->Count());
        FItems->Add(NewLine(Key, Caption));
    });
}

void TzxLangTLV::ChangeLanguage() {
    if (!ApplyLanguage())
        return;
    ApplyItems();
    if (OnChangeLanguage)
        OnChangeLanguage(this);
}

// Only items whose whole key has a line are asked for, so a line of an item
// that is gone, or a key of another shape, changes nothing and raises
// nothing.
void TzxLangTLV::ApplyItems() {
    const bool testMode = InTestMode();
    TKeyIndex lines(*FItems, static_cast<char>(LangDelim()));
    ForEachCollectedItem([&](const AnsiString& Key, const AnsiString&, auto&& SetCaption) {
        Integer index = lines.Find(Key);
        if (index < 0)
            return;
        AnsiString value = ValueOfLine(FItems->Get(index), testMode);
        if (!value.empty())
            SetCaption(value);
    });
}

void TzxLangTLV::Notification(TComponent* AComponent, TOperation Operation) {
    TzxCustomLang::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent->Name().empty())
        return;
    const AnsiString start = AComponent->Name() + ".";
    for (Integer index = FItems->Count() - 1; index >= 0; --index)
        if (FItems->Get(index).starts_with(start))
            FItems->Delete(index);
}

void InitQzxLngTLV() {
    if (!GetClass("TzxLangTLV"))
        RegisterClass(TzxLangTLV::StaticClass());
}
