// Language actions: menu items and tool buttons that switch a form's
// language, through a dispatcher when one is found, else through the form's
// translation component.
#pragma once

#include "clx/ActnList.h"
#include "runtime/QzxComp.h"

// An action that finds the translation component or the dispatcher of the
// form it acts on. It holds at most one of the two references; each is
// dropped when the component it names is freed.
class TzxLangAction : public TAction {
    ZX_CLASS(TzxLangAction, TAction)
public:
    using TAction::TAction;

    // True when the action's owner is a form.
    bool HandlesTarget(TObject* Target) override;
    // The first translation component of the target's form (the target
    // itself when it is a form, else its owner), or nullptr.
    virtual TzxCustomLang* GetzxLang(TObject* Target);
    // The same for the first dispatcher.
    TzxLangDispatcher* GetzxLangDispatcher(TObject* Target);

    TzxCustomLang* zxLang() const { return FzxLang; }
    // Setting one reference clears the other.
    void SetzxLang(TzxCustomLang* Value);
    TzxLangDispatcher* zxLangDispatcher() const { return FzxLangDispatcher; }
    void SetzxLangDispatcher(TzxLangDispatcher* Value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The dispatcher to switch through: the one set, else the target form's.
    TzxLangDispatcher* DispatcherFor(TObject* Target);
    // The translation component: the one set, else the target form's.
    TzxCustomLang* LangFor(TObject* Target);

private:
    TzxCustomLang* FzxLang = nullptr;
    TzxLangDispatcher* FzxLangDispatcher = nullptr;
};

// One action per language: executing it makes its ActiveLanguage the
// active one; it is checked while that language is active and enabled
// while it finds a component or a dispatcher.
class TzxLangChangeLanguage : public TzxLangAction {
    ZX_CLASS(TzxLangChangeLanguage, TzxLangAction)
public:
    using TzxLangAction::TzxLangAction;
    static void PublishedProperties(TPropertyBuilder<TzxLangChangeLanguage>& P);

    // Only stored: the language is switched when the action executes.
    Integer ActiveLanguage() const { return FActiveLanguage; }
    void SetActiveLanguage(Integer Value) { FActiveLanguage = Value; }

    // ELanguageError when ActiveLanguage is outside the languages.
    void ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;

private:
    Integer FActiveLanguage = 1;
};

// Unit start-up: registers TzxLangChangeLanguage for form streaming unless a
// class of that name is registered already.
void InitQzxActns();
