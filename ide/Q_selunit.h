// The chooser of a project unit without a form and of the form whose
// translation component receives that unit's strings.
#pragma once

#include "clx/Forms.h"
#include "clx/StdCtrls.h"

class TfrmTranslUnits : public TForm {
    ZX_CLASS(TfrmTranslUnits, TForm)
public:
    explicit TfrmTranslUnits(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TListBox* lbUnits = nullptr;
    TEdit* edUnitName = nullptr;
    TComboBox* cbFormNames = nullptr;
    TButton* btOK = nullptr;

    // The choice, set when the dialog closes with OK.
    AnsiString UnitName;
    AnsiString FormName;

    void edUnitNameChange(TObject* Sender);
    void lbUnitsClick(TObject* Sender);
    void cbFormNamesChange(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);

private:
    // OK only with a unit of the list selected and a form chosen (when
    // the form is asked for).
    void UpdateOK();
};
