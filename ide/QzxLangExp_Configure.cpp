// The languages of the rows' translation components and dispatchers: their
// number and names, set from the expert window and the wizard.
#include "ide/QzxLangExp.h"

#include "clx/Dialogs.h"
#include "ide/QzxLangForm.h"
#include "runtime/QzxComp.h"

namespace {

const char* const NoLangComponent = "There is no %s on %s.";
const char* const LanguagesLost =
    "%s.%s has %d languages; keeping %d deletes the translations of the others. Continue?";

// Exactly Count names: the lines of LangNames, or the current names when it
// is empty.
void FitNames(TStringList& Names, const AnsiString& LangNames, const TStrings& Current,
              Integer Count) {
    if (LangNames.empty())
        Names.Assign(&Current);
    else
        Names.SetText(LangNames);
    FitLanguageNames(Names, Count);
}

// The first component of the class (named Name when that is not empty).
TComponent* FirstOfClass(TComponent* Root, TClass LangClass, const AnsiString& Name) {
    for (Integer index = 0; Root && index < Root->ComponentCount(); ++index) {
        TComponent* each = Root->Components(index);
        if (each->InheritsFrom(LangClass) && (Name.empty() || AnsiSameText(each->Name(), Name)))
            return each;
    }
    return nullptr;
}

bool ConfirmLanguagesLost(const TComponent& Component, Integer Has, Integer Keeps) {
    if (Keeps >= Has)
        return true;
    return MessageDlg(Format(LanguagesLost, {Component.Owner()->Name(), Component.Name(), Has, Keeps}),
                      mtWarning, mbYesNo, 0) == mrYes;
}

// The active language comes into range first: the name list and the
// setters refuse a list or count without it.
void ConfigureLang(TzxCustomLang& Lang, Integer NumLang, const TStringList& Names) {
    Lang.SetActLang(std::min(Lang.ActiveLanguage(), NumLang));
    Lang.SetNumLang(NumLang);
    TStringList names;
    names.Assign(&Names);
    Lang.SetLangNames(&names);
}

void ConfigureDispatcher(TzxLangDispatcher& Dispatcher, Integer NumLang, TStringList& Names) {
    Dispatcher.SetActiveLanguage(std::min(Dispatcher.ActiveLanguage(), NumLang));
    Dispatcher.SetNumOfLanguages(NumLang);
    Dispatcher.SetLangNames(&Names);
}

} // namespace

bool TzxLangExpert::ConfigureLangComponent(Integer NumLang, TListItem* Row,
                                           const AnsiString& LangNames, bool InsertWhenMissing,
                                           TClass LangClass, const AnsiString& CompName) {
    if (!Row || !frmzxLang)
        return false;
    if (!RowHasComponent(Row) && InsertWhenMissing && !frmzxLang->InsertTzxLang(Row))
        return false;
    const AnsiString fileName = RowText(Row, rtFileName);
    const bool wasOpen = IsFileOpen(fileName);
    if (!wasOpen)
        OpenFile(fileName);
    const AnsiString formName = Row->Caption();
    if (!TestForCorrectForm(formName))
        return false;
    TComponent* component = FirstOfClass(FormRootByName(formName), LangClass, CompName);
    bool configured = false;
    if (!component)
        MessageDlg(Format(NoLangComponent, {AnsiString(LangClass->Name), formName}), mtError,
                   {mbOk}, 0);
    else if (auto* lang = dynamic_cast<TzxCustomLang*>(component)) {
        TStringList names;
        FitNames(names, LangNames, *lang->LangNames(), NumLang);
        if (ConfirmLanguagesLost(*lang, lang->NumOfLanguages(), NumLang)) {
            ConfigureLang(*lang, NumLang, names);
            configured = true;
        }
    } else if (auto* dispatcher = dynamic_cast<TzxLangDispatcher*>(component)) {
        TStringList names;
        FitNames(names, LangNames, *dispatcher->LangNames(), NumLang);
        if (ConfirmLanguagesLost(*dispatcher, dispatcher->NumOfLanguages(), NumLang)) {
            ConfigureDispatcher(*dispatcher, NumLang, names);
            configured = true;
        }
    }
    if (configured) {
        SetRowText(Row, rtLanguages, IntToStr(NumLang));
        Row->SetStateIndex(RowWithComponent);
        MarkModifiedForm(formName);
    }
    if (!wasOpen) {
        SaveFile(fileName);
        CloseFile(fileName);
    }
    return configured;
}

bool TzxLangExpert::SetUpLang(Integer NumLang, TListItem* Row, const AnsiString& LangNames,
                              bool InsertWhenMissing, TClass LangClass) {
    bool all = ConfigureLangComponent(NumLang, Row, LangNames, InsertWhenMissing, LangClass, "");
    if (!frmzxLang || frmzxLang->lvFormNames->SelCount() <= 1)
        return all;
    for (TListItem* next = frmzxLang->GetNextSelectedItem(Row); next && next != Row;
         next = frmzxLang->GetNextSelectedItem(next))
        all = ConfigureLangComponent(NumLang, next, LangNames, InsertWhenMissing, LangClass, "") &&
              all;
    return all;
}
