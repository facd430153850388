#include "ide/Q_langconfig.h"

#include "clx/Dialogs.h"
#include "editor/FormData.h"
#include "rtl/Filer.h"
#include "runtime/QzxComp.h"

std::string_view FormData_Q_langconfig();

namespace {

const char* const ConfigureCaption = "TzxLang Expert configure languages";
const char* const NewNamePrompt = "Enter new language name:";

Integer FirstSelected(const TListBox* List) {
    for (Integer index = 0; index < List->Items()->Count(); ++index)
        if (List->Selected(index))
            return index;
    return -1;
}

// The name at From changes places with the one at To, and is selected there.
void ExchangeNames(TListBox* List, Integer From, Integer To) {
    List->Items()->Exchange(From, To);
    List->SetSelected(From, false);
    List->SetSelected(To, true);
}

} // namespace

// ---------------------------------------------------------------------------
// Editing a list of language names

bool AddLangName(TListBox* List, const AnsiString& Caption) {
    if (List->Items()->Count() >= MaxNumOfLanguages) {
        MessageDlg(Format("A translation component holds at most %d languages.",
                          {MaxNumOfLanguages}),
                   mtError, {mbOk}, 0);
        return false;
    }
    AnsiString name;
    if (!InputQuery(Caption, NewNamePrompt, name) || name.empty())
        return false;
    List->Items()->Add(name);
    return true;
}

bool RenameLangName(TListBox* List, const AnsiString& Caption) {
    const Integer selected = FirstSelected(List);
    if (selected < 0)
        return false;
    AnsiString name = List->Items()->Get(selected);
    if (!InputQuery(Caption, NewNamePrompt, name) || name.empty())
        return false;
    List->Items()->Put(selected, name);
    return true;
}

bool DeleteLangNames(TListBox* List) {
    if (List->SelCount() == 0 ||
        MessageDlg("Delete selected language name(s)?", mtConfirmation, {mbYes, mbNo}, 0) !=
            mrYes)
        return false;
    for (Integer index = List->Items()->Count() - 1; index >= 0; --index)
        if (List->Selected(index))
            List->Items()->Delete(index);
    return true;
}

bool MoveLangNameUp(TListBox* List) {
    if (List->Items()->Count() < 2)
        return false;
    for (Integer index = 1; index < List->Items()->Count(); ++index)
        if (List->Selected(index)) {
            ExchangeNames(List, index, index - 1);
            return true;
        }
    return false;
}

bool MoveLangNameDown(TListBox* List) {
    const Integer count = List->Items()->Count();
    if (count < 2)
        return false;
    for (Integer index = count - 2; index >= 0; --index)
        if (List->Selected(index)) {
            ExchangeNames(List, index, index + 1);
            return true;
        }
    return false;
}

// ---------------------------------------------------------------------------
// The dialog

Integer ConfigureLanguages(TStrings* Names) {
    RegisterClxClasses();
    std::unique_ptr<TfrmLangConfig> dialog(NewForm<TfrmLangConfig>(Application));
    dialog->lbLangNames->Items()->Assign(Names);
    dialog->edLangCount->SetText(IntToStr(Names->Count()));
    const Integer result = dialog->ShowModal();
    if (result == mrOk)
        Names->Assign(dialog->lbLangNames->Items());
    return result;
}

void TfrmLangConfig::AfterConstruction() {
    if (!GetClass("TfrmLangConfig")) {
        RegisterClass(TfrmLangConfig::StaticClass());
        RegisterMethod("edLangCountChange", &TfrmLangConfig::edLangCountChange);
        RegisterMethod("edLangCountKeyPress", &TfrmLangConfig::edLangCountKeyPress);
        RegisterMethod("sbUpDownClick", &TfrmLangConfig::sbUpDownClick);
        RegisterMethod("btnAddClick", &TfrmLangConfig::btnAddClick);
        RegisterMethod("btnRenameClick", &TfrmLangConfig::btnRenameClick);
        RegisterMethod("btnDeleteClick", &TfrmLangConfig::btnDeleteClick);
        RegisterMethod("btnMoveUpClick", &TfrmLangConfig::btnMoveUpClick);
        RegisterMethod("btnMoveDownClick", &TfrmLangConfig::btnMoveDownClick);
    }
    ReadFormData(FormData_Q_langconfig(), this);
    edLangCount = FormControl<TEdit>(this, "edLangCount");
    lbLangNames = FormControl<TListBox>(this, "lbLangNames");
    btnOK = FormControl<TButton>(this, "btnOK");
    TForm::AfterConstruction();
}

// A number above the runtime's bound is brought down to it, so the list
// never grows past what a translation component holds.
void TfrmLangConfig::edLangCountChange(TObject*) {
    Integer count = 0;
    if (!TryStrToInt(edLangCount->Text(), count))
        return;
    if (count > MaxNumOfLanguages) {
        edLangCount->SetText(IntToStr(MaxNumOfLanguages));
        return;
    }
    btnOK->SetEnabled(count > 0);
    TStrings* names = lbLangNames->Items();
    while (names->Count() < count)
        names->Add("Language N" + IntToStr(names->Count() + 1));
}

void TfrmLangConfig::edLangCountKeyPress(TObject*, WideChar& Key) {
    if (Key >= u' ' && (Key < u'0' || Key > u'9'))
        Key = 0;
}

void TfrmLangConfig::sbUpDownClick(TObject* Sender) {
    Integer count = 0;
    if (!TryStrToInt(edLangCount->Text(), count))
        return;
    const Integer stepped = count + static_cast<TComponent*>(Sender)->Tag();
    if (stepped >= 1 && stepped <= MaxNumOfLanguages)
        edLangCount->SetText(IntToStr(stepped));
}

void TfrmLangConfig::ShowNameCount() {
    edLangCount->SetText(IntToStr(lbLangNames->Items()->Count()));
}

void TfrmLangConfig::btnAddClick(TObject*) {
    if (AddLangName(lbLangNames, ConfigureCaption))
        ShowNameCount();
}

void TfrmLangConfig::btnRenameClick(TObject*) { RenameLangName(lbLangNames, ConfigureCaption); }

void TfrmLangConfig::btnDeleteClick(TObject*) {
    if (DeleteLangNames(lbLangNames))
        ShowNameCount();
}

void TfrmLangConfig::btnMoveUpClick(TObject*) { MoveLangNameUp(lbLangNames); }

void TfrmLangConfig::btnMoveDownClick(TObject*) { MoveLangNameDown(lbLangNames); }
