#include "editor/Qdntcedit.h"

#include "editor/FormData.h"
#include "runtime/QzxComp_Dispatcher.h"

#include "clx/Buttons.h"
#include "clx/StdCtrls.h"

std::string_view FormData_Qdntcedit();

namespace {

// Moves Name to position 0 of List when it stands lower; false when List
// lacks it.
bool MoveFirst(TStrings& List, const AnsiString& Name) {
    Integer index = List.IndexOf(Name);
    if (index < 0)
        return false;
    if (index > 0)
        List.Move(index, 0);
    return true;
}

void DeleteBlankEntries(TStrings& List) {
    for (Integer index = List.Count() - 1; index >= 0; --index)
        if (Trim(List.Get(index)).empty())
            List.Delete(index);
}

bool IsOffered(TComponent* Component) {
    return !dynamic_cast<TzxCustomLang*>(Component) &&
           !dynamic_cast<TzxLangDispatcher*>(Component);
}

} // namespace

void InitQdntcedit() {
    RegisterClxClasses();
    using F = TfrmNotTranslate;
    if (GetClass("TfrmNotTranslate"))
        return;
    RegisterClass(F::StaticClass());
    RegisterMethod("FormShow", &F::FormShow);
    RegisterMethod("lbCompsClick", &F::lbCompsClick);
    RegisterMethod("lbCompsDblClick", &F::lbCompsDblClick);
    RegisterMethod("lbSelectedDblClick", &F::lbSelectedDblClick);
    RegisterMethod("sbAddClick", &F::sbAddClick);
    RegisterMethod("sbAddAllClick", &F::sbAddAllClick);
    RegisterMethod("sbRemoveClick", &F::sbRemoveClick);
    RegisterMethod("sbRemoveAllClick", &F::sbRemoveAllClick);
}

void TfrmNotTranslate::AfterConstruction() {
    ReadFormData(FormData_Qdntcedit(), this);
    lbComps = FormControl<TListBox>(this, "lbComps");
    lbSelected = FormControl<TListBox>(this, "lbSelected");
    sbAdd = FormControl<TSpeedButton>(this, "sbAdd");
    sbAddAll = FormControl<TSpeedButton>(this, "sbAddAll");
    sbRemove = FormControl<TSpeedButton>(this, "sbRemove");
    sbRemoveAll = FormControl<TSpeedButton>(this, "sbRemoveAll");
    TForm::AfterConstruction();
}

void TfrmNotTranslate::SetListsSorted(bool Value) {
    lbComps->SetSorted(Value);
    lbSelected->SetSorted(Value);
}

void TfrmNotTranslate::OwnerClassNameFirst() {
    if (!MoveFirst(*lbComps->Items(), FOwnerClassName))
        MoveFirst(*lbSelected->Items(), FOwnerClassName);
}

void TfrmNotTranslate::lbCompsClick(TObject*) {
    sbAdd->SetEnabled(lbComps->SelCount() > 0);
    sbRemove->SetEnabled(lbSelected->SelCount() > 0);
    sbAddAll->SetEnabled(lbComps->Items()->Count() > 0);
    sbRemoveAll->SetEnabled(lbSelected->Items()->Count() > 0);
}

void TfrmNotTranslate::FormShow(TObject* Sender) {
    lbCompsClick(Sender);
}

void TfrmNotTranslate::MoveSelection(TListBox* Source, TListBox* Dest) {
    Integer index = 0;
    while (index < Source->Items()->Count()) {
        if (Source->Selected(index)) {
            Dest->Items()->Add(Source->Items()->Get(index));
            Source->Items()->Delete(index);
        } else
            ++index;
    }
    lbCompsClick(this);
}

void TfrmNotTranslate::MoveAll(TStrings* Source, TStrings* Dest) {
    SetListsSorted(true);
    while (Source->Count() > 0) {
        Dest->Add(Source->Get(0));
        Source->Delete(0);
    }
    lbCompsClick(this);
    SetListsSorted(false);
    OwnerClassNameFirst();
}

void TfrmNotTranslate::lbCompsDblClick(TObject*) {
    MoveSelection(lbComps, lbSelected);
}

void TfrmNotTranslate::lbSelectedDblClick(TObject*) {
    MoveSelection(lbSelected, lbComps);
}

void TfrmNotTranslate::sbAddClick(TObject*) {
    MoveSelection(lbComps, lbSelected);
}

void TfrmNotTranslate::sbAddAllClick(TObject*) {
    MoveAll(lbComps->Items(), lbSelected->Items());
}

void TfrmNotTranslate::sbRemoveClick(TObject*) {
    MoveSelection(lbSelected, lbComps);
}

void TfrmNotTranslate::sbRemoveAllClick(TObject*) {
    MoveAll(lbSelected->Items(), lbComps->Items());
}

Integer EditDoNotTranslate(TComponent* Owner, TStrings* List, TzxCustomLang* Lang) {
    InitQdntcedit();
    std::unique_ptr<TfrmNotTranslate> form(NewForm<TfrmNotTranslate>(Application));
    form->SetListsSorted(true);
    form->lbSelected->Items()->Assign(List);
    auto offer = [&](const AnsiString& Entry) {
        if (!Entry.empty() && form->lbSelected->Items()->IndexOf(Entry) < 0)
            form->lbComps->Items()->Add(Entry);
    };
    if (Owner) {
        offer(Owner->ClassName());
        for (Integer index = 0; index < Owner->ComponentCount(); ++index)
            if (TComponent* component = Owner->Components(index); IsOffered(component))
                offer(component->Name());
        form->SetOwnerClassName(Owner->ClassName());
    }
    form->SetListsSorted(false);
    form->OwnerClassNameFirst();
    DeleteBlankEntries(*form->lbSelected->Items());
    DeleteBlankEntries(*form->lbComps->Items());
    Integer result = form->ShowModal();
    if (result == mrOk) {
        List->Assign(form->lbSelected->Items());
        Lang->ReBuildDoNotList();
    }
    return result;
}
