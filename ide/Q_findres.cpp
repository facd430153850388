#include "ide/Q_findres.h"

#include "editor/FormData.h"
#include "rtl/Filer.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxFormStorage.h"

std::string_view FormData_Q_findres();

void TfrmFindResults::AfterConstruction() {
    RegisterClxClasses();
    InitQzxComp();
    if (!GetClass("TfrmFindResults"))
        RegisterClass(TfrmFindResults::StaticClass());
    ReadFormData(FormData_Q_findres(), this);
    LVIDs = FormControl<TListView>(this, "LVIDs");
    FormControl<TzxFormStorage>(this, "FormStorage")->SetMyActive(true);
    TForm::AfterConstruction();
}
