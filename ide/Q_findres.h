// The window of the matches of a search across forms: one row per match,
// its placement kept in the settings.
#pragma once

#include "clx/ComCtrls.h"
#include "clx/Forms.h"

class TfrmFindResults : public TForm {
    ZX_CLASS(TfrmFindResults, TForm)
public:
    explicit TfrmFindResults(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TListView* LVIDs = nullptr;
};
