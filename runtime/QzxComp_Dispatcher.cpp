// The translation dispatcher: one language list, one active language and
// one translation file for the translation components linked to it.
#include "runtime/QzxComp_Engine.h"

#include "runtime/DOriDaz.h"

TzxLangDispatcher::TzxLangDispatcher(TComponent* AOwner)
    : TComponent(AOwner), FLangNames(std::make_unique<TStringList>()),
      FTestModeInfo(std::make_unique<TTestModeInfo>()) {
    FLangNames->Add("Language N1");
}

TzxLangDispatcher::~TzxLangDispatcher() {
    for (Integer index = FLangs.Count() - 1; index >= 0; --index)
        if (index < FLangs.Count())
            GetZxLangs(index)->SetLangDispatcher(nullptr);
    FLangs.Clear();
}

TzxCustomLang* TzxLangDispatcher::GetZxLangs(Integer Index) const {
    return static_cast<TzxCustomLang*>(FLangs.Get(Index));
}

void TzxLangDispatcher::ForEachLang(const std::function<void(TzxCustomLang&)>& Action) const {
    for (Integer index = 0; index < FLangs.Count(); ++index)
        Action(*GetZxLangs(index));
}

// ---------------------------------------------------------------------------
// Links

// A component of the dispatcher's own form may link before the
// dispatcher's Loaded has checked the active language.
void TzxLangDispatcher::AddReference(TzxCustomLang* Lang) {
    KeepActiveLanguageInRange();
    RemovePossibleReference(Lang);
    FLangs.Add(Lang);
    GiveLanguages(*Lang);
    if (IsDesigning()) {
        Lang->SetActLang(FActiveLanguage);
        return;
    }
    if (FileExists(FFileName))
        LoadLinkingComponent(*Lang);
    else
        Lang->SetActLang(FActiveLanguage);
    if (FOnLinkToDispatcher)
        FOnLinkToDispatcher(this, Lang);
}

// The language count and names, and the name of the active language.
void TzxLangDispatcher::GiveLanguages(TzxCustomLang& Lang) {
    Lang.SetNumLang(FNumOfLanguages);
    Lang.LangNames()->Assign(FLangNames.get());
    Lang.FLanguage = FLanguage;
}

// Lang reads the file; the languages the file brings then reach the
// dispatcher and the components linked before (which switch only when their
// language is no longer there), and Lang shows the active language once.
// When the file cannot be read Lang is switched as without a file.
void TzxLangDispatcher::LoadLinkingComponent(TzxCustomLang& Lang) {
    if (zxIsBinaryFile(FFileName) && !FBinaryFileManager)
        FBinaryFileManager = std::make_unique<TZXBFileManager>();
    try {
        LoadInFirstLanguage(Lang, [this](TzxCustomLang& Loading) {
            Loading.LoadAllFromFileDNC(UTF8Decode(FFileName), true);
        });
    } catch (...) {
        Lang.SetActLang(FActiveLanguage);
        throw;
    }
    const Integer activeBefore = FActiveLanguage;
    TakeLanguagesOf(Lang);
    ForEachLang([&](TzxCustomLang& Linked) {
        GiveLanguages(Linked);
        if (&Linked != &Lang &&
            (FActiveLanguage != activeBefore || Linked.ActiveLanguage() > FNumOfLanguages))
            Linked.SetActLang(FActiveLanguage);
    });
    Lang.FActiveLanguage = FActiveLanguage;
    Lang.ChangeLanguage();
}

// Lang loads as in language 1, which every file has, so that a file with
// fewer languages than the active one is read as well; the caller sets the
// active language once the file's languages are known. A load that raises
// leaves Lang's active language as it was.
void TzxLangDispatcher::LoadInFirstLanguage(TzxCustomLang& Lang,
                                            const std::function<void(TzxCustomLang&)>& Load) {
    const Integer active = Lang.FActiveLanguage;
    Lang.FActiveLanguage = 1;
    try {
        Load(Lang);
    } catch (...) {
        Lang.FActiveLanguage = active;
        throw;
    }
}

// The languages Source read from a file become the dispatcher's; an active
// language the file does not reach gives way to the first.
void TzxLangDispatcher::TakeLanguagesOf(const TzxCustomLang& Source) {
    FNumOfLanguages = Source.NumOfLanguages();
    FLangNames->Assign(Source.LangNames());
    ResizeLangNames(FNumOfLanguages);
    if (FActiveLanguage > FNumOfLanguages)
        FActiveLanguage = 1;
    TakeLanguageName();
}

TZXBFileManager* TzxLangDispatcher::BinaryFileManagerFor(const AnsiString& FileName) const {
    return FBinaryFileManager && AnsiSameText(FileName, FFileName) ? FBinaryFileManager.get()
                                                                   : nullptr;
}

void TzxLangDispatcher::RemovePossibleReference(TzxCustomLang* Lang) noexcept {
    FLangs.Remove(Lang);
}

void TzxLangDispatcher::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove)
        if (auto* lang = dynamic_cast<TzxCustomLang*>(AComponent))
            RemovePossibleReference(lang);
}

// A form file sets ActiveLanguage before NumOfLanguages, so the pair is
// checked only once both are read.
void TzxLangDispatcher::Loaded() {
    TComponent::Loaded();
    // The names are read into the list itself, past the setter's check.
    CheckLanguageNameCount(FLangNames->Count());
    KeepActiveLanguageInRange();
}

void TzxLangDispatcher::KeepActiveLanguageInRange() {
    if (FActiveLanguage < 1 || FActiveLanguage > FNumOfLanguages)
        FActiveLanguage = 1;
}

// ---------------------------------------------------------------------------
// Languages

void TzxLangDispatcher::CheckActiveLanguage(Integer Value) const {
    if (!IsLoading() && (Value < 1 || Value > FNumOfLanguages))
        throw InvalidActiveLanguage(Value, FNumOfLanguages);
}

// Language follows the active language's name, when the names reach it.
void TzxLangDispatcher::TakeLanguageName() {
    if (FLangNames->Count() >= FActiveLanguage)
        FLanguage = UTF8Decode(FLangNames->Get(FActiveLanguage - 1));
}

void TzxLangDispatcher::SetActiveLanguage(Integer Value) {
    CheckActiveLanguage(Value);
    FActiveLanguage = Value;
    ForEachLang([Value](TzxCustomLang& Lang) { Lang.SetActLang(Value); });
    if (!IsLoading())
        TakeLanguageName();
}

void TzxLangDispatcher::ResizeLangNames(Integer Count) {
    while (FLangNames->Count() < Count)
        FLangNames->Add("Language N" + IntToStr(FLangNames->Count() + 1));
    while (FLangNames->Count() > Count)
        FLangNames->Delete(FLangNames->Count() - 1);
}

void TzxLangDispatcher::SetNumOfLanguages(Integer Value) {
    if (Value > MaxNumOfLanguages)
        throw InvalidNumOfLanguages(Value);
    if (Value < 1) {
        if (IsLoading())
            return;
        throw InvalidNumOfLanguages(Value);
    }
    FNumOfLanguages = Value;
    ResizeLangNames(Value);
    ForEachLang([Value](TzxCustomLang& Lang) { Lang.SetNumLang(Value); });
}

// Names shorter than the active language make the first language active.
void TzxLangDispatcher::SetLangNames(TStrings* Value) {
    if (Value == FLangNames.get())
        return;
    CheckLanguageNameCount(Value->Count());
    FLangNames->Assign(Value);
    if (FLangNames->Count() > 0) {
        if (FLangNames->Count() < FActiveLanguage)
            FActiveLanguage = 1;
        TakeLanguageName();
    }
    ForEachLang([this](TzxCustomLang& Lang) {
        Lang.LangNames()->Assign(FLangNames.get());
        Lang.SetLanguage(FLanguage);
    });
    SetNumOfLanguages(std::max(FLangNames->Count(), 1));
}

void TzxLangDispatcher::SetLanguage(const WideString& Value) {
    if (Value == FLanguage)
        return;
    Integer index = FLangNames->IndexOf(UTF8Encode(Value));
    if (FLangNames->Count() > 0 && index < 0)
        throw LanguageNotListed();
    FLanguage = Value;
    if (!IsLoading() && FLangNames->Count() > 0)
        SetActiveLanguage(index + 1);
}

// ---------------------------------------------------------------------------
// Whole files

// A text file is read once and checked whole before any component changes;
// a binary one holds an entry per form, so every form's entry is read once
// before any component changes.
void TzxLangDispatcher::LoadAllFromFile(const WideString& FileName) {
    const AnsiString name = UTF8Encode(FileName);
    if (FLangs.Count() == 0 || !FileExists(name))
        return;
    if (zxIsBinaryFile(name)) {
        TMemoryStream content;
        content.LoadFromFile(name);
        try {
            LoadAllFromStream(content);
        } catch (EReadError& error) {
            error.SetMessage(Format("%s (file \"%s\")", {error.Message(), name}));
            throw;
        }
        return;
    }
    const auto ini = TzxCustomLang::TEngine::ParseTranslationFile(FileName);
    LoadEveryComponent(
        [&](TzxCustomLang& Lang) { TzxCustomLang::TEngine::LoadAllKindsFromIni(Lang, *ini, true); });
}

void TzxLangDispatcher::LoadAllFromStream(TStream& Stream) {
    if (FLangs.Count() == 0)
        return;
    const Int64 start = Stream.Position();
    CheckEveryEntry([&](TzxCustomLang& Scratch, const AnsiString& OwnerName) {
        Stream.SetPosition(start);
        TZXBFileManager().LoadFromStream(&Scratch, OwnerName, Stream);
    });
    LoadEveryComponent([&](TzxCustomLang& Lang) {
        Stream.SetPosition(start);
        TzxCustomLang::TEngine::LoadBinaryStreamEntry(Lang, Stream);
    });
}

// Reads the entry of each linked component's form into a scratch
// component of its class, without owner, that nothing else sees.
void TzxLangDispatcher::CheckEveryEntry(
    const std::function<void(TzxCustomLang& Scratch, const AnsiString& OwnerName)>& Read) const {
    ForEachLang([&](TzxCustomLang& Lang) {
        std::unique_ptr<TComponent> scratch(CreateComponent(Lang.ClassType(), nullptr));
        Read(static_cast<TzxCustomLang&>(*scratch), Lang.Owner()->ClassName());
    });
}

// Every component loads without showing anything; then the first one's
// languages reach the dispatcher and every component, and each shows the
// active language. When a load raises, the components that loaded before
// it are finished so all the same.
void TzxLangDispatcher::LoadEveryComponent(const std::function<void(TzxCustomLang&)>& Load) {
    Integer loaded = 0;
    try {
        for (; loaded < FLangs.Count(); ++loaded)
            LoadInFirstLanguage(*GetZxLangs(loaded), Load);
    } catch (...) {
        if (loaded > 0)
            FinishLoadAll();
        throw;
    }
    FinishLoadAll();
}

void TzxLangDispatcher::FinishLoadAll() {
    TakeLanguagesOf(*GetZxLangs(0));
    ForEachLang([this](TzxCustomLang& Lang) {
        GiveLanguages(Lang);
        Lang.FActiveLanguage = FActiveLanguage;
    });
    ForEachLang([](TzxCustomLang& Lang) { Lang.ChangeLanguage(); });
}

void TzxLangDispatcher::SaveAllToFile(const WideString& FileName, const WideString& Delim) {
    if (zxIsBinaryFile(UTF8Encode(FileName))) {
        SaveAllToBinaryFile(FileName);
        return;
    }
    if (FLangs.Count() == 0)
        return;
    std::vector<TzxCustomLang*> langs;
    ForEachLang([&](TzxCustomLang& Lang) { langs.push_back(&Lang); });
    TzxCustomLang::TEngine::SaveAllToTextFile(langs, FileName, Delim);
}

void TzxLangDispatcher::SaveAllToBinaryFile(const WideString& FileName) {
    if (FLangs.Count() == 0)
        return;
    const AnsiString name = UTF8Encode(FileName);
    TZXBFileManager manager(name);
    ForEachLang([&](TzxCustomLang& Lang) { manager.Add(&Lang); });
    manager.SaveToFile(name);
}

// ---------------------------------------------------------------------------
// Published properties

void TzxLangDispatcher::PublishedProperties(TPropertyBuilder<TzxLangDispatcher>& P) {
    P.Property("ActiveLanguage", &TzxLangDispatcher::ActiveLanguage,
               &TzxLangDispatcher::SetActiveLanguage);
    P.Property("NumOfLanguages", &TzxLangDispatcher::NumOfLanguages,
               &TzxLangDispatcher::SetNumOfLanguages);
    P.Property("LangNames", &TzxLangDispatcher::LangNames, &TzxLangDispatcher::SetLangNames);
    P.Property("Language", &TzxLangDispatcher::Language, &TzxLangDispatcher::SetLanguage);
    P.Property("FileName", &TzxLangDispatcher::FileName, &TzxLangDispatcher::SetFileName)
        .TypeName("TFileName");
    P.Property("OnLinkToDispatcher", &TzxLangDispatcher::OnLinkToDispatcher,
               &TzxLangDispatcher::SetOnLinkToDispatcher)
        .TypeName("TLinkToDispatcherEvent");
    P.ReadOnly("TestModeInfo", &TzxLangDispatcher::TestModeInfo);
    P.Property("TestMode", &TzxLangDispatcher::TestMode, &TzxLangDispatcher::SetTestMode);
    P.Property("TestPercentage", &TzxLangDispatcher::TestPercentage,
               &TzxLangDispatcher::SetTestPercentage);
}
