// The About box of the expert and the Translation Editor, and the opening
// of a web address in the desktop's browser.
#pragma once

#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

class TfrmAbout : public TForm {
    ZX_CLASS(TfrmAbout, TForm)
public:
    explicit TfrmAbout(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    // The labels that open a web page, the address chosen by their Tag.
    std::vector<TLabel*> LinkLabels() const;
    void Label3Click(TObject* Sender);
};

// The web address a link label's Tag selects, empty for an unknown Tag.
AnsiString AboutLinkAddress(Integer Tag);

// Opens Address with the desktop's opener ("xdg-open" found on PATH) in a
// process of its own that nobody needs to wait for. False, after telling
// the user, when there is no opener or no process could be made.
bool OpenURL(const AnsiString& Address);
