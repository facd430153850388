#include "ide/QzxLangExp.h"

#include "clx/ComCtrls.h"
#include "runtime/QzxComp.h"

TzxModuleNotifier::TzxModuleNotifier(TListItem* Row, const _di_IOTAModule& Module)
    : FRow(Row), FModule(Module) {
    FFormEditor = TzxLangExpert::GetFormEditorFromModule(Module);
    if (!FFormEditor)
        throw Exception("");
    FNotifierIndex = FFormEditor->AddNotifier(this);
}

TzxModuleNotifier::~TzxModuleNotifier() { Unregister(); }

bool TzxModuleNotifier::QueryInterface(const TGUID& Id, void** Obj) {
    *Obj = nullptr;
    if (Id == IID_IOTAFormNotifier || Id == IID_IInterface)
        *Obj = static_cast<IOTAFormNotifier*>(this);
    if (!*Obj)
        return false;
    AddRef();
    return true;
}

void TzxModuleNotifier::Unregister() {
    if (FNotifierIndex != -1 && FFormEditor)
        FFormEditor->RemoveNotifier(std::exchange(FNotifierIndex, -1));
    FFormEditor.Reset();
    FModule.Reset();
}

void TzxModuleNotifier::Destroyed() {
    FNotifierIndex = -1;
    FFormEditor.Reset();
    FModule.Reset();
}

void TzxModuleNotifier::ComponentRenamed(TComponent* ComponentHandle, const AnsiString& OldName,
                                         const AnsiString& NewName) {
    if (OldName.empty() || NewName.empty())
        return;
    try {
        if (FRow && FRow->Caption() == OldName)
            FRow->SetCaption(NewName);
        if (FNotifierIndex != -1)
            RenameInTranslationComponents(ComponentHandle, OldName, NewName);
    } catch (...) {
        TzxLangExpert::HandleExpertException();
    }
}

void TzxModuleNotifier::RenameInTranslationComponents(TComponent* ComponentHandle,
                                                      const AnsiString& OldName,
                                                      const AnsiString& NewName) {
    _di_IOTAComponent root = FFormEditor->GetRootComponent();
    TComponent* form = root ? root->GetComponentHandle() : nullptr;
    if (!form)
        return;
    for (Integer index = 0; index < form->ComponentCount(); ++index) {
        auto* lang = dynamic_cast<TzxCustomLang*>(form->Components(index));
        if (lang && lang != ComponentHandle && lang->Name() != NewName)
            lang->ComponentRenamed(UTF8Decode(OldName), UTF8Decode(NewName));
    }
}
