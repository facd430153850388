#include "ide/QzxOpenedForm.h"

#include "ide/QzxLangExp.h"
#include "runtime/QzxComp.h"

namespace {

const char* const NoFormModule = "the IDE has no form module for it";
const char* const NotOpened = "the IDE did not open %s";
const char* const NotSaved = "the form was not saved";
const char* const NoComponent = "it has no translation component";

} // namespace

TOpenedForm::TOpenedForm(TListItem* Row)
    : FFormName(Row->Caption()), FFileName(RowText(Row, rtFileName)) {
    FWasOpen = FzxLangExpert->IsFileOpen(FFileName);
    if (!FWasOpen && !FzxLangExpert->OpenFile(FFileName))
        throw Exception(Format(NotOpened, {FFileName}));
    const bool correct = FzxLangExpert->TestForCorrectForm(FFormName);
    FLang = correct ? FirstLangOf(FormRootByName(FFormName)) : nullptr;
    if (!FLang) {
        if (!FWasOpen)
            FzxLangExpert->CloseFile(FFileName);
        throw Exception(correct ? NoComponent : NoFormModule);
    }
    FBefore = TranslationState(*FLang);
}

TOpenedForm::~TOpenedForm() {
    if (!FWasOpen)
        FzxLangExpert->CloseFile(FFileName);
}

void TOpenedForm::Changed() {
    if (TranslationState(*FLang) == FBefore)
        return;
    FzxLangExpert->GetDesignerByFormName(FFormName);
    FzxLangExpert->MarkModifiedForm(FFormName);
    if (!FWasOpen && !FzxLangExpert->SaveFile(FFileName))
        throw Exception(NotSaved);
    FBefore = TranslationState(*FLang);
}
