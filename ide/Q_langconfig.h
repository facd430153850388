// The "Configure languages" dialog: an ordered list of language names and
// its length. The list editing commands serve the expert's options dialog
// too.
#pragma once

#include "clx/Buttons.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

// Edits Names in the dialog; Names changes only on OK. The modal result.
Integer ConfigureLanguages(TStrings* Names);

// The name editing of a language list box. Each answers whether it changed
// the list.
// Appends the name the user types (prompt captioned Caption); refused
// once the list holds the largest number of languages.
bool AddLangName(TListBox* List, const AnsiString& Caption);
// Replaces the first selected name with the one the user types.
bool RenameLangName(TListBox* List, const AnsiString& Caption);
// Deletes the selected names after the user's Yes.
bool DeleteLangNames(TListBox* List);
// The first selected name from the second line on changes places with the
// one above; MoveLangNameDown: the last selected name above the last line
// with the one below.
bool MoveLangNameUp(TListBox* List);
bool MoveLangNameDown(TListBox* List);

class TfrmLangConfig : public TForm {
    ZX_CLASS(TfrmLangConfig, TForm)
public:
    explicit TfrmLangConfig(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TEdit* edLangCount = nullptr;
    TListBox* lbLangNames = nullptr;
    TButton* btnOK = nullptr;

    void edLangCountChange(TObject* Sender);
    void edLangCountKeyPress(TObject* Sender, WideChar& Key);
    void sbUpDownClick(TObject* Sender);
    void btnAddClick(TObject* Sender);
    void btnRenameClick(TObject* Sender);
    void btnDeleteClick(TObject* Sender);
    void btnMoveUpClick(TObject* Sender);
    void btnMoveDownClick(TObject* Sender);

private:
    void ShowNameCount();
};
