// The question the Translation Editor's Exclude command asks: exclude one
// property of a component, the whole component, or a property of every
// component (on the Extended tab: remove the row, the component's rows, or
// the property's rows).
#pragma once

#include "editor/QzxTransEditor.h"

#include "clx/ExtCtrls.h"
#include "clx/StdCtrls.h"

class TExclActionForm : public TForm {
    ZX_CLASS(TExclActionForm, TForm)
public:
    // AOwner is the editor form whose caption and view the question takes.
    explicit TExclActionForm(TComponent* AOwner);
    void AfterConstruction() override;

    // Mode (0 to 2) is the choice offered first; eaUndefined when the
    // dialog closes without OK.
    TExclActionResult Dialog(const AnsiString& PropName, const AnsiString& CompName, Integer Mode);

    TzxTransEditFrm* EditorForm = nullptr;
    TButton* btnOK = nullptr;
    TButton* btnCancel = nullptr;
    TRadioGroup* rgAction = nullptr;

private:
    void FitToItems();
};
