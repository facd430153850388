#include "ide/Q_findfrm.h"

#include "editor/FormData.h"
#include "rtl/Filer.h"
#include "runtime/QRegistry.h"

std::string_view FormData_Q_findfrm();

namespace {

const char* const SettingsRoot = "Default_Section";
const char* const SettingsKey = "Software\\Borland\\TzxLang";

struct TFindOption {
    const char* Key;
    TCheckBox* TfrmFind::*Box;
};
const TFindOption FindOptions[] = {{"FindCaseSensitive", &TfrmFind::ckbSensit},
                                   {"FindWholePhrase", &TfrmFind::ckbWhole},
                                   {"FindIdentifiers", &TfrmFind::ckbIdent},
                                   {"FindDoPrompt", &TfrmFind::ckbDoPrompt}};

void OpenSettings(TRegistry& Settings) {
    Settings.SetRootKey(SettingsRoot);
    Settings.OpenKey(SettingsKey, true);
}

} // namespace

void TfrmFind::AfterConstruction() {
    RegisterClxClasses();
    if (!GetClass("TfrmFind")) {
        RegisterClass(TfrmFind::StaticClass());
        RegisterMethod("FormCreate", &TfrmFind::FormCreate);
        RegisterMethod("FormClose", &TfrmFind::FormClose);
    }
    ReadFormData(FormData_Q_findfrm(), this);
    edFindText = FormControl<TEdit>(this, "edFindText");
    lbReplace = FormControl<TLabel>(this, "lbReplace");
    edReplace = FormControl<TEdit>(this, "edReplace");
    ckbSensit = FormControl<TCheckBox>(this, "ckbSensit");
    ckbWhole = FormControl<TCheckBox>(this, "ckbWhole");
    ckbIdent = FormControl<TCheckBox>(this, "ckbIdent");
    ckbDoPrompt = FormControl<TCheckBox>(this, "ckbDoPrompt");
    TForm::AfterConstruction();
}

void TfrmFind::SetReplaceMode(bool Replace) {
    lbReplace->SetVisible(Replace);
    edReplace->SetVisible(Replace);
    edReplace->SetEnabled(Replace);
    ckbDoPrompt->SetVisible(Replace);
}

void TfrmFind::FormCreate(TObject*) {
    TRegistry settings(this);
    OpenSettings(settings);
    edFindText->SetText(settings.ReadString("FindLastFindText"));
    edReplace->SetText(settings.ReadString("FindLastReplaceText"));
    for (const TFindOption& option : FindOptions)
        if (settings.ValueExists(option.Key))
            (this->*option.Box)->SetChecked(settings.ReadBool(option.Key));
}

void TfrmFind::FormClose(TObject*, TCloseAction&) {
    TRegistry settings(this);
    OpenSettings(settings);
    // A pasted line break cannot be kept in a settings line: the last text
    // that could stays.
    for (auto [key, edit] : {std::pair{"FindLastFindText", edFindText},
                             std::pair{"FindLastReplaceText", edReplace}})
        if (edit->Text().find_first_of("\r\n") == AnsiString::npos)
            settings.WriteString(key, edit->Text());
    for (const TFindOption& option : FindOptions)
        settings.WriteBool(option.Key, (this->*option.Box)->Checked());
}
