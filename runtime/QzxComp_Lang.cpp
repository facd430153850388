// The translation component: its lists and settings, creation, loading,
// the language setters and the reaction to removed and renamed components.
#include "runtime/QzxComp_Engine.h"
#include "runtime/QzxConsts.h"

#include "clx/Forms.h"

#include <algorithm>

namespace {

const char* const OnlyOneLangPerForm =
    "Only one TzxCustomLang component per Form/DataModule allowed!";

const std::array<const char*, 20> DefaultExcludedProperties = {"Category",
                                                               "SecondaryShortCuts",
                                                               "HelpKeyword",
                                                               "InitialDir",
                                                               "HelpKeyword",
                                                               "ActivePage",
                                                               "ImeName",
                                                               "DefaultExt",
                                                               "FileName",
                                                               "FieldName",
                                                               "PickList",
                                                               "DisplayFormat",
                                                               "EditMask",
                                                               "KeyList",
                                                               "LookupDisplayFields",
                                                               "DropDownSpecRow",
                                                               "TableName",
                                                               "DatabaseName",
                                                               "IndexName",
                                                               "MasterFields"};

constexpr char OldDelim = '\t';

TComponent* RefuseSecondLang(TComponent* AOwner) {
    if (AOwner)
        for (Integer index = 0; index < AOwner->ComponentCount(); ++index)
            if (dynamic_cast<TzxCustomLang*>(AOwner->Components(index)))
                throw Exception(OnlyOneLangPerForm);
    return AOwner;
}

std::unique_ptr<TStringList> NewList() {
    return std::make_unique<TStringList>();
}

AnsiString LineKey(const AnsiString& Line, char Delim) {
    Integer at = Pos(AnsiString(1, Delim), Line);
    return at == 0 ? AnsiString() : Copy(Line, 1, at - 1);
}

Integer CountChar(const AnsiString& S, char Ch) {
    return static_cast<Integer>(std::count(S.begin(), S.end(), Ch));
}

// The position (1-based) of the N-th Ch in S, 0 when S has fewer.
Integer NthCharPosition(const AnsiString& S, char Ch, Integer N) {
    Integer seen = 0;
    for (std::size_t index = 0; index < S.size(); ++index)
        if (S[index] == Ch && ++seen == N)
            return static_cast<Integer>(index) + 1;
    return 0;
}

} // namespace

ELanguageError InvalidActiveLanguage(Integer Value, Integer Count) {
    return ELanguageError(Format("%d - is not a valid property value!", {Value}) + "\r" +
                          Format("Value must be within [1..%d]!", {Count}));
}

ELanguageError InvalidNumOfLanguages(Integer Value) {
    if (Value > MaxNumOfLanguages)
        return InvalidActiveLanguage(Value, MaxNumOfLanguages);
    return ELanguageError(IntToStr(Value) + " - is not a valid property value !\r" +
                          "Value must be more than ZERO !");
}

void CheckLanguageNameCount(Integer Count) {
    if (Count > MaxNumOfLanguages)
        throw InvalidNumOfLanguages(Count);
}

ELanguageError LanguageNotListed() {
    return ELanguageError("Language name shall be included in LangNames property!");
}

// ---------------------------------------------------------------------------
// Creation and destruction

TzxCustomLang::TzxCustomLang(TComponent* AOwner) : TComponent(RefuseSecondLang(AOwner)) {
    SetVersion(WideString());
    FCaptions = NewList();
    FHints = NewList();
    FDisplayLabels = NewList();
    FStrings = NewList();
    FFonts = NewList();
    FMultiLines = NewList();
    FDlgsCaptions = NewList();
    FOtherStrings = NewList();
    FLocales = NewList();
    FCharSets = NewList();
    FCollections = NewList();
    FDoNotTranslate = NewList();
    FExcludedProperties = NewList();
    FSmartExcludeProps = NewList();
    FLangNames = NewList();
    FLangNames->Add("Language N1");
    FLanguage = UTF8Decode(FLangNames->Get(0));
    FillDialogs();
    TEngine::TakeLocaleSnapshot(*this);
    FStringsTypes = NewList();
    FStringsTypes->Add("TIB_STRINGLIST");
    FStringsTypes->Add("TSTRINGLIST");
    FFixedLanguages = NewList();
    FStringTable =
        std::make_unique<TzxStringsCollection>(TzxStringsCollectionItem::StaticClass(), this);
    FSecondStringTable =
        std::make_unique<TzxStringsCollection>(TzxStringsCollectionItem::StaticClass(), this);
    FExtendedTranslations = std::make_unique<TzxExtendedItems>(this);
    FNoOwnerFont = AOwner && !ObjectHasProperty(AOwner, "Font", "TFont", TTypeKinds{tkClass});
    for (const char* name : DefaultExcludedProperties)
        FExcludedProperties->Add(name);
}

TzxCustomLang::~TzxCustomLang() {
    if (FLangDispatcher)
        FLangDispatcher->RemovePossibleReference(this);
}

void TzxCustomLang::FillDialogs() {
    const AnsiString delim(1, Delim());
    for (Integer index = 0; index < SeededDialogTexts; ++index) {
        AnsiString entry = DialogTexts[static_cast<std::size_t>(index)];
        FDlgsCaptions->Add(StringReplace(entry, "&", "", {rfReplaceAll}) + delim + entry + delim);
    }
}

void TzxCustomLang::TEngine::TakeLocaleSnapshot(TzxCustomLang& L) {
    for (std::size_t index = 0; index < LocaleSettings.size(); ++index)
        L.FLocaleSnapshot[index] = LocaleSettings[index].Read();
}

std::array<WideString, LocaleSettingCount> TzxCustomLang::LocaleSnapshot() const {
    std::array<WideString, LocaleSettingCount> snapshot;
    for (std::size_t index = 0; index < snapshot.size(); ++index)
        snapshot[index] = UTF8Decode(FLocaleSnapshot[index]);
    return snapshot;
}

// ---------------------------------------------------------------------------
// Loading

void TzxCustomLang::Loaded() {
    TComponent::Loaded();
    // The names are read into the list itself, past the setter's check.
    CheckLanguageNameCount(FLangNames->Count());
    // Language read before the names is kept in step with them as the
    // setter would, so that the component writes a form it can read back.
    if (FLangNames->IndexOf(UTF8Encode(FLanguage)) < 0 && FActiveLanguage >= 1 &&
        FActiveLanguage <= FLangNames->Count())
        FLanguage = UTF8Decode(FLangNames->Get(FActiveLanguage - 1));
    if (FLoadingCopy)
        return;
    if (FOptions.Contains(loUseExtCommonStrings)) {
        FDlgsCaptions->Clear();
        FLocales->Clear();
    }
    if (FLangDelim == OldDelim) {
        TEngine::ChangeLangDelim(*this, FLangDelim, 1);
        FLangDelim = 1;
        TEngine::ReplaceInAllLists(*this, OldDelim, Delim());
    }
    if (TEngine::HasOldDelimiter(*this)) {
        TEngine::ReplaceInAllLists(*this, Delim(), OldDelim);
        TEngine::ReplaceInAllLists(*this, OldDelim, Delim());
    }
    if (FLocales->Count() == 11)
        TEngine::AddMissingLocaleNames(*this);
    if (FLangDispatcher && Owner())
        FLangDispatcher->AddReference(this);
    ExcludeProperties();
    if (IsDesigning())
        NormalizeStrings();
    UpdateStrCollections();
    if (IsInheritedOwner)
        ChangeLanguage();
    if (IsDesigning())
        TEngine::RelinkExtendedItems(*this);
}

bool TzxCustomLang::TEngine::HasOldDelimiter(const TzxCustomLang& L) {
    auto firstLineHas = [](const TStringList& List, auto Test) {
        return List.Count() > 0 && Test(List.Get(0));
    };
    auto anyTab = [](const AnsiString& Line) { return CountChar(Line, OldDelim) > 0; };
    auto fullLine = [&L](const AnsiString& Line) {
        return CountChar(Line, OldDelim) == L.FNumOfLanguages + 1;
    };
    return firstLineHas(*L.FDlgsCaptions, anyTab) || firstLineHas(*L.FLocales, anyTab) ||
           firstLineHas(*L.FCaptions, fullLine) || firstLineHas(*L.FLocales, fullLine) ||
           firstLineHas(*L.FHints, fullLine);
}

void TzxCustomLang::TEngine::AddMissingLocaleNames(TzxCustomLang& L) {
    const AnsiString delim(1, L.Delim());
    for (Integer index = 11; index < LocaleSettingCount; ++index)
        L.FLocales->Add(LocaleKeys[static_cast<std::size_t>(index)] + delim +
                        L.FLocaleSnapshot[static_cast<std::size_t>(index)] + delim);
}

void TzxCustomLang::TEngine::RelinkExtendedItems(TzxCustomLang& L) {
    for (Integer index = L.FExtendedTranslations->Count() - 1; index >= 0; --index) {
        TzxExtendedItem* item = L.FExtendedTranslations->Items(index);
        AnsiString identifier = item->GetIdentifier();
        Integer point = Pos(AnsiString("."), identifier);
        AnsiString first = point == 0 ? identifier : Copy(identifier, 1, point - 1);
        if (first == L.Owner()->ClassName())
            item->SetRelComponent(L.Owner());
        else if (TComponent* related = L.Owner()->FindComponent(first))
            item->SetRelComponent(related);
        else
            delete item;
    }
}

// ---------------------------------------------------------------------------
// Languages

void TzxCustomLang::SetActLang(Integer Value) {
    if (Value == FActiveLanguage)
        return;
    if (Value < 1 || Value > FNumOfLanguages) {
        if (IsLoading())
            return;
        throw InvalidActiveLanguage(Value, FNumOfLanguages);
    }
    FApplyFilter = -1;
    bool cursorChanged = false;
    TCursor savedCursor = crDefault;
    if (ChangingCursor != -1 && Screen->Cursor() == crDefault && !IsDesigning()) {
        savedCursor = Screen->Cursor();
        Screen->SetCursor(ChangingCursor);
        cursorChanged = true;
    }
    auto restoreCursor = [&] {
        if (cursorChanged)
            Screen->SetCursor(savedCursor);
    };
    try {
        bool applies = FLangDispatcher || !IsLoading();
        if (IsDesigning() && applies)
            BuildList();
        FActiveLanguage = Value;
        if (!IsLoading() && FLangNames->Count() >= FActiveLanguage)
            FLanguage = UTF8Decode(FLangNames->Get(FActiveLanguage - 1));
        if (applies)
            ChangeLanguage();
    } catch (...) {
        restoreCursor();
        throw;
    }
    restoreCursor();
}

void TzxCustomLang::SetNumLang(Integer Value) {
    if (Value == FNumOfLanguages)
        return;
    if (Value < 1 || Value > MaxNumOfLanguages)
        throw InvalidNumOfLanguages(Value);
    if (Value < FNumOfLanguages)
        TEngine::CutLinesToLanguages(*this, Value);
    FNumOfLanguages = Value;
    TEngine::FitExtendedToLanguages(*this);
    if (IsDesigning() && !IsLoading())
        NormalizeStrings();
    while (FLangNames->Count() < Value)
        FLangNames->Add("Language N" + IntToStr(FLangNames->Count() + 1));
    while (FLangNames->Count() > Value)
        FLangNames->Delete(FLangNames->Count() - 1);
    if (!IsDesigning() && !IsLoading()) {
        NormalizeStrings();
        UpdateStrCollections();
    }
}

// Values are positional: a line keeps its key and its first Count values,
// each followed by the delimiter; a line without that many delimiters keeps
// what it has.
void TzxCustomLang::TEngine::CutLinesToLanguages(TzxCustomLang& L, Integer Count) {
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind) {
        TStrings* list = L.GetPropListByType(static_cast<TStringsType>(kind));
        if (!list)
            continue;
        for (Integer index = 0; index < list->Count(); ++index) {
            AnsiString line = list->Get(index);
            Integer cut = NthCharPosition(line, L.Delim(), Count + 1);
            if (cut > 0 && cut < static_cast<Integer>(line.size()))
                list->Put(index, Copy(line, 1, cut));
        }
    }
}

void TzxCustomLang::SetFixedLanguages(TStrings* Value) {
    if (Value != FFixedLanguages.get())
        FFixedLanguages->Assign(Value);
}

void TzxCustomLang::SetLangDispatcher(TzxLangDispatcher* Value) {
    if (FLangDispatcher && FLangDispatcher != Value)
        FLangDispatcher->RemovePossibleReference(this);
    // The dispatcher may sit on another form: each side hears when the
    // other is freed.
    ReplaceComponentReference(this, FLangDispatcher, Value);
    if (IsLoading()) {
        if (Value)
            FNumOfLanguages = Value->NumOfLanguages();
    } else if (Value && Owner()) {
        Value->AddReference(this);
    }
}

// ---------------------------------------------------------------------------
// The lists

void TzxCustomLang::ApplyOneKind(TStrings* Value, TStrings& Own, TStringsType Kind) {
    if (Value != &Own)
        Own.Assign(Value);
    FApplyFilter = Kind;
    try {
        ChangeLanguage();
    } catch (...) {
        FApplyFilter = -1;
        throw;
    }
    FApplyFilter = -1;
}

void TzxCustomLang::SetCaptions(TStrings* Value) {
    ApplyOneKind(Value, *FCaptions, stCaptions);
}
void TzxCustomLang::SetHints(TStrings* Value) {
    ApplyOneKind(Value, *FHints, stHints);
}
void TzxCustomLang::SetLabels(TStrings* Value) {
    ApplyOneKind(Value, *FDisplayLabels, stDisplayLabels);
}
void TzxCustomLang::SetFonts(TStrings* Value) {
    ApplyOneKind(Value, *FFonts, stFonts);
}
void TzxCustomLang::SetMultiLines(TStrings* Value) {
    ApplyOneKind(Value, *FMultiLines, stMultiLines);
}
// The string table follows at once, so that GetText answers from the new
// lines.
void TzxCustomLang::SetStrings(TStrings* Value) {
    if (Value != FStrings.get())
        FStrings->Assign(Value);
    UpdateStrCollections();
    ApplyOneKind(FStrings.get(), *FStrings, stStrings);
}
void TzxCustomLang::SetOthers(TStrings* Value) {
    ApplyOneKind(Value, *FOtherStrings, stOtherStrings);
}
void TzxCustomLang::SetSystem(TStrings* Value) {
    ApplyOneKind(Value, *FLocales, stLocales);
}
void TzxCustomLang::SetCollections(TStrings* Value) {
    ApplyOneKind(Value, *FCollections, stCollections);
}
void TzxCustomLang::SetCharSets(TStrings* Value) {
    ApplyOneKind(Value, *FCharSets, stCharSets);
}

void TzxCustomLang::SetDlgsCaptions(TStrings* Value) {
    if (Value != FDlgsCaptions.get())
        FDlgsCaptions->Assign(Value);
}

TStrings* TzxCustomLang::GetPropListByType(TStringsType Kind) const {
    AnsiString name = GetEnumName(TypeInfoOf(Kind), Kind).substr(2);
    PPropInfo info = GetPropInfo(this, name, TTypeKinds{tkClass});
    if (!info)
        return nullptr;
    return dynamic_cast<TStrings*>(GetObjectProp(const_cast<TzxCustomLang*>(this), info));
}

// ---------------------------------------------------------------------------
// Settings

void TzxCustomLang::SetExtendedTranslations(TzxExtendedItems* Value) {
    if (Value != FExtendedTranslations.get())
        FExtendedTranslations->Assign(Value);
}

// ---------------------------------------------------------------------------
// Reading and replacing values

WideString TzxCustomLang::GetStringValue(TStrings& List, const WideString& Key,
                                         Integer Language) const {
    return UTF8Decode(TEngine::StringValue(*this, List, UTF8Encode(Key), Language));
}

AnsiString TzxCustomLang::TEngine::StringValue(const TzxCustomLang& L, TStrings& List,
                                               const AnsiString& Key, Integer Language) {
    try {
        const AnsiString key = AnsiUpperCase(Key);
        for (Integer index = 0; index < List.Count(); ++index) {
            AnsiString line = List.Get(index);
            if (AnsiUpperCase(LineKey(line, L.Delim())) == key)
                return GetLineField(line, Language, L.Delim());
        }
    } catch (const std::exception&) {
    }
    return AnsiString();
}

void TzxCustomLang::ReplaceStringValue(TStrings& List, const WideString& Value,
                                       const WideString& Key, Integer Language) {
    if (&List == FStrings.get() && !IsDesigning())
        for (TzxStringsCollection* table : {FStringTable.get(), FSecondStringTable.get()})
            for (Integer index = 0; index < table->Count(); ++index) {
                TzxStringsCollectionItem* item = table->Items(index);
                if (!AnsiSameText(AnsiString(item->IDText()), UTF8Encode(Key)))
                    continue;
                while (item->Values()->Count() < Language)
                    item->Values()->Add("");
                item->Values()->Put(Language - 1, UTF8Encode(Value));
                break;
            }
    const AnsiString key = AnsiUpperCase(UTF8Encode(Key));
    for (Integer index = 0; index < List.Count(); ++index) {
        AnsiString line = List.Get(index);
        if (AnsiUpperCase(LineKey(line, Delim())) != key)
            continue;
        TzxTranslationLine translation(line, Delim());
        translation.SetValue(Language, UTF8Encode(Value));
        List.Put(index, translation.Text());
        return;
    }
}

// ---------------------------------------------------------------------------
// Removed and renamed components

void TzxCustomLang::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (dynamic_cast<TzxCustomLang*>(AComponent))
        return;
    if (Operation == opRemove && AComponent == FLangDispatcher) {
        FLangDispatcher->RemovePossibleReference(this);
        FLangDispatcher = nullptr;
        return;
    }
    if (Operation == opRemove && FIgnoreRemovals && IsDesigning())
        return;
    if (Operation == opRemove) {
        Integer index = FDoNotTranslate->IndexOf(AComponent->Name());
        if (index >= 0)
            FDoNotTranslate->Delete(index);
    }
    MakeNotification(*FCaptions, AComponent, Operation, stCaptions);
    MakeNotification(*FHints, AComponent, Operation, stHints);
    MakeNotification(*FDisplayLabels, AComponent, Operation, stDisplayLabels);
    MakeNotification(*FFonts, AComponent, Operation, stFonts);
    MakeNotification(*FMultiLines, AComponent, Operation, stMultiLines);
    MakeNotification(*FOtherStrings, AComponent, Operation, stOtherStrings);
    MakeNotification(*FCharSets, AComponent, Operation, stFonts);
    MakeNotification(*FCollections, AComponent, Operation, stCollections);
    MakeNotification(*FSmartExcludeProps, AComponent, Operation, stOtherStrings);
    if (Operation != opRemove)
        return;
    const AnsiString prefix = AComponent->Name() + ".";
    for (Integer index = FExtendedTranslations->Count() - 1; index >= 0; --index) {
        TzxExtendedItem* item = FExtendedTranslations->Items(index);
        if (item->GetIdentifier().starts_with(prefix))
            delete item;
    }
}

void TzxCustomLang::MakeNotification(TStrings& List, TComponent* AComponent, TOperation Operation,
                                     TStringsType Kind) {
    if (Operation != opRemove || !IsDesigning() || List.Count() == 0 || List.Get(0).empty())
        return;
    AnsiString prefix = AComponent == Owner() ? AComponent->ClassName() : AComponent->Name();
    bool pathKey = Kind == stMultiLines || Kind == stOtherStrings || Kind == stCollections;
    prefix += pathKey ? AnsiString(".") : AnsiString(1, Delim());
    for (Integer index = List.Count() - 1; index >= 0; --index) {
        try {
            if (List.Get(index).starts_with(prefix))
                List.Delete(index);
        } catch (const std::exception&) {
        }
    }
}

void TzxCustomLang::ComponentRenamed(const WideString& OldName, const WideString& NewName) {
    if (NewName.empty())
        return;
    AnsiString oldName = UTF8Encode(OldName);
    AnsiString newName = UTF8Encode(NewName);
    if (Owner() && oldName == Owner()->Name()) {
        oldName = "T" + oldName;
        newName = "T" + newName;
    }
    TSysCharSet separators{'.', Delim()};
    auto renameKeys = [&](TStrings& List) {
        for (Integer index = 0; index < List.Count(); ++index) {
            AnsiString line = List.Get(index);
            if (ExtractWord(1, line, separators) == oldName)
                List.Put(index, ReplaceStr(line, oldName, newName, false));
        }
    };
    ForEachKeptList([&](TStringsType, TStrings& List) { renameKeys(List); });
    renameKeys(*FDoNotTranslate);
    renameKeys(*FSmartExcludeProps);
    const AnsiString oldPrefix = UTF8Encode(OldName) + ".";
    for (Integer index = 0; index < FExtendedTranslations->Count(); ++index) {
        TzxExtendedItem* item = FExtendedTranslations->Items(index);
        AnsiString identifier = item->GetIdentifier();
        if (identifier.starts_with(oldPrefix))
            item->SetIdentifier(UTF8Encode(NewName) + identifier.substr(identifier.find('.')));
    }
}

// ---------------------------------------------------------------------------
// Published properties and start-up

void TzxCustomLang::PublishedProperties(TPropertyBuilder<TzxCustomLang>& P) {
    P.Property("Version", &TzxCustomLang::Version, &TzxCustomLang::SetVersion);
    P.Property("IsInheritedOwner", &TzxCustomLang::IsInheritedOwner);
    P.Property("StringsTypes", &TzxCustomLang::StringsTypes, &TzxCustomLang::SetStringsTypes);
    P.Property("SmartExcludeProps", &TzxCustomLang::SmartExcludeProps,
               &TzxCustomLang::SetSmartProps)
        .Stored(&TzxCustomLang::DoStoreSmart);
    P.Property("UseInheritedData", &TzxCustomLang::UseInheritedData).Default(false);
    P.Property("TranslateExtendedFirst", &TzxCustomLang::TranslateExtendedFirst).Default(false);
}

void TzxLang::PublishedProperties(TPropertyBuilder<TzxLang>& P) {
    PublishLangProperties(P);
}

void InitQzxComp() {
    if (!GetClass("TzxLang"))
        RegisterClass(TzxLang::StaticClass());
    // Forms read their components by class name, so the placement component
    // and the dispatcher must be known to the reader too.
    if (!GetClass("TzxFormStorage"))
        RegisterClass(TzxFormStorage::StaticClass());
    if (!GetClass("TzxLangDispatcher"))
        RegisterClass(TzxLangDispatcher::StaticClass());
    RegisterQzxCompResources();
}
