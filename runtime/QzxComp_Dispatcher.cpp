// The translation dispatcher: one language list, one active language and
// one translation file for the translation components linked to it.
#include "runtime/QzxComp.h"

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

void TzxLangDispatcher::AddReference(TzxCustomLang* Lang) {
    RemovePossibleReference(Lang);
    FLangs.Add(Lang);
    Lang->SetNumLang(FNumOfLanguages);
    Lang->LangNames()->SetText(FLangNames->Text());
    Lang->FLanguage = FLanguage;
    if (IsDesigning()) {
        Lang->SetActLang(FActiveLanguage);
        return;
    }
    Lang->SetActLang(FActiveLanguage);
    if (FOnLinkToDispatcher)
        FOnLinkToDispatcher(this, Lang);
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
