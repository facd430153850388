// The setters of the translation component that do more than store: the
// delimiter rewrites every line, the exclusion lists drop what they exclude
// and collect again, the language names keep name and number in step.
#include "runtime/QzxComp_Engine.h"

#include <algorithm>

namespace {

const char* const VersionText = "6.0_beta";
const char* const NotValidDelimiter = "%d - is not a valid property value!";
const char* const DelimiterRule =
    "The delimiter must not be 0, 10, 13 or a character the translations hold!";
const char* const TooFewLanguageNames = "%d - is not a valid number of language names!";
const char* const LanguageNamesRule = "LangNames must name the active language %d!";

// Line breaks split the lines of form files and translation files, and 0
// ends texts on their way to the widgets.
bool IsReservedDelimiter(Byte Value) {
    return Value == 0 || Value == 10 || Value == 13;
}

} // namespace

// ---------------------------------------------------------------------------
// The delimiter

void TzxCustomLang::SetLangDelim(Byte Value) {
    if (Value == FLangDelim)
        return;
    // A delimiter that already occurs in the data would split values that
    // hold it, so the data could never be read back as it was.
    if (IsReservedDelimiter(Value) ||
        (!IsLoading() && TEngine::DataHoldsChar(*this, static_cast<char>(Value))))
        throw ELanguageError(Format(NotValidDelimiter, {Integer(Value)}) + "\r" + DelimiterRule);
    if (!IsLoading())
        TEngine::ChangeLangDelim(*this, FLangDelim, Value);
    FLangDelim = Value;
}

bool TzxCustomLang::TEngine::DataHoldsChar(const TzxCustomLang& L, char Ch) {
    auto holds = [Ch](const AnsiString& Text) { return Text.find(Ch) != AnsiString::npos; };
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind)
        if (TStrings* list = L.GetPropListByType(static_cast<TStringsType>(kind)))
            for (Integer index = 0; index < list->Count(); ++index)
                if (holds(list->Get(index)))
                    return true;
    for (Integer index = 0; index < L.FExtendedTranslations->Count(); ++index)
        if (holds(L.FExtendedTranslations->Items(index)->Values()))
            return true;
    return false;
}

void TzxCustomLang::TEngine::ChangeLangDelim(TzxCustomLang& L, Byte OldDelim, Byte NewDelim) {
    ReplaceInAllLists(L, static_cast<char>(OldDelim), static_cast<char>(NewDelim));
}

void TzxCustomLang::ChangeDelimOnStrs(Byte OldDelim, Byte NewDelim, TStrings& List) {
    for (Integer index = 0; index < List.Count(); ++index) {
        AnsiString line = List.Get(index);
        std::replace(line.begin(), line.end(), static_cast<char>(OldDelim),
                     static_cast<char>(NewDelim));
        List.Put(index, line);
    }
}

// Every list of the class and every extended item's values.
void TzxCustomLang::TEngine::ReplaceInAllLists(TzxCustomLang& L, char OldChar, char NewChar) {
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind)
        if (TStrings* list = L.GetPropListByType(static_cast<TStringsType>(kind)))
            L.ChangeDelimOnStrs(static_cast<Byte>(OldChar), static_cast<Byte>(NewChar), *list);
    L.ChangeDelimOnExtended(OldChar, NewChar);
}

// ---------------------------------------------------------------------------
// Exclusions

void TzxCustomLang::SetDoNotList(TStrings* Value) {
    if (Value == FDoNotTranslate.get())
        return;
    FDoNotTranslate->Assign(Value);
    if (!IsLoading())
        ReBuildDoNotList();
}

void TzxCustomLang::ReBuildDoNotList() {
    const std::array<std::pair<TStrings*, TStringsType>, 8> lists = {
        {{FCaptions.get(), stCaptions},
         {FHints.get(), stHints},
         {FDisplayLabels.get(), stDisplayLabels},
         {FFonts.get(), stFonts},
         {FMultiLines.get(), stMultiLines},
         {FOtherStrings.get(), stOtherStrings},
         {FCharSets.get(), stCharSets},
         {FCollections.get(), stCollections}}};
    for (Integer index = 0; index < FDoNotTranslate->Count(); ++index) {
        AnsiString name = FDoNotTranslate->Get(index);
        TComponent* component = Owner() ? Owner()->FindComponent(name) : nullptr;
        if (!component && Owner() && name == Owner()->ClassName())
            component = Owner();
        if (component)
            for (const auto& [list, kind] : lists)
                MakeNotification(*list, component, opRemove, kind);
    }
}

void TzxCustomLang::SetExProps(TStrings* Value) {
    if (Value == FExcludedProperties.get())
        return;
    FExcludedProperties->Assign(Value);
    if (IsLoading())
        return;
    ExcludeProperties();
    BuildList();
}

void TzxCustomLang::SetStringsTypes(TStrings* Value) {
    if (Value == FStringsTypes.get())
        return;
    FStringsTypes->Assign(Value);
    if (!IsLoading())
        BuildList();
}

void TzxCustomLang::SetSmartProps(TStrings* Value) {
    if (Value == FSmartExcludeProps.get())
        return;
    FSmartExcludeProps->Assign(Value);
    if (!IsLoading())
        BuildList();
}

void TzxCustomLang::ExcludeProperties() {
    auto excluded = [this](const char* Name) { return FExcludedProperties->IndexOf(Name) >= 0; };
    auto empty = [this](TStringsType Kind) {
        if (TStrings* list = GetPropListByType(Kind))
            list->Clear();
    };
    if (excluded("Caption"))
        empty(stCaptions);
    if (excluded("Hint"))
        empty(stHints);
    if (excluded("DisplayLabel"))
        empty(stDisplayLabels);
    if (excluded("Font")) {
        empty(stFonts);
        empty(stCharSets);
    }
    if (excluded("Charset"))
        empty(stCharSets);
    for (TStringsType kind : {stMultiLines, stOtherStrings, stCollections}) {
        TStrings* list = GetPropListByType(kind);
        if (!list)
            continue;
        for (Integer index = list->Count() - 1; index >= 0; --index)
            if (TEngine::IsExcludedLine(*this, kind, TextBefore(list->Get(index), Delim())))
                list->Delete(index);
    }
}

// The same tests the collectors make: the component's property, the
// sub-property of an object it holds, and for collection items the
// collection and the item's property.
bool TzxCustomLang::TEngine::IsExcludedLine(const TzxCustomLang& L, TStringsType Kind,
                                            const AnsiString& Key) {
    const AnsiString name = TextBefore(Key, '.');
    const AnsiString path = TextAfter(Key, '.');
    auto pathExcluded = [&](const AnsiString& Path) {
        const AnsiString sub = TextAfter(Path, '.');
        return L.NotHandledProperty(name, TextBefore(Path, '.')) ||
               (!sub.empty() && L.NotHandledProperty(name, sub));
    };
    if (Kind != stCollections)
        return pathExcluded(path);
    const AnsiString collectionPath = TextBefore(path, '[');
    const AnsiString collection = collectionPath.substr(collectionPath.rfind('.') + 1);
    std::size_t close = path.find("].");
    return L.NotHandledProperty(name, collection) ||
           (close != AnsiString::npos && pathExcluded(path.substr(close + 2)));
}

bool TzxCustomLang::IsHandledTStrings(const WideString& ClassName) const {
    return FStringsTypes->IndexOf(UTF8Encode(ClassName)) >= 0;
}

// ---------------------------------------------------------------------------
// Options and version

void TzxCustomLang::SetOptions(TzxLangOptions Value) {
    if (Value == FOptions)
        return;
    FOptions = Value;
    if (Value.Contains(loUseExtCommonStrings) && IsDesigning()) {
        FDlgsCaptions->Clear();
        FLocales->Clear();
    }
}

void TzxCustomLang::SetVersion(const WideString&) {
    FVersion = UTF8Decode(VersionText);
}

// ---------------------------------------------------------------------------
// Languages

void TzxCustomLang::SetLangNames(TStrings* Value) {
    if (Value == FLangNames.get())
        return;
    CheckLanguageNameCount(Value->Count());
    // A list without a name for the active language would leave Language
    // and the number of languages out of step with each other.
    if (Value->Count() < FActiveLanguage)
        throw ELanguageError(Format(TooFewLanguageNames, {Value->Count()}) + "\r" +
                             Format(LanguageNamesRule, {FActiveLanguage}));
    FLangNames->Assign(Value);
    FLanguage = UTF8Decode(FLangNames->Get(FActiveLanguage - 1));
    FNumOfLanguages = FLangNames->Count();
}

void TzxCustomLang::SetLanguage(const WideString& Value) {
    if (Value == FLanguage)
        return;
    Integer index = FLangNames->IndexOf(UTF8Encode(Value));
    if (index < 0)
        throw LanguageNotListed();
    FLanguage = Value;
    if (!IsLoading())
        SetActLang(index + 1);
}

void TzxCustomLang::NormalizeStrings() {
    const TSysCharSet delims{Delim()};
    for (TStringList* list : {FStrings.get(), FDlgsCaptions.get(), FLocales.get()})
        for (Integer index = 0; index < list->Count(); ++index) {
            AnsiString line = list->Get(index);
            Integer count = CountDelimChars(line, delims);
            if (count <= FNumOfLanguages)
                list->Put(index,
                          line + AnsiString(static_cast<std::size_t>(FNumOfLanguages - count + 1),
                                            Delim()));
        }
}
