#include "ide/Q_stridrepl.h"

#include "clx/Dialogs.h"
#include "clx/Keys.h"
#include "editor/FormData.h"
#include "rtl/Filer.h"
#include "rtl/SysUtils.h"

std::string_view FormData_Q_stridrepl();

namespace {

const char* const NoLines = "There is no lines to modify in unit source.";

void SelectAll(TListBox* List) {
    for (Integer index = 0; index < List->Items()->Count(); ++index)
        List->SetSelected(index, true);
}

} // namespace

void TfrmStrReplace::AfterConstruction() {
    RegisterClxClasses();
    if (!GetClass("TfrmStrReplace")) {
        RegisterClass(TfrmStrReplace::StaticClass());
        RegisterMethod("btAddClick", &TfrmStrReplace::btAddClick);
        RegisterMethod("btAddAllClick", &TfrmStrReplace::btAddAllClick);
        RegisterMethod("btRemoveClick", &TfrmStrReplace::btRemoveClick);
        RegisterMethod("btRemoveAllClick", &TfrmStrReplace::btRemoveAllClick);
        RegisterMethod("btReplaceClick", &TfrmStrReplace::btReplaceClick);
        RegisterMethod("pmlvActionsPopup", &TfrmStrReplace::pmlvActionsPopup);
        RegisterMethod("lvSourceLinesChange", &TfrmStrReplace::lvSourceLinesChange);
        RegisterMethod("lvSourceLinesKeyUp", &TfrmStrReplace::lvSourceLinesKeyUp);
        RegisterMethod("Delete1Click", &TfrmStrReplace::Delete1Click);
        RegisterMethod("Invertselection1Click", &TfrmStrReplace::Invertselection1Click);
        RegisterMethod("Editresultline1Click", &TfrmStrReplace::Editresultline1Click);
    }
    ReadFormData(FormData_Q_stridrepl(), this);
    pcPages = FormControl<TPageControl>(this, "pcPages");
    tsUnits = FormControl<TTabSheet>(this, "tsUnits");
    tsLines = FormControl<TTabSheet>(this, "tsLines");
    lbUnits = FormControl<TListBox>(this, "lbUnits");
    lbSelectedUnits = FormControl<TListBox>(this, "lbSelectedUnits");
    lbUnitFile = FormControl<TLabel>(this, "lbUnitFile");
    lvSourceLines = FormControl<TListView>(this, "lvSourceLines");
    btReplace = FormControl<TButton>(this, "btReplace");
    Delete1 = FormControl<TMenuItem>(this, "Delete1");
    Invertselection1 = FormControl<TMenuItem>(this, "Invertselection1");
    Editresultline1 = FormControl<TMenuItem>(this, "Editresultline1");
    TForm::AfterConstruction();
}

void TfrmStrReplace::SetUnits(const std::map<AnsiString, AnsiString>& Files) {
    UnitFiles = Files;
    lbUnits->Items()->Clear();
    for (const auto& [name, file] : Files)
        lbUnits->Items()->Add(name);
    pcPages->SetActivePage(tsUnits);
}

// ---------------------------------------------------------------------------
// The units

void TfrmStrReplace::MoveSelected(TListBox* From, TListBox* To) {
    for (Integer index = 0; index < From->Items()->Count();)
        if (From->Selected(index)) {
            To->Items()->Add(From->Items()->Get(index));
            From->Items()->Delete(index);
        } else
            ++index;
}

void TfrmStrReplace::btAddClick(TObject*) { MoveSelected(lbUnits, lbSelectedUnits); }

void TfrmStrReplace::btAddAllClick(TObject*) {
    SelectAll(lbUnits);
    MoveSelected(lbUnits, lbSelectedUnits);
}

void TfrmStrReplace::btRemoveClick(TObject*) { MoveSelected(lbSelectedUnits, lbUnits); }

void TfrmStrReplace::btRemoveAllClick(TObject*) {
    SelectAll(lbSelectedUnits);
    MoveSelected(lbSelectedUnits, lbUnits);
}

// ---------------------------------------------------------------------------
// The lines of each unit

void TfrmStrReplace::btReplaceClick(TObject*) {
    if (pcPages->ActivePage() == tsLines)
        KeepShownUnit();
    else {
        FPending.clear();
        Changes.clear();
        for (Integer index = lbSelectedUnits->Items()->Count(); index-- > 0;)
            FPending.push_back(UnitFiles[lbSelectedUnits->Items()->Get(index)]);
    }
    if (ShowNextUnit())
        return;
    if (Changes.empty())
        pcPages->SetActivePage(tsUnits);
    else
        SetModalResult(mrOk);
}

bool TfrmStrReplace::ShowNextUnit() {
    while (!FPending.empty()) {
        FShownFile = FPending.back();
        FPending.pop_back();
        FShownLines.clear();
        if (!ReadLines || !ReadLines(FShownFile, FShownLines))
            continue;
        if (FShownLines.empty()) {
            MessageDlg(NoLines, mtInformation, {mbOk}, 0);
            continue;
        }
        lbUnitFile->SetCaption(Format("Unit file: %s", {ExtractFileName(FShownFile)}));
        lvSourceLines->Items()->Clear();
        for (std::size_t index = 0; index < FShownLines.size(); ++index) {
            TListItem* row = lvSourceLines->Items()->Add();
            row->SetCaption(IntToStr(Integer(FShownLines[index].Line) + 1));
            row->SubItems()->Add(FShownLines[index].Text);
            row->SubItems()->Add(FShownLines[index].Result);
            row->SetData(reinterpret_cast<void*>(index));
        }
        btReplace->SetCaption("&Replace");
        pcPages->SetActivePage(tsLines);
        pmlvActionsPopup(this);
        return true;
    }
    return false;
}

void TfrmStrReplace::KeepShownUnit() {
    std::vector<TRenamedLine> kept;
    TListItems* rows = lvSourceLines->Items();
    for (Integer index = 0; index < rows->Count(); ++index) {
        TRenamedLine line = FShownLines[reinterpret_cast<std::size_t>(rows->Item(index)->Data())];
        line.Result = rows->Item(index)->SubItems()->Get(1);
        kept.push_back(line);
    }
    if (!kept.empty())
        Changes[FShownFile] = kept;
}

void TfrmStrReplace::pmlvActionsPopup(TObject*) {
    const bool selected = lvSourceLines->SelCount() > 0;
    Invertselection1->SetEnabled(lvSourceLines->Items()->Count() > 0);
    Delete1->SetEnabled(selected);
    Editresultline1->SetEnabled(selected);
}

void TfrmStrReplace::lvSourceLinesChange(TObject* Sender, TListItem*, TItemChange) { pmlvActionsPopup(Sender); }

void TfrmStrReplace::lvSourceLinesKeyUp(TObject*, Integer& Key, TShiftState Shift) {
    if (Key == Integer('A') && Shift.Contains(ssCtrl))
        lvSourceLines->SelectAll();
}

void TfrmStrReplace::Delete1Click(TObject*) {
    if (MessageDlg("Delete selected row(s)?", mtConfirmation, mbYesNo, 0) != mrYes)
        return;
    TListItems* rows = lvSourceLines->Items();
    for (Integer index = rows->Count(); index-- > 0;)
        if (rows->Item(index)->Selected())
            rows->Delete(index);
    pmlvActionsPopup(this);
}

void TfrmStrReplace::Invertselection1Click(TObject*) {
    TListItems* rows = lvSourceLines->Items();
    for (Integer index = 0; index < rows->Count(); ++index)
        rows->Item(index)->SetSelected(!rows->Item(index)->Selected());
}

void TfrmStrReplace::Editresultline1Click(TObject*) {
    TListItem* row = lvSourceLines->Selected();
    if (!row)
        return;
    AnsiString result = row->SubItems()->Get(1);
    // A result line is one line: a line end typed in would add lines.
    if (InputQuery("Modifying result line", "Type new value for result line:", result))
        row->SubItems()->Put(1, StringReplace(StringReplace(result, "\r", "", {rfReplaceAll}), "\n", "",
                                              {rfReplaceAll}));
}
