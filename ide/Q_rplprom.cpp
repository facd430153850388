#include "ide/Q_rplprom.h"

#include "editor/FormData.h"
#include "rtl/Filer.h"

std::string_view FormData_Q_rplprom();

void TfrmReplConfirm::AfterConstruction() {
    RegisterClxClasses();
    if (!GetClass("TfrmReplConfirm"))
        RegisterClass(TfrmReplConfirm::StaticClass());
    ReadFormData(FormData_Q_rplprom(), this);
    edFileName = FormControl<TEdit>(this, "edFileName");
    edPropName = FormControl<TEdit>(this, "edPropName");
    edLocation = FormControl<TEdit>(this, "edLocation");
    edCurText = FormControl<TEdit>(this, "edCurText");
    edResultText = FormControl<TEdit>(this, "edResultText");
    TForm::AfterConstruction();
}
