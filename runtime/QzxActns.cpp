// Language actions.
#include "runtime/QzxActns.h"

#include "clx/Forms.h"

namespace {

// The target itself when it is a form, else its owner.
TComponent* TargetForm(TObject* Target) {
    if (auto* form = dynamic_cast<TCustomForm*>(Target))
        return form;
    auto* component = dynamic_cast<TComponent*>(Target);
    return component ? component->Owner() : nullptr;
}

template <typename T> T* FirstComponentOf(TComponent* Form) {
    if (!Form)
        return nullptr;
    for (Integer index = 0; index < Form->ComponentCount(); ++index)
        if (auto* found = dynamic_cast<T*>(Form->Components(index)))
            return found;
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// TzxLangAction

bool TzxLangAction::HandlesTarget(TObject*) {
    return dynamic_cast<TCustomForm*>(Owner()) != nullptr;
}

TzxCustomLang* TzxLangAction::GetzxLang(TObject* Target) {
    return FirstComponentOf<TzxCustomLang>(TargetForm(Target));
}

TzxLangDispatcher* TzxLangAction::GetzxLangDispatcher(TObject* Target) {
    return FirstComponentOf<TzxLangDispatcher>(TargetForm(Target));
}

void TzxLangAction::SetzxLang(TzxCustomLang* Value) {
    if (ReplaceComponentReference(this, FzxLang, Value) && Value)
        SetzxLangDispatcher(nullptr);
}

void TzxLangAction::SetzxLangDispatcher(TzxLangDispatcher* Value) {
    if (ReplaceComponentReference(this, FzxLangDispatcher, Value) && Value)
        SetzxLang(nullptr);
}

void TzxLangAction::Notification(TComponent* AComponent, TOperation Operation) {
    TAction::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FzxLang)
        SetzxLang(nullptr);
    if (AComponent == FzxLangDispatcher)
        SetzxLangDispatcher(nullptr);
}

TzxLangDispatcher* TzxLangAction::DispatcherFor(TObject* Target) {
    return FzxLangDispatcher ? FzxLangDispatcher : GetzxLangDispatcher(Target);
}

TzxCustomLang* TzxLangAction::LangFor(TObject* Target) {
    return FzxLang ? FzxLang : GetzxLang(Target);
}

// ---------------------------------------------------------------------------
// TzxLangChangeLanguage

void TzxLangChangeLanguage::ExecuteTarget(TObject* Target) {
    if (TzxLangDispatcher* dispatcher = DispatcherFor(Target))
        dispatcher->SetActiveLanguage(FActiveLanguage);
    else if (TzxCustomLang* lang = LangFor(Target))
        lang->SetActLang(FActiveLanguage);
}

void TzxLangChangeLanguage::UpdateTarget(TObject* Target) {
    TzxLangDispatcher* dispatcher = DispatcherFor(Target);
    TzxCustomLang* lang = dispatcher ? nullptr : LangFor(Target);
    SetEnabled(dispatcher || lang);
    SetChecked((dispatcher && dispatcher->ActiveLanguage() == FActiveLanguage) ||
               (lang && lang->ActiveLanguage() == FActiveLanguage));
}

void TzxLangChangeLanguage::PublishedProperties(TPropertyBuilder<TzxLangChangeLanguage>& P) {
    P.Property("zxLang", &TzxLangChangeLanguage::zxLang, &TzxLangChangeLanguage::SetzxLang);
    P.Property("zxLangDispatcher", &TzxLangChangeLanguage::zxLangDispatcher,
               &TzxLangChangeLanguage::SetzxLangDispatcher);
    P.Property("ActiveLanguage", &TzxLangChangeLanguage::ActiveLanguage,
               &TzxLangChangeLanguage::SetActiveLanguage);
}

void InitQzxActns() {
    if (!GetClass("TzxLangChangeLanguage"))
        RegisterClass(TzxLangChangeLanguage::StaticClass());
}
