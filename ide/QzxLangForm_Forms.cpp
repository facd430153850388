// The expert window's commands on the translation component of a form:
// finding and placing it, translating the form in the Translation Editor,
// its languages, and deleting a string identifier.
#include "ide/QzxLangForm.h"

#include "clx/Keys.h"
#include "editor/QzxTransEditor.h"
#include "ide/Q_langconfig.h"
#include "ide/QzxLangExp.h"
#include "rtl/Streams.h"
#include "runtime/QzxComp.h"

namespace {

const char* const ExpertCaption = "TzxLang Expert (CLX Edition)";
const char* const NotClxApplication = "Make sure the active project is a CLX application.";
const char* const OnlyOneLang = "Only one TzxCustomLang";
const char* const UnknownClass =
    "There is no component class %s: choose another default component in the options.";
const char* const NoDesigner = "Nil designer";
const char* const NoTranslationComponent = "%s has no translation component.";
const char* const FileNotOpened = "The IDE did not open %s.";
const char* const DeleteStringQuestion = "This will delete %s from %s.%s! Continue?";
const char* const FailedForms = "These forms were not handled:";

void ShowOnRow(TListItem* Row, const TzxCustomLang& Lang) {
    SetRowText(Row, rtLanguages, IntToStr(Lang.NumOfLanguages()));
    Row->SetStateIndex(RowWithComponent);
}

void ShowError(const AnsiString& Message) { MessageDlg(Message, mtError, {mbOk}, 0); }

} // namespace

void FitLanguageNames(TStrings& Names, Integer Count) {
    while (Names.Count() > Count)
        Names.Delete(Names.Count() - 1);
    while (Names.Count() < Count)
        Names.Add("Language N" + IntToStr(Names.Count() + 1));
}

bool RowHasComponent(const TListItem* Row) { return RowText(Row, rtLanguages) != "0"; }

TComponent* FormRootByName(const AnsiString& FormName) {
    auto services = Supports<IOTAModuleServices>(BorlandIDEServices, IID_IOTAModuleServices);
    _di_IOTAFormEditor editor = TzxLangExpert::GetFormEditorFromModule(
        services ? services->FindFormModule(FormName) : nullptr);
    _di_IOTAComponent root = editor ? editor->GetRootComponent() : nullptr;
    return root ? root->GetComponentHandle() : nullptr;
}

TzxCustomLang* FirstLangOf(TComponent* Root) {
    for (Integer index = 0; Root && index < Root->ComponentCount(); ++index)
        if (auto* lang = dynamic_cast<TzxCustomLang*>(Root->Components(index)))
            return lang;
    return nullptr;
}

AnsiString TranslationState(const TzxCustomLang& Lang) {
    TStringStream data;
    Lang.WriteOurStrProps(data);
    return data.DataString() + "\n" + Lang.LangNames()->Text() + "\n" +
           IntToStr(Lang.NumOfLanguages()) + "\n" + IntToStr(Lang.ActiveLanguage());
}

void TFormFailures::Add(const AnsiString& FormName, const AnsiString& Reason) {
    FLines.push_back(FormName + ": " + Reason);
}

void TFormFailures::Report() const {
    if (FLines.empty())
        return;
    AnsiString message = FailedForms;
    for (const AnsiString& line : FLines)
        message += "\n" + line;
    ShowError(message);
}

std::vector<TListItem*> TfrmzxLang::SelectionWalk() const {
    TListItem* start = lvFormNames->ItemFocused();
    if (!start || !start->Selected())
        start = lvFormNames->Selected();
    std::vector<TListItem*> rows;
    for (TListItem* row = start; row && (rows.empty() || row != start);
         row = GetNextSelectedItem(row))
        rows.push_back(row);
    return rows;
}

// ---------------------------------------------------------------------------
// The component of a form

TzxCustomLang* TfrmzxLang::GetzxLang(const AnsiString& FormName) {
    TListItem* row = FormRow(FormName);
    if (!row || !FzxLangExpert)
        return nullptr;
    FzxLangExpert->CurrentComponentClass = RowText(row, rtComponentClass);
    FzxLangExpert->OpenFile(RowText(row, rtFileName));
    TComponent* root = FormRootByName(FormName);
    for (Integer index = 0; root && index < root->ComponentCount(); ++index) {
        TComponent* each = root->Components(index);
        if (AnsiSameText(each->ClassName(), FzxLangExpert->CurrentComponentClass))
            return dynamic_cast<TzxCustomLang*>(each);
    }
    return nullptr;
}

bool TfrmzxLang::CheckTzxLang(bool WholeProject, const TListItem* Row) const {
    if (!WholeProject)
        return Row && RowHasComponent(Row);
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; index < rows->Count(); ++index)
        if (RowHasComponent(rows->Item(index)))
            return true;
    return false;
}

TComponent* TfrmzxLang::InsertComponentOnForm(const AnsiString& FormName, TClass ComponentClass) {
    TListItem* row = FormRow(FormName);
    if (!row || !FzxLangExpert)
        return nullptr;
    try {
        const AnsiString fileName = RowText(row, rtFileName);
        if (!FzxLangExpert->IsFileOpen(fileName) && !FzxLangExpert->OpenFile(fileName))
            throw Exception(Format(FileNotOpened, {fileName}));
        if (!FzxLangExpert->TestForCorrectForm(FormName))
            return nullptr;
        ActivateClassGroup(TzxCustomLang::StaticClass());
        _di_IDesigner designer = FzxLangExpert->GetDesignerByFormName(FormName);
        if (!designer) {
            ShowError(NoDesigner);
            return nullptr;
        }
        return designer->CreateComponent(ComponentClass, designer->GetRoot(), 0, 0, 0, 0);
    } catch (const Exception& error) {
        MessageDlg(ExpertCaption, error.Message() + "\n" + NotClxApplication, mtError, {mbOk}, 0);
        throw;
    }
}

bool TfrmzxLang::InsertTzxLang(TListItem* Row) {
    if (!FzxLangExpert)
        return false;
    const AnsiString fileName = RowText(Row, rtFileName);
    if (!RowHasComponent(Row) && !FzxLangExpert->IsFileOpen(fileName) &&
        !FzxLangExpert->OpenFile(fileName))
        throw Exception(Format(FileNotOpened, {fileName}));
    TzxCustomLang* lang = GetzxLang(Row->Caption());
    if (!lang) {
        const AnsiString className = FzxLangExpert->DefaultComponent;
        TClass langClass = GetClass(className);
        if (!langClass || !ClassInheritsFrom(langClass, TzxCustomLang::StaticClass())) {
            ShowError(Format(UnknownClass, {className}));
            return false;
        }
        TComponent* placed = InsertComponentOnForm(Row->Caption(), langClass);
        if (!placed)
            return false;
        SetRowText(Row, rtLanguages, IntToStr(FzxLangExpert->DefNumLang));
        SetRowText(Row, rtComponentClass, className);
        Row->SetStateIndex(RowWithComponent);
        FzxLangExpert->ConfigureLangComponent(FzxLangExpert->DefNumLang, Row,
                                              FzxLangExpert->DefaultLangNames, false,
                                              TzxCustomLang::StaticClass(), placed->Name());
    } else
        ShowOnRow(Row, *lang);
    UpdateStatusBar();
    return true;
}

// ---------------------------------------------------------------------------
// Translate

// The form already has a component of another class than the row showed:
// it serves, with at least the default number of languages.
void TfrmzxLang::TranslateRow(TListItem* Row) {
    try {
        // The user was told why the form has no component.
        if (!InsertTzxLang(Row))
            throw Exception(AnsiString());
    } catch (const Exception& error) {
        TzxCustomLang* lang = FirstLangOf(FormRootByName(Row->Caption()));
        if (error.Message().find(OnlyOneLang) == AnsiString::npos || !lang)
            throw;
        if (lang->NumOfLanguages() < FzxLangExpert->DefNumLang)
            lang->SetNumLang(FzxLangExpert->DefNumLang);
        ShowOnRow(Row, *lang);
        SetRowText(Row, rtComponentClass, lang->ClassName());
    }
    lvFormNamesChange(this, Row, ctState);
    const AnsiString formName = Row->Caption();
    if (!FzxLangExpert->TestForCorrectForm(formName))
        throw Exception(AnsiString());
    TzxCustomLang* lang = FirstLangOf(FormRootByName(formName));
    if (!lang)
        throw Exception(Format(NoTranslationComponent, {formName}));
    if (!FzxLangExpert->GetDesignerByFormName(formName))
        throw Exception(NoDesigner);
    const AnsiString before = TranslationState(*lang);
    lang->BuildList();
    const bool collected = TranslationState(*lang) != before;
    TEditedForm edited(lang);
    if (TransEditorDlg(lang, stCaptions, 0, TShowFlags{sfFull, sfDesignTime}, ExpertChangeStrID())) {
        FzxLangExpert->MarkModifiedForm(formName);
        lang->ChangeLanguage();
    } else if (collected)
        FzxLangExpert->MarkModifiedForm(formName);
}

void TfrmzxLang::sbCaptionsClick(TObject*) {
    if (!FzxLangExpert)
        return;
    try {
        for (TListItem* row : SelectionWalk())
            TranslateRow(row);
    } catch (const Exception& error) {
        if (!error.Message().empty())
            ShowError(error.Message());
    }
    BringToFront();
}

void TfrmzxLang::lvFormNamesKeyDown(TObject* Sender, Integer& Key, TShiftState) {
    if (Key == Key_Return || Key == Key_Enter)
        sbCaptionsClick(Sender);
}

// ---------------------------------------------------------------------------
// Languages

void TfrmzxLang::sbLanguagesClick(TObject*) {
    TListItem* focused = SelectionWalk().empty() ? nullptr : SelectionWalk().front();
    if (!focused || !FzxLangExpert)
        return;
    const AnsiString fileName = RowText(focused, rtFileName);
    const bool wasOpen = FzxLangExpert->IsFileOpen(fileName);
    TStringList names;
    if (TzxCustomLang* lang = GetzxLang(focused->Caption()))
        names.Assign(lang->LangNames());
    else {
        const Integer count = FzxLangExpert->DefNumLang;
        names.SetText(FzxLangExpert->DefaultLangNames);
        FitLanguageNames(names, count);
    }
    if (!wasOpen)
        FzxLangExpert->CloseFile(fileName);
    BringToFront();
    if (ConfigureLanguages(&names) != mrOk)
        return;
    FzxLangExpert->SetUpLang(names.Count(), focused, names.Text(), true,
                             TzxCustomLang::StaticClass());
    lvFormNamesChange(this, focused, ctState);
    UpdateStatusBar();
}

// ---------------------------------------------------------------------------
// A bad string identifier

void TfrmzxLang::DeleteStringByID(const TListItem* BadID) {
    if (!BadID || !FzxLangExpert)
        return;
    const AnsiString unitFile = RowText(BadID, rtLanguages);
    AnsiString formName;
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; formName.empty() && index < rows->Count(); ++index)
        if (SameFileName(RowText(rows->Item(index), rtFileName), unitFile))
            formName = rows->Item(index)->Caption();
    TzxCustomLang* lang = formName.empty() ? nullptr : GetzxLang(formName);
    if (!lang) {
        ShowError(Format(NoTranslationComponent, {formName.empty() ? unitFile : formName}));
        return;
    }
    const AnsiString id = BadID->Caption();
    if (MessageDlg(Format(DeleteStringQuestion, {id, formName, lang->Name()}), mtWarning, mbYesNo,
                   0) != mrYes)
        return;
    if (const Integer index = lang->GetIDIndex(UTF8Decode(id)); index > -1)
        lang->Strings()->Delete(index);
    FzxLangExpert->MarkModifiedForm(formName);
}
