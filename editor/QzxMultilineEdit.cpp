#include "editor/QzxMultilineEdit.h"

#include "editor/FormData.h"
#include "runtime/QzxFormStorage.h"

#include "clx/Dialogs.h"
#include "rtl/Filer.h"

#include <algorithm>

std::string_view FormData_QzxMultilineEdit();

namespace {

// Room for the window's frame and title buttons beside the caption; the
// buttons need at least the narrow width.
constexpr Integer CaptionMargin = 120;
constexpr Integer NarrowestWidth = 180;

void RegisterMultilineEditForm() {
    if (GetClass("TzxMultilineEditForm"))
        return;
    RegisterClxClasses();
    RegisterClass(TzxFormStorage::StaticClass());
    RegisterClass(TzxMultilineEditForm::StaticClass());
    RegisterMethod("MemoChange", &TzxMultilineEditForm::MemoChange);
    RegisterMethod("FormCloseQuery", &TzxMultilineEditForm::FormCloseQuery);
}

} // namespace

void TzxMultilineEditForm::AfterConstruction() {
    RegisterMultilineEditForm();
    ReadFormData(FormData_QzxMultilineEdit(), this);
    lbLines = FormControl<TLabel>(this, "lbLines");
    Memo = FormControl<TMemo>(this, "Memo");
    btnOK = FormControl<TButton>(this, "btnOK");
    FormStorage = FormControl<TzxFormStorage>(this, "FormStorage");
    TForm::AfterConstruction();
}

void TzxMultilineEditForm::MemoChange(TObject*) {
    lbLines->SetCaption(IntToStr(Memo->Lines()->Count()) + " lines");
    FTextChanged = true;
}

void TzxMultilineEditForm::LoadText(const AnsiString& Text, TMemoReturnText Kind,
                                    const TInplaceEdit* CellEditor) {
    if (Kind == mrtCommaText)
        Memo->Lines()->SetCommaText(Text);
    else
        Memo->SetText(Text);
    if (CellEditor && CellEditor->Visible()) {
        Memo->SetSelStart(CellEditor->SelStart());
        Memo->SetSelLength(CellEditor->SelLength());
    }
    MemoChange(Memo);
    // Filling the memo is no change of the user's.
    FTextChanged = false;
}

void TzxMultilineEditForm::FormCloseQuery(TObject*, bool& CanClose) {
    if (ModalResult() == mrOk || !FTextChanged)
        return;
    CanClose = MessageDlg("Close editor without saving changes?", mtWarning, mbYesNo, 0) == mrYes;
}

bool ShowMultilineEditor(const AnsiString& Text, const AnsiString& PropName,
                         TMemoReturnText ReturnKind, const AnsiString& FontName, Byte Charset,
                         AnsiString& Value, const TInplaceEdit* CellEditor) {
    RegisterMultilineEditForm();
    std::unique_ptr<TzxMultilineEditForm> window(NewForm<TzxMultilineEditForm>(Application));
    window->SetCaption("Input new value for " + PropName + "property");
    window->SetWidth(std::max(window->Canvas()->TextWidth(window->Caption()) + CaptionMargin,
                              NarrowestWidth));
    window->FormStorage->ReadSettings();
    TMemo* memo = window->Memo;
    memo->Font()->SetName(FontName);
    if (Charset < FontCharSetCount)
        memo->Font()->SetCharset(static_cast<TFontCharSet>(Charset));
    window->LoadText(Text, ReturnKind, CellEditor);
    const bool accepted = window->ShowModal() == mrOk;
    if (accepted)
        Value = ReturnKind == mrtCommaText ? memo->Lines()->CommaText() : memo->Text();
    return accepted;
}
