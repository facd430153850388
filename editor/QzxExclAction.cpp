#include "editor/QzxExclAction.h"

#include "editor/FormData.h"

#include "rtl/Filer.h"

#include <algorithm>

std::string_view FormData_QzxExclAction();

namespace {

// Beside the widest item: its radio button and the group's frame.
constexpr Integer ItemMargin = 48;

} // namespace

TExclActionForm::TExclActionForm(TComponent* AOwner)
    : TForm(AOwner), EditorForm(dynamic_cast<TzxTransEditFrm*>(AOwner)) {}

void TExclActionForm::AfterConstruction() {
    if (!GetClass("TExclActionForm")) {
        RegisterClxClasses();
        RegisterClass(TExclActionForm::StaticClass());
    }
    ReadFormData(FormData_QzxExclAction(), this);
    btnOK = FormControl<TButton>(this, "btnOK");
    btnCancel = FormControl<TButton>(this, "btnCancel");
    rgAction = FormControl<TRadioGroup>(this, "rgAction");
    TForm::AfterConstruction();
}

TExclActionResult TExclActionForm::Dialog(const AnsiString& PropName, const AnsiString& CompName,
                                          Integer Mode) {
    const bool extended = EditorForm && EditorForm->ExtendedShown();
    if (EditorForm)
        SetCaption(EditorForm->Caption());
    TStrings* items = rgAction->Items();
    items->Clear();
    if (extended) {
        items->Add("Remove selected row");
        items->Add(Format("Remove all properties of %s", {CompName}));
        items->Add(Format("Remove \"%s\" property for all components", {PropName}));
    } else {
        items->Add(Format("Exclude \"%s\" property for %s", {PropName, CompName}));
        items->Add(Format("Do not translate all properties of %s", {CompName}));
        items->Add(Format("Exclude \"%s\" property for all Components", {PropName}));
    }
    FitToItems();
    rgAction->SetItemIndex(std::clamp(Mode, 0, items->Count() - 1));
    if (ShowModal() != mrOk)
        return eaUndefined;
    switch (rgAction->ItemIndex()) {
    case 0:
        return eaOnlyProperty;
    case 1:
        return eaNotTranslate;
    case 2:
        return eaAll;
    default:
        return eaUndefined;
    }
}

// The window is as wide as its widest item needs, the buttons in its middle.
void TExclActionForm::FitToItems() {
    TStrings* items = rgAction->Items();
    Integer widest = 0;
    for (Integer index = 0; index < items->Count(); ++index)
        widest = std::max(widest, Canvas()->TextWidth(items->Get(index)));
    const Integer groupWidth =
        std::max(widest + Canvas()->TextWidth("W") + ItemMargin, rgAction->Width());
    rgAction->SetWidth(groupWidth);
    SetClientWidth(rgAction->Left() * 2 + groupWidth);
    const Integer gap = btnCancel->Left() - btnOK->Left() - btnOK->Width();
    const Integer buttons = btnOK->Width() + gap + btnCancel->Width();
    btnOK->SetLeft((ClientWidth() - buttons) / 2);
    btnCancel->SetLeft(btnOK->Left() + btnOK->Width() + gap);
}
