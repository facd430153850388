#include "ide/Q_selunit.h"

#include "editor/FormData.h"
#include "rtl/Filer.h"
#include "rtl/SysUtils.h"

std::string_view FormData_Q_selunit();

void TfrmTranslUnits::AfterConstruction() {
    RegisterClxClasses();
    if (!GetClass("TfrmTranslUnits")) {
        RegisterClass(TfrmTranslUnits::StaticClass());
        RegisterMethod("edUnitNameChange", &TfrmTranslUnits::edUnitNameChange);
        RegisterMethod("lbUnitsClick", &TfrmTranslUnits::lbUnitsClick);
        RegisterMethod("cbFormNamesChange", &TfrmTranslUnits::cbFormNamesChange);
        RegisterMethod("FormClose", &TfrmTranslUnits::FormClose);
    }
    ReadFormData(FormData_Q_selunit(), this);
    lbUnits = FormControl<TListBox>(this, "lbUnits");
    edUnitName = FormControl<TEdit>(this, "edUnitName");
    cbFormNames = FormControl<TComboBox>(this, "cbFormNames");
    btOK = FormControl<TButton>(this, "btOK");
    TForm::AfterConstruction();
}

// The list box's own search: the first unit the typed text begins.
void TfrmTranslUnits::edUnitNameChange(TObject*) {
    const AnsiString typed = AnsiUpperCase(edUnitName->Text());
    Integer found = -1;
    for (Integer index = 0; !typed.empty() && index < lbUnits->Items()->Count() && found < 0; ++index)
        if (AnsiUpperCase(lbUnits->Items()->Get(index)).rfind(typed, 0) == 0)
            found = index;
    lbUnits->SetItemIndex(found);
    UpdateOK();
}

void TfrmTranslUnits::lbUnitsClick(TObject*) {
    if (lbUnits->ItemIndex() >= 0)
        edUnitName->SetText(lbUnits->Items()->Get(lbUnits->ItemIndex()));
    UpdateOK();
}

void TfrmTranslUnits::cbFormNamesChange(TObject*) { UpdateOK(); }

void TfrmTranslUnits::UpdateOK() {
    btOK->SetEnabled(lbUnits->ItemIndex() >= 0 &&
                     (!cbFormNames->Visible() || cbFormNames->ItemIndex() >= 0));
}

void TfrmTranslUnits::FormClose(TObject*, TCloseAction&) {
    if (ModalResult() != mrOk || lbUnits->ItemIndex() < 0 || cbFormNames->ItemIndex() < 0)
        return;
    UnitName = lbUnits->Items()->Get(lbUnits->ItemIndex());
    FormName = cbFormNames->Items()->Get(cbFormNames->ItemIndex());
}
