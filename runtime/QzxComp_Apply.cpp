// Applying a language: the active language's values go from the lists into
// the owner form and the components it owns; lines of components that are
// gone are swept out first.
#include "runtime/QzxComp_Engine.h"

#include "clx/Forms.h"
#include "clx/StdCtrls.h"

const std::array<AnsiString, StringsTypeCount> KindPropertyNames = {
    "Caption", "Hint",  "DisplayLabel", "Font",        "TStrings", "Dialog",
    "Strings", "Other", "Locales",      "Collections", "CharSets", "ListView_TreeView_Items"};

const TTypeKinds tkStrings{tkString, tkLString, tkWString};

AnsiString TextBefore(const AnsiString& S, char Ch) {
    std::size_t at = S.find(Ch);
    return at == AnsiString::npos ? S : S.substr(0, at);
}

AnsiString TextAfter(const AnsiString& S, char Ch) {
    std::size_t at = S.find(Ch);
    return at == AnsiString::npos ? AnsiString() : S.substr(at + 1);
}

TObject* ObjectPropertyOf(TObject* Instance, const AnsiString& Name) {
    PPropInfo info = GetPropInfo(Instance, Name, TTypeKinds{tkClass});
    return info ? GetObjectProp(Instance, info) : nullptr;
}

bool HasAssignedAction(TObject* Target) {
    return ObjectPropertyOf(Target, "Action") != nullptr;
}

bool IsParentFont(TObject* Target) {
    PPropInfo info = GetPropInfo(Target, "ParentFont", TTypeKinds{tkEnumeration});
    return info && GetOrdProp(Target, info) != 0;
}

namespace {

bool IsStringKind(TTypeKind Kind) {
    return tkStrings.Contains(Kind);
}

// The character set named Name (0 to 41 in order), or -1.
Integer CharSetNamed(const AnsiString& Name) {
    for (Integer value = 0; value < FontCharSetCount; ++value)
        if (GetEnumName(TypeInfoOf(TFontCharSet{}), value) == Name)
            return value;
    return -1;
}

void OverwriteLines(TStrings& Target, const TStringList& Source) {
    auto* sortedList = dynamic_cast<TStringList*>(&Target);
    bool wasSorted = sortedList && sortedList->Sorted();
    if (sortedList)
        sortedList->SetSorted(false);
    for (Integer index = 0; index < Source.Count(); ++index)
        if (index < Target.Count())
            Target.Put(index, Source.Get(index));
        else
            Target.Add(Source.Get(index));
    while (Target.Count() > Source.Count())
        Target.Delete(Target.Count() - 1);
    if (sortedList)
        sortedList->SetSorted(wasSorted);
}

// Overwrites T's lines in place by the lines of Source, so that the objects
// attached to them stay, adding or removing lines at the end; a control
// showing them hears of the change once.
void UpdateStrings(TStrings& Target, const TStringList& Source) {
    Target.BeginUpdate();
    try {
        OverwriteLines(Target, Source);
    } catch (...) {
        Target.EndUpdate();
        throw;
    }
    Target.EndUpdate();
}

// A collection line's key: Component.Path[Index].Property, where Path may
// be Object.Collection.
struct TCollectionKey {
    AnsiString Component;
    AnsiString Path;
    Integer Index = -1;
    AnsiString Property;
};

bool SplitCollectionKey(const AnsiString& Key, TCollectionKey& Parts) {
    std::size_t point = Key.find('.');
    std::size_t open = Key.find('[', point == AnsiString::npos ? 0 : point);
    std::size_t close = Key.find("].", open == AnsiString::npos ? 0 : open);
    if (point == AnsiString::npos || open == AnsiString::npos || close == AnsiString::npos)
        return false;
    Parts.Component = Key.substr(0, point);
    Parts.Path = Key.substr(point + 1, open - point - 1);
    Parts.Property = Key.substr(close + 2);
    return TryStrToInt(Key.substr(open + 1, close - open - 1), Parts.Index);
}

// The collection a path names on Target, or nullptr.
TCollection* CollectionByPath(TObject* Target, const AnsiString& Path) {
    AnsiString path = Path;
    TObject* holder = Target;
    std::size_t point = path.find('.');
    if (point != AnsiString::npos) {
        holder = ObjectPropertyOf(Target, path.substr(0, point));
        path = path.substr(point + 1);
    }
    return holder ? dynamic_cast<TCollection*>(ObjectPropertyOf(holder, path)) : nullptr;
}

} // namespace

void UpdateStringsFromCommaText(TStrings& Target, const AnsiString& Value) {
    TStringList lines;
    lines.SetCommaText(Value);
    UpdateStrings(Target, lines);
}

bool TzxCustomLang::GetTranslateOwner() const {
    return Owner() && FDoNotTranslate->IndexOf(Owner()->ClassName()) < 0;
}

bool TzxCustomLang::TEngine::IsSmartExcluded(const TzxCustomLang& L, const AnsiString& Entry) {
    return L.FSmartExcludeProps->IndexOf(Entry) >= 0;
}

AnsiString TzxCustomLang::TEngine::LineValue(const TzxCustomLang& L, const AnsiString& Line,
                                             bool TestMode, bool UseDefault) {
    return TranslatedValue(
        L, [&](Integer Language) { return GetLineField(Line, Language, L.Delim()); }, TestMode,
        UseDefault);
}

// Under ttGetDefault an empty value falls back to value 1.
AnsiString TzxCustomLang::ValueOfLine(const AnsiString& Line, bool TestMode) const {
    return TEngine::LineValue(*this, Line, TestMode, TranslateType == ttGetDefault);
}

void TzxCustomLang::ChangeLanguage() {
    if (ApplyLanguage() && OnChangeLanguage)
        OnChangeLanguage(this);
}

bool TzxCustomLang::ApplyLanguage() {
    if (FLoadingCopy || !Owner())
        return false;
    bool testMode = InTestMode();
    if (TranslateExtendedFirst && FApplyFilter == -1)
        ChangeLangForExtended();
    bool ownerIsForm = dynamic_cast<TCustomForm*>(Owner()) != nullptr;
    if (ownerIsForm)
        TEngine::ApplyOwnerCaptionAndHint(*this, testMode);
    if (AppliesKind(stCaptions))
        TEngine::TranslateList(*this, *FCaptions, stCaptions, testMode);
    if (AppliesKind(stHints))
        TEngine::TranslateList(*this, *FHints, stHints, testMode);
    if (AppliesKind(stDisplayLabels))
        TEngine::TranslateList(*this, *FDisplayLabels, stDisplayLabels, testMode);
    if ((AppliesKind(stFonts) || FApplyFilter == stCharSets) && !FNoOwnerFont) {
        TEngine::TranslateList(*this, *FFonts, stFonts, testMode);
        if (ownerIsForm)
            TEngine::ApplyOwnerFont(*this);
    }
    if (AppliesKind(stMultiLines))
        TEngine::TranslateList(*this, *FMultiLines, stMultiLines, testMode);
    if (AppliesKind(stOtherStrings))
        TEngine::TranslateList(*this, *FOtherStrings, stOtherStrings, testMode);
    if (AppliesKind(stLocales) && FChangeLocales)
        TEngine::TranslateList(*this, *FLocales, stLocales, testMode);
    if (AppliesKind(stCollections))
        TEngine::TranslateList(*this, *FCollections, stCollections, testMode);
    return true;
}

// The form's own caption and hint, keyed by its class name in line 0. Each
// follows its own list's filter, so that a list setter applies its kind
// alone.
void TzxCustomLang::TEngine::ApplyOwnerCaptionAndHint(TzxCustomLang& L, bool TestMode) {
    TComponent* owner = L.Owner();
    const AnsiString className = owner->ClassName();
    if ((L.FApplyFilter == -1 || L.FApplyFilter == stCaptions) && L.FCaptions->Count() > 0 &&
        L.GetTranslateOwner() && !IsSmartExcluded(L, className + ".Caption")) {
        PPropInfo caption = GetPropInfo(owner, "Caption");
        AnsiString line = L.FCaptions->Get(0);
        if (caption && IsStringKind(caption->PropType->Kind) &&
            AnsiUpperCase(TextBefore(line, L.Delim())) == AnsiUpperCase(className) &&
            !(!L.FSpareFlag && HasAssignedAction(owner)))
            SetStrProp(owner, caption, L.ValueOfLine(line, TestMode));
    }
    if ((L.FApplyFilter == -1 || L.FApplyFilter == stHints) && L.FHints->Count() > 0 &&
        L.GetTranslateOwner() && !IsSmartExcluded(L, className + ".Hint")) {
        PPropInfo hint = GetPropInfo(owner, "Hint");
        AnsiString line = L.FHints->Get(0);
        if (hint && IsStringKind(hint->PropType->Kind) &&
            AnsiSameText(TextBefore(line, L.Delim()), className)) {
            AnsiString value = L.ValueOfLine(line, TestMode);
            if (!value.empty())
                SetStrProp(owner, hint, value);
        }
    }
}

// The form's own font, keyed by its class name in line 0; test mode does not
// touch fonts.
void TzxCustomLang::TEngine::ApplyOwnerFont(TzxCustomLang& L) {
    TComponent* owner = L.Owner();
    const AnsiString className = owner->ClassName();
    if (L.FFonts->Count() == 0 || !L.GetTranslateOwner() || IsSmartExcluded(L, className + ".Font"))
        return;
    auto* font = dynamic_cast<TFont*>(ObjectPropertyOf(owner, "Font"));
    if (!font)
        return;
    AnsiString line = L.FFonts->Get(0);
    if (AnsiUpperCase(TextBefore(line, L.Delim())) == AnsiUpperCase(className)) {
        AnsiString value = L.ValueOfLine(line, false);
        if (!value.empty())
            font->SetName(value);
    }
    Integer charset = CharSetNamed(StringValue(L, *L.FCharSets, className, L.FActiveLanguage));
    if (charset >= 0)
        font->SetCharset(static_cast<TFontCharSet>(charset));
}

void TzxCustomLang::TEngine::TranslateList(TzxCustomLang& L, TStrings& List, TStringsType Kind,
                                           bool TestMode) {
    // The sweep's lookups serve the lines it keeps.
    std::vector<TComponent*> found;
    DelOldNames(L, List, Kind, &found);
    if (List.Count() == 0)
        return;
    if (Kind == stCollections) {
        TranslateCollections(L, List, TestMode);
        return;
    }
    // The form's own line is known by its key, so that a component whose
    // name merely contains the class name is still applied.
    Integer start = 0;
    if ((Kind == stCaptions || Kind == stHints || Kind == stFonts) &&
        dynamic_cast<TForm*>(L.Owner()) && L.GetTranslateOwner() &&
        AnsiSameText(TextBefore(List.Get(0), L.Delim()), L.Owner()->ClassName()))
        start = 1;
    const TCharSetIndex charSets = Kind == stFonts ? CharSetIndex(L) : TCharSetIndex();
    for (Integer index = start; index < List.Count(); ++index) {
        try {
            TranslateLine(L, List.Get(index), Kind, TestMode, charSets,
                          found[static_cast<std::size_t>(index)]);
        } catch (const std::exception&) {
        }
    }
}

TzxCustomLang::TEngine::TCharSetIndex TzxCustomLang::TEngine::CharSetIndex(const TzxCustomLang& L) {
    TCharSetIndex index;
    for (Integer line = 0; line < L.FCharSets->Count(); ++line) {
        const AnsiString text = L.FCharSets->Get(line);
        if (text.find(L.Delim()) == AnsiString::npos)
            continue;
        index.emplace(AnsiUpperCase(TextBefore(text, L.Delim())),
                      GetLineField(text, L.FActiveLanguage, L.Delim()));
    }
    return index;
}

void TzxCustomLang::TEngine::TranslateLine(TzxCustomLang& L, const AnsiString& Line,
                                           TStringsType Kind, bool TestMode,
                                           const TCharSetIndex& CharSets, TComponent* Known) {
    const AnsiString key = TextBefore(Line, L.Delim());
    AnsiString name = key;
    AnsiString propName = KindPropertyNames[static_cast<std::size_t>(Kind)];
    AnsiString subProp;
    bool pathKey = Kind == stMultiLines || Kind == stOtherStrings;
    if (pathKey) {
        name = TextBefore(key, '.');
        propName = TextAfter(key, '.');
        if (propName.find('.') != AnsiString::npos) {
            subProp = TextAfter(propName, '.');
            propName = TextBefore(propName, '.');
        }
    }
    if (L.FDoNotTranslate->IndexOf(name) >= 0)
        return;
    const AnsiString value = LineValue(L, Line, TestMode, L.TranslateType == ttGetDefault);
    if (Kind == stLocales) {
        if (value.empty())
            return;
        for (const TLocaleSetting& setting : LocaleSettings)
            if (name == setting.Key) {
                setting.Write(value);
                break;
            }
        return;
    }
    TComponent* target = Known ? Known : L.Owner()->FindComponent(name);
    if (!target && (name == L.Owner()->ClassName() || name == L.Owner()->Name()))
        target = L.Owner();
    if (!target)
        return;
    PPropInfo prop = GetPropInfo(target, propName);
    if (!prop || !prop->GetProc || !prop->SetProc)
        return;
    if (Kind == stFonts) {
        ApplyFontLine(target, prop, name, value, CharSets);
        return;
    }
    if (Kind == stMultiLines) {
        TObject* holder = target;
        PPropInfo stringsProp = prop;
        if (!subProp.empty()) {
            holder = GetObjectProp(target, prop);
            stringsProp = holder ? GetPropInfo(holder, subProp) : nullptr;
            if (!stringsProp)
                return;
        }
        auto* strings = dynamic_cast<TStrings*>(GetObjectProp(holder, stringsProp));
        if (!strings || value.empty() || value == strings->CommaText())
            return;
        PPropInfo itemIndex = subProp.empty() && dynamic_cast<TCustomComboBox*>(target)
                                  ? GetPropInfo(target, "ItemIndex")
                                  : nullptr;
        PPropInfo wordWrap = subProp.empty() && dynamic_cast<TCustomMemo*>(target)
                                 ? GetPropInfo(target, "WordWrap")
                                 : nullptr;
        Integer savedIndex = itemIndex ? GetOrdProp(target, itemIndex) : 0;
        bool wrapped = wordWrap && GetOrdProp(target, wordWrap) != 0;
        if (wrapped)
            SetOrdProp(target, wordWrap, 0);
        UpdateStringsFromCommaText(*strings, value);
        if (itemIndex)
            SetOrdProp(target, itemIndex, savedIndex);
        if (wrapped)
            SetOrdProp(target, wordWrap, 1);
        return;
    }
    if (Kind == stOtherStrings && !subProp.empty()) {
        TObject* holder = GetObjectProp(target, prop);
        PPropInfo inner = holder ? GetPropInfo(holder, subProp) : nullptr;
        if (!inner || value.empty() || value == GetStrProp(holder, inner))
            return;
        if (inner->PropType->Kind == tkWString)
            SetWideStrProp(holder, inner, UTF8Decode(value));
        else
            SetStrProp(holder, inner, value);
        return;
    }
    if (!IsStringKind(prop->PropType->Kind) || value.empty() || value == GetStrProp(target, prop))
        return;
    if (Kind == stCaptions || Kind == stHints) {
        if (!L.FSpareFlag && HasAssignedAction(target))
            return;
    } else if ((Pos(AnsiString(".."), value) > 0 || Pos(AnsiString(".\\"), value) > 0) &&
               ExpandFileName(value) == GetStrProp(target, prop)) {
        return;
    }
    SetStrProp(target, prop, value);
}

// A font line: the character set of the component's CharSets line, unless
// the control follows its parent's font, and the font name.
void TzxCustomLang::TEngine::ApplyFontLine(TComponent* Target, PPropInfo Prop,
                                           const AnsiString& Name, const AnsiString& Value,
                                           const TCharSetIndex& CharSets) {
    auto* font = dynamic_cast<TFont*>(GetObjectProp(Target, Prop));
    if (!font)
        return;
    bool parentFont = IsParentFont(Target);
    auto charSet = CharSets.find(AnsiUpperCase(Name));
    Integer charset = charSet == CharSets.end() ? -1 : CharSetNamed(charSet->second);
    if (charset >= 0 && !(dynamic_cast<TControl*>(Target) && parentFont))
        font->SetCharset(static_cast<TFontCharSet>(charset));
    if (!Value.empty() && !parentFont) {
        font->SetName(Value);
        SetObjectProp(Target, Prop, font);
    }
}

void TzxCustomLang::TEngine::TranslateCollections(TzxCustomLang& L, TStrings& List, bool TestMode) {
    Integer index = 0;
    while (index < List.Count()) {
        AnsiString line = List.Get(index);
        bool deleteLine = false;
        try {
            TCollectionKey key;
            AnsiString name = TextBefore(line, '.');
            if (L.FDoNotTranslate->IndexOf(name) < 0 &&
                SplitCollectionKey(TextBefore(line, L.Delim()), key)) {
                AnsiString value = L.ValueOfLine(line, TestMode);
                TComponent* target = L.Owner()->FindComponent(key.Component);
                TCollection* collection = target ? CollectionByPath(target, key.Path) : nullptr;
                TCollectionItem* item =
                    collection && key.Index >= 0 && key.Index < collection->Count()
                        ? collection->Items(key.Index)
                        : nullptr;
                // An item property may be a path into an object the item
                // holds (Font.Name).
                TObject* holder = item;
                AnsiString propName = key.Property;
                if (item && propName.find('.') != AnsiString::npos) {
                    holder = ObjectPropertyOf(item, TextBefore(propName, '.'));
                    propName = TextAfter(propName, '.');
                }
                PPropInfo prop = holder ? GetPropInfo(holder, propName) : nullptr;
                TObject* held =
                    prop && prop->PropType->Kind == tkClass ? GetObjectProp(holder, prop) : nullptr;
                if (!prop || (prop->PropType->Kind == tkClass && !held)) {
                    deleteLine = true;
                } else if (auto* strings = dynamic_cast<TStrings*>(held)) {
                    if (!value.empty() && value != strings->Text()) {
                        TStringList lines;
                        lines.SetText(value);
                        UpdateStrings(*strings, lines);
                    }
                } else if (!prop->GetProc || !prop->SetProc) {
                    deleteLine = true;
                } else if (!value.empty() && value != GetStrProp(holder, prop)) {
                    SetStrProp(holder, prop, value);
                }
            }
        } catch (const std::exception&) {
        }
        if (deleteLine)
            List.Delete(index);
        else
            ++index;
    }
}

// ---------------------------------------------------------------------------
// Stale-line sweep

void TzxCustomLang::TEngine::RememberRemovedLine(TzxCustomLang& L, const AnsiString& Line) {
    if (!L.FWorkList)
        L.FWorkList = std::make_unique<TStringList>();
    L.FWorkList->Add(Line);
}

void TzxCustomLang::TEngine::DelOldNames(TzxCustomLang& L, TStrings& List, TStringsType Kind,
                                         std::vector<TComponent*>* Found) {
    std::vector<TComponent*> unused;
    std::vector<TComponent*>& found = Found ? *Found : unused;
    found.clear();
    if (Kind == stDlgsCaptions || Kind == stStrings || Kind == stLocales) {
        found.resize(static_cast<std::size_t>(List.Count()));
        return;
    }
    TComponent* owner = L.Owner();
    // Line 0 holds the owner's own text when the owner has the property and
    // the line is keyed by its class name; any other line 0 is swept like
    // the rest, so that a removed component's line cannot outlive it there.
    Integer first = 0;
    const TTypeKinds stringKinds{tkString, tkLString, tkWString};
    bool ownerHasProperty = Kind == stCaptions
                                ? L.ObjectHasProperty(owner, "Caption", "", stringKinds)
                            : Kind == stHints ? L.ObjectHasProperty(owner, "Hint", "", stringKinds)
                            : Kind == stFonts || Kind == stCharSets
                                ? L.ObjectHasProperty(owner, "Font", "TFont", TTypeKinds{tkClass})
                                : false;
    if (ownerHasProperty && List.Count() > 0 &&
        AnsiSameText(TextBefore(List.Get(0), L.Delim()), owner->ClassName()))
        first = 1;
    found.resize(static_cast<std::size_t>(first));
    Integer index = first;
    while (index < List.Count()) {
        AnsiString line = List.Get(index);
        bool stale = false;
        bool remember = true;
        TComponent* named = nullptr;
        if (Kind == stCollections) {
            TCollectionKey key;
            TComponent* component = owner->FindComponent(TextBefore(line, '.'));
            if (!component) {
                stale = true;
            } else if (SplitCollectionKey(TextBefore(line, L.Delim()), key)) {
                TCollection* collection = CollectionByPath(component, key.Path);
                stale = collection && key.Index >= collection->Count();
            }
        } else if (Kind == stMultiLines || Kind == stOtherStrings ||
                   Kind == stListView_TreeView_Items) {
            AnsiString name = TextBefore(line, '.');
            stale = name != owner->ClassName() && !owner->FindComponent(name);
        } else {
            TComponent* component = owner->FindComponent(TextBefore(line, L.Delim()));
            named = component;
            stale = !component;
            if (component && (Kind == stCaptions || Kind == stHints) && !L.FSpareFlag &&
                HasAssignedAction(component)) {
                stale = true;
                remember = false;
            }
        }
        if (!stale) {
            found.push_back(named);
            ++index;
            continue;
        }
        if (remember)
            RememberRemovedLine(L, line);
        List.Delete(index);
    }
}
