// The one list of the classes form files can create from this library; a
// new control class adds its line here.
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

void RegisterClxClasses() {
    RegisterClasses({
        TForm::StaticClass(),
        TFrame::StaticClass(),
        TDataModule::StaticClass(),
        TLabel::StaticClass(),
        TButton::StaticClass(),
        TEdit::StaticClass(),
    });
}
