#include "editor/Q_langnames.h"

#include "editor/FormData.h"

#include "rtl/Filer.h"

std::string_view FormData_Q_langnames();

Integer ChangeLanguagesDlg(TStrings* Names) {
    RegisterClxClasses();
    std::unique_ptr<TfrmLangNames> dialog(NewForm<TfrmLangNames>(Application));
    dialog->lbLanguages->Items()->Assign(Names);
    const Integer result = dialog->ShowModal();
    if (result == mrOk)
        Names->Assign(dialog->lbLanguages->Items());
    return result;
}

bool HasEmptyName(const TStrings* List) {
    for (Integer index = 0; index < List->Count(); ++index)
        if (List->Get(index).empty())
            return true;
    return false;
}

void TfrmLangNames::AfterConstruction() {
    if (!GetClass("TfrmLangNames")) {
        RegisterClass(TfrmLangNames::StaticClass());
        RegisterMethod("FormShow", &TfrmLangNames::FormShow);
        RegisterMethod("lbLanguagesClick", &TfrmLangNames::lbLanguagesClick);
        RegisterMethod("edNameChange", &TfrmLangNames::edNameChange);
        RegisterMethod("btnModifyClick", &TfrmLangNames::btnModifyClick);
        RegisterMethod("lbLanguagesDrawItem", &TfrmLangNames::lbLanguagesDrawItem);
        RegisterMethod("lbLanguagesMeasureItem", &TfrmLangNames::lbLanguagesMeasureItem);
    }
    ReadFormData(FormData_Q_langnames(), this);
    lbLanguages = FormControl<TListBox>(this, "lbLanguages");
    edName = FormControl<TEdit>(this, "edName");
    btnModify = FormControl<TButton>(this, "btnModify");
    btnOK = FormControl<TButton>(this, "btnOK");
    btnCancel = FormControl<TButton>(this, "btnCancel");
    Label1 = FormControl<TLabel>(this, "Label1");
    TForm::AfterConstruction();
}

void TfrmLangNames::FormShow(TObject*) {
    FStartNames = lbLanguages->Items()->CommaText();
    lbLanguages->SetItemIndex(0);
    lbLanguagesClick(lbLanguages);
    UpdateButtons();
}

void TfrmLangNames::lbLanguagesClick(TObject*) {
    const Integer index = lbLanguages->ItemIndex();
    edName->SetText(index >= 0 ? lbLanguages->Items()->Get(index) : AnsiString());
}

void TfrmLangNames::edNameChange(TObject*) {
    UpdateButtons();
}

void TfrmLangNames::btnModifyClick(TObject*) {
    const Integer index = lbLanguages->ItemIndex();
    if (index >= 0)
        lbLanguages->Items()->Put(index, edName->Text());
    UpdateButtons();
}

void TfrmLangNames::UpdateButtons() {
    TStrings* items = lbLanguages->Items();
    btnOK->SetEnabled(!HasEmptyName(items) && items->CommaText() != FStartNames);
    const Integer index = lbLanguages->ItemIndex();
    const AnsiString name = Trim(edName->Text());
    btnModify->SetEnabled(index >= 0 && !name.empty() && name != items->Get(index));
}

void TfrmLangNames::lbLanguagesDrawItem(TObject*, Integer Index, TRect Rect, TOwnerDrawState State,
                                        bool& Handled) {
    TCanvas* canvas = lbLanguages->Canvas();
    const bool selected = State.Contains(odSelected);
    canvas->Brush()->SetColor(selected ? clHighlight : clBase);
    canvas->FillRect(Rect);
    const AnsiString& entry = lbLanguages->Items()->Get(Index);
    if (selected)
        canvas->Font()->SetColor(clBase);
    else
        canvas->Font()->SetColor(entry.empty() ? clLight : clText);
    canvas->TextOut(Rect.Left + 1, Rect.Top + 1, entry.empty() ? AnsiString("<no name>") : entry);
    Handled = true;
}

void TfrmLangNames::lbLanguagesMeasureItem(TWinControl*, Integer, Integer& Height) {
    Height = lbLanguages->Canvas()->TextHeight("H") + 4;
}
