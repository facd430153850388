// The exclusion rules that take a component's or a property's texts out of
// the working copy, and the Extended tab's tree of the published
// properties of the edited form and its components.
#include "editor/QzxTransEditor_Grid.h"

#include "clx/ComCtrls.h"

#include <algorithm>

namespace {

// Nested objects deeper than this are not offered: a chain of objects
// that make new objects as they are read never ends otherwise.
constexpr Integer MaxExtendedDepth = 6;

const TTypeKinds StringKinds{tkString, tkLString, tkWString};

// A branch of the tree: an object-typed property, walked in turn.
void* const BranchData = reinterpret_cast<void*>(1);

bool ListHolds(TStrings& List, const AnsiString& Text) {
    for (Integer index = 0; index < List.Count(); ++index)
        if (AnsiSameText(List.Get(index), Text))
            return true;
    return false;
}

bool StartsWith(const AnsiString& Text, const AnsiString& Prefix) {
    return Text.compare(0, Prefix.size(), Prefix) == 0;
}

// Deletes, from the last line up, the lines that Matches; Once stops after
// the first.
void DeleteLines(TStrings& List, const std::function<bool(const AnsiString&)>& Matches,
                 bool Once = false) {
    List.BeginUpdate();
    for (Integer index = List.Count() - 1; index >= 0; --index)
        if (Matches(List.Get(index))) {
            List.Delete(index);
            if (Once)
                break;
        }
    List.EndUpdate();
}

} // namespace

// A node of the tree as the walk builds it, before it reaches the view.
struct TExtendedNode {
    TExtendedNode(const AnsiString& AText, void* AData) : Text(AText), Data(AData) {}
    AnsiString Text;
    void* Data;
    std::vector<TExtendedNode> Children;
};

// ---------------------------------------------------------------------------
// Exclusion rules

void TzxTransEditFrm::CheckDontTranslate(const AnsiString& CompName) {
    const AnsiString byDelimiter = CompName + static_cast<char>(FWorkingCopy->LangDelim());
    const AnsiString byPoint = CompName + ".";
    for (Integer kind = 0; kind < StringsTypeCount; ++kind)
        if (TStrings* list = FWorkingCopy->GetPropListByType(static_cast<TStringsType>(kind)))
            DeleteLines(*list, [&](const AnsiString& Line) {
                return StartsWith(Line, byDelimiter) || StartsWith(Line, byPoint);
            });
}

// "Name" is never translated.
bool TzxTransEditFrm::IsExcludedPair(const AnsiString& CompName,
                                     const AnsiString& PropName) const {
    return AnsiSameText(PropName, "Name") ||
           ListHolds(*FWorkingCopy->ExcludedProperties(), PropName) ||
           ListHolds(*FWorkingCopy->SmartExcludeProps(), CompName + "." + PropName);
}

// A line's key is split at ".", "[" and the delimiter: word 1 names the
// component, word 2 the property and, in a collection's key
// Comp.Coll[i].Prop, word 4 the item's property.
void TzxTransEditFrm::ExcludeLinesOfProps(TStrings& List, bool ItemProperty) {
    const char delimiter = static_cast<char>(FWorkingCopy->LangDelim());
    const TSysCharSet delimiters{'.', '[', delimiter};
    DeleteLines(List, [&](const AnsiString& Line) {
        const AnsiString key = Line.substr(0, Line.find(delimiter));
        const AnsiString component = ExtractWord(1, key, delimiters);
        return IsExcludedPair(component, ExtractWord(2, key, delimiters)) ||
               (ItemProperty && IsExcludedPair(component, ExtractWord(4, key, delimiters)));
    });
}

void TzxTransEditFrm::CheckExcludedProps() {
    TStrings* excluded = FWorkingCopy->ExcludedProperties();
    auto clearWhenExcluded = [&](const char* PropName, std::initializer_list<TStringsType> Kinds) {
        if (!ListHolds(*excluded, PropName))
            return;
        for (TStringsType kind : Kinds)
            if (TStrings* list = FWorkingCopy->GetPropListByType(kind))
                list->Clear();
    };
    clearWhenExcluded("Caption", {stCaptions});
    clearWhenExcluded("Hint", {stHints});
    clearWhenExcluded("DisplayLabel", {stDisplayLabels});
    clearWhenExcluded("Font", {stFonts, stCharSets});
    clearWhenExcluded("Charset", {stCharSets});
    for (TStringsType kind : {stMultiLines, stOtherStrings, stCollections})
        if (TStrings* list = FWorkingCopy->GetPropListByType(kind))
            ExcludeLinesOfProps(*list, kind == stCollections);
    TzxExtendedItems* items = FWorkingCopy->ExtendedTranslations();
    for (Integer index = items->Count() - 1; index >= 0; --index) {
        const AnsiString identifier = items->Items(index)->GetIdentifier();
        const TSysCharSet point{'.'};
        if (IsExcludedPair(ExtractWord(1, identifier, point), ExtractWord(2, identifier, point)))
            delete items->Items(index);
    }
}

void TzxTransEditFrm::CheckSmartExcludes(const AnsiString& CompName, const AnsiString& PropName) {
    const AnsiString property = CompName + "." + PropName;
    if (ExtendedShown()) {
        TzxExtendedItems* items = FWorkingCopy->ExtendedTranslations();
        for (Integer index = items->Count() - 1; index >= 0; --index) {
            const AnsiString identifier = items->Items(index)->GetIdentifier();
            if (identifier == property || StartsWith(identifier, property + "."))
                delete items->Items(index);
        }
        return;
    }
    TStrings* list = FWorkingCopy->GetPropListByType(FCurrentType);
    if (!list)
        return;
    const char delimiter = static_cast<char>(FWorkingCopy->LangDelim());
    AnsiString prefix = CompName + delimiter;
    if (FCurrentType == stMultiLines || FCurrentType == stOtherStrings)
        prefix = property + delimiter;
    else if (FCurrentType == stCollections)
        prefix = property;
    DeleteLines(
        *list, [&](const AnsiString& Line) { return StartsWith(Line, prefix); },
        FCurrentType != stCollections);
}

// ---------------------------------------------------------------------------
// The Extended tab's tree

namespace {

void SortNodes(std::vector<TExtendedNode>& Nodes) {
    std::stable_sort(Nodes.begin(), Nodes.end(), [](const auto& A, const auto& B) {
        return AnsiCompareText(A.Text, B.Text) < 0;
    });
    for (TExtendedNode& node : Nodes)
        SortNodes(node.Children);
}

void AddNodes(TTreeNodes& Items, TTreeNode* Parent, const std::vector<TExtendedNode>& Nodes) {
    for (const TExtendedNode& node : Nodes)
        AddNodes(Items, Items.AddChildObject(Parent, node.Text, node.Data), node.Children);
}

} // namespace

// The edited owner is walked, never Lang's: the working copy has no owner.
void TzxTransEditFrm::BuildExtendedTree(TzxCustomLang* Lang) {
    std::vector<TExtendedNode> top;
    std::vector<TObject*> walking;
    auto walkTop = [&](TObject* Object, const AnsiString& Caption) {
        TExtendedNode node(Caption, nullptr);
        if (WalkObject(Object, node, Caption, 0, walking))
            top.push_back(std::move(node));
    };
    walkTop(FEditedOwner, FEditedOwner->ClassName());
    for (Integer index = 0; index < FEditedOwner->ComponentCount(); ++index) {
        TComponent* component = FEditedOwner->Components(index);
        if (dynamic_cast<TzxCustomLang*>(component) ||
            dynamic_cast<TzxLangDispatcher*>(component) || Trim(component->Name()).empty() ||
            ListHolds(*Lang->DoNotTranslate(), component->Name()))
            continue;
        walkTop(component, component->Name());
    }
    SortNodes(top);
    TTreeNodes* items = tvExtended->Items();
    items->BeginUpdate();
    items->Clear();
    AddNodes(*items, nullptr, top);
    items->EndUpdate();
}

// Fills Node's children with Object's properties; false when the node
// goes: no object, an object being walked already (a cycle), too deep, no
// properties, or a failure while listing them.
bool TzxTransEditFrm::WalkObject(TObject* Object, TExtendedNode& Node, const AnsiString& Path,
                                 Integer Depth, std::vector<TObject*>& Walking) {
    if (!Object || Depth > MaxExtendedDepth ||
        std::find(Walking.begin(), Walking.end(), Object) != Walking.end())
        return false;
    std::unique_ptr<TzxPropInfoList> properties;
    try {
        properties = std::make_unique<TzxPropInfoList>(Object, tkProperties);
    } catch (...) {
        return false;
    }
    if (properties->Count() == 0)
        return false;
    Walking.push_back(Object);
    for (Integer index = 0; index < properties->Count(); ++index) {
        // A property whose reading fails is left out; its siblings stay.
        try {
            AddProperty(Object, properties->Get(index), Node, Path, Depth, Walking);
        } catch (...) {
        }
    }
    Walking.pop_back();
    return true;
}

void TzxTransEditFrm::AddProperty(TObject* Object, PPropInfo Info, TExtendedNode& Node,
                                  const AnsiString& Path, Integer Depth,
                                  std::vector<TObject*>& Walking) {
    const TTypeKind kind = Info->PropType->Kind;
    const AnsiString identifier = Path + "." + Info->Name;
    if (Depth == 0 && StringKinds.Contains(kind))
        return;
    if (ListHolds(*FWorkingCopy->ExcludedProperties(), Info->Name))
        return;
    if (Depth == 0 && ListHolds(*FWorkingCopy->SmartExcludeProps(), identifier))
        return;
    if (FWorkingCopy->ExtendedTranslations()->Find(identifier))
        return;
    auto* leafData = const_cast<TPropInfo*>(Info);
    if (kind != tkClass) {
        Node.Children.emplace_back(Info->Name, leafData);
        return;
    }
    TObject* value = GetObjectProp(Object, Info);
    if (!value)
        return;
    auto* component = dynamic_cast<TComponent*>(value);
    if (component && component->Owner() != Object)
        return;
    if (dynamic_cast<TStrings*>(value)) {
        Node.Children.emplace_back(Info->Name, leafData);
        return;
    }
    auto* collection = dynamic_cast<TCollection*>(value);
    if (!collection) {
        TExtendedNode branch(Info->Name, BranchData);
        if (WalkObject(value, branch, identifier, Depth + 1, Walking))
            Node.Children.push_back(std::move(branch));
        return;
    }
    for (Integer item = 0; item < collection->Count(); ++item) {
        const AnsiString caption = Format("%s[%d]", {Info->Name, item});
        TExtendedNode branch(caption, BranchData);
        if (WalkObject(collection->Items(item), branch, Path + "." + caption, Depth + 1, Walking))
            Node.Children.push_back(std::move(branch));
    }
}
