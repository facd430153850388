// The "Language Names" dialog: renames the languages of a translation
// component one at a time. It neither adds, deletes nor reorders them, so
// the grid's columns stay as they are.
#pragma once

#include "clx/Forms.h"
#include "clx/StdCtrls.h"

// Shows Names for renaming; on OK (the result 1) Names holds the new names.
Integer ChangeLanguagesDlg(TStrings* Names);
// Whether any entry of List is empty (blanks count as text).
bool HasEmptyName(const TStrings* List);

class TfrmLangNames : public TForm {
    ZX_CLASS(TfrmLangNames, TForm)
public:
    explicit TfrmLangNames(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TListBox* lbLanguages = nullptr;
    TEdit* edName = nullptr;
    TButton* btnModify = nullptr;
    TButton* btnOK = nullptr;
    TButton* btnCancel = nullptr;
    TLabel* Label1 = nullptr;

    void FormShow(TObject* Sender);
    void lbLanguagesClick(TObject* Sender);
    void edNameChange(TObject* Sender);
    void btnModifyClick(TObject* Sender);
    void UpdateButtons();
    void lbLanguagesDrawItem(TObject* Sender, Integer Index, TRect Rect, TOwnerDrawState State,
                             bool& Handled);
    void lbLanguagesMeasureItem(TWinControl* Control, Integer Index, Integer& Height);

private:
    // The names as they stood when the dialog was shown.
    AnsiString FStartNames;
};
