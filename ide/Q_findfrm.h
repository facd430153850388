// The dialog of finding and replacing a phrase in the translations of the
// selected forms. It keeps its last texts and options in its settings file.
#pragma once

#include "clx/Forms.h"
#include "clx/StdCtrls.h"

class TfrmFind : public TForm {
    ZX_CLASS(TfrmFind, TForm)
public:
    explicit TfrmFind(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TEdit* edFindText = nullptr;
    TLabel* lbReplace = nullptr;
    TEdit* edReplace = nullptr;
    TCheckBox* ckbSensit = nullptr;
    TCheckBox* ckbWhole = nullptr;
    TCheckBox* ckbIdent = nullptr;
    TCheckBox* ckbDoPrompt = nullptr;

    // Shows the replace text and the prompt option, or hides them.
    void SetReplaceMode(bool Replace);

    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
};
