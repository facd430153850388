// The question before one replacement of a phrase: where it is, the text
// now and the text after it.
#pragma once

#include "clx/Forms.h"
#include "clx/StdCtrls.h"

class TfrmReplConfirm : public TForm {
    ZX_CLASS(TfrmReplConfirm, TForm)
public:
    explicit TfrmReplConfirm(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TEdit* edFileName = nullptr;
    TEdit* edPropName = nullptr;
    TEdit* edLocation = nullptr;
    TEdit* edCurText = nullptr;
    TEdit* edResultText = nullptr;
};
