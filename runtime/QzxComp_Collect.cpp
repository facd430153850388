// Collecting texts: the texts now on the form go into the lists. New texts
// get lines, at design time the active language takes the current texts,
// lines of removed components and properties go, and the translations of a
// component that comes back under another name follow it.
#include "runtime/QzxComp_Engine.h"

#include "clx/Menus.h"

const std::array<AnsiString, 3> HookedProps = {"Caption", "Hint", "DisplayLabel"};

namespace {

// Every property kind but the untyped and the method kind.
TTypeKinds CollectedKinds() {
    return tkAny - TTypeKinds{tkUnknown, tkMethod};
}

bool HasReadAndWrite(PPropInfo Prop) {
    return Prop->GetProc && Prop->SetProc;
}

bool IsHooked(const AnsiString& PropName) {
    for (const AnsiString& hooked : HookedProps)
        if (UpperCase(hooked) == UpperCase(PropName))
            return true;
    return false;
}

// The string value of a property; a property that cannot be read gives the
// empty text.
AnsiString ReadText(TObject* Instance, PPropInfo Prop) {
    try {
        if (Prop->PropType->Kind == tkWString)
            return UTF8Encode(GetWideStrProp(Instance, Prop));
        return GetStrProp(Instance, Prop);
    } catch (const std::exception&) {
        return AnsiString();
    }
}

// The name of a character set, empty outside the enumeration.
AnsiString CharSetName(TFontCharSet CharSet) {
    Integer value = static_cast<Integer>(CharSet);
    if (value < 0 || value >= FontCharSetCount)
        return AnsiString();
    return GetEnumName(TypeInfoOf(TFontCharSet{}), value);
}

// What a key says apart from its component: the property path, with the
// item indexes left out, since the items of a collection move up when one
// before them goes.
AnsiString KeyShape(const AnsiString& Key) {
    std::size_t point = Key.find('.');
    if (point == AnsiString::npos)
        return AnsiString();
    AnsiString shape;
    bool inIndex = false;
    for (char ch : Key.substr(point)) {
        if (ch == ']')
            inIndex = false;
        if (!inIndex)
            shape += ch;
        if (ch == '[')
            inIndex = true;
    }
    return AnsiUpperCase(shape);
}

bool IsStringsProperty(PPropInfo Prop) {
    return UpperCase(Prop->PropType->Name) == "TSTRINGS";
}

} // namespace

// ---------------------------------------------------------------------------
// Exclusions

bool TzxCustomLang::NotHandledProperty(const AnsiString& CompName,
                                       const AnsiString& PropName) const {
    return FExcludedProperties->IndexOf(PropName) >= 0 ||
           FSmartExcludeProps->IndexOf(CompName + "." + PropName) >= 0 ||
           SameText(PropName, "Name");
}

// A line goes when its key is the excluded text's key or a path below it;
// a target ending in "[" takes every item of a collection.
void TzxCustomLang::RemoveSmartExcl(TStrings& List, const AnsiString& CompName,
                                    const AnsiString& PropName, TStringsType Kind) {
    bool pathKey = Kind == stMultiLines || Kind == stOtherStrings || Kind == stCollections;
    const AnsiString target = pathKey ? CompName + "." + PropName : CompName;
    const AnsiString upperTarget = AnsiUpperCase(target);
    auto belongs = [&](const AnsiString& Key) {
        AnsiString key = AnsiUpperCase(Key);
        if (key == upperTarget)
            return true;
        if (!pathKey || !key.starts_with(upperTarget))
            return false;
        char next = key[upperTarget.size()];
        return target.back() == '[' || next == '.' || next == '[';
    };
    for (Integer index = List.Count() - 1; index >= 0; --index)
        if (belongs(TextBefore(List.Get(index), Delim())))
            List.Delete(index);
    FKeyIndexes.erase(&List);
}

// ---------------------------------------------------------------------------
// One text into its line

AnsiString TzxCustomLang::NewLine(const AnsiString& Key, const AnsiString& Text) const {
    TzxTranslationLine line(Key, FNumOfLanguages, Delim());
    line.SetValue(1, Text);
    return line.Text();
}

// The line's key upper-cased; nothing when the line has no delimiter.
std::optional<AnsiString> TzxCustomLang::TEngine::UpperKeyOfLine(const TzxCustomLang& L,
                                                                 const AnsiString& Line) {
    const auto at = Line.find(L.Delim());
    if (at == AnsiString::npos)
        return std::nullopt;
    return AnsiUpperCase(Line.substr(0, at));
}

// While a collecting pass runs the lists change by lines added at their
// end, so each list's index of keys follows them; a list that lost lines,
// or whose indexed line no longer has its key, is indexed anew.
Integer TzxCustomLang::TEngine::IndexOfKey(const TzxCustomLang& L, const TStrings& List,
                                           const AnsiString& Key) {
    const AnsiString key = AnsiUpperCase(Key);
    if (!L.FIndexingKeys) {
        for (Integer index = 0; index < List.Count(); ++index)
            if (UpperKeyOfLine(L, List.Get(index)) == key)
                return index;
        return -1;
    }
    TCollectedKeys& keys = L.FKeyIndexes[&List];
    for (bool fresh = false;; fresh = true) {
        if (fresh || List.Count() < keys.Indexed)
            keys = TCollectedKeys{};
        for (; keys.Indexed < List.Count(); ++keys.Indexed)
            if (auto lineKey = UpperKeyOfLine(L, List.Get(keys.Indexed)))
                keys.FirstLine.emplace(std::move(*lineKey), keys.Indexed);
        const auto found = keys.FirstLine.find(key);
        if (found == keys.FirstLine.end())
            return -1;
        if (fresh || UpperKeyOfLine(L, List.Get(found->second)) == key)
            return found->second;
    }
}

// At design time the active language takes the current text; an empty
// value of another language than the first stays empty. At run time an
// existing line never changes.
void TzxCustomLang::UpdateLine(TStrings& List, Integer Index, const AnsiString& Key,
                               const AnsiString& Text) {
    if (!IsDesigning())
        return;
    const AnsiString active = TzxTranslationLine(List.Get(Index), Delim()).Value(FActiveLanguage);
    if (active != Text && (!active.empty() || FActiveLanguage == 1))
        ReplaceStringValue(List, UTF8Decode(Text), UTF8Decode(Key), FActiveLanguage);
}

// The index in the work list of a line the sweep removed whose text in the
// active language (or in the first, when that is empty) is Text, for a key
// of the same shape; -1 when there is none.
Integer TzxCustomLang::TEngine::RestorableLine(const TzxCustomLang& L, const AnsiString& Key,
                                               const AnsiString& Text) {
    if (!L.FWorkList)
        return -1;
    const AnsiString shape = KeyShape(Key);
    for (Integer index = 0; index < L.FWorkList->Count(); ++index) {
        const TzxTranslationLine line(L.FWorkList->Get(index), L.Delim());
        const AnsiString& active = line.Value(L.FActiveLanguage);
        const AnsiString& value = active.empty() ? line.Value(1) : active;
        if (value == Text && KeyShape(line.Key()) == shape)
            return index;
    }
    return -1;
}

TzxCustomLang::TEngine::TCollected
TzxCustomLang::TEngine::CollectText(TzxCustomLang& L, TStrings& List, const AnsiString& Key,
                                    const AnsiString& Text, bool MayAdd, AnsiString& RestoredFrom) {
    Integer index = IndexOfKey(L, List, Key);
    if (index >= 0) {
        L.UpdateLine(List, index, Key, Text);
        return TCollected::Kept;
    }
    if (!MayAdd)
        return TCollected::Kept;
    Integer found = RestorableLine(L, Key, Text);
    if (found >= 0) {
        TzxTranslationLine line(L.FWorkList->Get(found), L.Delim());
        RestoredFrom = line.Key();
        line.SetKey(Key);
        List.Add(line.Text());
        return TCollected::Restored;
    }
    List.Add(L.NewLine(Key, Text));
    return TCollected::Added;
}

void TzxCustomLang::TEngine::CollectText(TzxCustomLang& L, TStrings& List, const AnsiString& Key,
                                         const AnsiString& Text) {
    AnsiString restoredFrom;
    CollectText(L, List, Key, Text, true, restoredFrom);
}

bool TzxCustomLang::IsCollectedComponent(TComponent* Component) const {
    return !dynamic_cast<TzxCustomLang*>(Component) &&
           !dynamic_cast<TzxLangDispatcher*>(Component) && !Component->Name().empty() &&
           FDoNotTranslate->IndexOf(Component->Name()) < 0;
}

// ---------------------------------------------------------------------------
// BuildList

void TzxCustomLang::BuildList() {
    if (!Owner())
        return;
    const bool raiseExceptions = DoRaiseExceptions;
    DoRaiseExceptions = false;
    try {
        TEngine::CollectOwnerText(*this, stCaptions);
        TEngine::CollectOwnerText(*this, stHints);
        TEngine::CollectOwnerFont(*this);
        FWorkList = std::make_unique<TStringList>();
        FIndexingKeys = true;
        TEngine::CollectKinds(*this);
        CheckRmdProps();
        UpdateExtended();
    } catch (const std::exception&) {
        // Collecting is a best effort over whatever the form holds: what
        // was collected before the failure stays.
    }
    FWorkList.reset();
    FIndexingKeys = false;
    FKeyIndexes.clear();
    DoRaiseExceptions = raiseExceptions;
}

void TzxCustomLang::TEngine::CollectKinds(TzxCustomLang& L) {
    auto pass = [&L](TStringsType Kind, auto Collect) {
        TStrings* list = L.GetPropListByType(Kind);
        if (!list)
            return;
        DelOldNames(L, *list, Kind);
        Collect(*list);
        L.FWorkList->Clear();
    };
    auto excluded = [&L](const char* Name) { return L.FExcludedProperties->IndexOf(Name) >= 0; };
    for (TStringsType kind : {stCaptions, stHints, stDisplayLabels})
        if (!excluded(KindPropertyNames[kind].c_str()))
            pass(kind, [&L, kind](TStrings&) { CollectComponents(L, kind); });
    if (!excluded("Font") && !L.FNoOwnerFont)
        pass(stFonts, [&L](TStrings&) {
            CollectComponents(L, stFonts);
            if (TStrings* charSets = L.GetPropListByType(stCharSets))
                DelOldNames(L, *charSets, stCharSets);
        });
    pass(stMultiLines, [&L](TStrings& List) {
        CollectComponents(L, stMultiLines);
        CollectPropertiesStrings(L, List);
    });
    pass(stOtherStrings, [&L](TStrings& List) {
        if (L.GetTranslateOwner())
            CollectOtherStrings(L, List, L.Owner(), L.Owner()->ClassName());
        for (Integer index = 0; index < L.Owner()->ComponentCount(); ++index) {
            TComponent* component = L.Owner()->Components(index);
            if (L.IsCollectedComponent(component))
                CollectOtherStrings(L, List, component, component->Name());
        }
    });
    pass(stCollections, [&L](TStrings& List) { CollectCollections(L, List); });
}

// ---------------------------------------------------------------------------
// The owner's own caption, hint and font: line 0, keyed by its class name

// The owner's own line, recognised by its key: the class name, or the
// owner's name, which older lists used. A line 0 whose key names nothing on
// the form (the class was renamed) is taken when its first value is the
// owner's text. Any other line is a component's and never taken. The line
// found is re-keyed to the class name; -1 when there is none.
Integer TzxCustomLang::TEngine::OwnLineIndex(TzxCustomLang& L, TStrings& List,
                                             const AnsiString& OwnText) {
    const AnsiString className = L.Owner()->ClassName();
    Integer index = IndexOfKey(L, List, className);
    if (index < 0 && !L.Owner()->Name().empty())
        index = IndexOfKey(L, List, L.Owner()->Name());
    if (index < 0 && List.Count() > 0 && !OwnText.empty()) {
        const TzxTranslationLine first(List.Get(0), L.Delim());
        if (!L.Owner()->FindComponent(first.Key()) && first.Value(1) == OwnText)
            index = 0;
    }
    if (index < 0)
        return -1;
    TzxTranslationLine line(List.Get(index), L.Delim());
    line.SetKey(className);
    List.Put(index, line.Text());
    return index;
}

// Moves the owner's own line to line 0, where the sweep and the translator
// look for it; false when List has none.
bool TzxCustomLang::TEngine::MoveOwnLineFirst(TzxCustomLang& L, TStrings& List,
                                              const AnsiString& OwnText) {
    Integer index = OwnLineIndex(L, List, OwnText);
    if (index > 0)
        List.Move(index, 0);
    return index >= 0;
}

// Line 0 of List holds the owner's text afterwards.
void TzxCustomLang::TEngine::PutOwnLine(TzxCustomLang& L, TStrings& List, const AnsiString& Text) {
    if (MoveOwnLineFirst(L, List, Text))
        L.UpdateLine(List, 0, L.Owner()->ClassName(), Text);
    else
        List.Insert(0, L.NewLine(L.Owner()->ClassName(), Text));
}

void TzxCustomLang::TEngine::CollectOwnerText(TzxCustomLang& L, TStringsType Kind) {
    TStrings* list = L.GetPropListByType(Kind);
    const AnsiString& propName = KindPropertyNames[Kind];
    PPropInfo prop = GetPropInfo(L.Owner(), propName, tkStrings);
    if (!list || !prop)
        return;
    const AnsiString className = L.Owner()->ClassName();
    if (L.FSmartExcludeProps->IndexOf(className + "." + propName) >= 0) {
        L.RemoveSmartExcl(*list, className, propName, Kind);
        return;
    }
    if (L.FExcludedProperties->IndexOf(propName) >= 0 || !L.GetTranslateOwner())
        return;
    PutOwnLine(L, *list, ReadText(L.Owner(), prop));
}

void TzxCustomLang::TEngine::CollectOwnerFont(TzxCustomLang& L) {
    TStrings* fonts = L.GetPropListByType(stFonts);
    TStrings* charSets = L.GetPropListByType(stCharSets);
    auto* font = dynamic_cast<TFont*>(ObjectPropertyOf(L.Owner(), "Font"));
    if (!fonts || !charSets || !font)
        return;
    const AnsiString className = L.Owner()->ClassName();
    if (L.FSmartExcludeProps->IndexOf(className + ".Font") >= 0) {
        L.RemoveSmartExcl(*fonts, className, "Font", stFonts);
        L.RemoveSmartExcl(*charSets, className, "Font", stFonts);
        return;
    }
    if (L.FExcludedProperties->IndexOf("Font") >= 0 || !L.GetTranslateOwner())
        return;
    const AnsiString charSet = CharSetName(font->Charset());
    if (!MoveOwnLineFirst(L, *charSets, charSet) && L.FExcludedProperties->IndexOf("Charset") < 0 &&
        !charSet.empty())
        charSets->Insert(0, L.NewLine(className, charSet));
    PutOwnLine(L, *fonts, font->Name());
}

// ---------------------------------------------------------------------------
// Captions, hints, display labels, fonts and string lists of the components

void TzxCustomLang::TEngine::CollectComponents(TzxCustomLang& L, TStringsType Kind) {
    TStrings* list = L.GetPropListByType(Kind);
    for (Integer index = 0; index < L.Owner()->ComponentCount(); ++index) {
        TComponent* component = L.Owner()->Components(index);
        if (!L.IsCollectedComponent(component))
            continue;
        TzxPropInfoList props(component, CollectedKinds());
        for (Integer prop = 0; prop < props.Count(); ++prop)
            if (HasReadAndWrite(props.Get(prop)))
                CollectProperty(L, *list, component, props.Get(prop), Kind);
    }
}

void TzxCustomLang::TEngine::CollectProperty(TzxCustomLang& L, TStrings& List,
                                             TComponent* Component, PPropInfo Prop,
                                             TStringsType Kind) {
    const AnsiString& name = Component->Name();
    bool taken = Kind == stMultiLines
                     ? Prop->PropType->Kind == tkClass &&
                           (IsStringsProperty(Prop) ||
                            L.IsHandledTStrings(UTF8Decode(UpperCase(Prop->PropType->Name))))
                     : SameText(Prop->Name, KindPropertyNames[Kind]);
    if (!taken)
        return;
    auto removeLines = [&] {
        L.RemoveSmartExcl(List, name, Prop->Name, Kind);
        if (Kind == stFonts)
            if (TStrings* charSets = L.GetPropListByType(stCharSets))
                L.RemoveSmartExcl(*charSets, name, Prop->Name, stFonts);
    };
    if (L.NotHandledProperty(name, Prop->Name)) {
        removeLines();
        return;
    }
    if (Kind == stFonts) {
        if (dynamic_cast<TControl*>(Component) && IsParentFont(Component)) {
            removeLines();
            return;
        }
        if (auto* font = dynamic_cast<TFont*>(GetObjectProp(Component, Prop)))
            CollectFont(L, List, name, *font);
        return;
    }
    if (Kind == stMultiLines) {
        auto* strings = dynamic_cast<TStrings*>(GetObjectProp(Component, Prop));
        if (strings && !SameText(Component->ClassName(), "TFormStorage"))
            CollectText(L, List, name + "." + Prop->Name, strings->CommaText());
        return;
    }
    const AnsiString text = ReadText(Component, Prop);
    if (Kind == stCaptions && dynamic_cast<TMenuItem*>(Component) && text == "-")
        return;
    // A component whose action is assigned shows the action's texts.
    bool mayAdd =
        !((Kind == stCaptions || Kind == stHints) && !L.FSpareFlag && HasAssignedAction(Component));
    AnsiString restoredFrom;
    CollectText(L, List, name, text, mayAdd, restoredFrom);
}

void TzxCustomLang::TEngine::CollectFont(TzxCustomLang& L, TStrings& List, const AnsiString& Name,
                                         TFont& Font) {
    AnsiString restoredFrom;
    TCollected collected = CollectText(L, List, Name, Font.Name(), true, restoredFrom);
    AddCharSetLine(L, Name, CharSetName(Font.Charset()),
                   collected == TCollected::Restored ? restoredFrom : AnsiString());
}

// Each component keeps one CharSets line. A font restored from another key
// takes that key's character sets in every language.
void TzxCustomLang::TEngine::AddCharSetLine(TzxCustomLang& L, const AnsiString& Name,
                                            const AnsiString& CharSetName,
                                            const AnsiString& RestoredFrom) {
    TStrings* charSets = L.GetPropListByType(stCharSets);
    if (!charSets || L.NotHandledProperty(Name, "Charset") || IndexOfKey(L, *charSets, Name) >= 0)
        return;
    if (!RestoredFrom.empty() && IndexOfKey(L, *charSets, RestoredFrom) >= 0) {
        AnsiString line = Name + L.Delim();
        for (Integer language = 1; language <= L.FNumOfLanguages; ++language)
            line += StringValue(L, *charSets, RestoredFrom, language) + L.Delim();
        charSets->Add(line);
    } else if (!CharSetName.empty()) {
        charSets->Add(L.NewLine(Name, CharSetName));
    }
}

// The string lists of a component's "Properties" object.
void TzxCustomLang::TEngine::CollectPropertiesStrings(TzxCustomLang& L, TStrings& List) {
    for (Integer index = 0; index < L.Owner()->ComponentCount(); ++index) {
        TComponent* component = L.Owner()->Components(index);
        TObject* properties =
            L.IsCollectedComponent(component) ? ObjectPropertyOf(component, "Properties") : nullptr;
        if (!properties)
            continue;
        const AnsiString& name = component->Name();
        TzxPropInfoList props(properties, TTypeKinds{tkClass});
        for (Integer prop = 0; prop < props.Count(); ++prop) {
            const AnsiString& subName = props.Get(prop)->Name;
            auto* strings = dynamic_cast<TStrings*>(GetObjectProp(properties, props.Get(prop)));
            if (!strings)
                continue;
            if (L.NotHandledProperty(name, "Properties") || L.NotHandledProperty(name, subName))
                L.RemoveSmartExcl(List, name, "Properties." + subName, stMultiLines);
            else
                CollectText(L, List, name + ".Properties." + subName, strings->CommaText());
        }
    }
}

// ---------------------------------------------------------------------------
// Other string properties

void TzxCustomLang::TEngine::CollectOtherStrings(TzxCustomLang& L, TStrings& List, TObject* Object,
                                                 const AnsiString& Name) {
    TzxPropInfoList props(Object, CollectedKinds());
    for (Integer index = 0; index < props.Count(); ++index) {
        PPropInfo prop = props.Get(index);
        if (tkStrings.Contains(prop->PropType->Kind)) {
            if (SameText(prop->Name, "Name") || IsHooked(prop->Name))
                continue;
            if (L.NotHandledProperty(Name, prop->Name))
                L.RemoveSmartExcl(List, Name, prop->Name, stOtherStrings);
            else if (HasReadAndWrite(prop))
                CollectText(L, List, Name + "." + prop->Name, ReadText(Object, prop));
            continue;
        }
        if (prop->PropType->Kind != tkClass || !SameText(prop->Name, "Properties"))
            continue;
        TObject* properties = GetObjectProp(Object, prop);
        if (!properties)
            continue;
        TzxPropInfoList subProps(properties, tkStrings);
        for (Integer sub = 0; sub < subProps.Count(); ++sub) {
            PPropInfo subProp = subProps.Get(sub);
            const AnsiString path = "Properties." + subProp->Name;
            if (L.NotHandledProperty(Name, "Properties") ||
                L.NotHandledProperty(Name, subProp->Name))
                L.RemoveSmartExcl(List, Name, path, stOtherStrings);
            else if (HasReadAndWrite(subProp))
                CollectText(L, List, Name + "." + path, ReadText(properties, subProp));
        }
    }
}

// ---------------------------------------------------------------------------
// Collection items

void TzxCustomLang::TEngine::CollectCollections(TzxCustomLang& L, TStrings& List) {
    for (Integer index = 0; index < L.Owner()->ComponentCount(); ++index) {
        TComponent* component = L.Owner()->Components(index);
        if (!L.IsCollectedComponent(component))
            continue;
        const AnsiString& name = component->Name();
        auto collectFrom = [&](TObject* Holder, const AnsiString& PathPrefix) {
            TzxPropInfoList props(Holder, TTypeKinds{tkClass});
            for (Integer prop = 0; prop < props.Count(); ++prop)
                if (auto* collection =
                        dynamic_cast<TCollection*>(GetObjectProp(Holder, props.Get(prop))))
                    CollectCollection(L, List, name, PathPrefix + props.Get(prop)->Name,
                                      *collection);
        };
        collectFrom(component, AnsiString());
        if (TObject* properties = ObjectPropertyOf(component, "Properties"))
            collectFrom(properties, "Properties.");
    }
}

void TzxCustomLang::TEngine::CollectCollection(TzxCustomLang& L, TStrings& List,
                                               const AnsiString& Name, const AnsiString& Path,
                                               TCollection& Collection) {
    const AnsiString collectionName = Path.substr(Path.rfind('.') + 1);
    if (L.NotHandledProperty(Name, collectionName)) {
        L.RemoveSmartExcl(List, Name, Path + "[", stCollections);
        return;
    }
    for (Integer index = 0; index < Collection.Count(); ++index) {
        TCollectionItem* item = Collection.Items(index);
        const AnsiString itemKey = Path + Format("[%d]", {index});
        TzxPropInfoList props(item, CollectedKinds());
        for (Integer prop = 0; prop < props.Count(); ++prop) {
            PPropInfo info = props.Get(prop);
            if (tkStrings.Contains(info->PropType->Kind) && HasReadAndWrite(info)) {
                if (L.NotHandledProperty(Name, info->Name))
                    L.RemoveSmartExcl(List, Name, itemKey + "." + info->Name, stCollections);
                else
                    CollectText(L, List, Name + "." + itemKey + "." + info->Name,
                                ReadText(item, info));
            } else if (info->PropType->Kind == tkClass) {
                CollectItemObject(L, List, Name, itemKey, info->Name, GetObjectProp(item, info));
            }
        }
    }
}

// An object a collection item holds: a string list as its text, any other
// object by its string properties. Components of the form are collected
// on their own.
void TzxCustomLang::TEngine::CollectItemObject(TzxCustomLang& L, TStrings& List,
                                               const AnsiString& Name, const AnsiString& ItemKey,
                                               const AnsiString& PropName, TObject* Object) {
    auto* component = dynamic_cast<TComponent*>(Object);
    if (!Object || (component && component->Owner() == L.Owner()))
        return;
    const AnsiString path = ItemKey + "." + PropName;
    if (L.NotHandledProperty(Name, PropName)) {
        L.RemoveSmartExcl(List, Name, path, stCollections);
        return;
    }
    if (auto* strings = dynamic_cast<TStrings*>(Object)) {
        CollectText(L, List, Name + "." + path, strings->Text());
        return;
    }
    TzxPropInfoList props(Object, tkStrings);
    for (Integer prop = 0; prop < props.Count(); ++prop) {
        PPropInfo info = props.Get(prop);
        if (!HasReadAndWrite(info))
            continue;
        if (L.NotHandledProperty(Name, info->Name))
            L.RemoveSmartExcl(List, Name, path + "." + info->Name, stCollections);
        else
            CollectText(L, List, Name + "." + path + "." + info->Name, ReadText(Object, info));
    }
}

// ---------------------------------------------------------------------------
// Lines of properties that are gone

void TzxCustomLang::CheckRmdProps() {
    const std::array<std::pair<TStringsType, TStringsType>, 8> checks = {
        {{stCaptions, stCaptions},
         {stHints, stHints},
         {stDisplayLabels, stDisplayLabels},
         {stFonts, stFonts},
         {stCharSets, stFonts},
         {stMultiLines, stMultiLines},
         {stOtherStrings, stOtherStrings},
         {stCollections, stCollections}}};
    for (const auto& [listKind, kind] : checks)
        if (TStrings* list = GetPropListByType(listKind))
            TEngine::CheckRemovedProps(*this, *list, kind);
}

// A line names its component and a property path of one or two steps; the
// line goes when the component has no such path. A line whose component
// is not on the form is left to the stale-line sweep, which keeps its
// translations for the component's return.
void TzxCustomLang::TEngine::CheckRemovedProps(TzxCustomLang& L, TStrings& List,
                                               TStringsType Kind) {
    Integer index = 0;
    while (index < List.Count()) {
        const AnsiString key = TextBefore(List.Get(index), L.Delim());
        AnsiString name = key;
        AnsiString path = KindPropertyNames[Kind];
        if (Kind == stMultiLines || Kind == stOtherStrings || Kind == stCollections) {
            name = TextBefore(key, '.');
            path = TextAfter(key, '.');
            if (Kind == stCollections)
                path = TextBefore(path, '[');
        }
        TObject* object = nullptr;
        if (!name.empty())
            object = name == L.Owner()->Name() || name == L.Owner()->ClassName()
                         ? L.Owner()
                         : L.Owner()->FindComponent(name);
        bool gone = name.empty();
        if (object) {
            PPropInfo prop = GetPropInfo(object, TextBefore(path, '.'));
            const AnsiString sub = TextAfter(path, '.');
            TObject* held = prop && !sub.empty() ? ObjectPropertyOf(object, prop->Name) : nullptr;
            gone = !prop || (!sub.empty() && !(held && GetPropInfo(held, sub)));
        }
        if (gone)
            List.Delete(index);
        else
            ++index;
    }
}
