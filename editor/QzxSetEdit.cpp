#include "editor/QzxSetEdit.h"

#include "editor/FormData.h"

#include "rtl/Filer.h"

#include <algorithm>

std::string_view FormData_QzxSetEdit();

namespace {

// Room for the window's frame and title buttons beside the caption; the
// two buttons need at least the narrow width.
constexpr Integer CaptionMargin = 120;
constexpr Integer NarrowestWidth = 150;

} // namespace

void TzxSetEditForm::AfterConstruction() {
    if (!GetClass("TzxSetEditForm")) {
        RegisterClxClasses();
        RegisterClass(TzxSetEditForm::StaticClass());
    }
    ReadFormData(FormData_QzxSetEdit(), this);
    CheckList = FormControl<TCheckListBox>(this, "CheckList");
    TForm::AfterConstruction();
}

bool ShowSetEditor(TStrings* Items, TStrings* Selected, const AnsiString& Caption) {
    std::unique_ptr<TzxSetEditForm> dialog(NewForm<TzxSetEditForm>(Application));
    dialog->SetCaption(Caption);
    dialog->SetClientWidth(
        std::max(dialog->Canvas()->TextWidth(Caption) + CaptionMargin, NarrowestWidth));
    TCheckListBox* list = dialog->CheckList;
    list->Items()->Assign(Items);
    for (Integer index = 0; index < list->Items()->Count(); ++index)
        list->SetChecked(index, Selected->IndexOf(list->Items()->Get(index)) >= 0);
    if (dialog->ShowModal() != mrOk)
        return false;
    Selected->Clear();
    for (Integer index = 0; index < list->Items()->Count(); ++index)
        if (list->Checked(index))
            Selected->Add(list->Items()->Get(index));
    return true;
}
