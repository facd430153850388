// The Translation Editor's set editor: a modal check list of a set type's
// element names, for the rows of set-typed extended properties.
#pragma once

#include "clx/CheckLst.h"
#include "clx/Forms.h"

class TzxSetEditForm : public TForm {
    ZX_CLASS(TzxSetEditForm, TForm)
public:
    explicit TzxSetEditForm(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TCheckListBox* CheckList = nullptr;
};

// Lists Items with those in Selected checked; after OK Selected holds the
// checked ones in list order and the result is True.
bool ShowSetEditor(TStrings* Items, TStrings* Selected, const AnsiString& Caption);
