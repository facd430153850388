// Collecting texts: the texts now on the form go into the lists. New texts
// get lines, at design time the active language takes the current texts,
// lines of removed components and properties go, and the translations of a
// component that comes back under another name follow it.
#include "runtime/QzxComp.h"

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
    return Key + Delim() + Text + AnsiString(static_cast<std::size_t>(FNumOfLanguages), Delim());
}

// The line's key upper-cased; nothing when the line has no delimiter.
std::optional<AnsiString> TzxCustomLang::UpperKeyOfLine(const AnsiString& Line) const {
    const auto at = Line.find(Delim());
    if (at == AnsiString::npos)
        return std::nullopt;
    return AnsiUpperCase(Line.substr(0, at));
}

// While a collecting pass runs the lists change by lines added at their
// end, so each list's index of keys follows them; a list that lost lines,
// or whose indexed line no longer has its key, is indexed anew.
Integer TzxCustomLang::IndexOfKey(const TStrings& List, const AnsiString& Key) const {
    const AnsiString key = AnsiUpperCase(Key);
    if (!FIndexingKeys) {
        for (Integer index = 0; index < List.Count(); ++index)
            if (UpperKeyOfLine(List.Get(index)) == key)
                return index;
        return -1;
    }
    TCollectedKeys& keys = FKeyIndexes[&List];
    for (bool fresh = false;; fresh = true) {
        if (fresh || List.Count() < keys.Indexed)
            keys = TCollectedKeys{};
        for (; keys.Indexed < List.Count(); ++keys.Indexed)
            if (auto lineKey = UpperKeyOfLine(List.Get(keys.Indexed)))
                keys.FirstLine.emplace(std::move(*lineKey), keys.Indexed);
        const auto found = keys.FirstLine.find(key);
        if (found == keys.FirstLine.end())
            return -1;
        if (fresh || UpperKeyOfLine(List.Get(found->second)) == key)
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
    AnsiString active = GetLineField(List.Get(Index), FActiveLanguage, Delim());
    if (active != Text && (!active.empty() || FActiveLanguage == 1))
        ReplaceStringValue(List, UTF8Decode(Text), UTF8Decode(Key), FActiveLanguage);
}

// The index in the work list of a line the sweep removed whose text in the
// active language (or in the first, when that is empty) is Text, for a key
// of the same shape; -1 when there is none.
Integer TzxCustomLang::RestorableLine(const AnsiString& Key, const AnsiString& Text) const {
    if (!FWorkList)
        return -1;
    const AnsiString shape = KeyShape(Key);
    for (Integer index = 0; index < FWorkList->Count(); ++index) {
        const AnsiString line = FWorkList->Get(index);
        AnsiString value = GetLineField(line, FActiveLanguage, Delim());
        if (value.empty())
            value = GetLineField(line, 1, Delim());
        if (value == Text && KeyShape(TextBefore(line, Delim())) == shape)
            return index;
    }
    return -1;
}

TzxCustomLang::TCollected TzxCustomLang::CollectText(TStrings& List, const AnsiString& Key,
                                                     const AnsiString& Text, bool MayAdd,
                                                     AnsiString& RestoredFrom) {
    Integer index = IndexOfKey(List, Key);
    if (index >= 0) {
        UpdateLine(List, index, Key, Text);
        return TCollected::Kept;
    }
    if (!MayAdd)
        return TCollected::Kept;
    Integer found = RestorableLine(Key, Text);
    if (found >= 0) {
        const AnsiString line = FWorkList->Get(found);
        RestoredFrom = TextBefore(line, Delim());
        List.Add(Key + line.substr(RestoredFrom.size()));
        return TCollected::Restored;
    }
    List.Add(NewLine(Key, Text));
    return TCollected::Added;
}

void TzxCustomLang::CollectText(TStrings& List, const AnsiString& Key, const AnsiString& Text) {
    AnsiString restoredFrom;
    CollectText(List, Key, Text, true, restoredFrom);
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
        CollectOwnerText(stCaptions);
        CollectOwnerText(stHints);
        CollectOwnerFont();
        FWorkList = std::make_unique<TStringList>();
        FIndexingKeys = true;
        CollectKinds();
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

void TzxCustomLang::CollectKinds() {
    auto pass = [this](TStringsType Kind, auto Collect) {
        TStrings* list = GetPropListByType(Kind);
        if (!list)
            return;
        DelOldNames(*list, Kind);
        Collect(*list);
        FWorkList->Clear();
    };
    auto excluded = [this](const char* Name) { return FExcludedProperties->IndexOf(Name) >= 0; };
    for (TStringsType kind : {stCaptions, stHints, stDisplayLabels})
        if (!excluded(KindPropertyNames[kind].c_str()))
            pass(kind, [this, kind](TStrings&) { CollectComponents(kind); });
    if (!excluded("Font") && !FNoOwnerFont)
        pass(stFonts, [this](TStrings&) {
            CollectComponents(stFonts);
            if (TStrings* charSets = GetPropListByType(stCharSets))
                DelOldNames(*charSets, stCharSets);
        });
    pass(stMultiLines, [this](TStrings& List) {
        CollectComponents(stMultiLines);
        CollectPropertiesStrings(List);
    });
    pass(stOtherStrings, [this](TStrings& List) {
        if (GetTranslateOwner())
            CollectOtherStrings(List, Owner(), Owner()->ClassName());
        for (Integer index = 0; index < Owner()->ComponentCount(); ++index) {
            TComponent* component = Owner()->Components(index);
            if (IsCollectedComponent(component))
                CollectOtherStrings(List, component, component->Name());
        }
    });
    pass(stCollections, [this](TStrings& List) { CollectCollections(List); });
}

// ---------------------------------------------------------------------------
// The owner's own caption, hint and font: line 0, keyed by its class name

// The owner's own line, recognised by its key: the class name, or the
// owner's name, which older lists used. A line 0 whose key names nothing on
// the form (the class was renamed) is taken when its first value is the
// owner's text. Any other line is a component's and never taken. The line
// found is re-keyed to the class name; -1 when there is none.
Integer TzxCustomLang::OwnLineIndex(TStrings& List, const AnsiString& OwnText) {
    const AnsiString className = Owner()->ClassName();
    Integer index = IndexOfKey(List, className);
    if (index < 0 && !Owner()->Name().empty())
        index = IndexOfKey(List, Owner()->Name());
    if (index < 0 && List.Count() > 0 && !OwnText.empty()) {
        const AnsiString key = TextBefore(List.Get(0), Delim());
        if (!Owner()->FindComponent(key) && GetLineField(List.Get(0), 1, Delim()) == OwnText)
            index = 0;
    }
    if (index < 0)
        return -1;
    const AnsiString line = List.Get(index);
    List.Put(index, className + line.substr(TextBefore(line, Delim()).size()));
    return index;
}

// Moves the owner's own line to line 0, where the sweep and the translator
// look for it; false when List has none.
bool TzxCustomLang::MoveOwnLineFirst(TStrings& List, const AnsiString& OwnText) {
    Integer index = OwnLineIndex(List, OwnText);
    if (index > 0)
        List.Move(index, 0);
    return index >= 0;
}

// Line 0 of List holds the owner's text afterwards.
void TzxCustomLang::PutOwnLine(TStrings& List, const AnsiString& Text) {
    if (MoveOwnLineFirst(List, Text))
        UpdateLine(List, 0, Owner()->ClassName(), Text);
    else
        List.Insert(0, NewLine(Owner()->ClassName(), Text));
}

void TzxCustomLang::CollectOwnerText(TStringsType Kind) {
    TStrings* list = GetPropListByType(Kind);
    const AnsiString& propName = KindPropertyNames[Kind];
    PPropInfo prop = GetPropInfo(Owner(), propName, tkStrings);
    if (!list || !prop)
        return;
    const AnsiString className = Owner()->ClassName();
    if (FSmartExcludeProps->IndexOf(className + "." + propName) >= 0) {
        RemoveSmartExcl(*list, className, propName, Kind);
        return;
    }
    if (FExcludedProperties->IndexOf(propName) >= 0 || !GetTranslateOwner())
        return;
    PutOwnLine(*list, ReadText(Owner(), prop));
}

void TzxCustomLang::CollectOwnerFont() {
    TStrings* fonts = GetPropListByType(stFonts);
    TStrings* charSets = GetPropListByType(stCharSets);
    auto* font = dynamic_cast<TFont*>(ObjectPropertyOf(Owner(), "Font"));
    if (!fonts || !charSets || !font)
        return;
    const AnsiString className = Owner()->ClassName();
    if (FSmartExcludeProps->IndexOf(className + ".Font") >= 0) {
        RemoveSmartExcl(*fonts, className, "Font", stFonts);
        RemoveSmartExcl(*charSets, className, "Font", stFonts);
        return;
    }
    if (FExcludedProperties->IndexOf("Font") >= 0 || !GetTranslateOwner())
        return;
    const AnsiString charSet = CharSetName(font->Charset());
    if (!MoveOwnLineFirst(*charSets, charSet) && FExcludedProperties->IndexOf("Charset") < 0 &&
        !charSet.empty())
        charSets->Insert(0, NewLine(className, charSet));
    PutOwnLine(*fonts, font->Name());
}

// ---------------------------------------------------------------------------
// Captions, hints, display labels, fonts and string lists of the components

void TzxCustomLang::CollectComponents(TStringsType Kind) {
    TStrings* list = GetPropListByType(Kind);
    for (Integer index = 0; index < Owner()->ComponentCount(); ++index) {
        TComponent* component = Owner()->Components(index);
        if (!IsCollectedComponent(component))
            continue;
        TzxPropInfoList props(component, CollectedKinds());
        for (Integer prop = 0; prop < props.Count(); ++prop)
            if (HasReadAndWrite(props.Get(prop)))
                CollectProperty(*list, component, props.Get(prop), Kind);
    }
}

void TzxCustomLang::CollectProperty(TStrings& List, TComponent* Component, PPropInfo Prop,
                                    TStringsType Kind) {
    const AnsiString& name = Component->Name();
    bool taken = Kind == stMultiLines
                     ? Prop->PropType->Kind == tkClass &&
                           (IsStringsProperty(Prop) ||
                            IsHandledTStrings(UTF8Decode(UpperCase(Prop->PropType->Name))))
                     : SameText(Prop->Name, KindPropertyNames[Kind]);
    if (!taken)
        return;
    auto removeLines = [&] {
        RemoveSmartExcl(List, name, Prop->Name, Kind);
        if (Kind == stFonts)
            if (TStrings* charSets = GetPropListByType(stCharSets))
                RemoveSmartExcl(*charSets, name, Prop->Name, stFonts);
    };
    if (NotHandledProperty(name, Prop->Name)) {
        removeLines();
        return;
    }
    if (Kind == stFonts) {
        if (dynamic_cast<TControl*>(Component) && IsParentFont(Component)) {
            removeLines();
            return;
        }
        if (auto* font = dynamic_cast<TFont*>(GetObjectProp(Component, Prop)))
            CollectFont(List, name, *font);
        return;
    }
    if (Kind == stMultiLines) {
        auto* strings = dynamic_cast<TStrings*>(GetObjectProp(Component, Prop));
        if (strings && !SameText(Component->ClassName(), "TFormStorage"))
            CollectText(List, name + "." + Prop->Name, strings->CommaText());
        return;
    }
    const AnsiString text = ReadText(Component, Prop);
    if (Kind == stCaptions && dynamic_cast<TMenuItem*>(Component) && text == "-")
        return;
    // A component whose action is assigned shows the action's texts.
    bool mayAdd = !((Kind == stCaptions || Kind == stHints) && !FSpareFlag &&
                    HasAssignedAction(Component));
    AnsiString restoredFrom;
    CollectText(List, name, text, mayAdd, restoredFrom);
}

void TzxCustomLang::CollectFont(TStrings& List, const AnsiString& Name, TFont& Font) {
    AnsiString restoredFrom;
    TCollected collected = CollectText(List, Name, Font.Name(), true, restoredFrom);
    AddCharSetLine(Name, CharSetName(Font.Charset()),
                   collected == TCollected::Restored ? restoredFrom : AnsiString());
}

// Each component keeps one CharSets line. A font restored from another key
// takes that key's character sets in every language.
void TzxCustomLang::AddCharSetLine(const AnsiString& Name, const AnsiString& CharSetName,
                                   const AnsiString& RestoredFrom) {
    TStrings* charSets = GetPropListByType(stCharSets);
    if (!charSets || NotHandledProperty(Name, "Charset") || IndexOfKey(*charSets, Name) >= 0)
        return;
    if (!RestoredFrom.empty() && IndexOfKey(*charSets, RestoredFrom) >= 0) {
        AnsiString line = Name + Delim();
        for (Integer language = 1; language <= FNumOfLanguages; ++language)
            line += UTF8Encode(GetStringValue(*charSets, UTF8Decode(RestoredFrom), language)) +
                    Delim();
        charSets->Add(line);
    } else if (!CharSetName.empty()) {
        charSets->Add(NewLine(Name, CharSetName));
    }
}

// The string lists of a component's "Properties" object.
void TzxCustomLang::CollectPropertiesStrings(TStrings& List) {
    for (Integer index = 0; index < Owner()->ComponentCount(); ++index) {
        TComponent* component = Owner()->Components(index);
        TObject* properties =
            IsCollectedComponent(component) ? ObjectPropertyOf(component, "Properties") : nullptr;
        if (!properties)
            continue;
        const AnsiString& name = component->Name();
        TzxPropInfoList props(properties, TTypeKinds{tkClass});
        for (Integer prop = 0; prop < props.Count(); ++prop) {
            const AnsiString& subName = props.Get(prop)->Name;
            auto* strings = dynamic_cast<TStrings*>(GetObjectProp(properties, props.Get(prop)));
            if (!strings)
                continue;
            if (NotHandledProperty(name, "Properties") || NotHandledProperty(name, subName))
                RemoveSmartExcl(List, name, "Properties." + subName, stMultiLines);
            else
                CollectText(List, name + ".Properties." + subName, strings->CommaText());
        }
    }
}

// ---------------------------------------------------------------------------
// Other string properties

void TzxCustomLang::CollectOtherStrings(TStrings& List, TObject* Object, const AnsiString& Name) {
    TzxPropInfoList props(Object, CollectedKinds());
    for (Integer index = 0; index < props.Count(); ++index) {
        PPropInfo prop = props.Get(index);
        if (tkStrings.Contains(prop->PropType->Kind)) {
            if (SameText(prop->Name, "Name") || IsHooked(prop->Name))
                continue;
            if (NotHandledProperty(Name, prop->Name))
                RemoveSmartExcl(List, Name, prop->Name, stOtherStrings);
            else if (HasReadAndWrite(prop))
                CollectText(List, Name + "." + prop->Name, ReadText(Object, prop));
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
            if (NotHandledProperty(Name, "Properties") || NotHandledProperty(Name, subProp->Name))
                RemoveSmartExcl(List, Name, path, stOtherStrings);
            else if (HasReadAndWrite(subProp))
                CollectText(List, Name + "." + path, ReadText(properties, subProp));
        }
    }
}

// ---------------------------------------------------------------------------
// Collection items

void TzxCustomLang::CollectCollections(TStrings& List) {
    for (Integer index = 0; index < Owner()->ComponentCount(); ++index) {
        TComponent* component = Owner()->Components(index);
        if (!IsCollectedComponent(component))
            continue;
        const AnsiString& name = component->Name();
        auto collectFrom = [&](TObject* Holder, const AnsiString& PathPrefix) {
            TzxPropInfoList props(Holder, TTypeKinds{tkClass});
            for (Integer prop = 0; prop < props.Count(); ++prop)
                if (auto* collection =
                        dynamic_cast<TCollection*>(GetObjectProp(Holder, props.Get(prop))))
                    CollectCollection(List, name, PathPrefix + props.Get(prop)->Name,
                                      *collection);
        };
        collectFrom(component, AnsiString());
        if (TObject* properties = ObjectPropertyOf(component, "Properties"))
            collectFrom(properties, "Properties.");
    }
}

void TzxCustomLang::CollectCollection(TStrings& List, const AnsiString& Name,
                                      const AnsiString& Path, TCollection& Collection) {
    const AnsiString collectionName = Path.substr(Path.rfind('.') + 1);
    if (NotHandledProperty(Name, collectionName)) {
        RemoveSmartExcl(List, Name, Path + "[", stCollections);
        return;
    }
    for (Integer index = 0; index < Collection.Count(); ++index) {
        TCollectionItem* item = Collection.Items(index);
        const AnsiString itemKey = Path + Format("[%d]", {index});
        TzxPropInfoList props(item, CollectedKinds());
        for (Integer prop = 0; prop < props.Count(); ++prop) {
            PPropInfo info = props.Get(prop);
            if (tkStrings.Contains(info->PropType->Kind) && HasReadAndWrite(info)) {
                if (NotHandledProperty(Name, info->Name))
                    RemoveSmartExcl(List, Name, itemKey + "." + info->Name, stCollections);
                else
                    CollectText(List, Name + "." + itemKey + "." + info->Name,
                                ReadText(item, info));
            } else if (info->PropType->Kind == tkClass) {
                CollectItemObject(List, Name, itemKey, info->Name, GetObjectProp(item, info));
            }
        }
    }
}

// An object a collection item holds: a string list as its text, any other
// object by its string properties. Components of the form are collected
// on their own.
void TzxCustomLang::CollectItemObject(TStrings& List, const AnsiString& Name,
                                      const AnsiString& ItemKey, const AnsiString& PropName,
                                      TObject* Object) {
    auto* component = dynamic_cast<TComponent*>(Object);
    if (!Object || (component && component->Owner() == Owner()))
        return;
    const AnsiString path = ItemKey + "." + PropName;
    if (NotHandledProperty(Name, PropName)) {
        RemoveSmartExcl(List, Name, path, stCollections);
        return;
    }
    if (auto* strings = dynamic_cast<TStrings*>(Object)) {
        CollectText(List, Name + "." + path, strings->Text());
        return;
    }
    TzxPropInfoList props(Object, tkStrings);
    for (Integer prop = 0; prop < props.Count(); ++prop) {
        PPropInfo info = props.Get(prop);
        if (!HasReadAndWrite(info))
            continue;
        if (NotHandledProperty(Name, info->Name))
            RemoveSmartExcl(List, Name, path + "." + info->Name, stCollections);
        else
            CollectText(List, Name + "." + path + "." + info->Name, ReadText(Object, info));
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
            CheckRemovedProps(*list, kind);
}

// A line names its component and a property path of one or two steps; the
// line goes when the component has no such path. A line whose component
// is not on the form is left to the stale-line sweep, which keeps its
// translations for the component's return.
void TzxCustomLang::CheckRemovedProps(TStrings& List, TStringsType Kind) {
    Integer index = 0;
    while (index < List.Count()) {
        const AnsiString key = TextBefore(List.Get(index), Delim());
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
            object = name == Owner()->Name() || name == Owner()->ClassName()
                         ? Owner()
                         : Owner()->FindComponent(name);
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
