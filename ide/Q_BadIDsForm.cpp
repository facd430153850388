#include "ide/Q_BadIDsForm.h"

#include "editor/FormData.h"
#include "ide/QzxLangExp.h"
#include "ide/QzxLangForm.h"
#include "rtl/Filer.h"
#include "rtl/SysUtils.h"

#include <vector>

std::string_view FormData_Q_BadIDsForm();

TfrmBadIDs* frmBadIDs = nullptr;

namespace {

// The widths of the last window's columns, given to the next one.
std::vector<Integer> LastColumnWidths;

} // namespace

AnsiString FindingText(const TListItem* Row, TBadIDText Which) {
    TStrings* subItems = Row->SubItems();
    return Which < subItems->Count() ? subItems->Get(Which) : AnsiString();
}

void TfrmBadIDs::AfterConstruction() {
    RegisterClxClasses();
    if (!GetClass("TfrmBadIDs")) {
        RegisterClass(TfrmBadIDs::StaticClass());
        RegisterClass(TzxFormStorage::StaticClass());
        RegisterMethod("FormCreate", &TfrmBadIDs::FormCreate);
        RegisterMethod("FormClose", &TfrmBadIDs::FormClose);
        RegisterMethod("PopupMenu1Popup", &TfrmBadIDs::PopupMenu1Popup);
        RegisterMethod("ShowSource1Click", &TfrmBadIDs::ShowSource1Click);
    }
    ReadFormData(FormData_Q_BadIDsForm(), this);
    TForm::AfterConstruction();
}

void TfrmBadIDs::BeforeDestruction() {
    if (IDsList) {
        LastColumnWidths.clear();
        for (Integer index = 0; index < IDsList->Columns()->Count(); ++index)
            LastColumnWidths.push_back(IDsList->Columns()->Items(index)->Width());
        IDsList = nullptr;
    }
    TForm::BeforeDestruction();
}

TfrmBadIDs::~TfrmBadIDs() {
    if (frmBadIDs == this)
        frmBadIDs = nullptr;
}

void TfrmBadIDs::FormCreate(TObject*) {
    IDsList = FormControl<TListView>(this, "IDsList");
    StatusBar1 = FormControl<TStatusBar>(this, "StatusBar1");
    PopupMenu1 = FormControl<TPopupMenu>(this, "PopupMenu1");
    ShowSource1 = FormControl<TMenuItem>(this, "ShowSource1");
    Delete1 = FormControl<TMenuItem>(this, "Delete1");
    FormStorage = FormControl<TzxFormStorage>(this, "FormStorage");
    FormStorage->SetSubKey(UTF8Decode("\\Software\\Talvenko\\TzxLang\\IDForm"));
    Delete1->OnClick = [this](TObject*) {
        if (frmzxLang)
            frmzxLang->DeleteStringByID(IDsList->Selected());
    };
    for (Integer index = 0;
         index < std::min<Integer>(IDsList->Columns()->Count(), Integer(LastColumnWidths.size())); ++index)
        IDsList->Columns()->Items(index)->SetWidth(LastColumnWidths[std::size_t(index)]);
}

void TfrmBadIDs::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TfrmBadIDs::PopupMenu1Popup(TObject*) {
    const TListItem* row = IDsList->Selected();
    ShowSource1->SetEnabled(row != nullptr);
    Delete1->SetEnabled(row && FindingText(row, btInfo).find(IndexInfo) != AnsiString::npos);
}

void TfrmBadIDs::ShowSource1Click(TObject*) {
    if (IDsList->OnDblClick)
        IDsList->OnDblClick(IDsList);
}

void TfrmBadIDs::UpdateTotal() {
    StatusBar1->Panels()->Items(1)->SetText(IntToStr(IDsList->Items()->Count()));
}
