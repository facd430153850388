// A row's form opened in the IDE for one operation on its translation
// component, closed again (saved first when the operation changed it)
// unless it was open before.
#pragma once

#include "ide/QzxLangForm.h"

class TOpenedForm {
public:
    // Exception with the reason when the form or its component cannot be
    // reached.
    explicit TOpenedForm(TListItem* Row);
    ~TOpenedForm();
    TOpenedForm(const TOpenedForm&) = delete;
    TOpenedForm& operator=(const TOpenedForm&) = delete;

    TzxCustomLang& Lang() const { return *FLang; }
    bool WasOpen() const { return FWasOpen; }
    // Marks the form modified when its component changed; a form opened
    // for the operation is saved.
    void Changed();

private:
    AnsiString FFormName;
    AnsiString FFileName;
    bool FWasOpen = false;
    TzxCustomLang* FLang = nullptr;
    AnsiString FBefore;
};
