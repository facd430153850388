#include "runtime/QzxLngLnk.h"

void TzxLangLinked::PublishedProperties(TPropertyBuilder<TzxLangLinked>& P) {
    PublishKindLists(P, false);
    PublishLanguageSettings(P);
    P.Property("CommonContainer", &TzxLangLinked::CommonContainer,
               &TzxLangLinked::SetCommonContainer);
    PublishCursorAndExclusions(P);
}

void TzxLangLinked::Loaded() {
    TzxCustomLang::Loaded();
    if (IsLoadingCopy())
        return;
    if (ComponentState().Contains(csDesigning)) {
        DlgsCaptions()->Clear();
        Locales()->Clear();
        return;
    }
    if (FCommonContainer)
        CopyContainerLists();
}

void TzxLangLinked::CopyContainerLists() {
    for (auto [own, shared] : {std::pair{DlgsCaptions(), FCommonContainer->DlgsCaptions()},
                               std::pair{Locales(), FCommonContainer->Locales()}}) {
        own->Assign(shared);
        ChangeDelimOnStrs(FCommonContainer->LangDelim(), LangDelim(), *own);
    }
}

void TzxLangLinked::SetCommonContainer(TzxCustomLang* Value) {
    if (Value == this || !ReplaceComponentReference<TzxCustomLang>(this, FCommonContainer, Value))
        return;
    if (!ComponentState().Contains(csLoading))
        Loaded();
}

void TzxLangLinked::Notification(TComponent* AComponent, TOperation Operation) {
    TzxCustomLang::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FCommonContainer)
        FCommonContainer = nullptr;
}

void InitQzxLngLnk() {
    if (!GetClass("TzxLangLinked"))
        RegisterClass(TzxLangLinked::StaticClass());
}
